// The control gallery: one form with every standard control of the
// framework in its usual states, a menu bar and a context menu, and buttons
// that open every other kind of window the skin engine serves (an MDI frame
// with children, a dialog-template dialog, a message box, a right-to-left
// form, a form with Tag 99, a borderless form, a tool window, a sizeable
// dialog). Skin authors look at a skin with it; the engine's pixel tests use
// it as their fixture.
#pragma once

#include "framework/Buttons.h"
#include "framework/ComCtrls.h"
#include "framework/Dialogs.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/ImgList.h"
#include "framework/Menus.h"
#include "framework/StdCtrls.h"
#include "skin/data/WinSkinData.h"

#include <memory>
#include <string>
#include <vector>

class TFrmGallery : public TForm {
    VK_CLASS_INFO
public:
    // SkinFile empty: the skin stored with the program.
    TFrmGallery(TComponent* AOwner, const std::wstring& SkinFile = {});
    ~TFrmGallery() override;

    // Every window the buttons open, opened now and left open (the message
    // box is shown and answered, as it is modal).
    void OpenEverything();
    // The windows of a skin preview: this form first, then every window the
    // buttons open without waiting for an answer (not the modal message box,
    // not the Tag 99 form, which is never skinned), opened now.
    std::vector<HWND> OpenPreviewWindows();
    // Closes what OpenEverything or the buttons opened.
    void CloseEverything();
    // The forms opened so far and still open.
    const std::vector<TCustomForm*>& OpenForms() const noexcept { return FOpened; }
    HWND TemplateDialogHandle() const noexcept { return FDialog ? FDialog->Handle() : nullptr; }

    TSkinData* SkinData1;
    TMainMenu* MainMenu1;
    TPopupMenu* PopupMenu1;
    TImageList* ImageList1;
    TPageControl* PageControl1;
    TToolBar* ToolBar1;
    TStatusBar* StatusBar1;

    void OpenMdiClick(TObject* Sender);
    void OpenDialogClick(TObject* Sender);
    void MessageBoxClick(TObject* Sender);
    void OpenRightToLeftClick(TObject* Sender);
    void OpenTag99Click(TObject* Sender);
    void OpenBorderlessClick(TObject* Sender);
    void OpenToolWindowClick(TObject* Sender);
    void OpenSizeableDialogClick(TObject* Sender);
    void ExitClick(TObject* Sender);
    void NothingClick(TObject* Sender);
    void ShowSkinName(TObject* Sender);

protected:
    void WndProc(TMessage& Message) override;

private:
    void BuildImages();
    void BuildMenus();
    void BuildToolBar();
    void BuildButtonsPage(TTabSheet* Page);
    void BuildEditsPage(TTabSheet* Page);
    void BuildBarsPage(TTabSheet* Page);
    void BuildTabsPage(TTabSheet* Page);
    void BuildListsPage(TTabSheet* Page);
    void BuildOpeners(TWinControl* Parent);
    TTabSheet* AddPage(const wchar_t* Caption);
    TCustomForm* Opened(TCustomForm* Form);

    std::vector<TCustomForm*> FOpened;
    std::unique_ptr<TTemplateDialog> FDialog;
};
