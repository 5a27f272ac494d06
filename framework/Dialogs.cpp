#include "Dialogs.h"

#include "Forms.h"
#include "SysUtils.h"

#include <commctrl.h>
#include <commdlg.h>

#include <vector>

const TClassInfo& TOpenDialog::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo(TClassBuilder<TOpenDialog>("TOpenDialog", TComponent::StaticClass())
        .Field("Filter", &TOpenDialog::Filter)
        .Field("FilterIndex", &TOpenDialog::FilterIndex)
        .Field("FileName", &TOpenDialog::FileName)
        .Field("InitialDir", &TOpenDialog::InitialDir)
        .Field("Title", &TOpenDialog::Title)
        .Field("DefaultExt", &TOpenDialog::DefaultExt)
        .Build());
    return Info;
}

TOpenDialog::TOpenDialog(TComponent* AOwner) : TComponent(AOwner) {}

std::wstring DialogFilter(const std::wstring& Filter)
{
    std::vector<std::wstring> Parts;
    size_t Start = 0;
    while (Start <= Filter.size()) {
        const size_t Bar = Filter.find(L'|', Start);
        Parts.push_back(Filter.substr(Start, Bar == std::wstring::npos ? std::wstring::npos : Bar - Start));
        if (Bar == std::wstring::npos)
            break;
        Start = Bar + 1;
    }
    std::wstring Out;
    for (size_t I = 0; I + 1 < Parts.size(); I += 2) {
        Out += Parts[I];
        Out += L'\0';
        Out += Parts[I + 1];
        Out += L'\0';
    }
    Out += L'\0';
    return Out;
}

namespace {

DWORD OpenFlags(TOpenOptions Options)
{
    DWORD Flags = OFN_EXPLORER;
    if (Options & ofReadOnly) Flags |= OFN_READONLY;
    if (Options & ofOverwritePrompt) Flags |= OFN_OVERWRITEPROMPT;
    if (Options & ofHideReadOnly) Flags |= OFN_HIDEREADONLY;
    if (Options & ofNoChangeDir) Flags |= OFN_NOCHANGEDIR;
    if (Options & ofAllowMultiSelect) Flags |= OFN_ALLOWMULTISELECT;
    if (Options & ofPathMustExist) Flags |= OFN_PATHMUSTEXIST;
    if (Options & ofFileMustExist) Flags |= OFN_FILEMUSTEXIST;
    if (Options & ofEnableSizing) Flags |= OFN_ENABLESIZING;
    return Flags;
}

HWND DialogOwner()
{
    if (TCustomForm* Active = Screen->ActiveForm())
        return Active->HandleIfAllocated();
    TCustomForm* Main = Application->MainForm();
    return Main ? Main->HandleIfAllocated() : nullptr;
}

} // namespace

bool TOpenDialog::Execute()
{
    // Room for a long path, or several names with multi-select.
    std::vector<wchar_t> Buffer(32768, L'\0');
    FileName.copy(Buffer.data(), std::min(FileName.size(), Buffer.size() - 1));
    const std::wstring Filters = DialogFilter(Filter);
    OPENFILENAMEW Info{};
    Info.lStructSize = sizeof Info;
    Info.hwndOwner = DialogOwner();
    Info.lpstrFilter = Filter.empty() ? nullptr : Filters.c_str();
    Info.nFilterIndex = static_cast<DWORD>(std::max(FilterIndex, 0));
    Info.lpstrFile = Buffer.data();
    Info.nMaxFile = static_cast<DWORD>(Buffer.size());
    Info.lpstrInitialDir = InitialDir.empty() ? nullptr : InitialDir.c_str();
    Info.lpstrTitle = Title.empty() ? nullptr : Title.c_str();
    Info.lpstrDefExt = DefaultExt.empty() ? nullptr : DefaultExt.c_str();
    Info.Flags = OpenFlags(Options);
    if (!GetOpenFileNameW(&Info)) {
        if (const DWORD Error = CommDlgExtendedError())
            throw Exception(L"The open-file dialog failed (error " + std::to_wstring(Error) + L")");
        return false;
    }
    FileName = Buffer.data();
    FilterIndex = static_cast<int>(Info.nFilterIndex);
    return true;
}

void ShowMessage(const std::wstring& Text)
{
    Application->MessageBox(Text, Application->Title(), MB_OK);
}

// ---------------------------------------------------------- TTemplateDialog

TTemplateDialog::TTemplateDialog(std::wstring Caption, short Width, short Height, DWORD Style)
    : FCaption(std::move(Caption)), FWidth(Width), FHeight(Height), FStyle(Style)
{
}

TTemplateDialog::~TTemplateDialog()
{
    Close();
}

void TTemplateDialog::Add(TDialogItem Item)
{
    FItems.push_back(std::move(Item));
}

namespace {
void AppendText(std::vector<WORD>& Data, const std::wstring& Text)
{
    Data.insert(Data.end(), Text.begin(), Text.end());
    Data.push_back(0);
}

void AlignToDword(std::vector<WORD>& Data)
{
    if (Data.size() % 2)
        Data.push_back(0);
}

void AppendDword(std::vector<WORD>& Data, DWORD Value)
{
    Data.push_back(LOWORD(Value));
    Data.push_back(HIWORD(Value));
}
} // namespace

// DLGTEMPLATE and DLGITEMTEMPLATE records, each item DWORD-aligned; the
// buffer is of WORDs, so DWORD alignment is an even WORD count.
std::vector<WORD> TTemplateDialog::BuildTemplate() const
{
    std::vector<WORD> Data;
    AppendDword(Data, FStyle | DS_SETFONT | DS_MODALFRAME);
    AppendDword(Data, 0);
    Data.push_back(static_cast<WORD>(FItems.size()));
    const short Frame[] = {0, 0, FWidth, FHeight};
    for (short V : Frame)
        Data.push_back(static_cast<WORD>(V));
    Data.push_back(0); // no menu
    Data.push_back(0); // the dialog class
    AppendText(Data, FCaption);
    Data.push_back(9);
    AppendText(Data, L"MS Shell Dlg");
    for (const TDialogItem& Item : FItems) {
        AlignToDword(Data);
        AppendDword(Data, Item.Style | WS_CHILD | WS_VISIBLE);
        AppendDword(Data, 0);
        const short Bounds[] = {Item.X, Item.Y, Item.Width, Item.Height};
        for (short V : Bounds)
            Data.push_back(static_cast<WORD>(V));
        Data.push_back(Item.Id);
        AppendText(Data, Item.ClassName);
        AppendText(Data, Item.Text);
        Data.push_back(0); // no creation data
    }
    return Data;
}

INT_PTR CALLBACK TTemplateDialog::DialogProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    auto* Self = reinterpret_cast<TTemplateDialog*>(GetWindowLongPtrW(Window, DWLP_USER));
    switch (Msg) {
    case WM_INITDIALOG:
        SetWindowLongPtrW(Window, DWLP_USER, LParam);
        AsPointer<TTemplateDialog>(LParam)->FHandle = Window;
        return TRUE;
    case WM_COMMAND:
        if (Self && (LOWORD(WParam) == IDOK || LOWORD(WParam) == IDCANCEL) && HIWORD(WParam) == BN_CLICKED) {
            if (Self->FModeless)
                Self->Close();
            else
                EndDialog(Window, LOWORD(WParam));
            return TRUE;
        }
        return FALSE;
    case WM_CLOSE:
        if (Self && Self->FModeless) {
            Self->Close();
            return TRUE;
        }
        return FALSE;
    case WM_NCDESTROY:
        if (Self)
            Self->FHandle = nullptr;
        return FALSE;
    default:
        return FALSE;
    }
}

INT_PTR TTemplateDialog::Execute(HWND Owner)
{
    const std::vector<WORD> Template = BuildTemplate();
    FModeless = false;
    const INT_PTR Result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr),
                                                   reinterpret_cast<const DLGTEMPLATE*>(Template.data()), Owner,
                                                   &DialogProc, AsLParam(this));
    if (Result == -1)
        throw Exception(L"Cannot create the dialog " + FCaption);
    return Result;
}

HWND TTemplateDialog::Show(HWND Owner)
{
    Close();
    const std::vector<WORD> Template = BuildTemplate();
    FModeless = true;
    const HWND Window = CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                                                   reinterpret_cast<const DLGTEMPLATE*>(Template.data()), Owner,
                                                   &DialogProc, AsLParam(this));
    if (!Window)
        throw Exception(L"Cannot create the dialog " + FCaption);
    ShowWindow(Window, SW_SHOW);
    return Window;
}

void TTemplateDialog::Close()
{
    if (FHandle && FModeless)
        DestroyWindow(FHandle);
}

std::unique_ptr<TTemplateDialog> TTemplateDialog::Sample()
{
    auto Dialog = std::make_unique<TTemplateDialog>(L"Template dialog", 220, 150);
    const DWORD Tab = WS_TABSTOP;
    Dialog->Add({L"STATIC", L"&Name:", 100, SS_LEFT, 7, 9, 40, 8});
    Dialog->Add({L"EDIT", L"text", 101, ES_AUTOHSCROLL | WS_BORDER | Tab, 50, 7, 100, 14});
    Dialog->Add({L"BUTTON", L"Options", 102, BS_GROUPBOX, 7, 26, 100, 60});
    Dialog->Add({L"BUTTON", L"&Check box", 103, BS_AUTOCHECKBOX | Tab, 14, 38, 80, 10});
    Dialog->Add({L"BUTTON", L"Three &state", 104, BS_AUTO3STATE | Tab, 14, 50, 80, 10});
    Dialog->Add({L"BUTTON", L"Radio &1", 105, BS_AUTORADIOBUTTON | WS_GROUP | Tab, 14, 62, 80, 10});
    Dialog->Add({L"BUTTON", L"Radio &2", 106, BS_AUTORADIOBUTTON, 14, 72, 80, 10});
    Dialog->Add({L"LISTBOX", L"", 107, LBS_NOTIFY | WS_VSCROLL | WS_BORDER | Tab, 114, 26, 99, 40});
    Dialog->Add({L"COMBOBOX", L"", 108, CBS_DROPDOWNLIST | WS_VSCROLL | Tab, 114, 70, 99, 60});
    Dialog->Add({L"SCROLLBAR", L"", 109, SBS_HORZ, 7, 94, 206, 10});
    Dialog->Add({WC_COMBOBOXEXW, L"", 110, CBS_DROPDOWNLIST | Tab, 7, 109, 100, 60});
    Dialog->Add({DATETIMEPICK_CLASSW, L"", 111, DTS_SHORTDATEFORMAT | Tab, 114, 109, 99, 14});
    Dialog->Add({L"BUTTON", L"OK", IDOK, BS_DEFPUSHBUTTON | Tab, 106, 129, 50, 14});
    Dialog->Add({L"BUTTON", L"Cancel", IDCANCEL, BS_PUSHBUTTON | Tab, 163, 129, 50, 14});
    return Dialog;
}
