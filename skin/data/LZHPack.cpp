#include "LZHPack.h"

#include "LZHTree.h"

#include <algorithm>
#include <array>
#include <memory>

namespace {

using lzh::F;
using lzh::N;
using lzh::T;
using lzh::THRESHOLD;

constexpr int NIL = N;  // no node

class TBitWriter {
public:
    explicit TBitWriter(std::vector<std::uint8_t>& out) : FOut(out) {}

    // Appends the top count bits of code (count <= 16).
    void Put(int count, unsigned code)
    {
        FBuffer |= static_cast<std::uint32_t>(code & 0xFFFF) << (16 - FCount);
        FCount += count;
        while (FCount >= 8) {
            FOut.push_back(static_cast<std::uint8_t>(FBuffer >> 24));
            FBuffer <<= 8;
            FCount -= 8;
        }
    }

    void Flush()
    {
        if (FCount > 0)
            FOut.push_back(static_cast<std::uint8_t>(FBuffer >> 24));
        FBuffer = 0;
        FCount = 0;
    }

private:
    std::vector<std::uint8_t>& FOut;
    std::uint32_t FBuffer = 0;  // pending bits from the top down
    int FCount = 0;
};

// Position codes for the encoder: the first byte of each of the 64 codes and
// its length in bits, taken from the decoder's own rule so both agree.
struct TPositionEncoding {
    std::uint8_t code[64];
    std::uint8_t length[64];
    constexpr TPositionEncoding() : code(), length()
    {
        for (int i = 255; i >= 0; --i) {
            const lzh::TPositionCode c = lzh::PositionCodeOf(i);
            code[c.upper] = static_cast<std::uint8_t>(i);
            length[c.upper] = c.length;
        }
    }
};
constexpr TPositionEncoding kPositionEncoding;

// The ring with a binary search tree over its strings, for the longest match.
class TMatchFinder {
public:
    TMatchFinder()
    {
        std::fill(FText.begin(), FText.end(), std::uint8_t{' '});
        std::fill(FLeftSon.begin(), FLeftSon.end(), NIL);
        std::fill(FRightSon.begin(), FRightSon.end(), NIL);
        std::fill(FDad.begin(), FDad.end(), NIL);
    }

    void Put(int at, std::uint8_t byte)
    {
        FText[at] = byte;
        // The first F - 1 bytes are mirrored past the end so a string can be
        // compared without wrapping.
        if (at < F - 1)
            FText[at + N] = byte;
    }

    std::uint8_t At(int at) const { return FText[at]; }

    void Insert(int r);
    void Delete(int p);

    int matchPosition = 0;
    int matchLength = 0;

private:
    void Replace(int p, int r);

    std::array<std::uint8_t, N + F - 1> FText;
    std::array<int, N + 1> FLeftSon;
    std::array<int, N + 257> FRightSon;  // N + 1 + byte: root of that byte's tree
    std::array<int, N + 1> FDad;
};

void TMatchFinder::Insert(int r)
{
    const std::uint8_t* key = &FText[r];
    int p = N + 1 + key[0];
    int cmp = 1;
    FRightSon[r] = FLeftSon[r] = NIL;
    matchLength = 0;
    for (;;) {
        int& next = cmp >= 0 ? FRightSon[p] : FLeftSon[p];
        if (next == NIL) {
            next = r;
            FDad[r] = p;
            return;
        }
        p = next;
        int i = 1;
        for (; i < F; ++i) {
            cmp = key[i] - FText[p + i];
            if (cmp != 0)
                break;
        }
        if (i <= THRESHOLD)
            continue;
        // The nearest of equally long matches codes shortest.
        const int position = ((r - p) & (N - 1)) - 1;
        if (i > matchLength) {
            matchPosition = position;
            matchLength = i;
            if (i >= F)
                break;
        } else if (i == matchLength && position < matchPosition) {
            matchPosition = position;
        }
    }
    Replace(p, r);
}

// Node r takes the place of the identical string p, which leaves the tree.
void TMatchFinder::Replace(int p, int r)
{
    FDad[r] = FDad[p];
    FLeftSon[r] = FLeftSon[p];
    FRightSon[r] = FRightSon[p];
    FDad[FLeftSon[p]] = r;
    FDad[FRightSon[p]] = r;
    if (FRightSon[FDad[p]] == p)
        FRightSon[FDad[p]] = r;
    else
        FLeftSon[FDad[p]] = r;
    FDad[p] = NIL;
}

void TMatchFinder::Delete(int p)
{
    if (FDad[p] == NIL)
        return;
    int q;
    if (FRightSon[p] == NIL) {
        q = FLeftSon[p];
    } else if (FLeftSon[p] == NIL) {
        q = FRightSon[p];
    } else {
        q = FLeftSon[p];
        if (FRightSon[q] != NIL) {
            do
                q = FRightSon[q];
            while (FRightSon[q] != NIL);
            FRightSon[FDad[q]] = FLeftSon[q];
            FDad[FLeftSon[q]] = FDad[q];
            FLeftSon[q] = FLeftSon[p];
            FDad[FLeftSon[p]] = q;
        }
        FRightSon[q] = FRightSon[p];
        FDad[FRightSon[p]] = q;
    }
    FDad[q] = FDad[p];
    if (FRightSon[FDad[p]] == p)
        FRightSon[FDad[p]] = q;
    else
        FLeftSon[FDad[p]] = q;
    FDad[p] = NIL;
}

class TEncoder {
public:
    explicit TEncoder(std::vector<std::uint8_t>& out) : FBits(out) {}

    void Symbol(int c)
    {
        // Walk from the leaf to the root; each node's side under its parent
        // is one bit. The path gathers at the top of a 64-bit word, root
        // first, since a skewed tree can be deeper than 16 levels.
        std::uint64_t path = 0;
        int length = 0;
        int node = FTree.prnt[c + T];
        do {
            const int parent = FTree.prnt[node];
            const auto bit = static_cast<std::uint64_t>(node - FTree.son[parent]);
            path = (path >> 1) | (bit << 63);
            ++length;
            node = parent;
        } while (node != lzh::R);
        while (length > 0) {
            const int part = std::min(length, 16);
            FBits.Put(part, static_cast<unsigned>(path >> 48));
            path <<= part;
            length -= part;
        }
        FTree.Update(c);
    }

    void Position(int position)
    {
        const int upper = position >> 6;
        FBits.Put(kPositionEncoding.length[upper],
                  static_cast<unsigned>(kPositionEncoding.code[upper]) << 8);
        FBits.Put(6, static_cast<unsigned>(position & 0x3F) << 10);
    }

    void Finish() { FBits.Flush(); }

private:
    lzh::TAdaptiveTree FTree;
    TBitWriter FBits;
};

// Feeds the input through the ring: reading position s trails the coding
// position r by N - F, so the F bytes ahead of r are always loaded.
class TPacker {
public:
    TPacker(std::span<const std::uint8_t> input, std::vector<std::uint8_t>& out)
        : FInput(input), FEncoder(out)
    {
    }

    void Run()
    {
        while (FAhead < F && FNext < FInput.size())
            FFinder.Put(FR + FAhead++, FInput[FNext++]);
        // The spaces before the start are strings too: text that begins
        // with blanks can match them.
        for (int i = 1; i <= F; ++i)
            FFinder.Insert(FR - i);
        FFinder.Insert(FR);
        while (FAhead > 0) {
            const int length = CodeOne();
            Advance(length);
        }
        FEncoder.Finish();
    }

private:
    int CodeOne()
    {
        const int length = std::min(FFinder.matchLength, FAhead);
        if (length <= THRESHOLD) {
            FEncoder.Symbol(FFinder.At(FR));
            return 1;
        }
        const int position = FFinder.matchPosition;
        FEncoder.Symbol(255 - THRESHOLD + length);
        FEncoder.Position(position);
        return length;
    }

    void Advance(int count)
    {
        for (int i = 0; i < count; ++i) {
            FFinder.Delete(FS);
            const bool more = FNext < FInput.size();
            if (more)
                FFinder.Put(FS, FInput[FNext++]);
            else
                --FAhead;
            FS = (FS + 1) & (N - 1);
            FR = (FR + 1) & (N - 1);
            if (FAhead > 0)
                FFinder.Insert(FR);
        }
    }

    std::span<const std::uint8_t> FInput;
    std::size_t FNext = 0;  // next input byte to load
    int FAhead = 0;         // bytes loaded ahead of r, not yet coded
    int FS = 0;
    int FR = lzh::kRingStart;
    TMatchFinder FFinder;
    TEncoder FEncoder;
};

} // namespace

std::vector<std::uint8_t> LZHPack(std::span<const std::uint8_t> input)
{
    std::vector<std::uint8_t> out;
    out.reserve(input.size() / 2 + 16);
    const auto packer = std::make_unique<TPacker>(input, out);
    packer->Run();
    return out;
}
