#include "UFirebird.h"
#include "Database.h"
#include "Query.h"
#include "SchemaStatements.h"

TFirebird::TFirebird(TDatabase *database) : FDatabase(database), FQuery(std::make_unique<TQuery>(database)) {}

TFirebird::~TFirebird() = default;

void TFirebird::execSQL(const QString &statement)
{
    FDatabase->defaultTransaction()->start();
    FQuery->setSql(statement);
    FQuery->execQuery();
    FQuery->close();
    FDatabase->defaultTransaction()->commit();
}

void TFirebird::doTables()
{
    if (!FDatabase->connected())
        FDatabase->open();
    const auto &starts = sequenceStarts();
    for (const QString &statement : schemaStatements()) {
        execSQL(statement);
        for (const auto &[sequence, value] : starts)
            if (statement.startsWith(QStringLiteral("CREATE SEQUENCE ") + sequence + u' '))
                setSequence(sequence, value);
    }
}

void TFirebird::setSequence(const QString &sequence, qint64 value)
{
    FQuery->close();
    FQuery->setSql(QStringLiteral("ALTER SEQUENCE ") + sequence + QStringLiteral(" RESTART WITH ") + QString::number(value));
    FDatabase->defaultTransaction()->start();
    FQuery->execQuery();
    FDatabase->defaultTransaction()->commit();
}

void TFirebird::setSequence(const QString &sequence, const QString &table, const QString &field)
{
    FQuery->setSql(QStringLiteral("SELECT MAX(") + field + QStringLiteral(") FROM ") + table);
    FDatabase->defaultTransaction()->start();
    FQuery->execQuery();
    const qint64 n = FQuery->eof() ? 0 : FQuery->asInteger(0); // an empty table gives NULL, read as 0
    FQuery->close();
    FQuery->setSql(QStringLiteral("ALTER SEQUENCE ") + sequence + QStringLiteral(" RESTART WITH ") + QString::number(n));
    FQuery->execQuery();
    FDatabase->defaultTransaction()->commit();
}

void TFirebird::doDefaults()
{
    struct Limit {
        int id;
        const char *name, *kind;
        qint64 units;
        const char *unit;
    };
    static const Limit limits[] = {
        {0, "Schutzleiterwiderstand", "Max.", 3000, "Ohm"},
        {1, "Isolationsprüfung", "Min.", 20000, "MOhm"},
        {2, "Ersatzableitstrom", "Max.", 5000, "mA"},
        {3, "Differenzstrom", "Max.", 35000, "mA"},
        {4, "Berührungsstrom", "Max.", 5000, "mA"},
    };
    FQuery->setSql(QStringLiteral("INSERT INTO GRENZWERTE VALUES (:a,:b,:c,:d,:e)"));
    FDatabase->defaultTransaction()->start();
    FQuery->prepare();
    for (const Limit &l : limits) {
        FQuery->param(0).setAsInteger(l.id);
        FQuery->param(1).setAsString(QString::fromUtf8(l.name));
        FQuery->param(2).setAsString(QString::fromUtf8(l.kind));
        FQuery->param(3).setAsDecimal(TDecimal(l.units, 4));
        FQuery->param(4).setAsString(QString::fromUtf8(l.unit));
        FQuery->execQuery();
    }
    FQuery->setSql(QStringLiteral("INSERT INTO SCHUTZKLASSEN (KUERZEL, BEZEICHNUNG) VALUES (:a,:b)"));
    FQuery->prepare();
    for (const char *kuerzel : {"I", "II", "III"}) {
        FQuery->param(0).setAsString(QString::fromLatin1(kuerzel));
        FQuery->param(1).setAsString(QStringLiteral("Schutzklasse ") + QString::fromLatin1(kuerzel));
        FQuery->execQuery();
    }
    FDatabase->defaultTransaction()->commit();
}

void TFirebird::doDefaults2()
{
    static const char *const statements[] = {
        "INSERT INTO AUFTRAGNEHMER (ID, NAME) VALUES (1, 'Demo-Auftragnehmer...')",
        "INSERT INTO KUNDEN (ID, NAME) VALUES (GEN_ID(SEQ_KUNDEN, 1), 'Demo-Kunde')",
        "INSERT INTO PRUEFGERAETE (ID, NAME, BEZEICHNUNG, SERIENNUMMER) VALUES (GEN_ID(SEQ_PRUEFGERAETE, 1), 'Mess 01', "
        "'Metrawatt 395', 'A123456789')",
        "INSERT INTO PRUEFGERAETE (ID, NAME, BEZEICHNUNG, SERIENNUMMER) VALUES (GEN_ID(SEQ_PRUEFGERAETE, 1), 'Mess 02', "
        "'Metrawatt 395', 'A1234f4333')",
        "INSERT INTO PRUEFER (ID, NAME) VALUES (GEN_ID(SEQ_PRUEFER, 1), 'Demo-Prüfer')",
        "INSERT INTO PRUEFLINGE (ID, BEZEICHNUNG, NUMMER, SCHUTZKLASSE, ORT, PRUEFINTERVAL, KUNDEN_ID) VALUES "
        "(GEN_ID(SEQ_PRUEFLINGE, 1), 'Drucker', 85, 'I', 'Raum 10', 12, 101)",
        "INSERT INTO PRUEFLINGE (ID, BEZEICHNUNG, NUMMER, SCHUTZKLASSE, ORT, PRUEFINTERVAL, KUNDEN_ID) VALUES "
        "(GEN_ID(SEQ_PRUEFLINGE, 1), 'Mikrowelle', 86, 'I', 'Raum 11', 12, 101)",
        "INSERT INTO PRUEFUNGEN (ID, PRUEFDATUM, NEXT_PRUEFDATUM, PRUEFER_ID, PRUEFGERAETE_ID, PRUEFLINGE_ID, "
        "SICHTPRUEFUNG_BESTANDEN,SCHUTZLEITWIDERSTAND,SCHUTZLEITWIDERSTAND_BESTANDEN,ISOLATIONSPRUEFUNG, "
        "ISOLATIONSPRUEFUNG_BESTANDEN,FUNKTIONSPRUEFUNG_BESTANDEN) VALUES (GEN_ID(SEQ_PRUEFUNGEN, 1), '2014-01-12 18:33', "
        "'2014-07-12 18:33', 11, 12, 1001, 1, 0.06, 1, 19.99, 1, 1)",
        "INSERT INTO PRUEFUNGEN (ID, PRUEFDATUM, NEXT_PRUEFDATUM, PRUEFER_ID, PRUEFGERAETE_ID, PRUEFLINGE_ID, "
        "SICHTPRUEFUNG_BESTANDEN,SCHUTZLEITWIDERSTAND,SCHUTZLEITWIDERSTAND_BESTANDEN,ISOLATIONSPRUEFUNG, "
        "ISOLATIONSPRUEFUNG_BESTANDEN,FUNKTIONSPRUEFUNG_BESTANDEN) VALUES (GEN_ID(SEQ_PRUEFUNGEN, 1), '2014-07-10 18:33', "
        "'2015-01-10 18:33', 11, 12, 1001, 1, 0.07, 1, 19.99, 1, 1)",
    };
    FDatabase->defaultTransaction()->start();
    for (const char *statement : statements) {
        FQuery->setSql(QString::fromUtf8(statement));
        FQuery->prepare();
        FQuery->execQuery();
    }
    FDatabase->defaultTransaction()->commit();
    doMarker();
}

void TFirebird::doMarker() { execSQL(QStringLiteral("INSERT INTO SETTINGS (ID, BEZEICHNUNG, WERT) VALUES (2,'Application','2') ")); }

void TFirebird::doUpdate() {}
