#include "Controls.h"

#include "SysUtils.h"
#include "UtilWindow.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>
#include <map>
#include <utility>

namespace {

thread_local TWinControl* GCreationControl = nullptr;

// The atom is global to the system, so it is given back at exit.
class TGlobalAtom {
public:
    explicit TGlobalAtom(const wchar_t* Name) : FAtom(GlobalAddAtomW(Name)) {}
    ~TGlobalAtom() { GlobalDeleteAtom(FAtom); }
    TGlobalAtom(const TGlobalAtom&) = delete;
    TGlobalAtom& operator=(const TGlobalAtom&) = delete;
    ATOM Get() const noexcept { return FAtom; }

private:
    ATOM FAtom;
};

const wchar_t* AtomName(ATOM Atom) noexcept
{
    return reinterpret_cast<const wchar_t*>(static_cast<ULONG_PTR>(Atom));
}

bool IsMouseMessage(UINT Msg) noexcept
{
    return Msg >= WM_MOUSEFIRST && Msg <= WM_MBUTTONDBLCLK && Msg != WM_MOUSEWHEEL;
}

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

// BeginPaint/EndPaint as a pair that survives an exception.
class TPaintScope {
public:
    explicit TPaintScope(HWND Window) : FWindow(Window), FDC(BeginPaint(Window, &FPaint)) {}
    ~TPaintScope() { EndPaint(FWindow, &FPaint); }
    TPaintScope(const TPaintScope&) = delete;
    TPaintScope& operator=(const TPaintScope&) = delete;
    HDC DC() const noexcept { return FDC; }
    const RECT& Area() const noexcept { return FPaint.rcPaint; }

private:
    HWND FWindow;
    PAINTSTRUCT FPaint{};
    HDC FDC;
};

// Points a canvas at a DC for the length of a paint call.
class TCanvasBinding {
public:
    TCanvasBinding(TCanvas& Canvas, HDC DC) : FCanvas(Canvas) { FCanvas.SetHandle(DC); }
    ~TCanvasBinding() { FCanvas.SetHandle(nullptr); }
    TCanvasBinding(const TCanvasBinding&) = delete;
    TCanvasBinding& operator=(const TCanvasBinding&) = delete;

private:
    TCanvas& FCanvas;
};

bool Intersects(const RECT& A, const RECT& B) noexcept
{
    RECT Out;
    return IntersectRect(&Out, &A, &B) != FALSE;
}

} // namespace

ATOM ControlAtom()
{
    static const TGlobalAtom Atom = [] {
        wchar_t Name[40];
        swprintf(Name, 40, L"ControlOfs%.8X%.8X",
                 static_cast<unsigned>(reinterpret_cast<uintptr_t>(GetModuleHandleW(nullptr))),
                 static_cast<unsigned>(GetCurrentThreadId()));
        return TGlobalAtom(Name);
    }();
    return Atom.Get();
}

TWinControl* FindControl(HWND Window) noexcept
{
    if (!Window)
        return nullptr;
    return static_cast<TWinControl*>(GetPropW(Window, AtomName(ControlAtom())));
}

TShiftState MouseShiftState(WPARAM Keys) noexcept
{
    TShiftState Shift = 0;
    if (Keys & MK_SHIFT) Shift |= ssShift;
    if (Keys & MK_CONTROL) Shift |= ssCtrl;
    if (Keys & MK_LBUTTON) Shift |= ssLeft;
    if (Keys & MK_RBUTTON) Shift |= ssRight;
    if (Keys & MK_MBUTTON) Shift |= ssMiddle;
    if (GetKeyState(VK_MENU) < 0) Shift |= ssAlt;
    return Shift;
}

// ---------------------------------------------------------------- TControl

const TClassInfo& TControl::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo(TClassBuilder<TControl>("TControl", TComponent::StaticClass())
        .Integer("Left", &TControl::Left, &TControl::SetLeft)
        .Integer("Top", &TControl::Top, &TControl::SetTop)
        .Integer("Width", &TControl::Width, &TControl::SetWidth)
        .Integer("Height", &TControl::Height, &TControl::SetHeight)
        .Integer("ClientWidth", &TControl::ClientWidth, &TControl::SetClientWidth)
        .Integer("ClientHeight", &TControl::ClientHeight, &TControl::SetClientHeight)
        .Enum("Align", {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"}, &TControl::Align,
              &TControl::SetAlign)
        .Bool("Visible", &TControl::Visible, &TControl::SetVisible)
        .Bool("Enabled", &TControl::Enabled, &TControl::SetEnabled)
        .Integer("Color", &TControl::Color, &TControl::SetColor)
        .Bool("ParentColor", &TControl::ParentColor, &TControl::SetParentColor)
        .Object("Font", TFont::StaticClass(), &TControl::Font)
        .Bool("ParentFont", &TControl::ParentFont, &TControl::SetParentFont)
        .WideText("Caption", &TControl::Caption, &TControl::SetCaption)
        .WideText("Text", &TControl::Text, &TControl::SetText)
        .WideText("Hint", &TControl::Hint, &TControl::SetHint)
        .Bool("ShowHint", &TControl::ShowHint, &TControl::SetShowHint)
        .Enum("BiDiMode", {"bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign", "bdRightToLeftReadingOnly"},
              &TControl::BiDiMode, &TControl::SetBiDiMode)
        // Declared as a component: naming TControl here would make the class
        // information depend on itself while it is being built.
        .Object("Parent", TComponent::StaticClass(), [](const TControl& C) -> TObject* { return C.FParent; })
        .Build());
    return Info;
}

TControl::TControl(TComponent* AOwner)
    : TComponent(AOwner), WindowProc(TWndMethod::Bind<&TControl::WndProc>(this)), FFont(std::make_unique<TFont>())
{
    FFont->OnChange = [this] { FontChanging(); };
}

// Owned components go first, while the control is still whole: an object
// that hooked this control (a skinned control object) unhooks itself from
// its destructor.
TControl::~TControl()
{
    BeginDestroy();
    DestroyComponents();
    FFont->OnChange = nullptr;
    TControl::SetParent(nullptr);
}

void TControl::SetParent(TWinControl* AParent)
{
    if (AParent == FParent)
        return;
    for (TControl* P = AParent; P; P = P->FParent)
        if (P == this)
            throw EComponentError(L"A control cannot be its own parent");
    if (FParent)
        FParent->RemoveControl(this);
    if (AParent)
        AParent->InsertControl(this);
    if (FParent) {
        if (FParent->FCurrentPPI != FCurrentPPI)
            ScaleForPPI(FParent->FCurrentPPI);
        ParentColorChanged();
        if (FParentFont)
            Perform(CM_FONTCHANGED);
    }
}

void TControl::ScaleForPPI(int NewPPI)
{
    if (NewPPI > 0 && NewPPI != FCurrentPPI)
        ChangeScale(NewPPI, FCurrentPPI);
}

void TControl::ChangeScale(int M, int D)
{
    ScaleFont(M, D);
    ScaleBounds(M, D);
    FCurrentPPI = ScaleValue(FCurrentPPI, M, D);
}

void TControl::ScaleFont(int M, int D)
{
    if (FParentFont && FParent)
        return;
    // A form keeps following a parent it may be given later.
    const bool FollowParent = FParentFont;
    FFont->ScaleHeight(M, D);
    FParentFont = FollowParent;
}

void TControl::ScaleBounds(int M, int D)
{
    const TScaledBounds Scaled = ::ScaleBounds({FLeft, FTop, FWidth, FHeight}, M, D);
    SetBounds(Scaled.Left, Scaled.Top, Scaled.Width, Scaled.Height);
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    AWidth = std::max(AWidth, 0);
    AHeight = std::max(AHeight, 0);
    if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight)
        return;
    Invalidate();
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
    Invalidate();
    RequestAlign();
}

RECT TControl::ClientRect() const
{
    return {0, 0, FWidth, FHeight};
}

void TControl::SetClientSize(int AWidth, int AHeight)
{
    const RECT Client = ClientRect();
    SetBounds(FLeft, FTop, FWidth + AWidth - Client.right, FHeight + AHeight - Client.bottom);
}

POINT TControl::ClientOrigin() const
{
    POINT P{FLeft, FTop};
    if (FParent) {
        const POINT Origin = FParent->ClientOrigin();
        P.x += Origin.x;
        P.y += Origin.y;
    }
    return P;
}

POINT TControl::ClientToScreen(POINT P) const
{
    const POINT Origin = ClientOrigin();
    return {P.x + Origin.x, P.y + Origin.y};
}

POINT TControl::ScreenToClient(POINT P) const
{
    const POINT Origin = ClientOrigin();
    return {P.x - Origin.x, P.y - Origin.y};
}

void TControl::SetAlign(TAlign Value)
{
    if (Value == FAlign)
        return;
    FAlign = Value;
    RequestAlign();
}

void TControl::RequestAlign()
{
    if (FParent)
        FParent->Realign();
}

void TControl::SetVisible(bool Value)
{
    if (Value == FVisible)
        return;
    FVisible = Value;
    Perform(CM_VISIBLECHANGED, Value);
    RequestAlign();
}

bool TControl::Showing() const
{
    return FVisible && FParent && FParent->Showing();
}

void TControl::SetEnabled(bool Value)
{
    if (Value == FEnabled)
        return;
    FEnabled = Value;
    Perform(CM_ENABLEDCHANGED);
}

void TControl::SetColor(TColor Value)
{
    FParentColor = false;
    if (Value == FColor)
        return;
    FColor = Value;
    Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool Value)
{
    FParentColor = Value;
    ParentColorChanged();
}

void TControl::ParentColorChanged()
{
    if (!FParentColor || !FParent || FParent->FColor == FColor)
        return;
    FColor = FParent->FColor;
    Perform(CM_COLORCHANGED);
}

void TControl::SetParentFont(bool Value)
{
    FParentFont = Value;
    if (Value)
        Perform(CM_FONTCHANGED);
}

namespace {
// The colour is left out: setting it raises no change notification, so a
// control's own text colour could not be told from an inherited one.
bool SameFont(const TFont& A, const TFont& B)
{
    return A.Name() == B.Name() && A.Height() == B.Height() && A.Charset() == B.Charset() &&
           A.Style() == B.Style() && A.HeightFollowsScreen() == B.HeightFollowsScreen();
}
} // namespace

TFont* TControl::Font() const
{
    if (FParentFont && FParent) {
        const TFont* ParentFont = FParent->Font();
        if (!SameFont(*FFont, *ParentFont)) {
            auto* Self = const_cast<TControl*>(this);
            Self->FApplyingParentFont = true;
            try {
                FFont->Assign(*ParentFont);
            } catch (...) {
                Self->FApplyingParentFont = false;
                throw;
            }
            Self->FApplyingParentFont = false;
        }
    }
    return FFont.get();
}

// The font tells us before it changes, so the work that needs the new
// values (the window's WM_SETFONT, repainting) is queued behind it.
void TControl::FontChanging()
{
    if (FApplyingParentFont)
        return;
    FParentFont = false;
    auto* Windowed = dynamic_cast<TWinControl*>(this);
    if (Windowed && Windowed->HandleAllocated())
        PostMessageW(Windowed->HandleIfAllocated(), CM_FONTCHANGED, 0, 0);
    else
        Invalidate();
}

std::wstring TControl::Text() const
{
    auto* Self = const_cast<TControl*>(this);
    const auto Length = static_cast<size_t>(Self->Perform(WM_GETTEXTLENGTH));
    std::wstring Buffer(Length + 1, L'\0');
    const auto Copied = static_cast<size_t>(
        Self->Perform(WM_GETTEXT, Buffer.size(), AsLParam(Buffer.data())));
    Buffer.resize(std::min(Copied, Length));
    return Buffer;
}

void TControl::SetText(const std::wstring& Value)
{
    if (Value == Text())
        return;
    Perform(WM_SETTEXT, 0, AsLParam(Value.c_str()));
    Perform(CM_TEXTCHANGED);
}

void TControl::SetBiDiMode(TBiDiMode Value)
{
    FBiDiMode = Value;
    Invalidate();
}

LRESULT TControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam)
{
    TMessage Message{Msg, WParam, LParam, 0};
    WindowProc(Message);
    return Message.Result;
}

void TControl::Invalidate()
{
    if (!FParent || !FParent->HandleAllocated() || !FVisible)
        return;
    const RECT Bounds = BoundsRect();
    InvalidateRect(FParent->FHandle, &Bounds, TRUE);
}

void TControl::Update()
{
    if (FParent)
        FParent->Update();
}

void TControl::Repaint()
{
    Invalidate();
    Update();
}

void TControl::BringToFront()
{
    if (!FParent)
        return;
    auto& Siblings = FParent->FControls;
    std::erase(Siblings, this);
    Siblings.push_back(this);
    if (auto* Windowed = dynamic_cast<TWinControl*>(this); Windowed && Windowed->FHandle)
        SetWindowPos(Windowed->FHandle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Invalidate();
}

void TControl::Click()
{
    if (OnClick)
        OnClick(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseDown)
        OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseUp)
        OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y)
{
    if (OnMouseMove)
        OnMouseMove(this, Shift, X, Y);
}

void TControl::HandleMouse(TMessage& Message)
{
    const int X = LoWordSigned(Message.LParam);
    const int Y = HiWordSigned(Message.LParam);
    TShiftState Shift = MouseShiftState(Message.WParam);
    switch (Message.Msg) {
    case WM_MOUSEMOVE:
        MouseMove(Shift, X, Y);
        return;
    case WM_LBUTTONDBLCLK:
        if (OnDblClick)
            OnDblClick(this);
        Shift |= ssDouble;
        [[fallthrough]];
    case WM_LBUTTONDOWN:
        FClicked = FClickEvents;
        MouseDown(mbLeft, Shift, X, Y);
        return;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
        MouseDown(mbRight, Shift, X, Y);
        return;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
        MouseDown(mbMiddle, Shift, X, Y);
        return;
    case WM_LBUTTONUP: {
        const bool WasClicked = std::exchange(FClicked, false);
        MouseUp(mbLeft, Shift, X, Y);
        const RECT Client = ClientRect();
        const POINT P{X, Y};
        if (WasClicked && PtInRect(&Client, P))
            Click();
        return;
    }
    case WM_RBUTTONUP:
        MouseUp(mbRight, Shift, X, Y);
        return;
    case WM_MBUTTONUP:
        MouseUp(mbMiddle, Shift, X, Y);
        return;
    default:
        return;
    }
}

void TControl::WndProc(TMessage& Message)
{
    if (IsMouseMessage(Message.Msg)) {
        DefaultHandler(Message);
        HandleMouse(Message);
        return;
    }
    switch (Message.Msg) {
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED:
    case CM_COLORCHANGED:
    case CM_FONTCHANGED:
        Invalidate();
        break;
    case CM_VISIBLECHANGED:
        if (FParent && FParent->HandleAllocated()) {
            const RECT Bounds = BoundsRect();
            InvalidateRect(FParent->FHandle, &Bounds, TRUE);
        }
        break;
    case WM_CANCELMODE:
        FClicked = false;
        break;
    default:
        break;
    }
    DefaultHandler(Message);
}

void TControl::DefaultHandler(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_GETTEXTLENGTH:
        Message.Result = static_cast<LRESULT>(FText.size());
        break;
    case WM_GETTEXT: {
        const size_t Room = Message.WParam;
        if (Room == 0) {
            Message.Result = 0;
            break;
        }
        const size_t Count = std::min(Room - 1, FText.size());
        auto* Buffer = AsPointer<wchar_t>(Message.LParam);
        std::copy_n(FText.data(), Count, Buffer);
        Buffer[Count] = L'\0';
        Message.Result = static_cast<LRESULT>(Count);
        break;
    }
    case WM_SETTEXT:
        FText = Message.LParam ? AsPointer<const wchar_t>(Message.LParam) : L"";
        Message.Result = TRUE;
        break;
    default:
        break;
    }
}

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

// --------------------------------------------------------- TGraphicControl

const TClassInfo& TGraphicControl::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo("TGraphicControl", &TControl::StaticClass(), {});
    return Info;
}

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner) {}

void TGraphicControl::WndProc(TMessage& Message)
{
    if (Message.Msg == WM_PAINT && Message.WParam) {
        const TCanvasBinding Binding(FCanvas, reinterpret_cast<HDC>(Message.WParam));
        FCanvas.Font().Assign(*Font());
        Paint();
        return;
    }
    TControl::WndProc(Message);
}

// ---------------------------------------------------------- TCustomControl

const TClassInfo& TCustomControl::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo("TCustomControl", &TWinControl::StaticClass(), {});
    return Info;
}

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner) {}

void TCustomControl::PaintWindow(HDC DC)
{
    const TCanvasBinding Binding(FCanvas, DC);
    FCanvas.Font().Assign(*Font());
    Paint();
}

// --------------------------------------------------------- TWindowProcHook

void TWindowProcHook::Install(TControl* AControl, TWndMethod Handler)
{
    Unlink();
    FHandler = Handler;
    FChain = &AControl->WindowProc;
    FBelow = std::exchange(FChain->FTop, this);
    if (FBelow)
        FBelow->FAbove = this;
    FActive = true;
}

void TWindowProcHook::Remove() noexcept
{
    FActive = false;
}

void TWindowProcHook::Unlink() noexcept
{
    if (!FChain)
        return;
    if (FAbove)
        FAbove->FBelow = FBelow;
    else
        FChain->FTop = FBelow;
    if (FBelow)
        FBelow->FAbove = FAbove;
    FChain = nullptr;
    FAbove = FBelow = nullptr;
    FActive = false;
}

void TWindowProcHook::CallPrevious(TMessage& Message) const
{
    if (FChain)
        FChain->CallFrom(FBelow, Message);
}

// -------------------------------------------------------- TWindowProcChain

TWindowProcChain::~TWindowProcChain()
{
    while (TWindowProcHook* Hook = FTop) {
        FTop = Hook->FBelow;
        Hook->FChain = nullptr;
        Hook->FAbove = Hook->FBelow = nullptr;
        Hook->FActive = false;
    }
}

void TWindowProcChain::operator()(TMessage& Message) const
{
    CallFrom(FTop, Message);
}

void TWindowProcChain::CallFrom(const TWindowProcHook* From, TMessage& Message) const
{
    while (From && !From->FActive)
        From = From->FBelow;
    if (From)
        From->FHandler(Message);
    else
        FBase(Message);
}

bool TWindowProcChain::Hooked() const noexcept
{
    for (const TWindowProcHook* Hook = FTop; Hook; Hook = Hook->FBelow)
        if (Hook->FActive)
            return true;
    return false;
}
