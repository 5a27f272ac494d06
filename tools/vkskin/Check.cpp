#include "Check.h"

#include "base/BmpImage.h"
#include "skin/data/SkinRead.h"
#include "skin/data/WinSkinIni.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

namespace {

// How many frames an image has once loaded, and along which side they lie.
struct TFrames {
    int Count = 1;
    bool Stacked = false;
};

class TChecker {
public:
    TChecker(const TSkinReader& reader, const TQuickIni& ini) : FReader(reader), FIni(ini) {}

    void Run();
    std::vector<TSkinProblem> Problems() { return std::move(FProblems); }

private:
    void Report(bool warning, std::string text) { FProblems.push_back({warning, std::move(text)}); }
    int Integer(std::string_view section, std::string_view key, int fallback) const
    {
        return FIni.ReadInteger(section, key, fallback);
    }
    // Checks one image value; returns the decoded width and height when it loads.
    std::optional<std::pair<int, int>> Image(std::string_view section, std::string_view key);
    void Strip(std::string_view section, std::string_view key, TFrames frames);
    void Personality();
    void CaptionButton(const std::string& section);
    void Buttons();
    void Objects();
    bool Known(const std::string& section) const;

    const TSkinReader& FReader;
    const TQuickIni& FIni;
    std::vector<TSkinProblem> FProblems;
};

std::string Where(std::string_view section, std::string_view key)
{
    return "[" + std::string(section) + "] " + std::string(key);
}

std::optional<std::pair<int, int>> TChecker::Image(std::string_view section, std::string_view key)
{
    const std::string value = FIni.ReadString(section, key, "");
    if (value.empty())
        return std::nullopt;
    const std::string name = SkinImageName(value);
    if (name.empty()) {
        Report(false, Where(section, key) + ": \"" + value + "\" is not a .bmp name (the extension must be \".bmp\" in lower case)");
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes;
    FReader.ExtractEntry(name, bytes);
    if (bytes.empty()) {
        const auto& names = FReader.Names();
        const bool present = std::find(names.begin(), names.end(), LowerCaseAscii(name)) != names.end();
        Report(false, Where(section, key) + ": " + name + (present ? " is empty" : " is missing from the skin"));
        return std::nullopt;
    }
    try {
        const imgcore::TBmpImage image = imgcore::DecodeBmp(bytes);
        return std::pair{image.Width, image.Height};
    } catch (const imgcore::EBmpFormat& error) {
        Report(false, Where(section, key) + ": " + name + " does not load: " + error.what());
    }
    return std::nullopt;
}

void TChecker::Strip(std::string_view section, std::string_view key, TFrames frames)
{
    const auto size = Image(section, key);
    if (!size)
        return;
    const int length = frames.Stacked ? size->second : size->first;
    if (frames.Count < 1 || length % frames.Count != 0 || length < frames.Count)
        Report(false, Where(section, key) + ": " + std::to_string(frames.Count) + " frames do not divide the image " +
                          (frames.Stacked ? "height " : "width ") + std::to_string(length));
}

void TChecker::Personality()
{
    constexpr std::string_view kSection = "Personality";
    for (const std::string_view border : {"Left", "Right", "Top", "Bottom"}) {
        const bool stacked = border == "Top" || border == "Bottom";
        Strip(kSection, border, {Integer(kSection, std::string(border) + "Frame", 1), stacked});
    }
    Strip(kSection, "TextBack", {2, true});
    Strip(kSection, "menuBar", {2, true});
}

void TChecker::CaptionButton(const std::string& section)
{
    const int action = Integer(section, "Action", 0);
    if (action == -1 && Integer(section, "Visibility", 0) != 0)
        return;
    int frames = Integer(section, "frame", 0);
    const auto size = Image(section, "ButtonImage");
    if (!size || action == 3 || action == 11)
        return;
    if (frames == 0)
        frames = action < 0 || size->second == 0 || 3.8 < static_cast<double>(size->first) / size->second ? 6 : 3;
    if (frames < 1 || size->first % frames != 0)
        Report(false, Where(section, "ButtonImage") + ": " + std::to_string(frames) + " frames do not divide the image width " +
                          std::to_string(size->first));
}

void TChecker::Buttons()
{
    Strip("Buttons", "Bitmap", {5});
    for (const auto& [key, frameKey] : {std::pair{"CheckButton", "CheckButtonFrame"}, std::pair{"RadioButton", "RadioButtonFrame"}}) {
        const int frames = Integer("Buttons", frameKey, 0);
        if (frames != 0)
            Strip("Buttons", key, {frames});
        else
            Image("Buttons", key);
    }
    Strip("MDICONTROLS", "Image", {12});
    Strip("Progress", "Bitmap", {Integer("Progress", "Style", 0) != 0 ? 1 : 2});
}

void TChecker::Objects()
{
    struct TObject {
        std::string_view Section;
        int Frames; // 0: the section's own Frame key
    };
    static constexpr std::array kObjects{
        TObject{"Progress.Chunk", 0}, TObject{"GroupBoxEdge", 2}, TObject{"GroupBox", 1}, TObject{"Tabs", 5},
        TObject{"StatusBarEdges", 3}, TObject{"Tab.Pane", 1}, TObject{"ToolBars", 5}, TObject{"ComboButton", 4},
        TObject{"SunkEdge", 4}, TObject{"ExtraImages", 5}, TObject{"MenuItem", 5}, TObject{"MenuBackground", 1},
        TObject{"Scrollbar", 23}, TObject{"HorzScroll", 4}, TObject{"VertScroll", 4}, TObject{"Trackbar.ThumbHorz", 5},
        TObject{"Trackbar.ThumbVert", 5}, TObject{"Trackbar.ThumbLeft", 5}, TObject{"Trackbar.ThumbRight", 5},
        TObject{"Trackbar.ThumbUp", 5}, TObject{"Trackbar.ThumbDown", 5}, TObject{"UpDown.Horz", 8},
        TObject{"UpDown.Vert", 8}, TObject{"Track", 0}, TObject{"TRACKVERT", 0}};
    for (const TObject& object : kObjects)
        Strip(object.Section, "Image", {object.Frames != 0 ? object.Frames : std::max(1, Integer(object.Section, "Frame", 1))});
    const int headerFrames = Integer("Headerbar", "Frame", 0);
    Strip("Headerbar", "Image", {headerFrames != 0 ? headerFrames : 5});
    for (const std::string_view thumb : {"HorzScrollThumb", "VertScrollThumb"})
        Strip(thumb, "Image", {Integer(thumb, "FrameCount", 3)});
    Strip("Tabs", "Border", {1});
    Strip("UpDown.Horz", "GlyphImage", {8});
    Strip("UpDown.Vert", "GlyphImage", {8});
}

bool IsCaptionButtonSection(const std::string& upper)
{
    return upper.starts_with("BUTTON") && upper != "BUTTON" && upper != "BUTTONS" && upper != "BUTTON.RADIO" &&
           upper != "BUTTON.CHECKBOX";
}

std::string UpperCaseAscii(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
    return text;
}

bool TChecker::Known(const std::string& section) const
{
    static constexpr std::string_view kSections[]{
        "TITLEBARSKIN", "PERSONALITY", "FONTS", "COLOURS", "CUSTOMCOLORS", "MDICONTROLS", "BUTTONS", "PROGRESS",
        "PROGRESS.CHUNK", "GROUPBOXEDGE", "STATUSBAREDGES", "TAB.PANE", "TOOLBARS", "SUNKEDGE", "EXTRAIMAGES",
        "HEADERBAR", "MENUITEM", "MENUBACKGROUND", "SCROLLBAR", "HORZSCROLL", "VERTSCROLL", "HORZSCROLLTHUMB",
        "VERTSCROLLTHUMB", "TRACKBAR.THUMBHORZ", "TRACKBAR.THUMBVERT", "TRACKBAR.THUMBLEFT", "TRACKBAR.THUMBRIGHT",
        "TRACKBAR.THUMBUP", "TRACKBAR.THUMBDOWN", "TRACK", "TRACKVERT", "TABS", "UPDOWN.HORZ", "UPDOWN.VERT",
        "COMBOBUTTON", "GROUPBOX"};
    const std::string upper = UpperCaseAscii(section);
    return IsCaptionButtonSection(upper) || upper.starts_with("COLOUR") ||
           std::find(std::begin(kSections), std::end(kSections), upper) != std::end(kSections);
}

void TChecker::Run()
{
    std::vector<std::string> sections;
    FIni.ReadSections(sections);
    Personality();
    for (const std::string& section : sections)
        if (IsCaptionButtonSection(UpperCaseAscii(section)))
            CaptionButton(section);
    Buttons();
    Objects();
    for (const std::string& section : sections)
        if (!Known(section))
            Report(true, "[" + section + "] is not a section Vidkiln reads");
}

} // namespace

std::vector<TSkinProblem> CheckSkinFile(std::span<const std::uint8_t> skinFile)
{
    TSkinReader reader;
    if (!reader.UnpackSkin(skinFile))
        return {{false, "the skin file does not unpack: " + reader.ErrorText()}};
    std::vector<std::uint8_t> text;
    std::string name;
    if (!reader.FindEntryContaining(".ini", text, name))
        return {{false, "the skin has no description (no entry whose name contains \".ini\")"}};
    TQuickIni ini;
    ini.LoadFromStream(text);
    TChecker checker(reader, ini);
    checker.Run();
    return checker.Problems();
}

int CheckCommand(std::span<const std::uint8_t> skinFile, const std::string& fileName, std::ostream& out)
{
    const std::vector<TSkinProblem> problems = CheckSkinFile(skinFile);
    int errors = 0;
    for (const TSkinProblem& problem : problems) {
        out << fileName << ": " << (problem.Warning ? "warning: " : "problem: ") << problem.Text << "\n";
        errors += problem.Warning ? 0 : 1;
    }
    out << fileName << ": " << errors << (errors == 1 ? " problem" : " problems") << "\n";
    return errors == 0 ? 0 : 1;
}
