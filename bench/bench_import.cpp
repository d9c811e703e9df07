// The import of an instrument's export: the dry run and the import of
// 10,000 rows against a bare prepared insert of the same rows in one
// transaction, in the same run on the same file. Prints medians and ratios.
#include "BenchImportProfile.h"
#include "DryRun.h"
#include "ImportBatch.h"
#include "Measurements.h"
#include "NewDatabase.h"
#include "Query.h"
#include "UUpdateDB.h"
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>

namespace {

constexpr int kCustomer = 600;
constexpr qint64 kBareKeys = 50000000; // keys of the bare side, far above the sequence

qint64 count(TDatabase &db, const QString &sql)
{
    TQuery q(&db);
    q.setSql(sql);
    q.execQuery();
    const qint64 n = q.asInteger(0);
    q.close();
    return n;
}

// A program database with one customer of `devices` numbered devices.
void ensureData(TDatabase &db, const QString &path, int devices)
{
    db.params = connectionParams();
    if (QFile::exists(path)) {
        db.setDatabaseName(path);
        db.open();
        if (count(db, QStringLiteral("SELECT COUNT(*) FROM PRUEFLINGE WHERE KUNDEN_ID = %1").arg(kCustomer)) == devices) {
            TUpdateDB(&db).CheckAndUpdate();
            return;
        }
        db.close();
        QFile::remove(path);
    }
    std::fprintf(stderr, "generating %d devices in %s\n", devices, qPrintable(path));
    createVelmoraDatabase(db, path);
    TUpdateDB(&db).CheckAndUpdate();
    db.defaultTransaction()->start();
    TQuery q(&db);
    q.setSql(QStringLiteral("INSERT INTO KUNDEN (ID, NAME) VALUES (%1, 'Benchmark Werkstatt')").arg(kCustomer));
    q.execQuery();
    q.setSql(QStringLiteral("INSERT INTO PRUEFLINGE (ID, BEZEICHNUNG, NUMMER, SCHUTZKLASSE, PRUEFINTERVAL, KUNDEN_ID) "
                            "VALUES (:ID, :B, :N, :K, 12, %1)").arg(kCustomer));
    for (int i = 1; i <= devices; ++i) {
        q.paramByName(QStringLiteral("ID")).setAsInteger(100000 + i);
        q.paramByName(QStringLiteral("B")).setAsString(QStringLiteral("Gerät %1").arg(i % 40));
        q.paramByName(QStringLiteral("N")).setAsDecimal(TDecimal(i, 0));
        q.paramByName(QStringLiteral("K")).setAsString(i % 3 ? QStringLiteral("I") : QStringLiteral("II"));
        q.execQuery();
    }
    db.defaultTransaction()->commitRetaining();
}

TImportProfile benchProfile()
{
    return benchImportProfile({ImportField::Customer, ImportField::DeviceNumber, ImportField::Date, ImportField::Time,
                               ImportField::Value0, ImportField::Value1, ImportField::Value2, ImportField::Visual,
                               ImportField::Function, ImportField::Verdict, ImportField::Remark});
}

// One row per device, semicolons, decimal comma, Latin-1, CR LF.
QByteArray exportOf(int rows)
{
    QString text = QStringLiteral("Kunde;Nr;Datum;Zeit;RPE;RISO;IEA;Sicht;Funktion;Urteil;Bemerkung\r\n");
    const QDate start(2025, 3, 3);
    for (int i = 1; i <= rows; ++i) {
        const QDate day = start.addDays(i / 400);
        text += QStringLiteral("Benchmark Werkstatt;%1;%2;%3:%4;0,%5;19,99;0,%6;i.O.;i.O.;bestanden;%7\r\n")
                    .arg(i)
                    .arg(day.toString(QStringLiteral("dd.MM.yyyy")))
                    .arg(8 + (i % 400) / 60, 2, 10, QChar(u'0'))
                    .arg(i % 60, 2, 10, QChar(u'0'))
                    .arg(5 + i % 20, 2, 10, QChar(u'0'))
                    .arg(10 + i % 30)
                    .arg(i % 10 ? QString() : QStringLiteral("Stecker erneuert"));
    }
    return text.toLatin1();
}

// The same rows, already read, through one prepared insert in one
// transaction: the least any import must do.
void bareInsert(TDatabase &db, const TDryRun &run)
{
    QStringList columns{QStringLiteral("ID"), QStringLiteral("PRUEFDATUM"), QStringLiteral("NEXT_PRUEFDATUM"),
                        QStringLiteral("PRUEFER_ID"), QStringLiteral("PRUEFGERAETE_ID"), QStringLiteral("PRUEFLINGE_ID"),
                        QStringLiteral("SICHTPRUEFUNG_BESTANDEN")};
    columns += measurementColumns();
    columns << QStringLiteral("FUNKTIONSPRUEFUNG_BESTANDEN") << QStringLiteral("BEMERKUNG");
    QStringList params;
    for (int i = 0; i < columns.size(); ++i)
        params << QStringLiteral(":P%1").arg(i);
    TQuery q(&db);
    q.setSql(QStringLiteral("INSERT INTO PRUEFUNGEN (%1) VALUES (%2)").arg(columns.join(u','), params.join(u',')));
    q.prepare();
    qint64 key = kBareKeys;
    for (const TImportRow &r : run.rows) {
        int p = 0;
        q.param(p++).setAsInteger(key++);
        q.param(p++).setAsDateTime(r.when);
        q.param(p++).setAsDateTime(QDateTime(r.when.date().addMonths(r.nextInterval), QTime(0, 0)));
        q.param(p++).setAsInteger(r.inspectorId);
        q.param(p++).setAsInteger(run.choice.instrumentId);
        q.param(p++).setAsInteger(r.deviceId);
        q.param(p++).setAsInteger(r.visual);
        for (size_t m = 0; m < r.values.size(); ++m) {
            if (r.values[m])
                q.param(p++).setAsDecimal(*r.values[m]);
            else
                q.param(p++).clear();
            if (r.passed[m])
                q.param(p++).setAsInteger(*r.passed[m]);
            else
                q.param(p++).clear();
        }
        q.param(p++).setAsInteger(r.function);
        if (r.remark.isEmpty())
            q.param(p++).clear();
        else
            q.param(p++).setAsString(r.remark);
        q.execQuery();
    }
    db.defaultTransaction()->commitRetaining();
}

void removeBare(TDatabase &db)
{
    TQuery q(&db);
    q.setSql(QStringLiteral("DELETE FROM PRUEFUNGEN WHERE ID >= %1").arg(kBareKeys));
    q.execQuery();
    db.defaultTransaction()->commitRetaining();
}

template <typename Work>
double timed(Work work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QCommandLineParser parser;
    parser.addHelpOption();
    QCommandLineOption folderOpt("folder", "Folder for the database.", "folder", QDir::tempPath() + QStringLiteral("/velmora-bench"));
    QCommandLineOption rowsOpt("rows", "Rows of the export (default 10000).", "n", "10000");
    QCommandLineOption roundsOpt("rounds", "Timed rounds of each (default 5).", "n", "5");
    parser.addOptions({folderOpt, rowsOpt, roundsOpt});
    parser.process(app);
    const QString folder = parser.value(folderOpt);
    QDir().mkpath(folder);
    const int rows = std::max(1, parser.value(rowsOpt).toInt());
    const int rounds = std::max(1, parser.value(roundsOpt).toInt());

    TDatabase db;
    TTransaction transaction(&db);
    ensureData(db, folder + QStringLiteral("/import.fdb"), rows);
    const TImportProfile profile = benchProfile();
    const QByteArray bytes = exportOf(rows);
    const TImportChoice choice{11, 11};

    std::vector<double> dry, import, bare;
    for (int round = 0; round < rounds; ++round) {
        TDryRun run;
        dry.push_back(timed([&] { run = dryRunImport(db, profile, QStringLiteral("bench.csv"), bytes, choice); }));
        if (run.readyCount() != rows) {
            std::fprintf(stderr, "only %d of %d rows ready: %s\n", run.readyCount(), rows, qPrintable(run.countsText()));
            return 1;
        }
        TImportResult result;
        import.push_back(timed([&] { result = importDryRun(db, run); }));
        undoBatch(db, result.batchId);
        bare.push_back(timed([&] { bareInsert(db, run); }));
        removeBare(db);
    }
    const double d = median(dry), i = median(import), b = median(bare);
    std::printf("rows: %d, rounds: %d (medians)\n", rows, rounds);
    std::printf("dry run:                  %8.0f ms\n", d);
    std::printf("import (checks again):    %8.0f ms\n", i);
    std::printf("bare prepared insert:     %8.0f ms\n", b);
    std::printf("ratio import / bare:          %.2f\n", i / b);
    std::printf("ratio (dry run + import) / bare: %.2f\n", (d + i) / b);
    return 0;
}
