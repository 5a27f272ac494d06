#include "base/GlyphLayout.h"

#include <gtest/gtest.h>

using namespace glyphlayout;

namespace {

// A face 100 x 30, a glyph 16 x 16, a caption 40 x 12: across the face the
// glyph stands at (30 - 16 + 1) / 2 = 7, the caption at 9.
TEST(GlyphLayout, PartsGoWhereMarginSpacingAndSideSay)
{
    struct TCase {
        const char* What;
        TSide Side;
        int Margin;
        int Spacing;
        int ExtraMargin;
        TExtent Text;
        TBox Glyph;
        TBox Caption;
    };
    const TExtent text{40, 12};
    const TCase cases[] = {
        {"centred pair", TSide::Left, -1, 4, 0, text, {20, 7, 36, 23}, {40, 9, 80, 21}},
        {"centred pair, one further in", TSide::Left, -1, 4, 1, text, {21, 7, 37, 23}, {41, 9, 81, 21}},
        {"all gaps alike", TSide::Left, -1, -1, 1, text, {14, 7, 30, 23}, {44, 9, 84, 21}},
        {"margin given, spacing shares the rest", TSide::Left, 5, -1, 0, text, {5, 7, 21, 23}, {40, 9, 80, 21}},
        {"glyph on the right", TSide::Right, 5, 4, 0, text, {79, 7, 95, 23}, {35, 9, 75, 21}},
        {"glyph at the bottom", TSide::Bottom, 1, 0, 0, text, {42, 13, 58, 29}, {30, 1, 70, 13}},
        {"no caption: no spacing", TSide::Left, -1, 4, 0, {0, 0}, {42, 7, 58, 23}, {58, 15, 58, 15}},
    };
    for (const TCase& c : cases) {
        const TPlaces places = PlaceGlyphAndText({100, 30}, {16, 16}, c.Text, c.Side, c.Margin, c.Spacing, c.ExtraMargin);
        EXPECT_EQ(places.Glyph, c.Glyph) << c.What;
        EXPECT_EQ(places.Text, c.Caption) << c.What;
    }
}

} // namespace
