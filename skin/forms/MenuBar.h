// The skinned menu bar of a frame: TWinSkinMenu takes the window's menu off
// the window (so the system never draws it) and paints its top-level items
// into the frame's menu band from the skin; TMenuBtn is one item, a
// non-client object like a caption button. The loop that opens the items is
// MenuBarLoop.h.
#pragma once

#include "skin/forms/WinSkinForm.h"

#include <windows.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

class TMainMenu;
class TSkinData;
class TWinSkinMenu;

// One top-level item of the bar.
class TMenuBtn final : public TNCObject {
public:
    TMenuBtn(TWinSkinForm* owner, TWinSkinMenu* bar, int index) : TNCObject(owner), Bar(bar), Index(index) {}
    // Draws the item (its state frame and caption) in window coordinates.
    void Paint(HDC dc) override;

    TWinSkinMenu* Bar;
    int Index;             // position among the bar's items
    std::wstring Caption;  // with its '&' accelerator mark
    HMENU Popup = nullptr; // the sub-menu, or none: the item is a command of its own
    UINT Command = 0;
};

class TWinSkinMenu {
public:
    // Reads the items of menu; the window keeps its menu until TakeMenu.
    TWinSkinMenu(TWinSkinForm* owner, TSkinData* skinData, HMENU menu);
    ~TWinSkinMenu() = default;
    TWinSkinMenu(const TWinSkinMenu&) = delete;
    TWinSkinMenu& operator=(const TWinSkinMenu&) = delete;

    // Takes the menu off the window (the skin draws it from now on).
    void TakeMenu();
    // The window's menu is now this one (a framework form or MDI frame set
    // a new one): the items are read again and the window shows none.
    void TakeNewMenu(HMENU menu);
    // Skin off, window stays: the window shows its menu again.
    void GiveMenuBack();
    // The window is going: the menu goes with it as it would have, unless a
    // framework menu owns it.
    void DropWithWindow();

    // Reads the items again from the menu (and the framework menu), then lays them out.
    void RebuildItems();
    // The skin changed: the next paint lays the items out again.
    void SkinChanged() noexcept { FLaidOut = false; }
    // Item rectangles in the band (window coordinates); items without room get none.
    void Layout(const RECT& band);
    // Paints the band (window coordinates) into dc.
    void Paint(HDC dc, const RECT& band);
    // The first item with a caption whose Bounds contain the window point.
    TMenuBtn* ItemAt(POINT windowPoint) const;
    // The first visible, enabled item whose accelerator is ch.
    TMenuBtn* FindAccelItem(wchar_t ch) const;
    // The first visible, enabled item, for Alt alone.
    TMenuBtn* FirstItem() const;
    bool RightToLeft() const;

    HMENU MenuHandle() const noexcept { return FMenu; }
    const RECT& BarRect() const noexcept { return FBarRect; }
    std::vector<std::unique_ptr<TMenuBtn>> Items;

    // --- Internal to the bar's painting ---
    TSkinData* SkinData() const noexcept { return FSkinData; }
    TWinSkinForm* Owner() const noexcept { return FOwner; }
    // The framework form's menu behind the bar, or null for a bare window.
    TMainMenu* FrameworkMenu() const;

private:
    void BuildFromMenu();
    void BuildFromFramework(const TMainMenu& menu);
    void PaintBackground(HDC dc, const RECT& band);
    // The buttons of a maximised MDI child (the skin's Align 100 buttons).
    void PaintMdiChildButtons(HDC dc);
    // The left edge of those buttons, or -1 when none shows.
    int MdiChildButtonsLeft() const;

    TWinSkinForm* FOwner;
    TSkinData* FSkinData;
    HMENU FMenu;
    bool FTaken = false;
    RECT FBarRect{};
    bool FLaidOut = false;
};

// The menu items of the open bar loop made owner-drawn for the time the
// loop runs, and given back their own drawing after it. A framework item is
// drawn from its framework object (found by command); an item of a bare
// window from what it showed when the loop opened it.
class TOwnerDrawnItems {
public:
    TOwnerDrawnItems() = default;
    ~TOwnerDrawnItems();
    TOwnerDrawnItems(const TOwnerDrawnItems&) = delete;
    TOwnerDrawnItems& operator=(const TOwnerDrawnItems&) = delete;

    // The items of menu (one level) become owner-drawn; items owner-drawn
    // already, and menus done already, are left as they are.
    void Add(HMENU menu, const TMainMenu* frameworkMenu);
    // The look of a bare item, found by its item data; null when not ours.
    const TMenuItemLook* Find(ULONG_PTR itemData) const noexcept;
    bool Covers(HMENU menu) const noexcept;

private:
    struct TChanged {
        HMENU Menu = nullptr;
        UINT Position = 0;
        UINT Id = 0;
        UINT Type = 0;
        ULONG_PTR Data = 0;
        std::wstring Text;
    };
    std::vector<TChanged> FChanged;
    std::vector<HMENU> FMenus;
    std::deque<TMenuItemLook> FLooks; // stable addresses: they are the items' data
};
