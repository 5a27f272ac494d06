#include "SkinEdits.h"

#include "base/WindowClass.h"
#include "framework/GdiObjects.h"
#include "framework/Messages.h"
#include "framework/SysUtils.h"
#include "skin/controls/SkinButtons.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/SkinMessages.h"
#include "skin/data/WinSkinData.h"

#include <commctrl.h>

#include <algorithm>

namespace {

void Outline(HDC dc, const RECT& rect, COLORREF colour)
{
    const gdi::Brush brush(CreateSolidBrush(colour));
    FrameRect(dc, &rect, brush.Get());
}

RECT Inset(RECT rect, int by) noexcept
{
    InflateRect(&rect, -by, -by);
    return rect;
}

} // namespace

bool DrawEditFrame(HDC dc, const RECT& rect, HWND window, const TSkinData& skin, int whiteLines)
{
    RECT client{};
    GetClientRect(window, &client);
    // Only a bordered window has room for the frame.
    if (client.right >= rect.right - rect.left && client.bottom >= rect.bottom - rect.top)
        return false;
    // The lines stay in the border: the client's text is the window's.
    RECT inside = client;
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&inside), 2);
    RECT outer{};
    GetWindowRect(window, &outer);
    OffsetRect(&inside, rect.left - outer.left, rect.top - outer.top);
    const gdi::SavedState saved(dc);
    ExcludeClipRect(dc, inside.left, inside.top, inside.right, inside.bottom);
    Outline(dc, rect, ColorToRGB(skin.SkinColor(scButtonShadow)));
    for (int line = 1; line <= whiteLines; ++line)
        Outline(dc, Inset(rect, line), RGB(255, 255, 255));
    return true;
}

bool IsUpDownClass(std::wstring_view className)
{
    const std::wstring lower = LowerCase(std::wstring(className));
    return lower == L"msctls_updown32" || lower.find(L"spin") != std::wstring::npos
           || lower.find(L"updown") != std::wstring::npos;
}

void AttachEmbeddedUpDown(HWND window, TSkinData* skinData, TSkinControlList* form)
{
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsUpDownClass(WindowClassName(child)))
            continue;
        // Held by the list, which frees it with the window or the skin.
        if (!form->FindByWindow(child))
            HandOver(std::make_unique<TSkinUpDown>(nullptr), *form,
                     [&](TSkinControl& taken) { taken.AttachWindow(child, skinData, form); });
        return;
    }
}

// --- Progress bars ---

int ProgressFill(int length, int position, int lower, int upper) noexcept
{
    if (upper <= 0 || position <= 0 || upper <= lower)
        return 0;
    const long long part = static_cast<long long>(length) * (std::clamp(position, lower, upper) - lower);
    return static_cast<int>(part / (upper - lower));
}

const TClassInfo& TSkinProgress::StaticClass()
{
    static const TClassInfo& Info =
        *new TClassInfo(TClassBuilder<TSkinProgress>("TSkinProgress", TSkinControl::StaticClass()).Build());
    return Info;
}

TSkinProgress::TSkinProgress(TComponent* AOwner) : TSkinControl(AOwner) {}

bool TSkinProgress::BeforeMessage(TMessage& message)
{
    // Without a Progress image the bar paints itself.
    if (message.Msg == WM_PAINT && !HasImage(FSkinData->Progress()))
        return true;
    if (AnswerPaint(message))
        return false;
    return TSkinControl::BeforeMessage(message);
}

void TSkinProgress::DrawControl(HDC dc, const RECT& rect)
{
    const bool vertical = (GetWindowLongPtrW(FHandle, GWL_STYLE) & PBS_VERTICAL) != 0;
    const int width = vertical ? rect.bottom - rect.top : rect.right - rect.left;
    const int height = vertical ? rect.right - rect.left : rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return;
    PBRANGE range{};
    SendMessageW(FHandle, PBM_GETRANGE, FALSE, AsLParam(&range));
    const int position = static_cast<int>(SendMessageW(FHandle, PBM_GETPOS, 0, 0));
    FWork.SetSize(width, height);
    HDC work = FWork.Canvas().Handle();
    const TDataSkinObject* chunk = FSkinData->ProgressChunk();
    if (FSkinData->Progress()->Style == 1 && HasImage(chunk))
        DrawChunked(work, width, height, ProgressFill(width, position, 0, range.iHigh));
    else
        DrawFramed(work, width, height, ProgressFill(width, position, range.iLow, range.iHigh));
    // Drawn lying down; a quarter turn stands it up, filling from the bottom.
    if (vertical)
        RotateLeft(FWork);
    BitBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, FWork.Canvas().Handle(), 0, 0,
           SRCCOPY);
}

void TSkinProgress::DrawFramed(HDC work, int width, int height, int filled)
{
    const TDataSkinBorder& bar = *FSkinData->Progress();
    // The empty bar is the same at every update: rendered once per size.
    if (FForm) {
        const TBitmap& empty = FForm->Faces().Face(*FSkinData, bar, 2, 1, width, height, true);
        BitBlt(work, 0, 0, width, height, empty.Canvas().Handle(), 0, 0, SRCCOPY);
    } else {
        FillSkinColor(work, {0, 0, width, height});
        DrawNineSliceFrame(work, {0, 0, width, height}, *bar.Bitmap, false, bar.Tile == 1, true, 2, 1,
                           bar.Margins());
    }
    if (filled > 0)
        DrawNineSliceFrame(work, {0, 0, filled, height}, *bar.Bitmap, false, bar.Tile == 1, true, 2, 2,
                           bar.Margins());
}

void TSkinProgress::DrawChunked(HDC work, int width, int height, int filled)
{
    const TDataSkinBorder& bar = *FSkinData->Progress();
    const TDataSkinObject& chunk = *FSkinData->ProgressChunk();
    FillSkinColor(work, {0, 0, width, height});
    DrawStretchedFrame(work, {0, 0, width, height}, *bar.Bitmap, true, 1, 1);
    if (filled <= 0)
        return;
    // The chunks keep clear of the bar's edge, 2 pixels at 96 per inch.
    const int inset = FSkinData->Scaled(2);
    if (chunk.Tile != 1) {
        DrawThreePartFrame(work, {inset, inset, inset + filled, height - inset}, *chunk.Bitmap, false, 1, 1,
                           chunk.Margins());
        return;
    }
    // Whole chunks side by side, as many as the filled length takes.
    const int chunkWidth = chunk.Bitmap->Width();
    const int chunkHeight = chunk.Bitmap->Height();
    const int top = (height - chunkHeight) / 2;
    for (int x = chunk.LeftWidth + inset; x < filled && chunkWidth > 0; x += chunkWidth)
        BitBlt(work, x, top, std::min(chunkWidth, filled - x), chunkHeight, chunk.Bitmap->Canvas().Handle(), 0, 0,
               SRCCOPY);
}

// --- Combo boxes ---

const TClassInfo& TSkinComBox::StaticClass()
{
    static const TClassInfo& Info =
        *new TClassInfo(TClassBuilder<TSkinComBox>("TSkinComBox", TSkinControl::StaticClass()).Build());
    return Info;
}

TSkinComBox::TSkinComBox(TComponent* AOwner) : TSkinControl(AOwner) {}

int TSkinComBox::FaceFrame() const
{
    const HWND focus = GetFocus();
    const bool focused = focus == FHandle || (focus && GetParent(focus) == FHandle);
    return ComboFaceFrame(IsWindowEnabled(FHandle) != FALSE, (FStateBits & kPressed) != 0, focused,
                          (FStateBits & kMouseOver) != 0);
}

TSkinComBox::TComboParts TSkinComBox::ReadParts(const RECT& rect) const
{
    TComboParts parts;
    const TDataSkinBorder* button = FSkinData->ComboButton();
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    const HWND combo = ComboWindow();
    const bool known = GetComboBoxInfo(combo, &info) != FALSE;
    if (!HasImage(button) || (known && (info.stateButton & STATE_SYSTEM_INVISIBLE))) {
        parts.Hidden = true;
        return parts;
    }
    TComboInput input;
    input.Bounds = AsRectI(rect);
    input.Look = ComboLookOf(button->Style, FExtended);
    input.ButtonLeft = (GetWindowLongPtrW(FHandle, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
    if (known) {
        parts.Item = WindowRectOf(combo, info.rcItem);
        input.SystemButton = AsRectI(WindowRectOf(combo, info.rcButton));
    }
    input.ArrowWidth = GetSystemMetrics(SM_CXHSCROLL);
    input.ThumbBand = GetSystemMetrics(SM_CYVTHUMB);
    input.ButtonFrame = {button->Bitmap->Width() / std::max(1, button->FrameCount), button->Bitmap->Height()};
    parts.Look = input.Look;
    parts.ButtonLeft = input.ButtonLeft;
    parts.Layout = LayoutCombo(input);
    return parts;
}

void TSkinComBox::DrawControl(HDC dc, const RECT& rect)
{
    const TComboParts parts = ReadParts(rect);
    if (parts.Hidden)
        return;
    const int frame = FaceFrame();
    const gdi::SavedState saved(dc);
    // The text of the edit part or of the chosen item stays the control's.
    if (parts.Item)
        ExcludeClipRect(dc, parts.Item->left, parts.Item->top, parts.Item->right, parts.Item->bottom);
    switch (parts.Look) {
    case TComboLook::Extended:
        DrawExtended(dc, rect, frame, parts.Layout);
        return;
    case TComboLook::Composed: {
        const TDataSkinObject& face = parts.ButtonLeft ? *FSkinData->SunkEdge()
                                                       : static_cast<const TDataSkinObject&>(*FSkinData->ComboButton());
        DrawNineSliceFrame(dc, rect, *face.Bitmap, false, face.Tile == 1, true, face.FrameCount, frame,
                           face.Margins());
        return;
    }
    case TComboLook::Thin:
        DrawThin(dc, rect, frame, parts.Layout);
        return;
    case TComboLook::Separate:
        DrawSeparate(dc, rect, frame, parts);
        return;
    }
}

HWND TSkinComBox::ComboWindow() const
{
    if (!SameText(WindowClassName(FHandle), WC_COMBOBOXEXW))
        return FHandle;
    const auto inner = reinterpret_cast<HWND>(SendMessageW(FHandle, CBEM_GETCOMBOCONTROL, 0, 0));
    return inner ? inner : FHandle;
}

RECT TSkinComBox::WindowRectOf(HWND window, RECT rect) const
{
    // From window's client to this window's own rectangle at the origin.
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    RECT outer{};
    GetWindowRect(FHandle, &outer);
    OffsetRect(&rect, -outer.left, -outer.top);
    return rect;
}

void TSkinComBox::DrawExtended(HDC dc, const RECT& rect, int frame, const TComboLayout& layout)
{
    DrawEditFrame(dc, rect, FHandle, *FSkinData, 1);
    // The arrow goes on the button alone: the items and their images stay
    // the control's.
    const TDataSkinObject* arrow = FSkinData->ComboxArrow();
    const RECT place = AsRect(layout.Button);
    if (IsRectEmpty(&place) || !HasImage(arrow))
        return;
    FillSkinColor(dc, place);
    const int frames = std::max(1, arrow->FrameCount);
    DrawStretchedFrame(dc, place, *arrow->Bitmap, true, frames, std::min(frame, frames));
}

void TSkinComBox::DrawThin(HDC dc, const RECT& rect, int frame, const TComboLayout& layout)
{
    // The thin look: a border in the border colour around the button frame.
    const TDataSkinBorder& button = *FSkinData->ComboButton();
    // The band and the inner outline take the context's own brush.
    const auto current = static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH));
    const RECT outline = Inset(rect, 1);
    FrameRect(dc, &outline, current);
    const RECT band = AsRect(layout.Band);
    FillRect(dc, &band, current);
    Outline(dc, rect, ColorToRGB(FSkinData->SkinColor(scButtonShadow)));
    DrawStretchedFrame(dc, AsRect(layout.Button), *button.Bitmap, true, button.FrameCount, frame);
}

void TSkinComBox::DrawSeparate(HDC dc, const RECT& rect, int frame, const TComboParts& parts)
{
    const TDataSkinBorder& button = *FSkinData->ComboButton();
    const TComboLayout& layout = parts.Layout;
    ExcludeClipRect(dc, layout.Inside.Left, layout.Inside.Top, layout.Inside.Right, layout.Inside.Bottom);
    if (const TDataSkinObject* sunk = FSkinData->SunkEdge(); HasImage(sunk))
        DrawNineSliceFrame(dc, rect, *sunk->Bitmap, false, sunk->Tile == 1, sunk->Trans == 1, sunk->FrameCount,
                           std::min(frame, sunk->FrameCount), sunk->Margins());
    const TBitmap& glyph =
        parts.ButtonLeft && button.Bitmap2 && !button.Bitmap2->Empty() ? *button.Bitmap2 : *button.Bitmap;
    DrawCentredFrame(dc, AsRect(layout.Button), glyph, true, button.FrameCount, std::min(frame, button.FrameCount));
    if (const TDataSkinObject* extra = FSkinData->ExtraImages(); HasImage(extra))
        DrawCentredFrame(dc, AsRect(layout.GlyphArea), *extra->Bitmap, true, 5, std::min(frame, 5));
}

bool TSkinComBox::BeforeMessage(TMessage& message)
{
    // An owner-drawn combo box whose owner draws nothing: its items (in the
    // box and in the list) are drawn here in the skin's colours.
    if (message.Msg == CN_DRAWITEM && FControl && message.LParam) {
        const LONG_PTR style = GetWindowLongPtrW(FHandle, GWL_STYLE);
        if (style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) {
            DrawItem(*AsPointer<DRAWITEMSTRUCT>(message.LParam));
            message.Result = TRUE;
            return false;
        }
    }
    return TSkinControl::BeforeMessage(message);
}

void TSkinComBox::DrawItem(const DRAWITEMSTRUCT& item)
{
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    FillColor(item.hDC, item.rcItem, selected ? FSkinData->SkinColor(scHilight) : clWindow);
    if (item.itemID == static_cast<UINT>(-1))
        return;
    const auto length = SendMessageW(FHandle, CB_GETLBTEXTLEN, item.itemID, 0);
    if (length <= 0)
        return;
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(std::max<LRESULT>(0, SendMessageW(FHandle, CB_GETLBTEXT, item.itemID,
                                                                       AsLParam(text.data())))));
    const int mode = SetBkMode(item.hDC, TRANSPARENT);
    const COLORREF colour = SetTextColor(
        item.hDC, ColorToRGB(FSkinData->SkinColor(selected ? scHilightText : scWindowText)));
    RECT place = item.rcItem;
    place.left += 2;
    DrawTextW(item.hDC, text.c_str(), static_cast<int>(text.size()), &place,
              TextFormatFor(DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS));
    SetTextColor(item.hDC, colour);
    SetBkMode(item.hDC, mode);
    if (item.itemState & ODS_FOCUS)
        DrawFocusRect(item.hDC, &item.rcItem);
}

void TSkinComBox::AfterMessage(TMessage& message)
{
    switch (message.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        return;
    case WM_MOUSEMOVE: {
        RECT window{};
        GetWindowRect(FHandle, &window);
        const TComboParts parts = ReadParts({0, 0, window.right - window.left, window.bottom - window.top});
        const bool over = !parts.Hidden && Contains(parts.Layout.Button, AsPointI(MessagePoint(message))) &&
                          IsWindowEnabled(FHandle);
        if (over != ((FStateBits & kMouseOver) != 0)) {
            FStateBits ^= kMouseOver;
            Redraw();
        }
        TrackMouseLeave(FHandle);
        return;
    }
    case WM_DRAWITEM:
    case WM_NCPAINT:
        Redraw();
        return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        FStateBits |= kPressed;
        Redraw();
        return;
    case WM_LBUTTONUP:
        FStateBits &= ~kPressed;
        Redraw();
        return;
    case WM_MOUSELEAVE:
        if (FStateBits & kMouseOver) {
            FStateBits &= ~kMouseOver;
            Redraw();
        }
        return;
    default:
        TSkinControl::AfterMessage(message);
        return;
    }
}

const TClassInfo& TSkinScrollbarH::StaticClass()
{
    static const TClassInfo& Info =
        *new TClassInfo(TClassBuilder<TSkinScrollbarH>("TSkinScrollbarH", TSkinScrollbar::StaticClass()).Build());
    return Info;
}

TSkinScrollbarH::TSkinScrollbarH(TComponent* AOwner) : TSkinScrollbar(AOwner)
{
    SetSingleBar();
}

void AttachComboListBar(HWND combo, TSkinData* skinData, TSkinControlList* form)
{
    if (combo && SameText(WindowClassName(combo), WC_COMBOBOXEXW))
        combo = reinterpret_cast<HWND>(SendMessageW(combo, CBEM_GETCOMBOCONTROL, 0, 0));
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    if (!combo || !GetComboBoxInfo(combo, &info) || !info.hwndList || form->FindByWindow(info.hwndList))
        return;
    // A simple combo box shows its list inside itself, a child with bars
    // like any list's; the drop-down list is a pop-up of its own.
    const LONG_PTR listStyle = GetWindowLongPtrW(info.hwndList, GWL_STYLE);
    const bool inside = (listStyle & WS_CHILD) && !(listStyle & WS_POPUP) && GetParent(info.hwndList) == combo;
    std::unique_ptr<TSkinControl> bar;
    if (inside)
        bar = std::make_unique<TSkinScrollbarH>(nullptr);
    else
        bar = std::make_unique<TComboxScrollBar>(nullptr);
    HandOver(std::move(bar), *form, [&](TSkinControl& taken) { taken.AttachWindow(info.hwndList, skinData, form); });
}

// --- Up-down buttons ---

const TClassInfo& TSkinUpDown::StaticClass()
{
    static const TClassInfo& Info =
        *new TClassInfo(TClassBuilder<TSkinUpDown>("TSkinUpDown", TSkinControl::StaticClass()).Build());
    return Info;
}

TSkinUpDown::TSkinUpDown(TComponent* AOwner) : TSkinControl(AOwner) {}

bool TSkinUpDown::BeforeMessage(TMessage& message)
{
    if (AnswerPaint(message))
        return false;
    switch (message.Msg) {
    case WM_MOUSEMOVE:
        FPointer = WindowPoint(message);
        return TSkinControl::BeforeMessage(message);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        FPointer = WindowPoint(message);
        // The control runs its own press (capture, repeat); the face follows.
        CallOldWndProc(message);
        FStateBits |= kPressed;
        PaintWindow(nullptr);
        return false;
    case WM_LBUTTONUP:
        FStateBits &= ~kPressed;
        CallOldWndProc(message);
        PaintWindow(nullptr);
        return false;
    default:
        return TSkinControl::BeforeMessage(message);
    }
}

TPointI TSkinUpDown::WindowPoint(const TMessage& message) const
{
    POINT point = MessagePoint(message);
    MapWindowPoints(FHandle, nullptr, &point, 1);
    RECT window{};
    GetWindowRect(FHandle, &window);
    return {point.x - window.left, point.y - window.top};
}

void TSkinUpDown::DrawControl(HDC dc, const RECT& rect)
{
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return;
    FWork.SetSize(width, height);
    HDC work = FWork.Canvas().Handle();
    FillSkinColor(work, {0, 0, width, height});
    const std::optional<TRectI> edit = ParentEdit();
    if (edit) {
        // Inside an edit the buttons sit in its text area, white around them.
        const gdi::Brush white(CreateSolidBrush(RGB(255, 255, 255)));
        const RECT whole{0, 0, width, height};
        FillRect(work, &whole, white.Get());
    }
    const TRectI face = UpDownFace({width, height}, edit);
    const bool horizontal = (GetWindowLongPtrW(FHandle, GWL_STYLE) & UDS_HORZ) != 0;
    const TUpDownHalves halves = SplitUpDown(face, horizontal);
    const bool enabled = IsWindowEnabled(FHandle) != FALSE;
    const bool pressed = (FStateBits & kPressed) != 0;
    DrawHalf(work, AsRect(halves.First), 0, UpDownHalfFrame(halves.First, enabled, pressed, FPointer), horizontal);
    DrawHalf(work, AsRect(halves.Second), 1, UpDownHalfFrame(halves.Second, enabled, pressed, FPointer), horizontal);
    BitBlt(dc, rect.left, rect.top, width, height, work, 0, 0, SRCCOPY);
}

std::optional<TRectI> TSkinUpDown::ParentEdit() const
{
    HWND parent = GetParent(FHandle);
    if (!parent || !SameText(WindowClassName(parent), L"edit"))
        return std::nullopt;
    RECT edit{};
    RECT own{};
    GetWindowRect(parent, &edit);
    GetWindowRect(FHandle, &own);
    OffsetRect(&edit, -own.left, -own.top);
    return AsRectI(edit);
}

void TSkinUpDown::DrawHalf(HDC work, const RECT& half, int arrow, int frame, bool horizontal)
{
    const TDataSkinBorder* face = horizontal ? FSkinData->UpDownHorz() : FSkinData->UpDownVert();
    const int skinFrame = arrow * 4 + frame;
    if (HasImage(face)) {
        DrawStretchedFrame(work, half, *face->Bitmap, true, 8, skinFrame);
        if (face->Bitmap2 && !face->Bitmap2->Empty())
            DrawCentredFrame(work, half, *face->Bitmap2, true, 8, skinFrame);
        return;
    }
    // No image: a plain face with a small arrow drawn at its centre.
    const bool sunk = frame == ffPressed || frame == ffHot;
    const gdi::Brush fill(CreateSolidBrush(ColorToRGB(FSkinData->SkinColor(sunk ? scButtonShadow : scButtonFace))));
    FillRect(work, &half, fill.Get());
    Outline(work, half, ColorToRGB(FSkinData->SkinColor(scButtonDkShadow)));
    const int cx = (half.left + half.right) / 2;
    const int cy = (half.top + half.bottom) / 2 - (horizontal ? 0 : 2);
    // Up and left for the first arrow, down and right for the second.
    const int sign = arrow == 0 ? -1 : 1;
    POINT tip[3];
    if (horizontal) {
        tip[0] = {cx + 2 * sign, cy};
        tip[1] = {cx - sign, cy - 3};
        tip[2] = {cx - sign, cy + 3};
    } else {
        tip[0] = {cx, cy + 2 * sign};
        tip[1] = {cx - 3, cy - sign};
        tip[2] = {cx + 3, cy - sign};
    }
    const COLORREF ink = ColorToRGB(frame == ffDisabled ? FSkinData->SkinColor(scButtonShadow)
                                                            : FSkinData->SkinColor(scButtonText));
    const gdi::Brush brush(CreateSolidBrush(ink));
    const gdi::Pen pen(CreatePen(PS_SOLID, 1, ink));
    const gdi::Selection brushIn(work, brush.Get());
    const gdi::Selection penIn(work, pen.Get());
    Polygon(work, tip, 3);
}

// --- Track bars ---

const TClassInfo& TSkinTrackBar::StaticClass()
{
    static const TClassInfo& Info =
        *new TClassInfo(TClassBuilder<TSkinTrackBar>("TSkinTrackBar", TSkinControl::StaticClass()).Build());
    return Info;
}

TSkinTrackBar::TSkinTrackBar(TComponent* AOwner) : TSkinControl(AOwner) {}

bool TSkinTrackBar::BeforeMessage(TMessage& message)
{
    // The parent's WM_NOTIFY comes back to the control reflected.
    if ((message.Msg == CN_NOTIFY || message.Msg == WM_NOTIFY) && message.LParam) {
        const auto* header = AsPointer<NMHDR>(message.LParam);
        if (header->code == static_cast<UINT>(NM_CUSTOMDRAW) && header->hwndFrom == FHandle) {
            message.Result = CustomDraw(*AsPointer<NMCUSTOMDRAW>(message.LParam));
            return false;
        }
    }
    return TSkinControl::BeforeMessage(message);
}

LRESULT TSkinTrackBar::CustomDraw(const NMCUSTOMDRAW& draw)
{
    if (draw.dwDrawStage == CDDS_PREPAINT)
        return CDRF_NOTIFYITEMDRAW;
    if (draw.dwDrawStage != CDDS_ITEMPREPAINT)
        return CDRF_DODEFAULT;
    switch (draw.dwItemSpec) {
    case TBCD_THUMB:
        DrawThumb(draw.hdc);
        return CDRF_SKIPDEFAULT;
    case TBCD_CHANNEL:
        DrawChannel(draw.hdc);
        return CDRF_SKIPDEFAULT;
    default:
        return CDRF_DODEFAULT;
    }
}

void TSkinTrackBar::DrawChannel(HDC dc)
{
    RECT channel{};
    SendMessageW(FHandle, TBM_GETCHANNELRECT, 0, AsLParam(&channel));
    const bool vertical = (GetWindowLongPtrW(FHandle, GWL_STYLE) & TBS_VERT) != 0;
    if (vertical) {
        if (const TDataSkinObject* image = FSkinData->TrackVert(); HasImage(image)) {
            // The control reports a vertical channel lying: x and y exchanged.
            channel = {channel.top, channel.left, channel.bottom, channel.right};
            const int width = image->Bitmap->Width();
            const LONG left = channel.left + std::max(0L, (channel.right - channel.left - width) / 2);
            DrawNineSliceFrame(dc, {left, channel.top, left + width, channel.bottom}, *image->Bitmap, false, false,
                               image->Trans == 1, 1, 1, {0, image->TopHeight, 0, image->BottomHeight});
            return;
        }
    } else if (const TDataSkinObject* image = FSkinData->Track(); HasImage(image)) {
        const int height = image->Bitmap->Height();
        const LONG top = channel.top + std::max(0L, (channel.bottom - channel.top - height) / 2);
        DrawThreePartFrame(dc, {channel.left, top, channel.right, top + height}, *image->Bitmap, false, 1, 1,
                           image->Margins());
        return;
    }
    // No image for this orientation: the channel's outline in the border colour.
    Outline(dc, channel, ColorToRGB(FSkinData->SkinColor(scButtonShadow)));
}

void TSkinTrackBar::DrawThumb(HDC dc)
{
    RECT thumb{};
    SendMessageW(FHandle, TBM_GETTHUMBRECT, 0, AsLParam(&thumb));
    const bool vertical = (GetWindowLongPtrW(FHandle, GWL_STYLE) & TBS_VERT) != 0;
    const TDataSkinObject* image = vertical && HasImage(FSkinData->TrackbarThumbVert())
                                       ? FSkinData->TrackbarThumbVert()
                                       : FSkinData->TrackbarThumbHorz();
    if (HasImage(image)) {
        DrawStretchedFrame(dc, thumb, *image->Bitmap, true, 5, 2);
        return;
    }
    Outline(dc, thumb, ColorToRGB(FSkinData->SkinColor(scButtonShadow)));
}

// --- Edits ---

const TClassInfo& TSkinEdit::StaticClass()
{
    static const TClassInfo& Info =
        *new TClassInfo(TClassBuilder<TSkinEdit>("TSkinEdit", TSkinControl::StaticClass()).Build());
    return Info;
}

TSkinEdit::TSkinEdit(TComponent* AOwner) : TSkinControl(AOwner) {}

void TSkinEdit::DrawControl(HDC dc, const RECT& rect)
{
    if (InSet(FSkinData->SkinControls, xcSpin) && FForm)
        AttachEmbeddedUpDown(FHandle, FSkinData, FForm);
    DrawEditFrame(dc, rect, FHandle, *FSkinData, 2);
}

bool TSkinEdit::BeforeMessage(TMessage& message)
{
    if (message.Msg != WM_SKINPAINTCLIENT || message.LParam != kPaintClientKey)
        return TSkinControl::BeforeMessage(message);
    // Another part of the engine wants the text area alone, drawn by the edit.
    if (const auto dc = reinterpret_cast<HDC>(message.WParam); dc && GetObjectType(dc) != 0) {
        TMessage paint{WM_PAINT, message.WParam, 0, 0};
        CallOldWndProc(paint);
    }
    message.Result = kPaintClientKey;
    return false;
}

void TSkinEdit::AfterMessage(TMessage& message)
{
    switch (message.Msg) {
    case WM_NCPAINT:
    case WM_PAINT:
        PaintWindow(nullptr);
        return;
    case WM_PRINT:
        // A printed edit shows the frame it shows on screen.
        if (message.WParam && (message.LParam & PRF_NONCLIENT)) {
            RECT rect{};
            GetWindowRect(FHandle, &rect);
            OffsetRect(&rect, -rect.left, -rect.top);
            DrawEditFrame(reinterpret_cast<HDC>(message.WParam), rect, FHandle, *FSkinData, 2);
        }
        return;
    default:
        TSkinControl::AfterMessage(message);
        return;
    }
}
