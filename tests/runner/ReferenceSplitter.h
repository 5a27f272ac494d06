// An independent account of how the runner cuts output into lines, written
// differently from the runner on purpose: each read is first rewritten with
// plain string replacements (CR LF, then lone CR, become LF; NUL bytes go),
// and only then cut at LF. Tests and the fuzzer compare the runner with it.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace reference {

struct Event {
    std::string Text;
    bool Complete;
    bool operator==(const Event&) const = default;
};

inline std::string Normalised(std::string read)
{
    for (std::size_t at = read.find("\r\n"); at != std::string::npos; at = read.find("\r\n", at + 1))
        read.erase(at, 1);
    for (char& byte : read)
        if (byte == '\r')
            byte = '\n';
    std::erase(read, '\0');
    return read;
}

// StopAfter > 0: termination is requested while the StopAfter-th complete
// line is delivered; everything after that line end is dropped.
inline std::vector<Event> Split(const std::vector<std::string>& reads, std::size_t stopAfter = 0)
{
    std::vector<Event> events;
    std::string pending;
    std::size_t complete = 0;
    bool stopped = false;
    for (const std::string& read : reads) {
        const std::string text = Normalised(read);
        std::size_t start = 0;
        while (!stopped) {
            const std::size_t end = text.find('\n', start);
            if (end == std::string::npos) {
                pending += text.substr(start);
                break;
            }
            events.push_back({pending + text.substr(start, end - start), true});
            pending.clear();
            start = end + 1;
            stopped = ++complete == stopAfter;
        }
        if (!pending.empty())
            events.push_back({pending, false});
    }
    if (!pending.empty())
        events.push_back({pending, true});
    return events;
}

} // namespace reference
