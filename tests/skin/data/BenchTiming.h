// Timing for the drawing benchmarks: a high-resolution clock and the median
// of several batches, with GDI's queue flushed inside each batch so that
// batched drawing is counted where it happens. Windows only.
#pragma once

#include <windows.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace benchtiming {

inline double Now()
{
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Median microseconds per call over several batches.
inline double Measure(const std::function<void()>& work, int perBatch)
{
    std::vector<double> batches;
    for (int batch = 0; batch < 9; ++batch) {
        const double start = Now();
        for (int i = 0; i < perBatch; ++i)
            work();
        GdiFlush();
        batches.push_back((Now() - start) * 1e6 / perBatch);
    }
    std::sort(batches.begin(), batches.end());
    return batches[batches.size() / 2];
}

} // namespace benchtiming
