#include "MainConstants.h"

#include "About.h"
#include "framework/SysUtils.h"

#include <shellapi.h>

using namespace mainwindow;

namespace {

constexpr wchar_t kTitle[] = L"Vidkiln v3.0 (输出视频为mp4格式)";
constexpr wchar_t kChooseFolderPrompt[] = L"请选择文件";
constexpr wchar_t kConfirmExit[] = L"正在转换，确定要退出吗？";
constexpr wchar_t kGuidePage[] = L"web\\index.html";
constexpr int kClientWidth = 558;
constexpr int kClientHeight = 314;

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

std::wstring FolderOf(const std::wstring& Path)
{
    return Path.substr(0, Path.find_last_of(L'\\') + 1);
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

void TFrmMain::CreateParams(TCreateParams& Params)
{
    TForm::CreateParams(Params);
    // Files dropped from the desktop are added like chosen ones.
    Params.ExStyle |= WS_EX_ACCEPTFILES;
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
