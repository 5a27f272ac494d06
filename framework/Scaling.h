// The arithmetic of drawing for another screen resolution: forms are
// written in pixels at 96 per inch and scaled once to the screen's, and the
// pictures they place are resampled to match. Portable, so its rounding is
// tested natively.
#pragma once

#include <cstddef>
#include <cstdint>

// One unit of a form as written is one pixel at 100 %.
inline constexpr int kDesignPixelsPerInch = 96;

// Value * M / D rounded to the nearest integer, halves away from zero (the
// platform's MulDiv rounding, so layouts match what Windows computes).
// D must not be 0.
int ScaleValue(int Value, int M, int D) noexcept;

struct TScaledBounds {
    int Left;
    int Top;
    int Width;
    int Height;
};

// Scales the edges rather than the size, so controls that touched still
// touch, ones apart stay apart, and a right edge lands where the scaled
// right edge of its neighbour's layout does.
TScaledBounds ScaleBounds(const TScaledBounds& Bounds, int M, int D) noexcept;

// Rows of 24-bit pixels: Bits points at the top row, Stride bytes apart.
struct TPixelRows {
    std::uint8_t* Bits;
    int Width;
    int Height;
    std::size_t Stride;
};

enum class TResampling {
    // Every target pixel is a source pixel: a see-through key colour stays
    // exact.
    Nearest,
    // Every target pixel is the average of the source area it covers: whole
    // factors repeat pixels crisply, fractional ones blend at the seams.
    AreaAverage,
};

// Scales Source onto Target (both sizes at least 1 by 1).
void Resample(const TPixelRows& Source, const TPixelRows& Target, TResampling Mode);
