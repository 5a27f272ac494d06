// Feeds the line splitter random reads and compares every reported line with
// the reference splitter. Input: the first byte picks the line at which
// termination is requested (0: never); then records of one length byte and
// that many bytes of output, one record per read.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "RecordingSink.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::size_t stopAfter = data[0] % 16;
    std::vector<std::string> reads;
    for (std::size_t at = 1; at < size;) {
        const std::size_t length = std::min<std::size_t>(data[at], size - at - 1);
        reads.emplace_back(reinterpret_cast<const char*>(data + at + 1), length);
        at += 1 + length;
    }

    if (SplitReads(reads, stopAfter) != reference::Split(reads, stopAfter))
        std::abort();
    return 0;
}
