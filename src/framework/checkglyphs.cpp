#include "framework/checkglyphs.h"

#include <QPainter>

#include <array>
#include <map>

namespace {

QColor baseColour(CheckGlyphState state)
{
    switch (state) {
    case CheckGlyphState::Unchecked:
        return QColor(0, 200, 0);
    case CheckGlyphState::Checked:
        return QColor(230, 0, 0);
    case CheckGlyphState::Undecided:
        break;
    }
    return QColor(150, 150, 150);
}

QColor lookColour(CheckGlyphState state, CheckGlyphLook look)
{
    const QColor base = baseColour(state);
    switch (look) {
    case CheckGlyphLook::Darker:
        return base.darker(150);
    case CheckGlyphLook::Paler:
        return base.lighter(140);
    case CheckGlyphLook::Normal:
        break;
    }
    return base;
}

QPixmap paint(CheckGlyphState state, CheckGlyphLook look)
{
    QPixmap pixmap(checkGlyphSize, checkGlyphSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    const QColor fill = lookColour(state, look);
    painter.setPen(fill.darker(170));
    painter.setBrush(fill);
    painter.drawRect(2, 2, checkGlyphSize - 5, checkGlyphSize - 5);
    // A light bevel so the square reads as a button face.
    painter.setPen(fill.lighter(150));
    painter.drawLine(3, 3, checkGlyphSize - 5, 3);
    painter.drawLine(3, 3, 3, checkGlyphSize - 5);
    return pixmap;
}

} // namespace

QPixmap checkGlyph(CheckGlyphState state, CheckGlyphLook look)
{
    static std::map<std::pair<CheckGlyphState, CheckGlyphLook>, QPixmap> cache;
    auto& pixmap = cache[{state, look}];
    if (pixmap.isNull())
        pixmap = paint(state, look);
    return pixmap;
}
