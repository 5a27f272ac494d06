// The open-file dialog and message boxes.
#pragma once

#include "Component.h"

#include <windows.h>

#include <string>

enum TOpenOption : unsigned {
    ofReadOnly = 1, ofOverwritePrompt = 2, ofHideReadOnly = 4, ofNoChangeDir = 8, ofAllowMultiSelect = 16,
    ofPathMustExist = 32, ofFileMustExist = 64, ofEnableSizing = 128
};
using TOpenOptions = unsigned;

class TOpenDialog : public TComponent {
    VK_CLASS_INFO
public:
    explicit TOpenDialog(TComponent* AOwner);

    // "Name|patterns|Name|patterns", as in "AVI Files|*.AVI".
    std::wstring Filter;
    // 1-based; the entry chosen last after Execute.
    int FilterIndex = 1;
    // The chosen file after Execute; the name proposed before.
    std::wstring FileName;
    std::wstring InitialDir;
    std::wstring Title;
    std::wstring DefaultExt;
    TOpenOptions Options = ofHideReadOnly | ofEnableSizing;

    // Shows the dialog owned by the active form; true when a file was
    // chosen, false when cancelled. Throws when the dialog fails.
    bool Execute();
};

// The filter in the platform's form: entries separated by NUL, ending with
// two NULs. A trailing name without patterns is dropped.
std::wstring DialogFilter(const std::wstring& Filter);

// A message box with the application's title.
void ShowMessage(const std::wstring& Text);
