// Shared by the tests that run at another screen density: the density the
// program sees, the skin's own 96-dpi files as the generator wrote them
// (bitmaps and skin.ini beside the packed default skin), and what a pixel of
// a skin image scaled by the screen's factor may look like, worked out from
// those files alone.
#pragma once

#include "FrameFixture.h"
#include "support/Dpi.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

namespace dpitest {

using frametest::kMagenta;
using frametest::PixelOf;

using testsupport::ScreenDpi;

inline int Scale(int value)
{
    return testsupport::ScaleToScreen(value);
}

inline std::wstring SkinPath(const wchar_t* file)
{
    const std::string folder = VIDKILN_STEEL_SKIN_DIR;
    return std::wstring(folder.begin(), folder.end()) + L"/" + file;
}

inline int IniNumber(const wchar_t* section, const wchar_t* key)
{
    return static_cast<int>(GetPrivateProfileIntW(section, key, -9999, SkinPath(L"skin.ini").c_str()));
}

inline std::unique_ptr<TBitmap> SkinImage(const wchar_t* file)
{
    auto image = std::make_unique<TBitmap>();
    image->LoadFromFile(SkinPath(file));
    return image;
}

// A 96-dpi skin image and the frame of it the window shows.
struct TSource {
    const TBitmap& Image;
    RECT Frame;
};

// What target pixel (tx, ty) of the source frame scaled by the screen's
// factor may show. At whole factors: exactly the source pixel it covers. At
// fractional ones a pixel mixes the source pixels it covers, so each channel
// lies within those of the non-see-through source pixels around the one it
// covers (two either way: margin bands scale apart from the middle, which
// may move a pixel's source by one); see-through where the source pixels
// next to the one it covers all are. Nothing to compare where see-through
// and opaque pixels meet.
struct TAllowed {
    bool SeeThrough = false;
    TColor Low = 0;
    TColor High = 0;
    bool Admits(TColor colour) const
    {
        if (SeeThrough)
            return colour == kMagenta;
        for (int shift : {0, 8, 16}) {
            const int channel = (colour >> shift) & 0xFF;
            if (channel < static_cast<int>((Low >> shift) & 0xFF) || channel > static_cast<int>((High >> shift) & 0xFF))
                return false;
        }
        return true;
    }
};

inline std::optional<TAllowed> ScaledPixel(const TSource& source, int tx, int ty)
{
    const int width = source.Frame.right - source.Frame.left;
    const int height = source.Frame.bottom - source.Frame.top;
    const int sx = static_cast<int>((2LL * tx + 1) * width / (2LL * Scale(width)));
    const int sy = static_cast<int>((2LL * ty + 1) * height / (2LL * Scale(height)));
    const auto at = [&](int x, int y) { return PixelOf(source.Image, source.Frame.left + x, source.Frame.top + y); };
    if (ScreenDpi() % 96 == 0) {
        const TColor colour = at(sx, sy);
        return TAllowed{colour == kMagenta, colour, colour};
    }
    int keys = 0;
    int nearKeys = 0;
    int others = 0;
    int low[3] = {255, 255, 255};
    int high[3] = {0, 0, 0};
    for (int y = std::max(0, sy - 2); y <= std::min(height - 1, sy + 2); ++y)
        for (int x = std::max(0, sx - 2); x <= std::min(width - 1, sx + 2); ++x) {
            const TColor colour = at(x, y);
            if (colour == kMagenta) {
                ++keys;
                nearKeys += std::abs(x - sx) <= 1 && std::abs(y - sy) <= 1;
                continue;
            }
            ++others;
            for (int c = 0; c < 3; ++c) {
                low[c] = std::min<int>(low[c], (colour >> (8 * c)) & 0xFF);
                high[c] = std::max<int>(high[c], (colour >> (8 * c)) & 0xFF);
            }
        }
    const int nearby = (std::min(width - 1, sx + 1) - std::max(0, sx - 1) + 1)
                       * (std::min(height - 1, sy + 1) - std::max(0, sy - 1) + 1);
    if (nearKeys == nearby)
        return TAllowed{true, kMagenta, kMagenta};
    if (keys > 0)
        return std::nullopt;
    return TAllowed{false, static_cast<TColor>(low[0] | low[1] << 8 | low[2] << 16),
                    static_cast<TColor>(high[0] | high[1] << 8 | high[2] << 16)};
}

// Misses of the pixels of shot from (x, y) on, width x height, against the
// part of a skin image's frame scaled for the screen from (fx, fy) on (a few
// are reported as failures); compared counts the pixels that could be
// compared.
inline int ScaledMisses(const frametest::TPixels& shot, int x, int y, int width, int height, const TSource& source, int fx,
                        int fy, int& compared)
{
    int misses = 0;
    for (int dy = 0; dy < height; ++dy)
        for (int dx = 0; dx < width; ++dx) {
            const std::optional<TAllowed> allowed = ScaledPixel(source, fx + dx, fy + dy);
            if (!allowed || allowed->SeeThrough)
                continue;
            ++compared;
            const TColor seen = PixelOf(shot, x + dx, y + dy);
            if (!allowed->Admits(seen) && ++misses <= 5)
                ADD_FAILURE() << "(" << x + dx << ", " << y + dy << ") is " << std::hex << seen
                              << ", the skin allows " << allowed->Low << " to " << allowed->High;
        }
    return misses;
}

} // namespace dpitest
