#include "Dialogs.h"

#include "Forms.h"
#include "SysUtils.h"

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
