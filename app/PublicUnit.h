// Helpers shared by the main window: the conversion job record, output
// folder creation and the shell's folder dialog. Windows only.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

// One conversion job.
struct TFileInfo {
    // Length of the source in whole seconds; 0 when the probe found none.
    int Duration = 0;
    std::wstring Status;
    std::wstring Path;
};

// Makes sure the folder exists, creating every missing folder on the way.
// On failure shows the folder-creation message box (through
// Application->MessageBox), puts the system's own
// text of the error into SystemError when given, and returns false.
bool EnsureFolder(const std::wstring& Path, std::wstring* SystemError = nullptr);

// The folder dialog as tests replace it: the chosen file-system path, or
// nothing when the user cancels.
using TFolderDialog =
    std::function<std::optional<std::wstring>(HWND Owner, const std::wstring& Prompt)>;
// Installs a replacement (an empty function restores the shell's dialog) and
// returns the one it replaced.
TFolderDialog SetFolderDialog(TFolderDialog Dialog);

// The chosen folder with a trailing backslash, which a drive root already
// has, or empty text when the user cancels.
std::wstring BrowseFolder(HWND Owner, const std::wstring& Prompt);
