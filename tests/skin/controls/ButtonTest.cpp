// Skinned push buttons under Wine: a framework form skinned the way the
// manager skins it, real mouse and keyboard input, and the buttons read back
// from their window DC against the skin's Buttons image at their border
// points (the frame of each state); clicks still reaching the control's
// events; switching off and on; unskinning; the parent background of Tag
// 5555; the base's colour and parent background; bare windows of both
// character sets; GDI objects around soak loops.
#include "ControlFixture.h"
#include "support/RecordingWindow.h"

#include "framework/Buttons.h"
#include "framework/ExtCtrls.h"
#include "skin/controls/SkinMediaPlayer.h"
#include "skin/data/GdiCount.h"
#include "skin/data/SkinMessages.h"

#include <algorithm>
#include <cstdio>

using namespace controltest;

namespace {

struct TEvents {
    int Clicks = 0;
    int MouseDowns = 0;
    int LastX = 0;
    void Click(TObject*) { ++Clicks; }
    void MouseDown(TObject*, TMouseButton, TShiftState, int x, int) { ++MouseDowns; LastX = x; }
    void Watch(TControl* control)
    {
        control->OnClick = TNotifyEvent::Bind<&TEvents::Click>(this);
        control->OnMouseDown = TMouseEvent::Bind<&TEvents::MouseDown>(this);
    }
};

// Counts what reaches the control below the skin object's hook.
struct TInnerHook {
    TWindowProcHook Hook;
    int SkinSwitches = 0;
    void Entry(TMessage& message)
    {
        if (message.Msg == WM_SKINSWITCH)
            ++SkinSwitches;
        Hook.CallPrevious(message);
    }
};

class SkinnedButtons : public SkinnedForm {
protected:
    void SetUp() override
    {
        SkinnedForm::SetUp();
        ASSERT_FALSE(Skin->Buttons()->Bitmap->Empty());
    }

    TButton* AddButton(const wchar_t* caption, int x, int y, int w = 90, int h = 25)
    {
        return Place<TButton>(Form.get(), Form.get(), caption, x, y, w, h);
    }

    TFaceModel Model() const { return TFaceModel(*Skin, Skin->SkinColor(scButtonFace)); }
};

TEST_F(SkinnedButtons, EveryStateShowsItsFrameOfTheButtonsImage)
{
    TButton* normal = AddButton(L"Normal", 10, 10);
    TButton* byDefault = AddButton(L"Default", 110, 10);
    byDefault->SetDefault(true);
    TButton* disabled = AddButton(L"Disabled", 210, 10);
    disabled->SetEnabled(false);
    TButton* disabledDefault = AddButton(L"Both", 10, 50);
    disabledDefault->SetDefault(true);
    disabledDefault->SetEnabled(false);
    TButton* focused = AddButton(L"Focused", 110, 50);
    TButton* hot = AddButton(L"Hot", 210, 50);
    TButton* pressed = AddButton(L"Pressed", 10, 90);
    TButton* caption = AddButton(L"Two||lines", 110, 90, 90, 40);
    SkinForm();

    struct TCase {
        const char* What;
        TButton* Button;
        std::function<void()> Act;
        int Frame;
    };
    const std::vector<TCase> cases{
        {"normal", normal, [] {}, bfNormal},
        {"default", byDefault, [] {}, bfFocused},
        {"disabled", disabled, [] {}, bfDisabled},
        {"disabled default", disabledDefault, [] {}, bfDisabled},
        {"two-line caption", caption, [] {}, bfNormal},
        {"focused", focused, [&] { focused->SetFocus(); Flush(); }, bfFocused},
        {"mouse over", hot, [&] { MouseTo(hot->Handle(), 45, 12); }, bfMouseOver},
        {"pressed", pressed, [&] { MouseTo(pressed->Handle(), 45, 12, MOUSEEVENTF_LEFTDOWN); }, bfPressed},
        {"released and left", pressed, [&] {
             MouseTo(pressed->Handle(), 45, 12, MOUSEEVENTF_LEFTUP);
             Edit->SetFocus();
             ParkMouse();
         }, bfNormal},
    };
    const TFaceModel model = Model();
    for (const TCase& c : cases) {
        c.Act();
        EXPECT_EQ(CheckFace(c.Button->Handle(), model, c.Frame, c.What), 0) << c.What;
    }
}

TEST_F(SkinnedButtons, ButtonsOfOneSizeShareFacesAndASkinChangeRendersThemAnew)
{
    // Same size, different states: the shared faces must never mix states.
    TButton* first = AddButton(L"One", 10, 10);
    TButton* second = AddButton(L"Two", 110, 10);
    SkinForm();
    MouseTo(second->Handle(), 45, 12);
    EXPECT_EQ(CheckFace(first->Handle(), Model(), bfNormal, "beside a hot twin"), 0);
    EXPECT_EQ(CheckFace(second->Handle(), Model(), bfMouseOver, "hot"), 0);
    ParkMouse();

    Skin->SetSkinFile(L"" VIDKILN_LIGHT_SKIN_FILE);
    ASSERT_FALSE(Skin->SkinLoading());
    Frame->Refresh();
    Flush();
    EXPECT_EQ(CheckFace(first->Handle(), Model(), bfNormal, "after the skin change"), 0);
    EXPECT_EQ(CheckFace(second->Handle(), Model(), bfNormal, "after the skin change"), 0);
}

TEST_F(SkinnedButtons, SpeedButtonsShowTheirStateAndKeepTheirOwnClicks)
{
    const auto add = [&](const wchar_t* caption, int x) {
        return Place<TSpeedButton>(Form.get(), Form.get(), caption, x, 10, 70, 25);
    };
    TSpeedButton* plain = add(L"Plain", 10);
    TSpeedButton* down = add(L"Down", 90);
    TSpeedButton* other = add(L"Other", 170);
    TSpeedButton* disabled = add(L"Off", 250);
    TSpeedButton* flat = add(L"Flat", 10);
    flat->SetTop(50);
    for (TSpeedButton* grouped : {down, other})
        grouped->SetGroupIndex(1);
    down->SetDown(true);
    disabled->SetEnabled(false);
    flat->SetFlat(true);
    SkinForm();
    HWND window = Form->Handle();
    const auto misses = [&](TSpeedButton* button, int frame, const char* what) {
        const TPixels shot = ReadBack(window);
        return CheckFaceIn(shot, AreaInParentWindow(*button), Model(), frame, what);
    };
    EXPECT_EQ(misses(plain, bfNormal, "plain"), 0);
    EXPECT_EQ(misses(down, bfPressed, "down"), 0);
    EXPECT_EQ(misses(other, bfNormal, "up in its group"), 0);
    EXPECT_EQ(misses(disabled, bfDisabled, "disabled"), 0);

    // A flat button at rest shows the face colour alone, its face when hot.
    const RECT flatArea = AreaInParentWindow(*flat);
    {
        const TPixels shot = ReadBack(window);
        for (const POINT& p : EdgePoints(70, 25))
            ASSERT_EQ(PixelOf(shot, flatArea.left + p.x, flatArea.top + p.y),
                      ColorToRGB(Skin->SkinColor(scButtonFace)) & 0xFFFFFF)
                << "flat at rest (" << p.x << ", " << p.y << ")";
    }
    MouseTo(window, flatArea.left + 35, flatArea.top + 12);
    EXPECT_EQ(misses(flat, bfMouseOver, "flat and hot"), 0);

    // The group still works: a click puts the other button down.
    const RECT otherArea = AreaInParentWindow(*other);
    MouseTo(window, otherArea.left + 35, otherArea.top + 12, MOUSEEVENTF_LEFTDOWN);
    EXPECT_EQ(misses(other, bfPressed, "pressed"), 0);
    MouseTo(window, otherArea.left + 35, otherArea.top + 12, MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(other->Down());
    EXPECT_FALSE(down->Down());
    EXPECT_EQ(misses(other, bfPressed, "down after the click"), 0);
    EXPECT_EQ(misses(down, bfNormal, "up after the other's click"), 0);
}

// A drop-down menu button of a foreign library, known to the skin's
// default Skin3rd list by its class name.
class TRzMenuButton : public TBitBtn {
public:
    using TBitBtn::TBitBtn;
    static const TClassInfo& StaticClass()
    {
        static const TClassInfo& info =
            *new TClassInfo(TClassBuilder<TRzMenuButton>("TRzMenuButton", TBitBtn::StaticClass()).Build());
        return info;
    }
    const TClassInfo& ClassType() const override { return StaticClass(); }
};

TEST_F(SkinnedButtons, MenuButtonsShowTheirStateAndTheDropDownArrow)
{
    const auto add = [&](int x) {
        auto* button = Place<TRzMenuButton>(Form.get(), Form.get(), L"", x, 10, 60, 25);
        button->SetMargin(4);
        button->SetSpacing(2);
        return button;
    };
    TRzMenuButton* normal = add(10);
    TRzMenuButton* focused = add(80);
    TRzMenuButton* disabled = add(150);
    disabled->SetEnabled(false);
    SkinForm();
    ASSERT_NE(Frame->Dispatch().Controls().FindByControl(normal), nullptr);
    focused->SetFocus();
    Flush();
    EXPECT_EQ(CheckFace(normal->Handle(), Model(), bfNormal, "normal"), 0);
    EXPECT_EQ(CheckFace(focused->Handle(), Model(), bfMouseOver, "focused shows the hot face"), 0);
    EXPECT_EQ(CheckFace(disabled->Handle(), Model(), bfDisabled, "disabled"), 0);
    // No glyph, no caption: the arrow's tip column is margin + spacing + twice
    // the spacing in, its rows around the middle.
    const int x = 4 + 2 + 2 * 2;
    const int y = (25 - 3) / 2;
    EXPECT_EQ(PixelOf(ReadBack(normal->Handle()), x, y + 1), ColorToRGB(clWindowText) & 0xFFFFFF);
    EXPECT_EQ(PixelOf(ReadBack(disabled->Handle()), x, y + 1), ColorToRGB(SystemColour(COLOR_BTNSHADOW)) & 0xFFFFFF);
}

// A media player of a foreign library: its button sets as texts, and the
// points its own mouse handling received.
class TMediaPlayer : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    static const TClassInfo& StaticClass()
    {
        static const TClassInfo& info = *new TClassInfo(TClassBuilder<TMediaPlayer>("TMediaPlayer",
                                                                                     TCustomControl::StaticClass())
                                                            .Field("VisibleButtons", &TMediaPlayer::VisibleButtons)
                                                            .Field("EnabledButtons", &TMediaPlayer::EnabledButtons)
                                                            .Field("ColoredButtons", &TMediaPlayer::ColoredButtons)
                                                            .Build());
        return info;
    }
    const TClassInfo& ClassType() const override { return StaticClass(); }
    std::wstring VisibleButtons = L"[btPlay,btPause,btStop]";
    std::wstring EnabledButtons = L"[btPlay,btStop]";
    std::wstring ColoredButtons = L"[]";
    std::vector<int> Ups;

protected:
    void MouseUp(TMouseButton, TShiftState, int X, int) override { Ups.push_back(X); }
};

TEST_F(SkinnedButtons, MediaPlayerButtonsShowOnTheSkinsFacesAndClickThePlayer)
{
    auto* player = Place<TMediaPlayer>(Form.get(), Form.get(), L"", 10, 10, 180, 30);
    SkinForm();
    auto* object = dynamic_cast<TSkinMP*>(Frame->Dispatch().Controls().FindByControl(player));
    ASSERT_NE(object, nullptr);
    ASSERT_NE(object->Panel(), nullptr);
    HWND panel = object->Panel()->Handle();
    // Three visible buttons share the width: play, pause (not enabled), stop.
    const auto shot = ReadBack(panel);
    const int frames[3] = {bfNormal, bfDisabled, bfNormal};
    for (int slot = 0; slot < 3; ++slot)
        EXPECT_EQ(CheckFaceIn(shot, {slot * 60, 0, slot * 60 + 60, 30}, Model(), frames[slot], "media button"), 0)
            << "button " << slot;
    EXPECT_EQ(object->ButtonAt(130), btStop);

    // A press shows pressed; its release over the same button reaches the player.
    MouseTo(panel, 150, 15, MOUSEEVENTF_LEFTDOWN);
    EXPECT_EQ(CheckFaceIn(ReadBack(panel), {120, 0, 180, 30}, Model(), bfPressed, "pressed"), 0);
    MouseTo(panel, 150, 15, MOUSEEVENTF_LEFTUP);
    ASSERT_EQ(player->Ups.size(), 1u);
    EXPECT_EQ(player->Ups[0], 150);
    // Released over another button: nothing for the player.
    MouseTo(panel, 150, 15, MOUSEEVENTF_LEFTDOWN);
    MouseTo(panel, 30, 15, MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(player->Ups.size(), 1u);
    ParkMouse();
}

// The skin's panel over a player is a child of the player's parent, which
// frees its children when it goes: the panel first (the newest), then the
// player. The player's skin object must not free the panel a second time,
// then or when the skin stops.
TEST_F(SkinnedButtons, AMediaPlayersParentFreedWhileSkinnedFreesThePanelOnce)
{
    gditest::TFlatAfterFirstRound objects(gditest::ChooseCounter());
    SkinForm();
    for (int round = 0; round < 10; ++round) {
        auto* box = Place<TPanel>(Form.get(), Form.get(), L"", 10, 60, 220, 60);
        auto* player = Place<TMediaPlayer>(box, Form.get(), L"", 10, 10, 180, 30);
        Frame->Refresh();
        const auto* object = dynamic_cast<TSkinMP*>(Frame->Dispatch().Controls().FindByControl(player));
        ASSERT_NE(object, nullptr);
        ASSERT_NE(object->Panel(), nullptr);
        const HWND panel = object->Panel()->Handle();
        delete box;
        EXPECT_FALSE(IsWindow(panel)) << "round " << round;
        Flush();
        // Where the panel was, the form's skinned background shows again.
        const TPixels client = ReadBack(Form->Handle(), testsupport::TArea::Client);
        EXPECT_EQ(PixelOf(client, 110, 85), static_cast<TColor>(ColorToRGB(Skin->SkinColor(scButtonFace)))) << "round " << round;
        SkinCycle();
        Flush();
        objects.EndOfRound(round);
    }
    EXPECT_EQ(objects.Growth(), "");
}

TEST_F(SkinnedButtons, ClicksAndKeysStillReachTheControlsEvents)
{
    TButton* button = AddButton(L"&Click", 10, 10);
    TEvents events;
    events.Watch(button);
    SkinForm();

    MouseTo(button->Handle(), 30, 12, MOUSEEVENTF_LEFTDOWN);
    MouseTo(button->Handle(), 30, 12, MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(events.Clicks, 1);
    EXPECT_EQ(events.MouseDowns, 1);
    EXPECT_EQ(GetFocus(), button->Handle()) << "a press takes the focus";

    Key(VK_SPACE);
    EXPECT_EQ(events.Clicks, 2) << "Space on the focused button";

    // Pressed, then the mouse leaves before the release: no click.
    MouseTo(button->Handle(), 30, 12, MOUSEEVENTF_LEFTDOWN);
    ParkMouse();
    MouseTo(Form->Handle(), 460, 280, MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(events.Clicks, 2);
    EXPECT_EQ(CheckFace(button->Handle(), Model(), bfFocused, "after leaving"), 0);
}

TEST_F(SkinnedButtons, SwitchingOffShowsThePlainControlAndOnTheSkinAgain)
{
    TButton* twin = AddButton(L"Twin", 10, 10);
    twin->Tag = Skin->DisableTag;
    TButton* button = AddButton(L"Twin", 110, 10);
    TInnerHook inner;
    inner.Hook.Install(button, TWndMethod::Bind<&TInnerHook::Entry>(&inner));
    SkinForm();
    ASSERT_EQ(SendMessageW(twin->Handle(), WM_SKINQUERY, 0, 0), 0) << "the twin stays plain";
    ASSERT_EQ(SendMessageW(button->Handle(), WM_SKINQUERY, 0, 0), 1);

    SendMessageW(button->Handle(), WM_SKINSWITCH, 0, 0);
    Flush();
    const auto plain = ReadBack(twin->Handle());
    const auto off = ReadBack(button->Handle());
    int differences = 0;
    for (int y = 0; y < plain.Height(); ++y)
        for (int x = 0; x < plain.Width(); ++x)
            differences += PixelOf(plain, x, y) != PixelOf(off, x, y);
    EXPECT_EQ(differences, 0) << "switched off, the button looks like its plain twin";
    EXPECT_EQ(SendMessageW(button->Handle(), WM_SKINQUERY, 0, 0), 0) << "switched off, the query reaches the control";

    SendMessageW(button->Handle(), WM_SKINSWITCH, 1, 0);
    Flush();
    EXPECT_EQ(CheckFace(button->Handle(), Model(), bfNormal, "switched on"), 0);
    EXPECT_EQ(SendMessageW(button->Handle(), WM_SKINQUERY, 0, 0), 1);
    EXPECT_EQ(inner.SkinSwitches, 0) << "the switch never reaches the control";
}

TEST_F(SkinnedButtons, UnskinGivesThePlainButtonBack)
{
    TButton* twin = AddButton(L"Twin", 10, 10);
    twin->Tag = Skin->DisableTag;
    TButton* button = AddButton(L"Twin", 110, 10);
    TEvents events;
    events.Watch(button);
    SkinForm();
    ASSERT_NE(Frame->Dispatch().Controls().FindByControl(button), nullptr);
    ASSERT_EQ(Frame->Dispatch().Controls().FindByControl(twin), nullptr);
    Frame->Unskin();
    Flush();
    EXPECT_EQ(Frame->Dispatch().Controls().Count(), 0);
    EXPECT_EQ(SendMessageW(button->Handle(), WM_SKINQUERY, 0, 0), 0);
    const auto plain = ReadBack(twin->Handle());
    const auto unskinned = ReadBack(button->Handle());
    int differences = 0;
    for (int y = 0; y < plain.Height(); ++y)
        for (int x = 0; x < plain.Width(); ++x)
            differences += PixelOf(plain, x, y) != PixelOf(unskinned, x, y);
    EXPECT_EQ(differences, 0);
    MouseTo(button->Handle(), 30, 12, MOUSEEVENTF_LEFTDOWN);
    MouseTo(button->Handle(), 30, 12, MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(events.Clicks, 1) << "the plain button clicks by itself";
}

TEST_F(SkinnedButtons, Tag5555ShowsTheParentsBackgroundThroughTheFace)
{
    constexpr TColor kPanelColour = 0x3060C0;
    auto* panel = Place<TPanel>(Form.get(), Form.get(), L"", 10, 10, 300, 100);
    panel->SetColor(kPanelColour);
    // Kept plain, so its colour is not the skin's face the button draws anyway.
    panel->Tag = 99;
    auto* button = Place<TButton>(panel, Form.get(), L"Through", 40, 30, 90, 25);
    button->Tag = 5555;
    SkinForm();
    const TFaceModel model(*Skin, kPanelColour);
    int seeThrough = 0;
    for (const POINT& p : EdgePoints(90, 25))
        seeThrough += model.SeeThrough(p.x < 45 ? p.x : 0, p.y < 12 ? p.y : 0, bfNormal);
    ASSERT_GT(seeThrough, 0) << "the skin's button corners must be see-through for this test";
    EXPECT_EQ(CheckFace(button->Handle(), model, bfNormal, "Tag 5555"), 0);
}

TEST_F(SkinnedButtons, AClickFarRightOnAVeryWideButtonReportsTheTrueClientPosition)
{
    // 40 000 pixels wide, mostly left of the form: the mouse message's
    // 16-bit x wraps there.
    TButton* wide = AddButton(L"Wide", -39800, 150, 40000, 25);
    TEvents events;
    events.Watch(wide);
    SkinForm();
    RECT rect{};
    GetWindowRect(wide->Handle(), &rect);
    ASSERT_GT(rect.right - rect.left, 32768) << "the system keeps the width";
    POINT onForm{100, 162};
    MapWindowPoints(Form->Handle(), wide->Handle(), &onForm, 1);
    MouseTo(Form->Handle(), 0, 0);
    RECT formRect{};
    GetWindowRect(Form->Handle(), &formRect);
    MouseTo(wide->Handle(), onForm.x, 12, MOUSEEVENTF_LEFTDOWN);
    MouseTo(wide->Handle(), onForm.x, 12, MOUSEEVENTF_LEFTUP);
    ASSERT_EQ(events.MouseDowns, 1);
    EXPECT_NEAR(events.LastX, onForm.x, 2);
}

TEST_F(SkinnedButtons, BitButtonGlyphFramesAndTheEmbossedDisabledGlyph)
{
    // Frames of 16 x 16 with a see-through rim: up, disabled.
    constexpr TColor kUp = 0x0000C0;
    constexpr TColor kDisabled = 0x00A0A0;
    TBitmap strip(32, 16, pf24bit);
    for (int frame = 0; frame < 2; ++frame) {
        const RECT whole{frame * 16, 0, frame * 16 + 16, 16};
        const RECT inside{frame * 16 + 1, 1, frame * 16 + 15, 15};
        TSkinControl::FillColor(strip.Canvas().Handle(), whole, frametest::kMagenta);
        TSkinControl::FillColor(strip.Canvas().Handle(), inside, frame == 0 ? kUp : kDisabled);
    }
    TBitmap single(16, 16, pf24bit);
    TSkinControl::FillColor(single.Canvas().Handle(), {0, 0, 16, 16}, frametest::kMagenta);
    TSkinControl::FillColor(single.Canvas().Handle(), {1, 1, 15, 15}, kUp);
    const auto make = [&](int x, const TBitmap& glyph, int count, bool enabled) {
        auto* button = Place<TBitBtn>(Form.get(), Form.get(), L"", x, 50, 90, 30);
        button->SetGlyph(&glyph);
        button->SetNumGlyphs(count);
        button->SetEnabled(enabled);
        return button;
    };
    TBitBtn* up = make(10, strip, 2, true);
    TBitBtn* disabled = make(110, strip, 2, false);
    TBitBtn* embossed = make(210, single, 1, false);
    TBitBtn* pressed = make(310, strip, 2, true);
    SkinForm();
    MouseTo(pressed->Handle(), 5, 5, MOUSEEVENTF_LEFTDOWN);
    // No caption: the glyph is centred, (90 - 16) / 2 across, (30 - 16 + 1) / 2 down.
    const auto centre = [](TBitBtn* button) { return PixelOf(ReadBack(button->Handle()), 37 + 8, 7 + 8); };
    EXPECT_EQ(centre(up), kUp);
    EXPECT_EQ(centre(disabled), kDisabled);
    EXPECT_EQ(centre(pressed), kUp) << "a pressed frame the strip lacks shows frame 1";
    EXPECT_EQ(centre(embossed), ColorToRGB(SystemColour(COLOR_BTNSHADOW)) & 0xFFFFFF) << "one frame, disabled: embossed";
    MouseTo(pressed->Handle(), 5, 5, MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(CheckFace(up->Handle(), Model(), bfNormal, "bit button face"), 0);
}

// --- The base: colour, parent background, end of the window ---

TEST(SkinControlBase, ColourAndParentBackgroundAreSwitchedAndGivenBack)
{
    struct TCase {
        const char* What;
        bool OptionKeepsParentBackground;
        bool ParentBackground;
        bool DuringSkin;
    };
    const TCase cases[] = {
        {"switched off and back", false, true, false},
        {"the skin's option leaves it alone", true, true, true},
        {"false stays false", false, false, false},
    };
    auto skin = frametest::DefaultSkin();
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        skin->Options = c.OptionKeepsParentBackground ? SetBit<TSkinOptions>(xoParentBackGround) : TSkinOptions{};
        auto form = std::make_unique<TForm>(nullptr);
        auto* box = Place<TGroupBox>(form.get(), form.get(), L"Box", 10, 10, 200, 100);
        box->SetParentBackground(c.ParentBackground);
        box->SetColor(0x123456);
        TSkinControlList list;
        auto* object = new TSkinControl(box);
        object->AttachControl(&list, skin.get(), true);
        EXPECT_EQ(box->ParentBackground(), c.DuringSkin);
        EXPECT_EQ(box->Color(), skin->SkinColor(scButtonFace));
        object->Deactivate();
        EXPECT_EQ(box->ParentBackground(), c.ParentBackground);
        EXPECT_EQ(box->Color(), 0x123456);
        list.FreeAll();
        EXPECT_EQ(box->ComponentCount(), 0) << "freed from the control's components";
    }
}

TEST(SkinControlBase, AfterTheWindowIsDestroyedNoColourIsTouchedAndNothingDangles)
{
    auto skin = frametest::DefaultSkin();
    auto form = std::make_unique<TForm>(nullptr);
    auto* box = Place<TGroupBox>(form.get(), form.get(), L"Box", 10, 10, 200, 100);
    box->SetColor(0x123456);
    TSkinControlList list;
    auto* object = new TSkinControl(box);
    object->AttachControl(&list, skin.get(), true);
    DestroyWindow(box->Handle());
    EXPECT_EQ(object->Life(), slDestroyed);
    EXPECT_FALSE(object->Active());
    object->Deactivate();
    EXPECT_EQ(box->Color(), skin->SkinColor(scButtonFace)) << "no colour given back to a destroyed window";
    list.Purge();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(box->ComponentCount(), 0);
    // The object's control may also go first: the list stays exact.
    auto* second = new TSkinControl(box);
    second->AttachControl(&list, skin.get(), false);
    EXPECT_EQ(list.Count(), 1);
    form.reset();
    EXPECT_EQ(list.Count(), 0);
}

// --- Bare windows ---

class BareButtons : public ::testing::Test {
protected:
    void SetUp() override
    {
        Skin = frametest::DefaultSkin();
        // No background: the parent paints nothing under its buttons.
        testsupport::RegisterRecordingClass(L"VidkilnControlTestParent", nullptr);
        Parent = CreateWindowExW(0, L"VidkilnControlTestParent", L"Parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50,
                                 400, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    void TearDown() override
    {
        List.FreeAll();
        DestroyWindow(Parent);
    }

    HWND Child(bool unicode, int id, int x)
    {
        const DWORD style = WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON;
        auto* menu = reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
        return unicode ? CreateWindowExW(0, L"BUTTON", L"", style, x, 10, 90, 25, Parent, menu, nullptr, nullptr)
                       : CreateWindowExA(0, "BUTTON", "", style, x, 10, 90, 25, Parent, menu, nullptr, nullptr);
    }

    std::unique_ptr<TSkinData> Skin;
    testsupport::TMessageRecording Recorded;
    HWND Parent = nullptr;
    TSkinControlList List;
};

TEST_F(BareButtons, AnsiAndUnicodeWindowsKeepTheirTexts)
{
    // Wide text for the Unicode window; for the ANSI window, letters beyond
    // ASCII that its code page holds (an ANSI subclass sees them in it).
    char ansiBytes[] = "\xC0\xE9\xF1 Convert";
    wchar_t ansiWide[32]{};
    MultiByteToWideChar(CP_ACP, 0, ansiBytes, -1, ansiWide, 32);
    for (const bool unicode : {true, false}) {
        SCOPED_TRACE(unicode ? "Unicode" : "ANSI");
        const std::wstring text = unicode ? L"\x8f6c\x6362 Convert" : ansiWide;
        HWND plain = Child(unicode, 10, 10);
        HWND skinned = Child(unicode, 11, 110);
        auto* object = new TSkinButton(nullptr);
        object->AttachWindow(skinned, Skin.get(), &List);
        EXPECT_EQ(object->Unicode(), unicode);
        for (HWND window : {plain, skinned})
            SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
        EXPECT_EQ(GetWindowTextWide(skinned), text);
        EXPECT_EQ(GetWindowTextWide(plain), text);
        char narrow[64]{};
        char narrowPlain[64]{};
        SendMessageA(skinned, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(narrow));
        SendMessageA(plain, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(narrowPlain));
        EXPECT_STREQ(narrow, narrowPlain);
        SendMessageA(skinned, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(ansiBytes));
        EXPECT_EQ(GetWindowTextWide(skinned), ansiWide) << "ANSI text sent to the window";
    }
}

TEST_F(BareButtons, AClickTellsTheParentWhichButtonItWas)
{
    HWND button = Child(true, 42, 10);
    SetWindowTextW(button, L"OK");
    auto* object = new TSkinButton(nullptr);
    object->AttachWindow(button, Skin.get(), &List);
    UpdateWindow(Parent);
    PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 10));
    PostMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(20, 10));
    Flush();
    const std::vector<WPARAM> commands = Recorded.WParams(WM_COMMAND, Parent);
    ASSERT_FALSE(commands.empty());
    EXPECT_EQ(commands.back(), MAKEWPARAM(42, BN_CLICKED));
    EXPECT_EQ(CheckFace(button, TFaceModel(*Skin, Skin->SkinColor(scButtonFace)), bfFocused, "bare"), 0);
}

TEST_F(BareButtons, FacesFollowTheButtonsStyle)
{
    struct TCase {
        const char* What;
        DWORD Style;
        int Frame;
    };
    const TCase cases[] = {
        {"push button", BS_PUSHBUTTON, bfNormal},
        {"default push button", BS_DEFPUSHBUTTON, bfFocused},
        {"disabled default push button", BS_DEFPUSHBUTTON | WS_DISABLED, bfDisabled},
    };
    const TFaceModel model(*Skin, Skin->SkinColor(scButtonFace));
    int x = 10;
    for (const TCase& c : cases) {
        HWND button = CreateWindowExW(0, L"BUTTON", L"Face", WS_CHILD | WS_VISIBLE | c.Style, x, 60, 90, 25, Parent,
                                      nullptr, nullptr, nullptr);
        x += 100;
        (new TSkinButton(nullptr))->AttachWindow(button, Skin.get(), &List);
        UpdateWindow(button);
        EXPECT_EQ(CheckFace(button, model, c.Frame, c.What), 0) << c.What;
    }
}

// A control freed while skinned takes its skin object along at once, before
// anything else can reach it; a control whose window was made again gets one
// new object at the next attach. Stopping the skin then frees each object
// once: a second free of either would take the program down.
TEST_F(SkinnedButtons, ButtonsFreedOrRemadeWhileSkinnedKeepExactlyOneSkinObject)
{
    gditest::TFlatAfterFirstRound objects(gditest::ChooseCounter());
    SkinForm();
    // Each skin cycle brings a new frame with a list of its own.
    const auto list = [this]() -> const TSkinControlList& { return Frame->Dispatch().Controls(); };
    const int baseline = list().Count();
    for (int round = 0; round < 40; ++round) {
        TButton* freed = AddButton(L"Freed", 10, 40);
        TButton* remade = AddButton(L"Remade", 110, 40);
        Frame->Refresh();
        ASSERT_NE(list().FindByControl(freed), nullptr);
        delete freed;
        EXPECT_EQ(list().Count(), baseline + 1) << "round " << round << ": the freed button's object left the list";

        remade->RecreateWnd();
        Frame->Refresh();
        Flush();
        ASSERT_EQ(remade->ComponentCount(), 1) << "round " << round << ": one skin object for the new window";
        EXPECT_EQ(list().FindByControl(remade), remade->Components(0));
        EXPECT_EQ(list().Count(), baseline + 1);
        EXPECT_EQ(CheckFace(remade->Handle(), Model(), bfNormal, "remade"), 0) << "round " << round;

        SkinCycle();
        EXPECT_EQ(remade->ComponentCount(), 1) << "round " << round << ": skinned again after the skin stopped";
        delete remade;
        EXPECT_EQ(list().Count(), baseline);
        Flush();
        objects.EndOfRound(round);
    }
    EXPECT_EQ(objects.Growth(), "");
}

// --- Soak ---

TEST_F(SkinnedButtons, NoGdiGrowthAfterManyRepaintsAndSkinCycles)
{
    const gditest::TCounter counter = gditest::ChooseCounter();
    std::printf("counting GDI objects with: %s\n", counter.Source);
    std::vector<TButton*> buttons;
    for (int i = 0; i < 24; ++i)
        buttons.push_back(AddButton(L"Soak", 10 + (i % 4) * 100, 40 + (i / 4) * 30));
    SkinForm();
    const auto drain = [] {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    };
    // One round of everything first: what the system makes once on first
    // use is not growth.
    const auto round = [&](HWND target) {
        PostMessageW(target, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
        PostMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
        PostMessageW(target, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
        PostMessageW(target, WM_MOUSELEAVE, 0, 0);
        drain();
    };
    const auto cycle = [&] {
        SkinCycle();
        drain();
    };
    HWND target = buttons[5]->Handle();
    round(target);
    cycle();
    round(target);
    drain();
    const long before = counter.Count();
    const DWORD userBefore = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    // Four repaints a round: hot, pressed, released (a click), left.
    for (int i = 0; i < 2500; ++i)
        round(target);
    drain();
    EXPECT_EQ(counter.Count(), before) << "after 10 000 repaints";
    for (int i = 0; i < 100; ++i)
        cycle();
    // The same faces in use as at the baseline (the window's face cache
    // starts empty after each cycle).
    round(target);
    EXPECT_EQ(std::count_if(buttons.begin(), buttons.end(),
                            [&](TButton* b) { return Frame->Dispatch().Controls().FindByControl(b) != nullptr; }),
              24);
    EXPECT_EQ(counter.Count(), before) << "after 100 skin cycles";
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), userBefore);
}

} // namespace
