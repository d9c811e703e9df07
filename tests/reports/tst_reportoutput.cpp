// Where report pages go: the printer the print dialog configured (here one
// that prints to a PDF file), PDF files that archive and search well, the
// status window while pages are made, and the contractor's logo.
#include "AppTestMain.h"
#include "DBNavButton.h"
#include "Outputs.h"
#include "Preview.h"
#include "Query.h"
#include "ReportWorld.h"
#include "UDM.h"
#include "UDlgAuftragnehmer.h"
#include "LogoChooser.h"
#include "UMain.h"
#include "UPreviewExt.h"
#include "UStatus.h"
#include <QTimer>
#include <QImage>
#include <QLabel>
#include <QPageRanges>
#include <QPrinter>
#include <QtTest>

namespace {

// "2-30001 1/3": report number and page within the protocol.
QString identity(const QString &text)
{
    const auto number = QRegularExpression("Bericht-Nr\\.\\s+(\\S+)").match(text);
    const auto page = QRegularExpression("Seite (\\d+) von (\\d+)").match(text);
    return number.captured(1) + u' ' + page.captured(1) + u'/' + page.captured(2);
}

QString identityOfStreamPage(const TPageStream &s, int page)
{
    QStringList texts;
    for (const TTextBox &b : s.boxes)
        if (b.page == page)
            texts << b.text;
    return identity(texts.join(u'\n'));
}

// Counts paints of a label and keeps the texts it showed.
struct PaintWatch : QObject {
    QStringList painted;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted << static_cast<QLabel *>(watched)->text();
        return false;
    }
};

} // namespace

class TestReportOutput : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { prepareTestEnvironment(); }

    void sequence_data()
    {
        QTest::addColumn<QString>("ranges");
        QTest::addColumn<int>("copies");
        QTest::addColumn<bool>("collate");
        QTest::addColumn<bool>("reverse");
        QTest::addColumn<QList<int>>("expected");
        QTest::newRow("all") << "" << 1 << false << false << QList<int>{1, 2, 3, 4, 5};
        QTest::newRow("1,5") << "1,5" << 1 << false << false << QList<int>{1, 5};
        QTest::newRow("2-3 twice collated") << "2-3" << 2 << true << false << QList<int>{2, 3, 2, 3};
        QTest::newRow("2-3 twice uncollated") << "2-3" << 2 << false << false << QList<int>{2, 2, 3, 3};
        QTest::newRow("reversed") << "1-3" << 1 << false << true << QList<int>{3, 2, 1};
        QTest::newRow("beyond the last page") << "4-9" << 1 << false << false << QList<int>{4, 5};
    }
    void sequence()
    {
        QFETCH(QString, ranges);
        QFETCH(int, copies);
        QFETCH(bool, collate);
        QFETCH(bool, reverse);
        QFETCH(QList<int>, expected);
        QCOMPARE(printSequence(5, QPageRanges::fromString(ranges), copies, collate, reverse), expected);
    }

    // Printing through the printer the dialog configured: here "Print to
    // File (PDF)", as on a machine without printers.
    void printToFile_data()
    {
        QTest::addColumn<QString>("ranges");
        QTest::addColumn<int>("copies");
        QTest::addColumn<bool>("collate");
        QTest::addColumn<bool>("reverse");
        QTest::addColumn<QList<int>>("pages"); // of the preview, in print order
        QTest::newRow("1,4") << "1,4" << 1 << false << false << QList<int>{1, 4};
        QTest::newRow("2-3, two collated copies") << "2-3" << 2 << true << false << QList<int>{2, 3, 2, 3};
        QTest::newRow("2-3, two copies not collated") << "2-3" << 2 << false << false << QList<int>{2, 2, 3, 3};
        QTest::newRow("all, last page first") << "" << 1 << false << true << QList<int>{4, 3, 2, 1};
    }
    void printToFile()
    {
        QFETCH(QString, ranges);
        QFETCH(int, copies);
        QFETCH(bool, collate);
        QFETCH(bool, reverse);
        QFETCH(QList<int>, pages);
        TReportWorld world;
        const auto window = TPreviewExt::create(1, frmMain);
        const TPageStream &s = window->InputStream();
        QCOMPARE(s.pages.size(), 4);
        const QString pdf = world.file("Druck.pdf");
        world.dialogs.printChoices.enqueue([&](QPrinter &printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            printer.setPrintRange(ranges.isEmpty() ? QPrinter::AllPages : QPrinter::PageRange);
            printer.setPageRanges(QPageRanges::fromString(ranges));
            printer.setCopyCount(copies);
            printer.setCollateCopies(collate);
            printer.setPageOrder(reverse ? QPrinter::LastPageFirst : QPrinter::FirstPageFirst);
            printer.setDuplex(QPrinter::DuplexLongSide);
        });
        window->btnPrintClick();
        QCOMPARE(world.dialogs.shown.last().text, QStringLiteral("1-4"));
        QCOMPARE(pdfPages(pdf), pages.size());
        for (int i = 0; i < pages.size(); ++i)
            QVERIFY2(identity(pdfText(pdf, i + 1)) == identityOfStreamPage(s, pages.at(i)), qPrintable(pdfText(pdf, i + 1)));
    }

    void printerPaperStays()
    {
        TReportWorld world;
        const auto window = TPreviewExt::create(1, frmMain);
        const QString pdf = world.file("Letter.pdf");
        world.dialogs.printChoices.enqueue([&](QPrinter &printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            printer.setPageSize(QPageSize(QPageSize::Letter));
        });
        window->btnPrintClick();
        QVERIFY(runTool("pdfinfo", {pdf}).contains(QRegularExpression("Page size:\\s+612 x 792")));
        QCOMPARE(pdfPages(pdf), 4);
    }

    void savedPdfReadsAsPrinted()
    {
        TReportWorld world;
        const auto window = TPreviewExt::create(1, frmMain);
        const QString pdf = world.file("Prüfprotokoll.pdf");
        world.dialogs.paths.enqueue(pdf);
        window->btnSavePDFClick();
        const QString text = pdfText(pdf);
        for (const QString &word : QStringList{"Flachbandkabel", "fließend", "Pflege", "Schutzleiterwiderstand", "≥ 2,00 MΩ"})
            QVERIFY2(text.contains(word), qPrintable(word));
        QVERIFY(!text.contains(QChar(0xFB01)) && !text.contains(QChar(0xFB02))); // no "fi", "fl" ligatures
        const QString info = runTool("pdfinfo", {pdf});
        QVERIFY2(info.contains(QRegularExpression("Author:\\s+" + QRegularExpression::escape(longtext::ContractorName))), qPrintable(info));
        QVERIFY(info.contains(QRegularExpression("Subject:\\s+Prüfprotokoll")));
        QVERIFY(info.contains(QRegularExpression("Title:\\s+Auswertung")));
        QVERIFY(!runTool("pdffonts", {pdf}).contains(QRegularExpression("\\sno\\s+(yes|no)\\s+(yes|no)\\s+\\d+\\s+0$",
                                                                          QRegularExpression::MultilineOption)));
    }

    void emptyPreviewHasNothingToSave()
    {
        TReportWorld world;
        const auto window = TPreviewExt::create(1, frmMain);
        chooseCustomer(window.get(), longtext::ManyDevicesCustomer); // no inspections
        window->fillLbPruefungen();
        window->UpdateReport();
        QCOMPARE(window->preview()->pageCount(), 0);
        world.dialogs.clear();
        window->btnSavePDFClick();
        QCOMPARE(world.dialogs.messages(), QStringList{"Die Vorschau ist leer: Es gibt nichts zu speichern."});
        QCOMPARE(world.dialogs.shown.size(), 1); // no file chooser
    }

    void statusWindowPaintsProgress()
    {
        TReportWorld world;
        const auto window = TPreviewExt::create(1, frmMain);
        TfrmStatus *status = window->findChild<TfrmStatus *>();
        QVERIFY(status);
        PaintWatch watch;
        status->Label1->installEventFilter(&watch);
        chooseCustomer(window.get(), longtext::ManyDevicesCustomer);
        world.find<QAbstractButton>(window.get(), "rbInventar")->setChecked(true);
        window->rbAuswahlClick(3);
        QVERIFY2(watch.painted.contains("Generiere Seite 1"), qPrintable(watch.painted.join(", ")));
        QVERIFY(watch.painted.contains(QStringLiteral("Generiere Seite %1").arg(window->preview()->pageCount())));
        QVERIFY(!status->isVisible()); // hidden when the pages are done
    }

    // "Abbrechen" on the status panel stops the pages: no page, no message,
    // and the next report is made whole.
    void statusWindowCancels()
    {
        TReportWorld world;
        const auto window = TPreviewExt::create(1, frmMain);
        TfrmStatus *status = window->findChild<TfrmStatus *>();
        chooseCustomer(window.get(), longtext::ManyDevicesCustomer);
        world.dialogs.clear();
        // Clicked as soon as the panel lets events through.
        QTimer::singleShot(0, status, [&] { world.click(status, "btnAbbrechen"); });
        world.find<QAbstractButton>(window.get(), "rbInventar")->setChecked(true);
        window->rbAuswahlClick(3);
        QCOMPARE(window->preview()->pageCount(), 0);
        QVERIFY(!status->isVisible());
        QCOMPARE(world.dialogs.messages(), QStringList());
        window->UpdateReport();
        QVERIFY(window->preview()->pageCount() > 1);
    }

    void logoChosenInContractorDialog()
    {
        TReportWorld world;
        const QString png = world.file("Logo Müller.png");
        QImage image(300, 100, QImage::Format_RGB32);
        image.fill(Qt::darkBlue);
        QVERIFY(image.save(png));
        const QString junk = world.file("kein Bild.png");
        QFile(junk).open(QIODevice::WriteOnly);

        dlgAuftragnehmer->show();
        world.dialogs.paths.enqueue(junk);
        dlgAuftragnehmer->logo()->chooseFile();
        QVERIFY(world.dialogs.messages().last().contains("kein lesbares Bild"));
        QVERIFY(!frmDM->dsetAuftragnehmer.editing()); // nothing changed
        world.dialogs.paths.enqueue(png);
        dlgAuftragnehmer->logo()->chooseFile();
        QVERIFY(!dlgAuftragnehmer->logo()->picture()->pixmap().isNull());
        world.click(dlgAuftragnehmer, "btnSichern");
        dlgAuftragnehmer->close();
        TQuery q(&frmDM->Database);
        q.setSql("SELECT OCTET_LENGTH(LOGO) FROM AUFTRAGNEHMER");
        q.execQuery();
        QCOMPARE(q.asInteger(0), QFileInfo(png).size());
        q.close();

        // The report shows it.
        const auto window = TPreviewExt::create(1, frmMain);
        const QString pdf = world.file("mit Logo.pdf");
        world.dialogs.paths.enqueue(pdf);
        window->btnSavePDFClick();
        const QStringList images = runTool("pdfimages", {"-list", pdf}).split(u'\n', Qt::SkipEmptyParts).mid(2);
        QCOMPARE(images.size(), 4); // one on each page
    }
};

VELMORA_APP_TEST_MAIN(TestReportOutput)
#include "tst_reportoutput.moc"
