#include "ComCtrls.h"

#include "SysUtils.h"

#include <commctrl.h>
#include <richedit.h>

#include <algorithm>
#include <cstdio>

namespace {

int ColumnFormat(TAlignment Alignment) noexcept
{
    return Alignment == taRightJustify ? LVCFMT_RIGHT : Alignment == taCenter ? LVCFMT_CENTER : LVCFMT_LEFT;
}

void CopyText(const std::wstring& Text, wchar_t* Buffer, int Room) noexcept
{
    if (!Buffer || Room <= 0)
        return;
    const auto Count = std::min(Text.size(), static_cast<size_t>(Room - 1));
    std::copy_n(Text.data(), Count, Buffer);
    Buffer[Count] = L'\0';
}

// The view asks for a stored row's texts when it shows them, so a row goes
// in with callback text only.
void InsertRow(HWND Window, int Index)
{
    LVITEMW Row{};
    Row.mask = LVIF_TEXT;
    Row.iItem = Index;
    Row.pszText = LPSTR_TEXTCALLBACKW;
    SendMessageW(Window, LVM_INSERTITEMW, 0, AsLParam(&Row));
}

} // namespace

// ------------------------------------------------------- columns and items

void TListColumn::SetCaption(const std::wstring& Value)
{
    FCaption = Value;
    FOwner.UpdateColumn(*this);
}

void TListColumn::SetWidth(int Value)
{
    FWidth = std::max(Value, 0);
    FOwner.UpdateColumn(*this);
}

void TListColumn::SetAutoSize(bool Value)
{
    FAutoSize = Value;
    FOwner.UpdateAutoWidths();
    FOwner.UpdateColumn(*this);
}

void TListColumn::SetAlignment(TAlignment Value)
{
    FAlignment = Value;
    FOwner.UpdateColumn(*this);
}

TListColumn& TListColumns::Add()
{
    FColumns.push_back(std::make_unique<TListColumn>(FOwner, Count()));
    FOwner.InsertColumnWindow(*FColumns.back());
    return *FColumns.back();
}

void TListColumns::Clear()
{
    FColumns.clear();
    FOwner.ColumnsCleared();
}

int TListItems::Count() const noexcept
{
    return FOwner.FOwnerData ? FCount : static_cast<int>(FItems.size());
}

void TListItems::SetCount(int Value)
{
    if (!FOwner.FOwnerData)
        throw EListError(L"Items.Count can only be set on an owner-data list view");
    if (Value < 0)
        throw EListError(L"Negative item count");
    FCount = Value;
    FOwner.UpdateCount();
}

TListItem* TListItems::Add()
{
    if (FOwner.FOwnerData)
        throw EListError(L"An owner-data list view keeps no items");
    FItems.push_back(std::make_unique<TListItem>(Count()));
    TListItem* Item = FItems.back().get();
    if (const HWND Window = FOwner.HandleIfAllocated()) {
        InsertRow(Window, Item->Index());
    }
    return Item;
}

void TListItems::Clear()
{
    FItems.clear();
    FCount = 0;
    if (const HWND Window = FOwner.HandleIfAllocated())
        SendMessageW(Window, LVM_DELETEALLITEMS, 0, 0);
}

TListItem* TListItems::Item(int Index) const noexcept
{
    if (Index < 0 || Index >= static_cast<int>(FItems.size()))
        return nullptr;
    return FItems[static_cast<size_t>(Index)].get();
}

// --------------------------------------------------------- TCustomListView

const TClassInfo& TCustomListView::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo(TClassBuilder<TCustomListView>("TCustomListView", TWinControl::StaticClass())
        .Enum("ViewStyle", {"vsIcon", "vsSmallIcon", "vsList", "vsReport"}, &TCustomListView::ViewStyle,
              &TCustomListView::SetViewStyle)
        .Bool("OwnerData", &TCustomListView::OwnerData, &TCustomListView::SetOwnerData)
        .Bool("GridLines", &TCustomListView::GridLines, &TCustomListView::SetGridLines)
        .Bool("RowSelect", &TCustomListView::RowSelect, &TCustomListView::SetRowSelect)
        .Bool("MultiSelect", &TCustomListView::MultiSelect, &TCustomListView::SetMultiSelect)
        .Bool("ReadOnly", &TCustomListView::ReadOnly, &TCustomListView::SetReadOnly)
        .Bool("HideSelection", &TCustomListView::HideSelection, &TCustomListView::SetHideSelection)
        .Bool("ShowColumnHeaders", &TCustomListView::ShowColumnHeaders, &TCustomListView::SetShowColumnHeaders)
        .Enum("BorderStyle", {"bsNone", "bsSingle"}, &TCustomListView::BorderStyle, &TCustomListView::SetBorderStyle)
        .Integer("ItemIndex", &TCustomListView::ItemIndex, &TCustomListView::SetItemIndex)
        .Build());
    return Info;
}

const TClassInfo& TListView::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo("TListView", &TCustomListView::StaticClass(), {});
    return Info;
}

TCustomListView::TCustomListView(TComponent* AOwner) : TWinControl(AOwner), FColumns(*this), FItems(*this)
{
    FWidth = 250;
    FHeight = 150;
    FClickEvents = false;
    SetTabStop(true);
    SetColor(clWindow);
}

void TCustomListView::SetViewStyle(TViewStyle Value)
{
    SetCreationProperty(FViewStyle, Value);
}

void TCustomListView::SetOwnerData(bool Value)
{
    if (Value == FOwnerData)
        return;
    FItems.Clear();
    FOwnerData = Value;
    RecreateWnd();
}

void TCustomListView::SetGridLines(bool Value)
{
    FGridLines = Value;
    UpdateExtendedStyle();
}

void TCustomListView::SetRowSelect(bool Value)
{
    FRowSelect = Value;
    UpdateExtendedStyle();
}

void TCustomListView::SetMultiSelect(bool Value)
{
    SetCreationProperty(FMultiSelect, Value);
}

void TCustomListView::SetReadOnly(bool Value)
{
    SetCreationProperty(FReadOnly, Value);
}

void TCustomListView::SetHideSelection(bool Value)
{
    SetCreationProperty(FHideSelection, Value);
}

void TCustomListView::SetShowColumnHeaders(bool Value)
{
    SetCreationProperty(FShowColumnHeaders, Value);
}

void TCustomListView::SetBorderStyle(TBorderStyle Value)
{
    SetCreationProperty(FBorderStyle, Value);
}

void TCustomListView::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.BaseClass = WC_LISTVIEWW;
    static constexpr DWORD Views[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
    Params.Style |= Views[FViewStyle] | LVS_SHAREIMAGELISTS;
    if (FOwnerData)
        Params.Style |= LVS_OWNERDATA;
    if (!FMultiSelect)
        Params.Style |= LVS_SINGLESEL;
    if (!FReadOnly)
        Params.Style |= LVS_EDITLABELS;
    if (!FHideSelection)
        Params.Style |= LVS_SHOWSELALWAYS;
    if (!FShowColumnHeaders)
        Params.Style |= LVS_NOCOLUMNHEADER;
    if (FBorderStyle == bsSingle)
        Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListView::CreateWnd()
{
    TWinControl::CreateWnd();
    UpdateExtendedStyle();
    for (int I = 0; I < FColumns.Count(); ++I)
        InsertColumnWindow(FColumns.Items(I));
    if (FOwnerData) {
        UpdateCount();
    } else {
        for (const auto& Item : FItems.FItems)
            InsertRow(HandleIfAllocated(), Item->Index());
    }
    SetItemIndex(FItemIndex);
}

void TCustomListView::DestroyWnd()
{
    FItemIndex = ItemIndex();
    TWinControl::DestroyWnd();
}

void TCustomListView::UpdateExtendedStyle()
{
    const HWND Window = HandleIfAllocated();
    if (!Window)
        return;
    const DWORD Mask = LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT;
    const DWORD Style = (FGridLines ? LVS_EX_GRIDLINES : 0) | (FRowSelect ? LVS_EX_FULLROWSELECT : 0);
    SendMessageW(Window, LVM_SETEXTENDEDLISTVIEWSTYLE, Mask, Style);
}

void TCustomListView::UpdateCount()
{
    if (const HWND Window = HandleIfAllocated())
        SendMessageW(Window, LVM_SETITEMCOUNT, static_cast<WPARAM>(FItems.FCount), 0);
}

int TCustomListView::ColumnWidth(int Index) const
{
    const TListColumn& Column = FColumns.Items(Index);
    if (!Column.AutoSize())
        return Column.Width();
    int Fixed = 0;
    int Auto = 0;
    for (int I = 0; I < FColumns.Count(); ++I) {
        const TListColumn& C = FColumns.Items(I);
        if (C.AutoSize())
            ++Auto;
        else
            Fixed += C.Width();
    }
    const int Left = std::max(0, static_cast<int>(ClientRect().right) - Fixed);
    // The first AutoSize column takes the remainder of the division.
    int Share = Left / Auto;
    for (int I = 0; I < FColumns.Count(); ++I) {
        if (!FColumns.Items(I).AutoSize())
            continue;
        if (I == Index)
            return Share + Left % Auto;
        break;
    }
    return Share;
}

void TCustomListView::SendColumn(HWND Window, UINT Message, const TListColumn& Column)
{
    LVCOLUMNW Info{};
    Info.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    Info.pszText = const_cast<wchar_t*>(Column.Caption().c_str());
    Info.cx = ColumnWidth(Column.Index());
    Info.fmt = ColumnFormat(Column.Alignment());
    SendMessageW(Window, Message, static_cast<WPARAM>(Column.Index()), AsLParam(&Info));
}

void TCustomListView::InsertColumnWindow(const TListColumn& Column)
{
    const HWND Window = HandleIfAllocated();
    if (!Window)
        return;
    SendColumn(Window, LVM_INSERTCOLUMNW, Column);
    UpdateAutoWidths();
}

void TCustomListView::ChangeScale(int M, int D)
{
    TWinControl::ChangeScale(M, D);
    for (int I = 0; I < FColumns.Count(); ++I) {
        TListColumn& Column = FColumns.Items(I);
        Column.SetWidth(ScaleValue(Column.Width(), M, D));
    }
    UpdateAutoWidths();
}

void TCustomListView::UpdateColumn(const TListColumn& Column)
{
    const HWND Window = HandleIfAllocated();
    if (!Window)
        return;
    SendColumn(Window, LVM_SETCOLUMNW, Column);
    if (!Column.AutoSize())
        UpdateAutoWidths();
}

void TCustomListView::UpdateAutoWidths()
{
    const HWND Window = HandleIfAllocated();
    if (!Window)
        return;
    for (int I = 0; I < FColumns.Count(); ++I)
        if (FColumns.Items(I).AutoSize())
            SendMessageW(Window, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(I), MAKELPARAM(ColumnWidth(I), 0));
}

void TCustomListView::ColumnsCleared()
{
    if (const HWND Window = HandleIfAllocated())
        while (SendMessageW(Window, LVM_DELETECOLUMN, 0, 0)) {
        }
}

int TCustomListView::ItemIndex() const
{
    if (const HWND Window = HandleIfAllocated())
        return static_cast<int>(SendMessageW(Window, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    return FItemIndex;
}

void TCustomListView::SetItemIndex(int Value)
{
    if (Value < 0 || Value >= FItems.Count())
        Value = -1;
    FItemIndex = Value;
    const HWND Window = HandleIfAllocated();
    if (!Window)
        return;
    LVITEMW State{};
    State.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(Window, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), AsLParam(&State));
    if (Value < 0)
        return;
    State.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(Window, LVM_SETITEMSTATE, static_cast<WPARAM>(Value), AsLParam(&State));
}

void TCustomListView::FillDispInfo(NMLVDISPINFOW& Info)
{
    LVITEMW& Row = Info.item;
    if (!(Row.mask & LVIF_TEXT))
        return;
    CopyText(L"", Row.pszText, Row.cchTextMax);
    TListItem Temporary(Row.iItem);
    TListItem* Item = nullptr;
    if (FOwnerData) {
        if (!OnData || Row.iItem < 0 || Row.iItem >= FItems.FCount)
            return;
        OnData(this, &Temporary);
        Item = &Temporary;
    } else {
        Item = FItems.Item(Row.iItem);
    }
    if (!Item)
        return;
    if (Row.iSubItem == 0)
        CopyText(Item->Caption, Row.pszText, Row.cchTextMax);
    else if (Row.iSubItem - 1 < Item->SubItems.Count())
        CopyText(Item->SubItems[Row.iSubItem - 1], Row.pszText, Row.cchTextMax);
}

void TCustomListView::WndProc(TMessage& Message)
{
    if (Message.Msg == CN_NOTIFY) {
        auto& Header = *AsPointer<NMHDR>(Message.LParam);
        if (Header.code == LVN_GETDISPINFOW)
            FillDispInfo(*AsPointer<NMLVDISPINFOW>(Message.LParam));
        else if (Header.code == LVN_ITEMCHANGED && OnChange)
            OnChange(this);
        return;
    }
    TWinControl::WndProc(Message);
    if (Message.Msg == WM_SIZE)
        UpdateAutoWidths();
}

// ------------------------------------------------------------ TProgressBar

const TClassInfo& TProgressBar::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo(TClassBuilder<TProgressBar>("TProgressBar", TWinControl::StaticClass())
        .Integer("Min", &TProgressBar::Min, &TProgressBar::SetMin)
        .Integer("Max", &TProgressBar::Max, &TProgressBar::SetMax)
        .Integer("Position", &TProgressBar::Position, &TProgressBar::SetPosition)
        .Integer("Step", &TProgressBar::Step, &TProgressBar::SetStep)
        .Bool("Smooth", &TProgressBar::Smooth, &TProgressBar::SetSmooth)
        .Enum("Orientation", {"pbHorizontal", "pbVertical"}, &TProgressBar::Orientation,
              &TProgressBar::SetOrientation)
        .Build());
    return Info;
}

TProgressBar::TProgressBar(TComponent* AOwner) : TWinControl(AOwner)
{
    FWidth = 150;
    FHeight = 17;
    FClickEvents = false;
}

void TProgressBar::SetRange(int AMin, int AMax)
{
    FMin = AMin;
    FMax = std::max(AMin, AMax);
    FPosition = std::clamp(FPosition, FMin, FMax);
    if (const HWND Window = HandleIfAllocated()) {
        SendMessageW(Window, PBM_SETRANGE32, static_cast<WPARAM>(FMin), FMax);
        SendMessageW(Window, PBM_SETPOS, static_cast<WPARAM>(FPosition), 0);
    }
}

void TProgressBar::SetPosition(int Value)
{
    FPosition = std::clamp(Value, FMin, FMax);
    if (const HWND Window = HandleIfAllocated())
        SendMessageW(Window, PBM_SETPOS, static_cast<WPARAM>(FPosition), 0);
}

void TProgressBar::SetSmooth(bool Value)
{
    SetCreationProperty(FSmooth, Value);
}

void TProgressBar::SetOrientation(TProgressBarOrientation Value)
{
    SetCreationProperty(FOrientation, Value);
}

void TProgressBar::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.BaseClass = PROGRESS_CLASSW;
    if (FSmooth)
        Params.Style |= PBS_SMOOTH;
    if (FOrientation == pbVertical)
        Params.Style |= PBS_VERTICAL;
}

void TProgressBar::CreateWnd()
{
    TWinControl::CreateWnd();
    SetRange(FMin, FMax);
}

// -------------------------------------------------------- TCustomStatusBar

const TClassInfo& TCustomStatusBar::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo(TClassBuilder<TCustomStatusBar>("TCustomStatusBar", TWinControl::StaticClass())
        .Bool("SimplePanel", &TCustomStatusBar::SimplePanel, &TCustomStatusBar::SetSimplePanel)
        .WideText("SimpleText", &TCustomStatusBar::SimpleText, &TCustomStatusBar::SetSimpleText)
        .Bool("SizeGrip", &TCustomStatusBar::SizeGrip, &TCustomStatusBar::SetSizeGrip)
        .Build());
    return Info;
}

const TClassInfo& TStatusBar::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo("TStatusBar", &TCustomStatusBar::StaticClass(), {});
    return Info;
}

TCustomStatusBar::TCustomStatusBar(TComponent* AOwner) : TWinControl(AOwner)
{
    FWidth = 150;
    FHeight = 19;
    FClickEvents = false;
    SetAlign(alBottom);
}

void TCustomStatusBar::SetPanels(std::vector<TStatusPanel> Value)
{
    FPanels = std::move(Value);
    UpdatePanels();
}

void TCustomStatusBar::ChangeScale(int M, int D)
{
    TWinControl::ChangeScale(M, D);
    for (TStatusPanel& Panel : FPanels)
        Panel.Width = ScaleValue(Panel.Width, M, D);
    UpdatePanels();
}

void TCustomStatusBar::SetPanelText(int Index, const std::wstring& Text)
{
    if (Index < 0 || Index >= static_cast<int>(FPanels.size()))
        throw EListError(L"Status bar panel index out of bounds (" + std::to_wstring(Index) + L")");
    FPanels[static_cast<size_t>(Index)].Text = Text;
    UpdatePanels();
}

void TCustomStatusBar::SetSimplePanel(bool Value)
{
    FSimplePanel = Value;
    UpdatePanels();
}

void TCustomStatusBar::SetSimpleText(const std::wstring& Value)
{
    FSimpleText = Value;
    UpdatePanels();
}

void TCustomStatusBar::SetSizeGrip(bool Value)
{
    SetCreationProperty(FSizeGrip, Value);
}

void TCustomStatusBar::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.BaseClass = STATUSCLASSNAMEW;
    // The framework lays the bar out; the control must not move itself.
    Params.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER;
    if (FSizeGrip)
        Params.Style |= SBARS_SIZEGRIP;
}

void TCustomStatusBar::CreateWnd()
{
    TWinControl::CreateWnd();
    UpdatePanels();
}

void TCustomStatusBar::UpdatePanels()
{
    const HWND Window = HandleIfAllocated();
    if (!Window)
        return;
    SendMessageW(Window, SB_SIMPLE, FSimplePanel || FPanels.empty(), 0);
    if (FSimplePanel || FPanels.empty()) {
        SendMessageW(Window, SB_SETTEXTW, SB_SIMPLEID, AsLParam(FSimpleText.c_str()));
        return;
    }
    std::vector<int> Edges;
    int Right = 0;
    for (const TStatusPanel& Panel : FPanels)
        Edges.push_back(Right += Panel.Width);
    Edges.back() = -1;
    SendMessageW(Window, SB_SETPARTS, Edges.size(), AsLParam(Edges.data()));
    for (size_t I = 0; I < FPanels.size(); ++I)
        SendMessageW(Window, SB_SETTEXTW, I, AsLParam(FPanels[I].Text.c_str()));
}

// ---------------------------------------------------------- TCustomRichEdit

namespace {
// The rich edit library stays loaded for the life of the process: windows
// of its class may exist until the very end.
void LoadRichEdit()
{
    static const HMODULE Library = LoadLibraryW(L"riched20.dll");
    if (!Library)
        throw Exception(L"Cannot load the rich edit control (riched20.dll)");
}

const std::vector<std::string> TabPositionNames{"tpTop", "tpBottom", "tpLeft", "tpRight"};

TCustomImageList* AsImageList(TObject* Value)
{
    return static_cast<TCustomImageList*>(Value);
}
} // namespace

const TClassInfo& TCustomRichEdit::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo(TClassBuilder<TCustomRichEdit>("TCustomRichEdit", TCustomMemo::StaticClass())
        .Bool("PlainText", &TCustomRichEdit::PlainText, &TCustomRichEdit::SetPlainText)
        .Build());
    return Info;
}

const TClassInfo& TRichEdit::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo("TRichEdit", &TCustomRichEdit::StaticClass(), {});
    return Info;
}

TCustomRichEdit::TCustomRichEdit(TComponent* AOwner) : TCustomMemo(AOwner) {}

void TCustomRichEdit::SetPlainText(bool Value)
{
    FPlainText = Value;
    if (const HWND Window = HandleIfAllocated())
        SendMessageW(Window, EM_SETTEXTMODE, Value ? TM_PLAINTEXT : TM_RICHTEXT, 0);
}

void TCustomRichEdit::CreateParams(TCreateParams& Params)
{
    LoadRichEdit();
    TCustomMemo::CreateParams(Params);
    Params.BaseClass = RICHEDIT_CLASSW;
}

void TCustomRichEdit::CreateWnd()
{
    TCustomMemo::CreateWnd();
    // A rich edit reports changes only when asked to.
    SendMessageW(HandleIfAllocated(), EM_SETEVENTMASK, 0, ENM_CHANGE);
    if (FPlainText)
        SendMessageW(HandleIfAllocated(), EM_SETTEXTMODE, TM_PLAINTEXT, 0);
}

// -------------------------------------------------------- TCustomTabControl

const TClassInfo& TCustomTabControl::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo(TClassBuilder<TCustomTabControl>("TCustomTabControl", TWinControl::StaticClass())
        .Enum("TabPosition", TabPositionNames, &TCustomTabControl::TabPosition, &TCustomTabControl::SetTabPosition)
        .Bool("MultiLine", &TCustomTabControl::MultiLine, &TCustomTabControl::SetMultiLine)
        .Enum("Style", {"tsTabs", "tsButtons", "tsFlatButtons"}, &TCustomTabControl::Style, &TCustomTabControl::SetStyle)
        .Object("Images", TCustomImageList::StaticClass(), &TCustomTabControl::Images,
                [](TCustomTabControl& T, TObject* V) { T.SetImages(AsImageList(V)); })
        .Build());
    return Info;
}

TCustomTabControl::TCustomTabControl(TComponent* AOwner) : TWinControl(AOwner)
{
    FWidth = 289;
    FHeight = 193;
    FClickEvents = false;
    SetTabStop(true);
}

void TCustomTabControl::SetTabPosition(TTabPosition Value)
{
    SetCreationProperty(FTabPosition, Value);
}

void TCustomTabControl::SetMultiLine(bool Value)
{
    SetCreationProperty(FMultiLine, Value);
}

void TCustomTabControl::SetStyle(TTabStyle Value)
{
    SetCreationProperty(FStyle, Value);
}

void TCustomTabControl::Notification(TComponent* AComponent, TOperation Operation)
{
    TWinControl::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FImages)
        SetImages(nullptr);
}

void TCustomTabControl::SetImages(TCustomImageList* Value)
{
    LinkImageList(this, FImages, Value);
    if (const HWND Window = HandleIfAllocated())
        SendMessageW(Window, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(Value ? Value->Handle() : nullptr));
}

RECT TCustomTabControl::DisplayRect()
{
    RECT R{0, 0, ClientWidth(), ClientHeight()};
    SendMessageW(Handle(), TCM_ADJUSTRECT, FALSE, AsLParam(&R));
    return R;
}

void TCustomTabControl::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.BaseClass = WC_TABCONTROLW;
    Params.Style |= WS_CLIPCHILDREN | TCS_TABS;
    switch (FTabPosition) {
    case tpBottom:
        Params.Style |= TCS_BOTTOM;
        break;
    case tpLeft:
        Params.Style |= TCS_VERTICAL | TCS_MULTILINE;
        break;
    case tpRight:
        Params.Style |= TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE;
        break;
    default:
        break;
    }
    if (FMultiLine)
        Params.Style |= TCS_MULTILINE;
    if (FStyle == tsButtons)
        Params.Style |= TCS_BUTTONS;
    else if (FStyle == tsFlatButtons)
        Params.Style |= TCS_BUTTONS | TCS_FLATBUTTONS;
}

void TCustomTabControl::CreateWnd()
{
    TWinControl::CreateWnd();
    SetImages(FImages);
    FillTabs();
}

void TCustomTabControl::FillTabs()
{
    const HWND Window = HandleIfAllocated();
    if (!Window)
        return;
    SendMessageW(Window, TCM_DELETEALLITEMS, 0, 0);
    int Index = 0;
    for (TTab& Tab : TabList()) {
        TCITEMW Item{};
        Item.mask = TCIF_TEXT | TCIF_IMAGE;
        Item.pszText = Tab.Caption.data();
        Item.iImage = Tab.ImageIndex;
        SendMessageW(Window, TCM_INSERTITEMW, static_cast<WPARAM>(Index++), AsLParam(&Item));
    }
}

int TCustomTabControl::WindowTabIndex() const
{
    const HWND Window = HandleIfAllocated();
    return Window ? static_cast<int>(SendMessageW(Window, TCM_GETCURSEL, 0, 0)) : -1;
}

void TCustomTabControl::SetWindowTabIndex(int Index)
{
    if (const HWND Window = HandleIfAllocated())
        SendMessageW(Window, TCM_SETCURSEL, static_cast<WPARAM>(Index), 0);
}

void TCustomTabControl::WndProc(TMessage& Message)
{
    if (Message.Msg == CN_NOTIFY) {
        if (AsPointer<NMHDR>(Message.LParam)->code == static_cast<UINT>(TCN_SELCHANGE)) {
            TabChanged(WindowTabIndex());
            if (OnChange)
                OnChange(this);
        }
        return;
    }
    TWinControl::WndProc(Message);
}

// -------------------------------------------------------------- TTabControl

const TClassInfo& TTabControl::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo(TClassBuilder<TTabControl>("TTabControl", TCustomTabControl::StaticClass())
        .Integer("TabIndex", &TTabControl::TabIndex, &TTabControl::SetTabIndex)
        .Object("Tabs", TStrings::StaticClass(),
                [](const TTabControl& T) -> TObject* { return &const_cast<TTabControl&>(T).FTabs; })
        .Build());
    return Info;
}

TTabControl::TTabControl(TComponent* AOwner) : TCustomTabControl(AOwner)
{
    FTabs.OnChange = TNotifyEvent::Bind<&TTabControl::TabsChanged>(this);
}

TTabControl::~TTabControl()
{
    FTabs.OnChange = TNotifyEvent();
}

int TTabControl::TabIndex() const
{
    return HandleAllocated() ? WindowTabIndex() : FTabIndex;
}

void TTabControl::SetTabIndex(int Value)
{
    FTabIndex = Value >= 0 && Value < FTabs.Count() ? Value : -1;
    SetWindowTabIndex(FTabIndex);
}

void TTabControl::CreateWnd()
{
    TCustomTabControl::CreateWnd();
    SetWindowTabIndex(FTabIndex);
}

void TTabControl::DestroyWnd()
{
    FTabIndex = WindowTabIndex();
    TCustomTabControl::DestroyWnd();
}

std::vector<TCustomTabControl::TTab> TTabControl::TabList() const
{
    std::vector<TTab> Tabs;
    for (const std::wstring& Caption : FTabs.Lines())
        Tabs.push_back({Caption, -1});
    return Tabs;
}

void TTabControl::TabsChanged(TObject*)
{
    const int Index = TabIndex();
    FillTabs();
    SetTabIndex(Index < FTabs.Count() ? Index : FTabs.Count() - 1);
}

void TTabControl::TabChanged(int Index)
{
    FTabIndex = Index;
}

// ---------------------------------------------------------------- TTabSheet

const TClassInfo& TTabSheet::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo(TClassBuilder<TTabSheet>("TTabSheet", TWinControl::StaticClass())
        // Declared by the base class: TPageControl's own class information
        // names TTabSheet's, and the two must not be made inside each other.
        .Object("PageControl", TCustomTabControl::StaticClass(), &TTabSheet::PageControl,
                [](TTabSheet& S, TObject* V) {
                    if (!V || V->Is<TPageControl>())
                        S.SetPageControl(static_cast<TPageControl*>(V));
                })
        .Integer("PageIndex", &TTabSheet::PageIndex)
        .Bool("TabVisible", &TTabSheet::TabVisible, &TTabSheet::SetTabVisible)
        .Integer("ImageIndex", &TTabSheet::ImageIndex, &TTabSheet::SetImageIndex)
        .Bool("ParentBackground", &TTabSheet::ParentBackground, &TTabSheet::SetParentBackground)
        .Build());
    return Info;
}

TTabSheet::TTabSheet(TComponent* AOwner) : TWinControl(AOwner)
{
    TControl::SetVisible(false);
}

TTabSheet::~TTabSheet()
{
    BeginDestroy();
    SetPageControl(nullptr);
}

void TTabSheet::SetPageControl(TPageControl* Value)
{
    if (Value == FPageControl)
        return;
    if (FPageControl)
        FPageControl->RemovePage(this);
    FPageControl = Value;
    if (Destroying())
        return;
    SetParent(Value);
    if (Value)
        Value->InsertPage(this);
}

int TTabSheet::PageIndex() const
{
    if (!FPageControl)
        return -1;
    const auto& Pages = FPageControl->FPages;
    return static_cast<int>(std::find(Pages.begin(), Pages.end(), this) - Pages.begin());
}

void TTabSheet::SetTabVisible(bool Value)
{
    FTabVisible = Value;
    if (FPageControl)
        FPageControl->PagesChanged();
}

void TTabSheet::SetImageIndex(int Value)
{
    FImageIndex = Value;
    if (FPageControl)
        FPageControl->PagesChanged();
}

void TTabSheet::SetParentBackground(bool Value)
{
    FParentBackground = Value;
    Invalidate();
}

void TTabSheet::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.Style |= WS_CLIPCHILDREN;
}

void TTabSheet::WndProc(TMessage& Message)
{
    TWinControl::WndProc(Message);
    if (Message.Msg == WM_SETTEXT && FPageControl)
        FPageControl->PagesChanged();
}

// ------------------------------------------------------------- TPageControl

const TClassInfo& TPageControl::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo(TClassBuilder<TPageControl>("TPageControl", TCustomTabControl::StaticClass())
        .Object("ActivePage", TTabSheet::StaticClass(), &TPageControl::ActivePage,
                [](TPageControl& P, TObject* V) { P.SetActivePage(static_cast<TTabSheet*>(V)); })
        .Integer("ActivePageIndex", &TPageControl::ActivePageIndex, &TPageControl::SetActivePageIndex)
        .Integer("PageCount", &TPageControl::PageCount)
        .Build());
    return Info;
}

TPageControl::TPageControl(TComponent* AOwner) : TCustomTabControl(AOwner) {}

// The sheets are freed with the other children after this object is gone;
// they must not call back into it then.
TPageControl::~TPageControl()
{
    for (TTabSheet* Page : FPages)
        Page->FPageControl = nullptr;
}

void TPageControl::InsertPage(TTabSheet* Page)
{
    FPages.push_back(Page);
    PagesChanged();
    if (!FActivePage)
        SetActivePage(Page);
}

void TPageControl::RemovePage(TTabSheet* Page)
{
    std::erase(FPages, Page);
    if (FActivePage == Page) {
        FActivePage = nullptr;
        const std::vector<TTabSheet*> Tabs = VisibleTabs();
        if (!Tabs.empty() && !Destroying())
            SetActivePage(Tabs.front());
    }
    PagesChanged();
}

std::vector<TTabSheet*> TPageControl::VisibleTabs() const
{
    std::vector<TTabSheet*> Tabs;
    for (TTabSheet* Page : FPages)
        if (Page->FTabVisible)
            Tabs.push_back(Page);
    return Tabs;
}

std::vector<TCustomTabControl::TTab> TPageControl::TabList() const
{
    std::vector<TTab> Tabs;
    for (const TTabSheet* Page : VisibleTabs())
        Tabs.push_back({Page->Caption(), Page->FImageIndex});
    return Tabs;
}

void TPageControl::PagesChanged()
{
    if (Destroying())
        return;
    FillTabs();
    SetActivePage(FActivePage);
}

int TPageControl::ActivePageIndex() const noexcept
{
    const auto Found = std::find(FPages.begin(), FPages.end(), FActivePage);
    return Found == FPages.end() ? -1 : static_cast<int>(Found - FPages.begin());
}

void TPageControl::SetActivePageIndex(int Value)
{
    SetActivePage(Value >= 0 && Value < PageCount() ? FPages[static_cast<size_t>(Value)] : nullptr);
}

void TPageControl::SetActivePage(TTabSheet* Value)
{
    if (Value && Value->FPageControl != this)
        Value = nullptr;
    FActivePage = Value;
    for (TTabSheet* Page : FPages)
        if (Page != Value)
            Page->SetVisible(false);
    const std::vector<TTabSheet*> Tabs = VisibleTabs();
    const auto Tab = std::find(Tabs.begin(), Tabs.end(), Value);
    SetWindowTabIndex(Tab == Tabs.end() ? -1 : static_cast<int>(Tab - Tabs.begin()));
    if (Value) {
        PlaceSheets();
        Value->SetVisible(true);
        Value->BringToFront();
    }
}

void TPageControl::TabChanged(int Index)
{
    const std::vector<TTabSheet*> Tabs = VisibleTabs();
    if (Index >= 0 && Index < static_cast<int>(Tabs.size()))
        SetActivePage(Tabs[static_cast<size_t>(Index)]);
}

void TPageControl::PlaceSheets()
{
    if (!HandleAllocated())
        return;
    const RECT Display = DisplayRect();
    for (TTabSheet* Page : FPages)
        Page->SetBoundsRect(Display);
}

void TPageControl::CreateWnd()
{
    TCustomTabControl::CreateWnd();
    SetActivePage(FActivePage);
}

void TPageControl::WndProc(TMessage& Message)
{
    TCustomTabControl::WndProc(Message);
    if (Message.Msg == WM_SIZE)
        PlaceSheets();
}

// ----------------------------------------------------------- THeaderControl

const TClassInfo& THeaderControl::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo(TClassBuilder<THeaderControl>("THeaderControl", TWinControl::StaticClass())
        .Enum("Style", {"hsButtons", "hsFlat"}, &THeaderControl::Style, &THeaderControl::SetStyle)
        .Object("Images", TCustomImageList::StaticClass(), &THeaderControl::Images,
                [](THeaderControl& H, TObject* V) { H.SetImages(AsImageList(V)); })
        .Integer("SectionCount", [](const THeaderControl& H) { return static_cast<int>(H.Sections().size()); })
        .Build());
    return Info;
}

THeaderControl::THeaderControl(TComponent* AOwner) : TWinControl(AOwner)
{
    FWidth = 200;
    FHeight = 17;
    FClickEvents = false;
    SetAlign(alTop);
}

void THeaderControl::SetSections(std::vector<THeaderSection> Value)
{
    FSections = std::move(Value);
    FillSections();
}

void THeaderControl::SetStyle(THeaderStyle Value)
{
    SetCreationProperty(FStyle, Value);
}

void THeaderControl::Notification(TComponent* AComponent, TOperation Operation)
{
    TWinControl::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FImages)
        SetImages(nullptr);
}

void THeaderControl::SetImages(TCustomImageList* Value)
{
    LinkImageList(this, FImages, Value);
    if (const HWND Window = HandleIfAllocated())
        SendMessageW(Window, HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(Value ? Value->Handle() : nullptr));
}

int THeaderControl::SectionWidth(int Index) const
{
    const HWND Window = HandleIfAllocated();
    if (!Window)
        return FSections.at(static_cast<size_t>(Index)).Width;
    HDITEMW Item{};
    Item.mask = HDI_WIDTH;
    SendMessageW(Window, HDM_GETITEMW, static_cast<WPARAM>(Index), AsLParam(&Item));
    return Item.cxy;
}

void THeaderControl::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.BaseClass = WC_HEADERW;
    Params.Style |= HDS_HORZ | HDS_FULLDRAG | (FStyle == hsButtons ? HDS_BUTTONS : 0);
}

void THeaderControl::CreateWnd()
{
    TWinControl::CreateWnd();
    SetImages(FImages);
    FillSections();
}

void THeaderControl::DestroyWnd()
{
    for (size_t I = 0; I < FSections.size(); ++I)
        FSections[I].Width = SectionWidth(static_cast<int>(I));
    TWinControl::DestroyWnd();
}

void THeaderControl::FillSections()
{
    const HWND Window = HandleIfAllocated();
    if (!Window)
        return;
    while (SendMessageW(Window, HDM_GETITEMCOUNT, 0, 0) > 0)
        SendMessageW(Window, HDM_DELETEITEM, 0, 0);
    int Index = 0;
    for (THeaderSection& Section : FSections) {
        HDITEMW Item{};
        Item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT | (Section.ImageIndex >= 0 ? HDI_IMAGE : 0);
        Item.pszText = Section.Text.data();
        Item.cxy = Section.Width;
        Item.iImage = Section.ImageIndex;
        Item.fmt = HDF_STRING | (Section.ImageIndex >= 0 ? HDF_IMAGE : 0) |
                   (Section.Alignment == taRightJustify ? HDF_RIGHT : Section.Alignment == taCenter ? HDF_CENTER : HDF_LEFT);
        SendMessageW(Window, HDM_INSERTITEMW, static_cast<WPARAM>(Index++), AsLParam(&Item));
    }
}

void THeaderControl::WndProc(TMessage& Message)
{
    if (Message.Msg == CN_NOTIFY) {
        const auto* Notify = AsPointer<NMHEADERW>(Message.LParam);
        if (Notify->hdr.code == static_cast<UINT>(HDN_ITEMCLICKW) && OnSectionClick)
            OnSectionClick(this, Notify->iItem);
        return;
    }
    TWinControl::WndProc(Message);
}

// ---------------------------------------------------------------- TTrackBar

const TClassInfo& TTrackBar::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo(TClassBuilder<TTrackBar>("TTrackBar", TWinControl::StaticClass())
        .Integer("Min", &TTrackBar::Min, &TTrackBar::SetMin)
        .Integer("Max", &TTrackBar::Max, &TTrackBar::SetMax)
        .Integer("Position", &TTrackBar::Position, &TTrackBar::SetPosition)
        .Enum("Orientation", {"trHorizontal", "trVertical"}, &TTrackBar::Orientation, &TTrackBar::SetOrientation)
        .Integer("Frequency", &TTrackBar::Frequency, &TTrackBar::SetFrequency)
        .Enum("TickStyle", {"tsNone", "tsAuto", "tsManual"}, &TTrackBar::TickStyle, &TTrackBar::SetTickStyle)
        .Enum("TickMarks", {"tmBottomRight", "tmTopLeft", "tmBoth"}, &TTrackBar::TickMarks, &TTrackBar::SetTickMarks)
        .Integer("PageSize", &TTrackBar::PageSize, &TTrackBar::SetPageSize)
        .Field("Transparent", &TTrackBar::Transparent)
        .Build());
    return Info;
}

TTrackBar::TTrackBar(TComponent* AOwner) : TWinControl(AOwner)
{
    FWidth = 150;
    FHeight = 45;
    FClickEvents = false;
    SetTabStop(true);
}

void TTrackBar::SetRange(int AMin, int AMax)
{
    FMin = AMin;
    FMax = std::max(AMin, AMax);
    if (const HWND Window = HandleIfAllocated()) {
        SendMessageW(Window, TBM_SETRANGEMIN, FALSE, FMin);
        SendMessageW(Window, TBM_SETRANGEMAX, TRUE, FMax);
    }
    SetPosition(FPosition);
}

void TTrackBar::SetPosition(int Value)
{
    Value = std::clamp(Value, FMin, FMax);
    const bool Moved = Value != FPosition;
    FPosition = Value;
    if (const HWND Window = HandleIfAllocated())
        SendMessageW(Window, TBM_SETPOS, TRUE, FPosition);
    if (Moved && OnChange)
        OnChange(this);
}

void TTrackBar::SetOrientation(TTrackBarOrientation Value)
{
    if (Value == FOrientation)
        return;
    SetBounds(Left(), Top(), Height(), Width());
    SetCreationProperty(FOrientation, Value);
}

void TTrackBar::SetFrequency(int Value)
{
    FFrequency = std::max(1, Value);
    if (const HWND Window = HandleIfAllocated())
        SendMessageW(Window, TBM_SETTICFREQ, static_cast<WPARAM>(FFrequency), 0);
}

void TTrackBar::SetTickStyle(TTickStyle Value)
{
    SetCreationProperty(FTickStyle, Value);
}

void TTrackBar::SetTickMarks(TTickMark Value)
{
    SetCreationProperty(FTickMarks, Value);
}

void TTrackBar::SetPageSize(int Value)
{
    FPageSize = std::max(1, Value);
    if (const HWND Window = HandleIfAllocated())
        SendMessageW(Window, TBM_SETPAGESIZE, 0, FPageSize);
}

void TTrackBar::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.BaseClass = TRACKBAR_CLASSW;
    Params.Style |= FOrientation == trVertical ? TBS_VERT : TBS_HORZ;
    if (FTickStyle == tsNone)
        Params.Style |= TBS_NOTICKS;
    else if (FTickStyle == tsAuto)
        Params.Style |= TBS_AUTOTICKS;
    if (FTickMarks == tmBoth)
        Params.Style |= TBS_BOTH;
    else if (FTickMarks == tmTopLeft)
        Params.Style |= TBS_TOP;
}

void TTrackBar::CreateWnd()
{
    TWinControl::CreateWnd();
    const HWND Window = HandleIfAllocated();
    SendMessageW(Window, TBM_SETRANGEMIN, FALSE, FMin);
    SendMessageW(Window, TBM_SETRANGEMAX, FALSE, FMax);
    SendMessageW(Window, TBM_SETTICFREQ, static_cast<WPARAM>(FFrequency), 0);
    SendMessageW(Window, TBM_SETPAGESIZE, 0, FPageSize);
    SendMessageW(Window, TBM_SETPOS, TRUE, FPosition);
}

void TTrackBar::WndProc(TMessage& Message)
{
    if (Message.Msg == CN_HSCROLL || Message.Msg == CN_VSCROLL) {
        SetPosition(static_cast<int>(SendMessageW(HandleIfAllocated(), TBM_GETPOS, 0, 0)));
        return;
    }
    TWinControl::WndProc(Message);
}

// ------------------------------------------------------------ TCustomUpDown

const TClassInfo& TCustomUpDown::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo(TClassBuilder<TCustomUpDown>("TCustomUpDown", TWinControl::StaticClass())
        .Object("Associate", TWinControl::StaticClass(), &TCustomUpDown::Associate,
                [](TCustomUpDown& U, TObject* V) { U.SetAssociate(static_cast<TWinControl*>(V)); })
        .Integer("Min", &TCustomUpDown::Min, &TCustomUpDown::SetMin)
        .Integer("Max", &TCustomUpDown::Max, &TCustomUpDown::SetMax)
        .Integer("Position", &TCustomUpDown::Position, &TCustomUpDown::SetPosition)
        .Integer("Increment", &TCustomUpDown::Increment, &TCustomUpDown::SetIncrement)
        .Enum("Orientation", {"udHorizontal", "udVertical"}, &TCustomUpDown::Orientation, &TCustomUpDown::SetOrientation)
        .Enum("AlignButton", {"udLeft", "udRight"}, &TCustomUpDown::AlignButton, &TCustomUpDown::SetAlignButton)
        .Bool("Wrap", &TCustomUpDown::Wrap, &TCustomUpDown::SetWrap)
        .Bool("ArrowKeys", &TCustomUpDown::ArrowKeys, &TCustomUpDown::SetArrowKeys)
        .Bool("Thousands", &TCustomUpDown::Thousands, &TCustomUpDown::SetThousands)
        .Build());
    return Info;
}

const TClassInfo& TUpDown::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo("TUpDown", &TCustomUpDown::StaticClass(), {});
    return Info;
}

TCustomUpDown::TCustomUpDown(TComponent* AOwner) : TWinControl(AOwner)
{
    FWidth = 17;
    FHeight = 25;
    FClickEvents = false;
}

TWinControl* TCustomUpDown::Associate() const noexcept
{
    return FAssociate;
}

void TCustomUpDown::SetAssociate(TWinControl* Value)
{
    if (Value == this)
        return;
    // An associate freed first tells the up-down, whoever owns it.
    if (FAssociate)
        FAssociate->RemoveFreeNotification(this);
    FAssociate = Value;
    if (FAssociate)
        FAssociate->FreeNotification(this);
    RecreateWnd();
}

void TCustomUpDown::Notification(TComponent* AComponent, TOperation Operation)
{
    TWinControl::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FAssociate)
        FAssociate = nullptr;
}

void TCustomUpDown::SetMin(int Value)
{
    FMin = Value;
    UpdateRange();
}

void TCustomUpDown::SetMax(int Value)
{
    FMax = Value;
    UpdateRange();
}

void TCustomUpDown::UpdateRange()
{
    if (const HWND Window = HandleIfAllocated())
        SendMessageW(Window, UDM_SETRANGE32, static_cast<WPARAM>(FMin), FMax);
    SetPosition(FPosition);
}

int TCustomUpDown::Position() const
{
    if (const HWND Window = HandleIfAllocated())
        return static_cast<int>(SendMessageW(Window, UDM_GETPOS32, 0, 0));
    return FPosition;
}

void TCustomUpDown::SetPosition(int Value)
{
    FPosition = std::clamp(Value, std::min(FMin, FMax), std::max(FMin, FMax));
    if (const HWND Window = HandleIfAllocated())
        SendMessageW(Window, UDM_SETPOS32, 0, FPosition);
}

void TCustomUpDown::SetIncrement(int Value)
{
    FIncrement = Value;
    if (const HWND Window = HandleIfAllocated()) {
        UDACCEL Accel{0, static_cast<UINT>(std::abs(FIncrement))};
        SendMessageW(Window, UDM_SETACCEL, 1, AsLParam(&Accel));
    }
}

void TCustomUpDown::SetOrientation(TUDOrientation Value)
{
    if (Value == FOrientation)
        return;
    SetBounds(Left(), Top(), Height(), Width());
    SetCreationProperty(FOrientation, Value);
}

void TCustomUpDown::SetAlignButton(TUDAlignButton Value)
{
    SetCreationProperty(FAlignButton, Value);
}

void TCustomUpDown::SetWrap(bool Value)
{
    SetCreationProperty(FWrap, Value);
}

void TCustomUpDown::SetArrowKeys(bool Value)
{
    SetCreationProperty(FArrowKeys, Value);
}

void TCustomUpDown::SetThousands(bool Value)
{
    SetCreationProperty(FThousands, Value);
}

void TCustomUpDown::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.BaseClass = UPDOWN_CLASSW;
    if (FOrientation == udHorizontal)
        Params.Style |= UDS_HORZ;
    if (FAssociate)
        Params.Style |= UDS_SETBUDDYINT | (FAlignButton == udLeft ? UDS_ALIGNLEFT : UDS_ALIGNRIGHT);
    if (FWrap)
        Params.Style |= UDS_WRAP;
    if (FArrowKeys)
        Params.Style |= UDS_ARROWKEYS;
    if (!FThousands)
        Params.Style |= UDS_NOTHOUSANDS;
}

void TCustomUpDown::CreateWnd()
{
    TWinControl::CreateWnd();
    const HWND Window = HandleIfAllocated();
    // The buddy first: setting the position then writes it into the buddy.
    if (FAssociate)
        SendMessageW(Window, UDM_SETBUDDY, reinterpret_cast<WPARAM>(FAssociate->Handle()), 0);
    SendMessageW(Window, UDM_SETRANGE32, static_cast<WPARAM>(FMin), FMax);
    SendMessageW(Window, UDM_SETPOS32, 0, FPosition);
    SetIncrement(FIncrement);
}

void TCustomUpDown::DestroyWnd()
{
    FPosition = Position();
    TWinControl::DestroyWnd();
}

void TCustomUpDown::WndProc(TMessage& Message)
{
    if (Message.Msg == CN_HSCROLL || Message.Msg == CN_VSCROLL) {
        const int Now = Position();
        const bool Moved = Now != FPosition;
        FPosition = Now;
        if (Moved && OnChange)
            OnChange(this);
        return;
    }
    TWinControl::WndProc(Message);
}

// ---------------------------------------------------------- TDateTimePicker

const TClassInfo& TDateTimePicker::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo(TClassBuilder<TDateTimePicker>("TDateTimePicker", TWinControl::StaticClass())
        .Enum("Kind", {"dtkDate", "dtkTime"}, &TDateTimePicker::Kind, &TDateTimePicker::SetKind)
        .Enum("DateFormat", {"dfShort", "dfLong"}, &TDateTimePicker::DateFormat, &TDateTimePicker::SetDateFormat)
        .Bool("ShowCheckbox", &TDateTimePicker::ShowCheckbox, &TDateTimePicker::SetShowCheckbox)
        .WideText("DateTime", &TDateTimePicker::DateTimeText, &TDateTimePicker::SetDateTimeText)
        .Build());
    return Info;
}

TDateTimePicker::TDateTimePicker(TComponent* AOwner) : TWinControl(AOwner)
{
    FWidth = 186;
    FHeight = 21;
    FClickEvents = false;
    SetTabStop(true);
    SetColor(clWindow);
    GetLocalTime(&FDateTime);
}

void TDateTimePicker::SetKind(TDateTimeKind Value)
{
    SetCreationProperty(FKind, Value);
}

void TDateTimePicker::SetDateFormat(TDTDateFormat Value)
{
    SetCreationProperty(FDateFormat, Value);
}

void TDateTimePicker::SetShowCheckbox(bool Value)
{
    SetCreationProperty(FShowCheckbox, Value);
}

SYSTEMTIME TDateTimePicker::DateTime() const
{
    SYSTEMTIME Value = FDateTime;
    if (const HWND Window = HandleIfAllocated())
        SendMessageW(Window, DTM_GETSYSTEMTIME, 0, AsLParam(&Value));
    return Value;
}

void TDateTimePicker::SetDateTime(const SYSTEMTIME& Value)
{
    FILETIME Check;
    if (!SystemTimeToFileTime(&Value, &Check))
        throw Exception(L"Not a valid date and time");
    FDateTime = Value;
    if (const HWND Window = HandleIfAllocated())
        SendMessageW(Window, DTM_SETSYSTEMTIME, GDT_VALID, AsLParam(&FDateTime));
}

std::wstring TDateTimePicker::DateTimeText() const
{
    const SYSTEMTIME T = DateTime();
    wchar_t Text[32];
    swprintf(Text, 32, L"%04u-%02u-%02u %02u:%02u:%02u", T.wYear, T.wMonth, T.wDay, T.wHour, T.wMinute, T.wSecond);
    return Text;
}

void TDateTimePicker::SetDateTimeText(const std::wstring& Value)
{
    unsigned Y = 0, Mo = 0, D = 0, H = 0, Mi = 0, S = 0;
    const int Read = swscanf(Value.c_str(), L"%u-%u-%u %u:%u:%u", &Y, &Mo, &D, &H, &Mi, &S);
    if (Read != 3 && Read != 6)
        throw Exception(L"Not a date and time: " + Value);
    SYSTEMTIME T{};
    T.wYear = static_cast<WORD>(Y);
    T.wMonth = static_cast<WORD>(Mo);
    T.wDay = static_cast<WORD>(D);
    T.wHour = static_cast<WORD>(H);
    T.wMinute = static_cast<WORD>(Mi);
    T.wSecond = static_cast<WORD>(S);
    if (Mo < 1 || Mo > 12 || D < 1 || D > 31 || H > 23 || Mi > 59 || S > 59)
        throw Exception(L"Not a date and time: " + Value);
    SetDateTime(T);
}

void TDateTimePicker::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.BaseClass = DATETIMEPICK_CLASSW;
    Params.Style |= FKind == dtkTime ? DTS_TIMEFORMAT : FDateFormat == dfLong ? DTS_LONGDATEFORMAT : DTS_SHORTDATEFORMAT;
    if (FShowCheckbox)
        Params.Style |= DTS_SHOWNONE;
}

void TDateTimePicker::CreateWnd()
{
    TWinControl::CreateWnd();
    SendMessageW(HandleIfAllocated(), DTM_SETSYSTEMTIME, GDT_VALID, AsLParam(&FDateTime));
}

void TDateTimePicker::DestroyWnd()
{
    FDateTime = DateTime();
    TWinControl::DestroyWnd();
}

void TDateTimePicker::WndProc(TMessage& Message)
{
    if (Message.Msg == CN_NOTIFY) {
        if (AsPointer<NMHDR>(Message.LParam)->code == static_cast<UINT>(DTN_DATETIMECHANGE) && OnChange)
            OnChange(this);
        return;
    }
    TWinControl::WndProc(Message);
}

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
