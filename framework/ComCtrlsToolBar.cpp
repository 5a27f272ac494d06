// The tool bar and its buttons.
#include "ComCtrls.h"

#include "ComCtrlsShared.h"
#include "SysUtils.h"

#include <commctrl.h>

#include <algorithm>

// -------------------------------------------------------------- TToolButton

const TClassInfo& TToolButton::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo(TClassBuilder<TToolButton>("TToolButton", TComponent::StaticClass())
        .WideText("Caption", &TToolButton::Caption, &TToolButton::SetCaption)
        .Integer("ImageIndex", &TToolButton::ImageIndex, &TToolButton::SetImageIndex)
        .Enum("Style", {"tbsButton", "tbsCheck", "tbsDropDown", "tbsSeparator", "tbsDivider"}, &TToolButton::Style,
              &TToolButton::SetStyle)
        .Bool("Down", &TToolButton::Down, &TToolButton::SetDown)
        .Bool("Enabled", &TToolButton::Enabled, &TToolButton::SetEnabled)
        .Bool("Grouped", &TToolButton::Grouped, &TToolButton::SetGrouped)
        .Build());
    return Info;
}

TToolButton::TToolButton(TComponent* AOwner) : TComponent(AOwner) {}

TToolButton::~TToolButton()
{
    SetToolBar(nullptr);
}

void TToolButton::SetToolBar(TToolBar* Value)
{
    if (Value == FToolBar)
        return;
    if (FToolBar)
        FToolBar->RemoveButton(this);
    FToolBar = Value;
    if (FToolBar)
        FToolBar->InsertButton(this);
}

void TToolButton::Changed()
{
    if (FToolBar)
        FToolBar->RebuildButtons();
}

void TToolButton::SetCaption(const std::wstring& Value)
{
    FCaption = Value;
    Changed();
}

void TToolButton::SetImageIndex(int Value)
{
    FImageIndex = Value;
    Changed();
}

void TToolButton::SetStyle(TToolButtonStyle Value)
{
    FStyle = Value;
    Changed();
}

bool TToolButton::Down() const
{
    if (FToolBar && FToolBar->HandleAllocated()) {
        const auto& Buttons = FToolBar->FButtons;
        const auto Index = std::find(Buttons.begin(), Buttons.end(), this) - Buttons.begin();
        return SendMessageW(FToolBar->HandleIfAllocated(), TB_ISBUTTONCHECKED, static_cast<WPARAM>(Index + 1), 0) != 0;
    }
    return FDown;
}

void TToolButton::SetDown(bool Value)
{
    FDown = Value;
    Changed();
}

void TToolButton::SetEnabled(bool Value)
{
    FEnabled = Value;
    Changed();
}

void TToolButton::SetGrouped(bool Value)
{
    FGrouped = Value;
    Changed();
}

void TToolButton::Click()
{
    if (FStyle == tbsCheck)
        FDown = Down();
    if (OnClick)
        OnClick(this);
}

// ----------------------------------------------------------------- TToolBar

const TClassInfo& TToolBar::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo(TClassBuilder<TToolBar>("TToolBar", TWinControl::StaticClass())
        .Object("Images", TCustomImageList::StaticClass(), &TToolBar::Images,
                [](TToolBar& T, TObject* V) { T.SetImages(AsImageList(V)); })
        .Bool("Flat", &TToolBar::Flat, &TToolBar::SetFlat)
        .Bool("ShowCaptions", &TToolBar::ShowCaptions, &TToolBar::SetShowCaptions)
        .Bool("List", &TToolBar::List, &TToolBar::SetList)
        .Integer("ButtonCount", &TToolBar::ButtonCount)
        .Build());
    return Info;
}

TToolBar::TToolBar(TComponent* AOwner) : TWinControl(AOwner)
{
    FWidth = 150;
    FHeight = 29;
    FClickEvents = false;
    SetAlign(alTop);
}

// The buttons may outlive the bar (they are components of the form).
TToolBar::~TToolBar()
{
    for (TToolButton* Button : FButtons)
        Button->FToolBar = nullptr;
}

void TToolBar::InsertButton(TToolButton* Button)
{
    FButtons.push_back(Button);
    RebuildButtons();
}

void TToolBar::RemoveButton(TToolButton* Button)
{
    std::erase(FButtons, Button);
    RebuildButtons();
}

void TToolBar::Notification(TComponent* AComponent, TOperation Operation)
{
    TWinControl::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FImages)
        SetImages(nullptr);
}

void TToolBar::SetImages(TCustomImageList* Value)
{
    LinkImageList(this, FImages, Value);
    RebuildButtons();
}

void TToolBar::SetFlat(bool Value)
{
    SetCreationProperty(FFlat, Value);
}

void TToolBar::SetShowCaptions(bool Value)
{
    FShowCaptions = Value;
    RebuildButtons();
}

void TToolBar::SetList(bool Value)
{
    SetCreationProperty(FList, Value);
}

void TToolBar::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.BaseClass = TOOLBARCLASSNAMEW;
    // The framework places the bar; the control must not move itself.
    Params.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER | TBSTYLE_TOOLTIPS;
    if (FFlat)
        Params.Style |= TBSTYLE_FLAT;
    if (FList)
        Params.Style |= TBSTYLE_LIST;
}

void TToolBar::CreateWnd()
{
    TWinControl::CreateWnd();
    SendMessageW(HandleIfAllocated(), TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    RebuildButtons();
}

void TToolBar::DestroyWnd()
{
    for (TToolButton* Button : FButtons)
        Button->FDown = Button->Down();
    TWinControl::DestroyWnd();
}

void TToolBar::RebuildButtons()
{
    const HWND Window = HandleIfAllocated();
    if (!Window || Destroying())
        return;
    SendMessageW(Window, WM_SETREDRAW, FALSE, 0);
    while (SendMessageW(Window, TB_BUTTONCOUNT, 0, 0) > 0)
        SendMessageW(Window, TB_DELETEBUTTON, 0, 0);
    SendMessageW(Window, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(FImages ? FImages->Handle() : nullptr));
    std::vector<TBBUTTON> Buttons;
    std::vector<std::wstring> Texts;
    Texts.reserve(FButtons.size());
    for (size_t I = 0; I < FButtons.size(); ++I) {
        const TToolButton& Source = *FButtons[I];
        TBBUTTON Button{};
        Button.idCommand = static_cast<int>(I + 1);
        Button.iBitmap = Source.FStyle == tbsSeparator || Source.FStyle == tbsDivider ? 8 : Source.FImageIndex;
        Button.fsState = static_cast<BYTE>((Source.FEnabled ? TBSTATE_ENABLED : 0) | (Source.FDown ? TBSTATE_CHECKED : 0));
        switch (Source.FStyle) {
        case tbsCheck:
            Button.fsStyle = static_cast<BYTE>(TBSTYLE_CHECK | (Source.FGrouped ? TBSTYLE_GROUP : 0));
            break;
        case tbsDropDown:
            Button.fsStyle = TBSTYLE_DROPDOWN;
            break;
        case tbsSeparator:
        case tbsDivider:
            Button.fsStyle = TBSTYLE_SEP;
            break;
        default:
            Button.fsStyle = TBSTYLE_BUTTON;
            break;
        }
        if (FShowCaptions && !Source.FCaption.empty()) {
            Texts.push_back(Source.FCaption);
            Button.iString = reinterpret_cast<INT_PTR>(Texts.back().c_str());
        } else {
            Button.iString = -1;
        }
        Buttons.push_back(Button);
    }
    if (!Buttons.empty())
        SendMessageW(Window, TB_ADDBUTTONSW, Buttons.size(), AsLParam(Buttons.data()));
    SendMessageW(Window, TB_AUTOSIZE, 0, 0);
    SendMessageW(Window, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(Window, nullptr, TRUE);
}

void TToolBar::WndProc(TMessage& Message)
{
    // The buttons report to the bar's parent, which reflects them here.
    if (Message.Msg == CN_COMMAND) {
        const size_t Index = LOWORD(Message.WParam);
        if (Index >= 1 && Index <= FButtons.size())
            FButtons[Index - 1]->Click();
        return;
    }
    TWinControl::WndProc(Message);
}
