// Skin image drawing under Wine: every test draws into bitmaps and reads the
// pixels back.
#include "skin/data/ImgUtil.h"

#include "GdiCount.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <set>
#include <vector>

namespace {

// A pf24bit bitmap whose pixel (x, y) is colour(x, y).
std::unique_ptr<TBitmap> MakeBitmap(int width, int height, const std::function<TColor(int, int)>& colour)
{
    auto bitmap = std::make_unique<TBitmap>(width, height, pf24bit);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bitmap->Canvas().SetPixels(x, y, colour(x, y));
    return bitmap;
}

std::unique_ptr<TBitmap> Solid(int width, int height, TColor colour)
{
    auto bitmap = std::make_unique<TBitmap>(width, height, pf24bit);
    bitmap->Canvas().Brush().SetColor(colour);
    bitmap->Canvas().FillRect({0, 0, width, height});
    return bitmap;
}

TColor At(const TBitmap& bitmap, int x, int y)
{
    return bitmap.Canvas().Pixels(x, y);
}

// Every pixel of a frame tells where it came from.
TColor Unique(int x, int y)
{
    return RGB(x * 12 + 1, y * 12 + 1, 77);
}

constexpr TColor Red = RGB(255, 0, 0);
constexpr TColor Green = RGB(0, 255, 0);
constexpr TColor Blue = RGB(0, 0, 255);
constexpr TColor White = RGB(255, 255, 255);

// --- Colours ---

TEST(ImgUtilColours, SystemColoursAreResolved)
{
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(MixColour(clBtnFace, clWhite, 60), MixColour(static_cast<TColor>(face), clWhite, 60));
    EXPECT_EQ(MixColour(0x000000, 0xFFFFFF, 150), 0xD9D9D9);
    EXPECT_EQ(Saturation(0x0000FF), 255);
    EXPECT_EQ(Saturation(clBtnFace), Saturation(static_cast<TColor>(face)));
    const int slot = GradientTable(5, clBlack, clWhite);
    EXPECT_EQ(GradientColours(slot), (std::vector<imgcore::TRgb>{0x000000, 0x404040, 0x808080, 0xBFBFBF, 0xFFFFFF}));
    EXPECT_EQ(GradientTable(5, clBlack, clWhite), slot);
    EXPECT_THROW(GradientTable(0, clBlack, clWhite), std::invalid_argument);
}

TEST(ImgUtilColours, GradientBandsOnlyInsideTheClipBox)
{
    constexpr TColor Sentinel = RGB(1, 200, 3);
    for (bool vertical : {true, false}) {
        SCOPED_TRACE(vertical);
        const int width = vertical ? 2 : 10, height = vertical ? 10 : 2;
        const std::unique_ptr<TBitmap> bitmap = Solid(width, height, Sentinel);
        const HDC dc = bitmap->Canvas().Handle();
        {
            gdi::SavedState saved(dc);
            if (vertical)
                IntersectClipRect(dc, 0, 3, width, 7);
            else
                IntersectClipRect(dc, 3, 0, 7, height);
            FillGradientBands(dc, {0, 0, width, height}, clBlack, vertical, clWhite);
        }
        const std::vector<imgcore::TRgb>& table = GradientColours(GradientTable(10, clBlack, clWhite));
        for (int band = 0; band < 10; ++band) {
            const TColor pixel = vertical ? At(*bitmap, 1, band) : At(*bitmap, band, 1);
            if (band >= 3 && band < 7)
                EXPECT_EQ(pixel, static_cast<TColor>(table[static_cast<std::size_t>(band)])) << band;
            else
                EXPECT_EQ(pixel, Sentinel) << band;
        }
    }
}

// --- Transforms ---

TEST(ImgUtilTransforms, RotationsOfTwoByOne)
{
    const std::unique_ptr<TBitmap> left = MakeBitmap(2, 1, [](int x, int) { return x ? Blue : Red; }); // [A B] = [red blue]
    TBitmap right;
    right.Assign(*left);
    RotateLeft(*left);
    ASSERT_EQ(left->Width(), 1);
    ASSERT_EQ(left->Height(), 2);
    EXPECT_EQ(At(*left, 0, 0), Blue);
    EXPECT_EQ(At(*left, 0, 1), Red);
    RotateRight(right);
    EXPECT_EQ(At(right, 0, 0), Red);
    EXPECT_EQ(At(right, 0, 1), Blue);
}

// Quarter turns are turns of the picture as seen on screen, whatever the row
// order in memory: a bar filled from the left and turned left fills from the
// bottom (vertical progress bars), and a tab strip turned right puts the
// tabs' tops outward with their text reading top to bottom (tabs on the
// right). A turn plus a flip would mirror that text.
TEST(ImgUtilTransforms, RotationsOfTwoByThreeAreScreenQuarterTurns)
{
    // a b        left: b d f      right: e c a
    // c d              a c e             f d b
    // e f
    const TColor a = RGB(10, 0, 0), b = RGB(20, 0, 0), c = RGB(30, 0, 0), d = RGB(40, 0, 0), e = RGB(50, 0, 0),
                 f = RGB(60, 0, 0);
    const TColor source[3][2] = {{a, b}, {c, d}, {e, f}};
    const TColor left[2][3] = {{b, d, f}, {a, c, e}};
    const TColor right[2][3] = {{e, c, a}, {f, d, b}};
    for (const TPixelFormat format : {pf24bit, pf32bit}) {
        for (const bool turnLeft : {true, false}) {
            SCOPED_TRACE(testing::Message() << (format == pf24bit ? "24" : "32") << " bits, "
                                            << (turnLeft ? "left" : "right"));
            TBitmap bitmap(2, 3, format);
            for (int y = 0; y < 3; ++y)
                for (int x = 0; x < 2; ++x)
                    bitmap.Canvas().SetPixels(x, y, source[y][x]);
            if (turnLeft)
                RotateLeft(bitmap);
            else
                RotateRight(bitmap);
            ASSERT_EQ(bitmap.Width(), 3);
            ASSERT_EQ(bitmap.Height(), 2);
            for (int y = 0; y < 2; ++y)
                for (int x = 0; x < 3; ++x)
                    EXPECT_EQ(At(bitmap, x, y), turnLeft ? left[y][x] : right[y][x]) << x << ", " << y;
        }
    }
}

TEST(ImgUtilTransforms, MirrorFlipAndMagenta)
{
    const std::unique_ptr<TBitmap> bitmap = MakeBitmap(3, 2, Unique);
    MirrorHorizontally(*bitmap);
    EXPECT_EQ(At(*bitmap, 0, 0), Unique(2, 0));
    EXPECT_EQ(At(*bitmap, 2, 1), Unique(0, 1));
    FlipVertically(*bitmap);
    EXPECT_EQ(At(*bitmap, 0, 0), Unique(2, 1));
    EXPECT_EQ(At(*bitmap, 1, 1), Unique(1, 0));

    const std::unique_ptr<TBitmap> keyed = MakeBitmap(2, 1, [](int x, int) { return x ? RGB(255, 0, 254) : clFuchsia; });
    keyed->SetPixelFormat(pf32bit);
    ReplaceMagenta(*keyed, clBtnFace);
    EXPECT_EQ(keyed->PixelFormat(), pf24bit);
    EXPECT_EQ(At(*keyed, 0, 0), static_cast<TColor>(GetSysColor(COLOR_BTNFACE)));
    EXPECT_EQ(At(*keyed, 1, 0), RGB(255, 0, 254));
}

// --- Nine-slice ---

// Two stacked 18 × 20 frames: frame 1 dull, frame 2 with unique pixels.
// Margins 4, 3, 4, 5 leave a 10 × 12 centre.
class NineSlice : public ::testing::Test {
protected:
    std::unique_ptr<TBitmap> Strip = MakeBitmap(18, 40, [](int x, int y) { return y < 20 ? RGB(1, 1, 1) : Unique(x, y - 20); });
    RECT Margins{4, 3, 4, 5};

    static bool FromSourceRow(TColor pixel, int sourceY, int fromX, int toX)
    {
        for (int x = fromX; x <= toX; ++x)
            if (pixel == Unique(x, sourceY))
                return true;
        return false;
    }
};

TEST_F(NineSlice, CornersKeepTheirPixelsAndTheCentreTiles)
{
    const std::unique_ptr<TBitmap> result = RenderNineSlice({0, 0, 33, 20}, *Strip, Margins, true, true, 2, 2);
    ASSERT_EQ(result->Width(), 33);
    ASSERT_EQ(result->Height(), 20);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(At(*result, x, y), Unique(x, y));
            EXPECT_EQ(At(*result, 29 + x, y), Unique(14 + x, y));
        }
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(At(*result, x, 15 + y), Unique(x, 15 + y));
            EXPECT_EQ(At(*result, 29 + x, 15 + y), Unique(14 + x, 15 + y));
        }
    // The 10-pixel centre at offsets 0, 10 and 20 of a 25-pixel area; the
    // third tile runs under the right edge, which is drawn after it.
    for (int y = 3; y < 15; ++y) {
        for (int k = 0; k < 25; ++k)
            EXPECT_EQ(At(*result, 4 + k, y), Unique(4 + k % 10, y)) << k;
        EXPECT_EQ(At(*result, 29, y), Unique(14, y));
    }
    // The top edge is stretched from the frame's top edge.
    for (int x = 4; x < 29; ++x)
        EXPECT_TRUE(FromSourceRow(At(*result, x, 0), 0, 4, 13)) << x;
    EXPECT_EQ(At(*result, 4, 0), Unique(4, 0));
    EXPECT_EQ(At(*result, 28, 0), Unique(13, 0));
}

TEST_F(NineSlice, CentreStretchesWithoutTheTileFlag)
{
    const std::unique_ptr<TBitmap> result = RenderNineSlice({5, 5, 38, 25}, *Strip, Margins, true, false, 2, 2);
    EXPECT_EQ(At(*result, 4, 3), Unique(4, 3));
    EXPECT_EQ(At(*result, 28, 3), Unique(13, 3));
    for (int x = 4; x < 29; ++x)
        EXPECT_TRUE(FromSourceRow(At(*result, x, 8), 8, 4, 13)) << x;
}

TEST_F(NineSlice, MarginsThatDoNotFitDropToZero)
{
    // 6 wide < 4 + 4: the frame spans the width with no corners at all.
    const std::unique_ptr<TBitmap> result = RenderNineSlice({0, 0, 6, 20}, *Strip, Margins, true, false, 2, 2);
    // Squeezing samples where the system likes; only the region sampled is fixed.
    EXPECT_TRUE(FromSourceRow(At(*result, 0, 0), 0, 0, 3));
    EXPECT_TRUE(FromSourceRow(At(*result, 2, 0), 0, 4, 13)); // a shrunken corner would give x < 4
    EXPECT_TRUE(FromSourceRow(At(*result, 5, 0), 0, 12, 17));
    EXPECT_TRUE(FromSourceRow(At(*result, 2, 19), 19, 4, 13));
}

TEST_F(NineSlice, FrameDrawnSeeThroughOrOpaque)
{
    const std::unique_ptr<TBitmap> strip = MakeBitmap(4, 4, [](int x, int y) { return x == 0 && y == 0 ? clFuchsia : Green; });
    for (bool seeThrough : {true, false}) {
        const std::unique_ptr<TBitmap> target = Solid(10, 10, White);
        DrawNineSliceFrame(target->Canvas().Handle(), {3, 3, 7, 7}, *strip, false, false, seeThrough, 1, 1,
                           {1, 1, 1, 1});
        EXPECT_EQ(At(*target, 3, 3), seeThrough ? White : static_cast<TColor>(clFuchsia));
        EXPECT_EQ(At(*target, 4, 4), Green);
        EXPECT_EQ(At(*target, 7, 7), White);
        EXPECT_EQ(At(*target, 2, 2), White);
    }
}

TEST_F(NineSlice, InvertedOrEmptyTargetsDrawNothing)
{
    const std::unique_ptr<TBitmap> target = Solid(10, 10, White);
    DrawNineSliceFrame(target->Canvas().Handle(), {8, 8, 2, 2}, *Strip, true, true, false, 2, 2, Margins);
    DrawStretchedFrame(target->Canvas().Handle(), {8, 2, 2, 8}, *Strip, false, 2, 1);
    DrawCentredFrame(target->Canvas().Handle(), {2, 8, 8, 2}, *Strip, false, 2, 1);
    DrawThreePartFrame(target->Canvas().Handle(), {8, 8, 2, 2}, *Strip, true, 2, 1, Margins);
    DrawTransparent(target->Canvas().Handle(), {8, 8, 2, 2}, *Strip, clFuchsia);
    TileBitmap(target->Canvas(), {0, 0, 10, 10}, *Strip, {0, 0, 0, 5});
    TileBitmap(target->Canvas(), {0, 0, 10, 10}, *Strip, {5, 0, 0, 5});
    EXPECT_TRUE(RenderNineSlice({0, 0, 0, 10}, *Strip, Margins, true, true, 2, 2)->Empty());
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            ASSERT_EQ(At(*target, x, y), White) << x << "," << y;
}

// --- The other frame routines ---

TEST(ImgUtilFrames, StretchedFrameTakesItsOwnFrame)
{
    const std::unique_ptr<TBitmap> strip = MakeBitmap(6, 3, [](int x, int) { return x < 3 ? Red : Blue; });
    const std::unique_ptr<TBitmap> target = Solid(12, 8, White);
    DrawStretchedFrame(target->Canvas().Handle(), {1, 1, 8, 6}, *strip, false, 2, 2);
    EXPECT_EQ(At(*target, 1, 1), Blue);
    EXPECT_EQ(At(*target, 7, 5), Blue);
    EXPECT_EQ(At(*target, 8, 6), White);
}

TEST(ImgUtilFrames, CentredFrameIsUnscaledInTheMiddle)
{
    // Frame 2 of two 4 × 4 frames: green with a magenta corner.
    const std::unique_ptr<TBitmap> strip = MakeBitmap(8, 4, [](int x, int y) { return x < 4 ? Red : (x == 4 && y == 0 ? clFuchsia : Green); });
    for (bool seeThrough : {true, false}) {
        const std::unique_ptr<TBitmap> target = Solid(12, 12, White);
        DrawCentredFrame(target->Canvas().Handle(), {1, 1, 11, 11}, *strip, seeThrough, 2, 2);
        EXPECT_EQ(At(*target, 4, 4), seeThrough ? White : static_cast<TColor>(clFuchsia));
        EXPECT_EQ(At(*target, 7, 7), Green);
        EXPECT_EQ(At(*target, 3, 4), White);
        EXPECT_EQ(At(*target, 8, 7), White);
    }
}

TEST(ImgUtilFrames, ThreePartKeepsItsCaps)
{
    const std::unique_ptr<TBitmap> strip = MakeBitmap(20, 2, [](int x, int y) { return x < 10 ? RGB(1, 1, 1) : Unique(x - 10, y); });
    const std::unique_ptr<TBitmap> target = Solid(30, 6, White);
    DrawThreePartFrame(target->Canvas().Handle(), {0, 0, 30, 6}, *strip, false, 2, 2, {2, 0, 3, 0});
    for (int y = 0; y < 6; ++y) {
        EXPECT_EQ(At(*target, 0, y), Unique(0, y / 3));
        EXPECT_EQ(At(*target, 1, y), Unique(1, y / 3));
        EXPECT_EQ(At(*target, 27, y), Unique(7, y / 3));
        EXPECT_EQ(At(*target, 29, y), Unique(9, y / 3));
    }
    // Narrower than the frame: the whole frame is squeezed in.
    const std::unique_ptr<TBitmap> narrow = Solid(5, 2, White);
    DrawThreePartFrame(narrow->Canvas().Handle(), {0, 0, 5, 2}, *strip, false, 2, 2, {2, 0, 3, 0});
    const TColor first = At(*narrow, 0, 0);
    EXPECT_TRUE(first == Unique(0, 0) || first == Unique(1, 0)) << std::hex << first;
    EXPECT_NE(At(*narrow, 4, 0), White);
}

TEST(ImgUtilFrames, TiledStripRepeatsItsMiddle)
{
    // Frame 20 wide, caps 4 and 6: a 10-pixel middle over 35 pixels.
    const std::unique_ptr<TBitmap> strip = MakeBitmap(20, 4, Unique);
    const std::unique_ptr<TBitmap> target = Solid(40, 4, White);
    DrawTiledStrip(target->Canvas(), {0, 0, 35, 4}, *strip, false, false, 1, 1, {4, 0, 6, 0});
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(At(*target, x, 1), Unique(x, 1));
    for (int k = 0; k < 25; ++k)
        EXPECT_EQ(At(*target, 4 + k, 1), Unique(4 + k % 10, 1)) << k;
    for (int x = 0; x < 6; ++x)
        EXPECT_EQ(At(*target, 29 + x, 1), Unique(14 + x, 1));
    EXPECT_EQ(At(*target, 35, 1), White);
}

TEST(ImgUtilFrames, TileBitmapDrawsWholeTilesPastTheTarget)
{
    const std::unique_ptr<TBitmap> source = MakeBitmap(6, 4, Unique);
    const std::unique_ptr<TBitmap> target = Solid(12, 6, White);
    TileBitmap(target->Canvas(), {1, 1, 8, 4}, *source, {2, 1, 5, 3}); // 3 × 2 tiles
    EXPECT_EQ(At(*target, 1, 1), Unique(2, 1));
    EXPECT_EQ(At(*target, 4, 2), Unique(2, 2));
    EXPECT_EQ(At(*target, 9, 4), Unique(4, 2)); // last tile, whole, beyond (8, 4)
    EXPECT_EQ(At(*target, 10, 4), White);
    EXPECT_EQ(At(*target, 0, 0), White);
}

TEST(ImgUtilFrames, TransparentDrawingKeepsTheDestinationUnderMagenta)
{
    const std::unique_ptr<TBitmap> source = MakeBitmap(3, 1, [](int x, int) { return x == 1 ? Red : clFuchsia; });
    const std::unique_ptr<TBitmap> target = Solid(5, 3, Blue);
    DrawTransparent(target->Canvas().Handle(), {1, 1, 4, 2}, *source, clFuchsia);
    EXPECT_EQ(At(*target, 1, 1), Blue);
    EXPECT_EQ(At(*target, 2, 1), Red);
    EXPECT_EQ(At(*target, 3, 1), Blue);
    // Another key colour.
    DrawTransparent(target->Canvas().Handle(), {0, 0, 3, 1}, *source, Red);
    EXPECT_EQ(At(*target, 0, 0), clFuchsia);
    EXPECT_EQ(At(*target, 1, 0), Blue);
}

// --- Regions ---

std::vector<RECT> RectsOf(HRGN region)
{
    const DWORD size = GetRegionData(region, 0, nullptr);
    std::vector<std::uint8_t> data(size);
    RGNDATAHEADER header{};
    if (size < sizeof(header) || !GetRegionData(region, size, reinterpret_cast<RGNDATA*>(data.data())))
        return {};
    std::memcpy(&header, data.data(), sizeof(header));
    std::vector<RECT> rects(header.nCount);
    std::memcpy(rects.data(), data.data() + header.dwSize, rects.size() * sizeof(RECT));
    return rects;
}

TEST(ImgUtilRegion, MagentaRedMagentaIsOneRectangle)
{
    const std::unique_ptr<TBitmap> bitmap = MakeBitmap(3, 1, [](int x, int) { return x == 1 ? Red : clFuchsia; });
    const gdi::Region region = RegionFromBitmap(*bitmap, 10, 20, 1, 1, 1, clFuchsia);
    const std::vector<RECT> rects = RectsOf(region.Get());
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_EQ(rects[0].left, 11);
    EXPECT_EQ(rects[0].top, 20);
    EXPECT_EQ(rects[0].right, 12);
    EXPECT_EQ(rects[0].bottom, 21);
}

TEST(ImgUtilRegion, EqualsTheOpaquePixelsAcrossManyBatches)
{
    // 160 × 60 with about 4800 runs: more than two batches of 2000.
    auto seeThrough = [](int x, int y) { return (x + y) % 2 == 0 || (x > 50 && x < 70 && y > 10); };
    for (TPixelFormat format : {pf24bit, pf32bit, pf8bit}) {
        SCOPED_TRACE(format);
        const bool small = format == pf8bit; // few colours: the 6 × 6 × 6 palette has both
        const std::unique_ptr<TBitmap> bitmap = MakeBitmap(small ? 40 : 160, small ? 20 : 60, [&](int x, int y) {
            return seeThrough(x, y) ? clFuchsia : (small ? Blue : static_cast<TColor>(RGB(x, y, 9)));
        });
        bitmap->SetPixelFormat(format);
        const gdi::Region region = RegionFromBitmap(*bitmap, -5, 7, 1, 1, 1, clFuchsia);
        for (int y = 0; y < bitmap->Height(); ++y)
            for (int x = 0; x < bitmap->Width(); ++x)
                ASSERT_EQ(PtInRegion(region.Get(), x - 5, y + 7) != FALSE, !seeThrough(x, y)) << x << "," << y;
    }
}

TEST(ImgUtilRegion, NothingOpaqueGivesAnEmptyRegion)
{
    const std::unique_ptr<TBitmap> bitmap = Solid(8, 8, clFuchsia);
    const gdi::Region region = RegionFromBitmap(*bitmap, 0, 0, 1, 1, 1, clFuchsia);
    RECT box{};
    EXPECT_EQ(GetRgnBox(region.Get(), &box), NULLREGION);
    TBitmap empty;
    EXPECT_EQ(GetRgnBox(RegionFromBitmap(empty, 0, 0, 1, 1, 1, clFuchsia).Get(), &box), NULLREGION);
}

// --- Windows and text ---

constexpr wchar_t ParentClass[] = L"VidkilnImgUtilParent";

// Paints red left of x = 50 and green from there, into whatever DC it is given.
LRESULT CALLBACK HalvesProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT && wParam) {
        const HDC dc = reinterpret_cast<HDC>(wParam);
        gdi::Brush red(CreateSolidBrush(Red)), green(CreateSolidBrush(Green));
        const RECT left{0, 0, 50, 200}, right{50, 0, 200, 200};
        FillRect(dc, &left, red.Get());
        FillRect(dc, &right, green.Get());
        return 0;
    }
    if (message == WM_ERASEBKGND)
        return 1;
    return DefWindowProcW(window, message, wParam, lParam);
}

class ParentWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = HalvesProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = ParentClass;
        RegisterClassW(&windowClass);
        Parent = CreateWindowExW(0, ParentClass, L"", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr,
                                 windowClass.hInstance, nullptr);
        ASSERT_NE(Parent, nullptr);
        Control = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL, 40, 30, 30, 20,
                                  Parent, nullptr, windowClass.hInstance, nullptr);
        ASSERT_NE(Control, nullptr);
    }
    void TearDown() override
    {
        DestroyWindow(Parent);
        UnregisterClassW(ParentClass, GetModuleHandleW(nullptr));
    }

    HWND Parent = nullptr;
    HWND Control = nullptr;
};

TEST_F(ParentWindow, ParentPaintsWhatLiesUnderTheControl)
{
    const std::unique_ptr<TBitmap> surface = Solid(30, 20, Blue);
    const HDC dc = surface->Canvas().Handle();
    PaintParentBackground(Control, dc);
    EXPECT_EQ(At(*surface, 0, 0), Red);
    EXPECT_EQ(At(*surface, 9, 19), Red);
    EXPECT_EQ(At(*surface, 10, 0), Green);
    EXPECT_EQ(At(*surface, 29, 19), Green);
    // The DC comes back as it was: origin and clipping.
    POINT origin{};
    GetViewportOrgEx(dc, &origin);
    EXPECT_EQ(origin.x, 0);
    RECT clip{};
    EXPECT_EQ(GetClipBox(dc, &clip), SIMPLEREGION);
    EXPECT_EQ(clip.right, 30);
    PaintParentBackground(Parent, dc); // no parent: nothing happens
}

TEST_F(ParentWindow, OptionalUser32Services)
{
    SCROLLBARINFO info{};
    info.cbSize = sizeof(info);
    EXPECT_TRUE(QueryScrollBarInfo(Control, OBJID_VSCROLL, info));
    EXPECT_GT(info.rcScrollBar.bottom, info.rcScrollBar.top);
    TrackMouseLeave(Control);
}

TEST(ImgUtilText, AnsiToWideAndDrawTextWide)
{
    EXPECT_EQ(AnsiToWide("Skin 1"), L"Skin 1");
    EXPECT_EQ(AnsiToWide(""), L"");
    const std::unique_ptr<TBitmap> surface = Solid(100, 30, White);
    RECT rect{0, 0, 100, 30};
    const int height = DrawTextWide(surface->Canvas().Handle(), L"转换完成", rect, DT_SINGLELINE | DT_CALCRECT);
    EXPECT_GT(height, 0);
    EXPECT_GT(rect.right, 0);
}

// --- No GDI leaks ---

TEST_F(ParentWindow, NoGdiObjectLeaksAfterTenThousandCalls)
{
    const gditest::TCounter counter = gditest::ChooseCounter();
    std::printf("GDI objects counted by: %s\n", counter.Source);
    const std::unique_ptr<TBitmap> strip = MakeBitmap(8, 8, [](int x, int y) { return (x + y) % 3 ? Red : clFuchsia; });
    TBitmap target(16, 16, pf24bit);
    TCanvas& canvas = target.Canvas();
    const HDC dc = canvas.Handle();
    const RECT rect{1, 1, 13, 12};
    const RECT margins{2, 2, 2, 2};
    TBitmap transformed(3, 2, pf24bit);
    struct TRoutine {
        const char* Name;
        std::function<void()> Call;
    };
    const TRoutine routines[] = {
        {"FillGradientBands", [&] { FillGradientBands(dc, rect, clBtnFace, true, clWhite); }},
        {"RenderNineSlice", [&] { RenderNineSlice(rect, *strip, margins, true, true, 2, 2); }},
        {"DrawNineSliceFrame", [&] { DrawNineSliceFrame(dc, rect, *strip, false, true, true, 2, 1, margins); }},
        {"DrawTiledStrip", [&] { DrawTiledStrip(canvas, rect, *strip, true, true, 2, 2, margins); }},
        {"DrawStretchedFrame", [&] { DrawStretchedFrame(dc, rect, *strip, true, 2, 2); }},
        {"DrawCentredFrame", [&] { DrawCentredFrame(dc, rect, *strip, true, 2, 1); }},
        {"DrawThreePartFrame", [&] { DrawThreePartFrame(dc, rect, *strip, false, 2, 2, margins); }},
        {"DrawTransparent", [&] { DrawTransparent(dc, rect, *strip, clFuchsia); }},
        {"TileBitmap", [&] { TileBitmap(canvas, rect, *strip, {1, 1, 4, 4}); }},
        {"RegionFromBitmap", [&] { RegionFromBitmap(*strip, 3, 4, 1, 1, 1, clFuchsia); }},
        {"ReplaceMagenta", [&] { ReplaceMagenta(transformed, clBtnFace); }},
        {"MirrorHorizontally", [&] { MirrorHorizontally(transformed); }},
        {"FlipVertically", [&] { FlipVertically(transformed); }},
        {"RotateLeft", [&] { RotateLeft(transformed); }},
        {"RotateRight", [&] { RotateRight(transformed); }},
        {"PaintParentBackground", [&] { PaintParentBackground(Control, dc); }},
        {"DrawTextWide", [&] {
             RECT text{0, 0, 16, 16};
             DrawTextWide(dc, L"x", text, 0);
         }},
    };
    for (const TRoutine& routine : routines) {
        routine.Call(); // first use may set up caches that live for the process
        const long before = counter.Count();
        for (int i = 0; i < 10000; ++i)
            routine.Call();
        EXPECT_EQ(counter.Count(), before) << routine.Name;
    }
}

} // namespace
