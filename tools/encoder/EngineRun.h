// Finding and running the real FFmpeg programs. A Windows engine runs in a
// job object that dies with the tool, its output read through a pipe; a Linux
// engine under Wine runs through the watchdog (Watchdog.h), its output and
// exit code read from the watchdog's connection. Both look the same from
// here: output bytes, then an end with or without an exit code.
#pragma once

#include "tools/encoder/EngineOutput.h"
#include "tools/encoder/EngineSearch.h"
#include "tools/encoder/Loopback.h"
#include "tools/encoder/Win32Support.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace vidkiln::tools {

// The engine is missing or cannot be started; the message says why.
class EEngine : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Finds "ffmpeg" or "ffprobe"; throws EEngine naming every place looked at.
TEngineProgram FindEngine(const std::wstring& name);

// A path as the engine sees it: the Linux path for a Linux engine.
std::wstring EnginePath(const TEngineProgram& engine, const std::wstring& windowsPath);

class TEngineRun {
public:
    // Starts the engine; `cleanup` (Windows path, may be empty) is removed
    // if this process dies first: by the watchdog of a Linux engine, by a
    // guard process (this program, started with kGuardOption) for a Windows
    // engine. Throws EEngine.
    TEngineRun(const TEngineProgram& engine, const std::vector<std::wstring>& arguments,
               const std::wstring& cleanup);
    // Ends the guard: whoever ends normally cleans up for itself.
    ~TEngineRun();
    TEngineRun(const TEngineRun&) = delete;
    TEngineRun& operator=(const TEngineRun&) = delete;

    // Takes what has arrived; true once the engine's end is known.
    bool Pump();
    // The socket worth waiting on, INVALID_SOCKET for a Windows engine.
    SOCKET Socket() const;
    std::optional<int> ExitCode() const { return FExitCode; }
    std::string_view Output() const { return FStream.Output(); }
    // Why the end came without an exit code, empty otherwise.
    const std::string& Failure() const { return FFailure; }

private:
    void StartGuard(const std::wstring& cleanup);
    void StartWindows(const TEngineProgram& engine, const std::vector<std::wstring>& arguments);
    void StartLinux(const TEngineProgram& engine, const std::vector<std::wstring>& arguments,
                    const std::wstring& cleanup);
    bool PumpWindows();
    bool PumpLinux();

    std::string FToken;  // marks this run's exit trailer
    TWatchStream FStream;
    std::optional<int> FExitCode;
    std::string FFailure;
    bool FEnded = false;
    // Windows engine.
    TKernelHandle FJob;
    TKernelHandle FProcess;
    TKernelHandle FOutput;
    TKernelHandle FGuard;
    // Linux engine.
    std::optional<TListener> FWatchListener;
    TSocket FWatch;
    ULONGLONG FStartTick = 0;
};

inline constexpr wchar_t kGuardOption[] = L"--vidkiln-guard";

// The guard's whole life: `arguments` are kGuardOption, the inherited
// handle of the tool's process, and the file to remove once the tool has
// ended. Returns the exit code.
int RunGuard(const std::vector<std::wstring>& arguments);

// Runs the engine to its end, waiting on nothing else.
void RunToEnd(TEngineRun& run);

// Asks ffprobe for the file's duration; `output` receives ffprobe's text.
std::optional<double> ProbeDuration(const TEngineProgram& ffprobe, const std::wstring& file,
                                    std::string& output);

}  // namespace vidkiln::tools
