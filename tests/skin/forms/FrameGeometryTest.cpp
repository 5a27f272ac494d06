// The skinned frame's arithmetic: metrics from the border images, the
// pieces and client area, the caption text block and the hit test.
#include "skin/forms/FrameGeometry.h"

#include <gtest/gtest.h>

using namespace framegeo;

namespace {

// The default skin's borders: Left/Right 10 x 64 in two frames side by side,
// Top 90 x 60 and Bottom 90 x 10 in two stacked frames.
const TImageStrip kLeft{10, 64, 2}, kTop{90, 60, 2}, kRight{10, 64, 2}, kBottom{90, 10, 2};

TEST(FrameGeometry, MetricsAreOneFrameOfEachBorderAndZeroWithoutCaption)
{
    EXPECT_EQ(MeasureFrame(kLeft, kTop, kRight, kBottom, false), (TFrameMetrics{5, 30, 5, 5, 0}));
    EXPECT_EQ(MeasureFrame(kLeft, kTop, kRight, kBottom, true), TFrameMetrics{});
    // A frame count the skin left at 0 reads as one frame.
    EXPECT_EQ(MeasureFrame({8, 64, 0}, kTop, kRight, kBottom, false).LeftWidth, 8);
}

TEST(FrameGeometry, PiecesSidesFullHeightBandsBetweenThem)
{
    const TFrameMetrics m{5, 30, 6, 4, 0};
    EXPECT_EQ(BorderPieceRect(bpLeft, m, 200, 100), (TRectI{0, 0, 5, 100}));
    EXPECT_EQ(BorderPieceRect(bpRight, m, 200, 100), (TRectI{194, 0, 200, 100}));
    EXPECT_EQ(BorderPieceRect(bpTop, m, 200, 100), (TRectI{5, 0, 194, 30}));
    EXPECT_EQ(BorderPieceRect(bpBottom, m, 200, 100), (TRectI{5, 96, 194, 100}));
}

TEST(FrameGeometry, ClientAndOuterSizeAreInverse)
{
    const TFrameMetrics m{5, 30, 5, 5, 19};
    EXPECT_EQ(ClientInside({100, 50, 400, 350}, m), (TRectI{105, 99, 395, 345}));
    EXPECT_EQ(OuterSize({558, 314}, m), (TSize{568, 368}));
}

TEST(FrameGeometry, CaptionTextBlockByAlignmentDirectionAndKind)
{
    TCaptionLayout base;
    base.AreaWidth = 400;
    base.CaptionHeight = 30;
    base.TextWidth = 100;
    base.TextHeight = 14;
    base.TextShift = 28;
    base.TextShiftVert = -2;
    base.TextRightClip = 92;
    base.BackLeft = 6;
    base.BackRight = 6;
    base.RightButtonsExtent = 93;

    struct TCase {
        const char* Name;
        void (*Adjust)(TCaptionLayout&);
        TRectI Block;
    };
    const TCase cases[] = {
        {"left", [](TCaptionLayout&) {}, {28, 0, 140, 30}},
        {"centre", [](TCaptionLayout& l) { l.TextAlignment = 1; }, {144, 0, 256, 30}},
        {"right", [](TCaptionLayout& l) { l.TextAlignment = 2; }, {196, 0, 308, 30}},
        {"left, clipped before the buttons", [](TCaptionLayout& l) { l.TextWidth = 400; }, {28, 0, 308, 30}},
        {"left, popup clipped by the buttons", [](TCaptionLayout& l) { l.TextWidth = 400; l.Popup = true; },
         {28, 0, 302, 30}},
        {"right to left, left-aligned text goes right",
         [](TCaptionLayout& l) { l.RightToLeft = true; }, {205, 0, 317, 30}},
        {"right to left, no room: starts at the shift",
         [](TCaptionLayout& l) { l.RightToLeft = true; l.TextWidth = 300; }, {38, 0, 350, 30}},
        {"dialog: no icon, text moves left", [](TCaptionLayout& l) { l.DialogFrame = true; }, {12, 0, 124, 30}},
        // The engine's own gaps grow with the density the skin was built for.
        {"dialog at 200 %", [](TCaptionLayout& l) { l.DialogFrame = true; l.PixelsPerInch = 192; }, {-4, 0, 108, 30}},
        {"right to left at 150 %", [](TCaptionLayout& l) { l.RightToLeft = true; l.PixelsPerInch = 144; },
         {210, 0, 322, 30}},
        {"popup clipped at 150 %",
         [](TCaptionLayout& l) { l.TextWidth = 400; l.Popup = true; l.PixelsPerInch = 144; }, {28, 0, 299, 30}},
    };
    for (const TCase& c : cases) {
        TCaptionLayout layout = base;
        c.Adjust(layout);
        const TCaptionPlacement placement = PlaceCaptionText(layout);
        EXPECT_EQ(placement.Block, c.Block) << c.Name;
        // The text sits inside its background margins, centred with the vertical shift.
        EXPECT_EQ(placement.Text.Left, placement.Block.Left + 6) << c.Name;
        EXPECT_EQ(placement.Text.Right, placement.Block.Right - 6) << c.Name;
        EXPECT_EQ(placement.Text.Top, 7) << c.Name;
    }
}

TEST(FrameGeometry, HitTestKeepsRealAnswersAndFindsCaptionAndMenuBand)
{
    const TFrameMetrics plain{5, 30, 5, 5, 0};
    const TFrameMetrics menu{5, 30, 5, 5, 19};
    EXPECT_EQ(FrameHitTest(10, plain, haClient), haClient);
    EXPECT_EQ(FrameHitTest(2, plain, haNowhere), haNowhere);
    EXPECT_EQ(FrameHitTest(10, plain, haNowhere), haCaption);
    EXPECT_EQ(FrameHitTest(40, menu, haCaption), haMenu);
    EXPECT_EQ(FrameHitTest(49, menu, haNowhere), haMenu);
    // The bottom border of a window with a menu is not the menu.
    EXPECT_EQ(FrameHitTest(300, menu, haNowhere), haCaption);
    // The top rows left to the system's sizing edge grow with the density.
    EXPECT_EQ(FrameHitTest(5, plain, haNowhere, 192), haNowhere);
    EXPECT_EQ(FrameHitTest(7, plain, haNowhere, 192), haCaption);
}

} // namespace
