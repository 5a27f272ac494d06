#include "SkinScrollbar.h"

#include "framework/Messages.h"
#include "framework/SysUtils.h"
#include "skin/controls/SkinBars.h"
#include "skin/controls/SkinButtons.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/SkinMessages.h"
#include "skin/data/WinSkinData.h"

#include "base/WindowObject.h"

#include <algorithm>
#include <cctype>

namespace {

// Clears a flag when the scope ends.
struct TRestore {
    bool& Flag;
    ~TRestore() { Flag = false; }
};

} // namespace

int ArrowSize(bool vertical) noexcept
{
    // The system's metric, not the record's dxyLineButton: Wine reports the
    // thumb's length there.
    return GetSystemMetrics(vertical ? SM_CYVSCROLL : SM_CXHSCROLL);
}

bool TWScrollbar::TBar::Same(const TBar& other) const noexcept
{
    return Visible == other.Visible && EqualRect(&Screen, &other.Screen) && EqualRect(&Placement, &other.Placement)
           && ButtonSize == other.ButtonSize && Thumb == other.Thumb && Available == other.Available;
}

namespace {

const wchar_t kOverlayClass[] = L"TWScrollbar";

// Frames of the Scrollbar image (23 side by side).
constexpr int kGlyphFrames = 23;
enum TGlyphFrame {
    gfLeft = 1, gfRight = 5, gfUp = 9, gfDown = 13, gfHorzGrip = 17, gfVertGrip = 20
};
constexpr int kPressedOffset = 1;
constexpr int kArrowOverOffset = 3;
constexpr int kGripOverOffset = 2;
// Frames of the track images: enabled, and greyed by the system.
constexpr int kTrackFrames = 4;
constexpr int kTrackEnabled = 1;
constexpr int kTrackGreyed = 3;
constexpr int kDefaultThumbFrames = 3;

// Messages that only ask the control something: nothing of its bars can
// change while it answers them, and they come often.
bool OnlyAsks(UINT msg) noexcept
{
    switch (msg) {
    case WM_NCHITTEST: case WM_SETCURSOR: case WM_GETDLGCODE: case WM_GETTEXT: case WM_GETTEXTLENGTH:
    case WM_GETFONT: case WM_GETOBJECT: case WM_SKINQUERY: case WM_DESTROY: case WM_NCDESTROY:
    // A scroll-bar control is read through these very messages.
    case SBM_GETSCROLLINFO: case SBM_GETSCROLLBARINFO: case SBM_GETPOS: case SBM_GETRANGE:
        return true;
    default:
        return false;
    }
}

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

RECT Span(const TScrollFace& face, int from, int to)
{
    return face.Vertical ? RECT{0, from, face.Breadth, to} : RECT{from, 0, to, face.Breadth};
}

// A glyph square of size across the bar, centred across it, from..to along it.
RECT GlyphRect(const TScrollFace& face, int from, int to, int size)
{
    const int across = std::max(0, (face.Breadth - size) / 2);
    return face.Vertical ? RECT{across, from, across + size, to} : RECT{from, across, to, across + size};
}

int ArrowFrame(int normal, int part, const TScrollFace& face)
{
    if (face.HotPart != part)
        return normal;
    return normal + (face.Tracking ? kPressedOffset : kArrowOverOffset);
}

void DrawThumb(HDC dc, const TSkinData& skin, const TScrollFace& face, int gripSize)
{
    const TDataSkinObject* thumb = face.Vertical ? skin.VertScrollThumb() : skin.HorzScrollThumb();
    const bool hot = face.HotPart == spThumb;
    if (thumb) {
        const int count = thumb->FrameCount > 0 ? thumb->FrameCount : kDefaultThumbFrames;
        const int frame = std::min(count, hot ? (face.Tracking ? 2 : 3) : 1);
        DrawSkinObjectFrame(dc, Span(face, face.Thumb.Start, face.Thumb.End), count, frame, *thumb);
    }
    if (face.Thumb.End - face.Thumb.Start <= gripSize + 2)
        return;
    const int middle = (face.Thumb.Start + face.Thumb.End) / 2;
    const int frame = (face.Vertical ? gfVertGrip : gfHorzGrip) + (hot ? (face.Tracking ? kPressedOffset : kGripOverOffset) : 0);
    DrawStretchedFrame(dc, GlyphRect(face, middle - gripSize / 2, middle - gripSize / 2 + gripSize, gripSize),
                       *skin.Scrollbar()->Bitmap, true, kGlyphFrames, frame);
}

} // namespace

bool PaintScrollFace(HDC dc, const RECT& rect, const TSkinData& skin, const TScrollFace& face, TBitmap& work)
{
    const TDataSkinObject* glyphs = skin.Scrollbar();
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (!glyphs || !glyphs->Bitmap || glyphs->Bitmap->Empty() || width <= 0 || height <= 0)
        return false;
    if (work.Width() != width || work.Height() != height)
        work.SetSize(width, height);
    HDC canvas = work.Canvas().Handle();
    TSkinControl::FillColor(canvas, {0, 0, width, height}, skin.SkinColor(scButtonFace));

    const int arrow = ArrowLength(face.Length, face.ButtonSize);
    if (const TDataSkinObject* track = face.Vertical ? skin.VertScroll() : skin.HorzScroll())
        DrawSkinObjectFrame(canvas, Span(face, arrow, face.Length - arrow), kTrackFrames,
                            face.Available ? kTrackEnabled : kTrackGreyed, *track);

    const TBitmap& strip = *glyphs->Bitmap;
    const int gripSize = strip.Height();
    const int thickness = std::min(face.Breadth, BarThickness(gripSize, face.ButtonSize));
    DrawStretchedFrame(canvas, GlyphRect(face, 0, arrow, thickness), strip, true, kGlyphFrames,
                       ArrowFrame(face.Vertical ? gfUp : gfLeft, spFirstArrow, face));
    DrawStretchedFrame(canvas, GlyphRect(face, face.Length - arrow, face.Length, thickness), strip, true,
                       kGlyphFrames, ArrowFrame(face.Vertical ? gfDown : gfRight, spSecondArrow, face));

    const bool thumbInside = face.Thumb.End > face.Thumb.Start && face.Thumb.Start >= 0
                             && face.Thumb.End <= face.Length;
    if (face.Available && thumbInside)
        DrawThumb(canvas, skin, face, gripSize);
    BitBlt(dc, rect.left, rect.top, width, height, canvas, 0, 0, SRCCOPY);
    return true;
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
    const POINT point{LoWordSigned(lParam), HiWordSigned(lParam)};
    switch (msg) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT paint{};
        if (HDC dc = BeginPaint(FWindow, &paint)) {
            Paint(dc);
            EndPaint(FWindow, &paint);
        }
        return 0;
    }
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

// --- TSkinScrollbar ---

const TClassInfo& TSkinScrollbar::StaticClass()
{
    static const TClassInfo& Info =
        *new TClassInfo(TClassBuilder<TSkinScrollbar>("TSkinScrollbar", TSkinControl::StaticClass()).Build());
    return Info;
}

const TClassInfo& TSkinListView::StaticClass()
{
    static const TClassInfo& Info =
        *new TClassInfo(TClassBuilder<TSkinListView>("TSkinListView", TSkinScrollbar::StaticClass()).Build());
    return Info;
}

TSkinScrollbar::TSkinScrollbar(TComponent* AOwner) : TSkinControl(AOwner) {}

TSkinScrollbar::~TSkinScrollbar()
{
    FHorizontal.reset();
    FVertical.reset();
}

namespace {

bool HasBorder(HWND window)
{
    return (GetWindowLongPtrW(window, GWL_STYLE) & WS_BORDER)
           || (GetWindowLongPtrW(window, GWL_EXSTYLE) & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE));
}

} // namespace

void TSkinScrollbar::AttachControl(TSkinControlList* form, TSkinData* skinData, bool /*setColour*/)
{
    if (FAttached)
        return;
    TSkinControl::AttachControl(form, skinData, false);
    if (!FAttached)
        return;
    // A control without a BorderStyle property counts as bordered, but only
    // a window that has a border gets our frame over it.
    FBorder = !FSingleBar && !SameText(GetEnumPropByName(FControl, "BorderStyle"), "bsnone")
              && FControl->ClassName() != "TImageScrollBox" && HasBorder(FHandle);
    const TPropInfo* fixed = GetPropInfo(FControl, "FixedColor");
    if (fixed && fixed->Kind == TTypeKind::tkInteger) {
        FSavedFixedColour = GetOrdPropByName(FControl, "FixedColor");
        FFixedColourSaved = true;
        SetPropByName(FControl, "FixedColor", std::to_wstring(FSkinData->SkinColor(scButtonFace)));
    }
    MakeOverlays();
}

void TSkinScrollbar::AttachWindow(HWND window, TSkinData* skinData, TSkinControlList* form)
{
    if (FAttached)
        return;
    TSkinControl::AttachWindow(window, skinData, form);
    FBorder = !FSingleBar && HasBorder(FHandle);
    MakeOverlays();
}

void TSkinScrollbar::MakeOverlays()
{
    // The control's own drawing of its bars must stay under the overlays.
    const LONG_PTR style = GetWindowLongPtrW(FHandle, GWL_STYLE);
    if (!(style & WS_CLIPSIBLINGS)) {
        SetWindowLongPtrW(FHandle, GWL_STYLE, style | WS_CLIPSIBLINGS);
        FClipSiblingsAdded = true;
    }
    FHorizontal = std::make_unique<TWScrollbar>(*this, FHandle, okHorizontal);
    FVertical = std::make_unique<TWScrollbar>(*this, FHandle, okVertical);
    const bool enabled = IsWindowEnabled(FHandle) != FALSE;
    for (TWScrollbar* overlay : {FHorizontal.get(), FVertical.get()}) {
        overlay->SetEnabled(enabled);
        overlay->Layout();
    }
    RedrawWindow(FHandle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void TSkinScrollbar::FollowBars()
{
    if (FHorizontal)
        FHorizontal->Follow();
    if (FVertical)
        FVertical->Follow();
}

void TSkinScrollbar::GiveBack()
{
    FHorizontal.reset();
    FVertical.reset();
    if (FLife == slDestroyed)
        return;
    if (FClipSiblingsAdded) {
        SetWindowLongPtrW(FHandle, GWL_STYLE, GetWindowLongPtrW(FHandle, GWL_STYLE) & ~WS_CLIPSIBLINGS);
        FClipSiblingsAdded = false;
    }
    if (FFixedColourSaved && FControl) {
        SetPropByName(FControl, "FixedColor", std::to_wstring(FSavedFixedColour));
        FFixedColourSaved = false;
    }
    RedrawWindow(FHandle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE);
}

void TSkinScrollbar::Deactivate()
{
    if (!FActive)
        return;
    GiveBack();
    TSkinControl::Deactivate();
}

void TSkinScrollbar::Switched(bool on)
{
    for (TWScrollbar* overlay : {FHorizontal.get(), FVertical.get()})
        if (overlay) {
            if (on)
                overlay->Layout();
            else
                overlay->HideOverlay();
        }
}

void TSkinScrollbar::SkinChanged()
{
    if (FFixedColourSaved && FControl)
        SetPropByName(FControl, "FixedColor", std::to_wstring(FSkinData->SkinColor(scButtonFace)));
    TSkinControl::SkinChanged();
    Switched(true);
}

void TSkinScrollbar::DrawFrame(HDC windowDC) const
{
    RECT rect{};
    GetWindowRect(FHandle, &rect);
    OffsetRect(&rect, -rect.left, -rect.top);
    const gdi::Brush outer(CreateSolidBrush(ColorToRGB(FSkinData->SkinColor(scButtonShadow))));
    const gdi::Brush inner(CreateSolidBrush(ColorToRGB(FSkinData->SkinColor(scButtonFace))));
    FrameRect(windowDC, &rect, outer.Get());
    InflateRect(&rect, -1, -1);
    FrameRect(windowDC, &rect, inner.Get());
}

void TSkinScrollbar::FillCorner(HDC windowDC) const
{
    if (!FHorizontal || !FVertical || !FHorizontal->Shown() || !FVertical->Shown())
        return;
    RECT window{};
    GetWindowRect(FHandle, &window);
    const RECT vertical = FVertical->ScreenRect();
    const RECT horizontal = FHorizontal->ScreenRect();
    RECT corner{vertical.left, horizontal.top, vertical.right, horizontal.bottom};
    OffsetRect(&corner, -window.left, -window.top);
    FillSkinColor(windowDC, corner);
}

bool TSkinScrollbar::BeforeMessage(TMessage& message)
{
    switch (message.Msg) {
    case WM_NCPAINT: {
        CallOldWndProc(message);
        const gdi::WindowDC dc(FHandle);
        if (dc) {
            if (FBorder)
                DrawFrame(dc.Get());
            FillCorner(dc.Get());
        }
        FollowBars();
        return false;
    }
    case WM_NCDESTROY:
        // The overlays are the parent's children: they must not outlive the control.
        FHorizontal.reset();
        FVertical.reset();
        return TSkinControl::BeforeMessage(message);
    default:
        return TSkinControl::BeforeMessage(message);
    }
}

void TSkinScrollbar::AfterMessage(TMessage& message)
{
    switch (message.Msg) {
    case WM_HSCROLL:
    case WM_VSCROLL:
        // Only the control's own bars: a scroll-bar child reports with its window.
        if (!message.LParam)
            if (TWScrollbar* overlay = message.Msg == WM_HSCROLL ? FHorizontal.get() : FVertical.get())
                overlay->SetHotPart(LOWORD(message.WParam));
        break;
    case CM_VISIBLECHANGED:
        Switched(message.WParam != 0);
        break;
    case CM_ENABLEDCHANGED:
    case WM_ENABLE:
        for (TWScrollbar* overlay : {FHorizontal.get(), FVertical.get()})
            if (overlay)
                overlay->SetEnabled(IsWindowEnabled(FHandle) != FALSE);
        TSkinControl::AfterMessage(message);
        break;
    case WM_SKINPAINTTO:
        if (message.LParam == kSkinEngineKey) {
            if (message.WParam)
                DrawFrame(reinterpret_cast<HDC>(message.WParam));
            message.Result = kSkinEngineKey;
        }
        break;
    default:
        TSkinControl::AfterMessage(message);
        break;
    }
    if (!OnlyAsks(message.Msg))
        FollowBars();
}

// --- TSkinListView ---

TSkinListView::TSkinListView(TComponent* AOwner) : TSkinScrollbar(AOwner) {}

// The header gives its window procedure back before the list view's object goes.
TSkinListView::~TSkinListView() = default;

void TSkinListView::AttachControl(TSkinControlList* form, TSkinData* skinData, bool setColour)
{
    TSkinScrollbar::AttachControl(form, skinData, setColour);
    if (FAttached)
        FollowHeader();
}

void TSkinListView::AttachWindow(HWND window, TSkinData* skinData, TSkinControlList* form)
{
    TSkinScrollbar::AttachWindow(window, skinData, form);
    if (FAttached)
        FollowHeader();
}

void TSkinListView::FollowHeader()
{
    if (FLife != slAttached)
        return;
    const auto header = reinterpret_cast<HWND>(SendMessageW(FHandle, LVM_GETHEADER, 0, 0));
    if (!header || (FHeader && FHeader->Handle() == header && FHeader->Life() == slAttached))
        return;
    // Outside the frame's list: this object owns it and passes on skin
    // changes and switches.
    FHeader = std::make_unique<TSkinHeader>(nullptr);
    FHeader->AttachWindow(header, FSkinData, nullptr);
}

void TSkinListView::Deactivate()
{
    if (!FActive)
        return;
    if (FHeader) {
        const HWND header = FHeader->Handle();
        FHeader.reset();
        if (FLife != slDestroyed && IsWindow(header))
            RedrawWindow(header, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
    }
    TSkinScrollbar::Deactivate();
}

void TSkinListView::SkinChanged()
{
    TSkinScrollbar::SkinChanged();
    if (FHeader)
        FHeader->SkinChanged();
}

void TSkinListView::Switched(bool on)
{
    TSkinScrollbar::Switched(on);
    if (FHeader && FHeader->Life() == slAttached)
        SendMessageW(FHeader->Handle(), WM_SKINSWITCH, on ? 1 : 0, 0);
}

void TSkinListView::AfterMessage(TMessage& message)
{
    TSkinScrollbar::AfterMessage(message);
    if (message.Msg == WM_PAINT || message.Msg == WM_STYLECHANGED)
        FollowHeader();
}

// --- TSkinScrollBarControl ---

const TClassInfo& TSkinScrollBarControl::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo(
        TClassBuilder<TSkinScrollBarControl>("TSkinScrollBarControl", TSkinControl::StaticClass()).Build());
    return Info;
}

TSkinScrollBarControl::TSkinScrollBarControl(TComponent* AOwner) : TSkinControl(AOwner) {}

TSkinScrollBarControl::~TSkinScrollBarControl()
{
    FOverlay.reset();
}

void TSkinScrollBarControl::AttachControl(TSkinControlList* form, TSkinData* skinData, bool /*setColour*/)
{
    if (FAttached)
        return;
    TSkinControl::AttachControl(form, skinData, false);
    if (FAttached)
        MakeOverlay();
}

void TSkinScrollBarControl::AttachWindow(HWND window, TSkinData* skinData, TSkinControlList* form)
{
    if (FAttached)
        return;
    TSkinControl::AttachWindow(window, skinData, form);
    MakeOverlay();
}

void TSkinScrollBarControl::MakeOverlay()
{
    FOverlay = std::make_unique<TWScrollbar>(*this, FHandle, okControl);
    FOverlay->SetEnabled(IsWindowEnabled(FHandle) != FALSE);
    FOverlay->Layout();
}

void TSkinScrollBarControl::Deactivate()
{
    if (!FActive)
        return;
    FOverlay.reset();
    TSkinControl::Deactivate();
    if (FLife != slDestroyed)
        RedrawWindow(FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
}

void TSkinScrollBarControl::Switched(bool on)
{
    if (!FOverlay)
        return;
    if (on)
        FOverlay->Layout();
    else
        FOverlay->HideOverlay();
}

bool TSkinScrollBarControl::BeforeMessage(TMessage& message)
{
    if (message.Msg == WM_NCDESTROY)
        FOverlay.reset();
    return TSkinControl::BeforeMessage(message);
}

void TSkinScrollBarControl::AfterMessage(TMessage& message)
{
    if (message.Msg == CM_VISIBLECHANGED)
        Switched(message.WParam != 0);
    else if (message.Msg == CM_ENABLEDCHANGED || message.Msg == WM_ENABLE) {
        if (FOverlay)
            FOverlay->SetEnabled(IsWindowEnabled(FHandle) != FALSE);
    }
    // The base paints nothing here: the overlay covers the whole control.
    if (!OnlyAsks(message.Msg) && FOverlay)
        FOverlay->Follow();
}

// --- TComboxScrollBar ---

namespace {

// The drop-down list's start-tracking message.
constexpr UINT LBCB_STARTTRACK = 0x1AE;

bool SameBar(const SCROLLBARINFO& a, const SCROLLBARINFO& b)
{
    return EqualRect(&a.rcScrollBar, &b.rcScrollBar) && a.xyThumbTop == b.xyThumbTop
           && a.xyThumbBottom == b.xyThumbBottom && a.rgstate[0] == b.rgstate[0];
}

} // namespace

const TClassInfo& TComboxScrollBar::StaticClass()
{
    static const TClassInfo& Info =
        *new TClassInfo(TClassBuilder<TComboxScrollBar>("TComboxScrollBar", TSkinControl::StaticClass()).Build());
    return Info;
}

TComboxScrollBar::TComboxScrollBar(TComponent* AOwner)
    : TSkinControl(AOwner), FButtonSize(ArrowSize(true))
{
}

bool TComboxScrollBar::ReadBar(SCROLLBARINFO& info) const
{
    info = {};
    info.cbSize = sizeof(info);
    return QueryScrollBarInfo(FHandle, OBJID_VSCROLL, info)
           && !(info.rgstate[0] & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN)) && !IsRectEmpty(&info.rcScrollBar);
}

bool TComboxScrollBar::BeforeMessage(TMessage& message)
{
    switch (message.Msg) {
    case WM_NCMOUSEMOVE:
        // The system would draw its own hot arrows.
        return message.WParam != HTVSCROLL && message.WParam != HTHSCROLL;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
        if (TrackThumb(message)) {
            message.Result = 0;
            return false;
        }
        return true;
    default:
        return TSkinControl::BeforeMessage(message);
    }
}

void TComboxScrollBar::AfterMessage(TMessage& message)
{
    switch (message.Msg) {
    case WM_NCPAINT:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case LBCB_STARTTRACK:
        PaintWindow(nullptr);
        return;
    default:
        TSkinControl::AfterMessage(message);
        break;
    }
    // The list redraws its native bar whenever it scrolls (keys, wheel,
    // selection): draw ours again whenever the bar changed.
    SCROLLBARINFO info{};
    if (!OnlyAsks(message.Msg) && IsWindowVisible(FHandle) && ReadBar(info) && !SameBar(info, FPainted))
        PaintWindow(nullptr);
}

void TComboxScrollBar::DrawControl(HDC dc, const RECT& /*rect*/)
{
    SCROLLBARINFO info{};
    if (!ReadBar(info)) {
        FPainted = info;
        return;
    }
    RECT window{};
    GetWindowRect(FHandle, &window);
    RECT bar = info.rcScrollBar;
    OffsetRect(&bar, -window.left, -window.top);
    TScrollFace face;
    face.Vertical = true;
    face.Length = bar.bottom - bar.top;
    face.Breadth = bar.right - bar.left;
    face.ButtonSize = FButtonSize;
    face.Thumb = {info.xyThumbTop, info.xyThumbBottom};
    face.Available = !(info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE);
    if (FTracking) {
        const int length = info.xyThumbBottom - info.xyThumbTop;
        const int start = std::clamp(face.ButtonSize + FTrackOffset, face.ButtonSize,
                                     std::max(face.ButtonSize, face.Length - face.ButtonSize - length));
        face.Thumb = {start, start + length};
        face.HotPart = spThumb;
        face.Tracking = true;
    }
    if (PaintScrollFace(dc, bar, *FSkinData, face, FWork))
        FPainted = info;
}

bool TComboxScrollBar::TrackThumb(const TMessage& message)
{
    SCROLLBARINFO bar{};
    if (message.WParam != HTVSCROLL || !ReadBar(bar))
        return false;
    const POINT press{LoWordSigned(message.LParam), HiWordSigned(message.LParam)};
    const int along = press.y - bar.rcScrollBar.top;
    if (along < bar.xyThumbTop || along >= bar.xyThumbBottom)
        return false;
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    if (!GetScrollInfo(FHandle, SB_VERT, &info))
        return false;
    const TScrollRange range{info.nMin, info.nMax, static_cast<int>(info.nPage), info.nPos};
    const int button = ArrowLength(bar.rcScrollBar.bottom - bar.rcScrollBar.top, FButtonSize);
    const int track = (bar.rcScrollBar.bottom - bar.rcScrollBar.top) - 2 * button;
    const int thumb = bar.xyThumbBottom - bar.xyThumbTop;
    const int offsetAtPress = bar.xyThumbTop - button;
    SetCapture(FHandle);
    FTracking = true;
    FTrackOffset = offsetAtPress;
    int position = info.nPos;
    MSG msg{};
    // The loop ends with the button's release, or when another window took
    // the mouse (the list closed under the press).
    while (GetCapture() == FHandle) {
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            WaitMessage();
            continue;
        }
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (msg.message == WM_LBUTTONUP || msg.message == WM_NCLBUTTONUP) {
            SendMessageW(FHandle, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, position), 0);
            PostMessageW(FHandle, WM_VSCROLL, SB_ENDSCROLL, 0);
            break;
        }
        if (msg.message != WM_MOUSEMOVE && msg.message != WM_NCMOUSEMOVE) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
            continue;
        }
        POINT cursor{};
        GetCursorPos(&cursor);
        FTrackOffset = std::max(0, offsetAtPress + static_cast<int>(cursor.y - press.y));
        const int now = TrackedPosition(FTrackOffset, track, thumb, range);
        if (now != position) {
            position = now;
            SendMessageW(FHandle, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, position), 0);
        }
        PaintWindow(nullptr);
    }
    FTracking = false;
    if (GetCapture() == FHandle)
        ReleaseCapture();
    PaintWindow(nullptr);
    return true;
}
