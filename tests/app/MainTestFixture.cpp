#include "MainTestFixture.h"

#include "framework/GdiObjects.h"
#include "framework/SysUtils.h"

#include <commctrl.h>
#include <shlobj.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

MainWindowTest* GCurrent = nullptr;

std::wstring ModuleFolder()
{
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return fs::path(path).parent_path().wstring();
}

} // namespace

std::string Narrow(const std::wstring& Text)
{
    return WideToUtf8(Text);
}

std::wstring FileName(const std::wstring& Path)
{
    return fs::path(Path).filename().wstring();
}

bool IsFile(const std::wstring& Path)
{
    return fs::is_regular_file(Path);
}

bool IsFolder(const std::wstring& Path)
{
    return fs::is_directory(Path);
}

void WriteFile(const std::wstring& Path, const std::string& Bytes)
{
    fs::create_directories(fs::path(Path).parent_path());
    std::ofstream(fs::path(Path), std::ios::binary) << Bytes;
}

std::string ReadFile(const std::wstring& Path)
{
    std::ifstream file{fs::path(Path), std::ios::binary};
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

std::wstring TestsFolder()
{
    return ModuleFolder();
}

std::wstring BuildBinFolder()
{
    return fs::weakly_canonical(fs::path(TestsFolder()) / L".." / L"bin").wstring();
}

struct MainWindowTest::TPending {
    std::function<void()> Action;
    std::function<bool()> Condition;
    UINT_PTR Timer = 0;
    bool Done = false;
};

struct MainWindowTest::THook {
    std::function<void(TMessage&, TWindowProcHook&)> Handler;
    TWindowProcHook Installed;
    void Entry(TMessage& Message) { Handler(Message, Installed); }
};

MainWindowTest::MainWindowTest() = default;
MainWindowTest::~MainWindowTest() = default;

void MainWindowTest::SetUp()
{
    GCurrent = this;
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    Root = (fs::temp_directory_path() / L"vidkiln-main" / Utf8ToWide(test->name())).wstring();
    std::error_code ignored;
    fs::remove_all(Root, ignored);
    AppDir = Root + L"\\程序 目录";
    OutDir = Root + L"\\输出";
    fs::create_directories(AppDir);
    fs::create_directories(OutDir);
    const fs::path fake = fs::path(TestsFolder()) / L"app_fake_tool.exe";
    fs::copy_file(fake, fs::path(AppDir) / L"mplayer.exe");
    fs::copy_file(fake, fs::path(AppDir) / L"ffmpeg.exe");
    fs::copy(fs::path(BuildBinFolder()) / L"Images", fs::path(AppDir) / L"Images");
    fs::copy(fs::path(BuildBinFolder()) / L"web", fs::path(AppDir) / L"web");
    FLog = Root + L"\\runs.log";
    SetEnvironmentVariableW(L"VIDKILN_FAKE_LOG", FLog.c_str());
    SetScript(L"MPLAYER", L"print:ID_LENGTH=12.99");
    SetScript(L"FFMPEG", L"print:ffmpeg_release_time=6.5=ffmpeg_release_time|touch");
    FPreviousBox = Application->SetMessageBoxFunc(
        [this](HWND, const std::wstring& Text, const std::wstring&, UINT) {
            FBoxes.push_back(Text);
            return FAnswer;
        });
    CreateForm(AppDir + L"\\");
    FBoxes.clear();
}

void MainWindowTest::CreateForm(const std::wstring& ProgramFolder)
{
    Form = std::make_unique<TFrmMain>(nullptr);
    Form->AppPath = ProgramFolder;
    Form->AfterConstruction();
    Form->Show();
    testsupport::Flush(testsupport::DispatchThroughApplication);
}

void MainWindowTest::TearDown()
{
    for (const auto& pending : FPending) {
        KillTimer(nullptr, pending->Timer);
        EXPECT_TRUE(pending->Done) << "an action for a busy window never ran";
    }
    FPending.clear();
    FHooks.clear();
    Form.reset();
    Application->SetMessageBoxFunc(std::move(FPreviousBox));
    SetFolderDialog({});
    GCurrent = nullptr;
    std::error_code ignored;
    fs::remove_all(Root, ignored);
}

void MainWindowTest::RecreateFormWithout(const std::wstring& RelativePath)
{
    FHooks.clear();
    Form.reset();
    fs::remove(fs::path(AppDir) / RelativePath);
    FBoxes.clear();
    CreateForm(AppDir + L"\\");
}

void MainWindowTest::RecreateFormIn(const std::wstring& ProgramFolder)
{
    FHooks.clear();
    Form.reset();
    CreateForm(ProgramFolder);
}

void MainWindowTest::SetScript(const std::wstring& Tool, const std::wstring& Script)
{
    SetEnvironmentVariableW((L"VIDKILN_FAKE_" + Tool).c_str(), Script.c_str());
}

std::wstring MainWindowTest::MakeSource(const std::wstring& RelativePath)
{
    const std::wstring path = Root + L"\\源\\" + RelativePath;
    WriteFile(path, "video");
    return path;
}

void MainWindowTest::AddFile(const std::wstring& Path)
{
    AddFiles({Path});
}

void MainWindowTest::AddFiles(const std::vector<std::wstring>& Paths)
{
    Form->ChooseSourceFiles = [Paths] { return Paths; };
    const bool busy = Form->Probing() || Form->Converting;
    Form->imgAddClick(Form->imgAdd);
    // A press while busy is ignored; there is nothing to wait for then.
    if (!busy) {
        EXPECT_TRUE(PumpUntil([this] { return !Form->Probing(); }));
    }
}

void MainWindowTest::Convert()
{
    Form->imgConvertClick(Form->imgConvert);
    EXPECT_TRUE(PumpUntil([this] { return !Form->Converting; }));
}

bool MainWindowTest::PumpUntil(const std::function<bool()>& Done)
{
    // A whole conversion or an add of many files can take this long.
    return testsupport::PumpUntil(Done, 60000, testsupport::DispatchThroughApplication);
}

std::vector<std::wstring> MainWindowTest::Runs() const
{
    std::vector<std::wstring> runs;
    std::istringstream lines(ReadFile(FLog));
    for (std::string line; std::getline(lines, line);)
        runs.push_back(Utf8ToWide(line));
    return runs;
}

void MainWindowTest::During(std::function<void()> Action, std::function<bool()> Condition)
{
    auto pending = std::make_unique<TPending>();
    pending->Action = std::move(Action);
    pending->Condition = std::move(Condition);
    pending->Timer = SetTimer(nullptr, 0, pending->Condition ? 20 : 50, &TimerTick);
    ASSERT_NE(pending->Timer, 0u);
    FPending.push_back(std::move(pending));
}

void CALLBACK MainWindowTest::TimerTick(HWND, UINT, UINT_PTR Timer, DWORD)
{
    if (!GCurrent)
        return;
    for (const auto& pending : GCurrent->FPending) {
        if (pending->Timer != Timer || pending->Done)
            continue;
        if (pending->Condition && !pending->Condition())
            return;
        KillTimer(nullptr, Timer);
        pending->Done = true;
        pending->Action();
        return;
    }
}

MainWindowTest::THook& MainWindowTest::Hook(TControl* Control,
                                            std::function<void(TMessage&, TWindowProcHook&)> Handler)
{
    auto hook = std::make_unique<THook>();
    hook->Handler = std::move(Handler);
    hook->Installed.Install(Control, TWndMethod::Bind<&THook::Entry>(hook.get()));
    FHooks.push_back(std::move(hook));
    return *FHooks.back();
}

void MainWindowTest::ClickOn(TControl* Control)
{
    const RECT bounds = BoundsOnForm(Control);
    POINT centre{(bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2};
    ClientToScreen(Form->Handle(), &centre);
    ClickAt(centre);
}

void MainWindowTest::ClickAt(POINT At)
{
    const POINT centre = At;
    const auto absolute = [](LONG Value, int Metric) {
        return static_cast<LONG>((Value * 65535 + GetSystemMetrics(Metric) / 2) /
                                 (GetSystemMetrics(Metric) - 1));
    };
    INPUT inputs[3] = {};
    for (INPUT& input : inputs) {
        input.type = INPUT_MOUSE;
        input.mi.dx = absolute(centre.x, SM_CXSCREEN);
        input.mi.dy = absolute(centre.y, SM_CYSCREEN);
    }
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
    inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
    ASSERT_EQ(SendInput(3, inputs, sizeof(INPUT)), 3u);
}

RECT MainWindowTest::BoundsOnForm(TControl* Control)
{
    if (auto* windowed = dynamic_cast<TWinControl*>(Control)) {
        RECT bounds;
        GetWindowRect(windowed->Handle(), &bounds);
        MapWindowPoints(HWND_DESKTOP, Form->Handle(), reinterpret_cast<POINT*>(&bounds), 2);
        return bounds;
    }
    return Control->BoundsRect();
}

std::vector<std::wstring> MainWindowTest::ComboEntries(TComboBox* List) const
{
    std::vector<std::wstring> entries;
    const HWND combo = List->Handle();
    const int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        std::wstring text(static_cast<std::size_t>(SendMessageW(combo, CB_GETLBTEXTLEN, i, 0)), L'\0');
        SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        entries.push_back(text);
    }
    return entries;
}

int MainWindowTest::ListItemCount()
{
    return static_cast<int>(SendMessageW(Form->lvwFiles->Handle(), LVM_GETITEMCOUNT, 0, 0));
}

std::wstring MainWindowTest::ListText(int Item, int SubItem)
{
    wchar_t buffer[1024] = {};
    LVITEMW item{};
    item.iSubItem = SubItem;
    item.pszText = buffer;
    item.cchTextMax = 1024;
    SendMessageW(Form->lvwFiles->Handle(), LVM_GETITEMTEXTW, static_cast<WPARAM>(Item),
                 reinterpret_cast<LPARAM>(&item));
    return buffer;
}

void MainWindowTest::SelectListItem(int Item)
{
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(Form->lvwFiles->Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(Item),
                 reinterpret_cast<LPARAM>(&state));
}

COLORREF MainWindowTest::ClientPixel(int X, int Y)
{
    const gdi::ClientDC windowDc(Form->Handle());
    const gdi::MemoryDC memoryDc(windowDc.Get());
    const gdi::Bitmap bitmap(CreateCompatibleBitmap(windowDc.Get(), 1, 1));
    const gdi::Selection selected(memoryDc.Get(), bitmap.Get());
    BitBlt(memoryDc.Get(), 0, 0, 1, 1, windowDc.Get(), X, Y, SRCCOPY);
    return GetPixel(memoryDc.Get(), 0, 0);
}

std::vector<COLORREF> MainWindowTest::ClientPixels(const RECT& Area)
{
    const int width = Area.right - Area.left;
    const int height = Area.bottom - Area.top;
    const gdi::ClientDC windowDc(Form->Handle());
    const gdi::MemoryDC memoryDc(windowDc.Get());
    const gdi::Bitmap bitmap(CreateCompatibleBitmap(windowDc.Get(), width, height));
    {
        const gdi::Selection selected(memoryDc.Get(), bitmap.Get());
        BitBlt(memoryDc.Get(), 0, 0, width, height, windowDc.Get(), Area.left, Area.top, SRCCOPY);
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> rows(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    GetDIBits(memoryDc.Get(), bitmap.Get(), 0, static_cast<UINT>(height), rows.data(), &info,
              DIB_RGB_COLORS);
    std::vector<COLORREF> pixels;
    for (const DWORD bgrx : rows)
        pixels.push_back(RGB((bgrx >> 16) & 0xFF, (bgrx >> 8) & 0xFF, bgrx & 0xFF));
    return pixels;
}

HDROP MainWindowTest::DropOf(const std::vector<std::wstring>& Paths)
{
    std::wstring list;
    for (const std::wstring& path : Paths)
        list += path + L'\0';
    list += L'\0';
    const std::size_t bytes = sizeof(DROPFILES) + list.size() * sizeof(wchar_t);
    const HGLOBAL memory = GlobalAlloc(GHND, bytes);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    std::copy(list.begin(), list.end(), reinterpret_cast<wchar_t*>(drop + 1));
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

std::shared_ptr<std::vector<int>> MainWindowTest::RecordProgress()
{
    auto positions = std::make_shared<std::vector<int>>();
    Hook(Form->ProgressBar1, [positions](TMessage& Message, TWindowProcHook& Self) {
        if (Message.Msg == PBM_SETPOS)
            positions->push_back(static_cast<int>(Message.WParam));
        Self.CallPrevious(Message);
    });
    return positions;
}

std::shared_ptr<std::vector<WPARAM>> MainWindowTest::RecordSystemCommands()
{
    auto commands = std::make_shared<std::vector<WPARAM>>();
    Hook(Form.get(), [commands](TMessage& Message, TWindowProcHook& Self) {
        if (Message.Msg == WM_SYSCOMMAND) {
            commands->push_back(Message.WParam);
            return;
        }
        Self.CallPrevious(Message);
    });
    return commands;
}
