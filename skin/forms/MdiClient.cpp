// The MDI client of a skinned MDI frame: its scroll bars, the maximised
// child's state the caption buttons depend on, and the frame repaint a
// child asks for when it is maximised or restored.
#include "WinSkinForm.h"

#include "skin/data/WinSkinData.h"
#include "skin/forms/MenuBar.h"
#include "skin/forms/SkinManager.h"
#include "skin/forms/SkinMessages.h"

namespace {

// The MDI client's subclass kind.
const char kMdiClientKind = 0;

} // namespace

HWND TWinSkinForm::MdiClient() const noexcept
{
    return FMdiClientSubclass.Installed() ? FMdiClientSubclass.Window() : nullptr;
}

void TWinSkinForm::SubclassMdiClient()
{
    HWND client = FindWindowExW(FHandle, nullptr, L"MDIClient", nullptr);
    if (!client)
        return;
    FMenuUpdateAtPrepare = FSkinData->MenuUpdate;
    InstallMessageHandler<&TWinSkinForm::MdiClientProc>(FMdiClientSubclass, client, this, &kMdiClientKind);
}

void TWinSkinForm::MdiClientProc(TMessage& message)
{
    HWND client = FMdiClientSubclass.Window();
    switch (message.Msg) {
    case WM_NCCALCSIZE:
        // The skinned frame shows no system scroll bars in its client unless
        // the skin asks for them.
        if (FFrameSkinned && !InSet(FSkinData->Options, xoMDIScrollbar)) {
            const LONG_PTR style = GetWindowLongPtrW(client, GWL_STYLE);
            if (style & (WS_HSCROLL | WS_VSCROLL))
                SetWindowLongPtrW(client, GWL_STYLE, style & ~(WS_HSCROLL | WS_VSCROLL));
        }
        break;
    case WM_MDICREATE:
        FSkinData->MenuUpdate = false;
        break;
    case WM_MDITILE:
    case WM_MDICASCADE:
        // Tiled or cascaded children are never maximised.
        if (FFrameSkinned && SkinManager)
            SkinManager->SetMDIChildMaximized(false);
        break;
    case WM_SKINMDICHANGED:
        RedrawWindow(FHandle, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
        message.Result = 0;
        return;
    default:
        break;
    }
    message.Result = FMdiClientSubclass.CallPrevious(message.Msg, message.WParam, message.LParam);
    if (message.Msg == WM_MDIDESTROY && FFrameSkinned) {
        BOOL maximised = FALSE;
        const HWND active = reinterpret_cast<HWND>(SendMessageW(client, WM_MDIGETACTIVE, 0, AsLParam(&maximised)));
        if (SkinManager)
            SkinManager->SetMDIChildMaximized(active && maximised);
        if (!active) {
            FSkinData->MenuUpdate = FMenuUpdateAtPrepare;
            if (FSkinMenuBar)
                FSkinMenuBar->RebuildItems();
        }
    }
    // A new frame menu: the skinned bar shows it, the frame window none.
    if (message.Msg == WM_MDISETMENU && FFrameSkinned && message.WParam && FSkinMenuBar)
        FSkinMenuBar->TakeNewMenu(reinterpret_cast<HMENU>(message.WParam));
}

void TWinSkinForm::InitialiseMdiChild()
{
    switch (FWindowState) {
    case wsMaximized:
        PostMessageW(GetParent(FHandle), WM_SKINMDICHANGED, reinterpret_cast<WPARAM>(FHandle), 0);
        break;
    case wsMinimized:
        break;
    default:
        FState = fsFitting;
        FitToClient(false);
        FState = fsReady;
        BuildRegion();
        break;
    }
}
