// TDosCommand runs one command line as a hidden console child, reads its
// standard output and standard error on a reader thread (TDosThread), cuts
// them into lines and reports each line and the end of the run. TProcessTimer
// counts the seconds for the two optional time limits.
//
// Threads: Start, Stop, IsRunning, ExitCode, LastError and reads of
// CapturedLines belong to the UI thread (the one that created the runner).
// OnNewLine and OnTerminated are raised on the reader thread: a handler must
// not touch windows; it sets a flag, posts, or sends a value to the UI thread.
// Stop keeps serving sent messages while it waits, so a handler blocked in
// SendMessage to the UI thread cannot deadlock it.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

#include "DosCommandErrors.h"
#include "base/KernelHandle.h"
#include "LineList.h"
#include "LineSplitter.h"
#include "framework/Thread.h"
#include "framework/Timer.h"

using TNewLineEvent = TDelegate<void(TObject* Sender, const std::string& NewLine, TOutputType OutputType)>;

// Counts whole seconds on the UI thread while a run is watched.
class TProcessTimer : public TTimer {
    VK_CLASS_INFO
public:
    // Created disabled.
    explicit TProcessTimer(TComponent* AOwner);

    // Increased by every tick; SecondsSinceOutput is reset by the reader
    // thread at every complete line.
    std::atomic<int32_t> SecondsSinceStart{0};
    std::atomic<int32_t> SecondsSinceOutput{0};

    // UI thread: both counters to 0, a tick every 1000 ms.
    void StartCounting();
    // Reader thread: the run is over. A window timer can only be switched
    // off on its own thread, so it goes off at its next tick.
    void StopCounting() noexcept { FCounting = false; }
    bool Counting() const noexcept { return FCounting; }

private:
    void Tick(TObject* Sender);

    std::atomic<bool> FCounting{false};
};

class TDosCommand;
class TChildProcess;

// The reader thread of one run: starts the child, polls its output, splits
// it into lines and ends the run. The runner releases it in Stop.
class TDosThread final : public TThread {
public:
    TDosThread(TDosCommand& Runner, TProcessTimer& Timer);

    // Signalled once Execute has done everything it does; after that the
    // thread touches nothing outside itself.
    HANDLE Done() const noexcept { return FDone.Get(); }
    // Terminate, and wakes the reader from its wait so it sees it at once.
    void Stop() noexcept;

protected:
    void Execute() override;

private:
    struct TRunResult {
        int64_t ExitCode;
        std::wstring Error;
    };
    TRunResult Watch(TChildProcess& Child, TLineOutput& Output);
    void WaitForChange(const TChildProcess& Child) noexcept;
    bool LimitExceeded() const noexcept;
    void NewLine(const std::string& Line, TOutputType OutputType);
    void EndRun(int64_t ExitCode, const std::wstring& Error) noexcept;

    TDosCommand& FRunner;
    TProcessTimer& FTimer;
    // Copies of the runner's settings at the start, so changes during a run
    // wait for the next one.
    const std::wstring FCommandLine;
    TLineList& FCapturedLines;
    TLineList* const FMirrorLines;
    const int32_t FMaxTimeAfterBeginning;
    const int32_t FMaxTimeAfterLastOutput;
    const TNewLineEvent FOnNewLine;
    const TNotifyEvent FOnTerminated;
    const DWORD FPriorityClass;
    TKernelHandle FDone;
    TKernelHandle FWake;
};

class TDosCommand : public TComponent {
    VK_CLASS_INFO
public:
    // ExitCode after a run that did not end with the child's own exit code.
    // Real exit codes are 0 to 4294967295, so these never collide with one.
    static constexpr int64_t ExitCodeNone = -1;       // no run has ended since the last Start, or the
                                                      // exit code could not be read (see LastError)
    static constexpr int64_t ExitCodeNotStarted = -2; // pipes or process could not be made (see LastError)
    static constexpr int64_t ExitCodeStopped = -3;    // Stop terminated the child
    static constexpr int64_t ExitCodeTimedOut = -4;   // a time limit ended the watching; the child runs on

    explicit TDosCommand(TComponent* AOwner);
    // Stops a run that is still going, so no thread outlives the runner.
    ~TDosCommand() override;

    // Published properties; all are read once, at Start.
    std::wstring CommandLine;
    // Raised on the reader thread for every complete line (otEntireLine) and,
    // whenever a read ends inside a line, for its text so far (otBeginningOfLine).
    TNewLineEvent OnNewLine;
    // Raised on the reader thread once per run, after IsRunning turned false.
    TNotifyEvent OnTerminated;
    // Kept for the child's input, which this runner never writes to.
    bool InputToOutput = false;
    // The watching ends once more seconds than these have passed since the
    // start or since the last complete line; 0 or less: no limit. The child
    // is not ended by a limit.
    int32_t MaxTimeAfterBeginning = 0;
    int32_t MaxTimeAfterLastOutput = 0;

    DWORD PriorityClass = NORMAL_PRIORITY_CLASS;
    // Optional, the caller's: mirrors the output including the unfinished last line.
    TLineList* MirrorLines = nullptr;

    // The complete lines of the current or last run; emptied by Start.
    TLineList& CapturedLines() noexcept { return FCapturedLines; }

    // Throws EDosCommand for an empty CommandLine. Stops a run still going,
    // then starts the new one and returns without waiting for it.
    void Start();
    // Ends the child if it still runs, waits for the reader thread and
    // releases it. Without a run it does nothing.
    void Stop();
    // True from Start until the reader thread has ended the run.
    bool IsRunning() const noexcept;

    // Valid from the end of a run until the next Start: the child's exit code
    // or one of the ExitCode... values above.
    int64_t ExitCode() const;
    // Why the last run failed to start (the TCreateProcessError message or the
    // system's text for a pipe failure), or the message of an exception that
    // escaped an event handler; empty otherwise. Cleared by Start.
    std::wstring LastError() const;

    // The counting timer, made at the first Start; nullptr before.
    TProcessTimer* Timer() const noexcept { return FTimer; }
    // How often the reader of the current or last run has waited for output,
    // the child's end or Stop: what a silent child costs, for tests and the
    // benchmark.
    unsigned ReaderWaits() const noexcept { return FReaderWaits; }

private:
    friend class TDosThread;
    // Reader thread. Never throw: the end of a run must always be reached.
    void SetExitCode(int64_t Value) noexcept;
    void AddError(const std::wstring& Message) noexcept;
    // Inside a catch block: keeps the message of the exception in flight.
    void AddCurrentError() noexcept;

    TLineList FCapturedLines;
    TProcessTimer* FTimer = nullptr;
    TThread::Ptr<TDosThread> FThread;
    std::atomic<unsigned> FReaderWaits{0};
    mutable std::mutex FResultLock;
    int64_t FExitCode = ExitCodeNone;
    std::wstring FLastError;
};
