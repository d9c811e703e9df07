#include "AppTestMain.h"
#include "DbError.h"
#include "Outputs.h"
#include "Preview.h"
#include "RunningProgram.h"
#include "DateField.h"
#include "UMain.h"
#include "UPreviewExt.h"
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QtTest>

namespace {

// The demo database plus a customer "Ärzte GmbH" (first in German order)
// with devices inspected on two days.
QStringList customerWithTwoDays()
{
    QStringList changes = {"INSERT INTO KUNDEN (ID, NAME) VALUES (102, 'Ärzte GmbH')",
                           "INSERT INTO PRUEFLINGE (ID, BEZEICHNUNG, NUMMER, PRUEFINTERVAL, KUNDEN_ID) VALUES (1100, 'Sauger', 1, 12, 102)",
                           "INSERT INTO PRUEFLINGE (ID, BEZEICHNUNG, NUMMER, PRUEFINTERVAL, KUNDEN_ID, AKTIV) VALUES (1101, 'Lampe', 2, 12, 102, 0)"};
    for (int i = 0; i < 12; ++i)
        changes << QStringLiteral("INSERT INTO PRUEFUNGEN (ID, PRUEFDATUM, NEXT_PRUEFDATUM, PRUEFER_ID, PRUEFGERAETE_ID, PRUEFLINGE_ID, "
                                  "SICHTPRUEFUNG_BESTANDEN, FUNKTIONSPRUEFUNG_BESTANDEN) VALUES (%1, '2024-01-%2 10:00', '2025-01-10', "
                                  "11, 11, %3, 1, %4)")
                       .arg(20000 + i)
                       .arg(i < 10 ? 10 : 5)
                       .arg(i % 2 ? 1101 : 1100)
                       .arg(i == 0 ? 0 : 1);
    return changes;
}

struct Running : TRunningProgram {
    Running() : TRunningProgram(customerWithTwoDays(), QDateTime(QDate(2024, 1, 31), QTime(9, 0))) {}
};

QString pdfText(const QString &path)
{
    QProcess p;
    p.start("pdftotext", {"-layout", path, "-"});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

class TestReports : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { prepareTestEnvironment(); }

    void projectFile()
    {
        TReportProject project;
        try {
            project.open("/nirgends/velmora.rav");
            QFAIL("a missing project opened");
        } catch (const EDatabaseError &e) {
            QCOMPARE(e.message(), QStringLiteral("Die Berichtsdatei /nirgends/velmora.rav gibt es nicht. Sie gehört neben das Programm."));
        }
        project.open(QCoreApplication::applicationDirPath() + "/velmora.rav");
        QVERIFY(project.selectReport("Inventarliste"));
        QVERIFY(!project.selectReport("Unbekannt"));
        QCOMPARE(project.selected()->name, QStringLiteral("Inventarliste")); // kept
        QCOMPARE(project.selected()->orientation, QPageLayout::Landscape);
    }

    void selectionWindow()
    {
        Running r;
        const auto window = TPreviewExt::create(1, frmMain);
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), QStringLiteral("Velmora Prüfprotokolle"));
        QCOMPARE(r.find<QComboBox>(window.get(), "cbKunden")->currentText(), QStringLiteral("Ärzte GmbH"));
        QCOMPARE(r.find<QListWidget>(window.get(), "lbPruefungen")->count(), 2);
        QCOMPARE(r.find<QListWidget>(window.get(), "lbPruefungen")->currentItem()->text(), QStringLiteral("10.01.2024"));
        // Ten inspections of the newest day, a protocol of one page each.
        QCOMPARE(frmDM->dsetReportPruefungen.recordCount(), 10);
        QCOMPARE(window->preview()->pageCount(), 10);
        QCOMPARE(r.find<QLabel>(window.get(), "Label2")->text(), QStringLiteral("Seite 1 von 10"));
        QCOMPARE(window->InputStream().texts.count("Seite 1 von 1"), 10);
        QVERIFY(window->InputStream().texts.contains("Bericht-Nr. 1-20000"));
        r.find<QAbstractButton>(window.get(), "btnNext")->click();
        QCOMPARE(r.find<QLabel>(window.get(), "Label2")->text(), QStringLiteral("Seite 2 von 10"));
        r.find<QAbstractButton>(window.get(), "btnLast")->click();
        r.find<QAbstractButton>(window.get(), "btnNext")->click(); // nothing after the last page
        QCOMPARE(window->preview()->currentPage(), 10);

        window->rbAuswahlClick(2); // failed inspections only
        QCOMPARE(frmDM->dsetReportPruefungen.recordCount(), 1);
        window->rbAuswahlPrueflingeClick(110);
        window->rbAuswahlClick(0);
        QCOMPARE(frmDM->dsetReportPruefungen.recordCount(), 5); // all of the active device

        r.find<QAbstractButton>(window.get(), "rbInventar")->setChecked(true);
        window->rbAuswahlClick(3);
        QVERIFY(!r.find<QListWidget>(window.get(), "lbPruefungen")->isVisibleTo(window.get()));
        QVERIFY(r.find(window.get(), "chkNextDatum")->isVisibleTo(window.get()));
        QCOMPARE(r.find<DateField>(window.get(), "dtPicker")->date(), QDate(2024, 2, 29));
        QCOMPARE(window->InputStream().orientation, QPageLayout::Landscape);
        QVERIFY(window->InputStream().texts.contains("Inventarliste"));
        QVERIFY(window->InputStream().texts.contains("Sauger"));
        QVERIFY(!window->InputStream().texts.contains("Lampe")); // inactive, filtered out
    }

    void previewPaintsThePage()
    {
        Running r;
        const auto window = TPreviewExt::create(1, frmMain);
        const QImage shown = window->preview()->grab().toImage();
        int ink = 0; // dark pixels inside the sheet, away from its shadow
        for (int y = shown.height() / 20; y < shown.height() * 9 / 10; ++y)
            for (int x = shown.width() / 20; x < shown.width() * 9 / 10; ++x)
                ink += qGray(shown.pixel(x, y)) < 100 ? 1 : 0;
        QVERIFY2(ink > 2000, qPrintable(QString::number(ink)));
    }

    void zoom()
    {
        TPreview preview;
        for (int i = 0; i < 9; ++i)
            preview.zoomOut();
        QCOMPARE(preview.zoom(), 10);
        preview.zoomOut();
        QCOMPARE(preview.zoom(), 10);
        preview.zoomIn();
        QCOMPARE(preview.zoom(), 20);
    }

    void singleInspectionAndPdf()
    {
        Running r;
        frmDM->dsetReportPruefungen.tag = 2; // left over from an earlier window
        r.find<QComboBox>(frmMain, "cbKunden")->setCurrentIndex(1); // Demo-Kunde: the Drucker and its latest inspection, 10002
        frmMain->showPrueflinge();
        QCOMPARE(frmDM->dsetPruefungen.fieldByName("ID")->asInteger(), qint64(10002));
        const auto window = TPreviewExt::create(0, frmMain);
        QVERIFY(window);
        QVERIFY(!r.find(window.get(), "panelLeft")->isVisibleTo(window.get()));
        QCOMPARE(frmDM->dsetReportPruefungen.recordCount(), 1); // the filters were reset
        QVERIFY(window->InputStream().texts.contains("Bericht-Nr. 85-10002"));
        QVERIFY(window->InputStream().texts.contains("Die Prüfung wurde bestanden"));
        const QString pdf = r.home.dir.filePath("bericht.pdf");
        r.dialogs.paths.enqueue(pdf);
        window->btnSavePDFClick();
        QCOMPARE(r.dialogs.shown.last().caption, QStringLiteral("Sichern als PDF-Dokument"));
        const QString text = pdfText(pdf);
        QVERIFY2(text.contains("Prüfprotokoll"), qPrintable(text));
        QVERIFY(text.contains("85-10002"));
        QVERIFY(text.contains("Demo-Auftragnehmer..."));
        window->btnPrintClick(); // cancelled in the print dialog: nothing happens
        QCOMPARE(r.dialogs.shown.last().kind, QStringLiteral("print"));
        QCOMPARE(r.dialogs.shown.last().text, QStringLiteral("1-1"));
    }
};

VELMORA_APP_TEST_MAIN(TestReports)
#include "tst_reports.moc"
