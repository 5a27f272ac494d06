// The hint shown over a skinned caption button: a small tooltip-like popup
// that never takes the focus and paints its text on the system's info
// colours. The skin data owns one; its window is made on first show.
#pragma once

#include <windows.h>

#include <string>

class TCaptionHintWindow {
public:
    // Width limit and padding scale with the skin's density.
    explicit TCaptionHintWindow(int pixelsPerInch);
    TCaptionHintWindow(const TCaptionHintWindow&) = delete;
    TCaptionHintWindow& operator=(const TCaptionHintWindow&) = delete;
    ~TCaptionHintWindow();

    bool Shown() const noexcept { return FShown; }
    // At the top-left of rect, sized to the text (wrapped at the width limit).
    void Show(const RECT& rect, const std::wstring& text);
    void Hide();

private:
    bool Create();
    void Paint(HWND window) noexcept;
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    const int FMaxWidth;
    const int FPadding;
    HWND FWindow = nullptr;
    std::wstring FText;
    bool FShown = false;
};
