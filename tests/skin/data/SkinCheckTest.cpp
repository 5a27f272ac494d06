// vkskin check: the shipped skins pass, and each kind of fault in a skin is
// reported the way a skin author can act on it.
#include "Check.h"
#include "SkinTestFiles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Texts(const std::vector<TSkinProblem>& problems, bool warnings)
{
    std::vector<std::string> texts;
    for (const TSkinProblem& problem : problems)
        if (problem.Warning == warnings)
            texts.push_back(problem.Text);
    return texts;
}

TEST(SkinCheck, ShippedSkinsHaveNoProblem)
{
    for (const char* path : {VIDKILN_DEFAULT_SKIN_FILE, VIDKILN_LIGHT_SKIN_FILE}) {
        const std::vector<std::uint8_t> bytes = ReadWholeFile(path);
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
    const std::vector<std::uint8_t> skin = SkinFileOf(
        ini, {{"top.bmp", FlatBmp(90, 61)},        // 61 rows cannot hold 2 stacked frames
              {"left.bmp", FlatBmp(5, 40)},        // one frame: fine
              {"button.bmp", FlatBmp(10, 10)},
              {"empty.bmp", {}},
              {"broken.bmp", TextBytes("BM but not a bitmap")},
              {"menuitem.bmp", FlatBmp(100, 20)},  // 5 frames of 20
              {"close.bmp", FlatBmp(90, 20)},      // 4 frames do not divide 90
              {"skipped.bmp", FlatBmp(7, 7)}});
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
    EXPECT_EQ(Texts(CheckSkinFile(TextBytes("not a skin")), false).size(), 1u);
    const std::vector<std::string> noIni =
        Texts(CheckSkinFile(PackSkinFile(BuildSkinArchive(70000, {{"a.bmp", FlatBmp(2, 2)}}))), false);
    ASSERT_EQ(noIni.size(), 1u);
    EXPECT_NE(noIni[0].find("no description"), std::string::npos);
}

} // namespace
