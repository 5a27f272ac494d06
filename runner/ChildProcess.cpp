#include "ChildProcess.h"

#include <system_error>
#include <utility>

#include "DosCommandErrors.h"
#include "base/ProcessStart.h"

namespace {

// A polling reader empties the pipe at most once per pass; a pipe much larger
// than the default lets a fast child write on while the reader sleeps (under
// Wine the default buffer holds the throughput to a few MB/s).
constexpr DWORD kPipeSize = 1024 * 1024;

TPipe ChildPipe(TChildEnd ChildEnd)
{
    try {
        return MakePipe(ChildEnd, kPipeSize);
    } catch (const std::system_error& error) {
        throw Exception(SystemErrorMessage(static_cast<DWORD>(error.code().value())));
    }
}

} // namespace

// The child inherits its own pipe ends and nothing else: another runner
// starting a child at the same moment cannot hand it its pipe ends.
TChildProcess::TChildProcess(const std::wstring& CommandLine, DWORD PriorityClass)
{
    TPipe input = ChildPipe(TChildEnd::Read);
    TPipe output = ChildPipe(TChildEnd::Write);
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
}

bool TChildProcess::ReadExitCode(DWORD& ExitCode) const noexcept
{
    return GetExitCodeProcess(FProcess.Get(), &ExitCode) != FALSE;
}

DWORD TChildProcess::Waiting() const noexcept
{
    DWORD waiting = 0;
    if (!PeekNamedPipe(FOutputRead.Get(), nullptr, 0, nullptr, &waiting, nullptr))
        return 0;
    return waiting;
}

DWORD TChildProcess::Read(char* Buffer, DWORD Size) const noexcept
{
    DWORD read = 0;
    if (!ReadFile(FOutputRead.Get(), Buffer, Size, &read, nullptr))
        return 0;
    return read;
}

bool TChildProcess::Terminate(UINT ExitCode) const noexcept
{
    return TerminateProcess(FProcess.Get(), ExitCode) != FALSE;
}

bool TChildProcess::Ended() const noexcept
{
    return WaitForSingleObject(FProcess.Get(), 0) == WAIT_OBJECT_0;
}
