#pragma once
#include <QByteArray>
#include <QString>

// The connection speaks UTF-8 (lc_ctype UTF8): the engine turns every text
// column into UTF-8 on the way out and from it on the way in, whatever the
// column's own character set. Binary data (a BLOB of sub-type 0, an OCTETS
// column) travels as it is, one byte per character of its QString.
namespace connectionText {

inline QByteArray encode(const QString &text) { return text.toUtf8(); }
inline QString decode(const char *data, qsizetype size) { return QString::fromUtf8(data, size); }

inline QByteArray encodeBinary(const QString &bytes) { return bytes.toLatin1(); }
inline QString decodeBinary(const char *data, qsizetype size) { return QString::fromLatin1(data, size); }

} // namespace connectionText
