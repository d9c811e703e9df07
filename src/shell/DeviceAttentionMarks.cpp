#include "DeviceAttentionMarks.h"
#include "AttentionLook.h"
#include "Clock.h"
#include "DBGrid.h"
#include "DataSet.h"
#include "Field.h"

TDeviceAttentionMarks::TDeviceAttentionMarks(TDBGrid *deviceGrid, TDataSet *devices)
    : QObject(deviceGrid), m_grid(deviceGrid), m_devices(devices)
{
    m_grid->dataModel()->setRowMarker([this](int row) { return markOfRow(row); });
    connect(deviceGrid->dataModel(), &QAbstractItemModel::modelReset, this, &TDeviceAttentionMarks::listChanged);
}

int TDeviceAttentionMarks::keyAt(int row, const char *field) const
{
    return static_cast<int>(valueToInteger(m_devices->valueAt(row, m_devices->fieldByName(QString::fromLatin1(field)))));
}

void TDeviceAttentionMarks::listChanged()
{
    if (!m_devices->active()) {
        // Closed: the next list may be another customer's, of another file.
        m_customer.reset();
        m_attention.clear();
    } else if (m_devices->recordCount() > 0) {
        const int customer = keyAt(0, "KUNDEN_ID");
        if (m_customer != customer || m_day != TClock::today()) {
            m_attention = customerAttention(m_devices->database(), customer);
            m_customer = customer;
            m_day = TClock::today();
        }
    }
    m_grid->dataModel()->refreshMarks();
}

void TDeviceAttentionMarks::currentDeviceChanged()
{
    if (!m_customer || !m_devices->active() || m_devices->isEmpty())
        return;
    const int device = keyAt(m_devices->recNo() - 1, "ID");
    m_attention.insert(device, deviceAttention(m_devices->database(), device));
    m_grid->dataModel()->refreshMarks();
}

TRowMark TDeviceAttentionMarks::markOfRow(int row) const
{
    if (!m_devices->active() || row < 0 || row >= m_devices->recordCount())
        return {};
    return attentionRowMark(m_attention.value(keyAt(row, "ID")));
}
