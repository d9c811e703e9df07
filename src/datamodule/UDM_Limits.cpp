// The read-only record sets over single limit-value rows, one per measurement.
#include "UDM.h"
#include "Measurements.h"

std::vector<std::unique_ptr<TDataSet>> TfrmDM::limitRecordSets(TDatabase *database)
{
    std::vector<std::unique_ptr<TDataSet>> sets;
    for (int i = 0; i < kMeasurementCount; ++i)
        sets.push_back(std::make_unique<TDataSet>(database));
    return sets;
}

void TfrmDM::declareLimits()
{
    for (const Measurement &m : kMeasurements) {
        TDataSet &d = *dsetGrenzwerte.at(static_cast<size_t>(m.limitRow));
        const bool classOne = m.classOneLimit.has_value();
        d.setSelectSql(QStringLiteral("SELECT ID, BEZEICHNUNG, BEZ1, WERT, BEZ2%1 FROM GRENZWERTE WHERE ID = %2")
                           .arg(classOne ? QStringLiteral(", WERT_I") : QString())
                           .arg(m.limitRow));
        d.readOnly = true;
        d.addField(QStringLiteral("ID"), TFieldType::Integer);
        d.addField(QStringLiteral("BEZEICHNUNG"), TFieldType::String, 50);
        d.addField(QStringLiteral("BEZ1"), TFieldType::String, 20);
        TField *wert = d.addField(QStringLiteral("WERT"), TFieldType::Decimal, 4);
        wert->displayFormat = QStringLiteral("#,##0.00");
        // A device-own limit is edited with two places; its row is only the default.
        wert->editFormat = m.deviceLimitColumn ? QStringLiteral("0.00") : QStringLiteral("0.0000");
        d.addField(QStringLiteral("BEZ2"), TFieldType::String, 20);
        if (classOne) {
            TField *wertI = d.addField(QStringLiteral("WERT_I"), TFieldType::Decimal, 4);
            wertI->displayFormat = QStringLiteral("#,##0.0000");
            wertI->editFormat = QStringLiteral("0.0000");
        }
    }
}
