// Vidkiln's windows at the screen resolution this executable is started at
// (it is built once per resolution): the layout, the fonts, the pictures and
// the list's header as the screen shows them, with every expectation worked
// out here from the resolution and the 96-dpi design.
#include "MainTestFixture.h"
#include "app/About.h"
#include "framework/GdiObjects.h"
#include "tests/framework/GuiTestUtil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <commctrl.h>
#include <memory>
#include <vector>

namespace {

using TScaledWindow = MainWindowTest;

int Dpi()
{
    const gdi::ClientDC screen(nullptr);
    return GetDeviceCaps(screen.Get(), LOGPIXELSY);
}

int Scale(int Value)
{
    return MulDiv(Value, Dpi(), 96);
}

bool Overlap(const RECT& A, const RECT& B)
{
    RECT Common;
    return IntersectRect(&Common, &A, &B) != FALSE;
}

std::string Describe(const RECT& R)
{
    return "{" + std::to_string(R.left) + ", " + std::to_string(R.top) + ", " + std::to_string(R.right) + ", " +
           std::to_string(R.bottom) + "}";
}

// The text as the screen draws it in a font made here from the design's
// face and the scaled height.
SIZE TextSize(const std::wstring& Text, int Height)
{
    const gdi::Font Font(CreateFontW(Height, 0, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, L"宋体"));
    const gdi::ClientDC Screen(nullptr);
    const gdi::Selection Selected(Screen.Get(), Font.Get());
    RECT R{0, 0, 0, 0};
    DrawTextW(Screen.Get(), Text.c_str(), static_cast<int>(Text.size()), &R, DT_CALCRECT | DT_SINGLELINE);
    return {R.right, R.bottom};
}

TEST(ScreenResolution, IsOneOfTheScaledOnes)
{
    EXPECT_GT(Dpi(), 96);
    EXPECT_EQ(TFont::PixelsPerInch(), Dpi());
}

TEST_F(TScaledWindow, ClientAreaAndFontAreScaled)
{
    EXPECT_EQ(Form->CurrentPPI(), Dpi());
    EXPECT_EQ(Form->ClientWidth(), Scale(558));
    EXPECT_EQ(Form->ClientHeight(), Scale(314));
    RECT Client;
    GetClientRect(Form->Handle(), &Client);
    EXPECT_EQ(Client.right, Scale(558));
    EXPECT_EQ(Client.bottom, Scale(314));
    EXPECT_EQ(Form->Font()->Height(), Scale(-12));
    for (TWinControl* Control : std::initializer_list<TWinControl*>{Form->lvwFiles, Form->cmbVideoKbps, Form->cmbAspect})
        EXPECT_TRUE(PumpUntil([&] { return WindowFontHeight(Control->Handle()) == Scale(-12); }))
            << Narrow(Control->Name()) << " has a font of height " << WindowFontHeight(Control->Handle());
}

// Every control lies inside its parent's client area, and no two controls
// of the window cover each other (the picture buttons lie on the strip's
// picture, which is what the strip is for).
TEST_F(TScaledWindow, ControlsFitTheirParentsAndDoNotOverlap)
{
    std::vector<TControl*> Laid;
    for (int I = 0; I < Form->ControlCount(); ++I) {
        TControl* Control = Form->Controls(I);
        const RECT Bounds = BoundsOnForm(Control);
        const RECT Client{0, 0, Form->ClientWidth(), Form->ClientHeight()};
        RECT Inside;
        IntersectRect(&Inside, &Bounds, &Client);
        EXPECT_TRUE(EqualRect(&Inside, &Bounds)) << Narrow(Control->Name()) << " at " << Describe(Bounds);
        if (Control != Form->imgBg)
            Laid.push_back(Control);
    }
    for (size_t A = 0; A < Laid.size(); ++A)
        for (size_t B = A + 1; B < Laid.size(); ++B)
            EXPECT_FALSE(Overlap(BoundsOnForm(Laid[A]), BoundsOnForm(Laid[B])))
                << Narrow(Laid[A]->Name()) << " " << Describe(BoundsOnForm(Laid[A])) << " and "
                << Narrow(Laid[B]->Name()) << " " << Describe(BoundsOnForm(Laid[B]));
    const RECT Bar = Form->ProgressBar1->BoundsRect();
    EXPECT_EQ(Bar.right, Form->Panel1->ClientWidth());
    EXPECT_EQ(Bar.bottom, Form->Panel1->ClientHeight());
}

// The designed places, scaled edge by edge.
TEST_F(TScaledWindow, PlacesAreTheDesignScaled)
{
    const struct {
        TControl* Control;
        RECT Design;
    } Places[] = {
        {Form->imgBg, {0, 0, 558, 50}},        {Form->lvwFiles, {8, 61, 313, 225}},
        {Form->WebBrowser1, {328, 157, 545, 289}}, {Form->Panel1, {96, 268, 313, 288}},
        {Form->StatusBar1, {0, 295, 558, 314}},
    };
    for (const auto& Place : Places) {
        const RECT Expected{Scale(Place.Design.left), Scale(Place.Design.top), Scale(Place.Design.right),
                            Scale(Place.Design.bottom)};
        const RECT Actual = BoundsOnForm(Place.Control);
        EXPECT_TRUE(EqualRect(&Expected, &Actual))
            << Narrow(Place.Control->Name()) << " at " << Describe(Actual) << ", expected " << Describe(Expected);
    }
    EXPECT_EQ(Form->lvwFiles->Columns().Items(1).Width(), Scale(80));
}

// Labels hold their whole text in the scaled font.
TEST_F(TScaledWindow, LabelTextIsNotClipped)
{
    for (TLabel* Label : {Form->Label1, Form->Label2, Form->Label7, Form->Label8, Form->Label9, Form->Label11,
                          Form->lblInfo}) {
        const SIZE Text = TextSize(Label->Caption(), Scale(-12));
        EXPECT_GE(Label->Width(), Text.cx) << Narrow(Label->Name());
        EXPECT_GE(Label->Height(), Text.cy) << Narrow(Label->Name());
    }
}

// The picture buttons show their pictures at the scaled size, smoothly.
TEST_F(TScaledWindow, PictureButtonsAreTheScaledPictures)
{
    TBitmap Add;
    Add.LoadFromFile(Form->AppPath + L"Images\\Add1.bmp");
    EXPECT_EQ(Form->imgAdd->Width(), Scale(Add.Width()));
    EXPECT_EQ(Form->imgAdd->Height(), Scale(Add.Height()));
    EXPECT_EQ(Form->imgAdd->Left(), Scale(8));
    const int Mid = Add.Height() / 2;
    const COLORREF Source = ColorToRGB(Add.Canvas().Pixels(Add.Width() / 2, Mid));
    const COLORREF Shown = ClientPixel(Form->imgAdd->Left() + Scale(Add.Width() / 2) + Scale(1) / 2,
                                       Form->imgAdd->Top() + Scale(Mid) + Scale(1) / 2);
    EXPECT_EQ(Shown, Source) << std::hex << Shown << " where the picture has " << Source;
}

// The list's header: as tall as its scaled text needs, and the text drawn
// whole inside it (its dark pixels clear of the header's top and bottom
// rows, as tall as glyphs of the scaled font are).
TEST_F(TScaledWindow, ListHeaderTextIsWhole)
{
    Form->lvwFiles->Repaint();
    testsupport::Flush(testsupport::DispatchThroughApplication);
    const HWND Header = reinterpret_cast<HWND>(SendMessageW(Form->lvwFiles->Handle(), LVM_GETHEADER, 0, 0));
    ASSERT_NE(Header, nullptr);
    RECT Item;
    ASSERT_TRUE(Header_GetItemRect(Header, 1, &Item));
    const int Glyph = TextSize(L"状态", Scale(-12)).cy;
    EXPECT_GE(Item.bottom - Item.top, Glyph);

    // Text pixels stand out from the face behind them, which the row shows
    // at its right end, past the caption.
    const gdi::ClientDC Dc(Header);
    const auto Luminance = [&](int X, int Y) {
        const COLORREF P = GetPixel(Dc.Get(), X, Y);
        return (GetRValue(P) + GetGValue(P) + GetBValue(P)) / 3;
    };
    int First = -1;
    int Last = -1;
    for (int Y = Item.top; Y < Item.bottom; ++Y) {
        const int Face = Luminance(Item.right - 3, Y);
        for (int X = Item.left + 2; X < Item.right - 3; ++X)
            if (std::abs(Luminance(X, Y) - Face) > 60) {
                First = First < 0 ? Y : First;
                Last = Y;
                break;
            }
    }
    ASSERT_GE(First, 0) << "no text in the header";
    EXPECT_GT(First, Item.top) << "text rows " << First << " to " << Last << " of " << Item.bottom;
    EXPECT_LT(Last, Item.bottom - 1) << "text rows " << First << " to " << Last << " of " << Item.bottom;
    EXPECT_GE(Last - First + 1, Scale(-12) * -5 / 6) << "text drawn in the unscaled font";
}

TEST(ScaledAbout, BoxAndLineAreScaled)
{
    TFrmAbout About(nullptr);
    About.AfterConstruction();
    EXPECT_EQ(About.ClientWidth(), Scale(309));
    EXPECT_EQ(About.ClientHeight(), Scale(60));
    EXPECT_EQ(About.Font()->Height(), Scale(-14));
    const SIZE Text = TextSize(About.Label1->Caption(), Scale(-14));
    EXPECT_EQ(About.Label1->Left(), Scale(64));
    EXPECT_GE(About.Label1->Width(), Text.cx);
    EXPECT_LE(About.Label1->Left() + About.Label1->Width(), About.ClientWidth());
}

// A form that says it is laid out in screen pixels is left as it is.
TEST(ScaledForms, UnscaledFormKeepsItsPixels)
{
    TForm Form(nullptr);
    Form.SetScaled(false);
    Form.SetClientSize(300, 200);
    Form.Font()->SetHeight(-12);
    Form.AfterConstruction();
    EXPECT_EQ(Form.ClientWidth(), 300);
    EXPECT_EQ(Form.Font()->Height(), -12);
    EXPECT_EQ(Form.CurrentPPI(), 96);
}

} // namespace
