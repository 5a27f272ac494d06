#include "CaptionHint.h"

#include "base/PaintScope.h"
#include "base/WindowObject.h"
#include "framework/GdiObjects.h"
#include "skin/data/DpiScale.h"

#include <algorithm>

namespace {

constexpr wchar_t kHintClass[] = L"VidkilnCaptionHint";
// At 96 pixels per inch; the hint scales them with the skin's density.
constexpr int kHintMaxWidth = 500;
constexpr int kHintPadding = 3;
// Long words break too, so no hint grows past its maximum width.
constexpr UINT kHintFormat = DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX;

HFONT HintFont()
{
    static gdi::Font font = [] {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof(metrics);
        if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
            return gdi::Font();
        return gdi::Font(CreateFontIndirectW(&metrics.lfStatusFont));
    }();
    return font ? font.Get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

} // namespace

TCaptionHintWindow::TCaptionHintWindow(int pixelsPerInch)
    : FMaxWidth(imgcore::ScaleForDpi(kHintMaxWidth, pixelsPerInch)),
      FPadding(imgcore::ScaleForDpi(kHintPadding, pixelsPerInch))
{
}

TCaptionHintWindow::~TCaptionHintWindow()
{
    if (FWindow)
        DestroyWindow(FWindow);
}

void TCaptionHintWindow::Show(const RECT& rect, const std::wstring& text)
{
    if (!Create())
        return;
    FText = text;
    RECT bounds{0, 0, FMaxWidth, 0};
    {
        gdi::ClientDC dc(FWindow);
        gdi::Selection font(dc.Get(), HintFont());
        DrawTextW(dc.Get(), FText.c_str(), static_cast<int>(FText.size()), &bounds, DT_CALCRECT | kHintFormat);
    }
    const int width = std::min<int>(bounds.right, FMaxWidth) + 2 * FPadding + 2;
    const int height = bounds.bottom + 2 * FPadding;
    SetWindowPos(FWindow, HWND_TOPMOST, rect.left, rect.top, width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    InvalidateRect(FWindow, nullptr, TRUE);
    FShown = true;
}

void TCaptionHintWindow::Hide()
{
    if (FWindow)
        ShowWindow(FWindow, SW_HIDE);
    FShown = false;
}

bool TCaptionHintWindow::Create()
{
    if (FWindow)
        return true;
    static const ATOM atom = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.style = CS_SAVEBITS;
        windowClass.lpfnWndProc = WindowProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
        windowClass.lpszClassName = kHintClass;
        return RegisterClassExW(&windowClass);
    }();
    if (!atom)
        return false;
    FWindow = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, kHintClass, L"",
                              WS_POPUP | WS_BORDER, 0, 0, 0, 0, nullptr, nullptr, GetModuleHandleW(nullptr), this);
    return FWindow != nullptr;
}

void TCaptionHintWindow::Paint(HWND window) noexcept
{
    const TPaintScope paint(window);
    HDC dc = paint.DC();
    if (!dc)
        return;
    RECT client;
    GetClientRect(window, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_INFOBK));
    InflateRect(&client, -FPadding, -FPadding);
    gdi::Selection font(dc, HintFont());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
    DrawTextW(dc, FText.c_str(), static_cast<int>(FText.size()), &client, kHintFormat);
}

LRESULT CALLBACK TCaptionHintWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = WindowObject<TCaptionHintWindow>(window, message, lParam);
    if (message == WM_PAINT && self) {
        self->Paint(window);
        return 0;
    }
    if (message == WM_NCDESTROY && self)
        self->FWindow = nullptr;
    if (message == WM_MOUSEACTIVATE)
        return MA_NOACTIVATE;
    return DefWindowProcW(window, message, wParam, lParam);
}
