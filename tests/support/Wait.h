// Waiting in a test for something to happen: every wait has a condition and
// a deadline, and a wait that runs out says what it waited for. A machine
// loaded by other builds makes everything late, so a fixed pause before a
// check only moves the failure to the next busy day.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>

namespace testsupport {

// Long enough for a loaded machine, short enough that a hang fails the case
// rather than the whole program's time limit.
inline constexpr DWORD kDeadlineMs = 5000;

// How a test program hands one round of its thread's messages on: the plain
// loop by default; a framework program passes its application's, which also
// runs menu shortcuts and MDI keys.
using TDispatch = void (*)();

// Dispatches every message waiting in this thread's queue, then returns.
void DispatchPending();

// Handles this thread's messages until done() is true; false when the
// deadline passed first.
bool PumpUntil(const std::function<bool()>& done, DWORD deadlineMs = kDeadlineMs,
               TDispatch dispatch = DispatchPending);

// PumpUntil as an assertion: a wait that runs out fails naming `what`, as in
// ASSERT_TRUE(WaitUntil([&] { return IsIconic(window); }, "the window minimised")).
::testing::AssertionResult WaitUntil(const std::function<bool()>& done, const char* what,
                                     DWORD deadlineMs = kDeadlineMs, TDispatch dispatch = DispatchPending);

// Handles messages for a fixed time. Only for letting the system settle
// where no check depends on it (a window's first paints, the desktop's
// activation round); a check waits with WaitUntil instead.
void Settle(DWORD ms, TDispatch dispatch = DispatchPending);

// Whether this thread's queue holds nothing: no input, no posted message, no
// paint and no message sent from another thread. Timers are left out: they
// come round again and again.
bool QueueIdle();

// Handles messages until the queue is idle.
::testing::AssertionResult PumpUntilIdle(DWORD deadlineMs = kDeadlineMs, TDispatch dispatch = DispatchPending);

// PumpUntilIdle where a queue that never empties is one more failure of
// the test: after synchronous steps, before looking at their outcome
// (Wine's own tests call it flush_events).
void Flush(TDispatch dispatch = DispatchPending);

} // namespace testsupport
