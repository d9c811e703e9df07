// The record sets behind the two reports: their base statements, fields,
// computed fields, record filters and the statements assembled for a report.
#include "UDM.h"

namespace {

struct FieldSpec {
    const char *name;
    TFieldType type;
    int size;
    const char *displayFormat;
    const char *displayValues;
};

// The 43 columns of the inspection report, in the order of the view.
const FieldSpec kReportPruefungen[] = {
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
    {"SCHUTZLEITWIDERSTAND", TFieldType::Decimal, 4, "#,##0.00", ""},
    {"SCHUTZLEITWIDERSTAND_BESTANDEN", TFieldType::Boolean, 0, "", "Ja;Nein"},
    {"ISOLATIONSPRUEFUNG", TFieldType::Decimal, 4, "#,##0.00", ""},
    {"ISOLATIONSPRUEFUNG_BESTANDEN", TFieldType::Boolean, 0, "", "Ja;Nein"},
    {"ERSATZABLEITSTROM", TFieldType::Decimal, 4, "#,##0.00", ""},
    {"ERSATZABLEITSTROM_BESTANDEN", TFieldType::Boolean, 0, "", "Ja;Nein"},
    {"DIFFERENZSTROM", TFieldType::Decimal, 4, "#,##0.00", ""},
    {"DIFFERENZSTROM_BESTANDEN", TFieldType::Boolean, 0, "", "Ja;Nein"},
    {"BERUEHRUNGSSTROM", TFieldType::Decimal, 4, "#,##0.00", ""},
    {"BERUEHRUNGSSTROM_BESTANDEN", TFieldType::Boolean, 0, "", "Ja;Nein"},
    {"FUNKTIONSPRUEFUNG_BESTANDEN", TFieldType::Boolean, 0, "", "Ja;Nein"},
    {"BEMERKUNG", TFieldType::Memo, 0, "", ""},
    {"PRUEFER_NAME", TFieldType::String, 50, "", ""},
    {"PRUEFGERAETE_NAME", TFieldType::String, 60, "", ""},
    {"PRUEFGERAETE_BEZEICHNUNG", TFieldType::String, 60, "", ""},
    {"PRUEFGERAETE_SERIENNUMMER", TFieldType::String, 50, "", ""},
};

const FieldSpec kReportInventar[] = {
    {"NUMMER", TFieldType::Decimal, 0, "", ""},
    {"ORT", TFieldType::String, 50, "", ""},
    {"BEZEICHNUNG", TFieldType::String, 50, "", ""},
    {"HERSTELLER", TFieldType::String, 80, "", ""},
    {"AKTIV", TFieldType::Boolean, 0, "", "Ja;Nein"},
    {"LAST_PRUEFDATUM", TFieldType::DateTime, 0, "dd.mm.yyyy", ""},
    {"NEXT_PRUEFDATUM", TFieldType::DateTime, 0, "dd.mm.yyyy", ""},
    {"PRUEFUNG_ID", TFieldType::Integer, 0, "", ""},
    {"SICHTPRUEFUNG_BESTANDEN", TFieldType::Boolean, 0, "", "True;False"},
    {"SCHUTZLEITWIDERSTAND_BESTANDEN", TFieldType::Boolean, 0, "", "True;False"},
    {"ISOLATIONSPRUEFUNG_BESTANDEN", TFieldType::Boolean, 0, "", "True;False"},
    {"ERSATZABLEITSTROM_BESTANDEN", TFieldType::Boolean, 0, "", "True;False"},
    {"DIFFERENZSTROM_BESTANDEN", TFieldType::Boolean, 0, "", "True;False"},
    {"BERUEHRUNGSSTROM_BESTANDEN", TFieldType::Boolean, 0, "", "True;False"},
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

} // namespace

void TfrmDM::declareReports()
{
    dsetReportPruefungen.setSelectSql(QStringLiteral(
        "SELECT KUNDE_ID, KUNDE_NAME, KUNDE_NAME2, KUNDE_ZUSATZ, KUNDE_STRASSE, KUNDE_PLZORT, KUNDE_TELEFON, PRUEFLING_ID, PRUEFLING_BEZEICHNUNG, PRUEFLING_NUMMER, PRUEFLING_SCHUTZKLASSE, PRUEFLING_ORT, PRUEFLING_PRUEFINTERVAL, PRUEFLING_GRENZWERT0, PRUEFLING_SERIENNR, PRUEFLING_HERSTELLER, PRUEFLING_BEMERKUNG, PRUEFLING_VARIABEL, PRUEFLING_LAENGE, PRUEFLING_AKTIV, PRUEFUNG_ID, PRUEFUNG_BEZEICHNUNG, PRUEFER_ID, PRUEFGERAETE_ID, PRUEFDATUM, PRUEFDATUM_NEXT, SICHTPRUEFUNG_BESTANDEN, SCHUTZLEITWIDERSTAND, SCHUTZLEITWIDERSTAND_BESTANDEN, ISOLATIONSPRUEFUNG, ISOLATIONSPRUEFUNG_BESTANDEN, ERSATZABLEITSTROM, ERSATZABLEITSTROM_BESTANDEN, DIFFERENZSTROM, DIFFERENZSTROM_BESTANDEN, BERUEHRUNGSSTROM, BERUEHRUNGSSTROM_BESTANDEN, FUNKTIONSPRUEFUNG_BESTANDEN, BEMERKUNG, PRUEFER_NAME, PRUEFGERAETE_NAME, PRUEFGERAETE_BEZEICHNUNG, PRUEFGERAETE_SERIENNUMMER FROM pruefprotokoll"));
    declareFields(dsetReportPruefungen, kReportPruefungen);
    dsetReportPruefungen.addCalculatedField(QStringLiteral("PruefungBestanden"), TFieldType::String, 100);
    for (const char *unit : {"Bez0", "Bez1", "Bez2", "Bez3", "Bez4"})
        dsetReportPruefungen.addCalculatedField(QString::fromLatin1(unit), TFieldType::String, 20);
    dsetReportPruefungen.addCalculatedField(QStringLiteral("Pruefling_Laenge_Anzeige"), TFieldType::String, 20);
    dsetReportPruefungen.addCalculatedField(QStringLiteral("Ergebnis"), TFieldType::String, 20);
    dsetReportPruefungen.addCalculatedField(QStringLiteral("Pruefberichtsnummer"), TFieldType::String, 20);
    dsetReportPruefungen.addCalculatedField(QStringLiteral("Pruefling_Grenzwert3"), TFieldType::Decimal, 8)->displayFormat =
        QStringLiteral("#,##0.00");
    dsetReportPruefungen.readOnly = true;
    dsetReportPruefungen.onCalcFields = [this](TDataSet &) { dsetReportPruefungenCalcFields(); };
    dsetReportPruefungen.onFilterRecord = [this](TDataSet &, bool &accept) { dsetReportPruefungenFilterRecord(accept); };
    dsetReportPruefungen.setFiltered(true);

    dsetReportInventar.setSelectSql(QStringList{
        QStringLiteral("SELECT p.NUMMER, p.ORT, p.BEZEICHNUNG, p.HERSTELLER, p.AKTIV, r.PRUEFDATUM AS LAST_PRUEFDATUM,"),
        QStringLiteral("r.NEXT_PRUEFDATUM AS NEXT_PRUEFDATUM, r.ID AS PRUEFUNG_ID, r.SICHTPRUEFUNG_BESTANDEN,"),
        QStringLiteral("r.SCHUTZLEITWIDERSTAND_BESTANDEN, r.ISOLATIONSPRUEFUNG_BESTANDEN, r.ERSATZABLEITSTROM_BESTANDEN,"),
        QStringLiteral("r.DIFFERENZSTROM_BESTANDEN, r.BERUEHRUNGSSTROM_BESTANDEN, r.FUNKTIONSPRUEFUNG_BESTANDEN"),
        QStringLiteral("FROM PRUEFLINGE AS p LEFT OUTER JOIN PRUEFUNGEN AS r ON r.PRUEFLINGE_ID = p.ID AND r.PRUEFDATUM ="),
        QStringLiteral("(SELECT MAX(r2.PRUEFDATUM) FROM PRUEFUNGEN AS r2 WHERE r2.PRUEFLINGE_ID = r.PRUEFLINGE_ID)"),
        QStringLiteral("WHERE"),
        QStringLiteral("p.KUNDEN_ID =:KUNDEN_ID")});
    declareFields(dsetReportInventar, kReportInventar);
    dsetReportInventar.addCalculatedField(QStringLiteral("Pruefberichtsnummer"), TFieldType::String, 20);
    dsetReportInventar.addCalculatedField(QStringLiteral("Ergebnis"), TFieldType::String, 20);
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

const char *const kFlags[] = {"SCHUTZLEITWIDERSTAND_BESTANDEN", "ISOLATIONSPRUEFUNG_BESTANDEN", "ERSATZABLEITSTROM_BESTANDEN",
                              "DIFFERENZSTROM_BESTANDEN", "BERUEHRUNGSSTROM_BESTANDEN"};
const char *const kValues[] = {"SCHUTZLEITWIDERSTAND", "ISOLATIONSPRUEFUNG", "ERSATZABLEITSTROM", "DIFFERENZSTROM",
                               "BERUEHRUNGSSTROM"};

TField *field(TDataSet &d, const char *name) { return d.fieldByName(QString::fromLatin1(name)); }

// The result of an inspection from the flags of the current record.
bool recordPassed(TDataSet &d)
{
    std::array<std::optional<bool>, 5> flags;
    for (size_t i = 0; i < flags.size(); ++i) {
        const TField *f = field(d, kFlags[i]);
        if (!f->isNull())
            flags[i] = f->asBoolean();
    }
    return inspectionPassed(field(d, "SICHTPRUEFUNG_BESTANDEN")->asBoolean(), flags,
                            field(d, "FUNKTIONSPRUEFUNG_BESTANDEN")->asBoolean());
}

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

bool inspectionPassed(bool sicht, const std::array<std::optional<bool>, 5> &measurements, bool funktion)
{
    bool result = sicht;
    for (const auto &m : measurements)
        if (m)
            result = result && *m;
    return result && funktion;
}

void TfrmDM::dsetReportPruefungenCalcFields()
{
    TDataSet &d = dsetReportPruefungen;
    const bool passed = recordPassed(d);
    field(d, "PruefungBestanden")
        ->setAsString(passed ? QStringLiteral("Die Prüfung wurde bestanden") : QStringLiteral("Die Prüfung wurde nicht bestanden"));
    field(d, "Ergebnis")->setAsString(passed ? QStringLiteral("Keine Mängel") : QStringLiteral("Defekt"));
    TDataSet *limits[] = {&dsetGrenzwert1, &dsetGrenzwert2, &dsetGrenzwert3, &dsetGrenzwert4, &dsetGrenzwert5};
    for (int i = 0; i < 5; ++i)
        if (!field(d, kValues[i])->isNull() && limits[i]->active())
            d.fieldByName(QStringLiteral("Bez%1").arg(i))->setAsString(limits[i]->fieldByName(QStringLiteral("BEZ2"))->asString());
    const TField *laenge = field(d, "PRUEFLING_LAENGE");
    if (field(d, "PRUEFLING_VARIABEL")->asBoolean() && !laenge->isNull())
        field(d, "Pruefling_Laenge_Anzeige")
            ->setAsString(QStringLiteral("Leitungslänge ") + laenge->asDecimal().toLocaleString() + QStringLiteral(" m"));
    field(d, "Pruefberichtsnummer")->setAsString(reportNumber(field(d, "PRUEFLING_NUMMER"), field(d, "PRUEFUNG_ID")));
    const TRecGrenzwert leakage = GetGrenzwert(2);
    const bool classOne = field(d, "PRUEFLING_SCHUTZKLASSE")->asString() == u"I";
    field(d, "Pruefling_Grenzwert3")->setAsDecimal(TDecimal::fromDouble(classOne ? leakage.Wert_I : leakage.Wert, 8));
}

void TfrmDM::dsetReportPruefungenFilterRecord(bool &accept)
{
    TDataSet &d = dsetReportPruefungen;
    if (d.tag == 1 || d.tag == 2)
        accept = recordPassed(d) == (d.tag == 1);
    accept = accept && deviceAccepted(AuswahlPrueflingePreview, field(d, "PRUEFLING_AKTIV"));
}

void TfrmDM::dsetReportInventarCalcFields()
{
    TDataSet &d = dsetReportInventar;
    if (field(d, "PRUEFUNG_ID")->isNull())
        return; // never inspected
    field(d, "Ergebnis")->setAsString(recordPassed(d) ? QStringLiteral("Keine Mängel") : QStringLiteral("Defekt"));
    field(d, "Pruefberichtsnummer")->setAsString(reportNumber(field(d, "NUMMER"), field(d, "PRUEFUNG_ID")));
}

void TfrmDM::dsetReportInventarFilterRecord(bool &accept)
{
    accept = accept && deviceAccepted(AuswahlPrueflingePreview, field(dsetReportInventar, "AKTIV"));
}

void TfrmDM::openReportPruefungen(const QString &appendedLine, const QList<TValue> &params)
{
    // The unit texts of the computed fields come from the limit rows.
    for (TDataSet *limits : {&dsetGrenzwert1, &dsetGrenzwert2, &dsetGrenzwert3, &dsetGrenzwert4, &dsetGrenzwert5})
        limits->open();
    dsetReportPruefungen.close();
    dsetReportPruefungen.setSelectSql(FSQLReportPruefungen + QStringList{appendedLine});
    for (int i = 0; i < params.size(); ++i)
        dsetReportPruefungen.param(i).setValue(params.at(i));
    dsetReportPruefungen.open();
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
    dsetReportInventar.close();
    QStringList sql = FSQLReportInventar;
    if (dueBy)
        sql << QStringLiteral(" AND (CAST(r.NEXT_PRUEFDATUM AS DATE) <=:DATUM OR r.NEXT_PRUEFDATUM IS NULL) ");
    dsetReportInventar.setSelectSql(sql);
    dsetReportInventar.param(0).setAsInteger(kundeId);
    if (dueBy)
        dsetReportInventar.param(1).setAsDate(*dueBy);
    dsetReportInventar.open();
}
