#include "TextDecoding.h"
#include <QStringDecoder>

namespace {

constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD,
    0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178,
};

// Control bytes other than tab, line feed, carriage return and form feed do
// not occur in a text export; a NUL byte never does.
bool looksBinary(const QByteArray &bytes)
{
    qsizetype controls = 0;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b == 0)
            return true;
        if (b < 0x20 && b != '\t' && b != '\n' && b != '\r' && b != '\f')
            ++controls;
    }
    return controls > 0 && controls * 100 >= bytes.size();
}

} // namespace

QString decodeWindows1252(const QByteArray &bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        *out++ = b >= 0x80 && b <= 0x9F ? QChar(kWindows1252High[b - 0x80]) : QChar(b);
    }
    return text;
}

TDecodedText decodeExport(const QByteArray &bytes, TextEncoding encoding)
{
    if (bytes.trimmed().isEmpty())
        return {{}, QStringLiteral("Die Datei ist leer.")};
    if (looksBinary(bytes))
        return {{}, QStringLiteral("Die Datei enthält Binärdaten und ist kein Textexport eines Messgeräts.")};
    switch (encoding) {
    case TextEncoding::Latin1:
        return {QString::fromLatin1(bytes), {}};
    case TextEncoding::Windows1252:
        return {decodeWindows1252(bytes), {}};
    case TextEncoding::Utf8:
        break;
    }
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError() || text.contains(QChar::ReplacementCharacter))
        return {{},
                QStringLiteral("Die Datei ist nicht in UTF-8 geschrieben. Im Profil einen anderen Zeichensatz wählen "
                               "(ISO 8859-1 oder Windows-1252).")};
    if (text.startsWith(QChar::ByteOrderMark))
        text.remove(0, 1);
    return {text, {}};
}
