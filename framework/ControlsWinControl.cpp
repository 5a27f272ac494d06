// TWinControl: a control with a window of its own: making and destroying
// the window, its procedure, painting, focus and the children's layout.
#include "Controls.h"

#include "ControlsShared.h"
#include "SysUtils.h"
#include "UtilWindow.h"
#include "base/PaintScope.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>
#include <map>
#include <utility>

namespace {

thread_local TWinControl* GCreationControl = nullptr;

void InitCommonControlsOnce()
{
    static const bool Done = [] {
        INITCOMMONCONTROLSEX Init{sizeof Init, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_DATE_CLASSES | ICC_USEREX_CLASSES};
        return InitCommonControlsEx(&Init) != FALSE;
    }();
    (void)Done;
}

// Registers the framework's window class once per name. A class that
// extends a platform class keeps that class's procedure as its default.
WNDPROC RegisterWindowClass(const TCreateParams& Params, WNDPROC InitProc)
{
    static std::map<std::wstring, WNDPROC> Registered;
    if (const auto Found = Registered.find(Params.WinClassName); Found != Registered.end())
        return Found->second;
    WNDCLASSEXW Class{};
    Class.cbSize = sizeof Class;
    WNDPROC Default = DefWindowProcW;
    if (Params.BaseClass) {
        InitCommonControlsOnce();
        if (!GetClassInfoExW(nullptr, Params.BaseClass, &Class))
            throw Exception(L"Unknown window class " + std::wstring(Params.BaseClass));
        Default = Class.lpfnWndProc;
        Class.style &= ~static_cast<UINT>(CS_GLOBALCLASS);
    } else {
        Class.style = Params.ClassStyle;
        Class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    }
    Class.cbSize = sizeof Class;
    Class.lpfnWndProc = InitProc;
    Class.hInstance = GetModuleHandleW(nullptr);
    Class.lpszClassName = Params.WinClassName.c_str();
    if (!RegisterClassExW(&Class))
        throw Exception(L"Cannot register the window class " + Params.WinClassName);
    Registered.emplace(Params.WinClassName, Default);
    return Default;
}

bool Intersects(const RECT& A, const RECT& B) noexcept
{
    RECT Out;
    return IntersectRect(&Out, &A, &B) != FALSE;
}

} // namespace

// ------------------------------------------------------------- TWinControl

const TClassInfo& TWinControl::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo(TClassBuilder<TWinControl>("TWinControl", TControl::StaticClass())
        .Integer("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder)
        .Bool("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop)
        .Bool("DoubleBuffered", &TWinControl::DoubleBuffered, &TWinControl::SetDoubleBuffered)
        .Build());
    return Info;
}

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

TWinControl::~TWinControl()
{
    BeginDestroy();
    DestroyComponents();
    while (!FControls.empty())
        delete FControls.back();
    DestroyHandle();
}

HWND TWinControl::Handle()
{
    if (!FHandle)
        CreateHandle();
    return FHandle;
}

void TWinControl::CreateParams(TCreateParams& Params)
{
    Params.Caption = FText;
    Params.Style = WS_CHILD | WS_CLIPSIBLINGS;
    if (Visible())
        Params.Style |= WS_VISIBLE;
    if (!Enabled())
        Params.Style |= WS_DISABLED;
    if (FTabStop)
        Params.Style |= WS_TABSTOP;
    if (BiDiMode() != bdLeftToRight) {
        Params.ExStyle |= WS_EX_RTLREADING;
        if (BiDiMode() == bdRightToLeft)
            Params.ExStyle |= WS_EX_RIGHT | WS_EX_LEFTSCROLLBAR;
    }
    Params.X = FLeft;
    Params.Y = FTop;
    Params.Width = FWidth;
    Params.Height = FHeight;
    Params.WinClassName = Utf8ToWide(ClassName());
}

void TWinControl::CreateHandle()
{
    TCreateParams Params;
    CreateParams(Params);
    if (Parent()) {
        Params.WndParent = Parent()->Handle();
        // Making the parent's window made its children's, this one's too.
        if (FHandle)
            return;
    } else if ((Params.Style & WS_CHILD) && !Params.WndParent)
        throw EComponentError(L"Control \"" + Name() + L"\" has no parent window");
    FDefWndProc = RegisterWindowClass(Params, &InitWndProc);
    // A creation hook may make framework windows of its own before this
    // window sees its first message; each creation keeps its own pending
    // control and gives back the one it found.
    TWinControl* const Pending = std::exchange(GCreationControl, this);
    const HWND Created = CreateWindowExW(Params.ExStyle, Params.WinClassName.c_str(), Params.Caption.c_str(),
                                         Params.Style, Params.X, Params.Y, Params.Width, Params.Height,
                                         Params.WndParent, nullptr, GetModuleHandleW(nullptr), nullptr);
    GCreationControl = Pending;
    if (!Created || Created != FHandle) {
        // A window that never became this control's belongs to nobody.
        if (Created && Created != FHandle)
            DestroyWindow(Created);
        throw Exception(L"Cannot create the window of " + Utf8ToWide(ClassName()));
    }
    CreateWnd();
}

void TWinControl::CreateWnd()
{
    SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), FALSE);
    // Windowless children measure their text in the font they see now.
    for (TControl* Child : FControls)
        if (!Child->Is<TWinControl>() && Child->ParentFont())
            Child->Perform(CM_FONTCHANGED);
    for (TWinControl* Child : FTabList)
        Child->HandleNeeded();
}

void TWinControl::DestroyWnd()
{
    FText = Text();
}

void TWinControl::DestroyHandle()
{
    if (!FHandle)
        return;
    for (TWinControl* Child : FTabList)
        Child->DestroyHandle();
    DestroyWnd();
    DestroyWindow(FHandle);
    FHandle = nullptr;
}

void TWinControl::RecreateWnd()
{
    if (!FHandle)
        return;
    DestroyHandle();
    CreateHandle();
}

LRESULT CALLBACK TWinControl::InitWndProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    TWinControl* Control = FindControl(Window);
    if (!Control && GCreationControl) {
        Control = std::exchange(GCreationControl, nullptr);
        Control->FHandle = Window;
        SetPropW(Window, AtomName(ControlAtom()), Control);
    }
    if (!Control)
        return DefWindowProcW(Window, Msg, WParam, LParam);
    return Control->MainWndProc(Msg, WParam, LParam);
}

LRESULT TWinControl::MainWndProc(UINT Msg, WPARAM WParam, LPARAM LParam)
{
    TMessage Message{Msg, WParam, LParam, 0};
    ++FDispatchDepth;
    try {
        WindowProc(Message);
    } catch (...) {
        HandleCallbackException(this);
    }
    // Cleared first: the destruction sends this window messages of its own.
    if (--FDispatchDepth == 0 && std::exchange(FFreeAfterDispatch, false))
        delete this;
    return Message.Result;
}

void TWinControl::DefaultHandler(TMessage& Message)
{
    if (!FHandle) {
        TControl::DefaultHandler(Message);
        return;
    }
    Message.Result = CallWindowProcW(FDefWndProc, FHandle, Message.Msg, Message.WParam, Message.LParam);
}

void TWinControl::WndProc(TMessage& Message)
{
    if (IsMouseMessage(Message.Msg)) {
        TrackMouse(Message);
        if (ForwardMouseToChild(Message))
            return;
        if (FClickEvents && FHandle) {
            if (Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_LBUTTONDBLCLK)
                SetCapture(FHandle);
            else if (Message.Msg == WM_LBUTTONUP && GetCapture() == FHandle)
                ReleaseCapture();
        }
        TControl::WndProc(Message);
        return;
    }
    switch (Message.Msg) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
        if (FDefWndProc == DefWindowProcW) {
            PaintHandler(Message);
            return;
        }
        break;
    case WM_ERASEBKGND:
        if (FDefWndProc == DefWindowProcW) {
            // Double buffering paints the background with everything else,
            // so the erase of the window's own paint is skipped; a DC from
            // outside (a memory DC, a child drawing what lies under it) is
            // painted into all the same.
            const HDC DC = reinterpret_cast<HDC>(Message.WParam);
            if (!FDoubleBuffered || WindowFromDC(DC) != FHandle) {
                RECT Client;
                GetClientRect(FHandle, &Client);
                const gdi::Brush Brush(CreateSolidBrush(ColorToRGB(Color())));
                FillRect(DC, &Client, Brush.Get());
            }
            Message.Result = 1;
            return;
        }
        break;
    case WM_MOUSELEAVE:
        FMouseInside = false;
        SetMouseControl(nullptr);
        Perform(CM_MOUSELEAVE, 0, AsLParam(this));
        break;
    case WM_CAPTURECHANGED:
        FCaptureControl = nullptr;
        break;
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (ReflectNotification(Message))
            return;
        break;
    case WM_WINDOWPOSCHANGED:
        TControl::WndProc(Message);
        ReadBoundsFromWindow();
        return;
    case WM_SETFOCUS: {
        TControl::WndProc(Message);
        Perform(CM_ENTER);
        TControl* Root = this;
        while (Root->Parent())
            Root = Root->Parent();
        Root->Perform(CM_FOCUSCHANGED, 0, AsLParam(this));
        return;
    }
    case WM_KILLFOCUS:
        TControl::WndProc(Message);
        Perform(CM_EXIT);
        return;
    case WM_NCDESTROY:
        TControl::WndProc(Message);
        if (FHandle)
            RemovePropW(FHandle, AtomName(ControlAtom()));
        FHandle = nullptr;
        FMouseInside = false;
        return;
    case CM_ENABLEDCHANGED:
        if (FHandle)
            EnableWindow(FHandle, Enabled());
        break;
    case CM_VISIBLECHANGED:
        if (FHandle)
            SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                             (Visible() ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
        else if (Visible() && Parent() && Parent()->HandleAllocated())
            HandleNeeded();
        return;
    case CM_FONTCHANGED:
        if (FHandle)
            SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), TRUE);
        for (TControl* Child : FControls)
            if (Child->ParentFont())
                Child->Perform(CM_FONTCHANGED);
        break;
    case CM_COLORCHANGED:
        for (TControl* Child : FControls)
            Child->ParentColorChanged();
        break;
    default:
        break;
    }
    TControl::WndProc(Message);
}

bool TWinControl::ReflectNotification(TMessage& Message)
{
    HWND From = nullptr;
    UINT Reflected = 0;
    switch (Message.Msg) {
    case WM_COMMAND:
        From = reinterpret_cast<HWND>(Message.LParam);
        Reflected = CN_COMMAND;
        break;
    case WM_NOTIFY:
        From = Message.LParam ? AsPointer<NMHDR>(Message.LParam)->hwndFrom : nullptr;
        Reflected = CN_NOTIFY;
        break;
    case WM_DRAWITEM: {
        // Menu items are the form's business.
        const auto* Draw = AsPointer<DRAWITEMSTRUCT>(Message.LParam);
        From = Draw && Draw->CtlType != ODT_MENU ? Draw->hwndItem : nullptr;
        Reflected = CN_DRAWITEM;
        break;
    }
    default:
        From = reinterpret_cast<HWND>(Message.LParam);
        Reflected = Message.Msg == WM_HSCROLL ? CN_HSCROLL : CN_VSCROLL;
        break;
    }
    TWinControl* Child = FindControl(From);
    if (!Child || Child == this)
        return false;
    Message.Result = Child->Perform(Reflected, Message.WParam, Message.LParam);
    return true;
}

void TWinControl::TrackMouse(TMessage& Message)
{
    if (Message.Msg != WM_MOUSEMOVE || !FHandle)
        return;
    if (!FMouseInside) {
        FMouseInside = true;
        TRACKMOUSEEVENT Track{sizeof Track, TME_LEAVE, FHandle, 0};
        TrackMouseEvent(&Track);
        Perform(CM_MOUSEENTER, 0, AsLParam(this));
    }
    const POINT P{LoWordSigned(Message.LParam), HiWordSigned(Message.LParam)};
    SetMouseControl(ControlAtPos(P));
}

void TWinControl::SetMouseControl(TControl* AControl)
{
    if (AControl == FMouseControl)
        return;
    if (TControl* Old = std::exchange(FMouseControl, AControl))
        Old->Perform(CM_MOUSELEAVE, 0, AsLParam(Old));
    if (AControl)
        AControl->Perform(CM_MOUSEENTER, 0, AsLParam(AControl));
}

bool TWinControl::ForwardMouseToChild(TMessage& Message)
{
    const POINT P{LoWordSigned(Message.LParam), HiWordSigned(Message.LParam)};
    TControl* Target = FCaptureControl ? FCaptureControl : ControlAtPos(P);
    if (!Target)
        return false;
    const bool Down = Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_RBUTTONDOWN ||
                      Message.Msg == WM_MBUTTONDOWN || Message.Msg == WM_LBUTTONDBLCLK;
    const bool Up = Message.Msg == WM_LBUTTONUP || Message.Msg == WM_RBUTTONUP || Message.Msg == WM_MBUTTONUP;
    if (Down && FHandle) {
        FCaptureControl = Target;
        SetCapture(FHandle);
    }
    // The capture goes before the button-up reaches the control, as with the
    // platform's own buttons: a click handler that runs long, or opens a
    // dialog, must not keep the mouse from every other window.
    if (Up && FCaptureControl == Target) {
        FCaptureControl = nullptr;
        if (FHandle && GetCapture() == FHandle)
            ReleaseCapture();
    }
    const LPARAM Local = MAKELPARAM(P.x - Target->FLeft, P.y - Target->FTop);
    Message.Result = Target->Perform(Message.Msg, Message.WParam, Local);
    return true;
}

TControl* TWinControl::ControlAtPos(POINT P, bool AllowDisabled) const
{
    for (auto It = FControls.rbegin(); It != FControls.rend(); ++It) {
        TControl* C = *It;
        if (C->Is<TWinControl>() || !C->Visible() || (!C->Enabled() && !AllowDisabled))
            continue;
        const RECT Bounds = C->BoundsRect();
        if (PtInRect(&Bounds, P))
            return C;
    }
    return nullptr;
}

void TWinControl::PaintHandler(TMessage& Message)
{
    if (Message.WParam) {
        PaintTo(reinterpret_cast<HDC>(Message.WParam));
        return;
    }
    TPaintScope Paint(FHandle);
    if (!FDoubleBuffered) {
        PaintTo(Paint.DC());
        return;
    }
    RECT Client;
    GetClientRect(FHandle, &Client);
    const gdi::MemoryDC Memory(Paint.DC());
    const gdi::Bitmap Buffer(CreateCompatibleBitmap(Paint.DC(), std::max<LONG>(Client.right, 1),
                                                    std::max<LONG>(Client.bottom, 1)));
    const gdi::Selection Selected(Memory.Get(), Buffer.Get());
    Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(Memory.Get()));
    PaintTo(Memory.Get());
    const RECT& Area = Paint.Area();
    BitBlt(Paint.DC(), Area.left, Area.top, Area.right - Area.left, Area.bottom - Area.top, Memory.Get(),
           Area.left, Area.top, SRCCOPY);
}

void TWinControl::PaintTo(HDC DC)
{
    PaintWindow(DC);
    PaintControls(DC);
}

void TWinControl::PaintWindow(HDC) {}

void TWinControl::PaintControls(HDC DC)
{
    RECT Clip;
    const bool HasClip = GetClipBox(DC, &Clip) != ERROR;
    for (TControl* C : FControls) {
        if (C->Is<TWinControl>() || !C->Visible())
            continue;
        const RECT Bounds = C->BoundsRect();
        if (HasClip && !Intersects(Clip, Bounds))
            continue;
        const gdi::SavedState Saved(DC);
        POINT Origin;
        GetViewportOrgEx(DC, &Origin);
        SetViewportOrgEx(DC, Origin.x + Bounds.left, Origin.y + Bounds.top, nullptr);
        IntersectClipRect(DC, 0, 0, C->FWidth, C->FHeight);
        C->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC));
    }
}

void TWinControl::ReadBoundsFromWindow()
{
    if (!FHandle)
        return;
    RECT R;
    GetWindowRect(FHandle, &R);
    if (GetWindowLongPtrW(FHandle, GWL_STYLE) & WS_CHILD)
        MapWindowPoints(nullptr, GetParent(FHandle), reinterpret_cast<POINT*>(&R), 2);
    const bool Resized = R.right - R.left != FWidth || R.bottom - R.top != FHeight;
    FLeft = R.left;
    FTop = R.top;
    FWidth = R.right - R.left;
    FHeight = R.bottom - R.top;
    if (Resized)
        Realign();
}

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    AWidth = std::max(AWidth, 0);
    AHeight = std::max(AHeight, 0);
    if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight)
        return;
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
    UpdateWindowBounds();
    RequestAlign();
    Realign();
}

void TWinControl::UpdateWindowBounds()
{
    if (FHandle)
        SetWindowPos(FHandle, nullptr, FLeft, FTop, FWidth, FHeight, SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT TWinControl::ClientRect() const
{
    if (!FHandle)
        return TControl::ClientRect();
    RECT R;
    GetClientRect(FHandle, &R);
    return R;
}

POINT TWinControl::ClientOrigin() const
{
    if (!FHandle)
        return TControl::ClientOrigin();
    POINT P{0, 0};
    ::ClientToScreen(FHandle, &P);
    return P;
}

bool TWinControl::Showing() const
{
    if (Parent())
        return Visible() && Parent()->Showing();
    return FHandle && IsWindowVisible(FHandle);
}

void TWinControl::SetBiDiMode(TBiDiMode Value)
{
    if (Value == BiDiMode())
        return;
    TControl::SetBiDiMode(Value);
    RecreateWnd();
}

void TWinControl::Invalidate()
{
    if (FHandle)
        InvalidateRect(FHandle, nullptr, TRUE);
}

void TWinControl::Update()
{
    if (FHandle)
        UpdateWindow(FHandle);
}

void TWinControl::SetParent(TWinControl* AParent)
{
    if (AParent == Parent())
        return;
    if (FHandle && (GetWindowLongPtrW(FHandle, GWL_STYLE) & WS_CHILD))
        DestroyHandle();
    TControl::SetParent(AParent);
    if (AParent && AParent->HandleAllocated() && !FHandle)
        CreateHandle();
}

void TWinControl::SetDoubleBuffered(bool Value)
{
    FDoubleBuffered = Value;
    Invalidate();
}

void TWinControl::InsertControl(TControl* AControl)
{
    FControls.push_back(AControl);
    AControl->FParent = this;
    if (AControl->Is<TWinControl>())
        FTabList.push_back(static_cast<TWinControl*>(AControl));
    AControl->Invalidate();
    Realign();
}

void TWinControl::RemoveControl(TControl* AControl)
{
    AControl->Invalidate();
    std::erase(FControls, AControl);
    std::erase(FTabList, AControl);
    if (FMouseControl == AControl)
        FMouseControl = nullptr;
    if (FCaptureControl == AControl) {
        FCaptureControl = nullptr;
        if (FHandle && GetCapture() == FHandle)
            ReleaseCapture();
    }
    AControl->FParent = nullptr;
    Realign();
}

std::vector<TWinControl*> TWinControl::GetTabOrderList() const
{
    std::vector<TWinControl*> List;
    for (TWinControl* Child : FTabList) {
        List.push_back(Child);
        const auto Nested = Child->GetTabOrderList();
        List.insert(List.end(), Nested.begin(), Nested.end());
    }
    return List;
}

int TWinControl::TabOrder() const
{
    if (!Parent())
        return -1;
    const auto& List = Parent()->FTabList;
    return static_cast<int>(std::find(List.begin(), List.end(), this) - List.begin());
}

void TWinControl::SetTabOrder(int Value)
{
    if (!Parent())
        return;
    auto& List = Parent()->FTabList;
    std::erase(List, this);
    const auto Index = static_cast<size_t>(std::clamp(Value, 0, static_cast<int>(List.size())));
    List.insert(List.begin() + static_cast<std::ptrdiff_t>(Index), this);
    // Dialog navigation follows the window order, so keep it equal.
    HWND After = HWND_TOP;
    for (TWinControl* C : List) {
        if (!C->FHandle)
            continue;
        SetWindowPos(C->FHandle, After, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        After = C->FHandle;
    }
}

bool TWinControl::CanFocus() const
{
    for (const TControl* C = this; C; C = C->Parent())
        if (!C->Visible() || !C->Enabled())
            return false;
    return true;
}

bool TWinControl::Focused() const
{
    return FHandle && GetFocus() == FHandle;
}

void TWinControl::SetFocus()
{
    ::SetFocus(Handle());
}

void TWinControl::Realign()
{
    if (FAligning)
        return;
    FAligning = true;
    try {
        RECT Client = ClientRect();
        AlignControls(Client);
    } catch (...) {
        FAligning = false;
        throw;
    }
    FAligning = false;
}

void TWinControl::ChangeScale(int M, int D)
{
    ScaleFont(M, D);
    const bool WasAligning = std::exchange(FAligning, true);
    try {
        for (TControl* C : std::vector<TControl*>(FControls))
            C->ChangeScale(M, D);
    } catch (...) {
        FAligning = WasAligning;
        throw;
    }
    FAligning = WasAligning;
    ScaleBounds(M, D);
    FCurrentPPI = ScaleValue(FCurrentPPI, M, D);
    Realign();
}

void TWinControl::AlignControls(RECT& Rect)
{
    for (const TAlign Which : {alTop, alBottom, alLeft, alRight, alClient}) {
        for (TControl* C : FControls) {
            if (C->Align() != Which || !C->Visible())
                continue;
            const int W = C->Width();
            const int H = C->Height();
            switch (Which) {
            case alTop:
                C->SetBounds(Rect.left, Rect.top, Rect.right - Rect.left, H);
                Rect.top += H;
                break;
            case alBottom:
                C->SetBounds(Rect.left, Rect.bottom - H, Rect.right - Rect.left, H);
                Rect.bottom -= H;
                break;
            case alLeft:
                C->SetBounds(Rect.left, Rect.top, W, Rect.bottom - Rect.top);
                Rect.left += W;
                break;
            case alRight:
                C->SetBounds(Rect.right - W, Rect.top, W, Rect.bottom - Rect.top);
                Rect.right -= W;
                break;
            default:
                C->SetBounds(Rect.left, Rect.top, Rect.right - Rect.left, Rect.bottom - Rect.top);
                break;
            }
        }
    }
}

void TWinControl::Broadcast(TMessage& Message)
{
    for (TControl* C : FControls) {
        C->WindowProc(Message);
        if (Message.Result)
            return;
    }
}
