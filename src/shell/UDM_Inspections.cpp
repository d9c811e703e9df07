// The inspection record set of the current device and the two record sets
// that give the earlier inspection to compare with.
#include "UDM.h"

namespace {

const QStringList kMeasurements = {"SCHUTZLEITWIDERSTAND", "ISOLATIONSPRUEFUNG", "ERSATZABLEITSTROM", "DIFFERENZSTROM",
                                   "BERUEHRUNGSSTROM"};

TField *flag(TDataSet &d, const QString &name, const QString &texts)
{
    TField *f = d.addField(name, TFieldType::Boolean);
    f->displayValues = texts;
    return f;
}

TField *measurement(TDataSet &d, const QString &name)
{
    TField *f = d.addField(name, TFieldType::Decimal, 4);
    f->displayFormat = QStringLiteral("#,##0.00");
    f->editFormat = QStringLiteral("0.0000");
    return f;
}

// The fourteen columns both comparison record sets read.
void declareComparison(TDataSet &d, const QString &condition, TDataSource *master)
{
    d.setSelectSql(QStringLiteral(
                       "SELECT FIRST 1 PRUEFLINGE_ID, PRUEFDATUM, SICHTPRUEFUNG_BESTANDEN, SCHUTZLEITWIDERSTAND, "
                       "SCHUTZLEITWIDERSTAND_BESTANDEN, ISOLATIONSPRUEFUNG, ISOLATIONSPRUEFUNG_BESTANDEN, ERSATZABLEITSTROM, "
                       "ERSATZABLEITSTROM_BESTANDEN, DIFFERENZSTROM, DIFFERENZSTROM_BESTANDEN, BERUEHRUNGSSTROM, "
                       "BERUEHRUNGSSTROM_BESTANDEN, FUNKTIONSPRUEFUNG_BESTANDEN FROM PRUEFUNGEN ") +
                   condition);
    d.addField(QStringLiteral("PRUEFLINGE_ID"), TFieldType::Integer);
    d.addField(QStringLiteral("PRUEFDATUM"), TFieldType::DateTime)->displayFormat = QStringLiteral("dd.mm.yyyy hh:mm");
    flag(d, QStringLiteral("SICHTPRUEFUNG_BESTANDEN"), QStringLiteral("Bestanden;Fehler"));
    for (const QString &m : kMeasurements) {
        measurement(d, m);
        d.addField(m + QStringLiteral("_BESTANDEN"), TFieldType::Boolean);
    }
    flag(d, QStringLiteral("FUNKTIONSPRUEFUNG_BESTANDEN"), QStringLiteral("Bestanden;Fehler"));
    d.readOnly = true;
    d.setMasterSource(master);
}

} // namespace

void TfrmDM::declareInspections()
{
    static const QString columns = QStringLiteral(
        "ID, BEZEICHNUNG, PRUEFDATUM, NEXT_PRUEFDATUM, PRUEFER_ID, PRUEFGERAETE_ID, PRUEFLINGE_ID, SICHTPRUEFUNG_BESTANDEN, "
        "SCHUTZLEITWIDERSTAND, SCHUTZLEITWIDERSTAND_BESTANDEN, ISOLATIONSPRUEFUNG, ISOLATIONSPRUEFUNG_BESTANDEN, "
        "ERSATZABLEITSTROM, ERSATZABLEITSTROM_BESTANDEN, DIFFERENZSTROM, DIFFERENZSTROM_BESTANDEN, BERUEHRUNGSSTROM, "
        "BERUEHRUNGSSTROM_BESTANDEN, FUNKTIONSPRUEFUNG_BESTANDEN, BEMERKUNG");
    TDataSet &d = dsetPruefungen;
    d.setSelectSql(QStringLiteral("SELECT ") + columns +
                   QStringLiteral(" FROM PRUEFUNGEN WHERE PRUEFLINGE_ID = :ID ORDER BY PRUEFDATUM DESC"));
    declareTableStatements(d, QStringLiteral("PRUEFUNGEN"), columns.split(QStringLiteral(", ")));
    d.deleteSql = {QStringLiteral("DELETE FROM PRUEFUNGEN WHERE ID = :OLD_ID")};
    d.refreshSql = {QStringLiteral("SELECT ") + columns +
                    QStringLiteral(" FROM PRUEFUNGEN WHERE( PRUEFLINGE_ID = :ID ) and ( PRUEFUNGEN.ID = :OLD_ID )")};
    d.generatorName = QStringLiteral("SEQ_PRUEFUNGEN");
    d.generatorField = QStringLiteral("ID");
    d.setMasterSource(&dsrcPrueflinge);

    d.addField(QStringLiteral("ID"), TFieldType::Integer);
    d.addField(QStringLiteral("BEZEICHNUNG"), TFieldType::String, 50);
    TField *datum = d.addField(QStringLiteral("PRUEFDATUM"), TFieldType::DateTime);
    datum->defaultExpression = QStringLiteral("current_timestamp");
    datum->displayFormat = QStringLiteral("dd.mm.yyyy hh:mm");
    datum->displayLabel = QStringLiteral("Prüfdatum");
    d.addField(QStringLiteral("NEXT_PRUEFDATUM"), TFieldType::DateTime)->displayFormat = QStringLiteral("dd.mm.yyyy hh:mm AMPM");
    d.addField(QStringLiteral("PRUEFER_ID"), TFieldType::Integer);
    d.addField(QStringLiteral("PRUEFGERAETE_ID"), TFieldType::Integer);
    d.addField(QStringLiteral("PRUEFLINGE_ID"), TFieldType::Integer);
    flag(d, QStringLiteral("SICHTPRUEFUNG_BESTANDEN"), QStringLiteral("Bestanden;Fehler"))->defaultExpression =
        QStringLiteral("Fehler");
    for (const QString &m : kMeasurements) {
        measurement(d, m);
        flag(d, m + QStringLiteral("_BESTANDEN"), QStringLiteral("Ja;Nein"))->defaultExpression = QStringLiteral("Nein");
    }
    flag(d, QStringLiteral("FUNKTIONSPRUEFUNG_BESTANDEN"), QStringLiteral("Bestanden;Fehler"))->defaultExpression =
        QStringLiteral("Fehler");
    d.addField(QStringLiteral("BEMERKUNG"), TFieldType::Memo);
    d.addLookupField(QStringLiteral("Pruefer"), 20, &dsetPrueferLookup, QStringLiteral("PRUEFER_ID"), QStringLiteral("ID"),
                     QStringLiteral("NAME"));
    d.addLookupField(QStringLiteral("Pruefgeraet"), 20, &dsetPruefgeraeteLookup, QStringLiteral("PRUEFGERAETE_ID"),
                     QStringLiteral("ID"), QStringLiteral("NAME"));
    TField *result = d.addCalculatedField(QStringLiteral("Pruefung_Bestanden"), TFieldType::Boolean);
    result->displayLabel = QStringLiteral("Prüfung");
    result->displayValues = QStringLiteral("Bestanden;Nicht bestanden");

    declareComparison(dsetPruefungenVorher,
                      QStringLiteral("WHERE PRUEFLINGE_ID =:PRUEFLINGE_ID AND PRUEFDATUM <:PRUEFDATUM ORDER BY PRUEFDATUM DESC"),
                      &dsrcPruefungen);
    declareComparison(dsetPruefungenLetzter, QStringLiteral("WHERE PRUEFLINGE_ID =:PRUEFLINGE_ID ORDER BY PRUEFDATUM DESC"),
                      &dsrcPruefungen);
}
