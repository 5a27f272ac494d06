#include "StdCtrls.h"

#include "SysUtils.h"

#include <algorithm>

// ------------------------------------------------------------ TCustomLabel

const TClassInfo& TCustomLabel::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo(TClassBuilder<TCustomLabel>("TCustomLabel", TGraphicControl::StaticClass())
        .Bool("AutoSize", &TCustomLabel::AutoSize, &TCustomLabel::SetAutoSize)
        .Bool("Transparent", &TCustomLabel::Transparent, &TCustomLabel::SetTransparent)
        .Enum("Alignment", {"taLeftJustify", "taRightJustify", "taCenter"}, &TCustomLabel::Alignment,
              &TCustomLabel::SetAlignment)
        .Bool("WordWrap", &TCustomLabel::WordWrap, &TCustomLabel::SetWordWrap)
        .Bool("ShowAccelChar", &TCustomLabel::ShowAccelChar, &TCustomLabel::SetShowAccelChar)
        .Build());
    return Info;
}

const TClassInfo& TLabel::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo("TLabel", &TCustomLabel::StaticClass(), {});
    return Info;
}

TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner)
{
    FWidth = 65;
    FHeight = 17;
    SetParentColor(true);
}

void TCustomLabel::SetAutoSize(bool Value)
{
    FAutoSize = Value;
    AdjustBounds();
}

void TCustomLabel::SetTransparent(bool Value)
{
    FTransparent = Value;
    Invalidate();
}

void TCustomLabel::SetAlignment(TAlignment Value)
{
    FAlignment = Value;
    Invalidate();
}

void TCustomLabel::SetWordWrap(bool Value)
{
    FWordWrap = Value;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool Value)
{
    FShowAccelChar = Value;
    AdjustBounds();
    Invalidate();
}

UINT TCustomLabel::TextFlags() const noexcept
{
    UINT Flags = DT_EXPANDTABS | (FWordWrap ? DT_WORDBREAK : 0);
    if (!FShowAccelChar)
        Flags |= DT_NOPREFIX;
    if (FAlignment == taRightJustify)
        Flags |= DT_RIGHT;
    else if (FAlignment == taCenter)
        Flags |= DT_CENTER;
    return Flags;
}

void TCustomLabel::AdjustBounds()
{
    if (!FAutoSize)
        return;
    const gdi::ClientDC Screen(nullptr);
    const gdi::Selection Selected(Screen.Get(), Font()->Handle());
    std::wstring Text = Caption();
    if (Text.empty())
        Text = L" ";
    RECT R{0, 0, FWordWrap ? Width() : 0, 0};
    DrawTextW(Screen.Get(), Text.c_str(), static_cast<int>(Text.size()), &R, TextFlags() | DT_CALCRECT);
    int NewLeft = Left();
    if (FAlignment == taRightJustify)
        NewLeft += Width() - R.right;
    else if (FAlignment == taCenter)
        NewLeft += (Width() - R.right) / 2;
    SetBounds(NewLeft, Top(), R.right, R.bottom);
}

void TCustomLabel::WndProc(TMessage& Message)
{
    TGraphicControl::WndProc(Message);
    if (Message.Msg == CM_TEXTCHANGED || Message.Msg == CM_FONTCHANGED)
        AdjustBounds();
}

void TCustomLabel::Paint()
{
    TCanvas& C = Canvas();
    RECT R{0, 0, Width(), Height()};
    if (!FTransparent) {
        C.Brush().SetStyle(bsSolid);
        C.Brush().SetColor(Color());
        C.FillRect(R);
    }
    C.Brush().SetStyle(bsClear);
    const std::wstring Text = Caption();
    if (!Enabled()) {
        C.Font().SetColor(SystemColour(COLOR_BTNHIGHLIGHT));
        RECT Shadow = R;
        OffsetRect(&Shadow, 1, 1);
        C.DrawText(Text, Shadow, TextFlags());
        C.Font().SetColor(SystemColour(COLOR_GRAYTEXT));
    }
    C.DrawText(Text, R, TextFlags());
}

// --------------------------------------------------------- TCustomComboBox

const TClassInfo& TCustomComboBox::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo(TClassBuilder<TCustomComboBox>("TCustomComboBox", TWinControl::StaticClass())
        .Enum("Style", {"csDropDown", "csSimple", "csDropDownList", "csOwnerDrawFixed", "csOwnerDrawVariable"},
              &TCustomComboBox::Style, &TCustomComboBox::SetStyle)
        .Integer("ItemIndex", &TCustomComboBox::ItemIndex, &TCustomComboBox::SetItemIndex)
        .Integer("DropDownCount", &TCustomComboBox::DropDownCount, &TCustomComboBox::SetDropDownCount)
        .Object("Items", TStrings::StaticClass(),
                [](const TCustomComboBox& C) -> TObject* { return &const_cast<TCustomComboBox&>(C).FItems; })
        .Build());
    return Info;
}

const TClassInfo& TComboBox::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo("TComboBox", &TCustomComboBox::StaticClass(), {});
    return Info;
}

TCustomComboBox::TCustomComboBox(TComponent* AOwner) : TWinControl(AOwner)
{
    FWidth = 145;
    FHeight = 21;
    FClickEvents = false;
    SetTabStop(true);
    SetColor(clWindow);
    FItems.OnChange = TNotifyEvent::Bind<&TCustomComboBox::ItemsChanged>(this);
}

TCustomComboBox::~TCustomComboBox()
{
    FItems.OnChange = TNotifyEvent();
}

void TCustomComboBox::SetStyle(TComboBoxStyle Value)
{
    SetCreationProperty(FStyle, Value);
}

int TCustomComboBox::ItemIndex() const
{
    if (const HWND Window = HandleIfAllocated())
        return static_cast<int>(SendMessageW(Window, CB_GETCURSEL, 0, 0));
    return FItemIndex;
}

void TCustomComboBox::SetItemIndex(int Value)
{
    if (Value < 0 || Value >= FItems.Count())
        Value = -1;
    FItemIndex = Value;
    if (const HWND Window = HandleIfAllocated())
        SendMessageW(Window, CB_SETCURSEL, static_cast<WPARAM>(Value), 0);
    if (HandleAllocated())
        return;
    if (Value >= 0)
        FText = FItems[Value];
    else if (FStyle != csDropDown && FStyle != csSimple)
        FText.clear();
}

void TCustomComboBox::SetDropDownCount(int Value)
{
    FDropDownCount = std::max(Value, 1);
    UpdateWindowBounds();
}

int TCustomComboBox::DropDownHeight() const
{
    const HWND Window = HandleIfAllocated();
    const auto ItemHeight = Window ? SendMessageW(Window, CB_GETITEMHEIGHT, 0, 0) : 16;
    return FDropDownCount * static_cast<int>(std::max<LRESULT>(ItemHeight, 1)) + 2;
}

// The window's height includes the dropped-down list; Height is the closed
// box as the user sees it.
void TCustomComboBox::UpdateWindowBounds()
{
    if (const HWND Window = HandleIfAllocated())
        SetWindowPos(Window, nullptr, Left(), Top(), Width(), Height() + DropDownHeight(),
                     SWP_NOZORDER | SWP_NOACTIVATE);
}

void TCustomComboBox::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.BaseClass = L"COMBOBOX";
    Params.Style |= WS_VSCROLL | CBS_AUTOHSCROLL | CBS_HASSTRINGS;
    switch (FStyle) {
    case csSimple:
        Params.Style |= CBS_SIMPLE;
        break;
    case csDropDownList:
        Params.Style |= CBS_DROPDOWNLIST;
        break;
    case csOwnerDrawFixed:
        Params.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED;
        break;
    case csOwnerDrawVariable:
        Params.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE;
        break;
    default:
        Params.Style |= CBS_DROPDOWN;
        break;
    }
    if (FStyle != csSimple)
        Params.Height += DropDownHeight();
}

void TCustomComboBox::CreateWnd()
{
    TWinControl::CreateWnd();
    const std::wstring Text = FText;
    FillWindow();
    if (FItemIndex < 0 && FStyle != csDropDownList && FStyle != csOwnerDrawFixed && FStyle != csOwnerDrawVariable)
        SetWindowTextW(HandleIfAllocated(), Text.c_str());
}

void TCustomComboBox::DestroyWnd()
{
    FItemIndex = ItemIndex();
    TWinControl::DestroyWnd();
}

void TCustomComboBox::FillWindow()
{
    const HWND Window = HandleIfAllocated();
    SendMessageW(Window, WM_SETREDRAW, FALSE, 0);
    SendMessageW(Window, CB_RESETCONTENT, 0, 0);
    for (const std::wstring& Item : FItems.Lines())
        SendMessageW(Window, CB_ADDSTRING, 0, AsLParam(Item.c_str()));
    SendMessageW(Window, CB_SETCURSEL, static_cast<WPARAM>(FItemIndex), 0);
    SendMessageW(Window, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(Window, nullptr, TRUE);
}

void TCustomComboBox::ItemsChanged(TObject*)
{
    const int Index = ItemIndex();
    FItemIndex = Index < FItems.Count() ? Index : -1;
    if (HandleAllocated())
        FillWindow();
}

void TCustomComboBox::WndProc(TMessage& Message)
{
    // A list-only box can show nothing but an item: text picks the item.
    if (Message.Msg == WM_SETTEXT && FStyle != csDropDown && FStyle != csSimple) {
        SetItemIndex(Message.LParam ? FItems.IndexOf(AsPointer<const wchar_t>(Message.LParam)) : -1);
        Message.Result = TRUE;
        return;
    }
    if (Message.Msg == CN_COMMAND) {
        const WORD Code = HIWORD(Message.WParam);
        if (Code == CBN_SELCHANGE || Code == CBN_EDITCHANGE) {
            FItemIndex = ItemIndex();
            if (OnChange)
                OnChange(this);
        }
        return;
    }
    TWinControl::WndProc(Message);
}
