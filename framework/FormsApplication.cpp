// The application (message loop, hints, error reports) and the screen
// (its forms and fonts), the two objects of the session.
#include "Forms.h"

#include "ImgList.h"
#include "SysUtils.h"
#include "UtilWindow.h"
#include "base/CallbackGuard.h"

#include <algorithm>
#include <exception>

namespace {

int PlatformMessageBox(HWND Owner, const std::wstring& Text, const std::wstring& Caption, UINT Flags)
{
    return MessageBoxW(Owner, Text.c_str(), Caption.c_str(), Flags);
}

void ReportToApplication(TObject* Sender)
{
    Application->HandleException(Sender);
}

void ReportBaseCallbackToApplication() noexcept
{
    HandleCallbackException(nullptr);
}

} // namespace

// ------------------------------------------------------------- TApplication

const TClassInfo& TApplication::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo(TClassBuilder<TApplication>("TApplication", TComponent::StaticClass())
        .WideText("Title", &TApplication::Title, &TApplication::SetTitle)
        .Field("HintPause", &TApplication::HintPause)
        .Field("HintHidePause", &TApplication::HintHidePause)
        .Build());
    return Info;
}

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner), FMessageBox(&PlatformMessageBox)
{
    // Made now so that they outlive the application object, whose
    // destructor frees the forms it still owns.
    ControlAtom();
    SetExceptionReporter(&ReportToApplication);
    SetCallbackReporter(&ReportBaseCallbackToApplication);
}

TApplication::~TApplication()
{
    SetCallbackReporter(nullptr);
    SetExceptionReporter(nullptr);
    DestroyComponents();
}

void TApplication::Shutdown() noexcept
{
    delete FMainForm;
    DestroyComponents();
}

void TApplication::Run()
{
    if (!FMainForm)
        return;
    FMainForm->Show();
    while (!FTerminated)
        HandleMessage();
}

bool TApplication::ProcessMessage()
{
    MSG Msg;
    if (!PeekMessageW(&Msg, nullptr, 0, 0, PM_REMOVE))
        return false;
    if (Msg.message == WM_QUIT) {
        FTerminated = true;
        return true;
    }
    if (!IsKeyMessage(Msg) && !IsMDIMessage(Msg)) {
        TranslateMessage(&Msg);
        DispatchMessageW(&Msg);
    }
    return true;
}

// Ctrl+F4, Ctrl+F6 and the children's window menus in an MDI frame.
bool TApplication::IsMDIMessage(MSG& Msg) const
{
    const TCustomForm* Frame = TCustomForm::MDIFrame();
    return Frame && Frame->FClientHandle && TranslateMDISysAccel(Frame->FClientHandle, &Msg);
}

// A key that is the shortcut of an item of the focused form's menu runs
// the item instead of reaching the control.
bool TApplication::MenuShortCut(const MSG& Msg)
{
    const TCustomForm* Form = GetParentForm(FindControl(GetAncestor(Msg.hwnd, GA_ROOT)));
    if (!Form || !Form->Menu() || Msg.wParam > 0xFF)
        return false;
    TShortCut Key = static_cast<TShortCut>(Msg.wParam);
    if (GetKeyState(VK_SHIFT) < 0)
        Key |= scShift;
    if (GetKeyState(VK_CONTROL) < 0)
        Key |= scCtrl;
    if (GetKeyState(VK_MENU) < 0)
        Key |= scAlt;
    return Form->Menu()->IsShortCut(Key);
}

// Dialog keys and Alt+letter go to the form first, so it can move the focus
// or open a menu; the control sees them only when the form did not use them.
bool TApplication::IsKeyMessage(const MSG& Msg)
{
    UINT Notification = 0;
    if (Msg.message == WM_KEYDOWN && (Msg.wParam == VK_TAB || Msg.wParam == VK_RETURN || Msg.wParam == VK_ESCAPE))
        Notification = CM_DIALOGKEY;
    else if (Msg.message == WM_SYSCHAR)
        Notification = CM_DIALOGCHAR;
    if ((Msg.message == WM_KEYDOWN || Msg.message == WM_SYSKEYDOWN) && MenuShortCut(Msg))
        return true;
    if (!Notification)
        return false;
    const LRESULT Wants = SendMessageW(Msg.hwnd, WM_GETDLGCODE, Msg.wParam, reinterpret_cast<LPARAM>(&Msg));
    if (Notification == CM_DIALOGKEY && (Wants & DLGC_WANTALLKEYS))
        return false;
    if (Msg.wParam == VK_TAB && (Wants & DLGC_WANTTAB))
        return false;
    HWND Window = Msg.hwnd;
    TWinControl* Control = nullptr;
    while (Window && !(Control = FindControl(Window)))
        Window = GetParent(Window);
    TCustomForm* Form = GetParentForm(Control);
    return Form && Form->Perform(Notification, Msg.wParam, Msg.lParam) != 0;
}

void TApplication::ProcessMessages()
{
    while (ProcessMessage()) {
    }
}

void TApplication::HandleMessage()
{
    if (!ProcessMessage())
        WaitMessage();
}

void TApplication::Terminate()
{
    FTerminated = true;
    PostQuitMessage(0);
}

void TApplication::HandleException(TObject*)
{
    if (!std::current_exception())
        return;
    std::wstring Text = CurrentExceptionMessage();
    if (!Text.empty() && Text.back() != L'.')
        Text += L'.';
    MessageBox(Text, FTitle, MB_OK | MB_ICONSTOP);
}

int TApplication::MessageBox(const std::wstring& Text, const std::wstring& Caption, UINT Flags)
{
    HWND Owner = GetActiveWindow();
    if (!Owner && FMainForm)
        Owner = FMainForm->HandleIfAllocated();
    return FMessageBox(Owner, Text, Caption, Flags);
}

TMessageBoxFunc TApplication::SetMessageBoxFunc(TMessageBoxFunc Func)
{
    return std::exchange(FMessageBox, Func ? std::move(Func) : TMessageBoxFunc(&PlatformMessageBox));
}

// ------------------------------------------------------------------ TScreen

const TClassInfo& TScreen::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo(TClassBuilder<TScreen>("TScreen", TComponent::StaticClass())
        .Integer("Width", &TScreen::Width)
        .Integer("Height", &TScreen::Height)
        .Build());
    return Info;
}

TScreen::TScreen(TComponent* AOwner) : TComponent(AOwner) {}

TCustomForm* TScreen::ActiveForm() const noexcept
{
    return GetParentForm(FindControl(GetActiveWindow()));
}

int TScreen::Width() const noexcept
{
    return GetSystemMetrics(SM_CXSCREEN);
}

int TScreen::Height() const noexcept
{
    return GetSystemMetrics(SM_CYSCREEN);
}

TFont* TScreen::MenuFont()
{
    if (!FMenuFont) {
        NONCLIENTMETRICSW Metrics{};
        Metrics.cbSize = sizeof Metrics;
        FMenuFont.emplace();
        if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof Metrics, &Metrics, 0))
            FMenuFont->SetLogFont(Metrics.lfMenuFont);
    }
    return &*FMenuFont;
}

namespace {
// The screen is made first so that it is freed last: forms leave its list
// when the application frees them.
TScreen GScreen(nullptr);
TApplication GApplication(nullptr);
} // namespace

TApplication* const Application = &GApplication;
TScreen* const Screen = &GScreen;
