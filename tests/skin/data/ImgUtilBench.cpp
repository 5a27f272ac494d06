// Cost of painting a skinned window frame, measured against a plain BitBlt of
// a bitmap the window's size in the same run: the four borders of a 558 × 314
// window rendered nine-slice from two-frame strips and copied out, and the
// window region built from the see-through borders.
#include "BenchTiming.h"
#include "skin/data/ImgUtil.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

using benchtiming::Measure;
using benchtiming::Now;

constexpr int WindowWidth = 558;
constexpr int WindowHeight = 314;
constexpr int SideWidth = 6;
constexpr int CaptionHeight = 30;
constexpr int BottomHeight = 6;

// A border strip of two frames with rounded, see-through outer corners and
// some texture, as skins draw them.
std::unique_ptr<TBitmap> MakeStrip(int frameWidth, int frameHeight, bool stacked)
{
    const int width = stacked ? frameWidth : frameWidth * 2;
    const int height = stacked ? frameHeight * 2 : frameHeight;
    auto strip = std::make_unique<TBitmap>(width, height, pf24bit);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int fx = stacked ? x : x % frameWidth;
            const int fy = stacked ? y % frameHeight : y;
            const bool corner = (fx + fy < 3) || (frameWidth - 1 - fx + fy < 3);
            strip->Canvas().SetPixels(x, y, corner ? clFuchsia : RGB(40 + fx * 3 % 100, 60 + fy * 5 % 120, 150));
        }
    }
    return strip;
}

struct TBorder {
    RECT Rect;
    std::unique_ptr<TBitmap> Strip;
    RECT Margins;
    bool Stacked;
};

std::vector<TBorder> MakeBorders()
{
    std::vector<TBorder> borders;
    borders.push_back({{0, 0, SideWidth, WindowHeight}, MakeStrip(SideWidth, 120, false),
                       {0, CaptionHeight, 0, BottomHeight}, false});
    borders.push_back({{WindowWidth - SideWidth, 0, WindowWidth, WindowHeight}, MakeStrip(SideWidth, 120, false),
                       {0, CaptionHeight, 0, BottomHeight}, false});
    borders.push_back({{SideWidth, 0, WindowWidth - SideWidth, CaptionHeight}, MakeStrip(120, CaptionHeight, true),
                       {30, 0, 60, 0}, true});
    borders.push_back({{SideWidth, WindowHeight - BottomHeight, WindowWidth - SideWidth, WindowHeight},
                       MakeStrip(60, BottomHeight, true), {10, 0, 10, 0}, true});
    return borders;
}

} // namespace

int main()
{
    const std::vector<TBorder> borders = MakeBorders();
    TBitmap window(WindowWidth, WindowHeight, pf24bit);
    TBitmap image(WindowWidth, WindowHeight, pf24bit);
    const HDC target = window.Canvas().Handle();

    const double blit = Measure([&] {
        BitBlt(target, 0, 0, WindowWidth, WindowHeight, image.Canvas().Handle(), 0, 0, SRCCOPY);
    }, 200);

    const double frame = Measure([&] {
        for (const TBorder& border : borders) {
            const std::unique_ptr<TBitmap> piece =
                RenderNineSlice(border.Rect, *border.Strip, border.Margins, border.Stacked, true, 2, 1);
            BitBlt(target, border.Rect.left, border.Rect.top, piece->Width(), piece->Height(),
                   piece->Canvas().Handle(), 0, 0, SRCCOPY);
        }
    }, 100);

    const double region = Measure([&] {
        gdi::Region shape(CreateRectRgn(SideWidth, CaptionHeight, WindowWidth - SideWidth, WindowHeight - BottomHeight));
        for (const TBorder& border : borders) {
            const std::unique_ptr<TBitmap> piece =
                RenderNineSlice(border.Rect, *border.Strip, border.Margins, border.Stacked, true, 2, 1);
            const gdi::Region part =
                RegionFromBitmap(*piece, border.Rect.left, border.Rect.top, 1, 1, 1, clSkinKey);
            CombineRgn(shape.Get(), shape.Get(), part.Get(), RGN_OR);
        }
    }, 100);

    std::printf("%-40s %8.1f us\n", "BitBlt of a 558x314 bitmap", blit);
    std::printf("%-40s %8.1f us  ratio %.1f\n", "four frame borders, nine-slice", frame, frame / blit);
    std::printf("%-40s %8.1f us  ratio %.1f\n", "window region from the borders", region, region / blit);
    return 0;
}
