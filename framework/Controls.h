// Controls: TControl (anything with bounds on a parent), TWinControl (has a
// window, created on demand), TGraphicControl (windowless, painted by its
// parent) and TCustomControl (a window of our own that paints itself).
//
// Every message a control receives, from Windows or from the framework, goes
// through its WindowProc as a TMessage. WindowProc calls the outermost
// TWindowProcHook installed on the control, or the control's virtual WndProc
// when there is none; hooks are the only way in (see TWindowProcHook).
// Derived classes answer messages by overriding WndProc and passing what
// they do not handle to the base class.
#pragma once

#include "Component.h"
#include "Graphics.h"
#include "Messages.h"
#include "Scaling.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

class TControl;
class TWinControl;
class TWindowProcHook;

// A control's message entry: calling it runs the outermost installed hook,
// which passes messages down through TWindowProcHook::CallPrevious to the
// control's WndProc. Nothing can be assigned to it: a saved-and-replaced
// delegate could keep calling a hook after that hook was removed, so every
// replacement goes through a TWindowProcHook, which any removal order and
// either side dying first leave consistent.
class TWindowProcChain {
public:
    explicit TWindowProcChain(TWndMethod Base) noexcept : FBase(Base) {}
    // Hooks still installed are left with no control: they remove nothing.
    ~TWindowProcChain();
    TWindowProcChain(const TWindowProcChain&) = delete;
    TWindowProcChain& operator=(const TWindowProcChain&) = delete;

    void operator()(TMessage& Message) const;
    // True while at least one hook is installed.
    bool Hooked() const noexcept;

private:
    friend class TWindowProcHook;
    // Runs the first installed hook from From downwards, or the base.
    void CallFrom(const TWindowProcHook* From, TMessage& Message) const;

    TWndMethod FBase;
    // The outermost hook linked to this chain; hooks are linked from the
    // top down through FBelow.
    TWindowProcHook* FTop = nullptr;
};

enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftStateFlag : unsigned {
    ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32, ssDouble = 64
};
using TShiftState = unsigned;
enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
// Forms use every value; other controls only bsNone and bsSingle.
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using TBorderStyle = TFormBorderStyle;

using TMouseEvent = TDelegate<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = TDelegate<void(TObject* Sender, TShiftState Shift, int X, int Y)>;

// The shift state carried by a mouse message's WParam.
TShiftState MouseShiftState(WPARAM Keys) noexcept;

class TControl : public TComponent {
    VK_CLASS_INFO
public:
    explicit TControl(TComponent* AOwner);
    ~TControl() override;

    TWinControl* Parent() const noexcept { return FParent; }
    virtual void SetParent(TWinControl* AParent);

    int Left() const noexcept { return FLeft; }
    int Top() const noexcept { return FTop; }
    int Width() const noexcept { return FWidth; }
    int Height() const noexcept { return FHeight; }
    void SetLeft(int Value) { SetBounds(Value, FTop, FWidth, FHeight); }
    void SetTop(int Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
    void SetWidth(int Value) { SetBounds(FLeft, FTop, Value, FHeight); }
    void SetHeight(int Value) { SetBounds(FLeft, FTop, FWidth, Value); }
    RECT BoundsRect() const noexcept { return {FLeft, FTop, FLeft + FWidth, FTop + FHeight}; }
    void SetBoundsRect(const RECT& R) { SetBounds(R.left, R.top, R.right - R.left, R.bottom - R.top); }
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    virtual RECT ClientRect() const;
    int ClientWidth() const { return ClientRect().right; }
    int ClientHeight() const { return ClientRect().bottom; }
    virtual void SetClientSize(int AWidth, int AHeight);
    void SetClientWidth(int Value) { SetClientSize(Value, ClientHeight()); }
    void SetClientHeight(int Value) { SetClientSize(ClientWidth(), Value); }
    // Client coordinates of this control to and from the screen.
    POINT ClientToScreen(POINT P) const;
    POINT ScreenToClient(POINT P) const;
    // The client origin in screen coordinates.
    virtual POINT ClientOrigin() const;

    TAlign Align() const noexcept { return FAlign; }
    void SetAlign(TAlign Value);

    // The screen resolution the bounds and font are in: 96, the unit forms
    // are written in, until the control is scaled. A control put on a
    // parent of another resolution is scaled to the parent's at once, so
    // bounds set before SetParent are in the units the parent was written
    // in, and bounds set after it in the parent's pixels.
    int CurrentPPI() const noexcept { return FCurrentPPI; }
    // Scales the bounds, the font (a height in pixels; a point size already
    // follows the screen) and every child to NewPPI.
    void ScaleForPPI(int NewPPI);

    bool Visible() const noexcept { return FVisible; }
    void SetVisible(bool Value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible, on a parent chain that is visible up to a top-level window.
    virtual bool Showing() const;
    bool Enabled() const noexcept { return FEnabled; }
    void SetEnabled(bool Value);

    TColor Color() const noexcept { return FColor; }
    void SetColor(TColor Value);
    bool ParentColor() const noexcept { return FParentColor; }
    void SetParentColor(bool Value);
    // A control with ParentFont takes its parent's font when asked for it.
    TFont* Font() const;
    bool ParentFont() const noexcept { return FParentFont; }
    void SetParentFont(bool Value);

    // Caption and Text are one property under two names.
    std::wstring Caption() const { return Text(); }
    void SetCaption(const std::wstring& Value) { SetText(Value); }
    std::wstring Text() const;
    void SetText(const std::wstring& Value);

    const std::wstring& Hint() const noexcept { return FHint; }
    void SetHint(const std::wstring& Value) { FHint = Value; }
    bool ShowHint() const noexcept { return FShowHint; }
    void SetShowHint(bool Value) { FShowHint = Value; }
    TBiDiMode BiDiMode() const noexcept { return FBiDiMode; }
    virtual void SetBiDiMode(TBiDiMode Value);

    // The message entry, hooked through TWindowProcHook; see the top of this
    // file.
    TWindowProcChain WindowProc;
    LRESULT Perform(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);

    virtual void Invalidate();
    virtual void Update();
    void Repaint();
    void BringToFront();

    virtual void Click();

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;

protected:
    virtual void WndProc(TMessage& Message);
    // Messages nobody answered; a windowed control hands them to the
    // platform's window procedure.
    virtual void DefaultHandler(TMessage& Message);
    // True for controls that turn a left press and release into Click and
    // OnClick (pictures, labels, forms, panels); native controls that report
    // clicks themselves switch it off.
    bool FClickEvents = true;

    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    // Tells the parent to lay out aligned controls again.
    void RequestAlign();
    // Scales by M / D what is measured in pixels of the current resolution;
    // controls with sizes of their own (columns, pictures, measured text)
    // add theirs and call the base.
    virtual void ChangeScale(int M, int D);
    // Scales the own font unless it comes from the parent.
    void ScaleFont(int M, int D);
    // The edges of the bounds; a top-level form scales its client area.
    virtual void ScaleBounds(int M, int D);
    virtual void ParentColorChanged();
    // Where Text() lives for a control without a window.
    std::wstring FText;

    int FLeft = 0;
    int FTop = 0;
    int FWidth = 0;
    int FHeight = 0;

private:
    friend class TWinControl;
    void HandleMouse(TMessage& Message);
    // Runs before the font takes its new values.
    void FontChanging();

    TWinControl* FParent = nullptr;
    TAlign FAlign = alNone;
    int FCurrentPPI = kDesignPixelsPerInch;
    bool FVisible = true;
    bool FEnabled = true;
    TColor FColor = clBtnFace;
    bool FParentColor = false;
    std::unique_ptr<TFont> FFont;
    bool FParentFont = true;
    bool FApplyingParentFont = false;
    std::wstring FHint;
    bool FShowHint = false;
    TBiDiMode FBiDiMode = bdLeftToRight;
    bool FClicked = false;
};

// What a windowed control asks for when its window is created.
struct TCreateParams {
    std::wstring Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
    // The framework's class name for the window (e.g. "TComboBox"), and the
    // platform class it extends (e.g. L"COMBOBOX"), or nullptr for a window
    // of our own.
    std::wstring WinClassName;
    const wchar_t* BaseClass = nullptr;
    UINT ClassStyle = CS_DBLCLKS;
};

class TWinControl : public TControl {
    VK_CLASS_INFO
public:
    explicit TWinControl(TComponent* AOwner);
    // Frees the child controls, then the window.
    ~TWinControl() override;

    // The window, created now when there is none yet; throws when it cannot
    // be created.
    HWND Handle();
    HWND HandleIfAllocated() const noexcept { return FHandle; }
    bool HandleAllocated() const noexcept { return FHandle != nullptr; }
    void HandleNeeded() { Handle(); }

    int ControlCount() const noexcept { return static_cast<int>(FControls.size()); }
    TControl* Controls(int Index) const { return FControls.at(static_cast<size_t>(Index)); }
    // Every windowed control inside this one, nested, each container
    // followed by its own children, in tab order.
    std::vector<TWinControl*> GetTabOrderList() const;
    int TabOrder() const;
    void SetTabOrder(int Value);
    bool TabStop() const noexcept { return FTabStop; }
    void SetTabStop(bool Value) { FTabStop = Value; }
    // The topmost visible windowless child at a client point.
    TControl* ControlAtPos(POINT P, bool AllowDisabled = false) const;

    bool CanFocus() const;
    bool Focused() const;
    void SetFocus();

    bool DoubleBuffered() const noexcept { return FDoubleBuffered; }
    void SetDoubleBuffered(bool Value);

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    RECT ClientRect() const override;
    POINT ClientOrigin() const override;
    bool Showing() const override;
    void SetBiDiMode(TBiDiMode Value) override;
    void Invalidate() override;
    void Update() override;
    void SetParent(TWinControl* AParent) override;

    // Destroys the window and makes it again, for style changes the platform
    // only takes at creation.
    void RecreateWnd();
    // Setter of a property the platform only takes at creation: a change
    // makes the window again, the same value leaves it alone.
    template <typename T>
    void SetCreationProperty(T& Field, T Value)
    {
        if (Value == Field)
            return;
        Field = Value;
        RecreateWnd();
    }
    // Lays out the aligned children in the client area.
    void Realign();
    // Sends a message to every child control.
    void Broadcast(TMessage& Message);
    // Paints the windowless children into a DC of this control's client area.
    void PaintControls(HDC DC);

protected:
    virtual void CreateParams(TCreateParams& Params);
    // Pushes the object's state into a fresh window (items, ranges,
    // columns); the base sets the font and creates the child windows.
    virtual void CreateWnd();
    // Called before the window goes away, to read back what only the window
    // knows.
    virtual void DestroyWnd();
    void DestroyHandle();
    void WndProc(TMessage& Message) override;
    void DefaultHandler(TMessage& Message) override;
    // Paints the window's own content (custom-painted controls); the base
    // paints nothing.
    virtual void PaintWindow(HDC DC);
    virtual void AlignControls(RECT& Rect);
    // Scales the font first, so children with ParentFont measure themselves
    // in it, then the children with aligning held, then the own bounds, and
    // aligns once at the end.
    void ChangeScale(int M, int D) override;
    // Moves the window to the control's bounds.
    virtual void UpdateWindowBounds();
    // Published by the controls whose platform counterpart draws its
    // parent's background (panels, group boxes).
    bool FParentBackground = false;
    // True while a message from Windows is being handled by this control.
    bool InWindowDispatch() const noexcept { return FDispatchDepth > 0; }
    // Frees the control once the outermost window-procedure call handling
    // its messages has returned, so that every hook working after it passed
    // the message on still finds the control whole. Only while
    // InWindowDispatch().
    void FreeAfterDispatch() noexcept { FFreeAfterDispatch = true; }

private:
    friend class TControl;
    static LRESULT CALLBACK InitWndProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam);
    LRESULT MainWndProc(UINT Msg, WPARAM WParam, LPARAM LParam);
    void CreateHandle();
    void InsertControl(TControl* AControl);
    void RemoveControl(TControl* AControl);
    void ReadBoundsFromWindow();
    bool ForwardMouseToChild(TMessage& Message);
    void TrackMouse(TMessage& Message);
    void SetMouseControl(TControl* AControl);
    void PaintHandler(TMessage& Message);
    void PaintTo(HDC DC);
    bool ReflectNotification(TMessage& Message);

    HWND FHandle = nullptr;
    WNDPROC FDefWndProc = nullptr;
    int FDispatchDepth = 0;
    bool FFreeAfterDispatch = false;
    std::vector<TControl*> FControls;
    std::vector<TWinControl*> FTabList;
    bool FTabStop = false;
    bool FDoubleBuffered = false;
    bool FMouseInside = false;
    bool FAligning = false;
    TControl* FMouseControl = nullptr;
    TControl* FCaptureControl = nullptr;
};

// Windowless: painted by the parent into the parent's DC, mouse messages
// forwarded by the parent in this control's client coordinates.
class TGraphicControl : public TControl {
    VK_CLASS_INFO
public:
    explicit TGraphicControl(TComponent* AOwner);
    // Valid while Paint runs.
    TCanvas& Canvas() { return FCanvas; }

protected:
    void WndProc(TMessage& Message) override;
    virtual void Paint() {}

private:
    TCanvas FCanvas;
};

// A window of our own class that paints itself through Paint and Canvas.
class TCustomControl : public TWinControl {
    VK_CLASS_INFO
public:
    explicit TCustomControl(TComponent* AOwner);
    TCanvas& Canvas() { return FCanvas; }

protected:
    void PaintWindow(HDC DC) override;
    virtual void Paint() {}

private:
    TCanvas FCanvas;
};

// A hook in front of a control's WindowProc, and the only way to put one
// there. Hooks stack: the newest is outermost, and each passes on what it
// does not answer with CallPrevious. Any of them may be removed at any
// time: from then on its handler sees no message, and the others keep
// their order. A hook removed while one of its messages is still being
// handled can still pass that message on. The hook's destructor removes it,
// so a hook held by value in the object whose handler it calls goes with
// that object; a hook whose control died first removes nothing.
class TWindowProcHook {
public:
    TWindowProcHook() = default;
    TWindowProcHook(TControl* AControl, TWndMethod Handler) { Install(AControl, Handler); }
    ~TWindowProcHook() { Unlink(); }
    TWindowProcHook(const TWindowProcHook&) = delete;
    TWindowProcHook& operator=(const TWindowProcHook&) = delete;

    // Becomes the outermost hook of AControl, leaving any control it hooked
    // before.
    void Install(TControl* AControl, TWndMethod Handler);
    void Remove() noexcept;
    bool Installed() const noexcept { return FChain && FActive; }
    // The handler passes messages on through this; after the control died it
    // does nothing.
    void CallPrevious(TMessage& Message) const;

private:
    friend class TWindowProcChain;
    void Unlink() noexcept;

    // Set while linked to a chain; a removed hook stays linked, inactive,
    // until it is installed again or destroyed, so that CallPrevious from a
    // handler that removed its own hook still reaches the hooks below.
    TWindowProcChain* FChain = nullptr;
    TWindowProcHook* FAbove = nullptr;
    TWindowProcHook* FBelow = nullptr;
    TWndMethod FHandler;
    bool FActive = false;
};

// The atom of the window property that holds the framework control behind
// a window handle: "ControlOfs" + instance handle + thread id, eight
// upper-case hexadecimal digits each.
ATOM ControlAtom();
// The framework control whose window this is, or nullptr.
TWinControl* FindControl(HWND Window) noexcept;
