#include "Gallery.h"

#include "app/MainWindowSkin.h"

#include <filesystem>

namespace {

template <class T>
T* Make(TWinControl* Parent, int X, int Y, int W, int H)
{
    T* Control = new T(Parent->Owner() ? Parent->Owner() : Parent);
    Control->SetParent(Parent);
    Control->SetBounds(X, Y, W, H);
    return Control;
}

template <class T>
T* Captioned(TWinControl* Parent, const wchar_t* Caption, int X, int Y, int W, int H)
{
    T* Control = Make<T>(Parent, X, Y, W, H);
    Control->SetCaption(Caption);
    return Control;
}

// A 16 x 16 picture per colour: a filled square with a dark frame, on the
// magenta see-through colour.
std::unique_ptr<TBitmap> Swatch(int Count, const TColor* Colours)
{
    auto Strip = std::make_unique<TBitmap>(16 * Count, 16);
    TCanvas& Canvas = Strip->Canvas();
    Canvas.Brush().SetColor(clFuchsia);
    Canvas.FillRect({0, 0, 16 * Count, 16});
    for (int I = 0; I < Count; ++I) {
        Canvas.Brush().SetColor(Colours[I]);
        Canvas.FillRect({I * 16 + 2, 2, I * 16 + 14, 14});
        Canvas.Brush().SetColor(clBlack);
        Canvas.FrameRect({I * 16 + 2, 2, I * 16 + 14, 14});
    }
    return Strip;
}

// The forms the opener buttons show.
class TFrmPlain : public TForm {
public:
    TFrmPlain(TComponent* AOwner, const wchar_t* Caption, TFormBorderStyle Border) : TForm(AOwner)
    {
        SetCaption(Caption);
        SetBorderStyle(Border);
        SetBounds(160, 160, 300, 200);
        auto* Label = Captioned<TLabel>(this, Caption, 12, 12, 200, 16);
        Label->SetAutoSize(true);
        Captioned<TButton>(this, L"OK", 12, 40, 75, 25)->ModalResult = mrOk;
        Captioned<TCheckBox>(this, L"Check box", 12, 76, 120, 17)->SetChecked(true);
    }
};

class TFrmMdiChild : public TForm {
public:
    TFrmMdiChild(TComponent* AOwner, int Number) : TForm(AOwner)
    {
        SetFormStyle(fsMDIChild);
        SetCaption(L"Child " + std::to_wstring(Number));
        SetBounds(10 + Number * 24, 10 + Number * 24, 240, 160);
        auto* Memo = Make<TMemo>(this, 0, 0, 100, 100);
        Memo->SetAlign(alClient);
        Memo->SetScrollBars(ssVertical);
        Memo->Lines().Add(L"MDI child window " + std::to_wstring(Number));
    }
};

class TFrmMdiFrame : public TForm {
public:
    explicit TFrmMdiFrame(TComponent* AOwner) : TForm(AOwner)
    {
        SetFormStyle(fsMDIForm);
        SetCaption(L"MDI frame");
        SetBounds(120, 120, 560, 400);
        auto* Menu = new TMainMenu(this);
        auto* File = Item(Menu->Items(), L"&File");
        Item(File, L"&New child")->OnClick = TNotifyEvent::Bind<&TFrmMdiFrame::NewChild>(this);
        auto* Window = Item(Menu->Items(), L"&Window");
        Item(Window, L"&Tile")->OnClick = TNotifyEvent::Bind<&TFrmMdiFrame::TileClick>(this);
        Item(Window, L"&Cascade")->OnClick = TNotifyEvent::Bind<&TFrmMdiFrame::CascadeClick>(this);
        SetMenu(Menu);
        SetWindowMenu(Window);
        auto* Bar = Make<TPanel>(this, 0, 0, 100, 28);
        Bar->SetAlign(alTop);
        Bar->SetCaption(L"Aligned panel above the MDI client");
    }
    void OpenChildren(int Count)
    {
        HandleNeeded();
        for (int I = 0; I < Count; ++I)
            NewChild(nullptr);
    }
    void NewChild(TObject*)
    {
        auto* Child = new TFrmMdiChild(this, ++FChildren);
        Child->Show();
    }
    void TileClick(TObject*) { Tile(tbVertical); }
    void CascadeClick(TObject*) { Cascade(); }

private:
    TMenuItem* Item(TMenuItem* Parent, const wchar_t* Caption)
    {
        auto* Made = new TMenuItem(this);
        Made->SetCaption(Caption);
        Parent->Add(Made);
        return Made;
    }
    int FChildren = 0;
};

} // namespace

const TClassInfo& TFrmGallery::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo("TFrmGallery", &TForm::StaticClass(), {});
    return Info;
}

TFrmGallery::TFrmGallery(TComponent* AOwner, const std::wstring& SkinFile) : TForm(AOwner)
{
    SetCaption(L"Vidkiln control gallery");
    SetBounds(60, 60, 760, 540);
    SetPosition(poScreenCenter);
    SkinData1 = new TSkinData(this);
    SkinData1->SetName(L"SkinData1");
    SkinData1->BeginReading();
    if (SkinFile.empty()) {
        ReadMainWindowSkinData(*SkinData1);
    } else {
        SkinData1->SetActive(true);
        SkinData1->SetSkinFile(SkinFile);
    }
    SkinData1->Loaded();
    if (SkinData1->SkinLoading())
        throw Exception(L"The skin file cannot be read: " + SkinFile);
    BuildImages();
    BuildMenus();
    BuildToolBar();
    StatusBar1 = Make<TStatusBar>(this, 0, 0, 100, 20);
    StatusBar1->SetAlign(alBottom);
    StatusBar1->SetPanels({{L"Ready", 120}, {L"", 400}});
    ShowSkinName(nullptr);
    SkinData1->OnSkinChanged = TNotifyEvent::Bind<&TFrmGallery::ShowSkinName>(this);
    auto* Openers = Make<TPanel>(this, 0, 0, 150, 100);
    Openers->SetAlign(alRight);
    Openers->SetBevelOuter(bvLowered);
    BuildOpeners(Openers);
    PageControl1 = Make<TPageControl>(this, 0, 0, 100, 100);
    PageControl1->SetAlign(alClient);
    BuildButtonsPage(AddPage(L"Buttons"));
    BuildEditsPage(AddPage(L"Edits"));
    BuildBarsPage(AddPage(L"Bars"));
    BuildTabsPage(AddPage(L"Tabs"));
    BuildListsPage(AddPage(L"Lists"));
    PageControl1->SetActivePageIndex(0);
}

TFrmGallery::~TFrmGallery()
{
    CloseEverything();
}

void TFrmGallery::BuildImages()
{
    ImageList1 = new TImageList(this);
    const TColor Colours[] = {0x0000C0, 0x00A000, 0xC00000, 0x00C0C0, 0xC000C0, 0x808080};
    ImageList1->AddMasked(*Swatch(6, Colours), clFuchsia);
}

void TFrmGallery::BuildMenus()
{
    MainMenu1 = new TMainMenu(this);
    MainMenu1->SetImages(ImageList1);
    auto Item = [this](TMenuItem* Parent, const wchar_t* Caption, TShortCut Key = scNone, int Image = -1) {
        auto* Made = new TMenuItem(this);
        Made->SetCaption(Caption);
        Made->SetShortCut(Key);
        Made->SetImageIndex(Image);
        Made->OnClick = TNotifyEvent::Bind<&TFrmGallery::NothingClick>(this);
        Parent->Add(Made);
        return Made;
    };
    TMenuItem* File = Item(MainMenu1->Items(), L"&File");
    Item(File, L"&Open...", scCtrl | 'O', 0);
    Item(File, L"&Save", scCtrl | 'S', 1)->SetDefault(true);
    Item(File, L"Save &as...")->SetEnabled(false);
    Item(File, L"-");
    TMenuItem* Recent = Item(File, L"&Recent files");
    Item(Recent, L"1 a.avi");
    Item(Recent, L"2 b.rmvb");
    Item(File, L"-");
    Item(File, L"E&xit", scAlt | VK_F4)->OnClick = TNotifyEvent::Bind<&TFrmGallery::ExitClick>(this);
    TMenuItem* Edit = Item(MainMenu1->Items(), L"&Edit");
    Item(Edit, L"&Undo", scCtrl | 'Z')->SetEnabled(false);
    Item(Edit, L"-");
    Item(Edit, L"Cu&t", scCtrl | 'X', 2);
    Item(Edit, L"&Copy", scCtrl | 'C', 3);
    Item(Edit, L"&Paste", scCtrl | 'V', 4);
    Item(Edit, L"&Delete", VK_DELETE);
    TMenuItem* View = Item(MainMenu1->Items(), L"&View");
    Item(View, L"&Tool bar")->SetChecked(true);
    Item(View, L"&Status bar")->SetChecked(true);
    Item(View, L"-");
    for (const wchar_t* Size : {L"&Small icons", L"&Large icons"}) {
        TMenuItem* Radio = Item(View, Size);
        Radio->SetRadioItem(true);
        Radio->SetGroupIndex(1);
    }
    View->Items(3)->SetChecked(true);
    TMenuItem* Windows = Item(MainMenu1->Items(), L"&Windows");
    Item(Windows, L"&MDI frame")->OnClick = TNotifyEvent::Bind<&TFrmGallery::OpenMdiClick>(this);
    Item(Windows, L"&Template dialog")->OnClick = TNotifyEvent::Bind<&TFrmGallery::OpenDialogClick>(this);
    Item(Windows, L"Message &box")->OnClick = TNotifyEvent::Bind<&TFrmGallery::MessageBoxClick>(this);
    Item(Windows, L"&Right-to-left form")->OnClick = TNotifyEvent::Bind<&TFrmGallery::OpenRightToLeftClick>(this);
    Item(MainMenu1->Items(), L"&Help");
    MainMenu1->Items()->Items(4)->Add([&] {
        auto* About = new TMenuItem(this);
        About->SetCaption(L"&About the gallery");
        return About;
    }());
    SetMenu(MainMenu1);

    PopupMenu1 = new TPopupMenu(this);
    PopupMenu1->SetImages(ImageList1);
    Item(PopupMenu1->Items(), L"Cu&t", scCtrl | 'X', 2);
    Item(PopupMenu1->Items(), L"&Copy", scCtrl | 'C', 3);
    Item(PopupMenu1->Items(), L"&Paste", scCtrl | 'V', 4)->SetEnabled(false);
    Item(PopupMenu1->Items(), L"-");
    TMenuItem* More = Item(PopupMenu1->Items(), L"&More");
    Item(More, L"Checked")->SetChecked(true);
    Item(More, L"Default")->SetDefault(true);
}

void TFrmGallery::BuildToolBar()
{
    ToolBar1 = Make<TToolBar>(this, 0, 0, 100, 26);
    ToolBar1->SetImages(ImageList1);
    const TToolButtonStyle Styles[] = {tbsButton, tbsButton, tbsSeparator, tbsCheck, tbsCheck, tbsDropDown};
    for (int I = 0; I < 6; ++I) {
        auto* Button = new TToolButton(this);
        Button->SetStyle(Styles[I]);
        Button->SetImageIndex(I);
        Button->SetGrouped(Styles[I] == tbsCheck);
        Button->SetToolBar(ToolBar1);
    }
    ToolBar1->Buttons(3)->SetDown(true);
    ToolBar1->Buttons(1)->SetEnabled(false);
}

TTabSheet* TFrmGallery::AddPage(const wchar_t* Caption)
{
    auto* Page = new TTabSheet(this);
    Page->SetCaption(Caption);
    Page->SetPageControl(PageControl1);
    return Page;
}

void TFrmGallery::BuildButtonsPage(TTabSheet* Page)
{
    Captioned<TButton>(Page, L"&Button", 10, 10, 90, 25);
    Captioned<TButton>(Page, L"Default", 110, 10, 90, 25)->SetDefault(true);
    Captioned<TButton>(Page, L"Disabled", 210, 10, 90, 25)->SetEnabled(false);
    Captioned<TButton>(Page, L"Tag 5555", 310, 10, 90, 25)->Tag = 5555;
    const TColor Colours[] = {0x00A000, 0x808080};
    const std::unique_ptr<TBitmap> Strip = Swatch(2, Colours);
    const TBitmap* Glyph = Strip.get();
    auto* Bit = Captioned<TBitBtn>(Page, L"Bit&Btn", 10, 45, 90, 28);
    Bit->SetGlyph(Glyph);
    Bit->SetNumGlyphs(2);
    auto* BitTop = Captioned<TBitBtn>(Page, L"Glyph top", 110, 45, 90, 40);
    BitTop->SetImages(ImageList1);
    BitTop->SetImageIndex(2);
    BitTop->SetLayout(blGlyphTop);
    auto* BitOff = Captioned<TBitBtn>(Page, L"Disabled", 210, 45, 90, 28);
    BitOff->SetGlyph(Glyph);
    BitOff->SetNumGlyphs(2);
    BitOff->SetEnabled(false);
    Captioned<TBitBtn>(Page, L"", 310, 45, 90, 28)->SetKind(bkCancel);
    for (int I = 0; I < 4; ++I) {
        auto* Speed = Make<TSpeedButton>(Page, 10 + I * 26, 95, 25, 25);
        Speed->SetGlyph(Glyph);
        Speed->SetNumGlyphs(2);
        Speed->SetGroupIndex(I < 3 ? 1 : 0);
        Speed->SetFlat(I % 2 == 1);
        Speed->SetDown(I == 0);
    }
    Captioned<TSpeedButton>(Page, L"Flat", 120, 95, 60, 25)->SetFlat(true);
    auto* Checks = Captioned<TGroupBox>(Page, L"Check boxes", 10, 130, 190, 120);
    Captioned<TCheckBox>(Checks, L"Unchecked", 10, 20, 160, 17);
    Captioned<TCheckBox>(Checks, L"Checked", 10, 42, 160, 17)->SetChecked(true);
    auto* Grayed = Captioned<TCheckBox>(Checks, L"Grayed", 10, 64, 160, 17);
    Grayed->SetAllowGrayed(true);
    Grayed->SetState(cbGrayed);
    auto* Off = Captioned<TCheckBox>(Checks, L"Disabled, checked", 10, 86, 160, 17);
    Off->SetChecked(true);
    Off->SetEnabled(false);
    auto* Radios = Captioned<TGroupBox>(Page, L"Radio buttons", 210, 130, 190, 120);
    Captioned<TRadioButton>(Radios, L"First", 10, 20, 160, 17)->SetChecked(true);
    Captioned<TRadioButton>(Radios, L"Second", 10, 42, 160, 17);
    Captioned<TRadioButton>(Radios, L"Disabled", 10, 64, 160, 17)->SetEnabled(false);
    Captioned<TCheckBox>(Radios, L"Tag 5555", 10, 86, 160, 17)->Tag = 5555;
    auto* Group = Captioned<TRadioGroup>(Page, L"Radio group", 10, 260, 390, 70);
    Group->SetColumns(2);
    Group->Items().Assign({L"One", L"Two", L"Three", L"Four"});
    Group->SetItemIndex(1);
    auto* Bevel = Make<TBevel>(Page, 10, 340, 390, 4);
    Bevel->SetShape(bsTopLine);
}

void TFrmGallery::BuildEditsPage(TTabSheet* Page)
{
    Make<TEdit>(Page, 10, 10, 150, 21)->SetText(L"Edit");
    auto* Disabled = Make<TEdit>(Page, 170, 10, 150, 21);
    Disabled->SetText(L"Disabled");
    Disabled->SetEnabled(false);
    auto* ReadOnly = Make<TEdit>(Page, 10, 40, 150, 21);
    ReadOnly->SetText(L"Read-only");
    ReadOnly->SetReadOnly(true);
    auto* Password = Make<TEdit>(Page, 170, 40, 150, 21);
    Password->SetPasswordChar(L'*');
    Password->SetText(L"secret");
    auto* Memo = Make<TMemo>(Page, 10, 70, 150, 90);
    Memo->SetScrollBars(ssBoth);
    Memo->SetWordWrap(false);
    for (int I = 1; I <= 12; ++I)
        Memo->Lines().Add(L"Memo line " + std::to_wstring(I) + L" with some more text to scroll");
    auto* Rich = Make<TRichEdit>(Page, 170, 70, 150, 90);
    Rich->SetScrollBars(ssVertical);
    Rich->Lines().Assign({L"Rich edit", L"second line", L"third line"});
    auto* List = Make<TListBox>(Page, 10, 170, 150, 80);
    for (int I = 1; I <= 10; ++I)
        List->Items().Add(L"List item " + std::to_wstring(I));
    List->SetItemIndex(2);
    auto* Combo = Make<TComboBox>(Page, 170, 170, 150, 21);
    Combo->Items().Assign({L"Combo one", L"Combo two", L"Combo three"});
    Combo->SetItemIndex(0);
    auto* List2 = Make<TComboBox>(Page, 170, 200, 150, 21);
    List2->SetStyle(csDropDownList);
    List2->Items().Assign({L"Drop-down list"});
    List2->SetItemIndex(0);
    auto* Simple = Make<TComboBox>(Page, 330, 170, 120, 80);
    Simple->SetStyle(csSimple);
    for (int I = 1; I <= 10; ++I)
        Simple->Items().Add(L"Simple " + std::to_wstring(I));
    auto* Spin = Make<TEdit>(Page, 170, 230, 80, 21);
    auto* UpDown = Make<TUpDown>(Page, 250, 230, 17, 21);
    UpDown->SetAssociate(Spin);
    UpDown->SetPosition(5);
    Make<TDateTimePicker>(Page, 10, 260, 150, 21);
    Make<TDateTimePicker>(Page, 170, 260, 150, 21)->SetKind(dtkTime);
}

void TFrmGallery::BuildBarsPage(TTabSheet* Page)
{
    auto* Track = Make<TTrackBar>(Page, 10, 10, 200, 40);
    Track->SetPosition(3);
    auto* Vertical = Make<TTrackBar>(Page, 220, 10, 40, 150);
    Vertical->SetOrientation(trVertical);
    Vertical->SetTickMarks(tmBoth);
    Vertical->SetPosition(7);
    Make<TUpDown>(Page, 270, 10, 17, 40);
    auto* Across = Make<TUpDown>(Page, 300, 10, 40, 20);
    Across->SetOrientation(udHorizontal);
    auto* Scroll = Make<TScrollBar>(Page, 10, 60, 200, 17);
    Scroll->SetPosition(40);
    auto* Up = Make<TScrollBar>(Page, 350, 10, 150, 17);
    Up->SetKind(sbVertical);
    auto* Progress = Make<TProgressBar>(Page, 10, 90, 200, 17);
    Progress->SetPosition(60);
    auto* Standing = Make<TProgressBar>(Page, 510, 10, 17, 150);
    Standing->SetOrientation(pbVertical);
    Standing->SetPosition(35);
    auto* Header = Make<THeaderControl>(Page, 10, 170, 360, 20);
    Header->SetAlign(alNone);
    Header->SetSections({{L"Name", 120}, {L"Size", 80, taRightJustify}, {L"Kind", 100, taCenter}});
    auto* Box = Make<TScrollBox>(Page, 10, 200, 360, 120);
    for (int I = 0; I < 6; ++I)
        Captioned<TButton>(Box, L"In the scroll box", 10 + I * 90, 10 + I * 30, 120, 25);
}

void TFrmGallery::BuildTabsPage(TTabSheet* Page)
{
    const TTabPosition Sides[] = {tpTop, tpBottom, tpLeft, tpRight};
    for (int I = 0; I < 4; ++I) {
        auto* Tabs = Make<TTabControl>(Page, 10 + (I % 2) * 200, 10 + (I / 2) * 120, 190, 110);
        Tabs->SetTabPosition(Sides[I]);
        Tabs->Tabs().Assign({L"One", L"Two", L"Three"});
        Tabs->SetTabIndex(I % 3);
    }
    auto* Buttons = Make<TTabControl>(Page, 410, 10, 180, 110);
    Buttons->SetStyle(tsButtons);
    Buttons->Tabs().Assign({L"One", L"Two"});
    Buttons->SetTabIndex(1);
    auto* Pages = Make<TPageControl>(Page, 10, 250, 390, 90);
    Pages->Tag = 7777;
    Pages->SetImages(ImageList1);
    for (int I = 0; I < 3; ++I) {
        auto* Sheet = new TTabSheet(this);
        Sheet->SetCaption(L"Tag 7777 page " + std::to_wstring(I + 1));
        Sheet->SetImageIndex(I);
        Sheet->SetPageControl(Pages);
        Captioned<TLabel>(Sheet, L"A page with a close box under a skin", 10, 10, 250, 16);
    }
}

void TFrmGallery::BuildListsPage(TTabSheet* Page)
{
    auto* List = Make<TListView>(Page, 10, 10, 390, 200);
    List->SetViewStyle(vsReport);
    List->SetRowSelect(true);
    List->Columns().Add().SetCaption(L"File");
    List->Columns().Items(0).SetWidth(200);
    List->Columns().Add().SetCaption(L"Length");
    List->Columns().Add().SetCaption(L"Status");
    for (int I = 1; I <= 20; ++I) {
        TListItem* Row = List->Items().Add();
        Row->Caption = L"video" + std::to_wstring(I) + L".avi";
        Row->SubItems.Add(L"00:0" + std::to_wstring(I % 10) + L":00");
        Row->SubItems.Add(I % 3 ? L"Waiting" : L"Done");
    }
    auto* Panel = Captioned<TPanel>(Page, L"Panel", 10, 220, 190, 60);
    Panel->SetBevelInner(bvLowered);
    auto* Transparent = Captioned<TPanel>(Page, L"Parent background", 210, 220, 190, 60);
    Transparent->SetParentBackground(true);
}

void TFrmGallery::BuildOpeners(TWinControl* Parent)
{
    struct TOpener {
        const wchar_t* Caption;
        TNotifyEvent Handler;
    };
    using G = TFrmGallery;
    const TOpener Openers[] = {
        {L"MDI frame", TNotifyEvent::Bind<&G::OpenMdiClick>(this)},
        {L"Template dialog", TNotifyEvent::Bind<&G::OpenDialogClick>(this)},
        {L"Message box", TNotifyEvent::Bind<&G::MessageBoxClick>(this)},
        {L"Right-to-left form", TNotifyEvent::Bind<&G::OpenRightToLeftClick>(this)},
        {L"Form with Tag 99", TNotifyEvent::Bind<&G::OpenTag99Click>(this)},
        {L"Borderless form", TNotifyEvent::Bind<&G::OpenBorderlessClick>(this)},
        {L"Tool window", TNotifyEvent::Bind<&G::OpenToolWindowClick>(this)},
        {L"Sizeable dialog", TNotifyEvent::Bind<&G::OpenSizeableDialogClick>(this)},
    };
    int Y = 10;
    for (const TOpener& Opener : Openers) {
        auto* Button = Captioned<TButton>(Parent, Opener.Caption, 10, Y, 130, 25);
        Button->OnClick = Opener.Handler;
        Y += 32;
    }
}

TCustomForm* TFrmGallery::Opened(TCustomForm* Form)
{
    FOpened.push_back(Form);
    Form->Show();
    return Form;
}

void TFrmGallery::OpenMdiClick(TObject*)
{
    auto* Frame = new TFrmMdiFrame(this);
    Opened(Frame);
    Frame->OpenChildren(3);
}

void TFrmGallery::OpenDialogClick(TObject*)
{
    FDialog = TTemplateDialog::Sample();
    const HWND Dialog = FDialog->Show(Handle());
    for (const wchar_t* Line : {L"List one", L"List two", L"List three"})
        SendDlgItemMessageW(Dialog, 107, LB_ADDSTRING, 0, AsLParam(Line));
    for (const wchar_t* Line : {L"Combo one", L"Combo two"})
        SendDlgItemMessageW(Dialog, 108, CB_ADDSTRING, 0, AsLParam(Line));
    SendDlgItemMessageW(Dialog, 108, CB_SETCURSEL, 0, 0);
    for (const wchar_t* Line : {L"Extended one", L"Extended two"}) {
        COMBOBOXEXITEMW Entry{};
        Entry.mask = CBEIF_TEXT;
        Entry.iItem = -1;
        Entry.pszText = const_cast<wchar_t*>(Line);
        SendDlgItemMessageW(Dialog, 110, CBEM_INSERTITEMW, 0, AsLParam(&Entry));
    }
    SendDlgItemMessageW(Dialog, 110, CB_SETCURSEL, 0, 0);
    CheckDlgButton(Dialog, 103, BST_CHECKED);
    CheckDlgButton(Dialog, 104, BST_INDETERMINATE);
    CheckDlgButton(Dialog, 105, BST_CHECKED);
}

void TFrmGallery::MessageBoxClick(TObject*)
{
    Application->MessageBox(L"A message box of the platform, skinned like any dialog.", L"Gallery",
                            MB_OKCANCEL | MB_ICONINFORMATION);
}

void TFrmGallery::OpenRightToLeftClick(TObject*)
{
    auto* Form = new TFrmPlain(this, L"Right-to-left form", bsSizeable);
    Form->SetBiDiMode(bdRightToLeft);
    auto* Menu = new TMainMenu(Form);
    Menu->SetBiDiMode(bdRightToLeft);
    for (const wchar_t* Caption : {L"&File", L"&Edit"}) {
        auto* Top = new TMenuItem(Form);
        Top->SetCaption(Caption);
        auto* Sub = new TMenuItem(Form);
        Sub->SetCaption(L"&Item");
        Top->Add(Sub);
        Menu->Items()->Add(Top);
    }
    Form->SetMenu(Menu);
    Opened(Form);
}

void TFrmGallery::OpenTag99Click(TObject*)
{
    auto* Form = new TFrmPlain(this, L"Form with Tag 99 (never skinned)", bsSizeable);
    Form->Tag = 99;
    Opened(Form);
}

void TFrmGallery::OpenBorderlessClick(TObject*)
{
    Opened(new TFrmPlain(this, L"Borderless form", bsNone));
}

void TFrmGallery::OpenToolWindowClick(TObject*)
{
    Opened(new TFrmPlain(this, L"Tool window", bsToolWindow));
}

void TFrmGallery::OpenSizeableDialogClick(TObject*)
{
    auto* Form = new TFrmPlain(this, L"Sizeable dialog", bsSizeable);
    Form->SetBorderIcons(biSystemMenu);
    Opened(Form);
}

// The skin's file name: a preview shows which skin it is, not where it lay.
void TFrmGallery::ShowSkinName(TObject*)
{
    const std::wstring& File = SkinData1->SkinFile();
    StatusBar1->SetPanelText(1, File.empty() ? L"Stored skin" : std::filesystem::path(File).filename().wstring());
}

void TFrmGallery::OpenEverything()
{
    OpenMdiClick(nullptr);
    OpenDialogClick(nullptr);
    MessageBoxClick(nullptr);
    OpenRightToLeftClick(nullptr);
    OpenTag99Click(nullptr);
    OpenBorderlessClick(nullptr);
    OpenToolWindowClick(nullptr);
    OpenSizeableDialogClick(nullptr);
}

std::vector<HWND> TFrmGallery::OpenPreviewWindows()
{
    OpenMdiClick(nullptr);
    OpenDialogClick(nullptr);
    OpenRightToLeftClick(nullptr);
    OpenBorderlessClick(nullptr);
    OpenToolWindowClick(nullptr);
    OpenSizeableDialogClick(nullptr);
    std::vector<HWND> Windows{Handle()};
    for (TCustomForm* Form : FOpened)
        if (!(GetWindowLongPtrW(Form->Handle(), GWL_STYLE) & WS_CHILD))
            Windows.push_back(Form->Handle());
    if (FDialog)
        Windows.push_back(FDialog->Handle());
    return Windows;
}

void TFrmGallery::CloseEverything()
{
    FDialog.reset();
    while (!FOpened.empty()) {
        delete FOpened.back();
        FOpened.pop_back();
    }
}

void TFrmGallery::ExitClick(TObject*)
{
    Close();
}

void TFrmGallery::NothingClick(TObject* Sender)
{
    if (auto* Item = dynamic_cast<TMenuItem*>(Sender))
        StatusBar1->SetPanelText(0, StripHotkey(Item->Caption()));
}

void TFrmGallery::WndProc(TMessage& Message)
{
    if (Message.Msg == WM_CONTEXTMENU) {
        POINT At{LoWordSigned(Message.LParam), HiWordSigned(Message.LParam)};
        if (At.x == -1 && At.y == -1)
            At = ClientToScreen({20, 20});
        PopupMenu1->PopupComponent = this;
        PopupMenu1->Popup(At.x, At.y);
        return;
    }
    TForm::WndProc(Message);
}
