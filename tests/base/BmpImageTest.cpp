#include "base/BmpImage.h"

#include "tests/skin/data/BmpBuilder.h"

#include <gtest/gtest.h>

using namespace imgcore;
using bmptest::MakeBmp;
using bmptest::Put16;
using bmptest::Put32;
using bmptest::TBmpLayout;

namespace {

// The pixel (x, y) as 0x00RRGGBB, looked up in the palette when there is one.
std::uint32_t PixelOf(const TBmpImage& image, int x, int y)
{
    const std::uint8_t* row = image.Row(y);
    auto entry = [&](std::size_t index) {
        const TPaletteEntry& e = image.Palette.at(index);
        return static_cast<std::uint32_t>(e.Red << 16 | e.Green << 8 | e.Blue);
    };
    switch (image.BitCount) {
    case 1: return entry((row[x / 8] >> (7 - x % 8)) & 1);
    case 4: return entry((row[x / 2] >> (x % 2 ? 0 : 4)) & 15);
    case 8: return entry(row[x]);
    default: {
        const std::uint8_t* p = row + static_cast<std::size_t>(x) * static_cast<std::size_t>(image.BitCount / 8);
        return static_cast<std::uint32_t>(p[2] << 16 | p[1] << 8 | p[0]);
    }
    }
}

std::vector<std::uint32_t> AllPixels(const TBmpImage& image)
{
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < image.Height; ++y)
        for (int x = 0; x < image.Width; ++x)
            pixels.push_back(PixelOf(image, x, y));
    return pixels;
}

const std::vector<std::uint32_t> kColours{0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x000000, 0x123456};

TEST(BmpDecode, EachBitDepthReadsBackItsPixels)
{
    struct TCase {
        int BitCount;
        std::vector<std::uint32_t> Palette;
        std::vector<std::uint32_t> Stored;
        int ExpectedBits;
    };
    const std::vector<std::uint32_t> indices{0, 1, 2, 3, 4, 5};
    const TCase cases[] = {
        {1, {0x000000, 0xFFFFFF}, {0, 1, 1, 0, 1, 0}, 1},
        {4, kColours, indices, 4},
        {8, kColours, indices, 8},
        {24, {}, kColours, 24},
        {32, {}, kColours, 32},
        {16, {}, {0x7C00, 0x03E0, 0x001F, 0x7FFF, 0x0000, 0x0842}, 24},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.BitCount);
        for (int height : {2, -2}) {
            const TBmpImage image = DecodeBmp(MakeBmp({3, height, c.BitCount, 0, c.Palette, static_cast<std::uint32_t>(c.Palette.size()), {}, c.Stored}));
            EXPECT_EQ(image.Width, 3);
            EXPECT_EQ(image.Height, 2);
            EXPECT_EQ(image.BitCount, c.ExpectedBits);
            std::vector<std::uint32_t> expected;
            if (c.BitCount == 16)
                expected = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x000000, 0x101010};
            else if (c.Palette.empty())
                expected = c.Stored;
            else
                for (std::uint32_t index : c.Stored)
                    expected.push_back(c.Palette[index]);
            EXPECT_EQ(AllPixels(image), expected);
        }
    }
}

TEST(BmpDecode, BitfieldMasksAndShortPalettes)
{
    // 32 bits with the channels in unusual places: blue high, red low.
    const TBmpImage masked = DecodeBmp(MakeBmp(
        {2, 1, 32, 3, {}, 0, {0x000000FF, 0x0000FF00, 0x00FF0000}, {0x0000FF, 0x563412}}));
    EXPECT_EQ(AllPixels(masked), (std::vector<std::uint32_t>{0xFF0000, 0x123456}));

    // Two palette entries declared for 8 bits; index 7 is not in the file and reads black.
    const TBmpImage shortPalette = DecodeBmp(MakeBmp({2, 1, 8, 0, {0xABCDEF, 0x111111}, 2, {}, {1, 7}}));
    EXPECT_EQ(shortPalette.Palette.size(), 256u);
    EXPECT_EQ(AllPixels(shortPalette), (std::vector<std::uint32_t>{0x111111, 0x000000}));
}

TEST(BmpDecode, PackedDibAsResourcesStoreIt)
{
    std::vector<std::uint8_t> file = MakeBmp({2, 2, 24, 0, {}, 0, {}, {1, 2, 3, 4}});
    const std::vector<std::uint8_t> dib(file.begin() + 14, file.end());
    EXPECT_EQ(AllPixels(DecodePackedDib(dib)), (std::vector<std::uint32_t>{1, 2, 3, 4}));
}

// Each case corrupts one field of a valid 4 × 3, 8-bit file.
TEST(BmpDecode, RefusesTruncatedAndLyingHeaders)
{
    const std::vector<std::uint8_t> good = MakeBmp({4, 3, 8, 0, kColours, 6, {}, {}});
    ASSERT_NO_THROW(DecodeBmp(good));
    struct TCase {
        const char* Name;
        void (*Corrupt)(std::vector<std::uint8_t>&);
    };
    const TCase cases[] = {
        {"empty", [](auto& b) { b.clear(); }},
        {"file header only", [](auto& b) { b.resize(14); }},
        {"cut in the info header", [](auto& b) { b.resize(30); }},
        {"cut in the palette", [](auto& b) { b.resize(60); }},
        {"cut in the last row", [](auto& b) { b.pop_back(); }},
        {"no signature", [](auto& b) { b[0] = 'X'; }},
        {"header size unknown", [](auto& b) { Put32(b, 14, 41); }},
        {"header size past the end", [](auto& b) { Put32(b, 14, 124); }},
        {"huge width", [](auto& b) { Put32(b, 18, 0x7FFFFFFF); }},
        {"negative width", [](auto& b) { Put32(b, 18, 0xFFFFFFFC); }},
        {"zero height", [](auto& b) { Put32(b, 22, 0); }},
        {"most negative height", [](auto& b) { Put32(b, 22, 0x80000000); }},
        {"taller than the data", [](auto& b) { Put32(b, 22, 4); }},
        {"two planes", [](auto& b) { Put16(b, 26, 2); }},
        {"7 bits per pixel", [](auto& b) { Put16(b, 28, 7); }},
        {"0 bits per pixel", [](auto& b) { Put16(b, 28, 0); }},
        {"wider pixels than stored", [](auto& b) { Put16(b, 28, 32); }},
        {"JPEG compressed", [](auto& b) { Put32(b, 30, 4); }},
        {"4-bit run-length on 8 bits", [](auto& b) { Put32(b, 30, 2); }},
        {"bit fields on 8 bits", [](auto& b) { Put32(b, 30, 3); }},
        {"more colours than 8 bits hold", [](auto& b) { Put32(b, 46, 257); }},
        {"colour count past the end", [](auto& b) { Put32(b, 46, 256); }},
        {"pixels inside the palette", [](auto& b) { Put32(b, 10, 60); }},
        {"pixels past the end", [](auto& b) { Put32(b, 10, 0xFFFFFFF0); }},
    };
    for (const TCase& c : cases) {
        std::vector<std::uint8_t> bytes = good;
        c.Corrupt(bytes);
        EXPECT_THROW(DecodeBmp(bytes), EBmpFormat) << c.Name;
    }
}

// Other tools write a pixel offset of 0 for pixels right after the palette,
// or end the file without the last row's padding; both load as written.
TEST(BmpDecode, AcceptsZeroPixelOffsetAndUnpaddedLastRow)
{
    struct TCase {
        int BitCount;
        std::vector<std::uint32_t> Palette;
        std::vector<std::uint32_t> Stored;
        std::size_t Padding; // of a 3-pixel row
    };
    const TCase cases[] = {
        {1, {0x000000, 0xFFFFFF}, {0, 1, 1, 1, 0, 1}, 3},
        {4, kColours, {0, 1, 2, 3, 4, 5}, 2},
        {8, kColours, {0, 1, 2, 3, 4, 5}, 1},
        {16, {}, {0x7C00, 0x03E0, 0x001F, 0x7FFF, 0x0000, 0x0842}, 2},
        {24, {}, kColours, 3},
    };
    for (const TCase& c : cases) {
        for (int height : {2, -2}) {
            SCOPED_TRACE(testing::Message() << c.BitCount << " bits, height " << height);
            const std::vector<std::uint8_t> good = MakeBmp(
                {3, height, c.BitCount, 0, c.Palette, static_cast<std::uint32_t>(c.Palette.size()), {}, c.Stored});
            const std::vector<std::uint32_t> expected = AllPixels(DecodeBmp(good));

            std::vector<std::uint8_t> zeroOffset = good;
            Put32(zeroOffset, 10, 0);
            EXPECT_EQ(AllPixels(DecodeBmp(zeroOffset)), expected);

            std::vector<std::uint8_t> unpadded = zeroOffset;
            unpadded.resize(unpadded.size() - c.Padding);
            EXPECT_EQ(AllPixels(DecodeBmp(unpadded)), expected);

            // One byte of pixels missing as well is truly short.
            unpadded.pop_back();
            EXPECT_THROW(DecodeBmp(unpadded), EBmpFormat);
        }
    }
}

// A paletted file whose pixel bytes are replaced by run-length data.
std::vector<std::uint8_t> RunLengthBmp(int width, int height, int bitCount, std::vector<std::uint8_t> data)
{
    std::vector<std::uint8_t> bytes = MakeBmp({width, height, bitCount, bitCount == 8 ? 1u : 2u,
                                               kColours, 6, {}, {}});
    const std::size_t pixels = bytes[10] | bytes[11] << 8;
    bytes.resize(pixels);
    bytes.insert(bytes.end(), data.begin(), data.end());
    return bytes;
}

TEST(BmpDecode, RunLengthEightAndFourBits)
{
    // Rows are stored bottom first: the last row written is the top one.
    const std::vector<std::uint8_t> rle8{
        3, 1,                 // bottom row: three of index 1
        0, 0,                 // end of line
        0, 3, 2, 3, 4, 0,     // literal 2 3 4, padded to a word
        0, 0,                 // end of line: x 0 of the top row
        0, 2, 1, 0,           // jump one right
        1, 5,                 // one of index 5
        0, 1};                // end of image
    const TBmpImage eight = DecodeBmp(RunLengthBmp(4, 3, 8, rle8));
    EXPECT_EQ(eight.BitCount, 8);
    const std::uint32_t k0 = kColours[0], k1 = kColours[1], k2 = kColours[2], k3 = kColours[3],
                        k4 = kColours[4], k5 = kColours[5];
    EXPECT_EQ(AllPixels(eight), (std::vector<std::uint32_t>{k0, k5, k0, k0, //
                                                            k2, k3, k4, k0, //
                                                            k1, k1, k1, k0}));

    const std::vector<std::uint8_t> rle4{
        5, 0x12,              // 1 2 1 2 1
        0, 0,
        0, 3, 0x34, 0x50,     // literal 3 4 5 (two bytes: already a word)
        0, 1};
    const TBmpImage four = DecodeBmp(RunLengthBmp(5, 2, 4, rle4));
    EXPECT_EQ(four.BitCount, 4);
    EXPECT_EQ(AllPixels(four), (std::vector<std::uint32_t>{k3, k4, k5, k0, k0, //
                                                           k1, k2, k1, k2, k1}));
}

TEST(BmpDecode, RunLengthStaysInsideTheImage)
{
    // Runs past the right edge and jumps past the top are dropped.
    const TBmpImage clipped = DecodeBmp(RunLengthBmp(2, 1, 8, {200, 1, 0, 2, 255, 0, 0, 2, 0, 255, 9, 9}));
    EXPECT_EQ(AllPixels(clipped), (std::vector<std::uint32_t>{kColours[1], kColours[1]}));
    // Data that stops before the end of the image, or inside a literal run.
    EXPECT_THROW(DecodeBmp(RunLengthBmp(4, 3, 8, {3, 1, 0})), EBmpFormat);
    EXPECT_THROW(DecodeBmp(RunLengthBmp(4, 3, 8, {0, 4, 1, 2})), EBmpFormat);
    // A huge image from a few bytes is refused rather than allocated.
    std::vector<std::uint8_t> huge = RunLengthBmp(4, 3, 8, {0, 1});
    Put32(huge, 18, 30000);
    Put32(huge, 22, 30000);
    EXPECT_THROW(DecodeBmp(huge), EBmpFormat);
}

TEST(BmpDecode, RefusesMasksThatAreNotOneRun)
{
    EXPECT_THROW(DecodeBmp(MakeBmp({1, 1, 32, 3, {}, 0, {0x00FF00FF, 0x0000FF00, 0xFF}, {0}})), EBmpFormat);
    EXPECT_NO_THROW(DecodeBmp(MakeBmp({1, 1, 32, 3, {}, 0, {0, 0, 0}, {0}})));
}

} // namespace
