// Cost of the skinned frame of a window with the main window's client size
// (558 x 314) under the default skin, each against a plain BitBlt of a
// bitmap the window's size onto the same window DC in the same run: a whole
// PaintFrame (the painted pieces are kept between paints), on screen and off
// screen, a resize with its region rebuild against the same resize of an
// unskinned window, and a window's start to its first paint with and
// without the skinned frame.
#include "skin/forms/FirstPaint.h"
#include "skin/data/BenchTiming.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace frametest;

namespace {

using benchtiming::Measure;
using benchtiming::Now;

} // namespace

int main()
{
    RegisterTestClass();
    const std::unique_ptr<TSkinData> skin = DefaultSkin();
    HWND window = MakeWindow(WS_OVERLAPPEDWINDOW, 558, 314, L"Vidkiln");
    HWND plain = MakeWindow(WS_OVERLAPPEDWINDOW, 558, 314, L"Vidkiln");
    TWinSkinForm frame(window, kClassName, skin.get());
    frame.AttachToWindow();
    PostMessageW(window, WM_SKININIT, 0, 1000);
    ShowWindow(window, SW_SHOW);
    ShowWindow(plain, SW_SHOW);
    Flush();

    const SIZE size = WindowSize(window);
    TBitmap image(size.cx, size.cy, pf24bit);
    const gdi::WindowDC dc(window);

    const double blit = Measure([&] {
        BitBlt(dc.Get(), 0, 0, size.cx, size.cy, image.Canvas().Handle(), 0, 0, SRCCOPY);
    }, 200);
    const double paint = Measure([&] { frame.PaintFrame(dc.Get()); }, 200);
    // The same off screen: into a bitmap the window's size.
    TBitmap offscreen(size.cx, size.cy, pf24bit);
    const double memoryBlit = Measure([&] {
        BitBlt(offscreen.Canvas().Handle(), 0, 0, size.cx, size.cy, image.Canvas().Handle(), 0, 0, SRCCOPY);
    }, 200);
    const double memoryPaint = Measure([&] { frame.PaintFrame(offscreen.Canvas().Handle()); }, 200);
    int step = 0;
    const auto resize = [&](HWND target) {
        ++step;
        SetWindowPos(target, nullptr, 0, 0, size.cx + step % 2 * 40, size.cy + step % 2 * 30,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    };
    const double plainResize = Measure([&] { resize(plain); }, 20);
    const double plainStart = StartToFirstPaint(nullptr);
    const double skinnedStart = StartToFirstPaint(skin.get());
    const double skinnedResize = Measure([&] { resize(window); }, 20);

    std::printf("%-40s %8.1f us\n", "BitBlt of the window's size", blit);
    std::printf("%-40s %8.1f us  ratio %.1f\n", "skinned PaintFrame", paint, paint / blit);
    std::printf("%-40s %8.1f us\n", "BitBlt of the window's size, off screen", memoryBlit);
    std::printf("%-40s %8.1f us  ratio %.1f\n", "skinned PaintFrame, off screen", memoryPaint,
                memoryPaint / memoryBlit);
    std::printf("%-40s %8.1f us\n", "resize, system frame", plainResize);
    std::printf("%-40s %8.1f us  ratio %.1f\n", "resize with region rebuild", skinnedResize,
                skinnedResize / plainResize);
    std::printf("%-40s %8.1f us\n", "start to first paint, system frame", plainStart);
    std::printf("%-40s %8.1f us  ratio %.1f\n", "start to first skinned paint", skinnedStart,
                skinnedStart / plainStart);
    DestroyWindow(plain);
    frame.Release();
    DestroyWindow(window);
    return 0;
}
