// The open-file dialog, message boxes and dialogs made from templates.
#pragma once

#include "Component.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

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

// A dialog built from an in-memory dialog template: a window of the
// platform's dialog class "#32770" with standard child controls, run by the
// platform's dialog manager rather than the framework (the kind of window
// system dialogs are).
struct TDialogItem {
    std::wstring ClassName; // "BUTTON", "EDIT", "STATIC", "LISTBOX", "COMBOBOX", "SCROLLBAR" ...
    std::wstring Text;
    WORD Id = 0;
    DWORD Style = 0;        // WS_CHILD | WS_VISIBLE are added
    short X = 0, Y = 0, Width = 0, Height = 0; // dialog units
};

class TTemplateDialog {
public:
    // Size in dialog units.
    TTemplateDialog(std::wstring Caption, short Width, short Height, DWORD Style = WS_POPUP | WS_CAPTION | WS_SYSMENU);
    ~TTemplateDialog();
    TTemplateDialog(const TTemplateDialog&) = delete;
    TTemplateDialog& operator=(const TTemplateDialog&) = delete;

    void Add(TDialogItem Item);
    // Runs the dialog modally; the id of the button that closed it (IDOK,
    // IDCANCEL ...). Throws when the template is refused.
    INT_PTR Execute(HWND Owner);
    // Opens the dialog without waiting; the object destroys the window at
    // the latest with itself. Throws when the template is refused.
    HWND Show(HWND Owner);
    HWND Handle() const noexcept { return FHandle; }
    void Close();

    // The gallery's sample: OK, Cancel, an edit, check boxes, radio
    // buttons, a group box, a list box, a combo box, a scroll bar.
    static std::unique_ptr<TTemplateDialog> Sample();

private:
    std::vector<WORD> BuildTemplate() const;
    static INT_PTR CALLBACK DialogProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam);

    std::wstring FCaption;
    short FWidth, FHeight;
    DWORD FStyle;
    std::vector<TDialogItem> FItems;
    HWND FHandle = nullptr;
    bool FModeless = false;
};
