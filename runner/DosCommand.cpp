#include "DosCommand.h"

#include <functional>
#include <memory>
#include <new>
#include <string_view>

#include "ChildProcess.h"

namespace {

// How often the reader looks at the time limits while nothing else wakes
// it; only while a limit is set.
constexpr DWORD kLimitCheckMs = 250;

// Waits for Handle while answering messages that other threads send to this
// one: a line handler may be blocked in SendMessage to the UI thread until
// the UI thread answers, and the UI thread may be here, waiting for it.
void WaitServingSentMessages(HANDLE Handle)
{
    while (MsgWaitForMultipleObjects(1, &Handle, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1) {
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

// Sets an event when the scope ends, however it ends.
class TSignalOnExit {
public:
    explicit TSignalOnExit(HANDLE Event) noexcept : FEvent(Event) {}
    ~TSignalOnExit() { SetEvent(FEvent); }
    TSignalOnExit(const TSignalOnExit&) = delete;
    TSignalOnExit& operator=(const TSignalOnExit&) = delete;

private:
    HANDLE FEvent;
};

} // namespace

// TProcessTimer

const TClassInfo& TProcessTimer::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo(TClassBuilder<TProcessTimer>("TProcessTimer", TTimer::StaticClass()).Build());
    return Info;
}

TProcessTimer::TProcessTimer(TComponent* AOwner) : TTimer(AOwner)
{
    SetEnabled(false);
    OnTimer = MakeDelegate<&TProcessTimer::Tick>(this);
}

void TProcessTimer::StartCounting()
{
    SetInterval(1000);
    SecondsSinceStart = 0;
    SecondsSinceOutput = 0;
    FCounting = true;
    // Off and on again, so the first tick comes a full second after the start
    // even when the timer still runs from the run before.
    SetEnabled(false);
    SetEnabled(true);
}

void TProcessTimer::Tick(TObject*)
{
    if (!FCounting) {
        SetEnabled(false);
        return;
    }
    ++SecondsSinceStart;
    ++SecondsSinceOutput;
}

// TDosThread

TDosThread::TDosThread(TDosCommand& Runner, TProcessTimer& Timer)
    : FRunner(Runner),
      FTimer(Timer),
      FCommandLine(Runner.CommandLine),
      FCapturedLines(Runner.CapturedLines()),
      FMirrorLines(Runner.MirrorLines),
      FMaxTimeAfterBeginning(Runner.MaxTimeAfterBeginning),
      FMaxTimeAfterLastOutput(Runner.MaxTimeAfterLastOutput),
      FOnNewLine(Runner.OnNewLine),
      FOnTerminated(Runner.OnTerminated),
      FPriorityClass(Runner.PriorityClass),
      FDone(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      FWake(CreateEventW(nullptr, FALSE, FALSE, nullptr))
{
    if (!FDone || !FWake)
        throw Exception(SystemErrorMessage(GetLastError()));
}

void TDosThread::Stop() noexcept
{
    Terminate();
    SetEvent(FWake.Get());
}

void TDosThread::Execute()
{
    TSignalOnExit done(FDone.Get());
    std::unique_ptr<TChildProcess> child;
    try {
        child = std::make_unique<TChildProcess>(FCommandLine, FPriorityClass);
    } catch (...) {
        EndRun(TDosCommand::ExitCodeNotStarted, CurrentExceptionMessage());
        return;
    }
    TLineOutput output(FCapturedLines, FMirrorLines, FTimer.SecondsSinceOutput,
                       [this](const std::string& Line, TOutputType OutputType) { NewLine(Line, OutputType); });
    TRunResult result{TDosCommand::ExitCodeNone, {}};
    try {
        result = Watch(*child, output);
    } catch (...) {
        // Only memory can run out here; the run still has to end for the caller.
        child->Terminate(0);
        result = {TDosCommand::ExitCodeStopped, CurrentExceptionMessage()};
    }
    child.reset();
    EndRun(result.ExitCode, result.Error);
}

// The read loop: returns once the child has ended, Stop has ended it, or a
// time limit has run out.
//
// Between passes the reader sleeps in one wait for whichever comes first:
// output, the child's end, Stop, or (only while a limit is set) the next look
// at the limits. A silent child costs nothing, and a line is taken as soon
// as the child has written it.
TDosThread::TRunResult TDosThread::Watch(TChildProcess& Child, TLineOutput& Output)
{
    TLineSplitter splitter;
    const auto terminated = [this] { return Terminated(); };
    const auto split = [&](std::string_view Bytes) { splitter.Split(Bytes, terminated, Output); };
    bool killed = false;
    TRunResult result{TDosCommand::ExitCodeNone, {}};
    for (;;) {
        // Read before taking the output, so one full pass follows the
        // child's end and collects its last output.
        DWORD exitCode = STILL_ACTIVE;
        if (!Child.ReadExitCode(exitCode)) {
            // Nothing to watch (no process object): the run ends now.
            result.Error = SystemErrorMessage(GetLastError());
            break;
        }
        for (std::string_view bytes; Child.TakeOutput(bytes);)
            split(bytes);
        // A child that has ended already keeps its own exit code.
        if (Terminated() && !Child.Ended() && Child.Terminate(0))
            killed = true;
        // A child that ended with 259 itself would otherwise keep Stop waiting forever.
        if (exitCode != STILL_ACTIVE || (Terminated() && Child.Ended())) {
            result.ExitCode = killed ? TDosCommand::ExitCodeStopped : exitCode;
            Child.TakeRemainingOutput(split);
            break;
        }
        if (LimitExceeded()) {
            result.ExitCode = TDosCommand::ExitCodeTimedOut;
            break;
        }
        WaitForChange(Child);
    }
    splitter.Finish(Output);
    return result;
}

void TDosThread::WaitForChange(const TChildProcess& Child) noexcept
{
    HANDLE handles[3] = {Child.OutputArrived(), FWake.Get(), Child.Process()};
    // A child that ended with 259 stays signalled: only Stop ends that run.
    // Asked now, not taken from the pass: a child that ended since then
    // must still wake this wait.
    DWORD exitCode = 0;
    const bool endedWith259 = Child.Ended() && Child.ReadExitCode(exitCode) && exitCode == STILL_ACTIVE;
    const DWORD count = endedWith259 ? 2 : 3;
    const bool limited = FMaxTimeAfterBeginning > 0 || FMaxTimeAfterLastOutput > 0;
    ++FRunner.FReaderWaits;
    WaitForMultipleObjects(count, handles, FALSE, limited ? kLimitCheckMs : INFINITE);
}

bool TDosThread::LimitExceeded() const noexcept
{
    return (FMaxTimeAfterBeginning > 0 && FTimer.SecondsSinceStart > FMaxTimeAfterBeginning) ||
           (FMaxTimeAfterLastOutput > 0 && FTimer.SecondsSinceOutput > FMaxTimeAfterLastOutput);
}

void TDosThread::NewLine(const std::string& Line, TOutputType OutputType)
{
    if (!FOnNewLine)
        return;
    // A handler's exception must not end the reading: the run would never end.
    try {
        FOnNewLine(&FRunner, Line, OutputType);
    } catch (...) {
        FRunner.AddCurrentError();
    }
}

// The end of every run, started or not: the result first, so a caller that
// sees IsRunning turn false finds ExitCode and LastError already set.
void TDosThread::EndRun(int64_t ExitCode, const std::wstring& Error) noexcept
{
    if (!Error.empty())
        FRunner.AddError(Error);
    FRunner.SetExitCode(ExitCode);
    FTimer.StopCounting();
    if (!FOnTerminated)
        return;
    try {
        FOnTerminated(&FRunner);
    } catch (...) {
        FRunner.AddCurrentError();
    }
}

// TDosCommand

const TClassInfo& TDosCommand::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo(TClassBuilder<TDosCommand>("TDosCommand", TComponent::StaticClass())
        .Field("CommandLine", &TDosCommand::CommandLine)
        .Field("InputToOutput", &TDosCommand::InputToOutput)
        .Field("MaxTimeAfterBeginning", &TDosCommand::MaxTimeAfterBeginning)
        .Field("MaxTimeAfterLastOutput", &TDosCommand::MaxTimeAfterLastOutput)
        .Build());
    return Info;
}

TDosCommand::TDosCommand(TComponent* AOwner) : TComponent(AOwner) {}

TDosCommand::~TDosCommand()
{
    Stop();
}

void TDosCommand::Start()
{
    if (CommandLine.empty())
        throw EDosCommand(L"No Commandline to execute");
    Stop();
    // Owned by the runner rather than by the runner's owner: an owner frees
    // its components newest first, and the timer would go before the runner
    // whose reader thread still counts on it.
    if (!FTimer)
        FTimer = new TProcessTimer(this);
    FCapturedLines.Clear();
    {
        std::lock_guard guard(FResultLock);
        FExitCode = ExitCodeNone;
        FLastError.clear();
    }
    FReaderWaits = 0;
    FTimer->StartCounting();
    try {
        FThread = TThread::Create<TDosThread>(*this, *FTimer);
    } catch (...) {
        FTimer->StopCounting();
        throw;
    }
}

void TDosCommand::Stop()
{
    if (!FThread)
        return;
    FThread->Stop();
    WaitServingSentMessages(FThread->Done());
    FThread.reset();
}

bool TDosCommand::IsRunning() const noexcept
{
    return FTimer && FTimer->Counting();
}

int64_t TDosCommand::ExitCode() const
{
    std::lock_guard guard(FResultLock);
    return FExitCode;
}

std::wstring TDosCommand::LastError() const
{
    std::lock_guard guard(FResultLock);
    return FLastError;
}

void TDosCommand::SetExitCode(int64_t Value) noexcept
{
    std::lock_guard guard(FResultLock);
    FExitCode = Value;
}

void TDosCommand::AddError(const std::wstring& Message) noexcept
{
    std::lock_guard guard(FResultLock);
    try {
        if (!FLastError.empty())
            FLastError += L"\r\n";
        FLastError += Message;
    } catch (const std::bad_alloc&) {
        // Runs end on the reader thread whatever happens; a message that finds
        // no memory is the one thing given up.
    }
}

void TDosCommand::AddCurrentError() noexcept
{
    try {
        AddError(CurrentExceptionMessage());
    } catch (const std::bad_alloc&) {
        // As in AddError: the run goes on without the message.
    }
}
