#include "StdCtrls.h"

#include "StdCtrlsShared.h"
#include "SysUtils.h"

#include <algorithm>

namespace {

// Puts every item into a list-type window (list box, combo box) in place of
// what it held, with its drawing held off until the caller has set the
// selection and turns it back on.
void RefillItems(HWND Window, const TStrings& Items, UINT ResetMessage, UINT AddMessage)
{
    SendMessageW(Window, WM_SETREDRAW, FALSE, 0);
    SendMessageW(Window, ResetMessage, 0, 0);
    for (const std::wstring& Item : Items.Lines())
        SendMessageW(Window, AddMessage, 0, AsLParam(Item.c_str()));
}

} // namespace

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

void TCustomLabel::ChangeScale(int M, int D)
{
    TGraphicControl::ChangeScale(M, D);
    AdjustBounds();
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
    // Owner-drawn boxes keep their strings too, so whoever draws an item
    // (and the accessibility tools) can read its text.
    case csOwnerDrawFixed:
        Params.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS;
        break;
    case csOwnerDrawVariable:
        Params.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE | CBS_HASSTRINGS;
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
    RefillItems(Window, FItems, CB_RESETCONTENT, CB_ADDSTRING);
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

// -------------------------------------------------------------- TCustomEdit

namespace {
const std::vector<std::string> ControlBorderNames{"bsNone", "bsSingle"};
const std::vector<std::string> ScrollStyleNames{"ssNone", "ssHorizontal", "ssVertical", "ssBoth"};

DWORD ScrollBarStyle(TScrollStyle Bars) noexcept
{
    return (Bars == ssHorizontal || Bars == ssBoth ? WS_HSCROLL : 0u) |
           (Bars == ssVertical || Bars == ssBoth ? WS_VSCROLL : 0u);
}
} // namespace

const TClassInfo& TCustomEdit::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo(TClassBuilder<TCustomEdit>("TCustomEdit", TWinControl::StaticClass())
        .Bool("ReadOnly", &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly)
        .Integer("MaxLength", &TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength)
        .Integer("PasswordChar", &TCustomEdit::PasswordChar, &TCustomEdit::SetPasswordChar)
        .Enum("BorderStyle", ControlBorderNames, &TCustomEdit::BorderStyle, &TCustomEdit::SetBorderStyle)
        .Enum("Alignment", AlignmentNames, &TCustomEdit::Alignment, &TCustomEdit::SetAlignment)
        .Build());
    return Info;
}

const TClassInfo& TEdit::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo("TEdit", &TCustomEdit::StaticClass(), {});
    return Info;
}

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner)
{
    FWidth = 121;
    FHeight = 21;
    FClickEvents = false;
    SetTabStop(true);
    SetColor(clWindow);
}

void TCustomEdit::SetReadOnly(bool Value)
{
    FReadOnly = Value;
    if (const HWND Window = HandleIfAllocated())
        SendMessageW(Window, EM_SETREADONLY, Value, 0);
}

void TCustomEdit::SetMaxLength(int Value)
{
    FMaxLength = std::max(0, Value);
    if (const HWND Window = HandleIfAllocated())
        SendMessageW(Window, EM_LIMITTEXT, static_cast<WPARAM>(FMaxLength), 0);
}

void TCustomEdit::SetPasswordChar(wchar_t Value)
{
    FPasswordChar = Value;
    if (const HWND Window = HandleIfAllocated()) {
        SendMessageW(Window, EM_SETPASSWORDCHAR, Value, 0);
        InvalidateRect(Window, nullptr, TRUE);
    }
}

void TCustomEdit::SetBorderStyle(TBorderStyle Value)
{
    SetCreationProperty(FBorderStyle, Value == bsNone ? bsNone : bsSingle);
}

void TCustomEdit::SetAlignment(TAlignment Value)
{
    SetCreationProperty(FAlignment, Value);
}

void TCustomEdit::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.BaseClass = L"EDIT";
    Params.Style |= ES_AUTOHSCROLL | (FAlignment == taRightJustify ? ES_RIGHT : FAlignment == taCenter ? ES_CENTER : 0);
    if (FBorderStyle == bsSingle)
        Params.ExStyle |= WS_EX_CLIENTEDGE;
    if (FReadOnly)
        Params.Style |= ES_READONLY;
    if (FPasswordChar)
        Params.Style |= ES_PASSWORD;
}

void TCustomEdit::CreateWnd()
{
    TWinControl::CreateWnd();
    const HWND Window = HandleIfAllocated();
    SendMessageW(Window, EM_LIMITTEXT, static_cast<WPARAM>(FMaxLength), 0);
    if (FPasswordChar)
        SendMessageW(Window, EM_SETPASSWORDCHAR, FPasswordChar, 0);
}

void TCustomEdit::Change()
{
    if (OnChange)
        OnChange(this);
}

void TCustomEdit::WndProc(TMessage& Message)
{
    if (Message.Msg == CN_COMMAND) {
        if (HIWORD(Message.WParam) == EN_CHANGE)
            Change();
        return;
    }
    TWinControl::WndProc(Message);
}

// -------------------------------------------------------------- TCustomMemo

const TClassInfo& TCustomMemo::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo(TClassBuilder<TCustomMemo>("TCustomMemo", TCustomEdit::StaticClass())
        .Enum("ScrollBars", ScrollStyleNames, &TCustomMemo::ScrollBars, &TCustomMemo::SetScrollBars)
        .Bool("WordWrap", &TCustomMemo::WordWrap, &TCustomMemo::SetWordWrap)
        .Bool("WantReturns", &TCustomMemo::WantReturns, &TCustomMemo::SetWantReturns)
        .Bool("WantTabs", &TCustomMemo::WantTabs, &TCustomMemo::SetWantTabs)
        .Object("Lines", TStrings::StaticClass(),
                [](const TCustomMemo& M) -> TObject* { return &const_cast<TCustomMemo&>(M).FLines; })
        .Build());
    return Info;
}

const TClassInfo& TMemo::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo("TMemo", &TCustomMemo::StaticClass(), {});
    return Info;
}

TCustomMemo::TCustomMemo(TComponent* AOwner) : TCustomEdit(AOwner)
{
    FWidth = 185;
    FHeight = 89;
    FLines.OnChange = TNotifyEvent::Bind<&TCustomMemo::LinesChanged>(this);
}

TCustomMemo::~TCustomMemo()
{
    FLines.OnChange = TNotifyEvent();
}

void TCustomMemo::SetScrollBars(TScrollStyle Value)
{
    SetCreationProperty(FScrollBars, Value);
}

void TCustomMemo::SetWordWrap(bool Value)
{
    SetCreationProperty(FWordWrap, Value);
}

void TCustomMemo::CreateParams(TCreateParams& Params)
{
    TCustomEdit::CreateParams(Params);
    Params.Style |= ES_MULTILINE | ES_AUTOVSCROLL | ScrollBarStyle(FScrollBars);
    if (FWordWrap)
        Params.Style &= ~static_cast<DWORD>(ES_AUTOHSCROLL | WS_HSCROLL);
    if (FWantReturns)
        Params.Style |= ES_WANTRETURN;
    Params.Caption = FLines.Text();
}

void TCustomMemo::CreateWnd()
{
    TCustomEdit::CreateWnd();
    const std::wstring Text = FLines.Text();
    SetWindowTextW(HandleIfAllocated(), Text.c_str());
}

void TCustomMemo::LinesChanged(TObject*)
{
    if (FSyncing)
        return;
    FSyncing = true;
    SetText(FLines.Text());
    FSyncing = false;
}

// What the user typed becomes Lines.
void TCustomMemo::Change()
{
    if (!FSyncing && HandleAllocated()) {
        FSyncing = true;
        FLines.SetText(Text());
        FSyncing = false;
    }
    TCustomEdit::Change();
}

void TCustomMemo::WndProc(TMessage& Message)
{
    if (Message.Msg == WM_GETDLGCODE) {
        TCustomEdit::WndProc(Message);
        if (!FWantTabs)
            Message.Result &= ~static_cast<LRESULT>(DLGC_WANTTAB);
        if (!FWantReturns)
            Message.Result &= ~static_cast<LRESULT>(DLGC_WANTALLKEYS);
        return;
    }
    TCustomEdit::WndProc(Message);
}

// ----------------------------------------------------------- TCustomListBox

const TClassInfo& TCustomListBox::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo(TClassBuilder<TCustomListBox>("TCustomListBox", TWinControl::StaticClass())
        .Integer("ItemIndex", &TCustomListBox::ItemIndex, &TCustomListBox::SetItemIndex)
        .Bool("MultiSelect", &TCustomListBox::MultiSelect, &TCustomListBox::SetMultiSelect)
        .Bool("Sorted", &TCustomListBox::Sorted, &TCustomListBox::SetSorted)
        .Enum("Style", {"lbStandard", "lbOwnerDrawFixed", "lbOwnerDrawVariable"}, &TCustomListBox::Style,
              &TCustomListBox::SetStyle)
        .Enum("BorderStyle", ControlBorderNames, &TCustomListBox::BorderStyle, &TCustomListBox::SetBorderStyle)
        .Bool("IntegralHeight", &TCustomListBox::IntegralHeight, &TCustomListBox::SetIntegralHeight)
        .Object("Items", TStrings::StaticClass(),
                [](const TCustomListBox& L) -> TObject* { return &const_cast<TCustomListBox&>(L).FItems; })
        .Build());
    return Info;
}

const TClassInfo& TListBox::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo("TListBox", &TCustomListBox::StaticClass(), {});
    return Info;
}

TCustomListBox::TCustomListBox(TComponent* AOwner) : TWinControl(AOwner)
{
    FWidth = 121;
    FHeight = 97;
    FClickEvents = false;
    SetTabStop(true);
    SetColor(clWindow);
    FItems.OnChange = TNotifyEvent::Bind<&TCustomListBox::ItemsChanged>(this);
}

TCustomListBox::~TCustomListBox()
{
    FItems.OnChange = TNotifyEvent();
}

int TCustomListBox::ItemIndex() const
{
    const HWND Window = HandleIfAllocated();
    if (!Window)
        return FItemIndex;
    if (FMultiSelect)
        return static_cast<int>(SendMessageW(Window, LB_GETCARETINDEX, 0, 0));
    return static_cast<int>(SendMessageW(Window, LB_GETCURSEL, 0, 0));
}

void TCustomListBox::SetItemIndex(int Value)
{
    if (Value < 0 || Value >= FItems.Count())
        Value = -1;
    FItemIndex = Value;
    const HWND Window = HandleIfAllocated();
    if (!Window)
        return;
    if (FMultiSelect) {
        SendMessageW(Window, LB_SETSEL, FALSE, static_cast<LPARAM>(-1));
        if (Value >= 0)
            SendMessageW(Window, LB_SETSEL, TRUE, Value);
        SendMessageW(Window, LB_SETCARETINDEX, static_cast<WPARAM>(Value), FALSE);
    } else {
        SendMessageW(Window, LB_SETCURSEL, static_cast<WPARAM>(Value), 0);
    }
}

bool TCustomListBox::Selected(int Index) const
{
    const HWND Window = HandleIfAllocated();
    if (!Window)
        return Index == FItemIndex && Index >= 0;
    return SendMessageW(Window, LB_GETSEL, static_cast<WPARAM>(Index), 0) > 0;
}

void TCustomListBox::SetMultiSelect(bool Value)
{
    SetCreationProperty(FMultiSelect, Value);
}

void TCustomListBox::SetSorted(bool Value)
{
    SetCreationProperty(FSorted, Value);
}

void TCustomListBox::SetStyle(TListBoxStyle Value)
{
    SetCreationProperty(FStyle, Value);
}

void TCustomListBox::SetBorderStyle(TBorderStyle Value)
{
    SetCreationProperty(FBorderStyle, Value == bsNone ? bsNone : bsSingle);
}

void TCustomListBox::SetIntegralHeight(bool Value)
{
    SetCreationProperty(FIntegralHeight, Value);
}

void TCustomListBox::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.BaseClass = L"LISTBOX";
    Params.Style |= WS_VSCROLL | LBS_NOTIFY | LBS_HASSTRINGS;
    if (!FIntegralHeight)
        Params.Style |= LBS_NOINTEGRALHEIGHT;
    if (FMultiSelect)
        Params.Style |= LBS_EXTENDEDSEL;
    if (FSorted)
        Params.Style |= LBS_SORT;
    if (FStyle == lbOwnerDrawFixed)
        Params.Style |= LBS_OWNERDRAWFIXED;
    else if (FStyle == lbOwnerDrawVariable)
        Params.Style |= LBS_OWNERDRAWVARIABLE;
    if (FBorderStyle == bsSingle)
        Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListBox::CreateWnd()
{
    TWinControl::CreateWnd();
    FillWindow();
}

void TCustomListBox::DestroyWnd()
{
    FItemIndex = ItemIndex();
    TWinControl::DestroyWnd();
}

void TCustomListBox::FillWindow()
{
    const HWND Window = HandleIfAllocated();
    RefillItems(Window, FItems, LB_RESETCONTENT, LB_ADDSTRING);
    SendMessageW(Window, WM_SETREDRAW, TRUE, 0);
    SetItemIndex(FItemIndex);
    InvalidateRect(Window, nullptr, TRUE);
}

void TCustomListBox::ItemsChanged(TObject*)
{
    const int Index = ItemIndex();
    FItemIndex = Index < FItems.Count() ? Index : -1;
    if (HandleAllocated())
        FillWindow();
}

void TCustomListBox::WndProc(TMessage& Message)
{
    if (Message.Msg == CN_COMMAND) {
        if (HIWORD(Message.WParam) == LBN_SELCHANGE) {
            FItemIndex = ItemIndex();
            Click();
        } else if (HIWORD(Message.WParam) == LBN_DBLCLK && OnDblClick) {
            OnDblClick(this);
        }
        return;
    }
    TWinControl::WndProc(Message);
}

// --------------------------------------------------------------- TScrollBar

const TClassInfo& TScrollBar::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo(TClassBuilder<TScrollBar>("TScrollBar", TWinControl::StaticClass())
        .Enum("Kind", {"sbHorizontal", "sbVertical"}, &TScrollBar::Kind, &TScrollBar::SetKind)
        .Integer("Min", &TScrollBar::Min, &TScrollBar::SetMin)
        .Integer("Max", &TScrollBar::Max, &TScrollBar::SetMax)
        .Integer("Position", &TScrollBar::Position, &TScrollBar::SetPosition)
        .Integer("PageSize", &TScrollBar::PageSize, &TScrollBar::SetPageSize)
        .Field("SmallChange", &TScrollBar::SmallChange)
        .Field("LargeChange", &TScrollBar::LargeChange)
        .Build());
    return Info;
}

TScrollBar::TScrollBar(TComponent* AOwner) : TWinControl(AOwner)
{
    FWidth = 121;
    FHeight = GetSystemMetrics(SM_CYHSCROLL);
    FClickEvents = false;
    SetTabStop(true);
}

void TScrollBar::SetKind(TScrollBarKind Value)
{
    if (Value == FKind)
        return;
    SetBounds(Left(), Top(), Height(), Width());
    SetCreationProperty(FKind, Value);
}

int TScrollBar::Highest() const noexcept
{
    return FPageSize > 0 ? std::max(FMin, FMax - FPageSize + 1) : FMax;
}

void TScrollBar::SetParams(int APosition, int AMin, int AMax)
{
    if (AMax < AMin)
        throw Exception(L"Scroll bar range: Max is below Min");
    FMin = AMin;
    FMax = AMax;
    const int Position = std::clamp(APosition, FMin, Highest());
    const bool Moved = Position != FPosition;
    FPosition = Position;
    UpdateWindow();
    if (Moved && OnChange)
        OnChange(this);
}

void TScrollBar::SetPageSize(int Value)
{
    FPageSize = std::clamp(Value, 0, FMax - FMin + 1);
    SetParams(FPosition, FMin, FMax);
}

void TScrollBar::UpdateWindow()
{
    const HWND Window = HandleIfAllocated();
    if (!Window)
        return;
    SCROLLINFO Info{sizeof Info, SIF_ALL | SIF_DISABLENOSCROLL, FMin, FMax, static_cast<UINT>(FPageSize), FPosition, 0};
    SetScrollInfo(Window, SB_CTL, &Info, TRUE);
}

void TScrollBar::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.BaseClass = L"SCROLLBAR";
    Params.Style |= FKind == sbHorizontal ? SBS_HORZ : SBS_VERT;
}

void TScrollBar::CreateWnd()
{
    TWinControl::CreateWnd();
    UpdateWindow();
}

void TScrollBar::WndProc(TMessage& Message)
{
    if (Message.Msg != CN_HSCROLL && Message.Msg != CN_VSCROLL) {
        TWinControl::WndProc(Message);
        return;
    }
    int Position = FPosition;
    switch (LOWORD(Message.WParam)) {
    case SB_LINEUP:
        Position -= SmallChange;
        break;
    case SB_LINEDOWN:
        Position += SmallChange;
        break;
    case SB_PAGEUP:
        Position -= LargeChange;
        break;
    case SB_PAGEDOWN:
        Position += LargeChange;
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        // The 32-bit position; the message carries only 16 bits.
        SCROLLINFO Info{sizeof Info, SIF_TRACKPOS, 0, 0, 0, 0, 0};
        GetScrollInfo(HandleIfAllocated(), SB_CTL, &Info);
        Position = Info.nTrackPos;
        break;
    }
    case SB_TOP:
        Position = FMin;
        break;
    case SB_BOTTOM:
        Position = FMax;
        break;
    default:
        return;
    }
    SetPosition(Position);
}
