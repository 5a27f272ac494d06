#include "WinSkinData.h"

#include "SkinManagerLink.h"
#include "base/WindowObject.h"
#include "framework/Controls.h"
#include "framework/Forms.h"
#include "base/BmpImage.h"
#include "skin/data/DpiScale.h"
#include "skin/data/ImageGeometry.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/SkinRead.h"
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

TDataSkinObject::TDataSkinObject(std::string name) : Bitmap(std::make_unique<TBitmap>()), Name(std::move(name)) {}

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

// --- The caption hint window ---

namespace {

constexpr wchar_t kHintClass[] = L"VidkilnCaptionHint";
// At 96 pixels per inch; the hint scales them with the skin's density.
constexpr int kHintMaxWidth = 500;
constexpr int kHintPadding = 3;
// Long words break too, so no hint grows past its maximum width.
constexpr UINT kHintFormat = DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX;

HFONT HintFont()
{
    static gdi::Font font = [] {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof(metrics);
        if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
            return gdi::Font();
        return gdi::Font(CreateFontIndirectW(&metrics.lfStatusFont));
    }();
    return font ? font.Get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

} // namespace

// A small tooltip-like popup for caption-button hints. It never takes the
// focus and paints its text on the system's info colours.
class TCaptionHintWindow {
public:
    explicit TCaptionHintWindow(int pixelsPerInch)
        : FMaxWidth(imgcore::ScaleForDpi(kHintMaxWidth, pixelsPerInch)),
          FPadding(imgcore::ScaleForDpi(kHintPadding, pixelsPerInch))
    {
    }
    TCaptionHintWindow(const TCaptionHintWindow&) = delete;
    TCaptionHintWindow& operator=(const TCaptionHintWindow&) = delete;
    ~TCaptionHintWindow()
    {
        if (FWindow)
            DestroyWindow(FWindow);
    }

    bool Shown() const noexcept { return FShown; }

    void Show(const RECT& rect, const std::wstring& text)
    {
        if (!Create())
            return;
        FText = text;
        RECT bounds{0, 0, FMaxWidth, 0};
        {
            gdi::ClientDC dc(FWindow);
            gdi::Selection font(dc.Get(), HintFont());
            DrawTextW(dc.Get(), FText.c_str(), static_cast<int>(FText.size()), &bounds,
                      DT_CALCRECT | kHintFormat);
        }
        const int width = std::min<int>(bounds.right, FMaxWidth) + 2 * FPadding + 2;
        const int height = bounds.bottom + 2 * FPadding;
        SetWindowPos(FWindow, HWND_TOPMOST, rect.left, rect.top, width, height,
                     SWP_NOACTIVATE | SWP_SHOWWINDOW);
        InvalidateRect(FWindow, nullptr, TRUE);
        FShown = true;
    }

    void Hide()
    {
        if (FWindow)
            ShowWindow(FWindow, SW_HIDE);
        FShown = false;
    }

private:
    bool Create()
    {
        if (FWindow)
            return true;
        static const ATOM atom = [] {
            WNDCLASSEXW windowClass{};
            windowClass.cbSize = sizeof(windowClass);
            windowClass.style = CS_SAVEBITS;
            windowClass.lpfnWndProc = WindowProc;
            windowClass.hInstance = GetModuleHandleW(nullptr);
            windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
            windowClass.lpszClassName = kHintClass;
            return RegisterClassExW(&windowClass);
        }();
        if (!atom)
            return false;
        FWindow = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, kHintClass, L"",
                                  WS_POPUP | WS_BORDER, 0, 0, 0, 0, nullptr, nullptr, GetModuleHandleW(nullptr), this);
        return FWindow != nullptr;
    }

    void Paint(HWND window) noexcept
    {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        RECT client;
        GetClientRect(window, &client);
        FillRect(dc, &client, GetSysColorBrush(COLOR_INFOBK));
        InflateRect(&client, -FPadding, -FPadding);
        {
            gdi::Selection font(dc, HintFont());
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
            DrawTextW(dc, FText.c_str(), static_cast<int>(FText.size()), &client, kHintFormat);
        }
        EndPaint(window, &paint);
    }

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        auto* self = WindowObject<TCaptionHintWindow>(window, message, lParam);
        if (message == WM_PAINT && self) {
            self->Paint(window);
            return 0;
        }
        if (message == WM_NCDESTROY && self)
            self->FWindow = nullptr;
        if (message == WM_MOUSEACTIVATE)
            return MA_NOACTIVATE;
        return DefWindowProcW(window, message, wParam, lParam);
    }

    const int FMaxWidth;
    const int FPadding;
    HWND FWindow = nullptr;
    std::wstring FText;
    bool FShown = false;
};

// --- TSkinData ---

namespace {

constexpr int kRequestDelay = 250;
constexpr TColor kMagenta = clFuchsia;

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

bool SystemHasGetScrollBarInfo()
{
    static const bool present = GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetScrollBarInfo") != nullptr;
    return present;
}

TSkinControlTypes Without(TSkinControlTypes set, TSkinControlType member)
{
    return set & ~SetBit<TSkinControlTypes>(member);
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
    FCustomColors.fill(clWhite);
    ReadColours();
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
    if (data.size() < 4)
        throw std::invalid_argument("SkinStream: no length");
    std::uint32_t length = 0;
    for (int i = 3; i >= 0; --i)
        length = (length << 8) | data[static_cast<std::size_t>(i)];
    if (length > data.size() - 4)
        throw std::invalid_argument("SkinStream: shorter than its length says");
    if (length == 0)
        return;
    FSkinStream.assign(data.begin() + 4, data.begin() + 4 + length);
    LoadSkinStream();
}

std::vector<std::uint8_t> TSkinData::WriteSkinStream() const
{
    const auto length = static_cast<std::uint32_t>(FSkinStream.size());
    std::vector<std::uint8_t> data;
    data.reserve(4 + FSkinStream.size());
    for (int i = 0; i < 4; ++i)
        data.push_back(static_cast<std::uint8_t>(length >> (8 * i)));
    data.insert(data.end(), FSkinStream.begin(), FSkinStream.end());
    return data;
}

bool TSkinData::LoadSkinStream()
{
    FSkinLoading = true;
    TSkinReader reader;
    reader.OnMessage = [](const std::string& text) {
        Application->MessageBox(Utf8ToWide(text), Application->Title(), MB_OK | MB_ICONWARNING);
    };
    if (!reader.UnpackSkin(FSkinStream))
        return false;
    std::vector<std::uint8_t> text;
    std::string iniName;
    reader.FindEntryContaining(".ini", text, iniName);
    TQuickIni ini;
    ini.LoadFromStream(text);

    // The reader and the description exist only while this skin is built.
    struct TBuildScope {
        TSkinData& Self;
        ~TBuildScope()
        {
            Self.FReader = nullptr;
            Self.FIni = nullptr;
        }
    } scope{*this};
    FReader = &reader;
    FIni = &ini;
    BuildSkin();
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

void TSkinData::LoadImageEntry(TBitmap& bitmap, std::string_view value) const
{
    std::vector<std::uint8_t> bytes;
    if (FReader)
        ExtractSkinImage(*FReader, value, bytes);
    try {
        if (!bytes.empty()) {
            bitmap.LoadFromBmpBytes(bytes);
            return;
        }
    } catch (const EInvalidGraphic&) {
        // A damaged image reads as no image: every consumer handles an empty bitmap.
    }
    bitmap.SetSize(0, 0);
}

TColor TSkinData::ReadColour(const char* key, TColor fallback) const
{
    const std::string value = FIni ? FIni->ReadString("Colours", key, "") : std::string();
    return static_cast<TColor>(ParseSkinColour(value, static_cast<std::uint32_t>(fallback)));
}

void TSkinData::BuildSkin()
{
    std::vector<std::string> sections;
    FIni->ReadSections(sections);
    FSkinName = FIni->ReadString("TitlebarSkin", "SkinName", "");
    ReadBorders();
    ReadColours();
    ReadCaptionButtons(sections);
    ReadMdiButtons();
    ReadButtons();
    ReadTitle();
    ReadProgress();
    LoadPlainSlot(kProgressChunk, "Progress.Chunk");
    ReadMenuBar();
    ReadObjects();
    FixFrameCounts();
    ClampSkinMargins();
    ScaleForScreen();
    ComposeComboFace();
    DeriveComboxArrow();
    MakeToolbarGradient();
    FSkinColors[scTitleSample] = {SampleTitleColour(), true};
    FFaceBrush.Reset(CreateSolidBrush(ColorToRGB(SkinColor(scButtonFace))));
    FSkinLoading = false;
}

void TSkinData::ReadBorders()
{
    constexpr const char* kSection = "Personality";
    for (auto* slot : {&FLeft, &FRight, &FTop, &FBottom}) {
        const std::string name = (*slot)->Name;
        auto border = std::make_unique<TDataSkinBorder>(name);
        const int start = FIni->ReadInteger(kSection, name + "TopHeight", 0);
        const int end = FIni->ReadInteger(kSection, name + "BotHeight", 0);
        if (name == "Left" || name == "Right") {
            border->TopHeight = start;
            border->BottomHeight = end;
        } else {
            border->LeftWidth = start;
            border->RightWidth = end;
        }
        border->FrameCount = FIni->ReadInteger(kSection, name + "Frame", 1);
        border->Tile = Clamp(FIni->ReadInteger(kSection, name + "Stretch", 1), 1);
        border->Trans = FIni->ReadInteger(kSection, name + "Trans", 1);
        LoadImageEntry(*border->Bitmap, FIni->ReadString(kSection, name, ""));
        *slot = std::move(border);
    }
}

void TSkinData::ReadColours()
{
    struct TKey {
        TSkinColourSlot Slot;
        const char* Key;
        TColor Default;
    };
    // The order matters: Menubar falls back to the ButtonFace just read.
    const TKey keys[] = {
        {scWindowText, "WindowText", clWindowText},
        {scButtonFace, "ButtonFace", clBtnFace},
        {scScrollbar, "Scrollbar", SystemColour(COLOR_SCROLLBAR)},
        {scHilightText, "HilightText", clHighlightText},
        {scHilight, "Hilight", clHighlight},
        {scMenubar, "Menubar", clNone},
        {scMenu, "Menu", SystemColour(COLOR_MENU)},
        {scMenuText, "MenuText", SystemColour(COLOR_MENUTEXT)},
        {scButtonText, "ButtonText", clBtnText},
        {scButtonHilight, "ButtonHilight", SystemColour(COLOR_BTNHIGHLIGHT)},
        {scButtonlight, "Buttonlight", SystemColour(COLOR_BTNHIGHLIGHT)},
        {scButtonShadow, "ButtonShadow", SystemColour(COLOR_BTNSHADOW)},
        {scButtonDkShadow, "ButtonDkShadow", SystemColour(COLOR_3DDKSHADOW)},
        {scMenuBarText, "MenuBarText", SystemColour(COLOR_MENUTEXT)},
        {scTitleTextActive, "TitleTextActive", SystemColour(COLOR_CAPTIONTEXT)},
        {scTitleTextNoActive, "TitleTextNoActive", SystemColour(COLOR_INACTIVECAPTIONTEXT)},
    };
    for (const TKey& key : keys) {
        const TColor fallback = key.Slot == scMenubar ? SkinColor(scButtonFace) : key.Default;
        const bool given = FIni && !FIni->ReadString("Colours", key.Key, "").empty();
        FSkinColors[key.Slot] = {ReadColour(key.Key, fallback), given};
    }
    FExtraColors.clear();
    FCustomColors.fill(clWhite);
    if (!FIni)
        return;
    std::vector<std::string> sections;
    FIni->ReadSections(sections);
    for (const std::string& section : sections) {
        const std::string upper = UpperAscii(section);
        if (upper.starts_with("COLOUR") && upper != "COLOURS")
            FExtraColors.push_back(static_cast<TColor>(
                ParseSkinColour(FIni->ReadString(section, "color", ""), static_cast<std::uint32_t>(clWindowText))));
    }
    for (int i = 0; i < 10; ++i)
        FCustomColors[static_cast<std::size_t>(i)] = static_cast<TColor>(
            ParseSkinColour(FIni->ReadString("Customcolors", "Color" + std::to_string(i), ""), 0xFFFFFF));
}

void TSkinData::ReadCaptionButtons(const std::vector<std::string>& sections)
{
    FCaptionButtons.clear();
    int rememberedX = 0;
    int rememberedY = 0;
    for (const std::string& section : sections) {
        const std::string name = UpperAscii(section);
        if (!IsCaptionButtonSection(name))
            continue;
        const int action = FIni->ReadInteger(section, "Action", 0);
        const int visibility = FIni->ReadInteger(section, "Visibility", 0);
        if (action == -1 && visibility != 0)
            continue;
        auto button = std::make_unique<TDataSkinSysButton>(name);
        button->Action = action;
        button->Align = FIni->ReadInteger(section, "Align", 0);
        button->XCoord = FIni->ReadInteger(section, "Xcoord", 0);
        button->YCoord = FIni->ReadInteger(section, "Ycoord", 0);
        button->Visibility = visibility;
        button->Visibility1 = FIni->ReadInteger(section, "Visibility1", action == -1 ? -1 : 0);
        if (action == 1 && visibility == 2) {
            rememberedX = button->XCoord;
            rememberedY = button->YCoord;
        }
        if (action == 4) {
            button->XCoord = rememberedX;
            button->YCoord = rememberedY;
        }
        button->CombineOp = FIni->ReadInteger(section, "CombineOp", -1);
        button->FrameCount = FIni->ReadInteger(section, "frame", 0);
        LoadImageEntry(*button->Bitmap, FIni->ReadString(section, "ButtonImage", ""));
        if (button->FrameCount == 0) {
            button->FrameCount = 6;
            const TBitmap& image = *button->Bitmap;
            if (!image.Empty()) {
                const double ratio = static_cast<double>(image.Width()) / image.Height();
                button->FrameCount = ratio <= 3.8 && action >= 0 ? 3 : 6;
            }
            if (action == 3 || action == 11)
                button->Bitmap->SetSize(0, 0);
        }
        FCaptionButtons.push_back(std::move(button));
    }
}

void TSkinData::ReadMdiButtons()
{
    TBitmap strip;
    LoadImageEntry(strip, FIni->ReadString("MDICONTROLS", "Image", ""));
    const char* const names[] = {"MDIMINIMIZE", "MDIRESTORE", "MDICLOSE"};
    for (int i = 0; i < 3; ++i) {
        auto button = std::make_unique<TDataSkinSysButton>(names[i]);
        button->Action = 7 + i;
        button->Align = 100;
        button->Visibility = 100;
        button->Visibility1 = 100;
        button->FrameCount = 4;
        const int frame = strip.Width() / 12;
        if (!strip.Empty() && frame > 0) {
            button->Bitmap = std::make_unique<TBitmap>(frame * 4, strip.Height(), pf24bit);
            button->Bitmap->Canvas().BitBlt(0, 0, frame * 4, strip.Height(), strip.Canvas().Handle(), frame * 4 * i, 0);
            button->XCoord = (frame + 4) * (3 - i);
        }
        FCaptionButtons.push_back(std::move(button));
    }
}

void TSkinData::ReadButtons()
{
    constexpr const char* kSection = "Buttons";
    auto buttons = std::make_unique<TDataSkinButton>(kSection);
    // [Buttons] has no Style key: push buttons always draw the same way.
    ReadPlainKeys(*buttons, kSection, 0);
    LoadImageEntry(*buttons->Bitmap, FIni->ReadString(kSection, "Bitmap", ""));
    LoadImageEntry(*buttons->CheckButton, FIni->ReadString(kSection, "CheckButton", ""));
    LoadImageEntry(*buttons->RadioButton, FIni->ReadString(kSection, "RadioButton", ""));
    buttons->RadioButtonFrame = FIni->ReadInteger(kSection, "RadioButtonFrame", 0);
    buttons->CheckButtonFrame = FIni->ReadInteger(kSection, "CheckButtonFrame", 0);
    buttons->HasNormalColour2 = !FIni->ReadString(kSection, "NormalColour2", "").empty();
    buttons->HasMouseOverColour2 = !FIni->ReadString(kSection, "MouseOverColour2", "").empty();
    buttons->HasPressedColour2 = !FIni->ReadString(kSection, "PressedColour2", "").empty();
    FButtons = std::move(buttons);
}

void TSkinData::ReadTitle()
{
    constexpr const char* kSection = "Personality";
    auto title = std::make_unique<TDataSkinTitle>("Title");
    LoadImageEntry(*title->Bitmap, FIni->ReadString(kSection, "TextBack", ""));
    title->LeftWidth = FIni->ReadInteger(kSection, "TextShift", 0);
    title->TopHeight = FIni->ReadInteger(kSection, "TextShiftVert", 0);
    title->RightWidth = FIni->ReadInteger(kSection, "TextRightClip", 0);
    title->TextAlignment = FIni->ReadInteger(kSection, "TextAlignment", 0);
    title->Textbackground = FIni->ReadInteger(kSection, "Textbackground", 0);
    title->FontHeight = FIni->ReadInteger("Fonts", "FontHeight", 14);
    title->TXTBackleft = FIni->ReadInteger(kSection, "TXTBackleft", 0);
    title->TXTBackRight = FIni->ReadInteger(kSection, "TXTBackRight", 0);
    if (const auto colour = ReadRGBKeys(*FIni, kSection, "ActiveText"))
        title->ActiveText = static_cast<TColor>(*colour);
    if (const auto colour = ReadRGBKeys(*FIni, kSection, "InActiveText"))
        title->InActiveText = static_cast<TColor>(*colour);
    FTitle = std::move(title);
}

void TSkinData::ReadProgress()
{
    constexpr const char* kSection = "Progress";
    FProgress.reset();
    const std::string image = FIni->ReadString(kSection, "Bitmap", "");
    if (image.empty())
        return;
    auto progress = std::make_unique<TDataSkinBorder>(kSection);
    LoadImageEntry(*progress->Bitmap, image);
    progress->Style = FIni->ReadInteger(kSection, "Style", 0);
    progress->LeftWidth = FIni->ReadInteger(kSection, "LeftWidth", 0);
    progress->TopHeight = FIni->ReadInteger(kSection, "TopHeight", 0);
    progress->RightWidth = FIni->ReadInteger(kSection, "RightWidth", 0);
    progress->BottomHeight = FIni->ReadInteger(kSection, "BottomHeight", 0);
    progress->Trans = FIni->ReadInteger(kSection, "Trans", 0);
    progress->Tile = Clamp(FIni->ReadInteger(kSection, "Tile", 0), 1);
    FProgress = std::move(progress);
}

void TSkinData::ReadPlainKeys(TDataSkinObject& object, const char* section, int keys) const
{
    if (keys & pkStyle)
        object.Style = FIni->ReadInteger(section, "Style", 0);
    object.LeftWidth = FIni->ReadInteger(section, "LeftWidth", 0);
    object.RightWidth = FIni->ReadInteger(section, "RightWidth", 0);
    object.TopHeight = FIni->ReadInteger(section, "TopHeight", 0);
    object.BottomHeight = FIni->ReadInteger(section, "BottomHeight", 0);
    if (keys & pkFrame)
        object.FrameCount = FIni->ReadInteger(section, "Frame", 0);
    object.Trans = FIni->ReadInteger(section, "Trans", 0);
    object.Tile = Clamp(FIni->ReadInteger(section, "Tile", 0), 0);
    object.NormalColour = FIni->ReadInteger(section, "NormalColour", -1);
    object.MouseOverColour = FIni->ReadInteger(section, "MouseOverColour", -1);
    object.PressedColour = FIni->ReadInteger(section, "PressedColour", -1);
    const auto buttonText = static_cast<std::uint32_t>(SkinColor(scButtonText));
    object.NormalColour2 = static_cast<TColor>(ParseSkinColour(FIni->ReadString(section, "NormalColour2", ""), buttonText));
    object.MouseOverColour2 =
        static_cast<TColor>(ParseSkinColour(FIni->ReadString(section, "MouseOverColour2", ""), buttonText));
    object.PressedColour2 = static_cast<TColor>(ParseSkinColour(FIni->ReadString(section, "PressedColour2", ""), buttonText));
}

void TSkinData::LoadPlainSlot(TPlainSlot slot, const char* section)
{
    FPlain[slot].reset();
    const std::string image = FIni->ReadString(section, "Image", "");
    if (image.empty())
        return;
    auto object = std::make_unique<TDataSkinObject>(section);
    LoadImageEntry(*object->Bitmap, image);
    ReadPlainKeys(*object, section, pkStyle | pkFrame);
    FPlain[slot] = std::move(object);
}

std::unique_ptr<TDataSkinBorder> TSkinData::LoadBorderObject(const char* section, const char* secondKey) const
{
    const std::string image = FIni->ReadString(section, "Image", "");
    if (image.empty())
        return nullptr;
    auto object = std::make_unique<TDataSkinBorder>(section);
    LoadImageEntry(*object->Bitmap, image);
    ReadPlainKeys(*object, section, pkStyle);
    if (secondKey) {
        const std::string second = FIni->ReadString(section, secondKey, "");
        if (!second.empty())
            LoadImageEntry(*object->Bitmap2, second);
    }
    return object;
}

void TSkinData::ReadMenuBar()
{
    constexpr const char* kSection = "Personality";
    FPlain[kMenuBar].reset();
    const std::string image = FIni->ReadString(kSection, "menuBar", "");
    if (image.empty())
        return;
    auto bar = std::make_unique<TDataSkinObject>(kSection);
    LoadImageEntry(*bar->Bitmap, image);
    bar->Tile = Clamp(FIni->ReadInteger(kSection, "TileMenu", 1), 1);
    bar->LeftWidth = FIni->ReadInteger(kSection, "TileLeftMenu", 1);
    bar->RightWidth = FIni->ReadInteger(kSection, "TileRightMenu", 1);
    FPlain[kMenuBar] = std::move(bar);
}

void TSkinData::LoadBuiltInTrack(TPlainSlot slot, const char* section, const wchar_t* resource)
{
    if (FPlain[slot])
        return;
    auto object = std::make_unique<TDataSkinObject>(section);
    try {
        object->Bitmap->LoadFromResourceName(GetModuleHandleW(nullptr), resource);
    } catch (const EInvalidGraphic&) {
        // A program built without the resource draws its track bars itself.
    }
    object->LeftWidth = object->TopHeight = object->RightWidth = object->BottomHeight = 3;
    object->Tile = 0;
    object->FrameCount = 1;
    FPlain[slot] = std::move(object);
}

void TSkinData::ReadObjects()
{
    LoadPlainSlot(kGroupBoxEdge, "GroupBoxEdge");
    FGroupBox.reset();
    if (const std::string image = FIni->ReadString("GroupBox", "Image", ""); !image.empty()) {
        auto box = std::make_unique<TDataSkinBoxLabel>("GroupBox");
        LoadImageEntry(*box->Bitmap, image);
        ReadPlainKeys(*box, "GroupBox", pkStyle);
        box->BackgroundAlignment = FIni->ReadInteger("GroupBox", "BackgroundAlignment", 0);
        box->BackgroundLeftShift = FIni->ReadInteger("GroupBox", "BackgroundLeftShift", 0);
        box->BackgroundRightShift = FIni->ReadInteger("GroupBox", "BackgroundRightShift", 0);
        FGroupBox = std::move(box);
    }
    FTabs = LoadBorderObject("Tabs", "Border");
    LoadPlainSlot(kStatusBarEdges, "StatusBarEdges");
    LoadPlainSlot(kTabPane, "Tab.Pane");
    if (TDataSkinObject* pane = FPlain[kTabPane].get())
        for (int* margin : {&pane->LeftWidth, &pane->TopHeight, &pane->RightWidth, &pane->BottomHeight})
            *margin = std::min(*margin, 4);
    LoadPlainSlot(kToolBars, "ToolBars");
    // No skin names a second image for the combo button: it is made from the first.
    FComboButton = LoadBorderObject("ComboButton", nullptr);
    LoadPlainSlot(kSunkEdge, "SunkEdge");
    if (FComboButton && !FComboButton->Bitmap->Empty()) {
        FComboButton->Bitmap2 = FComboButton->Bitmap->Clone();
        FComboButton->Bitmap2->SetPixelFormat(pf24bit);
        MirrorHorizontally(*FComboButton->Bitmap2);
    }

    const std::pair<TPlainSlot, const char*> plain[] = {
        {kExtraImages, "ExtraImages"}, {kHeaderbar, "Headerbar"}, {kMenuItem, "MenuItem"},
        {kMenuBackground, "MenuBackground"}, {kScrollbar, "Scrollbar"}, {kHorzScroll, "HorzScroll"},
        {kVertScroll, "VertScroll"}, {kHorzScrollThumb, "HorzScrollThumb"}, {kVertScrollThumb, "VertScrollThumb"},
        {kThumbHorz, "Trackbar.ThumbHorz"}, {kThumbVert, "Trackbar.ThumbVert"}, {kThumbLeft, "Trackbar.ThumbLeft"},
        {kThumbRight, "Trackbar.ThumbRight"}, {kThumbUp, "Trackbar.ThumbUp"}, {kThumbDown, "Trackbar.ThumbDown"}};
    for (const auto& [slot, section] : plain)
        LoadPlainSlot(slot, section);
    FUpDownHorz = LoadBorderObject("UpDown.Horz", "GlyphImage");
    FUpDownVert = LoadBorderObject("UpDown.Vert", "GlyphImage");
    LoadPlainSlot(kTrack, "Track");
    LoadPlainSlot(kTrackVert, "TRACKVERT");
    LoadBuiltInTrack(kTrack, "Track", kTrackResource);
    LoadBuiltInTrack(kTrackVert, "TRACKVERT", kTrackVertResource);
}

void TSkinData::FixFrameCounts()
{
    FTitle->FrameCount = 2;
    FButtons->FrameCount = 5;
    // A frame count written negative is clamped like one left at 0 below:
    // painters divide by it and number frames from 1.
    for (auto [frames, image] : {std::pair{&FButtons->RadioButtonFrame, FButtons->RadioButton.get()},
                                 std::pair{&FButtons->CheckButtonFrame, FButtons->CheckButton.get()}}) {
        if (*frames == 0)
            *frames = std::max(4, image->Width() / (image->Height() < 16 ? 13 : 16));
        *frames = std::max(*frames, 1);
    }
    for (const auto& button : FCaptionButtons)
        button->FrameCount = std::max(button->FrameCount, 1);
    if (FProgress)
        FProgress->FrameCount = FProgress->Style != 0 ? 1 : 2;
    auto fix = [](TDataSkinObject* object, int frames) {
        if (object)
            object->FrameCount = frames;
    };
    fix(FPlain[kMenuBar].get(), 2);
    fix(FPlain[kGroupBoxEdge].get(), 2);
    fix(FGroupBox.get(), 1);
    fix(FTabs.get(), 5);
    fix(FPlain[kStatusBarEdges].get(), 3);
    fix(FPlain[kTabPane].get(), 1);
    fix(FPlain[kToolBars].get(), 5);
    fix(FComboButton.get(), 4);
    fix(FPlain[kSunkEdge].get(), 4);
    fix(FPlain[kExtraImages].get(), 5);
    if (TDataSkinObject* header = FPlain[kHeaderbar].get(); header && header->FrameCount == 0)
        header->FrameCount = 5;
    fix(FPlain[kMenuItem].get(), 5);
    fix(FPlain[kMenuBackground].get(), 1);
    fix(FPlain[kScrollbar].get(), 23);
    fix(FPlain[kHorzScroll].get(), 4);
    fix(FPlain[kVertScroll].get(), 4);
    fix(FPlain[kHorzScrollThumb].get(), FIni->ReadInteger("HorzScrollThumb", "FrameCount", 3));
    fix(FPlain[kVertScrollThumb].get(), FIni->ReadInteger("VertScrollThumb", "FrameCount", 3));
    for (TPlainSlot thumb : {kThumbHorz, kThumbVert, kThumbLeft, kThumbRight, kThumbUp, kThumbDown})
        fix(FPlain[thumb].get(), 5);
    fix(FUpDownHorz.get(), 8);
    fix(FUpDownVert.get(), 8);
    // Every painter divides by the frame count; a count the skin left at 0
    // (or wrote negative) would divide by zero or draw outside the image.
    for (TDataSkinObject* object : {static_cast<TDataSkinObject*>(FLeft.get()), static_cast<TDataSkinObject*>(FRight.get()),
                                    static_cast<TDataSkinObject*>(FTop.get()), static_cast<TDataSkinObject*>(FBottom.get()),
                                    FPlain[kProgressChunk].get(), FPlain[kTrack].get(), FPlain[kTrackVert].get(),
                                    FPlain[kHorzScrollThumb].get(), FPlain[kVertScrollThumb].get(),
                                    FPlain[kHeaderbar].get()})
        if (object && object->FrameCount < 1)
            object->FrameCount = 1;
}

namespace {

// Caption text offsets may be negative; this bound only keeps sums with
// window coordinates from overflowing, far beyond any caption.
constexpr int kLargestTextOffset = imgcore::MaxBmpSide;

// Margins against frame 1 of the object's own image; an object without an
// image keeps none.
void ClampToFrame(TDataSkinObject& object, bool stacked)
{
    const TBitmap& image = *object.Bitmap;
    const imgcore::TMargins margins = imgcore::ClampMargins(
        {object.LeftWidth, object.TopHeight, object.RightWidth, object.BottomHeight},
        imgcore::FrameOf(image.Width(), image.Height(), stacked, object.FrameCount, 1));
    object.LeftWidth = margins.Left;
    object.TopHeight = margins.Top;
    object.RightWidth = margins.Right;
    object.BottomHeight = margins.Bottom;
}

} // namespace

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

void TSkinData::ClampSkinMargins()
{
    for (const auto& [object, stacked] : StripObjects())
        ClampToFrame(*object, stacked);

    // The caption's margin fields carry text offsets; its caps are the
    // margins of the caption background, two frames stacked.
    TDataSkinTitle& title = *FTitle;
    for (int* offset : {&title.LeftWidth, &title.TopHeight, &title.RightWidth})
        *offset = std::clamp(*offset, -kLargestTextOffset, kLargestTextOffset);
    const imgcore::TMargins caps = imgcore::ClampMargins(
        {title.TXTBackleft, 0, title.TXTBackRight, 0},
        imgcore::FrameOf(title.Bitmap->Width(), title.Bitmap->Height(), true, title.FrameCount, 1));
    title.TXTBackleft = caps.Left;
    title.TXTBackRight = caps.Right;
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
    ClampToFrame(*sunk, false);
    ClampToFrame(*button, false);
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
