// Button-type standard controls: push buttons, check boxes, radio buttons
// and group boxes.
#include "StdCtrls.h"

#include "StdCtrlsShared.h"
#include "SysUtils.h"

#include <algorithm>

// ----------------------------------------------------------- TButtonControl


const TClassInfo& TButtonControl::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo("TButtonControl", &TWinControl::StaticClass(), {});
    return Info;
}

TButtonControl::TButtonControl(TComponent* AOwner) : TWinControl(AOwner)
{
    FClickEvents = false;
    SetTabStop(true);
}

void TButtonControl::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.BaseClass = L"BUTTON";
}

void TButtonControl::WndProc(TMessage& Message)
{
    if (Message.Msg == CN_COMMAND) {
        if (HIWORD(Message.WParam) == BN_CLICKED)
            ButtonClicked();
        return;
    }
    TWinControl::WndProc(Message);
}

// ------------------------------------------------------------------ TButton

const TClassInfo& TButton::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo(TClassBuilder<TButton>("TButton", TButtonControl::StaticClass())
        .Bool("Default", &TButton::Default, &TButton::SetDefault)
        .Bool("Cancel", &TButton::Cancel, &TButton::SetCancel)
        .Field("ModalResult", &TButton::ModalResult)
        .Build());
    return Info;
}

TButton::TButton(TComponent* AOwner) : TButtonControl(AOwner)
{
    FWidth = 75;
    FHeight = 25;
}

void TButton::SetDefault(bool Value)
{
    FDefault = Value;
    if (const HWND Window = HandleIfAllocated())
        SendMessageW(Window, BM_SETSTYLE, Value ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::CreateParams(TCreateParams& Params)
{
    TButtonControl::CreateParams(Params);
    Params.Style |= FDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::Click()
{
    if (ModalResult != 0) {
        // The form is known here only as the top of the parent chain.
        TControl* Form = this;
        while (Form->Parent())
            Form = Form->Parent();
        SetOrdProp(Form, "ModalResult", ModalResult);
    }
    TButtonControl::Click();
}

void TButton::WndProc(TMessage& Message)
{
    // Enter and Escape reach the form's buttons through the form.
    if (Message.Msg == CM_DIALOGKEY && Enabled() && Visible() &&
        ((Message.WParam == VK_RETURN && FDefault) || (Message.WParam == VK_ESCAPE && FCancel))) {
        Click();
        Message.Result = 1;
        return;
    }
    TButtonControl::WndProc(Message);
}

// ---------------------------------------------------------- TCustomCheckBox

const TClassInfo& TCustomCheckBox::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo(TClassBuilder<TCustomCheckBox>("TCustomCheckBox", TButtonControl::StaticClass())
        .Enum("State", {"cbUnchecked", "cbChecked", "cbGrayed"}, &TCustomCheckBox::State, &TCustomCheckBox::SetState)
        .Bool("Checked", &TCustomCheckBox::Checked, &TCustomCheckBox::SetChecked)
        .Bool("AllowGrayed", &TCustomCheckBox::AllowGrayed, &TCustomCheckBox::SetAllowGrayed)
        .Enum("Alignment", AlignmentNames, &TCustomCheckBox::Alignment, &TCustomCheckBox::SetAlignment)
        .Build());
    return Info;
}

const TClassInfo& TCheckBox::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo("TCheckBox", &TCustomCheckBox::StaticClass(), {});
    return Info;
}

TCustomCheckBox::TCustomCheckBox(TComponent* AOwner) : TButtonControl(AOwner)
{
    FWidth = 97;
    FHeight = 17;
}

void TCustomCheckBox::SetState(TCheckBoxState Value)
{
    if (Value == FState)
        return;
    FState = Value;
    if (const HWND Window = HandleIfAllocated())
        SendMessageW(Window, BM_SETCHECK, static_cast<WPARAM>(FState), 0);
}

void TCustomCheckBox::SetAlignment(TAlignment Value)
{
    SetCreationProperty(FAlignment, Value);
}

void TCustomCheckBox::CreateParams(TCreateParams& Params)
{
    TButtonControl::CreateParams(Params);
    // The object decides the next state; the platform only shows it.
    Params.Style |= BS_3STATE;
    if (FAlignment == taLeftJustify)
        Params.Style |= BS_LEFTTEXT;
}

void TCustomCheckBox::CreateWnd()
{
    TButtonControl::CreateWnd();
    SendMessageW(HandleIfAllocated(), BM_SETCHECK, static_cast<WPARAM>(FState), 0);
}

void TCustomCheckBox::ButtonClicked()
{
    switch (FState) {
    case cbUnchecked:
        SetState(cbChecked);
        break;
    case cbChecked:
        SetState(FAllowGrayed ? cbGrayed : cbUnchecked);
        break;
    case cbGrayed:
        SetState(cbUnchecked);
        break;
    }
    Click();
}

// ------------------------------------------------------------- TRadioButton

const TClassInfo& TRadioButton::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo(TClassBuilder<TRadioButton>("TRadioButton", TButtonControl::StaticClass())
        .Bool("Checked", &TRadioButton::Checked, &TRadioButton::SetChecked)
        .Enum("Alignment", AlignmentNames, &TRadioButton::Alignment, &TRadioButton::SetAlignment)
        .Build());
    return Info;
}

TRadioButton::TRadioButton(TComponent* AOwner) : TButtonControl(AOwner)
{
    FWidth = 113;
    FHeight = 17;
}

void TRadioButton::SetChecked(bool Value)
{
    if (Value == FChecked)
        return;
    FChecked = Value;
    if (const HWND Window = HandleIfAllocated())
        SendMessageW(Window, BM_SETCHECK, Value ? BST_CHECKED : BST_UNCHECKED, 0);
    if (!Value || !Parent())
        return;
    for (int I = 0; I < Parent()->ControlCount(); ++I)
        if (TControl* Sibling = Parent()->Controls(I); Sibling != this && Sibling->Is<TRadioButton>())
            static_cast<TRadioButton*>(Sibling)->SetChecked(false);
}

void TRadioButton::SetAlignment(TAlignment Value)
{
    SetCreationProperty(FAlignment, Value);
}

void TRadioButton::CreateParams(TCreateParams& Params)
{
    TButtonControl::CreateParams(Params);
    Params.Style |= BS_RADIOBUTTON;
    if (FAlignment == taLeftJustify)
        Params.Style |= BS_LEFTTEXT;
}

void TRadioButton::CreateWnd()
{
    TButtonControl::CreateWnd();
    SendMessageW(HandleIfAllocated(), BM_SETCHECK, FChecked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioButton::ButtonClicked()
{
    SetChecked(true);
    Click();
}

// ---------------------------------------------------------- TCustomGroupBox

const TClassInfo& TCustomGroupBox::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo(TClassBuilder<TCustomGroupBox>("TCustomGroupBox", TWinControl::StaticClass())
        .Bool("ParentBackground", &TCustomGroupBox::ParentBackground, &TCustomGroupBox::SetParentBackground)
        .Build());
    return Info;
}

const TClassInfo& TGroupBox::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo("TGroupBox", &TCustomGroupBox::StaticClass(), {});
    return Info;
}

TCustomGroupBox::TCustomGroupBox(TComponent* AOwner) : TWinControl(AOwner)
{
    FWidth = 185;
    FHeight = 105;
    FClickEvents = false;
}

void TCustomGroupBox::SetParentBackground(bool Value)
{
    FParentBackground = Value;
    Invalidate();
}

void TCustomGroupBox::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.BaseClass = L"BUTTON";
    Params.Style |= BS_GROUPBOX | WS_CLIPCHILDREN;
}

void TCustomGroupBox::WndProc(TMessage& Message)
{
    // The platform's frame paints only its lines and caption.
    if (Message.Msg == WM_ERASEBKGND) {
        RECT Client;
        GetClientRect(HandleIfAllocated(), &Client);
        const TColor Fill = FParentBackground && Parent() ? Parent()->Color() : Color();
        const gdi::Brush Brush(CreateSolidBrush(ColorToRGB(Fill)));
        FillRect(reinterpret_cast<HDC>(Message.WParam), &Client, Brush.Get());
        Message.Result = 1;
        return;
    }
    TWinControl::WndProc(Message);
}
