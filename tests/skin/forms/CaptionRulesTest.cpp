// The caption-button rules without a window: the visibility codes against
// the window's facts, the action rules, placement by alignment, the frame a
// state shows, and the hint clock counted in ticks.
#include "skin/forms/CaptionRules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace captionrules;

namespace {

constexpr unsigned kMinMax = kMinimizeBox | kMaximizeBox;
// An action with no rules of its own, so only the codes decide.
constexpr int kPlainAction = 77;

TWindowFacts Facts(unsigned buttons, bool maximised = false, bool active = true, int borderKind = 0,
                   bool dialogClass = false)
{
    TWindowFacts facts;
    facts.SystemButtons = buttons;
    facts.Maximised = maximised;
    facts.Active = active;
    facts.BorderKind = borderKind;
    facts.IsDialogClass = dialogClass;
    return facts;
}

bool FirstHolds(int code, const TWindowFacts& facts)
{
    return EvaluateButton({kPlainAction, code, 0}, facts, nullptr).Visible;
}

bool SecondHolds(int code, const TWindowFacts& facts)
{
    return EvaluateButton({kPlainAction, 0, code}, facts, nullptr).Visible;
}

TEST(CaptionRules, VisibilityCodesFollowTheWindowsFacts)
{
    struct TCase {
        int Code;
        TWindowFacts Facts;
        bool First;
        bool Second;
    };
    const std::vector<TCase> cases{
        {0, Facts(0), true, true},
        {1, Facts(kSystemMenu, true), true, true},
        {1, Facts(kSystemMenu, false), false, false},
        {2, Facts(kSystemMenu, true), false, false},
        {2, Facts(kSystemMenu, false), true, true},
        {3, Facts(0, false, true), true, true},
        {3, Facts(0, false, false), false, false},
        {4, Facts(0, false, false), true, true},
        {5, Facts(kSystemMenu | kMinMax), false, false},
        // 6 and 8: the first code also wants the system menu.
        {6, Facts(kMinimizeBox), false, true},
        {6, Facts(kSystemMenu | kMaximizeBox), true, true},
        {6, Facts(kSystemMenu), false, false},
        {8, Facts(kMaximizeBox), false, true},
        {7, Facts(kSystemMenu | kMaximizeBox), false, false},
        {7, Facts(kSystemMenu | kMinimizeBox), true, true},
        {9, Facts(kSystemMenu | kMinimizeBox), false, false},
        {9, Facts(kSystemMenu | kMaximizeBox), true, true},
        // 10: help; the first code only without minimise and maximise boxes.
        {10, Facts(kSystemMenu | kContextHelp), true, true},
        {10, Facts(kSystemMenu | kContextHelp | kMinimizeBox), false, true},
        {10, Facts(kSystemMenu), false, false},
        {100, Facts(kSystemMenu), false, false},
        {200, Facts(kSystemMenu, false, true, 3, false), true, true},
        {200, Facts(kSystemMenu, false, true, 3, true), false, false},
        {200, Facts(kSystemMenu, false, true, 0, false), false, false},
        {201, Facts(0), true, true},
        {999, Facts(0), true, true},
        {-1, Facts(kSystemMenu), true, false},
        {-2, Facts(kSystemMenu), false, false},
        {11, Facts(kSystemMenu), false, false},
        {150, Facts(kSystemMenu), false, false},
        {2001, Facts(kSystemMenu), false, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE("code " + std::to_string(c.Code) + " buttons " + std::to_string(c.Facts.SystemButtons));
        EXPECT_EQ(FirstHolds(c.Code, c.Facts), c.First);
        EXPECT_EQ(SecondHolds(c.Code, c.Facts), c.Second);
    }
}

TEST(CaptionRules, CustomCodesAskTheWindowWithCodeAndAction)
{
    std::vector<std::pair<int, int>> asked;
    const TCustomQuery query = [&](int code, int action) {
        asked.emplace_back(code, action);
        return code == 1500;
    };
    EXPECT_TRUE(EvaluateButton({42, 1500, 0}, Facts(0), query).Visible);
    EXPECT_FALSE(EvaluateButton({42, 1000, 0}, Facts(0), query).Visible);
    // The second code does not ask: it always holds.
    EXPECT_TRUE(EvaluateButton({42, 0, 1000}, Facts(0), query).Visible);
    const std::vector<std::pair<int, int>> expected{{1500, 42}, {1000, 42}};
    EXPECT_EQ(asked, expected);
}

TEST(CaptionRules, ActionsHideOrDisableButtonsTheWindowHasNoCommandFor)
{
    struct TCase {
        const char* What;
        int Action;
        TWindowFacts Facts;
        bool Visible;
        bool Enabled;
    };
    const std::vector<TCase> cases{
        {"close with system menu", 0, Facts(kSystemMenu), true, true},
        {"close without system menu", 0, Facts(kMinMax), false, true},
        {"maximise with box", 1, Facts(kSystemMenu | kMaximizeBox), true, true},
        {"maximise without box", 1, Facts(kSystemMenu | kMinimizeBox), true, false},
        {"maximise box without system menu", 22, Facts(kMaximizeBox), true, false},
        {"minimise with box", 2, Facts(kSystemMenu | kMinimizeBox), true, true},
        {"minimise without box", 23, Facts(kSystemMenu | kMaximizeBox), true, false},
        {"icon on a window", 3, Facts(kSystemMenu), true, true},
        {"icon on a dialog", 3, Facts(kSystemMenu, false, true, 3), false, true},
        {"icon 11 on a dialog", 11, Facts(kSystemMenu, false, true, 3), false, true},
        {"window menu 12 on a dialog", 12, Facts(kSystemMenu, false, true, 3), false, true},
        {"help", 4, Facts(0), true, true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        const TButtonUse use = EvaluateButton({c.Action, 0, 0}, c.Facts, nullptr);
        EXPECT_EQ(use.Visible, c.Visible);
        EXPECT_EQ(use.Enabled, c.Enabled);
    }
}

TEST(CaptionRules, ButtonsArePlacedByTheirAlignment)
{
    TCaptionFrame frame;
    frame.FrameWidth = 400;
    frame.TextBack = {100, 0, 250, 30};
    frame.TopHeight = 30;
    frame.RightWidth = 5;
    frame.MenuHeight = 20;
    frame.MenuBarLeftMargin = 3;
    struct TCase {
        int Align;
        TRectI Expected;
    };
    // Buttons of 28 x 20 with XCoord 35, YCoord 4.
    const std::vector<TCase> cases{
        {0, {35, 4, 63, 24}},
        {1, {365, 4, 393, 24}},
        {2, {37, 4, 65, 24}},
        {8, {37, 4, 65, 24}},
        {3, {285, 4, 313, 24}},
        {9, {285, 4, 313, 24}},
        {100, {357, 30, 385, 50}},
        {5, {0, 0, 28, 20}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE("align " + std::to_string(c.Align));
        const TRectI placed = PlaceButton({c.Align, 35, 4, 28, 20}, frame);
        EXPECT_EQ(placed, c.Expected);
    }
}

TEST(CaptionRules, FramesForStatesUseTheDisabledFrameOnlyWhenTheImageHasIt)
{
    struct TCase {
        int State;
        int Frames;
        bool Enabled;
        bool Active;
        int Expected;
    };
    const std::vector<TCase> cases{
        {1, 4, true, true, 1},  {2, 4, true, true, 2},  {3, 4, true, true, 3},
        {3, 4, false, true, 4}, {1, 4, true, false, 4}, {2, 3, true, true, 2},
        {3, 3, false, true, 1}, {1, 3, true, false, 1}, {3, 1, true, true, 1},
        {2, 6, true, true, 2},  {3, 2, true, true, 1},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE("state " + std::to_string(c.State) + " of " + std::to_string(c.Frames));
        EXPECT_EQ(ButtonFrame(c.State, c.Frames, c.Enabled, c.Active), c.Expected);
    }
}

TEST(CaptionRules, HintShowsAfterTwiceThePauseAndGoesTheHidePauseLater)
{
    THintClock clock;
    std::vector<THintClock::TStep> steps;
    for (int tick = 0; tick < 30; ++tick)
        steps.push_back(clock.Tick(250, 500, 2500));
    // Shown on the fourth tick (1000 ms), hidden on the fourteenth (3500 ms), once each.
    for (int tick = 0; tick < 30; ++tick) {
        SCOPED_TRACE("tick " + std::to_string(tick + 1));
        const THintClock::TStep expected = tick == 3    ? THintClock::hsShow
                                           : tick == 13 ? THintClock::hsHide
                                                        : THintClock::hsNothing;
        EXPECT_EQ(steps[static_cast<size_t>(tick)], expected);
    }
    // Leaving the button starts the count again.
    clock.Reset();
    EXPECT_EQ(clock.Hovered(), 0);
    for (int tick = 0; tick < 3; ++tick)
        EXPECT_EQ(clock.Tick(250, 500, 2500), THintClock::hsNothing);
    EXPECT_EQ(clock.Tick(250, 500, 2500), THintClock::hsShow);
    // The application's pauses decide: a 100 ms pause shows on the first tick.
    THintClock quick;
    EXPECT_EQ(quick.Tick(250, 100, 2500), THintClock::hsShow);
}

} // namespace
