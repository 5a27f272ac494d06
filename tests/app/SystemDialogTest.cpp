// Chinese text in the system's own message box, read back from the screen:
// it is drawn (not blank), and its glyphs differ from text to text, as they
// would not if every character came out as the same missing-glyph box.
#include "framework/GdiObjects.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kBoxTitle[] = L"Vidkiln 读回";

// The text of one message box as ink (dark pixels), row by row.
struct TTextShot {
    int Width = 0;
    int Height = 0;
    std::vector<bool> Ink;
    int InkCount() const { return static_cast<int>(std::count(Ink.begin(), Ink.end(), true)); }
};

TTextShot GShot;

HWND TextControl(HWND Box)
{
    HWND found = nullptr;
    for (HWND child = GetWindow(Box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t className[32] = {};
        GetClassNameW(child, className, 32);
        // The icon is a static control too, one without text.
        if (lstrcmpiW(className, L"Static") == 0 && GetWindowTextLengthW(child) > 0)
            found = child;
    }
    return found;
}

TTextShot ReadText(HWND Control)
{
    RECT client;
    GetClientRect(Control, &client);
    TTextShot shot;
    shot.Width = client.right;
    shot.Height = client.bottom;
    const gdi::ClientDC windowDc(Control);
    const gdi::MemoryDC memoryDc(windowDc.Get());
    const gdi::Bitmap bitmap(CreateCompatibleBitmap(windowDc.Get(), shot.Width, shot.Height));
    {
        const gdi::Selection selected(memoryDc.Get(), bitmap.Get());
        BitBlt(memoryDc.Get(), 0, 0, shot.Width, shot.Height, windowDc.Get(), 0, 0, SRCCOPY);
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = shot.Width;
    info.bmiHeader.biHeight = -shot.Height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> pixels(static_cast<std::size_t>(shot.Width) * static_cast<std::size_t>(shot.Height));
    GetDIBits(memoryDc.Get(), bitmap.Get(), 0, static_cast<UINT>(shot.Height), pixels.data(), &info,
              DIB_RGB_COLORS);
    for (const DWORD pixel : pixels) {
        const int luminance = ((pixel >> 16 & 0xFF) * 299 + (pixel >> 8 & 0xFF) * 587 + (pixel & 0xFF) * 114) / 1000;
        shot.Ink.push_back(luminance < 96);
    }
    return shot;
}

void CALLBACK ReadAndClose(HWND, UINT, UINT_PTR Timer, DWORD)
{
    const HWND box = FindWindowW(L"#32770", kBoxTitle);
    const HWND text = box ? TextControl(box) : nullptr;
    if (!text || !IsWindowVisible(box))
        return;
    KillTimer(nullptr, Timer);
    UpdateWindow(box);
    GShot = ReadText(text);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
}

TTextShot ShowAndRead(const std::wstring& Text)
{
    GShot = {};
    const UINT_PTR timer = SetTimer(nullptr, 0, 200, &ReadAndClose);
    MessageBoxW(nullptr, Text.c_str(), kBoxTitle, MB_OK);
    KillTimer(nullptr, timer);
    return GShot;
}

TEST(SystemDialogs, MessageBoxDrawsChineseText)
{
    const TTextShot done = ShowAndRead(L"转换完成了");
    const TTextShot choose = ShowAndRead(L"请选择目录");
    const TTextShot doneAgain = ShowAndRead(L"转换完成了");
    ASSERT_GT(done.Width, 0);
    ASSERT_EQ(done.Width, doneAgain.Width);
    EXPECT_GT(done.InkCount(), 5 * 20) << "five characters, each of a good many strokes";
    EXPECT_GT(choose.InkCount(), 5 * 20);
    EXPECT_EQ(done.Ink, doneAgain.Ink) << "the same text is drawn the same";
    // Missing glyphs would be the same box for every character.
    ASSERT_EQ(done.Width, choose.Width);
    ASSERT_EQ(done.Height, choose.Height);
    int differing = 0;
    for (std::size_t i = 0; i < done.Ink.size(); ++i)
        differing += done.Ink[i] != choose.Ink[i];
    EXPECT_GT(differing, done.InkCount() / 4);
}

} // namespace
