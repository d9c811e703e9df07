// The "Fälligkeiten" window over 500 customers with 100 devices each, every
// device inspected four times: the window's reading and filling of its list
// (query, due rows, customer filter, tree, then its attention marks) against a bare query that fetches
// the same rows and columns and nothing else. Prints the median times, the
// number of rows and the ratio, for two horizons.
#include "Clock.h"
#include "NewDatabase.h"
#include "ProcessMemory.h"
#include "Query.h"
#include "ScriptedDialogs.h"
#include "UDM.h"
#include "UDueDates.h"
#include <QApplication>
#include <QComboBox>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QTreeWidget>
#include <algorithm>
#include <cstdio>

namespace {

constexpr int kCustomers = 500;
constexpr int kDevicesPerCustomer = 100;
constexpr int kInspectionsPerDevice = 4;
const QDate kToday(2026, 12, 10);

qint64 count(TDatabase &db, const QString &sql)
{
    TQuery q(&db);
    q.setSql(sql);
    q.execQuery();
    return q.asInteger(0);
}

// The latest inspection of device i is due between a year ago and two years
// ahead, spread evenly; every 50th device was never inspected.
void ensureData(const QString &path)
{
    const int devices = kCustomers * kDevicesPerCustomer;
    TDatabase db;
    TTransaction t(&db);
    db.params = connectionParams();
    if (QFile::exists(path)) {
        db.setDatabaseName(path);
        db.open();
        if (count(db, QStringLiteral("SELECT COUNT(*) FROM PRUEFLINGE")) == devices + 2)
            return;
        db.close();
        QFile::remove(path);
    }
    std::fprintf(stderr, "generating %d customers, %d devices in %s\n", kCustomers, devices, qPrintable(path));
    createVelmoraDatabase(db, path);
    TQuery customer(&db), device(&db), inspection(&db);
    customer.setSql(QStringLiteral("INSERT INTO KUNDEN (ID, NAME, ORT) VALUES (:ID, :N, 'Messstadt')"));
    device.setSql(QStringLiteral("INSERT INTO PRUEFLINGE (ID, BEZEICHNUNG, NUMMER, ORT, PRUEFINTERVAL, KUNDEN_ID) "
                                 "VALUES (:ID, :B, :N, :O, 12, :K)"));
    inspection.setSql(QStringLiteral("INSERT INTO PRUEFUNGEN (ID, PRUEFDATUM, NEXT_PRUEFDATUM, PRUEFER_ID, PRUEFGERAETE_ID, "
                                     "PRUEFLINGE_ID, SICHTPRUEFUNG_BESTANDEN, FUNKTIONSPRUEFUNG_BESTANDEN) "
                                     "VALUES (:ID, :D, :ND, 11, 11, :P, 1, 1)"));
    int inspectionId = 1000000;
    for (int c = 0; c < kCustomers; ++c) {
        customer.paramByName("ID").setAsInteger(10000 + c);
        customer.paramByName("N").setAsString(QStringLiteral("Kunde %1 Elektro GmbH").arg(c + 1, 3, 10, QChar(u'0')));
        customer.execQuery();
        for (int d = 0; d < kDevicesPerCustomer; ++d) {
            const int i = c * kDevicesPerCustomer + d;
            device.paramByName("ID").setAsInteger(100000 + i);
            device.paramByName("B").setAsString(QStringLiteral("Gerät %1 Bohrhammer").arg(d + 1));
            device.paramByName("N").setAsInteger(d + 1);
            device.paramByName("O").setAsString(QStringLiteral("Halle %1, Regal %2").arg(d / 25 + 1).arg(d % 25 + 1));
            device.paramByName("K").setAsInteger(10000 + c);
            device.execQuery();
            if (i % 50 == 49)
                continue;
            const QDate latestNext = kToday.addDays((i * 37) % 1095 - 365);
            for (int k = kInspectionsPerDevice - 1; k >= 0; --k) {
                const QDate next = latestNext.addYears(-k);
                inspection.paramByName("ID").setAsInteger(inspectionId++);
                inspection.paramByName("D").setAsDateTime(QDateTime(next.addYears(-1), QTime(8, 0)));
                inspection.paramByName("ND").setAsDateTime(QDateTime(next, QTime(8, 0)));
                inspection.paramByName("P").setAsInteger(100000 + i);
                inspection.execQuery();
            }
        }
    }
    t.commit();
}

// The same statement as the window's, every column of every row fetched.
int bareQuery(TfrmDM &dm, const QDate &until)
{
    TQuery q(&dm.Database);
    q.setSql(dm.dsetReportFaelligkeiten.selectSql());
    q.paramByName(QStringLiteral("BIS")).setAsDate(until);
    int rows = 0;
    qint64 sink = 0;
    for (q.execQuery(); !q.eof(); q.next()) {
        sink += q.asInteger(0) + q.asString(1).size() + q.asInteger(2) + q.asString(3).size() + q.asString(4).size() +
                q.asString(5).size() + (q.isNull(6) ? 0 : q.asDateTime(6).date().day());
        ++rows;
    }
    return sink >= 0 ? rows : -1;
}

qint64 median(QList<qint64> v)
{
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? 0 : v.at(v.size() / 2);
}

void measure(TfrmDM &dm, TfrmDueDates &window, int horizonIndex, int rounds)
{
    auto *horizon = window.findChild<QComboBox *>(QStringLiteral("cbFaelligZeitraum"));
    horizon->setCurrentIndex(horizonIndex);
    QCoreApplication::processEvents();
    QList<qint64> windowTimes, markTimes, bareTimes;
    int rows = 0;
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        window.reload();
        windowTimes << timer.elapsed();
        QCoreApplication::processEvents(); // the marks read and the list painted
        markTimes << timer.elapsed();
        timer.start();
        rows = bareQuery(dm, window.reportSelection().dueUntil);
        bareTimes << timer.elapsed();
    }
    const double ratio = double(median(windowTimes)) / std::max<qint64>(1, median(bareTimes));
    std::printf("horizon \"%s\": %d due devices\n", qPrintable(horizon->currentText()), rows);
    std::printf("  window (query, rows, customer filter, tree): %lld ms median\n", static_cast<long long>(median(windowTimes)));
    std::printf("  ... with the attention marks shown:          %lld ms median\n", static_cast<long long>(median(markTimes)));
    std::printf("  bare query of the same rows:                 %lld ms median\n", static_cast<long long>(median(bareTimes)));
    std::printf("  ratio (list shown / bare): %.2f\n", ratio);
    std::printf("  ratio (marks shown / bare): %.2f\n", double(median(markTimes)) / std::max<qint64>(1, median(bareTimes)));
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QCommandLineParser parser;
    parser.addHelpOption();
    QCommandLineOption folderOpt("folder", "Folder for the database.", "folder", QDir::tempPath() + QStringLiteral("/velmora-bench"));
    QCommandLineOption roundsOpt("rounds", "Timed rounds of each (default 5).", "n", "5");
    parser.addOptions({folderOpt, roundsOpt});
    parser.process(app);
    const QString folder = parser.value(folderOpt);
    QDir().mkpath(folder);
    const QString path = folder + QStringLiteral("/duedates.fdb");
    ensureData(path);
    TClock::setFixedNow(QDateTime(kToday, QTime(8, 0)));

    TScriptedDialogs messages;
    TfrmDM dm;
    if (!dm.Connect(path)) {
        std::fprintf(stderr, "%s\n", qPrintable(messages.messages().join(u'\n')));
        return 1;
    }
    TfrmDueDates window;
    window.show();
    const int rounds = std::max(1, parser.value(roundsOpt).toInt());
    measure(dm, window, 2, rounds); // in 30 days
    measure(dm, window, 4, rounds); // in 90 days
    std::printf("peak RSS (VmHWM): %s\n", qPrintable(mib(procStatusKiB("VmHWM"))));
    return 0;
}
