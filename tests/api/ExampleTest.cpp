// The plain C example as a user starts it: its main window comes up wearing
// the light skin beside it (the caption band read back against the skin's
// own top border bitmap), or, given a skin file that is not there, comes up
// drawn by the system and works all the same; either way it closes cleanly
// with status 0.
#include "api/ApiTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace apitest;

namespace {

const std::wstring kExample = Widen(VIDKILN_EXAMPLE_EXE);
const std::wstring kLightDir = Widen(VIDKILN_LIGHT_SKIN_DIR);

class TProcess {
public:
    TProcess(const std::wstring& program, const std::wstring& argument)
    {
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        std::wstring commandLine = L"\"" + program + L"\" " + argument;
        if (CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                           &startup, &FInfo)) {
            CloseHandle(FInfo.hThread);
            FInfo.hThread = nullptr;
        }
    }
    ~TProcess()
    {
        if (FInfo.hProcess) {
            if (WaitForSingleObject(FInfo.hProcess, 0) == WAIT_TIMEOUT)
                TerminateProcess(FInfo.hProcess, 1);
            CloseHandle(FInfo.hProcess);
        }
    }
    TProcess(const TProcess&) = delete;
    TProcess& operator=(const TProcess&) = delete;
    HANDLE Handle() const noexcept { return FInfo.hProcess; }

private:
    PROCESS_INFORMATION FInfo{};
};

// Starts the example, waits for its main window and for the caption the
// case expects, then closes it.
void RunExample(const std::wstring& argument, const std::function<bool(HWND)>& caption, const char* awaited)
{
    const TProcess example(kExample, argument);
    ASSERT_NE(example.Handle(), nullptr) << "CreateProcess failed with " << GetLastError();
    HWND window = nullptr;
    ASSERT_TRUE(PumpUntil([&] {
        window = FindWindowW(L"SkinnedWindowExample", nullptr);
        return window && IsWindowVisible(window);
    })) << "the example's main window";
    EXPECT_TRUE(PumpUntil([&] { return caption(window); })) << awaited;
    PostMessageW(window, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForSingleObject(example.Handle(), 10000), WAIT_OBJECT_0) << "the example's exit";
    DWORD status = 99;
    GetExitCodeProcess(example.Handle(), &status);
    EXPECT_EQ(status, 0u);
}

TEST(SkinnedWindowExample, ComesUpSkinnedAndClosesCleanly)
{
    const TCaptionBand band = ReadCaptionBand(kLightDir);
    ASSERT_GT(band.Height, 6);
    RunExample(L"", [&](HWND window) { return WearsSkin(window, band); }, "the light skin's caption band");
}

TEST(SkinnedWindowExample, WithoutItsSkinComesUpUnskinnedAndClosesCleanly)
{
    const TCaptionBand band = ReadCaptionBand(kLightDir);
    ASSERT_GT(band.Height, 6);
    RunExample(L"no-such-skin.skn", [&](HWND window) { return SystemDrawn(window, band); },
               "the system's caption band");
}

} // namespace
