// Labels and combo boxes. Buttons, check boxes, edits and group boxes join
// here as TButtonControl / TCustomEdit / TCustomGroupBox descendants.
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
