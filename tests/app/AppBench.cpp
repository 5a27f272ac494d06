// Benchmarks of the main window with the real tools, side by side in one run:
//   app.convert.cpu_share: CPU time of this process over wall time while it
//     converts a 60 s clip (the queue's wait must not spin);
//   app.add: time from the file being chosen in Add to the job being in the
//     list, against the probe tool's own run time.
// Prints "name value ratio" lines.
// The tools' test helpers bring winsock2.h, which must come before windows.h.
#include "tests/tools/ToolRunner.h"

#include "app/Main.h"

#include <cstdio>
#include <filesystem>

namespace {

namespace fs = std::filesystem;
namespace tt = vidkiln::tools::test;

double Seconds(const FILETIME& Time)
{
    ULARGE_INTEGER value;
    value.LowPart = Time.dwLowDateTime;
    value.HighPart = Time.dwHighDateTime;
    return static_cast<double>(value.QuadPart) / 1e7;
}

double ProcessCpuSeconds()
{
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    return Seconds(kernel) + Seconds(user);
}

// The UI thread alone: the queue's wait, apart from the runner's reader.
double ThreadCpuSeconds()
{
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    return Seconds(kernel) + Seconds(user);
}

double Now()
{
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The probe tool alone, run the way the window runs it.
double ProbeToolSeconds(TFrmMain& Form, const std::wstring& Clip)
{
    TDosCommand probe(nullptr);
    probe.CommandLine = vidkiln::ProbeCommandLine(Form.AppPath, Clip);
    const double started = Now();
    probe.Start();
    while (probe.IsRunning()) {
        Application->ProcessMessages();
        Sleep(1);
    }
    const double seconds = Now() - started;
    probe.Stop();
    return seconds;
}

// Handles the window's messages, waiting for them without spinning, as the
// program's own message loop does.
template <class Predicate>
void PumpWhile(Predicate Busy)
{
    while (Busy()) {
        MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        Application->ProcessMessages();
    }
}

} // namespace

int wmain()
{
    const std::wstring bin = fs::weakly_canonical(fs::path(tt::TestsFolder()) / L".." / L"bin").wstring();
    const std::wstring work = (fs::temp_directory_path() / L"vidkiln-app-bench").wstring();
    fs::create_directories(work);
    const std::wstring clip = tt::ClipsFolder() + L"\\bench-60s.avi";
    tt::MakeClip(clip, 60, L"640x480");
    Application->SetMessageBoxFunc([](HWND, const std::wstring& Text, const std::wstring&, UINT) {
        std::fprintf(stderr, "message: %s\n", WideToUtf8(Text).c_str());
        return IDOK;
    });

    TFrmMain form(nullptr);
    form.AppPath = bin + L"\\";
    form.AfterConstruction();
    form.Show();

    const double probeAlone = ProbeToolSeconds(form, clip);
    double chosenAt = 0;
    form.ChooseSourceFiles = [&] {
        chosenAt = Now();
        return std::vector<std::wstring>{clip};
    };
    form.imgAddClick(nullptr);
    PumpWhile([&] { return form.Probing(); });
    const double add = Now() - chosenAt;
    std::printf("%-40s %.0f ms (probe tool alone %.0f ms; ratio %.2f, +%.0f ms)\n", "app.add",
                add * 1000, probeAlone * 1000, add / probeAlone, (add - probeAlone) * 1000);

    // Full frame rate and the largest picture, so the encoder works for a
    // while and the share is measured over more than start-up.
    form.cmbVideoKbps->SetItemIndex(4);
    form.cmbVideoFrame->SetItemIndex(0);
    form.cmbVideoSize->SetItemIndex(8);
    form.OutPath = work + L"\\";
    const double cpuBefore = ProcessCpuSeconds();
    const double uiBefore = ThreadCpuSeconds();
    const double wallBefore = Now();
    form.imgConvertClick(nullptr);
    PumpWhile([&] { return form.Converting; });
    const double wall = Now() - wallBefore;
    const double cpu = ProcessCpuSeconds() - cpuBefore;
    const double ui = ThreadCpuSeconds() - uiBefore;
    std::printf("%-40s %.2f%% of one core over %.1f s (target 2%%: ratio %.2f) status %s\n",
                "app.convert.cpu_share", 100 * cpu / wall, wall, 100 * cpu / wall / 2,
                WideToUtf8(form.FileInfoAt(0)->Status).c_str());
    std::printf("%-40s %.2f%% of one core (target 2%%: ratio %.2f)\n", "app.convert.ui_thread_share",
                100 * ui / wall, 100 * ui / wall / 2);
    std::error_code ignored;
    fs::remove_all(work, ignored);
    return 0;
}
