#include "framework/Timer.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

struct TTickCounter {
    int Ticks = 0;
    std::thread::id TickThread;
    TTimer* Timer = nullptr;
    void Tick(TObject* Sender)
    {
        EXPECT_EQ(Sender, Timer);
        TickThread = std::this_thread::get_id();
        if (++Ticks == 3)
            PostQuitMessage(0);
    }
};

void RunMessagesUntilQuit(DWORD TimeoutMs)
{
    const DWORD Start = GetTickCount();
    MSG Msg;
    while (GetTickCount() - Start < TimeoutMs) {
        if (!PeekMessageW(&Msg, nullptr, 0, 0, PM_REMOVE)) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
            continue;
        }
        if (Msg.message == WM_QUIT)
            return;
        DispatchMessageW(&Msg);
    }
}

} // namespace

TEST(Timer, TicksOnTheThreadThatRunsTheMessageLoop)
{
    TTickCounter Counter;
    TTimer Timer(nullptr);
    Counter.Timer = &Timer;
    Timer.SetInterval(10);
    Timer.OnTimer = TNotifyEvent::Bind<&TTickCounter::Tick>(&Counter);
    RunMessagesUntilQuit(5000);
    EXPECT_EQ(Counter.Ticks, 3);
    EXPECT_EQ(Counter.TickThread, std::this_thread::get_id());
}

TEST(Timer, DisabledTimerDoesNotTick)
{
    TTickCounter Counter;
    TTimer Timer(nullptr);
    Counter.Timer = &Timer;
    Timer.SetEnabled(false);
    Timer.SetInterval(10);
    Timer.OnTimer = TNotifyEvent::Bind<&TTickCounter::Tick>(&Counter);
    RunMessagesUntilQuit(200);
    EXPECT_EQ(Counter.Ticks, 0);
    Timer.SetEnabled(true);
    RunMessagesUntilQuit(5000);
    EXPECT_EQ(Counter.Ticks, 3);
}
