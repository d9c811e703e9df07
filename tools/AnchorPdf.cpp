#include "AnchorPdf.h"
#include "ChainAnchor.h"
#include <QBuffer>
#include <QFont>
#include <QLocale>
#include <QPainter>
#include <QPdfWriter>

namespace {

QFont fontOf(qreal points, bool bold = false, bool fixed = false)
{
    QFont font(fixed ? QStringLiteral("DejaVu Sans Mono") : QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// Draws a paragraph below the last one and moves on past it.
class PageText {
public:
    PageText(QPainter &painter, const QRect &area) : m_painter(painter), m_area(area) {}
    void paragraph(const QString &text, const QFont &font, qreal spaceAfterLines = 0.6)
    {
        m_painter.setFont(font);
        const QRect room(m_area.left(), m_top, m_area.width(), m_area.bottom() - m_top);
        const QRect used = m_painter.boundingRect(room, Qt::TextWordWrap, text);
        m_painter.drawText(room, Qt::TextWordWrap, text);
        m_top = used.bottom() + static_cast<int>(m_painter.fontMetrics().height() * spaceAfterLines);
    }

private:
    QPainter &m_painter;
    QRect m_area;
    int m_top = m_area.top();
};

} // namespace

QByteArray anchorPdf(const ChainAnchor &anchor)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(QStringLiteral("Anker der Fingerabdrücke"));
        writer.setCreator(QStringLiteral("Velmora Prüfprotokolle"));
        writer.setResolution(300);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(20, 20, 20, 20),
                                         QPageLayout::Millimeter));
        QPainter painter(&writer);
        PageText page(painter, painter.viewport());
        const QLocale shown; // the program's numbers and dates
        page.paragraph(QStringLiteral("Anker der Fingerabdrücke"), fontOf(18, true), 1.2);
        page.paragraph(QStringLiteral("Datenbank: %1").arg(anchor.database), fontOf(11));
        page.paragraph(QStringLiteral("Erstellt: %1").arg(shown.toString(anchor.created, QStringLiteral("dd.MM.yyyy HH:mm"))),
                       fontOf(11));
        page.paragraph(QStringLiteral("Einträge: %1").arg(shown.toString(anchor.entries)), fontOf(11));
        page.paragraph(QStringLiteral("Kopf: %1").arg(groupedValue(anchor.head)), fontOf(10, false, true), 1.5);
        page.paragraph(QStringLiteral("Dieses Blatt hält fest, welchen Fingerabdruck der neueste Eintrag der Kette an "
                                      "diesem Tag hatte. Solange die Kette ihn an seiner Stelle behält, wurde keine "
                                      "Prüfung von vor diesem Tag unbemerkt geändert. Prüfen mit: velmora-db verify "
                                      "PFAD --anchor DATEI"),
                       fontOf(10), 3);
        page.paragraph(QStringLiteral("Unterschrift / Datum: ______________________________"), fontOf(11));
    }
    return buffer.data();
}
