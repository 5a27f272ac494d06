#include "SkinScrollbar.h"

#include "framework/Messages.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/SkinMessages.h"
#include "skin/data/WinSkinData.h"

#include "base/PaintScope.h"
#include "base/WindowObject.h"

#include <algorithm>

namespace {

// Clears a flag when the scope ends.
struct TRestore {
    bool& Flag;
    ~TRestore() { Flag = false; }
};

const wchar_t kOverlayClass[] = L"TWScrollbar";

ATOM OverlayClass(WNDPROC procedure)
{
    static const ATOM atom = [procedure] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.lpszClassName = kOverlayClass;
        windowClass.style = CS_DBLCLKS;
        return RegisterClassExW(&windowClass);
    }();
    return atom;
}

} // namespace

bool TWScrollbar::TBar::Same(const TBar& other) const noexcept
{
    return Visible == other.Visible && EqualRect(&Screen, &other.Screen) && EqualRect(&Placement, &other.Placement)
           && ButtonSize == other.ButtonSize && Thumb == other.Thumb && Available == other.Available;
}

// --- TWScrollbar ---

TWScrollbar::TWScrollbar(TSkinControl& owner, HWND target, TOverlayKind kind)
    : FOwner(owner), FTarget(target), FKind(kind), FButtonSize(GetSystemMetrics(SM_CXHSCROLL)),
      FAlive(std::make_shared<bool>(true))
{
    // An overlay is a sibling of its control: a window without a parent has
    // nothing to be laid over.
    HWND parent = GetParent(target);
    if (!parent || !(GetWindowLongPtrW(target, GWL_STYLE) & WS_CHILD) || !OverlayClass(&TWScrollbar::WndProc))
        return;
    FWindow = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOPARENTNOTIFY, kOverlayClass, L"",
                              WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 0, 0, parent, nullptr, GetModuleHandleW(nullptr),
                              this);
}

TWScrollbar::~TWScrollbar()
{
    *FAlive = false;
    if (FWindow) {
        UnbindWindowObject(FWindow);
        DestroyWindow(FWindow);
    }
}

bool TWScrollbar::ReadBar(TBar& bar) const
{
    const bool vertical = Vertical();
    if (FKind == okControl) {
        SCROLLINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = SIF_ALL;
        if (!GetScrollInfo(FTarget, SB_CTL, &info) || !GetWindowRect(FTarget, &bar.Screen))
            return false;
        const int length = vertical ? bar.Screen.bottom - bar.Screen.top : bar.Screen.right - bar.Screen.left;
        bar.ButtonSize = FButtonSize;
        bar.Thumb = ControlThumb(length, FButtonSize,
                                 {info.nMin, info.nMax, static_cast<int>(info.nPage), info.nPos});
        bar.Available = IsWindowEnabled(FTarget) != FALSE;
        bar.Visible = true;
    } else {
        SCROLLBARINFO info{};
        info.cbSize = sizeof(info);
        if (!QueryScrollBarInfo(FTarget, FKind == okHorizontal ? OBJID_HSCROLL : OBJID_VSCROLL, info))
            return false;
        bar.Screen = info.rcScrollBar;
        bar.ButtonSize = ArrowSize(vertical);
        bar.Thumb = {info.xyThumbTop, info.xyThumbBottom};
        bar.Available = !(info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE);
        bar.Visible = !(info.rgstate[0] & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN));
    }
    bar.Visible = bar.Visible && IsWindowVisible(FTarget) && !IsRectEmpty(&bar.Screen);
    bar.Placement = bar.Screen;
    // Mapping the rectangle (not two points) keeps it right in mirrored parents.
    MapWindowPoints(nullptr, GetParent(FTarget), reinterpret_cast<POINT*>(&bar.Placement), 2);
    return true;
}

bool TWScrollbar::Vertical() const noexcept
{
    if (FKind == okControl)
        return (GetWindowLongPtrW(FTarget, GWL_STYLE) & SBS_VERT) != 0;
    return FKind == okVertical;
}

TScrollFace TWScrollbar::Face() const
{
    TScrollFace face;
    face.Vertical = Vertical();
    const RECT& place = FBar.Placement;
    face.Length = face.Vertical ? place.bottom - place.top : place.right - place.left;
    face.Breadth = face.Vertical ? place.right - place.left : place.bottom - place.top;
    face.ButtonSize = ArrowLength(face.Length, FBar.ButtonSize);
    face.Thumb = FBar.Thumb;
    face.Available = FBar.Available;
    face.HotPart = FHotPart;
    face.Tracking = FTracking;
    if (FTracking && FHotPart == spThumb && FKind != okControl) {
        // The system drags the thumb: show it under the cursor, not where
        // the control has scrolled to so far.
        POINT cursor{};
        GetCursorPos(&cursor);
        const int delta = face.Vertical ? cursor.y - FPressCursor.y : cursor.x - FPressCursor.x;
        face.Thumb = DragThumb(FThumbAtPress, delta, face.Length, face.ButtonSize, FBar.Thumb.End - FBar.Thumb.Start);
    }
    return face;
}

bool TWScrollbar::SkinHasBar() const
{
    const TSkinData* skin = FOwner.SkinData();
    const TDataSkinObject* glyphs = skin ? skin->Scrollbar() : nullptr;
    return HasImage(glyphs);
}

void TWScrollbar::Layout()
{
    if (!FWindow || FLayingOut)
        return;
    TBar bar;
    if (!ReadBar(bar) || !bar.Visible || !SkinHasBar() || !FOwner.Active()) {
        FBar = bar;
        HideOverlay();
        return;
    }
    FBar = bar;
    UINT flags = SWP_NOACTIVATE | SWP_SHOWWINDOW;
    HWND after = InsertAfter();
    if (after == FWindow)
        flags |= SWP_NOZORDER;
    FLayingOut = true;
    SetWindowPos(FWindow, after, bar.Placement.left, bar.Placement.top, bar.Placement.right - bar.Placement.left,
                 bar.Placement.bottom - bar.Placement.top, flags);
    FLayingOut = false;
    FShown = true;
    Repaint();
}

HWND TWScrollbar::InsertAfter() const
{
    // Directly above the control: above it may sit the control's other
    // overlay already, which stays where it is.
    HWND above = GetWindow(FTarget, GW_HWNDPREV);
    while (above && above != FWindow && OverlayOf(above) == FTarget)
        above = GetWindow(above, GW_HWNDPREV);
    return above ? above : HWND_TOP;
}

HWND TWScrollbar::OverlayOf(HWND window) noexcept
{
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC)) != &TWScrollbar::WndProc)
        return nullptr;
    const auto* overlay = reinterpret_cast<const TWScrollbar*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return overlay ? overlay->FTarget : nullptr;
}

void TWScrollbar::HideOverlay()
{
    if (FWindow && FShown)
        ShowWindow(FWindow, SW_HIDE);
    FShown = false;
}

void TWScrollbar::Follow()
{
    if (!FWindow || FLayingOut || FFollowing)
        return;
    // Reading the bar may send the control messages that come back here.
    FFollowing = true;
    const TRestore following{FFollowing};
    TBar bar;
    const bool read = ReadBar(bar);
    const bool wanted = read && bar.Visible && SkinHasBar() && FOwner.Active();
    if (!wanted || !FShown) {
        if (wanted != FShown)
            Layout();
        return;
    }
    if (bar.Same(FBar))
        return;
    if (EqualRect(&bar.Placement, &FBar.Placement) && bar.ButtonSize == FBar.ButtonSize) {
        // Scrolled only: the window stays where it is (moving it costs more
        // than painting it).
        FBar = bar;
        Repaint();
        return;
    }
    Layout();
}

void TWScrollbar::Repaint()
{
    // Painted with the control's own invalidated parts, not once per change:
    // filling a list item by item would otherwise paint the bar every time.
    if (FWindow && FShown)
        InvalidateRect(FWindow, nullptr, FALSE);
}

void TWScrollbar::SetHotPart(int part)
{
    if (part == FHotPart)
        return;
    FHotPart = part;
    Repaint();
}

void TWScrollbar::SetEnabled(bool enabled)
{
    if (FWindow)
        EnableWindow(FWindow, enabled);
}

void TWScrollbar::Paint(HDC dc)
{
    // The state as it is now: painting may come between two changes of the
    // control that the owner has not followed yet.
    TBar bar;
    if (ReadBar(bar) && bar.Visible && EqualRect(&bar.Placement, &FBar.Placement)) {
        FBar.Thumb = bar.Thumb;
        FBar.Available = bar.Available;
    }
    const TSkinData* skin = FOwner.SkinData();
    RECT client{};
    GetClientRect(FWindow, &client);
    if (skin)
        PaintScrollFace(dc, client, *skin, Face(), FWork);
}

int TWScrollbar::Along(POINT client) const
{
    return Vertical() ? client.y : client.x;
}

void TWScrollbar::MouseMove(POINT client)
{
    if (!FMouseInside) {
        FMouseInside = true;
        TrackMouseLeave(FWindow);
    }
    const TScrollFace face = Face();
    SetHotPart(ScrollHitTest(Along(client), face.Length, face.ButtonSize, face.Thumb));
}

void TWScrollbar::LeftButtonDown(POINT client)
{
    GetCursorPos(&FPressCursor);
    TBar bar;
    if (ReadBar(bar) && bar.Visible)
        FBar = bar;
    FThumbAtPress = FBar.Thumb.Start;
    const TScrollFace face = Face();
    FHotPart = ScrollHitTest(Along(client), face.Length, face.ButtonSize, face.Thumb);
    FTracking = true;
    Repaint();
    ReleaseCapture();
    // The system's own tracking (arrows and paging with auto-repeat, the
    // thumb drag) runs inside this call, on the native bar.
    const std::shared_ptr<bool> alive = FAlive;
    if (FKind == okControl) {
        SendMessageW(FTarget, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(client.x, client.y));
    } else {
        POINT screen = client;
        ClientToScreen(FWindow, &screen);
        SendMessageW(FTarget, WM_NCLBUTTONDOWN, FKind == okHorizontal ? HTHSCROLL : HTVSCROLL,
                     MAKELPARAM(screen.x, screen.y));
    }
    if (!*alive)
        return;
    FTracking = false;
    ReleaseCapture();
    // The cursor may have left the bar while the system tracked it.
    POINT cursor{};
    GetCursorPos(&cursor);
    FMouseInside = FWindow && WindowFromPoint(cursor) == FWindow;
    if (FMouseInside)
        TrackMouseLeave(FWindow);
    ScreenToClient(FWindow, &cursor);
    FHotPart = FMouseInside ? ScrollHitTest(Along(cursor), face.Length, face.ButtonSize, Face().Thumb) : spNone;
    Follow();
    Repaint();
}

void TWScrollbar::LeftButtonUp(POINT client)
{
    FTracking = false;
    ReleaseCapture();
    if (FKind == okControl) {
        PostMessageW(FTarget, WM_LBUTTONUP, MK_LBUTTON, MAKELPARAM(client.x, client.y));
        Repaint();
        return;
    }
    POINT screen = client;
    ClientToScreen(FWindow, &screen);
    PostMessageW(FTarget, WM_NCLBUTTONUP, FKind == okHorizontal ? HTHSCROLL : HTVSCROLL,
                 MAKELPARAM(screen.x, screen.y));
}

LRESULT TWScrollbar::Message(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (const auto painted = AnswerSelfPaint(FWindow, msg, [this](HDC dc) { Paint(dc); }))
        return *painted;
    const POINT point{LoWordSigned(lParam), HiWordSigned(lParam)};
    switch (msg) {
    case WM_MOUSEMOVE:
        MouseMove(point);
        return 0;
    case WM_MOUSELEAVE:
        FMouseInside = false;
        if (!FTracking)
            SetHotPart(spNone);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        LeftButtonDown(point);
        return 0;
    case WM_LBUTTONUP:
        LeftButtonUp(point);
        return 0;
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
        // Systems that send the wheel to the window under the cursor: it
        // scrolls the control, as over the native bar.
        return SendMessageW(FTarget, msg, wParam, lParam);
    case WM_SKINQUERY:
        return 1;
    case WM_NCDESTROY:
        // The parent went first: the overlay goes with it.
        FWindow = nullptr;
        FShown = false;
        return DefWindowProcW(nullptr, msg, wParam, lParam);
    default:
        return DefWindowProcW(FWindow, msg, wParam, lParam);
    }
}

LRESULT CALLBACK TWScrollbar::WndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* overlay = WindowObject<TWScrollbar>(window, msg, lParam);
    if (!overlay)
        return DefWindowProcW(window, msg, wParam, lParam);
    if (msg == WM_NCCREATE)
        overlay->FWindow = window;
    try {
        return overlay->Message(msg, wParam, lParam);
    } catch (...) {
        // Painting and mirroring failures leave the overlay as it was.
        return DefWindowProcW(window, msg, wParam, lParam);
    }
}
