#include "LZH.h"

#include "LZHTree.h"

#include <cstring>
#include <memory>
#include <new>

namespace {

using lzh::F;
using lzh::N;
using lzh::T;

// Most-significant-bit-first reader over the stream. It keeps up to 64 bits at
// hand instead of the historic 16; the bits handed out are the same, and a
// read past the end yields zeros just the same.
class TBitReader {
public:
    explicit TBitReader(std::span<const std::uint8_t> source)
        : FNext(source.data()), FEnd(source.data() + source.size())
    {
    }

    unsigned Bit()
    {
        if (FCount == 0)
            Refill();
        const unsigned bit = static_cast<unsigned>(FBuffer >> 63);
        FBuffer <<= 1;
        --FCount;
        return bit;
    }

    // The next count bits (count <= 32) as a number.
    unsigned Bits(int count)
    {
        if (FCount < count)
            Refill();
        const unsigned value = static_cast<unsigned>(FBuffer >> (64 - count));
        FBuffer <<= count;
        FCount -= count;
        return value;
    }

    unsigned Peek8()
    {
        if (FCount < 8)
            Refill();
        return static_cast<unsigned>(FBuffer >> 56);
    }

    bool ReadPastEnd() const { return FZeroBytes * 8 > static_cast<std::uint64_t>(FCount); }

private:
    void Refill()
    {
        while (FCount <= 56) {
            std::uint64_t byte = 0;
            if (FNext != FEnd)
                byte = *FNext++;
            else
                ++FZeroBytes;
            FBuffer |= byte << (56 - FCount);
            FCount += 8;
        }
    }

    const std::uint8_t* FNext;
    const std::uint8_t* FEnd;
    std::uint64_t FBuffer = 0;
    int FCount = 0;
    std::uint64_t FZeroBytes = 0;  // bytes fed past the end of the source
};

struct TPositionTable {
    lzh::TPositionCode codes[256];
    constexpr TPositionTable() : codes()
    {
        for (int i = 0; i < 256; ++i)
            codes[i] = lzh::PositionCodeOf(i);
    }
};
constexpr TPositionTable kPositions;

class TDecoder {
public:
    TDecoder(lzh::TAdaptiveTree& tree, std::span<const std::uint8_t> source)
        : FTree(tree), FBits(source)
    {
    }

    int Symbol()
    {
        int node = FTree.son[lzh::R];
        while (node < T)
            node = FTree.son[node + static_cast<int>(FBits.Bit())];
        const int c = node - T;
        FTree.Update(c);
        return c;
    }

    // Distance back from the write position, minus one: 0..4095.
    unsigned Position()
    {
        const lzh::TPositionCode code = kPositions.codes[FBits.Peek8()];
        const unsigned bits = FBits.Bits(code.length + 6);
        return (static_cast<unsigned>(code.upper) << 6) | (bits & 0x3F);
    }

    bool ReadPastEnd() const { return FBits.ReadPastEnd(); }

private:
    lzh::TAdaptiveTree& FTree;
    TBitReader FBits;
};

// What the ring held before anything was written: spaces up to the start
// position, zeros after it.
std::uint8_t InitialRingByte(std::int64_t before)
{
    const std::int64_t slot = (lzh::kRingStart + before) & (N - 1);
    return slot < lzh::kRingStart ? ' ' : 0;
}

// Copies a match from the output itself, which holds the same bytes as the
// ring once it has been written that far; bytes from before the first output
// come from the ring's initial contents.
void CopyMatch(std::uint8_t* out, std::size_t count, unsigned distance, int length)
{
    const std::int64_t from = static_cast<std::int64_t>(count) - distance;
    std::uint8_t* to = out + count;
    if (from < 0) {
        for (int k = 0; k < length; ++k) {
            const std::int64_t at = from + k;
            to[k] = at >= 0 ? out[at] : InitialRingByte(at);
        }
        return;
    }
    const std::uint8_t* source = out + from;
    if (distance >= static_cast<unsigned>(length)) {
        std::memcpy(to, source, static_cast<std::size_t>(length));
        return;
    }
    // Overlapping: bytes written by this match feed its own tail.
    for (int k = 0; k < length; ++k)
        to[k] = source[k];
}

std::unique_ptr<lzh::TAdaptiveTree> AllocateTables()
{
    try {
        return std::make_unique<lzh::TAdaptiveTree>();
    } catch (const std::bad_alloc&) {
        throw ElzhException("LZH : Cannot get memory for dictionary tables");
    }
}

} // namespace

void TLZH::LZHUnpack(std::int32_t unpackedSize, std::span<const std::uint8_t> source,
                     std::vector<std::uint8_t>& sink)
{
    FInputExhausted = false;
    if (unpackedSize <= 0)
        return;
    const std::unique_ptr<lzh::TAdaptiveTree> tree = AllocateTables();
    TDecoder decoder(*tree, source);

    const std::size_t base = sink.size();
    const auto target = static_cast<std::size_t>(unpackedSize);
    sink.resize(base + target + F);
    std::uint8_t* out = sink.data() + base;
    std::size_t count = 0;
    while (count < target) {
        const int c = decoder.Symbol();
        if (c < 256) {
            out[count++] = static_cast<std::uint8_t>(c);
            continue;
        }
        const int length = c - 255 + lzh::THRESHOLD;
        CopyMatch(out, count, decoder.Position() + 1, length);
        count += static_cast<std::size_t>(length);
    }
    sink.resize(base + count);
    FInputExhausted = decoder.ReadPastEnd();
}
