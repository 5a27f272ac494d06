// The skin description reader and its value forms.
#include "SkinFixtures.h"
#include "skin/data/SkinRead.h"
#include "skin/data/WinSkinIni.h"

#include <gtest/gtest.h>

namespace {

constexpr char kDescription[] =
    "; comment before anything\r\n"
    "Orphan=before the first section\r\n"
    "[Buttons]\r\n"
    "  Rightwidth = 4  \r\n"
    "Empty=\r\n"
    "Empty=not seen\r\n"
    "Twice=first\r\n"
    "twice=second\r\n"
    "   ; indented comment\r\n"
    "Path=a=b ; not a comment\r\n"
    "NoEquals\r\n"
    "Hex=0x1F\r\n"
    "HexUpper=0XfF\r\n"
    "BareHex=0x\r\n"
    "Dollar=$10\r\n"
    "Negative=-42\r\n"
    "Plus=+7\r\n"
    "Big=2147483647\r\n"
    "Over=2147483648\r\n"
    "Low=-2147483648\r\n"
    "Under=-2147483649\r\n"
    "AllBits=0xFFFFFFFF\r\n"
    "TooWide=0x100000000\r\n"
    "Words=12abc\r\n"
    "Spaced=1 2\r\n"
    "[ Spaced Name ]\r\n"
    "Key=inside blanks\r\n"
    "[buttons]\r\n"
    "RightWidth=99\r\n"
    "Other=second section\r\n"
    "[Colours]\n"
    "Last=unix line\n";

TQuickIni Load(std::string_view text)
{
    TQuickIni ini;
    ini.LoadFromStream(Bytes(text));
    return ini;
}

std::vector<std::string> LinesOf(const TQuickIni& ini)
{
    std::vector<std::string> lines;
    for (int i = 0; i < ini.LineCount(); ++i)
        lines.emplace_back(ini.Line(i));
    return lines;
}

TEST(QuickIni, ReadStringCases)
{
    const TQuickIni ini = Load(kDescription);
    struct TCase {
        const char* section;
        const char* key;
        const char* expected;
    };
    const TCase cases[] = {
        {"Buttons", "RightWidth", "4"},      // keys and sections in any case
        {"BUTTONS", "rightwidth", "4"},      // the first [buttons] is the only one searched
        {"Buttons", "Empty", "dflt"},        // first duplicate wins even when empty
        {"Buttons", "TWICE", "first"},
        {"Buttons", "Path", "a=b ; not a comment"},
        {"Buttons", "NoEquals", "dflt"},
        {"Buttons", "Other", "dflt"},        // lives in the second [buttons]
        {"Buttons", "Orphan", "dflt"},
        {"Buttons", "Last", "dflt"},         // stops at the next section
        {"Colours", "Last", "unix line"},
        {"Missing", "Key", "dflt"},
        {"Spaced Name", "Key", "dflt"},      // the header is compared as written
        {"", "Orphan", "dflt"},              // lines before any section are never found
    };
    for (const TCase& sample : cases) {
        SCOPED_TRACE(std::string(sample.section) + "/" + sample.key);
        EXPECT_EQ(ini.ReadString(sample.section, sample.key, "dflt"), sample.expected);
    }
}

TEST(QuickIni, ReadIntegerCases)
{
    const TQuickIni ini = Load(kDescription);
    const std::pair<const char*, std::int32_t> cases[] = {
        {"RightWidth", 4},
        {"Hex", 31},
        {"HexUpper", 255},
        {"BareHex", -7},
        {"Dollar", 16},
        {"Negative", -42},
        {"Plus", 7},
        {"Big", 2147483647},
        {"Over", -7},
        {"Low", INT32_MIN},
        {"Under", -7},
        {"AllBits", -1},  // hexadecimal takes the bit pattern
        {"TooWide", -7},
        {"Words", -7},
        {"Spaced", -7},
        {"Path", -7},
        {"Empty", -7},
        {"Absent", -7},
    };
    for (const auto& [key, expected] : cases)
        EXPECT_EQ(ini.ReadInteger("Buttons", key, -7), expected) << key;
}

TEST(QuickIni, KeepsTrimmedLinesAndIndexesSections)
{
    const TQuickIni ini = Load("\t[A]\t\r\n\r\n;x\r\n k = v \n\r[B]\r\r\n");
    EXPECT_EQ(LinesOf(ini), (std::vector<std::string>{"[A]", "k = v", "[B]"}));
    EXPECT_EQ(ini.SectionLines(), (std::vector<int>{0, 2}));
    EXPECT_EQ(ini.SectionLine("a"), 0);
    EXPECT_EQ(ini.SectionLine("B"), 2);
    EXPECT_EQ(ini.SectionLine("C"), -1);
}

TEST(QuickIni, NulEndsTheText)
{
    const TQuickIni ini = Load(std::string_view("[A]\r\nk=v\0[B]\r\nj=w\r\n", 19));
    EXPECT_EQ(LinesOf(ini), (std::vector<std::string>{"[A]", "k=v"}));
    EXPECT_EQ(ini.ReadString("B", "j", "none"), "none");
}

TEST(QuickIni, LoadReplacesEarlierContents)
{
    TQuickIni ini = Load("[Old]\r\nk=1\r\n");
    ini.LoadFromStream(Bytes("[New]\r\nk=2\r\n"));
    EXPECT_EQ(ini.SectionLine("Old"), -1);
    EXPECT_EQ(ini.ReadInteger("New", "k", 0), 2);
}

TEST(QuickIni, ReadSectionsListsNamesInFileOrder)
{
    const TQuickIni ini = Load(kDescription);
    std::vector<std::string> sections{"stale"};
    ini.ReadSections(sections);
    EXPECT_EQ(sections, (std::vector<std::string>{"Buttons", "Spaced Name", "buttons", "Colours"}));
}

TEST(SkinValues, ParseSkinColourCases)
{
    const std::pair<const char*, std::uint32_t> cases[] = {
        {"161,204,246", 0xF6CCA1},
        {"56 128 224", 0xE08038},
        {"10 20", 0x00000A},  // a trailing number is blue only after red and green
        {"300,0,0", 0x00002C},
        {"1,2,3,4", 0x030201},
        {"  7 ,8, 9  ", 0x090807},
        {"r=1;g=2;b=3", 0x030201},
        {"99999999999999999999,0,0", 0x0000FF},  // low 8 bits of a huge number
        {"none", 0x000000},
        {"", 0x123456},
        {"   ", 0x123456},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(ParseSkinColour(text, 0x123456), expected) << '"' << text << '"';
}

TEST(SkinValues, RGBKeysNeedAllThreeNotNegative)
{
    const TQuickIni ini = Load(
        "[P]\r\nActiveTextR=255\r\nActiveTextG=0x80\r\nActiveTextB=300\r\n"
        "InActiveTextR=1\r\nInActiveTextG=2\r\n"
        "NegR=1\r\nNegG=-1\r\nNegB=3\r\n");
    EXPECT_EQ(ReadRGBKeys(ini, "P", "ActiveText"), std::optional<std::uint32_t>(0x2C80FF));
    EXPECT_EQ(ReadRGBKeys(ini, "P", "InActiveText"), std::nullopt);
    EXPECT_EQ(ReadRGBKeys(ini, "P", "Neg"), std::nullopt);
}

TEST(SkinValues, ImageNameCases)
{
    const std::pair<const char*, const char*> cases[] = {
        {"Progress.bmp", "Progress.bmp"},
        {"Skins\\Progress.bmp", "Progress.bmp"},
        {"C:Progress.bmp", "Progress.bmp"},
        {"C:\\skins\\a.b\\x.bmp", "x.bmp"},
        {"Progress.BMP", ""},  // the extension must be exactly .bmp
        {"Progress.bmp.txt", ""},
        {"Progress", ""},
        {"folder.bmp\\Progress", ""},
        {"", ""},
        {".bmp", ".bmp"},
    };
    for (const auto& [value, expected] : cases)
        EXPECT_EQ(SkinImageName(value), expected) << value;
}

TEST(SkinValues, ExtractSkinImageFindsTheEntryInAnyCase)
{
    TRawArchive raw;
    raw.names = "progress.bmp\r\n";
    raw.sizes = {2};
    raw.data = Bytes("BM");
    TSkinReader reader;
    ASSERT_TRUE(reader.UnpackSkin(SkinFileOf(raw.Build())));
    std::vector<std::uint8_t> image = Bytes("stale");
    ExtractSkinImage(reader, "Skins\\Progress.bmp", image);
    EXPECT_EQ(image, Bytes("BM"));
    ExtractSkinImage(reader, "Progress.BMP", image);
    EXPECT_TRUE(image.empty());
    ExtractSkinImage(reader, "absent.bmp", image);
    EXPECT_TRUE(image.empty());
}

} // namespace
