// The caption buttons of a skinned frame and the non-client mouse: which
// buttons show, where they go, how they look in each state, what a click on
// them does, their hints, the window menu they and the caption open, and the
// system keys that open it. The rules without a window are in CaptionRules.h.
#pragma once

#include "skin/forms/CaptionRules.h"
#include "skin/forms/PopupMenu.h"

#include <windows.h>

#include <deque>
#include <memory>
#include <vector>

class TDataSkinSysButton;
class TWinSkinForm;
struct TMessage;

// A non-client object of one frame (a caption button, a menu bar item):
// mouse tracking and painting in window coordinates. The caption buttons and
// menu bar derive from it. At most one object of a frame is hot or pressed
// at a time: the caption bar's HotObject.
class TNCObject {
public:
    explicit TNCObject(TWinSkinForm* owner) : Owner(owner) {}
    virtual ~TNCObject() = default;
    TNCObject(const TNCObject&) = delete;
    TNCObject& operator=(const TNCObject&) = delete;

    virtual void MouseDown();
    virtual void MouseUp();
    virtual void MouseEnter();
    virtual void MouseLeave();
    // Draws into the caption strip bitmap's DC (window coordinates).
    virtual void Paint(HDC dc) = 0;

    TWinSkinForm* Owner;
    RECT Bounds{};
    bool Visible = true;
    int ButtonState = 1; // 1 normal, 2 pressed, 3 hot
    bool Enabled = true;

protected:
    void SetState(int state);
};

// One caption button: the skin's button it shows, drawn in the caption strip.
class TWinSysButton final : public TNCObject {
public:
    TWinSysButton(TWinSkinForm* owner, TDataSkinSysButton* skinButton) : TNCObject(owner), SkinButton(skinButton) {}
    void Paint(HDC dc) override;

    TDataSkinSysButton* SkinButton; // the skin data's
};

// Everything under the frame's caption the mouse and the system keys reach.
class TCaptionBar {
public:
    explicit TCaptionBar(TWinSkinForm& frame) : FFrame(frame) {}
    TCaptionBar(const TCaptionBar&) = delete;
    TCaptionBar& operator=(const TCaptionBar&) = delete;

    // One button per entry of the skin's list; rebuilt at every remeasure.
    void Build();
    void Release();
    // Stores and returns whether the button shows in the window's state.
    bool EvaluateVisibility(size_t index);
    // Evaluates every button's visibility and the room the right-aligned
    // ones take (RightButtonsExtent): what the composed caption depends on.
    std::vector<int> StateKey();
    // Places the visible buttons around the caption text block.
    void Layout(int frameWidth, const RECT& textBack, int iconSize);
    // The first visible, working button at a window point.
    TWinSysButton* ButtonAt(POINT windowPoint) const;

    // The non-client mouse, the system keys, the hover timer and the window
    // menu's items; true when the message was answered.
    bool HandleMessage(TMessage& message);
    // The click of the hot caption button.
    void PerformAction();
    void ShowWindowMenu(POINT screenPoint);

    TNCObject* HotObject() const noexcept { return FHotObject; }
    void SetHotObject(TNCObject* object) noexcept { FHotObject = object; }
    // The hot object (if any) is left, the hint hidden, the timer stopped.
    void LeaveHotObject();
    void HideHint();
    // Hovering an object keeps the timer running; the bar's loop starts it too.
    void StartHoverTimer();
    void StopHoverTimer();
    // One hover-timer tick (every 250 ms while an object is hot).
    void HoverTick();
    // The hint clock of the hovered button (ticks counted, not timed).
    const captionrules::THintClock& HintClock() const noexcept { return FHintClock; }
    bool HoverTimerRunning() const noexcept { return FHoverTimerOn; }

    // One per entry of the skin's caption-button list; empty until built.
    std::vector<std::unique_ptr<TWinSysButton>> Buttons;
    int RightButtonsExtent = 0;

private:
    captionrules::TWindowFacts WindowFacts() const;
    bool MouseMessage(TMessage& message);
    bool NcMouseMove(TMessage& message, TWinSysButton* button);
    void NcLButtonDown(TMessage& message, TWinSysButton* button);
    void NcLButtonUp(TMessage& message, TWinSysButton* button);
    void NcLButtonDblClk(TMessage& message, TWinSysButton* button);
    bool SysCommand(TMessage& message);
    void PostSystemCommand(WPARAM command);
    void PerformMdiAction(WPARAM command);
    // Copies the window menu's items (and their sub-menus) into popup as
    // items drawn from the skin.
    void CopyWindowMenu(HMENU from, HMENU popup);
    // WM_MEASUREITEM and WM_DRAWITEM of the skinned menu items.
    bool MenuItemMessage(TMessage& message);
    // WM_MENUCHAR: a letter typed while the window menu is open.
    bool MenuChar(TMessage& message) const;
    // The look of a skinned item of the window menu or of the bar's loop.
    const TMenuItemLook* ItemLook(UINT ctlType, UINT id, ULONG_PTR itemData, TMenuItemLook& loopLook) const;
    const TMenuItemLook* WindowMenuItem(ULONG_PTR itemData) const noexcept;

    TWinSkinForm& FFrame;
    TNCObject* FHotObject = nullptr;
    // The button the left button went down on: only a release on that same
    // button clicks it.
    TNCObject* FPressedObject = nullptr;
    bool FHoverTimerOn = false;
    captionrules::THintClock FHintClock;
    DWORD FLastMenuTick = 0;
    bool FLastMenuTickSet = false;
    // The items of the open window menu, sub-menus included; a deque keeps
    // each look where its menu item's data points while more are added.
    std::deque<TMenuItemLook> FWindowMenuItems;
};
