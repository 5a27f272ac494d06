// Helpers shared by the main window: the conversion job record, output
// folder creation and the shell's folder dialog. Windows only.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

// The title of the program's message boxes: short, so that a box as narrow
// as its text still shows all of it.
inline constexpr wchar_t kMessageTitle[] = L"Vidkiln";

// One conversion job.
struct TFileInfo {
    // Length of the source in whole seconds; 0 when the probe found none.
    int Duration = 0;
    std::wstring Status;
    std::wstring Path;
    // Why the file cannot be converted, as the probe found at add time;
    // empty for a file the queue converts.
    std::wstring Problem;
};

// Makes sure the folder exists, creating every missing folder on the way.
// On failure shows the folder-creation message box (through
// Application->MessageBox), puts the system's own
// text of the error into SystemError when given, and returns false.
bool EnsureFolder(const std::wstring& Path, std::wstring* SystemError = nullptr);

// The folder dialog as tests replace it: the chosen file-system path, or
// nothing when the user cancels. Start is the folder the dialog opens at,
// or empty for the top of the shell's name space.
using TFolderDialog = std::function<std::optional<std::wstring>(
    HWND Owner, const std::wstring& Prompt, const std::wstring& Start)>;
// Installs a replacement (an empty function restores the shell's dialog) and
// returns the one it replaced.
TFolderDialog SetFolderDialog(TFolderDialog Dialog);

// The chosen folder with a trailing backslash, which a drive root already
// has, or empty text when the user cancels. The dialog opens at Start when
// it names a folder.
std::wstring BrowseFolder(HWND Owner, const std::wstring& Prompt, const std::wstring& Start = {});

// The open-file dialog allowing several files: their full paths in the
// order the dialog gives them, none when the user cancels. Filter is in
// the framework's "Name|patterns" form; FilterIndex (1-based) is the entry
// selected first and receives the one chosen last. The dialog opens empty,
// in StartFolder when it is given.
std::vector<std::wstring> ChooseFiles(HWND Owner, const std::wstring& Filter, int& FilterIndex,
                                      const std::wstring& StartFolder);
