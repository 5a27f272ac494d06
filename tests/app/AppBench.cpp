// Benchmarks of the main window with the real tools, side by side in one run:
//   app.convert.cpu_share: CPU time of this process over wall time while it
//     converts a 240 s 720p clip (the queue's wait and the runner's reader must
//     not spin);
//   app.convert.bare_encoder: the same encoder run started and waited for
//     alone, for scripts/bench.d/app to compare the wineserver's share;
//   app.convert.skin_on_off: the process's CPU share over the same
//     conversion with the skin on and off;
//   app.add: time from the file being chosen in Add to the job being in the
//     list, against the probe tool's own run time.
// Prints "name value ratio" lines.
// The tools' test helpers bring winsock2.h, which must come before windows.h.
#include "tests/tools/ToolRunner.h"

#include "app/Main.h"
#include "skin/data/BenchTiming.h"

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

using benchtiming::Now;

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

// Marks a moment for scripts/bench.d/app, which samples the wineserver's
// CPU ticks when the file appears: Wine serves waits and pipes there, so
// what the program costs includes part of the server's time.
void Mark(const std::wstring& Folder, const wchar_t* Name)
{
    CloseHandle(CreateFileW((Folder + L"\\" + Name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
}

// The encoder run alone, started and waited for the plainest way, with the
// command line the window would give it for the same settings.
double BareEncoderSeconds(const std::wstring& CommandLine)
{
    std::wstring commandLine = CommandLine;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process{};
    const double started = Now();
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE, nullptr,
                        nullptr, &startup, &process))
        return 0;
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return Now() - started;
}

// CPU of a conversion: the process's and the UI thread's, over wall time.
struct TConversionCost {
    double Wall = 0;
    double Process = 0;
    double Ui = 0;
    double ProcessShare() const { return 100 * Process / Wall; }
    double UiShare() const { return 100 * Ui / Wall; }
};

TConversionCost Convert(TFrmMain& Form)
{
    const double cpuBefore = ProcessCpuSeconds();
    const double uiBefore = ThreadCpuSeconds();
    const double wallBefore = Now();
    Form.imgConvertClick(nullptr);
    PumpWhile([&] { return Form.Converting; });
    return {Now() - wallBefore, ProcessCpuSeconds() - cpuBefore, ThreadCpuSeconds() - uiBefore};
}

} // namespace

// app_bench [<marker folder>]: with a folder, the files converting,
// converted, bare and bared are made there at the start and end of the
// window's conversion and of the bare encoder run.
int wmain(int argc, wchar_t** argv)
{
    const std::wstring markers = argc > 1 ? argv[1] : std::wstring();
    const auto mark = [&](const wchar_t* Name) {
        if (!markers.empty())
            Mark(markers, Name);
    };
    const std::wstring bin = fs::weakly_canonical(fs::path(tt::TestsFolder()) / L".." / L"bin").wstring();
    const std::wstring work = (fs::temp_directory_path() / L"vidkiln-app-bench").wstring();
    fs::create_directories(work);
    // Long and large enough that the conversion runs for a while, so its
    // share shows the steady cost rather than the start of the tools.
    const std::wstring clip = tt::ClipsFolder() + L"\\bench-240s-720p.avi";
    tt::MakeClip(clip, 240, L"1280x720");
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
    mark(L"converting");
    const TConversionCost skinned = Convert(form);
    mark(L"converted");
    std::printf("%-40s %.2f%% of one core over %.1f s (target 1%%: ratio %.2f) status %s\n",
                "app.convert.cpu_share", skinned.ProcessShare(), skinned.Wall, skinned.ProcessShare(),
                WideToUtf8(form.FileInfoAt(0)->Status).c_str());
    std::printf("%-40s %.2f%% of one core\n", "app.convert.ui_thread_share", skinned.UiShare());
    std::printf("app_convert_seconds %.3f\n", skinned.Wall);

    // The same conversion again with the skin off: what the skin costs the
    // window while the progress bar and the list move.
    form.SkinData1->SetActive(false);
    form.imgClearClick(nullptr);
    form.imgAddClick(nullptr);
    PumpWhile([&] { return form.Probing(); });
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(work, ignored))
        if (entry.is_regular_file())
            fs::remove(entry.path(), ignored);
    const TConversionCost plain = Convert(form);
    std::printf("%-40s %.2f%% of one core skinned, %.2f%% plain (budget 1.5: ratio %.2f)\n",
                "app.convert.skin_on_off", skinned.ProcessShare(), plain.ProcessShare(),
                skinned.ProcessShare() / plain.ProcessShare());

    fs::create_directories(work + L"\\bare");
    mark(L"bare");
    const double bare = BareEncoderSeconds(vidkiln::EncoderCommandLine(
        form.AppPath, clip, work + L"\\bare\\", {{4, L"2500"}, {0, L"Auto"}, {8, L"480x320"}, {1, L"4:3"}}));
    mark(L"bared");
    std::printf("%-40s %.1f s (window %.1f s; ratio %.2f)\n", "app.convert.bare_encoder", bare, skinned.Wall,
                skinned.Wall / bare);
    std::printf("app_bare_seconds %.3f\n", bare);
    fs::remove_all(work, ignored);
    return 0;
}
