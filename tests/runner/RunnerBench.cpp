// Figures of the runner, printed as "name value unit" lines for
// scripts/bench.d/runner:
//   runner_bench throughput   MB/s of 100 MB through TDosCommand and through a plain ReadFile loop
//   runner_bench latency      child's write to OnNewLine over 1000 lines: median and 99th percentile
//   runner_bench silence      the same for 100 lines that each end 100 ms of silence
//   runner_bench idle         CPU of this process while a watched child is silent for 10 s
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "RunnerFixture.h"
#include "base/ProcessStart.h"
#include "runner/DosCommand.h"

namespace {

using namespace std::chrono_literals;
using namespace runner_test;
using Clock = std::chrono::steady_clock;

constexpr unsigned long long kThroughputBytes = 100ull * 1024 * 1024;

double Seconds(Clock::duration elapsed)
{
    return std::chrono::duration<double>(elapsed).count();
}

// Runs a command line to its end, processing messages as the callers do.
void RunToEnd(TDosCommand& runner, const std::wstring& commandLine)
{
    runner.CommandLine = commandLine;
    runner.Start();
    while (runner.IsRunning()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        testsupport::DispatchPending();
    }
    runner.Stop();
}

class ByteCounter {
public:
    void NewLine(TObject*, const std::string& line, TOutputType outputType)
    {
        if (outputType == otEntireLine)
            bytes += line.size() + 1;
    }
    unsigned long long bytes = 0;
};

double RunnerThroughput()
{
    TDosCommand runner(nullptr);
    ByteCounter counter;
    runner.OnNewLine = MakeDelegate<&ByteCounter::NewLine>(&counter);
    const auto start = Clock::now();
    RunToEnd(runner, ChildCommand({"bulk:" + std::to_string(kThroughputBytes)}));
    const double seconds = Seconds(Clock::now() - start);
    if (counter.bytes != kThroughputBytes)
        std::fprintf(stderr, "runner delivered %llu bytes\n", counter.bytes);
    return counter.bytes / seconds / 1e6;
}

// The same child read the plainest way: one blocking ReadFile after another
// until the pipe reports its end.
double PlainThroughput()
{
    TPipe pipe = MakePipe(TChildEnd::Write);
    TProcessStart child;
    child.CommandLine = ChildCommand({"bulk:" + std::to_string(kThroughputBytes)});
    child.Flags = CREATE_NEW_CONSOLE;
    child.StdOutput = pipe.Write.Get();
    child.StdError = pipe.Write.Get();
    child.Show = SW_HIDE;
    const auto start = Clock::now();
    const TStartedProcess process = StartProcess(child);
    // The child's end closes here, so the pipe reports its end with the child.
    pipe.Write.Reset();
    const HANDLE read = pipe.Read.Get();

    std::vector<char> buffer(64 * 1024);
    unsigned long long total = 0;
    DWORD got = 0;
    while (ReadFile(read, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) && got > 0)
        total += got;
    WaitForSingleObject(process.Process.Get(), INFINITE);
    return total / Seconds(Clock::now() - start) / 1e6;
}

class LatencyMeter {
public:
    void NewLine(TObject*, const std::string& line, TOutputType outputType)
    {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        if (outputType != otEntireLine)
            return;
        std::lock_guard guard(lock);
        ticks.push_back(now.QuadPart - std::stoll(line));
    }
    std::mutex lock;
    std::vector<long long> ticks;
};

// Lines stamped by the child: the median and 99th percentile of their delay,
// printed as "<name>_median" and "<name>_p99".
void Latency(const std::string& name, std::initializer_list<std::string_view> steps)
{
    TDosCommand runner(nullptr);
    LatencyMeter meter;
    runner.OnNewLine = MakeDelegate<&LatencyMeter::NewLine>(&meter);
    RunToEnd(runner, ChildCommand(steps));
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::vector<long long>& ticks = meter.ticks;
    std::sort(ticks.begin(), ticks.end());
    const auto milliseconds = [&](std::size_t at) { return ticks[at] * 1000.0 / frequency.QuadPart; };
    std::printf("%s_median %.3f ms\n", name.c_str(), milliseconds(ticks.size() / 2));
    std::printf("%s_p99 %.3f ms\n", name.c_str(), milliseconds(ticks.size() * 99 / 100));
    std::printf("%s_lines %zu lines\n", name.c_str(), ticks.size());
}

double ProcessCpuSeconds()
{
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    const auto value = [](const FILETIME& time) {
        return (static_cast<unsigned long long>(time.dwHighDateTime) << 32 | time.dwLowDateTime) / 1e7;
    };
    return value(kernel) + value(user);
}

void Idle()
{
    TDosCommand runner(nullptr);
    runner.CommandLine = ChildCommand({"sleep:10000"});
    runner.Start();
    // Let the child's start settle, then measure the silent stretch.
    const auto start = Clock::now();
    while (Clock::now() - start < 500ms) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        testsupport::DispatchPending();
    }
    const double cpuBefore = ProcessCpuSeconds();
    const auto measureStart = Clock::now();
    while (Clock::now() - measureStart < 9s) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1000, QS_ALLINPUT);
        testsupport::DispatchPending();
    }
    const double cpu = ProcessCpuSeconds() - cpuBefore;
    const double wall = Seconds(Clock::now() - measureStart);
    runner.Stop();
    std::printf("idle_cpu %.3f %%\n", 100.0 * cpu / wall);
}

} // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "throughput") {
        std::printf("throughput_runner %.1f MB/s\n", RunnerThroughput());
        std::printf("throughput_plain %.1f MB/s\n", PlainThroughput());
    } else if (mode == "latency") {
        // One line every 3 ms: the reader never goes to sleep for long.
        Latency("latency", {"sleep:300", "stamps:1000:3"});
    } else if (mode == "silence") {
        // Each line after 100 ms of silence, the reader waiting for it.
        Latency("silence", {"sleep:300", "stamps:100:100"});
    } else if (mode == "idle") {
        Idle();
    } else {
        std::fprintf(stderr, "usage: runner_bench throughput|latency|silence|idle\n");
        return 2;
    }
    return 0;
}
