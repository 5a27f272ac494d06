#include "AppImages.h"

#include "Glyphs.h"

#include <cmath>
#include <stdexcept>

namespace appimages {

namespace {

constexpr TRgb kWhite{255, 255, 255};
constexpr TRgb kShadow{28, 32, 38};
constexpr TRgb kFormColour{105, 106, 107};
constexpr TRgb kStripTop{156, 166, 178};
constexpr TRgb kStripBottom{78, 84, 94};
constexpr TRgb kStripLine{52, 56, 63};
constexpr TRgb kGreen{46, 170, 78};
constexpr TRgb kRed{222, 72, 60};
constexpr TRgb kBlue{40, 128, 214};
constexpr TRgb kOrange{245, 156, 26};
constexpr TRgb kYellow{242, 196, 72};
constexpr TRgb kYellowDark{196, 142, 32};
constexpr TRgb kSteel{226, 232, 238};
constexpr TRgb kInk{40, 48, 60};
constexpr int kButtonHeight = 45;
constexpr int kNarrow = 37;
constexpr int kWide = 58;
constexpr int kLabelTop = 31;

TRgb Lerp(TRgb from, TRgb to, double t)
{
    const auto mix = [t](std::uint8_t a, std::uint8_t b) {
        return static_cast<std::uint8_t>(std::lround(a + (b - a) * t));
    };
    return {mix(from.R, to.R), mix(from.G, to.G), mix(from.B, to.B)};
}

// A brushed-steel gradient with a light top edge and a dark rule above the
// last row; the last row has the window's own colour, the key colour of the
// transparent picture.
TCanvas Strip()
{
    TCanvas strip(kStripWidth, kStripHeight);
    for (int y = 0; y < kStripHeight; ++y) {
        TRgb colour = Lerp(kStripTop, kStripBottom, y / static_cast<double>(kStripHeight - 3));
        if (y == 0)
            colour = Lerp(colour, kWhite, 0.35);
        if (y == kStripHeight - 2)
            colour = kStripLine;
        if (y == kStripHeight - 1)
            colour = kFormColour;
        for (int x = 0; x < kStripWidth; ++x)
            strip.SetPixel(x, y, colour);
    }
    return strip;
}

TCanvas Crop(const TCanvas& from, int left, int top, int width, int height)
{
    TCanvas part(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            part.SetPixel(x, y, from.Pixel(left + x, top + y));
    }
    return part;
}

// Decodes the label's UTF-8 into characters of the glyph table.
std::u32string Characters(const std::string& utf8)
{
    std::u32string text;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80) {
            text += lead;
            ++i;
        } else if ((lead & 0xF0) == 0xE0 && i + 2 < utf8.size()) {
            text += static_cast<char32_t>(((lead & 0x0F) << 12) |
                                          ((static_cast<unsigned char>(utf8[i + 1]) & 0x3F) << 6) |
                                          (static_cast<unsigned char>(utf8[i + 2]) & 0x3F));
            i += 3;
        } else {
            throw std::invalid_argument("label holds a character outside the glyph table");
        }
    }
    return text;
}

void DrawGlyph(TCanvas& canvas, const TGlyph& glyph, int left, int top, TRgb colour, double alpha)
{
    for (int y = 0; y < kGlyphSize; ++y) {
        for (int x = 0; x < kGlyphSize; ++x) {
            const char digit = glyph.Rows[y][x];
            const int coverage = digit <= '9' ? digit - '0' : digit - 'a' + 10;
            canvas.Blend(left + x, top + y, colour, alpha * coverage / 15.0);
        }
    }
}

// The label centred under the pictogram, white over a soft shadow.
void DrawLabel(TCanvas& canvas, const std::string& utf8)
{
    const std::u32string text = Characters(utf8);
    const int left = (canvas.Width() - kGlyphSize * static_cast<int>(text.size())) / 2;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const TGlyph* glyph = FindGlyph(text[i]);
        if (!glyph)
            throw std::invalid_argument("label holds a character outside the glyph table");
        const int x = left + kGlyphSize * static_cast<int>(i);
        DrawGlyph(canvas, *glyph, x + 1, kLabelTop + 1, kShadow, 0.55);
        DrawGlyph(canvas, *glyph, x, kLabelTop, kWhite, 1.0);
    }
}

// A coloured badge with a dark rim, the base of add, delete and about.
void Badge(TCanvas& canvas, TRgb colour)
{
    const double cx = canvas.Width() / 2.0;
    canvas.Fill(Disc(cx + 0.6, 15.6, 11), kShadow);
    canvas.Fill(Disc(cx, 15, 11), colour);
    canvas.Fill(Ring(cx, 15, 11, 1.2), Lerp(colour, kShadow, 0.45));
    canvas.Fill(Disc(cx - 3, 10.5, 4.5), Lerp(colour, kWhite, 0.25));
}

void DrawAdd(TCanvas& canvas)
{
    const double cx = canvas.Width() / 2.0;
    Badge(canvas, kGreen);
    canvas.Fill(Box(cx - 6.5, 13.4, cx + 6.5, 16.6), kWhite);
    canvas.Fill(Box(cx - 1.6, 8.5, cx + 1.6, 21.5), kWhite);
}

void DrawDelete(TCanvas& canvas)
{
    const double cx = canvas.Width() / 2.0;
    Badge(canvas, kRed);
    canvas.Fill(Box(cx - 6.5, 13.4, cx + 6.5, 16.6), kWhite);
}

// A waste bin: emptying the whole list.
void DrawClear(TCanvas& canvas)
{
    const double cx = canvas.Width() / 2.0;
    canvas.Fill(RoundBox(cx - 4, 3, cx + 4, 7, 1.5), kInk);
    canvas.Fill(RoundBox(cx - 2.5, 4.3, cx + 2.5, 7, 0.8), kSteel);
    canvas.Fill(RoundBox(cx - 10, 6, cx + 10, 10, 1.5), kInk);
    canvas.Fill(RoundBox(cx - 9, 7, cx + 9, 9, 1), kSteel);
    canvas.Fill(Minus(RoundBox(cx - 8, 10, cx + 8, 27, 2), Box(cx - 10, 0, cx + 10, 10.6)), kInk);
    canvas.Fill(RoundBox(cx - 7, 10.6, cx + 7, 26, 1.5), kSteel);
    for (const double dx : {-3.5, 0.0, 3.5})
        canvas.Fill(Segment(cx + dx, 13.5, cx + dx * 0.85, 23.5, 1.6), kInk);
}

// A film frame, an arrow, and a player with a play mark: video in, .mp4 out.
void DrawConvert(TCanvas& canvas)
{
    canvas.Fill(RoundBox(4, 5, 19, 26, 1.5), kInk);
    for (int hole = 0; hole < 5; ++hole) {
        const double top = 6.5 + hole * 4;
        canvas.Fill(Box(5.5, top, 7.5, top + 2), kSteel);
        canvas.Fill(Box(15.5, top, 17.5, top + 2), kSteel);
    }
    canvas.Fill(Box(9, 8, 14, 23), kBlue);
    canvas.Fill(Box(20.5, 13.5, 28, 17.5), kOrange);
    canvas.Fill(Triangle(27, 9.5, 35, 15.5, 27, 21.5), kOrange);
    canvas.Fill(RoundBox(37, 4, 54, 27, 2.5), kInk);
    canvas.Fill(RoundBox(39, 6, 52, 22, 1), kBlue);
    canvas.Fill(Triangle(43, 9.5, 49.5, 14, 43, 18.5), kWhite);
    canvas.Fill(Disc(45.5, 24.6, 1.3), kSteel);
}

// A folder with an arrow going into it: where the output goes.
void DrawOutPath(TCanvas& canvas)
{
    const double cx = canvas.Width() / 2.0;
    canvas.Fill(RoundBox(cx - 15, 8, cx - 4, 13, 1.5), kYellowDark);
    canvas.Fill(RoundBox(cx - 15, 11, cx + 15, 27, 2), kYellowDark);
    canvas.Fill(RoundBox(cx - 14, 14, cx + 14, 26, 1.5), kYellow);
    canvas.Fill(Box(cx - 2, 2, cx + 2, 13), kGreen);
    canvas.Fill(Triangle(cx - 7, 12, cx + 7, 12, cx, 20), kGreen);
}

void DrawAbout(TCanvas& canvas)
{
    const double cx = canvas.Width() / 2.0;
    Badge(canvas, kBlue);
    canvas.Fill(Disc(cx, 9.3, 2), kWhite);
    canvas.Fill(RoundBox(cx - 1.7, 12.5, cx + 1.7, 22, 0.6), kWhite);
}

struct TButtonDesign {
    const char* FileName;
    int Left;
    int Top;
    int Width;
    const char* Label;
    void (*Draw)(TCanvas&);
};

const TButtonDesign kButtons[] = {
    {"Add1.bmp", 8, 1, kNarrow, "添加", DrawAdd},
    {"Delete1.bmp", 63, 1, kNarrow, "删除", DrawDelete},
    {"Clear1.bmp", 118, 1, kNarrow, "清空", DrawClear},
    {"Convert1.bmp", 173, 1, kWide, "转换", DrawConvert},
    {"OutPath1.bmp", 244, 0, kWide, "输出目录", DrawOutPath},
    {"About1.bmp", 496, 1, kNarrow, "关于", DrawAbout},
};

} // namespace

std::vector<TPicture> BuildAppImages()
{
    std::vector<TPicture> pictures;
    const TCanvas strip = Strip();
    pictures.push_back({"bg.bmp", 0, 0, strip});
    for (const TButtonDesign& design : kButtons) {
        TCanvas button = Crop(strip, design.Left, design.Top, design.Width, kButtonHeight);
        design.Draw(button);
        DrawLabel(button, design.Label);
        pictures.push_back({design.FileName, design.Left, design.Top, std::move(button)});
    }
    return pictures;
}

std::vector<TIconImage> BuildAppIcon()
{
    std::vector<TIconImage> images;
    for (const int size : {16, 32, 48}) {
        // Drawn on a 32-pixel grid and scaled, so every size shows the same.
        const double u = size / 32.0;
        TCanvas colour(size, size);
        TCanvas alpha(size, size);
        const TShape tile = RoundBox(0.5 * u, 0.5 * u, 31.5 * u, 31.5 * u, 6 * u);
        alpha.Fill(tile, kWhite);
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x)
                colour.SetPixel(x, y, Lerp(kStripTop, kStripBottom, y / static_cast<double>(size)));
        }
        colour.Fill(Ring(16 * u, 16 * u, 15.5 * u, 1.2 * u), kStripLine);
        colour.Fill(RoundBox(5 * u, 7 * u, 19 * u, 25 * u, 2 * u), kBlue);
        colour.Fill(Triangle(9 * u, 11 * u, 9 * u, 21 * u, 16 * u, 16 * u), kWhite);
        colour.Fill(Box(19 * u, 14 * u, 23 * u, 18 * u), kOrange);
        colour.Fill(Triangle(22 * u, 10 * u, 22 * u, 22 * u, 28 * u, 16 * u), kOrange);
        images.push_back({std::move(colour), std::move(alpha)});
    }
    return images;
}

} // namespace appimages
