#pragma once
// Exports as instruments write them, generated in a chosen dialect, and the
// profile that reads them.
#include "ImportProfile.h"
#include "TextDecoding.h"
#include <QStringConverter>
#include <QStringList>

struct TDialect {
    QChar separator = u';';
    bool decimalComma = true;
    TextEncoding encoding = TextEncoding::Latin1;
    bool byteOrderMark = false;
    QByteArray lineEnd = "\n";
};

// Text as a Windows program writes it in Windows-1252: the signs of 0x80 to
// 0x9F ("€", "…") found through the program's own decoder, the rest as in
// Latin-1; a letter Windows-1252 lacks becomes "?", as there.
inline QByteArray encodeWindows1252(const QString &text)
{
    QByteArray bytes;
    for (const QChar c : text) {
        char byte = c.unicode() < 0x80 || (c.unicode() >= 0xA0 && c.unicode() <= 0xFF) ? char(c.unicode()) : '?';
        for (int b = 0x80; b <= 0x9F && byte == '?'; ++b)
            if (decodeWindows1252(QByteArray(1, char(b))) == QString(c))
                byte = char(b);
        bytes += byte;
    }
    return bytes;
}

inline QByteArray encodedAs(TextEncoding encoding, const QString &text)
{
    switch (encoding) {
    case TextEncoding::Utf8:
        return text.toUtf8();
    case TextEncoding::Windows1252:
        return encodeWindows1252(text);
    case TextEncoding::Latin1:
        break;
    }
    return text.toLatin1();
}

// Columns: customer, number, date, time, inspector, the five values, visual,
// function, verdict, remark.
inline TImportProfile profileFor(const TDialect &dialect)
{
    TImportProfile p;
    p.name = QStringLiteral("Testgerät");
    p.encoding = dialect.encoding;
    p.separator = dialect.separator;
    p.decimalComma = dialect.decimalComma;
    int column = 0;
    for (const ImportField f : {ImportField::Customer, ImportField::DeviceNumber, ImportField::Date, ImportField::Time,
                                ImportField::Inspector, ImportField::Value0, ImportField::Value1, ImportField::Value2,
                                ImportField::Value3, ImportField::Value4, ImportField::Visual, ImportField::Function,
                                ImportField::Verdict, ImportField::Remark})
        p.setColumn(f, ++column);
    return p;
}

// Cells are written with '.' and the dialect turns it into its decimal sign
// in the value columns (6 to 10).
inline QByteArray exportBytes(const TDialect &dialect, const QList<QStringList> &rows,
                              const QStringList &header = {"Kunde", "Nr", "Datum", "Zeit", "Prüfer", "RPE", "RISO", "IEA",
                                                           "IDIFF", "IB", "Sicht", "Funktion", "Urteil", "Bemerkung"})
{
    QStringList lines{header.join(dialect.separator)};
    for (QStringList cells : rows) {
        for (int i = 5; i < 10 && i < cells.size(); ++i)
            if (dialect.decimalComma)
                cells[i].replace(u'.', u',');
        for (QString &c : cells)
            if (c.contains(dialect.separator))
                c = u'"' + c + u'"';
        lines << cells.join(dialect.separator);
    }
    const QString text = lines.join(QString::fromLatin1(dialect.lineEnd)) + QString::fromLatin1(dialect.lineEnd);
    QByteArray bytes = dialect.byteOrderMark ? QByteArray("\xEF\xBB\xBF") : QByteArray();
    return bytes + encodedAs(dialect.encoding, text);
}

// A row of the demo database's printer (customer "Demo-Kunde", number 85).
inline QStringList printerRow(const QString &date, const QString &rpe = QStringLiteral("0.08"),
                              const QString &verdict = QStringLiteral("bestanden"), const QString &number = QStringLiteral("85"))
{
    return {"Demo-Kunde", number, date, "09:15", "Demo-Prüfer", rpe, "19.99", "0.21", "", "", "i.O.", "i.O.", verdict,
            "Stecker getauscht; geprüft"};
}
