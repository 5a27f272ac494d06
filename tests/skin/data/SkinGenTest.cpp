// skingen: its BMP files read back as drawn, and a skin is the same bytes on
// every run.
#include "Bmp.h"
#include "SkinBuilder.h"
#include "base/BmpImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <span>

namespace {

using skingen::TRaster;
using skingen::TRgb;

imgcore::TBmpImage Decode(const std::string& bytes)
{
    return imgcore::DecodeBmp(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

TEST(SkinGen, Bmp24ReadsBackTopDownWithPaddedRows)
{
    TRaster image(3, 2, TRgb{1, 2, 3}); // 9 bytes a row, padded to 12
    image.Set(2, 0, TRgb{200, 100, 50});
    image.Set(0, 1, TRgb{255, 0, 255});
    const imgcore::TBmpImage decoded = Decode(skingen::EncodeBmp24(image));
    ASSERT_EQ(decoded.Width, 3);
    ASSERT_EQ(decoded.Height, 2);
    ASSERT_EQ(decoded.BitCount, 24);
    const std::uint8_t* top = decoded.Row(0);
    EXPECT_EQ(std::vector<std::uint8_t>(top, top + 9), (std::vector<std::uint8_t>{3, 2, 1, 3, 2, 1, 50, 100, 200}));
    const std::uint8_t* bottom = decoded.Row(1);
    EXPECT_EQ(std::vector<std::uint8_t>(bottom, bottom + 3), (std::vector<std::uint8_t>{255, 0, 255}));
}

TEST(SkinGen, Bmp1PutsInkFirstInThePalette)
{
    TRaster image(10, 1, TRgb{255, 255, 255});
    image.Set(0, 0, TRgb{0, 0, 0});
    image.Set(9, 0, TRgb{0, 0, 0});
    const imgcore::TBmpImage decoded = Decode(skingen::EncodeBmp1(image, TRgb{0, 0, 0}));
    ASSERT_EQ(decoded.BitCount, 1);
    ASSERT_EQ(decoded.Palette.size(), 2u);
    EXPECT_EQ(decoded.Palette[0], (imgcore::TPaletteEntry{0, 0, 0, 0}));
    EXPECT_EQ(decoded.Palette[1], (imgcore::TPaletteEntry{255, 255, 255, 0}));
    EXPECT_EQ(decoded.Row(0)[0], 0x7F); // pixel 0 ink, 1..7 white
    EXPECT_EQ(decoded.Row(0)[1], 0x80); // pixel 8 white, pixel 9 ink
}

TEST(SkinGen, SkinsAreTheSameBytesOnEveryRun)
{
    for (const skingen::TTheme* theme : {&skingen::SteelTheme(), &skingen::LightTheme()}) {
        const auto first = skingen::BuildSkin(*theme);
        const auto second = skingen::BuildSkin(*theme);
        ASSERT_EQ(first.size(), second.size());
        std::set<std::string> names;
        for (std::size_t i = 0; i < first.size(); ++i) {
            EXPECT_EQ(first[i].Name, second[i].Name);
            EXPECT_TRUE(first[i].Bytes == second[i].Bytes) << first[i].Name;
            EXPECT_TRUE(names.insert(first[i].Name).second) << "twice: " << first[i].Name;
        }
        EXPECT_EQ(first.back().Name, "skin.ini");
    }
}

TEST(SkinGen, TopCornersAreSeeThroughAndTheBorderBelowIsNot)
{
    const auto files = skingen::BuildSkin(skingen::SteelTheme());
    const auto left = std::find_if(files.begin(), files.end(), [](const auto& f) { return f.Name == "left.bmp"; });
    ASSERT_NE(left, files.end());
    const imgcore::TBmpImage image = Decode(left->Bytes);
    auto isKey = [&](int x, int y) {
        const std::uint8_t* p = image.Row(y) + 3 * x;
        return p[0] == 255 && p[1] == 0 && p[2] == 255;
    };
    EXPECT_TRUE(isKey(0, 0));
    EXPECT_TRUE(isKey(5, 0)); // the inactive frame's corner too
    EXPECT_FALSE(isKey(0, image.Height / 2));
    EXPECT_FALSE(isKey(4, image.Height - 1));
}

} // namespace
