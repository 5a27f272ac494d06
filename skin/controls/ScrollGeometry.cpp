#include "ScrollGeometry.h"

#include <algorithm>
#include <cstdint>
#include <limits>

int MulDivRound(int a, int b, int c) noexcept
{
    if (c == 0)
        return -1;
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    const bool negative = (product < 0) != (c < 0);
    const std::int64_t magnitude = product < 0 ? -product : product;
    const std::int64_t divisor = c < 0 ? -static_cast<std::int64_t>(c) : c;
    std::int64_t result = (magnitude + divisor / 2) / divisor;
    if (negative)
        result = -result;
    if (result > std::numeric_limits<int>::max() || result < std::numeric_limits<int>::min())
        return -1;
    return static_cast<int>(result);
}

TThumbExtent ControlThumb(int length, int buttonSize, const TScrollRange& range) noexcept
{
    const int span = range.Max == range.Min ? kEmptyRange : range.Max - range.Min;
    const int track = length - 2 * buttonSize;
    const int offset = range.Position - range.Min;
    if (range.Page == 0) {
        const int start = offset == 0 ? buttonSize : buttonSize + MulDivRound(length - 3 * buttonSize, offset, span);
        return {start, start + buttonSize};
    }
    const int thumb = MulDivRound(track, range.Page - 1, span);
    if (thumb > kMinThumb - 1) {
        const int start = offset == 0 ? buttonSize : buttonSize + MulDivRound(track, offset, span);
        return {start, start + thumb};
    }
    const int start = offset == 0 ? buttonSize : buttonSize + MulDivRound(track - kMinThumb, offset, span);
    return {start, start + kMinThumb};
}

TScrollPart ScrollHitTest(int along, int length, int buttonSize, TThumbExtent thumb) noexcept
{
    if (along < buttonSize)
        return spFirstArrow;
    if (along < thumb.Start)
        return spPageBefore;
    if (along < thumb.End)
        return spThumb;
    if (along < length - buttonSize)
        return spPageAfter;
    return spSecondArrow;
}

int ArrowLength(int length, int buttonSize) noexcept
{
    return length < 2 * buttonSize ? length / 2 : buttonSize;
}

int BarThickness(int glyphSize, int buttonSize) noexcept
{
    return glyphSize - buttonSize > 2 || buttonSize - glyphSize > 2 ? buttonSize : glyphSize;
}

TThumbExtent DragThumb(int startAtPress, int cursorDelta, int length, int buttonSize, int thumbLength) noexcept
{
    const int highest = std::max(buttonSize, length - buttonSize - thumbLength);
    const int start = std::clamp(startAtPress + cursorDelta, buttonSize, highest);
    return {start, start + thumbLength};
}

int TrackedPosition(int offset, int trackLength, int thumbLength, const TScrollRange& range) noexcept
{
    const int free = trackLength - thumbLength;
    int position = range.Min;
    if (range.Page > 0) {
        if (offset > free)
            offset = free + 1;
        position = range.Min + MulDivRound(offset, range.Max - range.Min - range.Page, std::max(1, free));
        if (position >= range.Max - range.Page)
            position = range.Max - range.Page + 1;
    } else {
        position = range.Min + MulDivRound(std::min(offset, free), range.Max - range.Min, std::max(1, trackLength));
        position = std::min(position, range.Max);
    }
    return std::max(position, range.Min);
}
