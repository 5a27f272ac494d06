// A small RGB canvas for drawing skin bitmaps pixel by pixel. Skin bitmaps
// must be crisp at 100% and keep magenta as an exact see-through key, so
// nothing here blends edges against the background.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace skingen {

struct TRgb {
    std::uint8_t R = 0;
    std::uint8_t G = 0;
    std::uint8_t B = 0;
    friend bool operator==(TRgb, TRgb) = default;
};

// The see-through key colour of every skin bitmap.
inline constexpr TRgb kKey{255, 0, 255};

// percentA of a and the rest of b, rounded.
TRgb Mix(TRgb a, TRgb b, int percentA);
// Linear blend from a (at step 0) to b (at step count - 1).
TRgb Lerp(TRgb a, TRgb b, int step, int count);

class TRaster {
public:
    TRaster() = default;
    TRaster(int width, int height, TRgb fill = kKey);

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < FWidth && y < FHeight; }
    TRgb At(int x, int y) const { return FPixels[Index(x, y)]; }
    // Writes outside the canvas are dropped, so shapes may be clipped freely.
    void Set(int x, int y, TRgb colour);
    void FillRect(int x, int y, int width, int height, TRgb colour);
    void Blit(const TRaster& source, int x, int y);
    TRaster Crop(int x, int y, int width, int height) const;
    TRaster MirroredLeftRight() const;
    TRaster MirroredTopBottom() const;
    TRaster Transposed() const;

private:
    std::size_t Index(int x, int y) const { return static_cast<std::size_t>(y) * FWidth + x; }

    int FWidth = 0;
    int FHeight = 0;
    std::vector<TRgb> FPixels;
};

// Places frames of equal size side by side (or stacked) into one strip.
TRaster JoinSideBySide(const std::vector<TRaster>& frames);
TRaster JoinStacked(const std::vector<TRaster>& frames);

// A filled shape described by which pixels are inside, with for each inside
// pixel its depth: 1 on the outline, 2 one pixel further in, and so on (capped).
class TShape {
public:
    // A rectangle whose chosen corners are rounded with the given radius.
    static TShape RoundRect(int width, int height, int radius, bool top = true, bool bottom = true);
    static TShape Circle(int diameter);
    static TShape FromMask(int width, int height, const std::function<bool(int, int)>& inside);

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    int Depth(int x, int y) const;
    // Depth counted from the outline on one side only: 1 = top row of the shape in that column.
    int RowFromTop(int x, int y) const;

    // Paints every inside pixel with paint(x, y, depth) at (left, top) of the canvas.
    void Paint(TRaster& canvas, int left, int top,
               const std::function<TRgb(int x, int y, int depth)>& paint) const;

private:
    void ComputeDepths();

    int FWidth = 0;
    int FHeight = 0;
    std::vector<int> FDepth;
};

// Pixel art: rows of '#' (ink) and anything else (nothing).
class TGlyph {
public:
    TGlyph(std::initializer_list<std::string_view> rows);
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    bool Ink(int x, int y) const { return FInk[static_cast<std::size_t>(y) * FWidth + x]; }
    TGlyph RotatedRight() const;
    TGlyph MirroredLeftRight() const;
    TGlyph MirroredTopBottom() const;
    void Stamp(TRaster& canvas, int left, int top, TRgb colour) const;
    // Stamps centred in the rectangle (left, top, width, height).
    void StampCentred(TRaster& canvas, int left, int top, int width, int height, TRgb colour) const;

private:
    TGlyph(int width, int height) : FWidth(width), FHeight(height), FInk(static_cast<std::size_t>(width) * height) {}

    int FWidth = 0;
    int FHeight = 0;
    std::vector<bool> FInk;
};

} // namespace skingen
