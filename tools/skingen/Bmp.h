// Windows BMP files written byte for byte, so the generator needs no
// graphics library and gives the same bytes on every platform.
#pragma once

#include "Raster.h"

#include <string>

namespace skingen {

// 24 bits per pixel, bottom-up rows padded to four bytes.
std::string EncodeBmp24(const TRaster& image);

// One bit per pixel with a two-entry palette: pixels equal to `ink` get index 0
// (the palette's first colour), every other pixel index 1 (white).
std::string EncodeBmp1(const TRaster& image, TRgb ink);

} // namespace skingen
