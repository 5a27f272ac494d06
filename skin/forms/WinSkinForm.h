// TWinSkinForm: the skinned frame of one top-level window (a framework form,
// a system dialog, an MDI child). It subclasses the window, answers the
// non-client messages itself (size, hit test, painting, activation), paints
// the four borders and the caption strip from the skin, shapes the window
// with a region where the borders are see-through, keeps the client at the
// size it had under the system frame, and gives all of it back at Unskin.
//
// The skin manager (SkinManager.h) makes, lists and frees these objects.
// Painting lives in FramePaint.cpp; the geometry in FrameGeometry.h.
#pragma once

#include "base/WindowSubclass.h"
#include "framework/Bitmap.h"
#include "framework/Controls.h"
#include "framework/Forms.h"
#include "framework/GdiObjects.h"
#include "skin/forms/CaptionRules.h"
#include "skin/controls/ControlDispatch.h"
#include "skin/forms/FrameGeometry.h"
#include "skin/forms/PopupMenu.h"

#include <windows.h>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <deque>
#include <vector>

class TDataSkinSysButton;
class TMenuBtn;
class TSkinData;
class TWinSkinForm;
class TWinSkinMenu;
struct TMenuLoop;

// The subclass kind of the skinned frames: TWindowSubclass::FindObject(window,
// &kFrameKind) is the window's TWinSkinForm.
extern const char kFrameKind;

// A non-client object of one frame (a caption button, a menu bar item):
// mouse tracking and painting in window coordinates. The caption buttons and
// menu bar derive from it. At most one object of a frame is hot or pressed
// at a time: the frame's HotObject (CaptionButtons.cpp).
class TNCObject {
public:
    explicit TNCObject(TWinSkinForm* owner) : Owner(owner) {}
    virtual ~TNCObject() = default;
    TNCObject(const TNCObject&) = delete;
    TNCObject& operator=(const TNCObject&) = delete;

    virtual void MouseDown();
    virtual void MouseUp();
    virtual void MouseEnter();
    virtual void MouseLeave();
    // Draws into the caption strip bitmap's DC (window coordinates).
    virtual void Paint(HDC dc) = 0;

    TWinSkinForm* Owner;
    RECT Bounds{};
    bool Visible = true;
    int ButtonState = 1; // 1 normal, 2 pressed, 3 hot
    bool Enabled = true;

protected:
    void SetState(int state);
};

// One caption button: the skin's button it shows, drawn in the caption strip.
class TWinSysButton final : public TNCObject {
public:
    TWinSysButton(TWinSkinForm* owner, TDataSkinSysButton* skinButton) : TNCObject(owner), SkinButton(skinButton) {}
    void Paint(HDC dc) override;

    TDataSkinSysButton* SkinButton; // the skin data's
};

enum TFormState {
    fsCreated = 0, fsReady = 1, fsRefreshing = 3, fsDestroying = 4, fsFitting = 5, fsDetached = 6
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
    void Remeasure();
    // After a skin change: metrics, fit, repaint.
    void Refresh();
    void BuildRegion();
    void DropRegion();
    void FitToClient(bool keepClient);
    // The skin is switched off and the window stays: style, menu, region,
    // client size and window procedure are given back as they were.
    void Unskin();
    // The window is being destroyed: let go of it without restoring its look.
    void Release();

    // --- Caption buttons and the non-client mouse (CaptionButtons.cpp) ---
    // One button per entry of the skin's list; rebuilt at every remeasure.
    void BuildCaptionButtons();
    void ReleaseCaptionButtons();
    // Stores and returns whether the button shows in the window's state.
    bool EvaluateVisibility(size_t index);
    void LayoutCaptionButtons();
    // The first visible, working button at a window point.
    TWinSysButton* ButtonAt(POINT windowPoint) const;
    // A screen point in window coordinates (origin at the window's corner).
    POINT ToWindowPoint(POINT screenPoint) const;
    // The click of the hot caption button.
    void PerformAction();
    void ShowWindowMenu(POINT screenPoint);
    // Copies the window menu's items (and their sub-menus) into popup as
    // items drawn from the skin.
    void CopyWindowMenu(HMENU from, HMENU popup);
    TNCObject* HotObject() const noexcept { return FHotObject; }
    void SetHotObject(TNCObject* object) noexcept { FHotObject = object; }
    // A non-client object changed its look: the caption is painted again.
    void RepaintObjects();
    void HideHint();
    // One hover-timer tick (every 250 ms while an object is hot).
    void HoverTick();
    // The hint clock of the hovered button (ticks counted, not timed).
    const captionrules::THintClock& HintClock() const noexcept { return FHintClock; }
    bool HoverTimerRunning() const noexcept { return FHoverTimerOn; }

    // --- The menu bar (MenuBar.cpp) ---
    // The skinned bar of a window with a menu, or null.
    TWinSkinMenu* SkinMenuBar() const noexcept { return FSkinMenuBar.get(); }
    // Opens the item's sub-menu under it and runs the bar's menu loop until
    // the user leaves the bar; an item without a sub-menu sends its command.
    void OpenBarItem(TMenuBtn& item, bool byKeyboard);
    TMenuBtn* FindAccelItem(wchar_t ch) const;
    // A menu of the bar is open.
    bool MenuTrackingNow() const noexcept;
    // An MDI frame whose active child is maximised.
    bool ActiveMdiChildMaximised() const;
    // The menu band in window coordinates.
    RECT MenuBand() const;

    HWND Handle() const noexcept { return FHandle; }
    TWinControl* Form() const noexcept { return FForm; }
    TSkinData* SkinData() const noexcept { return FSkinData; }
    const std::wstring& ClassName() const noexcept { return FClassName; }
    int State() const noexcept { return FState; }
    bool FrameSkinned() const noexcept { return FFrameSkinned; }
    int FormKind() const noexcept { return FFormKind; }
    int BorderKind() const noexcept { return FBorderKind; }
    int WindowState() const noexcept { return FWindowState; }
    bool Active() const noexcept { return FActive; }
    const framegeo::TFrameMetrics& Metrics() const noexcept { return FMetrics; }
    const RECT& TextRect() const noexcept { return FTextRect; }
    const RECT& TextBackRect() const noexcept { return FTextBackRect; }
    bool HasRegion() const noexcept { return FRegionMade; }
    // True while one of its window procedure calls is running: the object
    // must not be freed then, even when its window is gone.
    bool Busy() const noexcept { return FDepth > 0; }

    // An MDI frame's client window, subclassed with the frame (MdiClient.cpp);
    // nullptr for other windows.
    HWND MdiClient() const noexcept;

    // The skinned controls of the window and how they are chosen.
    TControlDispatch& Dispatch() noexcept { return FDispatch; }

    // One per entry of the skin's caption-button list; empty until the
    // caption buttons are built.
    std::vector<std::unique_ptr<TWinSysButton>> CaptionButtons;
    int RightButtonsExtent = 0;

private:
    // --- Fitting to a new skin ---
    bool HasOuterSize(framegeo::TSize outer) const;
    bool HasWindowRegion(HRGN region) const;

    // --- WindowProc stages ---
    void DefaultHandler(TMessage& message);
    bool BaseStage(TMessage& message);
    bool FrameStage(TMessage& message);
    void NonClientStage(TMessage& message);
    void FormHook(TMessage& message);

    // --- Non-client messages ---
    void NcCalcSize(TMessage& message);
    void NcHitTest(TMessage& message);
    void NcPaint(TMessage& message);
    void NcActivate(TMessage& message);
    void Size(TMessage& message);
    // Default handling of a message that makes the system draw its caption
    // (WM_SETTEXT, WM_SETICON) with the caption style taken away meanwhile.
    void DefaultWithoutCaption(TMessage& message, bool formHook);

    // --- Non-client mouse and keys (CaptionButtons.cpp) ---
    // The non-client mouse, the system keys and the hover timer; true when
    // the message was answered.
    bool CaptionStage(TMessage& message);
    void NcLButtonDown(TMessage& message, TWinSysButton* button);
    void NcLButtonUp(TMessage& message, TWinSysButton* button);
    void NcLButtonDblClk(TMessage& message, TWinSysButton* button);
    bool SysCommand(TMessage& message);
    void StartHoverTimer();
    void StopHoverTimer();
    void LeaveHotObject();
    captionrules::TWindowFacts WindowFacts() const;
    void PostSystemCommand(WPARAM command);
    // WM_MEASUREITEM and WM_DRAWITEM of the skinned window menu's items.
    bool MenuItemMessage(TMessage& message);
    const TMenuItemLook* WindowMenuItem(ULONG_PTR itemData) const noexcept;
    void PerformMdiAction(WPARAM command);

    // --- The MDI client of an MDI frame (MdiClient.cpp) ---
    void SubclassMdiClient();
    void MdiClientProc(TMessage& message);
    // A new MDI child: a maximised one makes its frame repaint, a normal
    // one keeps its client size under the skinned border.
    void InitialiseMdiChild();

    // --- The menu bar (MenuBar.cpp) ---
    void MakeMenuBar();
    void TrackBarItem(int index, bool byKeyboard, TMenuLoop& loop);
    // WM_SKINMENUKEY; true when answered.
    bool MenuBarStage(TMessage& message);
    // The non-client mouse on a bar item.
    bool BarMouse(TMessage& message, TMenuBtn* item);
    // The items of a popup of the bar's loop become owner-drawn (WM_INITMENUPOPUP).
    void OwnerDrawLoopPopup(HMENU menu);
    // How an owner-drawn item of the bar's loop looks; false when not one.
    bool LoopItemLook(UINT id, ULONG_PTR itemData, TMenuItemLook& look) const;
    // The framework's menu-changed notification: the bar reads its menu again.
    void MenuChanged();
    // Alt+letter seen by a framework form: true when it opens a bar item.
    bool DialogChar(WPARAM ch);

    void ReadStyles();
    // Gives the window's controls their skin objects.
    void AttachControls();
    void ReadWindowState();
    void KeepClientRect();
    void RepositionFrame();
    void MoveChildren(int dx);

    // --- Painting (FramePaint.cpp) ---
    void DrawBorderPiece(framegeo::TBorderPiece kind, const RECT& rect, HDC dc);
    void PaintCaptionStrip(HDC dc);
    void RebuildIconBitmap();
    void ComposeCaption(HDC strip, int width, bool minimised);
    void DrawCaptionText(HDC strip, int width);
    // Evaluates the caption buttons' visibility and the room they take;
    // what the composed caption depends on.
    std::vector<int> CaptionButtonsKey();
    void DrawIcon(HDC strip);
    int StateFrame(int frameCount) const noexcept;
    std::wstring CaptionText() const;
    int CaptionTextWidth() const;
    const TBitmap& Piece(framegeo::TBorderPiece kind, int width, int height);
    void DropPieces() noexcept;

    HWND FHandle;
    TWinControl* FForm = nullptr;
    TSkinData* FSkinData;
    std::wstring FClassName;
    TWindowSubclass FSubclass;
    TWindowProcHook FFormHook;
    TWindowSubclass FMdiClientSubclass;
    // The skin's MenuUpdate when the MDI frame was prepared: switched off
    // while MDI children exist, given back when the last one goes.
    bool FMenuUpdateAtPrepare = true;
    TControlDispatch FDispatch;
    bool FPrepared = false;
    bool FCaptionStripped = false;
    int FDepth = 0;

    bool FFrameSkinned = false;
    int FFormKind = 0;   // 0 ordinary, 1 MDI frame, 2 MDI child
    int FBorderKind = 0; // 0 sizeable, 1 single, 2 no caption, 3 dialog
    bool FIsDialogClass = false;
    unsigned FSystemButtons = 0;
    bool FRightToLeft = false;
    bool FIsChildWindow = false;
    bool FResizable = false;
    int FWindowState = wsNormal;
    bool FActive = true;
    int FState = fsCreated;
    framegeo::TFrameMetrics FMetrics;
    // The metrics the window's size was last fitted to.
    std::optional<framegeo::TFrameMetrics> FFittedMetrics;

    // What Unskin gives back.
    LONG_PTR FOriginalStyle = 0;
    LONG_PTR FOriginalExStyle = 0;
    gdi::Region FOriginalRegion;
    bool FHadRegion = false;
    TColor FSavedColor = 0;
    bool FColorSaved = false;
    RECT FKeptClientRect{};
    SIZE FSystemFrameSize{};

    // --- Painting state ---
    RECT FWindowRect{};
    int FFrameWidth = 0;
    int FFrameHeight = 0;
    RECT FTextRect{};
    RECT FTextBackRect{};
    std::unique_ptr<TBitmap> FIconBitmap;
    HICON FIcon = nullptr; // the window's, not ours
    HMENU FWindowMenu = nullptr; // the system's window menu, not ours
    int FIconSize = 16;
    bool FRegionMade = false;
    int FRegionWidth = 0;
    int FRegionHeight = 0;

    // Rendered border pieces for one window size and activity, so that a
    // repaint is a few block transfers.
    struct TPieceSet {
        int Width = -1;
        int Height = -1;
        std::array<std::unique_ptr<TBitmap>, 4> Pieces;
    };
    std::array<TPieceSet, 2> FPieces; // [inactive, active]
    // The composed caption strip and what it was composed from.
    struct TCaptionKey {
        int Width = -1;
        int Height = -1;
        bool Active = false;
        bool Minimised = false;
        std::wstring Text;
        int IconSerial = 0;
        std::vector<int> Buttons; // the window state, each button's visibility, use and state
        bool operator==(const TCaptionKey&) const = default;
    };
    std::unique_ptr<TBitmap> FCaptionBitmap;
    TCaptionKey FCaptionKey;
    int FIconSerial = 0;

    std::unique_ptr<TWinSkinMenu> FSkinMenuBar;

    // --- Caption buttons ---
    TNCObject* FHotObject = nullptr;
    // The button the left button went down on: only a release on that same
    // button clicks it.
    TNCObject* FPressedObject = nullptr;
    bool FHoverTimerOn = false;
    captionrules::THintClock FHintClock;
    DWORD FLastMenuTick = 0;
    // The items of the window menu while it is open.
    // The items of the open window menu, sub-menus included; a deque keeps
    // each look where its menu item's data points while more are added.
    std::deque<TMenuItemLook> FWindowMenuItems;
    bool FLastMenuTickSet = false;
};
