#include "ButtonGeometry.h"

#include "base/GlyphLayout.h"

#include <algorithm>

int PushButtonFrame(bool pressed, bool mouseOver, bool focusedOrDefault, bool enabled) noexcept
{
    if (!enabled)
        return bfDisabled;
    if (pressed)
        return bfPressed;
    if (mouseOver)
        return bfMouseOver;
    return focusedOrDefault ? bfFocused : bfNormal;
}

int SpeedButtonFrame(bool pressed, bool mouseOver, bool enabled, bool down) noexcept
{
    if (!enabled)
        return bfDisabled;
    if (pressed || down)
        return bfPressed;
    return mouseOver ? bfMouseOver : bfNormal;
}

int MenuButtonFrame(bool pressed, bool hot, bool enabled) noexcept
{
    if (!enabled)
        return bfDisabled;
    if (pressed)
        return bfPressed;
    return hot ? bfMouseOver : bfNormal;
}

int CheckBoxFrame(int state, bool enabled, int frameCount) noexcept
{
    int frame = state;
    if (!enabled)
        frame += 2;
    if (frameCount == 12) {
        switch (frame) {
        case 2: frame = 5; break;
        case 3: frame = 4; break;
        case 4: frame = state == kCheckGrayed ? 9 : 8; break;
        case 6: frame = 12; break;
        default: break;
        }
    }
    // A strip with fewer frames than the state asks for shows its last one.
    return std::clamp(frame, 1, std::max(frameCount, 1));
}

TCheckLayout LayoutCheckBox(TSizeI size, int markWidth, int gap, bool markRight) noexcept
{
    if (markRight)
        return {{size.Width - markWidth, 0, size.Width, size.Height}, {0, 0, size.Width - markWidth - gap, size.Height}};
    return {{0, 0, markWidth, size.Height}, {markWidth + gap, 0, size.Width, size.Height}};
}

TGlyphLayout LayoutGlyph(TSizeI client, TSizeI glyph, TSizeI text, TGlyphSide side, int margin, int spacing,
                         bool centred, int extraMargin) noexcept
{
    using namespace glyphlayout;
    static constexpr TSide kSides[] = {TSide::Left, TSide::Right, TSide::Top, TSide::Bottom};
    const auto rect = [](const TBox& box) { return TRectI{box.Left, box.Top, box.Right, box.Bottom}; };
    const TPlaces places = PlaceGlyphAndText({client.Width, client.Height}, {glyph.Width, glyph.Height},
                                             {text.Width, text.Height}, kSides[side], centred ? -1 : margin,
                                             spacing, extraMargin);
    return {rect(places.Glyph), rect(places.Text)};
}

TRectI GlyphCaptionBox(TSizeI client, TSizeI glyph, TGlyphSide side) noexcept
{
    TRectI box = Inflated({0, 0, client.Width, client.Height}, -2, -2);
    if (side == gsLeft || side == gsRight)
        box.Right -= glyph.Width + 2;
    else
        box.Bottom -= glyph.Height + 2;
    return box;
}

int ButtonGlyphFrame(bool pressed, bool enabled, bool down) noexcept
{
    if (!enabled)
        return 2;
    if (pressed)
        return 3;
    return down ? 4 : 1;
}

TMenuButtonLayout LayoutMenuButton(TSizeI face, TSizeI glyph, TSizeI text, int margin, int spacing) noexcept
{
    constexpr int kArrow = 8;
    const int width = face.Width;
    if (margin == -1 && spacing == -1) {
        margin = (width - glyph.Width - text.Width - kArrow) / 4;
        spacing = margin;
    } else if (margin == -1) {
        margin = (width - glyph.Width - text.Width - 2 * spacing - kArrow) / 2;
    } else if (spacing == -1) {
        spacing = (width - 2 * margin - glyph.Width - kArrow - text.Width) / 2;
    }
    const int glyphTop = (face.Height - glyph.Height) / 2;
    const int textX = margin + glyph.Width + spacing;
    const int textTop = (face.Height - text.Height + 1) / 2;
    const int arrowX = textX + text.Width + 2 * spacing;
    const int arrowY = (face.Height - 3) / 2;
    return {{margin, glyphTop, margin + glyph.Width, glyphTop + glyph.Height},
            {textX, textTop, textX + text.Width, textTop + text.Height},
            {{{arrowX - 3, arrowY - 1}, {arrowX + 3, arrowY - 1}, {arrowX, arrowY + 2}}}};
}

TRectI MenuCaptionBox(TSizeI face, int glyphWidth) noexcept
{
    return Inflated({0, 0, face.Width - glyphWidth - 8, face.Height}, -2, -2);
}
