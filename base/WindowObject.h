// The object behind a window of one of our own classes: the object passed as
// CreateWindowEx's last argument is bound to the window when it is created
// and found again for every later message. (Framework controls are found
// through their window property, FindControl; subclassed windows through
// TWindowSubclass::FindObject.)
#pragma once

#include <windows.h>

// Call first thing in the window procedure, for every message; nullptr
// before WM_NCCREATE and after UnbindWindowObject.
template <class T>
T* WindowObject(HWND Window, UINT Msg, LPARAM LParam) noexcept
{
    if (Msg == WM_NCCREATE) {
        const auto* Create = reinterpret_cast<const CREATESTRUCTW*>(LParam);
        SetWindowLongPtrW(Window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(Create->lpCreateParams));
    }
    return reinterpret_cast<T*>(GetWindowLongPtrW(Window, GWLP_USERDATA));
}

// An object going before its window: the messages of the window's own
// destruction find no object.
inline void UnbindWindowObject(HWND Window) noexcept
{
    SetWindowLongPtrW(Window, GWLP_USERDATA, 0);
}
