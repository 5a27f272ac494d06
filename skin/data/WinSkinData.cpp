#include "WinSkinData.h"

#include "CaptionHint.h"
#include "SkinManagerLink.h"
#include "framework/Controls.h"
#include "framework/Forms.h"
#include "base/BmpImage.h"
#include "skin/data/DpiScale.h"
#include "skin/data/ImageGeometry.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/SkinRead.h"
#include "skin/data/SkinStream.h"
#include "skin/data/WinSkinIni.h"
#include "skin/data/resources/SkinResources.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <utility>

// --- Skin objects ---

TDataSkinObject::TDataSkinObject(std::string name) : Bitmap(std::make_unique<TBitmap>())
{
    Name = std::move(name);
}

TDataSkinObject::~TDataSkinObject() = default;

TDataSkinBorder::TDataSkinBorder(std::string name)
    : TDataSkinObject(std::move(name)), Bitmap2(std::make_unique<TBitmap>())
{
}

TDataSkinButton::TDataSkinButton(std::string name)
    : TDataSkinObject(std::move(name)), CheckButton(std::make_unique<TBitmap>()),
      RadioButton(std::make_unique<TBitmap>())
{
}

// --- TSkinData ---

namespace {

constexpr int kRequestDelay = 250;
constexpr TColor kMagenta = clFuchsia;

bool SystemHasGetScrollBarInfo()
{
    static const bool present = GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetScrollBarInfo") != nullptr;
    return present;
}

TSkinControlTypes Without(TSkinControlTypes set, TSkinControlType member)
{
    return set & ~SetBit<TSkinControlTypes>(member);
}

// The portable builder speaks the framework's colour encoding.
static_assert(SystemSkinColour(COLOR_BTNTEXT) == clBtnText && kSkinNoColour == clNone);
static_assert(std::is_same_v<TSkinColor, TColor>);

void LoadPartImage(TBitmap& bitmap, const TSkinImage& image)
{
    if (image.Width > 0 && image.Height > 0)
        bitmap.LoadImage(image);
}

// The skin object for a built part: the values all objects have and those
// of its kind (TKindValues), and its image as a bitmap.
template <class TObject, class... TKindValues, class TPart>
std::unique_ptr<TObject> MakeWithValues(const TPart& part)
{
    auto object = std::make_unique<TObject>(part.Name);
    static_cast<TSkinObjectValues&>(*object) = part;
    ((static_cast<TKindValues&>(*object) = part), ...);
    LoadPartImage(*object->Bitmap, part.Image);
    return object;
}

std::unique_ptr<TDataSkinObject> MakeObject(const TSkinPart& part)
{
    return MakeWithValues<TDataSkinObject>(part);
}

std::unique_ptr<TDataSkinBorder> MakeObject(const TSkinBorderPart& part)
{
    auto object = MakeWithValues<TDataSkinBorder>(part);
    LoadPartImage(*object->Bitmap2, part.Image2);
    return object;
}

std::unique_ptr<TDataSkinButton> MakeObject(const TSkinButtonPart& part)
{
    auto object = MakeWithValues<TDataSkinButton, TSkinButtonValues>(part);
    LoadPartImage(*object->CheckButton, part.CheckButton);
    LoadPartImage(*object->RadioButton, part.RadioButton);
    return object;
}

std::unique_ptr<TDataSkinTitle> MakeObject(const TSkinTitlePart& part)
{
    return MakeWithValues<TDataSkinTitle, TSkinTitleValues>(part);
}

std::unique_ptr<TDataSkinSysButton> MakeObject(const TSkinSysButtonPart& part)
{
    return MakeWithValues<TDataSkinSysButton, TSkinSysButtonValues>(part);
}

std::unique_ptr<TDataSkinBoxLabel> MakeObject(const TSkinBoxLabelPart& part)
{
    return MakeWithValues<TDataSkinBoxLabel, TSkinBoxLabelValues>(part);
}

template <class TPart>
auto MakeOptional(const std::optional<TPart>& part) -> decltype(MakeObject(*part))
{
    return part ? MakeObject(*part) : nullptr;
}

TSkinImage ResourceImage(const wchar_t* name)
{
    try {
        return BitmapResourceImage(GetModuleHandleW(nullptr), name);
    } catch (const EInvalidGraphic&) {
        // A program built without the image draws its track bars itself.
        return {};
    }
}

// The track images the program carries; they never change while it runs.
const TSkinBuiltIns& BuiltInImages()
{
    static const TSkinBuiltIns images{ResourceImage(kTrackResource), ResourceImage(kTrackVertResource)};
    return images;
}

std::unique_ptr<TBitmap> Bitmap24(int width, int height, TColor fill)
{
    auto bitmap = std::make_unique<TBitmap>(width, height, pf24bit);
    TCanvas& canvas = bitmap->Canvas();
    canvas.Brush().SetColor(fill);
    canvas.FillRect({0, 0, width, height});
    return bitmap;
}

} // namespace

const TClassInfo& TSkinData::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo(TClassBuilder<TSkinData>("TSkinData", TComponent::StaticClass())
            .Bool("Active", &TSkinData::Active, &TSkinData::SetActive)
            .Field("DisableTag", &TSkinData::DisableTag)
            .Set("SkinControls",
                 {"xcMainMenu", "xcPopupMenu", "xcMenuItem", "xcToolbar", "xcControlbar", "xcCombo", "xcCheckBox",
                  "xcRadioButton", "xcProgress", "xcScrollbar", "xcEdit", "xcButton", "xcBitBtn", "xcSpeedButton",
                  "xcSpin", "xcPanel", "xcGroupBox", "xcStatusBar", "xcTab", "xcTrackBar", "xcSystemMenu",
                  "xcFastReport"},
                 [](const TSkinData& s) { return s.SkinControls; },
                 [](TSkinData& s, TSkinControlTypes v) { s.SkinControls = v; })
            .Set("Options",
                 {"xoMDIScrollbar", "xoMenuMerge", "xoTransparent", "xoPreview", "xoParentBackGround",
                  "xoNoFocusRect", "xoToolbarBK", "xoToolbarButton", "xoMDIChildBorder", "xoMenuBG",
                  "xoCaptionButtonHint", "xoFormScrollbar"},
                 [](const TSkinData& s) { return s.Options; }, [](TSkinData& s, TSkinOptions v) { s.Options = v; })
            .WideText("Skin3rd",
                      [](const TSkinData& s) {
                          std::wstring text;
                          for (const std::wstring& line : s.FSkin3rd)
                              text += line + L"\r\n";
                          return text;
                      },
                      [](TSkinData& s, const std::wstring& text) {
                          std::vector<std::wstring> lines;
                          for (const std::string& line : SplitTextLines(WideToUtf8(text)))
                              lines.push_back(Utf8ToWide(line));
                          s.SetSkin3rd(lines);
                      })
            .WideText("SkinFile", &TSkinData::SkinFile, &TSkinData::SetSkinFile)
            .WideText("SkinStore", &TSkinData::SkinStore, [](TSkinData&, const std::wstring&) {})
            .Enum("SkinFormtype", {"sfMainform", "sfOnlyThisForm", "sfDialog", "sfDLL"},
                  [](const TSkinData& s) { return s.SkinFormtype; },
                  [](TSkinData& s, TSkinFormType v) { s.SkinFormtype = v; })
            .WideText("Version", &TSkinData::Version, [](TSkinData&, const std::wstring&) {})
            .Field("MenuUpdate", &TSkinData::MenuUpdate)
            .Field("MenuMerge", &TSkinData::MenuMerge)
            .Build());
    return Info;
}

TSkinData::TSkinData(TComponent* AOwner)
    : TComponent(AOwner), FSkin3rd(DefaultSkin3rd()), FAppIcon(std::make_unique<TBitmap>(0, 0, pf24bit)),
      FCaptionHint(std::make_unique<TCaptionHintWindow>(FPixelsPerInch)), FLeft(std::make_unique<TDataSkinBorder>("Left")),
      FRight(std::make_unique<TDataSkinBorder>("Right")), FTop(std::make_unique<TDataSkinBorder>("Top")),
      FBottom(std::make_unique<TDataSkinBorder>("Bottom")), FTitle(std::make_unique<TDataSkinTitle>("Title")),
      FButtons(std::make_unique<TDataSkinButton>("Buttons"))
{
    LoadMenuImages();
}

TSkinData::~TSkinData()
{
    BeginDestroy();
    if (ISkinManagerLink* manager = CurrentSkinManager())
        manager->UnregisterSkinData(this);
}

void TSkinData::LoadMenuImages()
{
    // White is the mask colour of the one-bit glyph strip.
    constexpr COLORREF kMask = RGB(255, 255, 255);
    if (FPixelsPerInch == imgcore::kDesignDpi) {
        FMenuImages.reset(ImageList_LoadImageW(GetModuleHandleW(nullptr), kMenuGlyphsResource, 16, 0, kMask,
                                               IMAGE_BITMAP, LR_CREATEDIBSECTION));
        return;
    }
    // Four 16 x 16 glyphs at 96 pixels per inch, grown with the screen; with
    // the mask as the key they stay two-coloured, so no grey seam rims them.
    TBitmap strip;
    try {
        strip.LoadFromResourceName(GetModuleHandleW(nullptr), kMenuGlyphsResource);
    } catch (const EInvalidGraphic&) {
        FMenuImages.reset();
        return;
    }
    constexpr int kGlyphs = 4;
    const std::unique_ptr<TBitmap> scaled = ScaleStripForDpi(strip, false, kGlyphs, {}, FPixelsPerInch, clWhite);
    const int size = Scaled(16);
    FMenuImages.reset(ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, kGlyphs, 0));
    if (!FMenuImages || scaled->Empty())
        return;
    // The strip's own bitmap stays selected into its canvas; the image list
    // takes a copy of its own.
    gdi::Bitmap copy(static_cast<HBITMAP>(CopyImage(scaled->Handle(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (copy)
        ImageList_AddMasked(FMenuImages.get(), copy.Get(), kMask);
}

// --- Life cycle ---

void TSkinData::SetActive(bool value)
{
    if (value == FActive)
        return;
    FActive = value;
    ISkinManagerLink* manager = CurrentSkinManager();
    if (FReading || !manager)
        return;
    switch (SkinFormtype) {
    case sfMainform:
        if (value && !FSkinLoading) {
            manager->SetPendingSkinData(this);
            manager->RequestAction(1, kRequestDelay);
            manager->SetRunState(1);
        } else if (!value) {
            manager->SetPendingSkinData(this);
            manager->RequestAction(2, kRequestDelay);
        }
        break;
    case sfOnlyThisForm:
        manager->SetPendingSkinData(this);
        if (!value)
            manager->RequestAction(2, kRequestDelay);
        else if (!FSkinLoading)
            manager->RequestAction(1, kRequestDelay);
        break;
    case sfDialog:
    case sfDLL:
        break;
    }
}

void TSkinData::Loaded()
{
    FReading = false;
    RunLoadedSteps();
}

void TSkinData::RunLoadedSteps()
{
    if (!SystemHasGetScrollBarInfo())
        SkinControls = Without(SkinControls, xcScrollbar);
    ISkinManagerLink* manager = EnsureSkinManager();
    if (manager)
        manager->RegisterSkinData(this);
    MakeCaptionFont();
    if (SkinFormtype != sfMainform) {
        if (manager) {
            manager->SetActive(true);
            manager->SetRunState(manager->RunState() + 1);
            auto* form = dynamic_cast<TWinControl*>(Owner());
            if (form && form->InheritsFrom("TCustomForm") && FActive)
                manager->AttachForm(form->Handle());
        }
        return;
    }
    if (manager)
        manager->InstallHook();
    if (FActive) {
        if (FSkinLoading) {
            FActive = false;
        } else if (manager) {
            // The manager carries out a request only for the skin data that made it.
            manager->SetPendingSkinData(this);
            manager->RequestAction(1, kRequestDelay);
        }
    }
    SkinControls = InSet(SkinControls, xcMainMenu) ? Without(SkinControls, xcMenuItem)
                                                   : Without(SkinControls, xcSystemMenu);
    MakeAppIcon();
}

void TSkinData::SetSkinFile(const std::wstring& path)
{
    if (path.empty()) {
        FSkinLoading = true;
        FSkinFile.clear();
        return;
    }
    LoadSkinFile(path);
}

bool TSkinData::LoadSkinFile(const std::wstring& path)
{
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    if (!in)
        return false;
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        return false;
    // A file that is no skin must not cost the skin on screen: its stream,
    // its file name and its loaded state come back as they were.
    std::vector<std::uint8_t> previous = std::exchange(FSkinStream, std::move(bytes));
    const bool wasLoading = FSkinLoading;
    if (!LoadSkinStream()) {
        FSkinStream = std::move(previous);
        FSkinLoading = wasLoading;
        return false;
    }
    FSkinFile = path;
    ApplySkin();
    return true;
}

void TSkinData::ApplySkin()
{
    if (FReading)
        return;
    if (!CurrentSkinManager())
        RunLoadedSteps();
    ISkinManagerLink* manager = CurrentSkinManager();
    if (!manager)
        return;
    manager->SetPendingSkinData(this);
    manager->ReleaseCaptionButtons(this);
    if (manager->RunState() == 1)
        manager->RequestAction(3, kRequestDelay);
}

void TSkinData::ReadSkinStream(std::span<const std::uint8_t> data)
{
    const std::span<const std::uint8_t> file = UnframeSkinStream(data);
    if (file.empty())
        return;
    FSkinStream.assign(file.begin(), file.end());
    LoadSkinStream();
}

std::vector<std::uint8_t> TSkinData::WriteSkinStream() const
{
    return FrameSkinStream(FSkinStream);
}

bool TSkinData::LoadSkinStream()
{
    FSkinLoading = true;
    std::optional<TSkinModel> model = BuildSkinFromFile(
        FSkinStream,
        [](const std::string& text) {
            Application->MessageBox(Utf8ToWide(text), Application->Title(), MB_OK | MB_ICONWARNING);
        },
        BuiltInImages());
    if (!model)
        return false;
    BuildSkin(std::move(*model));
    return true;
}

void TSkinData::QueryFormSkin(HWND, const std::wstring& className, bool& DoSkin)
{
    if (OnFormSkin) {
        OnFormSkin(this, className, DoSkin);
        return;
    }
    if (className == L"SysMonthCal32" || (InSet(SkinControls, xcFastReport) && className.starts_with(L"Tfr")))
        DoSkin = false;
}

void TSkinData::NotifySkinChanged()
{
    if (OnSkinChanged)
        OnSkinChanged(this);
}

void TSkinData::ShowCaptionHint(const RECT& rect, const std::wstring& text)
{
    if (InSet(Options, xoCaptionButtonHint) && !FCaptionHint->Shown())
        FCaptionHint->Show(rect, text);
}

void TSkinData::HideCaptionHint()
{
    if (FCaptionHint->Shown())
        FCaptionHint->Hide();
}

bool TSkinData::CaptionHintShown() const noexcept
{
    return FCaptionHint->Shown();
}

TColor TSkinData::SampleTitleColour() const
{
    const TBitmap& top = *FTop->Bitmap;
    if (top.Empty())
        return SkinColor(scButtonFace);
    const int frames = std::max(FTop->FrameCount, 1);
    return top.Canvas().Pixels(top.Width() / 3, top.Height() / frames / 3);
}

void TSkinData::MakeCaptionFont()
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
        FCaptionFont.SetLogFont(metrics.lfCaptionFont);
}

void TSkinData::MakeAppIcon()
{
    const int width = GetSystemMetrics(SM_CXSMICON);
    const int height = GetSystemMetrics(SM_CYSMICON);
    std::unique_ptr<TBitmap> icon = Bitmap24(width, height, kMagenta);
    HWND window = nullptr;
    if (TCustomForm* main = Application->MainForm())
        window = main->HandleIfAllocated();
    if (window) {
        auto handle = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_SMALL, 0));
        if (!handle)
            handle = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_BIG, 0));
        if (handle)
            DrawIconEx(icon->Canvas().Handle(), 0, 0, handle, width, height, 0, nullptr, DI_NORMAL);
    }
    icon->SetTransparentColor(kMagenta);
    FAppIcon = std::move(icon);
}

// --- Building the skin ---

void TSkinData::BuildSkin(TSkinModel model)
{
    FSkinName = std::move(model.SkinName);
    FPalette = std::move(model.Palette);
    AdoptObjects(model);
    ScaleForScreen();
    ComposeComboFace();
    DeriveComboxArrow();
    MakeToolbarGradient();
    FPalette.Colours[scTitleSample] = {SampleTitleColour(), true};
    FFaceBrush.Reset(CreateSolidBrush(ColorToRGB(SkinColor(scButtonFace))));
    FSkinLoading = false;
}

void TSkinData::AdoptObjects(const TSkinModel& model)
{
    FCaptionButtons.clear();
    for (const TSkinSysButtonPart& button : model.CaptionButtons)
        FCaptionButtons.push_back(MakeObject(button));
    FLeft = MakeObject(model.Left);
    FRight = MakeObject(model.Right);
    FTop = MakeObject(model.Top);
    FBottom = MakeObject(model.Bottom);
    FTitle = MakeObject(model.Title);
    FButtons = MakeObject(model.Buttons);
    FProgress = MakeOptional(model.Progress);
    FGroupBox = MakeOptional(model.GroupBox);
    FTabs = MakeOptional(model.Tabs);
    FComboButton = MakeOptional(model.ComboButton);
    FUpDownHorz = MakeOptional(model.UpDownHorz);
    FUpDownVert = MakeOptional(model.UpDownVert);
    for (std::size_t slot = 0; slot < FPlain.size(); ++slot)
        FPlain[slot] = MakeOptional(model.Plain[slot]);
    // No skin names a second image for the combo button: it is the first mirrored.
    if (FComboButton && !FComboButton->Bitmap->Empty()) {
        FComboButton->Bitmap2 = FComboButton->Bitmap->Clone();
        FComboButton->Bitmap2->SetPixelFormat(pf24bit);
        MirrorHorizontally(*FComboButton->Bitmap2);
    }
}

std::vector<std::pair<TDataSkinObject*, bool>> TSkinData::StripObjects() const
{
    // The top and bottom borders and the menu bar keep their state frames
    // one above the other; every other image has them side by side.
    std::vector<std::pair<TDataSkinObject*, bool>> objects;
    for (TDataSkinObject* stacked : {static_cast<TDataSkinObject*>(FTop.get()),
                                     static_cast<TDataSkinObject*>(FBottom.get()), FPlain[kMenuBar].get()})
        objects.emplace_back(stacked, true);
    for (TDataSkinObject* sideBySide : {static_cast<TDataSkinObject*>(FLeft.get()),
                                        static_cast<TDataSkinObject*>(FRight.get()),
                                        static_cast<TDataSkinObject*>(FButtons.get()),
                                        static_cast<TDataSkinObject*>(FProgress.get()),
                                        static_cast<TDataSkinObject*>(FGroupBox.get()),
                                        static_cast<TDataSkinObject*>(FTabs.get()),
                                        static_cast<TDataSkinObject*>(FComboButton.get()),
                                        static_cast<TDataSkinObject*>(FUpDownHorz.get()),
                                        static_cast<TDataSkinObject*>(FUpDownVert.get())})
        objects.emplace_back(sideBySide, false);
    for (const auto& object : FPlain)
        if (object != FPlain[kMenuBar])
            objects.emplace_back(object.get(), false);
    std::erase_if(objects, [](const auto& entry) { return entry.first == nullptr; });
    return objects;
}

namespace {

void ScaleImage(std::unique_ptr<TBitmap>& image, bool stacked, int frames, const RECT& margins, int dpi)
{
    if (!image->Empty())
        image = ScaleStripForDpi(*image, stacked, frames, margins, dpi);
}

void ScaleNumbers(std::initializer_list<int*> numbers, int dpi)
{
    for (int* number : numbers)
        *number = imgcore::ScaleForDpi(*number, dpi);
}

// The object's bitmap, frame by frame as the painters divide it, and the
// margins that cut its frames.
void ScaleObject(TDataSkinObject& object, bool stacked, int dpi)
{
    ScaleImage(object.Bitmap, stacked, object.FrameCount, object.Margins(), dpi);
    ScaleNumbers({&object.LeftWidth, &object.TopHeight, &object.RightWidth, &object.BottomHeight}, dpi);
}

} // namespace

int TSkinData::Scaled(int value) const noexcept
{
    return imgcore::ScaleForDpi(value, FPixelsPerInch);
}

// Skins are drawn for 96 pixels per inch; on a denser screen every image,
// margin and offset taken from the skin grows with it, so frames, caption
// buttons and control faces keep their proportions to the scaled fonts.
// Runs once the frame counts and margins are final and before anything is
// composed from the objects.
void TSkinData::ScaleForScreen()
{
    const int dpi = FPixelsPerInch;
    if (dpi == imgcore::kDesignDpi)
        return;
    // The second images first: the mirrored combo button cuts its frames
    // with its object's margins as the skin gives them.
    ScaleImage(FButtons->CheckButton, false, FButtons->CheckButtonFrame, {}, dpi);
    ScaleImage(FButtons->RadioButton, false, FButtons->RadioButtonFrame, {}, dpi);
    if (FTabs)
        ScaleImage(FTabs->Bitmap2, false, 1, kTabsPaneMargins, dpi);
    if (FComboButton) {
        const TDataSkinBorder& button = *FComboButton;
        ScaleImage(FComboButton->Bitmap2, false, button.FrameCount,
                   {button.RightWidth, button.TopHeight, button.LeftWidth, button.BottomHeight}, dpi);
    }
    for (TDataSkinBorder* upDown : {FUpDownHorz.get(), FUpDownVert.get()})
        if (upDown)
            ScaleImage(upDown->Bitmap2, false, upDown->FrameCount, {}, dpi);
    for (const auto& [object, stacked] : StripObjects())
        ScaleObject(*object, stacked, dpi);
    for (const auto& button : FCaptionButtons) {
        ScaleObject(*button, false, dpi);
        ScaleNumbers({&button->XCoord, &button->YCoord}, dpi);
    }
    if (FGroupBox)
        ScaleNumbers({&FGroupBox->BackgroundLeftShift, &FGroupBox->BackgroundRightShift}, dpi);

    // The caption's margin fields are text offsets; its background's caps
    // are TXTBackleft and TXTBackRight.
    TDataSkinTitle& title = *FTitle;
    ScaleImage(title.Bitmap, true, title.FrameCount, {title.TXTBackleft, 0, title.TXTBackRight, 0}, dpi);
    ScaleNumbers({&title.LeftWidth, &title.TopHeight, &title.RightWidth, &title.TXTBackleft, &title.TXTBackRight,
                  &title.FontHeight},
                 dpi);
}

void TSkinData::ComposeComboFace()
{
    TDataSkinObject* sunk = FPlain[kSunkEdge].get();
    TDataSkinBorder* button = FComboButton.get();
    if (!sunk || !button)
        return;
    // A face of 50 x 21 at 96 pixels per inch; the system's scroll-bar width
    // is already the screen's.
    const int width = Scaled(50);
    const int height = Scaled(21);
    const int gap = Scaled(2);
    const int frames = sunk->FrameCount;
    const int arrow = GetSystemMetrics(SM_CXHSCROLL) + gap;
    std::unique_ptr<TBitmap> composed = Bitmap24(width * frames, height, kMagenta);
    // One scratch face for all frames: whatever a see-through frame leaves
    // uncovered shows the frame before it, as the combo box always looked.
    std::unique_ptr<TBitmap> scratch = Bitmap24(width, height, clBlack);
    TCanvas& canvas = scratch->Canvas();
    canvas.Brush().SetColor(kMagenta);
    const RECT whole{0, 0, width, height};
    const RECT buttonArea{width - arrow, 0, width, height};
    TDataSkinObject* extra = FPlain[kExtraImages].get();
    // An object without an image contributes nothing to the face.
    for (int f = 1; f <= frames; ++f) {
        if (!sunk->Bitmap->Empty())
            DrawNineSliceFrame(canvas.Handle(), whole, *sunk->Bitmap, false, sunk->Tile != 0, sunk->Trans != 0,
                               frames, f, sunk->Margins());
        if (!button->Bitmap->Empty())
            DrawNineSliceFrame(canvas.Handle(), buttonArea, *button->Bitmap, false, button->Tile != 0, true,
                               button->FrameCount, std::min(f, button->FrameCount), button->Margins());
        if (extra && !extra->Bitmap->Empty())
            DrawCentredFrame(canvas.Handle(), buttonArea, *extra->Bitmap, true, extra->FrameCount,
                             std::min(f, extra->FrameCount));
        canvas.FillRect({gap, gap, width - Scaled(1) - arrow, height - Scaled(3)});
        composed->Canvas().BitBlt(width * (f - 1), 0, width, height, canvas.Handle(), 0, 0);
    }
    button->Style = 2;
    button->TopHeight = sunk->TopHeight;
    button->BottomHeight = sunk->BottomHeight;
    button->LeftWidth = gap;
    button->RightWidth = arrow + gap;
    sunk->Bitmap = composed->Clone();
    MirrorHorizontally(*sunk->Bitmap);
    sunk->LeftWidth = arrow + gap;
    sunk->RightWidth = gap;
    button->Bitmap = std::move(composed);
    ClampToFrame(*sunk, sunk->Bitmap->Width(), sunk->Bitmap->Height(), false);
    ClampToFrame(*button, button->Bitmap->Width(), button->Bitmap->Height(), false);
}

void TSkinData::DeriveComboxArrow()
{
    if (!FPlain[kComboxArrow])
        FPlain[kComboxArrow] = std::make_unique<TDataSkinObject>("ComboxArrow");
    TDataSkinObject& arrow = *FPlain[kComboxArrow];
    TDataSkinBorder* button = FComboButton.get();
    TDataSkinObject* sunk = FPlain[kSunkEdge].get();
    if (!button)
        return;
    if (!sunk) {
        arrow.Bitmap = button->Bitmap->Clone();
        if (!arrow.Bitmap->Empty())
            ReplaceMagenta(*arrow.Bitmap, SkinColor(scButtonFace));
        arrow.FrameCount = button->FrameCount;
        return;
    }
    if (button->Style != 2)
        return;
    const int frames = sunk->FrameCount;
    const int frameWidth = button->Bitmap->Width() / frames;
    // The arrow's 17 x 17 cell sits 19 pixels left of each frame's right edge at 96 pixels per inch.
    const int cell = Scaled(17);
    auto cells = std::make_unique<TBitmap>(cell * frames, cell, pf24bit);
    for (int f = 1; f <= frames; ++f)
        cells->Canvas().BitBlt(cell * (f - 1), 0, cell, cell, button->Bitmap->Canvas().Handle(),
                               frameWidth * f - Scaled(19), Scaled(2));
    arrow.Bitmap = std::move(cells);
    arrow.FrameCount = frames;
}

void TSkinData::MakeToolbarGradient()
{
    if (!FPlain[kToolbarGradient])
        FPlain[kToolbarGradient] = std::make_unique<TDataSkinObject>("Toolbar");
    TDataSkinObject& toolbar = *FPlain[kToolbarGradient];
    const TColor title = SampleTitleColour();
    const int saturation = Saturation(title);
    const TColor end = saturation > 110 ? MixColour(title, clWhite, 25 * (225 - saturation) / 140 + 50)
                                        : MixColour(0x808080, title, 150);
    toolbar.Bitmap = std::make_unique<TBitmap>(10, 40, pf24bit);
    FillGradientBands(toolbar.Bitmap->Canvas().Handle(), {0, 0, 10, 40}, MixColour(SkinColor(scButtonFace), clWhite, 150),
                      true, end);
    toolbar.FrameCount = 1;
}

TDataSkinObject* TSkinData::FindSkinObject(std::string_view name) const
{
    auto key = [](std::string_view text) {
        std::string result;
        for (char c : text)
            if (c != '.')
                result.push_back(c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c);
        return result;
    };
    const std::string wanted = key(name);
    std::vector<TDataSkinObject*> objects{FLeft.get(),     FRight.get(),   FTop.get(),         FBottom.get(),
                                          FTitle.get(),    FButtons.get(), FProgress.get(),    FGroupBox.get(),
                                          FTabs.get(),     FComboButton.get(), FUpDownHorz.get(), FUpDownVert.get()};
    for (const auto& object : FPlain)
        objects.push_back(object.get());
    for (TDataSkinObject* object : objects)
        if (object && key(object->Name) == wanted)
            return object;
    return nullptr;
}

const std::vector<std::wstring>& DefaultSkin3rd()
{
    static const std::vector<std::wstring> lines{
    L"TCategoryButtons=scrollbar", L"TPngSpeedbutton=pngspeedbutton", L"TPngBitBtn=pngbitbtn",
    L"TVirtualStringTree=scrollbar", L"TVirtualDrawTree=scrollbar", L"TTBXDockablePanel=Panel",
    L"TAdvPanelGroup=scrollbar", L"TComboboxex=combobox", L"TRxSpeedButton=speedbutton",
    L"THTMLViewer=scrollbar", L"TDBCtrlGrid=scrollbar", L"TfrSpeedButton=speedbutton",
    L"TfrTBButton=speedbutton", L"TControlBar=Panel", L"TTBDock=Panel", L"TTBToolbar=Panel",
    L"TImageEnMView=scrollbar", L"TImageEnView=scrollbar", L"TAdvMemo=scrollbar", L"TDBAdvMemo=scrollbar",
    L"TcxDBLookupComboBox=combobox", L"TcxDBComboBox=combobox", L"TcxDBDateEdit=combobox",
    L"TcxDBImageComboBox=combobox", L"TcxDBCalcEdit=combobox", L"TcxDBBlobEdit=combobox",
    L"TcxDBPopupEdit=combobox", L"TcxDBFontNameComboBox=combobox", L"TcxDBShellComboBox=combobox",
    L"TRxLookupEdit=combobox", L"TRxDBLookupCombo=combobox", L"TRzGroup=panel", L"TRzButton=button",
    L"TRzBitbtn=bitbtn", L"TRzMenuButton=menubtn", L"TRzCheckGroup=CheckGroup", L"TRzRadioGroup=Radiogroup",
    L"TRzButtonEdit=Edit", L"TRzDBRadioGroup=Radiogroup", L"TRzDBRadioButton=Radiobutton",
    L"TRzDateTimeEdit=combobox", L"TRzColorEdit=combobox", L"TRzDateTimePicker=combobox",
    L"TRzDBDateTimeEdit=combobox", L"TRzDbColorEdit=combobox", L"TRzDBDateTimePicker=combobox",
    L"TLMDButton=bitbtn", L"TLMDGroupBox=Groupbox", L"TDBCheckboxEh=Checkbox", L"TDBCheckboxEh=Checkbox",
    L"TLMDCHECKBOX=Checkbox", L"TLMDDBCHECKBOX=Checkbox", L"TLMDRadiobutton=Radiobutton",
    L"TLMDCalculator=panel", L"TLMDGROUPBOX=Panel", L"TLMDSIMPLEPANEL=Panel", L"TLMDDBCalendar=Panel",
    L"TLMDButtonPanel=Panel", L"TLMDLMDCalculator=Panel", L"TLMDHeaderPanel=Panel",
    L"TLMDTechnicalLine=Panel", L"TLMDLMDClock=Panel", L"TLMDTrackbar=panel", L"TLMDListCombobox=combobox",
    L"TLMDCheckListCombobox=combobox", L"TLMDHeaderListCombobox=combobox", L"TLMDImageCombobox=combobox",
    L"TLMDColorCombobox=combobox", L"TLMDFontCombobox=combobox", L"TLMDFontSizeCombobox=combobox",
    L"TLMDFontSizeCombobox=combobox", L"TLMDPrinterCombobox=combobox", L"TLMDDriveCombobox=combobox",
    L"TLMDCalculatorComboBox=combobox", L"TLMDTrackBarComboBox=combobox", L"TLMDCalendarComboBox=combobox",
    L"TLMDTreeComboBox=combobox", L"TLMDRADIOGROUP=radiogroup", L"TLMDCheckGroup=CheckGroup",
    L"TLMDDBRADIOGROUP=radiogroup", L"TLMDDBCheckGroup=CheckGroup", L"TLMDCalculatorEdit=edit",
    L"TLMDEDIT=Edit", L"TLMDMASKEDIT=Edit", L"TLMDBROWSEEDIT=Edit", L"TLMDEXTSPINEDIT=Edit",
    L"TLMDCALENDAREDIT=Edit", L"TLMDFILEOPENEDIT=Edit", L"TLMDFILESAVEEDIT=Edit", L"TLMDCOLOREDIT=Edit",
    L"TLMDDBEDIT=Edit", L"TLMDDBMASKEDIT=Edit", L"TLMDDBEXTSPINEDIT=Edit", L"TLMDDBSPINEDIT=Edit",
    L"TLMDDBEDITDBLookup=Edit", L"TLMDEDITDBLookup=Edit", L"TDBLookupCombobox=Combobox",
    L"TWWDBCombobox=Combobox", L"TWWDBLookupCombo=Combobox", L"TWWDBCombobox=Combobox",
    L"TWWKeyCombo=Combobox", L"TWWTempKeyCombo=combobox", L"TWWDBDateTimePicker=Combobox",
    L"TWWRADIOGROUP=radiogroup", L"TWWDBEDIT=Edit", L"TcxButton=bitbtn", L"TcxDBRadioGroup=radiogroup",
    L"TcxRadioGroup=radiogroup", L"TcxGroupbox=groupbox", L"TOVCPICTUREFIELD=Edit",
    L"TOVCDBPICTUREFIELD=Edit", L"TOVCSLIDEREDIT=Edit", L"TOVCDBSLIDEREDIT=Edit", L"TOVCSIMPLEFIELD=Edit",
    L"TOVCDBSIMPLEFIELD=Edit", L"TO32DBFLEXEDIT=Edit", L"TOVCNUMERICFIELD=Edit", L"TOVCDBNUMERICFIELD=Edit",
    };
    return lines;
}
