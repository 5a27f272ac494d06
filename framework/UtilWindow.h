// Message-only windows for objects that need a window procedure but no
// visible window (timers, the application), and the reporting of exceptions
// caught at a Win32 callback boundary.
#pragma once

#include "Messages.h"

class TObject;

// Reports an exception caught at a callback boundary; call it only inside a
// catch block. The application installs its HandleException here; until then
// a message box shows the message.
void HandleCallbackException(TObject* Sender) noexcept;
using TExceptionReporter = void (*)(TObject* Sender);
void SetExceptionReporter(TExceptionReporter Reporter) noexcept;

// Answers a message and returns true, or returns false to leave it to
// DefWindowProc.
using TUtilityHandler = TDelegate<bool(TMessage& Message)>;

// Owns a hidden message-only window whose messages go to Handler. Not
// copyable; destroys the window with itself.
class TUtilityWindow {
public:
    explicit TUtilityWindow(TUtilityHandler Handler);
    ~TUtilityWindow();
    TUtilityWindow(const TUtilityWindow&) = delete;
    TUtilityWindow& operator=(const TUtilityWindow&) = delete;

    HWND Handle() const noexcept { return FHandle; }

private:
    static LRESULT CALLBACK WndProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam);

    TUtilityHandler FHandler;
    HWND FHandle = nullptr;
};
