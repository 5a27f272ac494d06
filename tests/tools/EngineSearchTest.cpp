#include "tools/encoder/EngineSearch.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <set>

namespace vidkiln::tools {
namespace {

struct TCase {
    const char* Name;
    bool UnderWine;
    std::optional<std::wstring> EngineDir;
    std::set<std::wstring> Files;
    std::optional<std::wstring> Expected;  // path found
    bool Linux = false;
};

TEngineFound Search(const TCase& c)
{
    TEngineSearch search;
    search.EngineDir = c.EngineDir;
    search.ToolsDir = L"C:\\Vidkiln\\";
    search.PathVariable = L"C:\\vidkiln;\"C:\\Program Files\\FF\";;C:\\bin";
    search.UnderWine = c.UnderWine;
    search.LinuxDirs = {L"Z:\\usr\\bin"};
    return FindEngineProgram(search, L"ffprobe",
                             [&](const std::wstring& path) { return c.Files.count(path) > 0; });
}

TEST(EngineSearch, FollowsTheOrder)
{
    const std::wstring beside = L"C:\\Vidkiln\\engine\\ffprobe.exe";
    const std::wstring onPath = L"C:\\Program Files\\FF\\ffprobe.exe";
    const std::wstring linux = L"Z:\\usr\\bin\\ffprobe";
    const TCase cases[] = {
        {"variable wins", false, L"D:\\ff\\", {L"D:\\ff\\ffprobe.exe", beside}, L"D:\\ff\\ffprobe.exe"},
        {"variable alone", false, L"D:\\ff", {beside, onPath}, std::nullopt},
        {"empty variable is unset", false, L"", {beside}, beside},
        {"Linux program in variable", true, L"Z:\\opt\\ff", {L"Z:\\opt\\ff\\ffprobe"},
         L"Z:\\opt\\ff\\ffprobe", true},
        {"engine folder", false, std::nullopt, {beside, onPath}, beside},
        // An unzipped release under Wine runs its own Windows engine.
        {"engine folder before Linux under Wine", true, std::nullopt,
         {beside, L"C:\\Vidkiln\\engine\\ffprobe", onPath, linux}, beside},
        {"Linux program in engine folder", true, std::nullopt, {L"C:\\Vidkiln\\engine\\ffprobe"},
         L"C:\\Vidkiln\\engine\\ffprobe", true},
        {"no Linux program on Windows", false, std::nullopt, {L"C:\\Vidkiln\\engine\\ffprobe", linux},
         std::nullopt},
        {"path", false, std::nullopt, {onPath, L"C:\\bin\\ffprobe.exe"}, onPath},
        {"not the tools' own folder", false, std::nullopt, {L"C:\\Vidkiln\\ffprobe.exe"}, std::nullopt},
        {"variable naming the tools' folder", false, L"c:/vidkiln", {L"C:\\Vidkiln\\ffprobe.exe",
         L"c:/vidkiln\\ffprobe.exe"}, std::nullopt},
        {"path before Linux", true, std::nullopt, {L"C:\\bin\\ffprobe.exe", linux}, L"C:\\bin\\ffprobe.exe"},
        {"Linux last", true, std::nullopt, {linux}, linux, true},
        {"nothing", true, std::nullopt, {}, std::nullopt},
    };
    for (const TCase& c : cases) {
        const TEngineFound found = Search(c);
        ASSERT_EQ(found.Program.has_value(), c.Expected.has_value()) << c.Name;
        if (found.Program) {
            EXPECT_EQ(found.Program->Path, *c.Expected) << c.Name;
            EXPECT_EQ(found.Program->Linux, c.Linux) << c.Name;
        }
    }
}

TEST(EngineSearch, MessageNamesEveryPlace)
{
    const TEngineFound found = Search({"nothing", true, std::nullopt, {}, std::nullopt});
    const std::wstring message = DescribeSearch(L"ffprobe", found);
    for (const wchar_t* place : {L"C:\\Vidkiln\\engine\\ffprobe.exe", L"C:\\Vidkiln\\engine\\ffprobe",
                                 L"C:\\Program Files\\FF\\ffprobe.exe", L"C:\\bin\\ffprobe.exe",
                                 L"Z:\\usr\\bin\\ffprobe", L"VIDKILN_ENGINE_DIR"})
        EXPECT_NE(message.find(place), std::wstring::npos) << std::string(place, place + wcslen(place));
    EXPECT_EQ(message.find(L"C:\\vidkiln\\ffprobe.exe"), std::wstring::npos);
}

}  // namespace
}  // namespace vidkiln::tools
