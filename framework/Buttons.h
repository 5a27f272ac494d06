// Buttons with a picture: TBitBtn (a push button drawing its glyph and
// caption) and TSpeedButton (windowless, for tool bars; can stay down and
// work in groups). Both lay out Glyph and Caption the same way.
#pragma once

#include "Bitmap.h"
#include "ImgList.h"
#include "StdCtrls.h"

#include <memory>

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum TBitBtnKind { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll };
enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };

// Where the glyph and the caption of a button go inside Client. Margin -1
// centres the pair; Spacing -1 spreads what is left evenly.
struct TButtonLayoutResult {
    RECT Glyph;
    RECT Text;
};
TButtonLayoutResult LayoutGlyphAndCaption(const RECT& Client, SIZE Glyph, SIZE Text, TButtonLayout Layout,
                                          int Margin, int Spacing);

// What TBitBtn and TSpeedButton share: the glyph strip (NumGlyphs frames
// side by side: up, disabled, down, exclusively down), an image list as the
// other source of pictures, and the layout values.
class TButtonGlyph {
public:
    TBitmap* Glyph() const noexcept { return FGlyph.get(); }
    // A copy of Value; nullptr empties the glyph.
    void SetGlyph(const TBitmap* Value);
    int NumGlyphs = 1;
    TCustomImageList* Images = nullptr;
    int ImageIndex = -1;
    int DisabledIndex = -1;
    TButtonLayout Layout = blGlyphLeft;
    int Margin = -1;
    int Spacing = 4;

    // Size of one picture (a glyph frame or an image), or 0 x 0.
    SIZE PictureSize() const;
    // Draws the picture for the state and the caption in the DC's font.
    void Draw(HDC DC, const RECT& Client, const std::wstring& Caption, TButtonState State, UINT TextFlags) const;

private:
    std::unique_ptr<TBitmap> FGlyph;
};

class TBitBtn : public TButton {
    VK_CLASS_INFO
public:
    explicit TBitBtn(TComponent* AOwner);

    TBitmap* Glyph() const noexcept { return FButtonGlyph.Glyph(); }
    void SetGlyph(const TBitmap* Value);
    int NumGlyphs() const noexcept { return FButtonGlyph.NumGlyphs; }
    void SetNumGlyphs(int Value);
    TCustomImageList* Images() const noexcept { return FButtonGlyph.Images; }
    void SetImages(TCustomImageList* Value);
    int ImageIndex() const noexcept { return FButtonGlyph.ImageIndex; }
    void SetImageIndex(int Value);
    int DisabledIndex() const noexcept { return FButtonGlyph.DisabledIndex; }
    void SetDisabledIndex(int Value);
    TButtonLayout Layout() const noexcept { return FButtonGlyph.Layout; }
    void SetLayout(TButtonLayout Value);
    int Margin() const noexcept { return FButtonGlyph.Margin; }
    void SetMargin(int Value);
    int Spacing() const noexcept { return FButtonGlyph.Spacing; }
    void SetSpacing(int Value);
    // A standard kind gives the caption and the modal result of that button.
    TBitBtnKind Kind() const noexcept { return FKind; }
    void SetKind(TBitBtnKind Value);

protected:
    void CreateParams(TCreateParams& Params) override;
    void WndProc(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void DrawItem(const DRAWITEMSTRUCT& Draw);

    TButtonGlyph FButtonGlyph;
    TBitBtnKind FKind = bkCustom;
};

// Windowless. With a GroupIndex other than 0 it stays down when clicked and
// brings the other buttons of its group and parent up; AllowAllUp lets the
// down one come up again. Flat shows the frame only under the mouse.
class TSpeedButton : public TGraphicControl {
    VK_CLASS_INFO
public:
    explicit TSpeedButton(TComponent* AOwner);

    bool Down() const noexcept { return FDown; }
    void SetDown(bool Value);
    int GroupIndex() const noexcept { return FGroupIndex; }
    void SetGroupIndex(int Value) { FGroupIndex = Value; }
    bool AllowAllUp() const noexcept { return FAllowAllUp; }
    void SetAllowAllUp(bool Value) { FAllowAllUp = Value; }
    bool Flat() const noexcept { return FFlat; }
    void SetFlat(bool Value);
    bool Transparent() const noexcept { return FTransparent; }
    void SetTransparent(bool Value);
    TBitmap* Glyph() const noexcept { return FButtonGlyph.Glyph(); }
    void SetGlyph(const TBitmap* Value);
    int NumGlyphs() const noexcept { return FButtonGlyph.NumGlyphs; }
    void SetNumGlyphs(int Value);
    TButtonLayout Layout() const noexcept { return FButtonGlyph.Layout; }
    void SetLayout(TButtonLayout Value);
    int Margin() const noexcept { return FButtonGlyph.Margin; }
    void SetMargin(int Value);
    int Spacing() const noexcept { return FButtonGlyph.Spacing; }
    void SetSpacing(int Value);

    void Click() override;

protected:
    void WndProc(TMessage& Message) override;
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    TButtonGlyph FButtonGlyph;
    bool FDown = false;
    bool FPressed = false;
    bool FMouseInControl = false;
    int FGroupIndex = 0;
    bool FAllowAllUp = false;
    bool FFlat = false;
    bool FTransparent = true;
};
