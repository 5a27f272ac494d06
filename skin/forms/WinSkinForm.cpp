#include "WinSkinForm.h"

#include "framework/Forms.h"
#include "skin/data/SkinManagerLink.h"
#include "skin/data/WinSkinData.h"
#include "skin/forms/MenuBar.h"
#include "skin/forms/SkinManager.h"
#include "skin/forms/SkinMessages.h"

#include <algorithm>

// What leads from a window to its frame (TWindowSubclass::FindObject).
const char kFrameKind = 0;

namespace {

constexpr UINT kFrameChanged = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;
// Undocumented themed-caption painting of the system; the frame is ours.
constexpr UINT WM_NCUAHDRAWCAPTION = 0x00AE;

// System-menu bits of SystemButtons.
using captionrules::kContextHelp;
using captionrules::kMaximizeBox;
using captionrules::kMinimizeBox;
using captionrules::kSystemMenu;
constexpr unsigned kKeepSystemMenu = 0x10;

framegeo::TImageStrip StripOf(const TDataSkinObject* object)
{
    if (!object || object->Bitmap->Empty())
        return {0, 0, 1};
    return {object->Bitmap->Width(), object->Bitmap->Height(), object->FrameCount};
}

SIZE SizeOf(const RECT& rect) noexcept
{
    return {rect.right - rect.left, rect.bottom - rect.top};
}

bool IsSystemButtonHit(LRESULT hit) noexcept
{
    return hit == HTSYSMENU || hit == HTMINBUTTON || hit == HTMAXBUTTON || hit == HTCLOSE || hit == HTHELP;
}

} // namespace

TWinSkinForm::TWinSkinForm(HWND window, std::wstring className, TSkinData* skinData)
    : FHandle(window), FSkinData(skinData), FClassName(std::move(className)), FDispatch(skinData),
      FIconBitmap(std::make_unique<TBitmap>())
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
    ReadStyles();
    ReadWindowState();
    if (FFormKind == 2 && InSet(FSkinData->Options, xoMDIChildBorder))
        FFrameSkinned = false;
    MakeMenuBar();
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    FHadRegion = GetWindowRgn(FHandle, region) != ERROR;
    if (FHadRegion)
        FOriginalRegion.Reset(region);
    else
        DeleteObject(region);
    InstallMessageHandler<&TWinSkinForm::WindowProc>(FSubclass, FHandle, this, &kFrameKind);
    if (FFormKind == 1)
        SubclassMdiClient();
    if (FFrameSkinned)
        Remeasure();
    else
        FState = fsReady;
}

void TWinSkinForm::ReadStyles()
{
    FOriginalStyle = GetWindowLongPtrW(FHandle, GWL_STYLE);
    FOriginalExStyle = GetWindowLongPtrW(FHandle, GWL_EXSTYLE);
    const LONG_PTR style = FOriginalStyle;
    const LONG_PTR exStyle = FOriginalExStyle;
    FRightToLeft = (exStyle & WS_EX_LEFTSCROLLBAR) != 0;
    FIsChildWindow = (style & WS_CHILD) != 0;
    FResizable = (style & WS_THICKFRAME) != 0;
    FIsDialogClass = FClassName == L"#32770" || FClassName == L"TMessageForm";
    FFormKind = (exStyle & WS_EX_MDICHILD) ? 2 : (FindWindowExW(FHandle, nullptr, L"MDIClient", nullptr) ? 1 : 0);
    if ((style & WS_CAPTION) != WS_CAPTION)
        FBorderKind = 2;
    else if ((style & DS_MODALFRAME) || (exStyle & WS_EX_DLGMODALFRAME) || FIsDialogClass)
        FBorderKind = 3;
    else
        FBorderKind = FResizable ? 0 : 1;
    FSystemButtons = ((style & WS_SYSMENU) ? kSystemMenu : 0) | ((style & WS_MINIMIZEBOX) ? kMinimizeBox : 0)
                     | ((style & WS_MAXIMIZEBOX) ? kMaximizeBox : 0) | ((exStyle & WS_EX_CONTEXTHELP) ? kContextHelp : 0);
    // A window of the task bar keeps its system menu in its style: the shell
    // reads it from there.
    if ((exStyle & WS_EX_APPWINDOW) || (!GetWindow(FHandle, GW_OWNER) && FFormKind != 2))
        FSystemButtons |= kKeepSystemMenu;
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
    FMetrics = framegeo::MeasureFrame(StripOf(FSkinData->Left()), StripOf(FSkinData->Top()),
                                      StripOf(FSkinData->Right()), StripOf(FSkinData->Bottom()), FBorderKind == 2);
    FMetrics.MenuHeight = FSkinMenuBar && FBorderKind != 2 ? GetSystemMetrics(SM_CYMENU) : 0;
    if (FSkinMenuBar)
        FSkinMenuBar->SkinChanged();
    DropPieces();
    BuildCaptionButtons();
}

void TWinSkinForm::KeepClientRect()
{
    RECT window{};
    GetWindowRect(FHandle, &window);
    GetClientRect(FHandle, &FKeptClientRect);
    const SIZE outer = SizeOf(window);
    FSystemFrameSize = {outer.cx - FKeptClientRect.right, outer.cy - FKeptClientRect.bottom};
}

void TWinSkinForm::Initialise()
{
    FWindowMenu = GetSystemMenu(FHandle, FALSE);
    RebuildIconBitmap();
    KeepClientRect();
    // The client keeps the size it had with the system's menu bar, which
    // goes only now that the size is known.
    if (FSkinMenuBar)
        FSkinMenuBar->TakeMenu();
    if (FState == fsCreated && FFrameSkinned) {
        ReadWindowState();
        if (FFormKind == 2) {
            InitialiseMdiChild();
        } else if (!FIsChildWindow && FBorderKind != 2 && FWindowState != wsMinimized) {
            FState = fsFitting;
            FitToClient(false);
            FState = fsReady;
            if (FWindowState == wsNormal)
                BuildRegion();
        }
    }
    FState = fsReady;
    AttachControls();
    SendMessageW(FHandle, WM_SKINNOTIFY, 0, kSkinEngineKey);
    if (FSkinData->OnAfterSkinForm)
        FSkinData->OnAfterSkinForm(FForm, FHandle, FClassName);
    if (FFrameSkinned)
        RedrawWindow(FHandle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void TWinSkinForm::AttachControls()
{
    if (FForm)
        FDispatch.AttachFormControls(FForm);
    else
        FDispatch.AttachChildWindows(FHandle);
}

// --- Size ---

void TWinSkinForm::RepositionFrame()
{
    SetWindowPos(FHandle, nullptr, 0, 0, 0, 0, kFrameChanged);
}

void TWinSkinForm::FitToClient(bool keepClient)
{
    ReadWindowState();
    if (FWindowState == wsMaximized) {
        RepositionFrame();
        return;
    }
    if (keepClient || FIsDialogClass || FState == fsRefreshing)
        GetClientRect(FHandle, &FKeptClientRect);
    framegeo::TSize client{FKeptClientRect.right, FKeptClientRect.bottom};
    framegeo::TSize outer = framegeo::OuterSize(client, FMetrics);

    int growth = 0;
    if (FIsDialogClass && !keepClient) {
        // A dialog grows until its whole caption text fits.
        const int needed = CaptionTextWidth() + FSkinData->Title()->LeftWidth + FSkinData->Title()->RightWidth;
        growth = std::max(0, needed - outer.Width);
        outer.Width += growth;
    }
    // A new skin whose borders measure as the old ones leaves the window's
    // size and client area as they are: the system need not work the frame
    // out again (the refresh repaints it).
    if (FState == fsRefreshing && growth == 0 && FFittedMetrics == FMetrics && HasOuterSize(outer))
        return;
    SetWindowPos(FHandle, nullptr, 0, 0, outer.Width, outer.Height,
                 SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE);
    FFittedMetrics = FMetrics;
    if (growth > 0)
        MoveChildren(growth / 2);
}

bool TWinSkinForm::HasOuterSize(framegeo::TSize outer) const
{
    RECT window{};
    GetWindowRect(FHandle, &window);
    return window.right - window.left == outer.Width && window.bottom - window.top == outer.Height;
}

void TWinSkinForm::MoveChildren(int dx)
{
    for (HWND child = GetWindow(FHandle, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT bounds{};
        GetWindowRect(child, &bounds);
        MapWindowPoints(nullptr, FHandle, reinterpret_cast<POINT*>(&bounds), 2);
        SetWindowPos(child, nullptr, bounds.left + dx, bounds.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void TWinSkinForm::Size(TMessage& message)
{
    DefaultHandler(message);
    switch (message.WParam) {
    case SIZE_RESTORED: FWindowState = wsNormal; break;
    case SIZE_MINIMIZED: FWindowState = wsMinimized; break;
    case SIZE_MAXIMIZED: FWindowState = wsMaximized; break;
    default: break;
    }
    if (FWindowState == wsMinimized)
        return;
    if (FFormKind == 2 && FWindowState != wsNormal)
        return;
    if (FState == fsReady || FState == fsRefreshing)
        BuildRegion();
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
        FitToClient(true);
        BuildRegion();
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
    ReleaseCaptionButtons();
    FFormHook.Remove();
    FSubclass.Remove();
    if (MdiClient()) {
        FMdiClientSubclass.Remove();
        FSkinData->MenuUpdate = FMenuUpdateAtPrepare;
    }
    if (FForm && FColorSaved)
        FForm->SetColor(FSavedColor);
    FColorSaved = false;
    if (FForm)
        SetOwnerDrawMenus(FForm, *FSkinData, false);
    if (FSystemButtons & kSystemMenu) {
        const LONG_PTR style = GetWindowLongPtrW(FHandle, GWL_STYLE);
        SetWindowLongPtrW(FHandle, GWL_STYLE, style | WS_SYSMENU);
    }
    if (FRegionMade || FHadRegion) {
        HRGN original = FHadRegion ? FOriginalRegion.Release() : nullptr;
        SetWindowRgn(FHandle, original, TRUE);
        FRegionMade = false;
        FHadRegion = false;
    }
    if (FSkinMenuBar) {
        FSkinMenuBar->GiveMenuBack();
        FSkinMenuBar.reset();
    }
    if (frameWasSkinned && (!FIsChildWindow || FFormKind == 2)) {
        // The system frame comes back; the client keeps the size it had
        // under the skinned one.
        RepositionFrame();
        ReadWindowState();
        if (FWindowState == wsNormal) {
            RECT window{};
            RECT systemClient{};
            GetWindowRect(FHandle, &window);
            GetClientRect(FHandle, &systemClient);
            const SIZE outer = SizeOf(window);
            SetWindowPos(FHandle, nullptr, 0, 0, outer.cx - systemClient.right + client.right,
                         outer.cy - systemClient.bottom + client.bottom,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    RedrawWindow(FHandle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    FForm = nullptr;
    FState = fsDetached;
}

void TWinSkinForm::Release()
{
    FDispatch.Controls().FreeAll();
    ReleaseCaptionButtons();
    FMdiClientSubclass.Remove();
    FFormHook.Remove();
    FSubclass.Remove();
    if (FSkinMenuBar) {
        if (FState == fsDestroying || !IsWindow(FHandle))
            FSkinMenuBar->DropWithWindow();
        else
            FSkinMenuBar->GiveMenuBack();
        FSkinMenuBar.reset();
    }
    FForm = nullptr;
    if (FState != fsDestroying)
        FState = fsDetached;
}

// --- WindowProc ---

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
        if (FState != fsCreated || FFormKind == 2)
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
        OwnerDrawLoopPopup(reinterpret_cast<HMENU>(message.WParam));
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
    if (FIsChildWindow && FFormKind != 2) {
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
        Size(message);
        return true;
    case WM_SETICON:
        DefaultWithoutCaption(message, false);
        RebuildIconBitmap();
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
    if ((FFormKind == 2 && FWindowState == wsMaximized) || FState == fsCreated) {
        DefaultHandler(message);
        return;
    }
    if (CaptionStage(message))
        return;
    switch (message.Msg) {
    case WM_NCCALCSIZE: NcCalcSize(message); break;
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
        if (FFormKind == 2 && FWindowState == wsMaximized && SkinManager && SkinManager->MDIClient())
            PostMessageW(SkinManager->MDIClient(), WM_SKINMDICHANGED, reinterpret_cast<WPARAM>(FHandle), 0);
        PaintFrame();
        return;
    case WM_SKINRECOLOUR:
        Refresh();
        return;
    case CM_MENUCHANGED:
        FFormHook.CallPrevious(message);
        MenuChanged();
        return;
    case CM_DIALOGCHAR:
        FFormHook.CallPrevious(message);
        if (!message.Result && DialogChar(message.WParam))
            message.Result = 1;
        return;
    default:
        FFormHook.CallPrevious(message);
        return;
    }
}

// --- Non-client messages ---

void TWinSkinForm::NcCalcSize(TMessage& message)
{
    DefaultHandler(message);
    if (!message.WParam) {
        message.Result = 0;
        return;
    }
    auto* params = AsPointer<NCCALCSIZE_PARAMS>(message.LParam);
    if ((FFormKind == 2 && FWindowState != wsNormal) || FBorderKind == 2) {
        params->rgrc[1] = params->rgrc[0];
        message.Result = WVR_VALIDRECTS;
        return;
    }
    const WINDOWPOS& position = *params->lppos;
    const framegeo::TRectI client = framegeo::ClientInside(
        {position.x, position.y, position.x + position.cx, position.y + position.cy}, FMetrics);
    const RECT rect{client.Left, client.Top, std::max(client.Left, client.Right),
                    std::max(client.Top, client.Bottom)};
    params->rgrc[0] = rect;
    params->rgrc[1] = rect;
    message.Result = WVR_VALIDRECTS;
}

void TWinSkinForm::NcHitTest(TMessage& message)
{
    DefaultHandler(message);
    LRESULT hit = message.Result;
    RECT window{};
    GetWindowRect(FHandle, &window);
    const int y = HiWordSigned(message.LParam) - window.top;
    // A caption button is caption even on the system's sizing edge.
    if (ButtonAt({LoWordSigned(message.LParam) - window.left, y})) {
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
        framegeo::FrameHitTest(y, FMetrics, static_cast<framegeo::THitArea>(hit), FSkinData->PixelsPerInch());
}

void TWinSkinForm::NcPaint(TMessage& message)
{
    if (!(FSystemButtons & kKeepSystemMenu)) {
        // Without the system menu style the system can never draw its caption buttons.
        const LONG_PTR style = GetWindowLongPtrW(FHandle, GWL_STYLE);
        if (style & WS_SYSMENU)
            SetWindowLongPtrW(FHandle, GWL_STYLE, style & ~WS_SYSMENU);
    }
    if (FSkinData->FramePainting) {
        if ((FFormKind == 2 && FWindowState == wsMaximized) || FBorderKind == 2)
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
        LeaveHotObject();
    // The default keeps the activation state; lParam -1 keeps it from
    // drawing the system caption.
    message.LParam = -1;
    DefaultHandler(message);
    if (!(FFormKind == 2 && FWindowState == wsMaximized))
        PaintFrame();
    message.Result = TRUE;
}
