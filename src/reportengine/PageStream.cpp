#include "PageStream.h"
#include <QPainter>
#include <QPainterPath>

void paintPage(QPainter &painter, const TPage &page)
{
    const QFont *font = nullptr;
    const QPen line(Qt::black, 2);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(Qt::black);
    for (const TPiece &p : page) {
        switch (p.kind) {
        case TPiece::Kind::Text:
            if (font != p.font) {
                font = p.font;
                painter.setFont(*font);
            }
            painter.drawText(QPointF(p.rect.left(), p.baseline), p.text);
            break;
        case TPiece::Kind::Image:
            painter.drawImage(p.rect, p.image);
            break;
        case TPiece::Kind::QrCode:
            painter.fillPath(qrCodePath(p.qrCode, p.rect), Qt::black);
            break;
        case TPiece::Kind::Shade:
            painter.fillRect(p.rect, QColor(232, 232, 232));
            break;
        case TPiece::Kind::Frame:
            painter.setPen(line);
            painter.drawRect(p.rect);
            painter.setPen(Qt::black);
            break;
        case TPiece::Kind::Rule:
            painter.setPen(line);
            painter.drawLine(p.rect.topLeft(), p.rect.topRight());
            painter.setPen(Qt::black);
            break;
        }
    }
}
