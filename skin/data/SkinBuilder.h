// Turning a loaded skin (its description and the bitmaps of its archive)
// into skin objects: which objects exist, their state-frame counts, margins
// clamped to their frames, colours and caption buttons. Portable: images are
// decoded pixel buffers, so the whole path from skin file to skin objects
// builds, tests and fuzzes natively; the Windows side only makes GDI
// objects from the result, scales it for the screen and composes the faces
// drawn from several objects.
#pragma once

#include "base/BmpImage.h"
#include "skin/data/SkinRead.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

class TQuickIni;

// 0x00BBGGRR, or with the top byte 0xFF the system colour of the low byte
// (the encoding of the framework's TColor).
using TSkinColor = std::int32_t;

constexpr TSkinColor SystemSkinColour(int index) noexcept
{
    return static_cast<TSkinColor>(0xFF000000u | static_cast<std::uint32_t>(index & 0xFF));
}
// The system colours skin values fall back to.
inline constexpr TSkinColor kSkinBtnText = SystemSkinColour(18);
inline constexpr TSkinColor kSkinNoColour = 0x1FFFFFFF;

// Slots of a skin's palette.
enum TSkinColourSlot {
    scWindowText = 0, scTitleTextActive = 1, scTitleTextNoActive = 2, scButtonFace = 3, scButtonText = 4,
    scButtonHilight = 5, scButtonlight = 6, scButtonShadow = 7, scButtonDkShadow = 8, scHilightText = 11,
    scHilight = 12, scMenubar = 13, scMenuBarText = 14, scMenuText = 15, scMenu = 16, scTitleSample = 17,
    scScrollbar = 18, kSkinColourCount = 19
};

struct TSkinColour {
    TSkinColor Colour = 0; // may name a system colour
    bool Given = false;    // the skin gave this colour
};

struct TSkinPalette {
    std::array<TSkinColour, kSkinColourCount> Colours{};
    // One per [Colour...] section, in file order.
    std::vector<TSkinColor> Extra;
    std::array<TSkinColor, 10> Custom{};
};

// The palette of a description; without one, every colour is its default.
TSkinPalette ReadSkinPalette(const TQuickIni* ini);

// --- The values of skin objects, without their images ---

// A bitmap strip of FrameCount equal state frames (numbered from 1) with the
// numbers needed to draw it.
struct TSkinObjectValues {
    // Nine-slice margins: the parts of a frame drawn at fixed size.
    int LeftWidth = 0;
    int TopHeight = 0;
    int RightWidth = 0;
    int BottomHeight = 0;
    int Trans = 0; // 1: magenta pixels are see-through
    int Tile = 0;  // 1: the middle is tiled (for the frame borders: the Stretch key)
    std::string Name;
    int FrameCount = 0;
    int Style = 0;
    int NormalColour = -1; // -1: not given
    int MouseOverColour = -1;
    int PressedColour = -1;
    TSkinColor NormalColour2 = kSkinBtnText;
    TSkinColor MouseOverColour2 = kSkinBtnText;
    TSkinColor PressedColour2 = kSkinBtnText;
};

// Caption text. The margin fields carry TextShift (left), TextShiftVert (top)
// and TextRightClip (right); the image is the TextBack image.
struct TSkinTitleValues {
    int TextAlignment = 0;
    int Textbackground = 0;
    int FontHeight = 14;
    int TXTBackleft = 0;
    int TXTBackRight = 0;
    TSkinColor ActiveText = kSkinNoColour; // not given by the skin
    TSkinColor InActiveText = kSkinNoColour;
};

// Push buttons, check boxes and radio buttons.
struct TSkinButtonValues {
    int RadioButtonFrame = 0;
    int CheckButtonFrame = 0;
    bool HasNormalColour2 = false;
    bool HasMouseOverColour2 = false;
    bool HasPressedColour2 = false;
};

// One caption button, or one button of a maximised MDI child.
struct TSkinSysButtonValues {
    int Action = 0;
    int Align = 0;
    int XCoord = 0;
    int YCoord = 0;
    int CombineOp = -1;
    int Visibility = 0;
    int Visibility1 = 0;
};

struct TSkinBoxLabelValues {
    int BackgroundLeftShift = 0;
    int BackgroundRightShift = 0;
    int BackgroundAlignment = 0;
};

// --- Built skin objects: values and decoded images ---

// An image that is missing or does not decode is empty (0 x 0).
using TSkinImage = imgcore::TBmpImage;

struct TSkinPart : TSkinObjectValues {
    TSkinImage Image;
};
// The frame borders, Progress, Tabs (pane from key Border), the up-down
// buttons (arrow glyphs from key GlyphImage) and ComboButton.
struct TSkinBorderPart : TSkinPart {
    TSkinImage Image2;
};
struct TSkinTitlePart : TSkinPart, TSkinTitleValues {};
struct TSkinButtonPart : TSkinPart, TSkinButtonValues {
    TSkinImage CheckButton;
    TSkinImage RadioButton;
};
struct TSkinSysButtonPart : TSkinPart, TSkinSysButtonValues {};
struct TSkinBoxLabelPart : TSkinPart, TSkinBoxLabelValues {};

// Slots of the objects that carry nothing beyond the common values.
enum TSkinPlainSlot {
    kMenuBar, kProgressChunk, kGroupBoxEdge, kStatusBarEdges, kTabPane, kToolBars, kSunkEdge, kExtraImages,
    kHeaderbar, kMenuItem, kMenuBackground, kScrollbar, kHorzScroll, kVertScroll, kHorzScrollThumb,
    kVertScrollThumb, kThumbHorz, kThumbVert, kThumbLeft, kThumbRight, kThumbUp, kThumbDown, kTrack,
    kTrackVert, kToolbarGradient, kComboxArrow, kPlainSlotCount
};

// Images the program carries for skins that bring none.
struct TSkinBuiltIns {
    TSkinImage Track;
    TSkinImage TrackVert;
};

// A built skin. Every object except the four borders, the caption and the
// buttons may be absent; an object's margins never reach past its frame,
// and every frame count is at least 1.
struct TSkinModel {
    std::string SkinName;
    TSkinPalette Palette;
    // Caption buttons from the description, then the three MDI buttons
    // (minimise, restore, close of a maximised MDI child).
    std::vector<TSkinSysButtonPart> CaptionButtons;
    TSkinBorderPart Left, Right, Top, Bottom;
    TSkinTitlePart Title;
    TSkinButtonPart Buttons;
    std::optional<TSkinBorderPart> Progress, Tabs, ComboButton, UpDownHorz, UpDownVert;
    std::optional<TSkinBoxLabelPart> GroupBox;
    std::array<std::optional<TSkinPart>, kPlainSlotCount> Plain;
};

// Every object with a strip of state frames, and whether its frames lie one
// above the other (the top and bottom borders and the menu bar) or side by
// side (all others). The caption and the caption buttons are not among them.
struct TSkinStripObject {
    TSkinObjectValues* Values;
    TSkinImage* Image;
    bool Stacked;
};
std::vector<TSkinStripObject> SkinStripObjects(TSkinModel& model);

// Margins cut to frame 1 of an image of that size; an object without an
// image keeps none.
void ClampToFrame(TSkinObjectValues& object, int imageWidth, int imageHeight, bool stacked);

// The skin described by ini, its images taken from reader's archive.
TSkinModel BuildSkinModel(const TSkinReader& reader, const TQuickIni& ini, const TSkinBuiltIns& builtIns);

// Why a skin file that unpacks is still refused.
inline constexpr char kNoDescriptionMessage[] =
    "The skin file has no description (no entry whose name contains \".ini\")";

// A whole skin file: unpacked, its description found and the skin built.
// Nothing when the file does not unpack or holds no description (the reason
// went to onMessage).
std::optional<TSkinModel> BuildSkinFromFile(std::span<const std::uint8_t> file, const TSkinMessageEvent& onMessage,
                                            const TSkinBuiltIns& builtIns);

// Cap for the caption's text offsets, which may be negative: it only keeps
// sums with window coordinates from overflowing, far beyond any caption.
inline constexpr int kLargestTextOffset = imgcore::MaxBmpSide;
