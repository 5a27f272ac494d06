// Common controls: list view, progress bar, status bar, rich edit, tab and
// page controls, header, track bar, up-down, date-time picker and tool bar.
// Each extends the platform's class and keeps its state in the object.
#pragma once

#include "Controls.h"
#include "ImgList.h"
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
    // Column widths are pixels of the list's resolution too.
    void ChangeScale(int M, int D) override;

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

enum TProgressBarOrientation { pbHorizontal, pbVertical };

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
    // A vertical bar fills from the bottom up.
    TProgressBarOrientation Orientation() const noexcept { return FOrientation; }
    void SetOrientation(TProgressBarOrientation Value);

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;

private:
    int FMin = 0;
    int FMax = 100;
    int FPosition = 0;
    int FStep = 10;
    bool FSmooth = false;
    TProgressBarOrientation FOrientation = pbHorizontal;
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
    // Panel widths are pixels of the bar's resolution too.
    void ChangeScale(int M, int D) override;

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

// ----------------------------------------------------------------- rich edit

// The platform's rich edit control (version 2 or later), as a memo.
class TCustomRichEdit : public TCustomMemo {
    VK_CLASS_INFO
public:
    explicit TCustomRichEdit(TComponent* AOwner);
    // Text without formatting when saved or pasted.
    bool PlainText() const noexcept { return FPlainText; }
    void SetPlainText(bool Value);

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;

private:
    bool FPlainText = false;
};

class TRichEdit : public TCustomRichEdit {
    VK_CLASS_INFO
public:
    using TCustomRichEdit::TCustomRichEdit;
};

// ------------------------------------------------------------ tab controls

enum TTabPosition { tpTop, tpBottom, tpLeft, tpRight };
enum TTabStyle { tsTabs, tsButtons, tsFlatButtons };

// The platform's tab control. Tabs on the left or right are vertical and
// always on several lines, as the platform requires.
class TCustomTabControl : public TWinControl {
    VK_CLASS_INFO
public:
    explicit TCustomTabControl(TComponent* AOwner);

    TTabPosition TabPosition() const noexcept { return FTabPosition; }
    void SetTabPosition(TTabPosition Value);
    bool MultiLine() const noexcept { return FMultiLine; }
    void SetMultiLine(bool Value);
    TTabStyle Style() const noexcept { return FStyle; }
    void SetStyle(TTabStyle Value);
    TCustomImageList* Images() const noexcept { return FImages; }
    void SetImages(TCustomImageList* Value);
    // The area inside the tabs and frame, in client coordinates.
    RECT DisplayRect();

    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& Params) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void CreateWnd() override;
    void WndProc(TMessage& Message) override;
    // The texts and images of the tabs, for (re)filling the window.
    struct TTab {
        std::wstring Caption;
        int ImageIndex;
    };
    virtual std::vector<TTab> TabList() const = 0;
    void FillTabs();
    // The user picked another tab.
    virtual void TabChanged(int Index) = 0;
    int WindowTabIndex() const;
    void SetWindowTabIndex(int Index);

private:
    TTabPosition FTabPosition = tpTop;
    bool FMultiLine = false;
    TTabStyle FStyle = tsTabs;
    TCustomImageList* FImages = nullptr;
};

// Tabs only; the program changes what is shown when TabIndex changes.
class TTabControl : public TCustomTabControl {
    VK_CLASS_INFO
public:
    explicit TTabControl(TComponent* AOwner);
    ~TTabControl() override;
    TStrings& Tabs() noexcept { return FTabs; }
    int TabIndex() const;
    void SetTabIndex(int Value);

protected:
    void CreateWnd() override;
    void DestroyWnd() override;
    std::vector<TTab> TabList() const override;
    void TabChanged(int Index) override;

private:
    void TabsChanged(TObject* Sender);
    TStrings FTabs;
    int FTabIndex = -1;
};

class TPageControl;

// One page of a TPageControl: a container shown while its tab is active.
class TTabSheet : public TWinControl {
    VK_CLASS_INFO
public:
    explicit TTabSheet(TComponent* AOwner);
    ~TTabSheet() override;

    TPageControl* PageControl() const noexcept { return FPageControl; }
    // Moves the sheet to that page control (nullptr: to none).
    void SetPageControl(TPageControl* Value);
    int PageIndex() const;
    bool TabVisible() const noexcept { return FTabVisible; }
    void SetTabVisible(bool Value);
    int ImageIndex() const noexcept { return FImageIndex; }
    void SetImageIndex(int Value);
    bool ParentBackground() const noexcept { return FParentBackground; }
    void SetParentBackground(bool Value);

protected:
    void CreateParams(TCreateParams& Params) override;
    void WndProc(TMessage& Message) override;

private:
    friend class TPageControl;
    TPageControl* FPageControl = nullptr;
    bool FTabVisible = true;
    int FImageIndex = -1;
};

class TPageControl : public TCustomTabControl {
    VK_CLASS_INFO
public:
    explicit TPageControl(TComponent* AOwner);
    ~TPageControl() override;

    int PageCount() const noexcept { return static_cast<int>(FPages.size()); }
    TTabSheet* Pages(int Index) const { return FPages.at(static_cast<size_t>(Index)); }
    TTabSheet* ActivePage() const noexcept { return FActivePage; }
    // A sheet of another page control (or nullptr) shows no page.
    void SetActivePage(TTabSheet* Value);
    int ActivePageIndex() const noexcept;
    void SetActivePageIndex(int Value);

protected:
    void CreateWnd() override;
    void WndProc(TMessage& Message) override;
    std::vector<TTab> TabList() const override;
    void TabChanged(int Index) override;

private:
    friend class TTabSheet;
    void InsertPage(TTabSheet* Page);
    void RemovePage(TTabSheet* Page);
    void PagesChanged();
    void PlaceSheets();
    std::vector<TTabSheet*> VisibleTabs() const;

    std::vector<TTabSheet*> FPages;
    TTabSheet* FActivePage = nullptr;
};

// ------------------------------------------------------------------ header

struct THeaderSection {
    std::wstring Text;
    int Width = 80;
    TAlignment Alignment = taLeftJustify;
    int ImageIndex = -1;
};

enum THeaderStyle { hsButtons, hsFlat };

class THeaderControl : public TWinControl {
    VK_CLASS_INFO
public:
    explicit THeaderControl(TComponent* AOwner);
    const std::vector<THeaderSection>& Sections() const noexcept { return FSections; }
    void SetSections(std::vector<THeaderSection> Value);
    THeaderStyle Style() const noexcept { return FStyle; }
    void SetStyle(THeaderStyle Value);
    TCustomImageList* Images() const noexcept { return FImages; }
    void SetImages(TCustomImageList* Value);
    // The width of a section as the user left it.
    int SectionWidth(int Index) const;

    TDelegate<void(TObject* Sender, int Section)> OnSectionClick;

protected:
    void CreateParams(TCreateParams& Params) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void WndProc(TMessage& Message) override;

private:
    void FillSections();
    std::vector<THeaderSection> FSections;
    THeaderStyle FStyle = hsButtons;
    TCustomImageList* FImages = nullptr;
};

// -------------------------------------------------------- track bar, up-down

enum TTrackBarOrientation { trHorizontal, trVertical };
enum TTickStyle { tsNone, tsAuto, tsManual };
enum TTickMark { tmBottomRight, tmTopLeft, tmBoth };

class TTrackBar : public TWinControl {
    VK_CLASS_INFO
public:
    explicit TTrackBar(TComponent* AOwner);

    int Min() const noexcept { return FMin; }
    void SetMin(int Value) { SetRange(Value, std::max(Value, FMax)); }
    int Max() const noexcept { return FMax; }
    void SetMax(int Value) { SetRange(std::min(FMin, Value), Value); }
    void SetRange(int AMin, int AMax);
    int Position() const noexcept { return FPosition; }
    void SetPosition(int Value);
    TTrackBarOrientation Orientation() const noexcept { return FOrientation; }
    void SetOrientation(TTrackBarOrientation Value);
    int Frequency() const noexcept { return FFrequency; }
    void SetFrequency(int Value);
    TTickStyle TickStyle() const noexcept { return FTickStyle; }
    void SetTickStyle(TTickStyle Value);
    TTickMark TickMarks() const noexcept { return FTickMarks; }
    void SetTickMarks(TTickMark Value);
    int PageSize() const noexcept { return FPageSize; }
    void SetPageSize(int Value);
    // Kept for the skin engine, which draws the channel and thumb over the
    // parent's background when it is set.
    bool Transparent = false;

    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void WndProc(TMessage& Message) override;

private:
    int FMin = 0;
    int FMax = 10;
    int FPosition = 0;
    TTrackBarOrientation FOrientation = trHorizontal;
    int FFrequency = 1;
    TTickStyle FTickStyle = tsAuto;
    TTickMark FTickMarks = tmBottomRight;
    int FPageSize = 2;
};

enum TUDOrientation { udHorizontal, udVertical };
enum TUDAlignButton { udLeft, udRight };

// The platform's up-down. With an Associate (an edit) it sits at that
// control's side and shows Position in it.
class TCustomUpDown : public TWinControl {
    VK_CLASS_INFO
public:
    explicit TCustomUpDown(TComponent* AOwner);

    TWinControl* Associate() const noexcept;
    void SetAssociate(TWinControl* Value);
    int Min() const noexcept { return FMin; }
    void SetMin(int Value);
    int Max() const noexcept { return FMax; }
    void SetMax(int Value);
    int Position() const;
    void SetPosition(int Value);
    int Increment() const noexcept { return FIncrement; }
    void SetIncrement(int Value);
    TUDOrientation Orientation() const noexcept { return FOrientation; }
    void SetOrientation(TUDOrientation Value);
    TUDAlignButton AlignButton() const noexcept { return FAlignButton; }
    void SetAlignButton(TUDAlignButton Value);
    bool Wrap() const noexcept { return FWrap; }
    void SetWrap(bool Value);
    bool ArrowKeys() const noexcept { return FArrowKeys; }
    void SetArrowKeys(bool Value);
    bool Thousands() const noexcept { return FThousands; }
    void SetThousands(bool Value);

    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& Params) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void WndProc(TMessage& Message) override;

private:
    void UpdateRange();
    TWinControl* FAssociate = nullptr;
    int FMin = 0;
    int FMax = 100;
    int FPosition = 0;
    int FIncrement = 1;
    TUDOrientation FOrientation = udVertical;
    TUDAlignButton FAlignButton = udRight;
    bool FWrap = false;
    bool FArrowKeys = true;
    bool FThousands = true;
};

class TUpDown : public TCustomUpDown {
    VK_CLASS_INFO
public:
    using TCustomUpDown::TCustomUpDown;
};

// ----------------------------------------------------------- date and time

enum TDateTimeKind { dtkDate, dtkTime };
enum TDTDateFormat { dfShort, dfLong };

class TDateTimePicker : public TWinControl {
    VK_CLASS_INFO
public:
    explicit TDateTimePicker(TComponent* AOwner);

    TDateTimeKind Kind() const noexcept { return FKind; }
    void SetKind(TDateTimeKind Value);
    TDTDateFormat DateFormat() const noexcept { return FDateFormat; }
    void SetDateFormat(TDTDateFormat Value);
    bool ShowCheckbox() const noexcept { return FShowCheckbox; }
    void SetShowCheckbox(bool Value);
    // The chosen date and time.
    SYSTEMTIME DateTime() const;
    void SetDateTime(const SYSTEMTIME& Value);
    // "YYYY-MM-DD hh:mm:ss", for reading and writing by name.
    std::wstring DateTimeText() const;
    void SetDateTimeText(const std::wstring& Value);

    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void WndProc(TMessage& Message) override;

private:
    TDateTimeKind FKind = dtkDate;
    TDTDateFormat FDateFormat = dfShort;
    bool FShowCheckbox = false;
    SYSTEMTIME FDateTime{};
};

// --------------------------------------------------------------- tool bar

enum TToolButtonStyle { tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider };

class TToolBar;

// One button of a TToolBar (not a window of its own: the tool bar draws it).
class TToolButton : public TComponent {
    VK_CLASS_INFO
public:
    explicit TToolButton(TComponent* AOwner);
    ~TToolButton() override;

    TToolBar* ToolBar() const noexcept { return FToolBar; }
    void SetToolBar(TToolBar* Value);
    const std::wstring& Caption() const noexcept { return FCaption; }
    void SetCaption(const std::wstring& Value);
    int ImageIndex() const noexcept { return FImageIndex; }
    void SetImageIndex(int Value);
    TToolButtonStyle Style() const noexcept { return FStyle; }
    void SetStyle(TToolButtonStyle Value);
    bool Down() const;
    void SetDown(bool Value);
    bool Enabled() const noexcept { return FEnabled; }
    void SetEnabled(bool Value);
    // Check buttons of one group work as radio buttons.
    bool Grouped() const noexcept { return FGrouped; }
    void SetGrouped(bool Value);
    virtual void Click();

    TNotifyEvent OnClick;

private:
    friend class TToolBar;
    void Changed();
    TToolBar* FToolBar = nullptr;
    std::wstring FCaption;
    int FImageIndex = -1;
    TToolButtonStyle FStyle = tbsButton;
    bool FDown = false;
    bool FEnabled = true;
    bool FGrouped = false;
};

class TToolBar : public TWinControl {
    VK_CLASS_INFO
public:
    explicit TToolBar(TComponent* AOwner);
    ~TToolBar() override;

    int ButtonCount() const noexcept { return static_cast<int>(FButtons.size()); }
    TToolButton* Buttons(int Index) const { return FButtons.at(static_cast<size_t>(Index)); }
    TCustomImageList* Images() const noexcept { return FImages; }
    void SetImages(TCustomImageList* Value);
    bool Flat() const noexcept { return FFlat; }
    void SetFlat(bool Value);
    bool ShowCaptions() const noexcept { return FShowCaptions; }
    void SetShowCaptions(bool Value);
    bool List() const noexcept { return FList; }
    void SetList(bool Value);

protected:
    void CreateParams(TCreateParams& Params) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void WndProc(TMessage& Message) override;

private:
    friend class TToolButton;
    void InsertButton(TToolButton* Button);
    void RemoveButton(TToolButton* Button);
    void RebuildButtons();

    std::vector<TToolButton*> FButtons;
    TCustomImageList* FImages = nullptr;
    bool FFlat = true;
    bool FShowCaptions = false;
    bool FList = false;
};
