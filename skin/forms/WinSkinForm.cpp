#include "WinSkinForm.h"

#include "framework/Forms.h"
#include "skin/data/SkinManagerLink.h"
#include "skin/data/WinSkinData.h"
#include "skin/forms/MenuBar.h"
#include "skin/forms/SkinManager.h"
#include "skin/forms/SkinMessages.h"


// What leads from a window to its frame (TWindowSubclass::FindObject).
const char kFrameKind = 0;

namespace {

// Undocumented themed-caption painting of the system; the frame is ours.
constexpr UINT WM_NCUAHDRAWCAPTION = 0x00AE;

// System-menu bits of SystemButtons.
using captionrules::kContextHelp;
using captionrules::kMaximizeBox;
using captionrules::kMinimizeBox;
using captionrules::kSystemMenu;
constexpr unsigned kKeepSystemMenu = 0x10;

bool IsSystemButtonHit(LRESULT hit) noexcept
{
    return hit == HTSYSMENU || hit == HTMINBUTTON || hit == HTMAXBUTTON || hit == HTCLOSE || hit == HTHELP;
}

TFrameStyle ReadFrameStyle(HWND window, const std::wstring& className)
{
    TFrameStyle frame;
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    const LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
    frame.Style = style;
    frame.ExStyle = exStyle;
    frame.RightToLeft = (exStyle & WS_EX_LEFTSCROLLBAR) != 0;
    frame.IsChildWindow = (style & WS_CHILD) != 0;
    frame.Resizable = (style & WS_THICKFRAME) != 0;
    frame.IsDialogClass = className == L"#32770" || className == L"TMessageForm";
    frame.FormKind = (exStyle & WS_EX_MDICHILD)                                   ? fkMdiChild
                     : FindWindowExW(window, nullptr, L"MDIClient", nullptr) ? fkMdiFrame
                                                                             : fkOrdinary;
    if ((style & WS_CAPTION) != WS_CAPTION)
        frame.BorderKind = bkNoCaption;
    else if ((style & DS_MODALFRAME) || (exStyle & WS_EX_DLGMODALFRAME) || frame.IsDialogClass)
        frame.BorderKind = bkDialog;
    else
        frame.BorderKind = frame.Resizable ? bkSizeable : bkSingle;
    frame.SystemButtons = ((style & WS_SYSMENU) ? kSystemMenu : 0) | ((style & WS_MINIMIZEBOX) ? kMinimizeBox : 0)
                          | ((style & WS_MAXIMIZEBOX) ? kMaximizeBox : 0)
                          | ((exStyle & WS_EX_CONTEXTHELP) ? kContextHelp : 0);
    // A window of the task bar keeps its system menu in its style: the shell
    // reads it from there.
    if ((exStyle & WS_EX_APPWINDOW) || (!GetWindow(window, GW_OWNER) && frame.FormKind != fkMdiChild))
        frame.SystemButtons |= kKeepSystemMenu;
    return frame;
}

} // namespace

TWinSkinForm::TWinSkinForm(HWND window, std::wstring className, TSkinData* skinData)
    : FHandle(window), FSkinData(skinData), FClassName(std::move(className)), FDispatch(skinData)
{
}

TWinSkinForm::~TWinSkinForm()
{
    // Teardown order: stop taking messages and give the window its
    // procedure back while it is still valid, then free our own state.
    Release();
}

// --- Attaching ---

void TWinSkinForm::AttachToForm(TWinControl* form)
{
    FForm = form;
    if (FSkinData->OnBeforeSkinForm)
        FSkinData->OnBeforeSkinForm(form, FHandle, FClassName);
    Prepare();
    if (FFrameSkinned)
        FFormHook.Install(form, TWndMethod::Bind<&TWinSkinForm::FormHook>(this));
    FSavedColor = form->Color();
    FColorSaved = true;
    form->SetColor(FSkinData->SkinColor(scButtonFace));
    SetOwnerDrawMenus(form, *FSkinData, true);
}

void TWinSkinForm::AttachToWindow()
{
    if (FSkinData->OnBeforeSkinForm)
        FSkinData->OnBeforeSkinForm(nullptr, FHandle, FClassName);
    Prepare();
}

void TWinSkinForm::Prepare()
{
    if (FPrepared)
        return;
    FPrepared = true;
    if (ISkinManagerLink* manager = CurrentSkinManager(); manager && manager->RunState() == 0)
        manager->SetRunState(1);
    FFrameSkinned = InSet(FSkinData->SkinControls, xcMainMenu);
    FStyle = ReadFrameStyle(FHandle, FClassName);
    ReadWindowState();
    if (FStyle.FormKind == fkMdiChild && InSet(FSkinData->Options, xoMDIChildBorder))
        FFrameSkinned = false;
    FMenuBar.Make();
    FRegion.RememberOriginal();
    InstallMessageHandler<&TWinSkinForm::WindowProc>(FSubclass, FHandle, this, &kFrameKind);
    if (FStyle.FormKind == fkMdiFrame)
        FMdiClient.Install();
    if (FFrameSkinned)
        Remeasure();
    else
        FState = fsReady;
}

void TWinSkinForm::ReadWindowState()
{
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    if (!GetWindowPlacement(FHandle, &placement))
        return;
    switch (placement.showCmd) {
    case SW_SHOWMAXIMIZED: FWindowState = wsMaximized; break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE: FWindowState = wsMinimized; break;
    default: FWindowState = wsNormal; break;
    }
}

void TWinSkinForm::Remeasure()
{
    if (FSkinData->SkinLoading())
        return;
    FFitting.Measure();
    if (SkinMenuBar())
        SkinMenuBar()->SkinChanged();
    FPainter.DropPieces();
    FCaption.Build();
}

void TWinSkinForm::Initialise()
{
    FWindowMenu = GetSystemMenu(FHandle, FALSE);
    FPainter.RebuildIconBitmap();
    FFitting.KeepClientRect();
    // The client keeps the size it had with the system's menu bar, which
    // goes only now that the size is known.
    if (SkinMenuBar())
        SkinMenuBar()->TakeMenu();
    if (FState == fsCreated && FFrameSkinned)
        FitNewWindow();
    FState = fsReady;
    AttachControls();
    SendMessageW(FHandle, WM_SKINNOTIFY, 0, kSkinEngineKey);
    if (FSkinData->OnAfterSkinForm)
        FSkinData->OnAfterSkinForm(FForm, FHandle, FClassName);
    if (FFrameSkinned)
        RedrawWindow(FHandle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void TWinSkinForm::FitNewWindow()
{
    ReadWindowState();
    if (FStyle.FormKind == fkMdiChild) {
        // A maximised MDI child shows in its frame, which repaints for it.
        if (FWindowState == wsMaximized)
            PostMessageW(GetParent(FHandle), WM_SKINMDICHANGED, reinterpret_cast<WPARAM>(FHandle), 0);
        if (FWindowState != wsNormal)
            return;
    } else if (FStyle.IsChildWindow || FStyle.BorderKind == bkNoCaption || FWindowState == wsMinimized) {
        return;
    }
    FState = fsFitting;
    FFitting.FitToClient(false);
    FState = fsReady;
    if (FWindowState == wsNormal)
        FRegion.Build(FPainter);
}

void TWinSkinForm::AttachControls()
{
    if (FForm)
        FDispatch.AttachFormControls(FForm);
    else
        FDispatch.AttachChildWindows(FHandle);
}

// --- Refresh and removal ---

void TWinSkinForm::Refresh()
{
    if (FForm && FColorSaved)
        FForm->SetColor(FSkinData->SkinColor(scButtonFace));
    FState = fsRefreshing;
    FDispatch.Controls().SkinChangedAll();
    AttachControls();
    if (FFrameSkinned) {
        Remeasure();
        FFitting.FitToClient(true);
        FRegion.Build(FPainter);
    }
    SendMessageW(FHandle, WM_SKINNOTIFY, 0, kSkinEngineKey);
    if (FSkinData->OnAfterSkinForm)
        FSkinData->OnAfterSkinForm(FForm, FHandle, FClassName);
    FState = fsReady;
    if (FFrameSkinned)
        RedrawWindow(FHandle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TWinSkinForm::Unskin()
{
    if (!IsWindow(FHandle)) {
        Release();
        return;
    }
    RECT client{};
    GetClientRect(FHandle, &client);
    const bool frameWasSkinned = FFrameSkinned && FState != fsCreated;
    FDispatch.Controls().DeactivateAndFreeAll();
    FCaption.Release();
    FFormHook.Remove();
    FSubclass.Remove();
    FMdiClient.GiveBack();
    if (FForm && FColorSaved)
        FForm->SetColor(FSavedColor);
    FColorSaved = false;
    if (FForm)
        SetOwnerDrawMenus(FForm, *FSkinData, false);
    if (FStyle.SystemButtons & kSystemMenu) {
        const LONG_PTR style = GetWindowLongPtrW(FHandle, GWL_STYLE);
        SetWindowLongPtrW(FHandle, GWL_STYLE, style | WS_SYSMENU);
    }
    FRegion.GiveBack();
    FMenuBar.GiveBack();
    if (frameWasSkinned && (!FStyle.IsChildWindow || FStyle.FormKind == fkMdiChild)) {
        // The system frame comes back; the client keeps the size it had
        // under the skinned one.
        FFitting.GiveBackClientSize(client);
    }
    RedrawWindow(FHandle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    FForm = nullptr;
    FState = fsDetached;
}

void TWinSkinForm::Release()
{
    FDispatch.Controls().FreeAll();
    FCaption.Release();
    FMdiClient.Remove();
    FFormHook.Remove();
    FSubclass.Remove();
    FMenuBar.Drop(FState == fsDestroying || !IsWindow(FHandle));
    FForm = nullptr;
    if (FState != fsDestroying)
        FState = fsDetached;
}

// --- WindowProc ---

void TWinSkinForm::PaintFrame(HDC dc)
{
    if ((FState != fsReady && FState != fsRefreshing) || FStyle.BorderKind == bkNoCaption)
        return;
    if (FStyle.FormKind == fkMdiChild && FWindowState == wsMaximized)
        return;
    FPainter.Paint(dc);
}

POINT TWinSkinForm::ToWindowPoint(POINT screenPoint) const
{
    RECT window{};
    GetWindowRect(FHandle, &window);
    return {screenPoint.x - window.left, screenPoint.y - window.top};
}

void TWinSkinForm::DefaultHandler(TMessage& message)
{
    message.Result = FSubclass.CallPrevious(message.Msg, message.WParam, message.LParam);
}

void TWinSkinForm::WindowProc(TMessage& message)
{
    struct TDepthGuard {
        int& Depth;
        explicit TDepthGuard(int& depth) : Depth(++depth) {}
        ~TDepthGuard() { --Depth; }
    } guard(FDepth);
    if (BaseStage(message))
        return;
    if (!FFrameSkinned) {
        DefaultHandler(message);
        return;
    }
    if (FrameStage(message))
        return;
    NonClientStage(message);
}

bool TWinSkinForm::BaseStage(TMessage& message)
{
    if (FState == fsCreated && message.Msg == WM_NCPAINT) {
        message.Result = 0;
        return true;
    }
    switch (message.Msg) {
    case WM_ERASEBKGND:
        DefaultHandler(message);
        if (!FForm) {
            RECT client{};
            GetClientRect(FHandle, &client);
            FillRect(reinterpret_cast<HDC>(message.WParam), &client, FSkinData->FaceBrush());
            message.Result = 1;
        }
        return true;
    case WM_NCDESTROY:
        FState = fsDestroying;
        DefaultHandler(message);
        Release();
        FState = fsDetached;
        return true;
    case WM_NCACTIVATE:
        if (FState != fsCreated || FStyle.FormKind == fkMdiChild)
            return false;
        // Not yet painted: let the activation through without drawing anything.
        message.LParam = -1;
        DefaultHandler(message);
        message.Result = TRUE;
        return true;
    case WM_NCUAHDRAWCAPTION:
        message.Result = 0;
        return true;
    case WM_INITMENUPOPUP:
        // Tells the popup-menu skinning what opened the menu.
        if (SkinManager)
            SkinManager->PopupKind = reinterpret_cast<HMENU>(message.WParam) == FWindowMenu ? 2 : 1;
        DefaultHandler(message);
        FMenuBar.OwnerDrawPopup(reinterpret_cast<HMENU>(message.WParam));
        return true;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        DefaultHandler(message);
        if (!FForm) {
            SetBkMode(reinterpret_cast<HDC>(message.WParam), TRANSPARENT);
            if (message.Msg == WM_CTLCOLORSTATIC)
                message.Result = reinterpret_cast<LRESULT>(FSkinData->FaceBrush());
        }
        return true;
    case WM_SKININIT:
        Initialise();
        return true;
    case WM_SKINREBUILDSCROLL:
        FDispatch.ReplaceScrollSkin(reinterpret_cast<HWND>(message.WParam));
        return true;
    case WM_SKINQUERY:
        message.Result = 1;
        PostMessageW(FHandle, WM_SKINNOTIFY, 0, kSkinEngineKey);
        return true;
    case WM_SKINPAINTTO:
        if (message.LParam != kSkinEngineKey)
            return false;
        PaintFrame(reinterpret_cast<HDC>(message.WParam));
        message.Result = kSkinEngineKey;
        return true;
    case WM_SKINISENGINE:
        message.Result = message.LParam == kSkinEngineKey ? kSkinEngineKey : 1;
        return true;
    default:
        return false;
    }
}

bool TWinSkinForm::FrameStage(TMessage& message)
{
    if (FStyle.IsChildWindow && FStyle.FormKind != fkMdiChild) {
        DefaultHandler(message);
        return true;
    }
    switch (message.Msg) {
    case WM_COMMAND:
        switch (LOWORD(message.WParam) & 0xFFF0) {
        case SC_SIZE: case SC_MOVE: case SC_MINIMIZE: case SC_MAXIMIZE: case SC_NEXTWINDOW:
        case SC_PREVWINDOW: case SC_CLOSE: case SC_RESTORE:
            // Commands of the skinned window menu.
            PostMessageW(FHandle, WM_SYSCOMMAND, LOWORD(message.WParam), 0);
            return true;
        default:
            DefaultHandler(message);
            return true;
        }
    case WM_WINDOWPOSCHANGED:
        ReadWindowState();
        DefaultHandler(message);
        return true;
    case WM_GETMINMAXINFO:
        DefaultHandler(message);
        ReadWindowState();
        return true;
    case WM_ACTIVATE:
        FActive = LOWORD(message.WParam) != WA_INACTIVE;
        return false;
    case WM_NCACTIVATE:
        FActive = message.WParam != 0;
        return false;
    case WM_SIZE:
        FFitting.Sized(message);
        return true;
    case WM_SETICON:
        DefaultWithoutCaption(message, false);
        FPainter.RebuildIconBitmap();
        PaintFrame();
        return true;
    case WM_SETTEXT:
        DefaultWithoutCaption(message, false);
        if (IsWindowVisible(FHandle))
            PaintFrame();
        return true;
    default:
        return false;
    }
}

void TWinSkinForm::NonClientStage(TMessage& message)
{
    if ((FStyle.FormKind == fkMdiChild && FWindowState == wsMaximized) || FState == fsCreated) {
        DefaultHandler(message);
        return;
    }
    if (FCaption.HandleMessage(message))
        return;
    switch (message.Msg) {
    case WM_NCCALCSIZE: FFitting.NcCalcSize(message); break;
    case WM_NCHITTEST: NcHitTest(message); break;
    case WM_NCPAINT: NcPaint(message); break;
    case WM_NCACTIVATE: NcActivate(message); break;
    case WM_SKINREPAINTFRAME: PaintFrame(); break;
    default: DefaultHandler(message); break;
    }
}

void TWinSkinForm::DefaultWithoutCaption(TMessage& message, bool formHook)
{
    // The system draws its own caption while it takes a new text or icon.
    // Without the caption style it has none to draw; ours is painted after.
    const LONG_PTR style = GetWindowLongPtrW(FHandle, GWL_STYLE);
    const bool strip = (style & WS_CAPTION) == WS_CAPTION && !FCaptionStripped;
    if (strip) {
        FCaptionStripped = true;
        SetWindowLongPtrW(FHandle, GWL_STYLE, style & ~WS_CAPTION);
    }
    if (formHook)
        FFormHook.CallPrevious(message);
    else
        DefaultHandler(message);
    if (strip) {
        SetWindowLongPtrW(FHandle, GWL_STYLE, GetWindowLongPtrW(FHandle, GWL_STYLE) | WS_CAPTION);
        FCaptionStripped = false;
    }
}

void TWinSkinForm::FormHook(TMessage& message)
{
    switch (message.Msg) {
    case WM_SETTEXT:
        // The framework sets its caption here without passing the window's procedure.
        DefaultWithoutCaption(message, true);
        if (FState != fsReady || !IsWindowVisible(FHandle))
            return;
        // A maximised MDI child's caption shows in its frame's.
        if (FStyle.FormKind == fkMdiChild && FWindowState == wsMaximized && SkinManager && SkinManager->MDIClient())
            PostMessageW(SkinManager->MDIClient(), WM_SKINMDICHANGED, reinterpret_cast<WPARAM>(FHandle), 0);
        PaintFrame();
        return;
    case WM_SKINRECOLOUR:
        Refresh();
        return;
    case CM_MENUCHANGED:
        FFormHook.CallPrevious(message);
        FMenuBar.MenuChanged();
        return;
    case CM_DIALOGCHAR:
        FFormHook.CallPrevious(message);
        if (!message.Result && FMenuBar.DialogChar(message.WParam))
            message.Result = 1;
        return;
    default:
        FFormHook.CallPrevious(message);
        return;
    }
}

// --- Non-client messages ---

void TWinSkinForm::NcHitTest(TMessage& message)
{
    DefaultHandler(message);
    LRESULT hit = message.Result;
    RECT window{};
    GetWindowRect(FHandle, &window);
    const int y = HiWordSigned(message.LParam) - window.top;
    // A caption button is caption even on the system's sizing edge.
    if (FCaption.ButtonAt({LoWordSigned(message.LParam) - window.left, y})) {
        message.Result = HTCAPTION;
        return;
    }
    // The system's caption buttons are not where the skin draws its own;
    // those are found inside the caption.
    if (IsSystemButtonHit(hit))
        hit = HTCAPTION;
    if (hit != HTNOWHERE && hit != HTCAPTION)
        return;
    message.Result =
        framegeo::FrameHitTest(y, FFitting.Metrics(), static_cast<framegeo::THitArea>(hit), FSkinData->PixelsPerInch());
}

void TWinSkinForm::NcPaint(TMessage& message)
{
    if (!(FStyle.SystemButtons & kKeepSystemMenu)) {
        // Without the system menu style the system can never draw its caption buttons.
        const LONG_PTR style = GetWindowLongPtrW(FHandle, GWL_STYLE);
        if (style & WS_SYSMENU)
            SetWindowLongPtrW(FHandle, GWL_STYLE, style & ~WS_SYSMENU);
    }
    if (FSkinData->FramePainting) {
        if ((FStyle.FormKind == fkMdiChild && FWindowState == wsMaximized) || FStyle.BorderKind == bkNoCaption)
            DefaultHandler(message);
        else
            PaintFrame();
    }
    message.Result = 0;
}

void TWinSkinForm::NcActivate(TMessage& message)
{
    FActive = message.WParam != 0;
    if (!FActive)
        FCaption.LeaveHotObject();
    // The default keeps the activation state; lParam -1 keeps it from
    // drawing the system caption.
    message.LParam = -1;
    DefaultHandler(message);
    if (!(FStyle.FormKind == fkMdiChild && FWindowState == wsMaximized))
        PaintFrame();
    message.Result = TRUE;
}
