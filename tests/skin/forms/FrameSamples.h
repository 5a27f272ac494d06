// Sample points of a skinned frame and what the skin's border images say
// each shows there, for the tests that read a frame back.
#pragma once

#include "FrameFixture.h"

#include <gtest/gtest.h>

#include <vector>

namespace frametest {

struct TSample {
    const char* Where;
    int X;
    int Y;
    TExpected Expected;
};

// Points in every border: fixed corners and margins, stretched middles.
inline std::vector<TSample> FrameSamples(const TSkinData& skin, HWND window, int frame)
{
    const SIZE size = WindowSize(window);
    const int w = size.cx;
    const int h = size.cy;
    const TFrameModel model(skin, w, h);
    std::vector<TSample> samples;
    for (int x = 0; x < model.Left; ++x)
        for (int y : {0, 2, 5, model.Top - 1, h / 2, h - model.Bottom, h - 1})
            samples.push_back({"left border", x, y, model.Side(true, x, y, frame)});
    for (int x = w - model.Right; x < w; ++x)
        for (int y : {0, 3, 17, model.Top - 1, h / 2, h - 2})
            samples.push_back({"right border", x, y, model.Side(false, x, y, frame)});
    for (int y = 0; y < model.Top; y += 3) {
        // The icon and the caption text stay left of these points; the
        // caption buttons have tests of their own.
        for (int x : {model.Left, model.Left + 2, w - 40, w - model.Right - 6, w - model.Right - 1})
            if (!UnderACaptionButton(skin, w, x, y))
                samples.push_back({"caption strip", x, y, model.Band(true, x, y, frame)});
    }
    for (int y = h - model.Bottom; y < h; ++y)
        for (int x : {model.Left, model.Left + 1, w / 2, w - model.Right - 1})
            samples.push_back({"bottom border", x, y, model.Band(false, x, y, frame)});
    return samples;
}

// Every opaque sample point shows what the skin says (reported as test
// failures, the first five, unless a wait only polls); returns the count of
// misses.
inline int BorderMisses(const TSkinData& skin, HWND window, int frame, bool report = true)
{
    const TPixels shot = ReadBack(window);
    int misses = 0;
    for (const TSample& sample : FrameSamples(skin, window, frame)) {
        if (sample.Expected.SeeThrough())
            continue;
        const TColor seen = PixelOf(shot, sample.X, sample.Y);
        if (!sample.Expected.Admits(seen)) {
            if (++misses <= 5 && report)
                ADD_FAILURE() << sample.Where << " at (" << sample.X << ", " << sample.Y << ") is " << std::hex
                              << seen << ", frame " << frame;
        }
    }
    return misses;
}

} // namespace frametest
