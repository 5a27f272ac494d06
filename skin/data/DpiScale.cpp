#include "DpiScale.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <vector>

namespace imgcore {

int ScaleForDpi(int value, int dpi) noexcept
{
    if (dpi <= 0 || dpi == kDesignDpi)
        return value;
    const long long product = static_cast<long long>(value) * dpi;
    const long long half = kDesignDpi / 2;
    const long long scaled = product >= 0 ? (product + half) / kDesignDpi : -((-product + half) / kDesignDpi);
    return static_cast<int>(std::clamp<long long>(scaled, INT_MIN, INT_MAX));
}

TMargins ScaleForDpi(const TMargins& margins, int dpi) noexcept
{
    return {ScaleForDpi(margins.Left, dpi), ScaleForDpi(margins.Top, dpi), ScaleForDpi(margins.Right, dpi),
            ScaleForDpi(margins.Bottom, dpi)};
}

TResample ResampleForDpi(int dpi) noexcept
{
    return dpi > 0 && dpi % kDesignDpi == 0 ? TResample::Nearest : TResample::Smooth;
}

namespace {

TPixelView SubView(const TPixelView& view, int x, int y, int width, int height) noexcept
{
    // An empty band may start past the last row: it must not point there.
    if (width <= 0 || height <= 0)
        return {view.Bits, 0, 0, view.Stride, view.BytesPerPixel};
    return {view.Pixel(x, y), width, height, view.Stride, view.BytesPerPixel};
}

// The source pixel whose centre lies nearest the target pixel's centre.
int NearestSource(int target, int sourceLength, int targetLength) noexcept
{
    return static_cast<int>((2LL * target + 1) * sourceLength / (2LL * targetLength));
}

bool IsKey(const std::uint8_t* pixel, TRgb key) noexcept
{
    return pixel[0] == BlueOf(key) && pixel[1] == GreenOf(key) && pixel[2] == RedOf(key);
}

// For each target pixel along one axis: the nearest source pixel and the
// source pixels it covers, each with the length it covers in units of
// 1 / targetLength source pixels. Worked out once per axis, not per pixel.
struct TAxis {
    std::vector<int> Nearest;
    std::vector<int> First;
    std::vector<int> Offset; // into Weights; Offset[t + 1] - Offset[t] pixels
    std::vector<long long> Weights;

    TAxis(int sourceLength, int targetLength)
    {
        Nearest.reserve(static_cast<std::size_t>(targetLength));
        First.reserve(static_cast<std::size_t>(targetLength));
        Offset.reserve(static_cast<std::size_t>(targetLength) + 1);
        Offset.push_back(0);
        for (int t = 0; t < targetLength; ++t) {
            Nearest.push_back(NearestSource(t, sourceLength, targetLength));
            const long long start = static_cast<long long>(t) * sourceLength;
            const long long end = start + sourceLength;
            const int first = static_cast<int>(start / targetLength);
            const int last = static_cast<int>((end - 1) / targetLength);
            First.push_back(first);
            for (int s = first; s <= last; ++s) {
                const long long from = std::max(start, static_cast<long long>(s) * targetLength);
                const long long to = std::min(end, static_cast<long long>(s + 1) * targetLength);
                Weights.push_back(to - from);
            }
            Offset.push_back(static_cast<int>(Weights.size()));
        }
    }
};

// The mean of the non-key source pixels under target pixel (tx, ty), each
// weighted by the area it covers.
void MixPixel(const TPixelView& source, const TPixelView& target, int tx, int ty, const TAxis& x, const TAxis& y,
              TRgb key) noexcept
{
    long long sums[4] = {};
    long long total = 0;
    const auto tyIndex = static_cast<std::size_t>(ty);
    const auto txIndex = static_cast<std::size_t>(tx);
    for (int i = y.Offset[tyIndex]; i < y.Offset[tyIndex + 1]; ++i) {
        const int sy = y.First[tyIndex] + (i - y.Offset[tyIndex]);
        const long long wy = y.Weights[static_cast<std::size_t>(i)];
        for (int j = x.Offset[txIndex]; j < x.Offset[txIndex + 1]; ++j) {
            const std::uint8_t* pixel = source.Pixel(x.First[txIndex] + (j - x.Offset[txIndex]), sy);
            if (IsKey(pixel, key))
                continue;
            const long long weight = wy * x.Weights[static_cast<std::size_t>(j)];
            for (int c = 0; c < source.BytesPerPixel; ++c)
                sums[c] += weight * pixel[c];
            total += weight;
        }
    }
    std::uint8_t* out = target.Pixel(tx, ty);
    for (int c = 0; c < target.BytesPerPixel; ++c)
        out[c] = static_cast<std::uint8_t>(total > 0 ? (sums[c] + total / 2) / total : 0);
}

// Where one axis of a frame splits: the start band, the middle, the end band.
struct TBands {
    int Source[4];
    int Target[4];
};

TBands SplitAxis(int sourceLength, int targetLength, int startBand, int endBand, int dpi) noexcept
{
    const int p1 = std::clamp(startBand, 0, sourceLength);
    const int p2 = std::clamp(sourceLength - std::max(endBand, 0), p1, sourceLength);
    const int q1 = std::clamp(ScaleForDpi(p1, dpi), 0, targetLength);
    // An empty middle stays empty: there is nothing to draw it from.
    const int q2 = p2 == p1 ? q1 : std::clamp(targetLength - ScaleForDpi(sourceLength - p2, dpi), q1, targetLength);
    return {{0, p1, p2, sourceLength}, {0, q1, q2, targetLength}};
}

void ScaleFrame(const TPixelView& source, const TPixelView& target, const TMargins& margins, int dpi,
                TResample mode, TRgb key)
{
    const TBands x = SplitAxis(source.Width, target.Width, margins.Left, margins.Right, dpi);
    const TBands y = SplitAxis(source.Height, target.Height, margins.Top, margins.Bottom, dpi);
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            Resample(SubView(source, x.Source[column], y.Source[row], x.Source[column + 1] - x.Source[column],
                             y.Source[row + 1] - y.Source[row]),
                     SubView(target, x.Target[column], y.Target[row], x.Target[column + 1] - x.Target[column],
                             y.Target[row + 1] - y.Target[row]),
                     mode, key);
}

} // namespace

void Resample(const TPixelView& source, const TPixelView& target, TResample mode, TRgb key)
{
    if (source.Width <= 0 || source.Height <= 0 || target.Width <= 0 || target.Height <= 0)
        return;
    const TAxis x(source.Width, target.Width);
    const TAxis y(source.Height, target.Height);
    const int bytes = target.BytesPerPixel;
    for (int ty = 0; ty < target.Height; ++ty) {
        const int sy = y.Nearest[static_cast<std::size_t>(ty)];
        for (int tx = 0; tx < target.Width; ++tx) {
            const std::uint8_t* nearest = source.Pixel(x.Nearest[static_cast<std::size_t>(tx)], sy);
            if (mode == TResample::Nearest || IsKey(nearest, key))
                std::copy(nearest, nearest + bytes, target.Pixel(tx, ty));
            else
                MixPixel(source, target, tx, ty, x, y, key);
        }
    }
}

TStripSize ScaledStripSize(int width, int height, bool stacked, int count, int dpi) noexcept
{
    count = std::max(count, 1);
    if (width <= 0 || height <= 0)
        return {};
    if (stacked)
        return {ScaleForDpi(width, dpi), count * ScaleForDpi(height / count, dpi)};
    return {count * ScaleForDpi(width / count, dpi), ScaleForDpi(height, dpi)};
}

void ScaleStrip(const TPixelView& source, const TPixelView& target, bool stacked, int count,
                const TMargins& margins, int dpi, TRgb key)
{
    count = std::max(count, 1);
    const int frameWidth = stacked ? source.Width : source.Width / count;
    const int frameHeight = stacked ? source.Height / count : source.Height;
    const int targetWidth = stacked ? target.Width : target.Width / count;
    const int targetHeight = stacked ? target.Height / count : target.Height;
    const TResample mode = ResampleForDpi(dpi);
    for (int f = 0; f < count; ++f) {
        const int sx = stacked ? 0 : f * frameWidth;
        const int sy = stacked ? f * frameHeight : 0;
        const int tx = stacked ? 0 : f * targetWidth;
        const int ty = stacked ? f * targetHeight : 0;
        ScaleFrame(SubView(source, sx, sy, frameWidth, frameHeight),
                   SubView(target, tx, ty, targetWidth, targetHeight), margins, dpi, mode, key);
    }
}

} // namespace imgcore
