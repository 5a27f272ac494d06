#include "WindowHooks.h"

#include "framework/UtilWindow.h"

#include <algorithm>
#include <vector>

struct TWindowSubclass::TLink {
    HWND Window;
    TWindowSubclass* Owner;
    TWndMethod Handler;
    WNDPROC Previous;
    bool Unicode;
};

namespace {

// The links of this thread's subclassed windows. Windows belong to one
// thread, and a list here is found far faster than a window property,
// which costs a trip to the window server on Wine for every message.
thread_local std::vector<TWindowSubclass::TLink*> tLinks;

TWindowSubclass::TLink* LinkOf(HWND window) noexcept
{
    const auto found = std::find_if(tLinks.begin(), tLinks.end(), [window](const auto* link) {
        return link->Window == window;
    });
    return found == tLinks.end() ? nullptr : *found;
}

} // namespace

bool TWindowSubclass::Install(HWND window, TWndMethod handler)
{
    Remove();
    if (!IsWindow(window) || GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId() || LinkOf(window))
        return false;
    const bool unicode = IsWindowUnicode(window) != FALSE;
    auto* link = new TLink{window, this, handler, nullptr, unicode};
    tLinks.push_back(link);
    const auto ours = reinterpret_cast<LONG_PTR>(&Procedure);
    link->Previous = reinterpret_cast<WNDPROC>(unicode ? SetWindowLongPtrW(window, GWLP_WNDPROC, ours)
                                                       : SetWindowLongPtrA(window, GWLP_WNDPROC, ours));
    FLink = link;
    FWindow = window;
    return true;
}

void TWindowSubclass::Remove() noexcept
{
    TLink* link = std::exchange(FLink, nullptr);
    if (!link)
        return;
    const HWND window = std::exchange(FWindow, nullptr);
    const auto current = link->Unicode ? GetWindowLongPtrW(window, GWLP_WNDPROC)
                                       : GetWindowLongPtrA(window, GWLP_WNDPROC);
    if (current == reinterpret_cast<LONG_PTR>(&Procedure)) {
        Unlink(window, link);
        return;
    }
    // Someone subclassed the window after us: taking our procedure out now
    // would cut theirs off. Pass everything through until the window dies.
    link->Owner = nullptr;
}

void TWindowSubclass::Unlink(HWND window, TLink* link) noexcept
{
    const auto previous = reinterpret_cast<LONG_PTR>(link->Previous);
    const auto current = link->Unicode ? GetWindowLongPtrW(window, GWLP_WNDPROC)
                                       : GetWindowLongPtrA(window, GWLP_WNDPROC);
    if (current == reinterpret_cast<LONG_PTR>(&Procedure)) {
        if (link->Unicode)
            SetWindowLongPtrW(window, GWLP_WNDPROC, previous);
        else
            SetWindowLongPtrA(window, GWLP_WNDPROC, previous);
    }
    std::erase(tLinks, link);
    if (link->Owner) {
        link->Owner->FLink = nullptr;
        link->Owner->FWindow = nullptr;
    }
    delete link;
}

void TWindowSubclass::CallPrevious(TMessage& message) const
{
    if (!FLink)
        return;
    message.Result = FLink->Unicode
                         ? CallWindowProcW(FLink->Previous, FWindow, message.Msg, message.WParam, message.LParam)
                         : CallWindowProcA(FLink->Previous, FWindow, message.Msg, message.WParam, message.LParam);
}

LRESULT CALLBACK TWindowSubclass::Procedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    TLink* link = LinkOf(window);
    if (!link)
        return DefWindowProcW(window, msg, wParam, lParam);
    TMessage message{msg, wParam, lParam, 0};
    if (link->Owner) {
        try {
            link->Handler(message);
        } catch (...) {
            HandleCallbackException(nullptr);
        }
    } else {
        message.Result = link->Unicode ? CallWindowProcW(link->Previous, window, msg, wParam, lParam)
                                       : CallWindowProcA(link->Previous, window, msg, wParam, lParam);
    }
    if (msg == WM_NCDESTROY) {
        // The handler may have removed the subclass already.
        if (TLink* still = LinkOf(window))
            Unlink(window, still);
    }
    return message.Result;
}

bool TThreadHook::Install(int id, HOOKPROC procedure) noexcept
{
    Remove();
    FHook = SetWindowsHookExW(id, procedure, nullptr, GetCurrentThreadId());
    return FHook != nullptr;
}

void TThreadHook::Remove() noexcept
{
    if (FHook)
        UnhookWindowsHookEx(std::exchange(FHook, nullptr));
}
