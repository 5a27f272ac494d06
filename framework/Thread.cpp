#include "Thread.h"

#include "SysUtils.h"

const TClassInfo& TThread::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo("TThread", &TObject::StaticClass(), {});
    return Info;
}

void TThread::TStopper::operator()(TThread* Thread) const noexcept
{
    Thread->StopAndWait();
    delete Thread;
}

TThread::~TThread()
{
    StopAndWait();
}

void TThread::Start()
{
    if (FStarted.exchange(true))
        throw EComponentError(L"Thread started twice");
    // Execute waits until the thread object is stored: an Execute that frees
    // its object would otherwise race this assignment.
    const std::shared_ptr<TRunState> State = FState;
    std::lock_guard Storing(State->Storing);
    FThread = std::thread(&TThread::Run, this, State);
}

// Self may be gone once Execute returns; only State is touched after it.
void TThread::Run(TThread* Self, const std::shared_ptr<TRunState>& State) noexcept
{
    {
        std::lock_guard Stored(State->Storing);
    }
    try {
        Self->Execute();
    } catch (...) {
        State->Fatal = CurrentExceptionMessage();
    }
    State->Finished.store(true);
}

void TThread::WaitFor()
{
    std::lock_guard Lock(FJoinLock);
    if (!FThread.joinable())
        return;
    if (FThread.get_id() == std::this_thread::get_id())
        throw EComponentError(L"A thread cannot wait for itself");
    FThread.join();
}

void TThread::StopAndWait()
{
    Terminate();
    try {
        WaitFor();
    } catch (const EComponentError&) {
        // Freed from its own Execute: the thread cannot join itself, so it
        // is left to finish on its own.
        std::lock_guard Lock(FJoinLock);
        FThread.detach();
    }
}

std::wstring TThread::FatalException() const
{
    return FState->Finished.load() ? FState->Fatal : std::wstring();
}
