// The frame's side of its skinned menu bar: it owns the bar (MenuBar.h),
// opens its items from the mouse and the keyboard, and runs the system's
// popup-menu loop for them with a message-filter hook that keeps the bar
// behaving like a native one: the mouse sliding onto another item, Left and
// Right at the top level, Escape and Alt. The popups of the loop are
// owner-drawn by the skinned item painter (PopupMenu.h) while they are open.
#pragma once

#include <windows.h>

#include <memory>

class TMenuBtn;
class TWinSkinForm;
class TWinSkinMenu;
struct TMenuItemLook;
struct TMenuLoop;
struct TMessage;

class TMenuBarLoop {
public:
    explicit TMenuBarLoop(TWinSkinForm& frame);
    ~TMenuBarLoop();
    TMenuBarLoop(const TMenuBarLoop&) = delete;
    TMenuBarLoop& operator=(const TMenuBarLoop&) = delete;

    // Makes the bar of a skinned window with a menu.
    void Make();
    // Skin off, window stays: the window shows its menu again.
    void GiveBack();
    // The window is going: the bar goes, and the menu with it unless it
    // lives on (a framework menu, or a window that stays).
    void Drop(bool withWindow);

    // The bar, or null.
    TWinSkinMenu* Bar() const noexcept { return FBar.get(); }
    // A menu of the bar is open.
    static bool Tracking() noexcept;

    // Opens the item's sub-menu under it and runs the bar's menu loop until
    // the user leaves the bar; an item without a sub-menu sends its command.
    void Open(TMenuBtn& item, bool byKeyboard);
    // WM_SKINMENUKEY; true when answered.
    bool HandleMessage(TMessage& message);
    // The non-client mouse on a bar item; true when answered.
    bool Mouse(TMessage& message, TMenuBtn& item);
    // The items of a popup of the bar's loop become owner-drawn (WM_INITMENUPOPUP).
    void OwnerDrawPopup(HMENU menu);
    // How an owner-drawn item of the bar's loop looks; false when not one.
    bool ItemLook(UINT id, ULONG_PTR itemData, TMenuItemLook& look) const;
    // The framework's menu-changed notification: the bar reads its menu again.
    void MenuChanged();
    // Alt+letter seen by a framework form: true when it opens a bar item.
    bool DialogChar(WPARAM ch);

private:
    void Track(int index, bool byKeyboard, TMenuLoop& loop);
    // A running loop of the bar forgets it before it goes.
    void EndLoop() noexcept;

    TWinSkinForm& FFrame;
    std::unique_ptr<TWinSkinMenu> FBar;
};
