// Hostile BMP bytes must be refused or decoded into a consistent image,
// never read or written out of bounds.
#include "base/BmpImage.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace {

void Check(const imgcore::TBmpImage& image)
{
    const bool paletted = image.BitCount <= 8;
    if (image.Width <= 0 || image.Height <= 0
        || image.Pixels.size() != image.Stride() * static_cast<std::size_t>(image.Height)
        || (paletted && image.Palette.size() != (std::size_t{1} << image.BitCount)))
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> bytes(data, size);
    try {
        Check(imgcore::DecodeBmp(bytes));
    } catch (const imgcore::EBmpFormat&) {
    }
    try {
        Check(imgcore::DecodePackedDib(bytes));
    } catch (const imgcore::EBmpFormat&) {
    }
    return 0;
}
