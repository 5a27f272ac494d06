#include "GuiTestUtil.h"
#include "framework/ComCtrls.h"
#include "framework/Dialogs.h"
#include "framework/ExtCtrls.h"
#include "framework/StdCtrls.h"
#include "framework/Timer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// A form with no frame, so client and window coordinates agree.
class TTestForm : public TForm {
public:
    explicit TTestForm(int W = 300, int H = 200) : TForm(nullptr)
    {
        SetBorderStyle(bsNone);
        SetBounds(0, 0, W, H);
    }
};

std::wstring ComboText(HWND Combo, int Index)
{
    wchar_t Buffer[64] = {};
    SendMessageW(Combo, CB_GETLBTEXT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(Buffer));
    return Buffer;
}

std::wstring ListText(HWND List, int Item, int Sub)
{
    wchar_t Buffer[64] = {};
    LVITEMW Row{};
    Row.iSubItem = Sub;
    Row.pszText = Buffer;
    Row.cchTextMax = 64;
    SendMessageW(List, LVM_GETITEMTEXTW, static_cast<WPARAM>(Item), reinterpret_cast<LPARAM>(&Row));
    return Buffer;
}

struct TJobs {
    std::vector<std::wstring> Names{L"a.avi", L"b.rmvb", L"c.mkv"};
    int Calls = 0;
    void Data(TObject*, TListItem* Item)
    {
        ++Calls;
        Item->Caption = Names.at(static_cast<size_t>(Item->Index()));
        Item->SubItems.Add(L"00:0" + std::to_wstring(Item->Index()));
        Item->SubItems.Add(L"等待");
    }
};

struct TChangeLog {
    int Changes = 0;
    void Changed(TObject*) { ++Changes; }
};

// Writes a 24-bit BMP whose bottom-left pixel (the transparent colour) is
// magenta and the rest the given colour.
std::wstring WriteBmp(const std::wstring& Name, int W, int H, COLORREF Colour)
{
    wchar_t Dir[MAX_PATH];
    GetTempPathW(MAX_PATH, Dir);
    const std::wstring Path = std::wstring(Dir) + Name;
    const int Row = (W * 3 + 3) & ~3;
    BITMAPFILEHEADER File{};
    BITMAPINFOHEADER Info{};
    Info.biSize = sizeof Info;
    Info.biWidth = W;
    Info.biHeight = H;
    Info.biPlanes = 1;
    Info.biBitCount = 24;
    File.bfType = 0x4D42;
    File.bfOffBits = sizeof File + sizeof Info;
    File.bfSize = File.bfOffBits + static_cast<DWORD>(Row * H);
    std::vector<unsigned char> Pixels(static_cast<size_t>(Row * H));
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X) {
            const COLORREF C = (X == 0 && Y == 0) ? RGB(255, 0, 255) : Colour;
            unsigned char* P = &Pixels[static_cast<size_t>(Y * Row + X * 3)];
            P[0] = GetBValue(C);
            P[1] = GetGValue(C);
            P[2] = GetRValue(C);
        }
    FILE* Out = _wfopen(Path.c_str(), L"wb");
    fwrite(&File, sizeof File, 1, Out);
    fwrite(&Info, sizeof Info, 1, Out);
    fwrite(Pixels.data(), 1, Pixels.size(), Out);
    fclose(Out);
    return Path;
}

// Answers the open-file dialog from a timer tick inside its modal loop.
struct TDialogDriver {
    std::wstring FileToChoose;
    bool Answered = false;
    static BOOL CALLBACK FindDialog(HWND Window, LPARAM Found)
    {
        wchar_t Class[16];
        GetClassNameW(Window, Class, 16);
        if (IsWindowVisible(Window) && std::wstring(Class) == L"#32770") {
            *reinterpret_cast<HWND*>(Found) = Window;
            return FALSE;
        }
        return TRUE;
    }
    void Tick(TObject*)
    {
        HWND Dialog = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), &FindDialog, reinterpret_cast<LPARAM>(&Dialog));
        if (!Dialog || Answered)
            return;
        Answered = true;
        if (FileToChoose.empty()) {
            PostMessageW(Dialog, WM_COMMAND, IDCANCEL, 0);
            return;
        }
        // The file-name box: an edit in a combo box (0x47C) or a plain edit (0x480).
        for (int Id : {0x47C, 0x480})
            SetDlgItemTextW(Dialog, Id, FileToChoose.c_str());
        PostMessageW(Dialog, WM_COMMAND, IDOK, 0);
    }
};

} // namespace

TEST(ComboBox, ItemsAndIndexSurviveTheWindow)
{
    TTestForm Form;
    auto* Combo = new TComboBox(&Form);
    Combo->SetParent(&Form);
    Combo->SetStyle(csDropDownList);
    Combo->Items().Assign({L"256", L"384", L"512"});
    Combo->SetItemIndex(1);
    EXPECT_EQ(Combo->Text(), L"384");
    const HWND Window = Combo->Handle();
    EXPECT_EQ(SendMessageW(Window, CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(ComboText(Window, 2), L"512");
    EXPECT_EQ(SendMessageW(Window, CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(Combo->Text(), L"384");
    wchar_t Class[32];
    GetClassNameW(Window, Class, 32);
    EXPECT_STREQ(Class, L"TComboBox");
    Combo->Items().Add(L"768");
    EXPECT_EQ(SendMessageW(Window, CB_GETCOUNT, 0, 0), 4);
    EXPECT_EQ(Combo->ItemIndex(), 1);
    Combo->SetText(L"512");
    EXPECT_EQ(Combo->ItemIndex(), 2);
    Combo->SetText(L"999");
    EXPECT_EQ(Combo->ItemIndex(), -1);
    Combo->SetItemIndex(7);
    EXPECT_EQ(Combo->ItemIndex(), -1);
    Combo->SetItemIndex(3);
    Combo->RecreateWnd();
    EXPECT_EQ(Combo->ItemIndex(), 3);
    EXPECT_EQ(SendMessageW(Combo->Handle(), CB_GETCOUNT, 0, 0), 4);
    EXPECT_EQ(GetStrProp(Combo, "Text"), L"768");
    EXPECT_EQ(GetOrdProp(Combo, "ItemIndex"), 3);
}

TEST(ComboBox, UserSelectionRaisesOnChange)
{
    TTestForm Form;
    auto* Combo = new TComboBox(&Form);
    Combo->SetParent(&Form);
    Combo->SetStyle(csDropDownList);
    Combo->Items().Assign({L"4:3", L"16:9"});
    TChangeLog Log;
    Combo->OnChange = TNotifyEvent::Bind<&TChangeLog::Changed>(&Log);
    const HWND Window = Combo->Handle();
    SendMessageW(Window, CB_SETCURSEL, 1, 0);
    SendMessageW(Form.Handle(), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE), reinterpret_cast<LPARAM>(Window));
    EXPECT_EQ(Log.Changes, 1);
    EXPECT_EQ(Combo->ItemIndex(), 1);
    RECT Dropped;
    SendMessageW(Window, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&Dropped));
    EXPECT_GT(Dropped.bottom - Dropped.top, Combo->Height() * 2);
}

TEST(ListView, OwnerDataRowsAreShownFromOnData)
{
    TTestForm Form;
    auto* List = new TListView(&Form);
    List->SetParent(&Form);
    List->SetBounds(8, 8, 305, 164);
    List->SetViewStyle(vsReport);
    List->SetOwnerData(true);
    List->SetGridLines(true);
    List->SetRowSelect(true);
    List->SetReadOnly(true);
    TJobs Jobs;
    List->OnData = TLVOwnerDataEvent::Bind<&TJobs::Data>(&Jobs);
    auto& Name = List->Columns().Add();
    Name.SetCaption(L"文件");
    Name.SetAutoSize(true);
    List->Columns().Add().SetWidth(60);
    List->Columns().Add().SetWidth(50);
    List->Items().SetCount(3);
    const HWND Window = List->Handle();
    EXPECT_EQ(SendMessageW(Window, LVM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(List->Items().Count(), 3);
    EXPECT_EQ(ListText(Window, 0, 0), L"a.avi");
    EXPECT_EQ(ListText(Window, 2, 0), L"c.mkv");
    EXPECT_EQ(ListText(Window, 1, 1), L"00:01");
    EXPECT_EQ(ListText(Window, 1, 2), L"等待");
    EXPECT_EQ(ListText(Window, 1, 3), L"");
    EXPECT_GT(Jobs.Calls, 0);
    const auto Style = GetWindowLongPtrW(Window, GWL_STYLE);
    EXPECT_TRUE(Style & LVS_OWNERDATA);
    EXPECT_TRUE(Style & LVS_SINGLESEL);
    EXPECT_FALSE(Style & LVS_EDITLABELS);
    const auto Ex = SendMessageW(Window, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
    EXPECT_TRUE(Ex & LVS_EX_GRIDLINES);
    EXPECT_TRUE(Ex & LVS_EX_FULLROWSELECT);
    RECT Client;
    GetClientRect(Window, &Client);
    EXPECT_EQ(SendMessageW(Window, LVM_GETCOLUMNWIDTH, 0, 0), Client.right - 110);
    EXPECT_EQ(SendMessageW(Window, LVM_GETCOLUMNWIDTH, 1, 0), 60);
    List->SetItemIndex(2);
    EXPECT_EQ(List->ItemIndex(), 2);
    List->Items().SetCount(1);
    EXPECT_EQ(SendMessageW(Window, LVM_GETITEMCOUNT, 0, 0), 1);
    EXPECT_THROW(List->Items().Add(), EListError);
    EXPECT_THROW(List->Items().SetCount(-1), EListError);
}

TEST(ListView, StoredItemsAndSettingsSurviveRecreation)
{
    TTestForm Form;
    auto* List = new TListView(&Form);
    List->SetParent(&Form);
    List->SetViewStyle(vsReport);
    List->Columns().Add().SetCaption(L"A");
    List->Columns().Add().SetCaption(L"B");
    TListItem* Item = List->Items().Add();
    Item->Caption = L"one";
    Item->SubItems.Add(L"two");
    List->Items().Add()->Caption = L"three";
    List->SetItemIndex(1);
    List->SetBorderStyle(bsNone);
    const HWND Window = List->Handle();
    EXPECT_FALSE(GetWindowLongPtrW(Window, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(ListText(Window, 0, 1), L"two");
    EXPECT_EQ(ListText(Window, 1, 0), L"three");
    EXPECT_EQ(List->ItemIndex(), 1);
    EXPECT_THROW(List->Items().SetCount(5), EListError);
}

TEST(ProgressBar, RangeAndPositionStayConsistent)
{
    TTestForm Form;
    auto* Bar = new TProgressBar(&Form);
    Bar->SetParent(&Form);
    Bar->SetPosition(150);
    EXPECT_EQ(Bar->Position(), 100);
    Bar->SetRange(0, 360);
    Bar->SetPosition(200);
    const HWND Window = Bar->Handle();
    EXPECT_EQ(SendMessageW(Window, PBM_GETPOS, 0, 0), 200);
    EXPECT_EQ(SendMessageW(Window, PBM_GETRANGE, FALSE, 0), 360);
    Bar->SetMax(100);
    EXPECT_EQ(Bar->Position(), 100);
    EXPECT_EQ(SendMessageW(Window, PBM_GETPOS, 0, 0), 100);
    Bar->SetPosition(-5);
    EXPECT_EQ(Bar->Position(), 0);
}

TEST(StatusBar, SimpleTextAndPanels)
{
    TTestForm Form(558, 314);
    auto* Bar = new TStatusBar(&Form);
    Bar->SetParent(&Form);
    Bar->SetSimpleText(L"准备就绪");
    const HWND Window = Bar->Handle();
    EXPECT_EQ(Bar->BoundsRect().top, 314 - 19);
    EXPECT_EQ(Bar->Width(), 558);
    wchar_t Buffer[32] = {};
    SendMessageW(Window, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(Buffer));
    EXPECT_STREQ(Buffer, L"准备就绪");
    EXPECT_TRUE(GetWindowLongPtrW(Window, GWL_STYLE) & SBARS_SIZEGRIP);
    Bar->SetPanels({{L"one", 100}, {L"two", 50}});
    EXPECT_EQ(SendMessageW(Window, SB_GETPARTS, 0, 0), 2);
    SendMessageW(Window, SB_GETTEXTW, 1, reinterpret_cast<LPARAM>(Buffer));
    EXPECT_STREQ(Buffer, L"two");
}

TEST(Label, SizesToItsTextUnlessFixed)
{
    TTestForm Form;
    Form.Font()->SetName(L"Tahoma");
    Form.Font()->SetHeight(-12);
    auto* Label = new TLabel(&Form);
    Label->SetParent(&Form);
    Label->SetCaption(L"当前操作描述");
    const int Width = Label->Width();
    EXPECT_GT(Width, 20);
    Label->SetCaption(L"当前操作描述当前操作描述");
    EXPECT_GT(Label->Width(), Width);
    auto* Fixed = new TLabel(&Form);
    Fixed->SetParent(&Form);
    Fixed->SetAutoSize(false);
    Fixed->SetBounds(96, 240, 225, 12);
    Fixed->SetCaption(std::wstring(200, L'x'));
    EXPECT_EQ(Fixed->Width(), 225);
    EXPECT_EQ(GetEnumProp(Fixed, "AutoSize"), "False");
    EXPECT_TRUE(SetPropValue(Fixed, "Transparent", L"True"));
    EXPECT_TRUE(Fixed->Transparent());
}

TEST(Label, PaintsItsTextInsideItsBounds)
{
    TTestForm Form(200, 60);
    Form.SetColor(RGB(255, 255, 255));
    auto* Label = new TLabel(&Form);
    Label->SetParent(&Form);
    Label->SetAutoSize(false);
    Label->SetBounds(10, 10, 30, 20);
    Label->Font()->SetColor(RGB(0, 0, 0));
    Label->Font()->SetHeight(-16);
    Label->SetCaption(L"WWWWWWWWWWWW");
    Form.Show();
    Form.Update();
    int Dark = 0;
    int Outside = 0;
    const testsupport::TPixels Shot = testsupport::ReadBack(Form.Handle(), testsupport::TArea::Client);
    for (int Y = 0; Y < 60; ++Y)
        for (int X = 0; X < 200; ++X)
            if (Shot.At(X, Y) == RGB(0, 0, 0))
                (X >= 10 && X < 40 && Y >= 10 && Y < 30) ? ++Dark : ++Outside;
    EXPECT_GT(Dark, 10);
    EXPECT_EQ(Outside, 0);
}

TEST(Image, LoadsSizesAndPaintsItsPicture)
{
    const std::wstring Path = WriteBmp(L"vk_fw_image.bmp", 37, 45, RGB(0, 0, 255));
    TTestForm Form(200, 100);
    Form.SetColor(RGB(0, 255, 0));
    auto* Image = new TImage(&Form);
    Image->SetParent(&Form);
    Image->SetBounds(8, 1, 10, 10);
    Image->SetAutoSize(true);
    Image->SetTransparent(true);
    Image->LoadFromFile(Path);
    EXPECT_EQ(Image->Width(), 37);
    EXPECT_EQ(Image->Height(), 45);
    auto* Stretched = new TImage(&Form);
    Stretched->SetParent(&Form);
    Stretched->SetBounds(100, 0, 74, 90);
    Stretched->SetStretch(true);
    Stretched->LoadFromFile(Path);
    EXPECT_EQ(Stretched->Width(), 74);
    Form.Show();
    Form.Update();
    EXPECT_EQ(ClientPixel(Form, 20, 20), RGB(0, 0, 255));
    EXPECT_EQ(ClientPixel(Form, 8, 45), RGB(0, 255, 0));
    EXPECT_EQ(ClientPixel(Form, 170, 10), RGB(0, 0, 255));
    EXPECT_EQ(ClientPixel(Form, 180, 10), RGB(0, 255, 0));
    EXPECT_THROW(Image->LoadFromFile(Path + L".missing"), Exception);
    EXPECT_EQ(Image->Width(), 37);
    EXPECT_EQ(GetObjectProp(Image, "Picture", &TBitmap::StaticClass()), Image->Picture());
    DeleteFileW(Path.c_str());
}

TEST(Panel, PaintsItsColourAndHoldsChildren)
{
    TTestForm Form(200, 100);
    auto* Panel = new TPanel(&Form);
    Panel->SetParent(&Form);
    Panel->SetBounds(96, 20, 100, 40);
    Panel->SetBevelOuter(bvNone);
    Panel->SetColor(RGB(255, 0, 0));
    auto* Bar = new TProgressBar(&Form);
    Bar->SetParent(Panel);
    Bar->SetAlign(alClient);
    Form.Show();
    Form.Update();
    EXPECT_EQ(Bar->Width(), 100);
    EXPECT_EQ(Bar->Height(), 40);
    EXPECT_EQ(GetParent(Bar->Handle()), Panel->Handle());
    Bar->Hide();
    Panel->Update();
    EXPECT_EQ(ClientPixel(*Panel, 0, 0), RGB(255, 0, 0));
    EXPECT_EQ(GetEnumProp(Panel, "BevelOuter"), "bvNone");
    EXPECT_EQ(GetEnumProp(Panel, "ParentBackground"), "False");
}

TEST(OpenDialog, FilterBecomesPairsEndingInTwoNuls)
{
    using namespace std::string_literals;
    EXPECT_EQ(DialogFilter(L"AVI Files|*.AVI|Matroska|*.MKV"), L"AVI Files\0*.AVI\0Matroska\0*.MKV\0\0"s);
    EXPECT_EQ(DialogFilter(L"AVI Files|*.AVI|Orphan"), L"AVI Files\0*.AVI\0\0"s);
    EXPECT_EQ(DialogFilter(L""), L"\0"s);
}

TEST(OpenDialog, ExecuteReturnsTheChosenFileOrFalseOnCancel)
{
    const std::wstring Path = WriteBmp(L"vk_fw_chosen.avi", 2, 2, 0);
    TOpenDialog Dialog(nullptr);
    Dialog.Filter = L"AVI Files|*.AVI|All|*.*";
    Dialog.Options |= ofFileMustExist;
    TDialogDriver Driver;
    TTimer Timer(nullptr);
    Timer.SetInterval(100);
    Timer.OnTimer = TNotifyEvent::Bind<&TDialogDriver::Tick>(&Driver);
    EXPECT_FALSE(Dialog.Execute());
    EXPECT_TRUE(Driver.Answered);
    Driver = TDialogDriver{Path};
    ASSERT_TRUE(Dialog.Execute());
    EXPECT_TRUE(SameText(Dialog.FileName, Path)) << WideToUtf8(Dialog.FileName);
    EXPECT_EQ(Dialog.FilterIndex, 1);
    DeleteFileW(Path.c_str());
}

TEST(MessageBoxes, ShowMessageUsesTheApplicationTitle)
{
    TMessageBoxRecorder Boxes(IDOK);
    Application->SetTitle(L"Vidkiln v3.0 (输出视频为mp4格式)");
    ShowMessage(L"请选择输出目录");
    ASSERT_EQ(Boxes.Boxes.size(), 1u);
    EXPECT_EQ(Boxes.Boxes[0].Text, L"请选择输出目录");
    EXPECT_EQ(Boxes.Boxes[0].Caption, L"Vidkiln v3.0 (输出视频为mp4格式)");
    EXPECT_EQ(Application->MessageBox(L"?", L"c", MB_YESNO), IDOK);
}
