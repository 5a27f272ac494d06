// Forms written at 96 pixels per inch, scaled by hand to other resolutions
// (the screen of this test stays at 96): bounds, fonts, aligned children,
// columns, measured labels and pictures, and controls added afterwards.
#include "GuiTestUtil.h"
#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/ImgList.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

RECT Scaled(RECT R, int Dpi)
{
    const TScaledBounds B = ScaleBounds({R.left, R.top, R.right - R.left, R.bottom - R.top}, Dpi, 96);
    return {B.Left, B.Top, B.Left + B.Width, B.Top + B.Height};
}

// A small form in 96-dpi units: the kind of layout the program writes.
struct TSampleForm {
    std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
    TPanel* Panel;
    TProgressBar* Bar;
    TLabel* OwnFont;
    TButton* PointFont;
    TEdit* Edit;

    TSampleForm()
    {
        Form->SetScaled(false);
        Form->SetBorderStyle(bsSingle);
        Form->Font()->SetHeight(-12);
        Form->SetClientSize(558, 314);
        Panel = new TPanel(Form.get());
        Panel->SetParent(Form.get());
        Panel->SetBounds(96, 268, 217, 20);
        Bar = new TProgressBar(Form.get());
        Bar->SetParent(Panel);
        Bar->SetAlign(alClient);
        OwnFont = new TLabel(Form.get());
        OwnFont->SetParent(Form.get());
        OwnFont->SetBounds(8, 240, 80, 14);
        OwnFont->SetAutoSize(false);
        OwnFont->Font()->SetHeight(-14);
        PointFont = new TButton(Form.get());
        PointFont->SetParent(Form.get());
        PointFont->SetBounds(408, 56, 120, 25);
        PointFont->Font()->SetSize(9);
        Edit = new TEdit(Form.get());
        Edit->SetParent(Form.get());
        Edit->SetBounds(408, 80, 120, 21);
    }
};

class FormScaling : public ::testing::TestWithParam<bool> {};

// The same scaling whether the windows exist yet or not.
TEST_P(FormScaling, TakesBoundsAndFontsToTheNewResolution)
{
    const bool WithWindows = GetParam();
    TSampleForm S;
    const int PointHeight = S.PointFont->Font()->Height();
    if (WithWindows)
        S.Form->Show();
    const RECT Before[] = {S.Panel->BoundsRect(), S.OwnFont->BoundsRect(), S.PointFont->BoundsRect(),
                           S.Edit->BoundsRect()};
    S.Form->ScaleForPPI(144);

    EXPECT_EQ(S.Form->ClientWidth(), 837);
    EXPECT_EQ(S.Form->ClientHeight(), 471);
    TControl* const Controls[] = {S.Panel, S.OwnFont, S.PointFont, S.Edit};
    for (int I = 0; I < 4; ++I) {
        const RECT Expected = Scaled(Before[I], 144);
        const RECT Actual = Controls[I]->BoundsRect();
        EXPECT_TRUE(EqualRect(&Expected, &Actual)) << "control " << I << " at " << Actual.left << ","
                                                   << Actual.top << " " << Actual.right << "," << Actual.bottom;
        EXPECT_EQ(Controls[I]->CurrentPPI(), 144);
    }
    EXPECT_EQ(S.Form->CurrentPPI(), 144);
    EXPECT_EQ(S.Bar->CurrentPPI(), 144);
    EXPECT_EQ(S.Bar->BoundsRect().right, S.Panel->ClientWidth());
    EXPECT_EQ(S.Bar->BoundsRect().bottom, S.Panel->ClientHeight());

    EXPECT_EQ(S.Form->Font()->Height(), -18);
    EXPECT_EQ(S.Edit->Font()->Height(), -18);
    EXPECT_TRUE(S.Edit->ParentFont());
    EXPECT_EQ(S.OwnFont->Font()->Height(), -21);
    EXPECT_EQ(S.PointFont->Font()->Height(), PointHeight) << "a point size already follows the screen";

    if (WithWindows) {
        ASSERT_TRUE(WaitUntil([&] { return WindowFontHeight(S.Edit->Handle()) == -18; }, "the edit's scaled font"));
        EXPECT_EQ(WindowFontHeight(S.PointFont->Handle()), PointHeight);
    }
}

INSTANTIATE_TEST_SUITE_P(BeforeAndAfterTheWindows, FormScaling, ::testing::Bool());

TEST(FormScalingOnce, SecondScaleToTheSameResolutionChangesNothing)
{
    TSampleForm S;
    S.Form->ScaleForPPI(120);
    const RECT Edit = S.Edit->BoundsRect();
    const int Width = S.Form->ClientWidth();
    S.Form->ScaleForPPI(120);
    const RECT Again = S.Edit->BoundsRect();
    EXPECT_TRUE(EqualRect(&Edit, &Again));
    EXPECT_EQ(S.Form->ClientWidth(), Width);
    EXPECT_EQ(S.Form->Font()->Height(), -15);
}

// Bounds given before SetParent are in the units the form was written in
// and come out scaled with the control's own children; bounds given after
// are the parent's pixels; moving between forms of one resolution keeps
// the bounds.
TEST(FormScalingOnce, ControlsAddedToAScaledFormComeOutScaled)
{
    TSampleForm S;
    S.Form->ScaleForPPI(144);
    auto* Box = new TPanel(S.Form.get());
    Box->SetBounds(10, 20, 75, 25);
    auto* Inner = new TButton(S.Form.get());
    Inner->SetBounds(2, 2, 30, 20);
    Inner->SetParent(Box);
    Box->SetParent(S.Form.get());
    EXPECT_EQ(Box->Left(), 15);
    EXPECT_EQ(Box->Top(), 30);
    EXPECT_EQ(Box->Width(), 113);
    EXPECT_EQ(Box->Height(), 38);
    EXPECT_EQ(Inner->Left(), 3);
    EXPECT_EQ(Inner->Width(), 48 - 3);
    EXPECT_EQ(Inner->CurrentPPI(), 144);
    EXPECT_EQ(Inner->Font()->Height(), -18);

    Box->SetBounds(15, 30, 200, 40);
    EXPECT_EQ(Box->Width(), 200);

    TSampleForm Other;
    Other.Form->ScaleForPPI(144);
    Box->SetParent(Other.Form.get());
    EXPECT_EQ(Box->Width(), 200);
    EXPECT_EQ(Inner->Width(), 45);
}

TEST(FormScalingOnce, ListColumnsAndStatusPanelsScale)
{
    TSampleForm S;
    auto* List = new TListView(S.Form.get());
    List->SetParent(S.Form.get());
    List->SetBounds(8, 61, 305, 164);
    List->SetViewStyle(vsReport);
    TListColumn& Path = List->Columns().Add();
    Path.SetAutoSize(true);
    List->Columns().Add().SetWidth(80);
    auto* Bar = new TStatusBar(S.Form.get());
    Bar->SetParent(S.Form.get());
    Bar->SetPanels({{L"a", 120}, {L"b", 55}});
    S.Form->Show();
    S.Form->ScaleForPPI(144);
    EXPECT_EQ(List->Columns().Items(1).Width(), 120);
    const HWND Window = List->Handle();
    EXPECT_EQ(SendMessageW(Window, LVM_GETCOLUMNWIDTH, 1, 0), 120);
    RECT Client;
    GetClientRect(Window, &Client);
    EXPECT_EQ(SendMessageW(Window, LVM_GETCOLUMNWIDTH, 0, 0) + 120, Client.right)
        << "the path column takes what the fixed one leaves";
    EXPECT_EQ(Bar->Panels()[0].Width, 180);
    EXPECT_EQ(Bar->Panels()[1].Width, 83);
}

// A measured label is measured again in its scaled font: the text as the
// test measures it in that font fits.
TEST(FormScalingOnce, AutoSizedLabelsFitTheirTextInTheScaledFont)
{
    TSampleForm S;
    auto* Label = new TLabel(S.Form.get());
    Label->SetParent(S.Form.get());
    Label->SetBounds(336, 64, 10, 10);
    Label->SetCaption(L"Quality (KBps) 1200");
    S.Form->ScaleForPPI(168);
    const HFONT Font = CreateFontW(ScaleValue(-12, 168, 96), 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0,
                                   0, S.Form->Font()->Name().c_str());
    const HDC Screen = GetDC(nullptr);
    const HGDIOBJ Old = SelectObject(Screen, Font);
    SIZE Extent{};
    GetTextExtentPoint32W(Screen, Label->Caption().c_str(), static_cast<int>(Label->Caption().size()), &Extent);
    SelectObject(Screen, Old);
    ReleaseDC(nullptr, Screen);
    DeleteObject(Font);
    EXPECT_GE(Label->Width(), Extent.cx);
    EXPECT_GE(Label->Height(), Extent.cy);
    EXPECT_LE(Label->Width(), Extent.cx + 2);
    EXPECT_EQ(Label->Left(), ScaleValue(336, 168, 96));
}

// A 10 x 6 picture, red on the left half and blue on the right (magenta
// along the bottom row for the see-through case), read back from the
// screen at the picture's scaled size.
std::unique_ptr<TBitmap> HalfAndHalf()
{
    auto Picture = std::make_unique<TBitmap>(10, 6);
    for (int Y = 0; Y < 6; ++Y)
        for (int X = 0; X < 10; ++X)
            Picture->Canvas().SetPixels(X, Y, Y == 5 ? clFuchsia : X < 5 ? 0x0000FF : 0xFF0000);
    return Picture;
}

TEST(FormScalingOnce, PicturesAreShownAtTheScaledSize)
{
    struct TCase {
        int Dpi;
        bool Transparent;
    };
    for (const TCase Case : {TCase{144, false}, TCase{144, true}, TCase{192, false}}) {
        SCOPED_TRACE(testing::Message() << Case.Dpi << (Case.Transparent ? " see-through" : ""));
        TSampleForm S;
        S.Form->SetColor(0x00FF00);
        auto* Image = new TImage(S.Form.get());
        Image->SetParent(S.Form.get());
        Image->SetBounds(20, 10, 10, 6);
        Image->SetAutoSize(true);
        Image->SetTransparent(Case.Transparent);
        Image->Picture()->Assign(*HalfAndHalf());
        Image->PictureChanged();
        S.Form->ScaleForPPI(Case.Dpi);
        const int W = ScaleValue(10, Case.Dpi, 96);
        const int H = ScaleValue(6, Case.Dpi, 96);
        EXPECT_EQ(Image->Width(), W);
        EXPECT_EQ(Image->Height(), H);
        S.Form->Show();
        S.Form->Update();
        const int Left = Image->Left();
        const int Top = Image->Top();
        EXPECT_EQ(ClientPixel(*S.Form, Left + 1, Top + 1), RGB(255, 0, 0));
        EXPECT_EQ(ClientPixel(*S.Form, Left + W - 2, Top + 1), RGB(0, 0, 255));
        const COLORREF Seam = ClientPixel(*S.Form, Left + W / 2, Top + 1);
        if (Case.Dpi == 144 && !Case.Transparent)
            EXPECT_TRUE(GetRValue(Seam) > 0 && GetBValue(Seam) > 0) << std::hex << Seam << " blends the seam";
        else
            EXPECT_TRUE(Seam == RGB(255, 0, 0) || Seam == RGB(0, 0, 255)) << std::hex << Seam;
        const COLORREF Bottom = ClientPixel(*S.Form, Left + W / 2, Top + H - 1);
        EXPECT_EQ(Bottom, Case.Transparent ? RGB(0, 255, 0) : RGB(255, 0, 255)) << std::hex << Bottom;
        if (!Case.Transparent)
            continue;
        // Nothing half way to the see-through colour anywhere.
        for (int X = Left; X < Left + W; ++X)
            for (int Y = Top; Y < Top + H; ++Y) {
                const COLORREF P = ClientPixel(*S.Form, X, Y);
                ASSERT_TRUE(P == RGB(255, 0, 0) || P == RGB(0, 0, 255) || P == RGB(0, 255, 0))
                    << std::hex << P << " at " << X << "," << Y;
            }
    }
}

// Two 16 x 16 pictures, red and blue, each with a magenta (masked) top-left
// quarter, drawn from the list onto green after the owning form scaled.
TEST(FormScalingOnce, OwnedImageListsScaleTheirPicturesInTheSameList)
{
    for (const int Dpi : {144, 192}) {
        SCOPED_TRACE(Dpi);
        TSampleForm S;
        auto* List = new TImageList(S.Form.get());
        TBitmap Strip(32, 16);
        for (int Y = 0; Y < 16; ++Y)
            for (int X = 0; X < 32; ++X)
                Strip.Canvas().SetPixels(X, Y, X % 16 < 8 && Y < 8 ? clFuchsia : X < 16 ? 0x0000FF : 0xFF0000);
        List->AddMasked(Strip, clFuchsia);
        const HIMAGELIST Handle = List->Handle();
        S.Form->ScaleForPPI(Dpi);
        const int Size = ScaleValue(16, Dpi, 96);
        EXPECT_EQ(List->Width(), Size);
        EXPECT_EQ(List->Height(), Size);
        EXPECT_EQ(List->Count(), 2);
        EXPECT_EQ(List->Handle(), Handle);
        int Cx = 0, Cy = 0;
        ImageList_GetIconSize(List->Handle(), &Cx, &Cy);
        EXPECT_EQ(Cx, Size);

        TBitmap Target(Size, Size);
        Target.Canvas().Brush().SetColor(0x00FF00);
        Target.Canvas().FillRect({0, 0, Size, Size});
        List->Draw(Target.Canvas().Handle(), 0, 0, 1);
        for (int Y = 0; Y < Size; ++Y)
            for (int X = 0; X < Size; ++X) {
                const TColor Expected = X < Size / 2 && Y < Size / 2 ? 0x00FF00 : 0xFF0000;
                ASSERT_EQ(Target.Canvas().Pixels(X, Y), Expected) << X << "," << Y;
            }
    }
}

} // namespace
