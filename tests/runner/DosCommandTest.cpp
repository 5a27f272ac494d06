// TDosCommand against a real child process: lines as the child writes them,
// exit codes, the time limits, Stop and Start during a run, start failures,
// and Stop while a line handler hands a value to the UI thread.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <vector>

#include "ReferenceSplitter.h"
#include "RunnerFixture.h"
#include "base/ProcessStart.h"
#include "runner/DosCommand.h"

namespace {

using namespace std::chrono_literals;
using namespace std::string_literals;
using namespace runner_test;
using Events = std::vector<reference::Event>;

class DosCommandTest : public ::testing::Test {
public:
    void NewLine(TObject* sender, const std::string& line, TOutputType outputType)
    {
        std::lock_guard guard(lock);
        senderSeen = sender;
        lineThread = GetCurrentThreadId();
        events.push_back({line, outputType == otEntireLine});
    }

    void Terminated(TObject*)
    {
        runningAtEnd = runner.IsRunning();
        endThread = GetCurrentThreadId();
        ++terminations;
    }

protected:
    void SetUp() override
    {
        runner.OnNewLine = MakeDelegate<&DosCommandTest::NewLine>(this);
        runner.OnTerminated = MakeDelegate<&DosCommandTest::Terminated>(this);
    }

    void Run(const std::wstring& commandLine)
    {
        runner.CommandLine = commandLine;
        runner.Start();
        ASSERT_TRUE(WaitUntil([this] { return !runner.IsRunning(); }, "the run to end", 30000));
        runner.Stop();
    }

    // Nothing but Stop ends this run: it is still going after a while, and
    // Stop ends it with exactly one OnTerminated.
    void ExpectRunsUntilStop()
    {
        // Nothing to wait for: the check is that nothing happens meanwhile.
        testsupport::Settle(1500);
        EXPECT_TRUE(runner.IsRunning());
        EXPECT_EQ(terminations, 0);
        runner.Stop();
        EXPECT_FALSE(runner.IsRunning());
        EXPECT_EQ(terminations, 1);
    }

    Events Seen()
    {
        std::lock_guard guard(lock);
        return events;
    }

    // The child's first line, "pid <n>", once it has arrived.
    DWORD ChildId()
    {
        EXPECT_TRUE(WaitUntil([this] { return runner.CapturedLines().Count() > 0; }, "the child's first line", 30000));
        const std::string line = runner.CapturedLines().Line(0);
        return static_cast<DWORD>(std::stoul(line.substr(4)));
    }

    // Gives a process that is being ended a moment to go.
    static bool ProcessEnded(DWORD id, DWORD patience = 5000)
    {
        HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, id);
        if (!process)
            return true;
        const bool ended = WaitForSingleObject(process, patience) == WAIT_OBJECT_0;
        CloseHandle(process);
        return ended;
    }

    static void EndProcess(DWORD id)
    {
        if (HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, id)) {
            TerminateProcess(process, 1);
            CloseHandle(process);
        }
    }

    TDosCommand runner{nullptr};
    std::mutex lock;
    Events events;
    TObject* senderSeen = nullptr;
    DWORD lineThread = 0;
    std::atomic<DWORD> endThread = 0;
    std::atomic<bool> runningAtEnd = true;
    std::atomic<int> terminations = 0;
};

struct OutputCase {
    const char* name;
    std::vector<std::string> steps;
    Events expected;
};

void PrintTo(const OutputCase& outputCase, std::ostream* out)
{
    *out << outputCase.name;
}

std::string Out(std::string_view bytes)
{
    return "out:" + Hex(bytes);
}

class ChildOutput : public DosCommandTest, public ::testing::WithParamInterface<OutputCase> {};

TEST_P(ChildOutput, ArrivesAsLinesInCapturedLinesAndOnNewLine)
{
    std::wstring commandLine = ChildCommand({});
    for (const std::string& step : GetParam().steps)
        commandLine += L" " + std::wstring(step.begin(), step.end());
    TLineList mirror;
    runner.MirrorLines = &mirror;
    Run(commandLine);

    EXPECT_EQ(Seen(), GetParam().expected);
    std::vector<std::string> complete;
    for (const reference::Event& event : GetParam().expected)
        if (event.Complete)
            complete.push_back(event.Text);
    EXPECT_EQ(runner.CapturedLines().Lines(), complete);
    EXPECT_EQ(mirror.Lines(), complete);
    EXPECT_EQ(runner.ExitCode(), 0);
    EXPECT_EQ(terminations, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ChildOutput,
    ::testing::Values(
        OutputCase{"CrLfAndLfInOneRead", {Out("a\r\nb\n")}, {{"a", true}, {"b", true}}},
        OutputCase{"CrThenTextThenEnd", {Out("a\rb")}, {{"a", true}, {"b", false}, {"b", true}}},
        OutputCase{"CrEndsOneReadLfStartsTheNext", {Out("a\r"), "sleep:300", Out("\nb\n")},
                   {{"a", true}, {"", true}, {"b", true}}},
        OutputCase{"NulBytesDropped", {Out("\0a\0b\0\n"s)}, {{"ab", true}}},
        OutputCase{"UnfinishedLineGrowsAcrossReads", {Out("ab"), "sleep:300", Out("cd"), "sleep:300", Out("e\n")},
                   {{"ab", false}, {"abcd", false}, {"abcde", true}}},
        OutputCase{"StandardErrorToo", {Out("out\n"), "sleep:100", "err:" + Hex("\xe4\xb8\xad err\n")},
                   {{"out", true}, {"\xe4\xb8\xad err", true}}}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST_F(DosCommandTest, RaisesEventsOnTheReaderThreadWithTheRunnerAsSender)
{
    Run(ChildCommand({Out("x\n")}));
    EXPECT_EQ(senderSeen, &runner);
    EXPECT_NE(lineThread, GetCurrentThreadId());
    EXPECT_NE(endThread, GetCurrentThreadId());
    EXPECT_FALSE(runningAtEnd) << "IsRunning turns false before OnTerminated";
}

TEST_F(DosCommandTest, TheChildHoldsOnlyItsOwnPipeEnds)
{
    // Another runner's pipe, its child's end inheritable in this process at
    // the moment this runner starts its child. The child itself tries to
    // write through that handle's number.
    const TPipe other = MakePipe(TChildEnd::Write);
    const std::string poke = "poke:" + std::to_string(reinterpret_cast<uintptr_t>(other.Write.Get()));
    Run(ChildCommand({poke}));
    EXPECT_EQ(runner.CapturedLines().Lines(), std::vector<std::string>{"poke not held"});
    DWORD arrived = 1;
    ASSERT_TRUE(PeekNamedPipe(other.Read.Get(), nullptr, 0, nullptr, &arrived, nullptr));
    EXPECT_EQ(arrived, 0u);

    // The same probe does see a handle that is passed on: it can tell.
    const TPipe output = MakePipe(TChildEnd::Write);
    TProcessStart start;
    start.CommandLine = ChildCommand({poke});
    start.StdOutput = output.Write.Get();
    start.Inherit = {other.Write.Get()};
    const TStartedProcess child = StartProcess(start);
    ASSERT_EQ(WaitForSingleObject(child.Process.Get(), 30000), WAIT_OBJECT_0);
    char text[32]{};
    DWORD read = 0;
    ASSERT_TRUE(ReadFile(output.Read.Get(), text, sizeof text - 1, &read, nullptr));
    EXPECT_EQ(std::string(text, read), "poke held\n");
}

TEST_F(DosCommandTest, PassesExitCodesThrough)
{
    for (const unsigned long long code : {0ull, 1ull, 3ull, 258ull, 260ull, 0xC0000005ull, 0xFFFFFFFFull}) {
        Run(ChildCommand({"exit:" + std::to_string(code)}));
        EXPECT_EQ(runner.ExitCode(), static_cast<int64_t>(code));
        EXPECT_EQ(runner.LastError(), L"");
    }
    EXPECT_EQ(terminations, 7);
}

TEST_F(DosCommandTest, ExitCode259LastsUntilStop)
{
    runner.CommandLine = ChildCommand({Out("bye\n"), "exit:259"});
    runner.Start();
    // The child's last word first: on a loaded machine its start alone can
    // outlast the pause below, and a stop before it exits proves nothing.
    ASSERT_TRUE(WaitUntil([this] { return runner.CapturedLines().Count() > 0; }, "the child's line", 30000));
    ExpectRunsUntilStop();
    EXPECT_EQ(runner.ExitCode(), 259);
    EXPECT_EQ(runner.CapturedLines().Lines(), std::vector<std::string>{"bye"});
}

TEST_F(DosCommandTest, SilentChildRunsUntilStopWhichEndsIt)
{
    runner.CommandLine = ChildCommand({"pid", "sleep:300", Out("half"), "hang"});
    runner.Start();
    const DWORD child = ChildId();
    ExpectRunsUntilStop();
    EXPECT_EQ(runner.ExitCode(), TDosCommand::ExitCodeStopped);
    EXPECT_TRUE(ProcessEnded(child));
    // The unfinished line is reported as complete at the end of the run.
    EXPECT_EQ(runner.CapturedLines().Lines(), (std::vector<std::string>{"pid " + std::to_string(child), "half"}));
    EXPECT_EQ(Seen().back(), (reference::Event{"half", true}));
}

TEST_F(DosCommandTest, SilentChildCostsFewWakeUpsAndALateLineStillArrives)
{
    runner.CommandLine = ChildCommand({"sleep:2000", Out("late\n")});
    runner.Start();
    ASSERT_TRUE(WaitUntil([this] { return !runner.IsRunning(); }, "the run to end", 30000));
    runner.Stop();
    // The reader sleeps until the child writes or ends: a handful of waits,
    // where waking every millisecond would be about 2000.
    EXPECT_LT(runner.ReaderWaits(), 20u);
    EXPECT_EQ(runner.CapturedLines().Lines(), std::vector<std::string>{"late"});
    EXPECT_EQ(runner.ExitCode(), 0);
}

TEST_F(DosCommandTest, MaxTimeAfterBeginningEndsTheWatchingButNotTheChild)
{
    runner.MaxTimeAfterBeginning = 5;
    runner.CommandLine = ChildCommand({"pid", "hang"});
    const auto start = std::chrono::steady_clock::now();
    runner.Start();
    const DWORD child = ChildId();
    ASSERT_TRUE(WaitUntil([this] { return !runner.IsRunning(); }, "the run to end", 30000));
    const auto watched = std::chrono::steady_clock::now() - start;

    EXPECT_GE(watched, 5500ms) << "left only after the sixth tick";
    EXPECT_EQ(runner.ExitCode(), TDosCommand::ExitCodeTimedOut);
    EXPECT_EQ(terminations, 1);
    EXPECT_FALSE(ProcessEnded(child, 0)) << "the child keeps running";
    runner.Stop();
    EndProcess(child);
    EXPECT_TRUE(ProcessEnded(child));
}

TEST_F(DosCommandTest, MaxTimeAfterLastOutputCountsFromTheLastCompleteLine)
{
    runner.MaxTimeAfterLastOutput = 1;
    runner.CommandLine = ChildCommand({"pid", "stamps:6:700", Out("no end"), "hang"});
    runner.Start();
    const DWORD child = ChildId();
    ASSERT_TRUE(WaitUntil([this] { return !runner.IsRunning(); }, "the run to end", 30000));
    runner.Stop();
    EndProcess(child);

    // Lines 0.7 s apart kept the run going; the unfinished tail did not.
    EXPECT_EQ(runner.CapturedLines().Count(), 8u);
    EXPECT_EQ(runner.CapturedLines().Line(7), "no end");
    EXPECT_EQ(runner.ExitCode(), TDosCommand::ExitCodeTimedOut);
}

TEST_F(DosCommandTest, StopWithoutARunDoesNothing)
{
    EXPECT_FALSE(runner.IsRunning());
    runner.Stop();
    EXPECT_FALSE(runner.IsRunning());
    EXPECT_EQ(runner.Timer(), nullptr);
    EXPECT_EQ(terminations, 0);
    EXPECT_EQ(runner.ExitCode(), TDosCommand::ExitCodeNone);
}

TEST_F(DosCommandTest, StartWithoutCommandLineThrowsAndKeepsTheLastLines)
{
    Run(ChildCommand({Out("kept\n")}));
    runner.CommandLine.clear();
    try {
        runner.Start();
        FAIL() << "no exception";
    } catch (const EDosCommand& error) {
        EXPECT_EQ(error.Message(), L"No Commandline to execute");
    }
    EXPECT_FALSE(runner.IsRunning());
    EXPECT_EQ(runner.CapturedLines().Lines(), std::vector<std::string>{"kept"});
    EXPECT_EQ(terminations, 1);
}

TEST_F(DosCommandTest, ProgramThatDoesNotExistEndsTheRunWithLastError)
{
    const std::wstring commandLine = L"\"" + OwnFolder() + L"NoSuchProgram.exe\" -x";
    Run(commandLine);
    EXPECT_FALSE(runner.IsRunning());
    EXPECT_EQ(terminations, 1);
    EXPECT_EQ(runner.LastError(), commandLine + L" doesn't exist.");
    EXPECT_EQ(runner.ExitCode(), TDosCommand::ExitCodeNotStarted);
    EXPECT_TRUE(Seen().empty());

    Run(ChildCommand({Out("again\n")}));
    EXPECT_EQ(runner.LastError(), L"") << "a new start clears it";
}

TEST_F(DosCommandTest, StartDuringARunStopsTheEarlierRunFirst)
{
    runner.CommandLine = ChildCommand({"pid", "hang"});
    runner.Start();
    const DWORD first = ChildId();
    Run(ChildCommand({Out("second\n")}));
    EXPECT_TRUE(ProcessEnded(first));
    EXPECT_EQ(terminations, 2);
    EXPECT_EQ(runner.CapturedLines().Lines(), std::vector<std::string>{"second"});
}

TEST_F(DosCommandTest, RunsAProgramWhosePathIsChinese)
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"视频 工具";
    const std::wstring program = folder + L"\\子程序.exe";
    CreateDirectoryW(folder.c_str(), nullptr);
    ASSERT_TRUE(CopyFileW(ChildPath().c_str(), program.c_str(), FALSE));
    Run(ChildCommand({Out("\xe4\xb8\xad\n"), "exit:7"}, program));
    DeleteFileW(program.c_str());
    RemoveDirectoryW(folder.c_str());
    EXPECT_EQ(runner.LastError(), L"");
    EXPECT_EQ(runner.ExitCode(), 7);
    EXPECT_EQ(runner.CapturedLines().Lines(), std::vector<std::string>{"\xe4\xb8\xad"});
}

class ThrowingHandler : public DosCommandTest {
public:
    void Throw(TObject*, const std::string& line, TOutputType outputType)
    {
        if (outputType == otEntireLine)
            throw Exception(L"bad line " + std::wstring(line.begin(), line.end()));
    }
};

TEST_F(ThrowingHandler, KeepsTheRunGoingAndTellsLastError)
{
    runner.OnNewLine = MakeDelegate<&ThrowingHandler::Throw>(this);
    Run(ChildCommand({Out("1\n2\n")}));
    EXPECT_EQ(runner.CapturedLines().Count(), 2u);
    EXPECT_EQ(runner.LastError(), L"bad line 1\r\nbad line 2");
    EXPECT_EQ(runner.ExitCode(), 0);
    EXPECT_EQ(terminations, 1);
}

// A handler that hands every line to a window of the UI thread, by
// SendMessage (waits for the UI thread) or PostMessage (does not).
class HandOver : public ::testing::TestWithParam<bool> {
public:
    void NewLine(TObject*, const std::string&, TOutputType) { HandToUi(); }
    void Terminated(TObject*) { HandToUi(); }

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_APP) {
            ++received;
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

protected:
    void SetUp() override
    {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = WindowProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"VidkilnRunnerHandOver";
        RegisterClassW(&windowClass);
        window = CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 windowClass.hInstance, nullptr);
        ASSERT_NE(window, nullptr);
        received = 0;
    }
    void TearDown() override
    {
        DestroyWindow(window);
        UnregisterClassW(L"VidkilnRunnerHandOver", GetModuleHandleW(nullptr));
    }

    void HandToUi()
    {
        ++handed;
        if (GetParam())
            SendMessageW(window, WM_APP, 0, 0);
        else
            PostMessageW(window, WM_APP, 0, 0);
    }

    HWND window = nullptr;
    std::atomic<int> handed = 0;
    static inline std::atomic<int> received = 0;
};

TEST_P(HandOver, StopNeverDeadlocksWithAHandlerHandingLinesToTheUiThread)
{
    TDosCommand runner(nullptr);
    runner.OnNewLine = MakeDelegate<&HandOver::NewLine>(this);
    runner.OnTerminated = MakeDelegate<&HandOver::Terminated>(this);
    runner.CommandLine = ChildCommand({"stamps:1000000:0"});
    runner.Start();
    // Not processing messages here. A posting handler has handed a line
    // once handed counts it; a sending one is blocked on this thread once
    // its message waits for this thread, which the wait below sees without
    // handling it (the limit only keeps a fault from hanging the test).
    while (handed == 0)
        Sleep(1);
    if (GetParam()) {
        EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 60000, QS_SENDMESSAGE), WAIT_OBJECT_0);
    }
    runner.Stop();
    EXPECT_FALSE(runner.IsRunning());
    EXPECT_EQ(runner.ExitCode(), TDosCommand::ExitCodeStopped);
    testsupport::DispatchPending();
    EXPECT_EQ(received, handed) << "every hand-over reached the window";
}

INSTANTIATE_TEST_SUITE_P(Ways, HandOver, ::testing::Values(true, false),
                         [](const auto& testCase) { return testCase.param ? "SendMessage" : "PostMessage"; });

} // namespace
