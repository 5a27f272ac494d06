#include "WindowSubclass.h"

#include "CallbackGuard.h"

#include <array>
#include <system_error>
#include <utility>

// One link per subclass of ours in a window's chain. The owner points at
// its link and the link back at its owner; either may end first. A link
// leaves memory only when it is out of the window's chain (or the window is
// gone) and no message is being handled by it, so a procedure of ours that
// is still called by address always finds its link.
struct TWindowSubclass::TLink {
    HWND Window = nullptr;
    int Slot = 0;
    bool Unicode = true;
    WNDPROC Previous = nullptr;
    // The object that points at this link, until it is destroyed or
    // installed elsewhere.
    TWindowSubclass* Owner = nullptr;
    // Called only while Active; kept until the link is freed, since it may
    // be running when its owner removes the subclass.
    THandler Handler;
    bool Active = false;
    const void* Kind = nullptr;
    void* Object = nullptr;
    unsigned Serial = 0;
    int Depth = 0;
    bool InChain = false;

    void ForgetOwner() noexcept
    {
        if (Owner)
            Owner->FLink = nullptr;
        Owner = nullptr;
    }
};

namespace {

using TLink = TWindowSubclass::TLink;
using THandler = TWindowSubclass::THandler;
constexpr int kSlots = TWindowSubclass::kMaxPerWindow;

// The links of one window, found through a window property. Each slot has a
// procedure of its own, so a procedure tells its link from the window's
// other links whatever sits between them.
struct TWindowLinks {
    std::array<TLink*, kSlots> Slots{};
    unsigned NextSerial = 0;
};

const wchar_t* LinksProperty() noexcept
{
    // A local atom lives as long as the process and needs no giving back.
    static const ATOM Atom = AddAtomW(L"VidkilnWindowSubclass");
    return reinterpret_cast<const wchar_t*>(static_cast<ULONG_PTR>(Atom));
}

TWindowLinks* LinksOf(HWND Window) noexcept
{
    return static_cast<TWindowLinks*>(GetPropW(Window, LinksProperty()));
}

LRESULT Dispatch(int Slot, HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) noexcept;

template <int Slot>
LRESULT CALLBACK SlotProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    return Dispatch(Slot, Window, Msg, WParam, LParam);
}

template <int... Slot>
constexpr std::array<WNDPROC, sizeof...(Slot)> MakeSlotProcs(std::integer_sequence<int, Slot...>)
{
    return {&SlotProc<Slot>...};
}

const std::array<WNDPROC, kSlots> kSlotProcs = MakeSlotProcs(std::make_integer_sequence<int, kSlots>());

// The link of ours a window procedure belongs to on this window, or nullptr
// for a foreign procedure.
TLink* LinkOfProc(TWindowLinks* Links, WNDPROC Proc) noexcept
{
    if (!Links)
        return nullptr;
    for (int Slot = 0; Slot < kSlots; ++Slot)
        if (kSlotProcs[static_cast<size_t>(Slot)] == Proc)
            return Links->Slots[static_cast<size_t>(Slot)];
    return nullptr;
}

WNDPROC CurrentProc(const TLink& Link) noexcept
{
    const LONG_PTR Proc = Link.Unicode ? GetWindowLongPtrW(Link.Window, GWLP_WNDPROC)
                                       : GetWindowLongPtrA(Link.Window, GWLP_WNDPROC);
    return reinterpret_cast<WNDPROC>(Proc);
}

LONG_PTR SetProc(HWND Window, bool Unicode, WNDPROC Proc) noexcept
{
    const auto Value = reinterpret_cast<LONG_PTR>(Proc);
    return Unicode ? SetWindowLongPtrW(Window, GWLP_WNDPROC, Value) : SetWindowLongPtrA(Window, GWLP_WNDPROC, Value);
}

LRESULT CallProc(const TLink& Link, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    return Link.Unicode ? CallWindowProcW(Link.Previous, Link.Window, Msg, WParam, LParam)
                        : CallWindowProcA(Link.Previous, Link.Window, Msg, WParam, LParam);
}

void FreeLink(TLink* Link) noexcept
{
    if (TWindowLinks* Links = LinksOf(Link->Window); Links && Links->Slots[static_cast<size_t>(Link->Slot)] == Link) {
        Links->Slots[static_cast<size_t>(Link->Slot)] = nullptr;
        bool Empty = true;
        for (TLink* Other : Links->Slots)
            Empty = Empty && !Other;
        if (Empty) {
            RemovePropW(Link->Window, LinksProperty());
            delete Links;
        }
    }
    Link->ForgetOwner();
    delete Link;
}

void FreeIfDone(TLink* Link) noexcept
{
    if (!Link->InChain && Link->Depth == 0)
        FreeLink(Link);
}

// Takes the link out of the window's chain if that can be done safely: our
// procedure is the window's, or only links of ours are above it.
void TakeOutOfChain(TLink* Link) noexcept
{
    if (!IsWindow(Link->Window)) {
        Link->InChain = false;
        return;
    }
    const WNDPROC Mine = kSlotProcs[static_cast<size_t>(Link->Slot)];
    WNDPROC Proc = CurrentProc(*Link);
    if (Proc == Mine) {
        SetProc(Link->Window, Link->Unicode, Link->Previous);
        Link->InChain = false;
        return;
    }
    TWindowLinks* Links = LinksOf(Link->Window);
    for (TLink* Above = LinkOfProc(Links, Proc); Above; Above = LinkOfProc(Links, Above->Previous)) {
        if (Above->Previous == Mine) {
            Above->Previous = Link->Previous;
            Link->InChain = false;
            return;
        }
    }
}

LRESULT Dispatch(int Slot, HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) noexcept
{
    TWindowLinks* Links = LinksOf(Window);
    TLink* Link = Links ? Links->Slots[static_cast<size_t>(Slot)] : nullptr;
    if (!Link)
        return IsWindowUnicode(Window) ? DefWindowProcW(Window, Msg, WParam, LParam)
                                       : DefWindowProcA(Window, Msg, WParam, LParam);
    ++Link->Depth;
    LRESULT Result = 0;
    try {
        Result = Link->Active ? Link->Handler(Msg, WParam, LParam) : CallProc(*Link, Msg, WParam, LParam);
    } catch (...) {
        ReportCallbackException();
    }
    --Link->Depth;
    if (Msg == WM_NCDESTROY) {
        // The window is gone: nothing is left to restore.
        Link->InChain = false;
        Link->Active = false;
    }
    FreeIfDone(Link);
    return Result;
}

} // namespace

void TWindowSubclass::Install(HWND Window, THandler Handler, const void* Kind, void* Object)
{
    Release();
    DWORD Process = 0;
    if (!IsWindow(Window) || GetWindowThreadProcessId(Window, &Process) != GetCurrentThreadId())
        throw std::system_error(ERROR_INVALID_WINDOW_HANDLE, std::system_category(),
                                "A window can be subclassed only by its own thread");
    TWindowLinks* Links = LinksOf(Window);
    const bool NewLinks = !Links;
    if (NewLinks) {
        Links = new TWindowLinks;
        if (!SetPropW(Window, LinksProperty(), Links)) {
            const DWORD Error = GetLastError();
            delete Links;
            throw std::system_error(static_cast<int>(Error), std::system_category(), "Cannot subclass the window");
        }
    }
    int Slot = 0;
    while (Slot < kSlots && Links->Slots[static_cast<size_t>(Slot)])
        ++Slot;
    if (Slot == kSlots)
        throw std::system_error(ERROR_NOT_ENOUGH_QUOTA, std::system_category(), "Too many subclasses on one window");
    auto* Link = new TLink;
    Link->Window = Window;
    Link->Slot = Slot;
    Link->Unicode = IsWindowUnicode(Window) != FALSE;
    Link->Owner = this;
    Link->Active = true;
    Link->Handler = std::move(Handler);
    Link->Kind = Kind;
    Link->Object = Object;
    Link->Serial = ++Links->NextSerial;
    Links->Slots[static_cast<size_t>(Slot)] = Link;
    SetLastError(0);
    const LONG_PTR Previous = SetProc(Window, Link->Unicode, kSlotProcs[static_cast<size_t>(Slot)]);
    if (!Previous && GetLastError()) {
        const DWORD Error = GetLastError();
        FreeLink(Link);
        throw std::system_error(static_cast<int>(Error), std::system_category(), "Cannot subclass the window");
    }
    Link->Previous = reinterpret_cast<WNDPROC>(Previous);
    Link->InChain = true;
    FLink = Link;
}

void TWindowSubclass::Remove() noexcept
{
    if (!FLink || !FLink->Active)
        return;
    FLink->Active = false;
    TakeOutOfChain(FLink);
    FreeIfDone(FLink);
}

void TWindowSubclass::Release() noexcept
{
    Remove();
    if (FLink)
        FLink->ForgetOwner();
}

HWND TWindowSubclass::Window() const noexcept
{
    return Installed() ? FLink->Window : nullptr;
}

LRESULT TWindowSubclass::CallPrevious(UINT Msg, WPARAM WParam, LPARAM LParam) const
{
    return FLink ? CallProc(*FLink, Msg, WParam, LParam) : 0;
}

void* TWindowSubclass::FindObject(HWND Window, const void* Kind) noexcept
{
    const TWindowLinks* Links = Window ? LinksOf(Window) : nullptr;
    if (!Links)
        return nullptr;
    const TLink* Newest = nullptr;
    for (const TLink* Link : Links->Slots)
        if (Link && Link->Active && Link->Kind == Kind && (!Newest || Link->Serial > Newest->Serial))
            Newest = Link;
    return Newest ? Newest->Object : nullptr;
}

bool TWindowSubclass::Installed() const noexcept
{
    return FLink && FLink->Active;
}
