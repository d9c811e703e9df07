// The due list: every active device of every active customer with the next
// inspection date of its latest inspection.
#include "Clock.h"
#include "DueTable.h"
#include "Query.h"
#include "UDM.h"

namespace {
const QString kDueColumns = QStringLiteral("SELECT K.ID AS KUNDEN_ID, K.NAME AS KUNDE_NAME, L.ID AS PRUEFLING_ID, "
                                           "L.BEZEICHNUNG, L.NUMMER, L.ORT,");
const QString kDueOrder = QStringLiteral("ORDER BY K.NAME COLLATE UNICODE, K.ID, NEXT_PRUEFDATUM NULLS FIRST, "
                                         "L.ORT COLLATE UNICODE, L.NUMMER");

// The due devices up to :BIS from each device's latest inspection (by date
// and then by key, so two inspections of the same moment still give one
// row), looked up through its index: those of the customer :KUNDE, found
// through the customer's key; or, for a file whose upgrade is left to the
// server's owner and has no kept dates, every customer's.
QStringList latestInspectionDueSql(bool oneCustomer)
{
    return QStringList{
        kDueColumns, QStringLiteral("CAST(P.NEXT_PRUEFDATUM AS DATE) AS NEXT_PRUEFDATUM"),
        QStringLiteral("FROM KUNDEN K JOIN PRUEFLINGE L ON L.KUNDEN_ID = K.ID"),
        QStringLiteral("LEFT JOIN PRUEFUNGEN P ON P.ID = (SELECT FIRST 1 Q.ID FROM PRUEFUNGEN Q WHERE Q.PRUEFLINGE_ID = L.ID"),
        QStringLiteral("ORDER BY Q.PRUEFDATUM DESC, Q.ID DESC)"),
        QStringLiteral("WHERE K.AKTIV = 1 AND L.AKTIV = 1") + (oneCustomer ? QStringLiteral(" AND K.ID = :KUNDE") : QString()),
        QStringLiteral("AND (P.NEXT_PRUEFDATUM IS NULL OR CAST(P.NEXT_PRUEFDATUM AS DATE) <= :BIS)"), kDueOrder};
}

// The due devices up to :BIS of every customer, read through the index on
// the kept next dates: as many rows as are due, whatever the number of
// devices. The table leads the join (the outer joins keep it first) and
// every row it gives has its device and customer.
QStringList allDueSql()
{
    return QStringList{kDueColumns, QStringLiteral("F.NEXT_PRUEFDATUM"),
                       QStringLiteral("FROM FAELLIGKEITEN F LEFT JOIN PRUEFLINGE L ON L.ID = F.PRUEFLINGE_ID"),
                       QStringLiteral("LEFT JOIN KUNDEN K ON K.ID = L.KUNDEN_ID"),
                       QStringLiteral("WHERE (F.NEXT_PRUEFDATUM IS NULL OR F.NEXT_PRUEFDATUM <= :BIS)"),
                       QStringLiteral("AND K.AKTIV = 1 AND L.AKTIV = 1"), kDueOrder};
}

QStringList dueDevicesSql(TDatabase &database, bool oneCustomer)
{
    return oneCustomer || !dueTablePresent(database) ? latestInspectionDueSql(oneCustomer) : allDueSql();
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
    query.setSql(dueDevicesSql(Database, kundeId.has_value()));
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
    d.setSelectSql(latestInspectionDueSql(true));
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
    d.setSelectSql(dueDevicesSql(Database, kundeId.has_value()));
    d.paramByName(QStringLiteral("BIS")).setAsDate(until);
    if (kundeId)
        d.paramByName(QStringLiteral("KUNDE")).setAsInteger(*kundeId);
    d.open();
}
