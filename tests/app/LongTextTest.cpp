// Texts wider than their place in the main window: the job list's path
// column, the status bar and the status label. Each is read back from the
// screen and searched for the ink of the part that must stay visible (the
// file name, or the ellipsis that says the text goes on), drawn on its own
// in the control's font.
#include "MainTestFixture.h"

#include "framework/GdiObjects.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

namespace {

using TLongTexts = MainWindowTest;

// Where a text's pixels are ink, black on white in one font.
struct TInk {
    int Width = 0;
    int Height = 0;
    std::vector<bool> Mask;
};

TInk InkOf(const std::wstring& Text, HFONT Font)
{
    const gdi::ClientDC screen(nullptr);
    const gdi::MemoryDC dc(screen.Get());
    const gdi::Selection font(dc.Get(), Font);
    SIZE size{};
    GetTextExtentPoint32W(dc.Get(), Text.c_str(), static_cast<int>(Text.size()), &size);
    const gdi::Bitmap bitmap(CreateCompatibleBitmap(screen.Get(), size.cx, size.cy));
    const gdi::Selection selected(dc.Get(), bitmap.Get());
    RECT all{0, 0, size.cx, size.cy};
    FillRect(dc.Get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetTextColor(dc.Get(), RGB(0, 0, 0));
    SetBkMode(dc.Get(), TRANSPARENT);
    TextOutW(dc.Get(), 0, 0, Text.c_str(), static_cast<int>(Text.size()));
    TInk ink{size.cx, size.cy, {}};
    for (int y = 0; y < size.cy; ++y)
        for (int x = 0; x < size.cx; ++x)
            ink.Mask.push_back(GetPixel(dc.Get(), x, y) != RGB(255, 255, 255));
    return ink;
}

// The left edge at which the ink appears in Area of the form's client
// pixels: one colour on every ink pixel and on no other pixel of its box.
std::optional<int> FindInk(const std::vector<COLORREF>& Pixels, const RECT& Area, const TInk& Ink)
{
    const int width = Area.right - Area.left;
    const int height = Area.bottom - Area.top;
    const auto first = std::find(Ink.Mask.begin(), Ink.Mask.end(), true);
    if (first == Ink.Mask.end())
        return std::nullopt;
    const int firstAt = static_cast<int>(first - Ink.Mask.begin());
    for (int top = 0; top + Ink.Height <= height; ++top) {
        for (int left = 0; left + Ink.Width <= width; ++left) {
            const auto pixel = [&](int At) {
                return Pixels[static_cast<std::size_t>((top + At / Ink.Width) * width + left + At % Ink.Width)];
            };
            const COLORREF colour = pixel(firstAt);
            bool match = true;
            for (int at = 0; match && at < Ink.Width * Ink.Height; ++at)
                match = (pixel(at) == colour) == Ink.Mask[static_cast<std::size_t>(at)];
            if (match)
                return left;
        }
    }
    return std::nullopt;
}

RECT OnForm(HWND Window, HWND Form, RECT Area)
{
    MapWindowPoints(Window, Form, reinterpret_cast<POINT*>(&Area), 2);
    return Area;
}

HFONT FontOf(HWND Window)
{
    return reinterpret_cast<HFONT>(SendMessageW(Window, WM_GETFONT, 0, 0));
}

} // namespace

// A path too long for its place keeps its file name, at the place's right
// end; a long message without a path ends in an ellipsis there.
TEST_F(TLongTexts, KeepTheirEndsInTheListTheStatusBarAndTheStatusLabel)
{
    const std::wstring deep = L"一个很长很长的文件夹名称\\又一个很长很长的文件夹名称\\";
    const std::wstring first = MakeSource(deep + L"clip-end.avi");
    AddFile(first);
    AddFile(MakeSource(L"x\\clip-end.avi"));
    Form->OutPath = OutDir + L"\\";
    Convert();
    ASSERT_NE(Form->StatusBar1->SimpleText().find(L"clip-end (2).mp4"), std::wstring::npos);

    const HWND form = Form->Handle();
    const HWND list = Form->lvwFiles->Handle();
    const HWND bar = Form->StatusBar1->Handle();
    RECT row{};
    row.left = LVIR_LABEL;
    ASSERT_TRUE(SendMessageW(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row)));
    RECT barArea{};
    GetClientRect(bar, &barArea);
    struct TCase {
        const char* Place;
        RECT Area;
        std::wstring Shown;
        HFONT Font;
        // The shown part is the last thing drawn, at the place's right end
        // (within the widest character, as whole characters are left out).
        bool AtEnd;
    };
    const auto expectShown = [this](const TCase& Case) {
        const TInk ink = InkOf(Case.Shown, Case.Font);
        const TInk widest = InkOf(L"中", Case.Font);
        std::optional<int> at;
        EXPECT_TRUE(PumpUntil([&] { return (at = FindInk(ClientPixels(Case.Area), Case.Area, ink)).has_value(); }))
            << Case.Place << " does not show " << Narrow(Case.Shown);
        if (at && Case.AtEnd) {
            EXPECT_GE(*at + ink.Width, Case.Area.right - Case.Area.left - widest.Width)
                << Case.Place << ": " << Narrow(Case.Shown) << " is not at the right end";
        }
    };
    const TCase renamed[] = {
        {"the list's path column", OnForm(list, form, row), L"clip-end.avi", FontOf(list), true},
        {"the status bar's rename note", OnForm(bar, form, barArea), L"clip-end (2).mp4",
         Form->StatusBar1->Font()->Handle(), true},
    };
    for (const TCase& c : renamed)
        expectShown(c);

    // While it converts, the label names the job's file after the start of
    // its text; at the end, a failure reason too long to go with the path
    // leaves the label its start and the status bar its ellipsis.
    Form->imgClearClick(nullptr);
    AddFile(MakeSource(deep + L"e.avi"));
    SetScript(L"FFMPEG", L"hang");
    Form->imgConvertClick(nullptr);
    ASSERT_TRUE(PumpUntil([this] { return Form->DosCommand1->IsRunning(); }));
    expectShown({"the status label while converting", BoundsOnForm(Form->lblInfo), L"\\e.avi",
                 Form->lblInfo->Font()->Handle(), true});
    expectShown({"the status label's start", BoundsOnForm(Form->lblInfo), L"正在转换",
                 Form->lblInfo->Font()->Handle(), false});
    Form->DosCommand1->Stop();
    ASSERT_TRUE(PumpUntil([this] { return !Form->Converting; }));

    SetScript(L"FFMPEG", L"print:ffmpeg.exe: Invalid data found when processing input, the stream ends "
                         L"before its header says it should|exit:1");
    Convert();
    const TCase failed[] = {
        {"the status label's ellipsis", BoundsOnForm(Form->lblInfo), L"...", Form->lblInfo->Font()->Handle(), true},
        {"the status label's start", BoundsOnForm(Form->lblInfo), L"转换完成", Form->lblInfo->Font()->Handle(), false},
        {"the status bar's ellipsis", OnForm(bar, form, barArea), L"...", Form->StatusBar1->Font()->Handle(), true},
    };
    for (const TCase& c : failed)
        expectShown(c);
}
