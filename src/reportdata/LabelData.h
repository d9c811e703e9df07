#pragma once
#include "DataSet.h"
#include <QDate>
#include <QList>
#include <QMap>

class TfrmDM;

// The record set behind the labels ("rvDsetEtiketten"): one row per device
// with the inspection its label tells of, the payload of its QR code
// ("Payload"), the month of the next inspection ("NaechstePruefung",
// "03/2027"), the result ("Ergebnis") and the firm's short name (else its
// name) and phone ("FIRMA", "FIRMA_TELEFON"). A device never inspected
// gets no label.
class TLabelData {
public:
    explicit TLabelData(TfrmDM &dm);

    // The devices by key, each with its latest inspection.
    void openForDevices(const QList<int> &deviceIds);
    // The devices of a customer inspected on a day, each with its last
    // inspection of that day.
    void openForDay(int customerId, const QDate &day);

    TDataSet &records() { return m_records; }
    // The data connections of the label layout.
    QMap<QString, TDataSet *> connections();

private:
    void open(const QString &inspectionCondition, const QString &deviceCondition, const QList<TValue> &params);
    void calculate();

    TDataSet m_records;
};
