// What is on the display, read back into a pixel buffer: a whole window with
// its frame, its client area, or a part of the screen. Tests compare these
// pixels with what the skin's bitmaps and the geometry say.
#pragma once

#include <windows.h>

#include <vector>

namespace testsupport {

// Pixels as GDI gives colours (0x00BBGGRR, as COLORREF and TColor).
class TPixels {
public:
    TPixels() = default;
    TPixels(int width, int height) : FWidth(width), FHeight(height), FColours(Count(width, height)) {}

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    bool Empty() const { return FColours.empty(); }
    // Outside the buffer reads as CLR_INVALID, which no pixel has.
    COLORREF At(int x, int y) const
    {
        if (x < 0 || y < 0 || x >= FWidth || y >= FHeight)
            return CLR_INVALID;
        return FColours[static_cast<std::size_t>(y) * FWidth + x];
    }
    void Set(int x, int y, COLORREF colour) { FColours[static_cast<std::size_t>(y) * FWidth + x] = colour; }

private:
    static std::size_t Count(int width, int height)
    {
        return width > 0 && height > 0 ? static_cast<std::size_t>(width) * height : 0;
    }

    int FWidth = 0;
    int FHeight = 0;
    std::vector<COLORREF> FColours;
};

enum class TArea {
    Window, // the whole window, frame included, from its top-left corner
    Client, // the client area, from its origin
};

TPixels ReadBack(HWND window, TArea area = TArea::Window);

// A rectangle of the screen, in screen coordinates.
TPixels ReadScreen(const RECT& rect);

} // namespace testsupport
