// Real input for window tests: mouse and keys through SendInput, and
// non-client messages posted the way the system posts them. Each helper
// returns once the input was taken, so the next step of a test never races
// the one before it.
#pragma once

#include "support/Wait.h"

#include <windows.h>

namespace testsupport {

// One absolute mouse event at a screen point (a move, plus `flags`).
INPUT MouseInput(POINT screen, DWORD flags, int wheel = 0);

// Until this thread's queue holds no input that was sent to it, nor what
// that input set off. Input for another thread's window is that thread's
// to take.
::testing::AssertionResult WaitInputTaken(TDispatch dispatch = DispatchPending);

// One mouse event, waited for until taken. Only for presses this thread
// takes itself: a press the system takes (a caption drag, a scroll-bar
// arrow) runs a loop of its own until a release that would never come.
void SendMouse(POINT screen, DWORD flags, TDispatch dispatch = DispatchPending);

// A move, then press and release queued at once, so that a press the system
// takes into a loop of its own finds its release there.
void Click(POINT screen, TDispatch dispatch = DispatchPending);

// A key pressed and released.
void Key(WORD key, TDispatch dispatch = DispatchPending);

// A non-client mouse message at a screen point posted to a window, the way
// the system posts it, handled before this returns.
void PostNonClient(HWND window, UINT message, WPARAM hit, POINT screen, TDispatch dispatch = DispatchPending);

// Whether a window of the thread holds the mouse capture.
bool ThreadHasCapture(DWORD thread);

} // namespace testsupport
