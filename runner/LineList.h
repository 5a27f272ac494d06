// A list of output lines that the reader thread fills while the UI thread
// reads it. Lines stay bytes: the child's output is never converted.
#pragma once

#include <cstddef>
#include <mutex>
#include <string>
#include <vector>

class TLineList {
public:
    TLineList() = default;
    TLineList(const TLineList&) = delete;
    TLineList& operator=(const TLineList&) = delete;

    void Add(std::string Line);
    // Replaces the last line, or adds one to an empty list, so an unfinished
    // line can be shown and later completed in place.
    void ReplaceLast(std::string Line);
    void Clear();

    std::size_t Count() const;
    // A copy, so the caller can hold it while the reader goes on adding.
    std::string Line(std::size_t Index) const;
    std::vector<std::string> Lines() const;
    // Every line followed by CR LF, the way a text list reads as one text.
    std::string Text() const;

private:
    mutable std::mutex FLock;
    std::vector<std::string> FLines;
};
