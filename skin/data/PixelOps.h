// Whole-image transforms and the opaque-run scan behind window regions, on
// rows of 24-bit (BGR) or 32-bit (BGRX) pixels. Portable.
#pragma once

#include "ColourMath.h"
#include "ImageGeometry.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

namespace imgcore {

// Rows of pixels in memory, the top row first.
struct TPixelView {
    std::uint8_t* Bits = nullptr;
    int Width = 0;
    int Height = 0;
    std::ptrdiff_t Stride = 0;
    int BytesPerPixel = 3;

    std::uint8_t* Pixel(int x, int y) const noexcept
    {
        return Bits + y * Stride + static_cast<std::ptrdiff_t>(x) * BytesPerPixel;
    }
};

void MirrorHorizontally(const TPixelView& image) noexcept;
void FlipVertically(const TPixelView& image) noexcept;
// Target must be source.Height wide and source.Width high.
// Counter-clockwise: source (x, y) goes to target (y, W - 1 - x).
void RotateLeft(const TPixelView& source, const TPixelView& target) noexcept;
// Clockwise: source (x, y) goes to target (H - 1 - y, x).
void RotateRight(const TPixelView& source, const TPixelView& target) noexcept;
// Every pixel exactly equal to from becomes to.
void ReplaceColour(const TPixelView& image, TRgb from, TRgb to) noexcept;

// Colours seen through: each channel from the key's value up to value plus
// tolerance, capped at 255.
struct TKeyRange {
    int MinRed, MaxRed, MinGreen, MaxGreen, MinBlue, MaxBlue;
    static TKeyRange From(TRgb key, int blueTolerance, int greenTolerance, int redTolerance) noexcept;
    bool Contains(int red, int green, int blue) const noexcept;
};

// Collects one rectangle (x0 + dx, y + dy, x1 + dx, y + dy + 1) per run of
// pixels outside the key range, row by row, and hands them over in batches of
// at most batchSize with their bounding box, so no single region call grows
// without bound.
using TRunBatch = std::function<void(std::span<const TRectI> runs, const TRectI& bounds)>;
void CollectOpaqueRuns(const TPixelView& image, int dx, int dy, const TKeyRange& key,
                       std::size_t batchSize, const TRunBatch& flush);

} // namespace imgcore
