#include "support/Wait.h"

namespace testsupport {

bool QueueIdle()
{
    constexpr UINT work = QS_INPUT | QS_POSTMESSAGE | QS_PAINT | QS_SENDMESSAGE | QS_HOTKEY;
    return (HIWORD(GetQueueStatus(work)) & work) == 0;
}

void DispatchPending()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

bool PumpUntil(const std::function<bool()>& done, DWORD deadlineMs, TDispatch dispatch)
{
    const DWORD start = GetTickCount();
    for (;;) {
        dispatch();
        if (done())
            return true;
        if (GetTickCount() - start > deadlineMs)
            return false;
        // Wakes for a message at once; the short timeout serves conditions
        // that other threads and processes change without a message.
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

::testing::AssertionResult WaitUntil(const std::function<bool()>& done, const char* what, DWORD deadlineMs,
                                     TDispatch dispatch)
{
    if (PumpUntil(done, deadlineMs, dispatch))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "waited " << deadlineMs << " ms for " << what << " in vain";
}

void Settle(DWORD ms, TDispatch dispatch)
{
    const DWORD start = GetTickCount();
    do {
        dispatch();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    } while (GetTickCount() - start < ms);
    dispatch();
}

::testing::AssertionResult PumpUntilIdle(DWORD deadlineMs, TDispatch dispatch)
{
    return WaitUntil(QueueIdle, "this thread's message queue to empty", deadlineMs, dispatch);
}

void Flush(TDispatch dispatch)
{
    EXPECT_TRUE(PumpUntilIdle(kDeadlineMs, dispatch));
}

} // namespace testsupport
