#include "WindowHooks.h"

#include "framework/UtilWindow.h"

namespace {

// The window property that leads from a window to its link.
const wchar_t kLinkProperty[] = L"VidkilnSkinSubclass";

} // namespace

struct TWindowSubclass::TLink {
    TWindowSubclass* Owner;
    TWndMethod Handler;
    WNDPROC Previous;
    bool Unicode;
};

bool TWindowSubclass::Install(HWND window, TWndMethod handler)
{
    Remove();
    if (!IsWindow(window) || GetPropW(window, kLinkProperty))
        return false;
    const bool unicode = IsWindowUnicode(window) != FALSE;
    auto* link = new TLink{this, handler, nullptr, unicode};
    if (!SetPropW(window, kLinkProperty, link)) {
        delete link;
        return false;
    }
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
    RemovePropW(window, kLinkProperty);
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
    auto* link = static_cast<TLink*>(GetPropW(window, kLinkProperty));
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
        if (auto* still = static_cast<TLink*>(GetPropW(window, kLinkProperty)))
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
