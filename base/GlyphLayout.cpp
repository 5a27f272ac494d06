#include "GlyphLayout.h"

namespace glyphlayout {

TPlaces PlaceGlyphAndText(TExtent face, TExtent glyph, TExtent text, TSide side, int margin, int spacing,
                          int extraMargin) noexcept
{
    const bool horizontal = side == TSide::Left || side == TSide::Right;
    const int space = horizontal ? face.Width : face.Height;
    const int cross = horizontal ? face.Height : face.Width;
    const int glyphAlong = horizontal ? glyph.Width : glyph.Height;
    const int textAlong = horizontal ? text.Width : text.Height;
    if (glyphAlong <= 0 || textAlong <= 0)
        spacing = 0;
    if (margin == -1) {
        if (spacing == -1) {
            margin = (space - glyphAlong - textAlong) / 3;
            spacing = margin;
        } else {
            margin = (space - glyphAlong - spacing - textAlong) / 2 + extraMargin;
        }
    } else if (spacing == -1) {
        spacing = (space - margin - glyphAlong - textAlong) / 2;
    }
    int glyphAt = margin;
    int textAt = margin + glyphAlong + spacing;
    if (side == TSide::Right || side == TSide::Bottom) {
        glyphAt = space - margin - glyphAlong;
        textAt = glyphAt - spacing - textAlong;
    }
    const int glyphCross = (cross - (horizontal ? glyph.Height : glyph.Width) + 1) / 2;
    const int textCross = (cross - (horizontal ? text.Height : text.Width) + 1) / 2;
    if (horizontal)
        return {{glyphAt, glyphCross, glyphAt + glyph.Width, glyphCross + glyph.Height},
                {textAt, textCross, textAt + text.Width, textCross + text.Height}};
    return {{glyphCross, glyphAt, glyphCross + glyph.Width, glyphAt + glyph.Height},
            {textCross, textAt, textCross + text.Width, textAt + text.Height}};
}

} // namespace glyphlayout
