#include "LabelData.h"
#include "LabelPayload.h"
#include "Measurements.h"
#include "UDM.h"
#include <QStringList>

TLabelData::TLabelData(TfrmDM &dm) : m_records(&dm.Database)
{
    m_records.addField(QStringLiteral("PRUEFLING_ID"), TFieldType::Integer);
    m_records.addField(QStringLiteral("KUNDEN_ID"), TFieldType::Integer);
    m_records.addField(QStringLiteral("NUMMER"), TFieldType::Decimal, 0);
    m_records.addField(QStringLiteral("BEZEICHNUNG"), TFieldType::String, 50);
    m_records.addField(QStringLiteral("PRUEFUNG_ID"), TFieldType::Integer);
    m_records.addField(QStringLiteral("PRUEFDATUM"), TFieldType::DateTime)->displayFormat = QStringLiteral("dd.mm.yyyy");
    m_records.addField(QStringLiteral("NEXT_PRUEFDATUM"), TFieldType::DateTime)->displayFormat = QStringLiteral("dd.mm.yyyy");
    addFlagField(m_records, QStringLiteral("SICHTPRUEFUNG_BESTANDEN"), QStringLiteral("Ja;Nein"));
    for (const Measurement &m : kMeasurements)
        addFlagField(m_records, m.flagColumn(), QStringLiteral("Ja;Nein"));
    addFlagField(m_records, QStringLiteral("FUNKTIONSPRUEFUNG_BESTANDEN"), QStringLiteral("Ja;Nein"));
    m_records.addField(QStringLiteral("FIRMA"), TFieldType::String, 60);
    m_records.addField(QStringLiteral("FIRMA_TELEFON"), TFieldType::String, 30);
    m_records.addCalculatedField(QStringLiteral("Payload"), TFieldType::String, 60);
    m_records.addCalculatedField(QStringLiteral("NaechstePruefung"), TFieldType::String, 7);
    m_records.addCalculatedField(QStringLiteral("Ergebnis"), TFieldType::String, 20);
    m_records.readOnly = true;
    m_records.onCalcFields = [this](TDataSet &) { calculate(); };
}

void TLabelData::openForDevices(const QList<int> &deviceIds)
{
    // Keys are numbers, so the list can stand in the statement itself; the
    // engine takes at most 1,500 values in one IN list.
    constexpr qsizetype kInListLimit = 1000;
    QStringList lists;
    for (qsizetype from = 0; from < deviceIds.size(); from += kInListLimit) {
        QStringList keys;
        for (int id : deviceIds.mid(from, kInListLimit))
            keys << QString::number(id);
        lists << QStringLiteral("p.ID IN (%1)").arg(keys.join(u','));
    }
    open(QString(), lists.isEmpty() ? QStringLiteral("1 = 0") : u'(' + lists.join(QStringLiteral(" OR ")) + u')', {});
}

void TLabelData::openForDay(int customerId, const QDate &day)
{
    open(QStringLiteral("AND CAST(q.PRUEFDATUM AS DATE) = :DAY"), QStringLiteral("p.KUNDEN_ID = :KUNDE"),
         {TValue(day), TValue(qint64(customerId))});
}

void TLabelData::open(const QString &inspectionCondition, const QString &deviceCondition, const QList<TValue> &params)
{
    m_records.close();
    m_records.setSelectSql(QStringList{
        QStringLiteral("SELECT p.ID AS PRUEFLING_ID, p.KUNDEN_ID, p.NUMMER, p.BEZEICHNUNG, r.ID AS PRUEFUNG_ID, r.PRUEFDATUM,"),
        QStringLiteral("r.NEXT_PRUEFDATUM, r.SICHTPRUEFUNG_BESTANDEN,"),
        measurementFlagColumns(QStringLiteral("r.")).join(QStringLiteral(", ")) + u',',
        QStringLiteral("r.FUNKTIONSPRUEFUNG_BESTANDEN,"),
        // The firm: its short name, else its name, and its phone.
        QStringLiteral("(SELECT FIRST 1 COALESCE(NULLIF(TRIM(a.KURZNAME), ''), a.NAME) FROM AUFTRAGNEHMER a ORDER BY a.ID) AS FIRMA,"),
        QStringLiteral("(SELECT FIRST 1 a.TELEFON FROM AUFTRAGNEHMER a ORDER BY a.ID) AS FIRMA_TELEFON"),
        // The latest inspection, also when two share its time.
        QStringLiteral("FROM PRUEFLINGE p JOIN PRUEFUNGEN r ON r.ID ="),
        QStringLiteral("(SELECT FIRST 1 q.ID FROM PRUEFUNGEN q WHERE q.PRUEFLINGE_ID = p.ID %1").arg(inspectionCondition),
        QStringLiteral("ORDER BY q.PRUEFDATUM DESC, q.ID DESC)"),
        QStringLiteral("WHERE %1 ORDER BY p.NUMMER NULLS LAST, p.ID").arg(deviceCondition)});
    for (int i = 0; i < params.size(); ++i)
        m_records.param(i).setValue(params.at(i));
    m_records.open();
}

void TLabelData::calculate()
{
    TDataSet &d = m_records;
    TLabelPayload payload;
    payload.customerId = static_cast<int>(d.fieldByName(QStringLiteral("KUNDEN_ID"))->asInteger());
    payload.deviceId = static_cast<int>(d.fieldByName(QStringLiteral("PRUEFLING_ID"))->asInteger());
    payload.deviceNumber = d.fieldByName(QStringLiteral("NUMMER"))->asString();
    d.fieldByName(QStringLiteral("Payload"))->setAsString(labelPayloadText(payload));
    const TField *next = d.fieldByName(QStringLiteral("NEXT_PRUEFDATUM"));
    d.fieldByName(QStringLiteral("NaechstePruefung"))
        ->setAsString(next->isNull() ? QString() : next->asDateTime().date().toString(QStringLiteral("MM/yyyy")));
    d.fieldByName(QStringLiteral("Ergebnis"))
        ->setAsString(inspectionPassed(d) ? QStringLiteral("Bestanden") : QStringLiteral("Nicht bestanden"));
}

QMap<QString, TDataSet *> TLabelData::connections() { return {{QStringLiteral("rvDsetEtiketten"), &m_records}}; }
