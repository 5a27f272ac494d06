#include "MenuBar.h"

#include "framework/Forms.h"
#include "framework/Menus.h"
#include "framework/Messages.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/WinSkinData.h"
#include "skin/forms/SkinManager.h"
#include "skin/forms/SkinMessages.h"

#include <algorithm>

namespace {

// Longest item text taken over from a bare window's menu.
constexpr int kMenuTextLimit = 80;

// One item of a menu, with its text up to the limit.
struct TReadItem {
    MENUITEMINFOW Info{};
    wchar_t Text[kMenuTextLimit + 1] = {};
};

bool ReadMenuItem(HMENU menu, int index, UINT mask, TReadItem& item)
{
    item.Info.cbSize = sizeof(item.Info);
    item.Info.fMask = mask | MIIM_STRING;
    item.Info.dwTypeData = item.Text;
    item.Info.cch = kMenuTextLimit;
    return GetMenuItemInfoW(menu, static_cast<UINT>(index), TRUE, &item.Info) != FALSE;
}

int TextWidth(HDC dc, const std::wstring& text)
{
    RECT measure{0, 0, 0, 0};
    DrawTextWide(dc, text, measure, DT_CALCRECT | DT_SINGLELINE);
    return measure.right - measure.left;
}

TCustomForm* FormOf(const TWinSkinForm& frame)
{
    return dynamic_cast<TCustomForm*>(frame.Form());
}

} // namespace


// --- TMenuBtn ---

void TMenuBtn::Paint(HDC dc)
{
    if (!Visible || IsRectEmpty(&Bounds))
        return;
    const TSkinData& skin = *Bar->SkinData();
    if (ButtonState == 2 || ButtonState == 3) {
        const gdi::Brush edge(CreateSolidBrush(ColorToRGB(skin.SkinColor(scButtonHilight))));
        FrameRect(dc, &Bounds, edge.Get());
    }
    const gdi::Font font = MenuFont(false);
    const gdi::Selection selection(dc, font.Get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(skin.SkinColor(Enabled ? scMenuBarText : scButtonShadow)));
    RECT text = Bounds;
    DrawTextWide(dc, Caption, text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

// --- TWinSkinMenu ---

TWinSkinMenu::TWinSkinMenu(TWinSkinForm* owner, TSkinData* skinData, HMENU menu)
    : FOwner(owner), FSkinData(skinData), FMenu(menu)
{
    RebuildItems();
}

TMainMenu* TWinSkinMenu::FrameworkMenu() const
{
    const TCustomForm* form = FormOf(*FOwner);
    return form ? form->Menu() : nullptr;
}

bool TWinSkinMenu::RightToLeft() const
{
    const TMainMenu* menu = FrameworkMenu();
    return (menu && menu->IsRightToLeft()) || (GetWindowLongPtrW(FOwner->Handle(), GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR);
}

void TWinSkinMenu::TakeMenu()
{
    if (FTaken)
        return;
    FTaken = true;
    SetMenu(FOwner->Handle(), nullptr);
}

void TWinSkinMenu::TakeNewMenu(HMENU menu)
{
    FMenu = menu;
    if (FTaken && GetMenu(FOwner->Handle()))
        SetMenu(FOwner->Handle(), nullptr);
    RebuildItems();
}

void TWinSkinMenu::GiveMenuBack()
{
    if (FTaken && FMenu && IsMenu(FMenu))
        SetMenu(FOwner->Handle(), FMenu);
    FTaken = false;
}

void TWinSkinMenu::DropWithWindow()
{
    // A framework menu belongs to its component; a bare window would have
    // destroyed the menu it showed.
    if (FTaken && FMenu && !FrameworkMenu() && IsMenu(FMenu))
        DestroyMenu(FMenu);
    FTaken = false;
    FMenu = nullptr;
}

void TWinSkinMenu::RebuildItems()
{
    TNCObject* hot = FOwner->Caption().HotObject();
    const size_t before = Items.size();
    std::vector<std::unique_ptr<TMenuBtn>> old = std::move(Items);
    Items.clear();
    if (const TMainMenu* menu = FrameworkMenu())
        BuildFromFramework(*menu);
    else
        BuildFromMenu();
    // A rebuild during an open loop (a click handler changed the menu) must
    // not leave the frame pointing at a freed item.
    for (size_t index = 0; index < before; ++index)
        if (old[index].get() == hot)
            FOwner->Caption().SetHotObject(nullptr);
    FLaidOut = false;
}

void TWinSkinMenu::BuildFromFramework(const TMainMenu& menu)
{
    const TMenuItem& root = *menu.Items();
    for (int index = 0; index < root.Count(); ++index) {
        const TMenuItem& source = *root.Items(index);
        if (!source.Visible() || source.Caption().empty())
            continue;
        auto item = std::make_unique<TMenuBtn>(FOwner, this, static_cast<int>(Items.size()));
        item->Caption = source.Caption();
        item->Enabled = source.Enabled();
        item->Command = source.Command();
        item->Popup = source.Count() > 0 ? source.Handle() : nullptr;
        Items.push_back(std::move(item));
    }
}

void TWinSkinMenu::BuildFromMenu()
{
    const int count = FMenu ? GetMenuItemCount(FMenu) : 0;
    for (int index = 0; index < count; ++index) {
        TReadItem read;
        const MENUITEMINFOW& info = read.Info;
        if (!ReadMenuItem(FMenu, index, MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE, read)
            || (info.fType & (MFT_SEPARATOR | MFT_OWNERDRAW)) || read.Text[0] == 0)
            continue;
        auto item = std::make_unique<TMenuBtn>(FOwner, this, static_cast<int>(Items.size()));
        item->Caption = read.Text;
        item->Enabled = !(info.fState & (MFS_GRAYED | MFS_DISABLED));
        item->Command = info.wID;
        item->Popup = info.hSubMenu;
        Items.push_back(std::move(item));
    }
}

void TWinSkinMenu::Layout(const RECT& band)
{
    FBarRect = band;
    FLaidOut = true;
    const int bandWidth = FBarRect.right - FBarRect.left;
    const bool rightToLeft = RightToLeft();
    // Gaps at 96 pixels per inch, scaled like the skin's margins.
    const TSkinData& skin = *FSkinData;
    int start = skin.Scaled(6);
    if (const TDataSkinObject* bar = skin.MenuBar(); HasImage(bar)) {
        start = rightToLeft ? bar->RightWidth + skin.Scaled(8) : bar->LeftWidth + skin.Scaled(4);
        if (bandWidth < start)
            start = skin.Scaled(12);
    }
    const gdi::MemoryDC dc;
    const gdi::Font font = MenuFont(false);
    const gdi::Selection selection(dc.Get(), font.Get());
    int x = rightToLeft ? FBarRect.right - start : FBarRect.left + start;
    // Right to left, the items end clear of a maximised MDI child's buttons.
    if (const int buttons = MdiChildButtonsLeft(); rightToLeft && buttons >= 0)
        x = std::min(x, buttons - skin.Scaled(5));
    for (const auto& item : Items) {
        if (!item->Visible || bandWidth <= 0) {
            item->Bounds = {};
            continue;
        }
        int width = TextWidth(dc.Get(), item->Caption);
        if (width > 0)
            width += skin.Scaled(10);
        const int left = rightToLeft ? x - width : x;
        item->Bounds = {left, FBarRect.top, left + width, FBarRect.bottom - 1};
        x += rightToLeft ? -width : width;
    }
}

void TWinSkinMenu::PaintBackground(HDC dc, const RECT& rect)
{
    const TDataSkinObject* bar = FSkinData->MenuBar();
    if (!HasImage(bar)) {
        const gdi::Brush fill(CreateSolidBrush(ColorToRGB(FSkinData->SkinColor(scMenubar))));
        FillRect(dc, &rect, fill.Get());
        return;
    }
    const int count = std::max(1, bar->FrameCount);
    const int frame = FOwner->Active() || count < 2 ? 1 : 2;
    const RECT margins{bar->LeftWidth, 0, bar->RightWidth, 0};
    if (bar->Tile == 1) {
        DrawNineSliceFrame(dc, rect, *bar->Bitmap, true, false, false, count, frame, margins);
    } else {
        TCanvas canvas(dc);
        DrawTiledStrip(canvas, rect, *bar->Bitmap, true, false, count, frame, margins);
    }
}

void TWinSkinMenu::Paint(HDC dc, const RECT& band)
{
    const int width = band.right - band.left;
    const int height = band.bottom - band.top;
    if (width <= 0 || height <= 0)
        return;
    if (!FLaidOut || !EqualRect(&band, &FBarRect))
        Layout(band);
    TBitmap scratch(width, height, pf24bit);
    HDC target = scratch.Canvas().Handle();
    PaintBackground(target, {0, 0, width, height});
    // The items draw in window coordinates.
    POINT origin{};
    SetViewportOrgEx(target, -band.left, -band.top, &origin);
    for (const auto& item : Items)
        item->Paint(target);
    PaintMdiChildButtons(target);
    SetViewportOrgEx(target, origin.x, origin.y, nullptr);
    BitBlt(dc, band.left, band.top, width, height, target, 0, 0, SRCCOPY);
}

void TWinSkinMenu::PaintMdiChildButtons(HDC dc)
{
    for (const auto& button : FOwner->Caption().Buttons) {
        const TDataSkinSysButton& skin = *button->SkinButton;
        if (!button->Visible || skin.Align != 100 || skin.Bitmap->Empty())
            continue;
        // These buttons show frame 4 under the mouse.
        const int state = button->ButtonState == 3 ? 4 : button->ButtonState;
        const int frame = state <= skin.FrameCount ? state : 1;
        DrawStretchedFrame(dc, button->Bounds, *skin.Bitmap, true, std::max(1, skin.FrameCount), frame);
    }
}

int TWinSkinMenu::MdiChildButtonsLeft() const
{
    int left = -1;
    for (const auto& button : FOwner->Caption().Buttons)
        if (button->Visible && button->SkinButton->Align == 100 && !button->SkinButton->Bitmap->Empty())
            left = left < 0 ? button->Bounds.left : std::min<int>(left, button->Bounds.left);
    return left;
}

TMenuBtn* TWinSkinMenu::ItemAt(POINT windowPoint) const
{
    for (const auto& item : Items)
        if (item->Visible && !item->Caption.empty() && PtInRect(&item->Bounds, windowPoint))
            return item.get();
    return nullptr;
}

TMenuBtn* TWinSkinMenu::FindAccelItem(wchar_t ch) const
{
    wchar_t key = ch;
    CharUpperBuffW(&key, 1);
    for (const auto& item : Items)
        if (item->Visible && item->Enabled && key != 0 && GetHotkey(item->Caption) == key)
            return item.get();
    return nullptr;
}

TMenuBtn* TWinSkinMenu::FirstItem() const
{
    for (const auto& item : Items)
        if (item->Visible && item->Enabled && !item->Caption.empty())
            return item.get();
    return nullptr;
}

// --- TOwnerDrawnItems ---

TOwnerDrawnItems::~TOwnerDrawnItems()
{
    for (auto change = FChanged.rbegin(); change != FChanged.rend(); ++change) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_ID;
        // A click handler may have rebuilt the menu meanwhile: only the item
        // still in its place is given back.
        if (!GetMenuItemInfoW(change->Menu, change->Position, TRUE, &info) || info.wID != change->Id)
            continue;
        info.fMask = MIIM_FTYPE | MIIM_DATA;
        info.fType = change->Type;
        info.dwItemData = change->Data;
        if (!(change->Type & (MFT_SEPARATOR | MFT_BITMAP)) && !change->Text.empty()) {
            info.fMask |= MIIM_STRING;
            info.dwTypeData = change->Text.data();
        }
        SetMenuItemInfoW(change->Menu, change->Position, TRUE, &info);
    }
}

bool TOwnerDrawnItems::Covers(HMENU menu) const noexcept
{
    return std::find(FMenus.begin(), FMenus.end(), menu) != FMenus.end();
}

const TMenuItemLook* TOwnerDrawnItems::Find(ULONG_PTR itemData) const noexcept
{
    for (const TMenuItemLook& look : FLooks)
        if (reinterpret_cast<ULONG_PTR>(&look) == itemData)
            return &look;
    return nullptr;
}

void TOwnerDrawnItems::Add(HMENU menu, const TMainMenu* frameworkMenu)
{
    if (!menu || Covers(menu))
        return;
    FMenus.push_back(menu);
    const int count = GetMenuItemCount(menu);
    for (int index = 0; index < count; ++index) {
        TReadItem read;
        const MENUITEMINFOW& info = read.Info;
        const wchar_t* text = read.Text;
        // Items someone draws already, and picture items, keep their drawing.
        if (!ReadMenuItem(menu, index, MIIM_STATE | MIIM_ID | MIIM_FTYPE | MIIM_DATA, read)
            || (info.fType & (MFT_OWNERDRAW | MFT_BITMAP)))
            continue;
        TChanged& change = FChanged.emplace_back();
        change.Menu = menu;
        change.Position = static_cast<UINT>(index);
        change.Id = info.wID;
        change.Type = info.fType;
        change.Data = info.dwItemData;
        change.Text = text;
        MENUITEMINFOW owned{};
        owned.cbSize = sizeof(owned);
        owned.fMask = MIIM_FTYPE;
        owned.fType = info.fType | MFT_OWNERDRAW;
        // A framework item is drawn from its object, found by command; a
        // bare one from what it shows now, kept here as its item data.
        if (!frameworkMenu || !frameworkMenu->FindItem(info.wID, TFindItemKind::fkCommand)) {
            TMenuItemLook& look = FLooks.emplace_back();
            const bool separator = (info.fType & MFT_SEPARATOR) || text[0] == 0;
            look.Caption = separator ? L"-" : text;
            look.Enabled = separator || !(info.fState & (MFS_GRAYED | MFS_DISABLED));
            look.Checked = (info.fState & MFS_CHECKED) != 0;
            look.Default = (info.fState & MFS_DEFAULT) != 0;
            look.Images = nullptr;
            owned.fMask |= MIIM_DATA;
            owned.dwItemData = reinterpret_cast<ULONG_PTR>(&look);
        }
        SetMenuItemInfoW(menu, static_cast<UINT>(index), TRUE, &owned);
    }
}
