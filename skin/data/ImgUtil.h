// Bitmap utilities and skin image drawing: every skinned surface is painted
// through these stateless routines from one state frame of a skin bitmap.
// Colours may be system colour references; they are resolved when painting.
// Magenta 0xFF00FF is the see-through key of every skin bitmap. Stretching
// always uses COLORONCOLOR. GUI thread only (the gradient cache is shared).
#pragma once

#include "framework/Bitmap.h"
#include "framework/GdiObjects.h"
#include "framework/Graphics.h"
#include "skin/data/ColourMath.h"

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The see-through key colour of skin bitmaps and window regions.
constexpr TColor clSkinKey = clFuchsia;

// --- Colours ---

// Weight is c1's share: percent below 100, per mille from 100 up.
TColor MixColour(TColor c1, TColor c2, int weight);
// 0..255, or 200 when no channel reaches 160.
int Saturation(TColor colour);
// Slot (0..15) of the process-wide cache holding count colours from c1 to
// c2. Throws std::invalid_argument for a count below 1.
int GradientTable(int count, TColor c1, TColor c2);
// The colours of a slot returned by GradientTable (plain 0x00BBGGRR).
const std::vector<imgcore::TRgb>& GradientColours(int slot);
// One-pixel bands from start to end, top to bottom (vertical) or left to
// right, filling only the bands inside the DC's clip box.
void FillGradientBands(HDC dc, const RECT& rect, TColor start, bool vertical, TColor end);

// --- Whole-bitmap transforms, in place ---

// Converts to 24 bits per pixel, then exact magenta pixels become colour.
void ReplaceMagenta(TBitmap& bitmap, TColor colour);
// These work on 24 or 32 bits per pixel; other formats become 24 bits first.
void MirrorHorizontally(TBitmap& bitmap);
void FlipVertically(TBitmap& bitmap);
// Quarter turns; width and height exchange.
void RotateLeft(TBitmap& bitmap);
void RotateRight(TBitmap& bitmap);

// A copy of a strip of count frames scaled for dpi (imgcore::ScaleStrip):
// each frame, and each margin band within a frame, scaled on its own; the
// see-through key stays exact (and a two-colour image with its background
// as the key stays two-coloured). 24 or 32 bits per pixel as the source
// has, 24 for any other format; an empty bitmap for an empty source.
std::unique_ptr<TBitmap> ScaleStripForDpi(const TBitmap& source, bool stacked, int count, const RECT& margins,
                                          int dpi, TColor key = clSkinKey);

// --- Drawing one state frame ---
// Frames are numbered from 1; a strip holds count equal frames side by side,
// or stacked top to bottom. Margins are border widths (left, top, right,
// bottom) within a frame. Inverted rectangles draw nothing.

// Nine-slice rendering of frame onto a new bitmap of target's size:
// corners keep their size, edges stretch, the centre stretches or tiles.
std::unique_ptr<TBitmap> RenderNineSlice(const RECT& target, const TBitmap& source, const RECT& margins,
                                         bool stacked, bool tile, int count, int frame);
// RenderNineSlice at rect's size, put on the DC at rect's top-left in one transfer.
void DrawNineSliceFrame(HDC dc, const RECT& rect, const TBitmap& source, bool stacked, bool tile,
                        bool seeThrough, int count, int frame, const RECT& margins);
// Left cap, middle repeated at its width, right cap; the full rect height.
void DrawTiledStrip(TCanvas& canvas, const RECT& rect, const TBitmap& source, bool stacked,
                    bool seeThrough, int count, int frame, const RECT& margins);
// Frame of a side-by-side strip stretched over rect.
void DrawStretchedFrame(HDC dc, const RECT& rect, const TBitmap& source, bool seeThrough, int count,
                        int frame);
// Frame of a side-by-side strip unscaled in the middle of rect.
void DrawCentredFrame(HDC dc, const RECT& rect, const TBitmap& source, bool seeThrough, int count,
                      int frame);
// Left cap, stretched middle, right cap (margins.left/right); the whole frame
// stretched when it is wider than rect. Always opaque.
void DrawThreePartFrame(HDC dc, const RECT& rect, const TBitmap& source, bool stacked, int count,
                        int frame, const RECT& margins);
// The bitmap from its (0, 0) at rect's top-left, keeping the destination
// wherever the bitmap has the key colour.
void DrawTransparent(HDC dc, const RECT& rect, const TBitmap& bitmap, TColor key);
// piece of source repeated unscaled from target's top-left; the last row and
// column are drawn whole even where they pass target.
void TileBitmap(TCanvas& canvas, const RECT& target, const TBitmap& source, const RECT& piece);

// The opaque pixels of bitmap as a region, moved by (dx, dy). A pixel is
// see-through when each channel lies from the key's value up to value plus
// tolerance. An empty region when nothing is opaque.
gdi::Region RegionFromBitmap(const TBitmap& bitmap, int dx, int dy, int blueTolerance,
                             int greenTolerance, int redTolerance, TColor key);

// Has the parent of control paint the part of itself under control into dc
// (WM_ERASEBKGND, then WM_PAINT with dc). Nothing when there is no parent.
void PaintParentBackground(HWND control, HDC dc);

// --- Text ---
std::wstring AnsiToWide(std::string_view text);
// DrawTextW; returns the text height as DrawText does.
int DrawTextWide(HDC dc, const std::wstring& text, RECT& rect, UINT format);

// --- Optional user32 services, looked up by name once ---
// GetScrollBarInfo's result, or false when the system lacks it.
bool QueryScrollBarInfo(HWND window, LONG objectId, SCROLLBARINFO& info);
// Asks for WM_MOUSELEAVE for window; nothing when the system lacks TrackMouseEvent.
void TrackMouseLeave(HWND window);
