// The tab family: tab and page controls drawn from the skin's Tabs image on
// any side, their tab sheets, and tab controls in button style.
//
// A strip of tabs on the left or right is built upright, as if the tabs
// were on top, and turned a quarter at the end, so skins only ever draw
// tabs standing on their foot: right tabs read top to bottom, left tabs
// bottom to top. Tabs at the bottom use the image flipped.
#pragma once

#include "framework/Bitmap.h"
#include "skin/controls/ControlGeometry.h"
#include "skin/controls/SkinControl.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

// Tab and page controls, framework ones and bare "SysTabControl32" windows.
// The control never paints itself: the strip of tabs is composed in a work
// bitmap (face frame 2 for the selected tab, 3 under the mouse, 1 for the
// others), the pane drawn nine-slice over the display area. The tab scroll
// arrows get a skinned up-down of their own, which the strip's copy leaves
// uncovered. A framework TPageControl with Tag 7777 has a close box on each
// tab: a click on it asks the form (WM_SKINTABCLOSE) and, answered 0, frees
// the page once the click's message is over.
class TSkinTab : public TSkinControl {
    VK_CLASS_INFO
public:
    explicit TSkinTab(TComponent* AOwner);
    ~TSkinTab() override;

    void AttachControl(TSkinControlList* form, TSkinData* skinData, bool setColour) override;
    void AttachWindow(HWND window, TSkinData* skinData, TSkinControlList* form) override;
    void SkinChanged() override;

    TTabSide Side() const noexcept { return FTabPosition; }
    bool CloseButtons() const noexcept { return FCloseButtons; }
    // The tab under the mouse, or -1.
    int HotTab() const noexcept { return FHotTab; }

protected:
    bool BeforeMessage(TMessage& message) override;
    void DrawControl(HDC dc, const RECT& rect) override;

    // The Tabs image and the pane, turned to the side of the tabs.
    void PrepareTabBitmaps();

private:
    TStripGeometry Geometry(const RECT& rect) const;
    // The strip, the pane and around them, the scroll arrows left uncovered.
    void DrawSurface(HDC dc, const RECT& rect, const TStripGeometry& geometry);
    void DrawStrip(HDC dc, const TStripGeometry& geometry);
    void DrawTab(HDC strip, int index, const TRectI& upright, int selected);
    void DrawPane(HDC dc, const RECT& display);
    // The tab scroll arrows: the first "msctls_updown32" child, skinned once.
    HWND AttachUpDown();
    void TrackHot(const TMessage& message);
    bool ClickCloseBox(const TMessage& message);
    void FreePage(TMessage& message);

    TTabSide FTabPosition = tsdTop;
    std::unique_ptr<TBitmap> FTabBitmap;
    std::unique_ptr<TBitmap> FPaneBitmap;
    TBitmap FStripBitmap;
    RECT FPaneMargins{};
    bool FCloseButtons = false;
    int FHotTab = -1;
};

// Controls the skin draws whole: WM_PAINT (and WM_PRINTCLIENT) drawn by
// DrawControl, the erase filling the client with the skin's face colour.
// A control whose parent background was switched off paints itself, on the
// face colour it was given.
class TSkinFaceFilled : public TSkinControl {
    VK_CLASS_INFO
public:
    explicit TSkinFaceFilled(TComponent* AOwner);

    void AttachControl(TSkinControlList* form, TSkinData* skinData, bool setColour) override;

protected:
    bool BeforeMessage(TMessage& message) override;

private:
    bool FPaintsItself = false;
};

// Tab controls in button style: the row of buttons above the display area,
// each a face of the skin's Buttons image (frame 2 for the selected tab,
// else 1) with its image and text centred; the rest of the control on the
// skin's face colour.
class TSkinTabBtn : public TSkinFaceFilled {
    VK_CLASS_INFO
public:
    explicit TSkinTabBtn(TComponent* AOwner);

protected:
    void DrawControl(HDC dc, const RECT& rect) override;

private:
    void DrawButton(HDC work, int index, const RECT& face, bool selected);

    TBitmap FWork;
};

// The sheets of a page control: the skin's face colour behind their
// controls.
class TSkinTabSheet : public TSkinFaceFilled {
    VK_CLASS_INFO
public:
    explicit TSkinTabSheet(TComponent* AOwner);

protected:
    void DrawControl(HDC dc, const RECT& rect) override;
};
