#include "SkinBuilder.h"

#include "skin/data/ImageGeometry.h"
#include "skin/data/WinSkinIni.h"

#include <algorithm>
#include <utility>

namespace {

// Indexes of the system colours the palette falls back to.
enum TSystemColourIndex {
    kSysScrollbar = 0, kSysMenu = 4, kSysMenuText = 7, kSysWindowText = 8, kSysCaptionText = 9,
    kSysHighlight = 13, kSysHighlightText = 14, kSysBtnFace = 15, kSysBtnShadow = 16, kSysBtnText = 18,
    kSysInactiveCaptionText = 19, kSysBtnHighlight = 20, kSys3dDkShadow = 21
};

constexpr TSkinColor kWhite = 0xFFFFFF;

std::string UpperAscii(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
    return text;
}

bool IsCaptionButtonSection(const std::string& upper)
{
    return upper.starts_with("BUTTON") && upper != "BUTTON" && upper != "BUTTONS" && upper != "BUTTON.RADIO" &&
           upper != "BUTTON.CHECKBOX";
}

// Flags above 1 count as the given value.
int Clamp(int value, int above1)
{
    return value > 1 ? above1 : value;
}

TSkinColor ParseColour(std::string_view text, TSkinColor fallback)
{
    return static_cast<TSkinColor>(ParseSkinColour(text, static_cast<std::uint32_t>(fallback)));
}

bool Empty(const TSkinImage& image) noexcept
{
    return image.Width <= 0 || image.Height <= 0;
}

// One pixel as blue, green, red, whatever the image's bit depth.
std::array<std::uint8_t, 3> PixelAt(const TSkinImage& image, int x, int y)
{
    const std::uint8_t* row = image.Row(y);
    if (image.BitCount >= 24) {
        const std::uint8_t* pixel = row + static_cast<std::size_t>(x) * static_cast<std::size_t>(image.BitCount / 8);
        return {pixel[0], pixel[1], pixel[2]};
    }
    const int bits = image.BitCount;
    const int bitOffset = x * bits;
    const int shift = 8 - bits - bitOffset % 8;
    const std::size_t index = (row[bitOffset / 8] >> shift) & ((1 << bits) - 1);
    if (index >= image.Palette.size())
        return {0, 0, 0};
    const imgcore::TPaletteEntry& entry = image.Palette[index];
    return {entry.Blue, entry.Green, entry.Red};
}

// A 24-bit copy of the width x height block at (left, 0), the way a bitmap
// of any depth is copied into a 24-bit one.
TSkinImage CropTo24(const TSkinImage& source, int left, int width)
{
    TSkinImage target;
    target.Width = width;
    target.Height = source.Height;
    target.BitCount = 24;
    target.Pixels.assign(target.Stride() * static_cast<std::size_t>(target.Height), 0);
    for (int y = 0; y < target.Height; ++y) {
        std::uint8_t* row = target.Pixels.data() + target.Stride() * static_cast<std::size_t>(y);
        for (int x = 0; x < width; ++x) {
            const auto pixel = PixelAt(source, left + x, y);
            std::copy(pixel.begin(), pixel.end(), row + 3 * static_cast<std::size_t>(x));
        }
    }
    return target;
}

// The keys besides margins, flags and colours that a section may have.
enum TPlainKeys { pkStyle = 1, pkFrame = 2 };

class TSkinBuilder {
public:
    TSkinBuilder(const TSkinReader& reader, const TQuickIni& ini, const TSkinBuiltIns& builtIns)
        : FReader(reader), FIni(ini), FBuiltIns(builtIns)
    {
    }

    TSkinModel Build()
    {
        std::vector<std::string> sections;
        FIni.ReadSections(sections);
        FModel.SkinName = FIni.ReadString("TitlebarSkin", "SkinName", "");
        ReadBorders();
        FModel.Palette = ReadSkinPalette(&FIni);
        ReadCaptionButtons(sections);
        ReadMdiButtons();
        ReadButtons();
        ReadTitle();
        ReadProgress();
        LoadPlainSlot(kProgressChunk, "Progress.Chunk");
        ReadMenuBar();
        ReadObjects();
        FixFrameCounts();
        ClampMargins();
        return std::move(FModel);
    }

private:
    TSkinImage Image(std::string_view value) const
    {
        std::vector<std::uint8_t> bytes;
        ExtractSkinImage(FReader, value, bytes);
        if (bytes.empty())
            return {};
        try {
            return imgcore::DecodeBmp(bytes);
        } catch (const imgcore::EBmpFormat&) {
            // A damaged image reads as no image: every consumer handles an empty one.
            return {};
        }
    }

    TSkinColor ButtonText() const { return FModel.Palette.Colours[scButtonText].Colour; }

    void ReadBorders();
    void ReadCaptionButtons(const std::vector<std::string>& sections);
    void ReadMdiButtons();
    void ReadButtons();
    void ReadTitle();
    void ReadProgress();
    void ReadPlainKeys(TSkinObjectValues& object, const char* section, int keys) const;
    void LoadPlainSlot(TSkinPlainSlot slot, const char* section);
    std::optional<TSkinBorderPart> LoadBorderObject(const char* section, const char* secondKey) const;
    void ReadMenuBar();
    void LoadBuiltInTrack(TSkinPlainSlot slot, const char* section, const TSkinImage& image);
    void ReadObjects();
    void FixFrameCounts();
    void ClampMargins();

    const TSkinReader& FReader;
    const TQuickIni& FIni;
    const TSkinBuiltIns& FBuiltIns;
    TSkinModel FModel;
};

void TSkinBuilder::ReadBorders()
{
    constexpr const char* kSection = "Personality";
    const std::pair<TSkinBorderPart*, const char*> borders[] = {
        {&FModel.Left, "Left"}, {&FModel.Right, "Right"}, {&FModel.Top, "Top"}, {&FModel.Bottom, "Bottom"}};
    for (const auto& [border, name] : borders) {
        const std::string key = name;
        border->Name = key;
        const int start = FIni.ReadInteger(kSection, key + "TopHeight", 0);
        const int end = FIni.ReadInteger(kSection, key + "BotHeight", 0);
        if (key == "Left" || key == "Right") {
            border->TopHeight = start;
            border->BottomHeight = end;
        } else {
            border->LeftWidth = start;
            border->RightWidth = end;
        }
        border->FrameCount = FIni.ReadInteger(kSection, key + "Frame", 1);
        border->Tile = Clamp(FIni.ReadInteger(kSection, key + "Stretch", 1), 1);
        border->Trans = FIni.ReadInteger(kSection, key + "Trans", 1);
        border->Image = Image(FIni.ReadString(kSection, key, ""));
    }
}

void TSkinBuilder::ReadCaptionButtons(const std::vector<std::string>& sections)
{
    int rememberedX = 0;
    int rememberedY = 0;
    for (const std::string& section : sections) {
        const std::string name = UpperAscii(section);
        if (!IsCaptionButtonSection(name))
            continue;
        const int action = FIni.ReadInteger(section, "Action", 0);
        const int visibility = FIni.ReadInteger(section, "Visibility", 0);
        if (action == -1 && visibility != 0)
            continue;
        TSkinSysButtonPart button;
        button.Name = name;
        button.Action = action;
        button.Align = FIni.ReadInteger(section, "Align", 0);
        button.XCoord = FIni.ReadInteger(section, "Xcoord", 0);
        button.YCoord = FIni.ReadInteger(section, "Ycoord", 0);
        button.Visibility = visibility;
        button.Visibility1 = FIni.ReadInteger(section, "Visibility1", action == -1 ? -1 : 0);
        if (action == 1 && visibility == 2) {
            rememberedX = button.XCoord;
            rememberedY = button.YCoord;
        }
        if (action == 4) {
            button.XCoord = rememberedX;
            button.YCoord = rememberedY;
        }
        button.CombineOp = FIni.ReadInteger(section, "CombineOp", -1);
        button.FrameCount = FIni.ReadInteger(section, "frame", 0);
        button.Image = Image(FIni.ReadString(section, "ButtonImage", ""));
        if (button.FrameCount == 0) {
            button.FrameCount = 6;
            if (!Empty(button.Image)) {
                const double ratio = static_cast<double>(button.Image.Width) / button.Image.Height;
                button.FrameCount = ratio <= 3.8 && action >= 0 ? 3 : 6;
            }
            if (action == 3 || action == 11)
                button.Image = {};
        }
        FModel.CaptionButtons.push_back(std::move(button));
    }
}

void TSkinBuilder::ReadMdiButtons()
{
    const TSkinImage strip = Image(FIni.ReadString("MDICONTROLS", "Image", ""));
    const char* const names[] = {"MDIMINIMIZE", "MDIRESTORE", "MDICLOSE"};
    // Twelve frames: four states each of minimise, restore and close.
    const int frame = strip.Width / 12;
    for (int i = 0; i < 3; ++i) {
        TSkinSysButtonPart button;
        button.Name = names[i];
        button.Action = 7 + i;
        button.Align = 100;
        button.Visibility = 100;
        button.Visibility1 = 100;
        button.FrameCount = 4;
        if (!Empty(strip) && frame > 0) {
            button.Image = CropTo24(strip, frame * 4 * i, frame * 4);
            button.XCoord = (frame + 4) * (3 - i);
        }
        FModel.CaptionButtons.push_back(std::move(button));
    }
}

void TSkinBuilder::ReadButtons()
{
    constexpr const char* kSection = "Buttons";
    TSkinButtonPart& buttons = FModel.Buttons;
    buttons.Name = kSection;
    // [Buttons] has no Style key: push buttons always draw the same way.
    ReadPlainKeys(buttons, kSection, 0);
    buttons.Image = Image(FIni.ReadString(kSection, "Bitmap", ""));
    buttons.CheckButton = Image(FIni.ReadString(kSection, "CheckButton", ""));
    buttons.RadioButton = Image(FIni.ReadString(kSection, "RadioButton", ""));
    buttons.RadioButtonFrame = FIni.ReadInteger(kSection, "RadioButtonFrame", 0);
    buttons.CheckButtonFrame = FIni.ReadInteger(kSection, "CheckButtonFrame", 0);
    buttons.HasNormalColour2 = !FIni.ReadString(kSection, "NormalColour2", "").empty();
    buttons.HasMouseOverColour2 = !FIni.ReadString(kSection, "MouseOverColour2", "").empty();
    buttons.HasPressedColour2 = !FIni.ReadString(kSection, "PressedColour2", "").empty();
}

void TSkinBuilder::ReadTitle()
{
    constexpr const char* kSection = "Personality";
    TSkinTitlePart& title = FModel.Title;
    title.Name = "Title";
    title.Image = Image(FIni.ReadString(kSection, "TextBack", ""));
    title.LeftWidth = FIni.ReadInteger(kSection, "TextShift", 0);
    title.TopHeight = FIni.ReadInteger(kSection, "TextShiftVert", 0);
    title.RightWidth = FIni.ReadInteger(kSection, "TextRightClip", 0);
    title.TextAlignment = FIni.ReadInteger(kSection, "TextAlignment", 0);
    title.Textbackground = FIni.ReadInteger(kSection, "Textbackground", 0);
    title.FontHeight = FIni.ReadInteger("Fonts", "FontHeight", 14);
    title.TXTBackleft = FIni.ReadInteger(kSection, "TXTBackleft", 0);
    title.TXTBackRight = FIni.ReadInteger(kSection, "TXTBackRight", 0);
    if (const auto colour = ReadRGBKeys(FIni, kSection, "ActiveText"))
        title.ActiveText = static_cast<TSkinColor>(*colour);
    if (const auto colour = ReadRGBKeys(FIni, kSection, "InActiveText"))
        title.InActiveText = static_cast<TSkinColor>(*colour);
}

void TSkinBuilder::ReadProgress()
{
    constexpr const char* kSection = "Progress";
    const std::string image = FIni.ReadString(kSection, "Bitmap", "");
    if (image.empty())
        return;
    TSkinBorderPart& progress = FModel.Progress.emplace();
    progress.Name = kSection;
    progress.Image = Image(image);
    progress.Style = FIni.ReadInteger(kSection, "Style", 0);
    progress.LeftWidth = FIni.ReadInteger(kSection, "LeftWidth", 0);
    progress.TopHeight = FIni.ReadInteger(kSection, "TopHeight", 0);
    progress.RightWidth = FIni.ReadInteger(kSection, "RightWidth", 0);
    progress.BottomHeight = FIni.ReadInteger(kSection, "BottomHeight", 0);
    progress.Trans = FIni.ReadInteger(kSection, "Trans", 0);
    progress.Tile = Clamp(FIni.ReadInteger(kSection, "Tile", 0), 1);
}

void TSkinBuilder::ReadPlainKeys(TSkinObjectValues& object, const char* section, int keys) const
{
    if (keys & pkStyle)
        object.Style = FIni.ReadInteger(section, "Style", 0);
    object.LeftWidth = FIni.ReadInteger(section, "LeftWidth", 0);
    object.RightWidth = FIni.ReadInteger(section, "RightWidth", 0);
    object.TopHeight = FIni.ReadInteger(section, "TopHeight", 0);
    object.BottomHeight = FIni.ReadInteger(section, "BottomHeight", 0);
    if (keys & pkFrame)
        object.FrameCount = FIni.ReadInteger(section, "Frame", 0);
    object.Trans = FIni.ReadInteger(section, "Trans", 0);
    object.Tile = Clamp(FIni.ReadInteger(section, "Tile", 0), 0);
    object.NormalColour = FIni.ReadInteger(section, "NormalColour", -1);
    object.MouseOverColour = FIni.ReadInteger(section, "MouseOverColour", -1);
    object.PressedColour = FIni.ReadInteger(section, "PressedColour", -1);
    object.NormalColour2 = ParseColour(FIni.ReadString(section, "NormalColour2", ""), ButtonText());
    object.MouseOverColour2 = ParseColour(FIni.ReadString(section, "MouseOverColour2", ""), ButtonText());
    object.PressedColour2 = ParseColour(FIni.ReadString(section, "PressedColour2", ""), ButtonText());
}

void TSkinBuilder::LoadPlainSlot(TSkinPlainSlot slot, const char* section)
{
    const std::string image = FIni.ReadString(section, "Image", "");
    if (image.empty())
        return;
    TSkinPart& object = FModel.Plain[slot].emplace();
    object.Name = section;
    object.Image = Image(image);
    ReadPlainKeys(object, section, pkStyle | pkFrame);
}

std::optional<TSkinBorderPart> TSkinBuilder::LoadBorderObject(const char* section, const char* secondKey) const
{
    const std::string image = FIni.ReadString(section, "Image", "");
    if (image.empty())
        return std::nullopt;
    TSkinBorderPart object;
    object.Name = section;
    object.Image = Image(image);
    ReadPlainKeys(object, section, pkStyle);
    if (secondKey)
        object.Image2 = Image(FIni.ReadString(section, secondKey, ""));
    return object;
}

void TSkinBuilder::ReadMenuBar()
{
    constexpr const char* kSection = "Personality";
    const std::string image = FIni.ReadString(kSection, "menuBar", "");
    if (image.empty())
        return;
    TSkinPart& bar = FModel.Plain[kMenuBar].emplace();
    bar.Name = kSection;
    bar.Image = Image(image);
    bar.Tile = Clamp(FIni.ReadInteger(kSection, "TileMenu", 1), 1);
    bar.LeftWidth = FIni.ReadInteger(kSection, "TileLeftMenu", 1);
    bar.RightWidth = FIni.ReadInteger(kSection, "TileRightMenu", 1);
}

void TSkinBuilder::LoadBuiltInTrack(TSkinPlainSlot slot, const char* section, const TSkinImage& image)
{
    if (FModel.Plain[slot])
        return;
    // A program built without the image draws its track bars itself.
    TSkinPart& object = FModel.Plain[slot].emplace();
    object.Name = section;
    object.Image = image;
    object.LeftWidth = object.TopHeight = object.RightWidth = object.BottomHeight = 3;
    object.Tile = 0;
    object.FrameCount = 1;
}

void TSkinBuilder::ReadObjects()
{
    LoadPlainSlot(kGroupBoxEdge, "GroupBoxEdge");
    if (const std::string image = FIni.ReadString("GroupBox", "Image", ""); !image.empty()) {
        TSkinBoxLabelPart& box = FModel.GroupBox.emplace();
        box.Name = "GroupBox";
        box.Image = Image(image);
        ReadPlainKeys(box, "GroupBox", pkStyle);
        box.BackgroundAlignment = FIni.ReadInteger("GroupBox", "BackgroundAlignment", 0);
        box.BackgroundLeftShift = FIni.ReadInteger("GroupBox", "BackgroundLeftShift", 0);
        box.BackgroundRightShift = FIni.ReadInteger("GroupBox", "BackgroundRightShift", 0);
    }
    FModel.Tabs = LoadBorderObject("Tabs", "Border");
    LoadPlainSlot(kStatusBarEdges, "StatusBarEdges");
    LoadPlainSlot(kTabPane, "Tab.Pane");
    if (std::optional<TSkinPart>& pane = FModel.Plain[kTabPane])
        for (int* margin : {&pane->LeftWidth, &pane->TopHeight, &pane->RightWidth, &pane->BottomHeight})
            *margin = std::min(*margin, 4);
    LoadPlainSlot(kToolBars, "ToolBars");
    // No skin names a second image for the combo button: it is made from the
    // first when the GDI objects are.
    FModel.ComboButton = LoadBorderObject("ComboButton", nullptr);
    LoadPlainSlot(kSunkEdge, "SunkEdge");

    const std::pair<TSkinPlainSlot, const char*> plain[] = {
        {kExtraImages, "ExtraImages"}, {kHeaderbar, "Headerbar"}, {kMenuItem, "MenuItem"},
        {kMenuBackground, "MenuBackground"}, {kScrollbar, "Scrollbar"}, {kHorzScroll, "HorzScroll"},
        {kVertScroll, "VertScroll"}, {kHorzScrollThumb, "HorzScrollThumb"}, {kVertScrollThumb, "VertScrollThumb"},
        {kThumbHorz, "Trackbar.ThumbHorz"}, {kThumbVert, "Trackbar.ThumbVert"}, {kThumbLeft, "Trackbar.ThumbLeft"},
        {kThumbRight, "Trackbar.ThumbRight"}, {kThumbUp, "Trackbar.ThumbUp"}, {kThumbDown, "Trackbar.ThumbDown"}};
    for (const auto& [slot, section] : plain)
        LoadPlainSlot(slot, section);
    FModel.UpDownHorz = LoadBorderObject("UpDown.Horz", "GlyphImage");
    FModel.UpDownVert = LoadBorderObject("UpDown.Vert", "GlyphImage");
    LoadPlainSlot(kTrack, "Track");
    LoadPlainSlot(kTrackVert, "TRACKVERT");
    LoadBuiltInTrack(kTrack, "Track", FBuiltIns.Track);
    LoadBuiltInTrack(kTrackVert, "TRACKVERT", FBuiltIns.TrackVert);
}

void TSkinBuilder::FixFrameCounts()
{
    FModel.Title.FrameCount = 2;
    TSkinButtonPart& buttons = FModel.Buttons;
    buttons.FrameCount = 5;
    // A frame count written negative is clamped like one left at 0 below:
    // painters divide by it and number frames from 1.
    for (auto [frames, image] : {std::pair{&buttons.RadioButtonFrame, &buttons.RadioButton},
                                 std::pair{&buttons.CheckButtonFrame, &buttons.CheckButton}}) {
        if (*frames == 0)
            *frames = std::max(4, image->Width / (image->Height < 16 ? 13 : 16));
        *frames = std::max(*frames, 1);
    }
    for (TSkinSysButtonPart& button : FModel.CaptionButtons)
        button.FrameCount = std::max(button.FrameCount, 1);
    if (FModel.Progress)
        FModel.Progress->FrameCount = FModel.Progress->Style != 0 ? 1 : 2;
    auto fix = [](auto& object, int frames) {
        if (object)
            object->FrameCount = frames;
    };
    auto& plain = FModel.Plain;
    fix(plain[kMenuBar], 2);
    fix(plain[kGroupBoxEdge], 2);
    fix(FModel.GroupBox, 1);
    fix(FModel.Tabs, 5);
    fix(plain[kStatusBarEdges], 3);
    fix(plain[kTabPane], 1);
    fix(plain[kToolBars], 5);
    fix(FModel.ComboButton, 4);
    fix(plain[kSunkEdge], 4);
    fix(plain[kExtraImages], 5);
    if (plain[kHeaderbar] && plain[kHeaderbar]->FrameCount == 0)
        plain[kHeaderbar]->FrameCount = 5;
    fix(plain[kMenuItem], 5);
    fix(plain[kMenuBackground], 1);
    fix(plain[kScrollbar], 23);
    fix(plain[kHorzScroll], 4);
    fix(plain[kVertScroll], 4);
    fix(plain[kHorzScrollThumb], FIni.ReadInteger("HorzScrollThumb", "FrameCount", 3));
    fix(plain[kVertScrollThumb], FIni.ReadInteger("VertScrollThumb", "FrameCount", 3));
    for (TSkinPlainSlot thumb : {kThumbHorz, kThumbVert, kThumbLeft, kThumbRight, kThumbUp, kThumbDown})
        fix(plain[thumb], 5);
    fix(FModel.UpDownHorz, 8);
    fix(FModel.UpDownVert, 8);
    // Every painter divides by the frame count; a count the skin left at 0
    // (or wrote negative, here or in the thumbs' FrameCount key) would divide
    // by zero or draw outside the image.
    for (TSkinObjectValues* object : {static_cast<TSkinObjectValues*>(&FModel.Left),
                                      static_cast<TSkinObjectValues*>(&FModel.Right),
                                      static_cast<TSkinObjectValues*>(&FModel.Top),
                                      static_cast<TSkinObjectValues*>(&FModel.Bottom)})
        object->FrameCount = std::max(object->FrameCount, 1);
    for (TSkinPlainSlot slot : {kProgressChunk, kTrack, kTrackVert, kHorzScrollThumb, kVertScrollThumb, kHeaderbar})
        if (plain[slot])
            plain[slot]->FrameCount = std::max(plain[slot]->FrameCount, 1);
}

void TSkinBuilder::ClampMargins()
{
    for (const TSkinStripObject& strip : SkinStripObjects(FModel))
        ClampToFrame(*strip.Values, strip.Image->Width, strip.Image->Height, strip.Stacked);

    // The caption's margin fields carry text offsets; its caps are the
    // margins of the caption background, two frames stacked.
    TSkinTitlePart& title = FModel.Title;
    for (int* offset : {&title.LeftWidth, &title.TopHeight, &title.RightWidth})
        *offset = std::clamp(*offset, -kLargestTextOffset, kLargestTextOffset);
    const imgcore::TMargins caps = imgcore::ClampMargins(
        {title.TXTBackleft, 0, title.TXTBackRight, 0},
        imgcore::FrameOf(title.Image.Width, title.Image.Height, true, title.FrameCount, 1));
    title.TXTBackleft = caps.Left;
    title.TXTBackRight = caps.Right;
}

} // namespace

TSkinPalette ReadSkinPalette(const TQuickIni* ini)
{
    struct TKey {
        TSkinColourSlot Slot;
        const char* Key;
        int SystemColour;
    };
    // The order matters: Menubar falls back to the ButtonFace just read.
    constexpr TKey keys[] = {
        {scWindowText, "WindowText", kSysWindowText},
        {scButtonFace, "ButtonFace", kSysBtnFace},
        {scScrollbar, "Scrollbar", kSysScrollbar},
        {scHilightText, "HilightText", kSysHighlightText},
        {scHilight, "Hilight", kSysHighlight},
        {scMenubar, "Menubar", -1},
        {scMenu, "Menu", kSysMenu},
        {scMenuText, "MenuText", kSysMenuText},
        {scButtonText, "ButtonText", kSysBtnText},
        {scButtonHilight, "ButtonHilight", kSysBtnHighlight},
        {scButtonlight, "Buttonlight", kSysBtnHighlight},
        {scButtonShadow, "ButtonShadow", kSysBtnShadow},
        {scButtonDkShadow, "ButtonDkShadow", kSys3dDkShadow},
        {scMenuBarText, "MenuBarText", kSysMenuText},
        {scTitleTextActive, "TitleTextActive", kSysCaptionText},
        {scTitleTextNoActive, "TitleTextNoActive", kSysInactiveCaptionText},
    };
    TSkinPalette palette;
    for (const TKey& key : keys) {
        const TSkinColor fallback = key.Slot == scMenubar ? palette.Colours[scButtonFace].Colour
                                                          : SystemSkinColour(key.SystemColour);
        const std::string value = ini ? ini->ReadString("Colours", key.Key, "") : std::string();
        palette.Colours[key.Slot] = {ParseColour(value, fallback), !value.empty()};
    }
    palette.Custom.fill(kWhite);
    if (!ini)
        return palette;
    std::vector<std::string> sections;
    ini->ReadSections(sections);
    for (const std::string& section : sections) {
        const std::string upper = UpperAscii(section);
        if (upper.starts_with("COLOUR") && upper != "COLOURS")
            palette.Extra.push_back(ParseColour(ini->ReadString(section, "color", ""), SystemSkinColour(kSysWindowText)));
    }
    for (std::size_t i = 0; i < palette.Custom.size(); ++i)
        palette.Custom[i] = ParseColour(ini->ReadString("Customcolors", "Color" + std::to_string(i), ""), kWhite);
    return palette;
}

void ClampToFrame(TSkinObjectValues& object, int imageWidth, int imageHeight, bool stacked)
{
    const imgcore::TMargins margins = imgcore::ClampMargins(
        {object.LeftWidth, object.TopHeight, object.RightWidth, object.BottomHeight},
        imgcore::FrameOf(imageWidth, imageHeight, stacked, object.FrameCount, 1));
    object.LeftWidth = margins.Left;
    object.TopHeight = margins.Top;
    object.RightWidth = margins.Right;
    object.BottomHeight = margins.Bottom;
}

std::vector<TSkinStripObject> SkinStripObjects(TSkinModel& model)
{
    std::vector<TSkinStripObject> objects;
    auto add = [&objects](auto&& part, bool stacked) {
        if (part)
            objects.push_back({&*part, &part->Image, stacked});
    };
    add(&model.Top, true);
    add(&model.Bottom, true);
    add(model.Plain[kMenuBar], true);
    add(&model.Left, false);
    add(&model.Right, false);
    add(&model.Buttons, false);
    add(model.Progress, false);
    add(model.GroupBox, false);
    add(model.Tabs, false);
    add(model.ComboButton, false);
    add(model.UpDownHorz, false);
    add(model.UpDownVert, false);
    for (std::size_t slot = 0; slot < model.Plain.size(); ++slot)
        if (slot != kMenuBar)
            add(model.Plain[slot], false);
    return objects;
}

TSkinModel BuildSkinModel(const TSkinReader& reader, const TQuickIni& ini, const TSkinBuiltIns& builtIns)
{
    return TSkinBuilder(reader, ini, builtIns).Build();
}

std::optional<TSkinModel> BuildSkinFromFile(std::span<const std::uint8_t> file, const TSkinMessageEvent& onMessage,
                                            const TSkinBuiltIns& builtIns)
{
    TSkinReader reader;
    reader.OnMessage = onMessage;
    if (!reader.UnpackSkin(file))
        return std::nullopt;
    std::vector<std::uint8_t> text;
    std::string iniName;
    // Without a description every object would fall back to nothing: the
    // skin on screen would be replaced by a blank one.
    if (!reader.FindEntryContaining(".ini", text, iniName)) {
        if (onMessage)
            onMessage(kNoDescriptionMessage);
        return std::nullopt;
    }
    TQuickIni ini;
    ini.LoadFromStream(text);
    return BuildSkinModel(reader, ini, builtIns);
}
