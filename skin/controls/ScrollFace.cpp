// The face of one skinned scroll bar: arrows, track, thumb and grip from the
// skin's Scrollbar, HorzScroll/VertScroll and HorzScrollThumb/VertScrollThumb
// images; the overlays and the drop-down lists' bar paint with it.
#include "SkinScrollbar.h"

#include "skin/controls/SkinButtons.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/WinSkinData.h"

#include <algorithm>

int ArrowSize(bool vertical) noexcept
{
    // The system's metric, not the record's dxyLineButton: Wine reports the
    // thumb's length there.
    return GetSystemMetrics(vertical ? SM_CYVSCROLL : SM_CXHSCROLL);
}

namespace {

// Frames of the Scrollbar image (23 side by side).
constexpr int kGlyphFrames = 23;
enum TGlyphFrame {
    gfLeft = 1, gfRight = 5, gfUp = 9, gfDown = 13, gfHorzGrip = 17, gfVertGrip = 20
};
constexpr int kPressedOffset = 1;
constexpr int kArrowOverOffset = 3;
constexpr int kGripOverOffset = 2;
// Frames of the track images: enabled, and greyed by the system.
constexpr int kTrackFrames = 4;
constexpr int kTrackEnabled = 1;
constexpr int kTrackGreyed = 3;
constexpr int kDefaultThumbFrames = 3;

RECT Span(const TScrollFace& face, int from, int to)
{
    return face.Vertical ? RECT{0, from, face.Breadth, to} : RECT{from, 0, to, face.Breadth};
}

// A glyph square of size across the bar, centred across it, from..to along it.
RECT GlyphRect(const TScrollFace& face, int from, int to, int size)
{
    const int across = std::max(0, (face.Breadth - size) / 2);
    return face.Vertical ? RECT{across, from, across + size, to} : RECT{from, across, to, across + size};
}

int ArrowFrame(int normal, int part, const TScrollFace& face)
{
    if (face.HotPart != part)
        return normal;
    return normal + (face.Tracking ? kPressedOffset : kArrowOverOffset);
}

void DrawThumb(HDC dc, const TSkinData& skin, const TScrollFace& face, int gripSize)
{
    const TDataSkinObject* thumb = face.Vertical ? skin.VertScrollThumb() : skin.HorzScrollThumb();
    const bool hot = face.HotPart == spThumb;
    if (thumb) {
        const int count = thumb->FrameCount > 0 ? thumb->FrameCount : kDefaultThumbFrames;
        const int frame = std::min(count, hot ? (face.Tracking ? 2 : 3) : 1);
        DrawSkinObjectFrame(dc, Span(face, face.Thumb.Start, face.Thumb.End), count, frame, *thumb);
    }
    if (face.Thumb.End - face.Thumb.Start <= gripSize + 2)
        return;
    const int middle = (face.Thumb.Start + face.Thumb.End) / 2;
    const int frame = (face.Vertical ? gfVertGrip : gfHorzGrip) + (hot ? (face.Tracking ? kPressedOffset : kGripOverOffset) : 0);
    DrawStretchedFrame(dc, GlyphRect(face, middle - gripSize / 2, middle - gripSize / 2 + gripSize, gripSize),
                       *skin.Scrollbar()->Bitmap, true, kGlyphFrames, frame);
}

} // namespace

bool PaintScrollFace(HDC dc, const RECT& rect, const TSkinData& skin, const TScrollFace& face, TBitmap& work)
{
    const TDataSkinObject* glyphs = skin.Scrollbar();
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (!glyphs || !glyphs->Bitmap || glyphs->Bitmap->Empty() || width <= 0 || height <= 0)
        return false;
    if (work.Width() != width || work.Height() != height)
        work.SetSize(width, height);
    HDC canvas = work.Canvas().Handle();
    TSkinControl::FillColor(canvas, {0, 0, width, height}, skin.SkinColor(scButtonFace));

    const int arrow = ArrowLength(face.Length, face.ButtonSize);
    if (const TDataSkinObject* track = face.Vertical ? skin.VertScroll() : skin.HorzScroll())
        DrawSkinObjectFrame(canvas, Span(face, arrow, face.Length - arrow), kTrackFrames,
                            face.Available ? kTrackEnabled : kTrackGreyed, *track);

    const TBitmap& strip = *glyphs->Bitmap;
    const int gripSize = strip.Height();
    const int thickness = std::min(face.Breadth, BarThickness(gripSize, face.ButtonSize));
    DrawStretchedFrame(canvas, GlyphRect(face, 0, arrow, thickness), strip, true, kGlyphFrames,
                       ArrowFrame(face.Vertical ? gfUp : gfLeft, spFirstArrow, face));
    DrawStretchedFrame(canvas, GlyphRect(face, face.Length - arrow, face.Length, thickness), strip, true,
                       kGlyphFrames, ArrowFrame(face.Vertical ? gfDown : gfRight, spSecondArrow, face));

    const bool thumbInside = face.Thumb.End > face.Thumb.Start && face.Thumb.Start >= 0
                             && face.Thumb.End <= face.Length;
    if (face.Available && thumbInside)
        DrawThumb(canvas, skin, face, gripSize);
    BitBlt(dc, rect.left, rect.top, width, height, canvas, 0, 0, SRCCOPY);
    return true;
}
