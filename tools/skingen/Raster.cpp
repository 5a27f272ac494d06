#include "Raster.h"

#include <algorithm>
#include <stdexcept>

namespace skingen {

namespace {

std::uint8_t Channel(int value)
{
    return static_cast<std::uint8_t>(std::clamp(value, 0, 255));
}

int MixChannel(int a, int b, int percentA)
{
    return (a * percentA + b * (100 - percentA) + 50) / 100;
}

} // namespace

TRgb Mix(TRgb a, TRgb b, int percentA)
{
    return {Channel(MixChannel(a.R, b.R, percentA)), Channel(MixChannel(a.G, b.G, percentA)),
            Channel(MixChannel(a.B, b.B, percentA))};
}

TRgb Lerp(TRgb a, TRgb b, int step, int count)
{
    if (count <= 1)
        return a;
    const int span = count - 1;
    auto channel = [&](int from, int to) { return Channel(from + ((to - from) * step * 2 + span) / (2 * span)); };
    return {channel(a.R, b.R), channel(a.G, b.G), channel(a.B, b.B)};
}

TRaster::TRaster(int width, int height, TRgb fill)
    : FWidth(width), FHeight(height), FPixels(static_cast<std::size_t>(width) * height, fill)
{
    if (width < 0 || height < 0)
        throw std::invalid_argument("negative raster size");
}

void TRaster::Set(int x, int y, TRgb colour)
{
    if (Contains(x, y))
        FPixels[Index(x, y)] = colour;
}

void TRaster::FillRect(int x, int y, int width, int height, TRgb colour)
{
    for (int row = y; row < y + height; ++row)
        for (int column = x; column < x + width; ++column)
            Set(column, row, colour);
}

void TRaster::Blit(const TRaster& source, int x, int y)
{
    for (int row = 0; row < source.Height(); ++row)
        for (int column = 0; column < source.Width(); ++column)
            Set(x + column, y + row, source.At(column, row));
}

TRaster TRaster::Crop(int x, int y, int width, int height) const
{
    if (x < 0 || y < 0 || x + width > FWidth || y + height > FHeight)
        throw std::out_of_range("crop outside the raster");
    TRaster result(width, height);
    for (int row = 0; row < height; ++row)
        for (int column = 0; column < width; ++column)
            result.Set(column, row, At(x + column, y + row));
    return result;
}

TRaster TRaster::MirroredLeftRight() const
{
    TRaster result(FWidth, FHeight);
    for (int row = 0; row < FHeight; ++row)
        for (int column = 0; column < FWidth; ++column)
            result.Set(FWidth - 1 - column, row, At(column, row));
    return result;
}

TRaster TRaster::MirroredTopBottom() const
{
    TRaster result(FWidth, FHeight);
    for (int row = 0; row < FHeight; ++row)
        for (int column = 0; column < FWidth; ++column)
            result.Set(column, FHeight - 1 - row, At(column, row));
    return result;
}

TRaster TRaster::Transposed() const
{
    TRaster result(FHeight, FWidth);
    for (int row = 0; row < FHeight; ++row)
        for (int column = 0; column < FWidth; ++column)
            result.Set(row, column, At(column, row));
    return result;
}

TRaster JoinSideBySide(const std::vector<TRaster>& frames)
{
    if (frames.empty())
        return {};
    const int width = frames.front().Width();
    const int height = frames.front().Height();
    TRaster strip(width * static_cast<int>(frames.size()), height);
    for (std::size_t i = 0; i < frames.size(); ++i) {
        if (frames[i].Width() != width || frames[i].Height() != height)
            throw std::invalid_argument("frames of a strip differ in size");
        strip.Blit(frames[i], width * static_cast<int>(i), 0);
    }
    return strip;
}

TRaster JoinStacked(const std::vector<TRaster>& frames)
{
    std::vector<TRaster> turned;
    for (const TRaster& frame : frames)
        turned.push_back(frame.Transposed());
    return JoinSideBySide(turned).Transposed();
}

TShape TShape::RoundRect(int width, int height, int radius, bool top, bool bottom)
{
    // A pixel of a corner square is inside when its centre lies within the
    // quarter circle; in doubled coordinates this stays in integers.
    auto outsideCorner = [radius](int dx, int dy) {
        const int cx = 2 * dx + 1 - 2 * radius;
        const int cy = 2 * dy + 1 - 2 * radius;
        return cx * cx + cy * cy > 4 * radius * radius + 2 * radius;
    };
    return FromMask(width, height, [=](int x, int y) {
        const bool left = x < radius;
        const bool right = x >= width - radius;
        const int dx = left ? x : width - 1 - x;
        if (top && y < radius && (left || right))
            return !outsideCorner(dx, y);
        if (bottom && y >= height - radius && (left || right))
            return !outsideCorner(dx, height - 1 - y);
        return true;
    });
}

TShape TShape::Circle(int diameter)
{
    return FromMask(diameter, diameter, [diameter](int x, int y) {
        const int cx = 2 * x + 1 - diameter;
        const int cy = 2 * y + 1 - diameter;
        return cx * cx + cy * cy <= diameter * diameter + diameter / 2;
    });
}

TShape TShape::FromMask(int width, int height, const std::function<bool(int, int)>& inside)
{
    TShape shape;
    shape.FWidth = width;
    shape.FHeight = height;
    shape.FDepth.assign(static_cast<std::size_t>(width) * height, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            shape.FDepth[static_cast<std::size_t>(y) * width + x] = inside(x, y) ? 1 : 0;
    shape.ComputeDepths();
    return shape;
}

void TShape::ComputeDepths()
{
    // Peel the shape ring by ring (4-neighbourhood), up to a depth that no
    // drawing uses: deeper pixels all count as the fill.
    constexpr int kMaxDepth = 8;
    auto depthAt = [this](int x, int y) {
        if (x < 0 || y < 0 || x >= FWidth || y >= FHeight)
            return 0;
        return FDepth[static_cast<std::size_t>(y) * FWidth + x];
    };
    for (int level = 1; level < kMaxDepth; ++level) {
        std::vector<int> next = FDepth;
        for (int y = 0; y < FHeight; ++y)
            for (int x = 0; x < FWidth; ++x) {
                if (depthAt(x, y) != level)
                    continue;
                const int lowest = std::min({depthAt(x - 1, y), depthAt(x + 1, y), depthAt(x, y - 1), depthAt(x, y + 1)});
                if (lowest >= level)
                    next[static_cast<std::size_t>(y) * FWidth + x] = level + 1;
            }
        FDepth = std::move(next);
    }
}

int TShape::Depth(int x, int y) const
{
    return FDepth[static_cast<std::size_t>(y) * FWidth + x];
}

int TShape::RowFromTop(int x, int y) const
{
    int first = 0;
    while (first < FHeight && Depth(x, first) == 0)
        ++first;
    return y - first + 1;
}

void TShape::Paint(TRaster& canvas, int left, int top,
                   const std::function<TRgb(int x, int y, int depth)>& paint) const
{
    for (int y = 0; y < FHeight; ++y)
        for (int x = 0; x < FWidth; ++x)
            if (const int depth = Depth(x, y); depth > 0)
                canvas.Set(left + x, top + y, paint(x, y, depth));
}

TGlyph::TGlyph(std::initializer_list<std::string_view> rows)
{
    FHeight = static_cast<int>(rows.size());
    for (std::string_view row : rows)
        FWidth = std::max(FWidth, static_cast<int>(row.size()));
    FInk.assign(static_cast<std::size_t>(FWidth) * FHeight, false);
    int y = 0;
    for (std::string_view row : rows) {
        for (std::size_t x = 0; x < row.size(); ++x)
            FInk[static_cast<std::size_t>(y) * FWidth + x] = row[x] == '#';
        ++y;
    }
}

TGlyph TGlyph::RotatedRight() const
{
    TGlyph result(FHeight, FWidth);
    for (int y = 0; y < FHeight; ++y)
        for (int x = 0; x < FWidth; ++x)
            result.FInk[static_cast<std::size_t>(x) * result.FWidth + (FHeight - 1 - y)] = Ink(x, y);
    return result;
}

TGlyph TGlyph::MirroredLeftRight() const
{
    TGlyph result(FWidth, FHeight);
    for (int y = 0; y < FHeight; ++y)
        for (int x = 0; x < FWidth; ++x)
            result.FInk[static_cast<std::size_t>(y) * FWidth + (FWidth - 1 - x)] = Ink(x, y);
    return result;
}

TGlyph TGlyph::MirroredTopBottom() const
{
    TGlyph result(FWidth, FHeight);
    for (int y = 0; y < FHeight; ++y)
        for (int x = 0; x < FWidth; ++x)
            result.FInk[static_cast<std::size_t>(FHeight - 1 - y) * FWidth + x] = Ink(x, y);
    return result;
}

void TGlyph::Stamp(TRaster& canvas, int left, int top, TRgb colour) const
{
    for (int y = 0; y < FHeight; ++y)
        for (int x = 0; x < FWidth; ++x)
            if (Ink(x, y))
                canvas.Set(left + x, top + y, colour);
}

void TGlyph::StampCentred(TRaster& canvas, int left, int top, int width, int height, TRgb colour) const
{
    Stamp(canvas, left + (width - FWidth) / 2, top + (height - FHeight) / 2, colour);
}

} // namespace skingen
