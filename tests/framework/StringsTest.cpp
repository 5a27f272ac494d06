#include "framework/Strings.h"

#include <gtest/gtest.h>

namespace {
struct TChangeCounter {
    int Changes = 0;
    void Changed(TObject*) { ++Changes; }
};
} // namespace

TEST(Strings, EditsAndBoundsChecks)
{
    TStrings S;
    EXPECT_EQ(S.Add(L"320x240"), 0);
    S.Add(L"176x144");
    S.Insert(0, L"640x480");
    EXPECT_EQ(S.Count(), 3);
    EXPECT_EQ(S[0], L"640x480");
    EXPECT_EQ(S.IndexOf(L"176x144"), 2);
    EXPECT_EQ(S.IndexOf(L"176X144"), -1);
    S.Delete(1);
    S.Put(1, L"1:1");
    EXPECT_EQ(S.Lines(), (std::vector<std::wstring>{L"640x480", L"1:1"}));
    EXPECT_THROW(S.Strings(2), EListError);
    EXPECT_THROW(S.Delete(-1), EListError);
    EXPECT_THROW(S.Insert(3, L"x"), EListError);
    S.Insert(2, L"end");
    EXPECT_EQ(S[2], L"end");
}

TEST(Strings, TextSplitsEveryLineEnding)
{
    TStrings S;
    S.SetText(L"a\r\nb\nc\rd");
    EXPECT_EQ(S.Lines(), (std::vector<std::wstring>{L"a", L"b", L"c", L"d"}));
    EXPECT_EQ(S.Text(), L"a\r\nb\r\nc\r\nd\r\n");
    S.SetText(L"one\r\n\r\n");
    EXPECT_EQ(S.Lines(), (std::vector<std::wstring>{L"one", L""}));
    S.SetText(L"");
    EXPECT_EQ(S.Count(), 0);
}

TEST(Strings, UpdateBlockRaisesOneChange)
{
    TStrings S;
    TChangeCounter Counter;
    S.OnChange = TNotifyEvent::Bind<&TChangeCounter::Changed>(&Counter);
    S.Add(L"a");
    EXPECT_EQ(Counter.Changes, 1);
    S.BeginUpdate();
    S.Add(L"b");
    S.Add(L"c");
    S.BeginUpdate();
    S.Delete(0);
    S.EndUpdate();
    EXPECT_EQ(Counter.Changes, 1);
    S.EndUpdate();
    EXPECT_EQ(Counter.Changes, 2);
    S.BeginUpdate();
    S.EndUpdate();
    EXPECT_EQ(Counter.Changes, 2);
    S.Clear();
    S.Clear();
    EXPECT_EQ(Counter.Changes, 3);
}
