#include "PixelOps.h"

#include <algorithm>
#include <climits>
#include <vector>

namespace imgcore {

namespace {

void SwapPixels(std::uint8_t* a, std::uint8_t* b, int bytes) noexcept
{
    std::swap_ranges(a, a + bytes, b);
}

void CopyPixel(const std::uint8_t* from, std::uint8_t* to, int bytes) noexcept
{
    std::copy(from, from + bytes, to);
}

} // namespace

void MirrorHorizontally(const TPixelView& image) noexcept
{
    for (int y = 0; y < image.Height; ++y) {
        for (int x = 0; x < image.Width / 2; ++x)
            SwapPixels(image.Pixel(x, y), image.Pixel(image.Width - 1 - x, y), image.BytesPerPixel);
    }
}

void FlipVertically(const TPixelView& image) noexcept
{
    const auto rowBytes = static_cast<std::ptrdiff_t>(image.Width) * image.BytesPerPixel;
    for (int y = 0; y < image.Height / 2; ++y) {
        std::uint8_t* top = image.Pixel(0, y);
        std::swap_ranges(top, top + rowBytes, image.Pixel(0, image.Height - 1 - y));
    }
}

void RotateLeft(const TPixelView& source, const TPixelView& target) noexcept
{
    const int bytes = std::min(source.BytesPerPixel, target.BytesPerPixel);
    for (int y = 0; y < source.Height; ++y) {
        for (int x = 0; x < source.Width; ++x)
            CopyPixel(source.Pixel(x, y), target.Pixel(y, source.Width - 1 - x), bytes);
    }
}

void RotateRight(const TPixelView& source, const TPixelView& target) noexcept
{
    const int bytes = std::min(source.BytesPerPixel, target.BytesPerPixel);
    for (int y = 0; y < source.Height; ++y) {
        for (int x = 0; x < source.Width; ++x)
            CopyPixel(source.Pixel(x, y), target.Pixel(source.Height - 1 - y, x), bytes);
    }
}

void ReplaceColour(const TPixelView& image, TRgb from, TRgb to) noexcept
{
    for (int y = 0; y < image.Height; ++y) {
        for (int x = 0; x < image.Width; ++x) {
            std::uint8_t* p = image.Pixel(x, y);
            if (p[0] == BlueOf(from) && p[1] == GreenOf(from) && p[2] == RedOf(from)) {
                p[0] = static_cast<std::uint8_t>(BlueOf(to));
                p[1] = static_cast<std::uint8_t>(GreenOf(to));
                p[2] = static_cast<std::uint8_t>(RedOf(to));
            }
        }
    }
}

TKeyRange TKeyRange::From(TRgb key, int blueTolerance, int greenTolerance, int redTolerance) noexcept
{
    auto top = [](int value, int tolerance) { return std::min(255, value + tolerance); };
    return {RedOf(key),  top(RedOf(key), redTolerance),   GreenOf(key),
            top(GreenOf(key), greenTolerance), BlueOf(key), top(BlueOf(key), blueTolerance)};
}

bool TKeyRange::Contains(int red, int green, int blue) const noexcept
{
    return red >= MinRed && red <= MaxRed && green >= MinGreen && green <= MaxGreen
        && blue >= MinBlue && blue <= MaxBlue;
}

void CollectOpaqueRuns(const TPixelView& image, int dx, int dy, const TKeyRange& key,
                       std::size_t batchSize, const TRunBatch& flush)
{
    batchSize = std::max<std::size_t>(batchSize, 1);
    const TRectI empty{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    std::vector<TRectI> runs;
    TRectI bounds = empty;
    auto emit = [&]() {
        flush(runs, bounds);
        runs.clear();
        bounds = empty;
    };
    auto seeThrough = [&](int x, int y) {
        const std::uint8_t* p = image.Pixel(x, y);
        return key.Contains(p[2], p[1], p[0]);
    };
    for (int y = 0; y < image.Height; ++y) {
        int x = 0;
        while (x < image.Width) {
            if (seeThrough(x, y)) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < image.Width && !seeThrough(x, y))
                ++x;
            const TRectI run{start + dx, y + dy, x + dx, y + dy + 1};
            runs.push_back(run);
            bounds = {std::min(bounds.Left, run.Left), std::min(bounds.Top, run.Top),
                      std::max(bounds.Right, run.Right), std::max(bounds.Bottom, run.Bottom)};
            if (runs.size() == batchSize)
                emit();
        }
    }
    if (!runs.empty())
        emit();
}

} // namespace imgcore
