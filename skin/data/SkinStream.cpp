#include "SkinStream.h"

#include <stdexcept>

namespace {
constexpr std::size_t kLengthSize = 4;
}

std::vector<std::uint8_t> FrameSkinStream(std::span<const std::uint8_t> skinFile)
{
    const auto length = static_cast<std::uint32_t>(skinFile.size());
    std::vector<std::uint8_t> stored;
    stored.reserve(kLengthSize + skinFile.size());
    for (std::size_t i = 0; i < kLengthSize; ++i)
        stored.push_back(static_cast<std::uint8_t>(length >> (8 * i)));
    stored.insert(stored.end(), skinFile.begin(), skinFile.end());
    return stored;
}

std::span<const std::uint8_t> UnframeSkinStream(std::span<const std::uint8_t> stored)
{
    if (stored.size() < kLengthSize)
        throw std::invalid_argument("SkinStream: no length");
    std::uint32_t length = 0;
    for (std::size_t i = kLengthSize; i-- > 0;)
        length = (length << 8) | stored[i];
    if (length > stored.size() - kLengthSize)
        throw std::invalid_argument("SkinStream: shorter than its length says");
    return stored.subspan(kLengthSize, length);
}
