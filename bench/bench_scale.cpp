// The everyday steps on a small and a large database with the same visible
// work: one customer of 50 devices with 4 inspections each. Each step runs
// through the program's own windows (offscreen, driven as the scenario tests
// drive them) or, for the import, through the code its window calls. Prints
// wall and processor time per step for both sizes and their ratio; marks
// the steps that grow with the file. Then the first start of a large file
// from before fingerprints.
#include "Application.h"
#include "BenchImportProfile.h"
#include "DryRun.h"
#include "Fingerprints.h"
#include "Query.h"
#include "ImportBatch.h"
#include "ProcessMemory.h"
#include "RunningProgram.h"
#include "ScaleData.h"
#include "TestDatabase.h"
#include "UDM.h"
#include "UEtiketten.h"
#include "UMain.h"
#include "UPreviewExt.h"
#include "UPruefling.h"
#include "UPruefung.h"
#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>
#include <ctime>
#include <algorithm>
#include <functional>

namespace {

const QDateTime kNow(QDate(2026, 12, 10), QTime(9, 30));

struct Cost {
    double wallMs = -1;
    double cpuMs = -1;
};

double processorMs()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

// Wall and processor time of the work and the events it left queued.
template <typename Work>
Cost timed(Work work)
{
    QElapsedTimer wall;
    const double cpu = processorMs();
    wall.start();
    work();
    QCoreApplication::processEvents();
    return {wall.nsecsElapsed() / 1e6, processorMs() - cpu};
}

// A modal window: the time from the command until it shows; then closed.
template <typename Window>
Cost untilShown(const std::function<void()> &command)
{
    Cost cost;
    QElapsedTimer wall;
    double cpu = 0;
    QTimer look;
    look.setInterval(1);
    QObject::connect(&look, &QTimer::timeout, [&] {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *window = qobject_cast<Window *>(w); window && window->isVisible() && cost.wallMs < 0) {
                cost = {wall.nsecsElapsed() / 1e6, processorMs() - cpu};
                look.stop();
                window->close();
            }
    });
    look.start();
    cpu = processorMs();
    wall.start();
    command();
    look.stop();
    if (cost.wallMs < 0)
        std::fprintf(stderr, "  the window did not show\n");
    return cost;
}

using P = TRunningProgram;
QAbstractItemView *deviceGrid() { return P::find<QAbstractItemView>(frmMain, "gridPrueflinge"); }
void clickDevice(int row) { P::clickRow(deviceGrid(), row); }

TImportProfile importProfile()
{
    return benchImportProfile({ImportField::Customer, ImportField::DeviceNumber, ImportField::Date, ImportField::Time,
                               ImportField::Value0, ImportField::Value1, ImportField::Visual, ImportField::Function,
                               ImportField::Verdict});
}

// 100 rows of yesterday over the visible customer's devices.
QByteArray importExport()
{
    QList<int> numbers;
    TQuery q(&frmDM->Database);
    q.setSql(QStringLiteral("SELECT NUMMER FROM PRUEFLINGE WHERE KUNDEN_ID = %1 ORDER BY NUMMER").arg(scale::kVisibleCustomer));
    for (q.execQuery(); !q.eof(); q.next())
        numbers << static_cast<int>(q.asInteger(0));
    q.close();
    QString text = QStringLiteral("Kunde;Nr;Datum;Zeit;RPE;RISO;Sicht;Funktion;Urteil\r\n");
    for (int i = 0; i < 100; ++i)
        text += QStringLiteral("%1;%2;09.12.2026;%3:%4;0,%5;19,99;i.O.;i.O.;bestanden\r\n")
                    .arg(scale::visibleCustomerName())
                    .arg(numbers.at(i % numbers.size()))
                    .arg(8 + i / 60, 2, 10, QChar(u'0'))
                    .arg(i % 60, 2, 10, QChar(u'0'))
                    .arg(5 + i % 20, 2, 10, QChar(u'0'));
    return text.toLatin1();
}

// The median by wall time of rounds of a quick step, each timing its own part.
Cost medianOf(int rounds, const std::function<Cost(int round)> &round)
{
    std::vector<Cost> costs;
    for (int i = 0; i < rounds; ++i)
        costs.push_back(round(i));
    std::sort(costs.begin(), costs.end(), [](const Cost &a, const Cost &b) { return a.wallMs < b.wallMs; });
    return costs.at(costs.size() / 2);
}

using Results = std::vector<std::pair<QString, Cost>>;

// The program over a copy of the file, in a home of its own; its start is
// timed from the moment the copy is in place until the main window shows.
struct StartClock {
    QElapsedTimer wall;
    double cpu = 0;
};
struct Session : TRunningProgram {
    Cost start;
    explicit Session(const QString &source, StartClock clock = {})
        : TRunningProgram(
              [&](TAppHome &home) {
                  if (!QFile::copy(source, home.dbPath))
                      qFatal("cannot copy %s", qPrintable(source));
                  QFile(home.dbPath).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
                  clock.cpu = processorMs();
                  clock.wall.start();
              },
              kNow)
    {
        frmMain->show();
        QCoreApplication::processEvents();
        start = {clock.wall.nsecsElapsed() / 1e6, processorMs() - clock.cpu};
    }
};

void newInspection()
{
    P::click(frmMain, "btnNeuePruefung");
    P::click(frmPruefung, "btnCopy");
}

void warnUnless(bool ok, const char *what)
{
    if (!ok)
        std::fprintf(stderr, "  step did not do what it should: %s\n", what);
}

const QString kVerify = QStringLiteral("Prüfen (Fingerabdrücke)");
const QString kBareRead = QStringLiteral("dieselben Zeilen nur lesen");

// The rows the verification reads, read and nothing more: its floor.
void readWhatVerifyReads(TDatabase &db)
{
    TQuery chain(&db);
    chain.setSql(QStringLiteral("SELECT NR, PRUEFUNG_ID, ART, VERSION, INHALT, WERT FROM FINGERABDRUECKE ORDER BY NR"));
    qsizetype characters = 0;
    for (chain.execQuery(); !chain.eof(); chain.next())
        characters += chain.asString(4).size();
    TInspectionBodies inspections(db);
    int rows = 0;
    while (inspections.next())
        ++rows;
    if (characters == 0 && rows > 0)
        std::fprintf(stderr, "  step did not do what it should: chain read\n");
}

Results everydaySteps(const QString &file, qint64 &verifyPeakKiB)
{
    Results r;
    Session s(file);
    r.push_back({QStringLiteral("Datei öffnen (Start)"), s.start});
    auto *customers = P::find<QComboBox>(frmMain, "cbKunden");
    r.push_back({QStringLiteral("Kunde wählen"), timed([&] {
                     const int index = customers->findData(scale::kVisibleCustomer);
                     customers->setCurrentIndex(index);
                     emit customers->activated(index);
                 })});
    warnUnless(deviceGrid()->model()->rowCount() == scale::kVisibleDevices, "50 devices listed");
    r.push_back({QStringLiteral("50 Prüflinge durchgehen"), timed([&] {
                     for (int row = 0; row < scale::kVisibleDevices; ++row) {
                         clickDevice(row);
                         QCoreApplication::processEvents();
                     }
                 })});
    const QString inspections = QStringLiteral("SELECT COUNT(*) FROM PRUEFUNGEN");
    clickDevice(0);
    r.push_back({QStringLiteral("Neue Prüfung öffnen"), timed([] { newInspection(); })});
    qint64 before = s.scalar(inspections);
    r.push_back({QStringLiteral("Prüfung speichern"), timed([] { P::click(frmPruefung, "btnSave"); })});
    warnUnless(!frmPruefung->isVisible() && s.scalar(inspections) == before + 1, "inspection saved");
    r.push_back({QStringLiteral("Prüfung speichern, Median aus 5"), medianOf(5, [](int i) {
                     clickDevice(4 + i);
                     newInspection();
                     return timed([] { P::click(frmPruefung, "btnSave"); });
                 })});

    clickDevice(1);
    before = s.scalar(inspections);
    r.push_back({QStringLiteral("Prüfung löschen"), timed([] { P::click(frmMain, "btnPruefungLoeschen"); })});
    warnUnless(s.scalar(inspections) == before - 1, "inspection deleted");

    clickDevice(2);
    const QString devices = QStringLiteral("SELECT COUNT(*) FROM PRUEFLINGE");
    before = s.scalar(devices);
    r.push_back({QStringLiteral("Prüfling mit 4 Prüfungen löschen"), timed([] { P::click(frmMain, "DBNavButton3"); })});
    warnUnless(s.scalar(devices) == before - 1, "device deleted");

    clickDevice(3);
    r.push_back({QStringLiteral("Prüfling öffnen"), timed([] { P::click(frmMain, "DBNavButton2"); })});
    r.push_back({QStringLiteral("Prüfling speichern"), timed([] { P::click(frmPruefling, "btnSave"); })});
    warnUnless(!frmPruefling->isVisible(), "device saved");

    r.push_back({QStringLiteral("Nächste Prüflingsnummer (Neuer Prüfling)"), timed([] { P::click(frmMain, "DBNavButton1"); })});
    warnUnless(frmPruefling->isVisible(), "device window for a new device");
    P::click(frmPruefling, "BitBtn1");

    // The window opens on every customer's due devices: what it shows grows
    // with the firm, not with its history. Its count goes to stderr.
    r.push_back({QStringLiteral("Fälligkeiten öffnen (alle Kunden)"), timed([] {
                     P::find<QAction>(frmMain, "Faelligkeiten1")->trigger();
                     QCoreApplication::processEvents();
                 })});
    std::fprintf(stderr, "  Fälligkeiten: %s\n", qPrintable(P::find<QLabel>("lblFaelligGesamt")->text()));
    r.push_back({QStringLiteral("Fälligkeiten, ein Kunde gewählt"), timed([] {
                     auto *customer = P::find<QComboBox>("cbFaelligKunde");
                     customer->setCurrentIndex(customer->findData(scale::kVisibleCustomer));
                 })});
    clickDevice(0);
    newInspection();
    r.push_back({QStringLiteral("Prüfung speichern, Fälligkeiten offen"), timed([] { P::click(frmPruefung, "btnSave"); })});
    P::find<QComboBox>("cbFaelligKunde")->window()->close();
    QCoreApplication::processEvents();

    clickDevice(0);
    r.push_back({QStringLiteral("Bericht erzeugen (1 Protokoll)"),
                 untilShown<TPreviewExt>([] { P::click(frmMain, "btnBerichtErzeugen"); })});
    r.push_back({QStringLiteral("Etiketten-Fenster (Kunde)"),
                 untilShown<TfrmEtiketten>([] { P::find<QAction>(frmMain, "Etiketten1")->trigger(); })});

    const QByteArray bytes = importExport();
    const TImportProfile profile = importProfile();
    TDryRun run;
    r.push_back({QStringLiteral("Import-Probelauf (100 Zeilen)"), timed([&] {
                     run = dryRunImport(frmDM->Database, profile, QStringLiteral("bench.csv"), bytes,
                                        {11, 11});
                 })});
    warnUnless(run.readyCount() == 100, qPrintable(run.countsText()));
    before = s.scalar(inspections);
    r.push_back({QStringLiteral("Import (100 Zeilen)"), timed([&] { importDryRun(frmDM->Database, run); })});
    warnUnless(s.scalar(inspections) == before + 100, "100 rows imported");

    readWhatVerifyReads(frmDM->Database); // both timed below on the same warm cache
    resetPeak();
    s.dialogs.clear();
    r.push_back({kVerify, timed([] { P::find<QAction>(frmMain, "Pruefen1")->trigger(); })});
    verifyPeakKiB = procStatusKiB("VmHWM");
    std::fprintf(stderr, "  Prüfen says: %s\n", qPrintable(s.dialogs.messages().value(0).section(u'\n', 0, 1)));
    r.push_back({kBareRead, timed([] { readWhatVerifyReads(frmDM->Database); })});
    return r;
}

double costOf(const Results &r, const QString &step)
{
    for (const auto &[name, cost] : r)
        if (name == step)
            return cost.wallMs;
    return 0.0;
}

QString milliseconds(const Cost &c) { return QStringLiteral("%1 ms (CPU %2)").arg(c.wallMs, 0, 'f', 0).arg(c.cpuMs, 0, 'f', 0); }

void printTable(const Results &small, const Results &large)
{
    std::printf("| Step | SMALL | LARGE | ratio |\n|---|---|---|---|\n");
    for (size_t i = 0; i < small.size() && i < large.size(); ++i) {
        const double ratio = large[i].second.wallMs / std::max(0.5, small[i].second.wallMs);
        std::printf("| %s | %s | %s | %s%.2f%s |\n", qPrintable(small[i].first), qPrintable(milliseconds(small[i].second)),
                    qPrintable(milliseconds(large[i].second)), ratio > 1.2 ? "**" : "", ratio, ratio > 1.2 ? "**" : "");
    }
}

Cost firstStart(const QString &file, QString &outcome)
{
    Session s(file);
    const Cost cost = s.start;
    outcome = QStringLiteral("%1 fingerprints, %2 inspections")
                  .arg(s.scalar(QStringLiteral("SELECT COUNT(*) FROM FINGERABDRUECKE")))
                  .arg(s.scalar(QStringLiteral("SELECT COUNT(*) FROM PRUEFUNGEN")));
    return cost;
}

} // namespace

// The offscreen platform's notes about window hints say nothing here.
QtMessageHandler previousHandler = nullptr;
void quietPlatformNotes(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (!message.startsWith(QStringLiteral("This plugin does not support")))
        previousHandler(type, context, message);
}

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The user's own cache, not the isolated test home.
    const QString defaultCache = scale::cacheFolder({});
    previousHandler = qInstallMessageHandler(quietPlatformNotes);
    TApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    QCommandLineOption cacheOpt("cache", "Folder of the generated files (default $XDG_CACHE_HOME/velmora-bench).", "folder");
    QCommandLineOption onlyOpt("only", "small or large: one size only, no table.", "size");
    QCommandLineOption noFirstStartOpt("no-first-start", "Skip the first start of the large file from before fingerprints.");
    QCommandLineOption generateOpt("generate", "Generate the files and stop.");
    parser.addOptions({cacheOpt, onlyOpt, noFirstStartOpt, generateOpt});
    parser.process(app);
    prepareTestEnvironment();
    TClock::setFixedNow(kNow);
    const QString cache = parser.isSet(cacheOpt) ? scale::cacheFolder(parser.value(cacheOpt)) : defaultCache;
    const QString only = parser.value(onlyOpt);

    QString smallFile, largeFile;
    if (only != QStringLiteral("large"))
        smallFile = scale::ensureCurrent(cache, scale::kSmall);
    if (only != QStringLiteral("small"))
        largeFile = scale::ensureCurrent(cache, scale::kLarge);
    if (parser.isSet(generateOpt))
        return 0;

    Results small, large;
    qint64 smallPeak = -1, largePeak = -1;
    if (!smallFile.isEmpty()) { // the first run pays for loading fonts, pictures, plugins
        std::fprintf(stderr, "warm-up on SMALL\n");
        everydaySteps(smallFile, smallPeak);
    }
    if (!smallFile.isEmpty()) {
        std::fprintf(stderr, "SMALL\n");
        small = everydaySteps(smallFile, smallPeak);
    }
    if (!largeFile.isEmpty()) {
        std::fprintf(stderr, "LARGE\n");
        large = everydaySteps(largeFile, largePeak);
    }
    if (small.empty() || large.empty()) {
        for (const auto &[step, cost] : small.empty() ? large : small)
            std::printf("%s %s\n", qPrintable(step.leftJustified(45)), qPrintable(milliseconds(cost)));
    } else {
        printTable(small, large);
        std::printf("\npeak RSS (VmHWM) during Prüfen: SMALL %s, LARGE %s\n", qPrintable(mib(smallPeak)), qPrintable(mib(largePeak)));
        std::printf("Prüfen against reading the same rows: SMALL %.2f, LARGE %.2f\n", costOf(small, kVerify) / costOf(small, kBareRead),
                    costOf(large, kVerify) / costOf(large, kBareRead));
        const auto save = [](const Results &r) { return costOf(r, QStringLiteral("Prüfung speichern, Median aus 5")); };
        std::printf("a save at %d inspections: %.0f ms, %+.0f ms against the small file (medians of 5)\n",
                    scale::kLarge.inspections, save(large), save(large) - save(small));
    }
    if (!parser.isSet(noFirstStartOpt) && only != QStringLiteral("small")) {
        QString outcome;
        const Cost cost = firstStart(scale::ensureBeforeFingerprints(cache, scale::kLarge), outcome);
        std::printf("first start of the LARGE file from before fingerprints: %s; then %s\n", qPrintable(milliseconds(cost)),
                    qPrintable(outcome));
    }
    return 0;
}
