// Common controls: list view, progress bar, status bar. Headers, track bars,
// up-downs and tab controls join here later, on the same pattern: a class
// that extends the platform's class and keeps its state in the object.
#pragma once

#include "Controls.h"
#include "StdCtrls.h"
#include "Strings.h"

#include <commctrl.h>

#include <memory>
#include <vector>

class TCustomListView;

class TListColumn {
public:
    TListColumn(TCustomListView& Owner, int Index) : FOwner(Owner), FIndex(Index) {}
    TListColumn(const TListColumn&) = delete;
    TListColumn& operator=(const TListColumn&) = delete;

    int Index() const noexcept { return FIndex; }
    const std::wstring& Caption() const noexcept { return FCaption; }
    void SetCaption(const std::wstring& Value);
    // The width given; an AutoSize column's actual width follows the view.
    int Width() const noexcept { return FWidth; }
    void SetWidth(int Value);
    // Shares the width the fixed columns leave with the other AutoSize
    // columns.
    bool AutoSize() const noexcept { return FAutoSize; }
    void SetAutoSize(bool Value);
    TAlignment Alignment() const noexcept { return FAlignment; }
    void SetAlignment(TAlignment Value);

private:
    TCustomListView& FOwner;
    int FIndex;
    std::wstring FCaption;
    int FWidth = 50;
    bool FAutoSize = false;
    TAlignment FAlignment = taLeftJustify;
};

class TListColumns {
public:
    explicit TListColumns(TCustomListView& Owner) : FOwner(Owner) {}
    TListColumn& Add();
    int Count() const noexcept { return static_cast<int>(FColumns.size()); }
    TListColumn& Items(int Index) const { return *FColumns.at(static_cast<size_t>(Index)); }
    void Clear();

private:
    TCustomListView& FOwner;
    std::vector<std::unique_ptr<TListColumn>> FColumns;
};

// One row: its caption (first column) and the texts of the other columns.
class TListItem {
public:
    explicit TListItem(int Index) : FIndex(Index) {}
    TListItem(const TListItem&) = delete;
    TListItem& operator=(const TListItem&) = delete;
    int Index() const noexcept { return FIndex; }
    std::wstring Caption;
    TStrings SubItems;

private:
    friend class TListItems;
    int FIndex;
};

// With OwnerData only the count is kept and OnData supplies each row when it
// is shown; otherwise the items are stored here.
class TListItems {
public:
    explicit TListItems(TCustomListView& Owner) : FOwner(Owner) {}
    int Count() const noexcept;
    // OwnerData: the number of rows; throws EListError otherwise or for a
    // negative count.
    void SetCount(int Value);
    // Without OwnerData: a new row at the end.
    TListItem* Add();
    void Clear();
    // Without OwnerData: the stored row; nullptr out of range.
    TListItem* Item(int Index) const noexcept;

private:
    friend class TCustomListView;
    TCustomListView& FOwner;
    int FCount = 0;
    std::vector<std::unique_ptr<TListItem>> FItems;
};

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
using TLVOwnerDataEvent = TDelegate<void(TObject* Sender, TListItem* Item)>;

class TCustomListView : public TWinControl {
    VK_CLASS_INFO
public:
    explicit TCustomListView(TComponent* AOwner);

    TListColumns& Columns() noexcept { return FColumns; }
    TListItems& Items() noexcept { return FItems; }

    TViewStyle ViewStyle() const noexcept { return FViewStyle; }
    void SetViewStyle(TViewStyle Value);
    bool OwnerData() const noexcept { return FOwnerData; }
    // Switching drops the stored items and the count.
    void SetOwnerData(bool Value);
    bool GridLines() const noexcept { return FGridLines; }
    void SetGridLines(bool Value);
    bool RowSelect() const noexcept { return FRowSelect; }
    void SetRowSelect(bool Value);
    bool MultiSelect() const noexcept { return FMultiSelect; }
    void SetMultiSelect(bool Value);
    bool ReadOnly() const noexcept { return FReadOnly; }
    void SetReadOnly(bool Value);
    bool HideSelection() const noexcept { return FHideSelection; }
    void SetHideSelection(bool Value);
    bool ShowColumnHeaders() const noexcept { return FShowColumnHeaders; }
    void SetShowColumnHeaders(bool Value);
    TBorderStyle BorderStyle() const noexcept { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);

    // The first selected row, -1 when none.
    int ItemIndex() const;
    void SetItemIndex(int Value);

    // The width an AutoSize column has now.
    int ColumnWidth(int Index) const;

    TLVOwnerDataEvent OnData;
    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void WndProc(TMessage& Message) override;

private:
    friend class TListColumn;
    friend class TListColumns;
    friend class TListItems;
    void InsertColumnWindow(const TListColumn& Column);
    void UpdateColumn(const TListColumn& Column);
    // LVM_INSERTCOLUMNW or LVM_SETCOLUMNW with the column's caption, width
    // and alignment.
    void SendColumn(HWND Window, UINT Message, const TListColumn& Column);
    void UpdateAutoWidths();
    void UpdateExtendedStyle();
    void UpdateCount();
    void ColumnsCleared();
    void FillDispInfo(NMLVDISPINFOW& Info);

    TListColumns FColumns;
    TListItems FItems;
    TViewStyle FViewStyle = vsIcon;
    bool FOwnerData = false;
    bool FGridLines = false;
    bool FRowSelect = false;
    bool FMultiSelect = false;
    bool FReadOnly = false;
    bool FHideSelection = true;
    bool FShowColumnHeaders = true;
    TBorderStyle FBorderStyle = bsSingle;
    int FItemIndex = -1;
};

class TListView : public TCustomListView {
    VK_CLASS_INFO
public:
    using TCustomListView::TCustomListView;
};

class TProgressBar : public TWinControl {
    VK_CLASS_INFO
public:
    explicit TProgressBar(TComponent* AOwner);

    int Min() const noexcept { return FMin; }
    void SetMin(int Value) { SetRange(Value, std::max(Value, FMax)); }
    int Max() const noexcept { return FMax; }
    void SetMax(int Value) { SetRange(std::min(FMin, Value), Value); }
    // Keeps Position inside the new range.
    void SetRange(int AMin, int AMax);
    int Position() const noexcept { return FPosition; }
    // Clamped to Min .. Max.
    void SetPosition(int Value);
    int Step() const noexcept { return FStep; }
    void SetStep(int Value) { FStep = Value; }
    void StepIt() { SetPosition(FPosition + FStep); }
    bool Smooth() const noexcept { return FSmooth; }
    void SetSmooth(bool Value);

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;

private:
    int FMin = 0;
    int FMax = 100;
    int FPosition = 0;
    int FStep = 10;
    bool FSmooth = false;
};

struct TStatusPanel {
    std::wstring Text;
    int Width = 50;
};

class TCustomStatusBar : public TWinControl {
    VK_CLASS_INFO
public:
    explicit TCustomStatusBar(TComponent* AOwner);

    // Replaces the panels.
    void SetPanels(std::vector<TStatusPanel> Value);
    const std::vector<TStatusPanel>& Panels() const noexcept { return FPanels; }
    void SetPanelText(int Index, const std::wstring& Text);
    // One text over the whole bar instead of the panels.
    bool SimplePanel() const noexcept { return FSimplePanel; }
    void SetSimplePanel(bool Value);
    const std::wstring& SimpleText() const noexcept { return FSimpleText; }
    void SetSimpleText(const std::wstring& Value);
    bool SizeGrip() const noexcept { return FSizeGrip; }
    void SetSizeGrip(bool Value);

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;

private:
    void UpdatePanels();

    std::vector<TStatusPanel> FPanels;
    bool FSimplePanel = false;
    std::wstring FSimpleText;
    bool FSizeGrip = true;
};

class TStatusBar : public TCustomStatusBar {
    VK_CLASS_INFO
public:
    using TCustomStatusBar::TCustomStatusBar;
};
