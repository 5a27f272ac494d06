// The skinned menu bar under Wine: the band read back from the window DC at
// rest, hot and open, compared with the skin's MenuBar image and colours at
// points worked out from the skin's numbers; the bar's keyboard and mouse
// loop driven by real input (SendInput), a skinned window and an unskinned
// twin with the same menu reaching the same command and the same open menu;
// Alt+letter on a framework form; the message filter gone after the loop;
// object counts after many open/close rounds.
#include "FrameFixture.h"
#include "PopupShots.h"
#include "support/FormsDispatch.h"
#include "support/RecordingWindow.h"

#include <gtest/gtest.h>

#include "framework/Menus.h"
#include "skin/data/GdiCount.h"
#include "skin/data/SkinManagerLink.h"
#include "skin/forms/MenuBar.h"
#include "skin/forms/SkinManager.h"

#include <cstdio>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

using namespace frametest;

namespace {

constexpr wchar_t kMenuClass[] = L"VidkilnMenuBarTest";
// Windows of this class keep the system's frame and menu bar.
constexpr wchar_t kNativeClass[] = L"VidkilnNativeMenuBar";

void KeepNativeWindowsPlain(TObject*, const std::wstring& className, bool& doSkin)
{
    doSkin = className != kNativeClass;
}

// One window's menu: File (Open, Recent > Alpha Beta, -, Exit), Edit (Copy,
// Paste), View (Zoom, Grid), and optionally Go, a command of its own.
struct TTestMenu {
    HMENU Bar = nullptr;
    std::map<HMENU, std::string> Names;
};

TTestMenu MakeMenu(bool withGo)
{
    TTestMenu menu;
    menu.Bar = CreateMenu();
    HMENU file = CreatePopupMenu();
    HMENU recent = CreatePopupMenu();
    HMENU edit = CreatePopupMenu();
    HMENU view = CreatePopupMenu();
    AppendMenuW(recent, MF_STRING, 111, L"&Alpha");
    AppendMenuW(recent, MF_STRING, 112, L"&Beta");
    AppendMenuW(file, MF_STRING, 101, L"&Open");
    AppendMenuW(file, MF_POPUP, reinterpret_cast<UINT_PTR>(recent), L"&Recent");
    AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(file, MF_STRING, 103, L"E&xit");
    AppendMenuW(edit, MF_STRING, 201, L"&Copy");
    AppendMenuW(edit, MF_STRING, 202, L"&Paste");
    AppendMenuW(view, MF_STRING, 301, L"&Zoom");
    AppendMenuW(view, MF_STRING, 302, L"&Grid");
    AppendMenuW(menu.Bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
    AppendMenuW(menu.Bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), L"&Edit");
    AppendMenuW(menu.Bar, MF_POPUP, reinterpret_cast<UINT_PTR>(view), L"&View");
    if (withGo)
        AppendMenuW(menu.Bar, MF_STRING, 401, L"&Go");
    menu.Names = {{file, "File"}, {recent, "Recent"}, {edit, "Edit"}, {view, "View"}};
    return menu;
}

// The popup menus open on this thread, top level first.
std::vector<HMENU> OpenMenus()
{
    std::vector<HMENU> menus;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM list) -> BOOL {
            wchar_t name[16] = {};
            GetClassNameW(window, name, 16);
            if (std::wstring(name) == L"#32768" && IsWindowVisible(window))
                reinterpret_cast<std::vector<HMENU>*>(list)->push_back(
                    reinterpret_cast<HMENU>(SendMessageW(window, MN_GETHMENU, 0, 0)));
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&menus));
    return menus;
}

INPUT KeyInput(WORD key, bool up)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

// A key pressed and released; with alt, while Alt is held.
std::vector<INPUT> Stroke(WORD key, bool alt = false)
{
    std::vector<INPUT> inputs;
    if (alt)
        inputs.push_back(KeyInput(VK_MENU, false));
    inputs.push_back(KeyInput(key, false));
    inputs.push_back(KeyInput(key, true));
    if (alt)
        inputs.push_back(KeyInput(VK_MENU, true));
    return inputs;
}

void SendKeys(const std::vector<std::vector<INPUT>>& strokes)
{
    std::vector<INPUT> all;
    for (const auto& stroke : strokes)
        all.insert(all.end(), stroke.begin(), stroke.end());
    SendInput(static_cast<UINT>(all.size()), all.data(), sizeof(INPUT));
}

// The mouse moved, its messages left to whoever pumps next (a step of a
// script may run inside a menu loop).
void MoveMouse(POINT screen)
{
    INPUT input = MouseInput(screen, 0);
    SendInput(1, &input, sizeof(INPUT));
}
void SendClick(POINT screen)
{
    INPUT inputs[3] = {MouseInput(screen, 0), MouseInput(screen, MOUSEEVENTF_LEFTDOWN),
                       MouseInput(screen, MOUSEEVENTF_LEFTUP)};
    SendInput(3, inputs, sizeof(INPUT));
}

// Steps run one after another from a thread timer, so that they also run
// inside the modal menu loops that input starts; a step runs only once the
// input and posted messages before it have been handled.
struct TScript {
    std::vector<std::function<void()>> Steps;
    size_t Next = 0;
    DWORD Start = 0;
    bool TimedOut = false;
    // A menu was still open after the last step, and had to be closed.
    bool LeftOpen = false;
    // The round after the last step has looked for open menus.
    bool Finished = false;
};
TScript* Script = nullptr;
constexpr DWORD kScriptTimeout = 8000;

void CALLBACK RunScriptStep(HWND, UINT, UINT_PTR, DWORD)
{
    if (!Script)
        return;
    if (Script->Next >= Script->Steps.size()) {
        if (!Script->Finished && !OpenMenus().empty()) {
            Script->LeftOpen = true;
            EndMenu();
        }
        Script->Finished = true;
        return;
    }
    if (GetTickCount() - Script->Start > kScriptTimeout) {
        Script->TimedOut = true;
        Script->Next = Script->Steps.size();
        EndMenu();
        return;
    }
    if (HIWORD(GetQueueStatus(QS_INPUT | QS_POSTMESSAGE)) != 0)
        return;
    Script->Steps[Script->Next++]();
}

void Play(TScript& script, testsupport::TDispatch dispatch = testsupport::DispatchPending)
{
    script.Start = GetTickCount();
    Script = &script;
    const UINT_PTR timer = SetTimer(nullptr, 0, 120, RunScriptStep);
    EXPECT_TRUE(WaitUntil([&] { return script.Finished; }, "the script's steps and the look after them",
                          kScriptTimeout + 2000, dispatch));
    // What the last step set off (a command posted as the menu closed).
    EXPECT_TRUE(testsupport::PumpUntilIdle(testsupport::kDeadlineMs, dispatch));
    KillTimer(nullptr, timer);
    Script = nullptr;
    EXPECT_FALSE(script.TimedOut);
    EXPECT_FALSE(script.LeftOpen);
}

class MenuBar : public ::testing::Test {
protected:
    void SetUp() override
    {
        testsupport::RegisterRecordingClass(kMenuClass);
        testsupport::RegisterRecordingClass(kNativeClass);
        Skin = DefaultSkin();
        Skin->OnFormSkin = TOnFormSkin::BindFunction<&KeepNativeWindowsPlain>();
        ASSERT_FALSE(Skin->SkinLoading());
        UseSkinManager();
        Skin->Loaded();
        ASSERT_NE(SkinManager, nullptr);
        SkinManager->SetActive(true);
        SendMouse(Parked(), 0);
    }

    void TearDown() override
    {
        Frames.clear();
        for (HWND window : Windows)
            if (IsWindow(window))
                DestroyWindow(window);
        ShutdownSkinManager();
    }

    HWND Make(HMENU menu, DWORD exStyle = 0, int x = 80, const wchar_t* className = kMenuClass)
    {
        RECT rect{0, 0, 360, 200};
        AdjustWindowRectEx(&rect, WS_OVERLAPPEDWINDOW, TRUE, exStyle);
        HWND window = CreateWindowExW(exStyle, className, L"Menus", WS_OVERLAPPEDWINDOW, x, 60,
                                      rect.right - rect.left, rect.bottom - rect.top, nullptr, menu,
                                      GetModuleHandleW(nullptr), nullptr);
        Windows.push_back(window);
        return window;
    }

    TWinSkinForm& Skinned(HWND window)
    {
        Frames.push_back(AttachFrame(window, kMenuClass, *Skin));
        Focus(window);
        return *Frames.back();
    }

    static void Focus(HWND window)
    {
        ShowWindow(window, SW_SHOW);
        BringToFront(window);
        SetFocus(window);
        SendMessageW(window, WM_NCACTIVATE, TRUE, 0);
        Flush();
    }

    static POINT Parked() { return {GetSystemMetrics(SM_CXSCREEN) - 2, GetSystemMetrics(SM_CYSCREEN) - 2}; }

    // The item's rectangle in screen coordinates.
    static RECT OnScreen(HWND window, const TMenuBtn& item)
    {
        RECT outer{};
        GetWindowRect(window, &outer);
        RECT rect = item.Bounds;
        OffsetRect(&rect, outer.left, outer.top);
        return rect;
    }

    // The colours one frame of the skin's MenuBar image can give a band
    // pixel: its rows are stretched over the band's height.
    std::set<TColor> BarColours(int frame) const
    {
        const TDataSkinObject& bar = *Skin->MenuBar();
        const int height = bar.Bitmap->Height() / bar.FrameCount;
        const int middle = bar.Bitmap->Width() / 2;
        std::set<TColor> colours;
        for (int y = 0; y < height; ++y)
            colours.insert(PixelOf(*bar.Bitmap, middle, (frame - 1) * height + y));
        return colours;
    }

    // Band pixels right of the last item that are not of the frame's colours.
    int BackgroundMisses(HWND window, const TWinSkinForm& frame, int barFrame) const
    {
        const std::set<TColor> colours = BarColours(barFrame);
        const TPixels shot = ReadBack(window);
        const RECT band = frame.SkinMenuBar()->BarRect();
        const int from = frame.SkinMenuBar()->Items.back()->Bounds.right + 4;
        const TDataSkinObject& bar = *Skin->MenuBar();
        int misses = 0;
        for (int y = band.top; y < band.bottom; ++y)
            for (int x = from; x < band.right - bar.RightWidth; x += 7)
                misses += colours.count(PixelOf(shot, x, y)) == 0;
        return misses;
    }

    TColor Hilight() const { return ColorToRGB(Skin->SkinColor(scButtonHilight)) & 0xFFFFFF; }

    // Every pixel of the item's one-pixel frame in the hot colour.
    bool ShowsHotFrame(const TPixels& shot, const RECT& bounds) const
    {
        for (int x = bounds.left; x < bounds.right; ++x)
            if (PixelOf(shot, x, bounds.top) != Hilight() || PixelOf(shot, x, bounds.bottom - 1) != Hilight())
                return false;
        for (int y = bounds.top; y < bounds.bottom; ++y)
            if (PixelOf(shot, bounds.left, y) != Hilight() || PixelOf(shot, bounds.right - 1, y) != Hilight())
                return false;
        return true;
    }

    // The names of the open menus of a window's menu.
    static std::vector<std::string> OpenNames(const TTestMenu& menu)
    {
        std::vector<std::string> names;
        for (HMENU open : OpenMenus()) {
            const auto found = menu.Names.find(open);
            names.push_back(found == menu.Names.end() ? "?" : found->second);
        }
        return names;
    }

    std::unique_ptr<TSkinData> Skin;
    std::vector<std::unique_ptr<TWinSkinForm>> Frames;
    std::vector<HWND> Windows;
    // The menu commands that reached a window's own procedure.
    std::vector<UINT> CommandsOf(HWND window) const
    {
        std::vector<UINT> commands;
        for (const testsupport::TRecordedMessage& seen : Recorded.Messages)
            if (seen.Window == window && seen.Message == WM_COMMAND && seen.LParam == 0 && HIWORD(seen.WParam) == 0)
                commands.push_back(LOWORD(seen.WParam));
        return commands;
    }

    testsupport::TMessageRecording Recorded;
};

TEST_F(MenuBar, TheBandWearsTheSkinAndTheWindowKeepsItsClient)
{
    const TTestMenu menu = MakeMenu(false);
    HWND window = Make(menu.Bar);
    const SIZE client = ClientSize(window);
    TWinSkinForm& frame = Skinned(window);
    ASSERT_NE(frame.SkinMenuBar(), nullptr);
    EXPECT_EQ(GetMenu(window), nullptr) << "the system no longer draws the bar";
    EXPECT_EQ(ClientSize(window).cx, client.cx);
    EXPECT_EQ(ClientSize(window).cy, client.cy);

    // The band lies under the caption, inside the side borders, one menu
    // bar high; the first item starts the image's left margin and 4 in.
    const TFrameModel model(*Skin, WindowSize(window).cx, WindowSize(window).cy);
    const RECT band = frame.SkinMenuBar()->BarRect();
    EXPECT_EQ(band.left, model.Left);
    EXPECT_EQ(band.top, model.Top);
    EXPECT_EQ(band.bottom - band.top, GetSystemMetrics(SM_CYMENU));
    ASSERT_EQ(frame.SkinMenuBar()->Items.size(), 3u);
    const RECT first = frame.SkinMenuBar()->Items[0]->Bounds;
    EXPECT_EQ(first.left, band.left + Skin->MenuBar()->LeftWidth + 4);
    EXPECT_EQ(frame.SkinMenuBar()->Items[1]->Bounds.left, first.right);

    // The test means something only when the two frames differ.
    ASSERT_NE(BarColours(1), BarColours(2));
    EXPECT_EQ(BackgroundMisses(window, frame, 1), 0) << "active band";
    EXPECT_FALSE(ShowsHotFrame(ReadBack(window), first)) << "at rest";

    // Hot under the mouse, back at rest when it leaves.
    SendMouse(Centre(OnScreen(window, *frame.SkinMenuBar()->Items[0])), 0);
    EXPECT_TRUE(ShowsHotFrame(ReadBack(window), first)) << "hot";
    EXPECT_FALSE(ShowsHotFrame(ReadBack(window), frame.SkinMenuBar()->Items[1]->Bounds));
    SendMouse(Parked(), 0);
    frame.Caption().HoverTick();
    EXPECT_FALSE(ShowsHotFrame(ReadBack(window), first)) << "left";

    SendMessageW(window, WM_NCACTIVATE, FALSE, 0);
    EXPECT_EQ(BackgroundMisses(window, frame, 2), 0) << "inactive band";

    // Unskinned, the window shows its own menu again at its own client size.
    const SIZE skinnedClient = ClientSize(window);
    frame.Unskin();
    Flush();
    EXPECT_EQ(GetMenu(window), menu.Bar);
    EXPECT_EQ(ClientSize(window).cx, skinnedClient.cx);
    EXPECT_EQ(ClientSize(window).cy, skinnedClient.cy);
}

TEST_F(MenuBar, AClickOpensTheSubMenuUnderItsPressedItemInTheSkin)
{
    const TTestMenu menu = MakeMenu(false);
    HWND window = Make(menu.Bar);
    TWinSkinForm& frame = Skinned(window);
    const TMenuBtn& file = *frame.SkinMenuBar()->Items[0];
    const RECT item = OnScreen(window, file);
    std::vector<std::string> open;
    RECT popup{};
    bool pressed = false;
    bool skinnedPopup = false;
    TScript script;
    script.Steps = {[&] { SendClick(Centre(item)); },
                    [&] {
                        open = OpenNames(menu);
                        pressed = ShowsHotFrame(ReadBack(window), file.Bounds);
                        HWND shown = FindWindowW(L"#32768", nullptr);
                        GetWindowRect(shown, &popup);
                        skinnedPopup = SkinManager->IsPopupMenuSkinned(shown);
                        EndMenu();
                    }};
    Play(script);
    SendMouse(Parked(), 0);
    frame.Caption().HoverTick();
    EXPECT_EQ(open, std::vector<std::string>{"File"});
    EXPECT_TRUE(pressed) << "the open item shows its pressed frame";
    EXPECT_TRUE(skinnedPopup);
    EXPECT_EQ(popup.left, item.left);
    EXPECT_EQ(popup.top, item.bottom);
    EXPECT_FALSE(ShowsHotFrame(ReadBack(window), file.Bounds)) << "closed again";
    EXPECT_TRUE(CommandsOf(window).empty());
}

// The bar's menus are skinned popups whose items the skin draws too, and
// the items get their own drawing back when the menu closes.
TEST_F(MenuBar, TheBarsMenusAreDrawnFromTheSkin)
{
    const TTestMenu menu = MakeMenu(false);
    HWND window = Make(menu.Bar);
    TWinSkinForm& frame = Skinned(window);
    TPopupShots shots;
    Shots = &shots;
    SetTimer(nullptr, 0, 60, ShootOpenMenu);
    SendClick(Centre(OnScreen(window, *frame.SkinMenuBar()->Items[0])));
    EXPECT_TRUE(WaitUntil([&] { return !shots.Selected.Empty(); }, "the open menu read back with an item selected"));
    Shots = nullptr;
    ASSERT_FALSE(shots.Opened.Empty() || shots.Selected.Empty());
    ExpectSkinnedPopup(shots, *Skin);

    HMENU file = GetSubMenu(menu.Bar, 0);
    for (int index = 0; index < GetMenuItemCount(file); ++index) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_DATA;
        ASSERT_TRUE(GetMenuItemInfoW(file, static_cast<UINT>(index), TRUE, &info));
        EXPECT_EQ(info.fType & MFT_OWNERDRAW, 0u) << "item " << index;
        EXPECT_EQ(info.dwItemData, 0u) << "item " << index;
    }
    wchar_t text[16] = {};
    GetMenuStringW(file, 0, text, 16, MF_BYPOSITION);
    EXPECT_EQ(std::wstring(text), L"&Open");
}

// Keys sent to a skinned window and to an unskinned twin with the same
// menu: the same command arrives and the same menus are open.
struct TKeyCase {
    const char* Name;
    std::vector<std::vector<INPUT>> Keys;
};

TEST_F(MenuBar, KeysReachTheSameCommandAndMenuAsOnANativeBar)
{
    const std::vector<TKeyCase> cases = {
        {"Alt+F Enter", {Stroke('F', true), Stroke(VK_RETURN)}},
        {"Alt+F Down Down Enter", {Stroke('F', true), Stroke(VK_DOWN), Stroke(VK_DOWN), Stroke(VK_RETURN)}},
        {"Alt+F Down Right Enter", {Stroke('F', true), Stroke(VK_DOWN), Stroke(VK_RIGHT), Stroke(VK_RETURN)}},
        {"Alt+F Right Enter", {Stroke('F', true), Stroke(VK_RIGHT), Stroke(VK_RETURN)}},
        {"Alt+V Left Enter", {Stroke('V', true), Stroke(VK_LEFT), Stroke(VK_RETURN)}},
        {"Alt+E Right", {Stroke('E', true), Stroke(VK_RIGHT)}},
        {"Alt+F Down Right", {Stroke('F', true), Stroke(VK_DOWN), Stroke(VK_RIGHT)}},
        {"Alt+F Down Right Left Right Enter",
         {Stroke('F', true), Stroke(VK_DOWN), Stroke(VK_RIGHT), Stroke(VK_LEFT), Stroke(VK_RIGHT), Stroke(VK_RETURN)}},
        {"Alt+E Down Right Enter", {Stroke('E', true), Stroke(VK_DOWN), Stroke(VK_RIGHT), Stroke(VK_RETURN)}},
        {"Alt+E Down Right Left Left Enter",
         {Stroke('E', true), Stroke(VK_DOWN), Stroke(VK_RIGHT), Stroke(VK_LEFT), Stroke(VK_LEFT), Stroke(VK_RETURN)}},
        {"Alt+F Escape", {Stroke('F', true), Stroke(VK_ESCAPE)}},
        {"Alt+Q (no such item)", {Stroke('Q', true)}},
    };
    const TTestMenu nativeMenu = MakeMenu(false);
    const TTestMenu skinnedMenu = MakeMenu(false);
    HWND native = Make(nativeMenu.Bar, 0, 40, kNativeClass);
    HWND skinned = Make(skinnedMenu.Bar, 0, 480);
    Skinned(skinned);
    for (const TKeyCase& keyCase : cases) {
        SCOPED_TRACE(keyCase.Name);
        std::map<HWND, std::vector<std::string>> open;
        for (auto [window, menu] : {std::pair{native, &nativeMenu}, std::pair{skinned, &skinnedMenu}}) {
            Focus(window);
            Recorded.Clear();
            TScript script;
            script.Steps = {[&] { SendKeys(keyCase.Keys); },
                            [&, window = window, menu = menu] {
                                open[window] = OpenNames(*menu);
                                EndMenu();
                            },
                            // A native bar stays selected after its menu closes.
                            [&] { EndMenu(); }};
            Play(script);
            open[window].push_back("commands:");
            for (UINT command : CommandsOf(window))
                open[window].push_back(std::to_string(command));
        }
        EXPECT_EQ(open[skinned], open[native]);
    }
    EXPECT_EQ(SkinManager->FindSkinForm(native), nullptr) << "the twin kept the system's bar";
}

// Where a native bar would go on to the window menu, the skinned bar wraps
// round to its other end; a right-to-left bar starts at the right and
// mirrors the arrows.
TEST_F(MenuBar, ArrowsWrapAtTheEndsAndMirrorRightToLeft)
{
    struct TCase {
        const char* Name;
        DWORD ExStyle;
        std::vector<std::vector<INPUT>> Keys;
        UINT Command;
    };
    const std::vector<TCase> cases = {
        {"Alt+F Left Enter", 0, {Stroke('F', true), Stroke(VK_LEFT), Stroke(VK_RETURN)}, 301},
        {"Alt+V Right Enter", 0, {Stroke('V', true), Stroke(VK_RIGHT), Stroke(VK_RETURN)}, 101},
        {"right to left: Alt+F Left Enter", WS_EX_LEFTSCROLLBAR, {Stroke('F', true), Stroke(VK_LEFT), Stroke(VK_RETURN)},
         201},
        {"right to left: Alt+F Right Enter", WS_EX_LEFTSCROLLBAR,
         {Stroke('F', true), Stroke(VK_RIGHT), Stroke(VK_RETURN)}, 301},
    };
    for (const TCase& keyCase : cases) {
        SCOPED_TRACE(keyCase.Name);
        const TTestMenu menu = MakeMenu(false);
        HWND window = Make(menu.Bar, keyCase.ExStyle);
        const TWinSkinMenu& bar = *Skinned(window).SkinMenuBar();
        if (keyCase.ExStyle) {
            EXPECT_EQ(bar.Items[0]->Bounds.right, bar.BarRect().right - (Skin->MenuBar()->RightWidth + 8));
            EXPECT_EQ(bar.Items[1]->Bounds.right, bar.Items[0]->Bounds.left);
        }
        TScript script;
        script.Steps = {[&] { SendKeys(keyCase.Keys); }, [&] { EndMenu(); }};
        Play(script);
        EXPECT_EQ(CommandsOf(window), std::vector<UINT>{keyCase.Command});
        DestroyWindow(window);
    }
}

TEST_F(MenuBar, AltAloneOpensTheFirstItemAndTheMouseSlidesBetweenItems)
{
    const TTestMenu menu = MakeMenu(true);
    HWND window = Make(menu.Bar);
    TWinSkinForm& frame = Skinned(window);
    const TWinSkinMenu& bar = *frame.SkinMenuBar();
    ASSERT_EQ(bar.Items.size(), 4u);
    std::vector<std::vector<std::string>> seen;
    TScript script;
    const auto look = [&] { seen.push_back(OpenNames(menu)); };
    script.Steps = {[&] { SendKeys({Stroke(VK_MENU)}); },
                    look,
                    [&] { MoveMouse(Centre(OnScreen(window, *bar.Items[1]))); },
                    look,
                    [&] { MoveMouse(Centre(OnScreen(window, *bar.Items[2]))); },
                    look,
                    // The command item takes no part in sliding.
                    [&] { MoveMouse(Centre(OnScreen(window, *bar.Items[3]))); },
                    look,
                    // A click on the open item closes its menu.
                    [&] { SendClick(Centre(OnScreen(window, *bar.Items[2]))); },
                    look};
    Play(script);
    const std::vector<std::vector<std::string>> expected = {{"File"}, {"Edit"}, {"View"}, {"View"}, {}};
    EXPECT_EQ(seen, expected);
    EXPECT_FALSE(frame.MenuTrackingNow());
    EXPECT_TRUE(CommandsOf(window).empty());

    // A bar item without a sub-menu sends its command and opens nothing.
    std::vector<HMENU> openAfterGo;
    TScript go;
    go.Steps = {[&] { SendClick(Centre(OnScreen(window, *bar.Items[3]))); },
                [&] { openAfterGo = OpenMenus(); }};
    Play(go);
    EXPECT_TRUE(openAfterGo.empty());
    EXPECT_EQ(CommandsOf(window), std::vector<UINT>{401});
}

TEST_F(MenuBar, TheMessageFilterIsGoneWhenTheLoopEnds)
{
    const TTestMenu menu = MakeMenu(false);
    HWND window = Make(menu.Bar);
    TWinSkinForm& frame = Skinned(window);
    MSG right{};
    right.hwnd = window;
    right.message = WM_KEYDOWN;
    right.wParam = VK_RIGHT;
    LRESULT during = 0;
    std::vector<std::string> afterSwitch;
    TScript script;
    script.Steps = {[&] { SendKeys({Stroke('F', true)}); },
                    [&] { during = CallMsgFilterW(&right, MSGF_MENU); },
                    [&] {
                        afterSwitch = OpenNames(menu);
                        EndMenu();
                    }};
    Play(script);
    EXPECT_NE(during, 0) << "the loop's filter takes Right at the top level";
    EXPECT_EQ(afterSwitch, std::vector<std::string>{"Edit"});
    EXPECT_FALSE(frame.MenuTrackingNow());
    EXPECT_EQ(CallMsgFilterW(&right, MSGF_MENU), 0);
    EXPECT_TRUE(WaitUntil([] { return OpenMenus().empty(); }, "every menu to close"));
}

TEST_F(MenuBar, AltLetterOnAFrameworkFormRunsTheItemsClick)
{
    const auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(60, 60, 360, 240);
    auto* mainMenu = new TMainMenu(form.get());
    std::vector<std::string> clicks;
    const auto add = [&](TMenuItem* parent, const wchar_t* caption) {
        auto* item = new TMenuItem(mainMenu);
        item->SetCaption(caption);
        parent->Add(item);
        return item;
    };
    TMenuItem* file = add(mainMenu->Items(), L"&File");
    TMenuItem* open = add(file, L"&Open");
    TMenuItem* tools = add(mainMenu->Items(), L"&Tools");
    TMenuItem* options = add(tools, L"&Options");
    struct TClicks {
        std::vector<std::string>* List;
        void Open(TObject*) { List->push_back("Open"); }
        void Options(TObject*) { List->push_back("Options"); }
    } handler{&clicks};
    open->OnClick = TNotifyEvent::Bind<&TClicks::Open>(&handler);
    options->OnClick = TNotifyEvent::Bind<&TClicks::Options>(&handler);
    form->SetMenu(mainMenu);
    form->Show();
    BringToFront(form->Handle(), testsupport::DispatchThroughApplication);
    TWinSkinForm* frame = SkinManager->FindSkinForm(form->Handle());
    ASSERT_NE(frame, nullptr);
    ASSERT_NE(frame->SkinMenuBar(), nullptr);
    EXPECT_EQ(GetMenu(form->Handle()), nullptr);

    // Keys go through the application, which gives Alt+letter to the form first.
    SetFocus(form->Handle());
    TScript script;
    script.Steps = {[&] { SendKeys({Stroke('T', true), Stroke(VK_RETURN)}); }, [] {}, [] {}};
    Play(script, testsupport::DispatchThroughApplication);
    EXPECT_EQ(clicks, std::vector<std::string>{"Options"});

    // A caption changed through the framework shows in the bar.
    file->SetCaption(L"&Document");
    Flush();
    EXPECT_EQ(frame->SkinMenuBar()->Items[0]->Caption, L"&Document");
    frame->Unskin();
    EXPECT_EQ(GetMenu(form->Handle()), mainMenu->Handle());
}

// The buttons of a maximised MDI child sit at the right end of the band,
// drawn from the skin's MDI buttons, and restore the child when clicked.
TEST_F(MenuBar, AMaximisedMdiChildsButtonsShowInTheBandAndWork)
{
    const auto mdiFrame = std::make_unique<TForm>(nullptr);
    mdiFrame->SetFormStyle(fsMDIForm);
    mdiFrame->SetBounds(40, 40, 560, 420);
    auto* mainMenu = new TMainMenu(mdiFrame.get());
    auto* file = new TMenuItem(mainMenu);
    file->SetCaption(L"&File");
    mainMenu->Items()->Add(file);
    auto* item = new TMenuItem(mainMenu);
    item->SetCaption(L"&New");
    file->Add(item);
    mdiFrame->SetMenu(mainMenu);
    mdiFrame->Show();
    Flush();
    TWinSkinForm* frame = SkinManager->FindSkinForm(mdiFrame->Handle());
    ASSERT_NE(frame, nullptr);
    ASSERT_NE(frame->SkinMenuBar(), nullptr);
    auto* child = new TForm(mdiFrame.get());
    child->SetFormStyle(fsMDIChild);
    child->SetBounds(10, 10, 220, 150);
    child->Show();
    Flush();
    SendMessageW(mdiFrame->ClientHandle(), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(child->Handle()), 0);
    Flush();
    RedrawWindow(mdiFrame->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    Flush();
    ASSERT_TRUE(IsZoomed(child->Handle()));

    // Where the skin's numbers put each button: from the band's right end,
    // centred in the band's height; every pixel of its first frame that is
    // not see-through shows.
    const SIZE size = WindowSize(mdiFrame->Handle());
    const TFrameModel model(*Skin, size.cx, size.cy);
    const TPixels shot = ReadBack(mdiFrame->Handle());
    RECT restoreRect{};
    for (int action : {7, 8, 9}) {
        SCOPED_TRACE(action);
        const TDataSkinSysButton& button = SkinButtonOf(*Skin, action);
        ASSERT_FALSE(button.Bitmap->Empty());
        const int width = button.Bitmap->Width() / button.FrameCount;
        const int height = button.Bitmap->Height();
        const int x = size.cx - button.XCoord - model.Right - Skin->MenuBar()->LeftWidth;
        const int y = model.Top + (GetSystemMetrics(SM_CYMENU) - height) / 2;
        int misses = 0;
        int compared = 0;
        for (int dy = 0; dy < height; ++dy)
            for (int dx = 0; dx < width; ++dx) {
                const TColor expected = PixelOf(*button.Bitmap, dx, dy);
                if (expected == kMagenta)
                    continue;
                ++compared;
                misses += PixelOf(shot, x + dx, y + dy) != expected;
            }
        EXPECT_GT(compared, 0);
        EXPECT_EQ(misses, 0);
        if (action == 8)
            restoreRect = {x, y, x + width, y + height};
    }
    RECT outer{};
    GetWindowRect(mdiFrame->Handle(), &outer);
    OffsetRect(&restoreRect, outer.left, outer.top);
    Click(Centre(restoreRect));
    EXPECT_TRUE(WaitUntil([&] { return !IsZoomed(child->Handle()); }, "the child to be restored"))
        << "the restore button restores the child";
}

TEST_F(MenuBar, NoGdiOrUserGrowthAfterFiveHundredOpenAndCloseRounds)
{
    const TTestMenu menu = MakeMenu(false);
    HWND window = Make(menu.Bar);
    Skinned(window);
    const auto round = [&] {
        SetTimer(nullptr, 0, USER_TIMER_MINIMUM, CloseOpenMenu);
        SendMessageW(window, WM_SYSCOMMAND, SC_KEYMENU, L'e');
    };
    ExpectNoGrowth(500, round);
    EXPECT_TRUE(SkinManager->PopupMenus().empty());
    EXPECT_TRUE(CommandsOf(window).empty());
}

} // namespace
