#include "LZHReference.h"

#include "skin/data/LZHTree.h"

#include <array>
#include <memory>

namespace {

class TReferenceDecoder {
public:
    explicit TReferenceDecoder(std::span<const std::uint8_t> source) : FSource(source) {}

    std::vector<std::uint8_t> Run(std::int32_t unpackedSize)
    {
        std::vector<std::uint8_t> out;
        FRing.fill(0);
        for (int i = 0; i < lzh::kRingStart; ++i)
            FRing[static_cast<std::size_t>(i)] = ' ';
        unsigned r = lzh::kRingStart;
        std::int32_t count = 0;
        while (count < unpackedSize) {
            const int c = DecodeChar();
            if (c < 256) {
                Emit(out, static_cast<std::uint8_t>(c), r);
                ++count;
                continue;
            }
            const unsigned s = (r - DecodePosition() - 1) & (lzh::N - 1);
            const int length = c - 255 + lzh::THRESHOLD;
            for (int k = 0; k < length; ++k) {
                Emit(out, FRing[(s + static_cast<unsigned>(k)) & (lzh::N - 1)], r);
                ++count;
            }
        }
        return out;
    }

private:
    void Emit(std::vector<std::uint8_t>& out, std::uint8_t byte, unsigned& r)
    {
        out.push_back(byte);
        FRing[r] = byte;
        r = (r + 1) & (lzh::N - 1);
    }

    void Fill()
    {
        while (FCount < 9) {
            const unsigned byte = FNext < FSource.size() ? FSource[FNext++] : 0;
            FBuffer = static_cast<std::uint16_t>(FBuffer | (byte << (8 - FCount)));
            FCount += 8;
        }
    }

    unsigned GetBit()
    {
        Fill();
        const unsigned bit = FBuffer >> 15;
        FBuffer = static_cast<std::uint16_t>(FBuffer << 1);
        --FCount;
        return bit;
    }

    unsigned GetByte()
    {
        Fill();
        const unsigned byte = FBuffer >> 8;
        FBuffer = static_cast<std::uint16_t>(FBuffer << 8);
        FCount -= 8;
        return byte;
    }

    int DecodeChar()
    {
        int node = FTree.son[lzh::R];
        while (node < lzh::T)
            node = FTree.son[static_cast<std::size_t>(node) + GetBit()];
        const int c = node - lzh::T;
        FTree.Update(c);
        return c;
    }

    unsigned DecodePosition()
    {
        unsigned i = GetByte();
        const lzh::TPositionCode code = lzh::PositionCodeOf(static_cast<int>(i));
        for (int j = 0; j < code.length - 2; ++j)
            i = ((i << 1) + GetBit()) & 0xFFFF;
        return (static_cast<unsigned>(code.upper) << 6) | (i & 0x3F);
    }

    std::span<const std::uint8_t> FSource;
    std::size_t FNext = 0;
    std::uint16_t FBuffer = 0;
    int FCount = 0;
    lzh::TAdaptiveTree FTree;
    std::array<std::uint8_t, lzh::N + lzh::F - 1> FRing{};
};

} // namespace

std::vector<std::uint8_t> ReferenceLZHUnpack(std::int32_t unpackedSize,
                                             std::span<const std::uint8_t> source)
{
    return std::make_unique<TReferenceDecoder>(source)->Run(unpackedSize);
}
