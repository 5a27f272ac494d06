// mplayer.exe: takes Vidkiln's old probe command line and prints the file's
// length as "ID_LENGTH=<seconds>", asking a current ffprobe.
//
// Exit codes: 0 the length was printed; 1 the file has no length (not a
// media file the prober can read); 2 the command line cannot be taken;
// 3 the file cannot be read; 4 the prober is missing or cannot be started.

#include "tools/encoder/ArgQuote.h"
#include "tools/encoder/EngineOutput.h"
#include "tools/encoder/EngineRun.h"
#include "tools/encoder/LegacyCommand.h"
#include "tools/encoder/Loopback.h"
#include "tools/encoder/Win32Support.h"

#include <exception>

namespace vidkiln::tools {

namespace {

constexpr int kNoLength = 1;
constexpr int kBadCommandLine = 2;
constexpr int kUnreadable = 3;
constexpr int kNoEngine = 4;

void Say(const std::string& text) { WriteLine("mplayer.exe: " + DefuseMarkers(text)); }

int Probe(const std::wstring& file)
{
    const TWinsock winsock;
    std::string output;
    if (const auto seconds = ProbeDuration(FindEngine(L"ffprobe"), file, output)) {
        WriteLine(LengthLine(*seconds));
        return 0;
    }
    for (const std::string& line : LastLines(output, 4))
        Say(line);
    Say("no length found in " + Utf8(file));
    return kNoLength;
}

int Main()
{
    try {
        std::vector<std::wstring> arguments = SplitCommandLine(GetCommandLineW());
        arguments.erase(arguments.begin());
        const std::wstring file = FullPath(ParseProbeArguments(arguments));
        if (!IsFile(file)) {
            Say("cannot read " + Utf8(file) + ": " + Utf8(SystemErrorMessage(GetLastError())));
            return kUnreadable;
        }
        return Probe(file);
    } catch (const ECommandLine& error) {
        Say(std::string("cannot take the command line: ") + error.what());
        return kBadCommandLine;
    } catch (const EEngine& error) {
        Say(error.what());
        return kNoEngine;
    } catch (const std::exception& error) {
        Say(error.what());
        return kNoLength;
    }
}

}  // namespace

}  // namespace vidkiln::tools

int wmain() { return vidkiln::tools::Main(); }
