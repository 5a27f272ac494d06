// Shared by the skin fuzzers: the margins a skin description gives reach the
// drawing planners, which must keep every piece inside its frame whatever
// the text says.
#pragma once

#include "skin/data/WinSkinIni.h"

#include <cstddef>
#include <cstdint>
#include <string>

// Plans nine-slice, tiled-strip and three-part drawing of every frame of an
// image of the given size with each set of margin keys the loader reads
// from the section, side by side and stacked; aborts when a piece would read
// outside its frame or a nine-slice piece would write outside its target.
void PlanSectionDrawing(const TQuickIni& ini, const std::string& section, int imageWidth, int imageHeight);

// The unpacked size a skin file declares in its first 4 bytes (little-endian;
// missing bytes count as 0). The fuzzers skip large declared sizes, which
// only spend the run decoding noise.
std::uint32_t DeclaredSkinSize(const std::uint8_t* data, std::size_t size);
