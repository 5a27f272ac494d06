// The vkskin tool: pack and unpack give back every file, packing is
// deterministic, and bad requests fail with one line and write nothing.
#include "SkinFixtures.h"
#include "VkSkin.h"
#include "skin/data/SkinRead.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

namespace fs = std::filesystem;

namespace {

std::vector<std::uint8_t> ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteAll(const fs::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::string Utf8(const fs::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

struct TResult {
    int code;
    std::string out;
    std::string err;
};

TResult RunTool(const std::vector<std::string>& args)
{
    std::ostringstream out;
    std::ostringstream err;
    const int code = RunVkSkin(args, out, err);
    return {code, out.str(), err.str()};
}

class VkSkin : public testing::Test {
protected:
    void SetUp() override
    {
        const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
        // Unique per run: other build folders may run these tests at the same time.
        FRoot = fs::temp_directory_path() /
                (std::string("vkskin-test-") + info->name() + "-" + std::to_string(std::random_device{}()));
        fs::remove_all(FRoot);
        fs::create_directories(FRoot / "src");
        for (const TSkinArchiveEntry& entry : SkinLikeEntries())
            WriteAll(FRoot / "src" / entry.name, entry.bytes);
        WriteAll(FRoot / "src" / "Mixed Case.BMP", Bytes("BMmixed"));
        WriteAll(FRoot / "src" / "empty.bmp", {});
    }

    void TearDown() override { fs::remove_all(FRoot); }

    std::string At(const char* name) const { return Utf8(FRoot / name); }

    fs::path FRoot;
};

TEST_F(VkSkin, PackThenUnpackGivesBackEveryFile)
{
    ASSERT_EQ(RunTool({"pack", At("src"), At("a.skn")}).code, 0);
    const TResult unpacked = RunTool({"unpack", At("a.skn"), At("out")});
    ASSERT_EQ(unpacked.code, 0) << unpacked.err;
    int files = 0;
    for (const fs::directory_entry& source : fs::directory_iterator(FRoot / "src")) {
        const fs::path copy = FRoot / "out" / LowerCaseAscii(Utf8(source.path().filename()));
        EXPECT_EQ(ReadAll(copy), ReadAll(source.path())) << source.path();
        ++files;
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(FRoot / "out"), fs::directory_iterator()), files);
    EXPECT_FALSE(fs::exists(FRoot / "out.vkskin-tmp"));
}

TEST_F(VkSkin, PackIsDeterministicAndSortsByName)
{
    ASSERT_EQ(RunTool({"pack", At("src"), At("a.skn")}).code, 0);
    ASSERT_EQ(RunTool({"pack", At("src"), At("b.skn"), "--format", "70000"}).code, 0);
    EXPECT_EQ(ReadAll(FRoot / "a.skn"), ReadAll(FRoot / "b.skn"));

    TSkinReader reader;
    ASSERT_TRUE(reader.UnpackSkin(ReadAll(FRoot / "a.skn")));
    EXPECT_EQ(reader.Version(), 70000u);
    EXPECT_EQ(reader.Count(), 37);
    // Sorted by the names as they are: "M" comes before every lower-case name.
    EXPECT_EQ(reader.Names()[0], "mixed case.bmp");
    EXPECT_EQ(reader.Names()[1], "bottom.bmp");
    EXPECT_EQ(reader.Names().back(), "vthumb.bmp");
}

TEST_F(VkSkin, PacksEveryFormat)
{
    for (const char* format : {"20000", "30000", "40000", "50000", "60000", "70000"}) {
        ASSERT_EQ(RunTool({"pack", At("src"), At("f.skn"), "--format", format}).code, 0) << format;
        const TResult info = RunTool({"info", At("f.skn")});
        EXPECT_EQ(info.out.rfind(std::string("format ") + format + "\n", 0), 0u) << info.out;
    }
}

TEST_F(VkSkin, InfoListsEntriesAndSections)
{
    ASSERT_EQ(RunTool({"pack", At("src"), At("a.skn")}).code, 0);
    const TResult info = RunTool({"info", At("a.skn")});
    EXPECT_EQ(info.code, 0);
    EXPECT_NE(info.out.find("entries 37\n"), std::string::npos);
    EXPECT_NE(info.out.find("  7  mixed case.bmp\n"), std::string::npos);
    EXPECT_NE(info.out.find("  0  empty.bmp\n"), std::string::npos);
    EXPECT_NE(info.out.find("sections of skin.ini: [TitlebarSkin] [Personality] [Colours] [Button0] [Buttons]"),
              std::string::npos)
        << info.out;
}

TEST_F(VkSkin, RefusesBadRequestsWithOneLine)
{
    TRawArchive old = RawArchive("a.bmp\r\n", {1}, Bytes("a"));
    old.version = 10000;
    old.blockSize = 0;
    WriteAll(FRoot / "old.skn", SkinFileOf(old.Build()));
    WriteAll(FRoot / "escape.skn", SkinFileOf(RawArchive("../escape.bmp\r\n", {1}, Bytes("e")).Build()));
    WriteAll(FRoot / "twice.skn", SkinFileOf(RawArchive("a.bmp\r\nA.BMP\r\n", {1, 1}, Bytes("aA")).Build()));
    WriteAll(FRoot / "oversized.skn", SkinFileOf(RawArchive("a.bmp\r\n", {50}, Bytes("a")).Build()));
    ASSERT_EQ(RunTool({"pack", At("src"), At("good.skn")}).code, 0);
    fs::create_directories(FRoot / "full");
    WriteAll(FRoot / "full" / "keep.txt", Bytes("keep"));

    struct TCase {
        std::vector<std::string> args;
        const char* reason;
    };
    const TCase cases[] = {
        {{"unpack", At("old.skn"), At("out")}, "This is Older Skin File Please update to new version !"},
        {{"info", At("old.skn")}, "This is Older Skin File"},
        {{"unpack", At("escape.skn"), At("out")}, "cannot be a file name"},
        {{"unpack", At("twice.skn"), At("out")}, "occurs twice"},
        {{"unpack", At("oversized.skn"), At("out")}, "does not fit"},
        {{"unpack", At("good.skn"), At("full")}, "not an empty folder"},
        {{"unpack", At("missing.skn"), At("out")}, "cannot open"},
        {{"pack", At("src"), At("src/inside.skn")}, "must not be written into the folder"},
        {{"pack", At("nowhere"), At("x.skn")}, "is not a folder"},
        {{"pack", At("src"), At("x.skn"), "--format", "80000"}, "unknown format 80000"},
    };
    for (const TCase& sample : cases) {
        SCOPED_TRACE(sample.args[0] + " " + sample.args[1]);
        const TResult result = RunTool(sample.args);
        EXPECT_EQ(result.code, 1);
        EXPECT_NE(result.err.find(sample.reason), std::string::npos) << result.err;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
    }
    EXPECT_FALSE(fs::exists(FRoot / "out"));
    EXPECT_FALSE(fs::exists(FRoot / "escape.bmp"));
    EXPECT_FALSE(fs::exists(FRoot / "src" / "inside.skn"));
    EXPECT_FALSE(fs::exists(FRoot / "x.skn"));
    EXPECT_EQ(ReadAll(FRoot / "full" / "keep.txt"), Bytes("keep"));
}

TEST_F(VkSkin, RefusesSubFolders)
{
    fs::create_directories(FRoot / "src" / "nested");
    const TResult result = RunTool({"pack", At("src"), At("a.skn")});
    EXPECT_EQ(result.code, 1);
    EXPECT_NE(result.err.find("is not a file"), std::string::npos);
    EXPECT_FALSE(fs::exists(FRoot / "a.skn"));
}

TEST(VkSkinUsage, WrongArgumentsPrintUsage)
{
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {}, {"pack"}, {"pack", "a", "b", "--level", "9"}, {"unpack", "a"}, {"info"}, {"list", "a"}}) {
        const TResult result = RunTool(args);
        EXPECT_EQ(result.code, 2);
        EXPECT_EQ(result.err.rfind("usage: vkskin", 0), 0u);
    }
}

} // namespace
