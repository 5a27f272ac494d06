// The list view and its columns and items.
#include "ComCtrls.h"

#include "SysUtils.h"

#include <commctrl.h>

#include <algorithm>

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
