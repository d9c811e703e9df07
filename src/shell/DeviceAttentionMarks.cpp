#include "DeviceAttentionMarks.h"
#include "AttentionLook.h"
#include "DBGrid.h"
#include "DataSet.h"
#include "Field.h"


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
    return attentionRowMark(m_attention.value(static_cast<int>(valueToInteger(m_devices->valueAt(row, id)))));
}
