// What the skinned buttons decide before they paint: the face frame of each
// kind of button in each state, where a check box's mark and caption go,
// and where a glyph and a caption go on a bit, speed or menu button. The
// painters (SkinButtons) only draw what these say.
#pragma once

#include "skin/controls/ControlTypes.h"

#include <array>

// Frames of the Buttons bitmap.
enum TButtonFrame { bfNormal = 1, bfPressed = 2, bfDisabled = 3, bfMouseOver = 4, bfFocused = 5 };
constexpr int kButtonFrames = 5;

// The frame a push button shows.
int PushButtonFrame(bool pressed, bool mouseOver, bool focusedOrDefault, bool enabled) noexcept;

// The face frame of a speed button: Down shows pressed, disabled wins.
int SpeedButtonFrame(bool pressed, bool mouseOver, bool enabled, bool down) noexcept;

// The face frame of a menu button: hot when focused or under the mouse,
// never the default frame.
int MenuButtonFrame(bool pressed, bool hot, bool enabled) noexcept;

// Check-box states as the mark strips number them.
constexpr int kCheckUnchecked = 1;
constexpr int kCheckChecked = 2;
constexpr int kCheckGrayed = 4;

// The check-box frame: state 1 unchecked, 2 checked, 4 grayed; a disabled
// box two frames on; a strip of 12 frames has its own order. Never beyond
// the strip's frameCount.
int CheckBoxFrame(int state, bool enabled, int frameCount) noexcept;

// A check box or radio button of size: the mark's column (the full height,
// the mark centred in it) at the left, or the right for a right-hand
// button, and the caption's box beside it, gap away.
struct TCheckLayout {
    TRectI Mark;
    TRectI Text;
};
TCheckLayout LayoutCheckBox(TSizeI size, int markWidth, int gap, bool markRight) noexcept;

// Where a bit or speed button's glyph and caption go inside a face of size
// client: along the layout axis the margin and spacing (-1: shared out
// evenly), across it both centred. Spacing is 0 when either part is empty;
// a centred alignment counts as margin -1. A speed button's margin is one
// more when it is worked out from a given spacing (extraMargin 1).
enum TGlyphSide { gsLeft, gsRight, gsTop, gsBottom };
struct TGlyphLayout {
    TRectI Glyph;
    TRectI Text;
};
TGlyphLayout LayoutGlyph(TSizeI client, TSizeI glyph, TSizeI text, TGlyphSide side, int margin, int spacing,
                         bool centred, int extraMargin = 0) noexcept;

// The box a glyph button's caption is measured in (word wrap): the face
// shrunk by 2 and by the glyph and 2 more along the layout axis.
TRectI GlyphCaptionBox(TSizeI client, TSizeI glyph, TGlyphSide side) noexcept;

// The glyph frame (of up, disabled, down, down and held) a bit or speed
// button shows; a bit button is never held down.
int ButtonGlyphFrame(bool pressed, bool enabled, bool down) noexcept;

// A menu button's row of a face: margin, the glyph, spacing, the caption,
// twice the spacing and the drop-down arrow, a triangle pointing down whose
// first two corners are its base.
struct TMenuButtonLayout {
    TRectI Glyph;
    TRectI Text;
    std::array<TPointI, 3> Arrow;
};
TMenuButtonLayout LayoutMenuButton(TSizeI face, TSizeI glyph, TSizeI text, int margin, int spacing) noexcept;

// The box a menu button's caption is measured in: the face less the glyph
// and the arrow, shrunk by 2.
TRectI MenuCaptionBox(TSizeI face, int glyphWidth) noexcept;
