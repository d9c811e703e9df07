#include "AttentionLook.h"

namespace {

QColor colourOf(AttentionKind kind)
{
    switch (kind) {
    case AttentionKind::Overdue:
    case AttentionKind::Failed: return QColor(0xf8, 0xcb, 0xc6);
    case AttentionKind::DueSoon: return QColor(0xff, 0xf0, 0xb3);
    case AttentionKind::NearLimit: return QColor(0xfd, 0xdc, 0xb5);
    }
    return {};
}

QString symbolOf(AttentionKind kind)
{
    switch (kind) {
    case AttentionKind::Overdue: return QStringLiteral("!");
    case AttentionKind::DueSoon: return QStringLiteral("F");
    case AttentionKind::Failed: return QStringLiteral("×");
    case AttentionKind::NearLimit: return QStringLiteral("G");
    }
    return {};
}

} // namespace

TRowMark attentionRowMark(const TAttention &attention)
{
    TRowMark mark;
    if (attention.isEmpty())
        return mark;
    mark.colour = colourOf(attention.marks.front().kind);
    for (const TAttentionMark &m : attention.marks)
        mark.symbol += symbolOf(m.kind);
    mark.toolTip = attention.shortText() + QLatin1Char('\n') + attention.reasons();
    return mark;
}
