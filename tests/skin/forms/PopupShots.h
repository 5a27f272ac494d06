// Shared by the menu tests: an open popup menu read back from a timer as it
// opened and with its first item selected, and what such shots must show
// when the popup and its items are painted from the skin; a popup closed as
// soon as it shows, and the object counts around many rounds.
#pragma once

#include "FrameFixture.h"
#include "skin/data/GdiCount.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <set>

namespace frametest {

// The open popup menu read back twice: as it opened, and with its first
// item selected.
struct TPopupShots {
    int Stage = 0;
    RECT Window{};
    RECT FirstItem{};
    RECT Separator{};
    int SeparatorIndex = -1; // -1: the item without a command
    TPixels Opened;
    TPixels Selected;
};
inline TPopupShots* Shots = nullptr;

inline void CALLBACK ShootOpenMenu(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND popup = FindWindowW(L"#32768", nullptr);
    if (!popup || !IsWindowVisible(popup))
        return;
    if (Shots->Stage == 0) {
        GetWindowRect(popup, &Shots->Window);
        HMENU menu = reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0));
        GetMenuItemRect(nullptr, menu, 0, &Shots->FirstItem);
        for (int i = 0; i < GetMenuItemCount(menu); ++i)
            if (Shots->SeparatorIndex < 0 ? GetMenuItemID(menu, i) == 0 : i == Shots->SeparatorIndex)
                GetMenuItemRect(nullptr, menu, static_cast<UINT>(i), &Shots->Separator);
        Shots->Opened = ReadBack(popup);
        PostMessageW(popup, WM_KEYDOWN, VK_DOWN, 0);
        ++Shots->Stage;
        return;
    }
    KillTimer(nullptr, timer);
    Shots->Selected = ReadBack(popup);
    EndMenu();
}

// The popup read back shows the skin: its corners are the menu
// background's, its selected first item the item image's selected frame, its
// separator the item image's strip, and no pixel is in the system's menu colours.
inline void ExpectSkinnedPopup(const TPopupShots& shots, const TSkinData& skin)
{
    // The edge shows the fixed corners of the skin's menu background.
    const TDataSkinObject& back = *skin.MenuBackground();
    const int width = shots.Opened.Width();
    const int height = shots.Opened.Height();
    const int bw = back.Bitmap->Width();
    const int bh = back.Bitmap->Height();
    int misses = 0;
    for (int y = 0; y < back.TopHeight; ++y)
        for (int x = 0; x < back.LeftWidth; ++x) {
            misses += PixelOf(shots.Opened, x, y) != PixelOf(*back.Bitmap, x, y);
            misses += PixelOf(shots.Opened, width - 1 - x, height - 1 - y)
                      != PixelOf(*back.Bitmap, bw - 1 - x, bh - 1 - y);
        }
    EXPECT_EQ(misses, 0) << "popup corners";

    // The selected first item shows the skin's selected item frame at its
    // fixed corner (the glyph and text start further in).
    const TDataSkinObject& item = *skin.MenuItem();
    const int frameWidth = item.Bitmap->Width() / item.FrameCount;
    const int itemX = shots.FirstItem.left - shots.Window.left;
    const int itemY = shots.FirstItem.top - shots.Window.top;
    misses = 0;
    int compared = 0;
    for (int y = 0; y < item.TopHeight; ++y)
        for (int x = 0; x < item.LeftWidth; ++x) {
            const TColor expected = PixelOf(*item.Bitmap, 3 * frameWidth + x, y);
            if (expected == kMagenta)
                continue;
            ++compared;
            misses += PixelOf(shots.Selected, itemX + x, itemY + y) != expected;
        }
    EXPECT_GT(compared, 0);
    EXPECT_EQ(misses, 0) << "selected item corner";

    // The separator is the bottom of the item image's second frame, its
    // left margin as it is.
    const int separatorHeight = shots.Separator.bottom - shots.Separator.top;
    ASSERT_GT(separatorHeight, 0);
    ASSERT_LE(separatorHeight, item.Bitmap->Height());
    misses = 0;
    compared = 0;
    for (int y = 0; y < separatorHeight; ++y)
        for (int x = 0; x < item.LeftWidth; ++x) {
            const TColor expected = PixelOf(*item.Bitmap, frameWidth + x, item.Bitmap->Height() - separatorHeight + y);
            if (expected == kMagenta)
                continue;
            ++compared;
            misses += PixelOf(shots.Opened, shots.Separator.left - shots.Window.left + x,
                              shots.Separator.top - shots.Window.top + y)
                      != expected;
        }
    EXPECT_GT(compared, 0) << "the skin's separator has no line in its left margin";
    EXPECT_EQ(misses, 0) << "separator";

    // Not one pixel in the system's menu colours, unless the skin has them too.
    std::set<TColor> skinColours;
    for (const TBitmap* bitmap : {back.Bitmap.get(), item.Bitmap.get()})
        for (int y = 0; y < bitmap->Height(); ++y)
            for (int x = 0; x < bitmap->Width(); ++x)
                skinColours.insert(PixelOf(*bitmap, x, y));
    for (int slot : {scMenu, scMenuText, scHilight, scHilightText, scButtonShadow})
        skinColours.insert(ColorToRGB(skin.SkinColor(static_cast<TSkinColourSlot>(slot))) & 0xFFFFFF);
    int systemPixels = 0;
    for (int index : {COLOR_MENU, COLOR_MENUHILIGHT, COLOR_HIGHLIGHT}) {
        const TColor colour = GetSysColor(index) & 0xFFFFFF;
        if (skinColours.count(colour))
            continue;
        for (const TPixels* shot : {&shots.Opened, &shots.Selected})
            for (int y = 0; y < shot->Height(); ++y)
                for (int x = 0; x < shot->Width(); ++x)
                    systemPixels += PixelOf(*shot, x, y) == colour;
    }
    EXPECT_EQ(systemPixels, 0);
}

// Closes the popup menu as soon as it shows (a thread timer's callback).
inline void CALLBACK CloseOpenMenu(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND popup = FindWindowW(L"#32768", nullptr);
    if (!popup || !IsWindowVisible(popup))
        return;
    KillTimer(nullptr, timer);
    EndMenu();
}

// One round to warm up, then the given number: GDI objects and windows stay
// where they were.
inline void ExpectNoGrowth(int rounds, const std::function<void()>& round)
{
    const gditest::TCounter counter = gditest::ChooseCounter();
    std::printf("counting GDI objects with: %s\n", counter.Source);
    round();
    Flush();
    const long gdiBefore = counter.Count();
    const int windowsBefore = ThreadWindowCount();
    for (int i = 0; i < rounds; ++i)
        round();
    Flush();
    EXPECT_EQ(counter.Count(), gdiBefore);
    EXPECT_EQ(ThreadWindowCount(), windowsBefore);
}

} // namespace frametest
