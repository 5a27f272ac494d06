// Window messages as the framework passes them around: every message a
// control receives goes through its WindowProc as a TMessage.
#pragma once

#include "Delegate.h"
#include "base/WindowSubclass.h"

#include <windows.h>

struct TMessage {
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
};

// The replaceable message hook of every control and form.
using TWndMethod = TDelegate<void(TMessage& Message)>;

// Subclasses Window with an object's message handler (a member taking a
// TMessage); what the handler leaves in Result is the message's answer.
template <auto Handler, class T>
void InstallMessageHandler(TWindowSubclass& Subclass, HWND Window, T* Object, const void* Kind = nullptr)
{
    Subclass.Install(
        Window,
        [Object](UINT Msg, WPARAM WParam, LPARAM LParam) {
            TMessage Message{Msg, WParam, LParam, 0};
            (Object->*Handler)(Message);
            return Message.Result;
        },
        Kind, Object);
}

// The framework's own notifications, in a range (0xB000-0xB1FF) no system or
// common control message uses and clear of the skin engine's private messages. They travel
// through WindowProc like any message, so a hook sees them too.
constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_ACTIVATE = CM_BASE + 0;
constexpr UINT CM_DEACTIVATE = CM_BASE + 1;
constexpr UINT CM_MOUSEENTER = CM_BASE + 2;    // LParam: the control entered
constexpr UINT CM_MOUSELEAVE = CM_BASE + 3;    // LParam: the control left
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 4;
constexpr UINT CM_VISIBLECHANGED = CM_BASE + 5; // WParam: new visibility
constexpr UINT CM_FOCUSCHANGED = CM_BASE + 6;  // LParam: the control getting focus
constexpr UINT CM_DIALOGKEY = CM_BASE + 7;     // WParam: virtual key; Result 1 when used
constexpr UINT CM_DIALOGCHAR = CM_BASE + 8;    // WParam: character; Result 1 when used
constexpr UINT CM_MENUCHANGED = CM_BASE + 9;
constexpr UINT CM_TEXTCHANGED = CM_BASE + 10;
constexpr UINT CM_EXIT = CM_BASE + 11;         // the control lost the focus
constexpr UINT CM_ENTER = CM_BASE + 12;        // the control got the focus
constexpr UINT CM_RELEASE = CM_BASE + 13;      // posted by Release: free the form
constexpr UINT CM_COLORCHANGED = CM_BASE + 14;
constexpr UINT CM_FONTCHANGED = CM_BASE + 15;
// Notifications a native control sends its parent, reflected back to the
// control that sent them so each wrapper handles its own.
constexpr UINT CN_BASE = CM_BASE + 0x100;
constexpr UINT CN_COMMAND = CN_BASE + 0;  // the WM_COMMAND, as received
constexpr UINT CN_NOTIFY = CN_BASE + 1;   // the WM_NOTIFY, as received
constexpr UINT CN_DRAWITEM = CN_BASE + 2; // the WM_DRAWITEM of an owner-drawn control
constexpr UINT CN_HSCROLL = CN_BASE + 3;  // the WM_HSCROLL of a scroll bar, track bar or up-down
constexpr UINT CN_VSCROLL = CN_BASE + 4;  // the WM_VSCROLL of one

// Typed views of message parameters, instead of casts at every use.
template <class T>
T* AsPointer(LPARAM Value) noexcept
{
    return reinterpret_cast<T*>(Value);
}
template <class T>
T* AsPointer(WPARAM Value) noexcept
{
    return reinterpret_cast<T*>(Value);
}
template <class T>
LPARAM AsLParam(T* Pointer) noexcept
{
    return reinterpret_cast<LPARAM>(Pointer);
}
template <class T>
WPARAM AsWParam(T* Pointer) noexcept
{
    return reinterpret_cast<WPARAM>(Pointer);
}
inline int LoWordSigned(LPARAM Value) noexcept { return static_cast<short>(LOWORD(Value)); }
inline int HiWordSigned(LPARAM Value) noexcept { return static_cast<short>(HIWORD(Value)); }
