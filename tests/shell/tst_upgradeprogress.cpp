// The first start on a firm's file from before fingerprints: the upgrade runs
// off the window's thread while a progress window tells how far it is, the
// program then works on the upgraded file, and "Abbrechen" leaves a file
// that the next start completes.
#include "BackgroundUpgrade.h"
#include "Migration.h"
#include "ProgressWatch.h"
#include "RunningProgram.h"
#include "SchemaVersion.h"
#include "StoredInspections.h"
#include "ToolRun.h"
#include "UMain.h"
#include <QComboBox>
#include <QLabel>
#include <QSemaphore>
#include <QStatusBar>
#include <QTimer>
#include <QtTest>
#include <atomic>
#include <optional>

namespace {

// The step that fingerprints the inspections stored before fingerprints.
constexpr int kFingerprintingStep = 6;
constexpr int kStored = 2500;

// Holds the upgrade's worker after its first committed chunk until the
// window's thread lets it go, so that the test sees the window mid-way.
struct HeldUpgrade {
    QSemaphore go;
    std::atomic<bool> held = false;
    HeldUpgrade()
    {
        afterPartialCommit = [this](const Migration &m, int) {
            if (m.version == kFingerprintingStep && !held.exchange(true))
                go.tryAcquire(1, 120000); // never hangs the run for good
        };
    }
    ~HeldUpgrade() { afterPartialCommit = nullptr; }
};

// The demo file as an earlier program left it, with kStored more inspections.
qint64 prepareOldFile(TAppHome &home)
{
    home.createDatabase();
    TDatabase db;
    TTransaction t(&db);
    db.params = connectionParams();
    db.setDatabaseName(home.dbPath);
    db.open();
    addStoredInspections(db, kStored);
    TQuery count(&db);
    count.setSql("SELECT COUNT(*) FROM PRUEFUNGEN");
    count.execQuery();
    const qint64 inspections = count.asInteger(0);
    count.close();
    t.commit();
    return inspections;
}

QString expectedText(qint64 inspections)
{
    return QStringLiteral("Datenbank wird aktualisiert: 1.000 von %1 Prüfungen").arg(QLocale(QLocale::German, QLocale::Germany).toString(inspections));
}

} // namespace

class TestUpgradeProgress : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { prepareTestEnvironment(); }

    void upgradeShowsProgressAndProgramWorksAfterwards()
    {
        HeldUpgrade held;
        ProgressWatch watch([&held](QWidget *) { held.go.release(); });
        qint64 inspections = 0;
        TRunningProgram p([&](TAppHome &home) { inspections = prepareOldFile(home); });
        watch.timer.stop();
        QCOMPARE(watch.seen, expectedText(inspections));
        QVERIFY(p.dialogs.messages().isEmpty());
        QCOMPARE(frmMain->statusPanel(0)->text(), QStringLiteral("Datenbank Verbunden"));
        QCOMPARE(storedSchemaVersion(frmDM->Database), latestSchemaVersion());
        QCOMPARE(p.scalar("SELECT COUNT(DISTINCT PRUEFUNG_ID) FROM FINGERABDRUECKE WHERE ART <> 'identitaet'"), inspections);
        QVERIFY(TRunningProgram::find<QComboBox>(frmMain, "cbKunden")->count() > 0);
    }

    void cancelledUpgradeIsCompletedAtNextStart()
    {
        QTemporaryDir kept;
        const QString file = kept.filePath("VELMORA.FDB");
        qint64 inspections = 0;
        {
            HeldUpgrade held;
            ProgressWatch watch([&held](QWidget *window) {
                TRunningProgram::click(window, "btnAbbrechen");
                held.go.release();
            });
            TRunningProgram p([&](TAppHome &home) { inspections = prepareOldFile(home); });
            watch.timer.stop();
            QCOMPARE(watch.seen, expectedText(inspections));
            QCOMPARE(p.dialogs.messages(), QStringList{kUpgradeCancelled});
            QCOMPARE(frmMain->statusPanel(0)->text(), QStringLiteral("Datenbank nicht verbunden"));
            QVERIFY(!frmDM->Database.connected());
            p.program.destroy();
            QVERIFY(QFile::copy(p.home.dbPath, file));
        }
        {
            TRunningProgram next([&](TAppHome &home) {
                QFile::remove(home.dbPath);
                QVERIFY(QFile::copy(file, home.dbPath));
            });
            QVERIFY2(next.dialogs.messages().isEmpty(), qPrintable(next.dialogs.messages().join('\n')));
            QCOMPARE(storedSchemaVersion(frmDM->Database), latestSchemaVersion());
            QCOMPARE(next.scalar("SELECT COUNT(DISTINCT PRUEFUNG_ID) FROM FINGERABDRUECKE WHERE ART <> 'identitaet'"), inspections);
            next.program.destroy();
            QFile::remove(file);
            QVERIFY(QFile::copy(next.home.dbPath, file));
        }
        const TToolRun verify = velmoraDb({"verify", file, "--quiet"});
        QVERIFY2(verify.exitCode == 0, qPrintable(verify.out + verify.err));
        QVERIFY2(!verify.err.contains("Fingerabdrücke werden geprüft"), qPrintable(verify.err)); // --quiet
    }
};

QTEST_MAIN(TestUpgradeProgress)
#include "tst_upgradeprogress.moc"
