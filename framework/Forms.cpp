#include "Forms.h"

#include "ImgList.h"
#include "SysUtils.h"
#include "UtilWindow.h"
#include "base/CallbackGuard.h"

#include <algorithm>
#include <exception>

namespace {

// Disables the thread's other enabled, visible top-level windows while a
// form is modal, and enables them again however the modal loop ends.
class TDisabledWindows {
public:
    explicit TDisabledWindows(HWND Keep) : FKeep(Keep)
    {
        EnumThreadWindows(GetCurrentThreadId(), &Collect, reinterpret_cast<LPARAM>(this));
        for (HWND Window : FWindows)
            EnableWindow(Window, FALSE);
    }
    ~TDisabledWindows()
    {
        for (HWND Window : FWindows)
            if (IsWindow(Window))
                EnableWindow(Window, TRUE);
    }
    TDisabledWindows(const TDisabledWindows&) = delete;
    TDisabledWindows& operator=(const TDisabledWindows&) = delete;

private:
    static BOOL CALLBACK Collect(HWND Window, LPARAM Self)
    {
        auto* This = reinterpret_cast<TDisabledWindows*>(Self);
        try {
            if (Window != This->FKeep && IsWindowVisible(Window) && IsWindowEnabled(Window))
                This->FWindows.push_back(Window);
            return TRUE;
        } catch (...) {
            // Out of memory: the windows not listed stay enabled.
            return FALSE;
        }
    }

    HWND FKeep;
    std::vector<HWND> FWindows;
};

} // namespace

// ---------------------------------------------------- TScrollingWinControl

const TClassInfo& TScrollingWinControl::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo(
        TClassBuilder<TScrollingWinControl>("TScrollingWinControl", TWinControl::StaticClass())
            .Bool("AutoScroll", &TScrollingWinControl::AutoScroll, &TScrollingWinControl::SetAutoScroll)
            .Build());
    return Info;
}

TScrollingWinControl::TScrollingWinControl(TComponent* AOwner) : TWinControl(AOwner) {}

// ---------------------------------------------------------------- TScrollBox

const TClassInfo& TScrollBox::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo(TClassBuilder<TScrollBox>("TScrollBox", TScrollingWinControl::StaticClass())
        .Enum("BorderStyle", {"bsNone", "bsSingle"}, &TScrollBox::BorderStyle, &TScrollBox::SetBorderStyle)
        .Build());
    return Info;
}

TScrollBox::TScrollBox(TComponent* AOwner) : TScrollingWinControl(AOwner)
{
    FWidth = 185;
    FHeight = 41;
    SetAutoScroll(true);
}

void TScrollBox::SetBorderStyle(TBorderStyle Value)
{
    SetCreationProperty(FBorderStyle, Value == bsNone ? bsNone : bsSingle);
}

void TScrollBox::CreateParams(TCreateParams& Params)
{
    TScrollingWinControl::CreateParams(Params);
    Params.Style |= WS_CLIPCHILDREN | WS_HSCROLL | WS_VSCROLL;
    if (FBorderStyle == bsSingle)
        Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TScrollBox::CreateWnd()
{
    TScrollingWinControl::CreateWnd();
    UpdateScrollRange();
}

void TScrollBox::UpdateScrollRange()
{
    const HWND Window = HandleIfAllocated();
    if (!Window)
        return;
    // The extent of the children as if nothing were scrolled.
    int Right = 0;
    int Bottom = 0;
    for (int I = 0; I < ControlCount(); ++I) {
        const TControl* Child = Controls(I);
        Right = std::max(Right, Child->Left() + Child->Width() + static_cast<int>(FScrolled.x));
        Bottom = std::max(Bottom, Child->Top() + Child->Height() + static_cast<int>(FScrolled.y));
    }
    RECT Client;
    GetClientRect(Window, &Client);
    SCROLLINFO Horizontal{sizeof Horizontal, SIF_RANGE | SIF_PAGE | SIF_POS, 0, std::max(0, Right - 1),
                          static_cast<UINT>(Client.right), FScrolled.x, 0};
    SCROLLINFO Vertical{sizeof Vertical, SIF_RANGE | SIF_PAGE | SIF_POS, 0, std::max(0, Bottom - 1),
                        static_cast<UINT>(Client.bottom), FScrolled.y, 0};
    SetScrollInfo(Window, SB_HORZ, &Horizontal, TRUE);
    SetScrollInfo(Window, SB_VERT, &Vertical, TRUE);
}

void TScrollBox::ScrollBy(int Bar, int Code)
{
    const HWND Window = HandleIfAllocated();
    SCROLLINFO Info{sizeof Info, SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(Window, Bar, &Info);
    int Position = Info.nPos;
    const int Line = 16;
    switch (Code) {
    case SB_LINEUP: Position -= Line; break;
    case SB_LINEDOWN: Position += Line; break;
    case SB_PAGEUP: Position -= static_cast<int>(Info.nPage); break;
    case SB_PAGEDOWN: Position += static_cast<int>(Info.nPage); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: Position = Info.nTrackPos; break;
    case SB_TOP: Position = Info.nMin; break;
    case SB_BOTTOM: Position = Info.nMax; break;
    default: return;
    }
    Position = std::clamp(Position, Info.nMin, std::max(Info.nMin, Info.nMax - static_cast<int>(Info.nPage) + 1));
    LONG& Scrolled = Bar == SB_HORZ ? FScrolled.x : FScrolled.y;
    const int Delta = Position - Scrolled;
    if (Delta == 0)
        return;
    Scrolled = Position;
    for (int I = 0; I < ControlCount(); ++I) {
        TControl* Child = Controls(I);
        if (Bar == SB_HORZ)
            Child->SetLeft(Child->Left() - Delta);
        else
            Child->SetTop(Child->Top() - Delta);
    }
    SetScrollPos(Window, Bar, Position, TRUE);
    InvalidateRect(Window, nullptr, TRUE);
}

void TScrollBox::WndProc(TMessage& Message)
{
    // Its own scroll bars report without a control window.
    if ((Message.Msg == WM_HSCROLL || Message.Msg == WM_VSCROLL) && !Message.LParam) {
        ScrollBy(Message.Msg == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(Message.WParam));
        return;
    }
    TScrollingWinControl::WndProc(Message);
    if (Message.Msg == WM_SIZE)
        UpdateScrollRange();
}

// -------------------------------------------------------------- TCustomForm

const TClassInfo& TCustomForm::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo(TClassBuilder<TCustomForm>("TCustomForm", TScrollingWinControl::StaticClass())
        .Enum("BorderStyle", {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"},
              &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle)
        .Set("BorderIcons", {"biSystemMenu", "biMinimize", "biMaximize", "biHelp"}, &TCustomForm::BorderIcons,
             &TCustomForm::SetBorderIcons)
        .Enum("Position", {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly", "poScreenCenter",
                           "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter"},
              &TCustomForm::Position, &TCustomForm::SetPosition)
        .Bool("Scaled", &TCustomForm::Scaled, &TCustomForm::SetScaled)
        .Object("Menu", TMainMenu::StaticClass(), &TCustomForm::Menu,
                [](TCustomForm& F, TObject* V) { F.SetMenu(static_cast<TMainMenu*>(V)); })
        .Field("ModalResult", &TCustomForm::ModalResult)
        .Enum("FormStyle", {"fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop"}, &TCustomForm::FormStyle,
              &TCustomForm::SetFormStyle)
        .Enum("WindowState", {"wsNormal", "wsMinimized", "wsMaximized"}, &TCustomForm::WindowState,
              &TCustomForm::SetWindowState)
        .Object("WindowMenu", TMenuItem::StaticClass(), &TCustomForm::WindowMenu,
                [](TCustomForm& F, TObject* V) { F.SetWindowMenu(static_cast<TMenuItem*>(V)); })
        .Integer("MDIChildCount", &TCustomForm::MDIChildCount)
        .Integer("ClientHandle", [](const TCustomForm& F) { return reinterpret_cast<intptr_t>(F.ClientHandle()); })
        .Build());
    return Info;
}

const TClassInfo& TForm::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo("TForm", &TCustomForm::StaticClass(), {});
    return Info;
}

TCustomForm::TCustomForm(TComponent* AOwner) : TScrollingWinControl(AOwner)
{
    FLeft = 100;
    FTop = 100;
    FWidth = 320;
    FHeight = 240;
    TControl::SetVisible(false);
    Screen->FForms.push_back(this);
}

TCustomForm::~TCustomForm()
{
    BeginDestroy();
    ReleaseCanvas();
    DestroyComponents();
    DestroyHandle();
    std::erase(Screen->FForms, this);
    if (Application->FMainForm == this)
        Application->FMainForm = nullptr;
}

void TCustomForm::AfterConstruction()
{
    if (std::exchange(FCreated, true))
        return;
    if (FScaled)
        ScaleForPPI(TFont::PixelsPerInch());
    try {
        if (OnCreate)
            OnCreate(this);
    } catch (...) {
        Application->HandleException(this);
    }
}

void TCustomForm::SetBorderStyle(TFormBorderStyle Value)
{
    SetCreationProperty(FBorderStyle, Value);
}

void TCustomForm::SetBorderIcons(TBorderIcons Value)
{
    SetCreationProperty(FBorderIcons, Value);
}

void TCustomForm::SetMenu(TMainMenu* Value)
{
    if (Value == FMenu)
        return;
    // A menu the form does not own may be freed first; it tells the form.
    if (FMenu) {
        FMenu->RemoveFreeNotification(this);
        FMenu->SetWindowHandle(nullptr);
    }
    FMenu = Value;
    if (FMenu) {
        FMenu->FreeNotification(this);
        FMenu->SetWindowHandle(HandleIfAllocated());
    }
    if (HandleAllocated())
        ::SetMenu(HandleIfAllocated(), FMenu ? FMenu->Handle() : nullptr);
    Perform(CM_MENUCHANGED);
}

void TCustomForm::Notification(TComponent* AComponent, TOperation Operation)
{
    TScrollingWinControl::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FMenu)
        SetMenu(nullptr);
    if (Operation == TOperation::opRemove && AComponent == FWindowMenu)
        SetWindowMenu(nullptr);
}

// ---------------------------------------------------------------------- MDI

void TCustomForm::SetFormStyle(TFormStyle Value)
{
    SetCreationProperty(FFormStyle, Value);
}

TWindowState TCustomForm::WindowState() const
{
    const HWND Window = HandleIfAllocated();
    if (!Window)
        return wsNormal;
    return IsZoomed(Window) ? wsMaximized : IsIconic(Window) ? wsMinimized : wsNormal;
}

void TCustomForm::SetWindowState(TWindowState Value)
{
    const HWND Window = Handle();
    const HWND Client = GetParent(Window);
    if (FFormStyle == fsMDIChild && Client) {
        // The client keeps the frame's menu bar and the other children in
        // step; the window alone would not.
        if (Value == wsMaximized)
            SendMessageW(Client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(Window), 0);
        else if (Value == wsNormal)
            SendMessageW(Client, WM_MDIRESTORE, reinterpret_cast<WPARAM>(Window), 0);
        else
            ShowWindow(Window, SW_MINIMIZE);
        return;
    }
    ShowWindow(Window, Value == wsMaximized ? SW_MAXIMIZE : Value == wsMinimized ? SW_MINIMIZE : SW_RESTORE);
}

TCustomForm* TCustomForm::MDIFrame()
{
    TCustomForm* Main = Application->MainForm();
    if (Main && Main->FFormStyle == fsMDIForm)
        return Main;
    for (TCustomForm* Form : Screen->FForms)
        if (Form->FFormStyle == fsMDIForm && Form->HandleAllocated())
            return Form;
    return nullptr;
}

int TCustomForm::MDIChildCount() const
{
    int Count = 0;
    for (const TCustomForm* Form : Screen->FForms)
        Count += Form->FFormStyle == fsMDIChild && FClientHandle && Form->HandleAllocated() &&
                 GetParent(Form->HandleIfAllocated()) == FClientHandle;
    return Count;
}

TCustomForm* TCustomForm::MDIChildren(int Index) const
{
    for (TCustomForm* Form : Screen->FForms)
        if (Form->FFormStyle == fsMDIChild && FClientHandle && Form->HandleAllocated() &&
            GetParent(Form->HandleIfAllocated()) == FClientHandle && Index-- == 0)
            return Form;
    return nullptr;
}

TCustomForm* TCustomForm::ActiveMDIChild() const
{
    if (!FClientHandle)
        return nullptr;
    const auto Active = reinterpret_cast<HWND>(SendMessageW(FClientHandle, WM_MDIGETACTIVE, 0, 0));
    const TWinControl* Found = FindFormOfWindow(Active);
    return Found && Found->Is<TCustomForm>() ? static_cast<TCustomForm*>(const_cast<TWinControl*>(Found)) : nullptr;
}

void TCustomForm::SetWindowMenu(TMenuItem* Value)
{
    FWindowMenu = Value;
    UpdateWindowMenu();
}

// The platform appends the children's entries to the window menu; a menu
// rebuilt from its items lost them and is handed over again.
void TCustomForm::UpdateWindowMenu()
{
    if (!FClientHandle || !FMenu)
        return;
    const HMENU Window = FWindowMenu ? FWindowMenu->Handle() : nullptr;
    SendMessageW(FClientHandle, WM_MDISETMENU, reinterpret_cast<WPARAM>(FMenu->Handle()),
                 reinterpret_cast<LPARAM>(Window));
    SendMessageW(FClientHandle, WM_MDIREFRESHMENU, 0, 0);
    DrawMenuBar(HandleIfAllocated());
}

void TCustomForm::Tile(TTileMode Mode)
{
    if (FClientHandle)
        SendMessageW(FClientHandle, WM_MDITILE, Mode == tbHorizontal ? MDITILE_HORIZONTAL : MDITILE_VERTICAL, 0);
}

void TCustomForm::Cascade()
{
    if (FClientHandle)
        SendMessageW(FClientHandle, WM_MDICASCADE, 0, 0);
}

void TCustomForm::ArrangeIcons()
{
    if (FClientHandle)
        SendMessageW(FClientHandle, WM_MDIICONARRANGE, 0, 0);
}

// First child id far above the menus' commands, so the platform's window
// list entries never meet an item's.
constexpr UINT FirstMDIChildId = 0xFF00;

void TCustomForm::CreateClient()
{
    CLIENTCREATESTRUCT Create{FWindowMenu ? FWindowMenu->Handle() : nullptr, FirstMDIChildId};
    RECT Client;
    GetClientRect(HandleIfAllocated(), &Client);
    FClientHandle = CreateWindowExW(WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr,
                                    WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_HSCROLL | WS_VSCROLL,
                                    0, 0, Client.right, Client.bottom, HandleIfAllocated(), nullptr,
                                    GetModuleHandleW(nullptr), &Create);
    if (!FClientHandle)
        throw Exception(L"Cannot create the MDI client window");
    Realign();
}

void TCustomForm::AlignControls(RECT& Rect)
{
    TScrollingWinControl::AlignControls(Rect);
    // The client fills what the aligned controls leave.
    if (FClientHandle)
        MoveWindow(FClientHandle, Rect.left, Rect.top, Rect.right - Rect.left, Rect.bottom - Rect.top, TRUE);
}

void TCustomForm::DefaultHandler(TMessage& Message)
{
    const HWND Window = HandleIfAllocated();
    if (Window && FFormStyle == fsMDIForm && FClientHandle) {
        // The frame lays out the client itself.
        if (Message.Msg == WM_SIZE)
            return;
        Message.Result = DefFrameProcW(Window, FClientHandle, Message.Msg, Message.WParam, Message.LParam);
        return;
    }
    if (Window && FFormStyle == fsMDIChild && (GetWindowLongPtrW(Window, GWL_EXSTYLE) & WS_EX_MDICHILD)) {
        Message.Result = DefMDIChildProcW(Window, Message.Msg, Message.WParam, Message.LParam);
        return;
    }
    TScrollingWinControl::DefaultHandler(Message);
}

DWORD TCustomForm::FrameStyle(DWORD& ExStyle) const
{
    DWORD Style = 0;
    switch (FBorderStyle) {
    case bsNone:
        return WS_POPUP;
    case bsSingle:
        Style = WS_CAPTION | WS_BORDER;
        break;
    case bsSizeable:
        Style = WS_CAPTION | WS_THICKFRAME;
        break;
    case bsDialog:
        Style = WS_POPUP | WS_CAPTION;
        ExStyle |= WS_EX_DLGMODALFRAME;
        break;
    case bsToolWindow:
        Style = WS_CAPTION;
        ExStyle |= WS_EX_TOOLWINDOW;
        break;
    case bsSizeToolWin:
        Style = WS_CAPTION | WS_THICKFRAME;
        ExStyle |= WS_EX_TOOLWINDOW;
        break;
    }
    if (!(FBorderIcons & biSystemMenu))
        return Style;
    Style |= WS_SYSMENU;
    const bool Dialog = FBorderStyle == bsDialog || FBorderStyle == bsToolWindow || FBorderStyle == bsSizeToolWin;
    if (!Dialog && (FBorderIcons & biMinimize))
        Style |= WS_MINIMIZEBOX;
    if (!Dialog && (FBorderIcons & biMaximize))
        Style |= WS_MAXIMIZEBOX;
    if ((FBorderIcons & biHelp) && !(Style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)))
        ExStyle |= WS_EX_CONTEXTHELP;
    return Style;
}

void TCustomForm::CreateParams(TCreateParams& Params)
{
    TScrollingWinControl::CreateParams(Params);
    Params.ClassStyle = CS_DBLCLKS;
    if (Parent()) {
        Params.Style |= WS_CLIPCHILDREN;
        return;
    }
    Params.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS | FrameStyle(Params.ExStyle);
    if (!Enabled())
        Params.Style |= WS_DISABLED;
    if (FFormStyle == fsStayOnTop)
        Params.ExStyle |= WS_EX_TOPMOST;
    if (FFormStyle == fsMDIChild) {
        TCustomForm* Frame = MDIFrame();
        if (!Frame || !Frame->FClientHandle)
            throw EInvalidOperation(L"No MDI frame is open for the MDI child form");
        Params.Style = (Params.Style & ~static_cast<DWORD>(WS_POPUP)) | WS_CHILD | WS_CAPTION | WS_SYSMENU |
                       WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
        Params.ExStyle |= WS_EX_MDICHILD;
        Params.WndParent = Frame->FClientHandle;
        return;
    }
    TCustomForm* Main = Application->MainForm();
    if (Main && Main != this && Main->HandleAllocated())
        Params.WndParent = Main->HandleIfAllocated();
}

void TCustomForm::CreateWnd()
{
    TScrollingWinControl::CreateWnd();
    if (FMenu) {
        FMenu->SetWindowHandle(HandleIfAllocated());
        ::SetMenu(HandleIfAllocated(), FMenu->Handle());
    }
    if (FFormStyle == fsMDIForm)
        CreateClient();
}

void TCustomForm::DestroyWnd()
{
    // A window destroys the menu it shows; the menu belongs to its TMainMenu.
    if (FMenu) {
        ::SetMenu(HandleIfAllocated(), nullptr);
        FMenu->SetWindowHandle(nullptr);
    }
    // The children go with the client; they are forms of their own.
    if (FClientHandle) {
        for (TCustomForm* Form : Screen->FForms)
            if (Form != this && Form->HandleAllocated() && GetParent(Form->HandleIfAllocated()) == FClientHandle)
                Form->DestroyHandle();
        FClientHandle = nullptr;
    }
    ReleaseCanvas();
    TScrollingWinControl::DestroyWnd();
    // A child leaves through its client, which activates the next child and
    // updates the window menu; the window is gone afterwards.
    const HWND Window = HandleIfAllocated();
    if (FFormStyle == fsMDIChild && (GetWindowLongPtrW(Window, GWL_EXSTYLE) & WS_EX_MDICHILD))
        SendMessageW(GetParent(Window), WM_MDIDESTROY, reinterpret_cast<WPARAM>(Window), 0);
}

RECT TCustomForm::ClientRect() const
{
    if (HandleAllocated() || Parent())
        return TScrollingWinControl::ClientRect();
    DWORD ExStyle = 0;
    const DWORD Style = FrameStyle(ExStyle);
    RECT Frame{0, 0, 0, 0};
    AdjustWindowRectEx(&Frame, Style, FMenu != nullptr, ExStyle);
    return {0, 0, std::max<LONG>(0, Width() - (Frame.right - Frame.left)),
            std::max<LONG>(0, Height() - (Frame.bottom - Frame.top))};
}

void TCustomForm::ChangeScale(int M, int D)
{
    for (int I = 0; I < ComponentCount(); ++I)
        if (auto* List = dynamic_cast<TCustomImageList*>(Components(I)))
            List->ScaleForPPI(ScaleValue(List->CurrentPPI(), M, D));
    TScrollingWinControl::ChangeScale(M, D);
}

void TCustomForm::ScaleBounds(int M, int D)
{
    if (Parent()) {
        TScrollingWinControl::ScaleBounds(M, D);
        return;
    }
    const RECT Client = ClientRect();
    SetClientSize(ScaleValue(Client.right, M, D), ScaleValue(Client.bottom, M, D));
}

void TCustomForm::ApplyPosition()
{
    if (std::exchange(FPositioned, true) || Parent())
        return;
    RECT Area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    switch (FPosition) {
    case poScreenCenter:
    case poDesktopCenter:
        break;
    case poMainFormCenter:
    case poOwnerFormCenter: {
        TCustomForm* Main = Application->MainForm();
        if (Main && Main != this && Main->HandleAllocated())
            GetWindowRect(Main->HandleIfAllocated(), &Area);
        break;
    }
    default:
        return;
    }
    SetBounds(Area.left + (Area.right - Area.left - Width()) / 2, Area.top + (Area.bottom - Area.top - Height()) / 2,
              Width(), Height());
}

void TCustomForm::ShowingChanged()
{
    if (Parent())
        return;
    if (!Visible()) {
        if (HandleAllocated())
            ShowWindow(HandleIfAllocated(), SW_HIDE);
        if (OnHide)
            OnHide(this);
        return;
    }
    AfterConstruction();
    ApplyPosition();
    if (OnShow)
        OnShow(this);
    ShowWindow(Handle(), SW_SHOWNORMAL);
}

void TCustomForm::Show()
{
    SetVisible(true);
    if (HandleAllocated())
        SetForegroundWindow(HandleIfAllocated());
}

TModalResult TCustomForm::ShowModal()
{
    if (Visible() || !Enabled() || FModal)
        throw EInvalidOperation(L"Cannot make a visible window modal");
    if (HWND Captured = GetCapture()) {
        SendMessageW(Captured, WM_CANCELMODE, 0, 0);
        ReleaseCapture();
    }
    const HWND Previous = GetActiveWindow();
    FModal = true;
    ModalResult = mrNone;
    try {
        const TDisabledWindows Disabled(Handle());
        Show();
        while (ModalResult == mrNone) {
            Application->HandleMessage();
            if (Application->Terminated() || !HandleAllocated())
                ModalResult = mrCancel;
            else if (ModalResult != mrNone && !CloseModal())
                ModalResult = mrNone;
        }
    } catch (...) {
        FModal = false;
        Hide();
        throw;
    }
    FModal = false;
    Hide();
    if (Previous && IsWindow(Previous))
        SetActiveWindow(Previous);
    return ModalResult;
}

// The modal loop's Close: the answer to OnCloseQuery and OnClose decides
// whether the loop ends; caNone keeps the form open.
bool TCustomForm::CloseModal()
{
    if (!CloseQuery())
        return false;
    TCloseAction Action = caHide;
    if (OnClose)
        OnClose(this, Action);
    return Action != caNone;
}

bool TCustomForm::CloseQuery()
{
    bool CanClose = true;
    if (OnCloseQuery)
        OnCloseQuery(this, CanClose);
    return CanClose;
}

void TCustomForm::Close()
{
    if (FModal) {
        ModalResult = mrCancel;
        return;
    }
    if (!CloseQuery())
        return;
    TCloseAction Action = caHide;
    if (OnClose)
        OnClose(this, Action);
    if (Action == caNone)
        return;
    if (Application->MainForm() == this) {
        Application->Terminate();
        return;
    }
    switch (Action) {
    case caHide:
        Hide();
        break;
    case caMinimize:
        ShowWindow(Handle(), SW_MINIMIZE);
        break;
    default:
        Release();
        break;
    }
}

void TCustomForm::Release()
{
    PostMessageW(Handle(), CM_RELEASE, 0, 0);
}

TCanvas& TCustomForm::Canvas()
{
    if (!FPainting && !FCanvasDC) {
        FCanvasDC.emplace(Handle());
        FCanvas.SetHandle(FCanvasDC->Get());
    }
    return FCanvas;
}

void TCustomForm::ReleaseCanvas()
{
    if (!FCanvasDC)
        return;
    FCanvas.SetHandle(nullptr);
    FCanvasDC.reset();
}

void TCustomForm::PaintWindow(HDC DC)
{
    ReleaseCanvas();
    FPainting = true;
    FCanvas.SetHandle(DC);
    FCanvas.Font().Assign(*Font());
    try {
        if (OnPaint)
            OnPaint(this);
    } catch (...) {
        FCanvas.SetHandle(nullptr);
        FPainting = false;
        throw;
    }
    FCanvas.SetHandle(nullptr);
    FPainting = false;
}

void TCustomForm::SelectNext(bool Forward)
{
    std::vector<TWinControl*> List = GetTabOrderList();
    std::erase_if(List, [](TWinControl* C) { return !C->TabStop() || !C->CanFocus() || !C->HandleAllocated(); });
    if (List.empty())
        return;
    if (!Forward)
        std::reverse(List.begin(), List.end());
    const auto Current = std::find_if(List.begin(), List.end(), [](TWinControl* C) { return C->Focused(); });
    const auto Next = (Current == List.end() || Current + 1 == List.end()) ? List.begin() : Current + 1;
    (*Next)->SetFocus();
}

void TCustomForm::WndProc(TMessage& Message)
{
    ++FMessageDepth;
    struct TDepth {
        TCustomForm& Form;
        ~TDepth()
        {
            if (--Form.FMessageDepth == 0)
                Form.ReleaseCanvas();
        }
    };
    switch (Message.Msg) {
    case CM_RELEASE:
        --FMessageDepth;
        // Hooks in front of the form may still work after the release has
        // passed through them.
        if (InWindowDispatch())
            FreeAfterDispatch();
        else
            Release();
        return;
    default:
        break;
    }
    const TDepth Depth{*this};
    switch (Message.Msg) {
    case WM_CLOSE:
        Close();
        return;
    case CM_VISIBLECHANGED:
        ShowingChanged();
        return;
    case CM_DIALOGKEY:
        if (Message.WParam == VK_TAB) {
            SelectNext(GetKeyState(VK_SHIFT) >= 0);
            Message.Result = 1;
            return;
        }
        // Enter and Escape go to the default and cancel buttons.
        for (TWinControl* Control : GetTabOrderList())
            if (Control->Perform(CM_DIALOGKEY, Message.WParam, Message.LParam)) {
                Message.Result = 1;
                return;
            }
        break;
    case WM_ACTIVATE:
        TScrollingWinControl::WndProc(Message);
        Perform(LOWORD(Message.WParam) == WA_INACTIVE ? CM_DEACTIVATE : CM_ACTIVATE);
        return;
    case WM_COMMAND:
        // Menu commands come without a control window.
        if (!Message.LParam && HIWORD(Message.WParam) <= 1 && FMenu && FMenu->DispatchCommand(LOWORD(Message.WParam)))
            return;
        break;
    case WM_INITMENUPOPUP:
        if (FMenu)
            FMenu->DispatchPopup(reinterpret_cast<HMENU>(Message.WParam));
        break;
    case CM_MENUCHANGED:
        UpdateWindowMenu();
        break;
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
        if (HandleMenuDrawMessage(FMenu, Message))
            return;
        break;
    default:
        break;
    }
    TScrollingWinControl::WndProc(Message);
}

TCustomForm* GetParentForm(const TControl* Control) noexcept
{
    if (!Control)
        return nullptr;
    while (Control->Parent())
        Control = Control->Parent();
    return Control->Is<TCustomForm>() ? static_cast<TCustomForm*>(const_cast<TControl*>(Control)) : nullptr;
}

TWinControl* FindFormOfWindow(HWND Window) noexcept
{
    if (!Window)
        return nullptr;
    for (TCustomForm* Form : Screen->FForms)
        if (Form->HandleIfAllocated() == Window)
            return Form;
    return FindControl(Window);
}
