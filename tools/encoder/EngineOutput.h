// What the engine sends back and what the tools print: the key=value progress
// reports of `-progress`, ffprobe's duration, the watchdog's exit trailer, and
// the two marker lines the front-end reads. Portable.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vidkiln::tools {

// One report of the engine: where its output has got to, and whether it was
// the last one (progress=end, written only after the file was finished).
struct TProgressReport {
    double Seconds = 0;
    bool End = false;
};

// Reads the progress stream in whatever pieces the socket delivers.
class TProgressParser {
public:
    // Returns the reports completed by these bytes, in order.
    std::vector<TProgressReport> Feed(std::string_view bytes);
    bool Ended() const { return FEnded; }

private:
    void TakeLine(std::string_view line, std::vector<TProgressReport>& reports);

    std::string FPending;
    std::optional<double> FSeconds;
    double FLastSeconds = 0;
    bool FEnded = false;
};

// "ffmpeg_release_time=12.34=ffmpeg_release_time": seconds with two decimals.
std::string ProgressLine(double seconds);

// "ID_LENGTH=12.34".
std::string LengthLine(double seconds);

// ffprobe's "duration=<seconds>" line; nothing for N/A, a negative or a
// malformed number.
std::optional<double> ParseProbeDuration(std::string_view output);

// Any text the tools print besides their marker lines goes through here, so
// a file or error text can never be taken for a progress or length line.
std::string DefuseMarkers(std::string_view text);

// The last `count` non-empty lines of the text, CR and LF both ending lines.
std::vector<std::string> LastLines(std::string_view text, size_t count);

// The stream of the watchdog that runs a Linux engine under Wine: the
// engine's own output, then, once the engine has ended, one line
// "\n<trailer><code>\n". The trailer carries a token of the run, so no text
// of the engine's can pass for it. Only the last part of a long output is
// kept: the last lines are all anyone reads.
class TWatchStream {
public:
    explicit TWatchStream(std::string trailer) : FTrailer(std::move(trailer)) {}
    void Feed(std::string_view bytes);
    // The engine's exit code once the trailer has arrived.
    std::optional<int> ExitCode() const { return FExitCode; }
    // The engine's output without the trailer.
    std::string_view Output() const { return FOutput; }

private:
    std::string FTrailer;
    std::string FOutput;
    std::optional<int> FExitCode;
};

// "\nvidkiln-exit-<token>=", the trailer the watchdog of this run writes.
std::string ExitTrailer(std::string_view token);

}  // namespace vidkiln::tools
