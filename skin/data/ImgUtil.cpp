#include "ImgUtil.h"

#include "skin/data/DpiScale.h"
#include "skin/data/ImageGeometry.h"
#include "skin/data/PixelOps.h"

#include <algorithm>
#include <climits>
#include <cstring>

using imgcore::TPiece;
using imgcore::TRectI;

namespace {

TRectI ToRectI(const RECT& rect) noexcept
{
    return {rect.left, rect.top, rect.right, rect.bottom};
}

imgcore::TMargins ToMargins(const RECT& margins) noexcept
{
    return {margins.left, margins.top, margins.right, margins.bottom};
}

imgcore::TRgb PlainColour(TColor colour) noexcept
{
    return static_cast<imgcore::TRgb>(ColorToRGB(colour));
}

TRectI FrameOf(const TBitmap& source, bool stacked, int count, int frame) noexcept
{
    return imgcore::FrameOf(source.Width(), source.Height(), stacked, count, frame);
}

// Negative sizes would mirror the picture; GDI draws nothing for zero.
bool Drawable(const TRectI& rect) noexcept
{
    return rect.Width() >= 0 && rect.Height() >= 0;
}

void Stretch(HDC target, const TRectI& to, HDC source, const TRectI& from)
{
    if (!Drawable(to) || !Drawable(from))
        return;
    // Dropping eliminated pixels keeps skin colours exact (no blended magenta).
    const int previousMode = SetStretchBltMode(target, COLORONCOLOR);
    StretchBlt(target, to.Left, to.Top, to.Width(), to.Height(), source, from.Left, from.Top,
               from.Width(), from.Height(), SRCCOPY);
    if (previousMode)
        SetStretchBltMode(target, previousMode);
}

void Tile(HDC target, const TRectI& area, HDC source, const TRectI& piece)
{
    if (!Drawable(piece))
        return;
    for (const TRectI& tile : imgcore::TileTargets(area, piece.Width(), piece.Height()))
        BitBlt(target, tile.Left, tile.Top, piece.Width(), piece.Height(), source, piece.Left, piece.Top,
               SRCCOPY);
}

void DrawPieces(HDC target, const std::vector<TPiece>& pieces, const TBitmap& source)
{
    const HDC sourceDC = source.Canvas().Handle();
    for (const TPiece& piece : pieces) {
        if (piece.Tile)
            Tile(target, piece.Target, sourceDC, piece.Source);
        else
            Stretch(target, piece.Target, sourceDC, piece.Source);
    }
}

// source from origin onto target, keeping the destination under key pixels:
// a monochrome mask (key white) and one masked transfer.
void MaskedCopy(HDC dc, const TRectI& target, const TBitmap& source, POINT origin, TColor key)
{
    const int width = std::min<int>(target.Width(), source.Width() - origin.x);
    const int height = std::min<int>(target.Height(), source.Height() - origin.y);
    if (width <= 0 || height <= 0)
        return;
    const HDC sourceDC = source.Canvas().Handle();
    gdi::Bitmap mask(CreateBitmap(width, height, 1, 1, nullptr));
    gdi::MemoryDC maskDC(dc);
    {
        gdi::Selection selected(maskDC.Get(), mask.Get());
        // Colour to monochrome: pixels of the source's background colour turn white.
        const COLORREF background = SetBkColor(sourceDC, ColorToRGB(key));
        BitBlt(maskDC.Get(), 0, 0, width, height, sourceDC, origin.x, origin.y, SRCCOPY);
        SetBkColor(sourceDC, background);
    }
    // Foreground (mask white): keep the destination; background: copy the source.
    MaskBlt(dc, target.Left, target.Top, width, height, sourceDC, origin.x, origin.y, mask.Get(), 0, 0,
            MAKEROP4(0x00AA0029, SRCCOPY));
}

// A finished work bitmap onto the DC at rect's top-left.
void Present(HDC dc, const TRectI& rect, const TBitmap& work, bool seeThrough)
{
    if (seeThrough)
        MaskedCopy(dc, rect, work, {0, 0}, clSkinKey);
    else
        BitBlt(dc, rect.Left, rect.Top, work.Width(), work.Height(), work.Canvas().Handle(), 0, 0, SRCCOPY);
}

// Fills a work bitmap the size of the area, then presents it; an inverted
// area, or one too large for a bitmap, draws nothing.
template <class Fill>
void DrawThroughWork(HDC dc, const TRectI& area, bool seeThrough, Fill fill)
{
    if (area.Inverted())
        return;
    TBitmap work(area.Width(), area.Height(), pf24bit);
    if (work.Empty())
        return;
    fill(work.Canvas().Handle());
    Present(dc, area, work, seeThrough);
}

imgcore::TGradientCache& GradientCache()
{
    static imgcore::TGradientCache cache;
    return cache;
}

// 24 or 32 bits per pixel, converting anything else to 24.
imgcore::TPixelView TrueColourView(TBitmap& bitmap)
{
    if (bitmap.PixelFormat() != pf24bit && bitmap.PixelFormat() != pf32bit)
        bitmap.SetPixelFormat(pf24bit);
    if (bitmap.Empty())
        return {};
    return {bitmap.ScanLine(0), bitmap.Width(), bitmap.Height(),
            static_cast<std::ptrdiff_t>(bitmap.RowBytes()), bitmap.PixelFormat() == pf32bit ? 4 : 3};
}

// In place: the pixels are kept aside, the bitmap takes the turned size and
// is written from them, so its format and settings stay as they were.
template <class Turn>
void Rotate(TBitmap& bitmap, Turn turn)
{
    const imgcore::TPixelView view = TrueColourView(bitmap);
    if (bitmap.Empty())
        return;
    std::vector<std::uint8_t> pixels(view.Bits, view.Bits + view.Stride * view.Height);
    imgcore::TPixelView source = view;
    source.Bits = pixels.data();
    bitmap.SetSize(view.Height, view.Width);
    turn(source, TrueColourView(bitmap));
}

// The rectangles of one batch as region data, made into a region.
gdi::Region RegionOfRuns(std::span<const TRectI> runs, const TRectI& bounds)
{
    std::vector<std::uint8_t> data(sizeof(RGNDATAHEADER) + runs.size() * sizeof(RECT));
    RGNDATAHEADER header{};
    header.dwSize = sizeof(RGNDATAHEADER);
    header.iType = RDH_RECTANGLES;
    header.nCount = static_cast<DWORD>(runs.size());
    header.rcBound = {bounds.Left, bounds.Top, bounds.Right, bounds.Bottom};
    std::memcpy(data.data(), &header, sizeof(header));
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const RECT rect{runs[i].Left, runs[i].Top, runs[i].Right, runs[i].Bottom};
        std::memcpy(data.data() + sizeof(RGNDATAHEADER) + i * sizeof(RECT), &rect, sizeof(RECT));
    }
    return gdi::Region(ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()),
                                       reinterpret_cast<const RGNDATA*>(data.data())));
}

} // namespace

// --- Colours ---

TColor MixColour(TColor c1, TColor c2, int weight)
{
    return static_cast<TColor>(imgcore::MixColour(PlainColour(c1), PlainColour(c2), weight));
}

int Saturation(TColor colour)
{
    return imgcore::Saturation(PlainColour(colour));
}

int GradientTable(int count, TColor c1, TColor c2)
{
    return GradientCache().Table(count, PlainColour(c1), PlainColour(c2));
}

const std::vector<imgcore::TRgb>& GradientColours(int slot)
{
    return GradientCache().Entries(slot);
}

void FillGradientBands(HDC dc, const RECT& rect, TColor start, bool vertical, TColor end)
{
    if (!RectVisible(dc, &rect))
        return;
    const int length = vertical ? rect.bottom - rect.top : rect.right - rect.left;
    if (length <= 0)
        return;
    RECT clip{};
    GetClipBox(dc, &clip);
    const int clipStart = vertical ? clip.top - rect.top : clip.left - rect.left;
    const int clipEnd = vertical ? clip.bottom - rect.top : clip.right - rect.left;
    const int first = std::max(0, clipStart);
    const int last = std::min(length - 1, clipEnd - 1);
    const std::vector<imgcore::TRgb>& colours = GradientColours(GradientTable(length, start, end));
    // An opaque ExtTextOut fills with the background colour and makes no brush.
    const COLORREF background = GetBkColor(dc);
    for (int band = first; band <= last; ++band) {
        const RECT strip = vertical ? RECT{rect.left, rect.top + band, rect.right, rect.top + band + 1}
                                    : RECT{rect.left + band, rect.top, rect.left + band + 1, rect.bottom};
        SetBkColor(dc, colours[static_cast<std::size_t>(band)]);
        ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &strip, nullptr, 0, nullptr);
    }
    SetBkColor(dc, background);
}

// --- Transforms ---

void ReplaceMagenta(TBitmap& bitmap, TColor colour)
{
    bitmap.SetPixelFormat(pf24bit);
    if (!bitmap.Empty())
        imgcore::ReplaceColour(TrueColourView(bitmap), 0xFF00FF, PlainColour(colour));
}

void MirrorHorizontally(TBitmap& bitmap)
{
    const imgcore::TPixelView view = TrueColourView(bitmap);
    imgcore::MirrorHorizontally(view);
}

void FlipVertically(TBitmap& bitmap)
{
    const imgcore::TPixelView view = TrueColourView(bitmap);
    imgcore::FlipVertically(view);
}

void RotateLeft(TBitmap& bitmap)
{
    Rotate(bitmap, imgcore::RotateLeft);
}

void RotateRight(TBitmap& bitmap)
{
    Rotate(bitmap, imgcore::RotateRight);
}

std::unique_ptr<TBitmap> ScaleStripForDpi(const TBitmap& source, bool stacked, int count, const RECT& margins,
                                          int dpi, TColor key)
{
    std::unique_ptr<TBitmap> from = source.Clone();
    const imgcore::TPixelView sourceView = TrueColourView(*from);
    const imgcore::TStripSize size = imgcore::ScaledStripSize(from->Width(), from->Height(), stacked, count, dpi);
    auto scaled = std::make_unique<TBitmap>(size.Width, size.Height, from->PixelFormat());
    if (from->Empty() || scaled->Empty())
        return std::make_unique<TBitmap>();
    imgcore::ScaleStrip(sourceView, TrueColourView(*scaled), stacked, count, ToMargins(margins), dpi,
                        PlainColour(key));
    return scaled;
}

// --- Drawing ---

std::unique_ptr<TBitmap> RenderNineSlice(const RECT& target, const TBitmap& source, const RECT& margins,
                                         bool stacked, bool tile, int count, int frame)
{
    const int width = std::max(0, static_cast<int>(target.right - target.left));
    const int height = std::max(0, static_cast<int>(target.bottom - target.top));
    auto result = std::make_unique<TBitmap>(width, height, pf24bit);
    if (result->Empty())
        return result;
    DrawPieces(result->Canvas().Handle(),
               imgcore::NineSlicePieces(width, height, FrameOf(source, stacked, count, frame),
                                        ToMargins(margins), tile),
               source);
    return result;
}

void DrawNineSliceFrame(HDC dc, const RECT& rect, const TBitmap& source, bool stacked, bool tile,
                        bool seeThrough, int count, int frame, const RECT& margins)
{
    if (ToRectI(rect).Inverted())
        return;
    const std::unique_ptr<TBitmap> work = RenderNineSlice(rect, source, margins, stacked, tile, count, frame);
    Present(dc, ToRectI(rect), *work, seeThrough);
}

void DrawTiledStrip(TCanvas& canvas, const RECT& rect, const TBitmap& source, bool stacked,
                    bool seeThrough, int count, int frame, const RECT& margins)
{
    const TRectI area = ToRectI(rect);
    DrawThroughWork(canvas.Handle(), area, seeThrough, [&](HDC work) {
        DrawPieces(work,
                   imgcore::TiledStripPieces(area.Width(), area.Height(), FrameOf(source, stacked, count, frame),
                                             ToMargins(margins)),
                   source);
    });
}

void DrawStretchedFrame(HDC dc, const RECT& rect, const TBitmap& source, bool seeThrough, int count,
                        int frame)
{
    const TRectI area = ToRectI(rect);
    DrawThroughWork(dc, area, seeThrough, [&](HDC work) {
        Stretch(work, {0, 0, area.Width(), area.Height()}, source.Canvas().Handle(),
                FrameOf(source, false, count, frame));
    });
}

void DrawCentredFrame(HDC dc, const RECT& rect, const TBitmap& source, bool seeThrough, int count,
                      int frame)
{
    const TRectI area = ToRectI(rect);
    if (area.Inverted())
        return;
    const TRectI piece = FrameOf(source, false, count, frame);
    const int x = area.Left + (area.Width() - piece.Width()) / 2;
    const int y = area.Top + (area.Height() - piece.Height()) / 2;
    const TRectI target{x, y, x + piece.Width(), y + piece.Height()};
    if (seeThrough)
        MaskedCopy(dc, target, source, {piece.Left, piece.Top}, clSkinKey);
    else
        BitBlt(dc, x, y, piece.Width(), piece.Height(), source.Canvas().Handle(), piece.Left, piece.Top, SRCCOPY);
}

void DrawThreePartFrame(HDC dc, const RECT& rect, const TBitmap& source, bool stacked, int count,
                        int frame, const RECT& margins)
{
    const TRectI area = ToRectI(rect);
    if (area.Inverted())
        return;
    DrawPieces(dc, imgcore::ThreePartPieces(area, FrameOf(source, stacked, count, frame), ToMargins(margins)),
               source);
}

void DrawTransparent(HDC dc, const RECT& rect, const TBitmap& bitmap, TColor key)
{
    const TRectI area = ToRectI(rect);
    if (!area.Inverted())
        MaskedCopy(dc, area, bitmap, {0, 0}, key);
}

void TileBitmap(TCanvas& canvas, const RECT& target, const TBitmap& source, const RECT& piece)
{
    const TRectI area = ToRectI(target);
    const TRectI from = ToRectI(piece);
    if (area.Inverted() || from.Width() <= 0 || from.Height() <= 0)
        return;
    Tile(canvas.Handle(), area, source.Canvas().Handle(), from);
}

gdi::Region RegionFromBitmap(const TBitmap& bitmap, int dx, int dy, int blueTolerance, int greenTolerance,
                             int redTolerance, TColor key)
{
    // Regions are built in batches of this many rectangles so that no
    // single region call grows without bound.
    constexpr std::size_t BatchSize = 2000;
    gdi::Region result(CreateRectRgn(0, 0, 0, 0));
    TBitmap copy;
    const TBitmap* pixels = &bitmap;
    if (bitmap.PixelFormat() != pf24bit && bitmap.PixelFormat() != pf32bit) {
        copy.Assign(bitmap);
        copy.SetPixelFormat(pf32bit);
        pixels = &copy;
    }
    if (pixels->Empty())
        return result;
    const imgcore::TPixelView view{const_cast<std::uint8_t*>(pixels->ScanLine(0)), pixels->Width(),
                                   pixels->Height(), static_cast<std::ptrdiff_t>(pixels->RowBytes()),
                                   pixels->PixelFormat() == pf32bit ? 4 : 3};
    const imgcore::TKeyRange range =
        imgcore::TKeyRange::From(PlainColour(key), blueTolerance, greenTolerance, redTolerance);
    imgcore::CollectOpaqueRuns(view, dx, dy, range, BatchSize,
                               [&](std::span<const TRectI> runs, const TRectI& bounds) {
                                   const gdi::Region batch = RegionOfRuns(runs, bounds);
                                   CombineRgn(result.Get(), result.Get(), batch.Get(), RGN_OR);
                               });
    return result;
}

void PaintParentBackground(HWND control, HDC dc)
{
    const HWND parent = GetParent(control);
    if (!parent)
        return;
    RECT bounds{};
    GetWindowRect(control, &bounds);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&bounds), 2);
    const gdi::SavedState saved(dc);
    OffsetViewportOrgEx(dc, -bounds.left, -bounds.top, nullptr);
    IntersectClipRect(dc, bounds.left, bounds.top, bounds.right, bounds.bottom);
    SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    SendMessageW(parent, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
}

// --- Text ---

std::wstring AnsiToWide(std::string_view text)
{
    if (text.empty() || text.size() > static_cast<std::size_t>(INT_MAX))
        return {};
    const int length = static_cast<int>(text.size());
    const int needed = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(std::max(needed, 0)), L'\0');
    if (needed > 0)
        MultiByteToWideChar(CP_ACP, 0, text.data(), length, wide.data(), needed);
    return wide;
}

int DrawTextWide(HDC dc, const std::wstring& text, RECT& rect, UINT format)
{
    return DrawTextW(dc, text.data(), static_cast<int>(text.size()), &rect, format);
}

// --- Optional user32 services ---

namespace {

// user32 held for the life of the process, with the entry points that
// older systems may lack looked up by name.
class TUser32Services {
public:
    TUser32Services() : FModule(LoadLibraryW(L"user32.dll"))
    {
        if (FModule) {
            FGetScrollBarInfo = reinterpret_cast<decltype(FGetScrollBarInfo)>(
                reinterpret_cast<void*>(GetProcAddress(FModule, "GetScrollBarInfo")));
            FTrackMouseEvent = reinterpret_cast<decltype(FTrackMouseEvent)>(
                reinterpret_cast<void*>(GetProcAddress(FModule, "TrackMouseEvent")));
        }
    }
    ~TUser32Services()
    {
        if (FModule)
            FreeLibrary(FModule);
    }
    TUser32Services(const TUser32Services&) = delete;
    TUser32Services& operator=(const TUser32Services&) = delete;

    static const TUser32Services& Instance()
    {
        static const TUser32Services services;
        return services;
    }

    BOOL(WINAPI* FGetScrollBarInfo)(HWND, LONG, PSCROLLBARINFO) = nullptr;
    BOOL(WINAPI* FTrackMouseEvent)(LPTRACKMOUSEEVENT) = nullptr;

private:
    HMODULE FModule;
};

} // namespace

bool QueryScrollBarInfo(HWND window, LONG objectId, SCROLLBARINFO& info)
{
    const auto query = TUser32Services::Instance().FGetScrollBarInfo;
    return query && query(window, objectId, &info);
}

void TrackMouseLeave(HWND window)
{
    const auto track = TUser32Services::Instance().FTrackMouseEvent;
    if (!track)
        return;
    // The record's own size: the 16 bytes of 32-bit builds would be refused here.
    TRACKMOUSEEVENT request{};
    request.cbSize = sizeof(request);
    request.dwFlags = TME_LEAVE;
    request.hwndTrack = window;
    track(&request);
}
