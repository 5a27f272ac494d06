// Skinned popup menus: TWinSkinPopMenu paints the frame and background of
// one popup menu window ("#32768") from the skin's MenuBackground; the item
// painter draws an owner-drawn menu item from the skin's MenuItem image, the
// menu glyphs and the menu colours, over the background of the popup that
// shows it.
//
// The skin manager makes a TWinSkinPopMenu for every popup menu window of
// the thread as it is created and frees it as the window is destroyed.
#pragma once

#include "base/WindowSubclass.h"
#include "framework/Bitmap.h"
#include "framework/GdiObjects.h"
#include "framework/Messages.h"

#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>

class TMenuItem;
class TSkinData;
class TWinControl;

// The subclass kind of the skinned popup menus.
extern const char kPopupMenuKind;

class TWinSkinPopMenu {
public:
    TWinSkinPopMenu(HWND window, TSkinData* skinData);
    // Gives the window its own procedure back.
    ~TWinSkinPopMenu();
    TWinSkinPopMenu(const TWinSkinPopMenu&) = delete;
    TWinSkinPopMenu& operator=(const TWinSkinPopMenu&) = delete;

    void Detach() noexcept;
    // A new skin while the popup is open: the background is made again from
    // it before the frame and the items are painted anew.
    void SkinChanged();

    HWND Handle() const noexcept { return FHandle; }
    // The menu whose items this popup shows; null until an item is drawn.
    HMENU OwnerMenu = nullptr;
    // The rendered background at the window's size, or null before the
    // first paint.
    const TBitmap* Background() const noexcept { return FBackground.get(); }

private:
    void WindowProc(TMessage& message);
    bool Skinned() const;
    const TBitmap& RenderBackground();
    void NcPaint(TMessage& message);
    void PaintEdges();
    void Print(TMessage& message);

    HWND FHandle;
    TSkinData* FSkinData;
    TWindowSubclass FSubclass;
    std::unique_ptr<TBitmap> FBackground;
};

// One owner-drawn menu item as the painter sees it.
struct TMenuItemLook {
    std::wstring Caption; // "-" for a separator; a tab starts the shortcut text
    HIMAGELIST Images = nullptr; // the menu's glyphs, or none
    int ImageIndex = -1;         // in Images
    bool Enabled = true;
    bool Checked = false;
    bool Default = false;
};

// How the skinned item painter shows a framework menu item.
TMenuItemLook MenuItemLookOf(const TMenuItem& item);

// The screen's menu font, bold for a default item.
gdi::Font MenuFont(bool bold);

// The framework popup menus of a form (and of the forms it owns) drawn by
// the skinned item painter, or back to their own drawing. Menus whose Tag is
// the skin's DisableTag keep theirs.
void SetOwnerDrawMenus(TWinControl* form, const TSkinData& skin, bool on);

// The size of an item in the menu font.
SIZE MeasureMenuItem(const TSkinData& skin, const TMenuItemLook& item);
// Paints the item into rect of dc; background is the popup's rendered
// background (item at rect + (3, 3) in it), or null for the Menu colour.
void PaintMenuItem(HDC dc, const RECT& rect, const TSkinData& skin, const TMenuItemLook& item, bool selected,
                   const TBitmap* background);
