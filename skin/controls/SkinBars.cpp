#include "SkinBars.h"

#include "framework/Messages.h"
#include "skin/controls/CaptionDrawing.h"
#include "skin/controls/SkinButtons.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/WinSkinData.h"

#include <commctrl.h>

#include <algorithm>

namespace {

// Frames of StatusBarEdges and ExtraImages.
constexpr int kStatusEdgeFrames = 3;
constexpr int kExtraImageFrames = 5;
constexpr int kSizeGripFrame = 5;
// Longest header text read; longer ones are cut.
constexpr int kHeaderTextLength = 200;

int Width(const RECT& rect) { return rect.right - rect.left; }
int Height(const RECT& rect) { return rect.bottom - rect.top; }

HFONT WindowFont(HWND window)
{
    if (auto font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)))
        return font;
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

HFONT ControlFont(const TControl* control, HWND window)
{
    if (control && control->Font())
        return control->Font()->Handle();
    return WindowFont(window);
}

bool ReadsRightToLeft(const TControl* control, HWND window)
{
    if (control)
        return control->BiDiMode() != bdLeftToRight;
    return (GetWindowLongPtrW(window, GWL_EXSTYLE) & (WS_EX_RTLREADING | WS_EX_LAYOUTRTL)) != 0;
}

void PaintWindowlessChildren(TControl* control, HDC dc)
{
    if (auto* windowed = dynamic_cast<TWinControl*>(control))
        windowed->PaintControls(dc);
}

void OutlineIn(HDC dc, RECT rect, HBRUSH brush)
{
    FrameRect(dc, &rect, brush);
}

RECT Inset(RECT rect, int by) noexcept
{
    InflateRect(&rect, -by, -by);
    return rect;
}

} // namespace

UINT StatusTextAlignment(std::wstring& text) noexcept
{
    size_t tabs = 0;
    while (tabs < text.size() && tabs < 2 && text[tabs] == L'\t')
        ++tabs;
    text.erase(0, tabs);
    return tabs == 0 ? DT_LEFT : tabs == 1 ? DT_CENTER : DT_RIGHT;
}

// --- TSkinStatusBar ---

const TClassInfo& TSkinStatusBar::StaticClass()
{
    static const TClassInfo& Info =
        *new TClassInfo(TClassBuilder<TSkinStatusBar>("TSkinStatusBar", TSkinControl::StaticClass()).Build());
    return Info;
}

TSkinStatusBar::TSkinStatusBar(TComponent* AOwner) : TSkinControl(AOwner) {}

bool TSkinStatusBar::BeforeMessage(TMessage& message)
{
    return !AnswerPaint(message) && TSkinControl::BeforeMessage(message);
}

void TSkinStatusBar::AfterMessage(TMessage& message)
{
    switch (message.Msg) {
    case SB_SETTEXTW:
    case SB_SETTEXTA:
    case SB_SETPARTS:
    case SB_SIMPLE:
    case SB_SETICON:
        // The bar invalidates the part it changed; the faces reach over the
        // gaps between the parts and are drawn whole.
        InvalidateRect(FHandle, nullptr, FALSE);
        break;
    default:
        TSkinControl::AfterMessage(message);
        break;
    }
}

bool TSkinStatusBar::Simple() const
{
    return SendMessageW(FHandle, SB_ISSIMPLE, 0, 0) != 0 || SendMessageW(FHandle, SB_GETPARTS, 0, 0) <= 0;
}

std::wstring TSkinStatusBar::SimpleText() const
{
    if (FControl && GetPropInfo(FControl, "SimpleText"))
        return GetTextPropByName(FControl, "SimpleText");
    // A bare bar in simple mode answers part 0 with its simple text.
    const auto length = LOWORD(SendMessageW(FHandle, SB_GETTEXTLENGTHW, 0, 0));
    std::wstring text(length + 1u, L'\0');
    SendMessageW(FHandle, SB_GETTEXTW, 0, AsLParam(text.data()));
    text.resize(std::wcslen(text.c_str()));
    return text;
}

std::vector<TStatusPanelFace> TSkinStatusBar::PanelFaces() const
{
    RECT client{};
    GetClientRect(FHandle, &client);
    std::vector<TStatusPanelFace> panels;
    if (Simple()) {
        TStatusPanelFace panel;
        panel.Rect = client;
        panel.Text = SimpleText();
        panel.RightToLeft = ReadsRightToLeft(FControl, FHandle);
        panel.Alignment = panel.RightToLeft ? DT_RIGHT : DT_LEFT;
        panels.push_back(std::move(panel));
        return panels;
    }
    const int count = static_cast<int>(SendMessageW(FHandle, SB_GETPARTS, 0, 0));
    for (int i = 0; i < count; ++i) {
        TStatusPanelFace panel;
        RECT part{};
        SendMessageW(FHandle, SB_GETRECT, static_cast<WPARAM>(i), AsLParam(&part));
        panel.Rect = AsRect(StatusPanelRect(AsRectI(part), i, count, client.right));
        const LRESULT info = SendMessageW(FHandle, SB_GETTEXTLENGTHW, static_cast<WPARAM>(i), 0);
        const UINT type = HIWORD(info);
        panel.Frame = StatusPanelFrame((type & SBT_NOBORDERS) != 0, (type & SBT_POPOUT) != 0);
        panel.OwnerDrawn = (type & SBT_OWNERDRAW) != 0;
        panel.RightToLeft = (type & SBT_RTLREADING) != 0;
        if (!panel.OwnerDrawn) {
            std::wstring text(LOWORD(info) + 1u, L'\0');
            SendMessageW(FHandle, SB_GETTEXTW, static_cast<WPARAM>(i), AsLParam(text.data()));
            text.resize(std::wcslen(text.c_str()));
            panel.Alignment = StatusTextAlignment(text);
            if (panel.RightToLeft && panel.Alignment != DT_CENTER)
                panel.Alignment = panel.Alignment == DT_LEFT ? DT_RIGHT : DT_LEFT;
            panel.Text = std::move(text);
        }
        panels.push_back(std::move(panel));
    }
    return panels;
}

HFONT TSkinStatusBar::TextFont() const
{
    return ControlFont(FControl, FHandle);
}

void TSkinStatusBar::DrawPanel(HDC dc, const TStatusPanelFace& panel) const
{
    const TDataSkinObject* edges = FSkinData->StatusBarEdges();
    if (HasImage(edges) && FForm) {
        // Texts change many times a second during a conversion: the faces
        // come from the window's cache, rendered once per size.
        const TBitmap& face = FForm->Faces().Face(*FSkinData, *edges, kStatusEdgeFrames, panel.Frame,
                                                  Width(panel.Rect), Height(panel.Rect));
        BitBlt(dc, panel.Rect.left, panel.Rect.top, face.Width(), face.Height(), face.Canvas().Handle(), 0, 0,
               SRCCOPY);
    } else if (HasImage(edges)) {
        DrawSkinObjectFrame(dc, panel.Rect, kStatusEdgeFrames, panel.Frame, *edges);
    } else if (panel.Frame != 3) {
        RECT edge = panel.Rect;
        DrawEdge(dc, &edge, panel.Frame == 1 ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    }
    if (panel.OwnerDrawn)
        return;
    RECT text = panel.Rect;
    InflateRect(&text, -2, 0);
    // An empty panel still measures one line, as a space.
    DrawCaptionText(dc, text, panel.Alignment, FEnabled, panel.Text.empty() ? L" " : panel.Text, panel.RightToLeft);
}

void TSkinStatusBar::DrawSizeGrip(HDC dc, const RECT& rect) const
{
    const TDataSkinObject* extra = FSkinData->ExtraImages();
    if (!HasImage(extra))
        return;
    const TSizeI grip{extra->Bitmap->Width() / kExtraImageFrames, extra->Bitmap->Height()};
    DrawSkinObjectFrame(dc, AsRect(SizeGripRect(AsRectI(rect), grip)), kExtraImageFrames, kSizeGripFrame, *extra);
}

void TSkinStatusBar::DrawOwnerPanel(HDC dc, int index, const TStatusPanelFace& panel) const
{
    DRAWITEMSTRUCT item{};
    item.CtlID = static_cast<UINT>(GetDlgCtrlID(FHandle));
    item.itemID = static_cast<UINT>(index);
    item.hwndItem = FHandle;
    item.hDC = dc;
    item.rcItem = panel.Rect;
    InflateRect(&item.rcItem, -2, -2);
    item.itemData = static_cast<ULONG_PTR>(SendMessageW(FHandle, SB_GETTEXTW, static_cast<WPARAM>(index), 0));
    SendMessageW(GetParent(FHandle), WM_DRAWITEM, item.CtlID, AsLParam(&item));
}

void TSkinStatusBar::DrawControl(HDC dc, const RECT& rect)
{
    FEnabled = IsWindowEnabled(FHandle) != FALSE;
    const RECT local{0, 0, Width(rect), Height(rect)};
    FWork.SetSize(local.right, local.bottom);
    HDC work = FWork.Canvas().Handle();
    FillSkinColor(work, local);
    const gdi::Selection font(work, TextFont());
    const TDataSkinObject* edges = FSkinData->StatusBarEdges();
    SetTextColor(work, ColorToRGB(edges ? edges->NormalColour2 : FSkinData->SkinColor(scButtonText)));
    const std::vector<TStatusPanelFace> panels = PanelFaces();
    for (const TStatusPanelFace& panel : panels)
        DrawPanel(work, panel);
    if (GetWindowLongPtrW(FHandle, GWL_STYLE) & SBARS_SIZEGRIP)
        DrawSizeGrip(work, local);
    BitBlt(dc, rect.left, rect.top, local.right, local.bottom, work, 0, 0, SRCCOPY);
    PaintWindowlessChildren(FControl, dc);
    for (size_t i = 0; i < panels.size(); ++i)
        if (panels[i].OwnerDrawn)
            DrawOwnerPanel(dc, static_cast<int>(i), panels[i]);
}

// --- TSkinHeader ---

const TClassInfo& TSkinHeader::StaticClass()
{
    static const TClassInfo& Info =
        *new TClassInfo(TClassBuilder<TSkinHeader>("TSkinHeader", TSkinControl::StaticClass()).Build());
    return Info;
}

TSkinHeader::TSkinHeader(TComponent* AOwner) : TSkinControl(AOwner) {}

void TSkinHeader::AttachControl(TSkinControlList* form, TSkinData* skinData, bool setColour)
{
    FHotItem = -1;
    TSkinControl::AttachControl(form, skinData, setColour);
}

void TSkinHeader::AttachWindow(HWND window, TSkinData* skinData, TSkinControlList* form)
{
    FHotItem = -1;
    TSkinControl::AttachWindow(window, skinData, form);
}

std::vector<TRectI> TSkinHeader::ItemRects() const
{
    const int count = static_cast<int>(SendMessageW(FHandle, HDM_GETITEMCOUNT, 0, 0));
    std::vector<TRectI> items(static_cast<size_t>(std::max(count, 0)));
    for (int i = 0; i < count; ++i) {
        RECT item{};
        // An item that does not answer stays empty: never hot, never drawn.
        if (SendMessageW(FHandle, HDM_GETITEMRECT, static_cast<WPARAM>(i), AsLParam(&item)))
            items[static_cast<size_t>(i)] = AsRectI(item);
    }
    return items;
}

void TSkinHeader::SetHotItem(int item)
{
    if (item == FHotItem)
        return;
    FHotItem = item;
    Redraw();
}

bool TSkinHeader::BeforeMessage(TMessage& message)
{
    switch (message.Msg) {
    case WM_PAINT:
        PaintByMessage(message);
        return false;
    case WM_ERASEBKGND:
        if (!HasImage(FSkinData->Headerbar()))
            return true;
        message.Result = 1;
        return false;
    case WM_MOUSEMOVE:
        SetHotItem(HeaderItemAt(ItemRects(), AsPointI(MessagePoint(message))));
        TrackMouseLeave(FHandle);
        return true;
    case WM_MOUSELEAVE:
        SetHotItem(-1);
        return true;
    default:
        return TSkinControl::BeforeMessage(message);
    }
}

void TSkinHeader::DrawItem(HDC dc, int index, const RECT& rect, HIMAGELIST images) const
{
    const TDataSkinObject& bar = *FSkinData->Headerbar();
    const int frames = std::max(1, bar.FrameCount);
    DrawSkinObjectFrame(dc, rect, frames, HeaderItemFrame(index == FHotItem, bar.FrameCount), bar);
    wchar_t text[kHeaderTextLength + 1]{};
    HDITEMW item{};
    item.mask = HDI_TEXT | HDI_FORMAT | HDI_IMAGE;
    item.pszText = text;
    item.cchTextMax = kHeaderTextLength;
    if (!SendMessageW(FHandle, HDM_GETITEMW, static_cast<WPARAM>(index), AsLParam(&item)))
        return;
    const int justify = item.fmt & HDF_JUSTIFYMASK;
    const UINT alignment = justify == HDF_CENTER ? DT_CENTER : justify == HDF_RIGHT ? DT_RIGHT : DT_LEFT;
    TCaptionStyle style;
    style.Enabled = FEnabled;
    style.RightToLeft = (item.fmt & HDF_RTLREADING) != 0 || ReadsRightToLeft(FControl, FHandle);
    const int image = (item.fmt & HDF_IMAGE) ? item.iImage : -1;
    DrawImageAndCaption(dc, rect, alignment, text, image, images, style);
}

void TSkinHeader::DrawControl(HDC dc, const RECT& rect)
{
    const TDataSkinObject* bar = FSkinData->Headerbar();
    if (!HasImage(bar))
        return;
    FEnabled = IsWindowEnabled(FHandle) != FALSE;
    RECT client{};
    GetClientRect(FHandle, &client);
    FWork.SetSize(client.right, client.bottom);
    HDC work = FWork.Canvas().Handle();
    FillSkinColor(work, client);
    const gdi::Selection font(work, ControlFont(FControl, FHandle));
    const TSkinColour& text = FSkinData->SkinColors()[scWindowText];
    SetTextColor(work, ColorToRGB(text.Given ? text.Colour : SystemColour(COLOR_BTNTEXT)));
    SetBkMode(work, TRANSPARENT);
    const auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(FHandle, HDM_GETIMAGELIST, 0, 0));
    const std::vector<TRectI> items = ItemRects();
    int end = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        const RECT item = AsRect(items[i]);
        if (IsRectEmpty(&item))
            continue;
        DrawItem(work, static_cast<int>(i), item, images);
        end = std::max<int>(end, item.right);
    }
    if (end < client.right)
        DrawSkinObjectFrame(work, {end, 0, client.right, client.bottom}, std::max(1, bar->FrameCount), 1, *bar);
    BitBlt(dc, rect.left, rect.top, client.right, client.bottom, work, 0, 0, SRCCOPY);
}

// --- TSkinGroupBox ---

const TClassInfo& TSkinGroupBox::StaticClass()
{
    static const TClassInfo& Info =
        *new TClassInfo(TClassBuilder<TSkinGroupBox>("TSkinGroupBox", TSkinControl::StaticClass()).Build());
    return Info;
}

TSkinGroupBox::TSkinGroupBox(TComponent* AOwner) : TSkinControl(AOwner) {}

std::wstring TSkinGroupBox::CaptionText() const
{
    std::wstring text = GetWindowTextWide(FHandle);
    if (text.empty() && FControl)
        text = GetTextPropByName(FControl, "Caption");
    return text;
}

HFONT TSkinGroupBox::TextFont() const
{
    return ControlFont(FControl, FHandle);
}

TColor TSkinGroupBox::TextColour() const
{
    if (FControl && FControl->Font())
        return FControl->Font()->Color();
    return FSkinData->SkinColor(scButtonText);
}

bool TSkinGroupBox::BeforeMessage(TMessage& message)
{
    // The paint covers a framework box whole; a bare one lies under its
    // neighbours and keeps its inside as it is.
    return !AnswerPaint(message) && TSkinControl::BeforeMessage(message);
}

void TSkinGroupBox::DrawControl(HDC dc, const RECT& rect)
{
    FEnabled = IsWindowEnabled(FHandle) != FALSE;
    const gdi::SavedState saved(dc);
    if (FControl)
        FillSkinColor(dc, rect);
    SelectObject(dc, TextFont());
    SIZE zero{};
    GetTextExtentPoint32W(dc, L"0", 1, &zero);
    const std::wstring caption = CaptionText();
    RECT measured{0, 0, 0, 0};
    if (!caption.empty())
        DrawTextWide(dc, caption, measured, DT_CALCRECT | DT_SINGLELINE);
    const bool right = (GetWindowLongPtrW(FHandle, GWL_EXSTYLE) & WS_EX_RIGHT) != 0;
    const TGroupBoxLayout layout =
        LayoutGroupBox(AsRectI(rect), zero.cy, {Width(measured), Height(measured)}, right);
    if (!FControl) {
        // What the system drew before the skin came: its two-line frame.
        const RECT frame = AsRect(layout.Legacy);
        OutlineIn(dc, frame, FSkinData->FaceBrush());
        OutlineIn(dc, Inset(frame, 1), FSkinData->FaceBrush());
    }
    const gdi::Pen pen(CreatePen(PS_SOLID, 1, ColorToRGB(FSkinData->SkinColor(scButtonShadow))));
    SelectObject(dc, pen.Get());
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    const TRectI& line = layout.Outline;
    RoundRect(dc, line.Left, line.Top, line.Right, line.Bottom, 5, 5);
    if (!caption.empty()) {
        RECT box = AsRect(layout.Caption);
        FillSkinColor(dc, box);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, ColorToRGB(FEnabled ? TextColour() : SystemColour(COLOR_BTNSHADOW)));
        DrawTextWide(dc, caption, box, TextFormatFor(DT_SINGLELINE | DT_END_ELLIPSIS | (right ? DT_RIGHT : DT_LEFT)));
    }
    PaintWindowlessChildren(FControl, dc);
}

// --- TSkinBox ---

const TClassInfo& TSkinBox::StaticClass()
{
    static const TClassInfo& Info =
        *new TClassInfo(TClassBuilder<TSkinBox>("TSkinBox", TSkinControl::StaticClass()).Build());
    return Info;
}

TSkinBox::TSkinBox(TComponent* AOwner) : TSkinControl(AOwner) {}

// --- TSkinBoxH ---

const TClassInfo& TSkinBoxH::StaticClass()
{
    static const TClassInfo& Info =
        *new TClassInfo(TClassBuilder<TSkinBoxH>("TSkinBoxH", TSkinControl::StaticClass()).Build());
    return Info;
}

TSkinBoxH::TSkinBoxH(TComponent* AOwner) : TSkinControl(AOwner) {}

bool TSkinBoxH::BeforeMessage(TMessage& message)
{
    if (message.Msg == WM_ERASEBKGND) {
        RECT window{};
        GetWindowRect(FHandle, &window);
        OffsetRect(&window, -window.left, -window.top);
        FillSkinColor(reinterpret_cast<HDC>(message.WParam), window);
        message.Result = 1;
        return false;
    }
    return TSkinControl::BeforeMessage(message);
}

void TSkinBoxH::AfterMessage(TMessage& message)
{
    if (message.Msg == WM_CTLCOLORSTATIC) {
        // The static's text stands on the same face as its background.
        SetBkColor(reinterpret_cast<HDC>(message.WParam), ColorToRGB(FSkinData->SkinColor(scButtonFace)));
        message.Result = reinterpret_cast<LRESULT>(FSkinData->FaceBrush());
        return;
    }
    TSkinControl::AfterMessage(message);
}
