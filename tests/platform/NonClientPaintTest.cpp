// The skin engine paints every window frame itself. These tests prove that
// the test display shows what a window paints into its non-client area and
// that the pixels can be read back from the window DC.
#include "support/ReadBack.h"
#include "support/Wait.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

constexpr COLORREF kFrameColour = RGB(12, 200, 34);
constexpr wchar_t kClassName[] = L"VidkilnNonClientTest";

struct Subclass {
    WNDPROC previous = nullptr;
    bool paintFrame = true;
    int ncPaints = 0;
};
Subclass gSubclass;

LRESULT CALLBACK FramePaintingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCPAINT)
        ++gSubclass.ncPaints;
    if (message == WM_NCPAINT && gSubclass.paintFrame) {
        HDC dc = GetWindowDC(window);
        RECT rect;
        GetWindowRect(window, &rect);
        OffsetRect(&rect, -rect.left, -rect.top);
        HBRUSH brush = CreateSolidBrush(kFrameColour);
        FillRect(dc, &rect, brush);
        DeleteObject(brush);
        ReleaseDC(window, dc);
        return 0;
    }
    if (message == WM_NCACTIVATE && gSubclass.paintFrame) {
        // Let the default handler keep its state but not draw the caption.
        return DefWindowProcW(window, message, wParam, -1);
    }
    return CallWindowProcW(gSubclass.previous, window, message, wParam, lParam);
}

class NonClientPaint : public ::testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        windowClass.lpszClassName = kClassName;
        RegisterClassW(&windowClass);
        window = CreateWindowExW(0, kClassName, L"帧", WS_OVERLAPPEDWINDOW, 40, 40, 300, 200,
                                 nullptr, nullptr, windowClass.hInstance, nullptr);
        ASSERT_NE(window, nullptr);
    }

    void TearDown() override
    {
        DestroyWindow(window);
        UnregisterClassW(kClassName, GetModuleHandleW(nullptr));
    }

    // Shows the window and handles what the showing queued. The frame is
    // painted before RedrawWindow returns (RDW_UPDATENOW sends WM_NCPAINT),
    // so no waiting is needed: the count proves the paint happened.
    void ShowAndSettle()
    {
        gSubclass.previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
            window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FramePaintingProc)));
        ShowWindow(window, SW_SHOW);
        SetWindowPos(window, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
        testsupport::DispatchPending();
        gSubclass.ncPaints = 0;
        RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
        ASSERT_GT(gSubclass.ncPaints, 0) << "the frame was not painted";
        GdiFlush();
    }

    // The window as it is on the display, frame included.
    COLORREF ScreenPixel(int x, int y) const { return testsupport::ReadBack(window).At(x, y); }

    HWND window = nullptr;
};

struct FramePoint {
    const char* where;
    int x;
    int y;
};

TEST_F(NonClientPaint, SubclassedNcPaintColoursCaptionAndBorders)
{
    gSubclass.paintFrame = true;
    ShowAndSettle();
    RECT windowRect;
    RECT clientRect;
    GetWindowRect(window, &windowRect);
    GetClientRect(window, &clientRect);
    POINT clientOrigin{0, 0};
    ClientToScreen(window, &clientOrigin);
    const int width = windowRect.right - windowRect.left;
    const int height = windowRect.bottom - windowRect.top;
    const int captionBottom = clientOrigin.y - windowRect.top;
    ASSERT_GT(captionBottom, 10) << "the window has no caption to paint";

    const FramePoint points[] = {
        {"caption middle", width / 2, captionBottom / 2},
        {"top-left corner", 0, 0},
        {"left border", 1, height / 2},
        {"right border", width - 2, height / 2},
        {"bottom border", width / 2, height - 2},
    };
    for (const FramePoint& point : points)
        EXPECT_EQ(ScreenPixel(point.x, point.y), kFrameColour) << point.where;
}

TEST_F(NonClientPaint, CaptionKeepsSystemColoursWithoutTheSubclassPainting)
{
    gSubclass.paintFrame = false;
    ShowAndSettle();
    EXPECT_NE(ScreenPixel(150, 5), kFrameColour);
}

} // namespace
