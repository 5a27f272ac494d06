#include "skin/data/ColourMath.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace imgcore;

namespace {

struct TMixCase {
    TRgb C1, C2;
    int Weight;
    TRgb Expected;
};

TEST(ColourMath, MixColourWeighsFirstColourInPercentOrPerMille)
{
    const TMixCase cases[] = {
        {0x000000, 0xFFFFFF, 150, 0xD9D9D9}, // per mille: (255·850 + 500) / 1000 = 217
        {0xFFFFFF, 0x000000, 60, 0x999999},  // percent: 60 % of white
        {0x0000FF, 0xFF0000, 50, 0x800080},  // halves round up
        {0x123456, 0xABCDEF, 0, 0xABCDEF},   // no share of c1
        {0x123456, 0xABCDEF, 1000, 0x123456},
        {0x102030, 0x302010, 99, 0x102030},  // (0x30·1 + 0x10·99 + 50) / 100 = 16
    };
    for (const TMixCase& c : cases)
        EXPECT_EQ(MixColour(c.C1, c.C2, c.Weight), c.Expected) << std::hex << c.C1 << " " << c.C2 << " " << std::dec << c.Weight;
}

TEST(ColourMath, SaturationOfBrightColoursElse200)
{
    const std::pair<TRgb, int> cases[] = {
        {0x0000FF, 255}, {0x808080, 200}, {0xC0C0C0, 0}, {0x000000, 200},
        {0x9F9F9F, 200}, // no channel reaches 160
        {0x8080FF, 127}, // (255 − 128) / 255 · 255 = 127
        {0x0000A0, 255},
    };
    for (const auto& [colour, expected] : cases)
        EXPECT_EQ(Saturation(colour), expected) << std::hex << colour;
}

TEST(ColourMath, GradientOfFiveFromBlackToWhite)
{
    const std::vector<TRgb> expected{0x000000, 0x404040, 0x808080, 0xBFBFBF, 0xFFFFFF};
    EXPECT_EQ(GradientColours(5, 0x000000, 0xFFFFFF), expected);
}

TEST(ColourMath, FallingGradientEndsOnItsEndColour)
{
    const std::vector<TRgb> colours = GradientColours(5, 0xFFFFFF, 0x000000);
    EXPECT_EQ(colours.front(), 0xFFFFFFu);
    EXPECT_EQ(colours.back(), 0x000000u);
    EXPECT_EQ(colours[2], 0x808080u - 0x010101u); // 255 − 128: mirrors the rising table
}

TEST(ColourMath, OneColourGradientIsTheMiddle)
{
    EXPECT_EQ(GradientColours(1, 0x000000, 0xFEFEFE), std::vector<TRgb>{0x7F7F7F});
    EXPECT_THROW(GradientColours(0, 0, 0), std::invalid_argument);
}

TEST(GradientCache, ReusesTablesAndCyclesThroughSixteenSlots)
{
    TGradientCache cache;
    EXPECT_EQ(cache.Table(5, 0x000000, 0xFFFFFF), 0);
    EXPECT_EQ(cache.Table(7, 0xFFFFFF, 0x000000), 1);
    EXPECT_EQ(cache.Table(1, 0x000000, 0xFEFEFE), 2);
    // Found again, falling and one-colour tables included.
    EXPECT_EQ(cache.Table(5, 0x000000, 0xFFFFFF), 0);
    EXPECT_EQ(cache.Table(7, 0xFFFFFF, 0x000000), 1);
    EXPECT_EQ(cache.Table(1, 0x000000, 0xFEFEFE), 2);
    EXPECT_EQ(cache.Entries(0).size(), 5u);

    for (int i = 3; i < TGradientCache::SlotCount; ++i)
        EXPECT_EQ(cache.Table(10 + i, 0, 0xFFFFFF), i);
    // The counter wraps: the oldest table gives way.
    EXPECT_EQ(cache.Table(2, 0x0000FF, 0x00FF00), 0);
    EXPECT_EQ(cache.Entries(0), (std::vector<TRgb>{0x0000FF, 0x00FF00}));
    EXPECT_EQ(cache.Table(5, 0x000000, 0xFFFFFF), 1);
    EXPECT_THROW(cache.Table(0, 0, 0), std::invalid_argument);
}

} // namespace
