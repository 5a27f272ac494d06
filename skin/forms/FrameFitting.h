// The fitting of a skinned frame to its window: the border widths measured
// from the skin, the client area worked out inside them (WM_NCCALCSIZE), the
// window sized so that its client keeps the size it had under the system
// frame, reshaped when its size changes (WM_SIZE), and that client size
// given back when the skin goes.
#pragma once

#include "framework/Messages.h"
#include "skin/forms/FrameGeometry.h"

#include <windows.h>

#include <optional>

class TFramePainter;
class TFrameRegion;
class TWinSkinForm;

class TFrameFitting {
public:
    // The painter measures a dialog's caption text; the region is shaped
    // again for each new size.
    TFrameFitting(TWinSkinForm& frame, TFramePainter& painter, TFrameRegion& region)
        : FFrame(frame), FPainter(painter), FRegion(region)
    {
    }
    TFrameFitting(const TFrameFitting&) = delete;
    TFrameFitting& operator=(const TFrameFitting&) = delete;

    // The borders, caption and menu bar of the skin as the window's style
    // shows them.
    void Measure();
    const framegeo::TFrameMetrics& Metrics() const noexcept { return FMetrics; }
    // The client rectangle the window has under the system frame, before
    // the skinned frame is fitted around it.
    void KeepClientRect();
    // Sizes the window so that the kept client fits inside the skinned
    // frame (keepClient: the client as it is now); a dialog also grows until
    // its caption text fits.
    void FitToClient(bool keepClient);
    // WM_NCCALCSIZE: the client inside the skinned borders.
    void NcCalcSize(TMessage& message);
    // WM_SIZE: the window state it reports, and the region for the new size.
    void Sized(TMessage& message);
    // The system frame is back: the window is sized so that its client is
    // as large as client, the one it had under the skinned frame.
    void GiveBackClientSize(const RECT& client);

private:
    TWinSkinForm& FFrame;
    TFramePainter& FPainter;
    TFrameRegion& FRegion;
    framegeo::TFrameMetrics FMetrics;
    // The metrics the window's size was last fitted to.
    std::optional<framegeo::TFrameMetrics> FFittedMetrics;
    RECT FKeptClientRect{};
};
