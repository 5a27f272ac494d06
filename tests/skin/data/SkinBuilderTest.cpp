// The skin builder on small skins packed here and on the skins the program
// ships: which objects exist, how their frame counts and margins come out
// of what a description says, and that a damaged part costs only itself.
#include "BmpBuilder.h"
#include "SkinTestFiles.h"
#include "skin/data/ImageGeometry.h"
#include "skin/data/SkinBuilder.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

std::vector<std::string> Messages;

std::optional<TSkinModel> Build(const std::vector<std::uint8_t>& file, const TSkinBuiltIns& builtIns = {})
{
    Messages.clear();
    return BuildSkinFromFile(file, [](const std::string& text) { Messages.push_back(text); }, builtIns);
}

TSkinModel BuildIni(const std::string& ini, std::vector<TSkinArchiveEntry> entries = {})
{
    std::optional<TSkinModel> model = Build(SkinFileOf(ini, std::move(entries)));
    EXPECT_TRUE(model.has_value());
    return model ? std::move(*model) : TSkinModel{};
}

TSkinArchiveEntry Image(std::string name, int width, int height, std::uint32_t colour = 0xFF00FF)
{
    return {std::move(name), FlatBmp(width, height, colour)};
}

const TSkinPart* PlainPart(const TSkinModel& model, TSkinPlainSlot slot)
{
    return model.Plain[slot] ? &*model.Plain[slot] : nullptr;
}

// The promises every painter relies on, whatever the skin said.
void ExpectDrawable(TSkinModel& model)
{
    for (const TSkinStripObject& strip : SkinStripObjects(model)) {
        SCOPED_TRACE(strip.Values->Name);
        EXPECT_GE(strip.Values->FrameCount, 1);
        const imgcore::TRectI frame =
            imgcore::FrameOf(strip.Image->Width, strip.Image->Height, strip.Stacked, strip.Values->FrameCount, 1);
        for (int margin : {strip.Values->LeftWidth, strip.Values->RightWidth}) {
            EXPECT_GE(margin, 0);
            EXPECT_LE(margin, frame.Width());
        }
        for (int margin : {strip.Values->TopHeight, strip.Values->BottomHeight}) {
            EXPECT_GE(margin, 0);
            EXPECT_LE(margin, frame.Height());
        }
    }
    for (const TSkinSysButtonPart& button : model.CaptionButtons)
        EXPECT_GE(button.FrameCount, 1) << button.Name;
}

} // namespace

TEST(SkinBuilder, FrameCountsFollowTheObjectKind)
{
    struct TCase {
        const char* Ini;
        std::function<int(const TSkinModel&)> Frames;
        int Expected;
    };
    const auto plain = [](TSkinPlainSlot slot) {
        return [slot](const TSkinModel& model) {
            const TSkinPart* part = PlainPart(model, slot);
            return part ? part->FrameCount : -1;
        };
    };
    const TCase cases[] = {
        // Fixed by the kind, whatever the section says.
        {"[Tabs]\nImage=a.bmp\nFrame=2", [](const TSkinModel& m) { return m.Tabs->FrameCount; }, 5},
        {"[SunkEdge]\nImage=a.bmp\nFrame=9", plain(kSunkEdge), 4},
        {"[Scrollbar]\nImage=a.bmp", plain(kScrollbar), 23},
        {"[UpDown.Vert]\nImage=a.bmp", [](const TSkinModel& m) { return m.UpDownVert->FrameCount; }, 8},
        {"[Progress]\nBitmap=a.bmp\nStyle=1", [](const TSkinModel& m) { return m.Progress->FrameCount; }, 1},
        {"[Progress]\nBitmap=a.bmp", [](const TSkinModel& m) { return m.Progress->FrameCount; }, 2},
        // Given by the skin, with a default when left out.
        {"[Headerbar]\nImage=a.bmp", plain(kHeaderbar), 5},
        {"[Headerbar]\nImage=a.bmp\nFrame=3", plain(kHeaderbar), 3},
        {"[HorzScrollThumb]\nImage=a.bmp", plain(kHorzScrollThumb), 3},
        {"[HorzScrollThumb]\nImage=a.bmp\nFrameCount=7", plain(kHorzScrollThumb), 7},
        // A count that would divide by zero or number frames backwards is 1.
        {"[HorzScrollThumb]\nImage=a.bmp\nFrameCount=-2", plain(kHorzScrollThumb), 1},
        {"[Headerbar]\nImage=a.bmp\nFrame=-4", plain(kHeaderbar), 1},
        {"[Progress.Chunk]\nImage=a.bmp\nFrame=0", plain(kProgressChunk), 1},
        {"[Personality]\nTop=a.bmp\nTopFrame=0", [](const TSkinModel& m) { return m.Top.FrameCount; }, 1},
        {"[Personality]\nLeft=a.bmp\nLeftFrame=-3", [](const TSkinModel& m) { return m.Left.FrameCount; }, 1},
        {"[Buttons]\nCheckButtonFrame=-1", [](const TSkinModel& m) { return m.Buttons.CheckButtonFrame; }, 1},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Ini);
        TSkinModel model = BuildIni(c.Ini, {Image("a.bmp", 40, 40)});
        EXPECT_EQ(c.Frames(model), c.Expected);
        ExpectDrawable(model);
    }
}

TEST(SkinBuilder, CheckAndRadioFramesFollowTheImageWhenNotGiven)
{
    struct TCase {
        int Width, Height, Expected;
    };
    // Frames 16 wide, or 13 wide for images under 16 high; never fewer than 4.
    const TCase cases[] = {{96, 16, 6}, {65, 13, 5}, {32, 16, 4}, {0, 0, 4}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.Width) + " x " + std::to_string(c.Height));
        std::vector<TSkinArchiveEntry> entries;
        if (c.Width > 0)
            entries.push_back(Image("check.bmp", c.Width, c.Height));
        const TSkinModel model = BuildIni("[Buttons]\nCheckButton=check.bmp", entries);
        EXPECT_EQ(model.Buttons.CheckButtonFrame, c.Expected);
    }
}

TEST(SkinBuilder, CaptionButtonFramesFollowTheImageShapeWhenNotGiven)
{
    struct TCase {
        const char* Section;
        int Width, Height;
        int Frames;
        bool KeepsImage;
    };
    const TCase cases[] = {
        {"[Button1]\nAction=1\nButtonImage=b.bmp", 57, 19, 3, true},  // 3 : 1, three states
        {"[Button1]\nAction=1\nButtonImage=b.bmp", 114, 19, 6, true}, // 6 : 1
        {"[Button1]\nAction=1\nButtonImage=b.bmp\nframe=4", 57, 19, 4, true},
        // Buttons that only mark places have no image of their own.
        {"[Button1]\nAction=3\nButtonImage=b.bmp", 57, 19, 3, false},
        {"[Button1]\nAction=11\nButtonImage=b.bmp", 114, 19, 6, false},
        {"[Button1]\nAction=1", 0, 0, 6, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Section);
        std::vector<TSkinArchiveEntry> entries;
        if (c.Width > 0)
            entries.push_back(Image("b.bmp", c.Width, c.Height));
        const TSkinModel model = BuildIni(c.Section, entries);
        ASSERT_EQ(model.CaptionButtons.size(), 4u); // the button and the three MDI buttons
        const TSkinSysButtonPart& button = model.CaptionButtons[0];
        EXPECT_EQ(button.Name, "BUTTON1");
        EXPECT_EQ(button.FrameCount, c.Frames);
        EXPECT_EQ(button.Image.Width > 0, c.KeepsImage);
    }
}

TEST(SkinBuilder, MarginsStayInsideTheFirstFrame)
{
    struct TCase {
        const char* Ini;
        int Width, Height;
        std::function<const TSkinObjectValues&(const TSkinModel&)> Object;
        imgcore::TMargins Expected;
    };
    const auto sunk = [](const TSkinModel& m) -> const TSkinObjectValues& { return *m.Plain[kSunkEdge]; };
    const auto top = [](const TSkinModel& m) -> const TSkinObjectValues& { return m.Top; };
    const TCase cases[] = {
        // Four frames side by side of 10 x 20.
        {"[SunkEdge]\nImage=a.bmp\nLeftWidth=3\nTopHeight=4\nRightWidth=5\nBottomHeight=6", 40, 20, sunk, {3, 4, 5, 6}},
        {"[SunkEdge]\nImage=a.bmp\nLeftWidth=99\nTopHeight=99\nRightWidth=11\nBottomHeight=21", 40, 20, sunk,
         {10, 20, 10, 20}},
        {"[SunkEdge]\nImage=a.bmp\nLeftWidth=-3\nBottomHeight=-1", 40, 20, sunk, {0, 0, 0, 0}},
        // An image that did not load leaves nothing to keep at fixed size.
        {"[SunkEdge]\nImage=missing.bmp\nLeftWidth=3\nTopHeight=4", 40, 20, sunk, {0, 0, 0, 0}},
        // The top border's two frames lie one above the other: 40 x 10 each.
        {"[Personality]\nTop=a.bmp\nTopFrame=2\nTopTopHeight=30\nTopBotHeight=50", 40, 20, top, {30, 0, 40, 0}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Ini);
        const TSkinModel model = BuildIni(c.Ini, {Image("a.bmp", c.Width, c.Height)});
        const TSkinObjectValues& object = c.Object(model);
        EXPECT_EQ(object.LeftWidth, c.Expected.Left);
        EXPECT_EQ(object.TopHeight, c.Expected.Top);
        EXPECT_EQ(object.RightWidth, c.Expected.Right);
        EXPECT_EQ(object.BottomHeight, c.Expected.Bottom);
    }
}

TEST(SkinBuilder, CaptionTextOffsetsMayBeNegativeButItsCapsFitItsBackground)
{
    const TSkinModel model = BuildIni("[Personality]\nTextBack=t.bmp\nTextShift=-7\nTextShiftVert=2147483647\n"
                                      "TXTBackleft=25\nTXTBackRight=-4",
                                      {Image("t.bmp", 20, 16)});
    EXPECT_EQ(model.Title.LeftWidth, -7);
    EXPECT_EQ(model.Title.TopHeight, kLargestTextOffset);
    EXPECT_EQ(model.Title.TXTBackleft, 20);
    EXPECT_EQ(model.Title.TXTBackRight, 0);
    EXPECT_EQ(model.Title.FrameCount, 2);
}

TEST(SkinBuilder, MdiButtonsAreCutFromOneStripInTwentyFourBits)
{
    // Twelve 2-pixel frames in an 8-bit strip: four states each of minimise,
    // restore and close, every button in its own palette colour.
    bmptest::TBmpLayout layout;
    layout.Width = 24;
    layout.Height = 2;
    layout.BitCount = 8;
    layout.Palette = {0x000000, 0x112233, 0x445566, 0x778899};
    layout.ColoursUsed = 4;
    for (int y = 0; y < layout.Height; ++y)
        for (int x = 0; x < layout.Width; ++x)
            layout.Pixels.push_back(static_cast<std::uint32_t>(1 + x / 8));
    const TSkinModel model = BuildIni("[MDICONTROLS]\nImage=mdi.bmp", {{"mdi.bmp", bmptest::MakeBmp(layout)}});
    ASSERT_EQ(model.CaptionButtons.size(), 3u);
    const char* const names[] = {"MDIMINIMIZE", "MDIRESTORE", "MDICLOSE"};
    for (int i = 0; i < 3; ++i) {
        const TSkinSysButtonPart& button = model.CaptionButtons[static_cast<std::size_t>(i)];
        SCOPED_TRACE(names[i]);
        EXPECT_EQ(button.Name, names[i]);
        EXPECT_EQ(button.Action, 7 + i);
        EXPECT_EQ(button.FrameCount, 4);
        EXPECT_EQ(button.XCoord, 6 * (3 - i));
        ASSERT_EQ(button.Image.BitCount, 24);
        ASSERT_EQ(button.Image.Width, 8);
        ASSERT_EQ(button.Image.Height, 2);
        const std::uint32_t rgb = layout.Palette[static_cast<std::size_t>(1 + i)];
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 8; ++x) {
                const std::uint8_t* pixel = button.Image.Row(y) + 3 * x;
                EXPECT_EQ(pixel[0] | pixel[1] << 8 | pixel[2] << 16, static_cast<int>(rgb & 0xFFFFFF)) << x << "," << y;
            }
    }
}

TEST(SkinBuilder, DamagedImageCostsOnlyItsOwnObject)
{
    std::vector<std::uint8_t> damaged = FlatBmp(40, 10);
    damaged.resize(damaged.size() / 2);
    const TSkinModel model = BuildIni("[SunkEdge]\nImage=bad.bmp\nLeftWidth=3\n[Tabs]\nImage=good.bmp\nLeftWidth=2",
                                      {{"bad.bmp", damaged}, Image("good.bmp", 50, 10)});
    ASSERT_TRUE(model.Plain[kSunkEdge].has_value());
    EXPECT_EQ(model.Plain[kSunkEdge]->Image.Width, 0);
    EXPECT_EQ(model.Plain[kSunkEdge]->LeftWidth, 0);
    ASSERT_TRUE(model.Tabs.has_value());
    EXPECT_EQ(model.Tabs->Image.Width, 50);
    EXPECT_EQ(model.Tabs->LeftWidth, 2);
}

TEST(SkinBuilder, ObjectsWithoutAnImageKeyAreAbsentButTracksFallBackToTheBuiltIns)
{
    TSkinBuiltIns builtIns;
    builtIns.Track = imgcore::DecodeBmp(FlatBmp(9, 6, 0x00FF00));
    builtIns.TrackVert = imgcore::DecodeBmp(FlatBmp(6, 9, 0x00FF00));
    std::optional<TSkinModel> built = Build(SkinFileOf("[Tabs]\nLeftWidth=2\n[Track]\nImage=own.bmp", {Image("own.bmp", 12, 8)}),
                                            builtIns);
    ASSERT_TRUE(built);
    const TSkinModel& model = *built;
    EXPECT_FALSE(model.Tabs);
    EXPECT_FALSE(model.Progress);
    EXPECT_FALSE(model.Plain[kSunkEdge]);
    ASSERT_TRUE(model.Plain[kTrack]);
    EXPECT_EQ(model.Plain[kTrack]->Image.Width, 12);
    ASSERT_TRUE(model.Plain[kTrackVert]);
    const TSkinPart& vertical = *model.Plain[kTrackVert];
    EXPECT_EQ(vertical.Image.Height, 9);
    EXPECT_EQ(vertical.FrameCount, 1);
    EXPECT_EQ(vertical.LeftWidth, 3);
    EXPECT_EQ(vertical.BottomHeight, 3);
}

TEST(SkinBuilder, PaletteTakesGivenColoursAndFallsBackToTheSystemOnes)
{
    const TSkinModel model = BuildIni("[Colours]\nButtonFace=1,2,3\nWindowText=255,0,0\n"
                                      "[Colour1]\ncolor=0,255,0\n[Customcolors]\nColor3=0,0,255");
    const TSkinPalette& palette = model.Palette;
    struct TCase {
        TSkinColourSlot Slot;
        TSkinColor Colour;
        bool Given;
    };
    const TCase cases[] = {
        {scButtonFace, 0x030201, true},
        {scWindowText, 0x0000FF, true},
        {scMenubar, 0x030201, false}, // the button face, as the skin gave it
        {scButtonText, SystemSkinColour(18), false},
        {scMenu, SystemSkinColour(4), false},
        {scTitleTextNoActive, SystemSkinColour(19), false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Slot);
        EXPECT_EQ(palette.Colours[c.Slot].Colour, c.Colour);
        EXPECT_EQ(palette.Colours[c.Slot].Given, c.Given);
    }
    EXPECT_EQ(palette.Extra, std::vector<TSkinColor>{0x00FF00});
    EXPECT_EQ(palette.Custom[3], 0xFF0000);
    EXPECT_EQ(palette.Custom[0], 0xFFFFFF);
}

TEST(SkinBuilder, FilesThatAreNoSkinAreRefusedWithTheReason)
{
    struct TCase {
        const char* What;
        std::vector<std::uint8_t> File;
        const char* Reason;
    };
    const TCase cases[] = {
        {"unknown format", PackSkinFile(std::vector<std::uint8_t>{0x39, 0x30, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}),
         "Older Skin File"},
        {"no description", PackSkinFile(BuildSkinArchive(70000, {Image("top.bmp", 4, 4)})), "no description"},
        {"not packed", {1, 2, 3}, ""},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        EXPECT_FALSE(Build(c.File));
        ASSERT_EQ(Messages.size(), 1u);
        EXPECT_NE(Messages[0].find(c.Reason), std::string::npos) << Messages[0];
    }
}

TEST(SkinBuilder, ShippedSkinsBuildDrawable)
{
    for (const char* path : {VIDKILN_DEFAULT_SKIN_FILE, VIDKILN_LIGHT_SKIN_FILE}) {
        SCOPED_TRACE(path);
        const std::vector<std::uint8_t> file = ReadWholeFile(path);
        ASSERT_FALSE(file.empty());
        std::optional<TSkinModel> model = Build(file);
        ASSERT_TRUE(model);
        EXPECT_TRUE(Messages.empty());
        EXPECT_FALSE(model->SkinName.empty());
        EXPECT_GT(model->Top.Image.Width, 0);
        EXPECT_GT(model->Buttons.Image.Width, 0);
        ExpectDrawable(*model);
    }
}
