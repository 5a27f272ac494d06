#include "support/RecordingWindow.h"

namespace testsupport {

namespace {

TMessageRecording* gRecording = nullptr;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (gRecording) {
        gRecording->Messages.push_back({window, message, wParam, lParam});
        const auto answer = gRecording->Answers.find(message);
        if (answer != gRecording->Answers.end())
            return answer->second;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

TMessageRecording::TMessageRecording() : FPrevious(gRecording)
{
    gRecording = this;
}

TMessageRecording::~TMessageRecording()
{
    gRecording = FPrevious;
}

std::vector<WPARAM> TMessageRecording::WParams(UINT message, HWND window) const
{
    std::vector<WPARAM> values;
    for (const TRecordedMessage& seen : Messages)
        if (seen.Message == message && (!window || seen.Window == window))
            values.push_back(seen.WParam);
    return values;
}

int TMessageRecording::Count(UINT message, HWND window) const
{
    return static_cast<int>(WParams(message, window).size());
}

void RegisterRecordingClass(const wchar_t* className, HBRUSH background)
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = RecordingProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hbrBackground = background;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = className;
    RegisterClassW(&windowClass);
}

} // namespace testsupport
