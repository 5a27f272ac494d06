// The quoting function against the system's own splitter.
#include "tools/encoder/ArgQuote.h"

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
    std::vector<std::wstring> result(words + 1, words + count);
    LocalFree(words);
    return result;
}

TEST(ArgQuoteWin, CommandLineToArgvWGivesTheArgumentsBack)
{
    std::mt19937 random(11);
    const std::wstring alphabet = L"a \\\"\t\x89c6";
    for (int round = 0; round < 2000; ++round) {
        std::vector<std::wstring> arguments(1 + random() % 4);
        for (std::wstring& argument : arguments)
            for (size_t n = random() % 8; n > 0; --n)
                argument += alphabet[random() % alphabet.size()];
        ASSERT_EQ(SystemSplit(L"p.exe " + JoinCommandLine(arguments)), arguments);
    }
}

TEST(ArgQuoteWin, SplitsLikeTheSystem)
{
    for (const wchar_t* line : {L"\"C:\\a b\\t.exe\" -i \"D:\\v\\my clip.avi\"  -b 1200k \"E:\\o\\x.mp4\"",
                                L"t.exe a\\\\\"b c\" d\\\\\\\"e f\\g"})
        EXPECT_EQ(SplitCommandLine(line), [&] {
            int count = 0;
            wchar_t** words = CommandLineToArgvW(line, &count);
            std::vector<std::wstring> all(words, words + count);
            LocalFree(words);
            return all;
        }());
}

}  // namespace
}  // namespace vidkiln::tools
