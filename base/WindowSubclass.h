// The owner of one replacement of a window's procedure (a subclass).
//
// Install puts a procedure of ours in front of the window's current one,
// in the window's own character set (IsWindowUnicode picks the wide or the
// ANSI calls), and the handler passes on what it does not answer with
// CallPrevious, which goes through CallWindowProc. Remove, or the owner's
// destructor, stops the handler at once and takes our procedure out of the
// window's chain when it safely can: when it is still the window's
// procedure, or when only subclasses of ours sit above it (they are
// re-pointed past it). Under a foreign subclass it cannot, since that one
// calls it by address: it then stays in the chain, passing every message
// through, until the window is destroyed. At WM_NCDESTROY the subclass lets
// go of the window by itself: Installed() turns false.
//
// The window must belong to the calling thread. Any number of subclasses of
// ours may sit on one window (up to kMaxPerWindow at a time), mixed with
// foreign ones, and be removed in any order.
#pragma once

#include <windows.h>

#include <functional>

class TWindowSubclass {
public:
    using THandler = std::function<LRESULT(UINT Msg, WPARAM WParam, LPARAM LParam)>;
    static constexpr int kMaxPerWindow = 16;

    TWindowSubclass() = default;
    TWindowSubclass(HWND Window, THandler Handler, const void* Kind = nullptr, void* Object = nullptr)
    {
        Install(Window, std::move(Handler), Kind, Object);
    }
    ~TWindowSubclass() { Release(); }
    TWindowSubclass(const TWindowSubclass&) = delete;
    TWindowSubclass& operator=(const TWindowSubclass&) = delete;

    // Subclasses Window, leaving any window this one subclassed before.
    // Object is what FindObject(Window, Kind) returns while this subclass is
    // installed; Kind is any address unique to the caller's kind of object.
    // Throws std::system_error when the window is not one of this thread's
    // or its procedure cannot be replaced.
    void Install(HWND Window, THandler Handler, const void* Kind = nullptr, void* Object = nullptr);
    void Remove() noexcept;
    bool Installed() const noexcept;
    HWND Window() const noexcept;
    // Passes a message to the procedure this subclass replaced; a handler
    // that removed its subclass may still pass on the message it is
    // handling.
    LRESULT CallPrevious(UINT Msg, WPARAM WParam, LPARAM LParam) const;

    // The Object of the newest installed subclass of this Kind on Window,
    // or nullptr.
    static void* FindObject(HWND Window, const void* Kind) noexcept;

    struct TLink;

private:
    // Removes, and lets go of a link that a running handler still uses.
    void Release() noexcept;

    TLink* FLink = nullptr;
};
