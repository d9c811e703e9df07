#pragma once
// Reads the QR codes of a picture with zxing-cpp, as a phone or a hand
// scanner would: a test target that includes this links ZXing::ZXing and
// defines ZX_USE_UTF8.
#include "PageStream.h"
#include <QDir>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QPointF>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <ZXing/ReadBarcode.h>

struct TDecodedQr {
    QString text;   // the payload's bytes read as UTF-8
    QPointF centre; // in pixels of the picture
};

inline QList<TDecodedQr> decodeQrCodes(const QImage &picture)
{
    const QImage grey = picture.convertToFormat(QImage::Format_Grayscale8);
    ZXing::DecodeHints hints;
    hints.setFormats(ZXing::BarcodeFormat::QRCode);
    hints.setTryHarder(true);
    const ZXing::ImageView view(grey.constBits(), grey.width(), grey.height(), ZXing::ImageFormat::Lum,
                                static_cast<int>(grey.bytesPerLine()));
    QList<TDecodedQr> codes;
    for (const ZXing::Result &r : ZXing::ReadBarcodes(view, hints)) {
        if (!r.isValid())
            continue;
        const auto &bytes = r.bytes();
        const auto p = r.position();
        const QPointF centre((p.topLeft().x + p.bottomRight().x) / 2.0, (p.topLeft().y + p.bottomRight().y) / 2.0);
        codes.append({QString::fromUtf8(reinterpret_cast<const char *>(bytes.data()), static_cast<qsizetype>(bytes.size())),
                      centre});
    }
    return codes;
}

// A page of a stream painted on white at a resolution, as the engine's
// own outputs paint it.
inline QImage rasterisedPage(const TPageStream &stream, int page, int dpi)
{
    const double pixelsPerUnit = dpi / 25.4 / TPageStream::UnitsPerMm;
    const QSizeF mm = stream.pageSizeMm();
    QImage image(qRound(mm.width() * dpi / 25.4), qRound(mm.height() * dpi / 25.4), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(pixelsPerUnit, pixelsPerUnit);
    paintPage(painter, stream.pages.at(page - 1));
    return image;
}

// The pages of a PDF file as pictures, through pdftoppm.
inline QList<QImage> pdfPageImages(const QString &pdf, int dpi)
{
    QTemporaryDir dir;
    QProcess::execute(QStringLiteral("pdftoppm"),
                      {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-gray"), pdf, dir.filePath(QStringLiteral("page"))});
    // page-1.pgm … or page-01.pgm …: the numbers are padded to one width.
    QList<QImage> pages;
    for (const QString &name : QDir(dir.path()).entryList({QStringLiteral("page-*.pgm")}, QDir::Files, QDir::Name))
        pages << QImage(dir.filePath(name));
    return pages;
}
