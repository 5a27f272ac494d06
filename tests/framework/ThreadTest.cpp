#include "framework/Thread.h"
#include "framework/SysUtils.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

namespace {

// Its members are set in its own constructor; a thread started by the base
// would read them before they exist.
class TCounter final : public TThread {
public:
    explicit TCounter(int Limit) : FLimit(Limit) {}
    std::atomic<int> Count{0};
    std::atomic<bool> SawLimit{false};

protected:
    void Execute() override
    {
        SawLimit = FLimit == 1000;
        while (!Terminated() && Count < FLimit)
            ++Count;
        while (!Terminated())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }

private:
    int FLimit;
};

class TThrower final : public TThread {
protected:
    void Execute() override { throw std::runtime_error("probe failed"); }
};

class TQuick final : public TThread {
protected:
    void Execute() override {}
};

} // namespace

TEST(Thread, StartsAfterTheDerivedObjectIsBuiltAndStopsOnTerminate)
{
    auto T = TThread::Create<TCounter>(1000);
    EXPECT_TRUE(T->Started());
    while (T->Count < 1000)
        std::this_thread::yield();
    EXPECT_TRUE(T->SawLimit);
    EXPECT_FALSE(T->Finished());
    T->Terminate();
    T->WaitFor();
    EXPECT_TRUE(T->Terminated());
    EXPECT_TRUE(T->Finished());
    T->WaitFor();
}

TEST(Thread, FreeingARunningThreadStopsItFirst)
{
    auto T = TThread::Create<TCounter>(10);
    T.reset();
    SUCCEED();
}

TEST(Thread, KeepsTheMessageOfAnEscapedException)
{
    auto T = TThread::Create<TThrower>();
    T->WaitFor();
    EXPECT_TRUE(T->Finished());
    EXPECT_EQ(T->FatalException(), L"probe failed");
}

TEST(Thread, StartTwiceAndNeverStartedAreHandled)
{
    auto T = TThread::Create<TQuick>();
    EXPECT_THROW(T->Start(), EComponentError);
    TQuick Idle;
    Idle.WaitFor();
    EXPECT_FALSE(Idle.Started());
    EXPECT_EQ(Idle.FatalException(), L"");
}
