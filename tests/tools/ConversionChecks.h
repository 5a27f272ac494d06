// Checks shared by the tests that convert real clips through ffmpeg.exe: the
// result's streams against the settings, and the progress lines of the run.
#pragma once

#include "ToolCommands.h"
#include "ToolRunner.h"

#include <functional>
#include <string>
#include <vector>

namespace vidkiln::tools::test {

// The front-end's start settings: 1200 kbps, 5 fps, 176x220, 4:3.
inline const TEncoderSettings kStartSettings = {{2, L"1200"}, {1, L"5.0"}, {2, L"176x220"}, {1, L"4:3"}};

// How far durations and progress may be off, in seconds.
inline constexpr double kTolerance = 0.5;

// "25/1" or "5.000" as a number.
double Number(const std::string& text);

// Whether a line carries one of the tools' markers, in any case.
bool HasMarker(std::string line);

// The lines one to a line, for failure messages.
std::string Joined(const std::vector<std::string>& lines);

// The progress positions of the run; every other line must carry no marker.
std::vector<double> ProgressOf(const TToolResult& run);

// A 60 s clip converted with the start settings over an older result
// ("older good result" in <folder>\long.mp4), stopped the way the front-end
// stops it: TerminateProcess at the first progress line. `atStop` runs just
// before the stop, while the engine works.
struct TStoppedRun {
    std::wstring Output;
    bool Stopped = false;
    TToolResult Run;
};
TStoppedRun StopAtFirstProgress(const std::wstring& appPath, const std::wstring& folder,
                                const std::function<void()>& atStop = {});

struct TExpected {
    std::string Size;    // "176x220"
    double Rate;
    std::string Aspect;  // empty: not forced
};

// Converts through the front-end's exact command line with the tools of
// `appPath` (a folder ending in '\') and checks the result: streams, size,
// rate, aspect, duration (the pictures' within one frame of the source's),
// no part file, and progress rising to the end.
void ConvertAndCheck(const std::wstring& appPath, const std::wstring& source,
                     const std::wstring& outFolder, const TEncoderSettings& settings,
                     const TExpected& expected);

}  // namespace vidkiln::tools::test
