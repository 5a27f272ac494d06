// The main window's skinned window menu, opened and used with the keyboard
// as a user does (SendInput): what the fixed-size window offers, and the
// letters of its items.
#include "MainTestFixture.h"

#include "framework/Menus.h"
#include "skin/forms/SkinManager.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>
#include <vector>

namespace {

using TWindowMenu = MainWindowTest;

// Presses the keys in order and lets them go in reverse, as a chord.
void Press(std::initializer_list<WORD> Keys)
{
    std::vector<INPUT> inputs;
    for (const WORD key : Keys) {
        INPUT& input = inputs.emplace_back();
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
    }
    for (auto key = std::rbegin(Keys); key != std::rend(Keys); ++key) {
        INPUT& input = inputs.emplace_back();
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = *key;
        input.ki.dwFlags = KEYEVENTF_KEYUP;
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

HWND OpenPopup()
{
    const HWND popup = FindWindowW(L"#32768", nullptr);
    return popup && IsWindowVisible(popup) ? popup : nullptr;
}

std::wstring ItemText(HMENU Menu, UINT Command)
{
    wchar_t text[128] = {};
    GetMenuStringW(Menu, Command, text, 128, MF_BYCOMMAND);
    return text;
}

} // namespace

// The window cannot be resized or maximised: its menu offers neither, and
// a letter typed while the menu is open picks the item that carries it.
TEST_F(TWindowMenu, OffersNoSizeOnTheFixedWindowAndTakesItsLetters)
{
    const HWND window = Form->Handle();
    ASSERT_TRUE(PumpUntil([&] {
        TWinSkinForm* frame = SkinManager ? SkinManager->FindSkinForm(window) : nullptr;
        return frame && frame->State() == fsReady;
    }));
    const wchar_t minimise = GetHotkey(ItemText(GetSystemMenu(window, FALSE), SC_MINIMIZE));
    ASSERT_NE(minimise, 0) << "the minimise item carries no letter";
    SetForegroundWindow(window);
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == window; }));

    std::optional<UINT> size;
    std::optional<UINT> maximise;
    During([&] {
        const auto menu = reinterpret_cast<HMENU>(SendMessageW(OpenPopup(), MN_GETHMENU, 0, 0));
        size = GetMenuState(menu, SC_SIZE, MF_BYCOMMAND);
        maximise = GetMenuState(menu, SC_MAXIMIZE, MF_BYCOMMAND);
        Press({static_cast<WORD>(LOBYTE(VkKeyScanW(minimise)))});
    }, [] { return OpenPopup() != nullptr; });
    // A letter the menu ignores leaves it open: it is closed for the test
    // to end, the check below failing.
    const ULONGLONG giveUp = GetTickCount64() + 10000;
    During([] {
        if (OpenPopup())
            Press({VK_ESCAPE});
    }, [&] { return IsIconic(window) || GetTickCount64() > giveUp; });
    Press({VK_MENU, VK_SPACE});

    EXPECT_TRUE(PumpUntil([&] { return IsIconic(window) != FALSE; })) << "the letter did not minimise";
    ASSERT_TRUE(size.has_value()) << "the window menu did not open";
    EXPECT_TRUE(*size == static_cast<UINT>(-1) || (*size & MF_GRAYED)) << "大小 offered";
    EXPECT_TRUE(*maximise == static_cast<UINT>(-1) || (*maximise & MF_GRAYED)) << "最大化 offered";
    ShowWindow(window, SW_RESTORE);
}
