#include "Main.h"

#include "About.h"
#include "FittedText.h"
#include "base/FullPath.h"
#include "app/MainWindowSkin.h"
#include "framework/SysUtils.h"
#include "skin/forms/SkinManager.h"

#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <utility>

namespace {

constexpr wchar_t kTitle[] = L"Vidkiln v3.0 (输出视频为mp4格式)";
constexpr wchar_t kReady[] = L"准备就绪";
constexpr wchar_t kDone[] = L"完成";
constexpr wchar_t kFailed[] = L"失败";
constexpr wchar_t kUnreadable[] = L"无法读取";
constexpr wchar_t kConverting[] = L"正在转换 ";
constexpr wchar_t kAllConverted[] = L"转换完成";
constexpr wchar_t kChooseOutput[] = L"请选择输出目录";
constexpr wchar_t kChooseFolderPrompt[] = L"请选择文件";
constexpr wchar_t kConfirmExit[] = L"正在转换，确定要退出吗？";
// Every kind of file the encoder converts is under the first entry. *.3PG
// stays for lists saved with it; *.3GP is what such files are called.
constexpr wchar_t kOpenFilter[] =
    L"Support Files|*.RM;*.RMVB;*.AVI;*.MPG;*.MPEG;*.WMV;*.ASF;*.3PG;*.3GP;*.AVS;*.VOB;*.DAT;*.MOV;"
    L"*.QT;*.MKV;*.MP4;*.M4V;*.FLV;*.WEBM|RM Files|*.RM;*.RMVB|AVI Files|*.AVI|MPEG Files|*.MPG;*.MPEG|"
    L"WMV Files|*.WMV;*.ASF|Portable device Files|*.3PG;*.3GP;*.AVS|DVD VCD Files|*.VOB;*.DAT|"
    L"Quick Time Files|*.MOV;*.QT|Matroska|*.MKV|MP4 Files|*.MP4;*.M4V|Flash and WebM Files|*.FLV;*.WEBM|"
    L"All Files|*.*";
constexpr wchar_t kGuidePage[] = L"web\\index.html";

constexpr TColor kWindowColour = 7039593;
constexpr TColor kOutlineColour = 14261541;
constexpr int kClientWidth = 558;
constexpr int kClientHeight = 314;
// Presses on the top rows of the strip move the window like its caption.
constexpr int kDragRows = 27;
constexpr WPARAM kMoveByCaption = 0xF012;
constexpr wchar_t kIconFile[] = L"Images\\vidkiln.ico";
constexpr wchar_t kSkinMenu[] = L"皮肤";
// Window-menu commands of the skins: below the system's own (0xF000).
constexpr UINT kSkinCommandBase = 0x7000;
constexpr size_t kSkinCommandLimit = 64;
// The probe was once given this many looks, a second apart; it still gets
// as long before it is stopped.
constexpr int kProbeLooks = 50;
constexpr DWORD kProbeLookMs = 1000;

// Messages from the runners' reader threads; LParam is always the serial
// number of the run that sent it.
// A progress position of the encoder, in WParam.
constexpr UINT WM_VIDKILN_PROGRESS = WM_APP + 1;
// A run has ended: WParam kEncoderRun or kProbeRun.
constexpr UINT WM_VIDKILN_RUNENDED = WM_APP + 2;
// The probe has reported a line; the window looks for the length.
constexpr UINT WM_VIDKILN_PROBELINE = WM_APP + 3;
constexpr WPARAM kEncoderRun = 1;
constexpr WPARAM kProbeRun = 2;
constexpr UINT_PTR kProbeTimer = 1;

struct TButtonPlace {
    TImage* TFrmMain::*Field;
    const wchar_t* Name;
    const wchar_t* Picture;
    int Left;
    int Top;
    int Width;
    void (TFrmMain::*Click)(TObject*);
};

const TButtonPlace kButtons[] = {
    {&TFrmMain::imgAdd, L"imgAdd", L"Images\\Add1.bmp", 8, 1, 37, &TFrmMain::imgAddClick},
    {&TFrmMain::imgDelete, L"imgDelete", L"Images\\Delete1.bmp", 63, 1, 37,
     &TFrmMain::imgDeleteClick},
    {&TFrmMain::imgClear, L"imgClear", L"Images\\Clear1.bmp", 118, 1, 37, &TFrmMain::imgClearClick},
    {&TFrmMain::imgConvert, L"imgConvert", L"Images\\Convert1.bmp", 173, 1, 58,
     &TFrmMain::imgConvertClick},
    {&TFrmMain::imgOutPath, L"imgOutPath", L"Images\\OutPath1.bmp", 244, 0, 58,
     &TFrmMain::imgOutPathClick},
    {&TFrmMain::imgAbout, L"imgAbout", L"Images\\About1.bmp", 496, 1, 37, &TFrmMain::imgAboutClick},
};

std::wstring ProgramFolder()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return path.substr(0, path.find_last_of(L'\\') + 1);
}

// Windows file names compare without regard to case, in every script.
bool SameFile(const std::wstring& A, const std::wstring& B)
{
    const std::wstring a = FullPath(A);
    const std::wstring b = FullPath(B);
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

// The height a line of text needs in this font, ascent to descent: a label
// lower than this cuts the tops and tails of its glyphs.
int FontLineHeight(const TFont& Font)
{
    const HDC screen = GetDC(nullptr);
    const HGDIOBJ previous = SelectObject(screen, Font.Handle());
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen, &metrics);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    return metrics.tmHeight;
}

// A picture as a disabled button shows it: grey, and half way to the
// window's colour, so it reads as out of use.
void FadeToDisabled(TBitmap& Picture, COLORREF Window)
{
    Picture.SetPixelFormat(pf24bit);
    for (int y = 0; y < Picture.Height(); ++y) {
        std::uint8_t* pixel = Picture.ScanLine(y);
        for (int x = 0; x < Picture.Width(); ++x, pixel += 3) {
            const int grey = (pixel[2] * 299 + pixel[1] * 587 + pixel[0] * 114) / 1000;
            pixel[0] = static_cast<std::uint8_t>((grey + GetBValue(Window)) / 2);
            pixel[1] = static_cast<std::uint8_t>((grey + GetGValue(Window)) / 2);
            pixel[2] = static_cast<std::uint8_t>((grey + GetRValue(Window)) / 2);
        }
    }
}

// The paths of the files dropped on the window, folders left out.
std::vector<std::wstring> DroppedFiles(HDROP Drop)
{
    std::vector<std::wstring> files;
    const UINT count = DragQueryFileW(Drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        std::wstring path(DragQueryFileW(Drop, i, nullptr, 0), L'\0');
        DragQueryFileW(Drop, i, path.data(), static_cast<UINT>(path.size() + 1));
        const DWORD attributes = GetFileAttributesW(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
            files.push_back(std::move(path));
    }
    return files;
}

// The probe ran to its end and said the file holds no media it can read:
// the tool's exit codes for "no length" and "cannot read". A probe that
// could not start or was stopped says nothing about the file.
bool ProbeFoundNoMedia(int64_t ExitCode, const std::string& Said)
{
    return (ExitCode == 1 || ExitCode == 3) && !vidkiln::HasLengthMarker(Said);
}

std::wstring FolderOf(const std::wstring& Path)
{
    return Path.substr(0, Path.find_last_of(L'\\') + 1);
}

std::wstring NameOf(const std::wstring& Path)
{
    return Path.substr(Path.find_last_of(L'\\') + 1);
}

} // namespace

const TClassInfo& TFrmMain::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo("TFrmMain", &TForm::StaticClass(), {});
    return Info;
}

TFrmMain::TFrmMain(TComponent* AOwner)
    : TForm(AOwner)
{
    SetName(L"FrmMain");
    SetBorderStyle(bsSingle);
    SetBorderIcons(biSystemMenu | biMinimize);
    SetPosition(poScreenCenter);
    SetColor(kWindowColour);
    Font()->SetName(L"宋体");
    Font()->SetCharset(GB2312_CHARSET);
    Font()->SetHeight(-12);
    SetClientSize(kClientWidth, kClientHeight);
    CreateControls();
    ReadSkinData();
    OnCreate = MakeDelegate<&TFrmMain::FormCreate>(this);
    OnCloseQuery = MakeDelegate<&TFrmMain::FormCloseQuery>(this);
    OnMouseMove = MakeDelegate<&TFrmMain::imgBgMouseMove>(this);
}

TFrmMain::~TFrmMain()
{
    // The runners' reader threads call back into this window; they end
    // before anything they reach goes away.
    if (DosCommand1)
        DosCommand1->Stop();
    if (DosCommand2)
        DosCommand2->Stop();
    // The icons go with this object, before the window: it lets go of them.
    if (FWindow && IsWindow(FWindow)) {
        SendMessageW(FWindow, WM_SETICON, ICON_BIG, 0);
        SendMessageW(FWindow, WM_SETICON, ICON_SMALL, 0);
    }
}

void TFrmMain::CreateControls()
{
    imgBg = new TImage(this);
    imgBg->SetName(L"imgBg");
    imgBg->SetParent(this);
    imgBg->SetBounds(0, 0, 558, 50);
    imgBg->SetStretch(true);
    imgBg->SetTransparent(true);
    imgBg->OnMouseMove = MakeDelegate<&TFrmMain::imgBgMouseMove>(this);
    imgBg->OnMouseDown = MakeDelegate<&TFrmMain::imgBgMouseDown>(this);
    CreatePictureButtons();

    lvwFiles = new TPathListView(this);
    lvwFiles->SetName(L"lvwFiles");
    lvwFiles->SetParent(this);
    lvwFiles->SetBounds(8, 61, 305, 164);
    lvwFiles->SetViewStyle(vsReport);
    lvwFiles->SetOwnerData(true);
    lvwFiles->SetGridLines(true);
    lvwFiles->SetRowSelect(true);
    lvwFiles->SetMultiSelect(false);
    lvwFiles->SetReadOnly(true);
    lvwFiles->SetBorderStyle(bsNone);
    TListColumn& pathColumn = lvwFiles->Columns().Add();
    pathColumn.SetCaption(L"文件路径");
    pathColumn.SetAutoSize(true);
    TListColumn& statusColumn = lvwFiles->Columns().Add();
    statusColumn.SetCaption(L"状态");
    statusColumn.SetWidth(80);
    TListColumn& lengthColumn = lvwFiles->Columns().Add();
    lengthColumn.SetCaption(L"长度");
    lengthColumn.SetWidth(44);
    lvwFiles->OnData = MakeDelegate<&TFrmMain::lvwFilesData>(this);

    CreateSettings();
    CreateStatusArea();

    OpenDialog1 = new TOpenDialog(this);
    OpenDialog1->SetName(L"OpenDialog1");
    OpenDialog1->Filter = kOpenFilter;
    OpenDialog1->FilterIndex = 1;
}

// The skin component comes last, as in the window's saved data: the skin is
// built while it is read, and the skin engine starts once all of it is read.
void TFrmMain::ReadSkinData()
{
    UseSkinManager();
    SkinData1 = new TSkinData(this);
    SkinData1->SetName(L"SkinData1");
    ReadMainWindowSkinData(*SkinData1);
    SkinData1->Loaded();
}

void TFrmMain::CreatePictureButtons()
{
    for (const TButtonPlace& place : kButtons) {
        TImage* button = new TImage(this);
        button->SetName(place.Name);
        button->SetParent(this);
        button->SetBounds(place.Left, place.Top, place.Width, 45);
        button->SetAutoSize(true);
        button->OnMouseMove = MakeDelegate<&TFrmMain::imgAddMouseMove>(this);
        this->*place.Field = button;
    }
    imgAdd->OnClick = MakeDelegate<&TFrmMain::imgAddClick>(this);
    imgDelete->OnClick = MakeDelegate<&TFrmMain::imgDeleteClick>(this);
    imgClear->OnClick = MakeDelegate<&TFrmMain::imgClearClick>(this);
    imgConvert->OnClick = MakeDelegate<&TFrmMain::imgConvertClick>(this);
    imgOutPath->OnClick = MakeDelegate<&TFrmMain::imgOutPathClick>(this);
    imgAbout->OnClick = MakeDelegate<&TFrmMain::imgAboutClick>(this);
}

TLabel* TFrmMain::CreateLabel(const std::wstring& Caption, int Left, int Top)
{
    TLabel* label = new TLabel(this);
    label->SetParent(this);
    label->SetLeft(Left);
    label->SetTop(Top);
    label->SetCaption(Caption);
    return label;
}

TComboBox* TFrmMain::CreateSettingList(int Top, const std::vector<std::wstring>& Entries,
                                       int Selected)
{
    TComboBox* list = new TComboBox(this);
    list->SetParent(this);
    list->SetStyle(csDropDownList);
    list->SetBounds(408, Top, 120, list->Height());
    for (const std::wstring& entry : Entries)
        list->Items().Add(entry);
    list->SetItemIndex(Selected);
    return list;
}

void TFrmMain::CreateSettings()
{
    Label7 = CreateLabel(L"质量(KBps)", 336, 64);
    Label7->SetName(L"Label7");
    cmbVideoKbps = CreateSettingList(56, {L"360", L"512", L"1200", L"1500", L"2500"}, 2);
    cmbVideoKbps->SetName(L"cmbVideoKbps");
    Label8 = CreateLabel(L"视频帧频", 336, 86);
    Label8->SetName(L"Label8");
    cmbVideoFrame = CreateSettingList(
        80, {L"Auto", L"5.0", L"10.0", L"14.985", L"15.0", L"20.0", L"23.976", L"25.0", L"29.97"}, 1);
    cmbVideoFrame->SetName(L"cmbVideoFrame");
    Label9 = CreateLabel(L"视频大小", 336, 108);
    Label9->SetName(L"Label9");
    cmbVideoSize = CreateSettingList(104,
                                     {L"Auto", L"176x132", L"176x220", L"220x176", L"320x240",
                                      L"400x240", L"432x240", L"480x272", L"480x320"},
                                     2);
    cmbVideoSize->SetName(L"cmbVideoSize");
    Label11 = CreateLabel(L"屏幕纵模比", 336, 132);
    Label11->SetName(L"Label11");
    cmbAspect = CreateSettingList(128, {L"Auto", L"4:3", L"16:9", L"16:10"}, 1);
    cmbAspect->SetName(L"cmbAspect");

    WebBrowser1 = new TWebBrowser(this);
    WebBrowser1->SetName(L"WebBrowser1");
    WebBrowser1->SetParent(this);
    WebBrowser1->SetBounds(328, 157, 217, 132);
}

void TFrmMain::CreateStatusArea()
{
    Label1 = CreateLabel(L"当前操作描述", 8, 240);
    Label1->SetName(L"Label1");
    Label1->SetTransparent(true);
    lblInfo = new TStatusLabel(this);
    lblInfo->SetParent(this);
    lblInfo->SetName(L"lblInfo");
    lblInfo->SetTransparent(true);
    lblInfo->SetAutoSize(false);
    lblInfo->SetCaption(kReady);
    lblInfo->SetBounds(96, 240, 225, std::max(12, FontLineHeight(*lblInfo->Font())));
    Label2 = CreateLabel(L"当前文件进度", 8, 270);
    Label2->SetName(L"Label2");
    Label2->SetTransparent(true);

    Panel1 = new TPanel(this);
    Panel1->SetName(L"Panel1");
    Panel1->SetParent(this);
    Panel1->SetBounds(96, 268, 217, 20);
    Panel1->SetBevelOuter(bvNone);
    ProgressBar1 = new TProgressBar(this);
    ProgressBar1->SetName(L"ProgressBar1");
    ProgressBar1->SetParent(Panel1);
    ProgressBar1->SetAlign(alClient);
    ProgressBar1->SetMin(0);
    ProgressBar1->SetMax(100);
    ProgressBar1->SetPosition(0);

    StatusBar1 = new TStatusBar(this);
    StatusBar1->SetName(L"StatusBar1");
    StatusBar1->SetParent(this);
    StatusBar1->SetBounds(0, 295, 558, 19);
    // The window cannot be resized, so the bar offers no grip.
    StatusBar1->SetSizeGrip(false);
}

void TFrmMain::FormCreate(TObject*)
{
    SetDoubleBuffered(true);
    // The window is scaled to the screen by now; a line of the scaled font
    // can be a pixel higher than the scaled label.
    lblInfo->SetHeight(std::max(lblInfo->Height(), FontLineHeight(*lblInfo->Font())));
    Application->SetTitle(kTitle);
    SetCaption(kTitle);
    if (AppPath.empty())
        AppPath = ProgramFolder();
    OutPath.clear();
    LoadPicture(imgBg, L"Images\\bg.bmp");
    DosCommand1 = new TDosCommand(this);
    DosCommand1->SetName(L"DosCommand1");
    DosCommand2 = new TDosCommand(this);
    DosCommand2->SetName(L"DosCommand2");
    DosCommand1->OnNewLine = MakeDelegate<&TFrmMain::DosCommand1NewLine>(this);
    DosCommand2->OnNewLine = MakeDelegate<&TFrmMain::DosCommand2NewLine>(this);
    DosCommand1->OnTerminated = MakeDelegate<&TFrmMain::DosCommand2Terminated>(this);
    DosCommand2->OnTerminated = MakeDelegate<&TFrmMain::DosCommand2Terminated>(this);
    WebBrowser1->Navigate(AppPath + kGuidePage);
    FFileList.clear();
    for (const TButtonPlace& place : kButtons)
        LoadPicture(this->*place.Field, place.Picture);
    KeepButtonLooks();
    Converting = false;
    FWindow = Handle();
    LoadIcons();
    AddSkinMenu();
}

UINT TFrmMain::SkinCommand(size_t Index) noexcept
{
    // The system keeps the low four bits of a window-menu command.
    return kSkinCommandBase + static_cast<UINT>(Index) * 0x10;
}

void TFrmMain::AddSkinMenu()
{
    FStoredSkin = SkinData1->WriteSkinStream();
    FSkinChoices = FindSkinChoices(AppPath);
    HMENU windowMenu = GetSystemMenu(Handle(), FALSE);
    FSkinMenu = CreatePopupMenu();
    if (!windowMenu || !FSkinMenu)
        return;
    for (size_t index = 0; index < FSkinChoices.size() && index < kSkinCommandLimit; ++index)
        AppendMenuW(FSkinMenu, MF_STRING, SkinCommand(index), FSkinChoices[index].Label.c_str());
    AppendMenuW(windowMenu, MF_SEPARATOR, 0, nullptr);
    if (!AppendMenuW(windowMenu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(FSkinMenu), kSkinMenu)) {
        DestroyMenu(FSkinMenu);
        FSkinMenu = nullptr;
        return;
    }
    CheckChosenSkin();
}

void TFrmMain::CheckChosenSkin()
{
    if (FSkinMenu && !FSkinChoices.empty())
        CheckMenuRadioItem(FSkinMenu, SkinCommand(0), SkinCommand(FSkinChoices.size() - 1),
                           SkinCommand(FChosenSkin), MF_BYCOMMAND);
}

bool TFrmMain::ChooseSkin(size_t Index)
{
    if (Index >= FSkinChoices.size())
        return false;
    const TSkinChoice& choice = FSkinChoices[Index];
    if (choice.Path.empty()) {
        SkinData1->ReadSkinStream(FStoredSkin);
        if (SkinData1->SkinLoading())
            return false;
        SkinData1->ApplySkin();
    } else {
        // Checked before the skin is touched: a damaged file leaves the
        // skin in use as it is.
        const std::optional<std::vector<std::uint8_t>> bytes = ReadSkinFileBytes(choice.Path);
        const std::optional<std::wstring> fault =
            bytes ? SkinFileFault(*bytes) : std::optional<std::wstring>(L"the file cannot be read");
        if (fault) {
            Application->MessageBox(L"“" + choice.Label + L"”不是可用的皮肤文件，仍使用当前皮肤。\n\n" +
                                        choice.Path + L"\n" + *fault,
                                    kMessageTitle, MB_OK | MB_ICONWARNING);
            return false;
        }
        // Loads the file and hands the skin to every window; a file that
        // changed since the check leaves the skin in use as it is.
        if (!SkinData1->LoadSkinFile(choice.Path))
            return false;
    }
    FChosenSkin = Index;
    CheckChosenSkin();
    return true;
}

void TFrmMain::CreateParams(TCreateParams& Params)
{
    TForm::CreateParams(Params);
    // Files dropped from the desktop are added like chosen ones.
    Params.ExStyle |= WS_EX_ACCEPTFILES;
}

void TFrmMain::LoadIcons()
{
    const std::wstring file = AppPath + kIconFile;
    const auto load = [&](int Metric) {
        return TIcon(static_cast<HICON>(LoadImageW(nullptr, file.c_str(), IMAGE_ICON,
                                                   GetSystemMetrics(Metric), GetSystemMetrics(Metric + 1),
                                                   LR_LOADFROMFILE)));
    };
    FBigIcon = load(SM_CXICON);
    FSmallIcon = load(SM_CXSMICON);
    ShowIcons(FWindow);
}

void TFrmMain::ShowIcons(HWND Window) const
{
    if (FBigIcon)
        SendMessageW(Window, WM_SETICON, ICON_BIG, AsLParam(FBigIcon.get()));
    if (FSmallIcon)
        SendMessageW(Window, WM_SETICON, ICON_SMALL, AsLParam(FSmallIcon.get()));
}

// Each picture button keeps its picture and a faded copy, shown while the
// button is out of use.
void TFrmMain::KeepButtonLooks()
{
    FButtonLooks.clear();
    for (const TButtonPlace& place : kButtons) {
        TImage* button = this->*place.Field;
        auto look = std::make_unique<TButtonLook>();
        look->Button = button;
        look->Normal.Assign(*button->Picture());
        look->Disabled.Assign(*button->Picture());
        if (!look->Disabled.Empty())
            FadeToDisabled(look->Disabled, ColorToRGB(kWindowColour));
        FButtonLooks.push_back(std::move(look));
    }
}

// Buttons that would do nothing now are disabled and look it; the hover
// outline of a button that goes out of use goes with a repaint.
void TFrmMain::UpdateButtons()
{
    const bool idle = !Converting && !FProbing;
    bool changed = false;
    for (const auto& look : FButtonLooks) {
        const bool enabled = look->Button == imgAbout ||
                             (look->Button == imgAdd || look->Button == imgConvert ? idle : !Converting);
        if (look->Button->Enabled() == enabled)
            continue;
        look->Button->SetEnabled(enabled);
        if (!look->Normal.Empty()) {
            look->Button->Picture()->Assign(enabled ? look->Normal : look->Disabled);
            look->Button->PictureChanged();
        }
        changed = true;
    }
    if (changed && FOutlineShown) {
        FOutlineShown = false;
        Invalidate();
    }
}

void TFrmMain::LoadPicture(TImage* Image, const std::wstring& FileName)
{
    try {
        Image->LoadFromFile(AppPath + FileName);
    } catch (...) {
        // A missing picture leaves a blank button; the window still works.
        Application->HandleException(this);
    }
}

TFileInfo* TFrmMain::FileInfoAt(int Index) const
{
    return FFileList.at(static_cast<std::size_t>(Index)).get();
}

void TFrmMain::ClearFileList()
{
    for (auto& job : FFileList)
        job.reset();
    FFileList.clear();
}

void TFrmMain::RefreshList()
{
    lvwFiles->Items().SetCount(FileCount());
    lvwFiles->Repaint();
}

void TFrmMain::lvwFilesData(TObject*, TListItem* Item)
{
    const int index = Item->Index();
    if (index < 0 || index >= FileCount())
        return;
    const TFileInfo& job = *FileInfoAt(index);
    Item->Caption = job.Path;
    if (lvwFiles->ViewStyle() != vsReport)
        return;
    Item->SubItems.Add(job.Status);
    Item->SubItems.Add(job.Problem.empty() ? vidkiln::LengthText(job.Duration) : std::wstring());
}

void TFrmMain::imgAddClick(TObject*)
{
    if (Converting || FProbing)
        return;
    const std::vector<std::wstring> chosen = ChooseSourceFiles ? ChooseSourceFiles() : AskForSourceFiles();
    HideOutline();
    AddFiles(chosen);
}

// The dialog opens empty in the folder of the last file chosen, and takes
// several files at once.
std::vector<std::wstring> TFrmMain::AskForSourceFiles()
{
    std::vector<std::wstring> chosen =
        ChooseFiles(FWindow, OpenDialog1->Filter, OpenDialog1->FilterIndex, OpenDialog1->InitialDir);
    if (!chosen.empty())
        OpenDialog1->InitialDir = FolderOf(chosen.front());
    return chosen;
}

void TFrmMain::AddFiles(const std::vector<std::wstring>& Paths)
{
    if (Converting || FProbing || Paths.empty())
        return;
    ProgressBar1->SetPosition(0);
    lblInfo->SetCaption(kReady);
    FProbeQueue = Paths;
    FUnreadableNote.clear();
    FProbing = true;
    UpdateButtons();
    StartProbe();
}

void TFrmMain::StartProbe()
{
    StatusBar1->SetSimpleText(L"正在读取长度：" + FProbeQueue.front());
    DosCommand2->CommandLine = vidkiln::ProbeCommandLine(AppPath, FProbeQueue.front());
    RunEnded = false;
    ++FProbeSerial;
    FProbeLinePosted = false;
    try {
        DosCommand2->Start();
    } catch (...) {
        // No thread for the probe: the file is still added, without a length.
        Application->HandleException(this);
        PostMessageW(FWindow, WM_VIDKILN_RUNENDED, kProbeRun, static_cast<LPARAM>(FProbeSerial.load()));
        return;
    }
    // The probe gets as long as its looks would take; a tool that prints no
    // length and never ends is stopped then.
    SetTimer(FWindow, kProbeTimer, kProbeLooks * kProbeLookMs, nullptr);
}

void TFrmMain::LookForLength()
{
    FProbeLinePosted = false;
    if (vidkiln::HasLengthMarker(vidkiln::JoinCapturedLines(DosCommand2->CapturedLines().Lines())))
        ProbeEnded();
}

void TFrmMain::ProbeEnded()
{
    KillTimer(FWindow, kProbeTimer);
    // Whatever this probe still has on its way is of no use now.
    ++FProbeSerial;
    const int64_t exitCode = DosCommand2->ExitCode();
    DosCommand2->Stop();
    auto job = std::make_unique<TFileInfo>();
    const std::vector<std::string>& lines = DosCommand2->CapturedLines().Lines();
    const std::string text = vidkiln::JoinCapturedLines(lines);
    job->Duration = vidkiln::DurationFromProbeText(text);
    job->Path = FProbeQueue.front();
    job->Status = kReady;
    if (ProbeFoundNoMedia(exitCode, text)) {
        const std::string said = vidkiln::LastMessageLine(lines);
        job->Problem = said.empty() ? std::wstring(L"不是能读取的视频文件") : Utf8ToWide(said);
        job->Status = kUnreadable;
        FUnreadableNote = L"无法读取（" + NameOf(job->Path) + L"），不会转换：" + job->Problem;
    }
    FProbeQueue.erase(FProbeQueue.begin());
    FFileList.push_back(std::move(job));
    lvwFiles->Items().SetCount(FileCount());
    if (FProbeQueue.empty()) {
        FProbing = false;
        StatusBar1->SetSimpleText(FUnreadableNote);
        UpdateButtons();
        return;
    }
    StartProbe();
}

void TFrmMain::imgDeleteClick(TObject*)
{
    if (Converting || lvwFiles->Items().Count() == 0)
        return;
    const int selected = lvwFiles->ItemIndex();
    if (selected < 0 || selected >= FileCount())
        return;
    FFileList.erase(FFileList.begin() + selected);
    RefreshList();
}

void TFrmMain::imgClearClick(TObject*)
{
    if (Converting)
        return;
    // Files still waiting to be probed belong to the list being cleared.
    if (FProbing)
        StopProbing();
    ClearFileList();
    RefreshList();
    lvwFiles->Items().Clear();
    // What the last run said is about jobs that are gone now.
    lblInfo->SetCaption(kReady);
    StatusBar1->SetSimpleText(L"");
    ProgressBar1->SetPosition(0);
}

void TFrmMain::StopProbing()
{
    KillTimer(FWindow, kProbeTimer);
    // Whatever the probe still has on its way is of no use now.
    ++FProbeSerial;
    DosCommand2->Stop();
    FProbeQueue.clear();
    FProbing = false;
    UpdateButtons();
}

void TFrmMain::imgConvertClick(TObject*)
{
    if (Converting || FProbing)
        return;
    if (OutPath.empty()) {
        Application->MessageBox(kChooseOutput, kMessageTitle, MB_OK | MB_ICONWARNING);
        return;
    }
    std::wstring systemError;
    if (!EnsureFolder(OutPath, &systemError)) {
        Application->MessageBox(systemError, kMessageTitle, MB_OK | MB_ICONERROR);
        return;
    }
    SetConverting(true);
    FQueueCount = FileCount();
    FQueueIndex = 0;
    FFailures = 0;
    FLastFailure.clear();
    FWrittenOutputs.clear();
    ConvertNext();
}

void TFrmMain::SetConverting(bool Value)
{
    lvwFiles->SetEnabled(!Value);
    // The queue reads the settings as each job starts: a change during the
    // run would give one batch two sizes.
    for (TComboBox* setting : {cmbVideoKbps, cmbVideoFrame, cmbVideoSize, cmbAspect})
        setting->SetEnabled(!Value);
    Converting = Value;
    UpdateButtons();
    // Positions still queued from the last run must not move the bar.
    ++FRunSerial;
}

void TFrmMain::ConvertNext()
{
    for (; FQueueIndex < FQueueCount; ++FQueueIndex) {
        TFileInfo& job = *FileInfoAt(FQueueIndex);
        // Marked when it was added; the probe said why.
        if (!job.Problem.empty())
            continue;
        lblInfo->SetCaption(kConverting + job.Path);
        std::wstring reason;
        if (ConvertFile(job, reason))
            return;
        JobFailed(job, reason);
    }
    EndConversion();
}

void TFrmMain::EndConversion()
{
    ProgressBar1->SetPosition(0);
    SetConverting(false);
    lblInfo->SetCaption(FFailures == 0 ? std::wstring(kAllConverted)
                                       : std::wstring(kAllConverted) + L"，" +
                                             std::to_wstring(FFailures) + L" 个失败。" +
                                             FLastFailure);
}

void TFrmMain::JobFailed(TFileInfo& Info, const std::wstring& Reason)
{
    Info.Status = kFailed;
    ++FFailures;
    FLastFailure = L"转换失败：" + Info.Path + L"（" + Reason + L"）";
    lblInfo->SetCaption(FLastFailure);
    // The label is narrow; the status bar has the reason in full, with the
    // job's row number as the list shows it.
    StatusBar1->SetSimpleText(L"第 " + std::to_wstring(FQueueIndex + 1) + L" 个文件失败（" +
                              NameOf(Info.Path) + L"）：" + Reason);
    lvwFiles->Invalidate();
}

std::optional<std::wstring> TFrmMain::RefusalOf(const TFileInfo& Info,
                                                const std::wstring& Output) const
{
    for (const auto& job : FFileList) {
        if (SameFile(Output, job->Path))
            return job.get() == &Info ? L"输出文件就是源文件" : L"输出文件会覆盖另一个源文件";
    }
    return std::nullopt;
}

// An output that this run has written already is not written over: two
// sources of the same name from different folders would otherwise leave one
// result where both jobs say they are done. An output that was there before
// the run is replaced, as the user expects of a new conversion.
std::wstring TFrmMain::OutputFor(const TFileInfo& Info)
{
    const std::wstring plain = vidkiln::OutputPathFor(OutPath, Info.Path);
    const auto written = [this](const std::wstring& Output) {
        return std::any_of(FWrittenOutputs.begin(), FWrittenOutputs.end(),
                           [&](const std::wstring& Done) { return SameFile(Done, Output); });
    };
    if (!written(plain))
        return plain;
    // A new name is one that nothing owns: not this run's, no source of the
    // list, no file already there.
    for (int number = 2;; ++number) {
        const std::wstring renamed = vidkiln::NumberedOutputPath(plain, number);
        if (written(renamed) || RefusalOf(Info, renamed) ||
            GetFileAttributesW(renamed.c_str()) != INVALID_FILE_ATTRIBUTES)
            continue;
        StatusBar1->SetSimpleText(L"同名输出已在本次转换中写过，" + Info.Path + L" 改存为 " + renamed);
        return renamed;
    }
}

vidkiln::TEncoderSettings TFrmMain::EncoderSettings() const
{
    const auto setting = [](TComboBox* List) {
        const int index = List->ItemIndex();
        return vidkiln::TSetting{index, index >= 0 ? List->Items()[index] : std::wstring()};
    };
    return {setting(cmbVideoKbps), setting(cmbVideoFrame), setting(cmbVideoSize),
            setting(cmbAspect)};
}

bool TFrmMain::ConvertFile(TFileInfo& Info, std::wstring& Reason)
{
    ProgressBar1->SetMax(Info.Duration);
    ProgressBar1->SetMin(0);
    const std::wstring output = OutputFor(Info);
    if (const auto refusal = RefusalOf(Info, output)) {
        Reason = *refusal;
        return false;
    }
    DosCommand1->CommandLine =
        vidkiln::EncoderCommandLineTo(AppPath, Info.Path, EncoderSettings(), output);
    FOutput = output;
    ++FRunSerial;
    FLastPosition = -1;
    try {
        DosCommand1->Start();
    } catch (...) {
        Reason = L"无法启动编码程序：" + CurrentExceptionMessage();
        return false;
    }
    return true;
}

void TFrmMain::EncoderEnded()
{
    DosCommand1->Stop();
    TFileInfo& job = *FileInfoAt(FQueueIndex);
    const int64_t exitCode = DosCommand1->ExitCode();
    if (exitCode == 0) {
        job.Status = kDone;
        FWrittenOutputs.push_back(FOutput);
        lvwFiles->Invalidate();
    } else if (exitCode == TDosCommand::ExitCodeNotStarted) {
        JobFailed(job, L"无法启动编码程序 " + AppPath + std::wstring(vidkiln::kEncoderTool));
    } else if (exitCode == TDosCommand::ExitCodeStopped) {
        JobFailed(job, L"已中止");
    } else {
        const std::string said = vidkiln::LastMessageLine(DosCommand1->CapturedLines().Lines());
        JobFailed(job, L"编码程序出错，退出码 " + std::to_wstring(exitCode) +
                           (said.empty() ? std::wstring() : L"：" + Utf8ToWide(said)));
    }
    ++FQueueIndex;
    ConvertNext();
}

void TFrmMain::imgOutPathClick(TObject*)
{
    if (Converting)
        return;
    const std::wstring chosen = BrowseFolder(Handle(), kChooseFolderPrompt, OutPath);
    HideOutline();
    if (chosen.empty())
        return;
    OutPath = chosen;
    StatusBar1->SetSimpleText(L"输出目录：" + OutPath);
}

void TFrmMain::imgAboutClick(TObject*)
{
    const std::unique_ptr<TFrmAbout> about(new TFrmAbout(nullptr));
    ShowIcons(about->Handle());
    about->ShowModal();
    // The mouse left the button for the box and never came back over the
    // strip, which is what takes the outline away otherwise.
    HideOutline();
}

void TFrmMain::imgBgMouseDown(TObject*, TMouseButton, TShiftState, int, int Y)
{
    if (Y >= kDragRows)
        return;
    ReleaseCapture();
    SendMessageW(Handle(), WM_SYSCOMMAND, kMoveByCaption, 0);
}

void TFrmMain::imgBgMouseMove(TObject*, TShiftState, int, int)
{
    HideOutline();
}

void TFrmMain::HideOutline()
{
    // Repainting removes every outline at once; with none drawn it would
    // only redraw what is already there.
    if (!FOutlineShown)
        return;
    FOutlineShown = false;
    Repaint();
}

void TFrmMain::imgAddMouseMove(TObject* Sender, TShiftState, int, int)
{
    const auto* button = static_cast<TControl*>(Sender);
    const int left = button->Left();
    const int top = button->Top();
    const int right = left + button->Width();
    const int bottom = top + button->Height();
    TCanvas& canvas = Canvas();
    canvas.Pen().SetColor(kOutlineColour);
    canvas.Pen().SetWidth(1);
    canvas.MoveTo(left, top);
    canvas.LineTo(left, bottom);
    canvas.LineTo(right, bottom);
    canvas.LineTo(right, top);
    canvas.LineTo(left, top);
    FOutlineShown = true;
}

void TFrmMain::DosCommand1NewLine(TObject*, const std::string& NewLine, TOutputType)
{
    // The encoder reports a few times a second; the bar moves by whole
    // seconds, so only a new position is worth a repaint.
    const auto position = vidkiln::ProgressFromLine(NewLine);
    if (position && FLastPosition.exchange(*position) != *position)
        PostMessageW(FWindow, WM_VIDKILN_PROGRESS, static_cast<WPARAM>(*position),
                     static_cast<LPARAM>(FRunSerial.load()));
}

void TFrmMain::DosCommand2NewLine(TObject*, const std::string&, TOutputType)
{
    if (!FProbeLinePosted.exchange(true))
        PostMessageW(FWindow, WM_VIDKILN_PROBELINE, 0, static_cast<LPARAM>(FProbeSerial.load()));
}

void TFrmMain::DosCommand2Terminated(TObject* Sender)
{
    RunEnded = true;
    const bool encoder = Sender == DosCommand1;
    PostMessageW(FWindow, WM_VIDKILN_RUNENDED, encoder ? kEncoderRun : kProbeRun,
                 static_cast<LPARAM>(encoder ? FRunSerial.load() : FProbeSerial.load()));
}

void TFrmMain::FormCloseQuery(TObject*, bool& CanClose)
{
    if (!Converting && !FProbing)
        return;
    CanClose = Application->MessageBox(kConfirmExit, kMessageTitle, MB_YESNO | MB_ICONQUESTION) == IDYES;
    // The box may have been open across the end of the run: it is over then.
    if (!CanClose || (!Converting && !FProbing))
        return;
    // No job or probe starts any more, and the one running ends here (the
    // encoder removes its unfinished output).
    FCloseAsked = true;
    ++FRunSerial;
    DosCommand1->Stop();
    StopProbing();
    if (Converting)
        SetConverting(false);
}

void TFrmMain::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_VIDKILN_PROGRESS:
        if (static_cast<unsigned>(Message.LParam) == FRunSerial.load())
            ProgressBar1->SetPosition(static_cast<int>(static_cast<INT_PTR>(Message.WParam)));
        return;
    case WM_VIDKILN_PROBELINE:
        if (FProbing && static_cast<unsigned>(Message.LParam) == FProbeSerial.load())
            LookForLength();
        return;
    case WM_VIDKILN_RUNENDED:
        if (Message.WParam == kEncoderRun) {
            if (Converting && static_cast<unsigned>(Message.LParam) == FRunSerial.load())
                EncoderEnded();
        } else if (FProbing && static_cast<unsigned>(Message.LParam) == FProbeSerial.load()) {
            ProbeEnded();
        }
        return;
    case WM_DROPFILES: {
        const HDROP drop = AsPointer<std::remove_pointer_t<HDROP>>(Message.WParam);
        const std::vector<std::wstring> files = DroppedFiles(drop);
        DragFinish(drop);
        if (Converting || FProbing)
            StatusBar1->SetSimpleText(L"正在忙，请稍后再添加文件");
        else
            AddFiles(files);
        return;
    }
    case WM_SYSCOMMAND: {
        const UINT command = static_cast<UINT>(Message.WParam) & 0xFFF0;
        if (command >= kSkinCommandBase && command < SkinCommand(kSkinCommandLimit)) {
            ChooseSkin((command - kSkinCommandBase) / 0x10);
            Message.Result = 0;
            return;
        }
        break;
    }
    case WM_TIMER:
        if (Message.WParam == kProbeTimer) {
            if (FProbing)
                ProbeEnded();
            return;
        }
        break;
    default:
        break;
    }
    TForm::WndProc(Message);
}
