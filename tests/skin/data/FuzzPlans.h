// Shared by the skin fuzzers: the margins a skin description gives reach the
// drawing planners, which must keep every piece inside its frame whatever
// the text says.
#pragma once

#include "skin/data/WinSkinIni.h"

#include <string>

// Plans nine-slice, tiled-strip and three-part drawing of every frame of an
// image of the given size with each set of margin keys the loader reads
// from the section, side by side and stacked; aborts when a piece would read
// outside its frame or a nine-slice piece would write outside its target.
void PlanSectionDrawing(const TQuickIni& ini, const std::string& section, int imageWidth, int imageHeight);
