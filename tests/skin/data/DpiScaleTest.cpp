#include "skin/data/DpiScale.h"

#include "PixelImage.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <vector>

using namespace imgcore;
using imgcore::testing::TImage;

namespace {

constexpr TRgb kKey = 0xFF00FF;
constexpr int kScreenDpis[] = {120, 144, 168, 192};

TEST(DpiScale, ScalesValuesAsMulDivRounds)
{
    struct TCase {
        int Value, Dpi, Expected;
    };
    const TCase cases[] = {
        {0, 144, 0},   {1, 144, 2},   {3, 144, 5},   {-3, 144, -5}, {5, 120, 6},
        {2, 120, 3},   {7, 168, 12},  {16, 192, 32}, {-1, 120, -1}, {30, 144, 45},
        {123, 96, 123}, {INT_MAX, 192, INT_MAX}, {INT_MIN, 192, INT_MIN}, {17, 0, 17},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(ScaleForDpi(c.Value, c.Dpi), c.Expected) << c.Value << " at " << c.Dpi;
}

TEST(DpiScale, StripSizeIsCountTimesOneScaledFrame)
{
    struct TCase {
        int Width, Height;
        bool Stacked;
        int Count, Dpi;
        TStripSize Expected;
    };
    const TCase cases[] = {
        {112, 20, false, 4, 144, {168, 30}}, // caption buttons: 28 x 20 frames
        {113, 20, false, 4, 144, {168, 30}}, // a column short of a fifth frame is dropped
        {60, 30, true, 2, 144, {90, 46}},    // two stacked frames of 15 rows
        {112, 20, false, 4, 120, {140, 25}},
        {65, 13, false, 5, 168, {115, 23}},  // check boxes: 13 x 13 frames
        {3, 5, false, 4, 144, {0, 8}},       // narrower than its frame count
        {10, 10, false, 0, 192, {20, 20}},   // a count below 1 is one frame
        {0, 10, false, 1, 144, {0, 0}},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(ScaledStripSize(c.Width, c.Height, c.Stacked, c.Count, c.Dpi), c.Expected)
            << c.Width << " x " << c.Height << " / " << c.Count << " at " << c.Dpi;
}

TImage ScaledStrip(TImage& source, bool stacked, int count, TMargins margins, int dpi)
{
    const TStripSize size = ScaledStripSize(source.Width, source.Height, stacked, count, dpi);
    TImage target(size.Width, size.Height, source.Bytes);
    ScaleStrip(source.View(), target.View(), stacked, count, margins, dpi, kKey);
    return target;
}

TEST(DpiScale, WholeFactorsCopyEveryPixelIntoABlock)
{
    for (int bytes : {3, 4}) {
        TImage source = TImage::Numbered(3, 2, bytes);
        TImage target = ScaledStrip(source, false, 1, {1, 1, 1, 0}, 192);
        ASSERT_EQ(target.Width, 6);
        ASSERT_EQ(target.Height, 4);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 6; ++x)
                EXPECT_EQ(target.Get(x, y), source.Get(x / 2, y / 2)) << x << ", " << y;
    }
}

TEST(DpiScale, FractionalFactorsMixNeighbours)
{
    TImage source(2, 1);
    source.Set(0, 0, 0x000000);
    source.Set(1, 0, 0xFFFFFF);
    TImage target = ScaledStrip(source, false, 1, {}, 144);
    ASSERT_EQ(target.Width, 3);
    EXPECT_EQ(target.Get(0, 0), 0x000000u);
    EXPECT_EQ(target.Get(1, 0), 0x808080u); // half of each
    EXPECT_EQ(target.Get(2, 0), 0xFFFFFFu);
}

// A rounded corner: key outside a quarter circle, one colour inside.
TImage RoundedCorner(int size, TRgb inside)
{
    TImage image(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const int dx = size - x, dy = size - y;
            image.Set(x, y, dx * dx + dy * dy > size * size ? kKey : inside);
        }
    return image;
}

TEST(DpiScale, KeyStaysExactAndNeverTintsItsNeighbours)
{
    constexpr TRgb kInside = 0x336699;
    for (int dpi : kScreenDpis) {
        TImage source = RoundedCorner(9, kInside);
        TImage target = ScaledStrip(source, false, 1, {}, dpi);
        std::set<TRgb> colours;
        for (int y = 0; y < target.Height; ++y)
            for (int x = 0; x < target.Width; ++x)
                colours.insert(target.Get(x, y));
        EXPECT_EQ(colours, (std::set<TRgb>{kKey, kInside})) << dpi;
        // Where the corner is see-through at its far end, it still is.
        EXPECT_EQ(target.Get(0, 0), kKey) << dpi;
        EXPECT_EQ(target.Get(target.Width - 1, target.Height - 1), kInside) << dpi;
    }
}

// count frames of width x height, frame f filled with colour f + 1 and its
// margins with colours of their own, so any mixing shows.
TImage BandedStrip(int width, int height, bool stacked, int count, TMargins margins)
{
    TImage image(stacked ? width : width * count, stacked ? height * count : height);
    for (int f = 0; f < count; ++f)
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const int column = x < margins.Left ? 0 : x >= width - margins.Right ? 2 : 1;
                const int row = y < margins.Top ? 0 : y >= height - margins.Bottom ? 2 : 1;
                const TRgb colour = MakeRgb(40 * f + 10, 60 * column + 20, 60 * row + 20);
                image.Set(stacked ? x : f * width + x, stacked ? f * height + y : y, colour);
            }
    return image;
}

TEST(DpiScale, FramesAndMarginBandsScaleApart)
{
    struct TCase {
        int Width, Height;
        bool Stacked;
        int Count;
        TMargins Margins;
    };
    const TCase cases[] = {
        {5, 30, false, 2, {0, 7, 0, 5}}, // side borders: caps above and below a tiled middle
        {60, 5, true, 2, {9, 0, 4, 0}},  // top border: caps left and right
        {7, 9, false, 5, {2, 3, 1, 2}},  // a push button face, nine slices
        {3, 3, false, 3, {1, 1, 1, 1}},  // a one-pixel middle
    };
    for (int dpi : kScreenDpis)
        for (const TCase& c : cases) {
            TImage source = BandedStrip(c.Width, c.Height, c.Stacked, c.Count, c.Margins);
            TImage target = ScaledStrip(source, c.Stacked, c.Count, c.Margins, dpi);
            const int width = ScaleForDpi(c.Width, dpi);
            const int height = ScaleForDpi(c.Height, dpi);
            const TMargins scaled = ScaleForDpi(c.Margins, dpi);
            for (int f = 0; f < c.Count; ++f)
                for (int y = 0; y < height; ++y)
                    for (int x = 0; x < width; ++x) {
                        const int column = x < scaled.Left ? 0 : x >= width - scaled.Right ? 2 : 1;
                        const int row = y < scaled.Top ? 0 : y >= height - scaled.Bottom ? 2 : 1;
                        const int tx = c.Stacked ? x : f * width + x;
                        const int ty = c.Stacked ? f * height + y : y;
                        ASSERT_EQ(target.Get(tx, ty), MakeRgb(40 * f + 10, 60 * column + 20, 60 * row + 20))
                            << "frame " << f << " at " << x << ", " << y << ", dpi " << dpi << ", case "
                            << c.Width << " x " << c.Height;
                    }
        }
}

TEST(DpiScale, MarginsBeyondTheFrameStayInside)
{
    // Margins that overlap or pass the frame, frames too small to split and
    // a count of zero: the target is filled only within its own bounds (the
    // sanitizers watch the buffers), and every pixel comes from the source.
    struct TCase {
        int Width, Height, Count;
        TMargins Margins;
    };
    const TCase cases[] = {
        {4, 4, 1, {3, 3, 3, 3}}, {4, 4, 1, {9, 0, 9, 0}}, {4, 4, 1, {-2, -2, 5, 5}},
        {1, 1, 1, {1, 1, 1, 1}}, {5, 2, 4, {1, 1, 1, 1}}, {6, 3, 0, {2, 0, 2, 0}},
    };
    for (int dpi : {72, 120, 144, 168, 192})
        for (const TCase& c : cases) {
            TImage source(c.Width, c.Height);
            for (int y = 0; y < c.Height; ++y)
                for (int x = 0; x < c.Width; ++x)
                    source.Set(x, y, 0x204060);
            TImage target = ScaledStrip(source, false, c.Count, c.Margins, dpi);
            for (int y = 0; y < target.Height; ++y)
                for (int x = 0; x < target.Width; ++x)
                    ASSERT_EQ(target.Get(x, y), 0x204060u) << x << ", " << y << " at " << dpi;
        }
}

} // namespace
