// Decoding of BMP files. Skin files come from anyone, so every header field
// is checked against the bytes actually present before anything is read, and
// a file that is truncated or whose header lies is refused. Portable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace imgcore {

class EBmpFormat : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct TPaletteEntry {
    std::uint8_t Blue = 0;
    std::uint8_t Green = 0;
    std::uint8_t Red = 0;
    std::uint8_t Reserved = 0;
    friend bool operator==(const TPaletteEntry&, const TPaletteEntry&) = default;
};

// Bytes per row of a device-independent bitmap: rows are padded to 4 bytes.
std::size_t DibStride(int width, int bitCount) noexcept;

// An image laid out like a top-down DIB, ready to copy into a DIB section.
struct TBmpImage {
    int Width = 0;
    int Height = 0;
    // 1, 4 or 8 with a palette of 2^BitCount entries; 24 (BGR) or 32 (BGRX).
    // 16-bit files arrive as 24 bits.
    int BitCount = 0;
    std::vector<TPaletteEntry> Palette;
    // Height rows of DibStride(Width, BitCount) bytes, the top row first.
    std::vector<std::uint8_t> Pixels;

    std::size_t Stride() const noexcept { return DibStride(Width, BitCount); }
    const std::uint8_t* Row(int y) const noexcept { return Pixels.data() + Stride() * static_cast<std::size_t>(y); }
};

// Largest accepted width and height; larger ones are refused as hostile.
constexpr int MaxBmpSide = 32768;
// Largest run-length compressed image, whose size few bytes can claim.
constexpr std::uint64_t MaxRunLengthPixels = std::uint64_t{1} << 24;

// A whole .bmp file (with its "BM" file header): 1, 4, 8, 16, 24 or 32 bits
// per pixel, uncompressed, with bit-field masks, or run-length compressed
// (4 and 8 bits). Throws EBmpFormat.
TBmpImage DecodeBmp(std::span<const std::uint8_t> bytes);

// A packed DIB as bitmap resources store it: info header, palette, pixels,
// no file header. Throws EBmpFormat.
TBmpImage DecodePackedDib(std::span<const std::uint8_t> bytes);

} // namespace imgcore
