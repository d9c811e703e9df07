// The record sets behind the two reports: their base statements, fields,
// computed fields, record filters and the statements assembled for a report.
#include "UDM.h"
#include "DatabaseIdentity.h"
#include "Query.h"
#include "Clock.h"
#include "Measurements.h"

namespace {

constexpr int kReportNumberWidth = 30;

struct FieldSpec {
    const char *name;
    TFieldType type;
    int size;
    const char *displayFormat;
    const char *displayValues;
};

// The columns of the inspection report, in the order of the view: these,
// the measurements with their flags, then the tail.
const FieldSpec kReportPruefungenHead[] = {
    {"KUNDE_ID", TFieldType::Integer, 0, "", ""},
    {"KUNDE_NAME", TFieldType::String, 60, "", ""},
    {"KUNDE_NAME2", TFieldType::String, 60, "", ""},
    {"KUNDE_ZUSATZ", TFieldType::String, 60, "", ""},
    {"KUNDE_STRASSE", TFieldType::String, 60, "", ""},
    {"KUNDE_PLZORT", TFieldType::String, 61, "", ""},
    {"KUNDE_TELEFON", TFieldType::String, 30, "", ""},
    {"PRUEFLING_ID", TFieldType::Integer, 0, "", ""},
    {"PRUEFLING_BEZEICHNUNG", TFieldType::String, 50, "", ""},
    {"PRUEFLING_NUMMER", TFieldType::Decimal, 0, "", ""},
    {"PRUEFLING_SCHUTZKLASSE", TFieldType::String, 10, "", ""},
    {"PRUEFLING_ORT", TFieldType::String, 50, "", ""},
    {"PRUEFLING_PRUEFINTERVAL", TFieldType::Integer, 0, "", ""},
    {"PRUEFLING_GRENZWERT0", TFieldType::Decimal, 4, "#,##0.0000", ""},
    {"PRUEFLING_SERIENNR", TFieldType::String, 80, "", ""},
    {"PRUEFLING_HERSTELLER", TFieldType::String, 80, "", ""},
    {"PRUEFLING_BEMERKUNG", TFieldType::Memo, 0, "", ""},
    {"PRUEFLING_VARIABEL", TFieldType::Boolean, 0, "", "True;False"},
    {"PRUEFLING_LAENGE", TFieldType::Decimal, 4, "#,##0.0000", ""},
    {"PRUEFLING_AKTIV", TFieldType::Boolean, 0, "", "Ja;Nein"},
    {"PRUEFUNG_ID", TFieldType::Integer, 0, "", ""},
    {"PRUEFUNG_BEZEICHNUNG", TFieldType::String, 50, "", ""},
    {"PRUEFER_ID", TFieldType::Integer, 0, "", ""},
    {"PRUEFGERAETE_ID", TFieldType::Integer, 0, "", ""},
    {"PRUEFDATUM", TFieldType::DateTime, 0, "dd.mm.yyyy", ""},
    {"PRUEFDATUM_NEXT", TFieldType::DateTime, 0, "dd.mm.yyyy", ""},
    {"SICHTPRUEFUNG_BESTANDEN", TFieldType::Boolean, 0, "", "Ja;Nein"},
};

const FieldSpec kReportPruefungenTail[] = {
    {"FUNKTIONSPRUEFUNG_BESTANDEN", TFieldType::Boolean, 0, "", "Ja;Nein"},
    {"BEMERKUNG", TFieldType::Memo, 0, "", ""},
    {"PRUEFER_NAME", TFieldType::String, 50, "", ""},
    {"PRUEFGERAETE_NAME", TFieldType::String, 60, "", ""},
    {"PRUEFGERAETE_BEZEICHNUNG", TFieldType::String, 60, "", ""},
    {"PRUEFGERAETE_SERIENNUMMER", TFieldType::String, 50, "", ""},
};

// Beyond the view: the next date as stored with the inspection (the view's
// is recomputed from the interval), and the town also when the postcode is
// empty (the view's joined text is then empty).
const FieldSpec kReportPruefungenBeyondView[] = {
    {"NEXT_PRUEFDATUM", TFieldType::DateTime, 0, "dd.mm.yyyy", ""},
    {"KUNDE_PLZ_ORT", TFieldType::String, 61, "", ""},
};

const FieldSpec kReportInventarHead[] = {
    {"NUMMER", TFieldType::Decimal, 0, "", ""},
    {"ORT", TFieldType::String, 50, "", ""},
    {"BEZEICHNUNG", TFieldType::String, 50, "", ""},
    {"HERSTELLER", TFieldType::String, 80, "", ""},
    {"AKTIV", TFieldType::Boolean, 0, "", "Ja;Nein"},
    {"LAST_PRUEFDATUM", TFieldType::DateTime, 0, "dd.mm.yyyy", ""},
    {"NEXT_PRUEFDATUM", TFieldType::DateTime, 0, "dd.mm.yyyy", ""},
    {"PRUEFUNG_ID", TFieldType::Integer, 0, "", ""},
    {"SICHTPRUEFUNG_BESTANDEN", TFieldType::Boolean, 0, "", "True;False"},
};

const FieldSpec kReportInventarTail[] = {
    {"FUNKTIONSPRUEFUNG_BESTANDEN", TFieldType::Boolean, 0, "", "True;False"},
};

template <size_t N> void declareFields(TDataSet &d, const FieldSpec (&fields)[N])
{
    for (const FieldSpec &s : fields) {
        TField *f = d.addField(QString::fromLatin1(s.name), s.type, s.size);
        f->displayFormat = QString::fromLatin1(s.displayFormat);
        f->displayValues = QString::fromLatin1(s.displayValues);
    }
}

template <size_t N> QStringList namesOf(const FieldSpec (&fields)[N])
{
    QStringList names;
    for (const FieldSpec &s : fields)
        names << QString::fromLatin1(s.name);
    return names;
}

} // namespace

void TfrmDM::declareReports()
{
    const QStringList viewColumns =
        namesOf(kReportPruefungenHead) + measurementColumns() + namesOf(kReportPruefungenTail);
    dsetReportPruefungen.setSelectSql(
        QStringLiteral("SELECT ") + viewColumns.join(QStringLiteral(", ")) +
        QStringLiteral(", "
                       "(SELECT n.NEXT_PRUEFDATUM FROM PRUEFUNGEN n WHERE n.ID = pruefprotokoll.PRUEFUNG_ID) AS NEXT_PRUEFDATUM, "
                       "(SELECT TRIM(COALESCE(k.PLZ, '') || ' ' || COALESCE(k.ORT, '')) FROM KUNDEN k WHERE k.ID = pruefprotokoll.KUNDE_ID) "
                       "AS KUNDE_PLZ_ORT FROM pruefprotokoll"));
    declareFields(dsetReportPruefungen, kReportPruefungenHead);
    for (const Measurement &m : kMeasurements) {
        dsetReportPruefungen.addField(m.valueColumn(), TFieldType::Decimal, 4)->displayFormat = QStringLiteral("#,##0.00");
        addFlagField(dsetReportPruefungen, m.flagColumn(), QStringLiteral("Ja;Nein"));
    }
    declareFields(dsetReportPruefungen, kReportPruefungenTail);
    declareFields(dsetReportPruefungen, kReportPruefungenBeyondView);
    dsetReportPruefungen.addCalculatedField(QStringLiteral("PruefungBestanden"), TFieldType::String, 100);
    // The unit of each measurement, filled when it was measured.
    for (const Measurement &m : kMeasurements)
        dsetReportPruefungen.addCalculatedField(QStringLiteral("Bez%1").arg(m.limitRow), TFieldType::String, 20);
    dsetReportPruefungen.addCalculatedField(QStringLiteral("Pruefling_Laenge_Anzeige"), TFieldType::String, 20);
    dsetReportPruefungen.addCalculatedField(QStringLiteral("Ergebnis"), TFieldType::String, 20);
    // 18 digits of a device number, "-" and the 10 of an inspection ID.
    dsetReportPruefungen.addCalculatedField(QStringLiteral("Pruefberichtsnummer"), TFieldType::String, kReportNumberWidth);
    dsetReportPruefungen.addCalculatedField(QStringLiteral("Pruefling_Grenzwert3"), TFieldType::Decimal, 8)->displayFormat =
        QStringLiteral("#,##0.00");
    // The protocol's table: the limit that applies to each measurement, with
    // as many decimals as the measured values, and each verdict in words.
    for (const Measurement &m : kMeasurements) {
        dsetReportPruefungen.addCalculatedField(QStringLiteral("Grenzwert%1").arg(m.limitRow), TFieldType::Decimal, 4)
            ->displayFormat = QStringLiteral("#,##0.00");
        dsetReportPruefungen.addCalculatedField(QStringLiteral("Urteil%1").arg(m.limitRow), TFieldType::String, 20);
    }
    dsetReportPruefungen.addCalculatedField(QStringLiteral("UrteilSicht"), TFieldType::String, 20);
    dsetReportPruefungen.addCalculatedField(QStringLiteral("UrteilFunktion"), TFieldType::String, 20);
    dsetReportPruefungen.readOnly = true;
    dsetReportPruefungen.onCalcFields = [this](TDataSet &) { dsetReportPruefungenCalcFields(); };
    dsetReportPruefungen.onFilterRecord = [this](TDataSet &, bool &accept) { dsetReportPruefungenFilterRecord(accept); };
    dsetReportPruefungen.setFiltered(true);

    dsetReportInventar.setSelectSql(QStringList{
        QStringLiteral("SELECT p.NUMMER, p.ORT, p.BEZEICHNUNG, p.HERSTELLER, p.AKTIV, r.PRUEFDATUM AS LAST_PRUEFDATUM,"),
        QStringLiteral("r.NEXT_PRUEFDATUM AS NEXT_PRUEFDATUM, r.ID AS PRUEFUNG_ID, r.SICHTPRUEFUNG_BESTANDEN,"),
        measurementFlagColumns(QStringLiteral("r.")).join(QStringLiteral(", ")) + u',',
        QStringLiteral("r.FUNKTIONSPRUEFUNG_BESTANDEN"),
        // One latest inspection per device, also when two share its time.
        QStringLiteral("FROM PRUEFLINGE AS p LEFT OUTER JOIN PRUEFUNGEN AS r ON r.ID ="),
        QStringLiteral("(SELECT FIRST 1 r2.ID FROM PRUEFUNGEN AS r2 WHERE r2.PRUEFLINGE_ID = p.ID ORDER BY r2.PRUEFDATUM DESC, r2.ID DESC)"),
        QStringLiteral("WHERE"),
        QStringLiteral("p.KUNDEN_ID =:KUNDEN_ID")});
    declareFields(dsetReportInventar, kReportInventarHead);
    for (const Measurement &m : kMeasurements)
        addFlagField(dsetReportInventar, m.flagColumn(), QStringLiteral("True;False"));
    declareFields(dsetReportInventar, kReportInventarTail);
    dsetReportInventar.addCalculatedField(QStringLiteral("Pruefberichtsnummer"), TFieldType::String, kReportNumberWidth);
    dsetReportInventar.addCalculatedField(QStringLiteral("Ergebnis"), TFieldType::String, 20);
    // "überfällig" past the next date, "nie geprüft" without inspection;
    // "ja" when due by the list's due date.
    dsetReportInventar.addCalculatedField(QStringLiteral("Status"), TFieldType::String, 20);
    dsetReportInventar.addCalculatedField(QStringLiteral("Faellig"), TFieldType::String, 4);
    dsetReportInventar.readOnly = true;
    dsetReportInventar.onCalcFields = [this](TDataSet &) { dsetReportInventarCalcFields(); };
    dsetReportInventar.onFilterRecord = [this](TDataSet &, bool &accept) { dsetReportInventarFilterRecord(accept); };
    dsetReportInventar.setFiltered(true);

    // Its fields are the statement's columns.
    dsetReportKunde.setSelectSql(QStringLiteral("SELECT ID, AKTIV, NAME, NAME2, ZUSATZ, STRASSE, PLZ, ORT, LAND, TELEFON, "
                                                "MOBIL, FAX, BEMERKUNG, EMAIL FROM KUNDEN WHERE ID =:ID"));
    dsetReportKunde.readOnly = true;
}

namespace {

TField *field(TDataSet &d, const char *name) { return d.fieldByName(QString::fromLatin1(name)); }

QString verdict(bool passed) { return passed ? QStringLiteral("bestanden") : QStringLiteral("nicht bestanden"); }

QString reportNumber(const TField *nummer, const TField *inspectionId)
{
    return nummer->asString() + u'-' + inspectionId->asString();
}

// The device filter of both reports: 110 active devices, 120 inactive ones.
bool deviceAccepted(int filter, const TField *aktiv)
{
    if (filter == 110)
        return aktiv->asBoolean();
    if (filter == 120)
        return !aktiv->asBoolean();
    return true;
}

} // namespace

void TfrmDM::dsetReportPruefungenCalcFields()
{
    TDataSet &d = dsetReportPruefungen;
    const bool passed = inspectionPassed(d);
    field(d, "PruefungBestanden")
        ->setAsString(passed ? QStringLiteral("Die Prüfung wurde bestanden") : QStringLiteral("Die Prüfung wurde nicht bestanden"));
    field(d, "Ergebnis")->setAsString(passed ? QStringLiteral("Keine Mängel") : QStringLiteral("Defekt"));
    for (const Measurement &m : kMeasurements) {
        TDataSet &limit = *dsetGrenzwerte.at(static_cast<size_t>(m.limitRow));
        if (!d.fieldByName(m.valueColumn())->isNull() && limit.active())
            d.fieldByName(QStringLiteral("Bez%1").arg(m.limitRow))->setAsString(limit.fieldByName(QStringLiteral("BEZ2"))->asString());
    }
    const TField *laenge = field(d, "PRUEFLING_LAENGE");
    if (field(d, "PRUEFLING_VARIABEL")->asBoolean() && !laenge->isNull())
        field(d, "Pruefling_Laenge_Anzeige")
            ->setAsString(QStringLiteral("Leitungslänge ") + laenge->asDecimal().toLocaleString() + QStringLiteral(" m"));
    field(d, "Pruefberichtsnummer")->setAsString(reportNumber(field(d, "PRUEFLING_NUMMER"), field(d, "PRUEFUNG_ID")));
    // The report project names the substitute leakage's limit on its own.
    const Measurement &leakage = kMeasurements[2];
    field(d, "Pruefling_Grenzwert3")->setAsDecimal(TDecimal::fromDouble(reportedLimit(leakage), 8));
    dsetReportPruefungenProtocolFields();
    dsetReportPruefungenFingerprintFields();
}

void TfrmDM::dsetReportPruefungenProtocolFields()
{
    TDataSet &d = dsetReportPruefungen;
    const QString schutzklasse = field(d, "PRUEFLING_SCHUTZKLASSE")->asString();
    for (const Measurement &m : kMeasurements) {
        const bool measured = !d.fieldByName(m.valueColumn())->isNull() && !d.fieldByName(m.flagColumn())->isNull();
        TField *urteil = d.fieldByName(QStringLiteral("Urteil%1").arg(m.limitRow));
        // A measurement that does not belong to the device's class has no
        // limit; the layout prints "entfällt" in its place.
        if (!measured && !m.appliesTo(schutzklasse)) {
            urteil->setAsString(QStringLiteral("entfällt"));
            continue;
        }
        // The device's own limit where it has one; else the stored limit of
        // the device's protection class.
        const TDecimal limit = m.deviceLimitColumn
                                   ? d.fieldByName(QStringLiteral("PRUEFLING_") + QString::fromLatin1(m.deviceLimitColumn))->asDecimal()
                                   : TDecimal::fromDouble(reportedLimit(m), 4);
        d.fieldByName(QStringLiteral("Grenzwert%1").arg(m.limitRow))->setAsDecimal(limit);
        urteil->setAsString(measured ? verdict(d.fieldByName(m.flagColumn())->asBoolean()) : QStringLiteral("nicht gemessen"));
    }
    field(d, "UrteilSicht")->setAsString(verdict(field(d, "SICHTPRUEFUNG_BESTANDEN")->asBoolean()));
    field(d, "UrteilFunktion")->setAsString(verdict(field(d, "FUNKTIONSPRUEFUNG_BESTANDEN")->asBoolean()));
}

double TfrmDM::reportedLimit(const Measurement &measurement)
{
    const TRecGrenzwert row = GetGrenzwert(measurement.limitRow);
    return measurement.classOneApplies(field(dsetReportPruefungen, "PRUEFLING_SCHUTZKLASSE")->asString()) ? row.Wert_I : row.Wert;
}

void TfrmDM::dsetReportPruefungenFilterRecord(bool &accept)
{
    TDataSet &d = dsetReportPruefungen;
    if (d.tag == 1 || d.tag == 2)
        accept = inspectionPassed(d) == (d.tag == 1);
    accept = accept && deviceAccepted(AuswahlPrueflingePreview, field(d, "PRUEFLING_AKTIV"));
}

void TfrmDM::dsetReportInventarCalcFields()
{
    TDataSet &d = dsetReportInventar;
    if (field(d, "PRUEFUNG_ID")->isNull()) { // never inspected
        field(d, "Status")->setAsString(QStringLiteral("nie geprüft"));
        field(d, "Faellig")->setAsString(QStringLiteral("ja"));
        return;
    }
    field(d, "Ergebnis")->setAsString(inspectionPassed(d) ? QStringLiteral("Keine Mängel") : QStringLiteral("Defekt"));
    field(d, "Pruefberichtsnummer")->setAsString(reportNumber(field(d, "NUMMER"), field(d, "PRUEFUNG_ID")));
    const TField *next = field(d, "NEXT_PRUEFDATUM");
    const QDate nextDate = next->isNull() ? QDate() : next->asDateTime().date();
    if (!nextDate.isValid() || nextDate < TClock::today())
        field(d, "Status")->setAsString(QStringLiteral("überfällig"));
    field(d, "Faellig")->setAsString(!nextDate.isValid() || nextDate <= FInventoryDueDate ? QStringLiteral("ja") : QStringLiteral("nein"));
}

void TfrmDM::dsetReportInventarFilterRecord(bool &accept)
{
    accept = accept && deviceAccepted(AuswahlPrueflingePreview, field(dsetReportInventar, "AKTIV"));
}

void TfrmDM::openReportPruefungen(const QString &appendedLine, const QList<TValue> &params)
{
    // The unit texts of the computed fields come from the limit rows.
    for (const auto &limits : dsetGrenzwerte)
        limits->open();
    dsetReportPruefungen.close();
    FReportDatabaseIdentity = storedDatabaseIdentity(Database);
    dsetReportPruefungen.setSelectSql(FSQLReportPruefungen + QStringList{appendedLine});
    for (int i = 0; i < params.size(); ++i)
        dsetReportPruefungen.param(i).setValue(params.at(i));
    dsetReportPruefungen.open();
}

void TfrmDM::openReport(const TReportSelection &s)
{
    AuswahlPrueflingePreview = s.deviceFilter;
    dsetReportPruefungen.tag = s.resultFilter;
    if (s.report == TReportSelection::Report::Inspection) {
        openReportPruefungenForInspection(s.inspectionId);
        return;
    }
    dsetReportKunde.close();
    if (s.report == TReportSelection::Report::Due) {
        if (s.customerId >= 0) {
            dsetReportKunde.param(0).setAsInteger(s.customerId);
            dsetReportKunde.open();
        }
        openReportFaelligkeiten(s.dueUntil, s.customerId >= 0 ? std::optional<int>(s.customerId) : std::nullopt, s.duePlace);
        return;
    }
    dsetReportKunde.param(0).setAsInteger(s.customerId);
    dsetReportKunde.open();
    if (s.report == TReportSelection::Report::Day)
        openReportPruefungenForDay(s.customerId, s.day);
    else
        openReportInventar(s.customerId, s.dueDate, s.onlyDue);
}

QList<QDate> TfrmDM::inspectionDays(int kundeId)
{
    TQuery query(&Database);
    query.setSql(QStringLiteral("SELECT DISTINCT CAST(P.PRUEFDATUM AS DATE) AS DATUM FROM PRUEFUNGEN AS P JOIN PRUEFLINGE AS L "
                                "ON L.ID = P.PRUEFLINGE_ID WHERE L.KUNDEN_ID =:ID ORDER BY 1 DESC "));
    query.paramByName(QStringLiteral("ID")).setAsInteger(kundeId);
    QList<QDate> days;
    for (query.execQuery(); !query.eof(); query.next())
        days << query.asDateTime(0).date();
    return days;
}

void TfrmDM::openReportPruefungenForDay(int kundeId, const QDate &day)
{
    openReportPruefungen(QStringLiteral(" WHERE KUNDE_ID =:KUNDE_ID AND CAST(PRUEFDATUM AS DATE) =:PRUEFDATUM ORDER BY PRUEFLING_NUMMER"),
                         {qint64(kundeId), day});
}

void TfrmDM::openReportPruefungenForInspection(int pruefungId)
{
    openReportPruefungen(QStringLiteral(" WHERE PRUEFUNG_ID =:PRUEFUNG_ID "), {qint64(pruefungId)});
}

void TfrmDM::openReportInventar(int kundeId, const std::optional<QDate> &dueBy)
{
    openReportInventar(kundeId, dueBy.value_or(TClock::today()), dueBy.has_value());
}

void TfrmDM::openReportInventar(int kundeId, const QDate &dueDate, bool onlyDue)
{
    dsetReportInventar.close();
    FInventoryDueDate = dueDate;
    QStringList sql = FSQLReportInventar;
    if (onlyDue)
        sql << QStringLiteral(" AND (CAST(r.NEXT_PRUEFDATUM AS DATE) <=:DATUM OR r.NEXT_PRUEFDATUM IS NULL) ");
    // By device number, devices without one last.
    sql << QStringLiteral(" ORDER BY p.NUMMER NULLS LAST, p.BEZEICHNUNG");
    dsetReportInventar.setSelectSql(sql);
    dsetReportInventar.param(0).setAsInteger(kundeId);
    if (onlyDue)
        dsetReportInventar.param(1).setAsDate(dueDate);
    dsetReportInventar.open();
}
