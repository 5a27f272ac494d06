// LZHUF decoding and the skin tools' encoder: they must agree with each other
// and with the step-by-step reference decoder on every stream, good or bad.
#include "LZHReference.h"
#include "SkinFixtures.h"
#include "skin/data/LZH.h"
#include "skin/data/LZHPack.h"
#include "skin/data/LZHTree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

std::vector<std::uint8_t> Unpack(std::int32_t size, std::span<const std::uint8_t> stream,
                                 bool* exhausted = nullptr)
{
    std::vector<std::uint8_t> out;
    TLZH lzh;
    lzh.LZHUnpack(size, stream, out);
    if (exhausted != nullptr)
        *exhausted = lzh.InputExhausted();
    return out;
}

struct TRoundTrip {
    const char* name;
    std::vector<std::uint8_t> data;
};

std::vector<TRoundTrip> RoundTripCases()
{
    std::vector<std::uint8_t> runs;
    for (int i = 0; i < 200; ++i)
        runs.insert(runs.end(), static_cast<std::size_t>(60 + i % 7), static_cast<std::uint8_t>('a' + i % 3));
    return {
        {"empty", {}},
        {"one byte", {0x42}},
        {"random", RandomBytes(100'000, 1)},  // ~100,000 literal symbols: several tree rebuilds
        {"text", TextBytes(200'000)},
        {"runs longer than a match", runs},
        {"all equal", std::vector<std::uint8_t>(1'000'000, 0x00)},
        {"leading spaces match the initial ring", Bytes("                                        x")},
        {"skin-like bitmap", SkinLikeBitmap(300, 200, 3)},
        {"mixed", MixedBytes(600'000)},
    };
}

TEST(LZH, RoundTripsThroughEncoderAndBothDecoders)
{
    for (const TRoundTrip& sample : RoundTripCases()) {
        SCOPED_TRACE(sample.name);
        const std::vector<std::uint8_t> stream = LZHPack(sample.data);
        const auto size = static_cast<std::int32_t>(sample.data.size());
        bool exhausted = true;
        EXPECT_EQ(Unpack(size, stream, &exhausted), sample.data);
        EXPECT_FALSE(exhausted);
        EXPECT_EQ(ReferenceLZHUnpack(size, stream), sample.data);
    }
}

TEST(LZH, EncoderIsDeterministicAndCompresses)
{
    const std::vector<std::uint8_t> text = TextBytes(100'000);
    EXPECT_EQ(LZHPack(text), LZHPack(text));
    EXPECT_LT(LZHPack(text).size(), text.size() / 3);
    EXPECT_LT(LZHPack(std::vector<std::uint8_t>(60'000, 7)).size(), 1'500u);  // ~12 bits per 60-byte match
}

TEST(LZH, EmptyStreamAndNonPositiveSizesProduceNothing)
{
    EXPECT_TRUE(LZHPack({}).empty());
    for (const std::int32_t size : {0, -1, INT32_MIN}) {
        bool exhausted = true;
        EXPECT_TRUE(Unpack(size, {}, &exhausted).empty());
        EXPECT_FALSE(exhausted);
    }
}

// A cut stream reads zeros past its end: the decoder still stops after the
// asked-for size (plus the tail of a last match), agrees with the reference,
// and says that it ran dry.
TEST(LZH, TruncatedStreamTerminatesAndReportsRunningDry)
{
    const std::vector<std::uint8_t> data = MixedBytes(120'000);
    const std::vector<std::uint8_t> stream = LZHPack(data);
    const auto size = static_cast<std::int32_t>(data.size());
    for (const std::size_t keep : {std::size_t{0}, std::size_t{1}, std::size_t{7}, stream.size() / 2,
                                   stream.size() - 1}) {
        SCOPED_TRACE(keep);
        const std::span<const std::uint8_t> cut(stream.data(), keep);
        bool exhausted = false;
        const std::vector<std::uint8_t> out = Unpack(size, cut, &exhausted);
        EXPECT_TRUE(exhausted);
        EXPECT_GE(out.size(), data.size());
        EXPECT_LT(out.size(), data.size() + lzh::F);
        EXPECT_EQ(out, ReferenceLZHUnpack(size, cut));
    }
}

TEST(LZH, AgreesWithReferenceOnArbitraryStreams)
{
    for (std::uint32_t seed = 1; seed <= 40; ++seed) {
        const std::vector<std::uint8_t> noise = RandomBytes(seed * 97, seed);
        const auto size = static_cast<std::int32_t>(seed * 1500);
        EXPECT_EQ(Unpack(size, noise), ReferenceLZHUnpack(size, noise)) << "seed " << seed;
    }
}

TEST(LZH, AppendsToWhatTheSinkAlreadyHolds)
{
    const std::vector<std::uint8_t> data = TextBytes(5'000);
    std::vector<std::uint8_t> sink = Bytes("head");
    TLZH().LZHUnpack(5'000, LZHPack(data), sink);
    std::vector<std::uint8_t> expected = Bytes("head");
    expected.insert(expected.end(), data.begin(), data.end());
    EXPECT_EQ(sink, expected);
}

// The tree must stay a proper Huffman tree through updates and rebuilds:
// counts sorted, each inner count the sum of its two children, parents and
// children pointing at each other, every symbol a leaf exactly once.
void ExpectSoundTree(const lzh::TAdaptiveTree& tree)
{
    std::vector<int> leafSeen(lzh::N_CHAR, 0);
    for (int node = 0; node < lzh::T; ++node) {
        ASSERT_TRUE(node == 0 || tree.freq[node - 1] <= tree.freq[node]) << node;
        const int son = tree.son[node];
        if (son >= lzh::T) {
            ++leafSeen[son - lzh::T];
            ASSERT_EQ(tree.prnt[son], node);
            continue;
        }
        ASSERT_LT(son, node);
        ASSERT_EQ(tree.freq[node], tree.freq[son] + tree.freq[son + 1]) << node;
        ASSERT_EQ(tree.prnt[son], node);
        ASSERT_EQ(tree.prnt[son + 1], node);
    }
    EXPECT_EQ(std::count(leafSeen.begin(), leafSeen.end(), 1), lzh::N_CHAR);
}

TEST(LZH, TreeStaysSoundThroughUpdatesAndRebuilds)
{
    lzh::TAdaptiveTree tree;
    ExpectSoundTree(tree);
    std::mt19937 random(5);
    // Skewed like real data: a few symbols very often, the rest rarely.
    for (int i = 1; i <= 200'000; ++i) {
        const int c = random() % 4 != 0 ? static_cast<int>(random() % 8) : static_cast<int>(random() % lzh::N_CHAR);
        tree.Update(c);
        if (i % 20'000 == 0)
            ExpectSoundTree(tree);
    }
    EXPECT_LT(tree.freq[lzh::R], lzh::MAX_FREQ + 1);
}

// Writes a stream symbol by symbol with the codes of the adaptive tree, so a
// test can pick the exact position code bytes.
class TStreamBuilder {
public:
    void Literal(int c) { Symbol(c); }

    void Match(int length, std::uint8_t firstByte, unsigned moreBits, int moreCount)
    {
        Symbol(255 - lzh::THRESHOLD + length);
        Put(firstByte, 8);
        Put(moreBits, moreCount);
    }

    std::vector<std::uint8_t> Finish()
    {
        while (FCount % 8 != 0)
            Put(0, 1);
        return FBytes;
    }

private:
    void Symbol(int c)
    {
        std::vector<unsigned> path;
        for (int node = FTree.prnt[c + lzh::T]; node != lzh::R; node = FTree.prnt[node])
            path.push_back(static_cast<unsigned>(node - FTree.son[FTree.prnt[node]]));
        for (auto bit = path.rbegin(); bit != path.rend(); ++bit)
            Put(*bit, 1);
        FTree.Update(c);
    }

    void Put(unsigned value, int count)
    {
        for (int i = count - 1; i >= 0; --i) {
            if (FCount % 8 == 0)
                FBytes.push_back(0);
            FBytes.back() = static_cast<std::uint8_t>(FBytes.back() | (((value >> i) & 1) << (7 - FCount % 8)));
            ++FCount;
        }
    }

    lzh::TAdaptiveTree FTree;
    std::vector<std::uint8_t> FBytes;
    int FCount = 0;
};

struct TPositionCase {
    std::uint8_t firstByte;
    unsigned moreBits;
    int moreCount;
    unsigned distance;  // position + 1
};

// 0x1F: upper bits 0 and one more bit; 0xF0: upper bits 48 and six more.
TEST(LZH, DecodesPositionCodesAtTheEdgesOfTheirRanges)
{
    const TPositionCase cases[] = {
        {0x1F, 1, 1, 0x3F + 1},
        {0x1F, 0, 1, 0x3E + 1},
        {0xF0, 0b000101, 6, (48u << 6 | 0b000101u) + 1},
        {0xFF, 0b111111, 6, 4096},
    };
    for (const TPositionCase& sample : cases) {
        SCOPED_TRACE(static_cast<int>(sample.firstByte));
        TStreamBuilder builder;
        std::vector<std::uint8_t> expected;
        for (int i = 0; i < 4100; ++i) {
            const int c = (i * 7 + i / 256) % 256;
            builder.Literal(c);
            expected.push_back(static_cast<std::uint8_t>(c));
        }
        builder.Match(10, sample.firstByte, sample.moreBits, sample.moreCount);
        for (int k = 0; k < 10; ++k)
            expected.push_back(expected[expected.size() - sample.distance]);
        const std::vector<std::uint8_t> stream = builder.Finish();
        const auto size = static_cast<std::int32_t>(expected.size());
        EXPECT_EQ(Unpack(size, stream), expected);
        EXPECT_EQ(ReferenceLZHUnpack(size, stream), expected);
    }
}

// Before anything is written the ring holds spaces up to the start position
// and zeros after it; a match may reach back into both.
TEST(LZH, MatchIntoTheInitialRingReadsSpacesAndZeros)
{
    struct TCase {
        std::uint8_t firstByte;
        unsigned moreBits;
        int moreCount;
        std::string expected;  // after the literal 'x'
    };
    const TCase cases[] = {
        // Position 6 from slot 4037: six spaces, the 'x', then bytes this
        // match wrote itself.
        {0x03, 0, 1, std::string(6, ' ') + "x   "},
        // Position 4092: slots 4040 onwards, never written.
        {0xFF, 0b111100, 6, std::string(10, '\0')},
    };
    for (const TCase& sample : cases) {
        TStreamBuilder builder;
        builder.Literal('x');
        builder.Match(10, sample.firstByte, sample.moreBits, sample.moreCount);
        const std::vector<std::uint8_t> stream = builder.Finish();
        const std::vector<std::uint8_t> expected = Bytes("x" + sample.expected);
        EXPECT_EQ(Unpack(11, stream), expected);
        EXPECT_EQ(ReferenceLZHUnpack(11, stream), expected);
    }
}

// A match is copied whole even when it passes the asked-for size.
TEST(LZH, CopiesTheLastMatchWhole)
{
    const std::vector<std::uint8_t> data(120, 'q');
    const std::vector<std::uint8_t> stream = LZHPack(data);
    const std::vector<std::uint8_t> out = Unpack(5, stream);
    EXPECT_GT(out.size(), 5u);
    EXPECT_EQ(out, ReferenceLZHUnpack(5, stream));
    EXPECT_EQ(std::vector<std::uint8_t>(out.begin(), out.begin() + 5), std::vector<std::uint8_t>(5, 'q'));
}

} // namespace
