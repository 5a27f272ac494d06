// A small RGB canvas for drawing the program's pictures from code: shapes are
// point predicates, sampled 4 x 4 per pixel so their edges are smooth, and
// the result is written as a 24-bit Windows bitmap. Portable and
// deterministic: the same code gives the same bytes on every build.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace appimages {

struct TRgb {
    std::uint8_t R = 0;
    std::uint8_t G = 0;
    std::uint8_t B = 0;
    bool operator==(const TRgb&) const = default;
};

// Inside test of a shape at a point in pixel units (pixel x spans x..x+1).
using TShape = std::function<bool(double x, double y)>;

class TCanvas {
public:
    TCanvas(int width, int height);

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    TRgb Pixel(int x, int y) const { return FPixels[Index(x, y)]; }

    void SetPixel(int x, int y, TRgb colour);
    // Mixes colour into one pixel by alpha from 0 (nothing) to 1 (all).
    void Blend(int x, int y, TRgb colour, double alpha);
    void Fill(const TShape& shape, TRgb colour);

    // The canvas as a bottom-up 24-bit BI_RGB bitmap file.
    std::vector<std::uint8_t> BitmapFile() const;

private:
    std::size_t Index(int x, int y) const;

    int FWidth;
    int FHeight;
    std::vector<TRgb> FPixels;
};

// One size of an icon: the picture and its coverage (the red channel of
// Alpha, 0 see-through to 255 opaque).
struct TIconImage {
    TCanvas Colour;
    TCanvas Alpha;
};

// The images as a Windows .ico file: 32-bit pixels with alpha and an
// all-clear AND mask, in the order given.
std::vector<std::uint8_t> IconFile(const std::vector<TIconImage>& images);

// Shapes used by the pictograms.
TShape Disc(double cx, double cy, double radius);
TShape Ring(double cx, double cy, double radius, double width);
TShape Box(double left, double top, double right, double bottom);
TShape RoundBox(double left, double top, double right, double bottom, double radius);
TShape Segment(double x1, double y1, double x2, double y2, double width);
TShape Triangle(double x1, double y1, double x2, double y2, double x3, double y3);
TShape Minus(const TShape& shape, const TShape& hole);

} // namespace appimages
