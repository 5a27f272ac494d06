#include "MenuBar.h"

#include "base/ThreadHook.h"
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

// The state of the one bar menu loop that can run at a time (the system
// runs one popup-menu loop per thread).
struct TMenuLoop {
    TWinSkinForm* Form = nullptr;
    TWinSkinMenu* Bar = nullptr;
    int OpenIndex = -1;
    HMENU OpenPopup = nullptr;
    // The bar item to open once this loop has ended, and whether the
    // keyboard asked for it (its first item is then selected).
    int Target = -1;
    bool TargetByKeyboard = false;
    POINT LastMousePos{};
    TOwnerDrawnItems OwnerDrawn;
};

namespace {

TMenuLoop* Loop = nullptr;

// An item the loop can move to: it has a menu to open. An item that is a
// command of its own is only ever run by a click or its accelerator, never
// by passing over it.
bool CanSwitchTo(const TMenuBtn& item)
{
    return item.Visible && item.Enabled && item.Popup && !item.Caption.empty();
}

// The next item the loop can move to in one direction, wrapping at the
// ends; -1 when there is none.
int NeighbourItem(const TWinSkinMenu& bar, int from, int step)
{
    const int count = static_cast<int>(bar.Items.size());
    for (int n = 1; n <= count; ++n) {
        const int index = ((from + step * n) % count + count) % count;
        const TMenuBtn& item = *bar.Items[static_cast<size_t>(index)];
        if (CanSwitchTo(item))
            return index;
    }
    return -1;
}

TMenuBtn* BarItemAtScreen(const TMenuLoop& loop, POINT screen)
{
    if (WindowFromPoint(screen) != loop.Form->Handle())
        return nullptr;
    return loop.Bar->ItemAt(loop.Form->ToWindowPoint(screen));
}

// Ends the running loop so that the target opens next.
bool SwitchTo(TMenuLoop& loop, int index, bool byKeyboard)
{
    if (index < 0 || index == loop.OpenIndex)
        return false;
    loop.Target = index;
    loop.TargetByKeyboard = byKeyboard;
    EndMenu();
    return true;
}

// The menus of the popup windows the loop shows now.
std::vector<HMENU> ShownMenus()
{
    std::vector<HMENU> menus;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM list) -> BOOL {
            wchar_t name[8] = {};
            if (IsWindowVisible(window) && GetClassNameW(window, name, 8) && std::wstring(name) == L"#32768")
                AsPointer<std::vector<HMENU>>(list)->push_back(
                    reinterpret_cast<HMENU>(SendMessageW(window, MN_GETHMENU, 0, 0)));
            return TRUE;
        },
        AsLParam(&menus));
    return menus;
}

// The innermost menu shown: the one none of whose items opens another
// shown menu.
HMENU InnermostMenu(const std::vector<HMENU>& menus)
{
    for (HMENU menu : menus) {
        bool opensAnother = false;
        for (int index = 0; index < GetMenuItemCount(menu) && !opensAnother; ++index) {
            HMENU sub = GetSubMenu(menu, index);
            opensAnother = sub && (GetMenuState(menu, static_cast<UINT>(index), MF_BYPOSITION) & MF_HILITE)
                           && std::find(menus.begin(), menus.end(), sub) != menus.end();
        }
        if (!opensAnother)
            return menu;
    }
    return nullptr;
}

// Right opens the sub-menu of the selected item when it has one; otherwise
// it leaves for the next bar item.
bool SelectedItemOpensAMenu(HMENU menu)
{
    for (int index = 0; menu && index < GetMenuItemCount(menu); ++index) {
        const UINT state = GetMenuState(menu, static_cast<UINT>(index), MF_BYPOSITION);
        if (state & MF_HILITE)
            return GetSubMenu(menu, index) && !(state & (MF_GRAYED | MF_DISABLED));
    }
    return false;
}

// The message filter of the loop: true takes the message away from the
// system's menu loop.
bool FilterMenuMessage(TMenuLoop& loop, MSG& msg)
{
    if (!loop.Bar)
        return false;
    const bool arrow = msg.wParam == VK_LEFT || msg.wParam == VK_RIGHT;
    if ((msg.message == WM_KEYDOWN || msg.message == WM_KEYUP) && arrow && loop.Bar->RightToLeft())
        msg.wParam = msg.wParam == VK_LEFT ? VK_RIGHT : VK_LEFT;
    switch (msg.message) {
    case WM_KEYDOWN:
        // At the top level Left and Right leave for the neighbour; inside a
        // sub-menu the system closes or opens sub-menus.
        if (msg.wParam == VK_LEFT && ShownMenus().size() <= 1)
            return SwitchTo(loop, NeighbourItem(*loop.Bar, loop.OpenIndex, -1), true);
        if (msg.wParam == VK_RIGHT && !SelectedItemOpensAMenu(InnermostMenu(ShownMenus())))
            return SwitchTo(loop, NeighbourItem(*loop.Bar, loop.OpenIndex, 1), true);
        return false;
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
        if (msg.pt.x == loop.LastMousePos.x && msg.pt.y == loop.LastMousePos.y)
            return false;
        loop.LastMousePos = msg.pt;
        if (const TMenuBtn* item = BarItemAtScreen(loop, msg.pt); item && CanSwitchTo(*item))
            SwitchTo(loop, item->Index, false);
        return false;
    case WM_LBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_NCLBUTTONDBLCLK: {
        // A press on the open item closes its menu, as on a native bar; a
        // press on another item opens that one.
        const TMenuBtn* item = BarItemAtScreen(loop, msg.pt);
        if (!item)
            return false;
        if (item->Index == loop.OpenIndex || !CanSwitchTo(*item)) {
            loop.Target = -1;
            EndMenu();
            return true;
        }
        return SwitchTo(loop, item->Index, false);
    }
    default: return false;
    }
}

LRESULT MenuFilterHook(int code, WPARAM, LPARAM lParam)
{
    if (code != MSGF_MENU || !Loop)
        return 0;
    try {
        return FilterMenuMessage(*Loop, *AsPointer<MSG>(lParam)) ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

// Loop points at the running loop for its lifetime.
class TLoopScope {
public:
    explicit TLoopScope(TMenuLoop& loop) { Loop = &loop; }
    ~TLoopScope() { Loop = nullptr; }
    TLoopScope(const TLoopScope&) = delete;
    TLoopScope& operator=(const TLoopScope&) = delete;
};

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

TWinSkinMenu::~TWinSkinMenu()
{
    // A bar going while its menu is open (the skin switched off from a
    // timer the loop dispatched) ends the loop and is forgotten by it.
    if (Loop && Loop->Bar == this) {
        Loop->Bar = nullptr;
        Loop->Target = -1;
        EndMenu();
    }
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
    TNCObject* hot = FOwner->HotObject();
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
            FOwner->SetHotObject(nullptr);
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
    for (const auto& button : FOwner->CaptionButtons) {
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
    for (const auto& button : FOwner->CaptionButtons)
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

void TOwnerDrawnItems::Add(HMENU menu, const TCustomForm* form)
{
    if (!menu || Covers(menu))
        return;
    FMenus.push_back(menu);
    const TMainMenu* frameworkMenu = form ? form->Menu() : nullptr;
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

// --- The frame's side ---

void TWinSkinForm::MakeMenuBar()
{
    HMENU menu = FIsChildWindow || FFormKind == 2 ? nullptr : GetMenu(FHandle);
    if (FFrameSkinned && menu && FBorderKind != 2)
        FSkinMenuBar = std::make_unique<TWinSkinMenu>(this, FSkinData, menu);
}

bool TWinSkinForm::ActiveMdiChildMaximised() const
{
    HWND client = MdiClient();
    BOOL maximised = FALSE;
    const auto active =
        client ? reinterpret_cast<HWND>(SendMessageW(client, WM_MDIGETACTIVE, 0, AsLParam(&maximised))) : nullptr;
    return active && maximised;
}

bool TWinSkinForm::MenuTrackingNow() const noexcept
{
    return Loop != nullptr;
}

RECT TWinSkinForm::MenuBand() const
{
    return {FMetrics.LeftWidth, FMetrics.TopHeight, FFrameWidth - FMetrics.RightWidth,
            FMetrics.TopHeight + FMetrics.MenuHeight};
}

TMenuBtn* TWinSkinForm::FindAccelItem(wchar_t ch) const
{
    return FSkinMenuBar ? FSkinMenuBar->FindAccelItem(ch) : nullptr;
}

void TWinSkinForm::OpenBarItem(TMenuBtn& first, bool byKeyboard)
{
    if (!FSkinMenuBar || Loop)
        return;
    // Painting and hooks never let a failure out of the window procedure.
    try {
        int index = first.Index;
        bool keyboard = byKeyboard;
        while (index >= 0 && FSkinMenuBar && index < static_cast<int>(FSkinMenuBar->Items.size())) {
            TMenuLoop loop;
            TrackBarItem(index, keyboard, loop);
            index = loop.Target;
            keyboard = loop.TargetByKeyboard;
        }
    } catch (...) {
    }
}

void TWinSkinForm::TrackBarItem(int index, bool byKeyboard, TMenuLoop& loop)
{
    TMenuBtn& item = *FSkinMenuBar->Items[static_cast<size_t>(index)];
    if (!item.Popup) {
        // An item without a sub-menu is a command of its own.
        if (item.Enabled)
            PostMessageW(FHandle, WM_COMMAND, MAKEWPARAM(item.Command, 0), 0);
        return;
    }
    item.MouseDown();
    loop.Form = this;
    loop.Bar = FSkinMenuBar.get();
    loop.OpenIndex = index;
    loop.OpenPopup = item.Popup;
    GetCursorPos(&loop.LastMousePos);
    RECT window{};
    GetWindowRect(FHandle, &window);
    const bool rightToLeft = FSkinMenuBar->RightToLeft();
    const POINT at{(rightToLeft ? item.Bounds.right : item.Bounds.left) + window.left, item.Bounds.bottom + window.top};
    const HMENU popup = item.Popup;
    if (item.Enabled) {
        if (SkinManager)
            SkinManager->PopupKind = 1;
        const TLoopScope scope(loop);
        const TThreadHook filter(WH_MSGFILTER, &MenuFilterHook);
        // Opened from the keyboard, the menu starts with its first item
        // selected, as a native bar's does.
        if (byKeyboard)
            PostMessageW(FHandle, WM_KEYDOWN, VK_DOWN, 0);
        TrackPopupMenu(popup, TPM_RIGHTBUTTON | (rightToLeft ? TPM_RIGHTALIGN : TPM_LEFTALIGN), at.x, at.y, 0,
                       FHandle, nullptr);
    }
    if (FSkinMenuBar && index < static_cast<int>(FSkinMenuBar->Items.size()))
        FSkinMenuBar->Items[static_cast<size_t>(index)]->MouseLeave();
}

bool TWinSkinForm::MenuBarStage(TMessage& message)
{
    switch (message.Msg) {
    case WM_SKINMENUKEY: {
        const POINT screen{LoWordSigned(message.LParam), HiWordSigned(message.LParam)};
        if (TMenuBtn* item = FSkinMenuBar ? FSkinMenuBar->ItemAt(ToWindowPoint(screen)) : nullptr)
            OpenBarItem(*item, true);
        message.Result = 0;
        return true;
    }
    default: return false;
    }
}

void TWinSkinForm::OwnerDrawLoopPopup(HMENU menu)
{
    if (Loop && Loop->Form == this)
        Loop->OwnerDrawn.Add(menu, FormOf(*this));
}

bool TWinSkinForm::LoopItemLook(UINT id, ULONG_PTR itemData, TMenuItemLook& look) const
{
    if (!Loop || Loop->Form != this)
        return false;
    if (const TMenuItemLook* bare = Loop->OwnerDrawn.Find(itemData)) {
        look = *bare;
        return true;
    }
    const TCustomForm* form = FormOf(*this);
    const TMainMenu* menu = form ? form->Menu() : nullptr;
    const TMenuItem* item = menu ? menu->FindItem(id, TFindItemKind::fkCommand) : nullptr;
    // An item with a drawing of its own keeps it.
    if (!item || item->OnDrawItem || !item->Parent() || !Loop->OwnerDrawn.Covers(item->Parent()->Handle()))
        return false;
    look = MenuItemLookOf(*item);
    return true;
}

bool TWinSkinForm::BarMouse(TMessage& message, TMenuBtn* item)
{
    switch (message.Msg) {
    case WM_NCMOUSEMOVE:
        if (!FActive)
            return false;
        item->MouseEnter();
        StartHoverTimer();
        break;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
        HideHint();
        if (!FActive)
            SetForegroundWindow(FHandle);
        OpenBarItem(*item, false);
        break;
    case WM_NCLBUTTONUP: HideHint(); break;
    default: return false;
    }
    message.Result = 0;
    return true;
}

void TWinSkinForm::MenuChanged()
{
    if (!FSkinMenuBar)
        return;
    const TCustomForm* form = FormOf(*this);
    HMENU menu = form && form->Menu() ? form->Menu()->Handle() : GetMenu(FHandle);
    FSkinMenuBar->TakeNewMenu(menu);
    if (FState == fsReady && IsWindowVisible(FHandle))
        PaintFrame();
}

bool TWinSkinForm::DialogChar(WPARAM ch)
{
    // Alt+letter of a framework form: only Alt held, no other key or button.
    const bool onlyAlt = GetKeyState(VK_MENU) < 0 && GetKeyState(VK_SHIFT) >= 0 && GetKeyState(VK_CONTROL) >= 0
                         && GetKeyState(VK_LBUTTON) >= 0 && GetKeyState(VK_RBUTTON) >= 0;
    const TMenuBtn* item = onlyAlt ? FindAccelItem(static_cast<wchar_t>(ch)) : nullptr;
    if (!item || Loop)
        return false;
    RECT window{};
    GetWindowRect(FHandle, &window);
    const POINT at{window.left + item->Bounds.left + 1, window.top + item->Bounds.top + 1};
    PostMessageW(FHandle, WM_SKINMENUKEY, 0, MAKELPARAM(at.x, at.y));
    return true;
}
