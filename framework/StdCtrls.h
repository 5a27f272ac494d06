// The standard controls: labels, combo boxes, buttons, check boxes, radio
// buttons, group boxes, edits, memos, list boxes and scroll bars. Each wraps
// the platform's control and keeps its state in the object too, so it
// survives the window being made again.
#pragma once

#include "Controls.h"
#include "Strings.h"

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

// Windowless text. Sizes itself to its text unless AutoSize is off; with a
// fixed size the text is cut off at the bounds.
class TCustomLabel : public TGraphicControl {
    VK_CLASS_INFO
public:
    explicit TCustomLabel(TComponent* AOwner);

    bool AutoSize() const noexcept { return FAutoSize; }
    void SetAutoSize(bool Value);
    bool Transparent() const noexcept { return FTransparent; }
    void SetTransparent(bool Value);
    TAlignment Alignment() const noexcept { return FAlignment; }
    void SetAlignment(TAlignment Value);
    bool WordWrap() const noexcept { return FWordWrap; }
    void SetWordWrap(bool Value);
    // '&' marks an accelerator and is not drawn.
    bool ShowAccelChar() const noexcept { return FShowAccelChar; }
    void SetShowAccelChar(bool Value);

protected:
    void WndProc(TMessage& Message) override;
    // Measures the text again in the scaled font.
    void ChangeScale(int M, int D) override;
    void Paint() override;

private:
    UINT TextFlags() const noexcept;
    void AdjustBounds();

    bool FAutoSize = true;
    bool FTransparent = false;
    TAlignment FAlignment = taLeftJustify;
    bool FWordWrap = false;
    bool FShowAccelChar = true;
};

class TLabel : public TCustomLabel {
    VK_CLASS_INFO
public:
    using TCustomLabel::TCustomLabel;
};

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

// The platform's combo box. Items and ItemIndex live in the object too, so
// they survive the window being made again.
class TCustomComboBox : public TWinControl {
    VK_CLASS_INFO
public:
    explicit TCustomComboBox(TComponent* AOwner);
    ~TCustomComboBox() override;

    TStrings& Items() noexcept { return FItems; }
    TComboBoxStyle Style() const noexcept { return FStyle; }
    void SetStyle(TComboBoxStyle Value);
    // -1 when nothing is selected.
    int ItemIndex() const;
    // Values outside the list select nothing.
    void SetItemIndex(int Value);
    int DropDownCount() const noexcept { return FDropDownCount; }
    void SetDropDownCount(int Value);

    // Raised when the user picks an item or edits the text.
    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void WndProc(TMessage& Message) override;
    void UpdateWindowBounds() override;

private:
    void ItemsChanged(TObject* Sender);
    void FillWindow();
    int DropDownHeight() const;

    TStrings FItems;
    TComboBoxStyle FStyle = csDropDown;
    int FItemIndex = -1;
    int FDropDownCount = 8;
};

class TComboBox : public TCustomComboBox {
    VK_CLASS_INFO
public:
    using TCustomComboBox::TCustomComboBox;
};

// ------------------------------------------------------------------ buttons

// Base of the platform's button-class controls; they report their clicks
// themselves (BN_CLICKED), so the framework's press-and-release click is off.
class TButtonControl : public TWinControl {
    VK_CLASS_INFO
public:
    explicit TButtonControl(TComponent* AOwner);

protected:
    void CreateParams(TCreateParams& Params) override;
    void WndProc(TMessage& Message) override;
    // BN_CLICKED arrived.
    virtual void ButtonClicked() { Click(); }
};

// A push button. Clicking one with a ModalResult sets its form's.
class TButton : public TButtonControl {
    VK_CLASS_INFO
public:
    explicit TButton(TComponent* AOwner);

    // The form's default button, shown with a heavier frame; Enter clicks it.
    bool Default() const noexcept { return FDefault; }
    void SetDefault(bool Value);
    // Escape clicks it.
    bool Cancel() const noexcept { return FCancel; }
    void SetCancel(bool Value) { FCancel = Value; }
    int ModalResult = 0;
    void Click() override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void WndProc(TMessage& Message) override;

private:
    bool FDefault = false;
    bool FCancel = false;
};

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

// Check box: a click moves unchecked -> checked (-> grayed when AllowGrayed)
// -> unchecked. Alignment taRightJustify puts the box left of the caption
// (the usual look), taLeftJustify right of it.
class TCustomCheckBox : public TButtonControl {
    VK_CLASS_INFO
public:
    explicit TCustomCheckBox(TComponent* AOwner);

    TCheckBoxState State() const noexcept { return FState; }
    void SetState(TCheckBoxState Value);
    bool Checked() const noexcept { return FState == cbChecked; }
    void SetChecked(bool Value) { SetState(Value ? cbChecked : cbUnchecked); }
    bool AllowGrayed() const noexcept { return FAllowGrayed; }
    void SetAllowGrayed(bool Value) { FAllowGrayed = Value; }
    TAlignment Alignment() const noexcept { return FAlignment; }
    void SetAlignment(TAlignment Value);

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void ButtonClicked() override;

private:
    TCheckBoxState FState = cbUnchecked;
    bool FAllowGrayed = false;
    TAlignment FAlignment = taRightJustify;
};

class TCheckBox : public TCustomCheckBox {
    VK_CLASS_INFO
public:
    using TCustomCheckBox::TCustomCheckBox;
};

// Checking a radio button unchecks the other radio buttons of its parent.
class TRadioButton : public TButtonControl {
    VK_CLASS_INFO
public:
    explicit TRadioButton(TComponent* AOwner);

    bool Checked() const noexcept { return FChecked; }
    void SetChecked(bool Value);
    TAlignment Alignment() const noexcept { return FAlignment; }
    void SetAlignment(TAlignment Value);

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void ButtonClicked() override;

private:
    bool FChecked = false;
    TAlignment FAlignment = taRightJustify;
};

// The platform's group box frame; a container for other controls.
class TCustomGroupBox : public TWinControl {
    VK_CLASS_INFO
public:
    explicit TCustomGroupBox(TComponent* AOwner);
    bool ParentBackground() const noexcept { return FParentBackground; }
    void SetParentBackground(bool Value);

protected:
    void CreateParams(TCreateParams& Params) override;
    void WndProc(TMessage& Message) override;
};

class TGroupBox : public TCustomGroupBox {
    VK_CLASS_INFO
public:
    using TCustomGroupBox::TCustomGroupBox;
};

// -------------------------------------------------------- edits and lists

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

// The platform's edit. BorderStyle bsSingle gives the sunken client edge.
class TCustomEdit : public TWinControl {
    VK_CLASS_INFO
public:
    explicit TCustomEdit(TComponent* AOwner);

    bool ReadOnly() const noexcept { return FReadOnly; }
    void SetReadOnly(bool Value);
    // 0: no limit beyond the platform's.
    int MaxLength() const noexcept { return FMaxLength; }
    void SetMaxLength(int Value);
    // Shown instead of every character; 0 shows the text.
    wchar_t PasswordChar() const noexcept { return FPasswordChar; }
    void SetPasswordChar(wchar_t Value);
    TBorderStyle BorderStyle() const noexcept { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    TAlignment Alignment() const noexcept { return FAlignment; }
    void SetAlignment(TAlignment Value);

    // The user or the program changed the text.
    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void WndProc(TMessage& Message) override;
    virtual void Change();

private:
    bool FReadOnly = false;
    int FMaxLength = 0;
    wchar_t FPasswordChar = 0;
    TBorderStyle FBorderStyle = bsSingle;
    TAlignment FAlignment = taLeftJustify;
};

class TEdit : public TCustomEdit {
    VK_CLASS_INFO
public:
    using TCustomEdit::TCustomEdit;
};

// A multi-line edit whose text is Lines. WordWrap wraps at the right edge
// (and so has no horizontal scrolling).
class TCustomMemo : public TCustomEdit {
    VK_CLASS_INFO
public:
    explicit TCustomMemo(TComponent* AOwner);
    ~TCustomMemo() override;

    TStrings& Lines() noexcept { return FLines; }
    TScrollStyle ScrollBars() const noexcept { return FScrollBars; }
    void SetScrollBars(TScrollStyle Value);
    bool WordWrap() const noexcept { return FWordWrap; }
    void SetWordWrap(bool Value);
    bool WantReturns() const noexcept { return FWantReturns; }
    void SetWantReturns(bool Value) { FWantReturns = Value; }
    bool WantTabs() const noexcept { return FWantTabs; }
    void SetWantTabs(bool Value) { FWantTabs = Value; }

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void WndProc(TMessage& Message) override;
    void Change() override;

private:
    void LinesChanged(TObject* Sender);

    TStrings FLines;
    TScrollStyle FScrollBars = ssNone;
    bool FWordWrap = true;
    bool FWantReturns = true;
    bool FWantTabs = false;
    bool FSyncing = false;
};

class TMemo : public TCustomMemo {
    VK_CLASS_INFO
public:
    using TCustomMemo::TCustomMemo;
};

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable };

// The platform's list box; Items and ItemIndex survive the window.
class TCustomListBox : public TWinControl {
    VK_CLASS_INFO
public:
    explicit TCustomListBox(TComponent* AOwner);
    ~TCustomListBox() override;

    TStrings& Items() noexcept { return FItems; }
    int ItemIndex() const;
    void SetItemIndex(int Value);
    bool MultiSelect() const noexcept { return FMultiSelect; }
    void SetMultiSelect(bool Value);
    bool Sorted() const noexcept { return FSorted; }
    void SetSorted(bool Value);
    TListBoxStyle Style() const noexcept { return FStyle; }
    void SetStyle(TListBoxStyle Value);
    TBorderStyle BorderStyle() const noexcept { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    bool IntegralHeight() const noexcept { return FIntegralHeight; }
    void SetIntegralHeight(bool Value);
    // True for a selected line of a MultiSelect list.
    bool Selected(int Index) const;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void WndProc(TMessage& Message) override;

private:
    void ItemsChanged(TObject* Sender);
    void FillWindow();

    TStrings FItems;
    int FItemIndex = -1;
    bool FMultiSelect = false;
    bool FSorted = false;
    TListBoxStyle FStyle = lbStandard;
    TBorderStyle FBorderStyle = bsSingle;
    bool FIntegralHeight = false;
};

class TListBox : public TCustomListBox {
    VK_CLASS_INFO
public:
    using TCustomListBox::TCustomListBox;
};

enum TScrollBarKind { sbHorizontal, sbVertical };

// The platform's scroll bar control. Position stays within Min .. Max -
// PageSize + 1 (Max when PageSize is 0).
class TScrollBar : public TWinControl {
    VK_CLASS_INFO
public:
    explicit TScrollBar(TComponent* AOwner);

    TScrollBarKind Kind() const noexcept { return FKind; }
    void SetKind(TScrollBarKind Value);
    int Min() const noexcept { return FMin; }
    void SetMin(int Value) { SetParams(FPosition, Value, FMax); }
    int Max() const noexcept { return FMax; }
    void SetMax(int Value) { SetParams(FPosition, FMin, Value); }
    int Position() const noexcept { return FPosition; }
    void SetPosition(int Value) { SetParams(Value, FMin, FMax); }
    int PageSize() const noexcept { return FPageSize; }
    void SetPageSize(int Value);
    int SmallChange = 1;
    int LargeChange = 1;
    // Min above Max is refused (EInvalidArgument-like Exception).
    void SetParams(int APosition, int AMin, int AMax);

    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void WndProc(TMessage& Message) override;

private:
    void UpdateWindow();
    int Highest() const noexcept;

    TScrollBarKind FKind = sbHorizontal;
    int FMin = 0;
    int FMax = 100;
    int FPosition = 0;
    int FPageSize = 0;
};
