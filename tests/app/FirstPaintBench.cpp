// Start to first paint: how long a program takes from its process being
// created to its main window standing on the screen painted, for Vidkiln
// against a minimal Win32 window started the same way, in one run.
//
//   first_paint_bench <program> [runs]   prints the medians and their ratio
//   first_paint_bench --minimal          is the minimal window itself
//
// A window counts as painted once it is visible and has no update region
// left: showing a window invalidates it, and its first WM_PAINT validates it.
#include "skin/data/BenchTiming.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr DWORD kPatienceMs = 30000;

using benchtiming::Now;

LRESULT CALLBACK MinimalProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam)
{
    switch (Message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(Window, &paint);
        EndPaint(Window, &paint);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(Window, Message, WParam, LParam);
    }
}

int RunMinimalWindow()
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = MinimalProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = L"VidkilnMinimalWindow";
    if (!RegisterClassW(&windowClass))
        return 1;
    const HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"minimal", WS_OVERLAPPEDWINDOW,
                                        CW_USEDEFAULT, CW_USEDEFAULT, 640, 480, nullptr, nullptr,
                                        windowClass.hInstance, nullptr);
    if (!window)
        return 1;
    ShowWindow(window, SW_SHOW);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

struct TSearch {
    DWORD ProcessId;
    HWND Found;
};

BOOL CALLBACK FindVisibleWindow(HWND Window, LPARAM LParam)
{
    auto& search = *reinterpret_cast<TSearch*>(LParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(Window, &owner);
    if (owner != search.ProcessId || !IsWindowVisible(Window))
        return TRUE;
    search.Found = Window;
    return FALSE;
}

// The process's visible top-level window once it has been painted.
HWND PaintedWindow(DWORD ProcessId)
{
    TSearch search{ProcessId, nullptr};
    EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
    if (!search.Found || GetUpdateRect(search.Found, nullptr, FALSE))
        return nullptr;
    return search.Found;
}

// Seconds from CreateProcessW to the painted window; nothing when the
// program never showed one.
std::optional<double> TimeToFirstPaint(const std::wstring& CommandLine)
{
    std::wstring line = CommandLine;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const double started = Now();
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return std::nullopt;
    std::optional<double> seconds;
    HWND window = nullptr;
    while (!window && Now() - started < kPatienceMs / 1000.0 &&
           WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) {
        window = PaintedWindow(process.dwProcessId);
        if (!window)
            Sleep(1);
    }
    if (window) {
        seconds = Now() - started;
        PostMessageW(window, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(process.hProcess, 5000) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, 5000);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return seconds;
}

double Median(std::vector<double> Values)
{
    std::sort(Values.begin(), Values.end());
    return Values[Values.size() / 2];
}

std::wstring Quoted(const std::wstring& Path)
{
    return L"\"" + Path + L"\"";
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc == 2 && std::wstring(argv[1]) == L"--minimal")
        return RunMinimalWindow();
    if (argc < 2) {
        std::fprintf(stderr, "usage: first_paint_bench <program> [runs] | --minimal\n");
        return 2;
    }
    const int runs = argc > 2 ? std::max(1, _wtoi(argv[2])) : 9;
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring minimal = Quoted(self) + L" --minimal";
    const std::wstring program = Quoted(argv[1]);
    // The first pair warms Wine and the file cache and is not counted; then
    // the two alternate so both see the same load.
    TimeToFirstPaint(minimal);
    TimeToFirstPaint(program);
    std::vector<double> minimalTimes, programTimes;
    for (int run = 0; run < runs; ++run) {
        const auto bare = TimeToFirstPaint(minimal);
        const auto app = TimeToFirstPaint(program);
        if (!bare || !app) {
            std::fprintf(stderr, "first_paint_bench: a window never appeared painted\n");
            return 1;
        }
        minimalTimes.push_back(*bare);
        programTimes.push_back(*app);
    }
    const double bare = Median(minimalTimes);
    const double app = Median(programTimes);
    std::printf("%-40s %8.0f ms\n", "app.first_paint minimal window", bare * 1000);
    std::printf("%-40s %8.0f ms  ratio %.2f\n", "app.first_paint vidkiln", app * 1000, app / bare);
    return 0;
}
