// Skinned check boxes and radio buttons under Wine: the mark read back from
// the window against the frame of the skin's CheckButton or RadioButton
// strip that the state names, after real input; Space still toggles; the
// frame numbers of every state for strips of 4, 5 and 12 frames; keyboard
// and accessibility parity with a plain twin.
#include "ControlFixture.h"
#include "support/FormsDispatch.h"

#include "framework/Buttons.h"

#include <algorithm>
#include <cstdio>

using namespace controltest;

namespace {

TEST(CheckBoxFrames, EveryStateForStripsOfFourFiveAndTwelveFrames)
{
    struct TCase {
        int State;
        bool Enabled;
        int Frames;
        int Frame;
    };
    const TCase cases[] = {
        {1, true, 4, 1},  {2, true, 4, 2},  {1, false, 4, 3},  {2, false, 4, 4},  {4, true, 4, 4},
        {4, false, 4, 4}, {2, true, 5, 2},  {4, false, 5, 5},  {1, true, 12, 1},  {2, true, 12, 5},
        {1, false, 12, 4}, {2, false, 12, 8}, {4, true, 12, 9}, {4, false, 12, 12}, {2, true, 1, 1},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(CheckBoxFrame(c.State, c.Enabled, c.Frames), c.Frame)
            << "state " << c.State << (c.Enabled ? "" : " disabled") << ", " << c.Frames << " frames";
}

class SkinnedChecks : public SkinnedForm {
protected:
    void SetUp() override
    {
        SkinnedForm::SetUp();
        ASSERT_FALSE(Skin->Buttons()->CheckButton->Empty());
        ASSERT_FALSE(Skin->Buttons()->RadioButton->Empty());
    }

    // Misses of the mark at the left edge of window against frame of strip.
    int CheckMark(HWND window, const TBitmap& strip, int frames, int frame, const char* what) const
    {
        const auto shot = ReadBack(window);
        const int gw = strip.Width() / frames;
        const int gh = strip.Height();
        const int top = (shot.Height() - gh) / 2;
        const TColor face = ColorToRGB(Skin->SkinColor(scButtonFace)) & 0xFFFFFF;
        int misses = 0;
        for (int y = 0; y < gh; ++y)
            for (int x = 0; x < gw; ++x) {
                TColor expected = PixelOf(strip, (frame - 1) * gw + x, y);
                if (expected == frametest::kMagenta)
                    expected = face;
                const TColor seen = PixelOf(shot, x, top + y);
                if (seen != expected && ++misses <= 3)
                    ADD_FAILURE() << what << ": (" << x << ", " << top + y << ") is " << std::hex << seen
                                  << " not " << expected << std::dec << ", frame " << frame;
            }
        return misses;
    }
};

TEST_F(SkinnedChecks, EveryStateShowsItsFrameOfTheStrip)
{
    const auto check = [&](const wchar_t* caption, int y, TCheckBoxState state, bool enabled) {
        auto* box = Place<TCheckBox>(Form.get(), Form.get(), caption, 10, y, 150, 17);
        box->SetAllowGrayed(true);
        box->SetState(state);
        box->SetEnabled(enabled);
        return box;
    };
    const auto radio = [&](const wchar_t* caption, int y, bool checked, bool enabled) {
        auto* button = Place<TRadioButton>(Form.get(), Form.get(), caption, 200, y, 120, 17);
        button->SetChecked(checked);
        button->SetEnabled(enabled);
        return button;
    };
    struct TCase {
        const char* What;
        TWinControl* Control;
        bool Radio;
        int Frame;
    };
    const TCase cases[] = {
        {"unchecked", check(L"Unchecked", 10, cbUnchecked, true), false, 1},
        {"checked", check(L"Checked", 35, cbChecked, true), false, 2},
        {"disabled", check(L"Disabled", 60, cbUnchecked, false), false, 3},
        {"disabled checked", check(L"Disabled checked", 85, cbChecked, false), false, 4},
        {"grayed", check(L"Grayed", 110, cbGrayed, true), false, 4},
        {"radio off", radio(L"Off", 10, false, true), true, 1},
        {"radio on", radio(L"On", 35, true, true), true, 2},
        {"radio disabled", radio(L"Disabled", 60, false, false), true, 3},
    };
    SkinForm();
    const TDataSkinButton& buttons = *Skin->Buttons();
    for (const TCase& c : cases) {
        const TBitmap& strip = c.Radio ? *buttons.RadioButton : *buttons.CheckButton;
        const int frames = c.Radio ? buttons.RadioButtonFrame : buttons.CheckButtonFrame;
        EXPECT_EQ(SendMessageW(c.Control->Handle(), WM_SKINQUERY, 0, 0), 1) << c.What;
        EXPECT_EQ(CheckMark(c.Control->Handle(), strip, frames, c.Frame, c.What), 0) << c.What;
    }
}

TEST_F(SkinnedChecks, ClicksAndSpaceToggleAndTheMarkFollows)
{
    auto* box = Place<TCheckBox>(Form.get(), Form.get(), L"&Toggle", 10, 10, 150, 17);
    auto* first = Place<TRadioButton>(Form.get(), Form.get(), L"First", 10, 40, 120, 17);
    auto* second = Place<TRadioButton>(Form.get(), Form.get(), L"Second", 10, 65, 120, 17);
    first->SetChecked(true);
    SkinForm();
    const TDataSkinButton& buttons = *Skin->Buttons();

    MouseTo(box->Handle(), 6, 8, MOUSEEVENTF_LEFTDOWN);
    MouseTo(box->Handle(), 6, 8, MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(box->Checked()) << "a click checks";
    EXPECT_EQ(CheckMark(box->Handle(), *buttons.CheckButton, buttons.CheckButtonFrame, 2, "clicked"), 0);
    Key(VK_SPACE);
    EXPECT_FALSE(box->Checked()) << "Space unchecks";
    EXPECT_EQ(CheckMark(box->Handle(), *buttons.CheckButton, buttons.CheckButtonFrame, 1, "space"), 0);
    EXPECT_EQ(box->Caption(), L"&Toggle") << "the control keeps its text";

    MouseTo(second->Handle(), 6, 8, MOUSEEVENTF_LEFTDOWN);
    MouseTo(second->Handle(), 6, 8, MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(second->Checked());
    EXPECT_FALSE(first->Checked());
    EXPECT_EQ(CheckMark(second->Handle(), *buttons.RadioButton, buttons.RadioButtonFrame, 2, "second on"), 0);
    EXPECT_EQ(CheckMark(first->Handle(), *buttons.RadioButton, buttons.RadioButtonFrame, 1, "first off"), 0);
}

} // namespace

namespace {

// One set of controls, built the same way on a skinned form and on a plain twin.
struct TKeyTwin {
    TButton* Go = nullptr;
    TCheckBox* Check = nullptr;
    std::vector<TRadioButton*> Radios;
    int Clicks = 0;

    void Clicked(TObject*) { ++Clicks; }
    void Build(TForm* form)
    {
        Go = Place<TButton>(form, form, L"&Go", 10, 10, 90, 25);
        Go->OnClick = TNotifyEvent::Bind<&TKeyTwin::Clicked>(this);
        Check = Place<TCheckBox>(form, form, L"Check", 10, 45, 120, 20);
        for (int i = 0; i < 3; ++i)
            Radios.push_back(Place<TRadioButton>(form, form, i ? L"Later" : L"First", 10, 75 + i * 25, 120, 20));
        Radios[0]->SetChecked(true);
    }
    std::vector<TWinControl*> Controls() const
    {
        std::vector<TWinControl*> all{Go, Check};
        all.insert(all.end(), Radios.begin(), Radios.end());
        return all;
    }
};

// What the system's accessibility proxies read of a button-type window for
// a screen reader: its text, its check state and whether it is enabled.
struct TAccessible {
    std::wstring Name;
    LRESULT Check = 0;
    bool Enabled = false;
    bool operator==(const TAccessible&) const = default;
};

TAccessible ReadAccessible(HWND window)
{
    wchar_t text[128]{};
    GetWindowTextW(window, text, 128);
    return {text, SendMessageW(window, BM_GETCHECK, 0, 0), IsWindowEnabled(window) != FALSE};
}

class KeyboardParity : public SkinnedForm {
protected:
    void SetUp() override
    {
        SkinnedForm::SetUp();
        Plain = std::make_unique<TForm>(nullptr);
        Plain->SetBounds(540, 40, 300, 200);
        Skinned.Build(Form.get());
        Twin.Build(Plain.get());
        SkinForm();
        Plain->Show();
    }
    void TearDown() override
    {
        Plain.reset();
        SkinnedForm::TearDown();
    }

    // The keys, typed into the form that is in front, starting on the check
    // box; the index of the focused control afterwards.
    static int Type(TForm* form, TKeyTwin& twin, const std::vector<std::vector<WORD>>& keys)
    {
        // Messages go through the application, as the program's message loop
        // hands them on, dialog keys (Tab, arrows, accelerators, Enter) included.
        const testsupport::TDispatch dispatch = testsupport::DispatchThroughApplication;
        frametest::BringToFront(form->Handle(), dispatch);
        twin.Check->SetFocus();
        Flush(dispatch);
        for (const std::vector<WORD>& chord : keys) {
            std::vector<INPUT> inputs;
            for (WORD key : chord)
                inputs.push_back({INPUT_KEYBOARD, {.ki = {key, 0, 0, 0, 0}}});
            for (auto it = chord.rbegin(); it != chord.rend(); ++it)
                inputs.push_back({INPUT_KEYBOARD, {.ki = {*it, 0, KEYEVENTF_KEYUP, 0, 0}}});
            SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
            EXPECT_TRUE(testsupport::WaitInputTaken(dispatch));
        }
        const std::vector<TWinControl*> all = twin.Controls();
        return static_cast<int>(std::find_if(all.begin(), all.end(), [](TWinControl* c) { return c->Focused(); })
                                - all.begin());
    }

    std::unique_ptr<TForm> Plain;
    TKeyTwin Skinned;
    TKeyTwin Twin;
};

TEST_F(KeyboardParity, KeysAndScreenReadersFindTheSameControlsSkinnedAndPlain)
{
    ASSERT_NE(Frame->Dispatch().Controls().FindByControl(Skinned.Go), nullptr);
    // Space on the check box, back to the button and Space, Tab to the
    // radios, arrows among them, back, the accelerator, Enter, Tab and Space.
    const std::vector<std::vector<WORD>> keys{
        {VK_SPACE}, {VK_SHIFT, VK_TAB}, {VK_SPACE}, {VK_TAB}, {VK_TAB}, {VK_DOWN}, {VK_DOWN}, {VK_SPACE},
        {VK_SHIFT, VK_TAB}, {VK_MENU, 'G'}, {VK_TAB}, {VK_RETURN}, {VK_TAB}, {VK_SPACE}};
    const int skinnedFocus = Type(Form.get(), Skinned, keys);
    const int plainFocus = Type(Plain.get(), Twin, keys);
    std::printf("plain twin: %d clicks, check %d, focus on control %d\n", Twin.Clicks, Twin.Check->Checked(),
                plainFocus);
    // The keys do something: the plain twin's button was clicked.
    EXPECT_GE(Twin.Clicks, 1);
    EXPECT_EQ(skinnedFocus, plainFocus);
    EXPECT_EQ(Skinned.Clicks, Twin.Clicks);
    EXPECT_EQ(Skinned.Check->Checked(), Twin.Check->Checked());
    for (size_t i = 0; i < Skinned.Radios.size(); ++i)
        EXPECT_EQ(Skinned.Radios[i]->Checked(), Twin.Radios[i]->Checked()) << "radio " << i;
    const std::vector<TWinControl*> skinned = Skinned.Controls();
    const std::vector<TWinControl*> plain = Twin.Controls();
    for (size_t i = 0; i < skinned.size(); ++i)
        EXPECT_TRUE(ReadAccessible(skinned[i]->Handle()) == ReadAccessible(plain[i]->Handle())) << "control " << i;
}

} // namespace
