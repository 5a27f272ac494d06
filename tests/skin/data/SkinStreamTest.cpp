// The stored form of a skin file: length first, little-endian, and stored
// data that is shorter than its length refused rather than read past.
#include "skin/data/SkinStream.h"

#include <gtest/gtest.h>

#include <stdexcept>

using TBytes = std::vector<std::uint8_t>;

TEST(SkinStream, LengthComesFirstLittleEndianAndRoundTrips)
{
    const TBytes file(0x0102, 0xAB);
    const TBytes stored = FrameSkinStream(file);
    ASSERT_EQ(stored.size(), file.size() + 4);
    EXPECT_EQ((TBytes{stored.begin(), stored.begin() + 4}), (TBytes{0x02, 0x01, 0, 0}));
    const std::span<const std::uint8_t> back = UnframeSkinStream(stored);
    EXPECT_EQ(TBytes(back.begin(), back.end()), file);
    EXPECT_EQ(FrameSkinStream({}), TBytes(4, 0));
}

TEST(SkinStream, ReadsOnlyWhatTheLengthSays)
{
    struct TCase {
        TBytes Stored;
        TBytes File; // what comes out
    };
    const TCase cases[] = {
        {{0, 0, 0, 0}, {}},
        {{2, 0, 0, 0, 7, 8}, {7, 8}},
        {{1, 0, 0, 0, 7, 8}, {7}}, // what follows the file is not part of it
    };
    for (const TCase& c : cases) {
        const std::span<const std::uint8_t> file = UnframeSkinStream(c.Stored);
        EXPECT_EQ(TBytes(file.begin(), file.end()), c.File);
    }
}

TEST(SkinStream, RefusesDataShorterThanItSays)
{
    const TBytes cases[] = {
        {},
        {1, 0, 0},
        {3, 0, 0, 0, 7, 8},
        {0xFF, 0xFF, 0xFF, 0xFF, 1}, // a length that would wrap an offset
    };
    for (const TBytes& stored : cases)
        EXPECT_THROW(UnframeSkinStream(stored), std::invalid_argument) << stored.size();
}
