// Pictures and panels.
#pragma once

#include "Bitmap.h"
#include "Controls.h"
#include "StdCtrls.h"

#include <string>

// A bitmap painted by the parent: at its natural size in the top-left
// corner, or stretched to the bounds; Transparent leaves the bitmap's
// transparent colour (its bottom-left pixel unless set) unpainted. The
// natural size is the picture's at the control's resolution: a picture is
// drawn for 96 pixels per inch like the form it sits on, and shown
// resampled on a scaled form (smoothly; pixel for pixel when Transparent,
// so the see-through colour stays exact).
class TImage : public TGraphicControl {
    VK_CLASS_INFO
public:
    explicit TImage(TComponent* AOwner);

    TBitmap* Picture() const noexcept { return FPicture.get(); }
    // Loads a BMP file into Picture; throws and keeps the old picture when
    // the file is missing or not a bitmap.
    void LoadFromFile(const std::wstring& FileName);
    // Call after changing Picture directly: resizes (AutoSize) and repaints.
    void PictureChanged();

    bool Stretch() const noexcept { return FStretch; }
    void SetStretch(bool Value);
    bool Transparent() const noexcept { return FTransparent; }
    void SetTransparent(bool Value);
    bool AutoSize() const noexcept { return FAutoSize; }
    void SetAutoSize(bool Value);
    bool Center() const noexcept { return FCenter; }
    void SetCenter(bool Value);

protected:
    void Paint() override;
    void ChangeScale(int M, int D) override;

private:
    RECT DestRect() const;
    SIZE NaturalSize() const;
    // The picture at its natural size; made when first drawn.
    const TBitmap& ShownPicture() const;

    std::unique_ptr<TBitmap> FPicture;
    mutable std::unique_ptr<TBitmap> FShownPicture;
    bool FStretch = false;
    bool FTransparent = false;
    bool FAutoSize = false;
    bool FCenter = false;
};

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

// A window of our own that fills itself with Color, draws its bevels and
// centres its caption; a container for other controls.
class TCustomPanel : public TCustomControl {
    VK_CLASS_INFO
public:
    explicit TCustomPanel(TComponent* AOwner);

    TBevelCut BevelOuter() const noexcept { return FBevelOuter; }
    void SetBevelOuter(TBevelCut Value);
    TBevelCut BevelInner() const noexcept { return FBevelInner; }
    void SetBevelInner(TBevelCut Value);
    int BevelWidth() const noexcept { return FBevelWidth; }
    void SetBevelWidth(int Value);
    TAlignment Alignment() const noexcept { return FAlignment; }
    void SetAlignment(TAlignment Value);
    // Paint the parent's colour instead of Color.
    bool ParentBackground() const noexcept { return FParentBackground; }
    void SetParentBackground(bool Value);

protected:
    void CreateParams(TCreateParams& Params) override;
    void WndProc(TMessage& Message) override;
    void Paint() override;

private:
    TBevelCut FBevelOuter = bvRaised;
    TBevelCut FBevelInner = bvNone;
    int FBevelWidth = 1;
    TAlignment FAlignment = taCenter;
};

class TPanel : public TCustomPanel {
    VK_CLASS_INFO
public:
    using TCustomPanel::TCustomPanel;
};

enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum TBevelStyle { bsLowered, bsRaised };

// Windowless lines and frames that group controls visually; the platform
// has no control for them.
class TBevel : public TGraphicControl {
    VK_CLASS_INFO
public:
    explicit TBevel(TComponent* AOwner);
    TBevelShape Shape() const noexcept { return FShape; }
    void SetShape(TBevelShape Value);
    TBevelStyle Style() const noexcept { return FStyle; }
    void SetStyle(TBevelStyle Value);

protected:
    void Paint() override;

private:
    TBevelShape FShape = bsBox;
    TBevelStyle FStyle = bsLowered;
};

// A group box holding one radio button per line of Items, in Columns
// columns; ItemIndex is the checked one (-1 for none).
class TCustomRadioGroup : public TCustomGroupBox {
    VK_CLASS_INFO
public:
    explicit TCustomRadioGroup(TComponent* AOwner);
    ~TCustomRadioGroup() override;

    TStrings& Items() noexcept { return FItems; }
    int ItemIndex() const noexcept { return FItemIndex; }
    void SetItemIndex(int Value);
    int Columns() const noexcept { return FColumns; }
    void SetColumns(int Value);
    // The radio button of a line; nullptr out of range.
    TRadioButton* Buttons(int Index) const noexcept;

    TNotifyEvent OnClick;

protected:
    void WndProc(TMessage& Message) override;

private:
    void ItemsChanged(TObject* Sender);
    void ButtonClick(TObject* Sender);
    void ArrangeButtons();

    TStrings FItems;
    std::vector<TRadioButton*> FButtons;
    int FItemIndex = -1;
    int FColumns = 1;
};

class TRadioGroup : public TCustomRadioGroup {
    VK_CLASS_INFO
public:
    using TCustomRadioGroup::TCustomRadioGroup;
};
