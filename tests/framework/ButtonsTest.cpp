// The button family's behaviour: what clicks do to states and groups, and
// what the bitmap buttons draw where.
#include "GuiTestUtil.h"
#include "framework/Buttons.h"
#include "framework/ExtCtrls.h"
#include "framework/StdCtrls.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct TClickLog {
    std::vector<TObject*> Clicks;
    void Clicked(TObject* Sender) { Clicks.push_back(Sender); }
};

// Clicks a platform button as the user would, through its own messages.
void ClickButton(TWinControl* Button)
{
    SendMessageW(Button->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    SendMessageW(Button->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
}

TEST(Buttons, CheckBoxCyclesThroughGrayedOnlyWhenAllowed)
{
    TForm Form(nullptr);
    auto* Box = new TCheckBox(&Form);
    Box->SetParent(&Form);
    TClickLog Log;
    Box->OnClick = TNotifyEvent::Bind<&TClickLog::Clicked>(&Log);
    Form.Show();
    const TCheckBoxState Plain[] = {cbChecked, cbUnchecked, cbChecked};
    for (TCheckBoxState Expected : Plain) {
        ClickButton(Box);
        EXPECT_EQ(Box->State(), Expected);
        EXPECT_EQ(SendMessageW(Box->Handle(), BM_GETCHECK, 0, 0), static_cast<LRESULT>(Expected));
    }
    Box->SetAllowGrayed(true);
    ClickButton(Box);
    EXPECT_EQ(Box->State(), cbGrayed);
    EXPECT_EQ(SendMessageW(Box->Handle(), BM_GETCHECK, 0, 0), BST_INDETERMINATE);
    ClickButton(Box);
    EXPECT_EQ(Box->State(), cbUnchecked);
    EXPECT_EQ(Log.Clicks.size(), 5u);
}

TEST(Buttons, RadioButtonsAndRadioGroupsKeepOneChecked)
{
    TForm Form(nullptr);
    auto* A = new TRadioButton(&Form);
    auto* B = new TRadioButton(&Form);
    A->SetParent(&Form);
    B->SetParent(&Form);
    auto* Group = new TRadioGroup(&Form);
    Group->SetParent(&Form);
    Group->Items().Assign({L"x", L"y", L"z"});
    TClickLog Log;
    Group->OnClick = TNotifyEvent::Bind<&TClickLog::Clicked>(&Log);
    Form.Show();
    A->SetChecked(true);
    ClickButton(B);
    EXPECT_TRUE(B->Checked());
    EXPECT_FALSE(A->Checked());
    EXPECT_EQ(SendMessageW(A->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);

    ClickButton(Group->Buttons(2));
    EXPECT_EQ(Group->ItemIndex(), 2);
    ASSERT_EQ(Log.Clicks.size(), 1u);
    EXPECT_TRUE(B->Checked()) << "the group's buttons are a group of their own";
    Group->SetItemIndex(0);
    EXPECT_TRUE(Group->Buttons(0)->Checked());
    EXPECT_FALSE(Group->Buttons(2)->Checked());
    Group->Items().Delete(2);
    EXPECT_EQ(Group->Buttons(2), nullptr);
    EXPECT_EQ(Group->ItemIndex(), 0);
}

TEST(Buttons, ButtonWithModalResultEndsItsModalForm)
{
    TForm Form(nullptr);
    auto* Ok = new TButton(&Form);
    Ok->SetParent(&Form);
    Ok->ModalResult = mrOk;
    PostMessageW(Ok->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(Form.ShowModal(), mrOk);
}

TEST(Buttons, SpeedButtonsOfAGroupStayDownOneAtATime)
{
    TForm Form(nullptr);
    Form.SetBorderStyle(bsNone);
    Form.SetBounds(0, 0, 200, 100);
    TSpeedButton* Buttons[3];
    for (int I = 0; I < 3; ++I) {
        Buttons[I] = new TSpeedButton(&Form);
        Buttons[I]->SetParent(&Form);
        Buttons[I]->SetBounds(I * 30, 0, 25, 25);
        Buttons[I]->SetGroupIndex(1);
    }
    Form.Show();
    auto Press = [&](int I) {
        const LPARAM At = MAKELPARAM(I * 30 + 5, 5);
        SendMessageW(Form.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At);
        SendMessageW(Form.Handle(), WM_LBUTTONUP, 0, At);
    };
    Press(0);
    EXPECT_TRUE(Buttons[0]->Down());
    Press(1);
    EXPECT_FALSE(Buttons[0]->Down());
    EXPECT_TRUE(Buttons[1]->Down());
    Press(1);
    EXPECT_TRUE(Buttons[1]->Down()) << "without AllowAllUp the down button stays down";
    Buttons[1]->SetAllowAllUp(true);
    Press(1);
    EXPECT_FALSE(Buttons[1]->Down());
}

TEST(Buttons, GlyphAndCaptionLayoutFollowsMarginAndSpacing)
{
    const RECT Client{0, 0, 100, 30};
    const SIZE Glyph{16, 16};
    const SIZE Text{40, 12};
    struct TCase {
        TButtonLayout Layout;
        int Margin, Spacing;
        int GlyphLeft, TextLeft;
    };
    const TCase Cases[] = {
        {blGlyphLeft, -1, 4, (100 - 16 - 4 - 40) / 2, (100 - 16 - 4 - 40) / 2 + 16 + 4},
        {blGlyphLeft, 5, 4, 5, 25},
        {blGlyphLeft, -1, -1, 14, 44},
        {blGlyphRight, 5, 4, 100 - 5 - 16, 100 - 5 - 16 - 4 - 40},
        {blGlyphLeft, 5, -1, 5, 5 + 16 + (100 - 5 - 16 - 40) / 2},
    };
    for (const TCase& Case : Cases) {
        const TButtonLayoutResult R = LayoutGlyphAndCaption(Client, Glyph, Text, Case.Layout, Case.Margin, Case.Spacing);
        EXPECT_EQ(R.Glyph.left, Case.GlyphLeft) << Case.Layout << " " << Case.Margin << " " << Case.Spacing;
        EXPECT_EQ(R.Text.left, Case.TextLeft) << Case.Layout << " " << Case.Margin << " " << Case.Spacing;
        EXPECT_EQ(R.Glyph.top, 7) << "centred across";
    }
    const TButtonLayoutResult Top = LayoutGlyphAndCaption({0, 0, 60, 60}, Glyph, Text, blGlyphTop, 4, 2);
    EXPECT_EQ(Top.Glyph.top, 4);
    EXPECT_EQ(Top.Text.top, 22);
    EXPECT_EQ(Top.Glyph.left, 22);
}

// The bitmap button draws its glyph where the layout puts it: read back
// from the window after a real paint.
TEST(Buttons, BitBtnDrawsItsGlyphFrameForTheState)
{
    TForm Form(nullptr);
    Form.SetBorderStyle(bsNone);
    Form.SetBounds(0, 0, 200, 100);
    auto* Button = new TBitBtn(&Form);
    Button->SetParent(&Form);
    Button->SetBounds(10, 10, 100, 40);
    TBitmap Glyph(32, 16);
    Glyph.Canvas().Brush().SetColor(0x0000FF);
    Glyph.Canvas().FillRect({0, 0, 16, 16});
    Glyph.Canvas().Brush().SetColor(0x00FF00);
    Glyph.Canvas().FillRect({16, 0, 32, 16});
    Glyph.Canvas().SetPixels(0, 15, clFuchsia);
    Glyph.Canvas().SetPixels(16, 15, clFuchsia);
    Button->SetGlyph(&Glyph);
    Button->SetNumGlyphs(2);
    Button->SetMargin(6);
    Form.Show();
    auto Centre = [&] {
        RedrawWindow(Button->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
        // Content starts 2 in (frame) + 1 (focus/default edge none) + margin.
        return ClientPixel(*Button, 2 + 6 + 8, 20);
    };
    EXPECT_EQ(Centre(), RGB(0xFF, 0, 0)) << "frame 1: up";
    Button->SetEnabled(false);
    EXPECT_EQ(Centre(), RGB(0, 0xFF, 0)) << "frame 2: disabled";
}

} // namespace
