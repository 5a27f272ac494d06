// What the skinned combo boxes, up-down buttons, headers, status bars,
// group boxes and tab strips decide before they paint: where their parts
// go and which frame each part shows. One function serves the painter and
// the mouse, so what is hot is always what was drawn.
// Rectangles are in window coordinates (origin at the window's corner)
// unless said otherwise.
#pragma once

#include "skin/controls/ControlTypes.h"

#include <optional>
#include <span>

// Face frames shared by the combo box and the up-down buttons.
enum TFaceFrame { ffNormal = 1, ffPressed = 2, ffDisabled = 3, ffHot = 4 };

// --- Combo boxes ---

// How the skin draws a combo box: a separate button glyph on the sunk edge,
// a thin border around a stretched button, one face composed with the sunk
// edge, or (a box with images) the edit frame with the arrow on the button.
enum class TComboLook { Separate, Thin, Composed, Extended };

// The look for the ComboButton object's Style; a box with images keeps its
// own look unless the skin asks for the thin one.
TComboLook ComboLookOf(int buttonStyle, bool extended) noexcept;

struct TComboInput {
    TRectI Bounds;                      // the whole window
    TComboLook Look = TComboLook::Separate;
    bool ButtonLeft = false;            // left-hand (mirrored) layout
    std::optional<TRectI> SystemButton; // the button where the box says it is
    int ArrowWidth = 0;                 // the system's scroll-arrow width
    int ThumbBand = 0;                  // the system's vertical thumb height
    TSizeI ButtonFrame;                 // one frame of the ComboButton image
};

struct TComboLayout {
    TRectI Button;    // the drop-down button: drawn there, hot there
    TRectI GlyphArea; // separate look: where the extra glyph is centred
    TRectI Band;      // thin look: the strip filled under the button
    TRectI Inside;    // separate look: the control's own text area, left unpainted
};
TComboLayout LayoutCombo(const TComboInput& input) noexcept;

int ComboFaceFrame(bool enabled, bool pressed, bool focused, bool mouseOver) noexcept;

// --- Up-down buttons ---

// The face of an up-down of size: all of it, or inside an edit (the edit's
// rectangle given) clear of the edit's border at the top, right and bottom;
// all of it again when nothing would be left.
TRectI UpDownFace(TSizeI size, const std::optional<TRectI>& edit) noexcept;

struct TUpDownHalves {
    TRectI First;  // up, or left
    TRectI Second; // down, or right
};
TUpDownHalves SplitUpDown(const TRectI& face, bool horizontal) noexcept;

// A half shows pressed while the button is held with the pointer on it.
int UpDownHalfFrame(const TRectI& half, bool enabled, bool pressed, TPointI pointer) noexcept;

// --- Headers ---

// The item under point (client coordinates) of items, or -1; three pixels
// at each item's ends belong to the dividers the user drags.
int HeaderItemAt(std::span<const TRectI> items, TPointI point) noexcept;

// An item's frame of the Headerbar image: 2 under the mouse when there is one.
int HeaderItemFrame(bool hot, int frameCount) noexcept;

// --- Status bars ---

// The face of part `index` of `count` from the rectangle the bar gives it:
// each face reaches the next part over the bar's gap of 2, the last the
// client's right edge.
TRectI StatusPanelRect(const TRectI& part, int index, int count, int clientRight) noexcept;

// The StatusBarEdges frame: 1 lowered, 2 raised (pop-out), 3 no bevel.
int StatusPanelFrame(bool noBorders, bool popOut) noexcept;

// The size grip in the bottom-right corner of bounds.
TRectI SizeGripRect(const TRectI& bounds, TSizeI grip) noexcept;

// --- Group boxes ---

struct TGroupBoxLayout {
    TRectI Outline; // the rounded line
    TRectI Legacy;  // the system's own two-line frame, covered on a bare box
    TRectI Caption; // empty without a caption
};
// digitHeight: the font's height (of "0"); text: the caption's size.
TGroupBoxLayout LayoutGroupBox(const TRectI& bounds, int digitHeight, TSizeI text, bool rightAligned) noexcept;

// --- Tab strips ---

// Which side the tabs are on.
enum TTabSide { tsdTop = 0, tsdBottom = 1, tsdLeft = 2, tsdRight = 3 };

// The side a tab control's style bits (bottom, vertical) put its tabs on.
TTabSide TabSideOf(bool bottom, bool vertical) noexcept;

// A rectangle of the control (origin at its corner) in the upright strip,
// the strip `strip` (control coordinates) drawn as if the tabs were on top.
TRectI ToUprightStrip(const TRectI& rect, const TRectI& strip, TTabSide side) noexcept;
// A point's pixel, turned the same way.
TPointI ToUprightPoint(TPointI point, const TRectI& strip, TTabSide side) noexcept;

struct TStripGeometry {
    TRectI Display; // the pane
    TRectI Strip;   // the tabs' side of the control outside the pane
    TSizeI Upright; // the strip as drawn, tabs on top
};
// From the control's rectangle and its display area as the control reports it.
TStripGeometry TabStripGeometry(const TRectI& bounds, const TRectI& display, TTabSide side) noexcept;

// A tab item's rectangle in the upright strip: every tab stands one pixel
// further on the pane's edge.
TRectI UprightTab(const TRectI& item, const TStripGeometry& geometry, TTabSide side) noexcept;

// A tab's frame of the Tabs image: 2 selected, 3 under the mouse, 4 disabled
// (the last two only when the image has them), else 1.
int TabFrame(int index, int selected, int hot, bool enabled, int frameCount) noexcept;

// The close box on an upright tab; a point hits it up to and including its
// right and bottom lines, as it is drawn.
TRectI TabCloseBox(const TRectI& uprightTab) noexcept;
bool HitsCloseBox(const TRectI& box, TPointI upright) noexcept;
