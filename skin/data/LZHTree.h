// The adaptive Huffman tree of the LZHUF coder, shared by the decoder and the
// skin authors' encoder. Both sides must evolve the tree identically after
// every symbol, or the bit stream stops meaning anything.
#pragma once

#include <array>
#include <cstdint>

namespace lzh {

// These constants define the bit stream of every skin file ever written;
// changing one makes existing skins unreadable.
inline constexpr int N = 4096;        // ring size
inline constexpr int F = 60;          // longest match
inline constexpr int THRESHOLD = 2;   // a match must be longer than this
inline constexpr int N_CHAR = 256 - THRESHOLD + F;  // 314 symbols
inline constexpr int T = N_CHAR * 2 - 1;            // 627 tree nodes
inline constexpr int R = T - 1;                     // root node
inline constexpr unsigned MAX_FREQ = 0x8000;
// The ring starts as spaces up to here; the first byte is written at this spot.
inline constexpr int kRingStart = N - F;

// Upper six bits of a match position and the length of their code, indexed
// by the first byte of the code.
struct TPositionCode {
    std::uint8_t upper;
    std::uint8_t length;
};

constexpr TPositionCode PositionCodeOf(int firstByte)
{
    if (firstByte < 0x20)
        return {0, 3};
    if (firstByte < 0x50)
        return {static_cast<std::uint8_t>(1 + (firstByte - 0x20) / 16), 4};
    if (firstByte < 0x90)
        return {static_cast<std::uint8_t>(4 + (firstByte - 0x50) / 8), 5};
    if (firstByte < 0xC0)
        return {static_cast<std::uint8_t>(12 + (firstByte - 0x90) / 4), 6};
    if (firstByte < 0xF0)
        return {static_cast<std::uint8_t>(24 + (firstByte - 0xC0) / 2), 7};
    return {static_cast<std::uint8_t>(48 + (firstByte - 0xF0)), 8};
}

class TAdaptiveTree {
public:
    TAdaptiveTree();

    // Moves symbol c up the tree after it was coded, rebuilding first when
    // the root's count has reached MAX_FREQ.
    void Update(int c);

    std::array<std::uint16_t, T + 1> freq;  // freq[T] is a sentinel
    std::array<std::int16_t, T + N_CHAR> prnt;  // prnt[T + c]: node of leaf c
    std::array<std::int16_t, T> son;  // first child, or T + symbol for a leaf

private:
    void Rebuild();
};

} // namespace lzh
