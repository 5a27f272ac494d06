// Owners of the calling thread's WH_CBT and WH_MSGFILTER hooks.
//
// All owners of one kind on one thread share one system hook, installed
// with the first owner and removed with the last, so the hook procedure
// always knows whose handlers to call. Each call goes to the owners' handlers,
// newest first, until one returns nonzero (for WH_CBT: stop the operation;
// for WH_MSGFILTER: the message was handled), which becomes the result;
// otherwise the call goes on to the next hook of the system chain. Owners
// may come and go inside a handler. An owner must be destroyed on the
// thread that made it.
#pragma once

#include <windows.h>

#include <functional>

class TThreadHook {
public:
    // Code, WParam and LParam as the system passes them; codes below zero
    // never reach a handler.
    using THandler = std::function<LRESULT(int Code, WPARAM WParam, LPARAM LParam)>;

    // Kind is WH_CBT or WH_MSGFILTER. Throws std::system_error when the
    // system hook cannot be installed, std::invalid_argument for another kind.
    TThreadHook(int Kind, THandler Handler);
    ~TThreadHook();
    TThreadHook(const TThreadHook&) = delete;
    TThreadHook& operator=(const TThreadHook&) = delete;

    int Kind() const noexcept { return FKind; }

private:
    friend struct TThreadHookCalls;
    int FKind;
    THandler FHandler;
};
