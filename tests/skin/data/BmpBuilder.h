// Writes small BMP files for the decoder tests, so each test shows the
// header fields it lies about.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

namespace bmptest {

struct TBmpLayout {
    int Width = 1;
    int Height = 1; // negative writes the rows top-down
    int BitCount = 24;
    std::uint32_t Compression = 0;
    std::vector<std::uint32_t> Palette; // 0x00RRGGBB entries
    std::uint32_t ColoursUsed = 0;
    std::vector<std::uint32_t> Masks;   // red, green, blue, after a 40-byte header
    // Row-major pixel values, top row first: palette indices, or 0x00RRGGBB,
    // or raw 16-bit values for 16 bits per pixel.
    std::vector<std::uint32_t> Pixels;
};

inline void Put16(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value)
{
    out[at] = static_cast<std::uint8_t>(value);
    out[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

inline void Put32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value)
{
    Put16(out, at, value);
    Put16(out, at + 2, value >> 16);
}

inline std::size_t Stride(int width, int bitCount)
{
    return (static_cast<std::size_t>(width) * static_cast<std::size_t>(bitCount) + 31) / 32 * 4;
}

inline void PutPixel(std::vector<std::uint8_t>& out, std::size_t row, int x, int bitCount, std::uint32_t value)
{
    switch (bitCount) {
    case 1:
        out[row + static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>((value & 1) << (7 - x % 8));
        break;
    case 4:
        out[row + static_cast<std::size_t>(x / 2)] |= static_cast<std::uint8_t>((value & 15) << (x % 2 ? 0 : 4));
        break;
    case 8:
        out[row + static_cast<std::size_t>(x)] = static_cast<std::uint8_t>(value);
        break;
    case 16:
        Put16(out, row + static_cast<std::size_t>(x) * 2, value);
        break;
    default: {
        const std::size_t at = row + static_cast<std::size_t>(x) * static_cast<std::size_t>(bitCount / 8);
        out[at] = static_cast<std::uint8_t>(value);
        out[at + 1] = static_cast<std::uint8_t>(value >> 8);
        out[at + 2] = static_cast<std::uint8_t>(value >> 16);
    }
    }
}

inline std::vector<std::uint8_t> MakeBmp(const TBmpLayout& layout)
{
    const int rows = layout.Height < 0 ? -layout.Height : layout.Height;
    const std::size_t stride = Stride(layout.Width, layout.BitCount);
    const std::size_t paletteAt = 54 + layout.Masks.size() * 4;
    const std::size_t pixelsAt = paletteAt + layout.Palette.size() * 4;
    std::vector<std::uint8_t> out(pixelsAt + stride * static_cast<std::size_t>(rows), 0);
    out[0] = 'B';
    out[1] = 'M';
    Put32(out, 2, static_cast<std::uint32_t>(out.size()));
    Put32(out, 10, static_cast<std::uint32_t>(pixelsAt));
    Put32(out, 14, 40);
    Put32(out, 18, static_cast<std::uint32_t>(layout.Width));
    Put32(out, 22, static_cast<std::uint32_t>(layout.Height));
    Put16(out, 26, 1);
    Put16(out, 28, static_cast<std::uint32_t>(layout.BitCount));
    Put32(out, 30, layout.Compression);
    Put32(out, 46, layout.ColoursUsed);
    for (std::size_t i = 0; i < layout.Masks.size(); ++i)
        Put32(out, 54 + i * 4, layout.Masks[i]);
    for (std::size_t i = 0; i < layout.Palette.size(); ++i)
        Put32(out, paletteAt + i * 4, layout.Palette[i]);
    for (int y = 0; y < rows; ++y) {
        const int fileRow = layout.Height < 0 ? y : rows - 1 - y;
        const std::size_t row = pixelsAt + stride * static_cast<std::size_t>(fileRow);
        for (int x = 0; x < layout.Width; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * static_cast<std::size_t>(layout.Width)
                + static_cast<std::size_t>(x);
            if (i < layout.Pixels.size())
                PutPixel(out, row, x, layout.BitCount, layout.Pixels[i]);
        }
    }
    return out;
}

} // namespace bmptest
