#pragma once
#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

class QPdfWriter;

// The XMP packet of a PDF/A-1b file with its title, author and subject.
QByteArray pdfXmpMetadata(const QString &title, const QString &author, const QString &subject);

// The PDF with further entries (name, text) in its document information
// dictionary, the cross-reference table moved to match. Qt's writer has no
// author and subject of its own.
QByteArray withInfoEntries(const QByteArray &pdf, const QList<QPair<QByteArray, QString>> &entries);

// PDF/A-1b with the title, the program as creator and the XMP packet.
void describePdf(QPdfWriter &writer, const QString &title, const QString &author, const QString &subject);
