// vkskin check: the shipped skins pass, and each kind of fault in a skin is
// reported the way a skin author can act on it.
#include "Check.h"
#include "SkinArchive.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::vector<std::uint8_t> Bytes(const std::string& text)
{
    return {text.begin(), text.end()};
}

// A 24-bit BMP of the given size, all magenta.
std::vector<std::uint8_t> Bmp(int width, int height)
{
    const int stride = (width * 3 + 3) / 4 * 4;
    const int size = 54 + stride * height;
    std::vector<std::uint8_t> bmp(static_cast<std::size_t>(size), 0);
    auto put = [&](std::size_t at, std::uint32_t value, int count) {
        for (int i = 0; i < count; ++i)
            bmp[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
    };
    bmp[0] = 'B';
    bmp[1] = 'M';
    put(2, static_cast<std::uint32_t>(size), 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, static_cast<std::uint32_t>(width), 4);
    put(22, static_cast<std::uint32_t>(height), 4);
    put(26, 1, 2);
    put(28, 24, 2);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            put(54 + static_cast<std::size_t>(y * stride + x * 3), 0xFF00FF, 3);
    return bmp;
}

std::vector<std::uint8_t> SkinFile(const std::string& ini, std::vector<TSkinArchiveEntry> images)
{
    images.push_back({"skin.ini", Bytes(ini)});
    return PackSkinFile(BuildSkinArchive(70000, images));
}

std::vector<std::string> Texts(const std::vector<TSkinProblem>& problems, bool warnings)
{
    std::vector<std::string> texts;
    for (const TSkinProblem& problem : problems)
        if (problem.Warning == warnings)
            texts.push_back(problem.Text);
    return texts;
}

std::vector<std::uint8_t> ReadFile(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(SkinCheck, ShippedSkinsHaveNoProblem)
{
    for (const char* path : {VIDKILN_DEFAULT_SKIN_FILE, VIDKILN_LIGHT_SKIN_FILE}) {
        const std::vector<std::uint8_t> bytes = ReadFile(path);
        ASSERT_FALSE(bytes.empty()) << path;
        const std::vector<TSkinProblem> problems = CheckSkinFile(bytes);
        EXPECT_TRUE(problems.empty()) << path << ": " << (problems.empty() ? "" : problems.front().Text);
    }
}

TEST(SkinCheck, ReportsEachFaultOfTheDescription)
{
    const std::string ini =
        "[Personality]\r\nTop=top.bmp\r\nTopFrame=2\r\nLeft=left.bmp\r\n"
        "[Buttons]\r\nBitmap=Skins\\button.BMP\r\nCheckButton=missing.bmp\r\nRadioButton=empty.bmp\r\n"
        "[Progress]\r\nBitmap=broken.bmp\r\n"
        "[MenuItem]\r\nImage=menuitem.bmp\r\n"
        "[Button0]\r\nButtonImage=close.bmp\r\nframe=4\r\n"
        "[Button1]\r\nAction=-1\r\nVisibility=1\r\nButtonImage=skipped.bmp\r\n"
        "[Author]\r\nName=someone\r\n";
    const std::vector<std::uint8_t> skin = SkinFile(
        ini, {{"top.bmp", Bmp(90, 61)},        // 61 rows cannot hold 2 stacked frames
              {"left.bmp", Bmp(5, 40)},        // one frame: fine
              {"button.bmp", Bmp(10, 10)},
              {"empty.bmp", {}},
              {"broken.bmp", Bytes("BM but not a bitmap")},
              {"menuitem.bmp", Bmp(100, 20)},  // 5 frames of 20
              {"close.bmp", Bmp(90, 20)},      // 4 frames do not divide 90
              {"skipped.bmp", Bmp(7, 7)}});
    const std::vector<std::string> problems = Texts(CheckSkinFile(skin), false);
    const std::vector<std::string> expected{
        "[Personality] Top: 2 frames do not divide the image height 61",
        "[Button0] ButtonImage: 4 frames do not divide the image width 90",
        "[Buttons] Bitmap: \"Skins\\button.BMP\" is not a .bmp name (the extension must be \".bmp\" in lower case)",
        "[Buttons] CheckButton: missing.bmp is missing from the skin",
        "[Buttons] RadioButton: empty.bmp is empty",
    };
    ASSERT_GE(problems.size(), expected.size() + 1);
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(problems[i], expected[i]);
    EXPECT_EQ(problems[expected.size()].rfind("[Progress] Bitmap: broken.bmp does not load: ", 0), 0u)
        << problems[expected.size()];
    EXPECT_EQ(problems.size(), expected.size() + 1);
    EXPECT_EQ(Texts(CheckSkinFile(skin), true), std::vector<std::string>{"[Author] is not a section Vidkiln reads"});
}

TEST(SkinCheck, RefusesWhatDoesNotLoadAtAll)
{
    EXPECT_EQ(Texts(CheckSkinFile(Bytes("not a skin")), false).size(), 1u);
    const std::vector<std::string> noIni =
        Texts(CheckSkinFile(PackSkinFile(BuildSkinArchive(70000, {{"a.bmp", Bmp(2, 2)}}))), false);
    ASSERT_EQ(noIni.size(), 1u);
    EXPECT_NE(noIni[0].find("no description"), std::string::npos);
}

} // namespace
