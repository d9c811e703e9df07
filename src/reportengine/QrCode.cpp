#include "QrCode.h"
#include "DbError.h"
#include <QHash>
#include <QPainterPath>
#include <utility>
#include <memory>
#include <qrencode.h>

TQrCode encodeQrCode(const QString &text)
{
    if (text.isEmpty())
        return {};
    const QByteArray bytes = text.toUtf8();
    const std::unique_ptr<QRcode, decltype(&QRcode_free)> symbol(
        QRcode_encodeString(bytes.constData(), 0, QR_ECLEVEL_M, QR_MODE_8, 1), &QRcode_free);
    if (!symbol)
        throw EDatabaseError(QStringLiteral("Der Text „%1“ ist zu lang für einen QR-Code.").arg(text.left(40)));
    const int width = symbol->width;
    TQrCode code;
    code.size = width + 2 * TQrCode::QuietZone;
    // Bit 0 of each byte says whether the module is dark.
    auto dark = [&](int x, int y) { return (symbol->data[y * width + x] & 1) != 0; };
    // A run with the same columns as one in the row above extends it: fewer
    // squares make a smaller path to fill and a shorter PDF page.
    QHash<std::pair<int, int>, qsizetype> above, here; // (start, length) -> square
    for (int y = 0; y < width; ++y) {
        here.clear();
        for (int x = 0; x < width;) {
            if (!dark(x, y)) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < width && dark(x, y))
                ++x;
            const std::pair<int, int> run{start, x - start};
            if (const auto it = above.constFind(run); it != above.cend()) {
                code.dark[*it].setHeight(code.dark[*it].height() + 1);
                here.insert(run, *it);
            } else {
                here.insert(run, code.dark.size());
                code.dark << QRect(start + TQrCode::QuietZone, y + TQrCode::QuietZone, x - start, 1);
            }
        }
        std::swap(above, here);
    }
    return code;
}

QPainterPath qrCodePath(const TQrCode &code, const QRectF &box)
{
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    if (code.isNull())
        return path;
    const double module = box.width() / code.size;
    for (const QRect &run : code.dark)
        path.addRect(box.left() + run.x() * module, box.top() + run.y() * module, run.width() * module, run.height() * module);
    return path;
}
