#include "ChildProcess.h"

#include <atomic>
#include <system_error>
#include <utility>

#include "DosCommandErrors.h"
#include "base/ProcessStart.h"

namespace {

// A pipe much larger than the default lets a fast child write on while the
// reader splits what it took (under Wine the default buffer holds the
// throughput to a few MB/s).
constexpr DWORD kPipeSize = 1024 * 1024;
// What one read takes at most: all the pipe holds, so a flood is taken in
// few reads.
constexpr DWORD kReadSize = kPipeSize;

[[noreturn]] void ThrowSystemError(DWORD Error)
{
    throw Exception(SystemErrorMessage(Error));
}

TPipe InputPipe()
{
    try {
        return MakePipe(TChildEnd::Read, kPipeSize);
    } catch (const std::system_error& error) {
        ThrowSystemError(static_cast<DWORD>(error.code().value()));
    }
}

// A pipe name no pipe of the system holds now: process ids are reused, and a
// pipe of an earlier process lives on while a child of it holds its end, so
// the name also carries this process's start and a count, and a name that
// turns out to be taken is passed over.
TKernelHandle NewOutputPipe(std::wstring& Name)
{
    static const std::wstring process = std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetTickCount64());
    static std::atomic<unsigned> pipes{0};
    constexpr int kAttempts = 64;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        Name = L"\\\\.\\pipe\\vidkiln-output-" + process + L"-" + std::to_wstring(++pipes);
        TKernelHandle read(CreateNamedPipeW(Name.c_str(), PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
                                            PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1,
                                            0, kPipeSize, 0, nullptr));
        if (read)
            return read;
        const DWORD error = GetLastError();
        if (error != ERROR_ACCESS_DENIED && error != ERROR_PIPE_BUSY)
            ThrowSystemError(error);
    }
    ThrowSystemError(ERROR_PIPE_BUSY);
}

// The output pipe: anonymous pipes cannot be read overlapped, so it is a
// named pipe of this process, one instance, local only. The child's end is
// an ordinary synchronous, inheritable handle.
TPipe OutputPipe()
{
    std::wstring name;
    TKernelHandle read = NewOutputPipe(name);
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    TKernelHandle write(CreateFileW(name.c_str(), GENERIC_WRITE | FILE_READ_ATTRIBUTES, 0, &inheritable, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!write)
        ThrowSystemError(GetLastError());
    return {std::move(read), std::move(write)};
}

} // namespace

// The child inherits its own pipe ends and nothing else: another runner
// starting a child at the same moment cannot hand it its pipe ends.
TChildProcess::TChildProcess(const std::wstring& CommandLine, DWORD PriorityClass)
    : FReadDone(CreateEventW(nullptr, TRUE, FALSE, nullptr)), FBuffer(kReadSize)
{
    if (!FReadDone)
        ThrowSystemError(GetLastError());
    TPipe input = InputPipe();
    TPipe output = OutputPipe();
    TProcessStart start;
    start.CommandLine = CommandLine;
    start.Flags = PriorityClass | CREATE_NEW_CONSOLE;
    start.StdInput = input.Read.Get();
    start.StdOutput = output.Write.Get();
    start.StdError = output.Write.Get();
    start.Show = SW_HIDE;
    TStartedProcess child;
    try {
        child = StartProcess(start);
    } catch (const std::system_error&) {
        throw TCreateProcessError(CommandLine + L" doesn't exist.");
    }
    FProcess = std::move(child.Process);
    FThread = std::move(child.Thread);
    FInputRead = std::move(input.Read);
    FInputWrite = std::move(input.Write);
    FOutputRead = std::move(output.Read);
    FOutputWrite = std::move(output.Write);
    StartRead();
}

TChildProcess::~TChildProcess()
{
    std::string_view dropped;
    FinishPendingRead(false, dropped);
}

bool TChildProcess::ReadExitCode(DWORD& ExitCode) const noexcept
{
    return GetExitCodeProcess(FProcess.Get(), &ExitCode) != FALSE;
}

bool TChildProcess::Terminate(UINT ExitCode) const noexcept
{
    return TerminateProcess(FProcess.Get(), ExitCode) != FALSE;
}

bool TChildProcess::Ended() const noexcept
{
    return WaitForSingleObject(FProcess.Get(), 0) == WAIT_OBJECT_0;
}

// A read that cannot be started leaves the event unsignalled: the run then
// goes on without output until the child ends.
void TChildProcess::StartRead() noexcept
{
    ResetEvent(FReadDone.Get());
    FReadPending = IssueRead();
}

bool TChildProcess::IssueRead() noexcept
{
    FRead = OVERLAPPED{};
    FRead.hEvent = FReadDone.Get();
    return ReadFile(FOutputRead.Get(), FBuffer.data(), kReadSize, nullptr, &FRead) ||
           GetLastError() == ERROR_IO_PENDING;
}

bool TChildProcess::TakeOutput(std::string_view& Bytes)
{
    // The caller has used the bytes of the last read: the buffer is free again.
    if (!FReadPending)
        StartRead();
    if (!FReadPending)
        return false;
    DWORD read = 0;
    if (!GetOverlappedResult(FOutputRead.Get(), &FRead, &read, FALSE)) {
        if (GetLastError() == ERROR_IO_INCOMPLETE)
            return false;
        read = 0;
    }
    FReadPending = false;
    Bytes = std::string_view(FBuffer.data(), read);
    return true;
}

bool TChildProcess::FinishPendingRead(bool Keep, std::string_view& Bytes) noexcept
{
    if (!FReadPending)
        return false;
    FReadPending = false;
    CancelIoEx(FOutputRead.Get(), &FRead);
    DWORD read = 0;
    // Waits until the read has ended either way: the buffer is the system's until then.
    if (!GetOverlappedResult(FOutputRead.Get(), &FRead, &read, TRUE) || read == 0 || !Keep)
        return false;
    Bytes = std::string_view(FBuffer.data(), read);
    return true;
}

bool TChildProcess::ReadWaitingOutput(std::string_view& Bytes) noexcept
{
    DWORD waiting = 0;
    if (!PeekNamedPipe(FOutputRead.Get(), nullptr, 0, nullptr, &waiting, nullptr) || waiting == 0)
        return false;
    DWORD read = 0;
    if (!IssueRead())
        return false;
    if (!GetOverlappedResult(FOutputRead.Get(), &FRead, &read, TRUE) || read == 0)
        return false;
    Bytes = std::string_view(FBuffer.data(), read);
    return true;
}
