#include "CaptionBar.h"

#include "framework/Forms.h"
#include "framework/Menus.h"
#include "framework/Messages.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/WinSkinData.h"
#include "skin/forms/MenuBar.h"
#include "skin/forms/PopupMenu.h"
#include "skin/forms/SkinManager.h"
#include "skin/forms/SkinMessages.h"
#include "skin/forms/WinSkinForm.h"

#include <algorithm>

namespace {

// The hover timer's id among the window's own timers, and its interval.
constexpr UINT_PTR kHoverTimerId = 0x3514;
constexpr UINT kHoverInterval = 250;
// How far below the cursor a hint shows.
constexpr int kHintOffset = 24;
// Longest window-menu caption taken over.
constexpr int kMenuTextLimit = 80;

// A popup menu made here and destroyed with the scope.
class TPopupHandle {
public:
    TPopupHandle() : FHandle(CreatePopupMenu()) {}
    ~TPopupHandle()
    {
        if (FHandle)
            DestroyMenu(FHandle);
    }
    TPopupHandle(const TPopupHandle&) = delete;
    TPopupHandle& operator=(const TPopupHandle&) = delete;
    HMENU Get() const noexcept { return FHandle; }

private:
    HMENU FHandle;
};

bool IsCaptionButtonMessage(UINT msg) noexcept
{
    return msg == WM_NCMOUSEMOVE || msg == WM_NCLBUTTONDOWN || msg == WM_NCLBUTTONUP || msg == WM_NCLBUTTONDBLCLK
           || msg == WM_NCRBUTTONDOWN || msg == WM_NCRBUTTONUP;
}

POINT PointOf(LPARAM lParam) noexcept
{
    return {LoWordSigned(lParam), HiWordSigned(lParam)};
}

// The size of one frame of a button's image; an icon button is as big as
// the window icon when the skin gives it no image.
SIZE ButtonSize(const TDataSkinSysButton& button, int iconSize) noexcept
{
    if (button.Bitmap->Empty())
        return captionrules::IsIconAction(button.Action) ? SIZE{iconSize, iconSize} : SIZE{0, 0};
    return {button.Bitmap->Width() / std::max(1, button.FrameCount), button.Bitmap->Height()};
}

} // namespace

// --- TNCObject ---

void TNCObject::SetState(int state)
{
    if (ButtonState == state)
        return;
    ButtonState = state;
    // A non-client object changed its look: the caption is painted again.
    if (IsWindowVisible(Owner->Handle()))
        Owner->PaintFrame();
}

void TNCObject::MouseEnter()
{
    TNCObject* hot = Owner->Caption().HotObject();
    if (hot == this)
        return;
    if (hot)
        hot->MouseLeave();
    if (!Visible)
        return;
    Owner->Caption().SetHotObject(this);
    SetState(3);
}

void TNCObject::MouseDown()
{
    TNCObject* hot = Owner->Caption().HotObject();
    if (hot && hot != this)
        hot->MouseLeave();
    if (!Visible)
        return;
    Owner->Caption().SetHotObject(this);
    SetState(2);
}

void TNCObject::MouseUp()
{
    if (Visible)
        SetState(3);
}

void TNCObject::MouseLeave()
{
    if (!Visible)
        return;
    if (Owner->Caption().HotObject() == this)
        Owner->Caption().SetHotObject(nullptr);
    Owner->Caption().HideHint();
    SetState(1);
}

// --- TWinSysButton ---

void TWinSysButton::Paint(HDC dc)
{
    // The icon buttons show the window icon, which the caption strip draws.
    if (captionrules::IsIconAction(SkinButton->Action) || SkinButton->Bitmap->Empty() || SkinButton->Align == 100)
        return;
    const int frame = captionrules::ButtonFrame(ButtonState, SkinButton->FrameCount, Enabled, Owner->Active());
    DrawStretchedFrame(dc, Bounds, *SkinButton->Bitmap, true, SkinButton->FrameCount, frame);
}

// --- Building ---

void TCaptionBar::Build()
{
    Release();
    for (const auto& skinButton : FFrame.SkinData()->CaptionButtons())
        Buttons.push_back(std::make_unique<TWinSysButton>(&FFrame, skinButton.get()));
}

void TCaptionBar::Release()
{
    StopHoverTimer();
    // The hot object may be a caption button: it goes with them.
    FHotObject = nullptr;
    FPressedObject = nullptr;
    Buttons.clear();
}

captionrules::TWindowFacts TCaptionBar::WindowFacts() const
{
    captionrules::TWindowFacts facts;
    facts.Maximised = FFrame.WindowState() == wsMaximized;
    facts.Active = FFrame.Active();
    facts.SystemButtons = FFrame.WindowStyle().SystemButtons;
    facts.BorderKind = static_cast<int>(FFrame.BorderKind());
    facts.IsDialogClass = FFrame.WindowStyle().IsDialogClass;
    // The buttons of a maximised MDI child live in the skinned menu bar.
    facts.MdiChildMaximisedInBar = FFrame.SkinMenuBar() && FFrame.MdiClientHook().ActiveChildMaximised();
    return facts;
}

bool TCaptionBar::EvaluateVisibility(size_t index)
{
    TWinSysButton& button = *Buttons.at(index);
    const TDataSkinSysButton& skin = *button.SkinButton;
    const captionrules::TButtonUse use = captionrules::EvaluateButton(
        {skin.Action, skin.Visibility, skin.Visibility1}, WindowFacts(), [this](int code, int action) {
            return SendMessageW(FFrame.Handle(), WM_SKINBUTTONVISIBLE, static_cast<WPARAM>(code), action) > 0;
        });
    if (!use.Visible && FHotObject == &button)
        FHotObject = nullptr;
    button.Visible = use.Visible;
    button.Enabled = use.Enabled;
    return use.Visible;
}

void TCaptionBar::Layout(int frameWidth, const RECT& textBack, int iconSize)
{
    captionrules::TCaptionFrame frame;
    frame.FrameWidth = frameWidth;
    frame.TextBack = {textBack.left, textBack.top, textBack.right, textBack.bottom};
    frame.TopHeight = FFrame.Metrics().TopHeight;
    frame.RightWidth = FFrame.Metrics().RightWidth;
    frame.MenuHeight = FFrame.Metrics().MenuHeight;
    if (const TDataSkinObject* menuBar = FFrame.SkinData()->MenuBar())
        frame.MenuBarLeftMargin = menuBar->LeftWidth;
    for (const auto& button : Buttons) {
        const TDataSkinSysButton& skin = *button->SkinButton;
        const SIZE size = ButtonSize(skin, iconSize);
        if (!button->Visible || size.cx <= 0)
            continue;
        const imgcore::TRectI place =
            captionrules::PlaceButton({skin.Align, skin.XCoord, skin.YCoord, size.cx, size.cy}, frame);
        button->Bounds = {place.Left, place.Top, place.Right, place.Bottom};
    }
}

std::vector<int> TCaptionBar::StateKey()
{
    // The text is placed clear of the right-aligned buttons that show.
    RightButtonsExtent = 0;
    std::vector<int> key;
    key.reserve(Buttons.size() + 1);
    key.push_back(FFrame.WindowState());
    for (size_t index = 0; index < Buttons.size(); ++index) {
        const TWinSysButton& button = *Buttons[index];
        const bool visible = EvaluateVisibility(index);
        if (visible && button.SkinButton->Align == 1 && !button.SkinButton->Bitmap->Empty())
            RightButtonsExtent = std::max(RightButtonsExtent, button.SkinButton->XCoord);
        key.push_back((visible ? 1 : 0) | (button.Enabled ? 2 : 0) | (button.ButtonState << 2));
    }
    return key;
}

TWinSysButton* TCaptionBar::ButtonAt(POINT windowPoint) const
{
    for (const auto& button : Buttons)
        if (button->Visible && button->SkinButton->Action >= 0 && PtInRect(&button->Bounds, windowPoint))
            return button.get();
    return nullptr;
}

// --- Hints ---

void TCaptionBar::HideHint()
{
    FHintClock.Reset();
    FFrame.SkinData()->HideCaptionHint();
}

void TCaptionBar::StartHoverTimer()
{
    if (FHoverTimerOn)
        return;
    FHoverTimerOn = SetTimer(FFrame.Handle(), kHoverTimerId, kHoverInterval, nullptr) != 0;
}

void TCaptionBar::StopHoverTimer()
{
    if (!FHoverTimerOn)
        return;
    KillTimer(FFrame.Handle(), kHoverTimerId);
    FHoverTimerOn = false;
}

void TCaptionBar::LeaveHotObject()
{
    FPressedObject = nullptr;
    if (FHotObject)
        FHotObject->MouseLeave();
    HideHint();
    StopHoverTimer();
}

void TCaptionBar::HoverTick()
{
    // The open bar item stays pressed while its menu is open.
    if (FFrame.MenuTrackingNow())
        return;
    if (!FHotObject) {
        LeaveHotObject();
        return;
    }
    POINT cursor{};
    GetCursorPos(&cursor);
    const POINT point = FFrame.ToWindowPoint(cursor);
    if (!FFrame.Active() || !PtInRect(&FHotObject->Bounds, point)) {
        LeaveHotObject();
        return;
    }
    const auto* button = dynamic_cast<const TWinSysButton*>(FHotObject);
    if (!button)
        return;
    const int pause = Application ? Application->HintPause : 500;
    const int hidePause = Application ? Application->HintHidePause : 2500;
    switch (FHintClock.Tick(static_cast<int>(kHoverInterval), pause, hidePause)) {
    case captionrules::THintClock::hsShow: {
        const std::wstring text = captionrules::HintText(button->SkinButton->Action);
        if (text.empty())
            break;
        RECT window{};
        GetWindowRect(FFrame.Handle(), &window);
        const int x = button->Bounds.left + window.left;
        const int y = cursor.y + FFrame.SkinData()->Scaled(kHintOffset);
        FFrame.SkinData()->ShowCaptionHint({x, y, x, y}, text);
        break;
    }
    case captionrules::THintClock::hsHide: FFrame.SkinData()->HideCaptionHint(); break;
    case captionrules::THintClock::hsNothing: break;
    }
}

// --- Non-client mouse ---

bool TCaptionBar::HandleMessage(TMessage& message)
{
    if (message.Msg == WM_TIMER && message.WParam == kHoverTimerId) {
        HoverTick();
        message.Result = 0;
        return true;
    }
    if (message.Msg == WM_SYSCOMMAND)
        return SysCommand(message);
    if (message.Msg == WM_MEASUREITEM || message.Msg == WM_DRAWITEM)
        return MenuItemMessage(message);
    if (message.Msg == WM_MENUCHAR)
        return MenuChar(message);
    if (FFrame.MenuBar().HandleMessage(message))
        return true;
    return IsCaptionButtonMessage(message.Msg) && MouseMessage(message);
}

bool TCaptionBar::MouseMessage(TMessage& message)
{
    const POINT screen = PointOf(message.LParam);
    TWinSysButton* button = ButtonAt(FFrame.ToWindowPoint(screen));
    TWinSkinMenu* bar = FFrame.SkinMenuBar();
    if (TMenuBtn* item = !button && bar ? bar->ItemAt(FFrame.ToWindowPoint(screen)) : nullptr)
        if (FFrame.MenuBar().Mouse(message, *item))
            return true;
    switch (message.Msg) {
    case WM_NCMOUSEMOVE: return NcMouseMove(message, button);
    case WM_NCLBUTTONDOWN: NcLButtonDown(message, button); return true;
    case WM_NCLBUTTONUP: NcLButtonUp(message, button); return true;
    case WM_NCLBUTTONDBLCLK: NcLButtonDblClk(message, button); return true;
    case WM_NCRBUTTONDOWN:
        HideHint();
        if (message.WParam == HTCAPTION && FFrame.FormKind() != fkMdiChild) {
            ShowWindowMenu(screen);
            message.Result = 0;
            return true;
        }
        return false;
    case WM_NCRBUTTONUP:
        // The caption's menu opened on the press; the release must not
        // open the system's as well.
        if (message.WParam == HTCAPTION && FFrame.FormKind() != fkMdiChild) {
            message.Result = 0;
            return true;
        }
        return false;
    default: return false;
    }
}

bool TCaptionBar::NcMouseMove(TMessage& message, TWinSysButton* button)
{
    if (!FFrame.Active())
        return false;
    if (button) {
        if (button != FHotObject)
            FPressedObject = nullptr;
        button->MouseEnter();
        StartHoverTimer();
        message.Result = 0;
        return true;
    }
    if (FHotObject)
        LeaveHotObject();
    return false;
}

void TCaptionBar::NcLButtonDown(TMessage& message, TWinSysButton* button)
{
    HideHint();
    if (button) {
        if (!FFrame.Active())
            SetForegroundWindow(FFrame.Handle());
        button->MouseDown();
        FPressedObject = button;
        StartHoverTimer();
        message.Result = 0;
        return;
    }
    FPressedObject = nullptr;
    if (FFrame.WindowState() == wsMaximized && FFrame.Active() && message.WParam == HTCAPTION) {
        // A maximised window is not dragged by its caption.
        message.Result = 0;
        return;
    }
    FFrame.DefaultHandler(message);
}

void TCaptionBar::NcLButtonUp(TMessage& message, TWinSysButton* button)
{
    HideHint();
    TNCObject* pressed = FPressedObject;
    FPressedObject = nullptr;
    if (!button) {
        FFrame.DefaultHandler(message);
        return;
    }
    message.Result = 0;
    // Only a press and a release on the same button click it: a press
    // dragged off the button, or a release after a press elsewhere, does nothing.
    if (button != FHotObject || button != pressed)
        return;
    button->MouseUp();
    PerformAction();
}

void TCaptionBar::NcLButtonDblClk(TMessage& message, TWinSysButton* button)
{
    message.Result = 0;
    if (button && captionrules::IsIconAction(button->SkinButton->Action)) {
        StopHoverTimer();
        PostSystemCommand(SC_CLOSE);
        return;
    }
    if (button) {
        // The second click of a double-click on a button is a click of its own.
        NcLButtonDown(message, button);
        return;
    }
    if (message.WParam != HTCAPTION) {
        FFrame.DefaultHandler(message);
        return;
    }
    if (FFrame.WindowState() != wsNormal)
        PostSystemCommand(SC_RESTORE);
    else if (FFrame.WindowStyle().SystemButtons & captionrules::kMaximizeBox)
        PostSystemCommand(SC_MAXIMIZE);
    else
        FFrame.DefaultHandler(message);
}

// --- Actions ---

void TCaptionBar::PostSystemCommand(WPARAM command)
{
    PostMessageW(FFrame.Handle(), WM_SYSCOMMAND, command, 0);
}

void TCaptionBar::PerformMdiAction(WPARAM command)
{
    if (FFrame.FormKind() != fkMdiFrame)
        return;
    HWND client = FindWindowExW(FFrame.Handle(), nullptr, L"MDIClient", nullptr);
    HWND child = client ? reinterpret_cast<HWND>(SendMessageW(client, WM_MDIGETACTIVE, 0, 0)) : nullptr;
    if (child)
        SendMessageW(child, WM_SYSCOMMAND, command, 0);
}

void TCaptionBar::PerformAction()
{
    const auto* button = dynamic_cast<const TWinSysButton*>(FHotObject);
    if (!button || !button->Enabled)
        return;
    const int action = button->SkinButton->Action;
    switch (action) {
    case 0: {
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STATE;
        // Only a window whose window menu can close it is closed.
        HMENU menu = GetSystemMenu(FFrame.Handle(), FALSE);
        if (menu && GetMenuItemInfoW(menu, SC_CLOSE, FALSE, &info)) {
            StopHoverTimer();
            PostSystemCommand(SC_CLOSE);
        }
        break;
    }
    case 1:
    case 22:
        if (FFrame.WindowState() == wsMaximized) {
            FFrame.SetWindowState(wsNormal);
            PostSystemCommand(SC_RESTORE);
        } else {
            if (FFrame.FormKind() == fkMdiChild && SkinManager)
                SkinManager->SetMDIChildMaximized(true);
            FFrame.SetWindowState(wsMaximized);
            PostSystemCommand(SC_MAXIMIZE);
            LeaveHotObject();
        }
        break;
    case 2:
    case 23:
        if (FFrame.WindowState() == wsMinimized) {
            FFrame.SetWindowState(wsNormal);
            PostSystemCommand(SC_RESTORE);
        } else {
            FFrame.SetWindowState(wsMinimized);
            // The task bar's button needs the system menu style to restore the window.
            SetWindowLongPtrW(FFrame.Handle(), GWL_STYLE, GetWindowLongPtrW(FFrame.Handle(), GWL_STYLE) | WS_SYSMENU);
            LeaveHotObject();
            PostSystemCommand(SC_MINIMIZE);
        }
        break;
    case 3:
    case 11:
    case 12: {
        POINT cursor{};
        GetCursorPos(&cursor);
        ShowWindowMenu({cursor.x + 1, cursor.y + 1});
        break;
    }
    case 4: PostSystemCommand(SC_CONTEXTHELP); break;
    case 7:
    case 60: PerformMdiAction(SC_MINIMIZE); break;
    case 8:
    case 61: PerformMdiAction(SC_RESTORE); break;
    case 9:
    case 62: PerformMdiAction(SC_CLOSE); break;
    default: PostMessageW(FFrame.Handle(), WM_SKINBUTTONACTION, static_cast<WPARAM>(action), 0); break;
    }
}

// --- Window menu ---

namespace {

// The window menu's item enabled for the window's state, or as the system has it.
// The copy is made from the window menu as it is stored, before the system
// would grey what the window's style does not allow, so the style decides here.
bool WindowMenuItemEnabled(UINT command, UINT state, int windowState, const TFrameStyle& style)
{
    if (state & MFS_GRAYED)
        return false;
    const unsigned systemButtons = style.SystemButtons;
    switch (command) {
    case SC_SIZE: return windowState != wsMaximized && style.Resizable;
    case SC_MOVE: return windowState != wsMaximized;
    case SC_MINIMIZE: return windowState != wsMinimized && (systemButtons & captionrules::kMinimizeBox);
    case SC_MAXIMIZE: return windowState != wsMaximized && (systemButtons & captionrules::kMaximizeBox);
    case SC_RESTORE: return windowState != wsNormal;
    default: return true;
    }
}

// The skin's menu glyphs: restore, maximise, minimise, close.
int WindowMenuImage(UINT command) noexcept
{
    switch (command) {
    case SC_RESTORE: return 0;
    case SC_MAXIMIZE: return 1;
    case SC_MINIMIZE: return 2;
    case SC_CLOSE: return 3;
    default: return -1;
    }
}

} // namespace

void TCaptionBar::ShowWindowMenu(POINT screenPoint)
{
    const DWORD now = GetTickCount();
    if (FLastMenuTickSet && now - FLastMenuTick <= GetDoubleClickTime()) {
        // A second request within the double-click time closes the window,
        // as a double-click on the window icon does.
        if (FHotObject) {
            StopHoverTimer();
            PostMessageW(FFrame.Handle(), WM_CLOSE, 0, 0);
        }
        return;
    }
    HMENU windowMenu = GetSystemMenu(FFrame.Handle(), FALSE);
    if (!windowMenu)
        return;
    if (SkinManager)
        SkinManager->PopupKind = 2;
    FLastMenuTick = now;
    FLastMenuTickSet = true;

    const TPopupHandle popup;
    FWindowMenuItems.clear();
    CopyWindowMenu(windowMenu, popup.Get());
    const UINT align = FFrame.WindowStyle().RightToLeft ? TPM_RIGHTALIGN : TPM_LEFTALIGN;
    const auto command = static_cast<UINT>(TrackPopupMenu(
        popup.Get(), TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON | align, screenPoint.x, screenPoint.y, 0,
        FFrame.Handle(), nullptr));
    FWindowMenuItems.clear();
    if (command != 0)
        PostSystemCommand(command);
}

void TCaptionBar::CopyWindowMenu(HMENU from, HMENU popup)
{
    const int count = GetMenuItemCount(from);
    for (int index = 0; index < count; ++index) {
        wchar_t text[kMenuTextLimit + 1] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STATE | MIIM_ID | MIIM_FTYPE | MIIM_STRING | MIIM_SUBMENU;
        info.dwTypeData = text;
        info.cch = kMenuTextLimit;
        if (!GetMenuItemInfoW(from, static_cast<UINT>(index), TRUE, &info))
            continue;
        // Every item is drawn from the skin (TMenuItemLook); the popup
        // still keeps the states, for the keyboard and for anyone asking.
        TMenuItemLook& look = FWindowMenuItems.emplace_back();
        const bool separator = (info.fType & MFT_SEPARATOR) || text[0] == 0;
        look.Caption = separator ? L"-" : text;
        look.Images = FFrame.SkinData()->MenuImages();
        look.ImageIndex = info.hSubMenu ? -1 : WindowMenuImage(info.wID);
        look.Enabled = separator
                       || WindowMenuItemEnabled(info.wID, info.fState, FFrame.WindowState(), FFrame.WindowStyle());
        look.Checked = (info.fState & MFS_CHECKED) != 0;
        look.Default = (info.fState & MFS_DEFAULT) != 0;
        UINT flags = MF_OWNERDRAW | (separator ? MF_DISABLED : 0);
        if (!look.Enabled)
            flags |= MF_GRAYED;
        if (look.Checked)
            flags |= MF_CHECKED;
        UINT_PTR item = separator ? 0 : info.wID;
        if (info.hSubMenu) {
            // Owned by popup once appended: destroyed with it.
            HMENU sub = CreatePopupMenu();
            if (!sub)
                continue;
            CopyWindowMenu(info.hSubMenu, sub);
            flags |= MF_POPUP;
            item = reinterpret_cast<UINT_PTR>(sub);
        }
        AppendMenuW(popup, flags, item, reinterpret_cast<LPCWSTR>(&look));
        if (look.Default)
            SetMenuDefaultItem(popup, info.wID, FALSE);
    }
}

const TMenuItemLook* TCaptionBar::WindowMenuItem(ULONG_PTR itemData) const noexcept
{
    for (const TMenuItemLook& look : FWindowMenuItems)
        if (reinterpret_cast<ULONG_PTR>(&look) == itemData)
            return &look;
    return nullptr;
}

bool TCaptionBar::MenuChar(TMessage& message) const
{
    // The system finds no accelerator in an owner-drawn item's text and asks
    // the window: a letter picks the enabled item of the open window menu
    // (or its skin sub-menu) that carries it.
    const auto menu = reinterpret_cast<HMENU>(message.LParam);
    wchar_t key = LOWORD(message.WParam);
    CharUpperBuffW(&key, 1);
    const int count = GetMenuItemCount(menu);
    for (int index = 0; index < count; ++index) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_DATA;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(index), TRUE, &info))
            continue;
        const TMenuItemLook* look = WindowMenuItem(info.dwItemData);
        if (look && look->Enabled && key != 0 && GetHotkey(look->Caption) == key) {
            message.Result = MAKELRESULT(index, MNC_EXECUTE);
            return true;
        }
    }
    return false;
}

const TMenuItemLook* TCaptionBar::ItemLook(UINT ctlType, UINT id, ULONG_PTR itemData, TMenuItemLook& loopLook) const
{
    if (ctlType != ODT_MENU)
        return nullptr;
    if (const TMenuItemLook* look = WindowMenuItem(itemData))
        return look;
    return FFrame.MenuBar().ItemLook(id, itemData, loopLook) ? &loopLook : nullptr;
}

bool TCaptionBar::MenuItemMessage(TMessage& message)
{
    const TSkinData& skin = *FFrame.SkinData();
    TMenuItemLook loopLook;
    if (message.Msg == WM_MEASUREITEM) {
        auto& measure = *AsPointer<MEASUREITEMSTRUCT>(message.LParam);
        const TMenuItemLook* look = ItemLook(measure.CtlType, measure.itemID, measure.itemData, loopLook);
        if (!look)
            return false;
        const SIZE size = MeasureMenuItem(skin, *look);
        measure.itemWidth = static_cast<UINT>(size.cx);
        measure.itemHeight = static_cast<UINT>(size.cy);
        message.Result = TRUE;
        return true;
    }
    if (message.Msg == WM_DRAWITEM) {
        const auto& draw = *AsPointer<DRAWITEMSTRUCT>(message.LParam);
        const TMenuItemLook* look = ItemLook(draw.CtlType, draw.itemID, draw.itemData, loopLook);
        if (!look)
            return false;
        const auto menu = reinterpret_cast<HMENU>(draw.hwndItem);
        const TBitmap* background = nullptr;
        if (SkinManager) {
            SkinManager->SetPopupOwner(menu);
            background = SkinManager->PopupBitmapOf(menu);
        }
        // Painting never fails loudly: an item that cannot be drawn stays blank.
        try {
            PaintMenuItem(draw.hDC, draw.rcItem, skin, *look, (draw.itemState & ODS_SELECTED) != 0, background);
        } catch (...) {
        }
        message.Result = TRUE;
        return true;
    }
    return false;
}

// --- Keys ---

bool TCaptionBar::SysCommand(TMessage& message)
{
    const WPARAM command = message.WParam & 0xFFF0;
    if (command == SC_KEYMENU && FFrame.SkinMenuBar() && !FFrame.MenuTrackingNow() && message.LParam != L' '
        && message.LParam != L'-' && !GetCapture()) {
        // Alt+letter opens the bar item with that accelerator, Alt alone
        // (or F10) the first item. A letter no item has opens nothing: the
        // system would open its own window menu instead.
        const auto ch = static_cast<wchar_t>(message.LParam);
        if (TMenuBtn* item = ch ? FFrame.SkinMenuBar()->FindAccelItem(ch) : FFrame.SkinMenuBar()->FirstItem())
            FFrame.MenuBar().Open(*item, true);
        message.Result = 0;
        return true;
    }
    if (command == SC_KEYMENU && message.LParam == L' ') {
        // Alt+Space: the skinned window menu at the client's corner.
        POINT origin{0, 0};
        ClientToScreen(FFrame.Handle(), &origin);
        FLastMenuTickSet = false;
        ShowWindowMenu(origin);
        message.Result = 0;
        return true;
    }
    switch (command) {
    case SC_MINIMIZE: FFrame.SetWindowState(wsMinimized); break;
    case SC_MAXIMIZE: FFrame.SetWindowState(wsMaximized); break;
    case SC_RESTORE:
        if (FFrame.FormKind() == fkMdiChild && SkinManager && SkinManager->MDIChildMaximized())
            SkinManager->SetMDIChildMaximized(false);
        FFrame.SetWindowState(wsNormal);
        break;
    default: break;
    }
    return false;
}
