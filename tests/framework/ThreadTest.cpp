#include "framework/Thread.h"
#include "framework/SysUtils.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <stdexcept>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#endif

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

namespace {

// Reports where its Execute is in a place that outlives the object.
class TPhases final : public TThread {
public:
    explicit TPhases(std::atomic<int>& Phase) : FPhase(Phase) {}

protected:
    void Execute() override
    {
        FPhase = 1;
        while (!Terminated())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        FPhase = 2;
    }

private:
    std::atomic<int>& FPhase;
};

} // namespace

TEST(Thread, FreeingARunningThreadStopsItFirst)
{
    std::atomic<int> Phase{0};
    auto T = TThread::Create<TPhases>(Phase);
    while (Phase == 0)
        std::this_thread::yield();
    T.reset();
    // Execute ran to its end before the object went.
    EXPECT_EQ(Phase, 2);
}

namespace {

// Tells when the thread that made it has ended, the framework's code after
// Execute included. On Windows that is the thread's handle: a thread-local
// destructor runs there under the loader lock, and a process that exits
// meanwhile can hang on it. Elsewhere it is a thread-local destructor, the
// last thing a thread runs.
#ifdef _WIN32
class TThreadEnd {
public:
    void MarkCurrentThread()
    {
        HANDLE Handle = nullptr;
        DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &Handle, SYNCHRONIZE, FALSE, 0);
        FHandle.set_value(Handle);
    }
    bool WaitFor(DWORD Ms)
    {
        const HANDLE Handle = FHandle.get_future().get();
        const bool Ended = WaitForSingleObject(Handle, Ms) == WAIT_OBJECT_0;
        CloseHandle(Handle);
        return Ended;
    }

private:
    std::promise<HANDLE> FHandle;
};
#else
struct TThreadExit {
    std::promise<void>* Ended = nullptr;
    ~TThreadExit()
    {
        if (Ended)
            Ended->set_value();
    }
};
thread_local TThreadExit GThreadExit;

class TThreadEnd {
public:
    void MarkCurrentThread() { GThreadExit.Ended = &FEnded; }
    bool WaitFor(unsigned Ms)
    {
        return FEnded.get_future().wait_for(std::chrono::milliseconds(Ms)) == std::future_status::ready;
    }

private:
    std::promise<void> FEnded;
};
#endif

class TFreesItself final : public TThread {
public:
    explicit TFreesItself(TThreadEnd& End) : FEnd(End) {}

protected:
    void Execute() override
    {
        FEnd.MarkCurrentThread();
        delete this;
    }

private:
    TThreadEnd& FEnd;
};

} // namespace

TEST(Thread, AThreadFreedFromItsOwnExecuteEndsWithoutTouchingIt)
{
    // Natively this runs under AddressSanitizer, which reports any write to
    // the freed object on the way out of the thread.
    TThreadEnd End;
    auto* T = new TFreesItself(End);
    T->Start();
    EXPECT_TRUE(End.WaitFor(60000));
}

// Start hands the new thread its go-ahead while the thread may already be
// waiting for it; a go-ahead lost in that race leaves the thread waiting and
// its owner's join hanging, about once in a few hundred starts.
TEST(Thread, EveryThreadOfAQuickSeriesRuns)
{
    std::atomic<int> Ran{0};
    class TTally final : public TThread {
    public:
        explicit TTally(std::atomic<int>& Ran) : FRan(Ran) {}

    protected:
        void Execute() override { ++FRan; }

    private:
        std::atomic<int>& FRan;
    };
    constexpr int Series = 3000;
    for (int I = 0; I < Series; ++I)
        TThread::Create<TTally>(Ran)->WaitFor();
    EXPECT_EQ(Ran, Series);
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
