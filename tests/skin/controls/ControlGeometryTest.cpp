// The other control families' decisions as tables: a combo box's button in
// every look on either side, its face frame; an up-down's face inside an
// edit, its halves and which one shows pressed under the pointer; the header
// item under a point; status panels, size grip and group box; a tab strip on
// every side, its tab frames and close boxes that are hit where drawn.
#include "skin/controls/ControlGeometry.h"

#include "GeometryPrinting.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(ComboLayout, LookFollowsTheButtonStyleAndTheBoxKind)
{
    EXPECT_EQ(ComboLookOf(0, false), TComboLook::Separate);
    EXPECT_EQ(ComboLookOf(1, false), TComboLook::Thin);
    EXPECT_EQ(ComboLookOf(2, false), TComboLook::Composed);
    EXPECT_EQ(ComboLookOf(0, true), TComboLook::Extended);
    EXPECT_EQ(ComboLookOf(2, true), TComboLook::Extended);
    EXPECT_EQ(ComboLookOf(1, true), TComboLook::Thin);
}

TEST(ComboLayout, ButtonOfEveryLookOnEitherSide)
{
    // A 120 x 22 box, 17-pixel arrows, a 16-pixel thumb band, a 15 x 18 button frame.
    const TRectI system{101, 2, 118, 20};
    struct TCase {
        const char* What;
        TComboLook Look;
        bool Left;
        std::optional<TRectI> System;
        TComboLayout Expected;
    };
    const TCase cases[] = {
        {"separate", TComboLook::Separate, false, system,
         {{101, 0, 118, 22}, {101, 0, 118, 22}, {}, {2, 2, 99, 20}}},
        {"separate, left-hand", TComboLook::Separate, true, system,
         {{0, 0, 19, 22}, {2, 0, 19, 22}, {}, {21, 2, 118, 20}}},
        // inner {2,2,118,20}; the band max(16, 15) wide; the image not shorter than the band
        {"thin", TComboLook::Thin, false, system, {{103, 2, 118, 20}, {}, {102, 2, 118, 20}, {}}},
        {"thin, left-hand", TComboLook::Thin, true, system, {{2, 2, 17, 20}, {}, {2, 2, 18, 20}, {}}},
        {"composed takes the box's button", TComboLook::Composed, true, system, {system, {}, {}, {}}},
        {"extended takes the box's button", TComboLook::Extended, false, system, {system, {}, {}, {}}},
        {"a box that says nothing has no button", TComboLook::Extended, false, std::nullopt, {}},
    };
    for (const TCase& c : cases) {
        TComboInput input;
        input.Bounds = {0, 0, 120, 22};
        input.Look = c.Look;
        input.ButtonLeft = c.Left;
        input.SystemButton = c.System;
        input.ArrowWidth = 17;
        input.ThumbBand = 16;
        input.ButtonFrame = {15, 18};
        const TComboLayout layout = LayoutCombo(input);
        EXPECT_EQ(layout.Button, c.Expected.Button) << c.What;
        EXPECT_EQ(layout.GlyphArea, c.Expected.GlyphArea) << c.What;
        EXPECT_EQ(layout.Band, c.Expected.Band) << c.What;
        EXPECT_EQ(layout.Inside, c.Expected.Inside) << c.What;
    }
}

TEST(ComboLayout, ThinButtonKeepsAShortImagesHeight)
{
    TComboInput input;
    input.Bounds = {0, 0, 120, 30};
    input.Look = TComboLook::Thin;
    input.ThumbBand = 16;
    input.ButtonFrame = {15, 12};
    EXPECT_EQ(LayoutCombo(input).Button, (TRectI{103, 2, 118, 14}));
}

TEST(ComboLayout, FaceFrameDisabledOverPressedOverHot)
{
    EXPECT_EQ(ComboFaceFrame(true, false, false, false), ffNormal);
    EXPECT_EQ(ComboFaceFrame(true, false, true, false), ffHot);
    EXPECT_EQ(ComboFaceFrame(true, false, false, true), ffHot);
    EXPECT_EQ(ComboFaceFrame(true, true, true, true), ffPressed);
    EXPECT_EQ(ComboFaceFrame(false, true, true, true), ffDisabled);
}

TEST(UpDownLayout, FaceInsideAnEditKeepsClearOfItsBorder)
{
    EXPECT_EQ(UpDownFace({16, 24}, std::nullopt), (TRectI{0, 0, 16, 24}));
    // The edit reaches 2 pixels right of and below the up-down, starts 1 above.
    EXPECT_EQ(UpDownFace({16, 24}, TRectI{-80, -1, 18, 26}), (TRectI{0, 2, 15, 23}));
    // An edit whose border would leave nothing: the whole window again.
    EXPECT_EQ(UpDownFace({16, 24}, TRectI{-80, 20, 18, 26}), (TRectI{0, 0, 16, 24}));
    EXPECT_EQ(UpDownFace({16, 24}, TRectI{-80, 0, 3, 26}), (TRectI{0, 0, 16, 24}));
}

TEST(UpDownLayout, HalvesAndThePressedHalfUnderThePointer)
{
    const TUpDownHalves vertical = SplitUpDown({0, 2, 15, 23}, false);
    EXPECT_EQ(vertical.First, (TRectI{0, 2, 15, 12}));
    EXPECT_EQ(vertical.Second, (TRectI{0, 12, 15, 23}));
    const TUpDownHalves horizontal = SplitUpDown({0, 0, 31, 16}, true);
    EXPECT_EQ(horizontal.First, (TRectI{0, 0, 15, 16}));
    EXPECT_EQ(horizontal.Second, (TRectI{15, 0, 31, 16}));

    struct TCase {
        bool Enabled;
        bool Pressed;
        TPointI Pointer;
        int First;
        int Second;
    };
    const TCase cases[] = {
        {true, false, {5, 5}, ffNormal, ffNormal},      {true, true, {5, 5}, ffPressed, ffNormal},
        {true, true, {5, 12}, ffNormal, ffPressed},     {true, true, {5, 11}, ffPressed, ffNormal},
        {true, true, {40, 5}, ffNormal, ffNormal},      {false, true, {5, 5}, ffDisabled, ffDisabled},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(UpDownHalfFrame(vertical.First, c.Enabled, c.Pressed, c.Pointer), c.First)
            << c.Pointer.X << "," << c.Pointer.Y;
        EXPECT_EQ(UpDownHalfFrame(vertical.Second, c.Enabled, c.Pressed, c.Pointer), c.Second)
            << c.Pointer.X << "," << c.Pointer.Y;
    }
}

TEST(HeaderLayout, ItemUnderAPointLeavesTheDividersOut)
{
    // The second item failed to report: an empty rectangle.
    const std::vector<TRectI> items{{0, 0, 50, 20}, {}, {50, 0, 120, 20}};
    const std::pair<TPointI, int> cases[] = {
        {{0, 5}, -1},  {{2, 5}, -1},   {{3, 5}, 0},    {{46, 5}, 0},  {{47, 5}, -1}, {{52, 5}, -1},
        {{53, 5}, 2},  {{116, 5}, 2},  {{117, 5}, -1}, {{60, 20}, -1}, {{60, -1}, -1}, {{200, 5}, -1},
    };
    for (const auto& [point, item] : cases)
        EXPECT_EQ(HeaderItemAt(items, point), item) << point.X << "," << point.Y;
    EXPECT_EQ(HeaderItemFrame(false, 3), 1);
    EXPECT_EQ(HeaderItemFrame(true, 3), 2);
    EXPECT_EQ(HeaderItemFrame(true, 1), 1);
    EXPECT_EQ(HeaderItemFrame(true, 0), 1);
}

TEST(StatusBarLayout, PanelsReachTheNextPartAndTheLastTheEdge)
{
    EXPECT_EQ(StatusPanelRect({0, 2, 100, 20}, 0, 3, 300), (TRectI{0, 2, 102, 20}));
    EXPECT_EQ(StatusPanelRect({102, 2, 200, 20}, 1, 3, 300), (TRectI{102, 2, 202, 20}));
    EXPECT_EQ(StatusPanelRect({202, 2, 280, 20}, 2, 3, 300), (TRectI{202, 2, 300, 20}));
    // A last part stretched to the end (-1) reaches the edge too.
    EXPECT_EQ(StatusPanelRect({0, 2, 5000, 20}, 0, 1, 300), (TRectI{0, 2, 300, 20}));
    EXPECT_EQ(StatusPanelFrame(false, false), 1);
    EXPECT_EQ(StatusPanelFrame(false, true), 2);
    EXPECT_EQ(StatusPanelFrame(true, true), 3);
    EXPECT_EQ(SizeGripRect({0, 0, 300, 22}, {12, 14}), (TRectI{288, 8, 300, 22}));
}

TEST(GroupBoxLayout, LineThroughTheCaptionAndTheCaptionOnEitherSide)
{
    const TGroupBoxLayout left = LayoutGroupBox({0, 0, 200, 100}, 13, {60, 13}, false);
    EXPECT_EQ(left.Outline, (TRectI{1, 5, 199, 99}));
    EXPECT_EQ(left.Legacy, (TRectI{0, 5, 200, 100}));
    EXPECT_EQ(left.Caption, (TRectI{8, 0, 68, 13}));
    EXPECT_EQ(LayoutGroupBox({0, 0, 200, 100}, 13, {60, 13}, true).Caption, (TRectI{132, 0, 192, 13}));
    // A caption longer than the box is cut to it, 8 pixels in from each side.
    EXPECT_EQ(LayoutGroupBox({0, 0, 50, 100}, 13, {300, 13}, false).Caption, (TRectI{8, 0, 42, 13}));
    EXPECT_EQ(LayoutGroupBox({0, 0, 50, 100}, 13, {300, 13}, true).Caption, (TRectI{8, 0, 42, 13}));
}

TEST(TabStripLayout, SideFromTheStyle)
{
    EXPECT_EQ(TabSideOf(false, false), tsdTop);
    EXPECT_EQ(TabSideOf(true, false), tsdBottom);
    EXPECT_EQ(TabSideOf(false, true), tsdLeft);
    EXPECT_EQ(TabSideOf(true, true), tsdRight);
}

TEST(TabStripLayout, StripAndPaneOnEverySide)
{
    // A 200 x 150 control whose display area is 20 pixels in from the tabs' side, 4 from the others.
    struct TCase {
        TTabSide Side;
        TRectI Display;
        TStripGeometry Expected;
    };
    const TCase cases[] = {
        {tsdTop, {4, 24, 196, 146}, {{0, 21, 200, 150}, {0, 0, 200, 21}, {200, 21}}},
        {tsdBottom, {4, 4, 196, 126}, {{0, 0, 200, 129}, {0, 129, 200, 150}, {200, 21}}},
        {tsdLeft, {24, 4, 196, 146}, {{21, 0, 200, 150}, {0, 0, 21, 150}, {150, 21}}},
        {tsdRight, {4, 4, 176, 146}, {{0, 0, 179, 150}, {179, 0, 200, 150}, {150, 21}}},
    };
    for (const TCase& c : cases) {
        const TStripGeometry g = TabStripGeometry({0, 0, 200, 150}, c.Display, c.Side);
        EXPECT_EQ(g.Display, c.Expected.Display) << c.Side;
        EXPECT_EQ(g.Strip, c.Expected.Strip) << c.Side;
        EXPECT_EQ(g.Upright, c.Expected.Upright) << c.Side;
    }
    // A display area outside the control leaves an empty pane, not an inverted one.
    EXPECT_EQ(TabStripGeometry({0, 0, 200, 150}, {300, 300, 400, 400}, tsdTop).Display, (TRectI{}));
}

TEST(TabStripLayout, FrameOfEachTab)
{
    struct TCase {
        int Index;
        bool Enabled;
        int Frames;
        int Frame;
    };
    // Tab 1 selected, tab 2 under the mouse.
    const TCase cases[] = {
        {0, true, 5, 1}, {1, true, 5, 2}, {2, true, 5, 3}, {2, true, 2, 1},
        {1, false, 5, 4}, {0, false, 3, 1}, {1, false, 3, 2}, {2, false, 3, 3},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(TabFrame(c.Index, 1, 2, c.Enabled, c.Frames), c.Frame)
            << "tab " << c.Index << (c.Enabled ? "" : " disabled") << ", " << c.Frames << " frames";
}

// The close box drawn on an upright tab, 7 x 7 pixels with its right and
// bottom lines, is hit at exactly as many points of the control, on every
// side, and all of them on the tab the box belongs to.
TEST(TabStripLayout, CloseBoxIsHitOnItsOwnTabOnEverySide)
{
    const TRectI bounds{0, 0, 200, 150};
    const struct {
        TTabSide Side;
        TRectI Display;
        TRectI Item; // control coordinates, as the control reports the tab
    } cases[] = {
        {tsdTop, {4, 24, 196, 146}, {2, 2, 62, 21}},
        {tsdBottom, {4, 4, 196, 126}, {2, 129, 62, 148}},
        {tsdLeft, {24, 4, 196, 146}, {2, 2, 21, 62}},
        {tsdRight, {4, 4, 176, 146}, {179, 2, 198, 62}},
    };
    for (const auto& c : cases) {
        const TStripGeometry g = TabStripGeometry(bounds, c.Display, c.Side);
        const TRectI box = TabCloseBox(UprightTab(c.Item, g, c.Side));
        int hits = 0;
        for (int x = bounds.Left; x < bounds.Right; ++x) {
            for (int y = bounds.Top; y < bounds.Bottom; ++y) {
                if (!HitsCloseBox(box, ToUprightPoint({x, y}, g.Strip, c.Side)))
                    continue;
                ++hits;
                EXPECT_TRUE(Contains(c.Item, {x, y})) << c.Side << " at " << x << "," << y;
            }
        }
        EXPECT_EQ(hits, 49) << c.Side;
    }
}

} // namespace
