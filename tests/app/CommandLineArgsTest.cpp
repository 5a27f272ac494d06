// The command lines as the tools receive them: Windows splits them into
// arguments with CommandLineToArgvW's rules, so every path must arrive whole.
#include "ToolCommands.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <shellapi.h>

#include <vector>

namespace {

std::vector<std::wstring> Arguments(const std::wstring& commandLine)
{
    int count = 0;
    wchar_t** list = CommandLineToArgvW(commandLine.c_str(), &count);
    std::vector<std::wstring> arguments(list, list + count);
    LocalFree(list);
    return arguments;
}

const wchar_t kAppPath[] = L"C:\\Program Files\\视频 转换\\";
const wchar_t kSource[] = L"D:\\我的 视频\\a.b 片 (1).rmvb";

TEST(CommandLineArgs, ProbePathsArriveWhole)
{
    EXPECT_EQ(Arguments(vidkiln::ProbeCommandLine(kAppPath, kSource)),
              (std::vector<std::wstring>{L"C:\\Program Files\\视频 转换\\mplayer.exe", L"-msglevel",
                                         L"identify=6", L"-vo", L"none", L"-ao", L"none", kSource,
                                         L"2>&1", L"|grep", L"ID_LENGTH"}));
}

TEST(CommandLineArgs, EncoderPathsArriveWhole)
{
    const vidkiln::TEncoderSettings settings{{2, L"1200"}, {1, L"5.0"}, {0, L"Auto"}, {2, L"16:9"}};
    EXPECT_EQ(Arguments(vidkiln::EncoderCommandLine(kAppPath, kSource, L"E:\\输出 目录\\", settings)),
              (std::vector<std::wstring>{L"C:\\Program Files\\视频 转换\\ffmpeg.exe", L"-i", kSource,
                                         L"-y", L"-f", L"mp4", L"-b", L"1200k", L"-r", L"5.0",
                                         L"-aspect", L"16:9", L"-ab", L"12.2K", L"-vcodec", L"mpeg4",
                                         L"-acodec", L"libfaac", L"E:\\输出 目录\\a.b 片 (1).mp4"}));
}

} // namespace
