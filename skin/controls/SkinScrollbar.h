// Skinned scroll bars. A window's own scroll bars are drawn by the system in
// its non-client area, where nothing from outside can paint them reliably, so
// each one is covered by an overlay window of ours (TWScrollbar): a sibling of
// the control placed exactly over the native bar, directly above the control
// in z-order, painted from the skin's Scrollbar, HorzScroll/VertScroll and
// HorzScrollThumb/VertScrollThumb images. The overlay only mirrors the native
// bar (GetScrollBarInfo) and hands every press back to it, so the system's
// own tracking, auto-repeat and thumb drag keep scrolling the control.
//
// The overlay follows the native bar on every change: its owner reads both
// bars again after every message the control handles and re-places or
// repaints an overlay only when what it shows differs from the native bar.
// There is no timer, and nothing can scroll, resize, fill or empty the
// control without a message passing through it.
#pragma once

#include "framework/Bitmap.h"
#include "skin/controls/ScrollGeometry.h"
#include "skin/controls/SkinControl.h"

#include <windows.h>

#include <memory>

// What an overlay covers: the horizontal or vertical bar of a window, or a
// whole scroll-bar control.
enum TOverlayKind { okHorizontal = 0, okVertical = 1, okControl = 2 };

// What one scroll bar shows, in the coordinates of the bar itself.
struct TScrollFace {
    bool Vertical = true;
    int Length = 0;          // along the axis
    int Breadth = 0;         // across it
    int ButtonSize = 0;
    TThumbExtent Thumb;
    bool Available = true;   // the system has not greyed the bar
    int HotPart = spNone;
    bool Tracking = false;
};

// The system's arrow length on a bar of that orientation.
int ArrowSize(bool vertical) noexcept;

// Messages that only ask the control something: nothing of its bars can
// change while it answers them, and they come often.
bool OnlyAsks(UINT msg) noexcept;

// Paints face into rect of dc from the skin (shared by the overlays and the
// drop-down lists' bar). False, and nothing painted, when the skin has no
// Scrollbar image or the rectangle is empty.
bool PaintScrollFace(HDC dc, const RECT& rect, const TSkinData& skin, const TScrollFace& face, TBitmap& work);

// One overlay over one native scroll bar; owned by its skin object and never
// outliving it. Its window is destroyed with it (or with its parent first,
// which it notices).
class TWScrollbar {
public:
    TWScrollbar(TSkinControl& owner, HWND target, TOverlayKind kind);
    ~TWScrollbar();
    TWScrollbar(const TWScrollbar&) = delete;
    TWScrollbar& operator=(const TWScrollbar&) = delete;

    // Places the overlay over the native bar and shows it, or hides it when
    // the bar or the control is not visible; repaints it.
    void Layout();
    void HideOverlay();
    // Reads the native bar; lays out and repaints only when it changed.
    void Follow();
    void Repaint();
    // The part shown hot (a scroll request code, or spNone).
    void SetHotPart(int part);
    void SetEnabled(bool enabled);

    HWND Handle() const noexcept { return FWindow; }
    HWND Target() const noexcept { return FTarget; }
    TOverlayKind Kind() const noexcept { return FKind; }
    bool Shown() const noexcept { return FShown; }
    bool Tracking() const noexcept { return FTracking; }
    int HotPart() const noexcept { return FHotPart; }
    // The native bar in screen coordinates as last followed.
    RECT ScreenRect() const noexcept { return FBar.Screen; }

private:
    // The native bar as read.
    struct TBar {
        bool Visible = false;
        RECT Screen{};
        RECT Placement{};    // in the parent's client coordinates
        int ButtonSize = 0;
        TThumbExtent Thumb;
        bool Available = true;
        bool Same(const TBar& other) const noexcept;
    };

    bool ReadBar(TBar& bar) const;
    bool Vertical() const noexcept;
    bool SkinHasBar() const;
    HWND InsertAfter() const;
    // The control an overlay window covers, or nullptr for other windows.
    static HWND OverlayOf(HWND window) noexcept;
    TScrollFace Face() const;
    int Along(POINT client) const;
    void Paint(HDC dc);
    void MouseMove(POINT client);
    void LeftButtonDown(POINT client);
    void LeftButtonUp(POINT client);
    LRESULT Message(UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK WndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

    TSkinControl& FOwner;
    HWND FTarget;
    TOverlayKind FKind;
    HWND FWindow = nullptr;
    TBar FBar;
    bool FShown = false;
    bool FTracking = false;
    bool FMouseInside = false;
    int FHotPart = spNone;
    int FButtonSize;
    POINT FPressCursor{};
    int FThumbAtPress = 0;
    bool FLayingOut = false;
    bool FFollowing = false;
    TBitmap FWork;
    // Cleared by the destructor: a press handed to the system may end after
    // the skin was switched off and this overlay freed.
    std::shared_ptr<bool> FAlive;
};

// A framework control with scroll bars (list boxes, memos, scroll boxes,
// list views ...): both bars covered by overlays, and, unless in single-bar
// mode or the control has no border, a two-pixel frame in the skin's
// colours over its outer edge.
class TSkinScrollbar : public TSkinControl {
    VK_CLASS_INFO
public:
    explicit TSkinScrollbar(TComponent* AOwner);
    ~TSkinScrollbar() override;

    // Single-bar mode (the "singlescrollbar" kind): no frame of our own.
    // Before attaching.
    void SetSingleBar() noexcept { FSingleBar = true; }

    void AttachControl(TSkinControlList* form, TSkinData* skinData, bool setColour) override;
    void AttachWindow(HWND window, TSkinData* skinData, TSkinControlList* form) override;
    void Deactivate() override;
    void SkinChanged() override;

    TWScrollbar* Horizontal() const noexcept { return FHorizontal.get(); }
    TWScrollbar* Vertical() const noexcept { return FVertical.get(); }
    bool Bordered() const noexcept { return FBorder; }

protected:
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void Switched(bool on) override;

private:
    void MakeOverlays();
    void FollowBars();
    void DrawFrame(HDC windowDC) const;
    void FillCorner(HDC windowDC) const;
    void GiveBack();

    std::unique_ptr<TWScrollbar> FHorizontal;
    std::unique_ptr<TWScrollbar> FVertical;
    bool FBorder = false;
    // The object skins one bar of the window, as a combo box's list has.
    bool FSingleBar = false;
    bool FFixedColourSaved = false;
    int FSavedFixedColour = 0;
    bool FClipSiblingsAdded = false;
};

class TSkinHeader;

// List views: their bars as any scrolled control, and their column header
// skinned by a TSkinHeader this object owns (the header is the list view's
// own child and lives and dies with it).
class TSkinListView : public TSkinScrollbar {
    VK_CLASS_INFO
public:
    explicit TSkinListView(TComponent* AOwner);
    ~TSkinListView() override;

    void AttachControl(TSkinControlList* form, TSkinData* skinData, bool setColour) override;
    void AttachWindow(HWND window, TSkinData* skinData, TSkinControlList* form) override;
    void Deactivate() override;
    void SkinChanged() override;

    // The skinned header, or nullptr while the list view has none.
    TSkinHeader* Header() const noexcept { return FHeader.get(); }

protected:
    void AfterMessage(TMessage& message) override;
    void Switched(bool on) override;

private:
    // Skins the list view's header when it has one not skinned yet (a
    // header appears with the report view, and a new one with a new window).
    void FollowHeader();

    std::unique_ptr<TSkinHeader> FHeader;
};

// A scroll-bar control (the framework's TScrollBar, or a bare "scrollbar"
// window): one overlay over the whole control.
class TSkinScrollBarControl : public TSkinControl {
    VK_CLASS_INFO
public:
    explicit TSkinScrollBarControl(TComponent* AOwner);
    ~TSkinScrollBarControl() override;

    void AttachControl(TSkinControlList* form, TSkinData* skinData, bool setColour) override;
    void AttachWindow(HWND window, TSkinData* skinData, TSkinControlList* form) override;
    void Deactivate() override;

    TWScrollbar* Overlay() const noexcept { return FOverlay.get(); }

protected:
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void Switched(bool on) override;

private:
    void MakeOverlay();

    std::unique_ptr<TWScrollbar> FOverlay;
};

// The vertical bar of a combo box's drop-down list, drawn straight into the
// list's non-client area (the list is a pop-up window: no sibling can lie
// over its bar). Presses on the thumb are tracked here; arrows and paging go
// to the system, and the bar is drawn again after each change.
class TComboxScrollBar : public TSkinControl {
    VK_CLASS_INFO
public:
    explicit TComboxScrollBar(TComponent* AOwner);

    bool Tracking() const noexcept { return FTracking; }

protected:
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void DrawControl(HDC dc, const RECT& rect) override;

private:
    // Tracks a press on the thumb in a loop of its own; false when the
    // press was elsewhere (the system then handles it).
    bool TrackThumb(const TMessage& message);
    bool ReadBar(SCROLLBARINFO& info) const;

    int FButtonSize;
    bool FTracking = false;
    // While tracking: the thumb's offset from the end of the first arrow.
    int FTrackOffset = 0;
    SCROLLBARINFO FPainted{};
    TBitmap FWork;
};
