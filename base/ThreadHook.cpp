#include "ThreadHook.h"

#include "CallbackGuard.h"

#include <algorithm>
#include <stdexcept>
#include <system_error>
#include <vector>

namespace {

// One system hook of one kind on this thread and the owners that share it.
struct TSharedHook {
    HHOOK Hook = nullptr;
    std::vector<TThreadHook*> Owners;
};

thread_local TSharedHook GCbt;
thread_local TSharedHook GMsgFilter;

TSharedHook& SharedHook(int Kind)
{
    if (Kind == WH_CBT)
        return GCbt;
    if (Kind == WH_MSGFILTER)
        return GMsgFilter;
    throw std::invalid_argument("Only WH_CBT and WH_MSGFILTER hooks are owned here");
}

} // namespace

struct TThreadHookCalls {
    static LRESULT Call(TSharedHook& Shared, int Code, WPARAM WParam, LPARAM LParam) noexcept
    {
        if (Code >= 0) {
            // A handler may add or remove owners; the ones present when the
            // call came are asked, unless they left in the meantime.
            const std::vector<TThreadHook*> Owners = Shared.Owners;
            for (auto It = Owners.rbegin(); It != Owners.rend(); ++It) {
                if (std::find(Shared.Owners.begin(), Shared.Owners.end(), *It) == Shared.Owners.end())
                    continue;
                try {
                    if (const LRESULT Result = (*It)->FHandler(Code, WParam, LParam))
                        return Result;
                } catch (...) {
                    ReportCallbackException();
                }
            }
        }
        return CallNextHookEx(nullptr, Code, WParam, LParam);
    }
    static LRESULT CALLBACK Cbt(int Code, WPARAM WParam, LPARAM LParam)
    {
        return Call(GCbt, Code, WParam, LParam);
    }
    static LRESULT CALLBACK MsgFilter(int Code, WPARAM WParam, LPARAM LParam)
    {
        return Call(GMsgFilter, Code, WParam, LParam);
    }
};

TThreadHook::TThreadHook(int Kind, THandler Handler) : FKind(Kind), FHandler(std::move(Handler))
{
    TSharedHook& Shared = SharedHook(Kind);
    if (!Shared.Hook) {
        const HOOKPROC Proc = Kind == WH_CBT ? &TThreadHookCalls::Cbt : &TThreadHookCalls::MsgFilter;
        Shared.Hook = SetWindowsHookExW(Kind, Proc, nullptr, GetCurrentThreadId());
        if (!Shared.Hook)
            throw std::system_error(static_cast<int>(GetLastError()), std::system_category(),
                                    "Cannot install a thread hook");
    }
    Shared.Owners.push_back(this);
}

TThreadHook::~TThreadHook()
{
    TSharedHook& Shared = FKind == WH_CBT ? GCbt : GMsgFilter;
    std::erase(Shared.Owners, this);
    if (Shared.Owners.empty() && Shared.Hook) {
        UnhookWindowsHookEx(Shared.Hook);
        Shared.Hook = nullptr;
    }
}
