#include "SkinTabs.h"

#include "framework/ComCtrls.h"
#include "framework/GdiObjects.h"
#include "framework/Messages.h"
#include "skin/controls/CaptionDrawing.h"
#include "skin/controls/SkinButtons.h"
#include "skin/controls/SkinEdits.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/SkinMessages.h"
#include "skin/data/WinSkinData.h"

#include <commctrl.h>

#include <algorithm>

namespace {

// Face frames of the Tabs image.
constexpr int kTabSelected = 2;
constexpr int kTabFrames = 5;
// The close boxes of page controls with this Tag.
constexpr int kCloseBoxTag = 7777;
// The pane's margins when it comes from the Tabs image itself.
// Tab texts longer than this are cut.
constexpr int kTabTextLength = 80;

// Frees a page after the click on its close box has unwound: wParam the
// page, lParam its window; both must still match a page of the control.
UINT FreePageMessage()
{
    static const UINT message = RegisterWindowMessageW(L"VidkilnSkinTabFreePage");
    return message;
}

bool HasImage(const std::unique_ptr<TBitmap>& bitmap) noexcept
{
    return bitmap && !bitmap->Empty() && bitmap->Width() > 0 && bitmap->Height() > 0;
}

// Margins of an image that was turned like the pane.
RECT TurnMargins(const RECT& margins, TTabSide side) noexcept
{
    switch (side) {
    case tsdBottom: return {margins.left, margins.bottom, margins.right, margins.top};
    case tsdLeft: return {margins.top, margins.right, margins.bottom, margins.left};
    case tsdRight: return {margins.bottom, margins.left, margins.top, margins.right};
    default: return margins;
    }
}

// The tab's text and image, read in the window's character set.
struct TTabItem {
    std::wstring Text;
    int Image = -1;
};

TTabItem ReadTabItem(HWND window, int index, bool unicode)
{
    TTabItem item;
    if (unicode) {
        wchar_t text[kTabTextLength + 1]{};
        TCITEMW query{};
        query.mask = TCIF_TEXT | TCIF_IMAGE;
        query.pszText = text;
        query.cchTextMax = kTabTextLength;
        if (SendMessageW(window, TCM_GETITEMW, static_cast<WPARAM>(index), AsLParam(&query))) {
            item.Text = text;
            item.Image = query.iImage;
        }
        return item;
    }
    char text[kTabTextLength + 1]{};
    TCITEMA query{};
    query.mask = TCIF_TEXT | TCIF_IMAGE;
    query.pszText = text;
    query.cchTextMax = kTabTextLength;
    if (SendMessageA(window, TCM_GETITEMA, static_cast<WPARAM>(index), AsLParam(&query))) {
        item.Text = AnsiToWide(text);
        item.Image = query.iImage;
    }
    return item;
}

// The small cross of a close box: its outline and both diagonals.
void DrawCloseBox(HDC dc, const RECT& box)
{
    const POINT outline[] = {{box.left, box.top}, {box.right, box.top}, {box.right, box.bottom},
                             {box.left, box.bottom}, {box.left, box.top}};
    Polyline(dc, outline, 5);
    MoveToEx(dc, box.left, box.top, nullptr);
    LineTo(dc, box.right + 1, box.bottom + 1);
    MoveToEx(dc, box.right, box.top, nullptr);
    LineTo(dc, box.left - 1, box.bottom + 1);
}

} // namespace

// --- Tab and page controls ---

const TClassInfo& TSkinTab::StaticClass()
{
    static const TClassInfo& Info =
        *new TClassInfo(TClassBuilder<TSkinTab>("TSkinTab", TSkinControl::StaticClass()).Build());
    return Info;
}

TSkinTab::TSkinTab(TComponent* AOwner) : TSkinControl(AOwner) {}

TSkinTab::~TSkinTab() = default;

void TSkinTab::AttachControl(TSkinControlList* form, TSkinData* skinData, bool setColour)
{
    if (FAttached)
        return;
    TSkinControl::AttachControl(form, skinData, setColour);
    FEnabled = (GetWindowLongPtrW(FHandle, GWL_STYLE) & WS_DISABLED) == 0;
    // Close boxes belong to page controls, whose pages the skin may free.
    FCloseButtons = FControl && FControl->Tag == kCloseBoxTag && FControl->Is<TPageControl>();
    PrepareTabBitmaps();
    AttachUpDown();
}

void TSkinTab::AttachWindow(HWND window, TSkinData* skinData, TSkinControlList* form)
{
    if (FAttached)
        return;
    TSkinControl::AttachWindow(window, skinData, form);
    FFocused = GetFocus() == window;
    FEnabled = IsWindowEnabled(window) != FALSE;
    PrepareTabBitmaps();
    AttachUpDown();
}

void TSkinTab::SkinChanged()
{
    PrepareTabBitmaps();
    TSkinControl::SkinChanged();
}

void TSkinTab::PrepareTabBitmaps()
{
    const LONG_PTR style = GetWindowLongPtrW(FHandle, GWL_STYLE);
    FTabPosition = TabSideOf((style & TCS_BOTTOM) != 0, (style & TCS_VERTICAL) != 0);
    FTabBitmap.reset();
    FPaneBitmap.reset();
    const TDataSkinBorder* tabs = FSkinData ? FSkinData->Tabs() : nullptr;
    if (!tabs || !tabs->Bitmap || tabs->Bitmap->Empty())
        return;
    FTabBitmap = tabs->Bitmap->Clone();
    FTabBitmap->SetPixelFormat(pf24bit);
    const TDataSkinObject* pane = tabs->Style == 0 ? nullptr : FSkinData->TabPane();
    const TBitmap* paneImage = tabs->Style == 0 ? tabs->Bitmap2.get() : (pane ? pane->Bitmap.get() : nullptr);
    if (paneImage && !paneImage->Empty()) {
        FPaneBitmap = paneImage->Clone();
        FPaneBitmap->SetPixelFormat(pf24bit);
    }
    FPaneMargins = TurnMargins(pane ? pane->Margins() : FSkinData->Scaled(kTabsPaneMargins), FTabPosition);
    switch (FTabPosition) {
    case tsdBottom:
        FlipVertically(*FTabBitmap);
        if (HasImage(FPaneBitmap))
            FlipVertically(*FPaneBitmap);
        break;
    case tsdLeft:
        if (HasImage(FPaneBitmap))
            RotateLeft(*FPaneBitmap);
        break;
    case tsdRight:
        if (HasImage(FPaneBitmap))
            RotateRight(*FPaneBitmap);
        break;
    default:
        break;
    }
}

HWND TSkinTab::AttachUpDown()
{
    HWND upDown = FindWindowExW(FHandle, nullptr, UPDOWN_CLASSW, nullptr);
    if (!upDown || !FForm || FForm->FindByWindow(upDown))
        return upDown;
    // Owned by the list like every skin object of a bare window.
    HandOver(std::make_unique<TSkinUpDown>(nullptr), *FForm,
             [&](TSkinUpDown& taken) { taken.AttachWindow(upDown, FSkinData, FForm); });
    return upDown;
}

bool TSkinTab::BeforeMessage(TMessage& message)
{
    if (message.Msg == FreePageMessage()) {
        FreePage(message);
        return false;
    }
    switch (message.Msg) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
        PaintByMessage(message);
        return false;
    case WM_ERASEBKGND:
        // The strip and the pane cover all; without a pane the control's
        // erase stays in the display area.
        if (!HasImage(FPaneBitmap))
            return true;
        message.Result = 1;
        return false;
    case WM_MOUSEMOVE:
        TrackHot(message);
        return true;
    case WM_MOUSELEAVE:
        if (FHotTab != -1) {
            FHotTab = -1;
            Redraw();
        }
        return true;
    case WM_LBUTTONDOWN:
        if (FCloseButtons && ClickCloseBox(message)) {
            message.Result = 0;
            return false;
        }
        return true;
    default:
        return TSkinControl::BeforeMessage(message);
    }
}

void TSkinTab::TrackHot(const TMessage& message)
{
    TCHITTESTINFO hit{};
    hit.pt = MessagePoint(message);
    const int tab = static_cast<int>(SendMessageW(FHandle, TCM_HITTEST, 0, AsLParam(&hit)));
    if (tab == FHotTab)
        return;
    FHotTab = tab;
    TrackMouseLeave(FHandle);
    Redraw();
}

bool TSkinTab::ClickCloseBox(const TMessage& message)
{
    // Without the Tabs image the strip is the control's, with no boxes on it.
    if (!HasImage(FTabBitmap))
        return false;
    RECT client{};
    GetClientRect(FHandle, &client);
    const TStripGeometry geometry = Geometry(client);
    const TPointI upright = ToUprightPoint(AsPointI(MessagePoint(message)), geometry.Strip, FTabPosition);
    // The boxes are where the paint puts them, worked out from the same tabs.
    const int count = static_cast<int>(SendMessageW(FHandle, TCM_GETITEMCOUNT, 0, 0));
    int tab = -1;
    for (int i = 0; i < count && tab == -1; ++i) {
        RECT item{};
        if (SendMessageW(FHandle, TCM_GETITEMRECT, static_cast<WPARAM>(i), AsLParam(&item)) &&
            HitsCloseBox(TabCloseBox(UprightTab(AsRectI(item), geometry, FTabPosition)), upright))
            tab = i;
    }
    if (tab == -1)
        return false;
    HWND form = GetAncestor(FHandle, GA_ROOT);
    if (SendMessageW(form, WM_SKINTABCLOSE, reinterpret_cast<WPARAM>(FHandle), tab) != 0)
        return true;
    // The form may have changed the pages while it was asked: the tab is
    // looked up now, and the page freed only after this click is over.
    auto* pages = dynamic_cast<TPageControl*>(FControl);
    int visible = -1;
    for (int i = 0; pages && i < pages->PageCount(); ++i) {
        TTabSheet* page = pages->Pages(i);
        if (page->TabVisible() && ++visible == tab) {
            PostMessageW(FHandle, FreePageMessage(), AsWParam(page), reinterpret_cast<LPARAM>(page->HandleIfAllocated()));
            break;
        }
    }
    return true;
}

void TSkinTab::FreePage(TMessage& message)
{
    message.Result = 0;
    auto* pages = dynamic_cast<TPageControl*>(FControl);
    for (int i = 0; pages && i < pages->PageCount(); ++i) {
        TTabSheet* page = pages->Pages(i);
        // Only a page still in the control, with the window it had, is freed.
        if (AsWParam(page) == message.WParam && reinterpret_cast<LPARAM>(page->HandleIfAllocated()) == message.LParam) {
            delete page;
            return;
        }
    }
}

TStripGeometry TSkinTab::Geometry(const RECT& rect) const
{
    RECT display = rect;
    SendMessageW(FHandle, TCM_ADJUSTRECT, FALSE, AsLParam(&display));
    return TabStripGeometry(AsRectI(rect), AsRectI(display), FTabPosition);
}

void TSkinTab::DrawControl(HDC dc, const RECT& rect)
{
    FEnabled = IsWindowEnabled(FHandle) != FALSE;
    DrawSurface(dc, rect, Geometry(rect));
    // The control's own paint is never run, so its windowless children
    // would go unpainted.
    if (auto* control = dynamic_cast<TWinControl*>(FControl))
        control->PaintControls(dc);
}

void TSkinTab::DrawSurface(HDC dc, const RECT& rect, const TStripGeometry& geometry)
{
    HWND upDown = AttachUpDown();
    const gdi::SavedState saved(dc);
    // The scroll arrows paint themselves, skinned, over the strip.
    if (upDown && IsWindowVisible(upDown)) {
        RECT arrows{};
        GetWindowRect(upDown, &arrows);
        MapWindowPoints(nullptr, FHandle, reinterpret_cast<POINT*>(&arrows), 2);
        ExcludeClipRect(dc, arrows.left, arrows.top, arrows.right, arrows.bottom);
    }
    if (HasImage(FTabBitmap))
        DrawStrip(dc, geometry);
    if (HasImage(FPaneBitmap))
        DrawPane(dc, AsRect(geometry.Display));
    // What neither covers (the slivers beside the pane) shows the parent.
    const TRectI& strip = geometry.Strip;
    const TRectI& display = geometry.Display;
    if (HasImage(FTabBitmap))
        ExcludeClipRect(dc, strip.Left, strip.Top, strip.Right, strip.Bottom);
    ExcludeClipRect(dc, display.Left, display.Top, display.Right, display.Bottom);
    FillParentColor(dc, rect);
}

void TSkinTab::DrawStrip(HDC dc, const TStripGeometry& geometry)
{
    const TSizeI size = geometry.Upright;
    if (size.Width <= 0 || size.Height <= 0)
        return;
    FStripBitmap.SetSize(size.Width, size.Height);
    HDC strip = FStripBitmap.Canvas().Handle();
    FillParentColor(strip, {0, 0, size.Width, size.Height});
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(FHandle, WM_GETFONT, 0, 0));
    const gdi::Selection fontIn(strip, font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
    SetBkMode(strip, TRANSPARENT);
    const int count = static_cast<int>(SendMessageW(FHandle, TCM_GETITEMCOUNT, 0, 0));
    const int selected = static_cast<int>(SendMessageW(FHandle, TCM_GETCURSEL, 0, 0));
    for (int i = 0; i < count; ++i) {
        RECT item{};
        if (SendMessageW(FHandle, TCM_GETITEMRECT, static_cast<WPARAM>(i), AsLParam(&item)))
            DrawTab(strip, i, UprightTab(AsRectI(item), geometry, FTabPosition), selected);
    }
    if (FTabPosition == tsdLeft)
        RotateLeft(FStripBitmap);
    else if (FTabPosition == tsdRight)
        RotateRight(FStripBitmap);
    const TRectI& at = geometry.Strip;
    BitBlt(dc, at.Left, at.Top, at.Width(), at.Height(), FStripBitmap.Canvas().Handle(), 0, 0, SRCCOPY);
}

void TSkinTab::DrawTab(HDC strip, int index, const TRectI& upright, int selected)
{
    const TDataSkinBorder& tabs = *FSkinData->Tabs();
    const int frame = TabFrame(index, selected, FHotTab, FEnabled, tabs.FrameCount);
    RECT margins = tabs.Margins();
    if (FTabPosition == tsdBottom)
        std::swap(margins.top, margins.bottom);
    DrawNineSliceFrame(strip, AsRect(upright), *FTabBitmap, false, tabs.Tile == 1, tabs.Trans == 1,
                       std::max(tabs.FrameCount, 1), frame, margins);
    RECT text = AsRect(upright);
    if (FCloseButtons) {
        const TRectI box = TabCloseBox(upright);
        const gdi::Pen pen(CreatePen(PS_SOLID, 1, ColorToRGB(tabs.NormalColour2)));
        const gdi::Selection penIn(strip, pen.Get());
        DrawCloseBox(strip, AsRect(box));
        text.right = box.Left;
    }
    SetTextColor(strip, ColorToRGB(frame == kTabSelected ? tabs.PressedColour2 : tabs.NormalColour2));
    const TTabItem item = ReadTabItem(FHandle, index, FUnicode);
    HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessageW(FHandle, TCM_GETIMAGELIST, 0, 0));
    DrawImageAndCaption(strip, text, DT_CENTER, item.Text, item.Image, images,
                        {FEnabled, (TextFormatFor(0) & DT_RTLREADING) != 0});
}

void TSkinTab::DrawPane(HDC dc, const RECT& display)
{
    const TDataSkinObject* pane = FSkinData->Tabs()->Style == 0 ? nullptr : FSkinData->TabPane();
    const bool tile = pane && pane->Tile == 1;
    DrawNineSliceFrame(dc, display, *FPaneBitmap, false, tile, false, 1, 1, FPaneMargins);
}

// --- Controls drawn whole over the face colour ---

const TClassInfo& TSkinFaceFilled::StaticClass()
{
    static const TClassInfo& Info =
        *new TClassInfo(TClassBuilder<TSkinFaceFilled>("TSkinFaceFilled", TSkinControl::StaticClass()).Build());
    return Info;
}

TSkinFaceFilled::TSkinFaceFilled(TComponent* AOwner) : TSkinControl(AOwner) {}

void TSkinFaceFilled::AttachControl(TSkinControlList* form, TSkinData* skinData, bool setColour)
{
    TSkinControl::AttachControl(form, skinData, setColour);
    FPaintsItself = ParentBackgroundSwitched();
}

bool TSkinFaceFilled::BeforeMessage(TMessage& message)
{
    if (FPaintsItself)
        return TSkinControl::BeforeMessage(message);
    switch (message.Msg) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
        PaintByMessage(message);
        return false;
    case WM_ERASEBKGND: {
        RECT client{};
        GetClientRect(FHandle, &client);
        FillRect(reinterpret_cast<HDC>(message.WParam), &client, FSkinData->FaceBrush());
        message.Result = 1;
        return false;
    }
    default:
        return TSkinControl::BeforeMessage(message);
    }
}

// --- Tab controls in button style ---

const TClassInfo& TSkinTabBtn::StaticClass()
{
    static const TClassInfo& Info =
        *new TClassInfo(TClassBuilder<TSkinTabBtn>("TSkinTabBtn", TSkinFaceFilled::StaticClass()).Build());
    return Info;
}

TSkinTabBtn::TSkinTabBtn(TComponent* AOwner) : TSkinFaceFilled(AOwner) {}

void TSkinTabBtn::DrawControl(HDC dc, const RECT& rect)
{
    const TDataSkinButton* buttons = FSkinData->Buttons();
    if (!buttons || !buttons->Bitmap || buttons->Bitmap->Empty())
        return;
    FEnabled = IsWindowEnabled(FHandle) != FALSE;
    RECT display = rect;
    SendMessageW(FHandle, TCM_ADJUSTRECT, FALSE, AsLParam(&display));
    // The buttons' row: everything above the display area.
    const int height = std::min<int>(display.top - 4 + 1, rect.bottom - rect.top);
    const int width = rect.right - rect.left;
    if (height <= 0 || width <= 0)
        return;
    FWork.SetSize(width, height);
    HDC work = FWork.Canvas().Handle();
    FillSkinColor(work, {0, 0, width, height});
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(FHandle, WM_GETFONT, 0, 0));
    const gdi::Selection fontIn(work, font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
    const int count = static_cast<int>(SendMessageW(FHandle, TCM_GETITEMCOUNT, 0, 0));
    const int selected = static_cast<int>(SendMessageW(FHandle, TCM_GETCURSEL, 0, 0));
    for (int i = 0; i < count; ++i) {
        RECT item{};
        if (!SendMessageW(FHandle, TCM_GETITEMRECT, static_cast<WPARAM>(i), AsLParam(&item)))
            continue;
        OffsetRect(&item, 0, 1);
        DrawButton(work, i, item, i == selected);
    }
    BitBlt(dc, rect.left, rect.top, width, height, work, 0, 0, SRCCOPY);
    if (auto* control = dynamic_cast<TWinControl*>(FControl))
        control->PaintControls(dc);
}

void TSkinTabBtn::DrawButton(HDC work, int index, const RECT& face, bool selected)
{
    const TDataSkinButton& buttons = *FSkinData->Buttons();
    const int frame = selected ? bfPressed : bfNormal;
    DrawSkinObjectFrame(work, face, kButtonFrames, frame, buttons);
    COLORREF ink = RGB(0, 0, 0);
    if (!selected && buttons.HasNormalColour2)
        ink = ColorToRGB(buttons.NormalColour2);
    else if (selected && buttons.HasPressedColour2)
        ink = ColorToRGB(buttons.PressedColour2);
    SetTextColor(work, ink);
    const TTabItem item = ReadTabItem(FHandle, index, FUnicode);
    HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessageW(FHandle, TCM_GETIMAGELIST, 0, 0));
    DrawImageAndCaption(work, face, DT_CENTER, item.Text, item.Image, images,
                        {FEnabled, (TextFormatFor(0) & DT_RTLREADING) != 0});
}

// --- Tab sheets ---

const TClassInfo& TSkinTabSheet::StaticClass()
{
    static const TClassInfo& Info =
        *new TClassInfo(TClassBuilder<TSkinTabSheet>("TSkinTabSheet", TSkinFaceFilled::StaticClass()).Build());
    return Info;
}

TSkinTabSheet::TSkinTabSheet(TComponent* AOwner) : TSkinFaceFilled(AOwner) {}

void TSkinTabSheet::DrawControl(HDC dc, const RECT& rect)
{
    FillSkinColor(dc, rect);
    if (auto* sheet = dynamic_cast<TWinControl*>(FControl))
        sheet->PaintControls(dc);
}
