// The main window's pictures: sizes, bitmap format, and buttons that sit on
// the strip without a seam.
#include "AppImages.h"

#include <gtest/gtest.h>

#include <array>
#include <map>

namespace appimages {
namespace {

std::uint32_t Read32(const std::vector<std::uint8_t>& bytes, std::size_t at)
{
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
           static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

TEST(AppImages, EveryPictureHasItsDesignedSize)
{
    const std::map<std::string, std::pair<int, int>> expected = {
        {"bg.bmp", {558, 50}},     {"Add1.bmp", {37, 45}},     {"Delete1.bmp", {37, 45}},
        {"Clear1.bmp", {37, 45}},  {"Convert1.bmp", {58, 45}}, {"OutPath1.bmp", {58, 45}},
        {"About1.bmp", {37, 45}}};
    const auto pictures = BuildAppImages();
    ASSERT_EQ(pictures.size(), expected.size());
    for (const auto& picture : pictures) {
        ASSERT_TRUE(expected.contains(picture.FileName)) << picture.FileName;
        EXPECT_EQ(picture.Canvas.Width(), expected.at(picture.FileName).first) << picture.FileName;
        EXPECT_EQ(picture.Canvas.Height(), expected.at(picture.FileName).second) << picture.FileName;
    }
}

TEST(AppImages, BitmapFileIsBottomUp24BitWithPaddedRows)
{
    TCanvas canvas(3, 2);
    canvas.SetPixel(0, 0, {1, 2, 3});
    canvas.SetPixel(2, 1, {4, 5, 6});
    const auto bytes = canvas.BitmapFile();
    ASSERT_EQ(bytes.size(), 54u + 2 * 12);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(Read32(bytes, 2), bytes.size());
    EXPECT_EQ(Read32(bytes, 10), 54u);
    EXPECT_EQ(Read32(bytes, 18), 3u);
    EXPECT_EQ(Read32(bytes, 22), 2u);
    EXPECT_EQ(bytes[28], 24);
    // Bottom row first, blue-green-red.
    EXPECT_EQ(bytes[54 + 6], 6);
    EXPECT_EQ(bytes[54 + 8], 4);
    EXPECT_EQ(bytes[54 + 12], 3);
    EXPECT_EQ(bytes[54 + 14], 1);
}

TEST(AppImages, ButtonEdgesMatchTheStripBeneathThem)
{
    const auto pictures = BuildAppImages();
    const TCanvas& strip = pictures.front().Canvas;
    for (std::size_t i = 1; i < pictures.size(); ++i) {
        const auto& button = pictures[i];
        const int w = button.Canvas.Width();
        const int h = button.Canvas.Height();
        for (int x = 0; x < w; ++x) {
            for (const int y : {0, h - 1})
                EXPECT_EQ(button.Canvas.Pixel(x, y), strip.Pixel(button.Left + x, button.Top + y))
                    << button.FileName << " at " << x << "," << y;
        }
        for (int y = 0; y < h; ++y) {
            for (const int x : {0, w - 1})
                EXPECT_EQ(button.Canvas.Pixel(x, y), strip.Pixel(button.Left + x, button.Top + y))
                    << button.FileName << " at " << x << "," << y;
        }
    }
}

TEST(AppImages, StripKeyColourIsTheWindowColourInTheLastRowOnly)
{
    const auto pictures = BuildAppImages();
    const TCanvas& strip = pictures.front().Canvas;
    const TRgb key = strip.Pixel(0, strip.Height() - 1);
    EXPECT_EQ(key, (TRgb{105, 106, 107}));
    for (int y = 0; y < strip.Height() - 1; ++y)
        EXPECT_NE(strip.Pixel(0, y), key) << "row " << y;
}

TEST(AppImages, DrawingIsDeterministic)
{
    const auto first = BuildAppImages();
    const auto second = BuildAppImages();
    for (std::size_t i = 0; i < first.size(); ++i)
        EXPECT_EQ(first[i].Canvas.BitmapFile(), second[i].Canvas.BitmapFile()) << first[i].FileName;
}

// The .ico layout Windows reads: directory, then per size a 32-bit DIB of
// doubled height with its AND mask; see-through corners, an opaque middle.
TEST(AppImages, IconHoldsThreeSizesWithAlpha)
{
    const auto images = BuildAppIcon();
    const auto bytes = IconFile(images);
    ASSERT_EQ(images.size(), 3u);
    EXPECT_EQ(bytes[2] | bytes[3] << 8, 1) << "an icon, not a cursor";
    EXPECT_EQ(bytes[4] | bytes[5] << 8, 3);
    const std::array<int, 3> sizes{16, 32, 48};
    std::size_t expectedOffset = 6 + 3 * 16;
    for (std::size_t i = 0; i < 3; ++i) {
        const std::size_t entry = 6 + i * 16;
        const int size = images[i].Colour.Width();
        EXPECT_EQ(size, sizes[i]);
        EXPECT_EQ(bytes[entry], size);
        EXPECT_EQ(bytes[entry + 1], size);
        const std::uint32_t length = Read32(bytes, entry + 8);
        const std::uint32_t offset = Read32(bytes, entry + 12);
        EXPECT_EQ(offset, expectedOffset);
        const std::uint32_t maskRow = (static_cast<std::uint32_t>(size) + 31) / 32 * 4;
        EXPECT_EQ(length, 40 + 4u * size * size + maskRow * size);
        EXPECT_EQ(Read32(bytes, offset + 8), 2u * size) << "colour and mask rows";
        EXPECT_EQ(bytes[offset + 14], 32);
        // Bottom-up rows: the first pixel stored is the bottom-left corner.
        EXPECT_EQ(bytes[offset + 40 + 3], 0) << "corner see-through";
        const std::size_t middle = offset + 40 + 4 * (static_cast<std::size_t>(size / 2) * size + size / 2);
        EXPECT_EQ(bytes[middle + 3], 255) << "middle opaque";
        expectedOffset += length;
    }
    EXPECT_EQ(bytes.size(), expectedOffset);
}

} // namespace
} // namespace appimages
