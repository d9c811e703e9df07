// The step that turns a file of the program's earlier versions, whose texts
// are ISO8859_1, into a UTF-8 file. Firebird 3 ignores a new character set
// in ALTER COLUMN TYPE VARCHAR(n) CHARACTER SET …, refuses any type change
// of a BLOB and of a column in a primary or unique key, and lets a
// transaction use a new column only after it committed. So:
//   part 1 (one commit): a backup copy of a local file; the database's
//     default character set; one domain per text length; an empty UTF-8
//     twin "<column>_UTF8" of every text BLOB; the keys over text columns
//     dropped. The old texts stay as they are.
//   part 2 (one commit, with the version number): every VARCHAR/CHAR moved
//     to its UTF-8 domain, every text BLOB copied into its twin, which then
//     takes the old column's name, place and NOT NULL; the keys and the
//     view PRUEFPROTOKOLL made anew.
// The part-1 state is read by the same questions part 1 asks, so a run
// killed anywhere is completed by the next start. Everything happens inside
// the file, so it works the same on a server.
#include "Database.h"
#include "DatabaseFiles.h"
#include "DbError.h"
#include "FileCopy.h"
#include "Migration.h"
#include "Query.h"
#include "SchemaStatements.h"
#include "UpgradeSteps.h"
#include <QDir>
#include <QFileInfo>

namespace {

constexpr int kLatin1 = 21; // RDB$CHARACTER_SETS: ISO8859_1
constexpr int kBlob = 261, kVarchar = 37, kChar = 14;
const QString kView = QStringLiteral("PRUEFPROTOKOLL");
const QString kTwin = QStringLiteral("_UTF8");

struct TextColumn {
    QString table;
    QString column;
    int type = 0;
    int length = 0; // characters
    int position = 0;
    bool notNull = false;
};

// The keys the earlier versions put on text columns: the engine refuses to
// change the type of a column under a key, so they are dropped and made anew.
struct TextKey {
    const char *table;
    const char *kind;
    const char *column;
    const char *name;
};
constexpr TextKey kTextKeys[] = {
    {"SCHUTZKLASSEN", "PRIMARY KEY", "KUERZEL", "SCHUTZKLASSEN_KUERZEL"},
    {"IMPORTPROFILE", "UNIQUE", "NAME", "IMPORTPROFILE_NAME"},
};

QList<TextColumn> latin1Columns(TDatabase &db)
{
    TQuery q(&db);
    q.setSql(QStringLiteral(
        "SELECT TRIM(rf.RDB$RELATION_NAME), TRIM(rf.RDB$FIELD_NAME), f.RDB$FIELD_TYPE, "
        "COALESCE(f.RDB$CHARACTER_LENGTH, 0), rf.RDB$FIELD_POSITION, COALESCE(rf.RDB$NULL_FLAG, 0) "
        "FROM RDB$RELATION_FIELDS rf JOIN RDB$FIELDS f ON f.RDB$FIELD_NAME = rf.RDB$FIELD_SOURCE "
        "JOIN RDB$RELATIONS r ON r.RDB$RELATION_NAME = rf.RDB$RELATION_NAME "
        "WHERE COALESCE(r.RDB$SYSTEM_FLAG, 0) = 0 AND r.RDB$VIEW_BLR IS NULL AND f.RDB$CHARACTER_SET_ID = :CS "
        "AND (f.RDB$FIELD_TYPE IN (37, 14) OR (f.RDB$FIELD_TYPE = 261 AND f.RDB$FIELD_SUB_TYPE = 1)) "
        "ORDER BY 1, 5"));
    q.paramByName(QStringLiteral("CS")).setAsInteger(kLatin1);
    QList<TextColumn> columns;
    for (q.execQuery(); !q.eof(); q.next())
        columns.append({q.asString(0), q.asString(1), static_cast<int>(q.asInteger(2)), static_cast<int>(q.asInteger(3)),
                        static_cast<int>(q.asInteger(4)), q.asInteger(5) != 0});
    return columns;
}

qint64 scalar(TDatabase &db, const QString &sql)
{
    TQuery q(&db);
    q.setSql(sql);
    q.execQuery();
    return q.asInteger(0);
}

bool defaultIsLatin1(TDatabase &db)
{
    return scalar(db, QStringLiteral("SELECT COUNT(*) FROM RDB$DATABASE d JOIN RDB$CHARACTER_SETS c "
                                     "ON c.RDB$CHARACTER_SET_NAME = d.RDB$CHARACTER_SET_NAME "
                                     "WHERE c.RDB$CHARACTER_SET_ID = 21")) > 0;
}

QString domainOf(const TextColumn &c)
{
    return (c.type == kChar ? QStringLiteral("CHAR_UTF8_") : QStringLiteral("VARCHAR_UTF8_")) + QString::number(c.length);
}

bool domainExists(TDatabase &db, const QString &name)
{
    TQuery q(&db);
    q.setSql(QStringLiteral("SELECT COUNT(*) FROM RDB$FIELDS WHERE RDB$FIELD_NAME = :NAME"));
    q.paramByName(QStringLiteral("NAME")).setAsString(name);
    q.execQuery();
    return q.asInteger(0) > 0;
}

// The name of the key constraint on that column, or empty.
QString keyOn(TDatabase &db, const TextKey &key)
{
    TQuery q(&db);
    q.setSql(QStringLiteral("SELECT TRIM(c.RDB$CONSTRAINT_NAME) FROM RDB$RELATION_CONSTRAINTS c "
                            "JOIN RDB$INDEX_SEGMENTS s ON s.RDB$INDEX_NAME = c.RDB$INDEX_NAME "
                            "WHERE c.RDB$RELATION_NAME = :TABLENAME AND c.RDB$CONSTRAINT_TYPE = :KIND "
                            "AND s.RDB$FIELD_NAME = :COLUMNNAME"));
    q.paramByName(QStringLiteral("TABLENAME")).setAsString(QString::fromLatin1(key.table));
    q.paramByName(QStringLiteral("KIND")).setAsString(QString::fromLatin1(key.kind));
    q.paramByName(QStringLiteral("COLUMNNAME")).setAsString(QString::fromLatin1(key.column));
    q.execQuery();
    return q.eof() ? QString() : q.asString(0);
}

// "VELMORA.FDB" -> "VELMORA_Sicherung_vor_UTF-8.FDB" beside it; a number is
// added while that name is taken, so no earlier copy is overwritten.
QString freeBackupPath(const QString &path)
{
    const QFileInfo file(path);
    const QString suffix = file.suffix().isEmpty() ? QString() : u'.' + file.suffix();
    const QString stem = file.dir().filePath(file.completeBaseName() + QStringLiteral("_Sicherung_vor_UTF-8"));
    QString candidate = stem + suffix;
    for (int n = 2; QFileInfo::exists(candidate); ++n)
        candidate = stem + u'_' + QString::number(n) + suffix;
    return candidate;
}

// The file as it was, copied beside it while no attachment holds it open.
void backUp(TDatabase &db)
{
    if (!db.isLocalFile())
        return; // a server's file is reached only through the server
    db.defaultTransaction()->commit();
    db.close();
    const TFileCopyResult copy = copyFileCompletely(db.databaseName(), freeBackupPath(db.databaseName()));
    db.open();
    db.defaultTransaction()->start();
    if (!copy.ok())
        throw EDatabaseError(QStringLiteral("Vor der Umstellung auf UTF-8 kann keine Sicherungskopie angelegt werden: ") +
                             copy.failure);
}

void prepareConversion(MigrationStep &step, const QList<TextColumn> &columns)
{
    TDatabase &db = step.db();
    if (defaultIsLatin1(db)) {
        backUp(db);
        step.exec(QStringLiteral("ALTER DATABASE SET DEFAULT CHARACTER SET UTF8"));
    }
    for (const TextColumn &c : columns) {
        if (c.type == kBlob) {
            step.add(SchemaObject::Column, c.column + kTwin,
                     QStringLiteral("ALTER TABLE %1 ADD %2%3 BLOB SUB_TYPE TEXT CHARACTER SET UTF8").arg(c.table, c.column, kTwin),
                     c.table);
        } else if (!domainExists(db, domainOf(c))) {
            step.exec(QStringLiteral("CREATE DOMAIN %1 AS %2(%3) CHARACTER SET UTF8")
                          .arg(domainOf(c), c.type == kChar ? QStringLiteral("CHAR") : QStringLiteral("VARCHAR"))
                          .arg(c.length));
        }
    }
    for (const TextKey &key : kTextKeys)
        if (const QString name = keyOn(db, key); !name.isEmpty())
            step.exec(QStringLiteral("ALTER TABLE %1 DROP CONSTRAINT %2").arg(QString::fromLatin1(key.table), name));
    step.commitPart();
}

QString viewStatement()
{
    for (const QString &s : schemaStatements())
        if (s.startsWith(QStringLiteral("CREATE VIEW ") + kView, Qt::CaseInsensitive))
            return s;
    throw EDatabaseError(QStringLiteral("Die Sicht %1 fehlt im Schema.").arg(kView));
}

void convertColumns(MigrationStep &step, const QList<TextColumn> &columns)
{
    TDatabase &db = step.db();
    const QStringList viewUsers = firstColumn(db, QStringLiteral("SELECT DISTINCT TRIM(RDB$USER) FROM RDB$USER_PRIVILEGES "
                                                                 "WHERE RDB$RELATION_NAME = 'PRUEFPROTOKOLL' AND RDB$USER_TYPE = 8 "
                                                                 "AND RDB$GRANTOR IS NOT NULL"));
    if (schemaObjectExists(db, SchemaObject::Table, kView))
        step.exec(QStringLiteral("DROP VIEW ") + kView);
    for (const TextColumn &c : columns)
        if (c.type != kBlob)
            step.exec(QStringLiteral("ALTER TABLE %1 ALTER %2 TYPE %3").arg(c.table, c.column, domainOf(c)));
    for (const TextColumn &c : columns) {
        if (c.type != kBlob)
            continue;
        step.exec(QStringLiteral("UPDATE %1 SET %2%3 = %2").arg(c.table, c.column, kTwin));
        step.exec(QStringLiteral("ALTER TABLE %1 DROP %2").arg(c.table, c.column));
        step.exec(QStringLiteral("ALTER TABLE %1 ALTER %2%3 TO %2").arg(c.table, c.column, kTwin));
        step.exec(QStringLiteral("ALTER TABLE %1 ALTER %2 POSITION %3").arg(c.table, c.column).arg(c.position + 1));
        if (c.notNull)
            step.exec(QStringLiteral("ALTER TABLE %1 ALTER %2 SET NOT NULL").arg(c.table, c.column));
    }
    for (const TextKey &key : kTextKeys)
        if (schemaObjectExists(db, SchemaObject::Column, QString::fromLatin1(key.column), QString::fromLatin1(key.table)) &&
            keyOn(db, key).isEmpty())
            step.exec(QStringLiteral("ALTER TABLE %1 ADD CONSTRAINT %2 %3 (%4)")
                          .arg(QString::fromLatin1(key.table), QString::fromLatin1(key.name), QString::fromLatin1(key.kind),
                               QString::fromLatin1(key.column)));
    step.exec(viewStatement());
    for (const QString &user : viewUsers)
        step.exec(QStringLiteral("GRANT ALL ON %1 TO USER %2").arg(kView, user));
}

} // namespace

void convertTextsToUtf8(MigrationStep &step)
{
    prepareConversion(step, latin1Columns(step.db()));
    convertColumns(step, latin1Columns(step.db()));
}

bool textsAreUtf8(TDatabase &db) { return !defaultIsLatin1(db) && latin1Columns(db).isEmpty(); }
