// Cost of the skinned menus and caption buttons under the default skin,
// each against its unskinned counterpart in the same run: a full repaint of
// an open popup menu of 20 items (the skinned window menu, owner-drawn over
// the skin's background, against the same 20 items drawn by the system),
// the processor time of an idle window while a caption button is hot
// and its hover timer runs, against the same idle window with no timer, and
// a window with a menu bar from its start to its first paint, the bar
// skinned in the frame's band against the system's frame and bar.
#include "skin/forms/FirstPaint.h"
#include "skin/data/BenchTiming.h"
#include "skin/forms/SkinManager.h"

#include <algorithm>
#include <cstdio>
#include <string>

using namespace frametest;

namespace {

using benchtiming::Measure;

constexpr int kItems = 20;
double Repaint = 0;

// Measures full repaints of the open popup, then closes it.
void CALLBACK MeasureOpenMenu(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND popup = FindWindowW(L"#32768", nullptr);
    if (!popup || !IsWindowVisible(popup))
        return;
    KillTimer(nullptr, timer);
    Repaint = Measure([&] { RedrawWindow(popup, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW); },
                      20);
    EndMenu();
}

double MeasurePopup(HWND window, HMENU menu)
{
    Repaint = 0;
    SetTimer(nullptr, 0, USER_TIMER_MINIMUM, MeasureOpenMenu);
    if (menu)
        TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY, 200, 200, 0, window, nullptr);
    else
        SendMessageW(window, WM_SYSCOMMAND, SC_KEYMENU, L' ');
    return Repaint;
}

// A bar of four menus of five items.
HMENU BenchMenuBar()
{
    HMENU bar = CreateMenu();
    for (const wchar_t* caption : {L"&File", L"&Edit", L"&View", L"&Help"}) {
        HMENU popup = CreatePopupMenu();
        for (UINT item = 1; item <= 5; ++item)
            AppendMenuW(popup, MF_STRING, item, (L"Item " + std::to_wstring(item)).c_str());
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), caption);
    }
    return bar;
}

// Processor time of this process, in seconds, over a stretch of pumping.
double CpuWhilePumping(DWORD ms)
{
    FILETIME created, exited, kernelBefore, userBefore, kernelAfter, userAfter;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernelBefore, &userBefore);
    Settle(ms);
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernelAfter, &userAfter);
    const auto value = [](const FILETIME& time) {
        return static_cast<double>((static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
    };
    return (value(kernelAfter) - value(kernelBefore) + value(userAfter) - value(userBefore)) / 1e7;
}

} // namespace

int main()
{
    RegisterTestClass();
    UseSkinManager();
    const std::unique_ptr<TSkinData> skin = DefaultSkin();
    skin->Loaded();
    SkinManager->SetActive(true);
    HWND window = MakeWindow(WS_OVERLAPPEDWINDOW, 558, 314, L"Vidkiln");
    std::unique_ptr<TWinSkinForm> frame = AttachFrame(window, kClassName, *skin);
    BringToFront(window);

    // The window menu grown to 20 items; the same texts in a plain popup.
    HMENU windowMenu = GetSystemMenu(window, FALSE);
    for (int item = GetMenuItemCount(windowMenu); item < kItems; ++item)
        AppendMenuW(windowMenu, MF_STRING, 0x7000 + static_cast<UINT>(item) * 16,
                    (L"Item " + std::to_wstring(item)).c_str());
    HMENU plain = CreatePopupMenu();
    for (int item = 0; item < GetMenuItemCount(windowMenu); ++item) {
        wchar_t text[80] = {};
        GetMenuStringW(windowMenu, static_cast<UINT>(item), text, 80, MF_BYPOSITION);
        AppendMenuW(plain, text[0] ? MF_STRING : MF_SEPARATOR, 0x100 + static_cast<UINT>(item), text);
    }
    const double skinned = MeasurePopup(window, nullptr);
    SkinManager->SetActive(false);
    const double system = MeasurePopup(window, plain);
    SkinManager->SetActive(true);
    DestroyMenu(plain);

    // Idle, then idle with the close button hot and its hover timer running.
    const double idle = CpuWhilePumping(3000);
    RECT outer{};
    GetWindowRect(window, &outer);
    const auto& buttons = skin->CaptionButtons();
    const auto close = std::find_if(buttons.begin(), buttons.end(), [](const auto& b) { return b->Action == 0; });
    if (close == buttons.end())
        return 1;
    const RECT rect = CaptionButtonRect(**close, outer.right - outer.left);
    const POINT on{outer.left + (rect.left + rect.right) / 2, outer.top + (rect.top + rect.bottom) / 2};
    SetCursorPos(on.x, on.y);
    SendMessageW(window, WM_NCMOUSEMOVE, HTCAPTION, MAKELPARAM(on.x, on.y));
    const bool running = frame->Caption().HoverTimerRunning();
    const double hovering = CpuWhilePumping(3000);

    SkinManager->SetActive(false);
    const double plainStart = StartToFirstPaint(nullptr, BenchMenuBar);
    const double skinnedStart = StartToFirstPaint(skin.get(), BenchMenuBar);
    SkinManager->SetActive(true);

    std::printf("%-46s %8.1f us\n", "popup of 20 items repaint, system drawn", system);
    std::printf("%-46s %8.1f us  ratio %.1f\n", "popup of 20 items repaint, skinned", skinned, skinned / system);
    std::printf("%-46s %8.3f %% of a core\n", "idle window", idle / 3.0 * 100);
    std::printf("%-46s %8.3f %% of a core  (timer %s)\n", "idle window, caption button hot", hovering / 3.0 * 100,
                running ? "running" : "not running");
    std::printf("%-46s %8.1f us\n", "menu bar window to first paint, system", plainStart);
    std::printf("%-46s %8.1f us  ratio %.1f\n", "menu bar window to first paint, skinned", skinnedStart,
                skinnedStart / plainStart);
    frame.reset();
    DestroyWindow(window);
    ShutdownSkinManager();
    return 0;
}
