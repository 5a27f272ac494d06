// The skinned scroll bars' arithmetic as tables: the thumb of a scroll-bar
// control (minimum thumb, empty range, no page), the part under a point,
// arrows on a bar shorter than two of them, the glyph thickness, the
// dragged thumb and the position a drop-down list's thumb stands for.
#include "skin/controls/ScrollGeometry.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(ScrollGeometry, ControlThumbFollowsRangePageAndPosition)
{
    struct TCase {
        const char* What;
        TScrollRange Range;
        TThumbExtent Thumb;
    };
    // A bar 200 long with 17-pixel arrows: a track of 166.
    const TCase cases[] = {
        {"at the start", {0, 100, 10, 0}, {17, 32}},
        {"half way", {0, 100, 10, 50}, {100, 115}},
        {"a tiny page gives the minimum thumb", {0, 1000, 2, 500}, {96, 104}},
        {"the minimum thumb at the start", {0, 1000, 2, 0}, {17, 25}},
        {"min = max stays at the start", {5, 5, 0, 5}, {17, 34}},
        {"min = max with a page", {5, 5, 1, 5}, {17, 25}},
        {"without a page the thumb is an arrow long", {0, 100, 0, 100}, {166, 183}},
        {"a negative range", {-50, 50, 10, -50}, {17, 32}},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(ControlThumb(200, 17, c.Range), c.Thumb) << c.What;
}

TEST(ScrollGeometry, HitTestNamesThePartsInOrder)
{
    const TThumbExtent thumb{100, 115};
    const std::pair<int, TScrollPart> cases[] = {
        {0, spFirstArrow}, {16, spFirstArrow}, {17, spPageBefore}, {99, spPageBefore}, {100, spThumb},
        {114, spThumb}, {115, spPageAfter}, {182, spPageAfter}, {183, spSecondArrow}, {199, spSecondArrow},
    };
    for (const auto& [along, part] : cases)
        EXPECT_EQ(ScrollHitTest(along, 200, 17, thumb), part) << along;
}

TEST(ScrollGeometry, ShortBarsShareTheirLengthBetweenTheArrows)
{
    EXPECT_EQ(ArrowLength(200, 17), 17);
    EXPECT_EQ(ArrowLength(34, 17), 17);
    EXPECT_EQ(ArrowLength(33, 17), 16);
    EXPECT_EQ(ArrowLength(30, 17), 15);
    EXPECT_EQ(ArrowLength(1, 17), 0);
}

TEST(ScrollGeometry, GlyphThicknessIsTheSkinsUnlessFarFromTheArrowWidth)
{
    const int cases[][3] = {{24, 17, 17}, {20, 17, 17}, {19, 17, 19}, {17, 17, 17}, {15, 17, 15}, {14, 17, 17}};
    for (const auto& c : cases)
        EXPECT_EQ(BarThickness(c[0], c[1]), c[2]) << c[0] << " against " << c[1];
}

TEST(ScrollGeometry, DraggedThumbStaysBetweenTheArrows)
{
    EXPECT_EQ(DragThumb(50, 30, 200, 17, 20), (TThumbExtent{80, 100}));
    EXPECT_EQ(DragThumb(50, -100, 200, 17, 20), (TThumbExtent{17, 37}));
    EXPECT_EQ(DragThumb(50, 500, 200, 17, 20), (TThumbExtent{163, 183}));
    EXPECT_EQ(DragThumb(17, 5, 40, 17, 20), (TThumbExtent{17, 37})) << "no room: stays at the start";
}

TEST(ScrollGeometry, TrackedPositionOfADropDownThumb)
{
    // Track 166, thumb 15: 151 pixels of travel.
    const TScrollRange paged{0, 100, 10, 0};
    EXPECT_EQ(TrackedPosition(0, 166, 15, paged), 0);
    EXPECT_EQ(TrackedPosition(75, 166, 15, paged), 45);
    EXPECT_EQ(TrackedPosition(151, 166, 15, paged), 91) << "the end is the last position a page shows";
    EXPECT_EQ(TrackedPosition(400, 166, 15, paged), 91);
    const TScrollRange unpaged{10, 110, 0, 10};
    EXPECT_EQ(TrackedPosition(0, 166, 17, unpaged), 10);
    EXPECT_EQ(TrackedPosition(400, 166, 17, unpaged), 100);
    EXPECT_EQ(TrackedPosition(5, 20, 20, paged), 91) << "a thumb filling the track divides by nothing";
}

TEST(ScrollGeometry, MulDivRoundsHalfAwayFromZeroAndRefusesWhatDoesNotFit)
{
    EXPECT_EQ(MulDivRound(7, 1, 2), 4);
    EXPECT_EQ(MulDivRound(-7, 1, 2), -4);
    EXPECT_EQ(MulDivRound(7, 1, -2), -4);
    EXPECT_EQ(MulDivRound(5, 3, 4), 4);
    EXPECT_EQ(MulDivRound(1, 1, 0), -1);
    EXPECT_EQ(MulDivRound(INT_MAX, 2, 1), -1);
    EXPECT_EQ(MulDivRound(INT_MAX, INT_MAX, INT_MAX), INT_MAX);
}

} // namespace
