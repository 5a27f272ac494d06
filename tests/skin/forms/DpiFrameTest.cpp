// The default skin's frame on a screen denser than 96 pixels per inch, built
// once per density and run in a Wine prefix of that density. Every
// expectation comes from the skin's own files as the generator wrote them
// (the 96-dpi bitmaps and skin.ini beside the packed skin) times the
// screen's factor, never from the loaded skin: the frame's thickness read
// back from pixels, hit-test answers at the scaled edges, caption buttons
// and border caps compared pixel by pixel with the skin bitmaps (exactly at
// whole factors, within the colours around the source pixel at fractional
// ones), the window region at the see-through corners, and the menu bar's
// band and item gaps.
#include "DpiSamples.h"

#include <gtest/gtest.h>

#include "skin/forms/MenuBar.h"
#include "skin/forms/SkinManager.h"

#include <optional>
#include <string>

using namespace frametest;
using namespace dpitest;

namespace {

class DpiFrame : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(ScreenDpi(), 96) << "built for a denser screen";
        RegisterTestClass();
        Skin = DefaultSkin();
        ASSERT_FALSE(Skin->SkinLoading());
        Left = SkinImage(L"left.bmp");
        Top = SkinImage(L"top.bmp");
        Right = SkinImage(L"right.bmp");
        Bottom = SkinImage(L"bottom.bmp");
        const int frames = IniNumber(L"Personality", L"LeftFrame");
        ASSERT_EQ(frames, 2);
        ASSERT_EQ(IniNumber(L"Personality", L"TopFrame"), frames);
        LeftWidth = Left->Width() / frames;
        TopHeight = Top->Height() / frames;
        RightWidth = Right->Width() / frames;
        BottomHeight = Bottom->Height() / frames;
        SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 2, GetSystemMetrics(SM_CYSCREEN) - 2);
        Window = MakeWindow(WS_OVERLAPPEDWINDOW, 400, 300, L"");
        Frame = AttachFrame(Window, kClassName, *Skin);
        Flush();
        SendMessageW(Window, WM_NCACTIVATE, TRUE, 0);
        Flush();
        Size = WindowSize(Window);
    }

    void TearDown() override
    {
        Frame.reset();
        if (Window)
            DestroyWindow(Window);
    }

    LRESULT HitAt(int x, int y) const
    {
        RECT outer{};
        GetWindowRect(Window, &outer);
        return SendMessageW(Window, WM_NCHITTEST, 0, MAKELPARAM(outer.left + x, outer.top + y));
    }

    std::unique_ptr<TSkinData> Skin;
    std::unique_ptr<TBitmap> Left, Top, Right, Bottom;
    int LeftWidth = 0, TopHeight = 0, RightWidth = 0, BottomHeight = 0;
    HWND Window = nullptr;
    std::unique_ptr<TWinSkinForm> Frame;
    SIZE Size{};
};

// One suite name per density (DpiFrame144 ...), so each build's cases are told apart.
using VIDKILN_DPI_SUITE = DpiFrame;

TEST_F(VIDKILN_DPI_SUITE, BordersAreTheSkinsThicknessTimesTheFactor)
{
    // Read back: the client shows one colour (the skin's face), which no
    // border pixel on the way in has.
    const TPixels shot = ReadBack(Window);
    const TColor face = PixelOf(shot, Size.cx / 2, Size.cy / 2);
    const auto stepsToClient = [&](int x, int y, int dx, int dy) {
        int steps = 0;
        while (PixelOf(shot, x, y) != face && steps < 200) {
            x += dx;
            y += dy;
            ++steps;
        }
        return steps;
    };
    EXPECT_EQ(stepsToClient(0, Size.cy / 2, 1, 0), Scale(LeftWidth));
    EXPECT_EQ(stepsToClient(Size.cx - 1, Size.cy / 2, -1, 0), Scale(RightWidth));
    EXPECT_EQ(stepsToClient(Size.cx / 2, 0, 0, 1), Scale(TopHeight));
    EXPECT_EQ(stepsToClient(Size.cx / 2, Size.cy - 1, 0, -1), Scale(BottomHeight));

    // And the client the window reports lies where the pixels say.
    RECT outer{};
    GetWindowRect(Window, &outer);
    POINT origin{0, 0};
    ClientToScreen(Window, &origin);
    EXPECT_EQ(origin.x - outer.left, Scale(LeftWidth));
    EXPECT_EQ(origin.y - outer.top, Scale(TopHeight));
    const SIZE client = ClientSize(Window);
    EXPECT_EQ(Size.cx - client.cx, Scale(LeftWidth) + Scale(RightWidth));
    EXPECT_EQ(Size.cy - client.cy, Scale(TopHeight) + Scale(BottomHeight));
}

TEST_F(VIDKILN_DPI_SUITE, HitTestFollowsTheScaledEdges)
{
    const int w = Size.cx;
    const int h = Size.cy;
    struct TCase {
        const char* Where;
        int X, Y;
        LRESULT Expected;
    };
    const TCase cases[] = {
        {"caption middle", w / 2, Scale(TopHeight) / 2, HTCAPTION},
        {"last caption row", w / 2, Scale(TopHeight) - 1, HTCAPTION},
        {"first client row", w / 2, Scale(TopHeight), HTCLIENT},
        {"first client column", Scale(LeftWidth), h / 2, HTCLIENT},
        {"last client column", w - Scale(RightWidth) - 1, h / 2, HTCLIENT},
        {"last client row", w / 2, h - Scale(BottomHeight) - 1, HTCLIENT},
        {"left border", 0, h / 2, HTLEFT},
        {"right border", w - 1, h / 2, HTRIGHT},
        {"bottom border", w / 2, h - 1, HTBOTTOM},
        {"top border", w / 2, 0, HTTOP},
        {"top-left corner", 0, 0, HTTOPLEFT},
        {"top-right corner", w - 1, 0, HTTOPRIGHT},
        {"bottom-left corner", 0, h - 1, HTBOTTOMLEFT},
        {"bottom-right corner", w - 1, h - 1, HTBOTTOMRIGHT},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(HitAt(c.X, c.Y), c.Expected) << c.Where << " at (" << c.X << ", " << c.Y << ")";
    // Inside the border, short of the client, is not the client.
    EXPECT_NE(HitAt(Scale(LeftWidth) - 1, h / 2), HTCLIENT);
    EXPECT_NE(HitAt(w - Scale(RightWidth), h / 2), HTCLIENT);
    EXPECT_NE(HitAt(w / 2, h - Scale(BottomHeight)), HTCLIENT);
}

TEST_F(VIDKILN_DPI_SUITE, BorderCapsShowTheSkinImagesScaled)
{
    const TPixels shot = ReadBack(Window);
    const int w = Size.cx;
    const int h = Size.cy;
    const int leftCap = IniNumber(L"Personality", L"LeftTopHeight");
    const int leftFoot = IniNumber(L"Personality", L"LeftBotHeight");
    const int rightCap = IniNumber(L"Personality", L"RightTopHeight");
    const int rightFoot = IniNumber(L"Personality", L"RightBotHeight");
    const int topCap = IniNumber(L"Personality", L"TopTopHeight");
    const int topEnd = IniNumber(L"Personality", L"TopBotHeight");
    // Rows above the caption buttons and the icon.
    const int clearRows = Scale(std::min(IniNumber(L"Button0", L"Ycoord"), IniNumber(L"Button5", L"Ycoord")));
    const TSource left{*Left, {0, 0, LeftWidth, Left->Height()}};
    const TSource right{*Right, {0, 0, RightWidth, Right->Height()}};
    const TSource top{*Top, {0, 0, Top->Width(), TopHeight}};
    const int scaledLeftHeight = Scale(Left->Height());
    const int scaledRightHeight = Scale(Right->Height());
    const int scaledTopWidth = Scale(Top->Width());
    int compared = 0;
    int misses = 0;
    misses += ScaledMisses(shot, 0, 0, Scale(LeftWidth), Scale(leftCap), left, 0, 0, compared);
    misses += ScaledMisses(shot, 0, h - Scale(leftFoot), Scale(LeftWidth), Scale(leftFoot), left, 0,
                      scaledLeftHeight - Scale(leftFoot), compared);
    misses += ScaledMisses(shot, w - Scale(RightWidth), 0, Scale(RightWidth), Scale(rightCap), right, 0, 0, compared);
    misses += ScaledMisses(shot, w - Scale(RightWidth), h - Scale(rightFoot), Scale(RightWidth), Scale(rightFoot), right,
                      0, scaledRightHeight - Scale(rightFoot), compared);
    misses += ScaledMisses(shot, Scale(LeftWidth), 0, Scale(topCap), clearRows, top, 0, 0, compared);
    misses += ScaledMisses(shot, w - Scale(RightWidth) - Scale(topEnd), 0, Scale(topEnd), clearRows, top,
                      scaledTopWidth - Scale(topEnd), 0, compared);
    EXPECT_EQ(misses, 0);
    // Most of the caps must have been compared, or the test proves little.
    EXPECT_GT(compared, Scale(LeftWidth) * Scale(leftCap));
}

TEST_F(VIDKILN_DPI_SUITE, CaptionButtonsSitWhereTheSkinPutsThemScaled)
{
    const TPixels shot = ReadBack(Window);
    // Close, maximise and minimise of an overlapped window, right-aligned.
    for (const wchar_t* section : {L"Button0", L"Button1", L"Button3"}) {
        SCOPED_TRACE(testing::Message() << "[" << std::string(section, section + 7) << "]");
        wchar_t file[64] = {};
        GetPrivateProfileStringW(section, L"ButtonImage", L"", file, 64, SkinPath(L"skin.ini").c_str());
        const std::unique_ptr<TBitmap> image = SkinImage(file);
        const int frames = IniNumber(section, L"frame");
        ASSERT_EQ(IniNumber(section, L"Align"), 1);
        const int width = image->Width() / frames;
        const TSource normal{*image, {0, 0, width, image->Height()}};
        const int x = Size.cx - Scale(IniNumber(section, L"Xcoord"));
        const int y = Scale(IniNumber(section, L"Ycoord"));
        int compared = 0;
        EXPECT_EQ(ScaledMisses(shot, x, y, Scale(width), Scale(image->Height()), normal, 0, 0, compared), 0);
        EXPECT_GT(compared, Scale(width) * Scale(image->Height()) / 3);
        // The engine takes the button's whole scaled square as its own.
        EXPECT_EQ(HitAt(x + Scale(width) / 2, y + Scale(image->Height()) / 2), HTCAPTION);
    }
}

TEST_F(VIDKILN_DPI_SUITE, RegionCutsTheSeeThroughCornersScaled)
{
    const gdi::Region region(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(GetWindowRgn(Window, region.Get()), ERROR);
    // The top corners of the side borders: wherever the scaled image is
    // surely see-through the window is not, and surely opaque it is.
    int cut = 0;
    int kept = 0;
    for (const bool leftSide : {true, false}) {
        const TSource source{leftSide ? *Left : *Right, {0, 0, leftSide ? LeftWidth : RightWidth, Left->Height()}};
        const int width = Scale(leftSide ? LeftWidth : RightWidth);
        const int x0 = leftSide ? 0 : Size.cx - width;
        for (int y = 0; y < Scale(8); ++y)
            for (int x = 0; x < width; ++x) {
                const std::optional<TAllowed> allowed = ScaledPixel(source, x, y);
                if (!allowed)
                    continue;
                const bool inside = PtInRegion(region.Get(), x0 + x, y) != FALSE;
                EXPECT_EQ(inside, !allowed->SeeThrough) << "(" << x0 + x << ", " << y << ")";
                (inside ? kept : cut) += 1;
            }
    }
    EXPECT_GT(cut, 0) << "the skin's corners are rounded";
    EXPECT_GT(kept, 0);
}

TEST_F(VIDKILN_DPI_SUITE, SkinObjectsGrowByTheFactorFrameByFrame)
{
    struct TCase {
        const char* Name;
        const TBitmap* Built;
        const wchar_t* File;
        int Frames;
        bool Stacked;
    };
    const TDataSkinButton& buttons = *Skin->Buttons();
    const TCase cases[] = {
        {"Left", Skin->Left()->Bitmap.get(), L"left.bmp", 2, false},
        {"Top", Skin->Top()->Bitmap.get(), L"top.bmp", 2, true},
        {"TextBack", Skin->Title()->Bitmap.get(), L"textback.bmp", 2, true},
        {"MenuBar", Skin->MenuBar()->Bitmap.get(), L"menubar.bmp", 2, true},
        {"push button", buttons.Bitmap.get(), L"button.bmp", 5, false},
        {"check box", buttons.CheckButton.get(), L"checkbox.bmp", IniNumber(L"Buttons", L"CheckButtonFrame"), false},
        {"radio button", buttons.RadioButton.get(), L"radio.bmp", IniNumber(L"Buttons", L"RadioButtonFrame"), false},
        {"close", SkinButtonOf(*Skin, 0).Bitmap.get(), L"btnclose.bmp", 4, false},
        {"up-down glyphs", Skin->UpDownHorz()->Bitmap2.get(), L"updownhglyph.bmp", 8, false},
        {"scroll-bar glyphs", Skin->Scrollbar()->Bitmap.get(), L"scrollbar.bmp", 23, false},
    };
    for (const TCase& c : cases) {
        const std::unique_ptr<TBitmap> raw = SkinImage(c.File);
        const int width = c.Stacked ? Scale(raw->Width()) : c.Frames * Scale(raw->Width() / c.Frames);
        const int height = c.Stacked ? c.Frames * Scale(raw->Height() / c.Frames) : Scale(raw->Height());
        EXPECT_EQ(c.Built->Width(), width) << c.Name;
        EXPECT_EQ(c.Built->Height(), height) << c.Name;
    }

    // The numbers that place things grow with the images.
    EXPECT_EQ(Skin->PixelsPerInch(), ScreenDpi());
    EXPECT_EQ(Skin->Left()->TopHeight, Scale(IniNumber(L"Personality", L"LeftTopHeight")));
    EXPECT_EQ(Skin->Top()->LeftWidth, Scale(IniNumber(L"Personality", L"TopTopHeight")));
    EXPECT_EQ(Skin->Title()->LeftWidth, Scale(IniNumber(L"Personality", L"TextShift")));
    EXPECT_EQ(Skin->Title()->TopHeight, Scale(IniNumber(L"Personality", L"TextShiftVert")));
    EXPECT_EQ(Skin->Title()->TXTBackleft, Scale(IniNumber(L"Personality", L"TXTBackleft")));
    EXPECT_EQ(Skin->Title()->FontHeight, Scale(IniNumber(L"Fonts", L"FontHeight")));
    EXPECT_EQ(Skin->Buttons()->LeftWidth, Scale(IniNumber(L"Buttons", L"LeftWidth")));
    EXPECT_EQ(SkinButtonOf(*Skin, 0).XCoord, Scale(IniNumber(L"Button0", L"Xcoord")));
    EXPECT_EQ(SkinButtonOf(*Skin, 0).YCoord, Scale(IniNumber(L"Button0", L"Ycoord")));
    int glyphWidth = 0;
    int glyphHeight = 0;
    ASSERT_TRUE(ImageList_GetIconSize(Skin->MenuImages(), &glyphWidth, &glyphHeight));
    EXPECT_EQ(glyphWidth, Scale(16));
    EXPECT_EQ(glyphHeight, Scale(16));
    EXPECT_EQ(ImageList_GetImageCount(Skin->MenuImages()), 4);
}

TEST_F(VIDKILN_DPI_SUITE, MenuBarBandAndItemGapsGrowWithTheSkin)
{
    UseSkinManager();
    Skin->Loaded();
    ASSERT_NE(SkinManager, nullptr);
    SkinManager->SetActive(true);
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_STRING, 101, L"&File");
    AppendMenuW(bar, MF_STRING, 102, L"&Edit");
    RECT rect{0, 0, 300, 200};
    AdjustWindowRectEx(&rect, WS_OVERLAPPEDWINDOW, TRUE, 0);
    HWND window = CreateWindowExW(0, kClassName, L"Menus", WS_OVERLAPPEDWINDOW, 80, 60, rect.right - rect.left,
                                  rect.bottom - rect.top, nullptr, bar, GetModuleHandleW(nullptr), nullptr);
    std::unique_ptr<TWinSkinForm> frame = AttachFrame(window, kClassName, *Skin);
    Flush();
    ASSERT_NE(frame->SkinMenuBar(), nullptr);
    const RECT band = frame->SkinMenuBar()->BarRect();
    EXPECT_EQ(band.left, Scale(LeftWidth));
    EXPECT_EQ(band.top, Scale(TopHeight));
    EXPECT_EQ(band.bottom - band.top, GetSystemMetrics(SM_CYMENU));
    ASSERT_EQ(frame->SkinMenuBar()->Items.size(), 2u);
    // The first item starts the bar image's left cap and 4 pixels (at 96 dpi) in.
    EXPECT_EQ(frame->SkinMenuBar()->Items[0]->Bounds.left,
              band.left + Scale(IniNumber(L"Personality", L"TileLeftMenu")) + Scale(4));
    RECT outer{};
    GetWindowRect(window, &outer);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    EXPECT_EQ(origin.y - outer.top, Scale(TopHeight) + GetSystemMetrics(SM_CYMENU));
    frame.reset();
    DestroyWindow(window);
    ShutdownSkinManager();
}

} // namespace
