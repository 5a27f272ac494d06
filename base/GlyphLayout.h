// Where a button's glyph and caption go inside its face, one rule for the
// framework's picture buttons and for the skin's: along the layout axis the
// margin, the glyph, the spacing and the caption (the other way round when
// the glyph is on the right or at the bottom), across it each part centred.
// Portable: the Win32 callers convert their rectangles at the edge.
#pragma once

namespace glyphlayout {

enum class TSide { Left, Right, Top, Bottom };

struct TExtent {
    int Width = 0;
    int Height = 0;
};

// Right and bottom outside, as GDI's rectangles.
struct TBox {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    friend constexpr bool operator==(const TBox&, const TBox&) = default;
};

struct TPlaces {
    TBox Glyph;
    TBox Text;
};

// The two parts inside a face of size face, with the origin at its corner.
// Margin -1 centres the pair; spacing -1 shares out evenly what is left
// (with margin -1 too: margin, spacing and the far gap alike). Spacing is 0
// when either part is empty. A centred pair with a given spacing moves
// extraMargin further from the glyph's side (a speed button's one pixel).
TPlaces PlaceGlyphAndText(TExtent face, TExtent glyph, TExtent text, TSide side, int margin, int spacing,
                          int extraMargin = 0) noexcept;

} // namespace glyphlayout
