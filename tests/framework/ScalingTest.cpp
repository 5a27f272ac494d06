#include "framework/Scaling.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <random>
#include <vector>

namespace {

constexpr int kScreenDpis[] = {120, 144, 168, 192};

TEST(Scaling, ValuesRoundToNearestWithHalvesAwayFromZero)
{
    struct TCase {
        int Value, M, D, Expected;
    };
    const TCase cases[] = {
        {12, 144, 96, 18},  {-12, 144, 96, -18}, {1, 3, 2, 2},     {-1, 3, 2, -2},  {3, 3, 2, 5},
        {5, 120, 96, 6},    {7, 120, 96, 9},     {-11, 168, 96, -19}, {0, 192, 96, 0}, {558, 144, 96, 837},
        {314, 144, 96, 471}, {18, 96, 144, 12},  {1, 144, -96, -2},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(ScaleValue(c.Value, c.M, c.D), c.Expected) << c.Value << " * " << c.M << " / " << c.D;
}

TEST(Scaling, LargeProductsDoNotOverflow)
{
    EXPECT_EQ(ScaleValue(1000000000, 192, 96), 2000000000);
    EXPECT_EQ(ScaleValue(-1000000000, 144, 96), -1500000000);
}

// Right edges are scaled, not widths, so a row of controls laid out edge to
// edge at 96 stays edge to edge, and controls apart never come to overlap.
TEST(Scaling, BoundsKeepNeighboursTouchingAndApart)
{
    std::mt19937 random(22);
    std::uniform_int_distribution<int> place(0, 600);
    std::uniform_int_distribution<int> size(0, 90);
    for (const int dpi : kScreenDpis) {
        for (int round = 0; round < 2000; ++round) {
            const TScaledBounds first{place(random), place(random), size(random), size(random)};
            const int gap = round % 3;
            const TScaledBounds second{first.Left + first.Width + gap, first.Top, size(random), first.Height};
            const TScaledBounds a = ScaleBounds(first, dpi, 96);
            const TScaledBounds b = ScaleBounds(second, dpi, 96);
            if (gap == 0)
                EXPECT_EQ(a.Left + a.Width, b.Left) << dpi;
            else
                EXPECT_LT(a.Left + a.Width, b.Left) << dpi;
            EXPECT_EQ(a.Top, b.Top);
            EXPECT_EQ(a.Height, b.Height);
            EXPECT_GE(a.Width, 0);
            EXPECT_LE(std::abs(a.Width - ScaleValue(first.Width, dpi, 96)), 1);
        }
    }
}

// 24-bit rows, 4-byte aligned like a DIB's.
struct TPicture {
    int Width, Height;
    std::size_t Stride;
    std::vector<std::uint8_t> Bytes;
    TPicture(int W, int H) : Width(W), Height(H), Stride((static_cast<std::size_t>(W) * 3 + 3) & ~std::size_t{3}),
        Bytes(Stride * static_cast<std::size_t>(H), 0) {}
    TPixelRows Rows() { return {Bytes.data(), Width, Height, Stride}; }
    std::uint8_t* At(int X, int Y) { return Bytes.data() + static_cast<std::size_t>(Y) * Stride + X * 3; }
    void Set(int X, int Y, std::uint8_t B, std::uint8_t G, std::uint8_t R)
    {
        At(X, Y)[0] = B;
        At(X, Y)[1] = G;
        At(X, Y)[2] = R;
    }
    std::uint32_t Pixel(int X, int Y) { return At(X, Y)[0] | At(X, Y)[1] << 8 | At(X, Y)[2] << 16; }
};

// A checkerboard of two colours, in cells of Cell pixels.
TPicture Checkerboard(int W, int H, int Cell)
{
    TPicture p(W, H);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            if ((x / Cell + y / Cell) % 2)
                p.Set(x, y, 0xFF, 0x00, 0xFF);
            else
                p.Set(x, y, 0x20, 0x80, 0x10);
    return p;
}

TEST(Scaling, AreaAverageKeepsFlatColourExact)
{
    for (const int dpi : kScreenDpis) {
        TPicture source(37, 45);
        for (int y = 0; y < 45; ++y)
            for (int x = 0; x < 37; ++x)
                source.Set(x, y, 0x12, 0xAB, 0xFE);
        TPicture target(ScaleValue(37, dpi, 96), ScaleValue(45, dpi, 96));
        Resample(source.Rows(), target.Rows(), TResampling::AreaAverage);
        for (int y = 0; y < target.Height; ++y)
            for (int x = 0; x < target.Width; ++x)
                ASSERT_EQ(target.Pixel(x, y), 0xFEAB12u) << dpi << " at " << x << "," << y;
    }
}

// At twice the size every pixel becomes a crisp 2 x 2 block.
TEST(Scaling, WholeFactorsRepeatPixelsCrisply)
{
    TPicture source = Checkerboard(7, 5, 1);
    for (const TResampling mode : {TResampling::AreaAverage, TResampling::Nearest}) {
        TPicture target(14, 10);
        Resample(source.Rows(), target.Rows(), mode);
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 14; ++x)
                ASSERT_EQ(target.Pixel(x, y), source.Pixel(x / 2, y / 2)) << x << "," << y;
    }
}

// At 150 % a seam between two colours blends, while nearest neighbour only
// ever repeats source colours (a see-through key stays exact).
TEST(Scaling, FractionalFactorsBlendSeamsUnlessNearest)
{
    TPicture source(2, 1);
    source.Set(0, 0, 0, 0, 0);
    source.Set(1, 0, 0xFF, 0xFF, 0xFF);
    TPicture smooth(3, 1);
    Resample(source.Rows(), smooth.Rows(), TResampling::AreaAverage);
    EXPECT_EQ(smooth.Pixel(0, 0), 0x000000u);
    EXPECT_EQ(smooth.Pixel(1, 0), 0x808080u);
    EXPECT_EQ(smooth.Pixel(2, 0), 0xFFFFFFu);

    TPicture board = Checkerboard(16, 16, 3);
    TPicture nearest(24, 24);
    Resample(board.Rows(), nearest.Rows(), TResampling::Nearest);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 24; ++x) {
            const std::uint32_t p = nearest.Pixel(x, y);
            ASSERT_TRUE(p == 0xFF00FFu || p == 0x108020u) << x << "," << y;
        }
}

TEST(Scaling, ShrinkingAveragesTheCoveredArea)
{
    TPicture source = Checkerboard(4, 4, 1);
    TPicture target(2, 2);
    Resample(source.Rows(), target.Rows(), TResampling::AreaAverage);
    // Half 0xFF00FF, half 0x108020, per channel rounded.
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            EXPECT_EQ(target.Pixel(x, y), 0x884090u);
}

} // namespace
