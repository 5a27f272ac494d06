#include "tools/encoder/EngineRun.h"

#include "tools/encoder/ArgQuote.h"
#include "tools/encoder/LegacyCommand.h"
#include "tools/encoder/Watchdog.h"

#include "base/ProcessStart.h"

#include <system_error>

namespace vidkiln::tools {

namespace {

// A Linux engine that has not called back by then was never started.
constexpr ULONGLONG kWatchdogConnectMs = 20000;

std::string RunToken()
{
    return std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount64());
}

// Starts a child that inherits `inherited` alone; `output`, when given,
// becomes its stdout and stderr. Throws EEngine.
TStartedProcess StartChild(const std::wstring& program, const std::wstring& commandLine, HANDLE inherited,
                           HANDLE output, DWORD flags)
{
    TProcessStart start;
    start.Program = program;
    start.CommandLine = commandLine;
    start.Flags = flags | CREATE_NO_WINDOW;
    start.StdOutput = output;
    start.StdError = output;
    start.Inherit = {inherited};
    try {
        return StartProcess(start);
    } catch (const std::system_error& error) {
        throw EEngine("cannot start " + Utf8(program) + ": " +
                      Utf8(SystemErrorMessage(static_cast<DWORD>(error.code().value()))));
    }
}

std::vector<std::wstring> LinuxDirs()
{
    std::vector<std::wstring> dirs;
    for (const char* dir : {"/usr/bin", "/usr/local/bin"})
        if (const auto windows = WindowsPathOf(dir))
            dirs.push_back(*windows);
    return dirs;
}

}  // namespace

TEngineProgram FindEngine(const std::wstring& name)
{
    TEngineSearch search;
    search.EngineDir = EnvironmentValue(kEngineDirVariable);
    search.ToolsDir = ModuleFolder();
    search.PathVariable = EnvironmentValue(L"PATH").value_or(L"");
    search.UnderWine = UnderWine();
    if (search.UnderWine)
        search.LinuxDirs = LinuxDirs();
    const TEngineFound found = FindEngineProgram(search, name, IsFile);
    if (!found.Program)
        throw EEngine(Utf8(DescribeSearch(name, found)));
    return *found.Program;
}

std::wstring EnginePath(const TEngineProgram& engine, const std::wstring& windowsPath)
{
    if (!engine.Linux)
        return windowsPath;
    const auto linux = LinuxPathOf(windowsPath);
    if (!linux)
        throw EEngine("cannot map " + Utf8(windowsPath) + " to a Linux path");
    return *linux;
}

TEngineRun::TEngineRun(const TEngineProgram& engine, const std::vector<std::wstring>& arguments,
                       const std::wstring& cleanup)
    : FToken(RunToken()), FStream(ExitTrailer(FToken))
{
    if (engine.Linux) {
        StartLinux(engine, arguments, cleanup);
        return;
    }
    if (!cleanup.empty())
        StartGuard(cleanup);
    StartWindows(engine, arguments);
}

void TEngineRun::StartWindows(const TEngineProgram& engine, const std::vector<std::wstring>& arguments)
{
    TPipe pipe;
    try {
        pipe = MakePipe(TChildEnd::Write);
    } catch (const std::system_error& error) {
        throw EEngine("cannot create a pipe: " + Utf8(SystemErrorMessage(static_cast<DWORD>(error.code().value()))));
    }
    FOutput = std::move(pipe.Read);
    const HANDLE write = pipe.Write.Get();

    // The engine dies with the job, and the job with the last handle to it:
    // this process's, closed by the system however the tool ends.
    FJob = TKernelHandle(CreateJobObjectW(nullptr, nullptr));
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (FJob)
        SetInformationJobObject(FJob.Get(), JobObjectExtendedLimitInformation, &limits, sizeof limits);

    std::vector<std::wstring> all = {engine.Path};
    all.insert(all.end(), arguments.begin(), arguments.end());
    TStartedProcess process = StartChild(engine.Path, JoinCommandLine(all), write, write, CREATE_SUSPENDED);
    FProcess = std::move(process.Process);
    // Without the job (a system that forbids nested jobs) the engine still
    // runs; it just could outlive a killed tool.
    if (FJob)
        AssignProcessToJobObject(FJob.Get(), FProcess.Get());
    ResumeThread(process.Thread.Get());
}

void TEngineRun::StartGuard(const std::wstring& cleanup)
{
    HANDLE self = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &self,
                         SYNCHRONIZE, TRUE, 0))
        return;
    const TKernelHandle ownHandle(self);
    // The guard writes nothing. Its output is the null device, never a copy
    // of the tool's own standard handles: whoever reads the tool's output
    // must see it end when the tool ends, not when the guard does.
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    const TKernelHandle nothing(CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                                            OPEN_EXISTING, 0, nullptr));
    const std::wstring program = ModulePath();
    const std::vector<std::wstring> words = {
        program, kGuardOption, std::to_wstring(reinterpret_cast<uintptr_t>(self)), cleanup};
    // Outside any job of the tool's if the system allows, so the guard
    // outlives a tool whose whole job is ended. A guard that cannot start
    // costs only the cleanup after a stop.
    for (const DWORD flags : {static_cast<DWORD>(CREATE_BREAKAWAY_FROM_JOB), DWORD{0}}) {
        try {
            FGuard = StartChild(program, JoinCommandLine(words), self, nothing.Get(), flags).Process;
            return;
        } catch (const EEngine&) {
        }
    }
}

TEngineRun::~TEngineRun()
{
    if (FGuard) {
        TerminateProcess(FGuard.Get(), 0);
        WaitForSingleObject(FGuard.Get(), 1000);
    }
}

int RunGuard(const std::vector<std::wstring>& arguments)
{
    if (arguments.size() != 3 || arguments[0] != kGuardOption)
        return 2;
    const TKernelHandle tool(reinterpret_cast<HANDLE>(static_cast<uintptr_t>(std::stoull(arguments[1]))));
    if (WaitForSingleObject(tool.Get(), INFINITE) != WAIT_OBJECT_0)
        return 2;
    // The tool ended without ending this guard: it was stopped. Its engine
    // dies with the job; the file can go once the engine has let go of it.
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (DeleteFileW(arguments[2].c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND ||
            GetLastError() == ERROR_PATH_NOT_FOUND)
            return 0;
        Sleep(50);
    }
    return 1;
}

void TEngineRun::StartLinux(const TEngineProgram& engine, const std::vector<std::wstring>& arguments,
                            const std::wstring& cleanup)
{
    try {
        FWatchListener.emplace();
    } catch (const std::runtime_error& error) {
        throw EEngine(error.what());
    }
    std::vector<std::wstring> all = {kWatchdogShell};
    const auto watchdog =
        WatchdogArguments(FWatchListener->Port(), Wide(FToken),
                          cleanup.empty() ? L"" : EnginePath(engine, cleanup),
                          EnginePath(engine, engine.Path), arguments);
    all.insert(all.end(), watchdog.begin(), watchdog.end());
    std::wstring commandLine = JoinCommandLine(all);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    // Wine starts a Linux program but hands back no usable process handle.
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                        nullptr, nullptr, &startup, &process))
        throw EEngine("cannot start " + Utf8(kWatchdogShell) + ": " +
                      Utf8(SystemErrorMessage(GetLastError())));
    if (process.hProcess)
        CloseHandle(process.hProcess);
    if (process.hThread)
        CloseHandle(process.hThread);
    FStartTick = GetTickCount64();
}

bool TEngineRun::Pump()
{
    if (!FEnded)
        FEnded = FProcess ? PumpWindows() : PumpLinux();
    return FEnded;
}

SOCKET TEngineRun::Socket() const
{
    if (FWatch)
        return FWatch.Get();
    return FWatchListener ? FWatchListener->Get() : INVALID_SOCKET;
}

bool TEngineRun::PumpWindows()
{
    const bool exited = WaitForSingleObject(FProcess.Get(), 0) == WAIT_OBJECT_0;
    char buffer[16 * 1024];
    DWORD waiting = 0;
    while (PeekNamedPipe(FOutput.Get(), nullptr, 0, nullptr, &waiting, nullptr) && waiting > 0) {
        DWORD count = 0;
        if (!ReadFile(FOutput.Get(), buffer, sizeof buffer, &count, nullptr) || count == 0)
            break;
        FStream.Feed(std::string_view(buffer, count));
    }
    if (!exited)
        return false;
    DWORD code = 0;
    GetExitCodeProcess(FProcess.Get(), &code);
    FExitCode = static_cast<int>(code);
    return true;
}

bool TEngineRun::PumpLinux()
{
    if (!FWatch) {
        FWatch = FWatchListener->TryAccept();
        if (!FWatch) {
            if (GetTickCount64() - FStartTick < kWatchdogConnectMs)
                return false;
            FFailure = "the engine did not start (no call back from " + Utf8(kWatchdogShell) + ")";
            return true;
        }
    }
    std::string bytes;
    const TRead read = ReadAvailable(FWatch, bytes);
    FStream.Feed(bytes);
    if (FStream.ExitCode()) {
        FExitCode = FStream.ExitCode();
        return true;
    }
    if (read != TRead::rdClosed)
        return false;
    FFailure = "the engine ended without reporting its exit code";
    return true;
}

void RunToEnd(TEngineRun& run)
{
    while (!run.Pump())
        WaitReadable({run.Socket()}, 20);
}

std::optional<double> ProbeDuration(const TEngineProgram& ffprobe, const std::wstring& file,
                                    std::string& output)
{
    TEngineRun run(ffprobe, ProbeEngineArguments(EnginePath(ffprobe, file)), L"");
    RunToEnd(run);
    output = run.Output();
    if (run.ExitCode() != 0)
        return std::nullopt;
    return ParseProbeDuration(output);
}

}  // namespace vidkiln::tools
