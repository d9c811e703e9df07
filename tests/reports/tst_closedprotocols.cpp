// Closed protocols as a user meets them: the protocol saved as PDF from the
// report window carries the fingerprint; afterwards the inspection cannot be
// deleted, a change asks for its reason, and Datenbank → Prüfen tells what a
// database tool changed.
#include "AppTestMain.h"
#include "ClosedInspections.h"
#include "FindingsWindow.h"
#include "Fingerprints.h"
#include "QrDecode.h"
#include "ReportWorld.h"
#include "RunningProgram.h"
#include "UMain.h"
#include "UPreviewExt.h"
#include "UPruefung.h"
#include <QClipboard>
#include <QPushButton>
#include <QScreen>
#include <QTableView>

namespace {

// The demo customer's printer with its two inspections; the newest, 10002,
// is the current one.
struct Running : TRunningProgram {
    Running() : TRunningProgram(QStringList{}, QDateTime(QDate(2026, 12, 10), QTime(9, 30))) {}
    QString pdf;
    QString savedProtocol()
    {
        const auto window = TPreviewExt::create(0, frmMain);
        pdf = home.dir.filePath(QStringLiteral("Prüf ordner/protokoll.pdf"));
        dialogs.paths.enqueue(pdf);
        window->btnSavePDFClick();
        return pdfText(pdf);
    }
    void deleteCurrentInspection()
    {
        auto *grid = find<QTableView>(frmMain, "gridPruefungen");
        grid->setFocus();
        dialogs.answers.enqueue(IDialogs::Answer::Ok);
        QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
    }
    // What Datenbank → Prüfen shows: a message when all is sound, else the
    // findings window (closed again here).
    QString checked()
    {
        find<QAction>(frmMain, "Pruefen1")->trigger();
        auto *window = frmMain->findChild<FindingsWindow *>();
        if (!window)
            return dialogs.shown.last().text;
        const QString text = window->text();
        window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return text;
    }
};

} // namespace

class TestClosedProtocols : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { prepareTestEnvironment(); }

    void savedProtocolClosesTheInspection()
    {
        Running r;
        QCOMPARE(frmDM->dsetPruefungen.fieldByName("ID")->asInteger(), qint64(10002));
        const QString fingerprint = latestFingerprint(frmDM->Database, 10002)->value;
        const QString text = r.savedProtocol();
        QVERIFY2(text.contains("SHA-256 " + fingerprint), qPrintable(text));
        QVERIFY(text.contains("Fingerabdruck " + shortFingerprint(fingerprint) + " · Version 1"));
        QVERIFY(!text.contains("Korrigiert am"));
        // The code beside it holds the key and the whole fingerprint.
        const QList<QImage> pages = pdfPageImages(r.pdf, 300);
        QCOMPARE(pages.size(), 1);
        const QList<TDecodedQr> codes = decodeQrCodes(pages.first());
        QCOMPARE(codes.size(), 1);
        QCOMPARE(codes.first().text, "VPF1;P10002;H" + fingerprint);
        QVERIFY(isInspectionClosed(frmDM->Database, 10002));
        QVERIFY(!isInspectionClosed(frmDM->Database, 10001));

        // Deleting it is refused, by key and by button; the list keeps it.
        r.deleteCurrentInspection();
        QVERIFY2(r.dialogs.messages().last().startsWith("Diese Prüfung ist abgeschlossen"), qPrintable(r.dialogs.messages().join('|')));
        r.dialogs.answers.enqueue(IDialogs::Answer::Ok);
        r.click(frmMain, "btnPruefungLoeschen");
        QVERIFY(r.dialogs.messages().last().startsWith("Diese Prüfung ist abgeschlossen"));
        QCOMPARE(frmDM->dsetPruefungen.recordCount(), 2);
        QCOMPARE(r.scalar("SELECT COUNT(*) FROM PRUEFUNGEN"), 2);

        // The older one was never reported: it goes as before.
        r.clickRow(r.find<QTableView>(frmMain, "gridPruefungen"), 1);
        QCOMPARE(frmDM->dsetPruefungen.fieldByName("ID")->asInteger(), qint64(10001));
        r.deleteCurrentInspection();
        QCOMPARE(r.scalar("SELECT COUNT(*) FROM PRUEFUNGEN"), 1);
        QVERIFY2(r.checked().startsWith("Die Prüfung stimmt mit ihrem Fingerabdruck überein"), qPrintable(r.dialogs.shown.last().text));
    }

    void correctionThroughTheInspectionWindow()
    {
        Running r;
        r.savedProtocol();
        r.click(frmMain, "btnPruefungBearbeiten");
        QVERIFY(frmPruefung->isVisible());
        r.type(r.find<QLineEdit>(frmPruefung, "editSchutzleitwiderstand"), "0,09");
        r.click(frmPruefung, "btnSave"); // no reason given: the window stays open
        QCOMPARE(r.dialogs.shown.last().caption, QStringLiteral("Grund der Korrektur"));
        QVERIFY(frmPruefung->isVisible());
        QCOMPARE(r.scalar("SELECT COUNT(*) FROM PRUEFUNGEN_VERSIONEN"), 0);
        r.dialogs.texts.enqueue(QStringLiteral("Messgerät falsch abgelesen"));
        r.click(frmPruefung, "btnSave");
        QVERIFY(!frmPruefung->isVisible());
        QCOMPARE(r.scalar("SELECT COUNT(*) FROM PRUEFUNGEN_VERSIONEN WHERE PRUEFUNG_ID = 10002"), 1);
        QCOMPARE(r.text("SELECT SCHUTZLEITWIDERSTAND FROM PRUEFUNGEN WHERE ID = 10002"), QStringLiteral("0.09"));

        const QString text = r.savedProtocol();
        QVERIFY2(text.contains("Korrigiert am 10.12.2026 09:30 Grund: Messgerät falsch abgelesen (Version 2)"), qPrintable(text));
        QVERIFY(r.checked().startsWith("Alle 2 Prüfungen stimmen"));
        QVERIFY(r.dialogs.shown.last().text.contains("1 Prüfung wurde nach ihrem Protokoll korrigiert"));
    }

    void checkFindsWhatADatabaseToolChanged()
    {
        Running r;
        TQuery q(&frmDM->Database);
        q.setSql("UPDATE PRUEFUNGEN SET ISOLATIONSPRUEFUNG = 25 WHERE ID = 10001");
        q.execQuery();
        frmDM->Transaction.commitRetaining();
        const QString shown = r.checked();
        QVERIFY2(shown.startsWith("Bei der Prüfung der Fingerabdrücke wurde 1 Abweichung gefunden:"), qPrintable(shown));
        QVERIFY(shown.contains("Prüfung 10001: die gespeicherten Daten passen nicht mehr zu ihrem Fingerabdruck"));
    }

    // Thousands of findings scroll in a window that fits the screen, and go
    // to the clipboard or into a file whole.
    void manyFindingsScrollAndCanBeKept()
    {
        Running r;
        TQuery q(&frmDM->Database);
        // Inserted past the program, as a database tool would.
        q.setSql("INSERT INTO PRUEFUNGEN (ID, PRUEFDATUM, NEXT_PRUEFDATUM, PRUEFER_ID, PRUEFGERAETE_ID, PRUEFLINGE_ID) "
                 "SELECT :ID, PRUEFDATUM, NEXT_PRUEFDATUM, PRUEFER_ID, PRUEFGERAETE_ID, PRUEFLINGE_ID FROM PRUEFUNGEN WHERE ID = 10001");
        for (int i = 0; i < 3000; ++i) {
            q.paramByName("ID").setAsInteger(50000 + i);
            q.execQuery();
        }
        frmDM->Transaction.commitRetaining();
        r.find<QAction>(frmMain, "Pruefen1")->trigger();
        auto *window = frmMain->findChild<FindingsWindow *>();
        QVERIFY(window);
        QVERIFY(window->isVisible());
        QCOMPARE(window->windowTitle(), QStringLiteral("Prüfen"));
        QVERIFY2(window->text().startsWith("Bei der Prüfung der Fingerabdrücke wurden 3000 Abweichungen gefunden:"),
                 qPrintable(window->text().left(200)));
        QVERIFY(window->text().count(u'\n') >= 3000); // a line for each
        QVERIFY(window->screen()->availableGeometry().contains(window->frameGeometry()));
        r.click(r.find<QPushButton>(window, "btnKopieren"));
        QCOMPARE(QApplication::clipboard()->text(), window->text());
        const QString saved = r.home.dir.filePath("Prüf ordner/Befunde.txt");
        r.dialogs.paths.enqueue(saved);
        r.click(r.find<QPushButton>(window, "btnSpeichern"));
        QFile file(saved);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(file.readAll()), window->text() + u'\n');
        r.click(r.find<QPushButton>(window, "btnSchliessen"));
        QVERIFY(!window->isVisible());
    }
};

VELMORA_APP_TEST_MAIN(TestClosedProtocols)
#include "tst_closedprotocols.moc"
