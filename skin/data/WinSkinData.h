// TSkinData: the component that holds one loaded skin (the skin file, its
// description and the skin objects built from them) and the switches that
// say what gets skinned. The main window carries one (SkinData1) whose skin
// file is stored with the window; a skin file may also come from disk.
//
// Skin objects are plain records owned by the skin data. Each is named after
// the description section that filled it and may be absent: every consumer
// tests for absence and for an empty Bitmap.
#pragma once

#include "framework/Bitmap.h"
#include "framework/Component.h"
#include "framework/Delegate.h"
#include "framework/GdiObjects.h"
#include "framework/Graphics.h"
#include "skin/data/SkinBuilder.h"

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

class TCaptionHintWindow;

// --- Switches ---

// Member order is the bit order of TSkinControlTypes.
enum TSkinControlType {
    xcMainMenu, xcPopupMenu, xcMenuItem, xcToolbar, xcControlbar, xcCombo, xcCheckBox, xcRadioButton,
    xcProgress, xcScrollbar, xcEdit, xcButton, xcBitBtn, xcSpeedButton, xcSpin, xcPanel, xcGroupBox,
    xcStatusBar, xcTab, xcTrackBar, xcSystemMenu, xcFastReport
};
using TSkinControlTypes = std::uint32_t;
// Everything from xcMainMenu to xcSystemMenu except xcMenuItem.
inline constexpr TSkinControlTypes kDefaultSkinControls = 0x1FFFFB;

enum TSkinOption {
    xoMDIScrollbar, xoMenuMerge, xoTransparent, xoPreview, xoParentBackGround, xoNoFocusRect,
    xoToolbarBK, xoToolbarButton, xoMDIChildBorder, xoMenuBG, xoCaptionButtonHint, xoFormScrollbar
};
using TSkinOptions = std::uint16_t;
// xoPreview, xoToolbarBK and xoCaptionButtonHint.
inline constexpr TSkinOptions kDefaultSkinOptions = 0x448;

enum TSkinFormType { sfMainform, sfOnlyThisForm, sfDialog, sfDLL };

template <class TSet, class TMember>
constexpr bool InSet(TSet set, TMember member) noexcept
{
    return (set >> static_cast<int>(member)) & 1U;
}
template <class TSet, class TMember>
constexpr TSet SetBit(TMember member) noexcept
{
    return static_cast<TSet>(TSet{1} << static_cast<int>(member));
}

// --- Skin objects ---

// The GDI side of a built skin object: its values (see SkinBuilder.h) and
// its image as a bitmap.
class TDataSkinObject : public TSkinObjectValues {
public:
    explicit TDataSkinObject(std::string name);
    TDataSkinObject(const TDataSkinObject&) = delete;
    TDataSkinObject& operator=(const TDataSkinObject&) = delete;
    virtual ~TDataSkinObject();

    RECT Margins() const noexcept { return {LeftWidth, TopHeight, RightWidth, BottomHeight}; }

    std::unique_ptr<TBitmap> Bitmap;
};

// The margins of the tab pane drawn from Tabs' Bitmap2 (the pane image of
// [Tab.Pane] brings its own), at 96 pixels per inch.
inline constexpr RECT kTabsPaneMargins{4, 5, 4, 4};

// The frame borders, Progress, Tabs (pane from key Border), the up-down
// buttons (arrow glyphs from key GlyphImage) and ComboButton (its image mirrored).
class TDataSkinBorder : public TDataSkinObject {
public:
    explicit TDataSkinBorder(std::string name);
    std::unique_ptr<TBitmap> Bitmap2;
};

// Caption text; Bitmap is the TextBack image.
class TDataSkinTitle : public TDataSkinObject, public TSkinTitleValues {
public:
    using TDataSkinObject::TDataSkinObject;
};

// Push buttons, check boxes and radio buttons.
class TDataSkinButton : public TDataSkinObject, public TSkinButtonValues {
public:
    explicit TDataSkinButton(std::string name);
    std::unique_ptr<TBitmap> CheckButton;
    std::unique_ptr<TBitmap> RadioButton;
};

// One caption button, or one button of a maximised MDI child.
class TDataSkinSysButton : public TDataSkinObject, public TSkinSysButtonValues {
public:
    using TDataSkinObject::TDataSkinObject;
};

class TDataSkinBoxLabel : public TDataSkinObject, public TSkinBoxLabelValues {
public:
    using TDataSkinObject::TDataSkinObject;
};

// --- Events ---

class TSkinData;
class TControl;
using TOnFormSkin = TDelegate<void(TObject* Sender, const std::wstring& aName, bool& DoSkin)>;
using TOnSkinControl = TDelegate<void(TComponent* Sender, TSkinData* SkinData, TControl* Form, TControl* Control,
                                      const std::wstring& ControlClass, TComponent*& SkinnedControl)>;
using TOnSkinForm = TDelegate<void(TObject* Sender, HWND ahwnd, const std::wstring& aName)>;

class TSkinData : public TComponent {
    VK_CLASS_INFO
public:
    explicit TSkinData(TComponent* AOwner);
    ~TSkinData() override;

    // --- Published properties ---
    bool Active() const noexcept { return FActive; }
    void SetActive(bool value);
    int DisableTag = 99;
    TSkinControlTypes SkinControls = kDefaultSkinControls;
    TSkinOptions Options = kDefaultSkinOptions;
    // ClassName=kind lines; the first line whose class name matches wins.
    const std::vector<std::wstring>& Skin3rd() const noexcept { return FSkin3rd; }
    void SetSkin3rd(const std::vector<std::wstring>& lines) { FSkin3rd = lines; }
    const std::wstring& SkinFile() const noexcept { return FSkinFile; }
    // Loads the file and hands the skin to the skin manager; an empty path
    // leaves no skin loaded. A file that cannot be read or unpacked changes
    // nothing.
    void SetSkinFile(const std::wstring& path);
    // SetSkinFile for a file, saying whether the skin changed.
    bool LoadSkinFile(const std::wstring& path);
    // A design-time indicator; this program has no designer, so it always reads "(none)".
    std::wstring SkinStore() const { return L"(none)"; }
    TSkinFormType SkinFormtype = sfMainform;
    std::wstring Version() const { return L"5.40.07.15"; }
    bool MenuUpdate = true;
    bool MenuMerge = false;

    TOnFormSkin OnFormSkin;
    TNotifyEvent OnSkinChanged;
    TOnSkinControl OnSkinControl;
    TOnSkinForm OnBeforeSkinForm;
    TOnSkinForm OnAfterSkinForm;

    // --- Saved form data ---
    // Between BeginReading and Loaded, property writes only store their values
    // (the form's saved data is being read); Loaded then starts the skin.
    void BeginReading() noexcept { FReading = true; }
    void Loaded();
    // The binary property SkinStream: a 4-byte little-endian length n, then n
    // bytes of skin file. Reading loads the skin at once. Throws
    // std::invalid_argument when the data is shorter than it says.
    void ReadSkinStream(std::span<const std::uint8_t> data);
    std::vector<std::uint8_t> WriteSkinStream() const;
    const std::vector<std::uint8_t>& SkinStream() const noexcept { return FSkinStream; }

    // --- Operations ---
    // Unpacks the skin stream and builds the skin. False when it does not
    // unpack; the previous skin objects then stay and SkinLoading stays set.
    bool LoadSkinStream();
    // Hands a newly built skin to the skin manager.
    void ApplySkin();
    void QueryFormSkin(HWND window, const std::wstring& className, bool& DoSkin);
    void NotifySkinChanged();
    void ShowCaptionHint(const RECT& rect, const std::wstring& text);
    void HideCaptionHint();
    bool CaptionHintShown() const noexcept;
    // The colour of the caption, sampled from the Top border image.
    TColor SampleTitleColour() const;

    // --- Loaded skin ---
    bool SkinLoading() const noexcept { return FSkinLoading; }
    // The screen density the skin objects were built for (TFont::PixelsPerInch
    // when the skin was built): bitmaps, margins, offsets and the menu images
    // are already scaled to it from the skin's 96 pixels per inch. At 96
    // nothing is touched.
    int PixelsPerInch() const noexcept { return FPixelsPerInch; }
    // A size the engine draws at 96 pixels per inch, for the built skin's density.
    int Scaled(int value) const noexcept;
    RECT Scaled(const RECT& margins) const noexcept
    {
        return {Scaled(margins.left), Scaled(margins.top), Scaled(margins.right), Scaled(margins.bottom)};
    }
    const std::string& SkinName() const noexcept { return FSkinName; }
    const std::array<TSkinColour, kSkinColourCount>& SkinColors() const noexcept { return FPalette.Colours; }
    TColor SkinColor(TSkinColourSlot slot) const noexcept { return FPalette.Colours[slot].Colour; }
    const std::vector<TColor>& ExtraColors() const noexcept { return FPalette.Extra; }
    const std::array<TColor, 10>& CustomColors() const noexcept { return FPalette.Custom; }
    HBRUSH FaceBrush() const noexcept { return FFaceBrush.Get(); }
    TFont& CaptionFont() noexcept { return FCaptionFont; }
    TBitmap& AppIcon() noexcept { return *FAppIcon; }
    // Restore, maximise, minimise and close, 16 x 16 each.
    HIMAGELIST MenuImages() const noexcept { return FMenuImages.get(); }
    // Off while the form frame lets the framework handle a menu change.
    bool FramePainting = true;

    // Caption buttons from the description, then the three MDI buttons
    // (minimise, restore, close of a maximised MDI child).
    const std::vector<std::unique_ptr<TDataSkinSysButton>>& CaptionButtons() const noexcept { return FCaptionButtons; }

    TDataSkinBorder* Left() const noexcept { return FLeft.get(); }
    TDataSkinBorder* Right() const noexcept { return FRight.get(); }
    TDataSkinBorder* Top() const noexcept { return FTop.get(); }
    TDataSkinBorder* Bottom() const noexcept { return FBottom.get(); }
    TDataSkinTitle* Title() const noexcept { return FTitle.get(); }
    TDataSkinButton* Buttons() const noexcept { return FButtons.get(); }
    TDataSkinBorder* Progress() const noexcept { return FProgress.get(); }
    TDataSkinObject* MenuBar() const noexcept { return Plain(kMenuBar); }
    TDataSkinObject* ProgressChunk() const noexcept { return Plain(kProgressChunk); }
    TDataSkinObject* GroupBoxEdge() const noexcept { return Plain(kGroupBoxEdge); }
    TDataSkinBoxLabel* GroupBox() const noexcept { return FGroupBox.get(); }
    TDataSkinBorder* Tabs() const noexcept { return FTabs.get(); }
    TDataSkinObject* StatusBarEdges() const noexcept { return Plain(kStatusBarEdges); }
    TDataSkinObject* TabPane() const noexcept { return Plain(kTabPane); }
    TDataSkinObject* ToolBars() const noexcept { return Plain(kToolBars); }
    TDataSkinBorder* ComboButton() const noexcept { return FComboButton.get(); }
    TDataSkinObject* SunkEdge() const noexcept { return Plain(kSunkEdge); }
    TDataSkinObject* ExtraImages() const noexcept { return Plain(kExtraImages); }
    TDataSkinObject* Headerbar() const noexcept { return Plain(kHeaderbar); }
    TDataSkinObject* MenuItem() const noexcept { return Plain(kMenuItem); }
    TDataSkinObject* MenuBackground() const noexcept { return Plain(kMenuBackground); }
    TDataSkinObject* Scrollbar() const noexcept { return Plain(kScrollbar); }
    TDataSkinObject* HorzScroll() const noexcept { return Plain(kHorzScroll); }
    TDataSkinObject* VertScroll() const noexcept { return Plain(kVertScroll); }
    TDataSkinObject* HorzScrollThumb() const noexcept { return Plain(kHorzScrollThumb); }
    TDataSkinObject* VertScrollThumb() const noexcept { return Plain(kVertScrollThumb); }
    TDataSkinObject* TrackbarThumbHorz() const noexcept { return Plain(kThumbHorz); }
    TDataSkinObject* TrackbarThumbVert() const noexcept { return Plain(kThumbVert); }
    TDataSkinObject* TrackbarThumbLeft() const noexcept { return Plain(kThumbLeft); }
    TDataSkinObject* TrackbarThumbRight() const noexcept { return Plain(kThumbRight); }
    TDataSkinObject* TrackbarThumbUp() const noexcept { return Plain(kThumbUp); }
    TDataSkinObject* TrackbarThumbDown() const noexcept { return Plain(kThumbDown); }
    TDataSkinBorder* UpDownHorz() const noexcept { return FUpDownHorz.get(); }
    TDataSkinBorder* UpDownVert() const noexcept { return FUpDownVert.get(); }
    TDataSkinObject* Track() const noexcept { return Plain(kTrack); }
    TDataSkinObject* TrackVert() const noexcept { return Plain(kTrackVert); }
    TDataSkinObject* Toolbar() const noexcept { return Plain(kToolbarGradient); }
    TDataSkinObject* ComboxArrow() const noexcept { return Plain(kComboxArrow); }

    // Any skin object by the section name it was made from ("Tab.Pane",
    // "UpDown.Vert", "TRACKVERT" ...; any case), or nullptr when absent.
    TDataSkinObject* FindSkinObject(std::string_view name) const;

private:
    using TPlainSlot = TSkinPlainSlot;
    TDataSkinObject* Plain(TPlainSlot slot) const noexcept { return FPlain[slot].get(); }

    void RunLoadedSteps();
    void BuildSkin(TSkinModel model);
    void AdoptObjects(const TSkinModel& model);
    // Every skin object with a strip of state frames, and whether its frames
    // lie one above the other (caption buttons and the caption aside).
    std::vector<std::pair<TDataSkinObject*, bool>> StripObjects() const;
    void ComposeComboFace();
    void DeriveComboxArrow();
    void MakeToolbarGradient();
    void ScaleForScreen();
    void MakeAppIcon();
    void MakeCaptionFont();
    void LoadMenuImages();

    bool FActive = false;
    bool FReading = false;
    bool FSkinLoading = true;
    // One density for the life of the skin data: the process reads it once.
    const int FPixelsPerInch = TFont::PixelsPerInch();
    std::wstring FSkinFile;
    std::vector<std::wstring> FSkin3rd;
    std::vector<std::uint8_t> FSkinStream;

    std::string FSkinName;
    TSkinPalette FPalette = ReadSkinPalette(nullptr);
    gdi::Brush FFaceBrush;
    TFont FCaptionFont;
    std::unique_ptr<TBitmap> FAppIcon;
    struct TImageListDeleter {
        void operator()(HIMAGELIST list) const noexcept { ImageList_Destroy(list); }
    };
    std::unique_ptr<std::remove_pointer_t<HIMAGELIST>, TImageListDeleter> FMenuImages;
    std::unique_ptr<TCaptionHintWindow> FCaptionHint;

    std::vector<std::unique_ptr<TDataSkinSysButton>> FCaptionButtons;
    std::unique_ptr<TDataSkinBorder> FLeft, FRight, FTop, FBottom;
    std::unique_ptr<TDataSkinTitle> FTitle;
    std::unique_ptr<TDataSkinButton> FButtons;
    std::unique_ptr<TDataSkinBorder> FProgress;
    std::unique_ptr<TDataSkinBoxLabel> FGroupBox;
    std::unique_ptr<TDataSkinBorder> FTabs, FComboButton, FUpDownHorz, FUpDownVert;
    std::array<std::unique_ptr<TDataSkinObject>, kPlainSlotCount> FPlain;
};

// The 118 ClassName=kind lines a new TSkinData starts with.
const std::vector<std::wstring>& DefaultSkin3rd();
