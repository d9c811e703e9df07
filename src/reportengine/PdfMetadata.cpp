#include "PdfMetadata.h"
#include <QPdfWriter>
#include <QRegularExpression>

namespace {

QByteArray xmlEscaped(const QString &text) { return text.toHtmlEscaped().toUtf8(); }

// A PDF text string in UTF-16 with byte-order mark, written in hex.
QByteArray pdfTextString(const QString &text)
{
    QByteArray utf16("\xFE\xFF", 2);
    for (QChar c : text) {
        utf16.append(char(c.unicode() >> 8));
        utf16.append(char(c.unicode() & 0xFF));
    }
    return '<' + utf16.toHex().toUpper() + '>';
}

} // namespace

QByteArray pdfXmpMetadata(const QString &title, const QString &author, const QString &subject)
{
    QByteArray x;
    x += "<?xpacket begin='\xEF\xBB\xBF' id='W5M0MpCehiHzreSzNTczkc9d'?>\n"
         "<x:xmpmeta xmlns:x='adobe:ns:meta/'>\n"
         "<rdf:RDF xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'>\n"
         "<rdf:Description rdf:about='' xmlns:dc='http://purl.org/dc/elements/1.1/'>\n"
         "<dc:title><rdf:Alt><rdf:li xml:lang='x-default'>" + xmlEscaped(title) + "</rdf:li></rdf:Alt></dc:title>\n"
         "<dc:creator><rdf:Seq><rdf:li>" + xmlEscaped(author) + "</rdf:li></rdf:Seq></dc:creator>\n"
         "<dc:description><rdf:Alt><rdf:li xml:lang='x-default'>" + xmlEscaped(subject) +
         "</rdf:li></rdf:Alt></dc:description>\n"
         "</rdf:Description>\n"
         "<rdf:Description rdf:about='' xmlns:xmp='http://ns.adobe.com/xap/1.0/'>\n"
         "<xmp:CreatorTool>Velmora Prüfprotokolle</xmp:CreatorTool>\n"
         "</rdf:Description>\n"
         "<rdf:Description rdf:about='' xmlns:pdfaid='http://www.aiim.org/pdfa/ns/id/'>\n"
         "<pdfaid:part>1</pdfaid:part>\n"
         "<pdfaid:conformance>B</pdfaid:conformance>\n"
         "</rdf:Description>\n"
         "</rdf:RDF>\n"
         "</x:xmpmeta>\n"
         "<?xpacket end='w'?>";
    return x;
}

QByteArray withInfoEntries(const QByteArray &pdf, const QList<QPair<QByteArray, QString>> &entries)
{
    // The trailer names the information dictionary: "/Info n 0 R".
    static const QRegularExpression infoRef(QStringLiteral("/Info\\s+(\\d+)\\s+0\\s+R"));
    const QString latin = QString::fromLatin1(pdf);
    const QRegularExpressionMatch ref = infoRef.match(latin, latin.lastIndexOf(QStringLiteral("trailer")));
    const qsizetype xrefAt = pdf.lastIndexOf("\nxref\n");
    if (!ref.hasMatch() || xrefAt < 0)
        return pdf;
    const qsizetype objAt = pdf.indexOf("\n" + ref.captured(1).toLatin1() + " 0 obj");
    const qsizetype dictEnd = objAt < 0 ? -1 : pdf.indexOf(">>", objAt);
    if (dictEnd < 0 || dictEnd > xrefAt)
        return pdf;
    QByteArray added;
    for (const auto &[name, text] : entries)
        if (!text.isEmpty())
            added += "/" + name + " " + pdfTextString(text) + "\n";
    if (added.isEmpty())
        return pdf;
    QByteArray out = pdf.left(dictEnd) + added + pdf.mid(dictEnd);
    const qsizetype shift = added.size();
    // Every object after the insertion moves; so does the table itself.
    qsizetype line = out.indexOf('\n', xrefAt + shift + 1); // after "xref"
    line = out.indexOf('\n', line + 1);                     // after "0 count"
    // Entries of 20 bytes: "0000012345 00000 n \n", "n" in use, "f" free.
    for (qsizetype at = line + 1; at + 20 <= out.size(); at += 20) {
        const char kind = out.at(at + 17);
        if (kind != 'n' && kind != 'f')
            break;
        const qint64 offset = out.mid(at, 10).toLongLong();
        if (kind == 'n' && offset > dictEnd)
            out.replace(at, 10, QByteArray::number(offset + shift).rightJustified(10, '0'));
    }
    const qsizetype startxref = out.lastIndexOf("startxref\n");
    if (startxref >= 0) {
        const qsizetype numberAt = startxref + 10;
        const qsizetype numberEnd = out.indexOf('\n', numberAt);
        out.replace(numberAt, numberEnd - numberAt, QByteArray::number(qint64(xrefAt + 1 + shift)));
    }
    return out;
}

void describePdf(QPdfWriter &writer, const QString &title, const QString &author, const QString &subject)
{
    writer.setPdfVersion(QPagedPaintDevice::PdfVersion_A1b);
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("Velmora Prüfprotokolle"));
    writer.setDocumentXmpMetadata(pdfXmpMetadata(title, author, subject));
}
