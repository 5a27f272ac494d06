#include "FrameGeometry.h"

#include "skin/data/DpiScale.h"

#include <algorithm>

namespace framegeo {

namespace {

int FrameCount(const TImageStrip& strip) noexcept
{
    return std::max(1, strip.FrameCount);
}

} // namespace

TFrameMetrics MeasureFrame(const TImageStrip& left, const TImageStrip& top, const TImageStrip& right,
                           const TImageStrip& bottom, bool noCaption) noexcept
{
    if (noCaption)
        return {};
    TFrameMetrics metrics;
    metrics.TopHeight = top.Height / FrameCount(top);
    metrics.LeftWidth = left.Width / FrameCount(left);
    metrics.RightWidth = right.Width / FrameCount(right);
    metrics.BottomHeight = bottom.Height / FrameCount(bottom);
    return metrics;
}

TRectI BorderPieceRect(TBorderPiece piece, const TFrameMetrics& metrics, int width, int height) noexcept
{
    switch (piece) {
    case bpLeft:
        return {0, 0, metrics.LeftWidth, height};
    case bpRight:
        return {width - metrics.RightWidth, 0, width, height};
    case bpTop:
        return {metrics.LeftWidth, 0, width - metrics.RightWidth, metrics.TopHeight};
    case bpBottom:
        return {metrics.LeftWidth, height - metrics.BottomHeight, width - metrics.RightWidth, height};
    }
    return {};
}

TRectI ClientInside(const TRectI& window, const TFrameMetrics& metrics) noexcept
{
    return {window.Left + metrics.LeftWidth, window.Top + metrics.TopHeight + metrics.MenuHeight,
            window.Right - metrics.RightWidth, window.Bottom - metrics.BottomHeight};
}

TSize OuterSize(TSize client, const TFrameMetrics& metrics) noexcept
{
    return {client.Width + metrics.LeftWidth + metrics.RightWidth,
            client.Height + metrics.TopHeight + metrics.BottomHeight + metrics.MenuHeight};
}

TCaptionPlacement PlaceCaptionText(const TCaptionLayout& layout) noexcept
{
    const int blockWidth = layout.TextWidth + layout.BackLeft + layout.BackRight;
    const int area = layout.AreaWidth;
    int x = 0;
    if (!layout.RightToLeft) {
        switch (layout.TextAlignment) {
        case 0: x = layout.TextShift; break;
        case 1: x = (area - blockWidth) / 2; break;
        case 2: x = area - layout.TextRightClip - blockWidth; break;
        default: break;
        }
    } else {
        switch (layout.TextAlignment) {
        case 0: x = area - layout.RightButtonsExtent - blockWidth; break;
        case 1: x = (area - layout.RightButtonsExtent - blockWidth) / 2; break;
        case 2: x = layout.TextShift; break;
        default: break;
        }
        if (x < 1)
            x = layout.TextShift;
    }
    const int y = (layout.CaptionHeight - layout.TextHeight) / 2 + layout.TextShiftVert / 2;
    const auto scaled = [&](int value) { return imgcore::ScaleForDpi(value, layout.PixelsPerInch); };

    int right = x + blockWidth;
    if (layout.RightToLeft) {
        x += scaled(10);
        right += scaled(10);
    } else if (layout.Popup) {
        const int limit = area - layout.RightButtonsExtent - scaled(5);
        if (layout.RightButtonsExtent > scaled(5) && right > limit)
            right = limit;
    } else {
        right = std::min(right, area - layout.TextRightClip);
    }
    if (layout.DialogFrame && layout.TextAlignment == 0) {
        x -= scaled(16);
        right -= scaled(16);
    }

    TCaptionPlacement placement;
    placement.Block = {x, 0, right, layout.CaptionHeight};
    placement.Text = {x + layout.BackLeft, y, right - layout.BackRight, y + layout.TextHeight};
    return placement;
}

THitArea FrameHitTest(int y, const TFrameMetrics& metrics, THitArea defaultAnswer, int pixelsPerInch) noexcept
{
    if (defaultAnswer != haNowhere && defaultAnswer != haCaption)
        return defaultAnswer;
    THitArea answer = defaultAnswer;
    if (y > imgcore::ScaleForDpi(3, pixelsPerInch))
        answer = haCaption;
    if (metrics.MenuHeight > 0 && y > metrics.TopHeight && y <= metrics.TopHeight + metrics.MenuHeight)
        answer = haMenu;
    return answer;
}

} // namespace framegeo
