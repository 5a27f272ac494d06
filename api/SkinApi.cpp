// The C boundary of the skin engine. One session per process, owned by the
// thread that started it: the engine's hook, timers and subclasses belong to
// that thread's windows, so every other thread is refused rather than let
// touch them. Nothing is thrown across: each call catches everything and
// leaves its code and text for the calling thread's VkSkinLastError.
#include "vidkiln/skin.h"

#include "api/SkinSession.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <memory>
#include <new>
#include <string>

namespace {

// Trivially destructible, so neither a thread's end nor the DLL's unload has
// a destructor to run for it.
struct TLastError {
    int Code = VK_SKIN_OK;
    wchar_t Text[1024] = {};
};
thread_local TLastError LastError;

std::atomic<DWORD> OwnerThread{0};
std::unique_ptr<TSkinSession> Session;
// A call that sends messages can be re-entered from a window procedure of the
// same thread; the inner call must not free the session the outer one uses.
bool InCall = false;

void Remember(int code, const std::wstring& text) noexcept
{
    LastError.Code = code;
    const std::size_t length = std::min(text.size(), std::size(LastError.Text) - 1);
    std::copy_n(text.c_str(), length, LastError.Text);
    LastError.Text[length] = L'\0';
}

// An exception's own text, taken without allocating: the failure may be
// the lack of memory itself.
void RememberNarrow(int code, const char* text) noexcept
{
    LastError.Code = code;
    std::size_t length = 0;
    for (; text[length] && length + 1 < std::size(LastError.Text); ++length)
        LastError.Text[length] = static_cast<unsigned char>(text[length]);
    LastError.Text[length] = L'\0';
}

// Only the owner, or any thread while nobody owns the engine, may go on.
void RequireOwner()
{
    const DWORD owner = OwnerThread.load();
    if (owner != 0 && owner != GetCurrentThreadId())
        throw ESkinApiError(VK_SKIN_WRONG_THREAD, L"skinning was started on thread " + std::to_wstring(owner) +
                                                      L"; call from that thread");
    if (InCall && owner != 0)
        throw ESkinApiError(VK_SKIN_REENTERED, L"called from inside another skin call of this thread");
}

TSkinSession& StartedSession()
{
    RequireOwner();
    if (!Session)
        throw ESkinApiError(VK_SKIN_NOT_STARTED, L"skinning has not been started");
    return *Session;
}

template <typename TBody>
int Guarded(TBody&& body) noexcept
{
    try {
        body();
        Remember(VK_SKIN_OK, L"");
    } catch (const ESkinApiError& error) {
        Remember(error.Code(), error.Text());
    } catch (const std::bad_alloc&) {
        RememberNarrow(VK_SKIN_INTERNAL, "out of memory");
    } catch (const std::exception& error) {
        RememberNarrow(VK_SKIN_INTERNAL, error.what());
    } catch (...) {
        RememberNarrow(VK_SKIN_INTERNAL, "unknown failure");
    }
    return LastError.Code;
}

// Marks the owner thread busy for the length of one call.
class TCallScope {
public:
    TCallScope() noexcept { InCall = true; }
    ~TCallScope() { InCall = false; }
    TCallScope(const TCallScope&) = delete;
    TCallScope& operator=(const TCallScope&) = delete;
};

std::wstring PathArgument(const wchar_t* skinFile)
{
    if (!skinFile || !*skinFile)
        throw ESkinApiError(VK_SKIN_INVALID_ARGUMENT, L"no skin file named");
    return skinFile;
}

void Start(const std::wstring& skinFile)
{
    DWORD expected = 0;
    if (!OwnerThread.compare_exchange_strong(expected, GetCurrentThreadId())) {
        RequireOwner();
        throw ESkinApiError(VK_SKIN_ALREADY_STARTED, L"skinning is already running; stop it or switch the skin");
    }
    TCallScope scope;
    try {
        Session = std::make_unique<TSkinSession>(skinFile);
    } catch (...) {
        OwnerThread = 0;
        throw;
    }
}

void Stop()
{
    TSkinSession& session = StartedSession();
    TCallScope scope;
    // A failure to give a window back still ends the session: a stop that
    // left the engine half running could never be repeated cleanly.
    try {
        session.GiveWindowsBack();
    } catch (...) {
        Session.reset();
        OwnerThread = 0;
        throw;
    }
    Session.reset();
    OwnerThread = 0;
}

} // namespace

extern "C" {

int __stdcall VkSkinStartFile(const wchar_t* skinFile)
{
    return Guarded([&] { Start(PathArgument(skinFile)); });
}

int __stdcall VkSkinSwitchFile(const wchar_t* skinFile)
{
    return Guarded([&] {
        const std::wstring path = PathArgument(skinFile);
        TSkinSession& session = StartedSession();
        TCallScope scope;
        session.SwitchFile(path);
    });
}

void __stdcall VkSkinStop(void)
{
    Guarded(Stop);
}

int __stdcall VkSkinIsSkinned(HWND window)
{
    bool skinned = false;
    Guarded([&] {
        RequireOwner();
        skinned = Session && Session->IsSkinned(window);
    });
    return skinned ? 1 : 0;
}

int __stdcall VkSkinLastErrorCode(void)
{
    return LastError.Code;
}

const wchar_t* __stdcall VkSkinLastError(void)
{
    return LastError.Text;
}

const wchar_t* __stdcall VkSkinErrorText(int code)
{
    switch (code) {
    case VK_SKIN_OK:
        return L"no error";
    case VK_SKIN_INVALID_ARGUMENT:
        return L"invalid argument";
    case VK_SKIN_FILE_UNREADABLE:
        return L"the skin file cannot be read";
    case VK_SKIN_BAD_SKIN:
        return L"not a skin file, or a damaged one";
    case VK_SKIN_ALREADY_STARTED:
        return L"skinning is already running";
    case VK_SKIN_NOT_STARTED:
        return L"skinning has not been started";
    case VK_SKIN_WRONG_THREAD:
        return L"skinning runs on another thread";
    case VK_SKIN_INTERNAL:
        return L"internal failure";
    case VK_SKIN_REENTERED:
        return L"called from inside another skin call";
    default:
        return L"unknown error";
    }
}

} // extern "C"
