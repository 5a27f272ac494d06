#include "tools/encoder/EngineOutput.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace vidkiln::tools {

namespace {

constexpr size_t kKeptOutput = 32 * 1024;

// A decimal number as the engine prints it; the whole text must be used.
std::optional<double> ParseNumber(std::string_view text)
{
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<long long> ParseInteger(std::string_view text)
{
    long long value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

std::string_view TrimLineEnd(std::string_view line)
{
    while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
        line.remove_suffix(1);
    return line;
}

// Two decimals, always with a point whatever the locale.
std::string TwoDecimals(double seconds)
{
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, seconds, std::chars_format::fixed, 2);
    return std::string(text, result.ptr);
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Replaces every occurrence of `marker` (ASCII letters in any case) by the
// same text with its '=' turned into '-'.
void DefuseOne(std::string& text, std::string_view marker)
{
    for (size_t i = 0; i + marker.size() <= text.size(); ++i) {
        bool match = true;
        for (size_t j = 0; j < marker.size() && match; ++j)
            match = Lower(text[i + j]) == marker[j];
        if (!match)
            continue;
        for (size_t j = 0; j < marker.size(); ++j)
            if (text[i + j] == '=')
                text[i + j] = '-';
    }
}

}  // namespace

std::vector<TProgressReport> TProgressParser::Feed(std::string_view bytes)
{
    std::vector<TProgressReport> reports;
    FPending.append(bytes);
    size_t start = 0;
    for (size_t end; (end = FPending.find('\n', start)) != std::string::npos; start = end + 1)
        TakeLine(std::string_view(FPending).substr(start, end - start), reports);
    FPending.erase(0, start);
    // A line this long is no report; dropping it keeps memory bounded.
    if (FPending.size() > kKeptOutput)
        FPending.clear();
    return reports;
}

void TProgressParser::TakeLine(std::string_view line, std::vector<TProgressReport>& reports)
{
    line = TrimLineEnd(line);
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos)
        return;
    const std::string_view key = line.substr(0, equals);
    const std::string_view value = line.substr(equals + 1);
    // out_time_ms holds microseconds too (an old misnomer the engine keeps).
    if (key == "out_time_us" || (key == "out_time_ms" && !FSeconds)) {
        if (const auto micro = ParseInteger(value))
            FSeconds = std::max(0.0, static_cast<double>(*micro) / 1e6);
    } else if (key == "progress") {
        // A report without a usable time repeats the last one, so progress never goes back.
        FLastSeconds = std::max(FLastSeconds, FSeconds.value_or(FLastSeconds));
        FEnded = value == "end";
        reports.push_back({FLastSeconds, FEnded});
        FSeconds.reset();
    }
}

std::string ProgressLine(double seconds)
{
    return "ffmpeg_release_time=" + TwoDecimals(seconds) + "=ffmpeg_release_time";
}

std::string LengthLine(double seconds) { return "ID_LENGTH=" + TwoDecimals(seconds); }

std::optional<double> ParseProbeDuration(std::string_view output)
{
    constexpr std::string_view key = "duration=";
    size_t start = 0;
    while (start < output.size()) {
        size_t end = output.find('\n', start);
        if (end == std::string_view::npos)
            end = output.size();
        const std::string_view line = TrimLineEnd(output.substr(start, end - start));
        if (line.substr(0, key.size()) == key) {
            const auto seconds = ParseNumber(line.substr(key.size()));
            if (seconds && *seconds >= 0)
                return seconds;
            return std::nullopt;
        }
        start = end + 1;
    }
    return std::nullopt;
}

std::string DefuseMarkers(std::string_view text)
{
    std::string defused(text);
    DefuseOne(defused, "ffmpeg_release_time=");
    DefuseOne(defused, "=ffmpeg_release_time");
    DefuseOne(defused, "id_length=");
    return defused;
}

std::vector<std::string> LastLines(std::string_view text, size_t count)
{
    std::vector<std::string> lines;
    size_t end = text.size();
    while (end > 0 && lines.size() < count) {
        const size_t start = text.find_last_of("\r\n", end - 1);
        const size_t first = start == std::string_view::npos ? 0 : start + 1;
        if (first < end)
            lines.emplace_back(text.substr(first, end - first));
        if (start == std::string_view::npos)
            break;
        end = start;
    }
    std::reverse(lines.begin(), lines.end());
    return lines;
}

std::string ExitTrailer(std::string_view token)
{
    return "\nvidkiln-exit-" + std::string(token) + "=";
}

void TWatchStream::Feed(std::string_view bytes)
{
    if (FExitCode)
        return;
    FOutput.append(bytes);
    const size_t at = FOutput.rfind(FTrailer);
    if (at == std::string::npos) {
        if (FOutput.size() > kKeptOutput * 2)
            FOutput.erase(0, FOutput.size() - kKeptOutput);
        return;
    }
    const size_t number = at + FTrailer.size();
    const size_t end = FOutput.find('\n', number);
    if (end == std::string::npos)
        return;
    if (const auto code = ParseInteger(std::string_view(FOutput).substr(number, end - number))) {
        FExitCode = static_cast<int>(*code);
        FOutput.erase(at);
    }
}

}  // namespace vidkiln::tools
