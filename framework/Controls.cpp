#include "Controls.h"

#include "ControlsShared.h"
#include "SysUtils.h"
#include "UtilWindow.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>
#include <map>
#include <utility>

namespace {

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
