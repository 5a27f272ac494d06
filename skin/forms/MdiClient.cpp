#include "MdiClient.h"

#include "framework/Messages.h"
#include "skin/data/WinSkinData.h"
#include "skin/forms/MenuBar.h"
#include "skin/forms/SkinManager.h"
#include "skin/forms/SkinMessages.h"
#include "skin/forms/WinSkinForm.h"

namespace {

// The MDI client's subclass kind.
const char kMdiClientKind = 0;

} // namespace

HWND TMdiClientHook::Window() const noexcept
{
    return FSubclass.Installed() ? FSubclass.Window() : nullptr;
}

void TMdiClientHook::Install()
{
    HWND client = FindWindowExW(FFrame.Handle(), nullptr, L"MDIClient", nullptr);
    if (!client)
        return;
    FMenuUpdateAtPrepare = FFrame.SkinData()->MenuUpdate;
    InstallMessageHandler<&TMdiClientHook::ClientProc>(FSubclass, client, this, &kMdiClientKind);
}

void TMdiClientHook::GiveBack()
{
    if (!Window())
        return;
    FSubclass.Remove();
    FFrame.SkinData()->MenuUpdate = FMenuUpdateAtPrepare;
}

HWND TMdiClientHook::ActiveChild(bool& maximised) const
{
    HWND client = Window();
    BOOL isMaximised = FALSE;
    const auto active =
        client ? reinterpret_cast<HWND>(SendMessageW(client, WM_MDIGETACTIVE, 0, AsLParam(&isMaximised))) : nullptr;
    maximised = active && isMaximised;
    return active;
}

bool TMdiClientHook::ActiveChildMaximised() const
{
    bool maximised = false;
    ActiveChild(maximised);
    return maximised;
}

void TMdiClientHook::ClientProc(TMessage& message)
{
    HWND client = FSubclass.Window();
    TSkinData& skin = *FFrame.SkinData();
    const bool frameSkinned = FFrame.FrameSkinned();
    switch (message.Msg) {
    case WM_NCCALCSIZE:
        // The skinned frame shows no system scroll bars in its client unless
        // the skin asks for them.
        if (frameSkinned && !InSet(skin.Options, xoMDIScrollbar)) {
            const LONG_PTR style = GetWindowLongPtrW(client, GWL_STYLE);
            if (style & (WS_HSCROLL | WS_VSCROLL))
                SetWindowLongPtrW(client, GWL_STYLE, style & ~(WS_HSCROLL | WS_VSCROLL));
        }
        break;
    case WM_MDICREATE:
        skin.MenuUpdate = false;
        break;
    case WM_MDITILE:
    case WM_MDICASCADE:
        // Tiled or cascaded children are never maximised.
        if (frameSkinned && SkinManager)
            SkinManager->SetMDIChildMaximized(false);
        break;
    case WM_SKINMDICHANGED:
        RedrawWindow(FFrame.Handle(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
        message.Result = 0;
        return;
    default:
        break;
    }
    message.Result = FSubclass.CallPrevious(message.Msg, message.WParam, message.LParam);
    if (message.Msg == WM_MDIDESTROY && frameSkinned)
        ChildDestroyed();
    // A new frame menu: the skinned bar shows it, the frame window none.
    if (message.Msg == WM_MDISETMENU && frameSkinned && message.WParam && FFrame.SkinMenuBar())
        FFrame.SkinMenuBar()->TakeNewMenu(reinterpret_cast<HMENU>(message.WParam));
}

void TMdiClientHook::ChildDestroyed()
{
    bool maximised = false;
    const HWND active = ActiveChild(maximised);
    if (SkinManager)
        SkinManager->SetMDIChildMaximized(maximised);
    if (!active) {
        FFrame.SkinData()->MenuUpdate = FMenuUpdateAtPrepare;
        if (FFrame.SkinMenuBar())
            FFrame.SkinMenuBar()->RebuildItems();
    }
}
