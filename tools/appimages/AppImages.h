// The pictures of the main window's top strip: the background and the six
// picture buttons, drawn from code.
#pragma once

#include "Canvas.h"

#include <string>
#include <vector>

namespace appimages {

struct TPicture {
    std::string FileName;
    int Left;
    int Top;
    TCanvas Canvas;
};

inline constexpr int kStripWidth = 558;
inline constexpr int kStripHeight = 50;

// bg.bmp first, then the buttons, each with its place on the strip: a
// button's own background is the strip's pixels under it, so it sits on the
// strip without a seam.
std::vector<TPicture> BuildAppImages();

// The program's icon, vidkiln.ico: the Convert button's blue and orange on a
// rounded steel tile, in 16, 32 and 48 pixels.
std::vector<TIconImage> BuildAppIcon();

} // namespace appimages
