// Caption buttons under Wine: the buttons' frames read back from the window
// DC after real mouse input (SendInput) and compared with the skin's button
// images at the places the skin's numbers give; what a click on each button
// does, that a press dragged off a button and a click on a disabled one do
// nothing, which buttons show for which window styles and states, the
// double-click on the icon, the window menu's items, the hint by the hover
// timer's ticks, and the object counts after many hot/pressed rounds.
#include "FrameFixture.h"
#include "support/RecordingWindow.h"
#include "PopupShots.h"

#include <gtest/gtest.h>

#include "framework/Menus.h"
#include "skin/data/GdiCount.h"
#include "skin/data/SkinManagerLink.h"
#include "skin/forms/SkinManager.h"

#include <cstdio>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

using namespace frametest;

namespace {

constexpr wchar_t kRecordingClass[] = L"VidkilnCaptionTest";

class CaptionButtons : public ::testing::Test {
protected:
    void SetUp() override
    {
        testsupport::RegisterRecordingClass(kRecordingClass);
        Skin = DefaultSkin();
        ASSERT_FALSE(Skin->SkinLoading());
        // Park the cursor away from every test window.
        SendMouse({GetSystemMetrics(SM_CXSCREEN) - 2, GetSystemMetrics(SM_CYSCREEN) - 2}, 0);
    }

    void TearDown() override
    {
        Frame.reset();
        for (HWND window : Windows)
            if (IsWindow(window))
                DestroyWindow(window);
    }

    HWND Make(DWORD style = WS_OVERLAPPEDWINDOW, DWORD exStyle = 0, const wchar_t* className = kRecordingClass)
    {
        RECT rect{0, 0, 320, 180};
        AdjustWindowRectEx(&rect, style, FALSE, exStyle);
        HWND window = CreateWindowExW(exStyle, className, L"Buttons", style, 80, 60, rect.right - rect.left,
                                      rect.bottom - rect.top, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        Windows.push_back(window);
        return window;
    }

    void Attach(HWND window, const wchar_t* className = kRecordingClass)
    {
        Frame = AttachFrame(window, className, *Skin);
        BringToFront(window);
        SendMessageW(window, WM_NCACTIVATE, TRUE, 0);
        Flush();
    }

    // The skin registered with a live manager, so that popup menus of the
    // thread are skinned; ShutdownSkinManager ends it.
    void StartSkinManager()
    {
        UseSkinManager();
        Skin->Loaded();
        if (SkinManager)
            SkinManager->SetActive(true);
    }

    const TDataSkinSysButton& SkinButton(int action, int visibility = -100) const
    {
        return SkinButtonOf(*Skin, action, visibility);
    }

    RECT OnScreen(HWND window, const TDataSkinSysButton& button) const { return ButtonOnScreen(window, button); }

    // Pixels of the button that differ from the given frame of its image
    // (magenta pixels show the caption and are left out).
    int FrameMisses(HWND window, const TDataSkinSysButton& button, int frame) const
    {
        const TPixels shot = ReadBack(window);
        const RECT rect = CaptionButtonRect(button, shot.Width());
        const int frameWidth = button.Bitmap->Width() / button.FrameCount;
        int misses = 0;
        for (int y = 0; y < button.Bitmap->Height(); ++y)
            for (int x = 0; x < frameWidth; ++x) {
                const TColor expected = PixelOf(*button.Bitmap, (frame - 1) * frameWidth + x, y);
                if (expected != kMagenta && PixelOf(shot, rect.left + x, rect.top + y) != expected)
                    ++misses;
            }
        return misses;
    }

    // The window shows exactly this frame of the button (and no other).
    void ExpectFrame(HWND window, const TDataSkinSysButton& button, int frame, const char* step) const
    {
        SCOPED_TRACE(std::string(step) + ", " + button.Name);
        EXPECT_EQ(FrameMisses(window, button, frame), 0) << "frame " << frame;
    }

    // The system commands that reached the windows' own procedure, without
    // the bits the system keeps for itself.
    std::vector<WPARAM> SystemCommands() const
    {
        std::vector<WPARAM> commands = Recorded.WParams(WM_SYSCOMMAND);
        for (WPARAM& command : commands)
            command &= 0xFFF0;
        return commands;
    }

    bool Received(WPARAM command) const
    {
        const std::vector<WPARAM> commands = SystemCommands();
        return std::find(commands.begin(), commands.end(), command) != commands.end();
    }

    std::unique_ptr<TSkinData> Skin;
    std::unique_ptr<TWinSkinForm> Frame;
    std::vector<HWND> Windows;
    testsupport::TMessageRecording Recorded;
};

TEST_F(CaptionButtons, FramesFollowHotPressedDraggedOffAndInactive)
{
    const TDataSkinSysButton& close = SkinButton(0);
    const TDataSkinSysButton& maximise = SkinButton(1, 2);
    const TDataSkinSysButton& minimise = SkinButton(2);
    ASSERT_GE(close.FrameCount, 4);
    HWND window = Make();
    Attach(window);
    for (const TDataSkinSysButton* button : {&close, &maximise, &minimise})
        ExpectFrame(window, *button, 1, "at rest");
    // The test means something only when the states look different.
    ASSERT_NE(FrameMisses(window, close, 3), 0) << "the hot frame looks like the normal one";
    ASSERT_NE(FrameMisses(window, close, 2), 0) << "the pressed frame looks like the normal one";

    const POINT onClose = Centre(OnScreen(window, close));
    SendMouse(onClose, 0);
    ExpectFrame(window, close, 3, "hovered");
    ExpectFrame(window, minimise, 1, "hovering the close button");
    SendMouse(onClose, MOUSEEVENTF_LEFTDOWN);
    ExpectFrame(window, close, 2, "pressed");

    // Dragged off onto the caption and released there: nothing happens.
    RECT outer{};
    GetWindowRect(window, &outer);
    const POINT onCaption{outer.left + 120, onClose.y};
    SendMouse(onCaption, 0);
    ExpectFrame(window, close, 1, "dragged off");
    SendMouse(onCaption, MOUSEEVENTF_LEFTUP);
    Flush();
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(Recorded.Count(WM_CLOSE), 0);
    EXPECT_TRUE(SystemCommands().empty());

    // Moving onto another button moves the hot frame with it.
    SendMouse(Centre(OnScreen(window, minimise)), 0);
    ExpectFrame(window, minimise, 3, "hovered after");
    ExpectFrame(window, close, 1, "left for the minimise button");

    SendMessageW(window, WM_NCACTIVATE, FALSE, 0);
    Flush();
    for (const TDataSkinSysButton* button : {&close, &maximise, &minimise})
        ExpectFrame(window, *button, 4, "inactive");
}

TEST_F(CaptionButtons, APressDraggedOntoAnotherButtonClicksNeither)
{
    HWND window = Make();
    Attach(window);
    const POINT onClose = Centre(OnScreen(window, SkinButton(0)));
    const POINT onMinimise = Centre(OnScreen(window, SkinButton(2)));
    SendMouse(onClose, 0);
    SendMouse(onClose, MOUSEEVENTF_LEFTDOWN);
    SendMouse(onMinimise, 0);
    ExpectFrame(window, SkinButton(2), 3, "dragged over");
    SendMouse(onMinimise, MOUSEEVENTF_LEFTUP);
    Flush();
    EXPECT_TRUE(IsWindow(window));
    EXPECT_FALSE(IsIconic(window));
    EXPECT_TRUE(SystemCommands().empty());
}

TEST_F(CaptionButtons, ClicksCloseMaximiseRestoreAndMinimise)
{
    HWND window = Make();
    Attach(window);
    Click(Centre(OnScreen(window, SkinButton(1, 2))));
    EXPECT_TRUE(IsZoomed(window));
    EXPECT_EQ(Frame->WindowState(), wsMaximized);
    // Maximised, the restore button shows where the maximise button was.
    const TDataSkinSysButton& restore = SkinButton(1, 1);
    ExpectFrame(window, restore, 1, "maximised");
    Click(Centre(OnScreen(window, restore)));
    EXPECT_FALSE(IsZoomed(window));
    EXPECT_EQ(Frame->WindowState(), wsNormal);

    Click(Centre(OnScreen(window, SkinButton(2))));
    EXPECT_TRUE(IsIconic(window));
    ShowWindow(window, SW_RESTORE);
    BringToFront(window);
    SendMessageW(window, WM_NCACTIVATE, TRUE, 0);
    Flush();

    Click(Centre(OnScreen(window, SkinButton(0))));
    EXPECT_EQ(Recorded.Count(WM_CLOSE), 1);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(CaptionButtons, HelpAndCustomActionsReachTheWindow)
{
    // Help shows on a window with context help and neither box.
    HWND window = Make(WS_CAPTION | WS_SYSMENU, WS_EX_CONTEXTHELP);
    Attach(window);
    const TDataSkinSysButton& help = SkinButton(4);
    ExpectFrame(window, help, 1, "help shown");
    Click(Centre(OnScreen(window, help)));
    // Context help takes the mouse until the next click; hand it back.
    EXPECT_TRUE(Received(SC_CONTEXTHELP));
    SendMessageW(window, WM_CANCELMODE, 0, 0);
    ReleaseCapture();
    Frame.reset();
    DestroyWindow(window);

    // The skin's help button given an action of the application's own.
    const_cast<TDataSkinSysButton&>(help).Action = 77;
    window = Make(WS_CAPTION | WS_SYSMENU, WS_EX_CONTEXTHELP);
    Attach(window);
    Click(Centre(OnScreen(window, help)));
    ASSERT_EQ(Recorded.WParams(WM_SKINBUTTONACTION).size(), 1u);
    EXPECT_EQ(Recorded.WParams(WM_SKINBUTTONACTION)[0], 77u);
}

TEST_F(CaptionButtons, MdiChildButtonsMinimiseRestoreAndCloseTheActiveChild)
{
    // The skin's three MDI child buttons, shown in the caption for the test
    // (a skinned menu band is where they live otherwise).
    const auto& skinButtons = Skin->CaptionButtons();
    ASSERT_GE(skinButtons.size(), 3u);
    std::map<int, TDataSkinSysButton*> mdiButtons;
    for (size_t i = skinButtons.size() - 3; i < skinButtons.size(); ++i) {
        TDataSkinSysButton& button = *skinButtons[i];
        ASSERT_FALSE(button.Bitmap->Empty());
        button.Align = 0;
        button.XCoord = 100 + 30 * static_cast<int>(i - (skinButtons.size() - 3));
        button.YCoord = 4;
        button.Visibility = 0;
        button.Visibility1 = 0;
        mdiButtons[button.Action] = &button;
    }
    ASSERT_EQ(mdiButtons.size(), 3u);
    HWND frame = Make(WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN);
    CLIENTCREATESTRUCT clientCreate{nullptr, 0xFF00};
    HWND client = CreateWindowExW(0, L"MDIClient", nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 300, 160,
                                  frame, nullptr, GetModuleHandleW(nullptr), &clientCreate);
    ASSERT_NE(client, nullptr);
    RegisterTestClass(L"VidkilnMdiChildTest", DefMDIChildProcW);
    MDICREATESTRUCTW childCreate{L"VidkilnMdiChildTest", L"Child", GetModuleHandleW(nullptr), 10, 10, 150, 90,
                                 WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0};
    HWND child = reinterpret_cast<HWND>(SendMessageW(client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&childCreate)));
    ASSERT_NE(child, nullptr);
    Attach(frame);
    ASSERT_EQ(Frame->FormKind(), fkMdiFrame);

    Click(Centre(OnScreen(frame, *mdiButtons[7])));
    EXPECT_TRUE(IsIconic(child));
    Click(Centre(OnScreen(frame, *mdiButtons[8])));
    EXPECT_FALSE(IsIconic(child));
    Click(Centre(OnScreen(frame, *mdiButtons[9])));
    EXPECT_FALSE(IsWindow(child));
    EXPECT_TRUE(IsWindow(frame));
}

TEST_F(CaptionButtons, ButtonsTheWindowHasNoCommandForShowDisabledAndDoNothing)
{
    // A skin that shows the minimise and maximise buttons whatever the style.
    TDataSkinSysButton& minimise = const_cast<TDataSkinSysButton&>(SkinButton(2));
    TDataSkinSysButton& maximise = const_cast<TDataSkinSysButton&>(SkinButton(1, 2));
    minimise.Visibility = 0;
    maximise.Visibility1 = 0;
    HWND window = Make(WS_CAPTION | WS_SYSMENU);
    Attach(window);
    ExpectFrame(window, minimise, 4, "disabled minimise");
    ExpectFrame(window, maximise, 4, "disabled maximise");
    Click(Centre(OnScreen(window, minimise)));
    Click(Centre(OnScreen(window, maximise)));
    ExpectFrame(window, minimise, 4, "disabled minimise after a click");
    EXPECT_FALSE(IsIconic(window));
    EXPECT_FALSE(IsZoomed(window));
    EXPECT_TRUE(SystemCommands().empty());
}

TEST_F(CaptionButtons, WithoutSystemMenuThereIsNoCloseButton)
{
    HWND window = Make(WS_CAPTION | WS_THICKFRAME);
    Attach(window);
    const TDataSkinSysButton& close = SkinButton(0);
    // The caption's own pixels are there, not the button's.
    EXPECT_GT(FrameMisses(window, close, 1), 0);
    Click(Centre(OnScreen(window, close)));
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(Recorded.Count(WM_CLOSE), 0);
}

TEST_F(CaptionButtons, VisibilityFollowsStylesAndStates)
{
    struct TCase {
        const char* What;
        DWORD Style;
        DWORD ExStyle;
        const wchar_t* Class;
        int Show;
        // Close, maximise, restore, minimise, help, icon.
        std::vector<bool> Visible;
    };
    const std::vector<TCase> cases{
        {"overlapped", WS_OVERLAPPEDWINDOW, 0, kRecordingClass, SW_SHOW, {true, true, false, true, false, true}},
        {"maximised", WS_OVERLAPPEDWINDOW, 0, kRecordingClass, SW_MAXIMIZE, {true, false, true, true, false, true}},
        {"minimise box only", WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, kRecordingClass, SW_SHOW,
         {true, true, false, true, false, true}},
        {"context help", WS_CAPTION | WS_SYSMENU, WS_EX_CONTEXTHELP, kRecordingClass, SW_SHOW,
         {true, false, false, false, true, true}},
        {"help beside boxes", WS_OVERLAPPEDWINDOW, WS_EX_CONTEXTHELP, kRecordingClass, SW_SHOW,
         {true, true, false, true, false, true}},
        {"no system menu", WS_CAPTION | WS_THICKFRAME, 0, kRecordingClass, SW_SHOW,
         {false, false, false, false, false, true}},
        {"dialog", WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, WS_EX_DLGMODALFRAME, L"#32770", SW_SHOW,
         {true, false, false, false, false, false}},
    };
    const std::vector<const TDataSkinSysButton*> buttons{&SkinButton(0), &SkinButton(1, 2), &SkinButton(1, 1),
                                                         &SkinButton(2),  &SkinButton(4),    &SkinButton(3)};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        HWND window = Make(c.Style, c.ExStyle, c.Class);
        Attach(window, c.Class);
        ShowWindow(window, c.Show);
        BringToFront(window);
        SendMessageW(window, WM_NCPAINT, 1, 0);
        for (size_t i = 0; i < buttons.size(); ++i) {
            const auto found = std::find_if(Frame->Caption().Buttons.begin(), Frame->Caption().Buttons.end(),
                                            [&](const auto& b) { return b->SkinButton == buttons[i]; });
            ASSERT_NE(found, Frame->Caption().Buttons.end());
            EXPECT_EQ((*found)->Visible, c.Visible[i]) << buttons[i]->Name;
            // A shown button is on screen in its place: frame 1, or 4 when it does nothing.
            const bool icon = i == 5;
            if (c.Visible[i] && !icon) {
                EXPECT_EQ(FrameMisses(window, *buttons[i], (*found)->Enabled && Frame->Active() ? 1 : 4), 0)
                    << buttons[i]->Name << " is not drawn";
            }
        }
        Frame.reset();
        DestroyWindow(window);
    }
}

TEST_F(CaptionButtons, DoubleClickOnTheIconClosesTheWindow)
{
    HWND window = Make();
    Attach(window);
    RECT outer{};
    GetWindowRect(window, &outer);
    const TDataSkinSysButton& icon = SkinButton(3);
    const int iconSize = GetSystemMetrics(SM_CXSMICON);
    const POINT onIcon{outer.left + icon.XCoord + iconSize / 2, outer.top + icon.YCoord + iconSize / 2};
    PostMessageW(window, WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(onIcon.x, onIcon.y));
    Flush();
    EXPECT_TRUE(Received(SC_CLOSE));
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(CaptionButtons, DoubleClickOnTheCaptionMaximisesAndRestores)
{
    HWND window = Make();
    Attach(window);
    RECT outer{};
    GetWindowRect(window, &outer);
    const LPARAM onCaption = MAKELPARAM(outer.left + 140, outer.top + 10);
    PostMessageW(window, WM_NCLBUTTONDBLCLK, HTCAPTION, onCaption);
    Flush();
    EXPECT_TRUE(IsZoomed(window));
    PostMessageW(window, WM_NCLBUTTONDBLCLK, HTCAPTION, onCaption);
    Flush();
    EXPECT_FALSE(IsZoomed(window));
}

TEST_F(CaptionButtons, AMaximisedWindowIsNotDraggedByItsCaption)
{
    HWND window = Make();
    Attach(window);
    ShowWindow(window, SW_MAXIMIZE);
    BringToFront(window);
    SendMessageW(window, WM_NCACTIVATE, TRUE, 0);
    RECT before{};
    GetWindowRect(window, &before);
    const POINT start{before.left + 150, before.top + 10};
    SendMouse(start, 0);
    SendMouse(start, MOUSEEVENTF_LEFTDOWN);
    SendMouse({start.x + 60, start.y + 80}, 0);
    SendMouse({start.x + 60, start.y + 80}, MOUSEEVENTF_LEFTUP);
    Flush();
    RECT after{};
    GetWindowRect(window, &after);
    EXPECT_TRUE(EqualRect(&before, &after));
    EXPECT_TRUE(IsZoomed(window));
}

// The items of the popup menu open on the screen: text, enabled, checked.
struct TOpenItem {
    UINT Command;
    bool Enabled;
};
std::vector<TOpenItem>* OpenMenuItems = nullptr;

void CALLBACK ReadOpenMenu(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND popup = FindWindowW(L"#32768", nullptr);
    if (!popup || !IsWindowVisible(popup))
        return;
    KillTimer(nullptr, timer);
    HMENU menu = reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0));
    for (int i = 0; menu && i < GetMenuItemCount(menu); ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_ID | MIIM_STATE | MIIM_FTYPE;
        GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
        if (!(info.fType & MFT_SEPARATOR))
            OpenMenuItems->push_back({info.wID, !(info.fState & MFS_GRAYED)});
    }
    EndMenu();
}

TEST_F(CaptionButtons, WindowMenuEnablesItsItemsForTheWindowsState)
{
    struct TCase {
        const char* What;
        DWORD Style;
        int Show;
        std::map<UINT, bool> Enabled;
    };
    const std::vector<TCase> cases{
        {"normal", WS_OVERLAPPEDWINDOW, SW_SHOW,
         {{SC_RESTORE, false}, {SC_MOVE, true}, {SC_SIZE, true}, {SC_MINIMIZE, true}, {SC_MAXIMIZE, true},
          {SC_CLOSE, true}}},
        {"maximised", WS_OVERLAPPEDWINDOW, SW_MAXIMIZE,
         {{SC_RESTORE, true}, {SC_MOVE, false}, {SC_SIZE, false}, {SC_MINIMIZE, true}, {SC_MAXIMIZE, false},
          {SC_CLOSE, true}}},
        {"no boxes", WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, SW_SHOW,
         {{SC_MINIMIZE, false}, {SC_MAXIMIZE, false}, {SC_CLOSE, true}}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        HWND window = Make(c.Style);
        Attach(window);
        ShowWindow(window, c.Show);
        Flush();
        std::vector<TOpenItem> items;
        OpenMenuItems = &items;
        SetTimer(nullptr, 0, 50, ReadOpenMenu);
        // Alt+Space, as the system's window menu key arrives.
        SendMessageW(window, WM_SYSCOMMAND, SC_KEYMENU, L' ');
        OpenMenuItems = nullptr;
        ASSERT_FALSE(items.empty());
        for (const auto& [command, enabled] : c.Enabled) {
            const auto found = std::find_if(items.begin(), items.end(),
                                            [&](const TOpenItem& item) { return item.Command == command; });
            if (found == items.end())
                continue; // the system's window menu of this style has no such item
            EXPECT_EQ(found->Enabled, enabled) << "command " << std::hex << command;
        }
        Frame.reset();
        DestroyWindow(window);
    }
}

TEST_F(CaptionButtons, WindowMenuIsPaintedFromTheSkin)
{
    StartSkinManager();
    ASSERT_NE(SkinManager, nullptr);
    HWND window = Make();
    Attach(window);
    TPopupShots shots;
    Shots = &shots;
    SetTimer(nullptr, 0, 60, ShootOpenMenu);
    SendMessageW(window, WM_SYSCOMMAND, SC_KEYMENU, L' ');
    Shots = nullptr;
    ASSERT_FALSE(shots.Opened.Empty() || shots.Selected.Empty());
    EXPECT_TRUE(SkinManager->PopupMenus().empty()) << "the popup object goes with its window";

    ExpectSkinnedPopup(shots, *Skin);
    Frame.reset();
    ShutdownSkinManager();
}

TEST_F(CaptionButtons, NoGdiOrUserGrowthAfterAThousandWindowMenuOpens)
{
    StartSkinManager();
    ASSERT_NE(SkinManager, nullptr);
    HWND window = Make();
    Attach(window);
    const auto open = [&] {
        SetTimer(nullptr, 0, USER_TIMER_MINIMUM, CloseOpenMenu);
        SendMessageW(window, WM_SYSCOMMAND, SC_KEYMENU, L' ');
    };
    ExpectNoGrowth(1000, open);
    EXPECT_TRUE(SkinManager->PopupMenus().empty());
    Frame.reset();
    ShutdownSkinManager();
}

TEST_F(CaptionButtons, FormPopupMenusAreOwnerDrawnFromTheSkinUnlessDisabledByTag)
{
    StartSkinManager();
    ASSERT_NE(SkinManager, nullptr);
    const auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(60, 60, 320, 200);
    auto* context = new TPopupMenu(form.get());
    for (const wchar_t* caption : {L"&Open", L"-", L"&Properties", L"E&xit"}) {
        auto* item = new TMenuItem(context);
        item->SetCaption(caption);
        context->Items()->Add(item);
    }
    auto* kept = new TPopupMenu(form.get());
    kept->Tag = Skin->DisableTag;
    kept->Items()->Add(new TMenuItem(kept));
    // The manager's hook skins the form as it is activated.
    form->Show();
    BringToFront(form->Handle());
    TWinSkinForm* frame = SkinManager->FindSkinForm(form->Handle());
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(context->OwnerDraw());
    EXPECT_FALSE(kept->OwnerDraw()) << "a menu tagged with the skin's DisableTag keeps the system's drawing";

    TPopupShots shots;
    shots.SeparatorIndex = 1;
    Shots = &shots;
    SetTimer(nullptr, 0, 60, ShootOpenMenu);
    context->Popup(200, 200);
    Shots = nullptr;
    ASSERT_FALSE(shots.Opened.Empty() || shots.Selected.Empty());
    ExpectSkinnedPopup(shots, *Skin);

    // Unskinned, the form's menus draw as they did.
    frame->Unskin();
    EXPECT_FALSE(context->OwnerDraw());
    EXPECT_FALSE(context->Items()->Items(0)->OnDrawItem);
    ShutdownSkinManager();
}

TEST_F(CaptionButtons, HintShowsAfterAboutOneSecondOfHoverAndGoesLater)
{
    Skin->Options |= SetBit<TSkinOptions>(xoCaptionButtonHint);
    HWND window = Make();
    Attach(window);
    const POINT onClose = Centre(OnScreen(window, SkinButton(0)));
    SendMouse(onClose, 0);
    ASSERT_TRUE(Frame->Caption().HoverTimerRunning());
    // The hover timer's ticks, driven by hand: 250 ms each.
    std::vector<bool> shown;
    for (int tick = 0; tick < 16; ++tick) {
        Frame->Caption().HoverTick();
        shown.push_back(Skin->CaptionHintShown());
    }
    for (int tick = 0; tick < 16; ++tick)
        EXPECT_EQ(shown[static_cast<size_t>(tick)], tick >= 3 && tick < 13) << "tick " << tick + 1;

    // Leaving the button ends the hover and stops the timer.
    SendMouse({onClose.x, onClose.y + 200}, 0);
    Frame->Caption().HoverTick();
    EXPECT_EQ(Frame->Caption().HotObject(), nullptr);
    EXPECT_FALSE(Frame->Caption().HoverTimerRunning());
    EXPECT_EQ(Frame->Caption().HintClock().Hovered(), 0);

    // Without the option no hint ever shows.
    Skin->Options &= ~SetBit<TSkinOptions>(xoCaptionButtonHint);
    SendMouse(onClose, 0);
    for (int tick = 0; tick < 8; ++tick)
        Frame->Caption().HoverTick();
    EXPECT_FALSE(Skin->CaptionHintShown());
}

TEST_F(CaptionButtons, NoGdiOrUserGrowthAfterManyHoverAndPressRounds)
{
    HWND window = Make();
    Attach(window);
    RECT outer{};
    GetWindowRect(window, &outer);
    const POINT onMinimise = Centre(OnScreen(window, SkinButton(2)));
    const POINT onCaption{outer.left + 120, onMinimise.y};
    const auto post = [&](UINT msg, POINT at) { SendMessageW(window, msg, HTCAPTION, MAKELPARAM(at.x, at.y)); };
    const auto round = [&] {
        post(WM_NCMOUSEMOVE, onMinimise);
        post(WM_NCLBUTTONDOWN, onMinimise);
        post(WM_NCMOUSEMOVE, onCaption);
        post(WM_NCLBUTTONUP, onCaption);
    };
    ExpectNoGrowth(1000, round);
    EXPECT_FALSE(IsIconic(window));
}

} // namespace
