// TWinSkinForm under Wine: the frame is read back from the window DC after
// real non-client messages and compared with what the default skin's border
// images say at sample points the test works out from the bitmaps and the
// frame geometry; the window region against the images' magenta pixels;
// fitting, unskinning, and the frame surviving many caption changes and a
// resize sequence with the GDI object count back at its baseline.
#include "FrameSamples.h"

#include <gtest/gtest.h>

#include "skin/data/GdiCount.h"

#include <cstdio>

#include <algorithm>

using namespace frametest;

namespace {

constexpr DWORD kFramedStyle = WS_OVERLAPPEDWINDOW;

class SkinnedFrame : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterTestClass();
        Skin = DefaultSkin();
        ASSERT_FALSE(Skin->SkinLoading());
        // The test points below rest on the default skin's shape.
        ASSERT_EQ(Skin->Left()->FrameCount, 2);
        ASSERT_EQ(Skin->Top()->FrameCount, 2);
    }

    void TearDown() override
    {
        Frame.reset();
        for (HWND window : Windows)
            DestroyWindow(window);
    }

    HWND Make(DWORD style = kFramedStyle, int width = 300, int height = 200, const wchar_t* caption = L"")
    {
        HWND window = MakeWindow(style, width, height, caption);
        Windows.push_back(window);
        return window;
    }

    // Attaches a frame the way the manager does and lets it initialise.
    void Attach(HWND window, const wchar_t* className = kClassName)
    {
        Frame = AttachFrame(window, className, *Skin);
        Flush();
    }

    void SetActivity(HWND window, bool active)
    {
        SendMessageW(window, WM_NCACTIVATE, active ? TRUE : FALSE, 0);
        Flush();
    }

    // The region covers a point exactly when the skin's pixel there is not magenta.
    int CheckRegion(HWND window) const
    {
        const gdi::Region region(CreateRectRgn(0, 0, 0, 0));
        if (GetWindowRgn(window, region.Get()) == ERROR) {
            ADD_FAILURE() << "the window has no region";
            return 1;
        }
        int misses = 0;
        for (const TSample& sample : FrameSamples(*Skin, window, Frame->Active() ? 1 : 2)) {
            const bool inside = PtInRegion(region.Get(), sample.X, sample.Y) != FALSE;
            if (inside == sample.Expected.SeeThrough() && sample.Expected.Colours.size() == 1) {
                if (++misses <= 5)
                    ADD_FAILURE() << sample.Where << " at (" << sample.X << ", " << sample.Y << ") "
                                  << (inside ? "inside" : "outside") << " the region";
            }
        }
        RECT box{};
        GetRgnBox(region.Get(), &box);
        const SIZE size = WindowSize(window);
        EXPECT_EQ(box.right, size.cx);
        EXPECT_EQ(box.bottom, size.cy);
        return misses;
    }

    std::unique_ptr<TSkinData> Skin;
    std::unique_ptr<TWinSkinForm> Frame;
    std::vector<HWND> Windows;
};

TEST_F(SkinnedFrame, BordersAndCaptionShowFrameOneActiveAndFrameTwoInactive)
{
    HWND window = Make();
    Attach(window);
    SetActivity(window, true);
    EXPECT_EQ(BorderMisses(*Skin, window, 1), 0);
    SetActivity(window, false);
    EXPECT_EQ(BorderMisses(*Skin, window, 2), 0);
    SetActivity(window, true);
    EXPECT_EQ(BorderMisses(*Skin, window, 1), 0);
}

TEST_F(SkinnedFrame, RegionLeavesOutTheMagentaPixelsOfTheBorders)
{
    HWND window = Make();
    Attach(window);
    EXPECT_EQ(CheckRegion(window), 0);
    // A client point and the see-through top-left corner.
    const gdi::Region region(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(GetWindowRgn(window, region.Get()), ERROR);
    EXPECT_TRUE(PtInRegion(region.Get(), 100, 100));
    EXPECT_FALSE(PtInRegion(region.Get(), 0, 0));
}

TEST_F(SkinnedFrame, RegionIsThePlainRectangleWhenNoBorderIsSeeThrough)
{
    for (TDataSkinBorder* border : {Skin->Left(), Skin->Right(), Skin->Top(), Skin->Bottom()})
        border->Trans = 0;
    HWND window = Make();
    Attach(window);
    const gdi::Region region(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(GetWindowRgn(window, region.Get()), ERROR);
    const SIZE size = WindowSize(window);
    const gdi::Region whole(CreateRectRgn(0, 0, size.cx, size.cy));
    EXPECT_TRUE(EqualRgn(region.Get(), whole.Get()));
}

TEST_F(SkinnedFrame, FitToClientKeepsTheClientSizeUnderTheSkinnedFrame)
{
    HWND window = Make(kFramedStyle, 321, 187);
    const SIZE before = ClientSize(window);
    Attach(window);
    const SIZE after = ClientSize(window);
    EXPECT_EQ(after.cx, before.cx);
    EXPECT_EQ(after.cy, before.cy);
    const TFrameModel model(*Skin, 0, 0);
    const SIZE outer = WindowSize(window);
    EXPECT_EQ(outer.cx, before.cx + model.Left + model.Right);
    EXPECT_EQ(outer.cy, before.cy + model.Top + model.Bottom);
}

TEST_F(SkinnedFrame, CaptionTextTakesTheActiveAndInactiveColours)
{
    HWND window = Make(kFramedStyle, 360, 120, L"WWWWWWWWWWWW");
    Attach(window);
    const TColor active = ColorToRGB(Skin->SkinColor(scTitleTextActive));
    const TColor inactive = ColorToRGB(Skin->SkinColor(scTitleTextNoActive));
    ASSERT_NE(active, inactive);
    const auto count = [&](TColor colour) {
        const TPixels shot = ReadBack(window);
        const TFrameModel model(*Skin, 0, 0);
        int found = 0;
        for (int y = 0; y < model.Top; ++y)
            for (int x = 0; x < shot.Width(); ++x)
                found += PixelOf(shot, x, y) == (colour & 0xFFFFFF) ? 1 : 0;
        return found;
    };
    SetActivity(window, true);
    EXPECT_GT(count(active), 10);
    EXPECT_EQ(count(inactive), 0);
    SetActivity(window, false);
    EXPECT_GT(count(inactive), 10);
    EXPECT_EQ(count(active), 0);
}

TEST_F(SkinnedFrame, DialogGrowsForItsCaptionAndMovesItsControlsByHalf)
{
    // A dialog far narrower than its caption, with one button.
    HWND dialog = CreateWindowExW(WS_EX_DLGMODALFRAME, L"#32770", L"A dialog whose caption is much wider than itself",
                                  WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 50, 50, 120, 90, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(dialog, nullptr);
    Windows.push_back(dialog);
    CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 20, 20, 60, 24, dialog,
                    reinterpret_cast<HMENU>(1), GetModuleHandleW(nullptr), nullptr);
    HWND button = GetDlgItem(dialog, 1);
    const auto buttonLeft = [&] {
        RECT bounds{};
        GetWindowRect(button, &bounds);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&bounds), 2);
        return bounds.left;
    };
    const LONG leftBefore = buttonLeft();
    const SIZE clientBefore = ClientSize(dialog);
    Attach(dialog, L"#32770");

    const TFrameModel model(*Skin, 0, 0);
    const LONG natural = clientBefore.cx + model.Left + model.Right;
    const LONG width = WindowSize(dialog).cx;
    ASSERT_GT(width, natural);
    // The whole caption text fits between the text shift and the right clip.
    const gdi::MemoryDC dc;
    const gdi::Selection font(dc.Get(), Skin->CaptionFont().Handle());
    RECT measure{};
    std::wstring text = L" A dialog whose caption is much wider than itself  ";
    DrawTextW(dc.Get(), text.c_str(), -1, &measure, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_GE(width, measure.right + Skin->Title()->LeftWidth + Skin->Title()->RightWidth);
    EXPECT_EQ(buttonLeft() - leftBefore, (width - natural) / 2);
}

TEST_F(SkinnedFrame, UnskinGivesTheWindowBackExactly)
{
    HMENU menuless = nullptr;
    HWND window = Make(kFramedStyle, 280, 170);
    ShowWindow(window, SW_SHOW);
    Flush();
    const gdi::Region ownRegion(CreateRectRgn(0, 0, 0, 0));
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    const LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
    const LONG_PTR procedure = GetWindowLongPtrW(window, GWLP_WNDPROC);
    const SIZE client = ClientSize(window);
    const int regionBefore = GetWindowRgn(window, ownRegion.Get());
    Attach(window);
    // Painting takes the system menu style away while skinned.
    RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    ASSERT_NE(GetWindowLongPtrW(window, GWLP_WNDPROC), procedure);

    Frame->Unskin();
    Flush();
    EXPECT_EQ(GetWindowLongPtrW(window, GWL_STYLE), style);
    EXPECT_EQ(GetWindowLongPtrW(window, GWL_EXSTYLE), exStyle);
    EXPECT_EQ(GetWindowLongPtrW(window, GWLP_WNDPROC), procedure);
    EXPECT_EQ(GetMenu(window), menuless);
    const gdi::Region regionAfter(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(GetWindowRgn(window, regionAfter.Get()), regionBefore);
    EXPECT_EQ(ClientSize(window).cx, client.cx);
    EXPECT_EQ(ClientSize(window).cy, client.cy);
}

// The system's own caption and caption-button colours, unless the skin uses them too.
std::vector<TColor> SystemCaptionColours(const TSkinData& skin)
{
    std::set<TColor> skinColours;
    for (const TDataSkinBorder* border : {skin.Left(), skin.Right(), skin.Top(), skin.Bottom()})
        for (int y = 0; y < border->Bitmap->Height(); ++y)
            for (int x = 0; x < border->Bitmap->Width(); ++x)
                skinColours.insert(PixelOf(*border->Bitmap, x, y));
    std::vector<TColor> colours;
    for (int index : {COLOR_ACTIVECAPTION, COLOR_INACTIVECAPTION, COLOR_GRADIENTACTIVECAPTION,
                      COLOR_GRADIENTINACTIVECAPTION, COLOR_BTNFACE, COLOR_CAPTIONTEXT, COLOR_INACTIVECAPTIONTEXT}) {
        const TColor colour = GetSysColor(index) & 0xFFFFFF;
        if (!skinColours.count(colour))
            colours.push_back(colour);
    }
    return colours;
}

TEST_F(SkinnedFrame, NoSystemCaptionAfterAThousandRoundsOfCaptionChanges)
{
    HWND window = Make(kFramedStyle, 300, 160, L"Rounds");
    Attach(window);
    const HICON icon = LoadIconW(nullptr, IDI_APPLICATION);
    for (int round = 0; round < 1000; ++round) {
        const std::wstring text = L"Round " + std::to_wstring(round);
        SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
        SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(round % 2 ? icon : nullptr));
        SendMessageW(window, WM_NCACTIVATE, round % 2, 0);
        EnableWindow(window, round % 3 != 0);
        SetWindowPos(window, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        if (round % 50 == 0)
            Flush();
    }
    EnableWindow(window, TRUE);
    SendMessageW(window, WM_SETICON, ICON_SMALL, 0);
    SetActivity(window, true);
    Flush();
    EXPECT_EQ(BorderMisses(*Skin, window, 1), 0);

    // Not one pixel of the non-client area in a system caption colour.
    const TPixels shot = ReadBack(window);
    const gdi::Region shape(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(GetWindowRgn(window, shape.Get()), ERROR);
    RECT client{};
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    RECT outer{};
    GetWindowRect(window, &outer);
    OffsetRect(&client, -outer.left, -outer.top);
    const std::vector<TColor> system = SystemCaptionColours(*Skin);
    int systemPixels = 0;
    for (int y = 0; y < shot.Height(); ++y)
        for (int x = 0; x < shot.Width(); ++x) {
            if (PtInRect(&client, {x, y}) || !PtInRegion(shape.Get(), x, y))
                continue;
            const TColor seen = PixelOf(shot, x, y);
            if (std::count(system.begin(), system.end(), seen) > 0 && ++systemPixels <= 5)
                ADD_FAILURE() << "system colour " << std::hex << seen << std::dec << " at (" << x << ", " << y << ")";
        }
    EXPECT_EQ(systemPixels, 0);
}

TEST_F(SkinnedFrame, AFormsCaptionChangesKeepTheSkinnedCaption)
{
    // The framework sets a form's caption through its WindowProc, past the
    // window's procedure: the frame's form hook sees it there.
    const auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(60, 60, 320, 200);
    HWND window = form->Handle();
    Frame = std::make_unique<TWinSkinForm>(window, L"TForm", Skin.get());
    Frame->AttachToForm(form.get());
    PostMessageW(window, WM_SKININIT, 0, 1000);
    form->Show();
    Flush();
    for (int round = 0; round < 200; ++round)
        form->SetCaption(L"Caption " + std::to_wstring(round));
    SetActivity(window, true);
    EXPECT_EQ(BorderMisses(*Skin, window, 1), 0);
    EXPECT_EQ(CheckRegion(window), 0);
    Frame.reset();
}

TEST_F(SkinnedFrame, ResizeMaximiseRestoreAndMinimiseKeepTheSkinnedFrameAndRegion)
{
    HWND window = Make(kFramedStyle, 200, 120, L"Sizes");
    Attach(window);
    SetActivity(window, true);
    const auto checkStep = [&](const char* step) {
        SCOPED_TRACE(step);
        Flush();
        EXPECT_EQ(BorderMisses(*Skin, window, 1), 0);
        EXPECT_EQ(CheckRegion(window), 0);
    };
    for (SIZE size : {SIZE{60, 50}, SIZE{120, 80}, SIZE{400, 300}, SIZE{900, 650}, SIZE{250, 180}}) {
        SetWindowPos(window, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        checkStep("resize");
    }
    ShowWindow(window, SW_MAXIMIZE);
    SetActivity(window, true);
    Flush();
    EXPECT_EQ(Frame->WindowState(), wsMaximized);
    EXPECT_EQ(CheckRegion(window), 0);
    ShowWindow(window, SW_RESTORE);
    SetActivity(window, true);
    checkStep("restore after maximise");
    ShowWindow(window, SW_MINIMIZE);
    Flush();
    EXPECT_EQ(Frame->WindowState(), wsMinimized);
    ShowWindow(window, SW_RESTORE);
    SetActivity(window, true);
    checkStep("restore after minimise");
    SetActivity(window, false);
    Flush();
    EXPECT_EQ(BorderMisses(*Skin, window, 2), 0);
}

TEST_F(SkinnedFrame, GdiObjectsReturnToBaselineAfterPaintsResizesAndSkinCycles)
{
    const gditest::TCounter counter = gditest::ChooseCounter();
    std::printf("counting GDI objects with: %s\n", counter.Source);
    HWND window = Make(kFramedStyle, 260, 160, L"Soak");
    Attach(window);
    Frame->Unskin();
    Frame.reset();
    Flush();
    const long before = counter.Count();
    for (int cycle = 0; cycle < 100; ++cycle) {
        Attach(window);
        for (int paint = 0; paint < 10; ++paint)
            SendMessageW(window, WM_NCPAINT, 1, 0);
        SetWindowPos(window, nullptr, 0, 0, 300 + cycle % 7, 200 + cycle % 5,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        SetWindowPos(window, nullptr, 0, 0, 260, 190, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        Frame->Unskin();
        Frame.reset();
    }
    Flush();
    EXPECT_EQ(counter.Count(), before);
}

} // namespace
