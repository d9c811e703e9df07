// The device record set: statements, fields and the sorted statement.
#include "UDM.h"

namespace {
const QString kDeviceColumns = QStringLiteral(
    "ID, BEZEICHNUNG, NUMMER, SCHUTZKLASSE, ORT, PRUEFINTERVAL, KUNDEN_ID, GRENZWERT0, SERIENNR, HERSTELLER, VARIABEL, "
    "LAENGE, BEMERKUNG, AKTIV");

TField *field(TDataSet &d, const QString &name, TFieldType type, int size, const QString &label, int width, bool visible)
{
    TField *f = d.addField(name, type, size);
    f->displayLabel = label;
    f->displayWidth = width;
    f->visible = visible;
    return f;
}
} // namespace

void TfrmDM::declareDevices()
{
    TDataSet &d = dsetPrueflinge;
    d.setSelectSql(QStringLiteral("SELECT ") + kDeviceColumns + QStringLiteral(" FROM PRUEFLINGE WHERE KUNDEN_ID =:KUNDEN_ID"));
    QStringList columns = kDeviceColumns.split(QStringLiteral(", "));
    declareTableStatements(d, QStringLiteral("PRUEFLINGE"), columns);
    d.deleteSql = {QStringLiteral("DELETE FROM PRUEFLINGE WHERE ID = :OLD_ID")};
    d.refreshSql = {QStringLiteral("SELECT ") + kDeviceColumns +
                    QStringLiteral(" FROM PRUEFLINGE WHERE( KUNDEN_ID =:KUNDEN_ID ) and ( PRUEFLINGE.ID = :OLD_ID )")};
    d.generatorName = QStringLiteral("SEQ_PRUEFLINGE");
    d.generatorField = QStringLiteral("ID");

    field(d, QStringLiteral("ID"), TFieldType::Integer, 0, {}, 0, false);
    field(d, QStringLiteral("BEZEICHNUNG"), TFieldType::String, 50, QStringLiteral("Bezeichnung"), 24, true);
    field(d, QStringLiteral("NUMMER"), TFieldType::Decimal, 0, QStringLiteral("Nummer"), 9, true);
    field(d, QStringLiteral("SCHUTZKLASSE"), TFieldType::String, 10, QStringLiteral("Schutzklasse"), 15, true);
    field(d, QStringLiteral("ORT"), TFieldType::String, 50, QStringLiteral("Ort"), 29, true);
    field(d, QStringLiteral("PRUEFINTERVAL"), TFieldType::Integer, 0, QStringLiteral("Interval"), 9, true);
    field(d, QStringLiteral("KUNDEN_ID"), TFieldType::Integer, 0, {}, 0, false);
    TField *grenzwert = field(d, QStringLiteral("GRENZWERT0"), TFieldType::Decimal, 4, {}, 0, false);
    grenzwert->defaultExpression = QStringLiteral("0,3000");
    grenzwert->displayFormat = QStringLiteral("#,##0.00");
    grenzwert->editFormat = QStringLiteral("0.00");
    field(d, QStringLiteral("SERIENNR"), TFieldType::String, 80, QStringLiteral("Serien-Nr."), 0, false);
    field(d, QStringLiteral("HERSTELLER"), TFieldType::String, 80, QStringLiteral("Hersteller"), 0, false);
    field(d, QStringLiteral("VARIABEL"), TFieldType::Boolean, 0, {}, 0, false)->defaultExpression = QStringLiteral("False");
    TField *laenge = field(d, QStringLiteral("LAENGE"), TFieldType::Decimal, 4, {}, 0, false);
    laenge->displayFormat = QStringLiteral("#,##0.0");
    laenge->editFormat = QStringLiteral("0.0");
    field(d, QStringLiteral("BEMERKUNG"), TFieldType::Memo, 0, {}, 0, false);
    TField *aktiv = field(d, QStringLiteral("AKTIV"), TFieldType::Boolean, 0, {}, 0, true);
    aktiv->defaultExpression = QStringLiteral("True");
    aktiv->displayValues = QStringLiteral("Ja;Nein");

    d.afterOpen = [this](TDataSet &) {
        dsetPruefungen.open();
        dsetPruefungenVorher.open();
        dsetPruefungenLetzter.open();
        dsetGrenzwert1.open();
    };

    dsetAnzahlPrueflinge.setSelectSql(QStringLiteral("SELECT COUNT(ID) FROM PRUEFLINGE WHERE KUNDEN_ID =:ID"));
    dsetAnzahlPrueflinge.addField(QStringLiteral("COUNT"), TFieldType::Integer);
    dsetAnzahlPrueflinge.readOnly = true;
}

void TfrmDM::setPrueflingeSQL()
{
    dsetPrueflinge.close();
    QString statement = QStringLiteral("SELECT ID,BEZEICHNUNG,NUMMER,SCHUTZKLASSE,ORT,PRUEFINTERVAL,KUNDEN_ID,GRENZWERT0,"
                                       "SERIENNR,HERSTELLER,VARIABEL,LAENGE,BEMERKUNG,AKTIV FROM PRUEFLINGE WHERE "
                                       "KUNDEN_ID = :ID  ORDER BY ");
    if (PrueflingeSortField == u"BEZEICHNUNG" || PrueflingeSortField == u"ORT")
        statement += PrueflingeSortField + QStringLiteral(" COLLATE DE_DE ") + PrueflingeSortDir + QStringLiteral(" ,NUMMER ") +
                     PrueflingeSortDir;
    else
        statement += PrueflingeSortField + u' ' + PrueflingeSortDir;
    dsetPrueflinge.setSelectSql(statement);
    const std::optional<int> customer = FMainView ? FMainView->selectedCustomerId() : std::nullopt;
    if (customer)
        dsetPrueflinge.paramByName(QStringLiteral("ID")).setAsInteger(*customer);
    else
        dsetPrueflinge.paramByName(QStringLiteral("ID")).clear();
    dsetPrueflinge.open();
}
