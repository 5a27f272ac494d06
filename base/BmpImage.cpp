#include "BmpImage.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <optional>

namespace imgcore {

std::size_t DibStride(int width, int bitCount) noexcept
{
    const std::uint64_t bits = static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(bitCount);
    return static_cast<std::size_t>((bits + 31) / 32 * 4);
}

namespace {

// Bytes of one row's pixels, without the padding to 4 bytes.
std::size_t RowBytes(int width, int bitCount) noexcept
{
    return static_cast<std::size_t>((static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(bitCount) + 7) / 8);
}

constexpr std::size_t FileHeaderSize = 14;
constexpr std::size_t CoreHeaderSize = 12;
constexpr std::uint32_t BiRgb = 0;
constexpr std::uint32_t BiRle8 = 1;
constexpr std::uint32_t BiRle4 = 2;
constexpr std::uint32_t BiBitfields = 3;

// Little-endian reads that refuse to leave the buffer.
class TReader {
public:
    explicit TReader(std::span<const std::uint8_t> bytes) : FBytes(bytes) {}

    std::size_t Size() const noexcept { return FBytes.size(); }
    void Require(std::size_t offset, std::size_t length, const char* what) const
    {
        if (offset > FBytes.size() || length > FBytes.size() - offset)
            throw EBmpFormat(std::string("BMP is truncated: ") + what + " lies past the end of the data");
    }
    std::uint16_t U16(std::size_t offset) const
    {
        Require(offset, 2, "header");
        return static_cast<std::uint16_t>(FBytes[offset] | FBytes[offset + 1] << 8);
    }
    std::uint32_t U32(std::size_t offset) const
    {
        Require(offset, 4, "header");
        return static_cast<std::uint32_t>(FBytes[offset]) | static_cast<std::uint32_t>(FBytes[offset + 1]) << 8
            | static_cast<std::uint32_t>(FBytes[offset + 2]) << 16
            | static_cast<std::uint32_t>(FBytes[offset + 3]) << 24;
    }
    std::int32_t I32(std::size_t offset) const { return static_cast<std::int32_t>(U32(offset)); }
    const std::uint8_t* At(std::size_t offset) const noexcept { return FBytes.data() + offset; }

private:
    std::span<const std::uint8_t> FBytes;
};

struct THeader {
    std::int64_t Width = 0;
    std::int64_t Height = 0; // negative: rows stored top-down
    int Planes = 1;
    int BitCount = 0;
    std::uint32_t Compression = BiRgb;
    std::uint32_t ColoursUsed = 0;
    std::size_t PaletteOffset = 0;
    std::size_t PaletteEntrySize = 4;
    std::optional<std::size_t> MasksOffset;
};

THeader ReadHeader(const TReader& in, std::size_t start)
{
    const std::uint32_t headerSize = in.U32(start);
    THeader header;
    if (headerSize == CoreHeaderSize) {
        in.Require(start, CoreHeaderSize, "bitmap header");
        header.Width = in.U16(start + 4);
        header.Height = in.U16(start + 6);
        header.Planes = in.U16(start + 8);
        header.BitCount = in.U16(start + 10);
        header.PaletteEntrySize = 3;
    } else if (headerSize == 40 || headerSize == 52 || headerSize == 56 || headerSize == 64
               || headerSize == 108 || headerSize == 124) {
        in.Require(start, headerSize, "bitmap header");
        header.Width = in.I32(start + 4);
        header.Height = in.I32(start + 8);
        header.Planes = in.U16(start + 12);
        header.BitCount = in.U16(start + 14);
        header.Compression = in.U32(start + 16);
        header.ColoursUsed = in.U32(start + 32);
    } else {
        throw EBmpFormat("BMP has an unknown header size " + std::to_string(headerSize));
    }
    header.PaletteOffset = start + headerSize;
    if (header.Compression == BiBitfields) {
        // A 40-byte header keeps the three masks after itself, longer ones inside.
        header.MasksOffset = start + 40;
        if (headerSize == 40)
            header.PaletteOffset += 12;
    }
    return header;
}

void CheckHeader(const THeader& header)
{
    if (header.Planes != 1)
        throw EBmpFormat("BMP header lies: " + std::to_string(header.Planes) + " planes");
    if (header.Width <= 0 || header.Height == 0 || header.Width > MaxBmpSide
        || header.Height > MaxBmpSide || header.Height < -MaxBmpSide)
        throw EBmpFormat("BMP size " + std::to_string(header.Width) + " x "
                         + std::to_string(header.Height) + " is not acceptable");
    const bool runLength = header.Compression == BiRle8 || header.Compression == BiRle4;
    if (runLength && (header.BitCount != (header.Compression == BiRle8 ? 8 : 4) || header.Height < 0))
        throw EBmpFormat("BMP header lies: run-length compression with " + std::to_string(header.BitCount)
                         + " bits per pixel or top-down rows");
    switch (header.BitCount) {
    case 1: case 4: case 8: case 24:
        if (header.Compression != BiRgb && !runLength)
            throw EBmpFormat("compressed BMP images are not supported");
        break;
    case 16: case 32:
        if (header.Compression != BiRgb && header.Compression != BiBitfields)
            throw EBmpFormat("compressed BMP images are not supported");
        break;
    default:
        throw EBmpFormat("BMP has " + std::to_string(header.BitCount) + " bits per pixel");
    }
}

std::vector<TPaletteEntry> ReadPalette(const TReader& in, const THeader& header)
{
    const std::size_t full = std::size_t{1} << header.BitCount;
    if (header.ColoursUsed > full)
        throw EBmpFormat("BMP header lies: " + std::to_string(header.ColoursUsed) + " colours for "
                         + std::to_string(header.BitCount) + " bits per pixel");
    const std::size_t used = header.ColoursUsed ? header.ColoursUsed : full;
    in.Require(header.PaletteOffset, used * header.PaletteEntrySize, "palette");
    // Pixels may name entries the file leaves out; they read as black.
    std::vector<TPaletteEntry> palette(full);
    for (std::size_t i = 0; i < used; ++i) {
        const std::uint8_t* entry = in.At(header.PaletteOffset + i * header.PaletteEntrySize);
        palette[i] = {entry[0], entry[1], entry[2], 0};
    }
    return palette;
}

// One colour channel described by a bit mask, widened to 8 bits.
class TChannel {
public:
    explicit TChannel(std::uint32_t mask)
    {
        if (mask == 0)
            return;
        FShift = std::countr_zero(mask);
        const std::uint32_t field = mask >> FShift;
        if ((field & (field + 1)) != 0)
            throw EBmpFormat("BMP colour mask is not one run of bits");
        FMax = field;
    }
    std::uint8_t Value(std::uint32_t pixel) const noexcept
    {
        if (FMax == 0)
            return 0;
        const std::uint64_t raw = (pixel >> FShift) & FMax;
        return static_cast<std::uint8_t>((raw * 255 + FMax / 2) / FMax);
    }

private:
    int FShift = 0;
    std::uint32_t FMax = 0;
};

struct TMasks {
    TChannel Red, Green, Blue;
};

TMasks ReadMasks(const TReader& in, const THeader& header)
{
    if (header.MasksOffset) {
        const std::size_t at = *header.MasksOffset;
        return {TChannel(in.U32(at)), TChannel(in.U32(at + 4)), TChannel(in.U32(at + 8))};
    }
    if (header.BitCount == 16)
        return {TChannel(0x7C00), TChannel(0x03E0), TChannel(0x001F)};
    return {TChannel(0xFF0000), TChannel(0x00FF00), TChannel(0x0000FF)};
}

void ConvertMaskedRow(const std::uint8_t* source, std::uint8_t* target, int width, int bytesIn,
                      int bytesOut, const TMasks& masks)
{
    for (int x = 0; x < width; ++x) {
        const std::uint8_t* p = source + static_cast<std::size_t>(x) * bytesIn;
        const std::uint32_t pixel = bytesIn == 2 ? static_cast<std::uint32_t>(p[0] | p[1] << 8)
                                                 : static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8
                | static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
        std::uint8_t* q = target + static_cast<std::size_t>(x) * bytesOut;
        q[0] = masks.Blue.Value(pixel);
        q[1] = masks.Green.Value(pixel);
        q[2] = masks.Red.Value(pixel);
        if (bytesOut == 4)
            q[3] = 0;
    }
}

// Run-length data: byte pairs of (count, index) runs and escapes for end of
// line, end of image, a jump, or literal indices. Every read is checked;
// pixels that would land outside the image are dropped. Rows count from the
// bottom as stored.
class TRunLengthDecoder {
public:
    TRunLengthDecoder(const TReader& in, std::size_t at, TBmpImage& image)
        : FIn(in), FAt(at), FImage(image), FNibbles(image.BitCount == 4) {}

    void Run()
    {
        while (FY < FImage.Height) {
            const int count = Next();
            const int value = Next();
            if (count > 0)
                PutRun(count, value);
            else if (value == 0)
                NewLine();
            else if (value == 1)
                return;
            else if (value == 2)
                Jump();
            else
                PutLiteral(value);
        }
    }

private:
    int Next()
    {
        FIn.Require(FAt, 1, "run-length data");
        return *FIn.At(FAt++);
    }

    void Put(int index) noexcept
    {
        if (FX < FImage.Width) {
            std::uint8_t* row = FImage.Pixels.data()
                + FImage.Stride() * static_cast<std::size_t>(FImage.Height - 1 - FY);
            if (FNibbles) {
                std::uint8_t& pair = row[FX / 2];
                pair = FX % 2 ? static_cast<std::uint8_t>((pair & 0xF0) | (index & 0x0F))
                              : static_cast<std::uint8_t>((pair & 0x0F) | (index & 0x0F) << 4);
            } else {
                row[FX] = static_cast<std::uint8_t>(index);
            }
            ++FX;
        }
    }

    // Run of count pixels; with 4 bits the two nibbles of value alternate.
    void PutRun(int count, int value) noexcept
    {
        for (int i = 0; i < count; ++i)
            Put(FNibbles ? (i % 2 ? value & 0x0F : value >> 4) : value);
    }

    void PutLiteral(int count)
    {
        const std::size_t bytes = FNibbles ? static_cast<std::size_t>(count + 1) / 2 : static_cast<std::size_t>(count);
        FIn.Require(FAt, bytes, "run-length data");
        for (int i = 0; i < count; ++i) {
            const std::uint8_t byte = *FIn.At(FAt + static_cast<std::size_t>(FNibbles ? i / 2 : i));
            Put(FNibbles ? (i % 2 ? byte & 0x0F : byte >> 4) : byte);
        }
        // Literal runs are padded to a whole number of 16-bit words.
        FAt += bytes + bytes % 2;
    }

    void NewLine() noexcept
    {
        FX = 0;
        ++FY;
    }

    void Jump()
    {
        const int right = Next();
        const int up = Next();
        FX = std::min(FX + right, FImage.Width);
        FY += up;
    }

    const TReader& FIn;
    std::size_t FAt;
    TBmpImage& FImage;
    bool FNibbles;
    int FX = 0;
    int FY = 0;
};

TBmpImage Decode(const TReader& in, std::size_t headerStart, std::optional<std::size_t> pixelOffset)
{
    const THeader header = ReadHeader(in, headerStart);
    CheckHeader(header);

    TBmpImage image;
    image.Width = static_cast<int>(header.Width);
    image.Height = static_cast<int>(header.Height < 0 ? -header.Height : header.Height);
    const bool masked = header.BitCount == 16 || header.Compression == BiBitfields;
    image.BitCount = header.BitCount == 16 ? 24 : header.BitCount;

    std::size_t paletteEnd = header.PaletteOffset;
    if (header.BitCount <= 8) {
        image.Palette = ReadPalette(in, header);
        const std::size_t used = header.ColoursUsed ? header.ColoursUsed : image.Palette.size();
        paletteEnd += used * header.PaletteEntrySize;
    }
    // Offset 0 is what some writers put for pixels right after the palette.
    const std::size_t pixels = pixelOffset.value_or(0) == 0 ? paletteEnd : *pixelOffset;
    if (pixels < paletteEnd)
        throw EBmpFormat("BMP header lies: the pixels start inside the header or palette");

    const std::size_t rows = static_cast<std::size_t>(image.Height);
    if (header.Compression == BiRle8 || header.Compression == BiRle4) {
        // A few bytes of runs can describe a huge image; its size is not
        // vouched for by the data, so it is capped.
        if (static_cast<std::uint64_t>(image.Width) * rows > MaxRunLengthPixels)
            throw EBmpFormat("run-length BMP of " + std::to_string(image.Width) + " x "
                             + std::to_string(image.Height) + " pixels is too large");
        // Pixels the data never reaches keep palette entry 0.
        image.Pixels.assign(image.Stride() * rows, 0);
        TRunLengthDecoder(in, pixels, image).Run();
        return image;
    }
    const std::size_t sourceStride = DibStride(image.Width, header.BitCount);
    // Some writers end the file right after the last row's pixels, leaving
    // out its padding; every other row must be whole.
    const std::size_t lastRow = RowBytes(image.Width, header.BitCount);
    in.Require(pixels, sourceStride * (rows - 1) + lastRow, "pixel data");

    const std::size_t stride = image.Stride();
    image.Pixels.assign(stride * rows, 0);
    const TMasks masks = masked ? ReadMasks(in, header) : TMasks{TChannel(0), TChannel(0), TChannel(0)};
    for (std::size_t y = 0; y < rows; ++y) {
        const std::size_t sourceRow = header.Height < 0 ? y : rows - 1 - y;
        const std::uint8_t* source = in.At(pixels + sourceRow * sourceStride);
        std::uint8_t* target = image.Pixels.data() + y * stride;
        if (masked)
            ConvertMaskedRow(source, target, image.Width, header.BitCount / 8, image.BitCount / 8, masks);
        else
            std::memcpy(target, source, lastRow);
    }
    return image;
}

} // namespace

TBmpImage DecodeBmp(std::span<const std::uint8_t> bytes)
{
    const TReader in(bytes);
    in.Require(0, FileHeaderSize + 4, "file header");
    if (bytes[0] != 'B' || bytes[1] != 'M')
        throw EBmpFormat("not a BMP file (no \"BM\" signature)");
    return Decode(in, FileHeaderSize, in.U32(10));
}

TBmpImage DecodePackedDib(std::span<const std::uint8_t> bytes)
{
    return Decode(TReader(bytes), 0, std::nullopt);
}

} // namespace imgcore
