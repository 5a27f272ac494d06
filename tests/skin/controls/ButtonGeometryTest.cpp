// The skinned buttons' decisions as tables: the face frame of push, speed
// and menu buttons in every state, the glyph frame, where a check box's mark
// and caption go on either side, and where glyph, caption and arrow go on
// bit, speed and menu buttons for every layout, margin and spacing.
#include "skin/controls/ButtonGeometry.h"

#include "GeometryPrinting.h"

#include <gtest/gtest.h>

namespace {

TEST(ButtonFrames, EachKindOfButtonInEveryState)
{
    struct TCase {
        bool Pressed;
        bool MouseOver;
        bool Enabled;
        bool FocusOrDown; // focused or default (push), Down (speed), focused (menu)
        int Push;
        int Speed;
        int Menu;
    };
    const TCase cases[] = {
        {false, false, true, false, bfNormal, bfNormal, bfNormal},
        {false, false, true, true, bfFocused, bfPressed, bfMouseOver},
        {false, true, true, false, bfMouseOver, bfMouseOver, bfMouseOver},
        {false, true, true, true, bfMouseOver, bfPressed, bfMouseOver},
        {true, true, true, false, bfPressed, bfPressed, bfPressed},
        {true, false, true, true, bfPressed, bfPressed, bfPressed},
        {true, true, false, true, bfDisabled, bfDisabled, bfDisabled},
        {false, false, false, false, bfDisabled, bfDisabled, bfDisabled},
    };
    for (const TCase& c : cases) {
        const std::string what = std::string(c.Pressed ? "pressed " : "") + (c.MouseOver ? "over " : "") +
                                 (c.Enabled ? "" : "disabled ") + (c.FocusOrDown ? "focused/down" : "");
        EXPECT_EQ(PushButtonFrame(c.Pressed, c.MouseOver, c.FocusOrDown, c.Enabled), c.Push) << what;
        EXPECT_EQ(SpeedButtonFrame(c.Pressed, c.MouseOver, c.Enabled, c.FocusOrDown), c.Speed) << what;
        EXPECT_EQ(MenuButtonFrame(c.Pressed, c.MouseOver || c.FocusOrDown, c.Enabled), c.Menu) << what;
    }
}

TEST(ButtonFrames, GlyphFrameDisabledOverPressedOverDown)
{
    const struct {
        bool Pressed, Enabled, Down;
        int Frame;
    } cases[] = {
        {false, true, false, 1}, {true, true, false, 3}, {false, true, true, 4},
        {true, true, true, 3},   {true, false, true, 2}, {false, false, false, 2},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ButtonGlyphFrame(c.Pressed, c.Enabled, c.Down), c.Frame)
            << c.Pressed << c.Enabled << c.Down;
}

TEST(CheckBoxLayout, MarkColumnAndCaptionOnEitherSide)
{
    // A 100 x 20 box, a 13-pixel mark, a gap of 2.
    const TCheckLayout left = LayoutCheckBox({100, 20}, 13, 2, false);
    EXPECT_EQ(left.Mark, (TRectI{0, 0, 13, 20}));
    EXPECT_EQ(left.Text, (TRectI{15, 0, 100, 20}));
    const TCheckLayout right = LayoutCheckBox({100, 20}, 13, 2, true);
    EXPECT_EQ(right.Mark, (TRectI{87, 0, 100, 20}));
    EXPECT_EQ(right.Text, (TRectI{0, 0, 85, 20}));
    // Mark and caption never overlap, however narrow the box.
    for (int width : {0, 5, 13, 14, 15, 40}) {
        for (bool markRight : {false, true}) {
            const TCheckLayout l = LayoutCheckBox({width, 20}, 13, 2, markRight);
            const bool apart = markRight ? l.Text.Right <= l.Mark.Left : l.Mark.Right <= l.Text.Left;
            EXPECT_TRUE(apart) << width << (markRight ? " right" : " left");
        }
    }
}

TEST(BitButtonLayout, GlyphAndCaptionForEveryLayoutMarginAndSpacing)
{
    // A 90 x 30 face, a 16 x 16 glyph, a caption 40 x 14.
    const TSizeI client{90, 30};
    const TSizeI glyph{16, 16};
    const TSizeI text{40, 14};
    struct TCase {
        const char* What;
        TGlyphSide Side;
        int Margin;
        int Spacing;
        bool Centred;
        int ExtraMargin;
        TSizeI Text;
        TRectI Glyph;
        TRectI Text2;
    };
    const TCase cases[] = {
        // (90 - 16 - 4 - 40) / 2 = 15
        {"left, centred pair", gsLeft, -1, 4, false, 0, text, {15, 7, 31, 23}, {35, 8, 75, 22}},
        // (90 - 16 - 40) / 3 = 11
        {"left, spread evenly", gsLeft, -1, -1, false, 0, text, {11, 7, 27, 23}, {38, 8, 78, 22}},
        {"left, margin 3 spacing 4", gsLeft, 3, 4, false, 0, text, {3, 7, 19, 23}, {23, 8, 63, 22}},
        // (90 - 3 - 16 - 40) / 2 = 15
        {"left, margin 3, spacing shared", gsLeft, 3, -1, false, 0, text, {3, 7, 19, 23}, {34, 8, 74, 22}},
        {"centred alignment wins over the margin", gsLeft, 3, 4, true, 0, text, {15, 7, 31, 23}, {35, 8, 75, 22}},
        {"right, margin 3 spacing 4", gsRight, 3, 4, false, 0, text, {71, 7, 87, 23}, {27, 8, 67, 22}},
        // across (90 - 16 + 1) / 2 = 37; along (30 - 16 - 0 - 14) / 2 = 0 with spacing 0
        {"top, centred, spacing 0", gsTop, -1, 0, false, 0, text, {37, 0, 53, 16}, {25, 16, 65, 30}},
        {"bottom, margin 1 spacing 0", gsBottom, 1, 0, false, 0, text, {37, 13, 53, 29}, {25, -1, 65, 13}},
        // No caption: spacing becomes 0 and the glyph is centred.
        {"no caption", gsLeft, -1, 4, false, 0, {0, 0}, {37, 7, 53, 23}, {53, 15, 53, 15}},
        // A speed button's centred pair stands one pixel further in.
        {"speed button, centred pair", gsLeft, -1, 4, false, 1, text, {16, 7, 32, 23}, {36, 8, 76, 22}},
        {"speed button, spread evenly", gsLeft, -1, -1, false, 1, text, {11, 7, 27, 23}, {38, 8, 78, 22}},
        {"speed button, given margin", gsLeft, 3, 4, false, 1, text, {3, 7, 19, 23}, {23, 8, 63, 22}},
    };
    for (const TCase& c : cases) {
        const TGlyphLayout layout =
            LayoutGlyph(client, glyph, c.Text, c.Side, c.Margin, c.Spacing, c.Centred, c.ExtraMargin);
        EXPECT_EQ(layout.Glyph, c.Glyph) << c.What;
        EXPECT_EQ(layout.Text, c.Text2) << c.What;
    }
}

TEST(BitButtonLayout, CaptionIsMeasuredBesideTheGlyph)
{
    EXPECT_EQ(GlyphCaptionBox({90, 30}, {16, 16}, gsLeft), (TRectI{2, 2, 70, 28}));
    EXPECT_EQ(GlyphCaptionBox({90, 30}, {16, 16}, gsRight), (TRectI{2, 2, 70, 28}));
    EXPECT_EQ(GlyphCaptionBox({90, 30}, {16, 12}, gsTop), (TRectI{2, 2, 88, 14}));
    EXPECT_EQ(GlyphCaptionBox({90, 30}, {0, 0}, gsBottom), (TRectI{2, 2, 88, 26}));
}

TEST(MenuButtonLayout, RowOfGlyphCaptionAndArrowForEveryMarginAndSpacing)
{
    // A 100 x 24 face, a 16 x 16 glyph, a caption 40 x 14.
    struct TCase {
        const char* What;
        int Margin;
        int Spacing;
        int GlyphX;
        int TextX;
        int ArrowX;
    };
    const TCase cases[] = {
        // (100 - 16 - 40 - 8) / 4 = 9
        {"both shared", -1, -1, 9, 34, 92},
        // (100 - 16 - 40 - 8 - 8) / 2 = 14
        {"margin shared", -1, 4, 14, 34, 82},
        // (100 - 6 - 16 - 8 - 40) / 2 = 15
        {"spacing shared", 3, -1, 3, 34, 104},
        {"both given", 3, 4, 3, 23, 71},
    };
    for (const TCase& c : cases) {
        const TMenuButtonLayout l = LayoutMenuButton({100, 24}, {16, 16}, {40, 14}, c.Margin, c.Spacing);
        EXPECT_EQ(l.Glyph, (TRectI{c.GlyphX, 4, c.GlyphX + 16, 20})) << c.What;
        // (24 - 14 + 1) / 2 = 5
        EXPECT_EQ(l.Text, (TRectI{c.TextX, 5, c.TextX + 40, 19})) << c.What;
        // y = (24 - 3) / 2 = 10: the base a line above, the tip two below.
        EXPECT_EQ(l.Arrow[0], (TPointI{c.ArrowX - 3, 9})) << c.What;
        EXPECT_EQ(l.Arrow[1], (TPointI{c.ArrowX + 3, 9})) << c.What;
        EXPECT_EQ(l.Arrow[2], (TPointI{c.ArrowX, 12})) << c.What;
    }
    EXPECT_EQ(MenuCaptionBox({100, 24}, 16), (TRectI{2, 2, 74, 22}));
}

} // namespace
