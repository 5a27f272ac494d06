// Shared by the skinned-frame tests: the default skin, windows of our own
// class, and the colours the skin's border images give at a window point, worked out from
// the bitmaps and the frame geometry (fixed corners and margins; stretched
// middles only ever show pixels of the same source column).
#pragma once

#include "framework/Bitmap.h"
#include "framework/Forms.h"
#include "framework/GdiObjects.h"
#include "skin/data/WinSkinData.h"
#include "skin/data/resources/SkinResources.h"
#include "skin/forms/SkinManager.h"
#include "skin/forms/SkinMessages.h"
#include "skin/forms/WinSkinForm.h"
#include "support/Input.h"
#include "support/ReadBack.h"
#include "support/Wait.h"

#include <windows.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <set>
#include <stdexcept>
#include <span>
#include <string>
#include <vector>

namespace frametest {

inline constexpr wchar_t kClassName[] = L"VidkilnFrameTest";
inline constexpr TColor kMagenta = 0xFF00FF;

inline std::unique_ptr<TSkinData> DefaultSkin()
{
    const std::span<const std::uint8_t> file = DefaultSkinFile();
    std::vector<std::uint8_t> stream;
    const auto size = static_cast<std::uint32_t>(file.size());
    for (int i = 0; i < 4; ++i)
        stream.push_back(static_cast<std::uint8_t>(size >> (8 * i)));
    stream.insert(stream.end(), file.begin(), file.end());
    auto skin = std::make_unique<TSkinData>(nullptr);
    skin->ReadSkinStream(stream);
    return skin;
}

using testsupport::Click;
using testsupport::Flush;
using testsupport::MouseInput;
using testsupport::ReadBack;
using testsupport::SendMouse;
using testsupport::Settle;
using testsupport::TPixels;
using testsupport::WaitUntil;

// Brings a window to the front and waits until it is there and what that
// set off (activation, the frame's repaint) has been handled.
inline void BringToFront(HWND window, testsupport::TDispatch dispatch = testsupport::DispatchPending)
{
    SetForegroundWindow(window);
    EXPECT_TRUE(WaitUntil([window] { return GetForegroundWindow() == window && testsupport::QueueIdle(); },
                          "the window to come to the front", testsupport::kDeadlineMs, dispatch));
}

// Until the skin manager has carried out its pending request, which its
// timer runs after the request's delay.
inline void WaitForSkinRequest()
{
    EXPECT_TRUE(WaitUntil([] { return !SkinManager->PendingSkinData(); }, "the skin manager to carry out its request"));
}

inline void RegisterTestClass(const wchar_t* className = kClassName, WNDPROC procedure = DefWindowProcW)
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = className;
    RegisterClassW(&windowClass);
}

// A frame attached the way the manager does, initialised and shown.
inline std::unique_ptr<TWinSkinForm> AttachFrame(HWND window, const wchar_t* className, TSkinData& skin)
{
    auto frame = std::make_unique<TWinSkinForm>(window, className, &skin);
    frame->AttachToWindow();
    PostMessageW(window, WM_SKININIT, 0, 1000);
    ShowWindow(window, SW_SHOW);
    return frame;
}

// A top-level window of our class with a client of the given size.
inline HWND MakeWindow(DWORD style, int clientWidth, int clientHeight, const wchar_t* caption = L"Frame")
{
    RECT rect{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&rect, style, FALSE, 0);
    return CreateWindowExW(0, kClassName, caption, style, 60, 40, rect.right - rect.left, rect.bottom - rect.top,
                           nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

inline SIZE WindowSize(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

inline SIZE ClientSize(HWND window)
{
    RECT rect{};
    GetClientRect(window, &rect);
    return {rect.right, rect.bottom};
}

// The windows of this thread, for counting USER objects around soak loops.
inline int ThreadWindowCount()
{
    int count = 0;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND, LPARAM counter) -> BOOL {
            ++*reinterpret_cast<int*>(counter);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

inline TColor PixelOf(const TBitmap& bitmap, int x, int y)
{
    return bitmap.Canvas().Pixels(x, y) & 0xFFFFFF;
}

inline TColor PixelOf(const TPixels& pixels, int x, int y)
{
    return pixels.At(x, y);
}

inline POINT Centre(const RECT& rect)
{
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// What one border image shows at a window point: the source pixel for
// points in the fixed margins, or the set of pixels a stretched middle can
// take (the source column's middle part).
struct TExpected {
    std::set<TColor> Colours;
    bool SeeThrough() const { return Colours.size() == 1 && *Colours.begin() == kMagenta; }
    bool Admits(TColor colour) const { return Colours.count(colour & 0xFFFFFF) != 0; }
};

// Where a caption button aligned to the window's left (0) or right (1) edge
// goes in a window of the given width, from the skin's own numbers.
inline RECT CaptionButtonRect(const TDataSkinSysButton& button, int windowWidth)
{
    const int width = button.Bitmap->Width() / std::max(1, button.FrameCount);
    const int x = button.Align == 1 ? windowWidth - button.XCoord : button.XCoord;
    return {x, button.YCoord, x + width, button.YCoord + button.Bitmap->Height()};
}

// The skin's caption button with this action and visibility code.
inline const TDataSkinSysButton& SkinButtonOf(const TSkinData& skin, int action, int visibility = -100)
{
    for (const auto& button : skin.CaptionButtons())
        if (button->Action == action && (visibility == -100 || button->Visibility == visibility))
            return *button;
    throw std::runtime_error("the skin has no such caption button");
}

// A caption button's rectangle in screen coordinates.
inline RECT ButtonOnScreen(HWND window, const TDataSkinSysButton& button)
{
    RECT outer{};
    GetWindowRect(window, &outer);
    RECT rect = CaptionButtonRect(button, outer.right - outer.left);
    OffsetRect(&rect, outer.left, outer.top);
    return rect;
}

// Every point a caption button with an image may cover in a window of that width.
inline bool UnderACaptionButton(const TSkinData& skin, int windowWidth, int x, int y)
{
    for (const auto& button : skin.CaptionButtons()) {
        if (button->Bitmap->Empty() || (button->Align != 0 && button->Align != 1))
            continue;
        const RECT rect = CaptionButtonRect(*button, windowWidth);
        if (PtInRect(&rect, {x, y}))
            return true;
    }
    return false;
}

class TFrameModel {
public:
    TFrameModel(const TSkinData& skin, int width, int height) : FSkin(skin), FWidth(width), FHeight(height)
    {
        Left = FrameWidth(*skin.Left());
        Right = FrameWidth(*skin.Right());
        Top = FrameHeight(*skin.Top());
        Bottom = FrameHeight(*skin.Bottom());
    }

    int Left, Right, Top, Bottom;

    // A point of the left or right border (full height), frame 1 or 2.
    TExpected Side(bool left, int x, int y, int frame) const
    {
        const TDataSkinBorder& border = left ? *FSkin.Left() : *FSkin.Right();
        const int fw = border.Bitmap->Width() / border.FrameCount;
        const int fh = border.Bitmap->Height();
        const int fx = (frame - 1) * fw + (left ? x : x - (FWidth - Right));
        return Along(*border.Bitmap, fx, y, FHeight, fh, border.TopHeight, border.BottomHeight, true);
    }

    // A point of the caption strip's Top piece or of the bottom border.
    TExpected Band(bool top, int x, int y, int frame) const
    {
        const TDataSkinBorder& border = top ? *FSkin.Top() : *FSkin.Bottom();
        const int fh = border.Bitmap->Height() / border.FrameCount;
        const int fw = border.Bitmap->Width();
        const int row = (frame - 1) * fh + (top ? y : y - (FHeight - Bottom));
        const int pieceWidth = FWidth - Left - Right;
        return Along(*border.Bitmap, row, x - Left, pieceWidth, fw, border.LeftWidth, border.RightWidth, false);
    }

private:
    static int FrameWidth(const TDataSkinBorder& border) { return border.Bitmap->Width() / border.FrameCount; }
    static int FrameHeight(const TDataSkinBorder& border) { return border.Bitmap->Height() / border.FrameCount; }

    // Position p along a piece of length target drawn from a source of
    // length source with fixed ends start and end; across is the fixed
    // coordinate (column for vertical pieces, row for horizontal ones).
    static TExpected Along(const TBitmap& bitmap, int across, int p, int target, int source, int start, int end,
                           bool vertical)
    {
        const auto at = [&](int along) {
            return vertical ? PixelOf(bitmap, across, along) : PixelOf(bitmap, along, across);
        };
        TExpected expected;
        if (p < start)
            expected.Colours.insert(at(p));
        else if (p >= target - end)
            expected.Colours.insert(at(source - (target - p)));
        else
            for (int s = start; s < source - end; ++s)
                expected.Colours.insert(at(s));
        return expected;
    }

    const TSkinData& FSkin;
    int FWidth;
    int FHeight;
};

} // namespace frametest
