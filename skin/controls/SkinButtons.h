// The button family: push buttons painted from the skin's Buttons object
// (five state frames side by side: normal, pressed, disabled, mouse over,
// focused or default), composed off screen and put on the window in one
// block transfer.
#pragma once

#include "framework/Bitmap.h"
#include "skin/controls/ButtonGeometry.h"
#include "skin/controls/SkinControl.h"

#include <memory>

class TDataSkinObject;

// Frame `frame` of `count` of a skin object's strip, nine-slice over rect,
// see-through where the object says so. Nothing for an empty rectangle.
void DrawSkinObjectFrame(HDC dc, const RECT& rect, int frameCount, int frame, const TDataSkinObject& object);

class TSkinButton : public TSkinControl {
    VK_CLASS_INFO
public:
    explicit TSkinButton(TComponent* AOwner);

    void AttachControl(TSkinControlList* form, TSkinData* skinData, bool setColour) override;
    void AttachWindow(HWND window, TSkinData* skinData, TSkinControlList* form) override;
    bool Transparent() const noexcept { return FTransparent; }

protected:
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void DrawControl(HDC dc, const RECT& rect) override;

    // Reads focus, enabled state and caption, sizes the work bitmap and puts
    // the background and the face of the state's frame on it; the frame, or
    // 0 when the skin has no Buttons image.
    int ComposeFace(const RECT& rect, bool isDefault);
    // The two steps of ComposeFace: reading the state (false when the skin
    // has no Buttons image), and the face of a frame on the work bitmap.
    bool ReadFaceState();
    void DrawFaceFrame(const RECT& rect, int frame);
    // Draws text centred (or stretched across for other alignments) in rect
    // of dc, "||" as a line break, with the focus rectangle when focused.
    void DrawCaption(HDC dc, const RECT& rect, UINT alignment, const std::wstring& text);
    // The caption's colour in the frame: the control's font colour (or the
    // skin's text colour for a bare window) with the skin's overrides.
    TColor TextColour(int frame) const;
    // The font a bare window was given, or the control's.
    HFONT TextFont() const;
    void ReadTransparent();
    void Click();

    TBitmap FWork;
    bool FTransparent = false;
    // Buttons of some foreign families report a press themselves: a
    // forwarded one would reach them twice.
    bool FReportsPressItself = false;
};

// Check boxes and radio buttons: the mark from the skin's CheckButton or
// RadioButton strip, unscaled and vertically centred at the left edge (the
// right with BS_RIGHTBUTTON), the caption beside it on the skin's face.
// Without the strip the control paints itself.
class TSkinCheckBox : public TSkinControl {
    VK_CLASS_INFO
public:
    explicit TSkinCheckBox(TComponent* AOwner);

    void AttachControl(TSkinControlList* form, TSkinData* skinData, bool setColour) override;
    void AttachWindow(HWND window, TSkinData* skinData, TSkinControlList* form) override;

protected:
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void DrawControl(HDC dc, const RECT& rect) override;

    // The strip and its frame count.
    virtual const TBitmap* Strip() const;
    virtual int StripFrames() const;
    // 1 unchecked, 2 checked, 4 grayed.
    virtual int CheckState() const;
    void ReadSwitches();

    TBitmap FWork;
    bool FTransparent = false;
    // The skin has the mark strip: without it the control paints itself.
    bool FHasStrip = false;
    // The state last set through BM_SETCHECK, for data-aware boxes.
    int FLastCheck = 0;
};

class TSkinRadioButton : public TSkinCheckBox {
    VK_CLASS_INFO
public:
    explicit TSkinRadioButton(TComponent* AOwner);

protected:
    const TBitmap* Strip() const override;
    int StripFrames() const override;
    int CheckState() const override;
};

// An embossed copy of a one-frame glyph for the disabled state: the glyph's
// shape in the highlight colour one pixel down and right, in the shadow
// colour over it, on the button face.
std::unique_ptr<TBitmap> MakeDisabledGlyph(const TBitmap& glyph);

// Bit buttons: the face of a push button with the control's Glyph (NumGlyphs
// frames: up, disabled, down) or Images picture laid out beside the caption.
class TSkinBitButton : public TSkinButton {
    VK_CLASS_INFO
public:
    explicit TSkinBitButton(TComponent* AOwner);

protected:
    void DrawControl(HDC dc, const RECT& rect) override;

    TSizeI GlyphSize() const;
    // Frame glyphFrame of the glyph strip (frame 1 when the strip is
    // shorter); frame 2 of a one-frame glyph is its embossed copy.
    void DrawGlyph(HDC dc, const RECT& at, int glyphFrame) const;

    // How the glyph and caption go on a face.
    struct TContentRules {
        int GlyphFrame = 1;
        int TextFrame = 1;    // the face frame, for the text colour
        bool Centred = false; // Alignment "tacenter"
        int ExtraMargin = 0;
        bool FocusRect = false;
    };
    // Lays out and draws the glyph and the caption on the work bitmap.
    void DrawContent(HDC work, TSizeI size, const TContentRules& rules);
};

// Drop-down menu buttons: the Buttons face (hot when focused or under the
// mouse; never the default frame), then in one row the whole glyph, the
// caption and a small arrow pointing down.
class TSkinMenuButton : public TSkinButton {
    VK_CLASS_INFO
public:
    explicit TSkinMenuButton(TComponent* AOwner);

protected:
    void DrawControl(HDC dc, const RECT& rect) override;

private:
    TColor MenuTextColour(int frame) const;
};

// Windowless speed buttons: painted inside the graphic control's own paint
// (the parent's device context, origin at the button) from the Buttons
// image, a flat one showing the face only while pressed or hot; glyph and
// caption laid out as on a bit button. The control keeps its own mouse
// handling (groups, Down, clicks); the object only follows it to paint.
class TSkinSpeedButton : public TSkinBitButton {
    VK_CLASS_INFO
public:
    explicit TSkinSpeedButton(TComponent* AOwner);

protected:
    bool AttachesWindowless() const noexcept override { return true; }
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void DrawControl(HDC dc, const RECT& rect) override;

private:
    void DrawFace(HDC work, const RECT& local, int frame);

    bool FPainting = false;
};
