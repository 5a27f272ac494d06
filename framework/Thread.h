// A thread object over std::thread: derive, override Execute, poll
// Terminated(). Portable.
//
// The thread must not run Execute before the derived object is complete, so
// the base constructor never starts it. Create one with
//     auto T = TThread::Create<TMyThread>(args...);
// which constructs the object and then starts it, and returns a pointer that
// stops the thread (Terminate + WaitFor) before the object is destroyed, so
// Execute never runs on a half-destroyed object. A class that manages its
// thread itself may call Start() as the last statement of a final class's
// constructor and must call StopAndWait() first thing in its destructor.
// Execute may also free its own object (delete this) as the last thing it
// does; the thread is then left to end by itself.
#pragma once

#include "TypInfo.h"

#include <atomic>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

class TThread : public TObject {
    VK_CLASS_INFO
public:
    struct TStopper {
        void operator()(TThread* Thread) const noexcept;
    };
    template <class T>
    using Ptr = std::unique_ptr<T, TStopper>;

    template <class T, class... A>
    static Ptr<T> Create(A&&... Args)
    {
        Ptr<T> Thread(new T(std::forward<A>(Args)...));
        Thread->Start();
        return Thread;
    }

    TThread() = default;
    // Stops and joins a thread that is still running; by then only this
    // base is left, so derived classes stop it earlier (see above).
    ~TThread() override;

    // Throws EComponentError when called twice.
    void Start();
    // Asks Execute to finish; it sees Terminated() become true.
    void Terminate() noexcept { FTerminated.store(true); }
    bool Terminated() const noexcept { return FTerminated.load(); }
    bool Started() const noexcept { return FStarted.load(); }
    // True once Execute has returned (or thrown).
    bool Finished() const noexcept { return FState->Finished.load(); }
    // Joins the thread; returns at once when it was never started or is
    // joined already. Throws EComponentError when called from the thread
    // itself, which would wait forever.
    void WaitFor();
    void StopAndWait();

    // The message of an exception that escaped Execute, empty when none did;
    // read it after WaitFor.
    std::wstring FatalException() const;

protected:
    virtual void Execute() = 0;

private:
    // What the thread writes after Execute returns. It is shared with the
    // thread, not held in the object, so that Execute may free the object:
    // the thread then finishes on its own state alone.
    struct TRunState {
        // Held by Start until the thread object is stored. A plain mutex,
        // not a latch: the MinGW runtime's latch can lose its wake-up and
        // leave the thread waiting for good.
        std::mutex Storing;
        std::atomic<bool> Finished{false};
        std::wstring Fatal;
    };
    static void Run(TThread* Self, const std::shared_ptr<TRunState>& State) noexcept;

    std::thread FThread;
    std::mutex FJoinLock;
    std::atomic<bool> FTerminated{false};
    std::atomic<bool> FStarted{false};
    std::shared_ptr<TRunState> FState = std::make_shared<TRunState>();
};
