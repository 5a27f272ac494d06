#include "PublicUnit.h"

#include "ToolCommands.h"

#include "base/SystemError.h"
#include "framework/Forms.h"

#include <shlobj.h>

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

std::optional<std::wstring> ShellFolderDialog(HWND Owner, const std::wstring& Prompt)
{
    BROWSEINFOW info{};
    info.hwndOwner = Owner;
    info.lpszTitle = Prompt.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX;
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
                                Application->Title(), MB_OK | MB_ICONERROR);
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

std::wstring BrowseFolder(HWND Owner, const std::wstring& Prompt)
{
    const auto& dialog = FolderDialog();
    const std::optional<std::wstring> chosen =
        dialog ? dialog(Owner, Prompt) : ShellFolderDialog(Owner, Prompt);
    if (!chosen || chosen->empty())
        return {};
    return vidkiln::FolderWithBackslash(*chosen);
}
