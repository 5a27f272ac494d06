// TSkinManage: the one process-wide object that decides which windows get a
// skin. It learns about windows from a window-creation (WH_CBT) hook of the
// GUI thread and from a scan of the open forms, gives each top-level window
// it accepts a TWinSkinForm, and carries out the skin data components'
// requests (skin all, unskin all, skin changed) one timer tick later, never
// inside the caller's own message.
//
// The lists are exact: a frame is listed from its attachment until the
// manager frees it (after Unskin, or at the first purge after its window was
// destroyed), and a skin data component from Loaded until its destructor
// unregisters it; nothing is ever found by testing memory.
#pragma once

#include "base/ThreadHook.h"
#include "skin/data/SkinManagerLink.h"
#include "skin/forms/PopupMenu.h"
#include "skin/forms/WinSkinForm.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

class TCustomForm;
class TSkinData;
class TTimer;
class TObject;
class TWinControl;

// Why AttachForm refused a window: the first of its conditions that failed.
enum TAttachRefusal {
    arAccepted = 0,
    arInactive = 1,         // skinning is off
    arAlreadySkinned = 2,   // answers WM_SKINQUERY, or listed already
    arMdiClientChild = 4,   // a plain child of an MDI client (outside a scan)
    arForeign = 5,          // neither a framework form, nor ours, nor a system dialog
    arZeroSize = 6,         // no area and no MDI child
    arDisabledTag = 7,      // a form whose Tag is 99
    arExcludedClass = 8,    // a class known not to bear a frame
    arVetoed = 9,           // ShouldSkin said no
    arNoSkin = 10,          // no skin data with a loaded skin
};

class TSkinManage final : public ISkinManagerLink {
public:
    TSkinManage();
    ~TSkinManage() override;
    TSkinManage(const TSkinManage&) = delete;
    TSkinManage& operator=(const TSkinManage&) = delete;

    // --- The skin data's link ---
    void RegisterSkinData(TSkinData* skinData) override;
    void UnregisterSkinData(TSkinData* skinData) override;
    void InstallHook() override;
    void RequestAction(int action, int delayMs) override;
    void SetPendingSkinData(TSkinData* skinData) override { FPendingSkinData = skinData; }
    void ReleaseCaptionButtons(TSkinData* skinData) override;
    void SetActive(bool active) override { FActive = active; }
    int RunState() const override { return FRunState; }
    void SetRunState(int runState) override;
    bool AttachForm(HWND window) override;
    // Releases every frame from its window (last first), then removes the
    // hook; the manager takes no more windows after it.
    void Shutdown() noexcept override;

    // --- Deciding ---
    TAttachRefusal AttachRefusal(HWND window);
    bool AttachVisibleForm(TCustomForm* form);
    bool ShouldSkin(HWND window, const std::wstring& className);
    TSkinData* FindSkinData(HWND window, const std::wstring& className) const;
    TWinSkinForm* FindSkinForm(HWND window) const;
    // The framework form or control behind a window (see ControlAtom in
    // framework/Controls.h), or nullptr.
    TWinControl* FindFormOfWindow(HWND window) const;

    // --- Requests ---
    void ExecuteRequest();
    int PendingAction() const noexcept { return FPendingAction; }
    TSkinData* PendingSkinData() const noexcept { return FPendingSkinData; }

    // --- Popup menus ---
    // Windows of class "#32768" come here from the hook and get a
    // TWinSkinPopMenu when the skin's controls allow it for what opened them.
    bool AttachPopupMenu(HWND window);
    bool DetachPopupMenu(HWND window);
    bool IsPopupMenuSkinned(HWND window) const;
    // The newest popup that shows no known menu yet shows this one.
    void SetPopupOwner(HMENU menu);
    // The background of the popup showing this menu, or null.
    const TBitmap* PopupBitmapOf(HMENU menu) const;
    // What opened the next popup menu: 0 other, 1 a menu bar, 2 the window menu.
    int PopupKind = 0;

    // --- Lists and state ---
    void PurgeForms();
    void ReleaseAll();
    bool Active() const noexcept { return FActive; }
    bool Scanning() const noexcept { return FScanning; }
    TSkinData* MainSkinData() const noexcept { return FMainSkinData; }
    const std::vector<TSkinData*>& SkinDatas() const noexcept { return FSkinDatas; }
    std::vector<TWinSkinForm*> SkinForms() const;
    std::vector<HWND> PopupMenus() const;
    // The MDI client of the skinned MDI frame, and that frame's form; found
    // in the list of frames, so never a window that is gone.
    HWND MDIClient() const noexcept;
    TWinControl* MDIFrameForm() const noexcept;
    bool MDIChildMaximized() const noexcept { return FMDIChildMaximized; }
    void SetMDIChildMaximized(bool value) { FMDIChildMaximized = value; }

private:
    LRESULT CbtHook(int code, WPARAM wParam, LPARAM lParam);
    // Alt+letter in a control of a skinned window with a menu bar: given to
    // that window. True when it was.
    bool ForwardKeyMenu(WPARAM command, LPARAM key);
    void HookCreate(HWND window, const CBT_CREATEWNDW& create);
    void TimerTick(TObject* Sender);
    void ScanOpenForms(TSkinData* onlyOwnerOf);
    void UnskinAndFree(TWinSkinForm* frame);
    void RemoveSkinForm(TWinSkinForm* frame);

    std::unique_ptr<TTimer> FRequestTimer;
    std::vector<std::unique_ptr<TWinSkinForm>> FSkinForms;
    std::vector<std::unique_ptr<TWinSkinPopMenu>> FPopupMenus;
    std::vector<TSkinData*> FSkinDatas;
    bool FActive = false;
    bool FScanning = false;
    int FRunState = 0;
    bool FMDIChildMaximized = false;
    int FPendingAction = 0;
    TSkinData* FPendingSkinData = nullptr;
    TSkinData* FMainSkinData = nullptr;
    std::unique_ptr<TThreadHook> FHook;
    HINSTANCE FMainInstance;
};

// The manager, or nullptr before the first skin data has loaded and after
// ShutdownSkinManager (SkinManagerLink.h).
extern TSkinManage* SkinManager;

// Makes the skin data components use this manager (installs its factory
// once). Call at start, before any skin data is loaded.
void UseSkinManager();
