// The inspection record set of the current device, the two record sets
// that give the earlier inspection to compare with, and the rules that judge
// every measured value and combine the verdicts.
#include "UDM.h"
#include "Clock.h"

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
    datum->displayWidth = 16;
    // The next inspection is due on a day; its time is always midnight.
    d.addField(QStringLiteral("NEXT_PRUEFDATUM"), TFieldType::DateTime)->displayFormat = QStringLiteral("dd.mm.yyyy");
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
    for (int i = 0; i < kMeasurements.size(); ++i)
        d.fieldByName(kMeasurements.at(i))->onChange = [this, i](TField &) { judge(i); };
    d.onCalcFields = [this](TDataSet &) { dsetPruefungenCalcFields(); };
    d.onNewRecord = [this](TDataSet &) { dsetPruefungenNewRecord(); };
    d.afterPost = [this](TDataSet &) { dsetPruefungenAfterPost(); };
    d.afterDelete = [this](TDataSet &) { rereadComparisons(); };
    dsrcPruefungen.onStateChange = [this](TDataSource &) { dsrcPruefungenStateChange(); };
    TField *result = d.addCalculatedField(QStringLiteral("Pruefung_Bestanden"), TFieldType::Boolean);
    result->displayLabel = QStringLiteral("Prüfung");
    result->displayValues = QStringLiteral("Bestanden;Nicht bestanden");

    declareComparison(dsetPruefungenVorher,
                      QStringLiteral("WHERE PRUEFLINGE_ID =:PRUEFLINGE_ID AND PRUEFDATUM <:PRUEFDATUM ORDER BY PRUEFDATUM DESC"),
                      &dsrcPruefungen);
    declareComparison(dsetPruefungenLetzter, QStringLiteral("WHERE PRUEFLINGE_ID =:PRUEFLINGE_ID ORDER BY PRUEFDATUM DESC"),
                      &dsrcPruefungen);
}

bool measurementPasses(int measurement, double value, double limit)
{
    // The insulation resistance is a minimum; the others are maxima.
    return measurement == 1 ? value >= limit : value <= limit;
}

QDateTime nextInspectionDate(const QDate &today, int months) { return QDateTime(today.addMonths(months), QTime(0, 0)); }

void TfrmDM::judge(int measurement)
{
    const QString name = kMeasurements.at(measurement);
    TField *value = dsetPruefungen.fieldByName(name);
    TField *passed = dsetPruefungen.fieldByName(name + QStringLiteral("_BESTANDEN"));
    if (value->isNull()) {
        passed->clear();
        return;
    }
    double limit = GetGrenzwertValue(measurement);
    if (measurement == 2 && dsetPrueflinge.active() &&
        dsetPrueflinge.fieldByName(QStringLiteral("SCHUTZKLASSE"))->asString() == u"I")
        limit = 3.5; // the class-I limit of the substitute leakage current
    passed->setAsBoolean(measurementPasses(measurement, value->asFloat(), limit));
}

void TfrmDM::dsetPruefungenCalcFields()
{
    TDataSet &d = dsetPruefungen;
    std::array<std::optional<bool>, 5> flags;
    for (size_t i = 0; i < flags.size(); ++i) {
        const TField *flag = d.fieldByName(kMeasurements.at(static_cast<int>(i)) + QStringLiteral("_BESTANDEN"));
        if (!flag->isNull())
            flags[i] = flag->asBoolean();
    }
    d.fieldByName(QStringLiteral("Pruefung_Bestanden"))
        ->setAsBoolean(inspectionPassed(d.fieldByName(QStringLiteral("SICHTPRUEFUNG_BESTANDEN"))->asBoolean(), flags,
                                        d.fieldByName(QStringLiteral("FUNKTIONSPRUEFUNG_BESTANDEN"))->asBoolean()));
}

void TfrmDM::dsetPruefungenNewRecord()
{
    TDataSet &d = dsetPruefungen;
    const auto currentId = [](TDataSet &set) {
        return set.active() && !set.isEmpty() ? set.fieldByName(QStringLiteral("ID"))->asInteger() : qint64(0);
    };
    d.fieldByName(QStringLiteral("PRUEFLINGE_ID"))->setAsInteger(dsetPrueflinge.fieldByName(QStringLiteral("ID"))->asInteger());
    d.fieldByName(QStringLiteral("PRUEFER_ID"))->setAsInteger(DefaultPrueferId >= 0 ? DefaultPrueferId : currentId(dsetPruefer));
    d.fieldByName(QStringLiteral("PRUEFGERAETE_ID"))
        ->setAsInteger(DefaultPruefgeraeteId >= 0 ? DefaultPruefgeraeteId : currentId(dsetPruefgeraete));
    d.fieldByName(QStringLiteral("PRUEFDATUM"))->setAsDateTime(TClock::now());
    d.fieldByName(QStringLiteral("SICHTPRUEFUNG_BESTANDEN"))->setAsBoolean(true);
    for (const QString &m : kMeasurements)
        d.fieldByName(m + QStringLiteral("_BESTANDEN"))->clear();
    d.fieldByName(QStringLiteral("FUNKTIONSPRUEFUNG_BESTANDEN"))->setAsBoolean(true);
    const int months = static_cast<int>(dsetPrueflinge.fieldByName(QStringLiteral("PRUEFINTERVAL"))->asInteger());
    d.fieldByName(QStringLiteral("NEXT_PRUEFDATUM"))->setAsDateTime(nextInspectionDate(TClock::today(), months));
    if (FInspectionView)
        FInspectionView->showWindow();
}

void TfrmDM::dsetPruefungenAfterPost()
{
    rereadComparisons();
    DefaultPrueferId = static_cast<int>(dsetPruefungen.fieldByName(QStringLiteral("PRUEFER_ID"))->asInteger());
    DefaultPruefgeraeteId = static_cast<int>(dsetPruefungen.fieldByName(QStringLiteral("PRUEFGERAETE_ID"))->asInteger());
}

// A stored or deleted inspection changes which one is the latest or the one
// before, while the parameters of the comparison statements may not change.
void TfrmDM::rereadComparisons()
{
    for (TDataSet *comparison : {&dsetPruefungenVorher, &dsetPruefungenLetzter})
        if (comparison->active())
            comparison->refresh();
}

void TfrmDM::dsrcPruefungenStateChange()
{
    if (dsetPruefungen.state() == TDataSetState::Insert) {
        dsrcPruefungenVorher.setDataSet(&dsetPruefungenLetzter);
        if (FInspectionView)
            FInspectionView->setComparisonHeading(QStringLiteral("Letzte Messung"));
        return;
    }
    dsrcPruefungenVorher.setDataSet(&dsetPruefungenVorher);
    if (FInspectionView) {
        FInspectionView->setComparisonHeading(QStringLiteral("Vorherige Messung"));
        if (dsetPruefungen.state() == TDataSetState::Edit)
            FInspectionView->showWindow();
    }
}
