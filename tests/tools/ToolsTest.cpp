// ffmpeg.exe and mplayer.exe under Wine over the real Linux FFmpeg, started
// with the exact command lines Vidkiln builds and read the way its runner
// reads them.
#include "ConversionChecks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

namespace vidkiln::tools::test {
namespace {

std::wstring AppPath() { return ToolsFolder() + L"\\"; }

std::wstring Folder(const std::wstring& name)
{
    const std::wstring folder = ClipsFolder() + L"\\" + name;
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

// One clip of each container the front-end lists, and one whose name and
// folder are Chinese with blanks.
struct TContainer {
    const char* Name;
    const wchar_t* Folder;
    const wchar_t* File;
};

void PrintTo(const TContainer& c, std::ostream* out) { *out << c.Name; }

std::string ContainerName(const ::testing::TestParamInfo<TContainer>& info)
{
    return info.param.Name;
}

class ContainerTest : public ::testing::TestWithParam<TContainer> {};

TEST_P(ContainerTest, ConvertsWithStartSettings)
{
    const TContainer& c = GetParam();
    const std::wstring source = Folder(c.Folder) + L"\\" + c.File;
    MakeClip(source, 5, L"320x240");
    ConvertAndCheck(AppPath(), source, Folder(std::wstring(c.Folder) + L"-输出 目录"), kStartSettings,
                    {"176x220", 5, "4:3"});
}

INSTANTIATE_TEST_SUITE_P(Tools, ContainerTest,
                         ::testing::Values(TContainer{"avi", L"clips", L"clip.avi"},
                                           TContainer{"mkv", L"clips", L"clip.mkv"},
                                           TContainer{"mov", L"clips", L"clip.mov"},
                                           TContainer{"mpg", L"clips", L"clip.mpg"},
                                           TContainer{"wmv", L"clips", L"clip.wmv"},
                                           TContainer{"chinese", L"视频 文件夹", L"测试 片段 一.avi"}),
                         ContainerName);

// One row per entry of each of the four settings lists, the others at
// their start settings, on a short clip.
struct TRow {
    int List;  // 0 video kbps, 1 frame rate, 2 size, 3 aspect
    int Index;
    const wchar_t* Text;
};

void PrintTo(const TRow& row, std::ostream* out) { *out << row.List << "/" << row.Index; }

class SettingsTest : public ::testing::TestWithParam<TRow> {};

TEST_P(SettingsTest, ConvertsWithTheEntry)
{
    const TRow& row = GetParam();
    const std::wstring source = Folder(L"short") + L"\\short.avi";
    MakeClip(source, 1.5, L"320x240");
    TEncoderSettings settings = kStartSettings;
    TSetting* lists[] = {&settings.VideoKbps, &settings.VideoFrame, &settings.VideoSize, &settings.Aspect};
    *lists[row.List] = {row.Index, row.Text};
    const std::string text = Utf8(row.Text);
    TExpected expected{"176x220", 5, "4:3"};
    if (row.List == 1)
        expected.Rate = row.Index == 0 ? 25 : std::stod(text);
    if (row.List == 2)
        expected.Size = row.Index == 0 ? "320x240" : text;
    if (row.List == 3)
        expected.Aspect = row.Index == 0 ? "" : text == "16:10" ? "8:5" : text;
    ConvertAndCheck(AppPath(), source, Folder(L"short-out"), settings, expected);
}

std::vector<TRow> AllRows()
{
    const std::vector<std::vector<const wchar_t*>> lists = {
        {L"360", L"512", L"1200", L"1500", L"2500"},
        {L"Auto", L"5.0", L"10.0", L"14.985", L"15.0", L"20.0", L"23.976", L"25.0", L"29.97"},
        {L"Auto", L"176x132", L"176x220", L"220x176", L"320x240", L"400x240", L"432x240", L"480x272",
         L"480x320"},
        {L"Auto", L"4:3", L"16:9", L"16:10"}};
    std::vector<TRow> rows;
    for (size_t list = 0; list < lists.size(); ++list)
        for (size_t index = 0; index < lists[list].size(); ++index)
            rows.push_back({static_cast<int>(list), static_cast<int>(index), lists[list][index]});
    return rows;
}

std::string RowName(const ::testing::TestParamInfo<TRow>& info)
{
    const char* lists[] = {"kbps", "rate", "size", "aspect"};
    std::string text = Utf8(info.param.Text);
    for (char& c : text)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return std::string(lists[info.param.List]) + "_" + text;
}

INSTANTIATE_TEST_SUITE_P(Tools, SettingsTest, ::testing::ValuesIn(AllRows()), RowName);

TEST(ProbeTool, PrintsTheLength)
{
    const std::wstring source = Folder(L"视频 文件夹") + L"\\测试 片段 一.avi";
    MakeClip(source, 5, L"320x240");
    const TToolResult run = RunTool(ProbeCommandLine(AppPath(), source));
    EXPECT_EQ(run.ExitCode, 0u);
    const double duration = Number(Describe(source).at("format.duration"));
    char expected[64];
    std::snprintf(expected, sizeof expected, "ID_LENGTH=%.2f", duration);
    EXPECT_EQ(run.Lines, std::vector<std::string>{expected});
    EXPECT_EQ(DurationFromProbeText(JoinCapturedLines(run.Lines)), static_cast<int>(duration));
}

TEST(ProbeTool, GivesNoLengthForWhatIsNoVideo)
{
    const std::wstring text = Folder(L"probe") + L"\\notes ID_LENGTH=9.avi";
    WriteFileBytes(text, "not a video\r\n");
    for (const std::wstring& file : {text, Folder(L"probe") + L"\\missing.avi"}) {
        const TToolResult run = RunTool(ProbeCommandLine(AppPath(), file));
        EXPECT_NE(run.ExitCode, 0u);
        ASSERT_FALSE(run.Lines.empty());
        for (const std::string& line : run.Lines)
            EXPECT_FALSE(HasMarker(line)) << line;
        EXPECT_EQ(DurationFromProbeText(JoinCapturedLines(run.Lines)), 0);
    }
}

// Refused runs: a message, a non-zero exit, the input untouched, nothing
// written.
TEST(EncoderTool, RefusesBadRuns)
{
    const std::wstring folder = Folder(L"refuse");
    const std::wstring input = folder + L"\\same.mp4";
    MakeClip(input, 1, L"160x120");
    const std::wstring link = folder + L"\\linked.mp4";
    DeleteFileW(link.c_str());
    ASSERT_TRUE(CreateHardLinkW(link.c_str(), input.c_str(), nullptr));
    const std::string before = ReadFileBytes(input);
    const std::wstring tool = L"\"" + AppPath() + L"ffmpeg.exe\"";
    const std::wstring options = L" -y -f mp4  -b 1200k    -ab 12.2K -vcodec mpeg4 -acodec libfaac ";
    const struct {
        const char* Name;
        std::wstring Line;
        DWORD Exit;
    } cases[] = {
        {"output is input", tool + L" -i \"" + input + L"\"" + options + L"\"" + input + L"\"", 3},
        {"output is a link to input", tool + L" -i \"" + input + L"\"" + options + L"\"" + link + L"\"", 3},
        {"missing input", tool + L" -i \"" + folder + L"\\none.avi\"" + options + L"\"" + folder + L"\\none.mp4\"", 3},
        {"missing output folder", tool + L" -i \"" + input + L"\"" + options + L"\"" + folder + L"\\no\\x.mp4\"", 3},
        {"bad command line", tool + L" -i \"" + input + L"\" -b fast \"" + folder + L"\\x.mp4\"", 2},
        {"no output", tool + L" -i \"" + input + L"\"" + options, 2},
    };
    for (const auto& c : cases) {
        const TToolResult run = RunTool(c.Line);
        EXPECT_EQ(run.ExitCode, c.Exit) << c.Name << "\n" << Joined(run.Lines);
        ASSERT_FALSE(run.Lines.empty()) << c.Name;
        EXPECT_EQ(run.Lines.back().rfind("ffmpeg.exe: ", 0), 0u) << c.Name;
        EXPECT_TRUE(ProgressOf(run).empty()) << c.Name;
    }
    EXPECT_EQ(ReadFileBytes(input), before);
    EXPECT_FALSE(IsFile(folder + L"\\x.mp4"));
    EXPECT_FALSE(IsFile(input + L".vidkiln-part"));
}

TEST(EncoderTool, KeepsTheOlderOutputWhenTheEncoderFails)
{
    const std::wstring folder = Folder(L"fail");
    const std::wstring input = folder + L"\\broken.avi";
    WriteFileBytes(input, std::string(4096, 'x'));
    const std::wstring output = folder + L"\\broken.mp4";
    WriteFileBytes(output, "older good result");
    const TToolResult run = RunTool(EncoderCommandLine(AppPath(), input, folder + L"\\", kStartSettings));
    EXPECT_NE(run.ExitCode, 0u);
    // The engine's own words reach the front-end's log.
    EXPECT_NE(Joined(run.Lines).find("Invalid data"), std::string::npos) << Joined(run.Lines);
    EXPECT_EQ(ReadFileBytes(output), "older good result");
    EXPECT_FALSE(IsFile(output + L".vidkiln-part"));
}

// Stopped the way the front-end stops it: TerminateProcess at the first
// progress line. The Linux encoder must go, with its unfinished file, and the
// older result must stay. How fast it goes is the benchmark's business; the
// deadline here only keeps a fault from hanging the test.
TEST(EncoderTool, StoppedRunLeavesNothingBehind)
{
    const TStoppedRun stopped = StopAtFirstProgress(AppPath(), Folder(L"stop"));
    ASSERT_TRUE(stopped.Stopped) << Joined(stopped.Run.Lines);
    const std::wstring& output = stopped.Output;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    bool encoderGone = false;
    bool partGone = false;
    do {
        // The brackets keep pgrep's own watchdog from matching itself.
        encoderGone = RunLinux("/usr/bin/pgrep", {L"-f", L"[s]top/long.mp4.vidkiln-part"}).ExitCode == 1;
        partGone = !IsFile(output + L".vidkiln-part");
    } while (!(encoderGone && partGone) && std::chrono::steady_clock::now() < deadline);
    EXPECT_TRUE(encoderGone);
    EXPECT_TRUE(partGone);
    EXPECT_EQ(ReadFileBytes(output), "older good result");
}

}  // namespace
}  // namespace vidkiln::tools::test
