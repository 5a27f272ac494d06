// The few Chinese characters the button labels use, as coverage bitmaps.
#pragma once

#include <array>

namespace appimages {

inline constexpr int kGlyphSize = 12;

struct TGlyph {
    char32_t Character;
    std::array<const char*, kGlyphSize> Rows;
};

// The glyph of a label character, or null when the table lacks it.
const TGlyph* FindGlyph(char32_t character);

} // namespace appimages
