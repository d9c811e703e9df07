// The five read-only record sets over single limit-value rows.
#include "UDM.h"

void TfrmDM::declareLimits()
{
    TDataSet *sets[] = {&dsetGrenzwert1, &dsetGrenzwert2, &dsetGrenzwert3, &dsetGrenzwert4, &dsetGrenzwert5};
    for (int id = 0; id < 5; ++id) {
        TDataSet &d = *sets[id];
        const bool classOne = id == 2; // the substitute leakage current has a class-I limit too
        d.setSelectSql(QStringLiteral("SELECT ID, BEZEICHNUNG, BEZ1, WERT, BEZ2%1 FROM GRENZWERTE WHERE ID = %2")
                           .arg(classOne ? QStringLiteral(", WERT_I") : QString())
                           .arg(id));
        d.readOnly = true;
        d.addField(QStringLiteral("ID"), TFieldType::Integer);
        d.addField(QStringLiteral("BEZEICHNUNG"), TFieldType::String, 50);
        d.addField(QStringLiteral("BEZ1"), TFieldType::String, 20);
        TField *wert = d.addField(QStringLiteral("WERT"), TFieldType::Decimal, 4);
        wert->displayFormat = QStringLiteral("#,##0.00");
        wert->editFormat = id == 0 ? QStringLiteral("0.00") : QStringLiteral("0.0000");
        d.addField(QStringLiteral("BEZ2"), TFieldType::String, 20);
        if (classOne) {
            TField *wertI = d.addField(QStringLiteral("WERT_I"), TFieldType::Decimal, 4);
            wertI->displayFormat = QStringLiteral("#,##0.0000");
            wertI->editFormat = QStringLiteral("0.0000");
        }
    }
}
