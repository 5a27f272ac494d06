// TBitmap, TCanvas and the GDI handle owners, with pixels read back under Wine.
#include "framework/Bitmap.h"
#include "framework/GdiObjects.h"
#include "framework/Graphics.h"
#include "framework/TypInfo.h"
#include "tests/skin/data/BmpBuilder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

using bmptest::MakeBmp;
using bmptest::TBmpLayout;

namespace {

// 0x00RRGGBB as the builder takes it, to 0x00BBGGRR as GDI reports it.
TColor FromRrggbb(std::uint32_t value)
{
    return static_cast<TColor>(RGB(value >> 16 & 0xFF, value >> 8 & 0xFF, value & 0xFF));
}

TColor PixelAt(const TBitmap& bitmap, int x, int y)
{
    return bitmap.Canvas().Pixels(x, y);
}

TEST(Bitmap, LoadsEachBitDepth)
{
    const std::vector<std::uint32_t> colours{0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x000000, 0x123456};
    const std::vector<std::uint32_t> indices{0, 1, 2, 3, 4, 5};
    struct TCase {
        int BitCount;
        std::vector<std::uint32_t> Palette;
        std::vector<std::uint32_t> Stored;
        TPixelFormat Format;
    };
    const TCase cases[] = {
        {1, {0x000000, 0xFFFFFF}, {0, 1, 1, 0, 1, 0}, pf1bit},
        {4, colours, indices, pf4bit},
        {8, colours, indices, pf8bit},
        {24, {}, colours, pf24bit},
        {32, {}, colours, pf32bit},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.BitCount);
        TBitmap bitmap;
        bitmap.LoadFromBmpBytes(MakeBmp({3, 2, c.BitCount, 0, c.Palette,
                                         static_cast<std::uint32_t>(c.Palette.size()), {}, c.Stored}));
        ASSERT_EQ(bitmap.Width(), 3);
        ASSERT_EQ(bitmap.Height(), 2);
        EXPECT_EQ(bitmap.PixelFormat(), c.Format);
        for (int i = 0; i < 6; ++i) {
            const std::uint32_t expected = c.Palette.empty() ? c.Stored[i] : c.Palette[c.Stored[i]];
            EXPECT_EQ(PixelAt(bitmap, i % 3, i / 3), FromRrggbb(expected)) << "pixel " << i;
        }
    }
}

TEST(Bitmap, RefusedFileLeavesTheBitmapAsItWas)
{
    TBitmap bitmap;
    bitmap.LoadFromBmpBytes(MakeBmp({2, 1, 24, 0, {}, 0, {}, {0x112233, 0x445566}}));
    std::vector<std::uint8_t> truncated = MakeBmp({40, 40, 24, 0, {}, 0, {}, {}});
    truncated.resize(truncated.size() - 1);
    EXPECT_THROW(bitmap.LoadFromBmpBytes(truncated), EInvalidGraphic);
    EXPECT_EQ(bitmap.Width(), 2);
    EXPECT_EQ(PixelAt(bitmap, 1, 0), FromRrggbb(0x445566));
    EXPECT_THROW(bitmap.LoadFromFile(L"Z:\\no\\such\\picture.bmp"), EInvalidGraphic);
    EXPECT_EQ(bitmap.Width(), 2);
}

TEST(Bitmap, LoadsFromFile)
{
    const std::filesystem::path path = std::filesystem::temp_directory_path() / L"vidkiln-bitmap-test.bmp";
    const std::vector<std::uint8_t> bytes = MakeBmp({2, 2, 24, 0, {}, 0, {}, {1, 2, 3, 0xABCDEF}});
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
    TBitmap bitmap;
    bitmap.LoadFromFile(path.wstring());
    std::filesystem::remove(path);
    EXPECT_EQ(PixelAt(bitmap, 1, 1), FromRrggbb(0xABCDEF));
}

TEST(Bitmap, ScanLinesAreTopDownRows)
{
    TBitmap bitmap(3, 2, pf24bit);
    bitmap.Canvas().SetPixels(2, 1, RGB(10, 20, 30));
    const std::uint8_t* row = bitmap.ScanLine(1);
    EXPECT_EQ(row[6], 30); // blue
    EXPECT_EQ(row[7], 20);
    EXPECT_EQ(row[8], 10);
    EXPECT_EQ(bitmap.RowBytes(), 12u);
    bitmap.ScanLine(0)[0] = 200; // blue of (0, 0)
    EXPECT_EQ(PixelAt(bitmap, 0, 0), RGB(0, 0, 200));
    EXPECT_THROW(bitmap.ScanLine(2), std::out_of_range);
    EXPECT_THROW(bitmap.ScanLine(-1), std::out_of_range);
}

TEST(Bitmap, AssignCopiesDeeply)
{
    TBitmap source(4, 3, pf32bit);
    source.Canvas().SetPixels(3, 2, RGB(1, 2, 3));
    source.SetTransparentColor(clFuchsia);
    TBitmap copy;
    copy.Assign(source);
    source.Canvas().SetPixels(3, 2, RGB(9, 9, 9));
    EXPECT_EQ(copy.Width(), 4);
    EXPECT_EQ(copy.PixelFormat(), pf32bit);
    EXPECT_EQ(PixelAt(copy, 3, 2), RGB(1, 2, 3));
    EXPECT_EQ(copy.TransparentColor(), clFuchsia);
    EXPECT_NE(copy.Handle(), source.Handle());
    const std::unique_ptr<TBitmap> clone = copy.Clone();
    EXPECT_EQ(PixelAt(*clone, 3, 2), RGB(1, 2, 3));
}

TEST(Bitmap, SizeAndFormatChangesKeepPixels)
{
    TBitmap bitmap(2, 2, pf24bit);
    bitmap.Canvas().SetPixels(1, 1, RGB(255, 0, 0));
    bitmap.SetSize(5, 4);
    EXPECT_EQ(PixelAt(bitmap, 1, 1), RGB(255, 0, 0));
    EXPECT_EQ(PixelAt(bitmap, 4, 3), RGB(0, 0, 0));
    bitmap.SetPixelFormat(pf32bit);
    EXPECT_EQ(PixelAt(bitmap, 1, 1), RGB(255, 0, 0));
    bitmap.SetPixelFormat(pf1bit);
    EXPECT_EQ(bitmap.PixelFormat(), pf1bit);
    EXPECT_EQ(PixelAt(bitmap, 0, 0), RGB(0, 0, 0));
    bitmap.SetSize(0, 0);
    EXPECT_TRUE(bitmap.Empty());
}

TEST(Bitmap, TransparentColorDefaultsToBottomLeftPixel)
{
    TBitmap bitmap(2, 2, pf24bit);
    bitmap.Canvas().SetPixels(0, 1, RGB(0, 255, 0));
    EXPECT_EQ(bitmap.TransparentColor(), RGB(0, 255, 0));
    bitmap.SetTransparentColor(clFuchsia);
    EXPECT_EQ(bitmap.TransparentColor(), clFuchsia);
}

TEST(Canvas, DrawsWithPenBrushAndFont)
{
    TBitmap bitmap(20, 10, pf24bit);
    TCanvas& canvas = bitmap.Canvas();
    canvas.Brush().SetColor(RGB(0, 0, 255));
    canvas.FillRect({0, 0, 20, 10});
    canvas.Brush().SetColor(RGB(255, 0, 0));
    canvas.FrameRect({0, 0, 20, 10});
    EXPECT_EQ(canvas.Pixels(0, 5), RGB(255, 0, 0));
    EXPECT_EQ(canvas.Pixels(19, 9), RGB(255, 0, 0));
    EXPECT_EQ(canvas.Pixels(5, 5), RGB(0, 0, 255));

    canvas.Pen().SetColor(RGB(0, 255, 0));
    canvas.MoveTo(2, 4);
    canvas.LineTo(10, 4);
    EXPECT_EQ(canvas.Pixels(6, 4), RGB(0, 255, 0));
    EXPECT_EQ(canvas.Pixels(10, 4), RGB(0, 0, 255)); // LineTo stops short of its end
    const POINT corner[] = {{15, 2}, {15, 8}};
    canvas.Pen().SetColor(RGB(255, 255, 0)); // a new pen while the old one is selected
    canvas.Polyline(corner);
    EXPECT_EQ(canvas.Pixels(15, 5), RGB(255, 255, 0));

    canvas.Font().SetHeight(-9);
    canvas.Font().SetColor(RGB(255, 255, 255));
    EXPECT_GT(canvas.TextExtent(L"Wg").cx, 0);
    canvas.Brush().SetStyle(bsClear);
    RECT text{2, 0, 20, 10};
    EXPECT_GT(canvas.DrawText(L"██", text, DT_SINGLELINE | DT_NOPREFIX), 0);
}

TEST(Canvas, StretchDropsPixelsInsteadOfBlending)
{
    TBitmap source(2, 1, pf24bit);
    source.Canvas().SetPixels(0, 0, RGB(255, 0, 0));
    source.Canvas().SetPixels(1, 0, RGB(0, 0, 255));
    TBitmap target(1, 1, pf24bit);
    target.Canvas().CopyRect({0, 0, 1, 1}, source.Canvas(), {0, 0, 2, 1});
    const TColor pixel = target.Canvas().Pixels(0, 0);
    EXPECT_TRUE(pixel == RGB(255, 0, 0) || pixel == RGB(0, 0, 255)) << std::hex << pixel;
    EXPECT_EQ(GetStretchBltMode(target.Canvas().Handle()), COLORONCOLOR);
}

TEST(Canvas, DrawsBitmapsAndRectangles)
{
    TBitmap picture(2, 2, pf24bit);
    picture.Canvas().SetPixels(1, 1, RGB(255, 0, 0));
    TBitmap target(8, 8, pf24bit);
    TCanvas& canvas = target.Canvas();
    canvas.Draw(3, 3, picture);
    EXPECT_EQ(canvas.Pixels(4, 4), RGB(255, 0, 0));
    EXPECT_EQ(canvas.Pixels(5, 5), RGB(0, 0, 0));
    canvas.StretchDraw({0, 0, 8, 8}, picture);
    EXPECT_EQ(canvas.Pixels(7, 7), RGB(255, 0, 0));
    EXPECT_EQ(canvas.Pixels(0, 0), RGB(0, 0, 0));
    canvas.Pen().SetColor(RGB(0, 0, 255));
    canvas.Brush().SetColor(RGB(0, 255, 0));
    canvas.Rectangle({1, 1, 6, 6});
    EXPECT_EQ(canvas.Pixels(1, 3), RGB(0, 0, 255));
    EXPECT_EQ(canvas.Pixels(3, 3), RGB(0, 255, 0));
}

TEST(Canvas, GivesBackWhatItSelected)
{
    gdi::MemoryDC dc;
    const HGDIOBJ originalPen = GetCurrentObject(dc.Get(), OBJ_PEN);
    const HGDIOBJ originalFont = GetCurrentObject(dc.Get(), OBJ_FONT);
    {
        TCanvas canvas(dc.Get());
        canvas.LineTo(1, 1);
        canvas.TextExtent(L"x");
        EXPECT_NE(GetCurrentObject(dc.Get(), OBJ_PEN), originalPen);
        canvas.Font().SetName(L"Arial"); // dropped while selected: deselected first
        canvas.TextExtent(L"x");
    }
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_PEN), originalPen);
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_FONT), originalFont);
}

TEST(GdiObjects, SelectionRestoresIntoItsOwnDcOnly)
{
    gdi::MemoryDC dc;
    gdi::Brush brush(CreateSolidBrush(RGB(1, 2, 3)));
    const HGDIOBJ original = GetCurrentObject(dc.Get(), OBJ_BRUSH);
    {
        gdi::Selection selected(dc.Get(), brush.Get());
        EXPECT_TRUE(selected.Selected());
        EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BRUSH), brush.Get());
    }
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BRUSH), original);
    gdi::Selection intoNothing(nullptr, brush.Get());
    EXPECT_FALSE(intoNothing.Selected());
}

TEST(GdiObjects, OwnersCountWhatTheyHold)
{
    const long before = gdi::LiveHandles();
    {
        gdi::Pen pen(CreatePen(PS_SOLID, 1, 0));
        gdi::MemoryDC dc;
        EXPECT_EQ(gdi::LiveHandles(), before + 2);
        gdi::Pen moved = std::move(pen);
        EXPECT_EQ(gdi::LiveHandles(), before + 2);
        const HPEN released = moved.Release();
        EXPECT_EQ(gdi::LiveHandles(), before + 1);
        DeleteObject(released);
    }
    EXPECT_EQ(gdi::LiveHandles(), before);
}

TEST(Graphics, FontPublishesItsProperties)
{
    TFont font;
    EXPECT_TRUE(SetPropValue(&font, "Name", L"Arial"));
    EXPECT_TRUE(SetOrdProp(&font, "Height", -20));
    EXPECT_TRUE(SetPropValue(&font, "Style", L"[fsBold,fsItalic]"));
    EXPECT_TRUE(SetOrdProp(&font, "Color", 0x123456));
    EXPECT_TRUE(SetOrdProp(&font, "Charset", GB2312_CHARSET));
    EXPECT_EQ(font.Name(), L"Arial");
    EXPECT_EQ(font.Height(), -20);
    EXPECT_EQ(font.Style(), fsBold | fsItalic);
    EXPECT_EQ(GetOrdProp(&font, "Color"), 0x123456);
    EXPECT_EQ(GetOrdProp(&font, "Size"), 20 * 72 / TFont::PixelsPerInch());
    EXPECT_EQ(GetOrdProp(&font, "Charset"), GB2312_CHARSET);
    LOGFONTW made{};
    ASSERT_TRUE(GetObjectW(font.Handle(), sizeof(made), &made));
    EXPECT_EQ(made.lfHeight, -20);
    EXPECT_EQ(made.lfWeight, FW_BOLD);
    EXPECT_TRUE(made.lfItalic);
    EXPECT_EQ(made.lfCharSet, GB2312_CHARSET);
}

TEST(Graphics, SystemColoursResolveWhenPainting)
{
    EXPECT_EQ(ColorToRGB(clBtnFace), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(ColorToRGB(0x00123456), 0x123456u);
    EXPECT_TRUE(IsSystemColour(clWindow));
    EXPECT_FALSE(IsSystemColour(clFuchsia));
}

} // namespace
