// The plain geometry types the controls' layout functions speak: rectangles
// as GDI has them (right and bottom outside), points and sizes. Portable, so
// the layouts build and are tested natively; the Win32 side converts at the
// edge (SkinControl.h).
#pragma once

#include "skin/data/ImageGeometry.h"

using TRectI = imgcore::TRectI;

struct TPointI {
    int X = 0;
    int Y = 0;
    friend constexpr bool operator==(const TPointI&, const TPointI&) = default;
};

struct TSizeI {
    int Width = 0;
    int Height = 0;
    friend constexpr bool operator==(const TSizeI&, const TSizeI&) = default;
};

// As PtInRect: the left and top edges inside, the right and bottom outside.
constexpr bool Contains(const TRectI& rect, TPointI point) noexcept
{
    return point.X >= rect.Left && point.X < rect.Right && point.Y >= rect.Top && point.Y < rect.Bottom;
}

constexpr TRectI Inflated(const TRectI& rect, int dx, int dy) noexcept
{
    return {rect.Left - dx, rect.Top - dy, rect.Right + dx, rect.Bottom + dy};
}

constexpr TRectI Offset(const TRectI& rect, int dx, int dy) noexcept
{
    return {rect.Left + dx, rect.Top + dy, rect.Right + dx, rect.Bottom + dy};
}

// As IntersectRect: the common part, or all zeros when there is none.
constexpr TRectI Intersection(const TRectI& a, const TRectI& b) noexcept
{
    const TRectI common{a.Left > b.Left ? a.Left : b.Left, a.Top > b.Top ? a.Top : b.Top,
                        a.Right < b.Right ? a.Right : b.Right, a.Bottom < b.Bottom ? a.Bottom : b.Bottom};
    if (common.Right <= common.Left || common.Bottom <= common.Top)
        return {};
    return common;
}
