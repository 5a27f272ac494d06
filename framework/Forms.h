// Forms, the application object and the screen object.
//
// A form is built in its constructor (controls created with the form as
// owner and parent) and gets its OnCreate event once it is complete: when
// Application->CreateForm made it, right after construction; otherwise just
// before it is first shown. Forms start hidden.
#pragma once

#include "Controls.h"
#include "Menus.h"
#include "SysUtils.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

enum TBorderIcon : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
using TBorderIcons = unsigned;
enum TPosition {
    poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly,
    poScreenCenter, poDesktopCenter, poMainFormCenter, poOwnerFormCenter
};
enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TTileMode { tbHorizontal, tbVertical };
using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = IDOK;
constexpr TModalResult mrCancel = IDCANCEL;
constexpr TModalResult mrAbort = IDABORT;
constexpr TModalResult mrRetry = IDRETRY;
constexpr TModalResult mrIgnore = IDIGNORE;
constexpr TModalResult mrYes = IDYES;
constexpr TModalResult mrNo = IDNO;

using TCloseEvent = TDelegate<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = TDelegate<void(TObject* Sender, bool& CanClose)>;

// Operations refused in the current state (a visible form made modal).
class EInvalidOperation : public Exception {
public:
    using Exception::Exception;
};

class TScrollingWinControl : public TWinControl {
    VK_CLASS_INFO
public:
    explicit TScrollingWinControl(TComponent* AOwner);
    bool AutoScroll() const noexcept { return FAutoScroll; }
    void SetAutoScroll(bool Value) { FAutoScroll = Value; }

private:
    bool FAutoScroll = false;
};

// A bordered container whose children may extend beyond it: scroll bars
// appear and scroll the children (windowed and windowless alike).
class TScrollBox : public TScrollingWinControl {
    VK_CLASS_INFO
public:
    explicit TScrollBox(TComponent* AOwner);
    TBorderStyle BorderStyle() const noexcept { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    // Measures the children again and shows the scroll bars they need.
    void UpdateScrollRange();
    POINT ScrollPosition() const noexcept { return FScrolled; }

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void WndProc(TMessage& Message) override;

private:
    void ScrollBy(int Bar, int Code);

    TBorderStyle FBorderStyle = bsSingle;
    POINT FScrolled{0, 0};
};

class TCustomForm : public TScrollingWinControl {
    VK_CLASS_INFO
    friend class TApplication;

public:
    explicit TCustomForm(TComponent* AOwner);
    ~TCustomForm() override;

    // Scales the form to the screen (see Scaled), then fires OnCreate once;
    // an exception from OnCreate is reported through
    // Application->HandleException, and the form stays usable.
    void AfterConstruction();

    // A form is written in pixels at 96 per inch (bounds, font heights).
    // Scaled, the default, takes it with all its controls to the screen's
    // resolution once, just before OnCreate; at 96 nothing changes. Switch
    // it off before then for a form laid out in the screen's own pixels.
    bool Scaled() const noexcept { return FScaled; }
    void SetScaled(bool Value) { FScaled = Value; }

    TFormBorderStyle BorderStyle() const noexcept { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle Value);
    TBorderIcons BorderIcons() const noexcept { return FBorderIcons; }
    void SetBorderIcons(TBorderIcons Value);
    TPosition Position() const noexcept { return FPosition; }
    void SetPosition(TPosition Value) { FPosition = Value; }
    TMainMenu* Menu() const noexcept { return FMenu; }
    void SetMenu(TMainMenu* Value);
    // fsMDIForm makes the form an MDI frame with a client window; an
    // fsMDIChild form opens inside the frame (the main form, else the first
    // open frame). Set it before the window exists.
    TFormStyle FormStyle() const noexcept { return FFormStyle; }
    void SetFormStyle(TFormStyle Value);
    TWindowState WindowState() const;
    void SetWindowState(TWindowState Value);

    // MDI frames: the client window, the open children, the active one.
    HWND ClientHandle() const noexcept { return FClientHandle; }
    int MDIChildCount() const;
    TCustomForm* MDIChildren(int Index) const;
    TCustomForm* ActiveMDIChild() const;
    // The item whose sub-menu lists the open children, as the platform
    // merges it.
    TMenuItem* WindowMenu() const noexcept { return FWindowMenu; }
    void SetWindowMenu(TMenuItem* Value);
    void Tile(TTileMode Mode = tbHorizontal);
    void Cascade();
    void ArrangeIcons();

    RECT ClientRect() const override;

    // Shows and activates the form.
    void Show();
    // Shows the form with every other window of the thread disabled and runs
    // messages until ModalResult is set (Close sets mrCancel) or the
    // application terminates; then hides the form and gives back the
    // windows. Throws EInvalidOperation for a visible or disabled form.
    TModalResult ShowModal();
    TModalResult ModalResult = mrNone;
    bool Modal() const noexcept { return FModal; }
    // Asks OnCloseQuery and OnClose; hides the form, or frees it later
    // (caFree), or ends the application for the main form.
    void Close();
    bool CloseQuery();
    // Frees the form once the messages already queued for it are handled
    // and the message call that carries the release has returned; the way
    // a form frees itself from its own event handlers.
    void Release();

    // The form's drawing surface: the paint DC while OnPaint runs, else the
    // client area, given back when the current message is done.
    TCanvas& Canvas();

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnPaint;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void WndProc(TMessage& Message) override;
    void DefaultHandler(TMessage& Message) override;
    void AlignControls(RECT& Rect) override;
    // The image lists the form owns scale first, so the controls showing
    // their pictures measure them at the new size.
    void ChangeScale(int M, int D) override;
    // A window of its own keeps its place on the screen and scales its
    // client area; a form inside another control scales like any control.
    void ScaleBounds(int M, int D) override;
    void PaintWindow(HDC DC) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // Moves the focus to the next (or previous) control in tab order.
    void SelectNext(bool Forward);

private:
    void ApplyPosition();
    void ShowingChanged();
    bool CloseModal();
    DWORD FrameStyle(DWORD& ExStyle) const;
    void ReleaseCanvas();
    void CreateClient();
    void UpdateWindowMenu();
    static TCustomForm* MDIFrame();

    TFormStyle FFormStyle = fsNormal;
    HWND FClientHandle = nullptr;
    TMenuItem* FWindowMenu = nullptr;
    TFormBorderStyle FBorderStyle = bsSizeable;
    TBorderIcons FBorderIcons = biSystemMenu | biMinimize | biMaximize;
    TPosition FPosition = poDesigned;
    TMainMenu* FMenu = nullptr;
    bool FCreated = false;
    bool FScaled = true;
    bool FPositioned = false;
    bool FModal = false;
    int FMessageDepth = 0;
    bool FPainting = false;
    TCanvas FCanvas;
    std::optional<gdi::ClientDC> FCanvasDC;
};

class TForm : public TCustomForm {
    VK_CLASS_INFO
public:
    using TCustomForm::TCustomForm;
};

// The form a control sits on (the control itself for a form), or nullptr.
TCustomForm* GetParentForm(const TControl* Control) noexcept;
// The open form whose window this is; else whatever framework control is
// stored behind the window (FindControl); else nullptr.
TWinControl* FindFormOfWindow(HWND Window) noexcept;

using TMessageBoxFunc =
    std::function<int(HWND Owner, const std::wstring& Text, const std::wstring& Caption, UINT Flags)>;

class TApplication : public TComponent {
    VK_CLASS_INFO
public:
    explicit TApplication(TComponent* AOwner);
    ~TApplication() override;

    const std::wstring& Title() const noexcept { return FTitle; }
    void SetTitle(const std::wstring& Value) { FTitle = Value; }
    TCustomForm* MainForm() const noexcept { return FMainForm; }

    // Makes a form owned by the application, fires its OnCreate, and makes
    // the first form so created the main form.
    template <class T, class... A>
    T* CreateForm(A&&... Args)
    {
        T* Form = new T(this, std::forward<A>(Args)...);
        if (!FMainForm)
            FMainForm = Form;
        Form->AfterConstruction();
        return Form;
    }

    // Shows the main form and runs messages until Terminate (closing the
    // main form terminates). Returns at once without a main form.
    void Run();
    // Handles every message waiting now, then returns.
    void ProcessMessages();
    // Handles one message, waiting for one when none is queued.
    void HandleMessage();
    void Terminate();
    bool Terminated() const noexcept { return FTerminated; }
    // The first step of the program's shutdown: frees the main form, then
    // every other component the application owns (newest first), while
    // the GUI thread, its windows' classes and COM are all still there.
    void Shutdown() noexcept;

    // Reports the exception being handled in a message box; call it inside
    // a catch block. The program goes on.
    void HandleException(TObject* Sender);
    // A message box owned by the active form; the box itself is replaceable
    // (tests answer it without a window).
    int MessageBox(const std::wstring& Text, const std::wstring& Caption, UINT Flags = MB_OK);
    // Returns the previous function; an empty function restores the
    // platform's message box.
    TMessageBoxFunc SetMessageBoxFunc(TMessageBoxFunc Func);

    int HintPause = 500;
    int HintHidePause = 2500;

private:
    friend class TCustomForm;
    bool ProcessMessage();
    bool IsKeyMessage(const MSG& Msg);
    bool IsMDIMessage(MSG& Msg) const;
    static bool MenuShortCut(const MSG& Msg);

    std::wstring FTitle;
    TCustomForm* FMainForm = nullptr;
    bool FTerminated = false;
    TMessageBoxFunc FMessageBox;
};

class TScreen : public TComponent {
    VK_CLASS_INFO
public:
    explicit TScreen(TComponent* AOwner);

    int FormCount() const noexcept { return static_cast<int>(FForms.size()); }
    TCustomForm* Forms(int Index) const { return FForms.at(static_cast<size_t>(Index)); }
    // The form of the active window of this thread, or nullptr.
    TCustomForm* ActiveForm() const noexcept;
    int Width() const noexcept;
    int Height() const noexcept;
    // The system's menu font, read when first asked for.
    TFont* MenuFont();

private:
    friend class TCustomForm;
    friend TWinControl* FindFormOfWindow(HWND Window) noexcept;
    std::vector<TCustomForm*> FForms;
    std::optional<TFont> FMenuFont;
};

extern TApplication* const Application;
extern TScreen* const Screen;
