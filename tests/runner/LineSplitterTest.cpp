// The byte rules of line splitting and the delivery of lines to the lists
// and the line event, driven read by read as the reader thread drives them.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "RecordingSink.h"

namespace {

struct SplitCase {
    const char* name;
    std::vector<std::string> reads;
    Events expected;
};

void PrintTo(const SplitCase& splitCase, std::ostream* out)
{
    *out << splitCase.name;
}

class SplitsReads : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitsReads, AsTheByteRulesSay)
{
    EXPECT_EQ(SplitReads(GetParam().reads), GetParam().expected);
}

using namespace std::string_literals;

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitsReads,
    ::testing::Values(
        SplitCase{"CrLfAndLfInOneRead", {"a\r\nb\n"}, {{"a", true}, {"b", true}}},
        SplitCase{"CrThenTextThenEnd", {"a\rb"}, {{"a", true}, {"b", false}, {"b", true}}},
        SplitCase{"CrLfAcrossReadsIsTwoLineEnds", {"a\r", "\nb\n"},
                  {{"a", true}, {"", true}, {"b", true}}},
        SplitCase{"NulBytesDropped", {"a\0b\0\n\0"s}, {{"ab", true}}},
        SplitCase{"NulBetweenCrAndLfKeepsThemApart", {"a\r\0\n"s}, {{"a", true}, {"", true}}},
        SplitCase{"CrCrLfIsTwoLineEnds", {"\r\r\n"}, {{"", true}, {"", true}}},
        SplitCase{"UnfinishedLineCarriesAllItsText", {"ab", "cd", "e\n"},
                  {{"ab", false}, {"abcd", false}, {"abcde", true}}},
        SplitCase{"EmptyReadRepeatsTheUnfinishedLine", {"ab", ""}, {{"ab", false}, {"ab", false}, {"ab", true}}},
        SplitCase{"BytesStayUnconverted", {"\xe4\xb8\xad\xff\x01\n"}, {{"\xe4\xb8\xad\xff\x01", true}}},
        SplitCase{"NothingAtAll", {}, {}}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST(LineSplitter, TerminationDropsTheRestOfTheReadAndEveryLaterRead)
{
    const std::vector<std::string> reads{"a\nb\r\nc", "d\n", "e"};
    EXPECT_EQ(SplitReads(reads, 2), (Events{{"a", true}, {"b", true}}));
}

TEST(LineSplitter, TerminationKeepsTheTextSoFarUnfinished)
{
    std::atomic<bool> terminated = false;
    RecordingSink sink(terminated, 0);
    TLineSplitter splitter;
    splitter.Split("ab", Asker(terminated), sink);
    terminated = true;
    splitter.Split("c\nd", Asker(terminated), sink);
    splitter.Finish(sink);
    EXPECT_EQ(sink.events, (Events{{"ab", false}, {"ab", false}, {"ab", true}}));
}

TEST(LineSplitter, AgreesWithTheReferenceOnMixedLineEnds)
{
    const std::vector<std::string> reads{"x\r", "\r\n\n", "\0y\rz"s, "\r", "", "w\r\n\r"};
    for (std::size_t stopAfter = 0; stopAfter < 7; ++stopAfter)
        EXPECT_EQ(SplitReads(reads, stopAfter), reference::Split(reads, stopAfter)) << stopAfter;
}

class LineOutputTest : public ::testing::Test {
protected:
    void Deliver(const std::vector<std::string>& reads)
    {
        TLineOutput output(captured, &mirror, secondsSinceOutput,
                           [this](const std::string& line, TOutputType type) {
                               reported.push_back({line, type == otEntireLine});
                               mirrorSeen.push_back(mirror.Lines());
                           });
        std::atomic<bool> terminated = false;
        TLineSplitter splitter;
        for (const std::string& read : reads)
            splitter.Split(read, Asker(terminated), output);
        splitter.Finish(output);
    }

    TLineList captured;
    TLineList mirror;
    std::atomic<int> secondsSinceOutput = 7;
    Events reported;
    std::vector<std::vector<std::string>> mirrorSeen;
};

TEST_F(LineOutputTest, CapturesOnlyCompleteLinesAndMirrorsTheUnfinishedOneInPlace)
{
    Deliver({"one\ntw", "o\nthr"});
    EXPECT_EQ(captured.Lines(), (std::vector<std::string>{"one", "two", "thr"}));
    EXPECT_EQ(mirror.Lines(), (std::vector<std::string>{"one", "two", "thr"}));
    EXPECT_EQ(reported, (Events{{"one", true}, {"tw", false}, {"two", true}, {"thr", false}, {"thr", true}}));
    // The lists are up to date by the time the event is raised.
    EXPECT_EQ(mirrorSeen[1], (std::vector<std::string>{"one", "tw"}));
    EXPECT_EQ(mirrorSeen[2], (std::vector<std::string>{"one", "two"}));
}

TEST_F(LineOutputTest, OnlyALineEndResetsTheOutputClock)
{
    Deliver({"no end yet"});
    EXPECT_EQ(secondsSinceOutput, 0) << "Finish ends the pending line";
    secondsSinceOutput = 7;
    TLineOutput output(captured, nullptr, secondsSinceOutput, nullptr);
    std::atomic<bool> terminated = false;
    TLineSplitter splitter;
    splitter.Split("still none", Asker(terminated), output);
    EXPECT_EQ(secondsSinceOutput, 7);
    splitter.Split("\n", Asker(terminated), output);
    EXPECT_EQ(secondsSinceOutput, 0);
}

TEST(LineList, ReadsAsOneTextAndRefusesABadIndex)
{
    TLineList lines;
    lines.ReplaceLast("a");
    lines.Add("id_length=5");
    EXPECT_EQ(lines.Text(), "a\r\nid_length=5\r\n");
    EXPECT_EQ(lines.Line(1), "id_length=5");
    EXPECT_THROW(lines.Line(2), std::out_of_range);
    lines.Clear();
    EXPECT_EQ(lines.Count(), 0u);
}

} // namespace
