// Skin images drawn for 96 pixels per inch, made for the screen's density:
// sizes and offsets scaled the way MulDiv rounds, and strips of state frames
// resampled frame by frame. Portable; the Win32 side hands in the pixels.
#pragma once

#include "ImageGeometry.h"
#include "PixelOps.h"

namespace imgcore {

// The density skins are drawn for.
inline constexpr int kDesignDpi = 96;

// value * dpi / 96, rounded half away from zero (as MulDiv rounds).
int ScaleForDpi(int value, int dpi) noexcept;
TMargins ScaleForDpi(const TMargins& margins, int dpi) noexcept;

// Whole multiples of 96 copy pixels (crisp); anything else mixes the source
// pixels each target pixel covers.
enum class TResample { Nearest, Smooth };
TResample ResampleForDpi(int dpi) noexcept;

// Source onto the whole target, both of the same pixel size. The see-through
// key stays exact either way: a target pixel whose nearest source pixel is
// the key is the key, and the key never mixes into another colour.
void Resample(const TPixelView& source, const TPixelView& target, TResample mode, TRgb key);

// A strip of count frames scaled for dpi: each frame is the scaled size of
// one source frame, so every frame of the strip stays the same size and the
// painters' division still finds them. Columns (rows) that do not fill a
// whole source frame are dropped, as the painters never draw them.
struct TStripSize {
    int Width = 0;
    int Height = 0;
    friend bool operator==(const TStripSize&, const TStripSize&) = default;
};
TStripSize ScaledStripSize(int width, int height, bool stacked, int count, int dpi) noexcept;

// Source into target (ScaledStripSize large): every frame on its own, and
// within a frame the margin bands (the parts nine-slice drawing keeps at
// fixed size) apart from the middle, so no pixel mixes across a frame or
// margin boundary and the scaled margins cut the scaled frame exactly where
// the margins' colours meet. Margins are as the skin gives them for one frame.
void ScaleStrip(const TPixelView& source, const TPixelView& target, bool stacked, int count,
                const TMargins& margins, int dpi, TRgb key);

} // namespace imgcore
