// Pictures and panels.
#pragma once

#include "Bitmap.h"
#include "Controls.h"
#include "StdCtrls.h"

#include <string>

// A bitmap painted by the parent: at its natural size in the top-left
// corner, or stretched to the bounds; Transparent leaves the bitmap's
// transparent colour (its bottom-left pixel unless set) unpainted.
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

private:
    RECT DestRect() const;

    std::unique_ptr<TBitmap> FPicture;
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
