// TWinSkinForm: the skinned frame of one top-level window (a framework form,
// a system dialog, an MDI child). It subclasses the window, answers the
// non-client messages itself (size, hit test, painting, activation), paints
// the four borders and the caption strip from the skin, shapes the window
// with a region where the borders are see-through, keeps the client at the
// size it had under the system frame, and gives all of it back at Unskin.
//
// The skin manager (SkinManager.h) makes, lists and frees these objects.
// The roles live in objects the frame owns: fitting the window to the frame
// (FrameFitting.h), painting (FramePainter.h), the region (FrameRegion.h),
// the caption buttons (CaptionBar.h), the menu bar (MenuBarLoop.h) and an
// MDI frame's client (MdiClient.h); the geometry in FrameGeometry.h.
#pragma once

#include "base/WindowSubclass.h"
#include "framework/Bitmap.h"
#include "framework/Controls.h"
#include "framework/Forms.h"
#include "framework/GdiObjects.h"
#include "skin/forms/CaptionBar.h"
#include "skin/controls/ControlDispatch.h"
#include "skin/forms/FrameFitting.h"
#include "skin/forms/FrameGeometry.h"
#include "skin/forms/FramePainter.h"
#include "skin/forms/FrameRegion.h"
#include "skin/forms/MdiClient.h"
#include "skin/forms/MenuBarLoop.h"
#include "skin/forms/PopupMenu.h"

#include <windows.h>

#include <array>
#include <memory>
#include <string>
#include <deque>
#include <vector>

class TSkinData;
class TWinSkinForm;
class TWinSkinMenu;

// The subclass kind of the skinned frames: TWindowSubclass::FindObject(window,
// &kFrameKind) is the window's TWinSkinForm.
extern const char kFrameKind;

// What the window is to MDI.
enum class TFormKind { fkOrdinary = 0, fkMdiFrame = 1, fkMdiChild = 2 };
using enum TFormKind;

// The frame the window's style asks for.
enum class TBorderKind { bkSizeable = 0, bkSingle = 1, bkNoCaption = 2, bkDialog = 3 };
using enum TBorderKind;

// Where the frame is in its life: created (not painted yet), ready,
// refreshing after a skin change, its window being destroyed, fitting its
// window to a new size, detached (the manager frees it at its next purge).
enum class TFormState {
    fsCreated = 0, fsReady = 1, fsRefreshing = 3, fsDestroying = 4, fsFitting = 5, fsDetached = 6
};
using enum TFormState;

// What the window's style said when it was skinned.
struct TFrameStyle {
    TFormKind FormKind = fkOrdinary;
    TBorderKind BorderKind = bkSizeable;
    LONG_PTR Style = 0;
    LONG_PTR ExStyle = 0;
    // The caption commands the style offers (captionrules' bits), and
    // whether the system menu style stays on the window.
    unsigned SystemButtons = 0;
    bool RightToLeft = false;
    bool IsChildWindow = false;
    bool Resizable = false;
    bool IsDialogClass = false;
};

class TWinSkinForm {
public:
    TWinSkinForm(HWND window, std::wstring className, TSkinData* skinData);
    ~TWinSkinForm();
    TWinSkinForm(const TWinSkinForm&) = delete;
    TWinSkinForm& operator=(const TWinSkinForm&) = delete;

    // A framework form: Prepare plus the form's message hook, colour and events.
    void AttachToForm(TWinControl* form);
    // A bare window such as a system dialog.
    void AttachToWindow();

    // Subclasses the window and measures the frame (runs once).
    void Prepare();
    // WM_SKININIT: fits the window, shapes it, ready.
    void Initialise();
    void WindowProc(TMessage& message);

    void PaintFrame(HDC dc = nullptr);
    // The skin's borders measured again, the caption buttons built for them.
    void Remeasure();
    // After a skin change: metrics, fit, repaint.
    void Refresh();
    // The skin is switched off and the window stays: style, menu, region,
    // client size and window procedure are given back as they were.
    void Unskin();
    // The window is being destroyed: let go of it without restoring its look.
    void Release();

    // The skinned bar of a window with a menu, or null.
    TWinSkinMenu* SkinMenuBar() const noexcept { return FMenuBar.Bar(); }
    // A menu of the bar is open.
    bool MenuTrackingNow() const noexcept { return TMenuBarLoop::Tracking(); }

    // The window's own procedure for a message the frame does not answer.
    void DefaultHandler(TMessage& message);
    // A screen point in window coordinates (origin at the window's corner).
    POINT ToWindowPoint(POINT screenPoint) const;

    HWND Handle() const noexcept { return FHandle; }
    TWinControl* Form() const noexcept { return FForm; }
    TSkinData* SkinData() const noexcept { return FSkinData; }
    const std::wstring& ClassName() const noexcept { return FClassName; }
    TFormState State() const noexcept { return FState; }
    bool FrameSkinned() const noexcept { return FFrameSkinned; }
    TFormKind FormKind() const noexcept { return FStyle.FormKind; }
    TBorderKind BorderKind() const noexcept { return FStyle.BorderKind; }
    const TFrameStyle& WindowStyle() const noexcept { return FStyle; }
    int WindowState() const noexcept { return FWindowState; }
    // The caption buttons change the window's state before the system does.
    void SetWindowState(int state) noexcept { FWindowState = state; }
    // The window state from the window's placement.
    void ReadWindowState();
    bool Active() const noexcept { return FActive; }
    const framegeo::TFrameMetrics& Metrics() const noexcept { return FFitting.Metrics(); }
    bool HasRegion() const noexcept { return FRegion.Made(); }
    // True while one of its window procedure calls is running: the object
    // must not be freed then, even when its window is gone.
    bool Busy() const noexcept { return FDepth > 0; }


    // The skinned controls of the window and how they are chosen.
    TControlDispatch& Dispatch() noexcept { return FDispatch; }

    // The caption buttons and the non-client mouse.
    TCaptionBar& Caption() noexcept { return FCaption; }
    // An MDI frame's client window, subclassed with the frame.
    const TMdiClientHook& MdiClientHook() const noexcept { return FMdiClient; }
    // The menu bar and the loop that opens its items.
    TMenuBarLoop& MenuBar() noexcept { return FMenuBar; }

private:
    // --- WindowProc stages ---
    bool BaseStage(TMessage& message);
    bool FrameStage(TMessage& message);
    void NonClientStage(TMessage& message);
    void FormHook(TMessage& message);

    // --- Non-client messages ---
    void NcHitTest(TMessage& message);
    void NcPaint(TMessage& message);
    void NcActivate(TMessage& message);
    // Default handling of a message that makes the system draw its caption
    // (WM_SETTEXT, WM_SETICON) with the caption style taken away meanwhile.
    void DefaultWithoutCaption(TMessage& message, bool formHook);

    // A new window keeps its client size under the skinned border; a
    // maximised MDI child makes its frame repaint instead.
    void FitNewWindow();
    // Gives the window's controls their skin objects.
    void AttachControls();

    HWND FHandle;
    TWinControl* FForm = nullptr;
    TSkinData* FSkinData;
    std::wstring FClassName;
    TWindowSubclass FSubclass;
    TWindowProcHook FFormHook;
    TMdiClientHook FMdiClient{*this};
    TControlDispatch FDispatch;
    bool FPrepared = false;
    bool FCaptionStripped = false;
    int FDepth = 0;

    bool FFrameSkinned = false;
    TFrameStyle FStyle;
    int FWindowState = wsNormal;
    bool FActive = true;
    TFormState FState = fsCreated;

    // What Unskin gives back.
    TColor FSavedColor = 0;
    bool FColorSaved = false;

    HMENU FWindowMenu = nullptr; // the system's window menu, not ours
    TFramePainter FPainter{*this};
    TFrameRegion FRegion{*this};
    TFrameFitting FFitting{*this, FPainter, FRegion};
    TMenuBarLoop FMenuBar{*this};

    TCaptionBar FCaption{*this};
};
