#include "Bmp.h"

#include <cstdint>

namespace skingen {

namespace {

constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 40;

void PutLE(std::string& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

int RowStride(int width, int bitsPerPixel)
{
    return ((width * bitsPerPixel + 31) / 32) * 4;
}

std::string Headers(const TRaster& image, int bitsPerPixel, int paletteEntries)
{
    const int pixelOffset = kFileHeaderSize + kInfoHeaderSize + 4 * paletteEntries;
    const int imageSize = RowStride(image.Width(), bitsPerPixel) * image.Height();
    std::string out;
    out += "BM";
    PutLE(out, static_cast<std::uint32_t>(pixelOffset + imageSize), 4);
    PutLE(out, 0, 4);
    PutLE(out, static_cast<std::uint32_t>(pixelOffset), 4);
    PutLE(out, kInfoHeaderSize, 4);
    PutLE(out, static_cast<std::uint32_t>(image.Width()), 4);
    PutLE(out, static_cast<std::uint32_t>(image.Height()), 4);
    PutLE(out, 1, 2);
    PutLE(out, static_cast<std::uint32_t>(bitsPerPixel), 2);
    PutLE(out, 0, 4); // no compression
    PutLE(out, static_cast<std::uint32_t>(imageSize), 4);
    PutLE(out, 2835, 4); // 72 dots per inch
    PutLE(out, 2835, 4);
    PutLE(out, static_cast<std::uint32_t>(paletteEntries), 4);
    PutLE(out, 0, 4);
    return out;
}

void PutPaletteEntry(std::string& out, TRgb colour)
{
    out.push_back(static_cast<char>(colour.B));
    out.push_back(static_cast<char>(colour.G));
    out.push_back(static_cast<char>(colour.R));
    out.push_back(0);
}

} // namespace

std::string EncodeBmp24(const TRaster& image)
{
    std::string out = Headers(image, 24, 0);
    const int stride = RowStride(image.Width(), 24);
    for (int y = image.Height() - 1; y >= 0; --y) {
        std::string row;
        for (int x = 0; x < image.Width(); ++x) {
            const TRgb pixel = image.At(x, y);
            row.push_back(static_cast<char>(pixel.B));
            row.push_back(static_cast<char>(pixel.G));
            row.push_back(static_cast<char>(pixel.R));
        }
        row.resize(static_cast<std::size_t>(stride), '\0');
        out += row;
    }
    return out;
}

std::string EncodeBmp1(const TRaster& image, TRgb ink)
{
    std::string out = Headers(image, 1, 2);
    PutPaletteEntry(out, ink);
    PutPaletteEntry(out, TRgb{255, 255, 255});
    const int stride = RowStride(image.Width(), 1);
    for (int y = image.Height() - 1; y >= 0; --y) {
        std::string row(static_cast<std::size_t>(stride), '\0');
        for (int x = 0; x < image.Width(); ++x)
            if (image.At(x, y) != ink)
                row[static_cast<std::size_t>(x / 8)] = static_cast<char>(row[static_cast<std::size_t>(x / 8)] | (0x80 >> (x % 8)));
        out += row;
    }
    return out;
}

} // namespace skingen
