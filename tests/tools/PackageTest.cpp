// The unzipped Windows release under Wine, as a Windows user runs it: its
// ffmpeg.exe and mplayer.exe over the Windows FFmpeg in its engine\ folder,
// started with the exact command lines Vidkiln builds, and vidkiln.exe
// itself. scripts/test-package unzips the release and names its folder in
// VIDKILN_PACKAGE_DIR; clips and results go into folders beside it.
#include "ConversionChecks.h"
#include "framework/Messages.h"

#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <chrono>
#include <cstdio>
#include <cwctype>

namespace vidkiln::tools::test {
namespace {

std::wstring PackageFolder()
{
    const std::optional<std::wstring> folder = EnvironmentValue(L"VIDKILN_PACKAGE_DIR");
    if (!folder || !IsFolder(*folder)) {
        ADD_FAILURE() << "VIDKILN_PACKAGE_DIR names no folder";
        return L"?";
    }
    return FullPath(*folder);
}

std::wstring AppPath() { return PackageFolder() + L"\\"; }

std::wstring Folder(const std::wstring& name)
{
    const std::wstring folder = FolderOf(PackageFolder()) + L"\\" + name;
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

std::wstring Lower(std::wstring text)
{
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(std::towlower(c));
    return text;
}

// Whether a running process's program is the given file.
bool IsRunning(const std::wstring& program)
{
    const TKernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more; more = Process32NextW(snapshot.Get(), &entry)) {
        const TKernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID));
        wchar_t path[MAX_PATH * 2];
        DWORD size = MAX_PATH * 2;
        if (process && QueryFullProcessImageNameW(process.Get(), 0, path, &size) &&
            Lower(std::wstring(path, size)) == Lower(program))
            return true;
    }
    return false;
}

TEST(Package, HoldsWhatItShips)
{
    for (const wchar_t* file : {L"vidkiln.exe", L"ffmpeg.exe", L"mplayer.exe", L"engine\\ffmpeg.exe",
                                L"engine\\ffprobe.exe", L"skins\\light.skn", L"web\\index.html",
                                L"Images\\bg.bmp", L"README.txt", L"licenses\\FFmpeg.txt",
                                L"licenses\\LGPL-2.1.txt", L"licenses\\FFmpeg-copyright.txt",
                                L"sdk\\include\\vidkiln\\skin.h", L"sdk\\bin\\vidkiln-skin.dll",
                                L"sdk\\lib\\libvidkiln-skin.dll.a", L"sdk\\lib\\libvidkiln-skin.a",
                                L"sdk\\lib\\cmake\\VidkilnSkin\\VidkilnSkinConfig.cmake",
                                L"sdk\\examples\\skinned-window\\main.c", L"sdk\\README.txt"})
        EXPECT_TRUE(IsFile(AppPath() + file)) << Utf8(file);
}

// A clip of each container the open-file filter lists that FFmpeg makes,
// converted with the start settings by the Windows engine.
class PackageContainer : public ::testing::TestWithParam<const wchar_t*> {};

TEST_P(PackageContainer, ConvertsWithStartSettings)
{
    const std::wstring extension = GetParam();
    const std::wstring source = Folder(L"片段 clips") + L"\\测试 片段." + extension;
    // 3GP's default video codec, H.263, takes only its own picture sizes.
    MakeClip(source, 5, extension == L"3gp" ? L"176x144" : L"320x240");
    ConvertAndCheck(AppPath(), source, Folder(L"输出 目录"), kStartSettings, {"176x220", 5, "4:3"});
}

INSTANTIATE_TEST_SUITE_P(Package, PackageContainer,
                         ::testing::Values(L"avi", L"mpg", L"wmv", L"asf", L"mov", L"mkv", L"3gp"),
                         [](const ::testing::TestParamInfo<const wchar_t*>& row) {
                             return Utf8(row.param);
                         });

// One clip of each family of files the open dialog offers, in codecs the
// Linux FFmpeg can write, each probed and converted through the package's
// tools by its own engine. AV1 is missing: the engine has no software AV1
// decoder. RealAudio 14.4 too: the Linux FFmpeg writes it into RealMedia
// with every time stamp zero.
struct TFamily {
    const char* Name;
    const wchar_t* Extension;
    const wchar_t* Size;
    std::vector<std::wstring> Encoding;
};

const TFamily kFamilies[] = {
    {"RealMedia_RV20_AC3", L"rm", L"320x240", {L"-c:v", L"rv20", L"-c:a", L"ac3"}},
    {"RealMedia_RV10_AC3", L"rmvb", L"320x240", {L"-f", L"rm", L"-c:v", L"rv10", L"-c:a", L"ac3"}},
    {"AVI_DivX3_MP3", L"avi", L"320x240", {L"-c:v", L"msmpeg4", L"-c:a", L"libmp3lame"}},
    {"AVI_MJPEG_PCM", L"avi", L"320x240", {L"-c:v", L"mjpeg", L"-c:a", L"pcm_s16le"}},
    {"MPEG1_PS", L"mpeg", L"320x240", {L"-f", L"mpeg", L"-c:v", L"mpeg1video", L"-c:a", L"mp2"}},
    {"VCD", L"dat", L"352x288", {L"-f", L"vcd"}},
    {"VOB_MPEG2_AC3", L"vob", L"720x576", {L"-f", L"vob", L"-c:v", L"mpeg2video", L"-c:a", L"ac3"}},
    {"MPEG2_TS_H264_AAC", L"ts", L"320x240", {L"-f", L"mpegts", L"-c:v", L"libx264", L"-c:a", L"aac"}},
    {"WMV_WMV2_WMA2", L"wmv", L"320x240", {L"-c:v", L"wmv2", L"-c:a", L"wmav2"}},
    {"ASF_WMV1_WMA1", L"asf", L"320x240", {L"-c:v", L"wmv1", L"-c:a", L"wmav1"}},
    {"3GP_H263_AAC", L"3gp", L"176x144", {L"-c:v", L"h263", L"-c:a", L"aac", L"-ar", L"22050"}},
    {"MP4_H264_AAC", L"mp4", L"320x240", {L"-c:v", L"libx264", L"-c:a", L"aac"}},
    {"MP4_HEVC_AAC", L"mp4", L"320x240", {L"-c:v", L"libx265", L"-x265-params", L"log-level=error", L"-c:a", L"aac"}},
    {"MP4_MPEG4_AAC", L"avs", L"320x240", {L"-f", L"mp4", L"-c:v", L"mpeg4", L"-c:a", L"aac"}},
    {"QuickTime_MJPEG_PCM", L"mov", L"320x240", {L"-c:v", L"mjpeg", L"-c:a", L"pcm_s16be"}},
    {"QuickTime_H264_AAC", L"qt", L"320x240", {L"-f", L"mov", L"-c:v", L"libx264", L"-c:a", L"aac"}},
    {"Matroska_VP9_Opus", L"mkv", L"320x240", {L"-c:v", L"libvpx-vp9", L"-deadline", L"realtime", L"-c:a", L"libopus", L"-ar", L"48000"}},
    {"WebM_VP8_Vorbis", L"webm", L"320x240", {L"-c:v", L"libvpx", L"-deadline", L"realtime", L"-c:a", L"libvorbis"}},
    {"DV_PAL", L"dv", L"720x576", {L"-c:v", L"dvvideo", L"-pix_fmt", L"yuv420p", L"-c:a", L"pcm_s16le", L"-ar", L"48000", L"-ac", L"2"}},
    {"FLV_Sorenson_MP3", L"flv", L"320x240", {L"-c:v", L"flv", L"-c:a", L"libmp3lame", L"-ar", L"44100"}},
};

class PackageFamily : public ::testing::TestWithParam<TFamily> {};

TEST_P(PackageFamily, ProbesAndConverts)
{
    const TFamily& family = GetParam();
    const std::wstring source = Folder(L"片段 families") + L"\\" + Wide(family.Name) + L" 片段." + family.Extension;
    MakeClip(source, 3, family.Size, family.Encoding);

    const TToolResult probe = RunTool(ProbeCommandLine(AppPath(), source));
    EXPECT_EQ(probe.ExitCode, 0u) << Joined(probe.Lines);
    char length[64];
    std::snprintf(length, sizeof length, "ID_LENGTH=%.2f", Number(Describe(source).at("format.duration")));
    EXPECT_EQ(probe.Lines, std::vector<std::string>{length});

    ConvertAndCheck(AppPath(), source, Folder(L"输出 families"), kStartSettings, {"176x220", 5, "4:3"});
}

INSTANTIATE_TEST_SUITE_P(Package, PackageFamily, ::testing::ValuesIn(kFamilies),
                         [](const ::testing::TestParamInfo<TFamily>& row) { return std::string(row.param.Name); });

TEST(Package, ProbesTheLength)
{
    const std::wstring source = Folder(L"片段 clips") + L"\\测试 片段.avi";
    MakeClip(source, 5, L"320x240");
    const TToolResult run = RunTool(ProbeCommandLine(AppPath(), source));
    EXPECT_EQ(run.ExitCode, 0u) << Joined(run.Lines);
    char expected[64];
    std::snprintf(expected, sizeof expected, "ID_LENGTH=%.2f", Number(Describe(source).at("format.duration")));
    EXPECT_EQ(run.Lines, std::vector<std::string>{expected});
}

TEST(Package, RefusesToWriteOverTheInput)
{
    const std::wstring input = Folder(L"输出 目录") + L"\\同一 文件.mp4";
    MakeClip(input, 1, L"160x120");
    const std::string before = ReadFileBytes(input);
    const std::wstring line = L"\"" + AppPath() + L"ffmpeg.exe\" -i \"" + input +
                              L"\" -y -f mp4  -b 1200k    -ab 12.2K -vcodec mpeg4 -acodec libfaac \"" +
                              input + L"\"";
    const TToolResult run = RunTool(line);
    EXPECT_EQ(run.ExitCode, 3u) << Joined(run.Lines);
    EXPECT_EQ(ReadFileBytes(input), before);
    EXPECT_FALSE(IsFile(input + L".vidkiln-part"));
}

// Stopped the way the front-end stops it, at the first progress line: the
// Windows engine was running then, and within a few seconds it is gone with
// its unfinished file, and the older result is still there.
TEST(Package, StoppedRunLeavesNothingBehind)
{
    const std::wstring engine = AppPath() + L"engine\\ffmpeg.exe";
    bool engineSeen = false;
    const TStoppedRun stopped =
        StopAtFirstProgress(AppPath(), Folder(L"停止 stop"), [&] { engineSeen = IsRunning(engine); });
    ASSERT_TRUE(stopped.Stopped) << Joined(stopped.Run.Lines);
    EXPECT_TRUE(engineSeen);
    const std::wstring& output = stopped.Output;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while ((IsRunning(engine) || IsFile(output + L".vidkiln-part")) && std::chrono::steady_clock::now() < deadline)
        Sleep(50);
    EXPECT_FALSE(IsRunning(engine));
    EXPECT_FALSE(IsFile(output + L".vidkiln-part"));
    EXPECT_EQ(ReadFileBytes(output), "older good result");
}

struct TWindowSearch {
    DWORD ProcessId;
    HWND Found;
};

BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM parameter)
{
    auto& search = *AsPointer<TWindowSearch>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search.ProcessId || !IsWindowVisible(window))
        return TRUE;
    search.Found = window;
    return FALSE;
}

std::wstring TitleOf(HWND window)
{
    wchar_t title[256] = {};
    GetWindowTextW(window, title, 256);
    return title;
}

// Started from the package the way Explorer starts it: its main window comes
// up with its title, and it closes when asked.
TEST(Package, StartsVidkilnWithItsWindow)
{
    std::wstring line = L"\"" + AppPath() + L"vidkiln.exe\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    ASSERT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               PackageFolder().c_str(), &startup, &info));
    const TKernelHandle process(info.hProcess), thread(info.hThread);
    TWindowSearch search{info.dwProcessId, nullptr};
    for (int i = 0; i < 300 && !search.Found && WaitForSingleObject(process.Get(), 0) == WAIT_TIMEOUT; ++i) {
        Sleep(100);
        EnumWindows(FindVisibleWindow, AsLParam(&search));
    }
    ASSERT_NE(search.Found, nullptr) << "no window within 30 s";
    EXPECT_EQ(TitleOf(search.Found).rfind(L"Vidkiln v3.0", 0), 0u) << Utf8(TitleOf(search.Found));
    RECT frame{};
    GetWindowRect(search.Found, &frame);
    EXPECT_GT(frame.right - frame.left, 500);
    EXPECT_GT(frame.bottom - frame.top, 300);
    PostMessageW(search.Found, WM_CLOSE, 0, 0);
    const bool closed = WaitForSingleObject(process.Get(), 10000) == WAIT_OBJECT_0;
    if (!closed)
        TerminateProcess(process.Get(), 1);
    EXPECT_TRUE(closed);
}

}  // namespace
}  // namespace vidkiln::tools::test
