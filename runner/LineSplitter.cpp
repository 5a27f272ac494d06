#include "LineSplitter.h"

std::size_t TLineSplitter::EndLine(std::string_view Bytes, std::size_t At, TLineSink& Sink)
{
    // CR LF ends one line only when both arrive in the same read.
    if (Bytes[At] == '\r' && At + 1 < Bytes.size() && Bytes[At + 1] == '\n')
        ++At;
    Sink.LineEnded(FPendingText);
    FPendingText.clear();
    return At;
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
