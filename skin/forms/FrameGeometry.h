// Where the parts of a skinned window frame go: the frame metrics taken from
// the skin's border images, the rectangles of the four border pieces, the
// client area inside them, the caption text block and the non-client hit
// test. Portable, so that the arithmetic is tested natively; the Win32 side
// (WinSkinForm, FramePaint) only paints and answers messages with it.
// Window coordinates have their origin at the window's top-left corner.
#pragma once

#include "skin/data/ImageGeometry.h"

namespace framegeo {

using imgcore::TRectI;

// Width, height and frame count of one border image.
struct TImageStrip {
    int Width = 0;
    int Height = 0;
    int FrameCount = 1;
};

struct TFrameMetrics {
    int LeftWidth = 0;
    int TopHeight = 0;
    int RightWidth = 0;
    int BottomHeight = 0;
    int MenuHeight = 0;
    friend bool operator==(const TFrameMetrics&, const TFrameMetrics&) = default;
};

// The frames of Top and Bottom are stacked, those of Left and Right side by
// side, so one frame of each is the border's thickness. A window without a
// caption gets no skinned frame at all.
TFrameMetrics MeasureFrame(const TImageStrip& left, const TImageStrip& top, const TImageStrip& right,
                           const TImageStrip& bottom, bool noCaption) noexcept;

enum TBorderPiece { bpLeft = 1, bpRight = 2, bpTop = 3, bpBottom = 4 };

// The rectangle of one piece in a width x height window: the side borders
// span the full height, the top and bottom span between them.
TRectI BorderPieceRect(TBorderPiece piece, const TFrameMetrics& metrics, int width, int height) noexcept;

// The client rectangle inside a window rectangle (screen or window
// coordinates alike), menu band included in the non-client part.
TRectI ClientInside(const TRectI& window, const TFrameMetrics& metrics) noexcept;

// The outer size that gives a client of the given size.
struct TSize {
    int Width = 0;
    int Height = 0;
    friend bool operator==(const TSize&, const TSize&) = default;
};
TSize OuterSize(TSize client, const TFrameMetrics& metrics) noexcept;

// What places the caption text: the Title object's numbers and the window's.
struct TCaptionLayout {
    int AreaWidth = 0;     // caption area width (the window width)
    int CaptionHeight = 0; // TopHeight
    int TextWidth = 0;     // measured text
    int TextHeight = 0;
    int TextShift = 0;
    int TextShiftVert = 0;
    int TextRightClip = 0;
    int TextAlignment = 0; // 0 left, 1 centre, 2 right
    int BackLeft = 0;      // TXTBackleft
    int BackRight = 0;     // TXTBackRight
    int RightButtonsExtent = 0;
    bool RightToLeft = false;
    bool Popup = false;      // WS_POPUP windows clip against the caption buttons
    bool DialogFrame = false; // dialogs show no icon: left-aligned text moves left
    int PixelsPerInch = 96;   // the density the skin was built for; the gaps scale with it
};

struct TCaptionPlacement {
    TRectI Block; // TextBackRect: the text with its background margins, full caption height
    TRectI Text;  // TextRect: where the text itself is drawn
};

TCaptionPlacement PlaceCaptionText(const TCaptionLayout& layout) noexcept;

// Hit-test results used by the frame (the values of the platform's HT codes).
enum THitArea { haNowhere = 0, haClient = 1, haCaption = 2, haMenu = 5 };

// The frame's answer for a point (window coordinates) whose default answer
// was nowhere or caption: below the top 3 pixels it is the caption, and the
// menu band under the caption when there is one (only the band: the bottom
// border is no menu). The 3 pixels grow with the skin's density.
THitArea FrameHitTest(int y, const TFrameMetrics& metrics, THitArea defaultAnswer, int pixelsPerInch = 96) noexcept;

} // namespace framegeo
