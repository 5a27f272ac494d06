// Draws every bitmap of a generated skin. Sizes and margins live in
// SkinGeometry so that the skin description written beside the bitmaps
// always matches what was drawn.
#pragma once

#include "Raster.h"
#include "Theme.h"

namespace skingen {

namespace geometry {
inline constexpr int kCaption = 30;   // caption height, the Top border's frame height
inline constexpr int kBorder = 5;     // left, right and bottom border thickness
inline constexpr int kCorner = 7;     // radius of the see-through top corners
inline constexpr int kFrameWidth = 100;
inline constexpr int kFrameHeight = 64;
inline constexpr int kTopMargin = 10; // fixed ends of the Top border
inline constexpr int kLabelCap = 6;   // caption text background caps
inline constexpr int kCaptionButtonWidth = 28;
inline constexpr int kCaptionButtonHeight = 20;
inline constexpr int kCaptionButtonTop = 4;
inline constexpr int kMdiButtonWidth = 16;
inline constexpr int kMdiButtonHeight = 14;
inline constexpr int kScrollSize = 17;
} // namespace geometry

enum class TBorderSide { Left, Right, Top, Bottom };
enum class TCaptionGlyph { Close, Maximise, Restore, Minimise, Help, Icon };
enum class TScrollKind { Horizontal, Vertical };
enum class TThumbKind { Horz, Vert, Left, Right, Up, Down };

// Window frame pieces, active frame first (side by side for Left and Right,
// stacked for Top and Bottom).
TRaster DrawBorder(const TTheme& theme, TBorderSide side);
TRaster DrawCaptionLabel(const TTheme& theme);
TRaster DrawMenuBar(const TTheme& theme);
// Four frames: normal, pressed, hot, disabled.
TRaster DrawCaptionButton(const TTheme& theme, TCaptionGlyph glyph);
// Minimise, restore and close, four frames each: normal, pressed, hot, hot.
TRaster DrawMdiStrip(const TTheme& theme);

// Push button: normal, pressed, disabled, mouse over, focused.
TRaster DrawPushButton(const TTheme& theme);
// Unchecked, checked, unchecked disabled, checked disabled, mixed.
TRaster DrawCheckBox(const TTheme& theme);
TRaster DrawRadioButton(const TTheme& theme);
TRaster DrawToolButton(const TTheme& theme);

TRaster DrawProgressTrough(const TTheme& theme, bool withFill);
TRaster DrawProgressChunk(const TTheme& theme);

// 23 frames: arrows left, right, up, down (normal, pressed, disabled, hot) and grips.
TRaster DrawScrollGlyphs(const TTheme& theme);
TRaster DrawScrollTrack(const TTheme& theme, TScrollKind kind);
TRaster DrawScrollThumb(const TTheme& theme, TScrollKind kind);

// Combo button: normal, pressed, disabled, hot; with its arrow unless the
// arrow comes from ExtraImages (composed combo faces).
TRaster DrawComboButton(const TTheme& theme, bool withArrow);
TRaster DrawSunkEdge(const TTheme& theme);
// Four arrow glyphs and the size grip.
TRaster DrawExtraImages(const TTheme& theme);

TRaster DrawTab(const TTheme& theme);
TRaster DrawTabPane(const TTheme& theme);
TRaster DrawHeader(const TTheme& theme);
TRaster DrawMenuItem(const TTheme& theme);
TRaster DrawMenuBackground(const TTheme& theme);
TRaster DrawGroupBoxLabel(const TTheme& theme);
TRaster DrawGroupBoxEdge(const TTheme& theme);
TRaster DrawStatusBar(const TTheme& theme);

TRaster DrawTrackbarThumb(const TTheme& theme, TThumbKind kind);
// Up-down faces (8 frames: first arrow 1-4, second 5-8) and their glyphs.
TRaster DrawUpDownFace(const TTheme& theme, bool horizontal);
TRaster DrawUpDownGlyphs(const TTheme& theme, bool horizontal);

// Track bar channel, horizontal (16 x 4 style) or vertical.
TRaster DrawTrackChannel(const TTheme& theme, bool vertical, int length, int thickness);
// The four 16 x 16 window-menu glyphs: restore, maximise, minimise, close; black on white.
TRaster DrawMenuGlyphs();

} // namespace skingen
