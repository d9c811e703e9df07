#include "ProfileStore.h"
#include "DbError.h"
#include "Query.h"

QStringList storedProfileNames(TDatabase &database)
{
    TQuery q(&database);
    q.setSql(QStringLiteral("SELECT NAME FROM IMPORTPROFILE ORDER BY NAME"));
    QStringList names;
    for (q.execQuery(); !q.eof(); q.next())
        names << q.asString(0);
    q.close();
    return names;
}

std::optional<TImportProfile> loadProfile(TDatabase &database, const QString &name, QString *error)
{
    // A longer text (a path to a profile's file) is no stored name; the
    // engine would refuse it as a parameter.
    if (name.size() > kProfileNameLength) {
        *error = QStringLiteral("Ein Importprofil „%1“ gibt es in dieser Datenbank nicht.").arg(name);
        return std::nullopt;
    }
    TQuery q(&database);
    q.setSql(QStringLiteral("SELECT DEFINITION FROM IMPORTPROFILE WHERE NAME = :NAME"));
    q.paramByName(QStringLiteral("NAME")).setAsString(name);
    q.execQuery();
    if (q.eof()) {
        *error = QStringLiteral("Ein Importprofil „%1“ gibt es in dieser Datenbank nicht.").arg(name);
        return std::nullopt;
    }
    const QString text = q.asString(0);
    q.close();
    return TImportProfile::fromJsonText(text.toUtf8(), error);
}

void saveProfile(TDatabase &database, const TImportProfile &profile)
{
    if (const QString problem = profile.problem(); !problem.isEmpty())
        throw EDatabaseError(problem);
    TQuery q(&database);
    q.setSql(QStringLiteral("UPDATE OR INSERT INTO IMPORTPROFILE (ID, NAME, DEFINITION) VALUES ("
                            "COALESCE((SELECT ID FROM IMPORTPROFILE WHERE NAME = :NAME), GEN_ID(SEQ_IMPORT, 1)), :NAME, :DEF) "
                            "MATCHING (NAME)"));
    q.paramByName(QStringLiteral("NAME")).setAsString(profile.name.trimmed());
    q.paramByName(QStringLiteral("DEF")).setAsString(QString::fromUtf8(profile.toJsonText()));
    q.execQuery();
    database.defaultTransaction()->commitRetaining();
}

void deleteProfile(TDatabase &database, const QString &name)
{
    TQuery q(&database);
    q.setSql(QStringLiteral("DELETE FROM IMPORTPROFILE WHERE NAME = :NAME"));
    q.paramByName(QStringLiteral("NAME")).setAsString(name);
    q.execQuery();
    database.defaultTransaction()->commitRetaining();
}
