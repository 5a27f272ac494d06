// The arithmetic of a skinned scroll bar, kept apart from the windows so it
// builds and is tested natively too: where the thumb of a scroll-bar control
// lies, which part a point hits, how long the arrows are on a short bar, how
// thick the glyphs are drawn, where a dragged thumb is shown and which
// position a thumb dragged in a drop-down list stands for.
//
// Lengths are along the bar's axis (height of a vertical bar, width of a
// horizontal one); thumb extents are measured from the bar's start.
#pragma once

// Parts of a bar, numbered as the system's scroll request codes so that a
// scroll notification's code names the part it came from.
enum TScrollPart {
    spNone = -1, spFirstArrow = 0, spSecondArrow = 1, spPageBefore = 2, spPageAfter = 3, spThumb = 5
};

// The thumb of a scroll-bar control is never drawn shorter than this.
constexpr int kMinThumb = 8;
// A range that would be empty (max = min) is taken as this, so the thumb stays at the start.
constexpr int kEmptyRange = 9999999;

struct TThumbExtent {
    int Start = 0;
    int End = 0;
    bool operator==(const TThumbExtent&) const = default;
};

struct TScrollRange {
    int Min = 0;
    int Max = 0;
    int Page = 0;
    int Position = 0;
};

// a * b / c rounded half away from zero, as the system's MulDiv; -1 when c
// is 0 or the result does not fit.
int MulDivRound(int a, int b, int c) noexcept;

// The thumb of a scroll-bar control of length (arrows of buttonSize at both ends).
TThumbExtent ControlThumb(int length, int buttonSize, const TScrollRange& range) noexcept;

// The part at `along` on a bar of length.
TScrollPart ScrollHitTest(int along, int length, int buttonSize, TThumbExtent thumb) noexcept;

// Each arrow's length: the button size, or half the bar when it is shorter than two buttons.
int ArrowLength(int length, int buttonSize) noexcept;

// The glyph thickness: the skin's glyph size unless it is more than 2
// pixels off the system's arrow size, then the arrow size.
int BarThickness(int glyphSize, int buttonSize) noexcept;

// The thumb shown while the system drags it: moved with the cursor from
// where it was at the press, kept between the arrows.
TThumbExtent DragThumb(int startAtPress, int cursorDelta, int length, int buttonSize, int thumbLength) noexcept;

// The position a drop-down list's thumb dragged to offset (from the end of
// the first arrow) stands for, on a track of trackLength with a thumb of
// thumbLength; never below min.
int TrackedPosition(int offset, int trackLength, int thumbLength, const TScrollRange& range) noexcept;
