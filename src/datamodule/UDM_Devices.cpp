// The device record set: statements, fields, the sorted statement and the
// rules for numbering, the cable-length limit and the unique number.
#include "UDM.h"
#include "DatabaseFiles.h"
#include "DbError.h"
#include "DeviceSuggestions.h"
#include "Dialogs.h"
#include "RuleRefusal.h"
#include "Query.h"
#include "UFirebirdExt.h"
#include "USettings.h"
#include <cmath>

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

// The next inspection date of the latest inspection, read with the device
// and never written.
void declareNextInspectionField(TDataSet &d)
{
    TField *next = field(d, QStringLiteral("NAECHSTE_PRUEFUNG"), TFieldType::DateTime, 0, QStringLiteral("Nächste Prüfung"), 12, true);
    next->displayFormat = QStringLiteral("dd.mm.yyyy");
    next->readOnly = true;
}
} // namespace

void TfrmDM::declareDevices()
{
    TDataSet &d = dsetPrueflinge;
    d.setSelectSql(QStringLiteral("SELECT ") + kDeviceColumns + QStringLiteral(", ") + latestNextInspectionColumn() +
                   QStringLiteral(" FROM PRUEFLINGE WHERE KUNDEN_ID =:KUNDEN_ID"));
    QStringList columns = kDeviceColumns.split(QStringLiteral(", "));
    declareTableStatements(d, QStringLiteral("PRUEFLINGE"), columns);
    d.deleteSql = {QStringLiteral("DELETE FROM PRUEFLINGE WHERE ID = :OLD_ID")};
    d.refreshSql = {QStringLiteral("SELECT ") + kDeviceColumns + QStringLiteral(", ") + latestNextInspectionColumn() +
                    QStringLiteral(" FROM PRUEFLINGE WHERE( KUNDEN_ID =:KUNDEN_ID ) and ( PRUEFLINGE.ID = :OLD_ID )")};
    // Two workstations numbering devices of one customer take turns: the
    // check of the number and the insert happen under the customer's lock.
    d.postLockSql = {QStringLiteral("SELECT ID FROM KUNDEN WHERE ID = :KUNDEN_ID WITH LOCK")};
    d.generatorName = QStringLiteral("SEQ_PRUEFLINGE");
    d.generatorField = QStringLiteral("ID");

    field(d, QStringLiteral("ID"), TFieldType::Integer, 0, {}, 0, false);
    field(d, QStringLiteral("BEZEICHNUNG"), TFieldType::String, 50, QStringLiteral("Bezeichnung"), 24, true);
    field(d, QStringLiteral("NUMMER"), TFieldType::Decimal, 0, QStringLiteral("Nummer"), 9, true);
    field(d, QStringLiteral("SCHUTZKLASSE"), TFieldType::String, 10, QStringLiteral("Schutzklasse"), 15, true);
    field(d, QStringLiteral("ORT"), TFieldType::String, 50, QStringLiteral("Ort"), 29, true);
    field(d, QStringLiteral("PRUEFINTERVAL"), TFieldType::Integer, 0, QStringLiteral("Intervall"), 9, true);
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
    declareNextInspectionField(d);

    d.afterOpen = [this](TDataSet &) { dsetPrueflingeAfterOpen(); };
    d.onNewRecord = [this](TDataSet &) { dsetPrueflingeNewRecord(); };
    d.beforePost = [this](TDataSet &) { dsetPrueflingeBeforePost(); };
    d.afterPost = [this](TDataSet &) { dsetPrueflingeAfterPost(); };
    // The device count and what is due follow a deleted device.
    d.afterDelete = [this](TDataSet &) {
        if (FMainView)
            FMainView->dueDatesChanged();
    };
    d.afterScroll = [this](TDataSet &) { dsetPrueflingeAfterScroll(); };
    laenge->onChange = [this](TField &) { dsetPrueflingeLAENGEChange(); };
    grenzwert->onChange = [this](TField &) { dsetPrueflingeGRENZWERT0Change(); };
    dsrcPrueflinge.onStateChange = [this](TDataSource &) { dsrcPrueflingeStateChange(); };

    dsetAnzahlPrueflinge.setSelectSql(QStringLiteral("SELECT COUNT(ID) FROM PRUEFLINGE WHERE KUNDEN_ID =:ID"));
    dsetAnzahlPrueflinge.addField(QStringLiteral("COUNT"), TFieldType::Integer);
    dsetAnzahlPrueflinge.readOnly = true;
}

void TfrmDM::setPrueflingeSQL()
{
    dsetPrueflinge.close();
    QString statement = QStringLiteral("SELECT ID,BEZEICHNUNG,NUMMER,SCHUTZKLASSE,ORT,PRUEFINTERVAL,KUNDEN_ID,GRENZWERT0,"
                                       "SERIENNR,HERSTELLER,VARIABEL,LAENGE,BEMERKUNG,AKTIV, ") +
                        latestNextInspectionColumn() + QStringLiteral(" FROM PRUEFLINGE WHERE KUNDEN_ID = :ID  ORDER BY ");
    if (PrueflingeSortField == u"BEZEICHNUNG" || PrueflingeSortField == u"ORT")
        statement += PrueflingeSortField + QStringLiteral(" COLLATE UNICODE ") + PrueflingeSortDir + QStringLiteral(" ,NUMMER ") +
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

QStringList TfrmDM::deviceNames() { return deviceSuggestions().names(Database); }

QStringList TfrmDM::devicePlaces() { return deviceSuggestions().places(Database); }

TDecimal protectiveConductorLimit(std::optional<double> lengthMetres)
{
    if (!lengthMetres || *lengthMetres <= 5.0)
        return TDecimal(30, 2);
    const double limit = 0.3 + ((*lengthMetres - 5.0) / 7.5) * 0.1;
    // Rounded from the exact hundredfold of the double, not from a double
    // product: 6.875 m gives 0.325000000000000011..., which must become 0.33.
    const long double hundredfold = static_cast<long double>(limit) * 100.0L;
    const long cents = static_cast<long>(std::nearbyintl(hundredfold)); // ties to even

    return TDecimal(std::min(cents, 100L), 2);
}

void TfrmDM::dsetPrueflingeAfterOpen()
{
    dsetPruefungen.open();
    dsetPruefungenVorher.open();
    dsetPruefungenLetzter.open();
    dsetGrenzwert1.open();
}

void TfrmDM::dsetPrueflingeNewRecord()
{
    const std::optional<int> customer = FMainView ? FMainView->selectedCustomerId() : std::nullopt;
    if (!customer)
        throw EDatabaseError(QStringLiteral("Bitte zuerst einen Kunden auswählen."));
    dsetPrueflinge.fieldByName(QStringLiteral("KUNDEN_ID"))->setAsInteger(*customer);
    dsetPrueflinge.fieldByName(QStringLiteral("PRUEFINTERVAL"))->setAsInteger(FSettings->DefaultIntervallPruefling());
    if (const std::optional<TDecimal> next = FFirebirdExt->NextPrueflingNummer(*customer))
        dsetPrueflinge.fieldByName(QStringLiteral("NUMMER"))->setAsDecimal(*next);
}

void TfrmDM::dsetPrueflingeLAENGEChange()
{
    if (!dsetPrueflinge.editing())
        return;
    const TField *laenge = dsetPrueflinge.fieldByName(QStringLiteral("LAENGE"));
    refuseNegative(*laenge, QStringLiteral("Eine Leitungslänge kann nicht negativ sein."));
    const std::optional<double> metres = laenge->isNull() ? std::nullopt : std::optional<double>(laenge->asFloat());
    dsetPrueflinge.fieldByName(QStringLiteral("GRENZWERT0"))->setAsDecimal(protectiveConductorLimit(metres));
}

void TfrmDM::dsetPrueflingeGRENZWERT0Change()
{
    if (dsetPrueflinge.fieldByName(QStringLiteral("GRENZWERT0"))->asDecimal() > TDecimal(100, 2))
        refuse(QStringLiteral("Schutzleiterwiderstand darf nicht größer als 1,00 Ohm sein!"));
}

void TfrmDM::dsetPrueflingeBeforePost()
{
    const int id = static_cast<int>(dsetPrueflinge.fieldByName(QStringLiteral("ID"))->asInteger());
    const int kundeId = static_cast<int>(dsetPrueflinge.fieldByName(QStringLiteral("KUNDEN_ID"))->asInteger());
    const QString nummer = dsetPrueflinge.fieldByName(QStringLiteral("NUMMER"))->asString();
    if (!dsetPrueflinge.fieldByName(QStringLiteral("VARIABEL"))->asBoolean()) {
        // Set the limit too: a length that was empty already does not change,
        // and a raised limit must never outlive the cable box.
        dsetPrueflinge.fieldByName(QStringLiteral("LAENGE"))->clear();
        dsetPrueflinge.fieldByName(QStringLiteral("GRENZWERT0"))->setAsDecimal(protectiveConductorLimit(std::nullopt));
    }
    if (!nummer.isEmpty() && checkPruefling(id, kundeId, nummer) > 0)
        refuse(QStringLiteral("Nummer '") + nummer + QStringLiteral("' ist schon vergeben..."));
}

void TfrmDM::dsetPrueflingeAfterPost()
{
    deviceSuggestions().deviceSaved(dsetPrueflinge.fieldByName(QStringLiteral("BEZEICHNUNG"))->asString(),
                                    dsetPrueflinge.fieldByName(QStringLiteral("ORT"))->asString());
    if (FDeviceView) {
        FDeviceView->fillBezeichnungen();
        FDeviceView->fillOrte();
    }
    SetGrenzwertValue(0, dsetPrueflinge.fieldByName(QStringLiteral("GRENZWERT0"))->asFloat());
    // A new device counts and is due at once.
    if (FMainView)
        FMainView->dueDatesChanged();
}

void TfrmDM::dsetPrueflingeAfterScroll()
{
    if (FDeviceView)
        FDeviceView->showImage(dsetPrueflinge.fieldByName(QStringLiteral("SCHUTZKLASSE"))->asString());
    SetGrenzwertValue(0, dsetPrueflinge.fieldByName(QStringLiteral("GRENZWERT0"))->asFloat());
}

void TfrmDM::dsrcPrueflingeStateChange()
{
    if (dsetPrueflinge.editing() && FDeviceView)
        FDeviceView->showWindow();
}
