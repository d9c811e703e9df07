#include "DeviceFromRow.h"
#include "DbError.h"
#include "DryRun.h"
#include "Query.h"

namespace {

int nextKey(TQuery &q, const char *sequence)
{
    q.setSql(QStringLiteral("SELECT GEN_ID(%1, 1) FROM RDB$DATABASE").arg(QLatin1String(sequence)));
    q.execQuery();
    const int id = static_cast<int>(q.asInteger(0));
    q.close();
    return id;
}

} // namespace

QString deviceCreationRefusal(const TImportRow &row, const TImportProfile &profile)
{
    if (row.state != RowState::UnknownDevice && row.state != RowState::UnknownCustomer)
        return QStringLiteral("Der Prüfling dieser Zeile ist bekannt oder die Zeile hat einen anderen Fehler.");
    if (row.deviceNumber.isEmpty())
        return QStringLiteral("Die Zeile nennt keine gültige Prüflingsnummer.");
    if (row.customerId == 0 && (profile.customerByKey || row.customerText.isEmpty()))
        return QStringLiteral("Den Kunden der Zeile gibt es nicht; bitte zuerst unter Bearbeiten → Kunden anlegen.");
    if (row.customerId != 0 && row.state == RowState::UnknownDevice && row.messages.value(0).contains(u"mehrere"))
        return QStringLiteral("Der Kunde hat diese Nummer mehrfach; bitte die Prüflinge von Hand bereinigen.");
    return {};
}

int createDeviceFromRow(TDatabase &database, const TImportRow &row, const TImportProfile &profile, const TNewDeviceChoice &choice)
{
    if (const QString refusal = deviceCreationRefusal(row, profile); !refusal.isEmpty())
        throw EDatabaseError(refusal);
    if (choice.name.trimmed().isEmpty())
        throw EDatabaseError(QStringLiteral("Bitte eine Bezeichnung für den Prüfling angeben."));
    if (choice.interval < 1)
        throw EDatabaseError(QStringLiteral("Das Prüfintervall muss mindestens einen Monat lang sein."));
    TTransaction *transaction = database.defaultTransaction();
    transaction->setSavepoint();
    try {
        TQuery q(&database);
        int customerId = row.customerId;
        if (customerId == 0) {
            customerId = nextKey(q, "SEQ_KUNDEN");
            q.setSql(QStringLiteral("INSERT INTO KUNDEN (ID, NAME) VALUES (:ID, :NAME)"));
            q.paramByName(QStringLiteral("ID")).setAsInteger(customerId);
            q.paramByName(QStringLiteral("NAME")).setAsString(row.customerText.left(60));
            q.execQuery();
        }
        const int deviceId = nextKey(q, "SEQ_PRUEFLINGE");
        q.setSql(QStringLiteral("INSERT INTO PRUEFLINGE (ID, BEZEICHNUNG, NUMMER, SCHUTZKLASSE, PRUEFINTERVAL, KUNDEN_ID) "
                                "VALUES (:ID, :NAME, :NUMMER, :KLASSE, :INTERVALL, :KUNDE)"));
        q.paramByName(QStringLiteral("ID")).setAsInteger(deviceId);
        q.paramByName(QStringLiteral("NAME")).setAsString(choice.name.trimmed().left(50));
        q.paramByName(QStringLiteral("NUMMER")).setAsDecimal(TDecimal(row.deviceNumber.toLongLong(), 0));
        q.paramByName(QStringLiteral("KLASSE")).setAsString(choice.schutzklasse);
        q.paramByName(QStringLiteral("INTERVALL")).setAsInteger(choice.interval);
        q.paramByName(QStringLiteral("KUNDE")).setAsInteger(customerId);
        q.execQuery();
        transaction->commitRetaining();
        return deviceId;
    } catch (...) {
        transaction->rollbackToSavepoint();
        throw;
    }
}
