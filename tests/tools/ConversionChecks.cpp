#include "ConversionChecks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace vidkiln::tools::test {

double Number(const std::string& text)
{
    const size_t slash = text.find('/');
    if (slash != std::string::npos)
        return std::stod(text.substr(0, slash)) / std::stod(text.substr(slash + 1));
    return std::stod(text);
}

bool HasMarker(std::string line)
{
    std::transform(line.begin(), line.end(), line.begin(), [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
    return line.find("ffmpeg_release_time") != std::string::npos || line.find("id_length=") != std::string::npos;
}

std::string Joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

std::vector<double> ProgressOf(const TToolResult& run)
{
    std::vector<double> positions;
    for (const std::string& line : run.Lines) {
        if (const auto position = ProgressFromLine(line)) {
            const size_t start = line.find('=') + 1;
            positions.push_back(std::stod(line.substr(start, line.find('=', start) - start)));
            EXPECT_EQ(line, "ffmpeg_release_time=" + line.substr(start, line.find('=', start) - start) +
                                "=ffmpeg_release_time");
            EXPECT_LE(std::abs(*position - positions.back()), 0.5);
        } else {
            EXPECT_FALSE(HasMarker(line)) << line;
        }
    }
    return positions;
}

TStoppedRun StopAtFirstProgress(const std::wstring& appPath, const std::wstring& folder,
                                const std::function<void()>& atStop)
{
    const std::wstring input = folder + L"\\long.avi";
    MakeClip(input, 60, L"640x480");
    TStoppedRun stopped;
    stopped.Output = folder + L"\\long.mp4";
    WriteFileBytes(stopped.Output, "older good result");
    stopped.Run = RunTool(EncoderCommandLine(appPath, input, folder + L"\\", kStartSettings),
                          [&](const std::string& line) {
                              stopped.Stopped = ProgressFromLine(line).has_value();
                              if (stopped.Stopped && atStop)
                                  atStop();
                              return !stopped.Stopped;
                          });
    return stopped;
}

void ConvertAndCheck(const std::wstring& appPath, const std::wstring& source,
                     const std::wstring& outFolder, const TEncoderSettings& settings,
                     const TExpected& expected)
{
    const std::wstring output = OutputPathFor(outFolder + L"\\", source);
    DeleteFileW(output.c_str());
    const TToolResult run = RunTool(EncoderCommandLine(appPath, source, outFolder + L"\\", settings));
    ASSERT_EQ(run.ExitCode, 0u) << Joined(run.Lines);
    EXPECT_FALSE(IsFile(output + L".vidkiln-part"));

    const auto source_ = Describe(source);
    const auto facts = Describe(output);
    EXPECT_EQ(facts.at("video.codec_name"), "mpeg4");
    EXPECT_EQ(facts.at("audio.codec_name"), "aac");
    // The sound keeps to the 12.2 kbit/s the front-end asks for; FFmpeg 5's
    // default AAC coder overshot it by a fifth.
    EXPECT_LE(Number(facts.at("audio.bit_rate")), 12200 * 1.1);
    EXPECT_EQ(facts.at("video.width") + "x" + facts.at("video.height"), expected.Size);
    EXPECT_NEAR(Number(facts.at("video.r_frame_rate")), expected.Rate, 0.01);
    if (!expected.Aspect.empty()) {
        EXPECT_EQ(facts.at("video.display_aspect_ratio"), expected.Aspect);
    }
    const double duration = Number(facts.at("format.duration"));
    EXPECT_NEAR(duration, Number(source_.at("format.duration")), kTolerance);
    // Matroska gives no stream durations; its container's stands in.
    const auto pictures = [](const std::map<std::string, std::string>& file) {
        const auto stream = file.find("video.duration");
        return Number(stream != file.end() && stream->second != "N/A" ? stream->second : file.at("format.duration"));
    };
    EXPECT_NEAR(pictures(facts), pictures(source_), 1 / expected.Rate);

    const std::vector<double> progress = ProgressOf(run);
    ASSERT_FALSE(progress.empty()) << Joined(run.Lines);
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end())) << Joined(run.Lines);
    EXPECT_NEAR(progress.back(), duration, kTolerance);
}

}  // namespace vidkiln::tools::test
