#include "Canvas.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace appimages {

namespace {

constexpr int kSamples = 4;
constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;

void Put16(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

std::uint8_t Mix(std::uint8_t from, std::uint8_t to, double alpha)
{
    return static_cast<std::uint8_t>(std::lround(from + (to - from) * alpha));
}

} // namespace

TCanvas::TCanvas(int width, int height)
    : FWidth(width), FHeight(height), FPixels(static_cast<std::size_t>(width) * height)
{
    if (width <= 0 || height <= 0)
        throw std::invalid_argument("canvas size must be positive");
}

std::size_t TCanvas::Index(int x, int y) const
{
    if (x < 0 || y < 0 || x >= FWidth || y >= FHeight)
        throw std::out_of_range("pixel outside the canvas");
    return static_cast<std::size_t>(y) * FWidth + x;
}

void TCanvas::SetPixel(int x, int y, TRgb colour)
{
    FPixels[Index(x, y)] = colour;
}

void TCanvas::Blend(int x, int y, TRgb colour, double alpha)
{
    alpha = std::clamp(alpha, 0.0, 1.0);
    TRgb& pixel = FPixels[Index(x, y)];
    pixel = {Mix(pixel.R, colour.R, alpha), Mix(pixel.G, colour.G, alpha),
             Mix(pixel.B, colour.B, alpha)};
}

void TCanvas::Fill(const TShape& shape, TRgb colour)
{
    for (int y = 0; y < FHeight; ++y) {
        for (int x = 0; x < FWidth; ++x) {
            int inside = 0;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    if (shape(x + (sx + 0.5) / kSamples, y + (sy + 0.5) / kSamples))
                        ++inside;
                }
            }
            if (inside > 0)
                Blend(x, y, colour, static_cast<double>(inside) / (kSamples * kSamples));
        }
    }
}

std::vector<std::uint8_t> TCanvas::BitmapFile() const
{
    const std::uint32_t rowSize = (static_cast<std::uint32_t>(FWidth) * 3 + 3) & ~3u;
    const std::uint32_t imageSize = rowSize * static_cast<std::uint32_t>(FHeight);
    const std::uint32_t offset = kFileHeaderSize + kInfoHeaderSize;
    std::vector<std::uint8_t> out;
    out.reserve(offset + imageSize);
    out.push_back('B');
    out.push_back('M');
    Put32(out, offset + imageSize);
    Put32(out, 0);
    Put32(out, offset);
    Put32(out, kInfoHeaderSize);
    Put32(out, static_cast<std::uint32_t>(FWidth));
    Put32(out, static_cast<std::uint32_t>(FHeight));
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, 0);
    Put32(out, imageSize);
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);
    for (int y = FHeight - 1; y >= 0; --y) {
        for (int x = 0; x < FWidth; ++x) {
            const TRgb pixel = Pixel(x, y);
            out.push_back(pixel.B);
            out.push_back(pixel.G);
            out.push_back(pixel.R);
        }
        for (std::uint32_t pad = static_cast<std::uint32_t>(FWidth) * 3; pad < rowSize; ++pad)
            out.push_back(0);
    }
    return out;
}

TShape Disc(double cx, double cy, double radius)
{
    return [=](double x, double y) { return std::hypot(x - cx, y - cy) <= radius; };
}

TShape Ring(double cx, double cy, double radius, double width)
{
    return [=](double x, double y) {
        const double distance = std::hypot(x - cx, y - cy);
        return distance <= radius && distance >= radius - width;
    };
}

TShape Box(double left, double top, double right, double bottom)
{
    return [=](double x, double y) { return x >= left && x <= right && y >= top && y <= bottom; };
}

TShape RoundBox(double left, double top, double right, double bottom, double radius)
{
    return [=](double x, double y) {
        const double dx = std::max({left + radius - x, 0.0, x - (right - radius)});
        const double dy = std::max({top + radius - y, 0.0, y - (bottom - radius)});
        return x >= left && x <= right && y >= top && y <= bottom &&
               dx * dx + dy * dy <= radius * radius;
    };
}

TShape Segment(double x1, double y1, double x2, double y2, double width)
{
    return [=](double x, double y) {
        const double vx = x2 - x1;
        const double vy = y2 - y1;
        const double length2 = vx * vx + vy * vy;
        const double t =
            length2 > 0 ? std::clamp(((x - x1) * vx + (y - y1) * vy) / length2, 0.0, 1.0) : 0.0;
        return std::hypot(x - (x1 + t * vx), y - (y1 + t * vy)) <= width / 2;
    };
}

TShape Triangle(double x1, double y1, double x2, double y2, double x3, double y3)
{
    return [=](double x, double y) {
        const auto side = [&](double ax, double ay, double bx, double by) {
            return (bx - ax) * (y - ay) - (by - ay) * (x - ax);
        };
        const double a = side(x1, y1, x2, y2);
        const double b = side(x2, y2, x3, y3);
        const double c = side(x3, y3, x1, y1);
        return (a >= 0 && b >= 0 && c >= 0) || (a <= 0 && b <= 0 && c <= 0);
    };
}

TShape Minus(const TShape& shape, const TShape& hole)
{
    return [=](double x, double y) { return shape(x, y) && !hole(x, y); };
}

std::vector<std::uint8_t> IconFile(const std::vector<TIconImage>& images)
{
    constexpr std::uint32_t kDirectorySize = 6;
    constexpr std::uint32_t kEntrySize = 16;
    std::vector<std::vector<std::uint8_t>> bodies;
    for (const TIconImage& image : images) {
        const int width = image.Colour.Width();
        const int height = image.Colour.Height();
        const std::uint32_t maskRow = ((static_cast<std::uint32_t>(width) + 31) / 32) * 4;
        std::vector<std::uint8_t> body;
        // The height counts the colour rows and the mask rows.
        Put32(body, kInfoHeaderSize);
        Put32(body, static_cast<std::uint32_t>(width));
        Put32(body, static_cast<std::uint32_t>(height) * 2);
        Put16(body, 1);
        Put16(body, 32);
        for (int i = 0; i < 6; ++i)
            Put32(body, 0);
        for (int y = height - 1; y >= 0; --y) {
            for (int x = 0; x < width; ++x) {
                const TRgb pixel = image.Colour.Pixel(x, y);
                body.push_back(pixel.B);
                body.push_back(pixel.G);
                body.push_back(pixel.R);
                body.push_back(image.Alpha.Pixel(x, y).R);
            }
        }
        body.insert(body.end(), maskRow * static_cast<std::uint32_t>(height), 0);
        bodies.push_back(std::move(body));
    }
    std::vector<std::uint8_t> out;
    Put16(out, 0);
    Put16(out, 1);
    Put16(out, static_cast<std::uint16_t>(images.size()));
    std::uint32_t offset = kDirectorySize + kEntrySize * static_cast<std::uint32_t>(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        // 256 pixels is written as 0.
        out.push_back(static_cast<std::uint8_t>(images[i].Colour.Width()));
        out.push_back(static_cast<std::uint8_t>(images[i].Colour.Height()));
        out.push_back(0);
        out.push_back(0);
        Put16(out, 1);
        Put16(out, 32);
        Put32(out, static_cast<std::uint32_t>(bodies[i].size()));
        Put32(out, offset);
        offset += static_cast<std::uint32_t>(bodies[i].size());
    }
    for (const auto& body : bodies)
        out.insert(out.end(), body.begin(), body.end());
    return out;
}

} // namespace appimages
