#include "UtilWindow.h"

#include "SysUtils.h"
#include "TypInfo.h"
#include "base/WindowObject.h"

#include <atomic>

namespace {

void ShowExceptionBox(TObject*)
{
    const std::wstring Text = CurrentExceptionMessage();
    MessageBoxW(nullptr, Text.c_str(), L"Error", MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

std::atomic<TExceptionReporter> GReporter{&ShowExceptionBox};

constexpr wchar_t UtilityClassName[] = L"VidkilnUtilityWindow";

void RegisterUtilityClass(WNDPROC Proc)
{
    static const bool Registered = [Proc] {
        WNDCLASSEXW Class{};
        Class.cbSize = sizeof Class;
        Class.lpfnWndProc = Proc;
        Class.hInstance = GetModuleHandleW(nullptr);
        Class.lpszClassName = UtilityClassName;
        return RegisterClassExW(&Class) != 0;
    }();
    if (!Registered)
        throw Exception(L"Cannot register the utility window class");
}

} // namespace

void HandleCallbackException(TObject* Sender) noexcept
{
    try {
        GReporter.load()(Sender);
    } catch (...) {
        // A reporter that fails has nowhere left to report to.
    }
}

void SetExceptionReporter(TExceptionReporter Reporter) noexcept
{
    GReporter.store(Reporter ? Reporter : &ShowExceptionBox);
}

TUtilityWindow::TUtilityWindow(TUtilityHandler Handler) : FHandler(Handler)
{
    RegisterUtilityClass(&WndProc);
    FHandle = CreateWindowExW(0, UtilityClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              GetModuleHandleW(nullptr), this);
    if (!FHandle)
        throw Exception(L"Cannot create a utility window");
}

TUtilityWindow::~TUtilityWindow()
{
    UnbindWindowObject(FHandle);
    DestroyWindow(FHandle);
}

LRESULT CALLBACK TUtilityWindow::WndProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    auto* Self = WindowObject<TUtilityWindow>(Window, Msg, LParam);
    if (!Self || !Self->FHandler)
        return DefWindowProcW(Window, Msg, WParam, LParam);
    TMessage Message{Msg, WParam, LParam, 0};
    try {
        if (Self->FHandler(Message))
            return Message.Result;
    } catch (...) {
        HandleCallbackException(nullptr);
        return 0;
    }
    return DefWindowProcW(Window, Msg, WParam, LParam);
}
