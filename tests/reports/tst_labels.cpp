// Inspection labels on sheets and rolls: every QR code of the rendered
// pages is read back by a real decoder and every label's texts are checked,
// from the engine's own pages and from the PDF file; and the label window,
// which remembers the stock in the settings.
#include "AppTestMain.h"
#include "LabelData.h"
#include "LabelDayData.h"
#include "LabelJob.h"
#include "LabelStock.h"
#include "LayoutCheck.h"
#include "Outputs.h"
#include "Preview.h"
#include "QrDecode.h"
#include "Query.h"
#include "ReportProject.h"
#include "RunningProgram.h"
#include "UEtiketten.h"
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QPrinter>
#include <QtTest>

namespace {

constexpr int kDpi = 200;

TReportProject project()
{
    TReportProject p;
    p.open(QCoreApplication::applicationDirPath() + QStringLiteral("/velmora.rav"));
    return p;
}

QRectF inUnits(const QRectF &mm) { return QRectF(mm.topLeft() * TPageStream::UnitsPerMm, mm.size() * TPageStream::UnitsPerMm); }

// The texts whose boxes stand in a label's cell, top to bottom.
QStringList textsIn(const TPageStream &stream, int page, const QRectF &cellMm)
{
    QList<const TTextBox *> boxes;
    for (const TTextBox &b : stream.boxes)
        if (b.page == page && inUnits(cellMm).contains(b.given.center()))
            boxes << &b;
    std::stable_sort(boxes.begin(), boxes.end(), [](const TTextBox *a, const TTextBox *b) { return a->given.top() < b->given.top(); });
    QStringList texts;
    for (const TTextBox *b : boxes)
        texts << b->text;
    return texts;
}

// The payloads of the codes in a label's cell of a page's picture, read
// cell by cell as a scanner reads one label.
QStringList payloadsIn(const QImage &page, const QRectF &cellMm)
{
    const double pixelsPerMm = kDpi / 25.4;
    const QRect cell(QRectF(cellMm.topLeft() * pixelsPerMm, cellMm.size() * pixelsPerMm).toAlignedRect());
    QStringList payloads;
    for (const TDecodedQr &c : decodeQrCodes(page.copy(cell)))
        payloads << c.text;
    return payloads;
}

// Every label of the day on the sheet: its code and its texts in its cell.
void checkEveryLabel(const TPageStream &stream, const QList<QImage> &pictures, const TLabelSheet &sheet)
{
    QCOMPARE(pictures.size(), stream.pages.size());
    for (int i = 0; i < labelday::kDevices; ++i) {
        const int page = sheet.pageOf(i);
        const QRectF cell = sheet.cellOf(i);
        QCOMPARE(payloadsIn(pictures.at(page), cell), QStringList{labelday::payload(i)});
        QCOMPARE(textsIn(stream, page + 1, cell), labelday::labelTexts(i));
    }
}

// The label window's choice: the day's first device as the current one.
TLabelChoice currentDeviceOfTheDay()
{
    TLabelChoice choice;
    choice.currentDevice = labelday::deviceId(0);
    choice.customerId = labelday::kCustomer;
    return choice;
}

QList<QImage> enginePages(const TPageStream &stream)
{
    QList<QImage> pages;
    for (int p = 1; p <= stream.pages.size(); ++p)
        pages << rasterisedPage(stream, p, kDpi);
    return pages;
}

} // namespace

class TestLabels : public QObject {
    Q_OBJECT
    std::unique_ptr<TRunningProgram> m_program;

private slots:
    void initTestCase()
    {
        prepareTestEnvironment();
        m_program = std::make_unique<TRunningProgram>(labelday::changes(), QDateTime(QDate(2026, 12, 10), QTime(9, 0)));
    }
    void cleanupTestCase() { m_program.reset(); }

    void everyLabelReadsBack_data()
    {
        QTest::addColumn<QString>("stock");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("pages");
        TLabelSheet own;
        own.label = QSizeF(100, 50);
        own.columns = 2;
        own.rows = 5;
        own.top = 20;
        own.left = 4;
        own.gapX = 2;
        own.gapY = 2;
        QTest::newRow("A4 3×8 from position 5") << "a4-3x8" << 5 << 2;
        QTest::newRow("A4 4×10, the smallest labels") << "a4-4x10" << 1 << 1;
        QTest::newRow("A4 2×7 with gaps, from the last position") << "a4-2x7" << 14 << 3;
        QTest::newRow("own sheet 2×5") << labelStockSetting(ownSheetStock(own)) << 1 << 3;
        QTest::newRow("roll 62×29") << "rolle-62x29" << 1 << labelday::kDevices;
    }
    void everyLabelReadsBack()
    {
        QFETCH(QString, stock);
        QFETCH(int, first);
        QFETCH(int, pages);
        TLabelSheet sheet = labelStockFromSetting(stock).value().sheet;
        sheet.first = first;
        TLabelData data(*frmDM);
        data.openForDay(labelday::kCustomer, QDate(2026, 12, 1));
        TPageStream stream;
        labeljob::write(project(), data, sheet, *frmDM, stream);
        QCOMPARE(stream.pages.size(), pages);
        QCOMPARE(stream.pageSizeMm(), sheet.paper);
        QVERIFY2(layoutFaults(stream).isEmpty(), qPrintable(layoutFaults(stream).join(u'\n')));
        checkEveryLabel(stream, enginePages(stream), sheet);
        // The PDF file, as pdftoppm renders it.
        const QString pdf = m_program->home.dir.filePath(QStringLiteral("Prüf ordner/etiketten.pdf"));
        renderPdf(stream, pdf);
        checkEveryLabel(stream, pdfPageImages(pdf, kDpi), sheet);
        // scripts/readme-pictures.sh shows a partly used sheet in the README.
        if (const QString pictures = qEnvironmentVariable("VELMORA_PICTURES"); !pictures.isEmpty() && stock == u"a4-3x8")
            renderPdf(stream, pictures + QStringLiteral("/etiketten.pdf"));
    }

    void selectedDevicesGetTheirLatestInspection()
    {
        TLabelData data(*frmDM);
        data.openForDevices({labelday::deviceId(0), labelday::deviceId(labelday::kFailed), 1002 /* never inspected */});
        TDataSet &labels = data.records();
        QCOMPARE(labels.recordCount(), 2);
        labels.first();
        QCOMPARE(labels.fieldByName("Payload")->asString(), labelday::payload(0));
        QCOMPARE(labels.fieldByName("Ergebnis")->asString(), QStringLiteral("Bestanden")); // not the failed one of September
        QCOMPARE(labels.fieldByName("NaechstePruefung")->asString(), QStringLiteral("03/2027"));
    }

    // A label has room for the firm's short name; without one the name is
    // cut where the label ends.
    void firmByShortNameElseName()
    {
        const QString longName = QStringLiteral("Elektro Jürgens GmbH & Co. KG Elektroinstallation Nord");
        auto setFirm = [](const QString &name, const QString &shortName) {
            TQuery q(&frmDM->Database);
            q.setSql(QStringLiteral("UPDATE AUFTRAGNEHMER SET NAME = :NAME, KURZNAME = :KURZ"));
            q.paramByName(QStringLiteral("NAME")).setAsString(name);
            q.paramByName(QStringLiteral("KURZ")).setAsString(shortName);
            q.execQuery();
            frmDM->Transaction.commitRetaining();
        };
        TLabelData data(*frmDM);
        TPageStream stream;
        setFirm(longName, QStringLiteral("EJ Prüfdienst"));
        data.openForDevices({labelday::deviceId(0)});
        labeljob::write(project(), data, labelStockByKey("a4-4x10")->sheet, *frmDM, stream);
        QCOMPARE(stream.texts.value(0), QStringLiteral("EJ Prüfdienst"));
        setFirm(longName, QString());
        data.openForDevices({labelday::deviceId(0)});
        labeljob::write(project(), data, labelStockByKey("a4-4x10")->sheet, *frmDM, stream);
        QVERIFY2(stream.texts.value(0).endsWith(u'…') && longName.startsWith(stream.texts.value(0).chopped(1)),
                 qPrintable(stream.texts.value(0)));
        QVERIFY2(layoutFaults(stream).isEmpty(), qPrintable(layoutFaults(stream).join(u'\n')));
        setFirm(QStringLiteral("Elektro Jürgens"), QString());
    }

    // A label printer gets paper of the label's size, not the printer's own.
    void printerTakesTheLabelPaper()
    {
        TLabelData data(*frmDM);
        data.openForDevices({labelday::deviceId(0), labelday::deviceId(1)});
        TPageStream stream;
        labeljob::write(project(), data, labelStockByKey("rolle-62x29")->sheet, *frmDM, stream);
        const QString pdf = m_program->home.dir.filePath(QStringLiteral("Prüf ordner/gedruckt.pdf"));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        renderPrinter(stream, printer);
        QProcess info;
        info.start(QStringLiteral("pdfinfo"), {pdf});
        QVERIFY(info.waitForFinished(60000));
        const QString said = QString::fromUtf8(info.readAllStandardOutput());
        QVERIFY2(said.contains(QRegularExpression(QStringLiteral("Pages:\\s+2\\b"))), qPrintable(said));
        QVERIFY2(said.contains(QRegularExpression(QStringLiteral("Page size:\\s+176 x 82 pts"))), qPrintable(said));
        const QList<QImage> pages = pdfPageImages(pdf, kDpi);
        QCOMPARE(decodeQrCodes(pages.value(1)).value(0).text, labelday::payload(1));
    }

    void sheetsThatDoNotFitAreRefused_data()
    {
        QTest::addColumn<int>("columns");
        QTest::addColumn<double>("width");
        QTest::addColumn<int>("first");
        QTest::addColumn<QString>("fault");
        QTest::newRow("too wide") << 3 << 71.0 << 1 << "passen nicht auf das Blatt";
        QTest::newRow("no width") << 3 << 0.0 << 1 << "größer als 0 mm";
        QTest::newRow("position beyond the sheet") << 3 << 70.0 << 25 << "zwischen 1 und 24";
        QTest::newRow("not a number") << 3 << qQNaN() << 1 << "keine gültigen Zahlen";
        QTest::newRow("endless") << 3 << qInf() << 1 << "keine gültigen Zahlen";
    }
    void sheetsThatDoNotFitAreRefused()
    {
        QFETCH(int, columns);
        QFETCH(double, width);
        QFETCH(int, first);
        QFETCH(QString, fault);
        TLabelSheet sheet = labelStockByKey("a4-3x8")->sheet;
        sheet.columns = columns;
        sheet.label.setWidth(width);
        sheet.first = first;
        QVERIFY2(sheet.fault().contains(fault), qPrintable(sheet.fault()));
    }

    // A stock from the settings or the command line that no printer has.
    void absurdStocksAreRefused_data()
    {
        QTest::addColumn<QString>("setting");
        QTest::newRow("a roll 100 m square") << "rolle-100000x100000";
        QTest::newRow("a sheet with labels of no number") << "bogen;8;3;nan;37;0;0;0;0";
        QTest::newRow("a sheet with endless margins") << "bogen;8;3;70;37;inf;0;0;0";
    }
    void absurdStocksAreRefused()
    {
        QFETCH(QString, setting);
        QVERIFY(!labelStockFromSetting(setting).has_value());
    }

    void windowRemembersTheStock()
    {
        TLabelChoice choice;
        choice.currentDevice = labelday::deviceId(0);
        choice.selectedDevices = {labelday::deviceId(0), labelday::deviceId(1), labelday::deviceId(2)};
        choice.customerId = labelday::kCustomer;
        {
            TfrmEtiketten window(choice);
            QVERIFY(TRunningProgram::find<QRadioButton>(&window, "rbAusgewaehlt")->isChecked());
            QCOMPARE(TRunningProgram::find<QLabel>(&window, "lblAnzahl")->text(), QStringLiteral("3 Etiketten auf 1 Seite"));
            TRunningProgram::find<QComboBox>(&window, "cbMaterial")->setCurrentIndex(TRunningProgram::find<QComboBox>(&window, "cbMaterial")->findData("rolle-62x29"));
            QCOMPARE(TRunningProgram::find<QLabel>(&window, "lblAnzahl")->text(), QStringLiteral("3 Etiketten auf 3 Seiten"));
            QCOMPARE(window.preview()->pageCount(), 3);
            TRunningProgram::find<QRadioButton>(&window, "rbPrueftag")->setChecked(true);
            QCOMPARE(TRunningProgram::find<QComboBox>(&window, "cbPrueftag")->currentText(), QStringLiteral("01.12.2026"));
            QCOMPARE(TRunningProgram::find<QLabel>(&window, "lblAnzahl")->text(), QStringLiteral("26 Etiketten auf 26 Seiten"));
            // Saved as PDF through the save dialog: every code reads back.
            const QString pdf = m_program->home.dir.filePath(QStringLiteral("Prüf ordner/rolle.pdf"));
            m_program->dialogs.paths.enqueue(pdf);
            TRunningProgram::click(TRunningProgram::find<QPushButton>(&window, "btnPdf"));
            QCOMPARE(decodeQrCodes(pdfPageImages(pdf, kDpi).value(5)).value(0).text, labelday::payload(5));
        }
        QCOMPARE(TAppHome::setting("Etikettenmaterial").toString(), QStringLiteral("rolle-62x29"));
        TfrmEtiketten again(choice);
        QCOMPARE(again.chosenStock().key, QStringLiteral("rolle-62x29"));
        QVERIFY(!TRunningProgram::find<QSpinBox>(&again, "sbPosition")->isEnabled()); // a roll has no positions
    }

    // A sheet is judged as a whole: the preview opens showing the whole
    // page, filling its area in width or height.
    void previewShowsTheWholeSheet()
    {
        TfrmEtiketten window(currentDeviceOfTheDay());
        auto *stocks = TRunningProgram::find<QComboBox>(&window, "cbMaterial");
        stocks->setCurrentIndex(stocks->findData("a4-3x8"));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QSize room = TRunningProgram::find<QScrollArea>(&window, "ScrollBox1")->viewport()->size();
        const QSize page = window.preview()->size();
        QVERIFY2(page.width() <= room.width() && page.height() <= room.height(),
                 qPrintable(QStringLiteral("page %1x%2 in %3x%4").arg(page.width()).arg(page.height()).arg(room.width()).arg(room.height())));
        QVERIFY(page.width() >= room.width() * 0.95 || page.height() >= room.height() * 0.95);
        QVERIFY(window.preview()->zoom() < 100);
    }

    void ownSheetInTheWindow()
    {
        TfrmEtiketten window(currentDeviceOfTheDay());
        auto *stocks = TRunningProgram::find<QComboBox>(&window, "cbMaterial");
        stocks->setCurrentIndex(stocks->findData("a4-3x8"));
        stocks->setCurrentIndex(stocks->findText(QStringLiteral("Eigener Bogen")));
        QVERIFY(TRunningProgram::find<QSpinBox>(&window, "sbSpalten")->isEnabled());
        QCOMPARE(TRunningProgram::find<QSpinBox>(&window, "sbSpalten")->value(), 3); // starts from the sheet shown before
        TRunningProgram::find<QSpinBox>(&window, "sbSpalten")->setValue(4);
        QVERIFY2(TRunningProgram::find<QLabel>(&window, "lblAnzahl")->text().contains(QStringLiteral("passen nicht auf das Blatt")),
                 qPrintable(TRunningProgram::find<QLabel>(&window, "lblAnzahl")->text()));
        QCOMPARE(window.preview()->pageCount(), 0);
        TRunningProgram::find<QDoubleSpinBox>(&window, "dsbBreite")->setValue(50);
        TRunningProgram::find<QSpinBox>(&window, "sbPosition")->setValue(7);
        QCOMPARE(TRunningProgram::find<QLabel>(&window, "lblAnzahl")->text(), QStringLiteral("1 Etikett auf 1 Seite"));
        QCOMPARE(TAppHome::setting("Etikettenmaterial").toString(), QStringLiteral("bogen;8;4;50;37;0.5;0;0;0"));
        // The seventh cell: second row, third column.
        QCOMPARE(textsIn(window.pages(), 1, QRectF(100, 37.5, 50, 37)).value(2), QStringLiteral("Gerät Nr. 100"));
    }
};

VELMORA_APP_TEST_MAIN(TestLabels)
#include "tst_labels.moc"
