#include "LineSplitter.h"

void TLineSplitter::Split(std::string_view Bytes, const std::function<bool()>& Terminated,
                          TLineSink& Sink)
{
    for (std::size_t i = 0; i < Bytes.size(); ++i) {
        if (Terminated())
            break;
        switch (Bytes[i]) {
        case '\0':
            break;
        case '\r':
            // CR LF ends one line only when both arrive in the same read.
            if (i + 1 < Bytes.size() && Bytes[i + 1] == '\n')
                ++i;
            [[fallthrough]];
        case '\n':
            Sink.LineEnded(FPendingText);
            FPendingText.clear();
            break;
        default:
            FPendingText.push_back(Bytes[i]);
        }
    }
    if (!FPendingText.empty())
        Sink.LineContinues(FPendingText);
}

void TLineSplitter::Finish(TLineSink& Sink)
{
    if (FPendingText.empty())
        return;
    Sink.LineEnded(FPendingText);
    FPendingText.clear();
}

TLineOutput::TLineOutput(TLineList& CapturedLines, TLineList* MirrorLines,
                         std::atomic<int>& SecondsSinceOutput, TLineHandler OnNewLine)
    : FCapturedLines(CapturedLines),
      FMirrorLines(MirrorLines),
      FSecondsSinceOutput(SecondsSinceOutput),
      FOnNewLine(std::move(OnNewLine))
{
}

void TLineOutput::LineEnded(const std::string& Line)
{
    FSecondsSinceOutput = 0;
    FCapturedLines.Add(Line);
    Mirror(Line);
    FPartialShown = false;
    if (FOnNewLine)
        FOnNewLine(Line, otEntireLine);
}

void TLineOutput::LineContinues(const std::string& Text)
{
    Mirror(Text);
    FPartialShown = true;
    if (FOnNewLine)
        FOnNewLine(Text, otBeginningOfLine);
}

void TLineOutput::Mirror(const std::string& Text)
{
    if (!FMirrorLines)
        return;
    if (FPartialShown)
        FMirrorLines->ReplaceLast(Text);
    else
        FMirrorLines->Add(Text);
}
