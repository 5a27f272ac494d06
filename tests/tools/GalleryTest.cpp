// The gallery opens every window it offers and closes cleanly: every window
// destroyed, the GDI count back where it was.
#include "Gallery.h"
#include "Preview.h"
#include "tests/skin/data/GdiCount.h"
#include "tests/skin/forms/FrameSamples.h"
#include "skin/data/SkinMessages.h"
#include "skin/forms/SkinManager.h"
#include "support/FormsDispatch.h"
#include "support/Wait.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace {

// Messages go through the application, as in gallery.exe.
constexpr testsupport::TDispatch kDispatch = testsupport::DispatchThroughApplication;

void Flush()
{
    testsupport::Flush(kDispatch);
}

std::wstring ClassOf(HWND Window)
{
    wchar_t Name[64] = {};
    GetClassNameW(Window, Name, 64);
    return Name;
}

struct TBoxAnswer {
    int Boxes = 0;
};

class Gallery : public ::testing::Test {
protected:
    void SetUp() override
    {
        FPrevious = Application->SetMessageBoxFunc([this](HWND, const std::wstring&, const std::wstring&, UINT) {
            ++Boxes;
            return IDOK;
        });
    }
    void TearDown() override { Application->SetMessageBoxFunc(FPrevious); }
    int Boxes = 0;

private:
    TMessageBoxFunc FPrevious;
};

TEST_F(Gallery, OpensEveryWindowItOffers)
{
    TFrmGallery Form(nullptr);
    Form.Show();
    Form.OpenEverything();
    Flush();
    EXPECT_EQ(Boxes, 1);
    ASSERT_NE(Form.TemplateDialogHandle(), nullptr);
    EXPECT_EQ(ClassOf(Form.TemplateDialogHandle()), L"#32770");
    EXPECT_TRUE(IsWindowVisible(Form.TemplateDialogHandle()));
    bool Mdi = false, Tag99 = false, Borderless = false, Tool = false, RightToLeft = false, Sizeable = false;
    for (TCustomForm* Opened : Form.OpenForms()) {
        ASSERT_TRUE(IsWindowVisible(Opened->Handle())) << Opened->Caption().size();
        const LONG Style = GetWindowLongW(Opened->Handle(), GWL_STYLE);
        const LONG ExStyle = GetWindowLongW(Opened->Handle(), GWL_EXSTYLE);
        Mdi |= Opened->FormStyle() == fsMDIForm && Opened->MDIChildCount() == 3;
        Tag99 |= Opened->Tag == 99;
        Borderless |= !(Style & WS_CAPTION);
        Tool |= (ExStyle & WS_EX_TOOLWINDOW) != 0;
        RightToLeft |= Opened->BiDiMode() == bdRightToLeft && Opened->Menu() && Opened->Menu()->IsRightToLeft();
        Sizeable |= (Style & WS_THICKFRAME) && !(Style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    }
    EXPECT_TRUE(Mdi);
    EXPECT_TRUE(Tag99);
    EXPECT_TRUE(Borderless);
    EXPECT_TRUE(Tool);
    EXPECT_TRUE(RightToLeft);
    EXPECT_TRUE(Sizeable);
}

TEST_F(Gallery, ShowsEveryControlClassTheSkinEngineServes)
{
    TFrmGallery Form(nullptr);
    Form.HandleNeeded();
    std::vector<std::string> Seen;
    for (int I = 0; I < Form.ComponentCount(); ++I)
        Seen.push_back(Form.Components(I)->ClassName());
    for (const char* Expected :
         {"TButton", "TBitBtn", "TSpeedButton", "TCheckBox", "TRadioButton", "TRadioGroup", "TGroupBox", "TEdit",
          "TMemo", "TRichEdit", "TListBox", "TComboBox", "TScrollBar", "TScrollBox", "TPageControl", "TTabSheet",
          "TTabControl", "THeaderControl", "TTrackBar", "TUpDown", "TDateTimePicker", "TToolBar", "TBevel",
          "TImageList", "TListView", "TProgressBar", "TStatusBar", "TPanel", "TLabel", "TMainMenu", "TPopupMenu"})
        EXPECT_NE(std::find(Seen.begin(), Seen.end(), Expected), Seen.end()) << Expected;
    int Tagged5555 = 0, Tagged7777 = 0;
    for (int I = 0; I < Form.ComponentCount(); ++I) {
        Tagged5555 += Form.Components(I)->Tag == 5555;
        Tagged7777 += Form.Components(I)->Tag == 7777;
    }
    EXPECT_GE(Tagged5555, 2);
    EXPECT_EQ(Tagged7777, 1);
}

TEST_F(Gallery, ClosesCleanlyLeavingNoWindowAndNoGdiObject)
{
    const gditest::TCounter Gdi = gditest::ChooseCounter();
    auto Round = [] {
        auto* Form = new TFrmGallery(nullptr);
        Form->Show();
        Form->OpenEverything();
        Flush();
        Form->CloseEverything();
        Flush();
        delete Form;
        Flush();
    };
    // The first round makes what lives for the whole process (classes,
    // stock fonts, the menu font); the second must give back all it takes.
    Round();
    const int Windows = gditest::ThreadWindowsWithChildren();
    const long Objects = Gdi.Count();
    Round();
    EXPECT_EQ(gditest::ThreadWindowsWithChildren(), Windows);
    EXPECT_EQ(Gdi.Count(), Objects) << "counted by " << Gdi.Source;
}

} // namespace

namespace {

const std::wstring kLightSkin = L"" VIDKILN_LIGHT_SKIN_FILE;
// Skin switches in the soak below; scripts/bench.d/skinswitch runs 1000.
constexpr int kSwitches = 100;

// The gallery with the skin engine running, as gallery.exe starts it.
class SkinnedGallery : public Gallery {
protected:
    void SetUp() override
    {
        Gallery::SetUp();
        UseSkinManager();
    }
    void TearDown() override
    {
        ShutdownSkinManager();
        Gallery::TearDown();
    }
};

// Until the gallery's own window wears its skin. The manager skins it from
// its hook as it is activated; the skin-all request the skin data made as
// it loaded came before any window was active, so the manager never arms
// its timer for it and it stays pending: waiting for it only ran out.
void WaitForSkinnedGallery(const TFrmGallery& Form)
{
    EXPECT_TRUE(testsupport::WaitUntil(
        [&] {
            const TWinSkinForm* Frame = SkinManager->FindSkinForm(Form.HandleIfAllocated());
            return Frame && Frame->FrameSkinned();
        },
        "the gallery's window to wear its skin", testsupport::kDeadlineMs, kDispatch));
}

// Until the manager's timer has carried out the request a newly loaded skin made.
void WaitForSkinChanged()
{
    EXPECT_TRUE(testsupport::WaitUntil([] { return !SkinManager->PendingSkinData(); },
                                       "the skin manager to carry out the new skin's request",
                                       testsupport::kDeadlineMs, kDispatch));
}

// Every window the gallery opens: its forms, MDI children and the template dialog.
std::vector<HWND> OpenedWindows(const TFrmGallery& Form)
{
    std::vector<HWND> Windows{Form.HandleIfAllocated(), Form.TemplateDialogHandle()};
    for (TCustomForm* Opened : Form.OpenForms()) {
        Windows.push_back(Opened->Handle());
        for (int I = 0; I < Opened->MDIChildCount(); ++I)
            Windows.push_back(Opened->MDIChildren(I)->Handle());
    }
    return Windows;
}

TEST_F(SkinnedGallery, EveryWindowWithACaptionWearsTheSkinNamedOnTheCommandLine)
{
    TFrmGallery Form(nullptr, kLightSkin);
    Form.Show();
    WaitForSkinnedGallery(Form);
    ASSERT_FALSE(Form.SkinData1->SkinLoading());
    Form.OpenEverything();
    Flush();
    int Checked = 0;
    for (HWND Window : OpenedWindows(Form)) {
        const TWinSkinForm* Frame = SkinManager->FindSkinForm(Window);
        const TControl* Control = FindControl(Window);
        const bool Tagged = Control && Control->Tag == 99;
        const bool Captioned = (GetWindowLongPtrW(Window, GWL_STYLE) & WS_CAPTION) == WS_CAPTION;
        if (Tagged || !Captioned)
            continue;
        ASSERT_NE(Frame, nullptr);
        EXPECT_TRUE(Frame->FrameSkinned());
        EXPECT_EQ(Frame->SkinData(), Form.SkinData1);
        // The windows overlap: the one read back comes to the top first.
        SetWindowPos(Window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        Flush();
        EXPECT_EQ(frametest::BorderMisses(*Form.SkinData1, Window, Frame->Active() ? 1 : 2), 0);
        ++Checked;
    }
    EXPECT_GT(Checked, 0);

    // The template dialog's items are bare windows: its buttons, check
    // boxes, radio buttons, combo boxes and date picker are skinned all the
    // same (an extended combo box through the combo box inside it).
    HWND Dialog = Form.TemplateDialogHandle();
    for (const int Item : {103, 104, 105, 106, 108, 111, IDOK, IDCANCEL})
        EXPECT_EQ(SendDlgItemMessageW(Dialog, Item, WM_SKINQUERY, 0, 0), 1) << "dialog item " << Item;
    HWND Extended = GetDlgItem(Dialog, 110);
    ASSERT_NE(Extended, nullptr);
    EXPECT_EQ(SendMessageW(GetWindow(Extended, GW_CHILD), WM_SKINQUERY, 0, 0), 1) << "the extended combo box";
}

// Each window read back in turn, active, with the others hidden so none
// covers it.
std::vector<frametest::TPixels> ShotsAlone(const std::vector<HWND>& Windows)
{
    std::vector<frametest::TPixels> Shots;
    for (HWND Window : Windows) {
        for (HWND Other : Windows)
            if (Other != Window)
                ShowWindow(Other, SW_HIDE);
        frametest::BringToFront(Window, kDispatch);
        Shots.push_back(frametest::ReadBack(Window));
        for (HWND Other : Windows)
            ShowWindow(Other, SW_SHOWNA);
    }
    return Shots;
}

std::string CaptionOf(HWND Window)
{
    wchar_t Caption[64]{};
    GetWindowTextW(Window, Caption, 64);
    return WideToUtf8(Caption);
}

// Where window's picture lies in Picture: the top-left corner at which a
// row near its top and one through its middle both match; none when absent.
std::optional<POINT> FindWindowPicture(const TBitmap& Picture, const frametest::TPixels& Window)
{
    const int W = Window.Width();
    const int H = Window.Height();
    // The corners are left out: they may be cut away by the window's region.
    const auto RowMatches = [&](int X, int Y, int Row) {
        for (int I = W / 8; I < W - W / 8; I += 3)
            if (frametest::PixelOf(Picture, X + I, Y + Row) != frametest::PixelOf(Window, I, Row))
                return false;
        return true;
    };
    for (int Y = 0; Y + H <= Picture.Height(); ++Y)
        for (int X = 0; X + W <= Picture.Width(); ++X)
            if (frametest::PixelOf(Picture, X + W / 8, Y + 2) == frametest::PixelOf(Window, W / 8, 2)
                && RowMatches(X, Y, 2)
                && RowMatches(X, Y, H / 2))
                return POINT{X, Y};
    return std::nullopt;
}

// A skin author's preview holds every window the gallery opens, each as it
// shows on the screen in the skin named, in a BMP or a PNG of the same size.
TEST_F(SkinnedGallery, APreviewHoldsEveryWindowInTheSkinNamed)
{
    TFrmGallery Form(nullptr, kLightSkin);
    Form.Show();
    WaitForSkinnedGallery(Form);
    const std::vector<HWND> Windows = Form.OpenPreviewWindows();
    ASSERT_GE(Windows.size(), 6u);
    Flush();
    const std::wstring Folder = std::filesystem::temp_directory_path().wstring();
    const std::wstring Bmp = Folder + L"\\vidkiln preview test.bmp";
    const std::wstring Png = Folder + L"\\vidkiln preview test.png";
    SavePreview(Windows, Bmp);
    SavePreview(Windows, Png);
    TBitmap Picture;
    Picture.LoadFromFile(Bmp);
    const std::vector<frametest::TPixels> Shots = ShotsAlone(Windows);
    for (size_t I = 0; I < Windows.size(); ++I)
        EXPECT_TRUE(FindWindowPicture(Picture, Shots[I])) << "window " << CaptionOf(Windows[I]) << " is not in the preview";
    // A PNG: its signature, and the picture's size in its header.
    std::string Bytes(24, '\0');
    std::ifstream In(std::filesystem::path(Png), std::ios::binary);
    ASSERT_TRUE(In.read(Bytes.data(), 24)) << "no PNG written";
    In.close();
    EXPECT_EQ(Bytes.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    const auto BigEndian = [&](size_t At) {
        return (static_cast<unsigned>(static_cast<unsigned char>(Bytes[At])) << 24)
               | (static_cast<unsigned>(static_cast<unsigned char>(Bytes[At + 1])) << 16)
               | (static_cast<unsigned>(static_cast<unsigned char>(Bytes[At + 2])) << 8)
               | static_cast<unsigned>(static_cast<unsigned char>(Bytes[At + 3]));
    };
    EXPECT_EQ(BigEndian(16), static_cast<unsigned>(Picture.Width()));
    EXPECT_EQ(BigEndian(20), static_cast<unsigned>(Picture.Height()));
    DeleteFileW(Bmp.c_str());
    DeleteFileW(Png.c_str());
    Form.CloseEverything();
}

const std::wstring kSteelSkin = L"" VIDKILN_DEFAULT_SKIN_FILE;

// What a gallery started with Skin shows: each preview window alone.
std::vector<frametest::TPixels> FreshStartShots(const std::wstring& Skin)
{
    TFrmGallery Form(nullptr, Skin);
    Form.Show();
    WaitForSkinnedGallery(Form);
    const std::vector<HWND> Windows = Form.OpenPreviewWindows();
    Flush();
    std::vector<frametest::TPixels> Shots = ShotsAlone(Windows);
    Form.CloseEverything();
    return Shots;
}

// Pixels in which two pictures of one window differ (all of them when the
// window's size differs).
int DifferingPixels(const frametest::TPixels& A, const frametest::TPixels& B)
{
    if (A.Width() != B.Width() || A.Height() != B.Height())
        return std::max(A.Width() * A.Height(), B.Width() * B.Height());
    int Count = 0;
    for (int Y = 0; Y < A.Height(); ++Y)
        for (int X = 0; X < A.Width(); ++X)
            Count += frametest::PixelOf(A, X, Y) != frametest::PixelOf(B, X, Y);
    return Count;
}

// A new skin file, restyled at once: the manager carries out the skin-changed
// request its timer would run a moment later.
void SwitchSkin(TFrmGallery& Form, const std::wstring& Skin)
{
    Form.SkinData1->SetSkinFile(Skin);
    SkinManager->ExecuteRequest();
    Application->ProcessMessages();
}

// Skins switched back and forth with every gallery window open leave no GDI
// or USER object behind, and each window then shows exactly what a gallery
// started with the last skin shows: no colour, size or bitmap of the other
// skin stays anywhere.
TEST_F(SkinnedGallery, SwitchingSkinsLeavesEveryWindowAsAFreshStartShowsIt)
{
    const auto FreshSteel = FreshStartShots(kSteelSkin);
    const auto FreshLight = FreshStartShots(kLightSkin);
    ASSERT_NE(DifferingPixels(FreshSteel[0], FreshLight[0]), 0) << "the two skins look alike";

    TFrmGallery Form(nullptr, kSteelSkin);
    Form.Show();
    WaitForSkinnedGallery(Form);
    const std::vector<HWND> Windows = Form.OpenPreviewWindows();
    Flush();
    ASSERT_EQ(Windows.size(), FreshSteel.size());
    // One round first: caches that fill once per skin are not growth.
    SwitchSkin(Form, kLightSkin);
    SwitchSkin(Form, kSteelSkin);
    const gditest::TCounter Gdi = gditest::ChooseCounter();
    const long GdiBefore = Gdi.Count();
    const long UserBefore = gditest::UserObjectCount();
    for (int I = 0; I < kSwitches; ++I)
        SwitchSkin(Form, I % 2 ? kSteelSkin : kLightSkin);
    // Once through the request timer, as a user's choice goes.
    Form.SkinData1->SetSkinFile(kSteelSkin);
    WaitForSkinChanged();
    Flush();
    EXPECT_EQ(Gdi.Count(), GdiBefore) << "counted by " << Gdi.Source;
    EXPECT_EQ(gditest::UserObjectCount(), UserBefore);

    const auto Compare = [&](const std::vector<frametest::TPixels>& Fresh) {
        const std::vector<frametest::TPixels> Shots = ShotsAlone(Windows);
        for (size_t I = 0; I < Windows.size(); ++I) {
            EXPECT_EQ(DifferingPixels(Shots[I], Fresh[I]), 0) << "window " << CaptionOf(Windows[I]);
        }
    };
    Compare(FreshSteel);
    SwitchSkin(Form, kLightSkin);
    Flush();
    Compare(FreshLight);
    Form.CloseEverything();
}

// A window shown modally (a message box, a context menu): once it shows,
// Inside runs from a timer of its own modal loop; then it is closed.
struct TModalVisit {
    const wchar_t* ClassName;
    const wchar_t* Caption; // nullptr: any
    std::function<void(HWND)> Inside;
    bool Done = false;
};
TModalVisit* Visit = nullptr;

void CALLBACK VisitModalWindow(HWND, UINT, UINT_PTR Timer, DWORD)
{
    HWND Window = FindWindowW(Visit->ClassName, Visit->Caption);
    if (Visit->Done || !Window || !IsWindowVisible(Window))
        return;
    Visit->Done = true;
    KillTimer(nullptr, Timer);
    Visit->Inside(Window);
    if (ClassOf(Window) == L"#32768")
        EndMenu();
    else
        PostMessageW(Window, WM_COMMAND, IDCANCEL, 0);
}

// Open runs, showing its modal window, while Here waits for that window.
void RunVisit(TModalVisit& Here, const std::function<void()>& Open)
{
    Visit = &Here;
    SetTimer(nullptr, 0, 20, VisitModalWindow);
    Open();
    Visit = nullptr;
    EXPECT_TRUE(Here.Done) << "the modal window did not show";
}

// The picture of a modal window of the class, read back once it shows after
// Switches skin switches made while it is open.
frametest::TPixels ModalShot(TFrmGallery& Form, const wchar_t* ClassName, const wchar_t* Caption,
                                   const std::function<void()>& Open, const std::vector<std::wstring>& Switches)
{
    frametest::TPixels Shot;
    TModalVisit Here{ClassName, Caption, [&](HWND Window) {
                         for (const std::wstring& Skin : Switches)
                             SwitchSkin(Form, Skin);
                         Flush();
                         Shot = frametest::ReadBack(Window);
                     }};
    RunVisit(Here, Open);
    return Shot;
}

// A message box, a context menu and an open-file dialog that are open while
// the skin changes show the new skin as if they had opened with it.
TEST_F(SkinnedGallery, OpenModalWindowsAndMenusTakeTheNewSkin)
{
    TFrmGallery Form(nullptr, kSteelSkin);
    Form.Show();
    WaitForSkinnedGallery(Form);
    Flush();
    SetCursorPos(2, 2); // no menu item under the mouse
    const wchar_t* const Box = L"Skin switch";
    const auto OpenBox = [&] { MessageBoxW(Form.Handle(), L"The skin changes while this box is open.", Box, MB_OKCANCEL); };
    const auto OpenMenu = [&] { Form.PopupMenu1->Popup(300, 200); };
    struct TCase {
        const char* Name;
        const wchar_t* ClassName;
        const wchar_t* Caption;
        std::function<void()> Open;
    };
    const TCase Cases[] = {{"message box", L"#32770", Box, OpenBox}, {"context menu", L"#32768", nullptr, OpenMenu}};
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        SwitchSkin(Form, kLightSkin);
        const auto FreshLight = ModalShot(Form, Case.ClassName, Case.Caption, Case.Open, {});
        SwitchSkin(Form, kSteelSkin);
        const auto FreshSteel = ModalShot(Form, Case.ClassName, Case.Caption, Case.Open, {});
        const auto Switched = ModalShot(Form, Case.ClassName, Case.Caption, Case.Open,
                                        {kLightSkin, kSteelSkin, kLightSkin});
        const auto Back = ModalShot(Form, Case.ClassName, Case.Caption, Case.Open, {kLightSkin, kSteelSkin});
        ASSERT_FALSE(FreshLight.Empty() || FreshSteel.Empty() || Switched.Empty() || Back.Empty());
        EXPECT_NE(DifferingPixels(FreshLight, FreshSteel), 0) << "the two skins look alike";
        EXPECT_EQ(DifferingPixels(Switched, FreshLight), 0);
        EXPECT_EQ(DifferingPixels(Back, FreshSteel), 0);
    }

    // An open-file dialog's frame, read back after switches made while it is
    // open, shows the new skin's borders.
    const wchar_t* const FileTitle = L"Skin switch file";
    int Misses = -1;
    TModalVisit Here{L"#32770", FileTitle, [&](HWND Window) {
                         SwitchSkin(Form, kLightSkin);
                         Flush();
                         const TWinSkinForm* Frame = SkinManager->FindSkinForm(Window);
                         ASSERT_NE(Frame, nullptr);
                         Misses = frametest::BorderMisses(*Form.SkinData1, Window, Frame->Active() ? 1 : 2);
                     }};
    wchar_t File[MAX_PATH] = L"";
    OPENFILENAMEW Info{};
    Info.lStructSize = sizeof(Info);
    Info.hwndOwner = Form.Handle();
    Info.lpstrFile = File;
    Info.nMaxFile = MAX_PATH;
    Info.lpstrTitle = FileTitle;
    Info.Flags = OFN_EXPLORER;
    RunVisit(Here, [&] { GetOpenFileNameW(&Info); });
    EXPECT_EQ(Misses, 0);
}

TEST_F(SkinnedGallery, ASkinFileThatCannotBeReadIsReportedByName)
{
    const std::wstring Missing = kLightSkin + L".missing";
    try {
        TFrmGallery Form(nullptr, Missing);
        ADD_FAILURE() << "no error for a missing skin file";
    } catch (const Exception& Error) {
        EXPECT_NE(Error.Message().find(Missing), std::wstring::npos);
    }
}

} // namespace
