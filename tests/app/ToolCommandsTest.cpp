// The tools' command lines and the two protocols read back from them.
#include "ToolCommands.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace vidkiln {
namespace {

TEST(ToolCommands, ProbeCommandLineQuotesBothPaths)
{
    EXPECT_EQ(ProbeCommandLine(L"C:\\Tool\\", L"D:\\v\\clip.avi"),
              L"\"C:\\Tool\\mplayer.exe\" -msglevel identify=6 -vo none -ao none "
              L"\"D:\\v\\clip.avi\" 2>&1 |grep ID_LENGTH");
}

TEST(ToolCommands, FormatPastesPiecesWithoutRescanning)
{
    EXPECT_EQ(FormatCommandLine(L"<%s|%s>", {L"%s", L"b"}), L"<%s|b>");
    EXPECT_THROW(FormatCommandLine(L"%s %s", {L"a"}), std::invalid_argument);
    EXPECT_THROW(FormatCommandLine(L"%s", {L"a", L"b"}), std::invalid_argument);
}

struct EncoderCase {
    const char* name;
    TEncoderSettings settings;
    std::wstring expected;
};

TEST(ToolCommands, EncoderCommandLineForSettingsTable)
{
    const TSetting kbps1200{2, L"1200"};
    const EncoderCase cases[] = {
        {"start settings",
         {kbps1200, {1, L"5.0"}, {2, L"176x220"}, {1, L"4:3"}},
         L"\"C:\\Tool\\ffmpeg.exe\" -i \"D:\\v\\clip.avi\" -y -f mp4  -b 1200k  -r 5.0   -s "
         L"176x220   -aspect 4:3  -ab 12.2K -vcodec mpeg4 -acodec libfaac \"E:\\out\\clip.mp4\""},
        {"auto everywhere",
         {{0, L"360"}, {0, L"Auto"}, {0, L"Auto"}, {0, L"Auto"}},
         L"\"C:\\Tool\\ffmpeg.exe\" -i \"D:\\v\\clip.avi\" -y -f mp4  -b 360k    -ab 12.2K "
         L"-vcodec mpeg4 -acodec libfaac \"E:\\out\\clip.mp4\""},
        {"frame only",
         {{4, L"2500"}, {8, L"29.97"}, {0, L"Auto"}, {0, L"Auto"}},
         L"\"C:\\Tool\\ffmpeg.exe\" -i \"D:\\v\\clip.avi\" -y -f mp4  -b 2500k  -r 29.97    "
         L"-ab 12.2K -vcodec mpeg4 -acodec libfaac \"E:\\out\\clip.mp4\""},
        {"size and aspect",
         {{0, L"360"}, {0, L"Auto"}, {8, L"480x320"}, {3, L"16:10"}},
         L"\"C:\\Tool\\ffmpeg.exe\" -i \"D:\\v\\clip.avi\" -y -f mp4  -b 360k   -s 480x320   "
         L"-aspect 16:10  -ab 12.2K -vcodec mpeg4 -acodec libfaac \"E:\\out\\clip.mp4\""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EncoderCommandLine(L"C:\\Tool\\", L"D:\\v\\clip.avi", L"E:\\out\\", c.settings),
                  c.expected)
            << c.name;
    }
}

TEST(ToolCommands, OutputPathReplacesLastExtension)
{
    const struct {
        const wchar_t* source;
        const wchar_t* expected;
    } cases[] = {
        {L"D:\\v\\clip.avi", L"E:\\out\\clip.mp4"},
        {L"D:\\v\\a.b.avi", L"E:\\out\\a.b.mp4"},
        {L"D:\\v\\clip", L"E:\\out\\clip.mp4"},
        {L"D:\\v\\.x", L"E:\\out\\.mp4"},
        {L"D:\\v.dir\\clip", L"E:\\out\\clip.mp4"},
        {L"D:\\w\\clip.avi", L"E:\\out\\clip.mp4"},
        {L"D:\\视频 夹\\我的 片子.rmvb", L"E:\\out\\我的 片子.mp4"},
        {L"D:clip.avi", L"E:\\out\\clip.mp4"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(OutputPathFor(L"E:\\out\\", c.source), c.expected) << c.source;
}

TEST(ToolCommands, NumberedOutputPathGoesBeforeTheExtension)
{
    const struct {
        const wchar_t* output;
        int number;
        const wchar_t* expected;
    } cases[] = {
        {L"E:\\out\\clip.mp4", 2, L"E:\\out\\clip (2).mp4"},
        {L"E:\\out\\a.b.mp4", 3, L"E:\\out\\a.b (3).mp4"},
        {L"E:\\out\\.mp4", 2, L"E:\\out\\ (2).mp4"},
        {L"E:\\o.ut\\clip", 12, L"E:\\o.ut\\clip (12)"},
        {L"E:\\输出\\我的 片子.mp4", 2, L"E:\\输出\\我的 片子 (2).mp4"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NumberedOutputPath(c.output, c.number), c.expected) << c.output;
    const TEncoderSettings settings{{0, L"360"}, {}, {}, {}};
    EXPECT_EQ(EncoderCommandLineTo(L"C:\\T\\", L"D:\\v\\clip.avi", settings, L"E:\\out\\clip.mp4"),
              EncoderCommandLine(L"C:\\T\\", L"D:\\v\\clip.avi", L"E:\\out\\", settings));
}

TEST(ToolCommands, SelectedFilesOfOneOrSeveral)
{
    using namespace std::string_literals;
    const struct {
        std::wstring selection;
        std::vector<std::wstring> expected;
    } cases[] = {
        {L"D:\\v\\clip.avi\0\0"s, {L"D:\\v\\clip.avi"}},
        {L"D:\\视频\0a.avi\0b 二.mkv\0\0"s, {L"D:\\视频\\a.avi", L"D:\\视频\\b 二.mkv"}},
        {L"C:\\\0a.avi\0b.avi\0\0"s, {L"C:\\a.avi", L"C:\\b.avi"}},
        {L"\0\0"s, {}},
        {L""s, {}},
        {L"D:\\v\0a.avi"s, {L"D:\\v\\a.avi"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SelectedFiles(c.selection), c.expected);
}

TEST(ToolCommands, DurationFromProbeOutputTable)
{
    const struct {
        const char* captured;
        int expected;
    } cases[] = {
        {"ID_LENGTH=12.99", 12},
        {"id_length=7", 7},
        {"ID_LENGTH=1 234", 1234},
        {"ID_LENGTH=\r\nID_VIDEO_FPS=25.000", 0},
        {"ID_LENGTH=\nID_VIDEO_FPS=25.000", 0},
        {"ID_LENGTH=5025.43", 5025},
        {"ID_VIDEO_ID=0\r\nId_Length=60.00\r\nID_AUDIO=1", 60},
        {"ID_LENGTH=1.2.3", 0},
        {"ID_LENGTH=.", 0},
        {"ID_LENGTH=.75", 0},
        {"ID_LENGTH=9.", 9},
        {"ID_LENGTH=abc", 0},
        {"ID_LENGTH=-5", 5},
        {"ID_LENGTH=99999999999", 0},
        {"ID_LENGTH=2147483647", 2147483647},
        // Only the 20 characters after the marker count.
        {"ID_LENGTH=                   7", 7},
        {"ID_LENGTH=                    7", 0},
        {"ID_LENGTH=12\r34", 12},
        {"no marker at all", 0},
        {"", 0},
        {"ID_LENGTH=3\r\nID_LENGTH=9", 3},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DurationFromProbeText(c.captured), c.expected) << c.captured;
}

TEST(ToolCommands, LengthMarkerMatchesAnyCase)
{
    EXPECT_TRUE(HasLengthMarker("x\r\nID_LENGTH=1"));
    EXPECT_TRUE(HasLengthMarker("iD_lEnGtH="));
    EXPECT_FALSE(HasLengthMarker("ID_LENGTH 12"));
    EXPECT_FALSE(HasLengthMarker("ID_LEN\r\nGTH=12"));
}

TEST(ToolCommands, JoinedLinesAreSeparatedByCrLf)
{
    EXPECT_EQ(JoinCapturedLines({}), "");
    EXPECT_EQ(JoinCapturedLines({"a", "", "ID_LENGTH=4"}), "a\r\n\r\nID_LENGTH=4");
    EXPECT_EQ(DurationFromProbeText(JoinCapturedLines({"ID_LENGTH=", "12"})), 0);
}

TEST(ToolCommands, ProgressLineTable)
{
    const struct {
        const char* line;
        std::optional<int> expected;
    } cases[] = {
        {"frame= 10 ffmpeg_release_time=12.5=ffmpeg_release_time", 12},
        {"frame= 10 ffmpeg_release_time=13.5=ffmpeg_release_time", 14},
        {"ffmpeg_release_time=0.5=ffmpeg_release_time", 0},
        {"ffmpeg_release_time=1.5=ffmpeg_release_time", 2},
        {"ffmpeg_release_time=2.50=ffmpeg_release_time", 2},
        {"ffmpeg_release_time=2.501=ffmpeg_release_time", 3},
        {"ffmpeg_release_time=2.49999=ffmpeg_release_time", 2},
        {"ffmpeg_release_time=7=ffmpeg_release_time tail", 7},
        {"ffmpeg_release_time=59.99=ffmpeg_release_time", 60},
        {"ffmpeg_release_time= 4.00 =ffmpeg_release_time", 4},
        {"ffmpeg_release_time=-1.5=ffmpeg_release_time", -2},
        {"ffmpeg_release_time=12", std::nullopt},
        {"ffmpeg_release_time=12.5=", std::nullopt},
        {"ffmpeg_release_time=abc=ffmpeg_release_time", std::nullopt},
        {"ffmpeg_release_time==ffmpeg_release_time", std::nullopt},
        {"ffmpeg_release_time=1.2.3=ffmpeg_release_time", std::nullopt},
        {"ffmpeg_release_time=1e3=ffmpeg_release_time", std::nullopt},
        {"ffmpeg_release_time=99999999999=ffmpeg_release_time", std::nullopt},
        {"FFMPEG_RELEASE_TIME=3=FFMPEG_RELEASE_TIME", std::nullopt},
        {"size=  100kB time=00:00:12.50", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ProgressFromLine(c.line), c.expected) << c.line;
}

TEST(ToolCommands, FolderPrefixesCutAtEveryBackslash)
{
    using Prefixes = std::vector<std::wstring>;
    EXPECT_EQ(FolderPrefixes(L"E:\\out\\new\\"),
              (Prefixes{L"E:", L"E:\\out", L"E:\\out\\new", L"E:\\out\\new\\"}));
    EXPECT_EQ(FolderPrefixes(L"E:\\out"), (Prefixes{L"E:", L"E:\\out"}));
    EXPECT_EQ(FolderPrefixes(L"\\\\server\\share\\x\\"),
              (Prefixes{L"", L"\\", L"\\\\server", L"\\\\server\\share", L"\\\\server\\share\\x",
                        L"\\\\server\\share\\x\\"}));
    EXPECT_EQ(FolderPrefixes(L"out"), (Prefixes{L"out"}));
}

TEST(ToolCommands, ChosenFolderGetsBackslashUnlessDriveRoot)
{
    EXPECT_EQ(FolderWithBackslash(L"C:\\"), L"C:\\");
    EXPECT_EQ(FolderWithBackslash(L"D:\\Videos"), L"D:\\Videos\\");
    EXPECT_EQ(FolderWithBackslash(L"D:\\视频"), L"D:\\视频\\");
}

TEST(ToolCommands, LengthTextIsMinutesAndSeconds)
{
    const struct {
        int seconds;
        const wchar_t* expected;
    } cases[] = {
        {0, L"00:00"}, {7, L"00:07"}, {59, L"00:59"}, {60, L"01:00"},
        {3599, L"59:59"}, {7500, L"125:00"}, {-5, L"00:00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LengthText(c.seconds), c.expected) << c.seconds;
}

TEST(ToolCommands, LastMessageLineSkipsProgressBlanksAndTheExitCodeNote)
{
    const struct {
        std::vector<std::string> lines;
        std::string expected;
    } cases[] = {
        {{}, ""},
        {{"  ", ""}, ""},
        {{"ffmpeg.exe: Invalid data found when processing input",
          "ffmpeg.exe: the encoder failed with exit code 1"},
         "ffmpeg.exe: Invalid data found when processing input"},
        {{"first", "ffmpeg_release_time=3.5=ffmpeg_release_time", " \t"}, "first"},
        {{"mplayer.exe: no length found in D:\\a.avi\r"}, "mplayer.exe: no length found in D:\\a.avi"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LastMessageLine(c.lines), c.expected) << c.expected;
}

} // namespace
} // namespace vidkiln
