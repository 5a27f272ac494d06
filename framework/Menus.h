// Menus: trees of TMenuItem under a TMainMenu (a form's menu bar) or a
// TPopupMenu (a context menu). The objects hold the whole state; the
// platform menus are rebuilt from them whenever an item changes, so they can
// be made owner-drawn, hidden, re-captioned or moved at any time.
//
// Every item has a command identifier unique in the process, the one its
// WM_COMMAND, WM_MEASUREITEM and WM_DRAWITEM carry; an item with sub-items
// also has the handle of its sub-menu. The skin engine finds items by either
// (TMenu::FindItem) and reads them by their published properties.
#pragma once

#include "Controls.h"
#include "ImgList.h"

#include <windows.h>

#include <string>
#include <vector>

class TMenu;

// A key with its modifiers, as menus show it: the virtual key in the low
// byte, scShift, scCtrl and scAlt above.
using TShortCut = unsigned short;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
constexpr TShortCut scNone = 0;
// "Ctrl+Shift+F4", "Alt+Del": the text shown right of an item's caption.
std::wstring ShortCutToText(TShortCut ShortCut);
// The accelerator of a caption: the character after a single '&' ("&&" is a
// literal ampersand), upper-cased; 0 when there is none.
wchar_t GetHotkey(const std::wstring& Caption);
// The caption without its accelerator marks.
std::wstring StripHotkey(const std::wstring& Caption);

using TMenuDrawItemEvent = TDelegate<void(TObject* Sender, TCanvas& ACanvas, const RECT& ARect, bool Selected)>;
using TMenuMeasureItemEvent = TDelegate<void(TObject* Sender, TCanvas& ACanvas, int& Width, int& Height)>;

class TMenuItem : public TComponent {
    VK_CLASS_INFO
public:
    explicit TMenuItem(TComponent* AOwner);
    // Frees the sub-items, then leaves the parent item.
    ~TMenuItem() override;

    // "-" makes a separator; '&' marks the accelerator.
    const std::wstring& Caption() const noexcept { return FCaption; }
    void SetCaption(const std::wstring& Value);
    bool IsLine() const noexcept { return FCaption == L"-"; }
    // Unique in the process while the item lives.
    UINT Command() const noexcept { return FCommand; }
    bool Enabled() const noexcept { return FEnabled; }
    void SetEnabled(bool Value);
    bool Visible() const noexcept { return FVisible; }
    void SetVisible(bool Value);
    bool Checked() const noexcept { return FChecked; }
    void SetChecked(bool Value);
    // The default item of its sub-menu, shown bold.
    bool Default() const noexcept { return FDefault; }
    void SetDefault(bool Value);
    // Checking one radio item of a GroupIndex unchecks the others.
    bool RadioItem() const noexcept { return FRadioItem; }
    void SetRadioItem(bool Value);
    int GroupIndex() const noexcept { return FGroupIndex; }
    void SetGroupIndex(int Value) { FGroupIndex = Value; }
    TShortCut ShortCut() const noexcept { return FShortCut; }
    void SetShortCut(TShortCut Value);
    // In the menu's Images; -1 for none.
    int ImageIndex() const noexcept { return FImageIndex; }
    void SetImageIndex(int Value);

    // The sub-menu of an item with sub-items, else nullptr. The root item of
    // a TMenu has the menu's own handle.
    HMENU Handle() const noexcept { return FHandle; }
    int Count() const noexcept { return static_cast<int>(FItems.size()); }
    TMenuItem* Items(int Index) const { return FItems.at(static_cast<size_t>(Index)); }
    TMenuItem* Parent() const noexcept { return FParent; }
    int MenuIndex() const noexcept;
    // Takes the item from its current parent, if any.
    void Add(TMenuItem* Item);
    void Insert(int Index, TMenuItem* Item);
    void Remove(TMenuItem* Item);
    // Frees every sub-item.
    void Clear();
    // The menu this item is part of, or nullptr for a loose item.
    TMenu* GetParentMenu() const noexcept;
    // The menu's image list, or nullptr.
    TCustomImageList* GetImageList() const noexcept;

    // Fires OnClick; checks a radio item.
    virtual void Click();
    // The framework's own size of the item, without OnMeasureItem: the
    // glyph square (the image list's width, else 16) and 3 pixels, the
    // caption in the canvas font, 10 pixels and the shortcut text when there
    // is one, and 8 more; height the larger of the text height + 4 and the
    // glyph height + 3. A separator is 10 wide and half a menu bar high.
    void MeasureItem(TCanvas& ACanvas, int& Width, int& Height) const;
    // The framework's own drawing of an owner-drawn item: background, glyph
    // or check mark, caption (bold for the default item) and shortcut text.
    void DrawItem(TCanvas& ACanvas, const RECT& ARect, bool Selected) const;
    // OnMeasureItem when assigned, else MeasureItem; OnDrawItem when
    // assigned, else DrawItem.
    void DoMeasureItem(TCanvas& ACanvas, int& Width, int& Height);
    void DoDrawItem(TCanvas& ACanvas, const RECT& ARect, bool Selected);

    TNotifyEvent OnClick;
    TMenuDrawItemEvent OnDrawItem;
    TMenuMeasureItemEvent OnMeasureItem;

private:
    friend class TMenu;
    friend class TMainMenu;
    friend class TPopupMenu;
    // Called by TMenu for its root item.
    void MakeRoot(TMenu* AMenu, HMENU AHandle);
    void Changed();
    void ChildrenChanged();
    void RebuildHandle();
    void UpdateItemInfo(MENUITEMINFOW& Info, std::wstring& Text) const;
    void TurnOffSiblings();

    std::wstring FCaption;
    UINT FCommand;
    bool FEnabled = true;
    bool FVisible = true;
    bool FChecked = false;
    bool FDefault = false;
    bool FRadioItem = false;
    int FGroupIndex = 0;
    TShortCut FShortCut = scNone;
    int FImageIndex = -1;
    HMENU FHandle = nullptr;
    TMenuItem* FParent = nullptr;
    TMenu* FMenu = nullptr; // only on a root item
    std::vector<TMenuItem*> FItems;
};

enum class TFindItemKind { fkCommand, fkHandle, fkShortCut };

class TMenu : public TComponent {
    VK_CLASS_INFO
public:
    ~TMenu() override;
    HMENU Handle() const noexcept { return FItems->Handle(); }
    // The root item; its sub-items are the menu's items.
    TMenuItem* Items() const noexcept { return FItems; }

    // Items draw through OnDrawItem / OnMeasureItem (or the framework's own
    // DrawItem / MeasureItem) instead of the platform's drawing.
    bool OwnerDraw() const noexcept { return FOwnerDraw; }
    void SetOwnerDraw(bool Value);
    TCustomImageList* Images() const noexcept { return FImages; }
    void SetImages(TCustomImageList* Value);
    // Right-to-left menus mirror their items.
    TBiDiMode BiDiMode() const noexcept { return FBiDiMode; }
    void SetBiDiMode(TBiDiMode Value);
    bool IsRightToLeft() const noexcept { return FBiDiMode != bdLeftToRight; }

    // An item of this menu (the root excluded) by command, by sub-menu
    // handle or by shortcut; nullptr when none.
    TMenuItem* FindItem(UINT_PTR Value, TFindItemKind Kind) const;
    // Runs the Click of the item with that command; false when none.
    bool DispatchCommand(UINT Command);
    // Runs the Click of the item whose sub-menu opens; false when none.
    bool DispatchPopup(HMENU SubMenu);
    // Runs the Click of the enabled item with that shortcut.
    bool IsShortCut(TShortCut Key);

protected:
    // Takes ownership of Handle, the platform menu of the root item.
    TMenu(TComponent* AOwner, HMENU Handle);
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // An item of this menu changed; the platform menu is up to date.
    virtual void MenuChanged() {}

private:
    friend class TMenuItem;
    static void RebuildTree(TMenuItem* Item);

    TMenuItem* FItems;
    bool FOwnerDraw = false;
    TCustomImageList* FImages = nullptr;
    TBiDiMode FBiDiMode = bdLeftToRight;
};

// A menu bar; the form shows it through its Menu property and is told of
// every change (CM_MENUCHANGED) so the bar is drawn again.
class TMainMenu : public TMenu {
    VK_CLASS_INFO
public:
    explicit TMainMenu(TComponent* AOwner);
    // The window showing the bar; set by the form.
    HWND WindowHandle() const noexcept { return FWindowHandle; }
    void SetWindowHandle(HWND Value) noexcept { FWindowHandle = Value; }

protected:
    void MenuChanged() override;

private:
    HWND FWindowHandle = nullptr;
};

enum TPopupAlignment { paLeft, paRight, paCenter };

// A context menu. Popup runs the platform's menu loop and returns after the
// chosen item's OnClick (if any) has run.
class TPopupMenu : public TMenu {
    VK_CLASS_INFO
public:
    explicit TPopupMenu(TComponent* AOwner);

    // At a screen point.
    void Popup(int X, int Y);
    TPopupAlignment Alignment() const noexcept { return FAlignment; }
    void SetAlignment(TPopupAlignment Value) { FAlignment = Value; }
    // The control the menu was last opened for, set by whoever opens it.
    TComponent* PopupComponent = nullptr;
    // While the menu is open: the hidden window that owns it and receives
    // its WM_MEASUREITEM and WM_DRAWITEM; otherwise nullptr.
    HWND Window() const noexcept { return FWindow; }

    TNotifyEvent OnPopup;

private:
    HWND FWindow = nullptr;
    TPopupAlignment FAlignment = paLeft;
};

// The framework item of a menu-item notification (WM_MEASUREITEM or
// WM_DRAWITEM with ODT_MENU) inside Menu; nullptr when not one of its items.
TMenuItem* MenuItemOfDrawMessage(const TMenu* Menu, const TMessage& Message);
// Answers WM_MEASUREITEM / WM_DRAWITEM for Menu's items; false otherwise.
bool HandleMenuDrawMessage(const TMenu* Menu, TMessage& Message);
