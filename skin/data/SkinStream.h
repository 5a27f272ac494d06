// The stored form of a skin file inside a window's saved data (the binary
// property SkinStream): a 4-byte little-endian length n, then n bytes of
// skin file. Portable.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

std::vector<std::uint8_t> FrameSkinStream(std::span<const std::uint8_t> skinFile);

// The skin file inside stored data; bytes after it are not part of it.
// Throws std::invalid_argument when the data is shorter than it says.
std::span<const std::uint8_t> UnframeSkinStream(std::span<const std::uint8_t> stored);
