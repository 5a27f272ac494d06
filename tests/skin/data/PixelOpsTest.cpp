#include "skin/data/PixelOps.h"

#include "PixelImage.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>
#include <vector>

using namespace imgcore;
using imgcore::testing::TImage;

namespace {

TEST(PixelOps, RotationsOfTwoByOne)
{
    TImage source = TImage::Numbered(2, 1); // [A B] = [1 2]
    TImage left(1, 2), right(1, 2);
    RotateLeft(source.View(), left.View());
    RotateRight(source.View(), right.View());
    EXPECT_EQ(left.Get(0, 0), 2u); // B on top
    EXPECT_EQ(left.Get(0, 1), 1u);
    EXPECT_EQ(right.Get(0, 0), 1u); // A on top
    EXPECT_EQ(right.Get(0, 1), 2u);
}

TEST(PixelOps, RotationsOfThreeByTwoAreInverse)
{
    TImage source = TImage::Numbered(3, 2, 4);
    TImage turned(2, 3, 4), back(3, 2, 4);
    RotateLeft(source.View(), turned.View());
    // 1 2 3      3 6
    // 4 5 6  ->  2 5
    //            1 4
    EXPECT_EQ(turned.Get(0, 0), 3u);
    EXPECT_EQ(turned.Get(1, 0), 6u);
    EXPECT_EQ(turned.Get(0, 2), 1u);
    EXPECT_EQ(turned.Get(1, 2), 4u);
    RotateRight(turned.View(), back.View());
    EXPECT_EQ(back.Bits, source.Bits);
}

TEST(PixelOps, MirrorAndFlip)
{
    TImage image = TImage::Numbered(3, 3);
    MirrorHorizontally(image.View());
    EXPECT_EQ(image.Get(0, 0), 3u);
    EXPECT_EQ(image.Get(1, 0), 2u);
    EXPECT_EQ(image.Get(2, 2), 7u);
    FlipVertically(image.View());
    EXPECT_EQ(image.Get(0, 0), 9u);
    EXPECT_EQ(image.Get(2, 0), 7u);
    EXPECT_EQ(image.Get(1, 1), 5u);
}

TEST(PixelOps, ReplaceColourChangesExactMatchesOnly)
{
    TImage image(3, 1);
    image.Set(0, 0, 0xFF00FF);
    image.Set(1, 0, 0xFE00FF);
    image.Set(2, 0, 0xFF00FF);
    ReplaceColour(image.View(), 0xFF00FF, 0x123456);
    EXPECT_EQ(image.Get(0, 0), 0x123456u);
    EXPECT_EQ(image.Get(1, 0), 0xFE00FFu);
    EXPECT_EQ(image.Get(2, 0), 0x123456u);
}

std::vector<TRectI> Runs(TImage& image, int dx, int dy, std::size_t batch = 2000,
                         std::vector<std::size_t>* batches = nullptr)
{
    std::vector<TRectI> all;
    CollectOpaqueRuns(image.View(), dx, dy, TKeyRange::From(0xFF00FF, 1, 1, 1), batch,
                      [&](std::span<const TRectI> runs, const TRectI& bounds) {
                          for (const TRectI& run : runs) {
                              EXPECT_GE(run.Left, bounds.Left);
                              EXPECT_GE(run.Top, bounds.Top);
                              EXPECT_LE(run.Right, bounds.Right);
                              EXPECT_LE(run.Bottom, bounds.Bottom);
                          }
                          all.insert(all.end(), runs.begin(), runs.end());
                          if (batches)
                              batches->push_back(runs.size());
                      });
    return all;
}

TEST(OpaqueRuns, MagentaRedMagentaIsOneRectangle)
{
    TImage image(3, 1);
    image.Set(0, 0, 0xFF00FF);
    image.Set(1, 0, 0x0000FF);
    image.Set(2, 0, 0xFF00FF);
    EXPECT_EQ(Runs(image, 10, 20), (std::vector<TRectI>{{11, 20, 12, 21}}));
}

TEST(OpaqueRuns, ToleranceReachesOneAboveTheKeyOnly)
{
    TImage image(4, 1);
    image.Set(0, 0, 0xFF01FF); // green 1: still see-through
    image.Set(1, 0, 0xFF02FF); // green 2: opaque
    image.Set(2, 0, 0xFE00FF); // blue 254: opaque
    image.Set(3, 0, 0xFF00FF);
    EXPECT_EQ(Runs(image, 0, 0), (std::vector<TRectI>{{1, 0, 3, 1}}));
}

TEST(OpaqueRuns, RunsCoverExactlyTheOpaquePixelsInBatches)
{
    TImage image(37, 23);
    std::set<std::pair<int, int>> opaque;
    for (int y = 0; y < image.Height; ++y) {
        for (int x = 0; x < image.Width; ++x) {
            const bool see = (x * 7 + y * 3) % 5 == 0 || (x > 10 && x < 20 && y % 4 == 1);
            image.Set(x, y, see ? 0xFF00FF : 0x204060);
            if (!see)
                opaque.insert({x - 3, y + 5});
        }
    }
    std::vector<std::size_t> batches;
    const std::vector<TRectI> runs = Runs(image, -3, 5, 16, &batches);
    std::set<std::pair<int, int>> covered;
    for (const TRectI& run : runs) {
        ASSERT_EQ(run.Height(), 1);
        for (int x = run.Left; x < run.Right; ++x)
            EXPECT_TRUE(covered.insert({x, run.Top}).second) << "pixel covered twice";
    }
    EXPECT_EQ(covered, opaque);
    ASSERT_GT(batches.size(), 2u);
    for (std::size_t i = 0; i + 1 < batches.size(); ++i)
        EXPECT_EQ(batches[i], 16u);
    EXPECT_LE(batches.back(), 16u);
}

TEST(OpaqueRuns, AllSeeThroughGivesNoBatch)
{
    TImage image(4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            image.Set(x, y, 0xFF00FF);
    std::vector<std::size_t> batches;
    EXPECT_TRUE(Runs(image, 0, 0, 2000, &batches).empty());
    EXPECT_TRUE(batches.empty());
}

} // namespace
