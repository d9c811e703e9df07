#pragma once
#include "Attention.h"
#include "DataSetModel.h"
#include <QHash>
#include <QObject>

class TDBGrid;
class TDataSet;

// Marks the rows of a device grid with what needs attention: a colour, a
// symbol and a tooltip with the reasons. The marks of the shown customer are
// read again whenever the devices or the inspections are read again.
class TDeviceAttentionMarks : public QObject {
    Q_OBJECT
public:
    // devices: the grid's record set, with the key "ID" and the customer "KUNDEN_ID".
    TDeviceAttentionMarks(TDBGrid *deviceGrid, TDBGrid *inspectionGrid, TDataSet *devices);

    // Reads the marks of the customer of the shown devices.
    void reread();

private:
    TRowMark markOfRow(int row) const;

    TDBGrid *m_grid;
    TDataSet *m_devices;
    QHash<int, TAttention> m_attention;
};
