// The window region of a skinned frame: where the skin's borders are
// see-through (magenta in a border marked Trans) the window is cut away.
// It also keeps the region the window had before, for Unskin to give back.
#pragma once

#include "framework/GdiObjects.h"

#include <windows.h>

class TFramePainter;
class TWinSkinForm;

class TFrameRegion {
public:
    explicit TFrameRegion(TWinSkinForm& frame) : FFrame(frame) {}
    TFrameRegion(const TFrameRegion&) = delete;
    TFrameRegion& operator=(const TFrameRegion&) = delete;

    // Keeps the window's own region (if any) before the skin shapes it.
    void RememberOriginal();
    // Shapes the window for its size, from the painter's border pieces;
    // nothing when the size is the one shaped last (unless refreshing or an
    // MDI child).
    void Build(TFramePainter& painter);
    // Skin off: the window gets back the region it had, or none.
    void GiveBack();
    bool Made() const noexcept { return FMade; }

private:
    HRGN Shape(TFramePainter& painter, int width, int height) const;
    bool HasWindowRegion(HRGN region) const;

    TWinSkinForm& FFrame;
    bool FMade = false;
    int FWidth = 0;
    int FHeight = 0;
    gdi::Region FOriginal;
    bool FHadOriginal = false;
};
