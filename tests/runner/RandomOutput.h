// The output of the stress child: random bytes in random-sized writes, with
// LF, CR, CR LF and NUL bytes strewn in. The child and the test build it from
// the same seed, so the test knows every byte the child wrote. Portable.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

class TRandomOutput {
public:
    TRandomOutput(std::uint64_t Seed, std::size_t Total) : FState(Seed), FLeft(Total) {}

    // The next write, empty once Total bytes have been given out.
    std::string Next()
    {
        const std::size_t size = std::min<std::size_t>(FLeft, 1 + Random() % 65536);
        std::string chunk;
        chunk.reserve(size + 1);
        while (chunk.size() < size)
            AppendPiece(chunk);
        // A CR LF put last may make the write one byte longer than chosen.
        FLeft -= std::min(FLeft, chunk.size());
        return chunk;
    }

private:
    void AppendPiece(std::string& chunk)
    {
        const std::uint64_t r = Random();
        switch (r % 1000) {
        case 0: case 1: case 2: case 3:
            chunk += '\n';
            break;
        case 4: case 5:
            chunk += '\r';
            break;
        case 6: case 7: case 8: case 9:
            chunk += "\r\n";
            break;
        case 10: case 11:
            chunk += '\0';
            break;
        default:
            chunk += static_cast<char>(' ' + (r >> 32) % 95);
        }
    }

    // splitmix64: the same numbers on every compiler, unlike std's distributions.
    std::uint64_t Random()
    {
        std::uint64_t z = (FState += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    std::uint64_t FState;
    std::size_t FLeft;
};
