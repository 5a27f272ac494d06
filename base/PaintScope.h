// BeginPaint and EndPaint as one owner: the window's update region is
// validated and its caret shown again on every path out of a WM_PAINT
// handler, an exception included.
#pragma once

#include <windows.h>

#include <optional>

class TPaintScope {
public:
    explicit TPaintScope(HWND Window) noexcept : FWindow(Window), FDC(BeginPaint(Window, &FPaint)) {}
    // Also after a failed BeginPaint: it may have hidden the caret already.
    ~TPaintScope() { EndPaint(FWindow, &FPaint); }
    TPaintScope(const TPaintScope&) = delete;
    TPaintScope& operator=(const TPaintScope&) = delete;

    // nullptr when BeginPaint failed; nothing is to be drawn then.
    HDC DC() const noexcept { return FDC; }
    const RECT& Area() const noexcept { return FPaint.rcPaint; }

private:
    HWND FWindow;
    PAINTSTRUCT FPaint{};
    HDC FDC;
};

// For windows of our own that draw every pixel of themselves: the
// background needs no erasing (the drawing covers it) and WM_PAINT draws
// through Draw(dc). The answer when Msg was one of the two, else nothing.
template <class TDraw>
std::optional<LRESULT> AnswerSelfPaint(HWND Window, UINT Msg, TDraw&& Draw)
{
    if (Msg == WM_ERASEBKGND)
        return 1;
    if (Msg != WM_PAINT)
        return std::nullopt;
    const TPaintScope Paint(Window);
    if (Paint.DC())
        Draw(Paint.DC());
    return 0;
}
