// ffmpeg.exe: takes Vidkiln's old encoder command line, runs a current FFmpeg
// with the same settings, prints the progress lines Vidkiln reads, and puts
// the result in place only when the engine finished it.
//
// Exit codes: 0 the output is complete and in place; 1 the engine failed;
// 2 the command line cannot be taken; 3 refused input or output; 4 the
// engine is missing or cannot be started.

#include "tools/encoder/ArgQuote.h"
#include "tools/encoder/EngineOutput.h"
#include "tools/encoder/EngineRun.h"
#include "tools/encoder/LegacyCommand.h"
#include "tools/encoder/Loopback.h"
#include "tools/encoder/Win32Support.h"

#include <exception>

namespace vidkiln::tools {

namespace {

constexpr int kFailed = 1;
constexpr int kBadCommandLine = 2;
constexpr int kRefused = 3;
constexpr int kNoEngine = 4;

// How long the progress connection may stay open after the engine's end.
constexpr ULONGLONG kProgressGraceMs = 2000;

class ERefused : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

void Say(const std::string& text) { WriteLine("ffmpeg.exe: " + DefuseMarkers(text)); }

struct TPaths {
    std::wstring Input;
    std::wstring Output;
    std::wstring Temporary;
};

// The checks that keep every source and every older result safe.
TPaths CheckedPaths(const TEncodeRequest& request)
{
    TPaths paths{FullPath(request.Input), FullPath(request.Output), L""};
    const TKernelHandle input(CreateFileW(paths.Input.c_str(), GENERIC_READ,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, 0, nullptr));
    if (!input || !IsFile(paths.Input))
        throw ERefused("cannot read the input " + Utf8(paths.Input) + ": " +
                       Utf8(SystemErrorMessage(GetLastError())));
    if (!IsFolder(FolderOf(paths.Output)))
        throw ERefused("the output folder " + Utf8(FolderOf(paths.Output)) + " does not exist");
    if (IsFolder(paths.Output))
        throw ERefused("the output " + Utf8(paths.Output) + " is a folder");
    paths.Temporary = paths.Output + L".vidkiln-part";
    if (SameFile(paths.Input, paths.Output) || SameFile(paths.Input, paths.Temporary))
        throw ERefused("the output " + Utf8(paths.Output) + " is the input file itself");
    return paths;
}

class TConversion {
public:
    TConversion(const TEncodeRequest& request, const TPaths& paths)
        : FRequest(request), FPaths(paths), FEncoder(FindEngine(L"ffmpeg"))
    {
    }

    int Run()
    {
        const std::wstring url = L"tcp://127.0.0.1:" + std::to_wstring(FProgressListener.Port());
        const TEngineTarget target{EnginePath(FEncoder, FPaths.Input),
                                   EnginePath(FEncoder, FPaths.Temporary), url};
        TEngineRun engine(FEncoder, EncoderEngineArguments(FRequest, target), FPaths.Temporary);
        Follow(engine);
        if (Finished(engine) && Written() && PutInPlace())
            return 0;
        DeleteFileW(FPaths.Temporary.c_str());
        return kFailed;
    }

private:
    void Follow(TEngineRun& engine)
    {
        ULONGLONG endedAt = 0;
        while (true) {
            // Socket traffic wakes the wait at once; the timeout only paces the
            // polling of a Windows engine's process and pipe.
            WaitReadable({FProgress ? FProgress.Get() : FProgressListener.Get(), engine.Socket()}, 50);
            if (!FProgress && !FProgressClosed)
                FProgress = FProgressListener.TryAccept();
            if (FProgress)
                ReadProgress();
            if (!engine.Pump())
                continue;
            if (!endedAt)
                endedAt = GetTickCount64();
            if (!FProgress || GetTickCount64() - endedAt > kProgressGraceMs)
                return;
        }
    }

    void ReadProgress()
    {
        std::string bytes;
        const TRead read = ReadAvailable(FProgress, bytes);
        for (const TProgressReport& report : FParser.Feed(bytes))
            WriteLine(ProgressLine(report.Seconds));
        if (read == TRead::rdClosed) {
            FProgress.Close();
            FProgressClosed = true;
        }
    }

    bool Finished(const TEngineRun& engine)
    {
        if (engine.ExitCode() == 0 && FParser.Ended())
            return true;
        for (const std::string& line : LastLines(engine.Output(), 8))
            Say(line);
        if (!engine.Failure().empty())
            Say(engine.Failure());
        else if (engine.ExitCode() != 0)
            Say("the encoder failed with exit code " + std::to_string(engine.ExitCode().value_or(-1)));
        else
            Say("the encoder ended without reporting a normal end");
        return false;
    }

    // The engine's exit code and its last report already say the file was
    // finished (the report follows the file's trailer); an empty or missing
    // file still never replaces anything.
    bool Written()
    {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (GetFileAttributesExW(FPaths.Temporary.c_str(), GetFileExInfoStandard, &data) &&
            !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            (data.nFileSizeLow != 0 || data.nFileSizeHigh != 0))
            return true;
        Say("the encoder's output " + Utf8(FPaths.Temporary) + " is missing or empty");
        return false;
    }

    bool PutInPlace()
    {
        if (MoveFileExW(FPaths.Temporary.c_str(), FPaths.Output.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        Say("cannot replace " + Utf8(FPaths.Output) + ": " + Utf8(SystemErrorMessage(GetLastError())));
        return false;
    }

    const TEncodeRequest& FRequest;
    const TPaths& FPaths;
    TEngineProgram FEncoder;
    TListener FProgressListener;
    TSocket FProgress;
    bool FProgressClosed = false;
    TProgressParser FParser;
};

int Main()
{
    try {
        std::vector<std::wstring> arguments = SplitCommandLine(GetCommandLineW());
        arguments.erase(arguments.begin());
        if (!arguments.empty() && arguments[0] == kGuardOption)
            return RunGuard(arguments);
        const TEncodeRequest request = ParseEncoderArguments(arguments);
        const TPaths paths = CheckedPaths(request);
        const TWinsock winsock;
        return TConversion(request, paths).Run();
    } catch (const ECommandLine& error) {
        Say(std::string("cannot take the command line: ") + error.what());
        return kBadCommandLine;
    } catch (const ERefused& error) {
        Say(error.what());
        return kRefused;
    } catch (const EEngine& error) {
        Say(error.what());
        return kNoEngine;
    } catch (const std::exception& error) {
        Say(error.what());
        return kFailed;
    }
}

}  // namespace

}  // namespace vidkiln::tools

int wmain() { return vidkiln::tools::Main(); }
