#include "PublicUnit.h"

#include "ToolCommands.h"

#include "base/SystemError.h"
#include "framework/Dialogs.h"
#include "framework/Forms.h"
#include "framework/Messages.h"

#include <commdlg.h>
#include <shlobj.h>

#include <algorithm>
#include <memory>
#include <utility>

namespace {

TFolderDialog& FolderDialog()
{
    static TFolderDialog dialog;
    return dialog;
}

struct TItemIdListFree {
    void operator()(ITEMIDLIST* List) const noexcept { CoTaskMemFree(List); }
};
using TItemIdList = std::unique_ptr<ITEMIDLIST, TItemIdListFree>;

// Selects the start folder once the dialog is up; lParam is its path.
int CALLBACK SelectStartFolder(HWND Dialog, UINT Message, LPARAM, LPARAM Start)
{
    if (Message == BFFM_INITIALIZED && Start)
        SendMessageW(Dialog, BFFM_SETSELECTIONW, TRUE, Start);
    return 0;
}

std::optional<std::wstring> ShellFolderDialog(HWND Owner, const std::wstring& Prompt,
                                              const std::wstring& Start)
{
    // The shell selects "D:\Videos" but not "D:\Videos\"; a drive root
    // keeps its backslash.
    std::wstring start = Start;
    if (start.size() > 3 && start.back() == L'\\')
        start.pop_back();
    BROWSEINFOW info{};
    info.hwndOwner = Owner;
    info.lpszTitle = Prompt.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX;
    info.lpfn = SelectStartFolder;
    info.lParam = start.empty() ? 0 : AsLParam(start.c_str());
    const TItemIdList chosen(SHBrowseForFolderW(&info));
    if (!chosen)
        return std::nullopt;
    wchar_t path[MAX_PATH] = {};
    if (!SHGetPathFromIDListW(chosen.get(), path))
        return std::nullopt;
    return std::wstring(path);
}

bool FolderExists(const std::wstring& Path)
{
    const DWORD attributes = GetFileAttributesW(Path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

} // namespace

bool EnsureFolder(const std::wstring& Path, std::wstring* SystemError)
{
    if (FolderExists(Path))
        return true;
    for (const std::wstring& prefix : vidkiln::FolderPrefixes(Path)) {
        if (FolderExists(prefix) || CreateDirectoryW(prefix.c_str(), nullptr))
            continue;
        const DWORD error = GetLastError();
        Application->MessageBox(L"建立目录：" + Path + L"出错！\r\n\r\n请检查目录名是否正确。",
                                kMessageTitle, MB_OK | MB_ICONERROR);
        if (SystemError)
            *SystemError = SystemErrorMessage(error);
        return false;
    }
    return true;
}

TFolderDialog SetFolderDialog(TFolderDialog Dialog)
{
    return std::exchange(FolderDialog(), std::move(Dialog));
}

std::wstring BrowseFolder(HWND Owner, const std::wstring& Prompt, const std::wstring& Start)
{
    const auto& dialog = FolderDialog();
    const std::wstring start = FolderExists(Start) ? Start : std::wstring();
    const std::optional<std::wstring> chosen =
        dialog ? dialog(Owner, Prompt, start) : ShellFolderDialog(Owner, Prompt, start);
    if (!chosen || chosen->empty())
        return {};
    return vidkiln::FolderWithBackslash(*chosen);
}

std::vector<std::wstring> ChooseFiles(HWND Owner, const std::wstring& Filter, int& FilterIndex,
                                      const std::wstring& StartFolder)
{
    // Room for many long names: the dialog fails rather than cut a list.
    std::vector<wchar_t> buffer(1 << 16, L'\0');
    const std::wstring filters = DialogFilter(Filter);
    OPENFILENAMEW info{};
    info.lStructSize = sizeof info;
    info.hwndOwner = Owner;
    info.lpstrFilter = filters.c_str();
    info.nFilterIndex = static_cast<DWORD>(std::max(FilterIndex, 1));
    info.lpstrFile = buffer.data();
    info.nMaxFile = static_cast<DWORD>(buffer.size());
    info.lpstrInitialDir = StartFolder.empty() ? nullptr : StartFolder.c_str();
    info.Flags = OFN_EXPLORER | OFN_ALLOWMULTISELECT | OFN_HIDEREADONLY | OFN_ENABLESIZING |
                 OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
    if (!GetOpenFileNameW(&info)) {
        if (const DWORD error = CommDlgExtendedError())
            throw Exception(L"The open-file dialog failed (error " + std::to_wstring(error) + L")");
        return {};
    }
    FilterIndex = static_cast<int>(info.nFilterIndex);
    return vidkiln::SelectedFiles(std::wstring_view(buffer.data(), buffer.size()));
}
