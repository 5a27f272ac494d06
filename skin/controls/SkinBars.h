// The bars and boxes: status bars, headers (also the header of a list view),
// group boxes, panels, and the plain dialog and toolbar windows inside system
// dialogs. Each reads what it draws from the native control (status bar
// parts, header items), so framework controls and bare windows are served
// alike and every change the control takes shows at its next paint.
#pragma once

#include "framework/Bitmap.h"
#include "skin/controls/ControlGeometry.h"
#include "skin/controls/SkinControl.h"

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

// One status bar panel as drawn: the face reaches the next panel (the
// native bar leaves a gap of 2), and the last one the bar's right edge.
struct TStatusPanelFace {
    RECT Rect{};
    int Frame = 1;          // of StatusBarEdges: 1 lowered, 2 raised, 3 no bevel
    bool OwnerDrawn = false;
    bool RightToLeft = false;
    UINT Alignment = DT_LEFT;
    std::wstring Text;      // without the tabs that chose the alignment
};

// The alignment a status text asks for with leading tabs (one: centred, two:
// right), as the native bar reads them, and the text without them.
UINT StatusTextAlignment(std::wstring& text) noexcept;

// Status bars: the skin's StatusBarEdges face per panel (or one face over a
// simple bar), the panel texts on it, and the size grip from ExtraImages.
class TSkinStatusBar : public TSkinControl {
    VK_CLASS_INFO
public:
    explicit TSkinStatusBar(TComponent* AOwner);

    // The panels as the next paint draws them, in window coordinates; one
    // panel over the whole bar for a simple bar.
    std::vector<TStatusPanelFace> PanelFaces() const;

protected:
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void DrawControl(HDC dc, const RECT& rect) override;

private:
    bool Simple() const;
    std::wstring SimpleText() const;
    void DrawPanel(HDC dc, const TStatusPanelFace& panel) const;
    void DrawSizeGrip(HDC dc, const RECT& rect) const;
    // Owner-drawn panels are drawn by the bar's parent, as the native bar asks.
    void DrawOwnerPanel(HDC dc, int index, const TStatusPanelFace& panel) const;
    HFONT TextFont() const;

    TBitmap FWork;
};

// Header controls: each item a Headerbar face (frame 2 under the mouse), its
// image and text on it, and the rest of the bar right of the last item a
// face of frame 1.
class TSkinHeader : public TSkinControl {
    VK_CLASS_INFO
public:
    explicit TSkinHeader(TComponent* AOwner);

    void AttachControl(TSkinControlList* form, TSkinData* skinData, bool setColour) override;
    void AttachWindow(HWND window, TSkinData* skinData, TSkinControlList* form) override;

    // The item under the mouse, or -1.
    int HotItem() const noexcept { return FHotItem; }

protected:
    bool BeforeMessage(TMessage& message) override;
    void DrawControl(HDC dc, const RECT& rect) override;

private:
    // Each item's rectangle as the control reports it, for the paint and the mouse alike.
    std::vector<TRectI> ItemRects() const;
    void SetHotItem(int item);
    void DrawItem(HDC dc, int index, const RECT& rect, HIMAGELIST images) const;

    int FHotItem = -1;
    TBitmap FWork;
};

// Group boxes: a rounded frame in the skin's border colour, the caption on
// the skin's face colour. Framework group boxes are filled with the face
// colour first; a bare group box (a dialog's) never fills, so the controls
// around it keep showing.
class TSkinGroupBox : public TSkinControl {
    VK_CLASS_INFO
public:
    explicit TSkinGroupBox(TComponent* AOwner);

    bool Container() const noexcept override { return true; }

    // The caption drawn: the window text, else the control's Caption property
    // (foreign group boxes keep it there).
    std::wstring CaptionText() const;

protected:
    bool BeforeMessage(TMessage& message) override;
    void DrawControl(HDC dc, const RECT& rect) override;

private:
    HFONT TextFont() const;
    TColor TextColour() const;
};

// Panels: only recoloured to the skin's face colour (and their parent
// background switched off) while skinned; they paint themselves.
class TSkinBox : public TSkinControl {
    VK_CLASS_INFO
public:
    explicit TSkinBox(TComponent* AOwner);

    bool Container() const noexcept override { return true; }
};

// Plain dialog windows and toolbar windows of system dialogs (bare): their
// background and their static controls' background in the skin's face colour.
class TSkinBoxH : public TSkinControl {
    VK_CLASS_INFO
public:
    explicit TSkinBoxH(TComponent* AOwner);

protected:
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
};
