#include "tools/encoder/EngineOutput.h"

#include <gtest/gtest.h>

#include <cctype>

namespace vidkiln::tools {
namespace {

// Two reports as FFmpeg 5 writes them, the second the last.
const std::string kProgress =
    "frame=10\nfps=0.00\nout_time_us=400000\nout_time_ms=400000\nout_time=00:00:00.400000\n"
    "speed=N/A\nprogress=continue\n"
    "frame=126\nout_time_us=5040000\nout_time_ms=5040000\nprogress=end\n";

TEST(ProgressParser, ReportsInAnyPieces)
{
    for (size_t piece : {1u, 3u, 7u, 1000u}) {
        TProgressParser parser;
        std::vector<TProgressReport> reports;
        for (size_t i = 0; i < kProgress.size(); i += piece)
            for (const TProgressReport& report : parser.Feed(kProgress.substr(i, piece)))
                reports.push_back(report);
        ASSERT_EQ(reports.size(), 2u) << piece;
        EXPECT_DOUBLE_EQ(reports[0].Seconds, 0.4);
        EXPECT_FALSE(reports[0].End);
        EXPECT_DOUBLE_EQ(reports[1].Seconds, 5.04);
        EXPECT_TRUE(reports[1].End);
        EXPECT_TRUE(parser.Ended());
    }
}

TEST(ProgressParser, NeverGoesBackOnMissingOrOddTimes)
{
    TProgressParser parser;
    const auto reports = parser.Feed(
        "out_time_us=2000000\nprogress=continue\n"
        "out_time_us=N/A\nprogress=continue\n"
        "out_time_us=-23000\nprogress=continue\n"
        "out_time_us=1.5e9x\r\nprogress=continue\r\n");
    ASSERT_EQ(reports.size(), 4u);
    for (const TProgressReport& report : reports)
        EXPECT_DOUBLE_EQ(report.Seconds, 2.0);
    EXPECT_FALSE(parser.Ended());
}

TEST(ProgressParser, DropsAnEndlessLine)
{
    TProgressParser parser;
    EXPECT_TRUE(parser.Feed(std::string(100000, 'x')).empty());
    const auto reports = parser.Feed("\nout_time_us=1000000\nprogress=end\n");
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_DOUBLE_EQ(reports[0].Seconds, 1.0);
}

TEST(MarkerLines, PrintTwoDecimals)
{
    EXPECT_EQ(ProgressLine(12.345), "ffmpeg_release_time=12.35=ffmpeg_release_time");
    EXPECT_EQ(ProgressLine(0), "ffmpeg_release_time=0.00=ffmpeg_release_time");
    EXPECT_EQ(LengthLine(5025.429), "ID_LENGTH=5025.43");
}

TEST(ProbeDuration, ReadsTheDurationLine)
{
    const struct {
        const char* Output;
        std::optional<double> Expected;
    } cases[] = {
        {"duration=5.040000\n", 5.04},
        {"[mov] some warning\r\nduration=12.5\r\n", 12.5},
        {"duration=N/A\n", std::nullopt},
        {"duration=-1\n", std::nullopt},
        {"duration=1.2.3\n", std::nullopt},
        {"duration=\n", std::nullopt},
        {"a.txt: Invalid data found when processing input\n", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseProbeDuration(c.Output), c.Expected) << c.Output;
}

TEST(DefuseMarkers, NoOtherLineCarriesAMarker)
{
    const std::string defused = DefuseMarkers(
        "D:\\ffmpeg_release_time=3=ffmpeg_release_time.avi: ID_LENGTH=9 Id_Length=1");
    EXPECT_EQ(defused.find("ffmpeg_release_time="), std::string::npos);
    EXPECT_EQ(defused.find("=ffmpeg_release_time"), std::string::npos);
    std::string lower = defused;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(lower.find("id_length="), std::string::npos);
    EXPECT_EQ(DefuseMarkers("plain text"), "plain text");
}

TEST(LastLines, KeepsTheLastNonEmptyLines)
{
    using TLines = std::vector<std::string>;
    EXPECT_EQ(LastLines("a\r\nb\n\nc\rd\n", 3), (TLines{"b", "c", "d"}));
    EXPECT_EQ(LastLines("only", 5), (TLines{"only"}));
    EXPECT_EQ(LastLines("\n\n", 5), TLines{});
}

TEST(WatchStream, SeparatesOutputAndExitCode)
{
    const std::string trailer = ExitTrailer("42-7");
    const std::string stream = "error one\nerror two\n" + trailer + "3\n";
    for (size_t piece : {1u, 5u, 1000u}) {
        TWatchStream watch(trailer);
        for (size_t i = 0; i < stream.size(); i += piece) {
            EXPECT_FALSE(watch.ExitCode());
            watch.Feed(stream.substr(i, piece));
        }
        EXPECT_EQ(watch.ExitCode(), 3) << piece;
        EXPECT_EQ(watch.Output(), "error one\nerror two\n");
    }
}

TEST(WatchStream, IgnoresAnotherRunsTrailer)
{
    TWatchStream watch(ExitTrailer("1-1"));
    watch.Feed("x" + ExitTrailer("9-9") + "0\n" + ExitTrailer("1-1") + "zero\n");
    EXPECT_FALSE(watch.ExitCode());
    watch.Feed(ExitTrailer("1-1") + "137\n");
    EXPECT_EQ(watch.ExitCode(), 137);
}

TEST(WatchStream, KeepsOnlyTheTailOfLongOutput)
{
    TWatchStream watch(ExitTrailer("t"));
    for (int i = 0; i < 1000; ++i)
        watch.Feed(std::string(1000, 'e') + "\n");
    watch.Feed("last\n" + ExitTrailer("t") + "1\n");
    EXPECT_LE(watch.Output().size(), 70000u);
    EXPECT_EQ(LastLines(watch.Output(), 1), std::vector<std::string>{"last"});
    EXPECT_EQ(watch.ExitCode(), 1);
}

}  // namespace
}  // namespace vidkiln::tools
