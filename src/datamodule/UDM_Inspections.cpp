// The inspection record set of the current device, the two record sets
// that give the earlier inspection to compare with, and the rules that judge
// every measured value and combine the verdicts.
#include "UDM.h"
#include "Attention.h"
#include "Clock.h"
#include "InspectionDates.h"
#include "Measurements.h"
#include "RuleRefusal.h"
#include "RememberedTools.h"

namespace {

TField *measurement(TDataSet &d, const QString &name)
{
    TField *f = d.addField(name, TFieldType::Decimal, 4);
    f->displayFormat = QStringLiteral("#,##0.00");
    f->editFormat = QStringLiteral("0.0000");
    return f;
}

// The columns both comparison record sets read: the checks and every
// measurement with its flag.
void declareComparison(TDataSet &d, const QString &condition, TDataSource *master)
{
    const QStringList columns = QStringList{QStringLiteral("PRUEFLINGE_ID"), QStringLiteral("PRUEFDATUM"),
                                            QStringLiteral("SICHTPRUEFUNG_BESTANDEN")} +
                                measurementColumns() + QStringList{QStringLiteral("FUNKTIONSPRUEFUNG_BESTANDEN")};
    d.setSelectSql(QStringLiteral("SELECT FIRST 1 ") + columns.join(QStringLiteral(", ")) + QStringLiteral(" FROM PRUEFUNGEN ") +
                   condition);
    d.addField(QStringLiteral("PRUEFLINGE_ID"), TFieldType::Integer);
    d.addField(QStringLiteral("PRUEFDATUM"), TFieldType::DateTime)->displayFormat = QStringLiteral("dd.mm.yyyy hh:mm");
    addFlagField(d, QStringLiteral("SICHTPRUEFUNG_BESTANDEN"), QStringLiteral("Bestanden;Fehler"));
    for (const Measurement &m : kMeasurements) {
        measurement(d, m.valueColumn());
        d.addField(m.flagColumn(), TFieldType::Boolean);
    }
    addFlagField(d, QStringLiteral("FUNKTIONSPRUEFUNG_BESTANDEN"), QStringLiteral("Bestanden;Fehler"));
    d.readOnly = true;
    d.setMasterSource(master);
}

} // namespace

void TfrmDM::declareInspections()
{
    const QStringList columnList =
        QStringLiteral("ID, BEZEICHNUNG, PRUEFDATUM, NEXT_PRUEFDATUM, PRUEFER_ID, PRUEFGERAETE_ID, PRUEFLINGE_ID, "
                       "SICHTPRUEFUNG_BESTANDEN")
            .split(QStringLiteral(", ")) +
        measurementColumns() + QStringList{QStringLiteral("FUNKTIONSPRUEFUNG_BESTANDEN"), QStringLiteral("BEMERKUNG")};
    const QString columns = columnList.join(QStringLiteral(", "));
    TDataSet &d = dsetPruefungen;
    d.setSelectSql(QStringLiteral("SELECT ") + columns +
                   QStringLiteral(" FROM PRUEFUNGEN WHERE PRUEFLINGE_ID = :ID ORDER BY PRUEFDATUM DESC"));
    declareTableStatements(d, QStringLiteral("PRUEFUNGEN"), columnList);
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
    addFlagField(d, QStringLiteral("SICHTPRUEFUNG_BESTANDEN"), QStringLiteral("Bestanden;Fehler"))->defaultExpression =
        QStringLiteral("Fehler");
    for (const Measurement &m : kMeasurements) {
        measurement(d, m.valueColumn());
        addFlagField(d, m.flagColumn(), QStringLiteral("Ja;Nein"))->defaultExpression = QStringLiteral("Nein");
    }
    addFlagField(d, QStringLiteral("FUNKTIONSPRUEFUNG_BESTANDEN"), QStringLiteral("Bestanden;Fehler"))->defaultExpression =
        QStringLiteral("Fehler");
    d.addField(QStringLiteral("BEMERKUNG"), TFieldType::Memo);
    d.addLookupField(QStringLiteral("Pruefer"), 20, &dsetPrueferLookup, QStringLiteral("PRUEFER_ID"), QStringLiteral("ID"),
                     QStringLiteral("NAME"));
    d.addLookupField(QStringLiteral("Pruefgeraet"), 20, &dsetPruefgeraeteLookup, QStringLiteral("PRUEFGERAETE_ID"),
                     QStringLiteral("ID"), QStringLiteral("NAME"));
    for (const Measurement &m : kMeasurements)
        d.fieldByName(m.valueColumn())->onChange = [this, &m](TField &value) {
            refuseNegative(value, QStringLiteral("Ein Messwert kann nicht negativ sein."));
            judge(m);
        };
    d.onCalcFields = [this](TDataSet &) { dsetPruefungenCalcFields(); };
    d.onNewRecord = [this](TDataSet &) { dsetPruefungenNewRecord(); };
    d.afterPost = [this](TDataSet &) { dsetPruefungenAfterPost(); };
    d.afterDelete = [this](TDataSet &) { rereadComparisons(); };
    dsrcPruefungen.onStateChange = [this](TDataSource &) { dsrcPruefungenStateChange(); };
    TField *result = d.addCalculatedField(QStringLiteral("Pruefung_Bestanden"), TFieldType::Boolean);
    result->displayLabel = QStringLiteral("Prüfung");
    result->displayValues = QStringLiteral("Bestanden;Nicht bestanden");

    followInspectionDate(d, [this] {
        return static_cast<int>(dsetPrueflinge.fieldByName(QStringLiteral("PRUEFINTERVAL"))->asInteger());
    });

    declareComparison(dsetPruefungenVorher,
                      QStringLiteral("WHERE PRUEFLINGE_ID =:PRUEFLINGE_ID AND PRUEFDATUM <:PRUEFDATUM ORDER BY PRUEFDATUM DESC"),
                      &dsrcPruefungen);
    declareComparison(dsetPruefungenLetzter, QStringLiteral("WHERE PRUEFLINGE_ID =:PRUEFLINGE_ID ORDER BY PRUEFDATUM DESC"),
                      &dsrcPruefungen);
}

TField *addFlagField(TDataSet &dataSet, const QString &name, const QString &texts)
{
    TField *f = dataSet.addField(name, TFieldType::Boolean);
    f->displayValues = texts;
    return f;
}

bool inspectionPassed(TDataSet &record)
{
    bool result = record.fieldByName(QStringLiteral("SICHTPRUEFUNG_BESTANDEN"))->asBoolean() &&
                  record.fieldByName(QStringLiteral("FUNKTIONSPRUEFUNG_BESTANDEN"))->asBoolean();
    for (const Measurement &m : kMeasurements) {
        const TField *flag = record.fieldByName(m.flagColumn());
        if (!flag->isNull())
            result = result && flag->asBoolean();
    }
    return result;
}

namespace {

// Whether a new inspection holds anything that decides its verdict: a
// judged value or a check that failed.
bool anythingJudged(TDataSet &record)
{
    for (const Measurement &m : kMeasurements)
        if (!record.fieldByName(m.flagColumn())->isNull())
            return true;
    return !record.fieldByName(QStringLiteral("SICHTPRUEFUNG_BESTANDEN"))->asBoolean() ||
           !record.fieldByName(QStringLiteral("FUNKTIONSPRUEFUNG_BESTANDEN"))->asBoolean();
}

} // namespace

QDateTime nextInspectionDate(const QDate &today, int months) { return QDateTime(today.addMonths(months), QTime(0, 0)); }

void TfrmDM::judge(const Measurement &measurement)
{
    TField *value = dsetPruefungen.fieldByName(measurement.valueColumn());
    TField *passed = dsetPruefungen.fieldByName(measurement.flagColumn());
    if (value->isNull())
        passed->clear();
    else
        passed->setAsBoolean(measurement.passes(value->asFloat(), currentLimit(measurement)));
    if (FInspectionView)
        FInspectionView->valueJudged();
}

double TfrmDM::currentLimit(const Measurement &measurement)
{
    const QString schutzklasse =
        dsetPrueflinge.active() ? dsetPrueflinge.fieldByName(QStringLiteral("SCHUTZKLASSE"))->asString() : QString();
    return measurement.limitFor(GetGrenzwertValue(measurement.limitRow), schutzklasse);
}

QString TfrmDM::valueNote(const Measurement &measurement)
{
    if (!dsetPruefungen.active())
        return {};
    const TField *value = dsetPruefungen.fieldByName(measurement.valueColumn());
    if (value->isNull())
        return {};
    std::optional<double> previous;
    QDate previousDate;
    TDataSet *earlier = dsrcPruefungenVorher.dataSet();
    if (earlier && earlier->active() && !earlier->isEmpty()) {
        const TField *earlierValue = earlier->fieldByName(measurement.valueColumn());
        if (!earlierValue->isNull())
            previous = earlierValue->asFloat();
        previousDate = earlier->fieldByName(QStringLiteral("PRUEFDATUM"))->asDateTime().date();
    }
    return ::valueNote(measurement, value->asFloat(), currentLimit(measurement), previous, previousDate);
}

void TfrmDM::dsetPruefungenCalcFields()
{
    TDataSet &d = dsetPruefungen;
    TField *verdict = d.fieldByName(QStringLiteral("Pruefung_Bestanden"));
    if (d.state() == TDataSetState::Insert && !anythingJudged(d))
        verdict->clear(); // nothing measured yet: no verdict to show
    else
        verdict->setAsBoolean(inspectionPassed(d));
}

void TfrmDM::dsetPruefungenNewRecord()
{
    TDataSet &d = dsetPruefungen;
    const auto currentId = [](TDataSet &set) {
        return set.active() && !set.isEmpty() ? set.fieldByName(QStringLiteral("ID"))->asInteger() : qint64(0);
    };
    d.fieldByName(QStringLiteral("PRUEFLINGE_ID"))->setAsInteger(dsetPrueflinge.fieldByName(QStringLiteral("ID"))->asInteger());
    const RememberedTools remembered(Database, *Settings());
    d.fieldByName(QStringLiteral("PRUEFER_ID"))
        ->setAsInteger(remembered.inspector(DefaultPrueferId).value_or(currentId(dsetPruefer)));
    d.fieldByName(QStringLiteral("PRUEFGERAETE_ID"))
        ->setAsInteger(remembered.instrument(DefaultPruefgeraeteId).value_or(currentId(dsetPruefgeraete)));
    d.fieldByName(QStringLiteral("PRUEFDATUM"))->setAsDateTime(TClock::now());
    d.fieldByName(QStringLiteral("SICHTPRUEFUNG_BESTANDEN"))->setAsBoolean(true);
    for (const Measurement &m : kMeasurements)
        d.fieldByName(m.flagColumn())->clear();
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
    RememberedTools(Database, *Settings()).remember(DefaultPrueferId, DefaultPruefgeraeteId);
}

// A stored or deleted inspection changes which one is the latest or the one
// before, while the parameters of the comparison statements may not change;
// the device's next inspection date follows its latest inspection.
void TfrmDM::rereadComparisons()
{
    dsetPrueflinge.rereadCurrentRow();
    if (FMainView)
        FMainView->dueDatesChanged();
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
