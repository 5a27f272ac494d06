// The quoting function against the system's own splitter.
#include "tools/encoder/ArgQuote.h"

#include "RandomArguments.h"

#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <random>

namespace vidkiln::tools {
namespace {

std::vector<std::wstring> SystemSplit(const std::wstring& line)
{
    int count = 0;
    wchar_t** words = CommandLineToArgvW(line.c_str(), &count);
    std::vector<std::wstring> result(words, words + count);
    LocalFree(words);
    return result;
}

TEST(ArgQuoteWin, CommandLineToArgvWGivesTheArgumentsBack)
{
    std::mt19937 random(11);
    const std::wstring alphabet = L"a \\\"\t\x89c6";
    for (int round = 0; round < 2000; ++round) {
        const std::vector<std::wstring> arguments = RandomArguments(random, alphabet);
        std::vector<std::wstring> expected{L"p.exe"};
        expected.insert(expected.end(), arguments.begin(), arguments.end());
        ASSERT_EQ(SystemSplit(L"p.exe " + JoinCommandLine(arguments)), expected);
    }
}

TEST(ArgQuoteWin, SplitsLikeTheSystem)
{
    for (const wchar_t* line : {L"\"C:\\a b\\t.exe\" -i \"D:\\v\\my clip.avi\"  -b 1200k \"E:\\o\\x.mp4\"",
                                L"t.exe a\\\\\"b c\" d\\\\\\\"e f\\g"})
        EXPECT_EQ(SplitCommandLine(line), SystemSplit(line));
}

}  // namespace
}  // namespace vidkiln::tools
