#pragma once
#include <QList>
#include <QRect>
#include <QRectF>
#include <QString>

class QPainterPath;

// A QR code as rectangles: the dark modules of each row merged into runs,
// and runs over the same columns in consecutive rows into one rectangle, in
// module coordinates that include the quiet zone of four light modules on
// every side.
struct TQrCode {
    static constexpr int QuietZone = 4;
    int size = 0;       // modules per side, quiet zone included; 0: no code
    QList<QRect> dark;  // rectangles of dark modules
    bool isNull() const { return size == 0; }
};

// Encodes a text's UTF-8 bytes with libqrencode: 8-bit mode, error
// correction level M (a code stays readable with about 15 % of it damaged),
// the smallest version that holds the text. An empty text gives no code;
// a text too long for any QR code throws EDatabaseError.
TQrCode encodeQrCode(const QString &text);

// The dark rectangles of a code scaled into a square box (quiet zone
// included), as one path, so that a painter fills them without seams and a
// PDF keeps them as vectors.
QPainterPath qrCodePath(const TQrCode &code, const QRectF &box);
