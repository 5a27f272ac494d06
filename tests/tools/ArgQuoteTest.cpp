#include "tools/encoder/ArgQuote.h"

#include "RandomArguments.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <random>

namespace vidkiln::tools {
namespace {

using TArgs = std::vector<std::wstring>;

TArgs SplitArguments(const std::wstring& line)
{
    TArgs all = SplitCommandLine(L"p " + line);
    all.erase(all.begin());
    return all;
}

TEST(ArgQuote, RoundTripsAwkwardArguments)
{
    const TArgs cases[] = {
        {L"plain", L"two words", L""},
        {L"C:\\dir with blank\\", L"C:\\dir\\"},
        {L"say \"hi\"", L"\\\"", L"\\\\\"x", L"a\\\\b"},
        {L"\t", L" ", L"\"", L"\\"},
        {L"D:\\视频 目录\\测试 片段.avi", L"-b", L"1200k"},
        {L"trailing\\\\", L"\"quoted\"", L"mid\"dle"},
    };
    for (const TArgs& arguments : cases)
        EXPECT_EQ(SplitArguments(JoinCommandLine(arguments)), arguments);
}

TEST(ArgQuote, RoundTripsRandomArguments)
{
    std::mt19937 random(7);
    const std::wstring alphabet = L"ab \\\"\t\x4e2d";
    for (int round = 0; round < 2000; ++round) {
        const TArgs arguments = RandomArguments(random, alphabet);
        ASSERT_EQ(SplitArguments(JoinCommandLine(arguments)), arguments);
    }
}

TEST(ArgQuote, LeavesSimpleArgumentsBare)
{
    EXPECT_EQ(QuoteArgument(L"C:\\a\\b.avi"), L"C:\\a\\b.avi");
    EXPECT_EQ(QuoteArgument(L"a b\\"), L"\"a b\\\\\"");
    EXPECT_EQ(QuoteArgument(L""), L"\"\"");
}

TEST(ArgQuote, SplitsTheFrontEndsEncoderLine)
{
    const std::wstring line =
        L"\"C:\\Tool\\ffmpeg.exe\" -i \"D:\\v\\my clip.avi\" -y -f mp4  -b 1200k    -ab 12.2K "
        L"-vcodec mpeg4 -acodec libfaac \"E:\\out\\my clip.mp4\"";
    const TArgs expected = {L"C:\\Tool\\ffmpeg.exe", L"-i", L"D:\\v\\my clip.avi", L"-y", L"-f",
                            L"mp4", L"-b", L"1200k", L"-ab", L"12.2K", L"-vcodec", L"mpeg4",
                            L"-acodec", L"libfaac", L"E:\\out\\my clip.mp4"};
    EXPECT_EQ(SplitCommandLine(line), expected);
}

TEST(ArgQuote, ProgramNameTakesNoEscapes)
{
    EXPECT_EQ(SplitCommandLine(L"\"C:\\a b\\\" x")[0], L"C:\\a b\\");
    EXPECT_EQ(SplitCommandLine(L"C:\\tool.exe")[0], L"C:\\tool.exe");
    EXPECT_EQ(SplitCommandLine(L"").size(), 1u);
}

TEST(ArgQuote, ApplysRuntimeQuoteRules)
{
    const struct {
        const wchar_t* Line;
        TArgs Expected;
    } cases[] = {
        {L"a\\\\\"b c\"", {L"a\\b c"}},
        {L"a\\\\\\\"b", {L"a\\\"b"}},
        {L"\"a\"\"b\"", {L"a\"b"}},
        {L"a\\b", {L"a\\b"}},
        {L"  \"\"  x", {L"", L"x"}},
        {L"\"unclosed rest", {L"unclosed rest"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitArguments(c.Line), c.Expected) << std::string(c.Line, c.Line + wcslen(c.Line));
}

}  // namespace
}  // namespace vidkiln::tools
