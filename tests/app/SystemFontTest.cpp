// The fonts the system draws menus, dialogs, list views, message boxes and
// captions with must show Chinese and Latin text whole: a glyph that loses a
// stroke turns one character into another (电 into 中, 于 into 十), and users
// misread their own file names. Each character of a table of look-alikes is
// drawn in each system font and compared with the same face drawn four times
// as large and scaled down, which no small bitmap strike or hinting takes
// part in.
#include "framework/GdiObjects.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// Pairs that differ by a stroke or two.
const wchar_t kLookAlikes[][3] = {
    L"电中", L"示六", L"于十", L"皮反", L"肤夫", L"影景", L"oa",
};
// Marks that vanish easily at the edge of a cell, or that a face without
// them leaves blank.
constexpr wchar_t kMarks[] = L"_-“”";

// Ink of one character: true where the pixel is closer to the text colour
// than to the background.
struct TInk {
    int Width = 0;
    int Height = 0;
    std::vector<bool> Dots;
    bool At(int X, int Y) const
    {
        return X >= 0 && Y >= 0 && X < Width && Y < Height && Dots[static_cast<size_t>(Y * Width + X)];
    }
    int Count() const { return static_cast<int>(std::count(Dots.begin(), Dots.end(), true)); }
};

// The character drawn in Font, black on white, in a cell as tall as the
// font's line and as wide as its advance.
TInk Render(const LOGFONTW& Font, wchar_t Character)
{
    const gdi::Font font(CreateFontIndirectW(&Font));
    const gdi::ClientDC screen(nullptr);
    TEXTMETRICW metrics{};
    SIZE extent{};
    {
        const gdi::Selection selected(screen.Get(), font.Get());
        GetTextMetricsW(screen.Get(), &metrics);
        GetTextExtentPoint32W(screen.Get(), &Character, 1, &extent);
    }
    TInk ink;
    ink.Width = std::max<int>(extent.cx, 1);
    ink.Height = metrics.tmHeight;
    const gdi::MemoryDC dc(screen.Get());
    const gdi::Bitmap bitmap(CreateCompatibleBitmap(screen.Get(), ink.Width, ink.Height));
    const gdi::Selection selectedBitmap(dc.Get(), bitmap.Get());
    {
        const gdi::Selection selectedFont(dc.Get(), font.Get());
        PatBlt(dc.Get(), 0, 0, ink.Width, ink.Height, WHITENESS);
        SetTextColor(dc.Get(), RGB(0, 0, 0));
        SetBkMode(dc.Get(), TRANSPARENT);
        TextOutW(dc.Get(), 0, 0, &Character, 1);
    }
    // Dark on white: ink where a quarter of the pixel is covered, so an
    // antialiased stroke that falls between two columns still counts.
    for (int y = 0; y < ink.Height; ++y)
        for (int x = 0; x < ink.Width; ++x)
            ink.Dots.push_back(GetBValue(GetPixel(dc.Get(), x, y)) < 0xC0);
    return ink;
}

// The character as the face draws it four times as large, each 4 x 4 block
// read as ink when three eighths of it is: what the small glyph should look
// like.
TInk Reference(LOGFONTW Font, wchar_t Character)
{
    constexpr int kScale = 4;
    Font.lfHeight *= kScale;
    Font.lfWidth *= kScale;
    const TInk large = Render(Font, Character);
    TInk small;
    small.Width = (large.Width + kScale - 1) / kScale;
    small.Height = (large.Height + kScale - 1) / kScale;
    for (int y = 0; y < small.Height; ++y) {
        for (int x = 0; x < small.Width; ++x) {
            int dots = 0;
            for (int dy = 0; dy < kScale; ++dy)
                for (int dx = 0; dx < kScale; ++dx)
                    dots += large.At(x * kScale + dx, y * kScale + dy);
            small.Dots.push_back(dots * 8 >= kScale * kScale * 3);
        }
    }
    return small;
}

// How far apart two inks are: the share of their ink that does not overlap,
// with the better of the shifts by up to one pixel either way (rounding
// moves a glyph within its cell).
double Distance(const TInk& A, const TInk& B)
{
    const int total = std::max(1, A.Count() + B.Count());
    const int width = std::max(A.Width, B.Width);
    const int height = std::max(A.Height, B.Height);
    int best = total;
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            int differing = 0;
            for (int y = -1; y <= height; ++y)
                for (int x = -1; x <= width; ++x)
                    differing += A.At(x, y) != B.At(x + dx, y + dy);
            best = std::min(best, differing);
        }
    }
    return static_cast<double>(best) / total;
}

std::string Narrow(const std::wstring& Text)
{
    std::string narrow(static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, Text.c_str(), -1, nullptr, 0,
                                                                 nullptr, nullptr)),
                       '\0');
    WideCharToMultiByte(CP_UTF8, 0, Text.c_str(), -1, narrow.data(), static_cast<int>(narrow.size()),
                        nullptr, nullptr);
    narrow.pop_back();
    return narrow;
}

struct TSystemFont {
    std::string Use;
    LOGFONTW Font;
};

LOGFONTW FaceAt(const wchar_t* Face, LONG Height, BYTE Charset)
{
    LOGFONTW font{};
    font.lfHeight = Height;
    font.lfCharSet = Charset;
    lstrcpynW(font.lfFaceName, Face, LF_FACESIZE);
    return font;
}

// Every font the program's windows and the system's dialogs draw text in.
std::vector<TSystemFont> SystemFonts()
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    EXPECT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    ICONMETRICSW icons{};
    icons.cbSize = sizeof icons;
    EXPECT_TRUE(SystemParametersInfoW(SPI_GETICONMETRICS, sizeof icons, &icons, 0));
    LOGFONTW gui{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof gui, &gui);
    // A dialog template's 8-point MS Shell Dlg at 96 dots per inch.
    const gdi::ClientDC screen(nullptr);
    const LONG dialogHeight = -MulDiv(8, GetDeviceCaps(screen.Get(), LOGPIXELSY), 72);
    return {
        {"caption", metrics.lfCaptionFont},
        {"small caption", metrics.lfSmCaptionFont},
        {"menu", metrics.lfMenuFont},
        {"status bar", metrics.lfStatusFont},
        {"message box", metrics.lfMessageFont},
        {"icons and list views", icons.lfFont},
        {"default GUI", gui},
        {"dialogs", FaceAt(L"MS Shell Dlg", dialogHeight, DEFAULT_CHARSET)},
        {"the main window", FaceAt(L"宋体", -12, GB2312_CHARSET)},
    };
}

std::string Describe(const TSystemFont& System, wchar_t Character)
{
    return System.Use + " font (" + Narrow(System.Font.lfFaceName) + ", " +
           std::to_string(System.Font.lfHeight) + "): " + Narrow(std::wstring(1, Character));
}

TEST(SystemFontTest, LookAlikeCharactersKeepEveryStroke)
{
    for (const TSystemFont& system : SystemFonts()) {
        for (const wchar_t* pair : kLookAlikes) {
            for (int side = 0; side < 2; ++side) {
                const wchar_t character = pair[side];
                const wchar_t other = pair[1 - side];
                const std::string what = Describe(system, character);
                const TInk drawn = Render(system.Font, character);
                const double own = Distance(drawn, Reference(system.Font, character));
                const double alike = Distance(drawn, Reference(system.Font, other));
                EXPECT_LT(own, alike) << what << " looks more like " << Narrow(std::wstring(1, other));
                EXPECT_LT(own, 0.45) << what << " differs from the face drawn large";
                EXPECT_NE(drawn.Dots, Render(system.Font, other).Dots)
                    << what << " draws the same as " << Narrow(std::wstring(1, other));
            }
        }
    }
}

TEST(SystemFontTest, MarksDrawInkAndDifferFromEachOther)
{
    for (const TSystemFont& system : SystemFonts()) {
        std::vector<TInk> drawn;
        for (const wchar_t* mark = kMarks; *mark; ++mark) {
            drawn.push_back(Render(system.Font, *mark));
            EXPECT_GT(drawn.back().Count(), 0) << Describe(system, *mark) << " draws no ink";
            for (size_t before = 0; before + 1 < drawn.size(); ++before)
                EXPECT_NE(drawn[before].Dots, drawn.back().Dots)
                    << Describe(system, *mark) << " draws the same as " << Narrow(std::wstring(1, kMarks[before]));
        }
    }
}

} // namespace
