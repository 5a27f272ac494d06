// Turns the bytes a console child writes into lines: the byte rules, the
// text carried from one read to the next, and the delivery of every line to
// the captured list, the mirror list and the line event. No Win32 here, so
// it is tested and fuzzed natively.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "LineList.h"

enum TOutputType {
    otEntireLine = 0,      // a complete line
    otBeginningOfLine = 1, // the start of a line whose end has not arrived yet
};

// Receives what the splitter finds. A complete line comes once; an
// unfinished line comes each time a read ends inside it, with all its text so far.
class TLineSink {
public:
    virtual void LineEnded(const std::string& Line) = 0;
    virtual void LineContinues(const std::string& Text) = 0;

protected:
    ~TLineSink() = default;
};

class TLineSplitter {
public:
    // Splits one read. Terminated() is asked before every byte: once it
    // answers true, the rest of the read is dropped and the text so far stays
    // unfinished. A template, so that asking costs one load per byte.
    template <class TTerminated>
    void Split(std::string_view Bytes, const TTerminated& Terminated, TLineSink& Sink);
    // The run is over: text still waiting for its line end counts as a line.
    void Finish(TLineSink& Sink);

    const std::string& PendingText() const { return FPendingText; }

private:
    // Ends the current line at Bytes[At] (CR or LF); returns the index of the
    // last byte the line end took.
    std::size_t EndLine(std::string_view Bytes, std::size_t At, TLineSink& Sink);

    std::string FPendingText;
};

namespace line_bytes {
// Bytes that go into a line unchanged: all but NUL, LF and CR.
inline constexpr auto kPlain = [] {
    std::array<bool, 256> plain{};
    plain.fill(true);
    plain['\0'] = plain['\n'] = plain['\r'] = false;
    return plain;
}();
inline bool IsPlain(char Byte) { return kPlain[static_cast<unsigned char>(Byte)]; }
} // namespace line_bytes

template <class TTerminated>
void TLineSplitter::Split(std::string_view Bytes, const TTerminated& Terminated, TLineSink& Sink)
{
    std::size_t i = 0;
    while (i < Bytes.size() && !Terminated()) {
        if (!line_bytes::IsPlain(Bytes[i])) {
            if (Bytes[i] != '\0')
                i = EndLine(Bytes, i, Sink);
            ++i;
            continue;
        }
        // A run of plain bytes goes in at once; the question is still asked per byte.
        std::size_t end = i + 1;
        while (end < Bytes.size() && line_bytes::IsPlain(Bytes[end]) && !Terminated())
            ++end;
        FPendingText.append(Bytes.data() + i, end - i);
        i = end;
    }
    if (!FPendingText.empty())
        Sink.LineContinues(FPendingText);
}

using TLineHandler = std::function<void(const std::string& Line, TOutputType OutputType)>;

// The delivery of one run's lines, in the order the caller relies on: the
// output clock is reset first, then the lists, then the event.
class TLineOutput final : public TLineSink {
public:
    TLineOutput(TLineList& CapturedLines, TLineList* MirrorLines,
                std::atomic<int>& SecondsSinceOutput, TLineHandler OnNewLine);

    void LineEnded(const std::string& Line) override;
    void LineContinues(const std::string& Text) override;

private:
    void Mirror(const std::string& Text);

    TLineList& FCapturedLines;
    TLineList* FMirrorLines;
    std::atomic<int>& FSecondsSinceOutput;
    TLineHandler FOnNewLine;
    // The mirror's last entry is an unfinished line that the next text replaces.
    bool FPartialShown = false;
};
