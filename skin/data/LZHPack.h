// LZHUF encoder for the tools that write skin files. The program itself only
// decodes (LZH.h); this produces the stream that decoder reads.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

// The compressed bit stream of input, without any size field in front.
// Deterministic: the same input always gives the same bytes.
std::vector<std::uint8_t> LZHPack(std::span<const std::uint8_t> input);
