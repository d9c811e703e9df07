// The due list: every active device of every active customer with the next
// inspection date of its latest inspection.
#include "Clock.h"
#include "Query.h"
#include "UDM.h"

namespace {
// The due devices up to :BIS, of the customer :KUNDE or of all when it is null.
// One customer's alone are found through the customer's key (the condition
// on a parameter that may be null reads every customer).
QStringList dueDevicesSql(bool oneCustomer = false)
{
    return QStringList{
        QStringLiteral("SELECT K.ID AS KUNDEN_ID, K.NAME AS KUNDE_NAME, L.ID AS PRUEFLING_ID, L.BEZEICHNUNG, L.NUMMER, L.ORT,"),
        QStringLiteral("CAST(P.NEXT_PRUEFDATUM AS DATE) AS NEXT_PRUEFDATUM"),
        QStringLiteral("FROM KUNDEN K JOIN PRUEFLINGE L ON L.KUNDEN_ID = K.ID"),
        // The latest by date and then by key, so two inspections of the same
        // moment still give one row per device; looked up per device through
        // its index (a ranking of all inspections was read anew per device).
        QStringLiteral("LEFT JOIN PRUEFUNGEN P ON P.ID = (SELECT FIRST 1 Q.ID FROM PRUEFUNGEN Q WHERE Q.PRUEFLINGE_ID = L.ID"),
        QStringLiteral("ORDER BY Q.PRUEFDATUM DESC, Q.ID DESC)"),
        QStringLiteral("WHERE K.AKTIV = 1 AND L.AKTIV = 1"),
        QStringLiteral("AND (P.NEXT_PRUEFDATUM IS NULL OR CAST(P.NEXT_PRUEFDATUM AS DATE) <= :BIS)"),
        oneCustomer ? QStringLiteral("AND K.ID = :KUNDE") : QStringLiteral("AND (CAST(:KUNDE AS INTEGER) IS NULL OR K.ID = :KUNDE)"),
        QStringLiteral("ORDER BY K.NAME COLLATE UNICODE, K.ID, P.NEXT_PRUEFDATUM NULLS FIRST, L.ORT COLLATE UNICODE, L.NUMMER")};
}

TField *field(TDataSet &d, const char *name)
{
    return d.fieldByName(QString::fromLatin1(name));
}
} // namespace

QString latestNextInspectionColumn()
{
    return QStringLiteral("(SELECT FIRST 1 Q.NEXT_PRUEFDATUM FROM PRUEFUNGEN Q WHERE "
                          "Q.PRUEFLINGE_ID = PRUEFLINGE.ID "
                          "ORDER BY Q.PRUEFDATUM DESC, Q.ID DESC) AS NAECHSTE_PRUEFUNG");
}

QList<TDueDevice> TfrmDM::dueDevices(const QDate &until, const std::optional<int> &kundeId)
{
    TQuery query(&Database);
    query.setSql(dueDevicesSql(kundeId.has_value()));
    query.paramByName(QStringLiteral("BIS")).setAsDate(until);
    if (kundeId)
        query.paramByName(QStringLiteral("KUNDE")).setAsInteger(*kundeId);
    QList<TDueDevice> devices;
    for (query.execQuery(); !query.eof(); query.next()) {
        TDueDevice device;
        device.kundeId = static_cast<int>(query.asInteger(0));
        device.kundeName = query.asString(1);
        device.prueflingId = static_cast<int>(query.asInteger(2));
        device.bezeichnung = query.asString(3);
        device.nummer = query.asString(4);
        device.ort = query.asString(5);
        if (!query.isNull(6))
            device.nextDate = query.asDateTime(6).date();
        devices << device;
    }
    return devices;
}

TDueCounts TfrmDM::customerDueCounts(int kundeId)
{
    const QDate today = TClock::today();
    return countDue(dueDevices(today.addDays(kDueSoonDays), kundeId), today);
}

void TfrmDM::declareDueReport()
{
    TDataSet &d = dsetReportFaelligkeiten;
    d.setSelectSql(dueDevicesSql());
    d.addField(QStringLiteral("KUNDEN_ID"), TFieldType::Integer);
    d.addField(QStringLiteral("KUNDE_NAME"), TFieldType::String, 60);
    d.addField(QStringLiteral("PRUEFLING_ID"), TFieldType::Integer);
    d.addField(QStringLiteral("BEZEICHNUNG"), TFieldType::String, 50);
    d.addField(QStringLiteral("NUMMER"), TFieldType::Decimal, 0);
    d.addField(QStringLiteral("ORT"), TFieldType::String, 50);
    d.addField(QStringLiteral("NEXT_PRUEFDATUM"), TFieldType::DateTime)->displayFormat = QStringLiteral("dd.mm.yyyy");
    // "nie geprüft" in place of a date; "überfällig" before today.
    d.addCalculatedField(QStringLiteral("Faellig_am"), TFieldType::String, 20);
    d.addCalculatedField(QStringLiteral("Status"), TFieldType::String, 20);
    d.readOnly = true;
    d.onCalcFields = [this](TDataSet &) { dsetReportFaelligkeitenCalcFields(); };
    d.onFilterRecord = [this](TDataSet &set, bool &accept) {
        accept =
            accept && (FDueReportPlace.isEmpty() || field(set, "ORT")->asString().contains(FDueReportPlace, Qt::CaseInsensitive));
    };
    d.setFiltered(true);
}

void TfrmDM::dsetReportFaelligkeitenCalcFields()
{
    TDataSet &d = dsetReportFaelligkeiten;
    TDueDevice device;
    if (const TField *next = field(d, "NEXT_PRUEFDATUM"); !next->isNull())
        device.nextDate = next->asDateTime().date();
    field(d, "Faellig_am")
        ->setAsString(device.neverInspected() ? QStringLiteral("nie geprüft")
                                              : device.nextDate.toString(QStringLiteral("dd.MM.yyyy")));
    field(d, "Status")->setAsString(device.overdueOn(TClock::today()) ? QStringLiteral("überfällig") : QStringLiteral("fällig"));
}

void TfrmDM::openReportFaelligkeiten(const QDate &until, const std::optional<int> &kundeId, const QString &placeText)
{
    TDataSet &d = dsetReportFaelligkeiten;
    d.close();
    FDueReportPlace = placeText.trimmed();
    d.paramByName(QStringLiteral("BIS")).setAsDate(until);
    if (kundeId)
        d.paramByName(QStringLiteral("KUNDE")).setAsInteger(*kundeId);
    else
        d.paramByName(QStringLiteral("KUNDE")).clear();
    d.open();
}
