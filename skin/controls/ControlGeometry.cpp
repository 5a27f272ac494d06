#include "ControlGeometry.h"

#include <algorithm>

// --- Combo boxes ---

TComboLook ComboLookOf(int buttonStyle, bool extended) noexcept
{
    if (extended && buttonStyle != 1)
        return TComboLook::Extended;
    if (buttonStyle == 2)
        return TComboLook::Composed;
    return buttonStyle == 1 ? TComboLook::Thin : TComboLook::Separate;
}

namespace {

TComboLayout LayoutThinCombo(const TComboInput& input) noexcept
{
    TComboLayout layout;
    const TRectI inner = Inflated(input.Bounds, -2, -2);
    const int frameWidth = input.ButtonFrame.Width;
    const int bandWidth = std::max(input.ThumbBand, frameWidth);
    layout.Band = inner;
    layout.Button = inner;
    if (input.ButtonLeft) {
        layout.Band.Right = std::min(inner.Right, inner.Left + bandWidth);
        layout.Button.Right = inner.Left + frameWidth;
    } else {
        layout.Band.Left = std::max(inner.Left, inner.Right - bandWidth);
        layout.Button.Left = inner.Right - frameWidth;
    }
    // An image shorter than the band is not stretched to the box's height.
    if (input.ButtonFrame.Height < input.ThumbBand)
        layout.Button.Bottom = std::min(layout.Button.Bottom, layout.Button.Top + input.ButtonFrame.Height);
    return layout;
}

TComboLayout LayoutSeparateCombo(const TComboInput& input) noexcept
{
    const TRectI& r = input.Bounds;
    const int w = input.ArrowWidth;
    TComboLayout layout;
    if (input.ButtonLeft) {
        layout.Button = {r.Left, r.Top, r.Left + w + 2, r.Bottom};
        layout.GlyphArea = {r.Left + 2, r.Top, r.Left + w + 2, r.Bottom};
        layout.Inside = {r.Left + w + 4, r.Top + 2, r.Right - 2, r.Bottom - 2};
    } else {
        layout.Button = {r.Right - w - 2, r.Top, r.Right - 2, r.Bottom};
        layout.GlyphArea = layout.Button;
        layout.Inside = {r.Left + 2, r.Top + 2, r.Right - w - 4, r.Bottom - 2};
    }
    return layout;
}

} // namespace

TComboLayout LayoutCombo(const TComboInput& input) noexcept
{
    switch (input.Look) {
    case TComboLook::Thin:
        return LayoutThinCombo(input);
    case TComboLook::Separate:
        return LayoutSeparateCombo(input);
    default: {
        // These faces cover the box; the button is where the box has it.
        TComboLayout layout;
        layout.Button = input.SystemButton.value_or(TRectI{});
        return layout;
    }
    }
}

int ComboFaceFrame(bool enabled, bool pressed, bool focused, bool mouseOver) noexcept
{
    if (!enabled)
        return ffDisabled;
    if (pressed)
        return ffPressed;
    return focused || mouseOver ? ffHot : ffNormal;
}

// --- Up-down buttons ---

TRectI UpDownFace(TSizeI size, const std::optional<TRectI>& edit) noexcept
{
    const TRectI whole{0, 0, size.Width, size.Height};
    if (!edit)
        return whole;
    TRectI face = whole;
    face.Top = std::max(face.Top, edit->Top + 3);
    face.Right = std::min(face.Right, edit->Right - 3);
    face.Bottom = std::min(face.Bottom, edit->Bottom - 3);
    if (face.Right <= face.Left || face.Bottom <= face.Top)
        return whole;
    return face;
}

TUpDownHalves SplitUpDown(const TRectI& face, bool horizontal) noexcept
{
    if (horizontal) {
        const TRectI first{face.Left, face.Top, face.Left + face.Width() / 2, face.Bottom};
        return {first, {first.Right, face.Top, face.Right, face.Bottom}};
    }
    const TRectI first{face.Left, face.Top, face.Right, face.Top + face.Height() / 2};
    return {first, {face.Left, first.Bottom, face.Right, face.Bottom}};
}

int UpDownHalfFrame(const TRectI& half, bool enabled, bool pressed, TPointI pointer) noexcept
{
    if (!enabled)
        return ffDisabled;
    return pressed && Contains(half, pointer) ? ffPressed : ffNormal;
}

// --- Headers ---

int HeaderItemAt(std::span<const TRectI> items, TPointI point) noexcept
{
    for (size_t i = 0; i < items.size(); ++i)
        if (Contains(Inflated(items[i], -3, 0), point))
            return static_cast<int>(i);
    return -1;
}

int HeaderItemFrame(bool hot, int frameCount) noexcept
{
    return hot ? std::min(2, std::max(1, frameCount)) : 1;
}

// --- Status bars ---

TRectI StatusPanelRect(const TRectI& part, int index, int count, int clientRight) noexcept
{
    TRectI face = part;
    face.Right = index == count - 1 ? clientRight : part.Right + 2;
    return face;
}

int StatusPanelFrame(bool noBorders, bool popOut) noexcept
{
    if (noBorders)
        return 3;
    return popOut ? 2 : 1;
}

TRectI SizeGripRect(const TRectI& bounds, TSizeI grip) noexcept
{
    return {bounds.Right - grip.Width, bounds.Bottom - grip.Height, bounds.Right, bounds.Bottom};
}

// --- Group boxes ---

TGroupBoxLayout LayoutGroupBox(const TRectI& bounds, int digitHeight, TSizeI text, bool rightAligned) noexcept
{
    // The line runs through the middle of the caption's first line.
    const int line = bounds.Top + digitHeight / 2 - 1;
    TGroupBoxLayout layout;
    layout.Outline = {bounds.Left + 1, line, bounds.Right - 1, bounds.Bottom - 1};
    layout.Legacy = {bounds.Left, line, bounds.Right, bounds.Bottom};
    const int width = std::min(text.Width, bounds.Width() - 16);
    const int left = rightAligned ? bounds.Right - 8 - width : bounds.Left + 8;
    layout.Caption = {left, bounds.Top, left + width, bounds.Top + text.Height};
    return layout;
}

// --- Tab strips ---

TTabSide TabSideOf(bool bottom, bool vertical) noexcept
{
    if (vertical)
        return bottom ? tsdRight : tsdLeft;
    return bottom ? tsdBottom : tsdTop;
}

TRectI ToUprightStrip(const TRectI& rect, const TRectI& strip, TTabSide side) noexcept
{
    switch (side) {
    case tsdLeft:
        // Turned a quarter counter-clockwise afterwards: the strip's bottom
        // becomes the upright strip's left.
        return {strip.Bottom - rect.Bottom, rect.Left - strip.Left, strip.Bottom - rect.Top, rect.Right - strip.Left};
    case tsdRight:
        // Turned a quarter clockwise afterwards: the strip's top becomes the
        // upright strip's left, its right edge the upright top.
        return {rect.Top - strip.Top, strip.Right - rect.Right, rect.Bottom - strip.Top, strip.Right - rect.Left};
    default:
        return {rect.Left - strip.Left, rect.Top - strip.Top, rect.Right - strip.Left, rect.Bottom - strip.Top};
    }
}

TPointI ToUprightPoint(TPointI point, const TRectI& strip, TTabSide side) noexcept
{
    const TRectI pixel = ToUprightStrip({point.X, point.Y, point.X + 1, point.Y + 1}, strip, side);
    return {pixel.Left, pixel.Top};
}

TStripGeometry TabStripGeometry(const TRectI& bounds, const TRectI& display, TTabSide side) noexcept
{
    // The control's display area leaves its border out; the pane covers it.
    TRectI pane = Inflated(display, 4, 4);
    TRectI strip = bounds;
    switch (side) {
    case tsdBottom:
        pane.Bottom -= 1;
        strip.Top = pane.Bottom;
        break;
    case tsdLeft:
        pane.Left += 1;
        strip.Right = pane.Left;
        break;
    case tsdRight:
        pane.Right -= 1;
        strip.Left = pane.Right;
        break;
    default:
        pane.Top += 1;
        strip.Bottom = pane.Top;
        break;
    }
    TStripGeometry geometry;
    geometry.Display = Intersection(pane, bounds);
    geometry.Strip = Intersection(strip, bounds);
    const TSizeI size{geometry.Strip.Width(), geometry.Strip.Height()};
    const bool turned = side == tsdLeft || side == tsdRight;
    geometry.Upright = turned ? TSizeI{size.Height, size.Width} : size;
    return geometry;
}

TRectI UprightTab(const TRectI& item, const TStripGeometry& geometry, TTabSide side) noexcept
{
    return Offset(ToUprightStrip(item, geometry.Strip, side), 0, side == tsdBottom ? -1 : 1);
}

int TabFrame(int index, int selected, int hot, bool enabled, int frameCount) noexcept
{
    constexpr int kNormal = 1;
    constexpr int kSelected = 2;
    constexpr int kHot = 3;
    constexpr int kDisabled = 4;
    if (!enabled && frameCount >= kDisabled)
        return kDisabled;
    if (index == selected)
        return kSelected;
    if (index == hot && frameCount >= kHot)
        return kHot;
    return kNormal;
}

TRectI TabCloseBox(const TRectI& uprightTab) noexcept
{
    return {uprightTab.Right - 8, uprightTab.Top + 2, uprightTab.Right - 2, uprightTab.Top + 8};
}

bool HitsCloseBox(const TRectI& box, TPointI upright) noexcept
{
    return upright.X >= box.Left && upright.X <= box.Right && upright.Y >= box.Top && upright.Y <= box.Bottom;
}
