// 50 MB of random output in random-sized writes with random line ends: every
// complete line arrives exactly once and in order, in CapturedLines and
// through OnNewLine.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "RandomOutput.h"
#include "RunnerFixture.h"
#include "runner/DosCommand.h"

namespace {

using namespace std::chrono_literals;
using namespace runner_test;

constexpr std::uint64_t kSeed = 20261210;
constexpr std::size_t kBytes = 50 * 1024 * 1024;

struct ExpectedLine {
    std::string Text;
    bool EndedByCrLf;
};

// Cuts the whole output at CR, LF and CR LF as if it came in one read.
std::vector<ExpectedLine> ExpectedLines()
{
    std::string all;
    TRandomOutput output(kSeed, kBytes);
    for (std::string chunk = output.Next(); !chunk.empty(); chunk = output.Next())
        all += chunk;
    std::vector<ExpectedLine> lines;
    std::size_t start = 0;
    for (std::size_t end = all.find_first_of("\r\n"); end != std::string::npos;
         end = all.find_first_of("\r\n", start)) {
        std::string text = all.substr(start, end - start);
        std::erase(text, '\0');
        const bool crLf = all.compare(end, 2, "\r\n") == 0;
        lines.push_back({std::move(text), crLf});
        start = end + (crLf ? 2 : 1);
    }
    std::string rest = all.substr(start);
    std::erase(rest, '\0');
    if (!rest.empty())
        lines.push_back({std::move(rest), false});
    return lines;
}

// Follows the expected lines one complete line at a time. A CR LF that the
// pipe happened to split between two reads rightly gives one more, empty,
// line; nothing else may differ.
class LineChecker {
public:
    explicit LineChecker(const std::vector<ExpectedLine>& expected) : FExpected(expected) {}

    void Feed(const std::string& line)
    {
        if (!FError.empty())
            return;
        if (FNext < FExpected.size() && line == FExpected[FNext].Text) {
            // Extra empty lines may follow a CR LF, and drift past empty lines.
            FSplitCrLf = FExpected[FNext].EndedByCrLf + (line.empty() ? FSplitCrLf : 0);
            ++FNext;
        } else if (line.empty() && FSplitCrLf > 0) {
            --FSplitCrLf;
        } else {
            FError = "line " + std::to_string(FNext) + " differs: got \"" + line.substr(0, 40) + "\"";
        }
    }

    std::string Verdict() const
    {
        if (!FError.empty())
            return FError;
        if (FNext != FExpected.size())
            return "only " + std::to_string(FNext) + " of " + std::to_string(FExpected.size()) + " lines";
        return "";
    }

private:
    const std::vector<ExpectedLine>& FExpected;
    std::size_t FNext = 0;
    int FSplitCrLf = 0;
    std::string FError;
};

class Stress : public ::testing::Test {
public:
    void NewLine(TObject*, const std::string& line, TOutputType outputType)
    {
        if (outputType == otEntireLine)
            reported.Feed(line);
    }

protected:
    const std::vector<ExpectedLine> expected = ExpectedLines();
    LineChecker reported{expected};
};

TEST_F(Stress, EveryLineOf50MegabytesArrivesOnceAndInOrder)
{
    TDosCommand runner(nullptr);
    runner.OnNewLine = MakeDelegate<&Stress::NewLine>(this);
    runner.CommandLine = ChildCommand({"random:" + std::to_string(kSeed) + ":" + std::to_string(kBytes)});
    runner.Start();
    ASSERT_TRUE(WaitUntil([&runner] { return !runner.IsRunning(); }, "the run to end", 240000));
    runner.Stop();

    EXPECT_EQ(runner.ExitCode(), 0);
    EXPECT_EQ(reported.Verdict(), "");
    LineChecker captured(expected);
    for (const std::string& line : runner.CapturedLines().Lines())
        captured.Feed(line);
    EXPECT_EQ(captured.Verdict(), "");
}

} // namespace
