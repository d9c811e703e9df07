#pragma once
#include "ImportProfile.h"
#include <QByteArray>
#include <QString>

struct TDecodedText {
    QString text;
    QString error; // German; the text is empty then
};

// The bytes of an export as text in the profile's encoding. A file that is
// empty, holds binary data or is not valid UTF-8 when UTF-8 is expected is
// refused with the reason instead of being read as something else.
TDecodedText decodeExport(const QByteArray &bytes, TextEncoding encoding);

// Windows-1252: ISO 8859-1 but for 0x80-0x9F, which hold printable signs
// (the euro sign, typographic quotes, dashes). Five codes are unassigned and
// become U+FFFD.
QString decodeWindows1252(const QByteArray &bytes);
