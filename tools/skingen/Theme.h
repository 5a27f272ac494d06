// The colours of one generated skin. Both shipped skins share every shape and
// size; only these colours and a few switches differ.
#pragma once

#include "Raster.h"

#include <string>

namespace skingen {

// Colours of one raised control face in one state.
struct TFace {
    TRgb Edge;
    TRgb Highlight;
    TRgb Top;
    TRgb Bottom;
    TRgb Ink; // glyphs and marks drawn on the face
};

struct TTheme {
    std::string SkinName;
    std::string FileStem;

    // Window frame, active and inactive.
    TRgb Outline, OutlineInactive;
    TRgb Bevel, BevelInactive;
    TRgb CaptionTop, CaptionBottom;
    TRgb CaptionTopInactive, CaptionBottomInactive;
    TRgb Border, BorderInactive;
    TRgb InnerEdge, InnerEdgeInactive;
    TRgb Accent, AccentInactive;
    TRgb CaptionText, CaptionTextInactive;
    TRgb LabelDarken; // caption text background: mixed into the caption gradient

    // Caption buttons.
    TFace CaptionNormal, CaptionHot, CaptionPressed, CaptionDisabled;
    TFace CloseHot, ClosePressed;

    // Controls.
    TFace Normal, Hot, Pressed, Disabled, Focused;
    TRgb Face;       // window background
    TRgb Text;       // text on controls
    TRgb WindowText; // header text
    TRgb Well, WellEdge, WellShade;
    TRgb Selection, SelectionText;
    TRgb Shadow, DarkShadow, Hilight, Light;
    TRgb MenuFace, MenuEdge, MenuText;
    TRgb MenuBarTop, MenuBarBottom, MenuBarText;
    TRgb StatusText;
    TRgb ScrollbarColour;
    TRgb Tab, TabSelectedTop, TabSelectedBottom;

    // Switches that make the second skin exercise the other loading paths.
    bool ComposedCombo = false; // ships [SunkEdge]: the loader composes the combo face
    bool OwnTrack = false;      // ships [Track] and [TRACKVERT]
    bool ChunkProgress = false; // [Progress] Style 1 with a tiled chunk
};

const TTheme& SteelTheme();
const TTheme& LightTheme();

} // namespace skingen
