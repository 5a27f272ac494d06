#include "support/ReadBack.h"

#include "framework/GdiObjects.h"

#include <cstdint>

namespace testsupport {

namespace {

// Copies width x height pixels at (x, y) of a device context through a
// 32-bit top-down DIB, whose bits read directly.
TPixels Copy(HDC source, int x, int y, int width, int height)
{
    TPixels pixels(width, height);
    if (pixels.Empty() || !source)
        return pixels;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const gdi::MemoryDC memory(source);
    const gdi::Bitmap section(CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!memory || !section)
        return pixels;
    {
        const gdi::Selection selected(memory.Get(), section.Get());
        BitBlt(memory.Get(), 0, 0, width, height, source, x, y, SRCCOPY);
    }
    GdiFlush();
    const auto* bgrx = static_cast<const std::uint32_t*>(bits);
    for (int py = 0; py < height; ++py)
        for (int px = 0; px < width; ++px) {
            const std::uint32_t colour = bgrx[static_cast<std::size_t>(py) * width + px];
            pixels.Set(px, py, RGB((colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF));
        }
    return pixels;
}

} // namespace

TPixels ReadBack(HWND window, TArea area)
{
    RECT rect{};
    if (area == TArea::Window) {
        GetWindowRect(window, &rect);
        const gdi::WindowDC dc(window);
        return Copy(dc.Get(), 0, 0, rect.right - rect.left, rect.bottom - rect.top);
    }
    GetClientRect(window, &rect);
    const gdi::ClientDC dc(window);
    return Copy(dc.Get(), 0, 0, rect.right, rect.bottom);
}

TPixels ReadScreen(const RECT& rect)
{
    const gdi::ClientDC dc(nullptr);
    return Copy(dc.Get(), rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

} // namespace testsupport
