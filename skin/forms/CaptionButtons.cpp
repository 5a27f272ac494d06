// The caption buttons of a skinned frame and the non-client mouse: which
// buttons show, where they go, how they look in each state, what a click on
// them does, their hints, the window menu they and the caption open, and the
// system keys that open it. The rules without a window are in CaptionRules.h.
#include "WinSkinForm.h"

#include "framework/Forms.h"
#include "framework/Messages.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/WinSkinData.h"
#include "skin/forms/MenuBar.h"
#include "skin/forms/PopupMenu.h"
#include "skin/forms/SkinManager.h"
#include "skin/forms/SkinMessages.h"

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
    Owner->RepaintObjects();
}

void TNCObject::MouseEnter()
{
    TNCObject* hot = Owner->HotObject();
    if (hot == this)
        return;
    if (hot)
        hot->MouseLeave();
    if (!Visible)
        return;
    Owner->SetHotObject(this);
    SetState(3);
}

void TNCObject::MouseDown()
{
    TNCObject* hot = Owner->HotObject();
    if (hot && hot != this)
        hot->MouseLeave();
    if (!Visible)
        return;
    Owner->SetHotObject(this);
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
    if (Owner->HotObject() == this)
        Owner->SetHotObject(nullptr);
    Owner->HideHint();
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

void TWinSkinForm::BuildCaptionButtons()
{
    ReleaseCaptionButtons();
    for (const auto& skinButton : FSkinData->CaptionButtons())
        CaptionButtons.push_back(std::make_unique<TWinSysButton>(this, skinButton.get()));
}

void TWinSkinForm::ReleaseCaptionButtons()
{
    StopHoverTimer();
    // The hot object may be a caption button: it goes with them.
    FHotObject = nullptr;
    FPressedObject = nullptr;
    CaptionButtons.clear();
}

captionrules::TWindowFacts TWinSkinForm::WindowFacts() const
{
    captionrules::TWindowFacts facts;
    facts.Maximised = FWindowState == wsMaximized;
    facts.Active = FActive;
    facts.SystemButtons = FSystemButtons;
    facts.BorderKind = FBorderKind;
    facts.IsDialogClass = FIsDialogClass;
    // The buttons of a maximised MDI child live in the skinned menu bar.
    facts.MdiChildMaximisedInBar = FSkinMenuBar && ActiveMdiChildMaximised();
    return facts;
}

bool TWinSkinForm::EvaluateVisibility(size_t index)
{
    TWinSysButton& button = *CaptionButtons.at(index);
    const TDataSkinSysButton& skin = *button.SkinButton;
    const captionrules::TButtonUse use = captionrules::EvaluateButton(
        {skin.Action, skin.Visibility, skin.Visibility1}, WindowFacts(), [this](int code, int action) {
            return SendMessageW(FHandle, WM_SKINBUTTONVISIBLE, static_cast<WPARAM>(code), action) > 0;
        });
    if (!use.Visible && FHotObject == &button)
        FHotObject = nullptr;
    button.Visible = use.Visible;
    button.Enabled = use.Enabled;
    return use.Visible;
}

void TWinSkinForm::LayoutCaptionButtons()
{
    captionrules::TCaptionFrame frame;
    frame.FrameWidth = FFrameWidth;
    frame.TextBack = {FTextBackRect.left, FTextBackRect.top, FTextBackRect.right, FTextBackRect.bottom};
    frame.TopHeight = FMetrics.TopHeight;
    frame.RightWidth = FMetrics.RightWidth;
    frame.MenuHeight = FMetrics.MenuHeight;
    if (const TDataSkinObject* menuBar = FSkinData->MenuBar())
        frame.MenuBarLeftMargin = menuBar->LeftWidth;
    for (const auto& button : CaptionButtons) {
        const TDataSkinSysButton& skin = *button->SkinButton;
        const SIZE size = ButtonSize(skin, FIconSize);
        if (!button->Visible || size.cx <= 0)
            continue;
        const imgcore::TRectI place =
            captionrules::PlaceButton({skin.Align, skin.XCoord, skin.YCoord, size.cx, size.cy}, frame);
        button->Bounds = {place.Left, place.Top, place.Right, place.Bottom};
    }
}

TWinSysButton* TWinSkinForm::ButtonAt(POINT windowPoint) const
{
    for (const auto& button : CaptionButtons)
        if (button->Visible && button->SkinButton->Action >= 0 && PtInRect(&button->Bounds, windowPoint))
            return button.get();
    return nullptr;
}

POINT TWinSkinForm::ToWindowPoint(POINT screenPoint) const
{
    RECT window{};
    GetWindowRect(FHandle, &window);
    return {screenPoint.x - window.left, screenPoint.y - window.top};
}

void TWinSkinForm::RepaintObjects()
{
    if (IsWindowVisible(FHandle))
        PaintFrame();
}

// --- Hints ---

void TWinSkinForm::HideHint()
{
    FHintClock.Reset();
    FSkinData->HideCaptionHint();
}

void TWinSkinForm::StartHoverTimer()
{
    if (FHoverTimerOn)
        return;
    FHoverTimerOn = SetTimer(FHandle, kHoverTimerId, kHoverInterval, nullptr) != 0;
}

void TWinSkinForm::StopHoverTimer()
{
    if (!FHoverTimerOn)
        return;
    KillTimer(FHandle, kHoverTimerId);
    FHoverTimerOn = false;
}

void TWinSkinForm::LeaveHotObject()
{
    FPressedObject = nullptr;
    if (FHotObject)
        FHotObject->MouseLeave();
    HideHint();
    StopHoverTimer();
}

void TWinSkinForm::HoverTick()
{
    // The open bar item stays pressed while its menu is open.
    if (MenuTrackingNow())
        return;
    if (!FHotObject) {
        LeaveHotObject();
        return;
    }
    POINT cursor{};
    GetCursorPos(&cursor);
    const POINT point = ToWindowPoint(cursor);
    if (!FActive || !PtInRect(&FHotObject->Bounds, point)) {
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
        GetWindowRect(FHandle, &window);
        const int x = button->Bounds.left + window.left;
        const int y = cursor.y + FSkinData->Scaled(kHintOffset);
        FSkinData->ShowCaptionHint({x, y, x, y}, text);
        break;
    }
    case captionrules::THintClock::hsHide: FSkinData->HideCaptionHint(); break;
    case captionrules::THintClock::hsNothing: break;
    }
}

// --- Non-client mouse ---

bool TWinSkinForm::CaptionStage(TMessage& message)
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
    if (MenuBarStage(message))
        return true;
    if (!IsCaptionButtonMessage(message.Msg))
        return false;
    const POINT screen = PointOf(message.LParam);
    TWinSysButton* button = ButtonAt(ToWindowPoint(screen));
    if (TMenuBtn* item = !button && FSkinMenuBar ? FSkinMenuBar->ItemAt(ToWindowPoint(screen)) : nullptr)
        if (BarMouse(message, item))
            return true;
    switch (message.Msg) {
    case WM_NCMOUSEMOVE:
        if (!FActive)
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
    case WM_NCLBUTTONDOWN: NcLButtonDown(message, button); return true;
    case WM_NCLBUTTONUP: NcLButtonUp(message, button); return true;
    case WM_NCLBUTTONDBLCLK: NcLButtonDblClk(message, button); return true;
    case WM_NCRBUTTONDOWN:
        HideHint();
        if (message.WParam == HTCAPTION && FFormKind != 2) {
            ShowWindowMenu(screen);
            message.Result = 0;
            return true;
        }
        return false;
    case WM_NCRBUTTONUP:
        // The caption's menu opened on the press; the release must not
        // open the system's as well.
        if (message.WParam == HTCAPTION && FFormKind != 2) {
            message.Result = 0;
            return true;
        }
        return false;
    default: return false;
    }
}

void TWinSkinForm::NcLButtonDown(TMessage& message, TWinSysButton* button)
{
    HideHint();
    if (button) {
        if (!FActive)
            SetForegroundWindow(FHandle);
        button->MouseDown();
        FPressedObject = button;
        StartHoverTimer();
        message.Result = 0;
        return;
    }
    FPressedObject = nullptr;
    if (FWindowState == wsMaximized && FActive && message.WParam == HTCAPTION) {
        // A maximised window is not dragged by its caption.
        message.Result = 0;
        return;
    }
    DefaultHandler(message);
}

void TWinSkinForm::NcLButtonUp(TMessage& message, TWinSysButton* button)
{
    HideHint();
    TNCObject* pressed = FPressedObject;
    FPressedObject = nullptr;
    if (!button) {
        DefaultHandler(message);
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

void TWinSkinForm::NcLButtonDblClk(TMessage& message, TWinSysButton* button)
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
        DefaultHandler(message);
        return;
    }
    if (FWindowState != wsNormal)
        PostSystemCommand(SC_RESTORE);
    else if (FSystemButtons & captionrules::kMaximizeBox)
        PostSystemCommand(SC_MAXIMIZE);
    else
        DefaultHandler(message);
}

// --- Actions ---

void TWinSkinForm::PostSystemCommand(WPARAM command)
{
    PostMessageW(FHandle, WM_SYSCOMMAND, command, 0);
}

void TWinSkinForm::PerformMdiAction(WPARAM command)
{
    if (FFormKind != 1)
        return;
    HWND client = FindWindowExW(FHandle, nullptr, L"MDIClient", nullptr);
    HWND child = client ? reinterpret_cast<HWND>(SendMessageW(client, WM_MDIGETACTIVE, 0, 0)) : nullptr;
    if (child)
        SendMessageW(child, WM_SYSCOMMAND, command, 0);
}

void TWinSkinForm::PerformAction()
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
        if (HMENU menu = GetSystemMenu(FHandle, FALSE); menu && GetMenuItemInfoW(menu, SC_CLOSE, FALSE, &info)) {
            StopHoverTimer();
            PostSystemCommand(SC_CLOSE);
        }
        break;
    }
    case 1:
    case 22:
        if (FWindowState == wsMaximized) {
            FWindowState = wsNormal;
            PostSystemCommand(SC_RESTORE);
        } else {
            if (FFormKind == 2 && SkinManager)
                SkinManager->SetMDIChildMaximized(true);
            FWindowState = wsMaximized;
            PostSystemCommand(SC_MAXIMIZE);
            LeaveHotObject();
        }
        break;
    case 2:
    case 23:
        if (FWindowState == wsMinimized) {
            FWindowState = wsNormal;
            PostSystemCommand(SC_RESTORE);
        } else {
            FWindowState = wsMinimized;
            // The task bar's button needs the system menu style to restore the window.
            SetWindowLongPtrW(FHandle, GWL_STYLE, GetWindowLongPtrW(FHandle, GWL_STYLE) | WS_SYSMENU);
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
    default: PostMessageW(FHandle, WM_SKINBUTTONACTION, static_cast<WPARAM>(action), 0); break;
    }
}

// --- Window menu ---

namespace {

// The window menu's item enabled for the window's state, or as the system has it.
bool WindowMenuItemEnabled(UINT command, UINT state, int windowState, unsigned systemButtons)
{
    if (state & MFS_GRAYED)
        return false;
    switch (command) {
    case SC_SIZE:
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

void TWinSkinForm::ShowWindowMenu(POINT screenPoint)
{
    const DWORD now = GetTickCount();
    if (FLastMenuTickSet && now - FLastMenuTick <= GetDoubleClickTime()) {
        // A second request within the double-click time closes the window,
        // as a double-click on the window icon does.
        if (FHotObject) {
            StopHoverTimer();
            PostMessageW(FHandle, WM_CLOSE, 0, 0);
        }
        return;
    }
    HMENU windowMenu = GetSystemMenu(FHandle, FALSE);
    if (!windowMenu)
        return;
    if (SkinManager)
        SkinManager->PopupKind = 2;
    FLastMenuTick = now;
    FLastMenuTickSet = true;

    const TPopupHandle popup;
    FWindowMenuItems.clear();
    CopyWindowMenu(windowMenu, popup.Get());
    const UINT align = FRightToLeft ? TPM_RIGHTALIGN : TPM_LEFTALIGN;
    const auto command = static_cast<UINT>(TrackPopupMenu(
        popup.Get(), TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON | align, screenPoint.x, screenPoint.y, 0,
        FHandle, nullptr));
    FWindowMenuItems.clear();
    if (command != 0)
        PostSystemCommand(command);
}

void TWinSkinForm::CopyWindowMenu(HMENU from, HMENU popup)
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
        look.Images = FSkinData->MenuImages();
        look.ImageIndex = info.hSubMenu ? -1 : WindowMenuImage(info.wID);
        look.Enabled = separator || WindowMenuItemEnabled(info.wID, info.fState, FWindowState, FSystemButtons);
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

const TMenuItemLook* TWinSkinForm::WindowMenuItem(ULONG_PTR itemData) const noexcept
{
    for (const TMenuItemLook& look : FWindowMenuItems)
        if (reinterpret_cast<ULONG_PTR>(&look) == itemData)
            return &look;
    return nullptr;
}

bool TWinSkinForm::MenuItemMessage(TMessage& message)
{
    if (message.Msg == WM_MEASUREITEM) {
        auto& measure = *AsPointer<MEASUREITEMSTRUCT>(message.LParam);
        TMenuItemLook loopLook;
        const TMenuItemLook* look = measure.CtlType == ODT_MENU ? WindowMenuItem(measure.itemData) : nullptr;
        if (!look && measure.CtlType == ODT_MENU && LoopItemLook(measure.itemID, measure.itemData, loopLook))
            look = &loopLook;
        if (!look)
            return false;
        const SIZE size = MeasureMenuItem(*FSkinData, *look);
        measure.itemWidth = static_cast<UINT>(size.cx);
        measure.itemHeight = static_cast<UINT>(size.cy);
        message.Result = TRUE;
        return true;
    }
    if (message.Msg == WM_DRAWITEM) {
        const auto& draw = *AsPointer<DRAWITEMSTRUCT>(message.LParam);
        TMenuItemLook loopLook;
        const TMenuItemLook* look = draw.CtlType == ODT_MENU ? WindowMenuItem(draw.itemData) : nullptr;
        if (!look && draw.CtlType == ODT_MENU && LoopItemLook(draw.itemID, draw.itemData, loopLook))
            look = &loopLook;
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
            PaintMenuItem(draw.hDC, draw.rcItem, *FSkinData, *look, (draw.itemState & ODS_SELECTED) != 0, background);
        } catch (...) {
        }
        message.Result = TRUE;
        return true;
    }
    return false;
}

// --- Keys ---

bool TWinSkinForm::SysCommand(TMessage& message)
{
    const WPARAM command = message.WParam & 0xFFF0;
    if (command == SC_KEYMENU && FSkinMenuBar && !MenuTrackingNow() && message.LParam != L' '
        && message.LParam != L'-' && !GetCapture()) {
        // Alt+letter opens the bar item with that accelerator, Alt alone
        // (or F10) the first item. A letter no item has opens nothing: the
        // system would open its own window menu instead.
        const auto ch = static_cast<wchar_t>(message.LParam);
        if (TMenuBtn* item = ch ? FSkinMenuBar->FindAccelItem(ch) : FSkinMenuBar->FirstItem())
            OpenBarItem(*item, true);
        message.Result = 0;
        return true;
    }
    if (command == SC_KEYMENU && message.LParam == L' ') {
        // Alt+Space: the skinned window menu at the client's corner.
        POINT origin{0, 0};
        ClientToScreen(FHandle, &origin);
        FLastMenuTickSet = false;
        ShowWindowMenu(origin);
        message.Result = 0;
        return true;
    }
    switch (command) {
    case SC_MINIMIZE: FWindowState = wsMinimized; break;
    case SC_MAXIMIZE: FWindowState = wsMaximized; break;
    case SC_RESTORE:
        if (FFormKind == 2 && SkinManager && SkinManager->MDIChildMaximized())
            SkinManager->SetMDIChildMaximized(false);
        FWindowState = wsNormal;
        break;
    default: break;
    }
    return false;
}
