// vidkiln-skin.dll as a program that loads it on demand uses it: LoadLibrary,
// start, stop, FreeLibrary. Afterwards the window goes on as if it had never
// been skinned: its own procedure answers, a newly made window is not
// hooked, and the caption is the system's again. The DLL may stay mapped
// after FreeLibrary (its runtime keeps a reference), so what is checked is
// that nothing in the process still calls into it.
#include "api/ApiTestSupport.h"

#include <gtest/gtest.h>

#include "vidkiln/skin.h"

#include <string>

using namespace apitest;

namespace {

const std::wstring kDll = Widen(VIDKILN_SKIN_DLL);
const std::wstring kSteelSkin = Widen(VIDKILN_STEEL_SKIN_FILE);
const std::wstring kSteelDir = Widen(VIDKILN_STEEL_SKIN_DIR);

using TStart = int(__stdcall*)(const wchar_t*);
using TStop = void(__stdcall*)();
using TIsSkinned = int(__stdcall*)(HWND);
using TLastError = const wchar_t*(__stdcall*)();

template <typename TFunction>
TFunction Entry(HMODULE dll, const char* name)
{
    return reinterpret_cast<TFunction>(reinterpret_cast<void*>(GetProcAddress(dll, name)));
}

TEST(SkinDll, UnloadedAfterStopLeavesTheWindowWorkingUnskinned)
{
    RegisterTestClass();
    const TCaptionBand band = ReadCaptionBand(kSteelDir);
    ASSERT_GT(band.Height, 6);
    HWND window = MakeShownWindow();
    const TWindowState before = TWindowState::Of(window);

    HMODULE dll = LoadLibraryW(kDll.c_str());
    ASSERT_NE(dll, nullptr) << "LoadLibrary failed with " << GetLastError();
    const auto start = Entry<TStart>(dll, "VkSkinStartFile");
    const auto stop = Entry<TStop>(dll, "VkSkinStop");
    const auto isSkinned = Entry<TIsSkinned>(dll, "VkSkinIsSkinned");
    const auto lastError = Entry<TLastError>(dll, "VkSkinLastError");
    ASSERT_TRUE(start && stop && isSkinned && lastError) << "the DLL's exports";

    ASSERT_EQ(start(kSteelSkin.c_str()), 0) << lastError();
    ASSERT_TRUE(PumpUntil([&] { return WearsSkin(window, band); })) << "the skin's caption band";
    ASSERT_EQ(isSkinned(window), 1);
    stop();
    ASSERT_TRUE(FreeLibrary(dll));

    EXPECT_EQ(GetWindowLongPtrW(window, GWLP_WNDPROC), before.Procedure);
    testsupport::TMessageRecording recording;
    recording.Answers[WM_APP + 1] = 4242;
    EXPECT_EQ(SendMessageW(window, WM_APP + 1, 0, 0), 4242);
    EXPECT_EQ(recording.Count(WM_APP + 1, window), 1);
    // Moving and resizing run every hook and procedure left on the window.
    SetWindowPos(window, nullptr, 60, 60, 500, 320, SWP_NOZORDER);
    RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_TRUE(PumpUntil([&] { return SystemDrawn(window, band); })) << "the system's caption after the unload";

    // Making and activating a window would call a hook left behind.
    HWND later = MakeShownWindow();
    EXPECT_TRUE(PumpUntil([&] { return SystemDrawn(later, band); })) << "a new window's system caption";
    DestroyWindow(later);
    DestroyWindow(window);
}

} // namespace
