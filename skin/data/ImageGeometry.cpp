#include "ImageGeometry.h"

#include <algorithm>

namespace imgcore {

TMargins ClampMargins(TMargins margins, const TRectI& frame) noexcept
{
    const int width = std::max(frame.Width(), 0);
    const int height = std::max(frame.Height(), 0);
    return {std::clamp(margins.Left, 0, width), std::clamp(margins.Top, 0, height),
            std::clamp(margins.Right, 0, width), std::clamp(margins.Bottom, 0, height)};
}

TRectI FrameOf(int stripWidth, int stripHeight, bool stacked, int count, int frame) noexcept
{
    count = std::max(count, 1);
    if (stacked) {
        const int height = stripHeight / count;
        const int top = (frame - 1) * height;
        return {0, top, stripWidth, top + height};
    }
    const int width = stripWidth / count;
    const int left = (frame - 1) * width;
    return {left, 0, left + width, stripHeight};
}

std::vector<TPiece> NineSlicePieces(int width, int height, const TRectI& frame, TMargins margins,
                                    bool tileCentre)
{
    margins = ClampMargins(margins, frame);
    if (width < margins.Left + margins.Right)
        margins.Left = margins.Right = 0;
    if (height < margins.Top + margins.Bottom)
        margins.Top = margins.Bottom = 0;
    const int l = margins.Left, t = margins.Top, r = margins.Right, b = margins.Bottom;
    const int W = width, H = height;
    const int fx = frame.Left, fy = frame.Top, fr = frame.Right, fb = frame.Bottom;

    std::vector<TPiece> pieces;
    auto add = [&](bool wanted, TRectI target, TRectI source, bool tile = false) {
        if (wanted)
            pieces.push_back({target, source, tile});
    };
    add(l > 0 && t > 0, {0, 0, l, t}, {fx, fy, fx + l, fy + t});
    add(l > 0 && b > 0, {0, H - b, l, H}, {fx, fb - b, fx + l, fb});
    add(r > 0 && t > 0, {W - r, 0, W, t}, {fr - r, fy, fr, fy + t});
    add(l > 0, {0, t, l, H - b}, {fx, fy + t, fx + l, fb - b});
    add(t > 0, {l, 0, W - r, t}, {fx + l, fy, fr - r, fy + t});
    add(true, {l, t, W - r, H - b}, {fx + l, fy + t, fr - r, fb - b}, tileCentre);
    add(r > 0 && b > 0, {W - r, H - b, W, H}, {fr - r, fb - b, fr, fb});
    add(r > 0, {W - r, t, W, H - b}, {fr - r, fy + t, fr, fb - b});
    add(b > 0, {l, H - b, W - r, H}, {fx + l, fb - b, fr - r, fb});
    return pieces;
}

std::vector<TPiece> TiledStripPieces(int width, int height, const TRectI& frame, TMargins margins)
{
    margins = ClampMargins(margins, frame);
    const int l = margins.Left, r = margins.Right;
    const int fx = frame.Left, fy = frame.Top, fr = frame.Right, fb = frame.Bottom;
    const int middle = frame.Width() - l - r;

    std::vector<TPiece> pieces;
    pieces.push_back({{0, 0, l, height}, {fx, fy, fx + l, fb}});
    if (middle > 0) {
        for (int x = l; x < width - r; x += middle)
            pieces.push_back({{x, 0, x + middle, height}, {fx + l, fy, fx + l + middle, fb}});
    }
    pieces.push_back({{width - r, 0, width, height}, {fr - r, fy, fr, fb}});
    return pieces;
}

std::vector<TPiece> ThreePartPieces(const TRectI& target, const TRectI& frame, TMargins margins)
{
    margins = ClampMargins(margins, frame);
    if (frame.Width() > target.Width())
        return {{target, frame}};
    const int l = margins.Left, r = margins.Right;
    const TRectI& t = target;
    const TRectI& f = frame;
    return {
        {{t.Left, t.Top, t.Left + l, t.Bottom}, {f.Left, f.Top, f.Left + l, f.Bottom}},
        {{t.Left + l, t.Top, t.Right - r, t.Bottom}, {f.Left + l, f.Top, f.Right - r, f.Bottom}},
        {{t.Right - r, t.Top, t.Right, t.Bottom}, {f.Right - r, f.Top, f.Right, f.Bottom}},
    };
}

std::vector<TRectI> TileTargets(const TRectI& target, int tileWidth, int tileHeight)
{
    std::vector<TRectI> tiles;
    if (tileWidth <= 0 || tileHeight <= 0)
        return tiles;
    for (int x = target.Left; x < target.Right; x += tileWidth) {
        for (int y = target.Top; y < target.Bottom; y += tileHeight)
            tiles.push_back({x, y, x + tileWidth, y + tileHeight});
    }
    return tiles;
}

} // namespace imgcore
