#include "skin/data/ImageGeometry.h"

#include <gtest/gtest.h>

#include <limits>

using namespace imgcore;

namespace {

TEST(ImageGeometry, FramesSideBySideOrStacked)
{
    EXPECT_EQ(FrameOf(30, 8, false, 3, 2), (TRectI{10, 0, 20, 8}));
    EXPECT_EQ(FrameOf(31, 8, false, 3, 3), (TRectI{20, 0, 30, 8})); // integer division
    EXPECT_EQ(FrameOf(8, 40, true, 2, 2), (TRectI{0, 20, 8, 40}));
    EXPECT_EQ(FrameOf(8, 40, true, 0, 1), (TRectI{0, 0, 8, 40}));    // count 0 reads as 1
}

TEST(ImageGeometry, NineSlicePiecesInDrawingOrder)
{
    // Frame 2 of a stacked strip: 20 × 20 at (0, 20); margins 3, 4, 5, 6.
    const TRectI frame{0, 20, 20, 40};
    const std::vector<TPiece> pieces = NineSlicePieces(50, 30, frame, {3, 4, 5, 6}, true);
    const std::vector<TPiece> expected{
        {{0, 0, 3, 4}, {0, 20, 3, 24}},          // top-left
        {{0, 24, 3, 30}, {0, 34, 3, 40}},        // bottom-left
        {{45, 0, 50, 4}, {15, 20, 20, 24}},      // top-right
        {{0, 4, 3, 24}, {0, 24, 3, 34}},         // left edge
        {{3, 0, 45, 4}, {3, 20, 15, 24}},        // top edge
        {{3, 4, 45, 24}, {3, 24, 15, 34}, true}, // centre, tiled
        {{45, 24, 50, 30}, {15, 34, 20, 40}},    // bottom-right
        {{45, 4, 50, 24}, {15, 24, 20, 34}},     // right edge
        {{3, 24, 45, 30}, {3, 34, 15, 40}},      // bottom edge
    };
    EXPECT_EQ(pieces, expected);
}

TEST(ImageGeometry, NineSliceMarginsThatDoNotFitDropInPairs)
{
    const TRectI frame{0, 0, 20, 20};
    // 7 wide < 3 + 5: no left or right column at all; top and bottom stay.
    const std::vector<TPiece> narrow = NineSlicePieces(7, 30, frame, {3, 4, 5, 6}, false);
    const std::vector<TPiece> expectedNarrow{
        {{0, 0, 7, 4}, {0, 0, 20, 4}},
        {{0, 4, 7, 24}, {0, 4, 20, 14}},
        {{0, 24, 7, 30}, {0, 14, 20, 20}},
    };
    EXPECT_EQ(narrow, expectedNarrow);

    const std::vector<TPiece> flat = NineSlicePieces(50, 9, frame, {3, 4, 5, 6}, false);
    const std::vector<TPiece> expectedFlat{
        {{0, 0, 3, 9}, {0, 0, 3, 20}},
        {{3, 0, 45, 9}, {3, 0, 15, 20}},
        {{45, 0, 50, 9}, {15, 0, 20, 20}},
    };
    EXPECT_EQ(flat, expectedFlat);
}

TEST(ImageGeometry, TiledStripRepeatsTheMiddleAtItsWidth)
{
    // Frame 20 wide, caps 4 and 6: middle 10; target 35 wide → tiles at 4, 14, 24.
    const std::vector<TPiece> pieces = TiledStripPieces(35, 12, {20, 0, 40, 9}, {4, 0, 6, 0});
    const std::vector<TPiece> expected{
        {{0, 0, 4, 12}, {20, 0, 24, 9}},
        {{4, 0, 14, 12}, {24, 0, 34, 9}},
        {{14, 0, 24, 12}, {24, 0, 34, 9}},
        {{24, 0, 34, 12}, {24, 0, 34, 9}},
        {{29, 0, 35, 12}, {34, 0, 40, 9}},
    };
    EXPECT_EQ(pieces, expected);
    // Caps as wide as the frame leave no middle.
    EXPECT_EQ(TiledStripPieces(35, 12, {0, 0, 10, 9}, {5, 0, 5, 0}).size(), 2u);
}

TEST(ImageGeometry, ThreePartStretchesOrFallsBackToWholeFrame)
{
    const TRectI frame{10, 0, 20, 6};
    const std::vector<TPiece> parts = ThreePartPieces({100, 5, 140, 25}, frame, {2, 0, 3, 0});
    const std::vector<TPiece> expected{
        {{100, 5, 102, 25}, {10, 0, 12, 6}},
        {{102, 5, 137, 25}, {12, 0, 17, 6}},
        {{137, 5, 140, 25}, {17, 0, 20, 6}},
    };
    EXPECT_EQ(parts, expected);
    EXPECT_EQ(ThreePartPieces({0, 0, 8, 4}, frame, {2, 0, 3, 0}),
              (std::vector<TPiece>{{{0, 0, 8, 4}, frame}}));
}

// Margins come from skin files written by anyone.
constexpr int kMax = std::numeric_limits<int>::max();
constexpr int kMin = std::numeric_limits<int>::min();

TEST(ImageGeometry, HostileMarginsAreClampedToTheFrame)
{
    const TRectI frame{10, 0, 20, 8}; // 10 × 8
    struct TCase {
        TMargins Given;
        TMargins Clamped;
    };
    const TCase cases[] = {
        {{3, 2, 4, 1}, {3, 2, 4, 1}},
        {{0, 0, 0, 0}, {0, 0, 0, 0}},
        {{-1, -5, kMin, -2}, {0, 0, 0, 0}},
        {{11, 9, 40, 100}, {10, 8, 10, 8}},
        {{kMax, kMax, kMax, kMax}, {10, 8, 10, 8}},
        {{kMax, -3, 2, kMin}, {10, 0, 2, 0}},
    };
    for (const TCase& c : cases) {
        const TMargins m = ClampMargins(c.Given, frame);
        EXPECT_EQ((TRectI{m.Left, m.Top, m.Right, m.Bottom}),
                  (TRectI{c.Clamped.Left, c.Clamped.Top, c.Clamped.Right, c.Clamped.Bottom}))
            << c.Given.Left << ", " << c.Given.Top << ", " << c.Given.Right << ", " << c.Given.Bottom;
    }
    // The planner clamps too: a left margin of INT_MAX takes the whole frame,
    // leaving a centre whose source is inverted (drawn as nothing).
    const std::vector<TPiece> expected{
        {{0, 0, 10, 5}, {10, 0, 20, 8}},
        {{10, 0, 28, 5}, {20, 0, 18, 8}},
        {{28, 0, 30, 5}, {18, 0, 20, 8}},
    };
    EXPECT_EQ(NineSlicePieces(30, 5, frame, {kMax, -3, 2, kMin}, false), expected);
    const TMargins none = ClampMargins({kMax, kMax, 5, 5}, {});
    EXPECT_EQ(none.Left + none.Top + none.Right + none.Bottom, 0); // no image: no margins
}

// Every planner, fed hostile margins, plans only pieces that read inside the
// frame and write inside the target (or are empty and skipped when drawn).
// Under the sanitizers this also shows that none of its arithmetic overflows.
TEST(ImageGeometry, HostileMarginsPlanPiecesInsideTheFrameForEveryObjectKind)
{
    // The layouts of the skin objects: borders and controls side by side,
    // the top and bottom borders and the menu bar stacked, objects without an image.
    struct TKind {
        const char* Name;
        int Width, Height;
        bool Stacked;
        int Count;
    };
    const TKind kinds[] = {{"left border", 12, 60, false, 2}, {"top border", 90, 60, true, 2},
                           {"menu bar", 40, 36, true, 2},     {"push button", 100, 21, false, 5},
                           {"scroll glyphs", 368, 16, false, 23}, {"tab pane", 30, 30, false, 1},
                           {"no image", 0, 0, false, 4}};
    const TMargins hostile[] = {{-1, -1, -1, -1}, {0, 0, 0, 0}, {kMin, 7, kMax, -7},
                                {1000, 1000, 1000, 1000}, {kMax, kMax, kMax, kMax}, {kMin, kMin, kMin, kMin}};
    const int sizes[] = {0, 1, 7, 50, 4000};
    auto inside = [](const TRectI& piece, const TRectI& bounds) {
        return piece.Width() <= 0 || piece.Height() <= 0
            || (piece.Left >= bounds.Left && piece.Top >= bounds.Top && piece.Right <= bounds.Right
                && piece.Bottom <= bounds.Bottom);
    };
    for (const TKind& kind : kinds) {
        for (int frameNumber = 1; frameNumber <= kind.Count; ++frameNumber) {
            const TRectI frame = FrameOf(kind.Width, kind.Height, kind.Stacked, kind.Count, frameNumber);
            for (const TMargins& margins : hostile) {
                const TMargins clamped = ClampMargins(margins, frame);
                EXPECT_TRUE(clamped.Left >= 0 && clamped.Right >= 0 && clamped.Left <= frame.Width()
                            && clamped.Right <= frame.Width() && clamped.Top >= 0 && clamped.Bottom >= 0
                            && clamped.Top <= frame.Height() && clamped.Bottom <= frame.Height())
                    << kind.Name;
                for (int width : sizes) {
                    for (int height : sizes) {
                        SCOPED_TRACE(testing::Message() << kind.Name << " frame " << frameNumber << " target "
                                                        << width << " x " << height);
                        const TRectI target{0, 0, width, height};
                        const std::vector<TPiece> nine = NineSlicePieces(width, height, frame, margins, true);
                        for (const TPiece& piece : nine)
                            ASSERT_TRUE(inside(piece.Source, frame) && inside(piece.Target, target));
                        // Caps of a strip may pass a narrow target; GDI clips them.
                        const std::vector<TPiece> strip = TiledStripPieces(width, height, frame, margins);
                        const std::vector<TPiece> three = ThreePartPieces(target, frame, margins);
                        for (const std::vector<TPiece>* plan : {&strip, &three})
                            for (const TPiece& piece : *plan)
                                ASSERT_TRUE(inside(piece.Source, frame));
                    }
                }
            }
        }
    }
}

TEST(ImageGeometry, TilesCoverTargetAndMayPassIt)
{
    const std::vector<TRectI> tiles = TileTargets({0, 0, 25, 5}, 10, 5);
    EXPECT_EQ(tiles, (std::vector<TRectI>{{0, 0, 10, 5}, {10, 0, 20, 5}, {20, 0, 30, 5}}));
    EXPECT_EQ(TileTargets({0, 0, 10, 10}, 3, 4).size(), 4u * 3u);
    EXPECT_TRUE(TileTargets({0, 0, 25, 5}, 0, 5).empty());
    EXPECT_TRUE(TileTargets({0, 0, 25, 5}, 10, -1).empty());
}

} // namespace
