// Puts a generated skin together: every bitmap with the skin description
// that names them, as files ready for packing.
#pragma once

#include "Theme.h"

#include <string>
#include <vector>

namespace skingen {

struct TSkinFile {
    std::string Name;  // file name inside the skin
    std::string Bytes; // file contents
};

// Bitmaps first, then the description "skin.ini"; the same theme always
// gives the same bytes.
std::vector<TSkinFile> BuildSkin(const TTheme& theme);

// The program's own bitmap resources: LACQUERMENU, TRACK and TRACKVERT.
std::vector<TSkinFile> BuildResources();

} // namespace skingen
