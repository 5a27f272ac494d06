#include "MenuBarLoop.h"

#include "base/ThreadHook.h"
#include "framework/Menus.h"
#include "framework/Messages.h"
#include "skin/forms/MenuBar.h"
#include "skin/forms/SkinManager.h"
#include "skin/forms/SkinMessages.h"
#include "skin/forms/WinSkinForm.h"

#include <algorithm>
#include <vector>

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

TMenuBarLoop::TMenuBarLoop(TWinSkinForm& frame) : FFrame(frame) {}

TMenuBarLoop::~TMenuBarLoop()
{
    EndLoop();
}

void TMenuBarLoop::Make()
{
    const bool noBar = FFrame.WindowStyle().IsChildWindow || FFrame.FormKind() == fkMdiChild;
    HMENU menu = noBar ? nullptr : GetMenu(FFrame.Handle());
    if (FFrame.FrameSkinned() && menu && FFrame.BorderKind() != bkNoCaption)
        FBar = std::make_unique<TWinSkinMenu>(&FFrame, FFrame.SkinData(), menu);
}

void TMenuBarLoop::EndLoop() noexcept
{
    // A bar going while its menu is open (the skin switched off from a
    // timer the loop dispatched) ends the loop and is forgotten by it.
    if (Loop && FBar && Loop->Bar == FBar.get()) {
        Loop->Bar = nullptr;
        Loop->Target = -1;
        EndMenu();
    }
}

void TMenuBarLoop::GiveBack()
{
    if (!FBar)
        return;
    EndLoop();
    FBar->GiveMenuBack();
    FBar.reset();
}

void TMenuBarLoop::Drop(bool withWindow)
{
    if (!FBar)
        return;
    EndLoop();
    if (withWindow)
        FBar->DropWithWindow();
    else
        FBar->GiveMenuBack();
    FBar.reset();
}

bool TMenuBarLoop::Tracking() noexcept
{
    return Loop != nullptr;
}

void TMenuBarLoop::Open(TMenuBtn& first, bool byKeyboard)
{
    if (!FBar || Loop)
        return;
    // Painting and hooks never let a failure out of the window procedure.
    try {
        int index = first.Index;
        bool keyboard = byKeyboard;
        while (index >= 0 && FBar && index < static_cast<int>(FBar->Items.size())) {
            TMenuLoop loop;
            Track(index, keyboard, loop);
            index = loop.Target;
            keyboard = loop.TargetByKeyboard;
        }
    } catch (...) {
    }
}

void TMenuBarLoop::Track(int index, bool byKeyboard, TMenuLoop& loop)
{
    TMenuBtn& item = *FBar->Items[static_cast<size_t>(index)];
    if (!item.Popup) {
        // An item without a sub-menu is a command of its own.
        if (item.Enabled)
            PostMessageW(FFrame.Handle(), WM_COMMAND, MAKEWPARAM(item.Command, 0), 0);
        return;
    }
    item.MouseDown();
    loop.Form = &FFrame;
    loop.Bar = FBar.get();
    loop.OpenIndex = index;
    loop.OpenPopup = item.Popup;
    GetCursorPos(&loop.LastMousePos);
    RECT window{};
    GetWindowRect(FFrame.Handle(), &window);
    const bool rightToLeft = FBar->RightToLeft();
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
            PostMessageW(FFrame.Handle(), WM_KEYDOWN, VK_DOWN, 0);
        TrackPopupMenu(popup, TPM_RIGHTBUTTON | (rightToLeft ? TPM_RIGHTALIGN : TPM_LEFTALIGN), at.x, at.y, 0,
                       FFrame.Handle(), nullptr);
    }
    if (FBar && index < static_cast<int>(FBar->Items.size()))
        FBar->Items[static_cast<size_t>(index)]->MouseLeave();
}

bool TMenuBarLoop::HandleMessage(TMessage& message)
{
    switch (message.Msg) {
    case WM_SKINMENUKEY: {
        const POINT screen{LoWordSigned(message.LParam), HiWordSigned(message.LParam)};
        if (TMenuBtn* item = FBar ? FBar->ItemAt(FFrame.ToWindowPoint(screen)) : nullptr)
            Open(*item, true);
        message.Result = 0;
        return true;
    }
    default: return false;
    }
}

void TMenuBarLoop::OwnerDrawPopup(HMENU menu)
{
    if (Loop && Loop->Form == &FFrame)
        Loop->OwnerDrawn.Add(menu, FBar ? FBar->FrameworkMenu() : nullptr);
}

bool TMenuBarLoop::ItemLook(UINT id, ULONG_PTR itemData, TMenuItemLook& look) const
{
    if (!Loop || Loop->Form != &FFrame)
        return false;
    if (const TMenuItemLook* bare = Loop->OwnerDrawn.Find(itemData)) {
        look = *bare;
        return true;
    }
    const TMainMenu* menu = FBar ? FBar->FrameworkMenu() : nullptr;
    const TMenuItem* item = menu ? menu->FindItem(id, TFindItemKind::fkCommand) : nullptr;
    // An item with a drawing of its own keeps it.
    if (!item || item->OnDrawItem || !item->Parent() || !Loop->OwnerDrawn.Covers(item->Parent()->Handle()))
        return false;
    look = MenuItemLookOf(*item);
    return true;
}

bool TMenuBarLoop::Mouse(TMessage& message, TMenuBtn& item)
{
    switch (message.Msg) {
    case WM_NCMOUSEMOVE:
        if (!FFrame.Active())
            return false;
        item.MouseEnter();
        FFrame.Caption().StartHoverTimer();
        break;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
        FFrame.Caption().HideHint();
        if (!FFrame.Active())
            SetForegroundWindow(FFrame.Handle());
        Open(item, false);
        break;
    case WM_NCLBUTTONUP: FFrame.Caption().HideHint(); break;
    default: return false;
    }
    message.Result = 0;
    return true;
}

void TMenuBarLoop::MenuChanged()
{
    if (!FBar)
        return;
    const TMainMenu* frameworkMenu = FBar->FrameworkMenu();
    HMENU menu = frameworkMenu ? frameworkMenu->Handle() : GetMenu(FFrame.Handle());
    FBar->TakeNewMenu(menu);
    if (FFrame.State() == fsReady && IsWindowVisible(FFrame.Handle()))
        FFrame.PaintFrame();
}

bool TMenuBarLoop::DialogChar(WPARAM ch)
{
    // Alt+letter of a framework form: only Alt held, no other key or button.
    const bool onlyAlt = GetKeyState(VK_MENU) < 0 && GetKeyState(VK_SHIFT) >= 0 && GetKeyState(VK_CONTROL) >= 0
                         && GetKeyState(VK_LBUTTON) >= 0 && GetKeyState(VK_RBUTTON) >= 0;
    const TMenuBtn* item = onlyAlt && FBar ? FBar->FindAccelItem(static_cast<wchar_t>(ch)) : nullptr;
    if (!item || Loop)
        return false;
    RECT window{};
    GetWindowRect(FFrame.Handle(), &window);
    const POINT at{window.left + item->Bounds.left + 1, window.top + item->Bounds.top + 1};
    PostMessageW(FFrame.Handle(), WM_SKINMENUKEY, 0, MAKELPARAM(at.x, at.y));
    return true;
}
