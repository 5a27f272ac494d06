#include "SkinScrollbar.h"

#include "framework/Messages.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/SkinMessages.h"
#include "skin/data/WinSkinData.h"

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
    // A press on an arrow or the track ran the system's own loop, which drew
    // the native bar; a press that scrolled nothing leaves no change that the
    // check below would see.
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
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
