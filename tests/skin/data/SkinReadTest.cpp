// The skin archive reader: layout of every format, name lists, lookups, and
// refusal of damaged or hostile skin files without reading out of bounds.
#include "SkinFixtures.h"
#include "skin/data/SkinRead.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

using TBytes = std::vector<std::uint8_t>;

TRawArchive ThreeEntries(std::uint32_t version)
{
    TRawArchive raw = RawArchive("Progress.bmp\r\nSkin.INI\r\nb.bmp\r\n", {3, 4, 2}, Bytes("PPPiniiBB"));
    raw.version = version;
    return raw;
}

struct TReaderRun {
    TSkinReader reader;
    std::vector<std::string> messages;
    bool ok = false;
};

std::unique_ptr<TReaderRun> Read(const TBytes& skinFile)
{
    auto run = std::make_unique<TReaderRun>();
    run->reader.OnMessage = [messages = &run->messages](const std::string& text) {
        messages->push_back(text);
    };
    run->ok = run->reader.UnpackSkin(skinFile);
    return run;
}

// A skin file of this name list, entry sizes and entry data, read.
std::unique_ptr<TReaderRun> ReadArchive(std::string names, std::vector<std::int32_t> sizes, TBytes data)
{
    return Read(SkinFileOf(RawArchive(std::move(names), std::move(sizes), std::move(data)).Build()));
}

TBytes Extract(const TSkinReader& reader, std::string_view name)
{
    TBytes target = Bytes("stale");
    reader.ExtractEntry(name, target);
    return target;
}

// The version block is skipped unread whatever it holds, for every format.
TEST(SkinRead, ReadsEveryFormatPastItsVersionBlock)
{
    const std::pair<std::uint32_t, int> formats[] = {{20000, 0},  {30000, 256}, {40000, 80},
                                                     {50000, 48}, {60000, 117}, {70000, 69}};
    for (const auto& [version, blockSize] : formats) {
        SCOPED_TRACE(version);
        EXPECT_EQ(SkinVersionBlockSize(version), blockSize);
        const auto run = Read(SkinFileOf(ThreeEntries(version).Build()));
        ASSERT_TRUE(run->ok) << run->reader.ErrorText();
        EXPECT_TRUE(run->messages.empty());
        EXPECT_EQ(run->reader.Version(), version);
        EXPECT_EQ(run->reader.Names(), (std::vector<std::string>{"progress.bmp", "skin.ini", "b.bmp"}));
        EXPECT_EQ(run->reader.Sizes(), (std::vector<std::int32_t>{3, 4, 2}));
        EXPECT_EQ(Extract(run->reader, "b.bmp"), Bytes("BB"));
    }
}

TEST(SkinRead, UnknownFormatShowsTheOldSkinMessage)
{
    for (const std::uint32_t version : {0u, 10000u, 20001u, 80000u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(version);
        TRawArchive raw = ThreeEntries(version);
        raw.blockSize = 0;
        const auto run = Read(SkinFileOf(raw.Build()));
        EXPECT_FALSE(run->ok);
        EXPECT_EQ(run->messages, std::vector<std::string>{"This is Older Skin File\rPlease update to new version !"});
        EXPECT_EQ(run->reader.Count(), 0);
    }
}

// Nothing to decode: the version reads as 0, an unknown format.
TEST(SkinRead, EmptySkinFileShowsTheOldSkinMessage)
{
    for (const TBytes& file : {TBytes{}, TBytes{0, 0, 0, 0}, TBytes{0, 0}}) {
        const auto run = Read(file);
        EXPECT_FALSE(run->ok);
        EXPECT_EQ(run->reader.ErrorText(), kOldSkinMessage);
    }
}

TEST(SkinRead, SplitsTheNameListLikeATextList)
{
    struct TCase {
        const char* list;
        std::vector<std::string> names;
    };
    const TCase cases[] = {
        {"a.bmp\r\nb.bmp\r\n", {"a.bmp", "b.bmp"}},  // final CR LF adds no name
        {"a.bmp\r\nb.bmp", {"a.bmp", "b.bmp"}},
        {"a\rb\nc\r\n", {"a", "b", "c"}},
        {"a\r\n\r\nb\n", {"a", "", "b"}},  // an empty line in the middle is a name
        {"\r\n", {""}},
        {"", {}},
        {"MiXeD.BMP\n\xC3\x84.bmp\n", {"mixed.bmp", "\xC3\x84.bmp"}},  // ASCII letters only
    };
    for (const TCase& sample : cases) {
        SCOPED_TRACE(sample.list);
        const std::size_t count = sample.names.size();
        const auto run = ReadArchive(sample.list, std::vector<std::int32_t>(count, 1), TBytes(count, 'z'));
        ASSERT_TRUE(run->ok) << run->reader.ErrorText();
        EXPECT_EQ(run->reader.Names(), sample.names);
        EXPECT_EQ(run->reader.Count(), static_cast<int>(sample.names.size()));
        EXPECT_EQ(run->reader.EntryDataSize(), sample.names.size());
    }
}

TEST(SkinRead, ExtractEntryFindsTheFirstMatchInAnyCase)
{
    const auto run = ReadArchive("progress.bmp\r\nPROGRESS.bmp\r\nempty.bmp\r\n", {2, 3, 0}, Bytes("p1p22"));
    ASSERT_TRUE(run->ok);
    EXPECT_EQ(Extract(run->reader, "Progress.bmp"), Bytes("p1"));
    EXPECT_EQ(Extract(run->reader, "progress.bmp"), Bytes("p1"));
    EXPECT_TRUE(Extract(run->reader, "empty.bmp").empty());
    EXPECT_TRUE(Extract(run->reader, "missing.bmp").empty());
    EXPECT_TRUE(Extract(run->reader, "progress").empty());
}

TEST(SkinRead, FindEntryContainingTakesTheFirstInArchiveOrder)
{
    const auto run = ReadArchive("a.bmp\r\nfirst.ini\r\nsecond.ini\r\n", {1, 5, 6}, Bytes("afirstsecond"));
    ASSERT_TRUE(run->ok);
    TBytes text;
    std::string name = "unchanged";
    EXPECT_TRUE(run->reader.FindEntryContaining(".ini", text, name));
    EXPECT_EQ(name, "first.ini");
    EXPECT_EQ(text, Bytes("first"));

    name = "unchanged";
    EXPECT_FALSE(run->reader.FindEntryContaining(".INI", text, name));  // names are lower case
    EXPECT_TRUE(text.empty());
    EXPECT_EQ(name, "unchanged");
}

TEST(SkinRead, SkinLikeArchiveIndexesEveryEntry)
{
    const std::vector<TSkinArchiveEntry> entries = SkinLikeEntries();
    const auto run = Read(PackSkinFile(BuildSkinArchive(70000, entries)));
    ASSERT_TRUE(run->ok);
    ASSERT_EQ(run->reader.Count(), 35);
    std::size_t total = 0;
    for (const TSkinArchiveEntry& entry : entries) {
        EXPECT_EQ(Extract(run->reader, entry.name), entry.bytes) << entry.name;
        total += entry.bytes.size();
    }
    EXPECT_EQ(run->reader.EntryDataSize(), total);
}

TEST(SkinRead, HoldsMoreThan1001Entries)
{
    TRawArchive raw;
    for (int i = 0; i < 1500; ++i) {
        raw.names += "e" + std::to_string(i) + ".bmp\r\n";
        raw.sizes.push_back(1);
        raw.data.push_back(static_cast<std::uint8_t>(i));
    }
    const auto run = Read(SkinFileOf(raw.Build()));
    ASSERT_TRUE(run->ok);
    EXPECT_EQ(run->reader.Count(), 1500);
    EXPECT_EQ(Extract(run->reader, "e1499.bmp"), TBytes{static_cast<std::uint8_t>(1499)});
}

// Damaged and hostile skin files: each is refused with its own reason, shown
// through the message callback, and leaves the reader empty.
TEST(SkinRead, RefusesDamagedSkinFiles)
{
    const TBytes good = ThreeEntries(70000).Build();
    TBytes truncated = SkinFileOf(good);
    truncated.resize(truncated.size() / 2);

    TRawArchive longList = ThreeEntries(70000);
    longList.nameListLength = static_cast<std::int32_t>(longList.names.size() + 200);
    TRawArchive negativeList = ThreeEntries(70000);
    negativeList.nameListLength = -5;
    TRawArchive noSizes;
    noSizes.names = "a\r\nb\r\nc\r\n";
    noSizes.sizes = {1, 1};  // eight bytes where twelve are needed
    TRawArchive shortHeader = ThreeEntries(30000);
    TBytes header = shortHeader.Build();
    header.resize(100);  // 16 + 256 needed

    struct TCase {
        const char* name;
        TBytes file;
        const char* reason;
    };
    const TCase cases[] = {
        {"negative unpacked size", SkinFileOf(good, 0x80000000), "negative unpacked size"},
        {"unpacked size above the cap", SkinFileOf(good, kMaxUnpackedSkinSize + 1LL), "above the limit"},
        {"compressed data cut short", truncated, "ends early"},
        {"name list past the end", SkinFileOf(longList.Build()), "name list runs past"},
        {"negative name list length", SkinFileOf(negativeList.Build()), "name list runs past"},
        {"size table past the end", SkinFileOf(noSizes.Build()), "size table runs past"},
        {"header cut short", SkinFileOf(header), "header is incomplete"},
    };
    for (const TCase& sample : cases) {
        SCOPED_TRACE(sample.name);
        const auto run = Read(sample.file);
        EXPECT_FALSE(run->ok);
        ASSERT_EQ(run->messages.size(), 1u);
        EXPECT_NE(run->messages[0].find(sample.reason), std::string::npos) << run->messages[0];
        EXPECT_EQ(run->reader.ErrorText(), run->messages[0]);
        EXPECT_EQ(run->reader.Count(), 0);
        EXPECT_TRUE(Extract(run->reader, "progress.bmp").empty());
    }
}

// Sizes are not trusted: an entry that is negative or runs past the data
// reads as missing, and the entries that fit are still found.
TEST(SkinRead, EntriesThatDoNotFitReadAsMissing)
{
    const auto run = ReadArchive("ok.bmp\r\nnegative.bmp\r\nafter.bmp\r\nhuge.bmp\r\nlast.bmp\r\ndup.ini\r\n",
                                 {2, -1, 3, 0x7FFFFFFF, 1, 1}, Bytes("OKxyz"));
    ASSERT_TRUE(run->ok);
    EXPECT_EQ(Extract(run->reader, "ok.bmp"), Bytes("OK"));
    EXPECT_TRUE(Extract(run->reader, "negative.bmp").empty());
    EXPECT_EQ(Extract(run->reader, "after.bmp"), Bytes("Kxy"));  // offset 2 - 1
    EXPECT_TRUE(Extract(run->reader, "huge.bmp").empty());
    EXPECT_TRUE(Extract(run->reader, "last.bmp").empty());
    EXPECT_FALSE(run->reader.Entry(3).has_value());
    EXPECT_FALSE(run->reader.Entry(6).has_value());
    EXPECT_FALSE(run->reader.Entry(-1).has_value());
    TBytes text;
    std::string name;
    EXPECT_FALSE(run->reader.FindEntryContaining(".ini", text, name));
}

// Bytes that the last match writes past the declared size belong to no
// entry.
TEST(SkinRead, EntriesEndAtTheDeclaredArchiveSize)
{
    TRawArchive raw;
    raw.names = "a.bmp\r\n";
    raw.sizes = {200};
    raw.data.assign(200, 'a');
    TBytes archive = raw.Build();
    const auto run = Read(SkinFileOf(archive, static_cast<std::int64_t>(archive.size()) - 10));
    ASSERT_TRUE(run->ok);
    EXPECT_EQ(run->reader.EntryDataSize(), 190u);
    EXPECT_TRUE(Extract(run->reader, "a.bmp").empty());
}

} // namespace
