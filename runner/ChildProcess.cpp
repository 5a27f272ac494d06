#include "ChildProcess.h"

#include <utility>
#include <vector>

#include "DosCommandErrors.h"

namespace {

// A polling reader empties the pipe at most once per pass; a pipe much larger
// than the default lets a fast child write on while the reader sleeps (under
// Wine the default buffer holds the throughput to a few MB/s).
constexpr DWORD kPipeSize = 1024 * 1024;

struct TPipe {
    TKernelHandle Read;
    TKernelHandle Write;
};

// Both ends are made inheritable, then the one the runner keeps is taken
// back, so the child cannot hold the runner's end open.
TPipe MakePipe(bool RunnerReads)
{
    SECURITY_ATTRIBUTES attributes{};
    attributes.nLength = sizeof attributes;
    attributes.bInheritHandle = TRUE;
    HANDLE read = nullptr;
    HANDLE write = nullptr;
    if (!CreatePipe(&read, &write, &attributes, kPipeSize))
        throw Exception(SystemErrorMessage(GetLastError()));
    TPipe pipe{TKernelHandle(read), TKernelHandle(write)};
    const HANDLE kept = RunnerReads ? read : write;
    if (!SetHandleInformation(kept, HANDLE_FLAG_INHERIT, 0))
        throw Exception(SystemErrorMessage(GetLastError()));
    return pipe;
}

} // namespace

TChildProcess::TChildProcess(const std::wstring& CommandLine, DWORD PriorityClass)
{
    TPipe input = MakePipe(false);
    TPipe output = MakePipe(true);

    STARTUPINFOW startup{};
    GetStartupInfoW(&startup);
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    startup.hStdInput = input.Read.Get();
    startup.hStdOutput = output.Write.Get();
    startup.hStdError = output.Write.Get();

    // CreateProcessW may write into the command line; it gets a copy.
    std::vector<wchar_t> commandLine(CommandLine.begin(), CommandLine.end());
    commandLine.push_back(L'\0');
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE,
                        PriorityClass | CREATE_NEW_CONSOLE, nullptr, nullptr, &startup, &process))
        throw TCreateProcessError(CommandLine + L" doesn't exist.");

    FProcess.Reset(process.hProcess);
    FThread.Reset(process.hThread);
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

std::wstring SystemErrorMessage(DWORD Error)
{
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, Error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    if (length == 0)
        return L"System error " + std::to_wstring(Error);
    std::wstring message(text, length);
    LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' '))
        message.pop_back();
    return message;
}
