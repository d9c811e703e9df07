#pragma once
#include "Attention.h"
#include "DataSetModel.h"
#include <QDate>
#include <QHash>
#include <QObject>
#include <optional>

class TDBGrid;
class TDataSet;

// Marks the rows of a device grid with what needs attention: a colour, a
// symbol and a tooltip with the reasons. The marks of the shown customer are
// read once when the device list opens and kept while it stays open; moving
// between its devices reads nothing, and a stored or deleted device or
// inspection reads only the marks of the device it belongs to.
class TDeviceAttentionMarks : public QObject {
    Q_OBJECT
public:
    // devices: the grid's record set, with the key "ID" and the customer "KUNDEN_ID".
    TDeviceAttentionMarks(TDBGrid *deviceGrid, TDataSet *devices);

    // The current device, or an inspection of it, was stored or deleted.
    void currentDeviceChanged();

private:
    // The grid's rows were read anew: a list opened for another customer
    // (or on another day) needs that customer's marks.
    void listChanged();
    TRowMark markOfRow(int row) const;
    int keyAt(int row, const char *field) const;

    TDBGrid *m_grid;
    TDataSet *m_devices;
    std::optional<int> m_customer; // whose marks m_attention holds
    QDate m_day;                   // the day they were judged on
    QHash<int, TAttention> m_attention;
};
