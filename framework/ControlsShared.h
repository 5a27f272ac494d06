// Shared by the control files; not part of the framework's interface.
#pragma once

#include <windows.h>

inline const wchar_t* AtomName(ATOM Atom) noexcept
{
    return reinterpret_cast<const wchar_t*>(static_cast<ULONG_PTR>(Atom));
}

inline bool IsMouseMessage(UINT Msg) noexcept
{
    return Msg >= WM_MOUSEFIRST && Msg <= WM_MBUTTONDBLCLK && Msg != WM_MOUSEWHEEL;
}
