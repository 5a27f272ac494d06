// A decoder written step by step the way the skin file format describes
// LZHUF decoding: a 16-bit bit buffer refilled while fewer than 9 bits are
// left, and the 4096-byte ring. The fast decoder must agree with it byte for
// byte on every stream.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

std::vector<std::uint8_t> ReferenceLZHUnpack(std::int32_t unpackedSize,
                                             std::span<const std::uint8_t> source);
