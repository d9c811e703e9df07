#include "ClosedInspections.h"
#include "Clock.h"
#include "Database.h"
#include "Query.h"

namespace {

const QString kKeptColumns = QStringLiteral(
    "BEZEICHNUNG, PRUEFDATUM, NEXT_PRUEFDATUM, PRUEFER_ID, PRUEFGERAETE_ID, PRUEFLINGE_ID, SICHTPRUEFUNG_BESTANDEN, "
    "SCHUTZLEITWIDERSTAND, SCHUTZLEITWIDERSTAND_BESTANDEN, ISOLATIONSPRUEFUNG, ISOLATIONSPRUEFUNG_BESTANDEN, "
    "ERSATZABLEITSTROM, ERSATZABLEITSTROM_BESTANDEN, DIFFERENZSTROM, DIFFERENZSTROM_BESTANDEN, BERUEHRUNGSSTROM, "
    "BERUEHRUNGSSTROM_BESTANDEN, FUNKTIONSPRUEFUNG_BESTANDEN, BEMERKUNG");

} // namespace

bool isInspectionClosed(TDatabase &db, int pruefungId)
{
    TQuery q(&db);
    q.setSql(QStringLiteral("SELECT COUNT(*) FROM PRUEFUNGEN_ABGESCHLOSSEN WHERE PRUEFUNG_ID = :ID"));
    q.paramByName(QStringLiteral("ID")).setAsInteger(pruefungId);
    q.execQuery();
    return q.asInteger(0) > 0;
}

void closeInspections(TDatabase &db, const QList<int> &pruefungIds)
{
    TQuery q(&db);
    q.setSql(QStringLiteral("INSERT INTO PRUEFUNGEN_ABGESCHLOSSEN (PRUEFUNG_ID, ABGESCHLOSSEN) SELECT CAST(:ID AS INTEGER), CAST(:JETZT AS TIMESTAMP) "
                            "FROM RDB$DATABASE WHERE NOT EXISTS "
                            "(SELECT 1 FROM PRUEFUNGEN_ABGESCHLOSSEN a WHERE a.PRUEFUNG_ID = :ID)"));
    for (int id : pruefungIds) {
        q.paramByName(QStringLiteral("ID")).setAsInteger(id);
        q.paramByName(QStringLiteral("JETZT")).setAsDateTime(TClock::now());
        q.execQuery();
        q.close();
    }
}

void keepInspectionVersion(TDatabase &db, int pruefungId, const QString &reason)
{
    TQuery q(&db);
    q.setSql(QStringLiteral("INSERT INTO PRUEFUNGEN_VERSIONEN (PRUEFUNG_ID, VERSION, KORRIGIERT, GRUND, %1) "
                            "SELECT p.ID, (SELECT COUNT(*) FROM PRUEFUNGEN_VERSIONEN v WHERE v.PRUEFUNG_ID = p.ID) + 1, "
                            "CAST(:KORRIGIERT AS TIMESTAMP), CAST(:GRUND AS VARCHAR(200)), %1 FROM PRUEFUNGEN p WHERE p.ID = :ID")
                 .arg(kKeptColumns));
    q.paramByName(QStringLiteral("KORRIGIERT")).setAsDateTime(TClock::now());
    q.paramByName(QStringLiteral("GRUND")).setAsString(reason);
    q.paramByName(QStringLiteral("ID")).setAsInteger(pruefungId);
    q.execQuery();
    q.close();
}

std::optional<TCorrection> latestCorrection(TDatabase &db, int pruefungId)
{
    TQuery q(&db);
    q.setSql(QStringLiteral("SELECT FIRST 1 VERSION, KORRIGIERT, GRUND FROM PRUEFUNGEN_VERSIONEN WHERE PRUEFUNG_ID = :ID "
                            "ORDER BY VERSION DESC"));
    q.paramByName(QStringLiteral("ID")).setAsInteger(pruefungId);
    q.execQuery();
    if (q.eof())
        return std::nullopt;
    return TCorrection{static_cast<int>(q.asInteger(0)) + 1, q.asDateTime(1), q.asString(2)};
}
