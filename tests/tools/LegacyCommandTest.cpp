#include "tools/encoder/LegacyCommand.h"

#include "tools/encoder/ArgQuote.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>

namespace vidkiln::tools {
namespace {

using TArgs = std::vector<std::wstring>;

TArgs ArgumentsOf(const std::wstring& line)
{
    TArgs all = SplitCommandLine(L"\"C:\\Tool\\ffmpeg.exe\" " + line);
    all.erase(all.begin());
    return all;
}

const TEngineTarget kTarget{L"/in/a b.avi", L"/out/a b.mp4.part", L"tcp://127.0.0.1:5000"};

TEST(EncoderCommand, TranslatesStartSettings)
{
    const TEncodeRequest request = ParseEncoderArguments(ArgumentsOf(
        L"-i \"D:\\v\\clip.avi\" -y -f mp4  -b 1200k  -r 5.0   -s 176x220   -aspect 4:3  "
        L"-ab 12.2K -vcodec mpeg4 -acodec libfaac \"E:\\out\\clip.mp4\""));
    EXPECT_EQ(request.Input, L"D:\\v\\clip.avi");
    EXPECT_EQ(request.Output, L"E:\\out\\clip.mp4");
    const TArgs expected = {L"-nostdin", L"-hide_banner", L"-nostats", L"-loglevel", L"error",
                            L"-progress", L"tcp://127.0.0.1:5000", L"-i", L"file:/in/a b.avi",
                            L"-y", L"-f", L"mp4", L"-b:v", L"1200k",
                            L"-vf", L"fps=5.0", L"-s", L"176x220", L"-aspect", L"4:3", L"-b:a", L"12.2k",
                            L"-c:v", L"mpeg4", L"-c:a", L"aac", L"-aac_coder", L"fast",
                            L"file:/out/a b.mp4.part"};
    EXPECT_EQ(EncoderEngineArguments(request, kTarget), expected);
}

TEST(EncoderCommand, AutoSettingsAddNothing)
{
    const TEncodeRequest request = ParseEncoderArguments(ArgumentsOf(
        L"-i \"D:\\v\\clip.avi\" -y -f mp4  -b 360k    -ab 12.2K -vcodec mpeg4 -acodec libfaac "
        L"\"E:\\out\\clip.mp4\""));
    EXPECT_FALSE(request.FrameRate);
    EXPECT_FALSE(request.Size);
    EXPECT_FALSE(request.Aspect);
    const TArgs arguments = EncoderEngineArguments(request, kTarget);
    for (const wchar_t* option : {L"-vf", L"-s", L"-aspect"})
        EXPECT_EQ(std::count(arguments.begin(), arguments.end(), option), 0) << option;
    EXPECT_EQ(std::count(arguments.begin(), arguments.end(), L"360k"), 1);
}

TEST(EncoderCommand, TakesEveryListEntry)
{
    for (const wchar_t* rate : {L"5.0", L"10.0", L"14.985", L"15.0", L"20.0", L"23.976", L"25.0", L"29.97"})
        EXPECT_EQ(*ParseEncoderArguments(ArgumentsOf(std::wstring(L"-i a -b 512k -r ") + rate + L" o"))
                       .FrameRate,
                  rate);
    for (const wchar_t* size : {L"176x132", L"176x220", L"220x176", L"320x240", L"400x240",
                                L"432x240", L"480x272", L"480x320"})
        EXPECT_EQ(*ParseEncoderArguments(ArgumentsOf(std::wstring(L"-i a -b 512k -s ") + size + L" o"))
                       .Size,
                  size);
    for (const wchar_t* aspect : {L"4:3", L"16:9", L"16:10"})
        EXPECT_EQ(*ParseEncoderArguments(
                       ArgumentsOf(std::wstring(L"-i a -b 512k -aspect ") + aspect + L" o"))
                       .Aspect,
                  aspect);
    for (const wchar_t* kbps : {L"360", L"512", L"1200", L"1500", L"2500"})
        EXPECT_EQ(ParseEncoderArguments(ArgumentsOf(std::wstring(L"-i a -b ") + kbps + L"k o")).VideoKbps,
                  kbps);
}

TEST(EncoderCommand, RefusesWhatItCannotTake)
{
    const wchar_t* cases[] = {
        L"",
        L"-y -b 1200k out.mp4",                       // no input
        L"-i in.avi -b 1200k",                        // no output
        L"-i in.avi out.mp4",                         // no bit rate
        L"-i in.avi -b 12x00k out.mp4",               // bad bit rate
        L"-i in.avi -b 0k out.mp4",                   // zero bit rate
        L"-i in.avi -b 1200k -r fast out.mp4",        // bad frame rate
        L"-i in.avi -b 1200k -r 0 out.mp4",           // zero frame rate
        L"-i in.avi -b 1200k -s 176 out.mp4",         // bad size
        L"-i in.avi -b 1200k -s 0x240 out.mp4",       // zero width
        L"-i in.avi -b 1200k -aspect 4:x out.mp4",    // bad aspect
        L"-i in.avi -b 1200k -ab loud out.mp4",       // bad audio rate
        L"-i in.avi -b 1200k -f avi out.mp4",         // other container
        L"-i in.avi -b 1200k -vcodec h264 out.mp4",   // other codec
        L"-i in.avi -b 1200k -acodec mp3 out.mp4",    // other codec
        L"-i in.avi -b 1200k -vf crop out.mp4",       // unknown option
        L"-i in.avi -b 1200k a.mp4 b.mp4",            // two outputs
        L"-i in.avi -b 1200k out.mp4 -r",             // option without value
        L"-i in.avi -b 1200k \"\"",                   // empty output
    };
    for (const wchar_t* line : cases)
        EXPECT_THROW(ParseEncoderArguments(ArgumentsOf(line)), ECommandLine)
            << std::string(line, line + wcslen(line));
}

TEST(EncoderCommand, MessageNamesTheWord)
{
    try {
        ParseEncoderArguments(ArgumentsOf(L"-i in.avi -b 1200k -r fast out.mp4"));
        FAIL();
    } catch (const ECommandLine& error) {
        EXPECT_NE(std::string(error.what()).find("\"fast\""), std::string::npos) << error.what();
    }
}

TEST(ProbeCommand, TakesTheFileAfterTheOptions)
{
    EXPECT_EQ(ParseProbeArguments(ArgumentsOf(
                  L"-msglevel identify=6 -vo none -ao none \"D:\\v\\my clip.avi\" 2>&1 |grep ID_LENGTH")),
              L"D:\\v\\my clip.avi");
    EXPECT_EQ(ParseProbeArguments(ArgumentsOf(L"\"D:\\视频\\片段.mkv\"")), L"D:\\视频\\片段.mkv");
}

TEST(ProbeCommand, RefusesLinesWithoutAFile)
{
    for (const wchar_t* line : {L"", L"-msglevel identify=6 -vo none -ao none", L"-vo",
                                L"-quiet file.avi", L"-vo none \"\""})
        EXPECT_THROW(ParseProbeArguments(ArgumentsOf(line)), ECommandLine)
            << std::string(line, line + wcslen(line));
}

TEST(ProbeCommand, AsksForTheDurationOnly)
{
    const TArgs expected = {L"-v", L"error", L"-show_entries", L"format=duration", L"-of",
                            L"default=nw=1", L"file:/a b/c.avi"};
    EXPECT_EQ(ProbeEngineArguments(L"/a b/c.avi"), expected);
}

}  // namespace
}  // namespace vidkiln::tools
