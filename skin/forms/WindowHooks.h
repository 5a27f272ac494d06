// Owners for a window-procedure subclass and a thread hook, as the frame and
// the manager need them. One owner each; the destructor gives back what was
// taken. Windows only.
#pragma once

#include "framework/Messages.h"

#include <windows.h>

#include <utility>

// Puts a handler in front of a window's procedure. The previous procedure is
// called wide or ANSI, as the window is. Remove gives the window its
// procedure back while ours is still the window's; when another subclass was
// put on top since, ours stays in the chain passing everything through until
// the window is destroyed. The handler sees WM_NCDESTROY before the link
// lets go of the window.
class TWindowSubclass {
public:
    TWindowSubclass() = default;
    ~TWindowSubclass() { Remove(); }
    TWindowSubclass(const TWindowSubclass&) = delete;
    TWindowSubclass& operator=(const TWindowSubclass&) = delete;

    // False when the window is gone, belongs to another thread or already
    // has a subclass of this kind.
    bool Install(HWND window, TWndMethod handler);
    void Remove() noexcept;
    bool Installed() const noexcept { return FLink != nullptr; }
    void CallPrevious(TMessage& message) const;

    struct TLink;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    static void Unlink(HWND window, TLink* link) noexcept;

    TLink* FLink = nullptr;
    HWND FWindow = nullptr;
};

// A hook (WH_CBT, WH_MSGFILTER ...) for the calling thread only.
class TThreadHook {
public:
    TThreadHook() = default;
    ~TThreadHook() { Remove(); }
    TThreadHook(const TThreadHook&) = delete;
    TThreadHook& operator=(const TThreadHook&) = delete;

    bool Install(int id, HOOKPROC procedure) noexcept;
    void Remove() noexcept;
    HHOOK Handle() const noexcept { return FHook; }

private:
    HHOOK FHook = nullptr;
};
