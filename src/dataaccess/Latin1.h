#pragma once
#include <QByteArray>
#include <QString>

// The connection speaks ISO 8859-1. Text that cannot be written in it is
// refused before it reaches the database.
namespace latin1 {

// The first character of text that ISO 8859-1 cannot hold, or a null QChar.
QChar firstUnencodable(const QString &text);

// Throws EDatabaseError with a German message when text holds a character
// outside ISO 8859-1.
void ensureEncodable(const QString &text);

QByteArray encode(const QString &text); // checks, then encodes
inline QString decode(const char *data, qsizetype size) { return QString::fromLatin1(data, size); }

} // namespace latin1
