#include "DeviceAttentionMarks.h"
#include "DBGrid.h"
#include "DataSet.h"
#include "Field.h"

namespace {

// The most urgent mark gives the colour; every mark adds its symbol.
QColor colourOf(AttentionKind kind)
{
    switch (kind) {
    case AttentionKind::Overdue:
    case AttentionKind::Failed: return QColor(0xf8, 0xcb, 0xc6);
    case AttentionKind::DueSoon: return QColor(0xff, 0xf0, 0xb3);
    case AttentionKind::NearLimit: return QColor(0xfd, 0xdc, 0xb5);
    }
    return {};
}

QString symbolOf(AttentionKind kind)
{
    switch (kind) {
    case AttentionKind::Overdue: return QStringLiteral("!");
    case AttentionKind::DueSoon: return QStringLiteral("F");
    case AttentionKind::Failed: return QStringLiteral("×");
    case AttentionKind::NearLimit: return QStringLiteral("G");
    }
    return {};
}

TRowMark rowMark(const TAttention &attention)
{
    TRowMark mark;
    if (attention.isEmpty())
        return mark;
    mark.colour = colourOf(attention.marks.front().kind);
    for (const TAttentionMark &m : attention.marks)
        mark.symbol += symbolOf(m.kind);
    mark.toolTip = attention.shortText() + QLatin1Char('\n') + attention.reasons();
    return mark;
}

} // namespace

TDeviceAttentionMarks::TDeviceAttentionMarks(TDBGrid *deviceGrid, TDBGrid *inspectionGrid, TDataSet *devices)
    : QObject(deviceGrid), m_grid(deviceGrid), m_devices(devices)
{
    m_grid->dataModel()->setRowMarker([this](int row) { return markOfRow(row); });
    for (TDataSetModel *model : {deviceGrid->dataModel(), inspectionGrid->dataModel()}) {
        connect(model, &QAbstractItemModel::modelReset, this, &TDeviceAttentionMarks::reread);
        connect(model, &QAbstractItemModel::rowsInserted, this, &TDeviceAttentionMarks::reread);
        connect(model, &QAbstractItemModel::rowsRemoved, this, &TDeviceAttentionMarks::reread);
    }
}

void TDeviceAttentionMarks::reread()
{
    m_attention.clear();
    if (m_devices->active() && m_devices->recordCount() > 0) {
        const TField *customer = m_devices->fieldByName(QStringLiteral("KUNDEN_ID"));
        m_attention = customerAttention(m_devices->database(),
                                        static_cast<int>(valueToInteger(m_devices->valueAt(0, customer))));
    }
    m_grid->dataModel()->refreshMarks();
}

TRowMark TDeviceAttentionMarks::markOfRow(int row) const
{
    if (!m_devices->active() || row < 0 || row >= m_devices->recordCount())
        return {};
    const TField *id = m_devices->fieldByName(QStringLiteral("ID"));
    return rowMark(m_attention.value(static_cast<int>(valueToInteger(m_devices->valueAt(row, id)))));
}
