// Feeds the line splitter random reads and compares every reported line with
// the reference splitter. Input: the first byte picks the line at which
// termination is requested (0: never); then records of one length byte and
// that many bytes of output, one record per read.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "ReferenceSplitter.h"
#include "runner/LineSplitter.h"

namespace {

std::function<bool()> Asker(const std::atomic<bool>& terminated)
{
    return [&terminated] { return terminated.load(); };
}

class CollectingSink final : public TLineSink {
public:
    CollectingSink(std::atomic<bool>& terminated, std::size_t stopAfter)
        : FTerminated(terminated), FStopAfter(stopAfter)
    {
    }
    void LineEnded(const std::string& line) override
    {
        events.push_back({line, true});
        if (++FComplete == FStopAfter)
            FTerminated = true;
    }
    void LineContinues(const std::string& text) override { events.push_back({text, false}); }

    std::vector<reference::Event> events;

private:
    std::atomic<bool>& FTerminated;
    std::size_t FStopAfter;
    std::size_t FComplete = 0;
};

} // namespace

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

    std::atomic<bool> terminated = false;
    CollectingSink sink(terminated, stopAfter);
    TLineSplitter splitter;
    for (const std::string& read : reads)
        splitter.Split(read, Asker(terminated), sink);
    splitter.Finish(sink);
    if (sink.events != reference::Split(reads, stopAfter))
        std::abort();
    return 0;
}
