// The report engine's QR codes: drawn as squares that any printer resolution
// keeps sharp, with their quiet zone, and read back by a real decoder from
// the rendered page and from the PDF file.
#include "DbError.h"
#include "Outputs.h"
#include "PageWriter.h"
#include "QrDecode.h"
#include "TestDatabase.h"
#include <QPainterPath>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// A page with one QR box of the given size (millimetres) that shows the
// writer's parameter "Code".
TReportLayout codeLayout(QSizeF box, const QString &align)
{
    TReportItem item;
    item.rect = QRectF(QPointF(20, 30), box);
    item.text = QStringLiteral("{Code}");
    item.qrCode = true;
    item.alignment = align == u"right" ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignLeft | Qt::AlignVCenter;
    TReportBand title;
    title.kind = TReportBand::Kind::Title;
    title.height = box.height() + 40;
    title.items << item;
    TReportLayout layout;
    layout.name = QStringLiteral("Code");
    layout.bands << title;
    return layout;
}

TPageStream rendered(const QString &payload, QSizeF box = QSizeF(25, 25), const QString &align = QString())
{
    TPageWriter writer;
    writer.parameters.insert(QStringLiteral("Code"), payload);
    TPageStream stream;
    writer.execute(codeLayout(box, align), {}, stream);
    return stream;
}

QList<const TPiece *> codesOf(const TPage &page)
{
    QList<const TPiece *> codes;
    for (const TPiece &p : page)
        if (p.kind == TPiece::Kind::QrCode)
            codes << &p;
    return codes;
}

QStringList textsOf(const QList<TDecodedQr> &codes)
{
    QStringList texts;
    for (const TDecodedQr &c : codes)
        texts << c.text;
    return texts;
}

} // namespace

class TestQrCode : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { prepareTestEnvironment(); }

    void decodesFromThePage_data()
    {
        QTest::addColumn<QString>("payload");
        QTest::addColumn<QSizeF>("box");
        QTest::addColumn<QString>("align");
        QTest::addColumn<QRectF>("square"); // where the code stands, mm
        QTest::newRow("label payload") << "VPP1;K101;G1001;N85" << QSizeF(25, 25) << "" << QRectF(20, 30, 25, 25);
        QTest::newRow("umlauts as UTF-8") << "Prüfling Größe ß – Bohrmaschine" << QSizeF(25, 25) << ""
                                          << QRectF(20, 30, 25, 25);
        QTest::newRow("long text, small box") << QString(180, u'x').replace(7, 3, "K12") << QSizeF(30, 30) << ""
                                              << QRectF(20, 30, 30, 30);
        QTest::newRow("wide box, left") << "VPP1;K7;G70;N1" << QSizeF(60, 18) << "" << QRectF(20, 30, 18, 18);
        QTest::newRow("wide box, right") << "VPP1;K7;G70;N1" << QSizeF(60, 18) << "right" << QRectF(62, 30, 18, 18);
    }
    void decodesFromThePage()
    {
        QFETCH(QString, payload);
        QFETCH(QSizeF, box);
        QFETCH(QString, align);
        QFETCH(QRectF, square);
        const TPageStream stream = rendered(payload, box, align);
        QCOMPARE(stream.pages.size(), 1);
        const auto codes = codesOf(stream.pages.first());
        QCOMPARE(codes.size(), 1);
        // The page's margin lies before the layout's millimetres.
        const QRectF expected((square.topLeft() + QPointF(TPageStream::MarginMm, TPageStream::MarginMm)) * TPageStream::UnitsPerMm,
                              square.size() * TPageStream::UnitsPerMm);
        QCOMPARE(codes.first()->rect, expected);
        for (int dpi : {150, 300})
            QCOMPARE(textsOf(decodeQrCodes(rasterisedPage(stream, 1, dpi))), QStringList{payload});
    }

    void keepsItsQuietZone()
    {
        const TPageStream stream = rendered(QStringLiteral("VPP1;K101;G1001;N85"));
        const TPiece &code = *codesOf(stream.pages.first()).first();
        // 19 bytes are more than version 1 holds at level M (14): version 2
        // has 25 modules a side, and four light ones stand on each side.
        QCOMPARE(code.qrCode.size, 25 + 2 * TQrCode::QuietZone);
        const double module = code.rect.width() / code.qrCode.size;
        const QRectF dark = qrCodePath(code.qrCode, code.rect).boundingRect();
        QCOMPARE(dark.left() - code.rect.left(), TQrCode::QuietZone * module);
        QCOMPARE(dark.top() - code.rect.top(), TQrCode::QuietZone * module);
        QCOMPARE(code.rect.right() - dark.right(), TQrCode::QuietZone * module);
        QCOMPARE(code.rect.bottom() - dark.bottom(), TQrCode::QuietZone * module);
        // Adjacent dark modules are one rectangle: fewer rectangles than modules.
        int modules = 0;
        for (const QRect &run : code.qrCode.dark)
            modules += run.width() * run.height();
        QVERIFY(code.qrCode.dark.size() < modules);
    }

    void pdfKeepsTheCodeAsVectors()
    {
        QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/qr prüf-XXXXXX"));
        const QString pdf = dir.filePath(QStringLiteral("code.pdf"));
        const QString payload = QStringLiteral("VPP1;K101;G1001;N85");
        renderPdf(rendered(payload), pdf);
        const QList<QImage> pages = pdfPageImages(pdf, 150);
        QCOMPARE(pages.size(), 1);
        QCOMPARE(textsOf(decodeQrCodes(pages.first())), QStringList{payload});
        // No picture in the file: the squares are drawn as paths.
        QProcess images;
        images.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
        QVERIFY(images.waitForFinished(60000));
        QCOMPARE(QString::fromUtf8(images.readAllStandardOutput()).trimmed().split(u'\n').size(), 2); // the heading only
    }

    void emptyTextDrawsNoCode()
    {
        const TPageStream stream = rendered(QString());
        QVERIFY(codesOf(stream.pages.first()).isEmpty());
    }

    void textTooLongIsRefused()
    {
        try {
            rendered(QString(3000, u'ü'));
            QFAIL("a text beyond any QR code was drawn");
        } catch (const EDatabaseError &e) {
            QVERIFY2(e.message().contains(QStringLiteral("zu lang für einen QR-Code")), qPrintable(e.message()));
        }
    }
};

QTEST_MAIN(TestQrCode)
#include "tst_qrcode.moc"
