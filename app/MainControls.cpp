// The main window's controls as it builds them, and the looks of the picture
// buttons: their pictures, faded copies, the hover outline, the strip that
// moves the window.
#include "MainConstants.h"

#include "FittedText.h"
#include "app/MainWindowSkin.h"
#include "skin/forms/SkinManager.h"

#include <algorithm>

using namespace mainwindow;

namespace {

// Every kind of file the encoder converts is under the first entry. *.3PG
// stays for lists saved with it; *.3GP is what such files are called.
constexpr wchar_t kOpenFilter[] =
    L"Support Files|*.RM;*.RMVB;*.AVI;*.MPG;*.MPEG;*.WMV;*.ASF;*.3PG;*.3GP;*.AVS;*.VOB;*.DAT;*.MOV;"
    L"*.QT;*.MKV;*.MP4;*.M4V;*.FLV;*.WEBM|RM Files|*.RM;*.RMVB|AVI Files|*.AVI|MPEG Files|*.MPG;*.MPEG|"
    L"WMV Files|*.WMV;*.ASF|Portable device Files|*.3PG;*.3GP;*.AVS|DVD VCD Files|*.VOB;*.DAT|"
    L"Quick Time Files|*.MOV;*.QT|Matroska|*.MKV|MP4 Files|*.MP4;*.M4V|Flash and WebM Files|*.FLV;*.WEBM|"
    L"All Files|*.*";
constexpr TColor kOutlineColour = 14261541;
// Presses on the top rows of the strip move the window like its caption.
constexpr int kDragRows = 27;
constexpr WPARAM kMoveByCaption = 0xF012;
constexpr wchar_t kIconFile[] = L"Images\\vidkiln.ico";

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

} // namespace

int mainwindow::FontLineHeight(const TFont& Font)
{
    const HDC screen = GetDC(nullptr);
    const HGDIOBJ previous = SelectObject(screen, Font.Handle());
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen, &metrics);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    return metrics.tmHeight;
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
