// Drives the line splitter read by read, as the reader thread does, and keeps
// what it reports, so the tests and the fuzzer compare the same account with
// the reference splitter.
#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "ReferenceSplitter.h"
#include "runner/LineSplitter.h"

inline std::function<bool()> Asker(const std::atomic<bool>& terminated)
{
    return [&terminated] { return terminated.load(); };
}

using Events = std::vector<reference::Event>;

// Records what the splitter reports; may request termination at a chosen line.
class RecordingSink final : public TLineSink {
public:
    RecordingSink(std::atomic<bool>& terminated, std::size_t stopAfter)
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

    Events events;

private:
    std::atomic<bool>& FTerminated;
    std::size_t FStopAfter;
    std::size_t FComplete = 0;
};

inline Events SplitReads(const std::vector<std::string>& reads, std::size_t stopAfter = 0)
{
    std::atomic<bool> terminated = false;
    RecordingSink sink(terminated, stopAfter);
    TLineSplitter splitter;
    for (const std::string& read : reads)
        splitter.Split(read, Asker(terminated), sink);
    splitter.Finish(sink);
    return sink.events;
}
