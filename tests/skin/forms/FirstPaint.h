// Shared by the frame and menu benchmarks: microseconds from creating a
// window with the main window's client size to its first paint done
// (skinned: the frame attached, initialised and painted), the median of
// nine starts.
#pragma once

#include "skin/data/BenchTiming.h"
#include "skin/forms/FrameFixture.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

namespace frametest {

// makeMenu gives each new window its menu bar, or none.
inline double StartToFirstPaint(TSkinData* skin, const std::function<HMENU()>& makeMenu = {})
{
    std::vector<double> runs;
    for (int run = 0; run < 9; ++run) {
        const double start = benchtiming::Now();
        HWND window = MakeWindow(WS_OVERLAPPEDWINDOW, 558, 314, L"Vidkiln");
        if (makeMenu)
            SetMenu(window, makeMenu());
        std::unique_ptr<TWinSkinForm> frame;
        if (skin) {
            frame = std::make_unique<TWinSkinForm>(window, kClassName, skin);
            frame->AttachToWindow();
            PostMessageW(window, WM_SKININIT, 0, 1000);
        }
        ShowWindow(window, SW_SHOW);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        UpdateWindow(window);
        GdiFlush();
        runs.push_back((benchtiming::Now() - start) * 1e6);
        frame.reset();
        DestroyWindow(window);
    }
    std::sort(runs.begin(), runs.end());
    return runs[runs.size() / 2];
}

} // namespace frametest
