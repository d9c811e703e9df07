#include "DataSource.h"
#include "DataSet.h"

TDataSource::TDataSource(QObject *parent, TDataSet *dataSet) : QObject(parent)
{
    if (dataSet)
        setDataSet(dataSet);
}

TDataSource::~TDataSource()
{
    if (m_dataSet)
        m_dataSet->removeDataSource(this);
    for (TDataLink *link : QList<TDataLink *>(m_links))
        link->m_source = nullptr;
}

void TDataSource::setDataSet(TDataSet *dataSet)
{
    if (m_dataSet == dataSet)
        return;
    if (m_dataSet)
        m_dataSet->removeDataSource(this);
    m_dataSet = dataSet;
    if (m_dataSet)
        m_dataSet->addDataSource(this);
    notify(TDataEvent::ActiveChanged);
}

TDataSet *TDataSource::dataSet() const { return m_dataSet; }

TDataSetState TDataSource::state() const { return m_dataSet ? m_dataSet->state() : TDataSetState::Inactive; }

void TDataSource::addLink(TDataLink *link)
{
    if (!m_links.contains(link))
        m_links.append(link);
}

void TDataSource::removeLink(TDataLink *link) { m_links.removeAll(link); }

void TDataSource::notify(TDataEvent event, TField *field)
{
    for (TDataLink *link : QList<TDataLink *>(m_links))
        if (m_links.contains(link))
            link->dispatch(event, field);
    switch (event) {
    case TDataEvent::ActiveChanged:
    case TDataEvent::EditingChanged:
        if (onStateChange)
            onStateChange(*this);
        if (event == TDataEvent::ActiveChanged && onDataChange)
            onDataChange(*this, nullptr);
        break;
    case TDataEvent::DataSetChanged:
    case TDataEvent::DataSetScrolled:
    case TDataEvent::RecordChanged:
        if (onDataChange)
            onDataChange(*this, field);
        break;
    case TDataEvent::UpdateData:
        break;
    }
}

TDataLink::~TDataLink()
{
    if (m_source)
        m_source->removeLink(this);
}

void TDataLink::setDataSource(TDataSource *source)
{
    if (m_source == source)
        return;
    if (m_source)
        m_source->removeLink(this);
    m_source = source;
    if (m_source)
        m_source->addLink(this);
    activeChanged();
}

TDataSet *TDataLink::dataSet() const { return m_source ? m_source->dataSet() : nullptr; }
bool TDataLink::active() const { return dataSet() && dataSet()->active(); }
bool TDataLink::editing() const { return dataSet() && dataSet()->editing(); }

bool TDataLink::edit()
{
    TDataSet *d = dataSet();
    if (!d || !d->active())
        return false;
    if (!d->editing()) {
        if (!d->canModify())
            return false;
        d->edit();
    }
    return d->editing();
}

void TDataLink::dispatch(TDataEvent event, TField *field)
{
    switch (event) {
    case TDataEvent::ActiveChanged: activeChanged(); break;
    case TDataEvent::DataSetChanged: dataSetChanged(); break;
    case TDataEvent::DataSetScrolled: dataSetScrolled(); break;
    case TDataEvent::RecordChanged: recordChanged(field); break;
    case TDataEvent::EditingChanged: editingChanged(); break;
    case TDataEvent::UpdateData: updateData(); break;
    }
}
