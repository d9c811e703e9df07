// SIGTERM and SIGINT end the program the normal way: an edit in progress is
// cancelled, the settings are written and the connection closes cleanly.
#include "AppHome.h"
#include "AppTestMain.h"
#include "FileScalar.h"
#include "QuitOnSignal.h"
#include "RunningProgram.h"
#include "UMain.h"
#include "UPruefung.h"
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QtTest>
#include <csignal>

namespace {

// Whether the process has the file open.
bool holds(qint64 pid, const QString &path)
{
    const QDir fds(QStringLiteral("/proc/%1/fd").arg(pid));
    for (const QFileInfo &fd : fds.entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot))
        if (fd.symLinkTarget() == path)
            return true;
    return false;
}

} // namespace


class TestSignals : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { prepareTestEnvironment(); }

    void signalCancelsEditAndCloses_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGINT") << int(SIGINT);
    }
    void signalCancelsEditAndCloses()
    {
        QFETCH(int, signal);
        // In the program's order: the handler stands before the first attach.
        const TQuitOnSignal quitOnSignal(endProgramWithoutQuestions);
        TRunningProgram p;
        frmMain->show();
        p.click("btnPruefungBearbeiten");
        QVERIFY(frmPruefung->isVisible());
        QWidget *remark = p.find(frmPruefung, "memoBemerkung");
        remark->setFocus();
        QTest::keyClicks(remark, "halb getippt");
        ::raise(signal);
        QTRY_VERIFY(!frmMain->isVisible());
        QVERIFY(!frmPruefung->isVisible());
        QVERIFY(!frmDM->dsetPruefungen.editing());
        QCOMPARE(p.dialogs.messages(), QStringList()); // nobody was asked
        // The engine did not shut the connection down behind the program.
        QVERIFY(frmDM->Database.connected());
        frmDM->dsetKunden.refresh();
        QCOMPARE(frmDM->dsetKunden.recordCount(), 1);
        p.program.destroy();
        QCOMPARE(TAppHome::setting("KundeID").toString(), QStringLiteral("101"));
        QCOMPARE(fileScalar(p.home.dbPath, "SELECT COUNT(*) FROM PRUEFUNGEN WHERE BEMERKUNG IS NOT NULL"), qint64(0));
    }

    // The program itself, ended by SIGTERM as a logout ends it.
    void programEndsNormallyOnSigterm()
    {
        TAppHome home;
        home.createDatabase();
        QProcess velmora;
        velmora.setProgram(QStringLiteral(VELMORA_PROGRAM));
        velmora.start();
        QVERIFY(velmora.waitForStarted());
        QTRY_VERIFY2_WITH_TIMEOUT(holds(velmora.processId(), home.dbPath), qPrintable(velmora.readAllStandardError()), 60000);
        ::kill(static_cast<pid_t>(velmora.processId()), SIGTERM);
        QVERIFY(velmora.waitForFinished(60000));
        QCOMPARE(velmora.exitStatus(), QProcess::NormalExit);
        QCOMPARE(velmora.exitCode(), 0);
        QCOMPARE(TAppHome::setting("KundeID").toString(), QStringLiteral("101")); // settings written on the way out
        QCOMPARE(fileScalar(home.dbPath, "SELECT COUNT(*) FROM KUNDEN"), qint64(1));
    }
};

VELMORA_APP_TEST_MAIN(TestSignals)
#include "tst_signals.moc"
