// TSkinData under Wine: the default skin built into the program, the light
// skin from disk, and small fixture skins for the loader's rules.
#include "SkinTestFiles.h"
#include "framework/Forms.h"
#include "skin/data/SkinManagerLink.h"
#include "skin/data/WinSkinData.h"
#include "app/MainWindowSkin.h"
#include "skin/data/resources/SkinResources.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

std::vector<std::uint8_t> StreamOf(std::span<const std::uint8_t> skinFile)
{
    const auto size = static_cast<std::uint32_t>(skinFile.size());
    std::vector<std::uint8_t> data;
    data.reserve(4 + skinFile.size());
    for (int i = 0; i < 4; ++i)
        data.push_back(static_cast<std::uint8_t>(size >> (8 * i)));
    for (std::uint8_t byte : skinFile)
        data.push_back(byte);
    return data;
}

std::unique_ptr<TSkinData> Loaded(std::span<const std::uint8_t> skinFile)
{
    auto data = std::make_unique<TSkinData>(nullptr);
    data->ReadSkinStream(StreamOf(skinFile));
    return data;
}

TColor Pixel(const TBitmap& bitmap, int x, int y)
{
    return bitmap.Canvas().Pixels(x, y);
}

// Message boxes are answered without a window and remembered.
class SkinData : public ::testing::Test {
protected:
    void SetUp() override
    {
        FPrevious = Application->SetMessageBoxFunc([this](HWND, const std::wstring& text, const std::wstring&, UINT) {
            Messages.push_back(text);
            return IDOK;
        });
    }
    void TearDown() override { Application->SetMessageBoxFunc(FPrevious); }

    std::vector<std::wstring> Messages;

private:
    TMessageBoxFunc FPrevious;
};

TEST_F(SkinData, DefaultSkinIsBuiltIntoTheProgram)
{
    ASSERT_FALSE(DefaultSkinFile().empty());
    const auto data = Loaded(DefaultSkinFile());
    EXPECT_FALSE(data->SkinLoading());
    EXPECT_EQ(data->SkinName(), "Vidkiln Steel");
    EXPECT_EQ(data->SkinColor(scButtonFace), 0x6B6A69); // red 105, green 106, blue 107
    EXPECT_TRUE(data->SkinColors()[scButtonFace].Given);
    EXPECT_EQ(data->Title()->ActiveText, 0xFFFFFF);
    EXPECT_NE(data->FaceBrush(), nullptr);
    EXPECT_TRUE(Messages.empty());
}

TEST_F(SkinData, DefaultSkinCaptionButtonsThenMdiButtons)
{
    const auto data = Loaded(DefaultSkinFile());
    const auto& buttons = data->CaptionButtons();
    ASSERT_EQ(buttons.size(), 6u + 3u);
    const int actions[] = {0, 1, 1, 2, 4, 3, 7, 8, 9};
    for (std::size_t i = 0; i < buttons.size(); ++i)
        EXPECT_EQ(buttons[i]->Action, actions[i]) << i;
    EXPECT_EQ(buttons[0]->Name, "BUTTON0");
    EXPECT_EQ(buttons[0]->FrameCount, 4);
    EXPECT_EQ(buttons[0]->Bitmap->Width(), 4 * 28);
    // Help takes the place remembered from the maximise button (Action 1, Visibility 2).
    EXPECT_EQ(buttons[4]->XCoord, buttons[1]->XCoord);
    for (std::size_t i = 6; i < 9; ++i) {
        EXPECT_EQ(buttons[i]->Align, 100);
        EXPECT_EQ(buttons[i]->Visibility, 100);
        EXPECT_EQ(buttons[i]->FrameCount, 4);
        EXPECT_EQ(buttons[i]->Bitmap->Width(), 4 * 16);
    }
}

TEST_F(SkinData, DefaultSkinFrameCountsAfterLoading)
{
    const auto data = Loaded(DefaultSkinFile());
    const TSkinData& d = *data;
    const std::pair<const TDataSkinObject*, int> expected[] = {
        {d.Left(), 2}, {d.Right(), 2}, {d.Top(), 2}, {d.Bottom(), 2}, {d.Title(), 2}, {d.Buttons(), 5},
        {d.MenuBar(), 2}, {d.Progress(), 2}, {d.GroupBoxEdge(), 2}, {d.GroupBox(), 1}, {d.Tabs(), 5},
        {d.StatusBarEdges(), 3}, {d.TabPane(), 1}, {d.ToolBars(), 5}, {d.ComboButton(), 4}, {d.ExtraImages(), 5},
        {d.Headerbar(), 2}, {d.MenuItem(), 5}, {d.MenuBackground(), 1}, {d.Scrollbar(), 23}, {d.HorzScroll(), 4},
        {d.VertScroll(), 4}, {d.HorzScrollThumb(), 3}, {d.VertScrollThumb(), 3}, {d.TrackbarThumbHorz(), 5},
        {d.TrackbarThumbVert(), 5}, {d.TrackbarThumbLeft(), 5}, {d.TrackbarThumbRight(), 5},
        {d.TrackbarThumbUp(), 5}, {d.TrackbarThumbDown(), 5}, {d.UpDownHorz(), 8}, {d.UpDownVert(), 8},
        {d.Track(), 1}, {d.TrackVert(), 1}, {d.Toolbar(), 1}, {d.ComboxArrow(), 4}, {d.ProgressChunk(), 0}};
    for (const auto& [object, frames] : expected) {
        ASSERT_NE(object, nullptr) << frames;
        EXPECT_FALSE(object->Bitmap->Empty()) << object->Name;
        if (frames > 0) {
            EXPECT_EQ(object->FrameCount, frames) << object->Name;
        }
        if (object != d.Progress() && frames > 0) {
            EXPECT_EQ(object->Bitmap->Width() % frames, 0) << object->Name;
        }
    }
    EXPECT_EQ(d.Buttons()->RadioButtonFrame, 5);
    EXPECT_EQ(d.Buttons()->CheckButtonFrame, 5);
    EXPECT_EQ(d.Buttons()->RadioButton->Width(), 65);
    EXPECT_EQ(d.SunkEdge(), nullptr);
    EXPECT_FALSE(d.Tabs()->Bitmap2->Empty());
    EXPECT_FALSE(d.UpDownVert()->Bitmap2->Empty());
}

TEST_F(SkinData, BuiltInTrackWhenTheSkinHasNone)
{
    const auto data = Loaded(DefaultSkinFile());
    for (const auto& [track, width, height] :
         {std::tuple{data->Track(), 16, 4}, std::tuple{data->TrackVert(), 4, 16}}) {
        ASSERT_NE(track, nullptr);
        EXPECT_EQ(track->Bitmap->Width(), width);
        EXPECT_EQ(track->Bitmap->Height(), height);
        EXPECT_EQ(track->Margins().left, 3);
        EXPECT_EQ(track->Margins().bottom, 3);
        EXPECT_EQ(track->FrameCount, 1);
    }
}

TEST_F(SkinData, ComboxArrowIsTheComboButtonOnTheFaceColour)
{
    const auto data = Loaded(DefaultSkinFile());
    const TBitmap& button = *data->ComboButton()->Bitmap;
    const TBitmap& arrow = *data->ComboxArrow()->Bitmap;
    ASSERT_EQ(arrow.Width(), button.Width());
    ASSERT_EQ(Pixel(button, 0, 0), clFuchsia); // the button's rounded corner
    EXPECT_EQ(Pixel(arrow, 0, 0), data->SkinColor(scButtonFace));
    EXPECT_EQ(Pixel(arrow, 8, 8), Pixel(button, 8, 8));
    // Bitmap2 is the button mirrored left to right.
    const TBitmap& mirrored = *data->ComboButton()->Bitmap2;
    EXPECT_EQ(Pixel(mirrored, 0, 3), Pixel(button, button.Width() - 1, 3));
}

TEST_F(SkinData, LightSkinLoadsFromDiskAndComposesTheComboFace)
{
    TSkinData data(nullptr);
    data.SetSkinFile(Utf8ToWide(VIDKILN_LIGHT_SKIN_FILE));
    ASSERT_FALSE(data.SkinLoading());
    EXPECT_EQ(data.SkinName(), "Vidkiln Light");
    EXPECT_EQ(data.Track()->Bitmap->Width(), 24); // the skin's own track
    EXPECT_EQ(data.Progress()->FrameCount, 1);     // Style 1
    const int arrow = GetSystemMetrics(SM_CXHSCROLL) + 2;
    TDataSkinBorder& combo = *data.ComboButton();
    EXPECT_EQ(combo.Style, 2);
    EXPECT_EQ(combo.Bitmap->Width(), 50 * 4);
    EXPECT_EQ(combo.Bitmap->Height(), 21);
    EXPECT_EQ(combo.LeftWidth, 2);
    EXPECT_EQ(combo.RightWidth, arrow + 2);
    // The edit area of every frame is see-through.
    EXPECT_EQ(Pixel(*combo.Bitmap, 10, 10), clFuchsia);
    const TDataSkinObject& sunk = *data.SunkEdge();
    EXPECT_EQ(sunk.LeftWidth, arrow + 2);
    EXPECT_EQ(sunk.RightWidth, 2);
    EXPECT_EQ(Pixel(*sunk.Bitmap, 0, 10), Pixel(*combo.Bitmap, combo.Bitmap->Width() - 1, 10));
    EXPECT_EQ(data.ComboxArrow()->Bitmap->Width(), 17 * 4);
    EXPECT_EQ(data.ComboxArrow()->Bitmap->Height(), 17);
    EXPECT_EQ(data.ComboxArrow()->FrameCount, 4);
}

TEST_F(SkinData, MissingSkinFileIsIgnored)
{
    TSkinData data(nullptr);
    data.SetSkinFile(L"Z:\\no\\such\\skin.skn");
    EXPECT_TRUE(data.SkinLoading());
    EXPECT_TRUE(Messages.empty());
}

TEST_F(SkinData, MdiStripIsCutIntoThreeButtons)
{
    const auto data = Loaded(SkinFileOf("[MDICONTROLS]\r\nImage=mdi.bmp\r\n", {{"mdi.bmp", FlatBmp(156, 13)}}));
    const auto& buttons = data->CaptionButtons();
    ASSERT_EQ(buttons.size(), 3u);
    const int x[] = {51, 34, 17};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(buttons[static_cast<std::size_t>(i)]->Bitmap->Width(), 52);
        EXPECT_EQ(buttons[static_cast<std::size_t>(i)]->Bitmap->Height(), 13);
        EXPECT_EQ(buttons[static_cast<std::size_t>(i)]->XCoord, x[i]);
        EXPECT_EQ(buttons[static_cast<std::size_t>(i)]->Action, 7 + i);
    }
}

TEST_F(SkinData, CaptionButtonFrameCountsAndVisibility)
{
    const std::string ini =
        "[Button0]\r\nButtonImage=wide.bmp\r\n"
        "[Button1]\r\nButtonImage=narrow.bmp\r\n"
        "[Button2]\r\nAction=-1\r\nButtonImage=narrow.bmp\r\nVisibility=3\r\n"
        "[Button3]\r\nAction=-1\r\nVisibility=0\r\nButtonImage=narrow.bmp\r\n"
        "[Button4]\r\nAction=3\r\nButtonImage=narrow.bmp\r\n"
        "[Button5]\r\nButtonImage=narrow.BMP\r\nframe=2\r\n"
        "[Buttons]\r\nBitmap=wide.bmp\r\n";
    const auto data = Loaded(SkinFileOf(ini, {{"wide.bmp", FlatBmp(126, 21)}, {"narrow.bmp", FlatBmp(60, 21)}}));
    const auto& buttons = data->CaptionButtons();
    ASSERT_EQ(buttons.size(), 5u + 3u); // Button2 (Action -1, Visibility 3) is skipped
    struct TCase {
        const char* Name;
        int Frames;
        int Visibility1;
        bool Image;
    };
    const TCase cases[] = {{"BUTTON0", 6, 0, true}, {"BUTTON1", 3, 0, true}, {"BUTTON3", 6, -1, true},
                           {"BUTTON4", 3, 0, false}, {"BUTTON5", 2, 0, false}};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(buttons[i]->Name, cases[i].Name);
        EXPECT_EQ(buttons[i]->FrameCount, cases[i].Frames) << cases[i].Name;
        EXPECT_EQ(buttons[i]->Visibility1, cases[i].Visibility1) << cases[i].Name;
        EXPECT_EQ(!buttons[i]->Bitmap->Empty(), cases[i].Image) << cases[i].Name;
    }
}

TEST_F(SkinData, SectionRulesOfTheLoader)
{
    const std::string ini =
        "[Tab.Pane]\r\nImage=pane.bmp\r\nLeftWidth=2\r\nTopHeight=2\r\nRightWidth=4\r\nBottomHeight=6\r\n"
        "[Headerbar]\r\nImage=pane.bmp\r\n"
        "[MenuItem]\r\nImage=pane.bmp\r\nFrame=2\r\n"
        "[Progress.Chunk]\r\nImage=pane.bmp\r\n"
        "[ToolBars]\r\nImage=Skins\\Pane.BMP\r\nTile=2\r\n"
        "[Buttons]\r\nCheckButton=check.bmp\r\nRadioButton=radio.bmp\r\n"
        "[ComboButton]\r\nImage=pane.bmp\r\n";
    const auto data = Loaded(SkinFileOf(
        ini, {{"pane.bmp", FlatBmp(20, 10)}, {"check.bmp", FlatBmp(64, 16)}, {"radio.bmp", FlatBmp(39, 13)}}));
    const RECT pane = data->TabPane()->Margins();
    EXPECT_EQ(pane.left, 2);
    EXPECT_EQ(pane.top, 2);
    EXPECT_EQ(pane.right, 4);
    EXPECT_EQ(pane.bottom, 4);
    EXPECT_EQ(data->Headerbar()->FrameCount, 5);      // no Frame key
    EXPECT_EQ(data->MenuItem()->FrameCount, 5);       // whatever its Frame key says
    EXPECT_EQ(data->ProgressChunk()->FrameCount, 1);  // kept, but never below one
    // A value that is not a ".bmp" name still makes the object, with no image.
    ASSERT_NE(data->ToolBars(), nullptr);
    EXPECT_TRUE(data->ToolBars()->Bitmap->Empty());
    EXPECT_EQ(data->ToolBars()->Tile, 0);
    EXPECT_EQ(data->Buttons()->CheckButtonFrame, 4);  // 64 / 16
    EXPECT_EQ(data->Buttons()->RadioButtonFrame, 4);  // 39 / 13 is 3, at least 4
    EXPECT_EQ(data->Progress(), nullptr);
    EXPECT_EQ(data->FindSkinObject("tabpane"), data->TabPane());
    EXPECT_EQ(data->FindSkinObject("Tab.Pane"), data->TabPane());
}

// Every margin a skin gives lies between 0 and its image's frame size once
// loaded, whatever the description says: negative, zero, past the image or
// INT_MAX. The image is 40 × 20.
TEST_F(SkinData, HostileMarginsAreClampedOnEveryObjectKind)
{
    struct TValues {
        const char* Left;
        const char* Top;
        const char* Right;
        const char* Bottom;
        int Number[4];
    };
    const TValues sets[] = {
        {"-5", "2147483647", "1000", "0", {-5, 2147483647, 1000, 0}},
        {"2147483647", "-2147483648", "3", "21", {2147483647, -2147483647 - 1, 3, 21}},
        {"0", "7", "-1", "0x7FFFFFFF", {0, 7, -1, 2147483647}},
    };
    for (const TValues& v : sets) {
        SCOPED_TRACE(testing::Message() << v.Left << ", " << v.Top << ", " << v.Right << ", " << v.Bottom);
        auto margins = [&](const std::string& section, const std::string& imageKey, const std::string& extra) {
            return "[" + section + "]\r\n" + imageKey + "=img.bmp\r\nLeftWidth=" + v.Left + "\r\nTopHeight=" +
                   v.Top + "\r\nRightWidth=" + v.Right + "\r\nBottomHeight=" + v.Bottom + "\r\n" + extra;
        };
        std::string ini = std::string("[Personality]\r\nLeft=img.bmp\r\nTop=img.bmp\r\nTextBack=img.bmp\r\nmenuBar=img.bmp\r\n") +
                          "LeftFrame=2\r\nTopFrame=2\r\nLeftTopHeight=" + v.Top + "\r\nLeftBotHeight=" + v.Bottom +
                          "\r\nTopTopHeight=" + v.Left + "\r\nTopBotHeight=" + v.Right + "\r\nTileLeftMenu=" + v.Left +
                          "\r\nTileRightMenu=" + v.Right + "\r\nTXTBackleft=" + v.Left + "\r\nTXTBackRight=" + v.Right +
                          "\r\nTextShift=" + v.Left + "\r\nTextShiftVert=" + v.Top + "\r\nTextRightClip=" + v.Right + "\r\n";
        ini += margins("Buttons", "Bitmap", "") + margins("Progress", "Bitmap", "");
        for (const char* section : {"Tabs", "Tab.Pane", "HorzScroll", "GroupBox", "UpDown.Vert", "ComboButton", "Track"})
            ini += margins(section, "Image", "");
        ini += margins("Headerbar", "Image", "Frame=-3\r\n");
        const auto data = Loaded(SkinFileOf(ini, {{"img.bmp", FlatBmp(40, 20, 0x336699)}}));
        const TSkinData& d = *data;

        // Each object with the size of its frame 1: which sides clamp to what.
        struct TCase {
            const TDataSkinObject* Object;
            int FrameWidth, FrameHeight;
        };
        const TCase cases[] = {
            {d.Left(), 20, 20},      // two frames side by side
            {d.Top(), 40, 10},       // two frames stacked
            {d.MenuBar(), 40, 10},   // two frames stacked
            {d.Buttons(), 8, 20},    // five frames
            {d.Progress(), 20, 20},  // Style 0: two frames
            {d.Tabs(), 8, 20},       // five frames
            {d.TabPane(), 4, 4},     // never more than 4
            {d.HorzScroll(), 10, 20},
            {d.GroupBox(), 40, 20},
            {d.UpDownVert(), 5, 20},
            {d.ComboButton(), 10, 20},
            {d.Track(), 40, 20},     // the skin's own
            {d.Headerbar(), 40, 20}, // Frame -3 counts as one frame
        };
        auto fit = [](int value, int size) { return std::clamp(value, 0, size); };
        for (const TCase& c : cases) {
            ASSERT_NE(c.Object, nullptr);
            SCOPED_TRACE(c.Object->Name);
            const bool border = c.Object == d.Left();
            const bool horizontalOnly = c.Object == d.Top() || c.Object == d.MenuBar();
            const RECT m = c.Object->Margins();
            EXPECT_EQ(m.left, border ? 0 : fit(v.Number[0], c.FrameWidth));
            EXPECT_EQ(m.top, horizontalOnly ? 0 : fit(v.Number[1], c.FrameHeight));
            EXPECT_EQ(m.right, border ? 0 : fit(v.Number[2], c.FrameWidth));
            EXPECT_EQ(m.bottom, horizontalOnly ? 0 : fit(v.Number[3], c.FrameHeight));
        }
        // The caption background's caps clamp to its width; the caption's
        // text offsets keep their sign and stay far from overflowing.
        EXPECT_EQ(d.Title()->TXTBackleft, fit(v.Number[0], 40));
        EXPECT_EQ(d.Title()->TXTBackRight, fit(v.Number[2], 40));
        EXPECT_EQ(d.Title()->LeftWidth, std::clamp(v.Number[0], -32768, 32768));
        EXPECT_EQ(d.Title()->TopHeight, std::clamp(v.Number[1], -32768, 32768));
    }
}

TEST_F(SkinData, MarginsOfAnObjectWithoutAnImageAreZero)
{
    const auto data = Loaded(SkinFileOf(
        "[StatusBarEdges]\r\nImage=missing.bmp\r\nLeftWidth=5\r\nTopHeight=-5\r\nRightWidth=2147483647\r\n", {}));
    ASSERT_NE(data->StatusBarEdges(), nullptr);
    const RECT m = data->StatusBarEdges()->Margins();
    EXPECT_EQ(m.left + m.top + m.right + m.bottom, 0);
}

// Painters number frames from 1 and divide by the count: a frame count
// written negative becomes 1, as one left at 0 is worked out.
TEST_F(SkinData, NegativeFrameNumbersBecomeOne)
{
    const std::string ini =
        "[Button0]\r\nButtonImage=img.bmp\r\nframe=-2\r\n"
        "[Buttons]\r\nCheckButton=img.bmp\r\nRadioButton=img.bmp\r\nRadioButtonFrame=-1\r\nCheckButtonFrame=-2147483648\r\n"
        "[Personality]\r\nLeft=img.bmp\r\nLeftFrame=-4\r\n"
        "[HorzScrollThumb]\r\nImage=img.bmp\r\nFrameCount=-3\r\n";
    const auto data = Loaded(SkinFileOf(ini, {{"img.bmp", FlatBmp(65, 13)}}));
    const std::pair<const char*, int> frames[] = {
        {"caption button", data->CaptionButtons().front()->FrameCount},
        {"RadioButtonFrame", data->Buttons()->RadioButtonFrame},
        {"CheckButtonFrame", data->Buttons()->CheckButtonFrame},
        {"LeftFrame", data->Left()->FrameCount},
        {"thumb FrameCount", data->HorzScrollThumb()->FrameCount},
    };
    for (const auto& [name, count] : frames)
        EXPECT_EQ(count, 1) << name;
}

TEST_F(SkinData, ButtonsHaveNoStyleKey)
{
    const auto data = Loaded(SkinFileOf("[Buttons]\r\nBitmap=img.bmp\r\nStyle=3\r\n", {{"img.bmp", FlatBmp(40, 20)}}));
    EXPECT_EQ(data->Buttons()->Style, 0);
}

// The combo face is composed whenever both objects exist; an object without
// an image contributes nothing, and nothing reads outside a bitmap.
TEST_F(SkinData, ComboFaceWithEitherImageEmpty)
{
    constexpr TColor kSunk = 0x336699;
    constexpr TColor kButton = 0x20C040;
    const int arrow = GetSystemMetrics(SM_CXHSCROLL) + 2;
    struct TCase {
        const char* SunkImage;
        const char* ButtonImage;
        TColor Edge;   // at (0, 10): the sunk edge's left side
        TColor Button; // in the middle of the button area
    };
    for (const TCase& c : {TCase{"missing.bmp", "button.bmp", clNone, kButton},
                           TCase{"sunk.bmp", "missing.bmp", kSunk, kSunk},
                           TCase{"missing.bmp", "missing.bmp", clNone, clNone}}) {
        SCOPED_TRACE(testing::Message() << c.SunkImage << ", " << c.ButtonImage);
        const std::string ini = std::string("[SunkEdge]\r\nImage=") + c.SunkImage + "\r\n[ComboButton]\r\nImage=" +
                                c.ButtonImage + "\r\n";
        const auto data = Loaded(SkinFileOf(ini, {{"sunk.bmp", FlatBmp(200, 21, kSunk)},
                                                  {"button.bmp", FlatBmp(80, 21, kButton)}}));
        const TDataSkinBorder& combo = *data->ComboButton();
        EXPECT_EQ(combo.Style, 2);
        ASSERT_EQ(combo.Bitmap->Width(), 50 * 4);
        ASSERT_EQ(combo.Bitmap->Height(), 21);
        for (int f = 0; f < 4; ++f) {
            const int x = 50 * f;
            EXPECT_EQ(Pixel(*combo.Bitmap, x + 10, 10), clFuchsia) << f; // the edit area
            if (c.Edge != clNone) {
                EXPECT_EQ(Pixel(*combo.Bitmap, x, 10), c.Edge) << f;
            }
            if (c.Button != clNone) {
                EXPECT_EQ(Pixel(*combo.Bitmap, x + 50 - arrow / 2, 10), c.Button) << f;
            }
        }
        EXPECT_EQ(data->SunkEdge()->Bitmap->Width(), 50 * 4);
        EXPECT_EQ(data->ComboxArrow()->Bitmap->Width(), 17 * 4);
    }
}

TEST_F(SkinData, SkinStreamWriteThenReadGivesTheSameSkin)
{
    const auto first = Loaded(DefaultSkinFile());
    const std::vector<std::uint8_t> stored = first->WriteSkinStream();
    ASSERT_EQ(stored.size(), DefaultSkinFile().size() + 4);
    TSkinData second(nullptr);
    second.ReadSkinStream(stored);
    EXPECT_EQ(second.SkinStream(), first->SkinStream());
    EXPECT_EQ(second.SkinName(), first->SkinName());
    EXPECT_EQ(second.CaptionButtons().size(), first->CaptionButtons().size());
    const TBitmap& a = *first->Top()->Bitmap;
    const TBitmap& b = *second.Top()->Bitmap;
    ASSERT_EQ(a.Width(), b.Width());
    ASSERT_EQ(a.Height(), b.Height());
    for (int y = 0; y < a.Height(); ++y)
        ASSERT_TRUE(std::equal(a.ScanLine(y), a.ScanLine(y) + a.RowBytes(), b.ScanLine(y))) << y;

    TSkinData empty(nullptr);
    EXPECT_EQ(empty.WriteSkinStream(), std::vector<std::uint8_t>(4, 0));
}

TEST_F(SkinData, UnknownFormatKeepsThePreviousSkin)
{
    const auto data = Loaded(DefaultSkinFile());
    const TDataSkinBorder* top = data->Top();
    // No writer makes format 12345, so its 16-byte archive header is written here.
    const std::vector<std::uint8_t> archive{0x39, 0x30, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    data->ReadSkinStream(StreamOf(PackSkinFile(archive)));
    EXPECT_TRUE(data->SkinLoading());
    EXPECT_EQ(data->SkinName(), "Vidkiln Steel");
    EXPECT_EQ(data->Top(), top);
    EXPECT_EQ(data->CaptionButtons().size(), 9u);
    ASSERT_EQ(Messages.size(), 1u);
    EXPECT_NE(Messages[0].find(L"Older Skin File"), std::wstring::npos);
}

TEST_F(SkinData, TruncatedSkinStreamIsRefused)
{
    TSkinData data(nullptr);
    std::vector<std::uint8_t> stored = StreamOf(DefaultSkinFile());
    stored.resize(stored.size() - 1);
    EXPECT_THROW(data.ReadSkinStream(stored), std::invalid_argument);
    EXPECT_TRUE(data.SkinStream().empty());
    EXPECT_TRUE(data.SkinLoading());
}

TEST_F(SkinData, PublishedDefaults)
{
    TSkinData data(nullptr);
    const std::pair<const char*, std::int64_t> ordinals[] = {
        {"Active", 0}, {"DisableTag", 99}, {"SkinControls", 0x1FFFFB}, {"Options", 0x448},
        {"SkinFormtype", sfMainform}, {"MenuUpdate", 1}, {"MenuMerge", 0}};
    for (const auto& [name, value] : ordinals)
        EXPECT_EQ(GetOrdProp(&data, name), value) << name;
    EXPECT_EQ(GetStrProp(&data, "Version"), L"5.40.07.15");
    EXPECT_EQ(GetStrProp(&data, "SkinStore"), L"(none)");
    EXPECT_TRUE(SetPropValue(&data, "Version", L"1.0"));
    EXPECT_EQ(data.Version(), L"5.40.07.15");
    const std::vector<std::string> order{"Active", "DisableTag", "SkinControls", "Options", "Skin3rd", "SkinFile",
                                         "SkinStore", "SkinFormtype", "Version", "MenuUpdate", "MenuMerge"};
    std::vector<std::string> names;
    for (const TPropInfo& prop : TSkinData::StaticClass().OwnProps())
        names.push_back(prop.Name);
    EXPECT_EQ(names, order);
    ASSERT_EQ(data.Skin3rd().size(), 118u);
    EXPECT_EQ(data.Skin3rd().front(), L"TCategoryButtons=scrollbar");
    EXPECT_EQ(data.Skin3rd().back(), L"TOVCDBNUMERICFIELD=Edit");
    EXPECT_EQ(std::count(data.Skin3rd().begin(), data.Skin3rd().end(), L"TWWDBCombobox=Combobox"), 2);
    EXPECT_TRUE(data.SkinLoading());
    EXPECT_NE(data.Buttons(), nullptr);
    EXPECT_NE(data.Title(), nullptr);
    EXPECT_EQ(data.Tabs(), nullptr);
}

TEST_F(SkinData, QueryFormSkinVetoes)
{
    TSkinData data(nullptr);
    struct TCase {
        const wchar_t* Class;
        bool FastReport;
        bool DoSkin;
    };
    for (const TCase& c : {TCase{L"SysMonthCal32", false, false}, TCase{L"TfrPreviewForm", false, true},
                           TCase{L"TfrPreviewForm", true, false}, TCase{L"TForm1", true, true}}) {
        data.SkinControls = c.FastReport ? kDefaultSkinControls | SetBit<TSkinControlTypes>(xcFastReport)
                                         : kDefaultSkinControls;
        bool doSkin = true;
        data.QueryFormSkin(nullptr, c.Class, doSkin);
        EXPECT_EQ(doSkin, c.DoSkin) << WideToUtf8(c.Class);
    }
}

TEST_F(SkinData, MenuImagesAreFourGlyphs)
{
    TSkinData data(nullptr);
    ASSERT_NE(data.MenuImages(), nullptr);
    EXPECT_EQ(ImageList_GetImageCount(data.MenuImages()), 4);
    int width = 0;
    int height = 0;
    ImageList_GetIconSize(data.MenuImages(), &width, &height);
    EXPECT_EQ(width, 16);
    EXPECT_EQ(height, 16);
}

TEST_F(SkinData, CaptionHintShowsOnlyWithItsOption)
{
    TSkinData data(nullptr);
    const std::wstring text(200, L'x');
    data.ShowCaptionHint({100, 120, 0, 0}, text);
    ASSERT_TRUE(data.CaptionHintShown());
    HWND hint = FindWindowW(L"VidkilnCaptionHint", nullptr);
    ASSERT_NE(hint, nullptr);
    EXPECT_TRUE(IsWindowVisible(hint));
    RECT bounds;
    GetWindowRect(hint, &bounds);
    EXPECT_EQ(bounds.left, 100);
    EXPECT_EQ(bounds.top, 120);
    EXPECT_LE(bounds.right - bounds.left, 500 + 16);
    data.HideCaptionHint();
    EXPECT_FALSE(data.CaptionHintShown());
    EXPECT_FALSE(IsWindowVisible(hint));

    data.Options = kDefaultSkinOptions & ~SetBit<TSkinOptions>(xoCaptionButtonHint);
    data.ShowCaptionHint({0, 0, 0, 0}, L"Close");
    EXPECT_FALSE(data.CaptionHintShown());
}

// --- The skin manager's side, through a recording stand-in ---

struct TRecordedCall {
    std::string Name;
    int Value = 0;
    friend bool operator==(const TRecordedCall&, const TRecordedCall&) = default;
};

// What the managers made by the test factory were asked; it outlives them.
struct TManagerLog {
    std::vector<TRecordedCall> Calls;
    int State = 0;
};

class TRecordingManager : public ISkinManagerLink {
public:
    explicit TRecordingManager(TManagerLog& log) : Log(log) {}
    ~TRecordingManager() override { Log.Calls.push_back({"Freed"}); }
    void RegisterSkinData(TSkinData*) override { Log.Calls.push_back({"Register"}); }
    void UnregisterSkinData(TSkinData*) override { Log.Calls.push_back({"Unregister"}); }
    void InstallHook() override { Log.Calls.push_back({"InstallHook"}); }
    void RequestAction(int action, int delay) override { Log.Calls.push_back({"Request", action * 1000 + delay}); }
    void SetPendingSkinData(TSkinData*) override { Log.Calls.push_back({"Pending"}); }
    void ReleaseCaptionButtons(TSkinData*) override { Log.Calls.push_back({"ReleaseCaptionButtons"}); }
    void SetActive(bool active) override { Log.Calls.push_back({"Active", active}); }
    int RunState() const override { return Log.State; }
    void SetRunState(int runState) override
    {
        Log.State = runState;
        Log.Calls.push_back({"RunState", runState});
    }
    bool AttachForm(HWND) override { return false; }
    void Shutdown() noexcept override { Log.Calls.push_back({"Shutdown"}); }

    TManagerLog& Log;
};

TManagerLog* gLog = nullptr;
std::unique_ptr<ISkinManagerLink> MakeRecorder()
{
    return std::make_unique<TRecordingManager>(*gLog);
}
std::unique_ptr<ISkinManagerLink> MakeOtherRecorder()
{
    return MakeRecorder();
}

class SkinDataManager : public SkinData {
protected:
    void SetUp() override
    {
        SkinData::SetUp();
        gLog = &Recorder;
        SetSkinManagerFactory(&MakeRecorder);
    }
    void TearDown() override
    {
        SetSkinManagerFactory(nullptr);
        gLog = nullptr;
        SkinData::TearDown();
    }

    TManagerLog Recorder;
};

TEST_F(SkinDataManager, AManagerEndsThroughShutdownOrWhenItsFactoryIsReplaced)
{
    ISkinManagerLink* first = EnsureSkinManager();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(EnsureSkinManager(), first);
    EXPECT_EQ(SetSkinManagerFactory(&MakeOtherRecorder), &MakeRecorder);
    const std::vector<TRecordedCall> ended{{"Shutdown"}, {"Freed"}};
    EXPECT_EQ(Recorder.Calls, ended);
    EXPECT_EQ(CurrentSkinManager(), nullptr);

    Recorder.Calls.clear();
    ASSERT_NE(EnsureSkinManager(), nullptr);
    ShutdownSkinManager();
    EXPECT_EQ(Recorder.Calls, ended);
    EXPECT_EQ(CurrentSkinManager(), nullptr);
    ShutdownSkinManager();
    EXPECT_EQ(Recorder.Calls, ended);
}

TEST_F(SkinDataManager, StoredMainWindowSkinStartsAfterLoading)
{
    TSkinData data(nullptr);
    ReadMainWindowSkinData(data);
    EXPECT_TRUE(Recorder.Calls.empty());
    EXPECT_EQ(data.SkinName(), "Vidkiln Steel");
    EXPECT_EQ(data.Options, 0x448);
    data.Loaded();
    const std::vector<TRecordedCall> expected{{"Register"}, {"InstallHook"}, {"Pending"}, {"Request", 1250}};
    EXPECT_EQ(Recorder.Calls, expected);
    EXPECT_TRUE(data.Active());
    EXPECT_FALSE(InSet(data.SkinControls, xcMenuItem));
    EXPECT_TRUE(InSet(data.SkinControls, xcSystemMenu));
    EXPECT_FALSE(InSet(data.SkinControls, xcProgress));
}

TEST_F(SkinDataManager, ActiveCannotTakeEffectBeforeASkinLoads)
{
    TSkinData data(nullptr);
    data.SkinControls = kDefaultSkinControls & ~SetBit<TSkinControlTypes>(xcMainMenu);
    data.Loaded();
    Recorder.Calls.clear();
    data.SetActive(true);
    EXPECT_TRUE(Recorder.Calls.empty());
    EXPECT_FALSE(InSet(data.SkinControls, xcSystemMenu));

    TSkinData stored(nullptr);
    stored.BeginReading();
    stored.SetActive(true);
    stored.Loaded();
    EXPECT_FALSE(stored.Active());
}

TEST_F(SkinDataManager, ActiveSwitchesAndNewSkinsGoToTheManager)
{
    TSkinData data(nullptr);
    data.ReadSkinStream(StreamOf(DefaultSkinFile()));
    data.Loaded();
    Recorder.Calls.clear();
    data.SetActive(true);
    data.SetActive(false);
    const std::vector<TRecordedCall> switches{{"Pending"}, {"Request", 1250}, {"RunState", 1}, {"Pending"},
                                              {"Request", 2250}};
    EXPECT_EQ(Recorder.Calls, switches);

    Recorder.Calls.clear();
    data.SetSkinFile(Utf8ToWide(VIDKILN_LIGHT_SKIN_FILE));
    const std::vector<TRecordedCall> applied{{"Pending"}, {"ReleaseCaptionButtons"}, {"Request", 3250}};
    EXPECT_EQ(Recorder.Calls, applied);
    EXPECT_EQ(data.SkinName(), "Vidkiln Light");
}

// A file that is not a skin, asked for while a skin is loaded, leaves that
// skin exactly as it was: loaded, same name, file and stream, and no request
// reaches the manager; switching it off and on still works afterwards.
TEST_F(SkinDataManager, AFileThatIsNoSkinLeavesTheLoadedSkinAsItWas)
{
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / "vidkiln-skinfile-rollback";
    fs::create_directories(folder);
    const auto write = [&](const char* name, const std::vector<std::uint8_t>& bytes) {
        std::ofstream(folder / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return (folder / name).wstring();
    };
    std::vector<std::uint8_t> truncated = ReadWholeFile(VIDKILN_LIGHT_SKIN_FILE);
    ASSERT_GT(truncated.size(), 64u);
    truncated.resize(truncated.size() / 2);
    const std::wstring badFiles[] = {
        (folder / "missing.skn").wstring(),
        write("text.skn", TextBytes("this is a text file, not a skin\r\n")),
        write("truncated.skn", truncated),
    };

    TSkinData data(nullptr);
    data.ReadSkinStream(StreamOf(DefaultSkinFile()));
    data.Loaded();
    const std::wstring good = Utf8ToWide(VIDKILN_LIGHT_SKIN_FILE);
    data.SetSkinFile(good);
    const std::vector<std::uint8_t> stream = data.SkinStream();
    for (const std::wstring& bad : badFiles) {
        SCOPED_TRACE(WideToUtf8(bad));
        Recorder.Calls.clear();
        EXPECT_FALSE(data.LoadSkinFile(bad));
        data.SetSkinFile(bad);
        EXPECT_TRUE(Recorder.Calls.empty());
        EXPECT_FALSE(data.SkinLoading());
        EXPECT_EQ(data.SkinName(), "Vidkiln Light");
        EXPECT_EQ(data.SkinFile(), good);
        EXPECT_TRUE(data.SkinStream() == stream);
    }
    Recorder.Calls.clear();
    data.SetActive(true);
    const std::vector<TRecordedCall> switched{{"Pending"}, {"Request", 1250}, {"RunState", 1}};
    EXPECT_EQ(Recorder.Calls, switched);
    fs::remove_all(folder);
}

} // namespace
