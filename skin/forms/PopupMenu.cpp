#include "PopupMenu.h"

#include "framework/Forms.h"
#include "framework/GdiObjects.h"
#include "framework/Graphics.h"
#include "framework/ImgList.h"
#include "framework/Menus.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/WinSkinData.h"
#include "skin/forms/SkinManager.h"
#include "skin/forms/SkinMessages.h"

#include <algorithm>

const char kPopupMenuKind = 0;

namespace {

// The popup's edge: the system draws its items this far in.
constexpr int kEdge = 3;
// Sizes below are at 96 pixels per inch; the skin data scales them.
constexpr int kGlyphSize = 16;

// Caption and shortcut text of an item ("Close\tAlt+F4").
std::pair<std::wstring, std::wstring> SplitCaption(const std::wstring& caption)
{
    const size_t tab = caption.find(L'\t');
    if (tab == std::wstring::npos)
        return {caption, {}};
    return {caption.substr(0, tab), caption.substr(tab + 1)};
}

int TextWidth(HDC dc, const std::wstring& text)
{
    RECT measure{0, 0, 0, 0};
    DrawTextWide(dc, text, measure, DT_CALCRECT | DT_NOCLIP | DT_SINGLELINE);
    return measure.right - measure.left;
}

int LeftMargin(const TSkinData& skin)
{
    const TDataSkinObject* item = skin.MenuItem();
    return HasImage(item) ? item->LeftWidth : 0;
}

TColor TextColour(const TSkinData& skin, const TMenuItemLook& item, bool selected)
{
    if (!item.Enabled) {
        // A disabled text must not vanish into the normal one.
        if (skin.SkinColor(scButtonShadow) == skin.SkinColor(scMenuText))
            return static_cast<TColor>(GetSysColor(COLOR_BTNSHADOW));
        return skin.SkinColor(scButtonShadow);
    }
    return skin.SkinColor(selected ? scHilightText : scMenuText);
}

// The skin's separator: the bottom rows of the MenuItem image's second
// frame, its side margins kept and the middle stretched, magenta see-through.
void DrawSeparatorStrip(HDC dc, const RECT& rect, const TDataSkinObject& look)
{
    const int frameWidth = look.Bitmap->Width() / std::max(1, look.FrameCount);
    const int height = std::min<int>(rect.bottom - rect.top, look.Bitmap->Height());
    TBitmap strip(frameWidth, height, pf24bit);
    BitBlt(strip.Canvas().Handle(), 0, 0, frameWidth, height, look.Bitmap->Canvas().Handle(), frameWidth,
           look.Bitmap->Height() - height, SRCCOPY);
    const RECT target{rect.left, rect.bottom - height, rect.right, rect.bottom};
    DrawNineSliceFrame(dc, target, strip, false, false, true, 1, 1, {look.LeftWidth, 0, look.RightWidth, 0});
}

void DrawContent(HDC dc, const RECT& rect, const TSkinData& skin, const TMenuItemLook& item, bool selected)
{
    if (item.Caption == L"-") {
        if (const TDataSkinObject* look = skin.MenuItem(); HasImage(look) && look->FrameCount >= 2) {
            DrawSeparatorStrip(dc, rect, *look);
            return;
        }
        RECT line = rect;
        OffsetRect(&line, 0, skin.Scaled(4));
        DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
        return;
    }
    const int glyphSize = skin.Scaled(kGlyphSize);
    const int glyphLeft = rect.left + skin.Scaled(1) + LeftMargin(skin);
    const int glyphTop = rect.top + (rect.bottom - rect.top - glyphSize) / 2;
    if (HIMAGELIST images = item.Images; images && item.ImageIndex >= 0
                                             && item.ImageIndex < ImageList_GetImageCount(images)) {
        // A list of another size (an application's own) sits in the glyph cell's middle.
        int width = glyphSize;
        int height = glyphSize;
        ImageList_GetIconSize(images, &width, &height);
        ImageList_DrawEx(images, item.ImageIndex, dc, glyphLeft + (glyphSize - width) / 2,
                         glyphTop + (glyphSize - height) / 2, width, height, CLR_NONE, CLR_NONE,
                         item.Enabled ? ILD_TRANSPARENT : ILD_TRANSPARENT | ILD_BLEND50);
    } else if (item.Checked) {
        RECT square{glyphLeft, glyphTop, glyphLeft + glyphSize, glyphTop + glyphSize};
        SetTextColor(dc, ColorToRGB(skin.SkinColor(scButtonText)));
        DrawFrameControl(dc, &square, DFC_MENU, DFCS_MENUCHECK | DFCS_TRANSPARENT);
    }
    const auto [caption, shortcut] = SplitCaption(item.Caption);
    const gdi::Font font = MenuFont(item.Default);
    const gdi::Selection selection(dc, font.Get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(TextColour(skin, item, selected)));
    RECT text{glyphLeft + glyphSize + skin.Scaled(3), rect.top, rect.right - skin.Scaled(1), rect.bottom};
    DrawTextWide(dc, caption, text, DT_EXPANDTABS | DT_SINGLELINE | DT_VCENTER);
    if (!shortcut.empty()) {
        RECT right{text.left, rect.top, rect.right - skin.Scaled(10), rect.bottom};
        DrawTextWide(dc, shortcut, right, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
    }
}

} // namespace

gdi::Font MenuFont(bool bold)
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    if (bold)
        metrics.lfMenuFont.lfWeight = FW_BOLD;
    return gdi::Font(CreateFontIndirectW(&metrics.lfMenuFont));
}

// --- TWinSkinPopMenu ---

TWinSkinPopMenu::TWinSkinPopMenu(HWND window, TSkinData* skinData) : FHandle(window), FSkinData(skinData)
{
    InstallMessageHandler<&TWinSkinPopMenu::WindowProc>(FSubclass, FHandle, this, &kPopupMenuKind);
}

TWinSkinPopMenu::~TWinSkinPopMenu()
{
    Detach();
}

void TWinSkinPopMenu::Detach() noexcept
{
    FSubclass.Remove();
}

void TWinSkinPopMenu::SkinChanged()
{
    FBackground.reset();
    if (Skinned())
        RenderBackground();
    RedrawWindow(FHandle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE);
}

bool TWinSkinPopMenu::Skinned() const
{
    return SkinManager && SkinManager->Active() && !FSkinData->SkinLoading() && HasImage(FSkinData->MenuBackground());
}

const TBitmap& TWinSkinPopMenu::RenderBackground()
{
    RECT window{};
    GetWindowRect(FHandle, &window);
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    if (!FBackground || FBackground->Width() != width || FBackground->Height() != height) {
        const TDataSkinObject& back = *FSkinData->MenuBackground();
        FBackground = RenderNineSlice({0, 0, width, height}, *back.Bitmap, back.Margins(), false, back.Tile != 0,
                                      std::max(1, back.FrameCount), 1);
    }
    return *FBackground;
}

void TWinSkinPopMenu::WindowProc(TMessage& message)
{
    if (message.Msg == WM_SKINQUERY) {
        message.Result = 1;
        return;
    }
    if (!SkinManager || !SkinManager->Active()) {
        message.Result = FSubclass.CallPrevious(message.Msg, message.WParam, message.LParam);
        return;
    }
    try {
        switch (message.Msg) {
        case WM_ERASEBKGND:
            if (!InSet(FSkinData->Options, xoMenuBG))
                FSubclass.CallPrevious(message.Msg, message.WParam, message.LParam);
            message.Result = 1;
            return;
        case WM_NCPAINT:
            if (message.WParam == 1 && Skinned()) {
                NcPaint(message);
                return;
            }
            break;
        case WM_PAINT:
            // Some systems draw the popup's edge in its client area, over
            // the frame painted at WM_NCPAINT: the skin's edge goes on top.
            if (Skinned()) {
                message.Result = FSubclass.CallPrevious(message.Msg, message.WParam, message.LParam);
                PaintEdges();
                return;
            }
            break;
        case WM_PRINT:
            if (Skinned()) {
                Print(message);
                return;
            }
            break;
        default: break;
        }
    } catch (...) {
        // Painting never fails loudly: the system's look stays.
    }
    message.Result = FSubclass.CallPrevious(message.Msg, message.WParam, message.LParam);
}

void TWinSkinPopMenu::NcPaint(TMessage& message)
{
    const TBitmap& background = RenderBackground();
    const gdi::WindowDC dc(FHandle);
    BitBlt(dc.Get(), 0, 0, background.Width(), background.Height(), background.Canvas().Handle(), 0, 0, SRCCOPY);
    message.Result = 0;
}

void TWinSkinPopMenu::PaintEdges()
{
    const TBitmap& background = RenderBackground();
    const gdi::WindowDC dc(FHandle);
    const int width = background.Width();
    const int height = background.Height();
    HDC source = background.Canvas().Handle();
    BitBlt(dc.Get(), 0, 0, width, kEdge, source, 0, 0, SRCCOPY);
    BitBlt(dc.Get(), 0, height - kEdge, width, kEdge, source, 0, height - kEdge, SRCCOPY);
    BitBlt(dc.Get(), 0, 0, kEdge, height, source, 0, 0, SRCCOPY);
    BitBlt(dc.Get(), width - kEdge, 0, kEdge, height, source, width - kEdge, 0, SRCCOPY);
}

void TWinSkinPopMenu::Print(TMessage& message)
{
    // Menu animation prints the window into a bitmap: the background first,
    // then the system's items inside the edge.
    const auto dc = reinterpret_cast<HDC>(message.WParam);
    const TBitmap& background = RenderBackground();
    BitBlt(dc, 0, 0, background.Width(), background.Height(), background.Canvas().Handle(), 0, 0, SRCCOPY);
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, kEdge, kEdge, background.Width() - kEdge, background.Height() - kEdge);
    SetBkMode(dc, TRANSPARENT);
    message.Result = FSubclass.CallPrevious(WM_PRINT, message.WParam, message.LParam & ~static_cast<LPARAM>(PRF_NONCLIENT));
    RestoreDC(dc, saved);
}

// --- Items ---

SIZE MeasureMenuItem(const TSkinData& skin, const TMenuItemLook& item)
{
    if (item.Caption == L"-")
        return {skin.Scaled(8), skin.Scaled(8)};
    const gdi::MemoryDC dc;
    const gdi::Font font = MenuFont(item.Default);
    const gdi::Selection selection(dc.Get(), font.Get());
    const auto [caption, shortcut] = SplitCaption(item.Caption);
    RECT measure{0, 0, 0, 0};
    DrawTextWide(dc.Get(), caption, measure, DT_CALCRECT | DT_NOCLIP | DT_SINGLELINE);
    const int glyphCell = skin.Scaled(1) + LeftMargin(skin) + skin.Scaled(kGlyphSize) + skin.Scaled(3);
    int width = glyphCell + (measure.right - measure.left) + skin.Scaled(12);
    if (!shortcut.empty())
        width += skin.Scaled(20) + TextWidth(dc.Get(), shortcut);
    return {width, std::max<LONG>(measure.bottom - measure.top + skin.Scaled(4), skin.Scaled(kGlyphSize + 4))};
}

void PaintMenuItem(HDC dc, const RECT& rect, const TSkinData& skin, const TMenuItemLook& item, bool selected,
                   const TBitmap* background)
{
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return;
    TBitmap bitmap(width, height, pf24bit);
    HDC target = bitmap.Canvas().Handle();
    const RECT all{0, 0, width, height};
    if (background) {
        BitBlt(target, 0, 0, width, height, background->Canvas().Handle(), rect.left + kEdge, rect.top + kEdge,
               SRCCOPY);
    } else {
        const gdi::Brush menu(CreateSolidBrush(ColorToRGB(skin.SkinColor(scMenu))));
        FillRect(target, &all, menu.Get());
    }
    const TDataSkinObject* look = skin.MenuItem();
    if (item.Caption != L"-") {
        if (HasImage(look)) {
            DrawNineSliceFrame(target, all, *look->Bitmap, false, look->Tile != 0, look->Trans != 0,
                               std::max(1, look->FrameCount), selected ? 4 : 1, look->Margins());
        } else if (selected) {
            const gdi::Brush hilight(CreateSolidBrush(ColorToRGB(skin.SkinColor(scHilight))));
            FillRect(target, &all, hilight.Get());
        }
    }
    DrawContent(target, all, skin, item, selected);
    BitBlt(dc, rect.left, rect.top, width, height, target, 0, 0, SRCCOPY);
}

// --- Framework menus ---

namespace {

// The skin of the form that owns the item's menu, found through the
// manager's exact lists at drawing time: nothing here outlives a frame.
const TSkinData* SkinOfItem(const TMenuItem& item)
{
    const TMenu* menu = nullptr;
    for (const TMenuItem* up = &item; up && !menu; up = up->Parent())
        menu = up->GetParentMenu();
    auto* form = menu ? dynamic_cast<TWinControl*>(menu->Owner()) : nullptr;
    const TWinSkinForm* frame = form && SkinManager && SkinManager->Active() && form->HandleAllocated()
                                    ? SkinManager->FindSkinForm(form->Handle())
                                    : nullptr;
    return frame && !frame->SkinData()->SkinLoading() ? frame->SkinData() : nullptr;
}

} // namespace

TMenuItemLook MenuItemLookOf(const TMenuItem& item)
{
    TMenuItemLook look;
    look.Caption = item.Caption();
    if (item.ShortCut() != scNone)
        look.Caption += L"\t" + ShortCutToText(item.ShortCut());
    const TCustomImageList* images = item.GetImageList();
    look.Images = images ? images->Handle() : nullptr;
    look.ImageIndex = item.ImageIndex();
    look.Enabled = item.Enabled();
    look.Checked = item.Checked();
    look.Default = item.Default();
    return look;
}

namespace {

void DrawSkinnedItem(TObject* sender, TCanvas& canvas, const RECT& rect, bool selected)
{
    auto* item = dynamic_cast<TMenuItem*>(sender);
    if (!item)
        return;
    const TSkinData* skin = SkinOfItem(*item);
    if (!skin) {
        item->DrawItem(canvas, rect, selected);
        return;
    }
    const HMENU menu = item->Parent() ? item->Parent()->Handle() : nullptr;
    SkinManager->SetPopupOwner(menu);
    PaintMenuItem(canvas.Handle(), rect, *skin, MenuItemLookOf(*item), selected, SkinManager->PopupBitmapOf(menu));
}

void MeasureSkinnedItem(TObject* sender, TCanvas& canvas, int& width, int& height)
{
    auto* item = dynamic_cast<TMenuItem*>(sender);
    if (!item)
        return;
    item->MeasureItem(canvas, width, height);
    const TSkinData* skin = SkinOfItem(*item);
    if (skin && !item->IsLine())
        width += LeftMargin(*skin) + skin->Scaled(10) + (item->GetImageList() ? 0 : skin->Scaled(25));
}

const TMenuDrawItemEvent kDrawSkinned = TMenuDrawItemEvent::BindFunction<&DrawSkinnedItem>();
const TMenuMeasureItemEvent kMeasureSkinned = TMenuMeasureItemEvent::BindFunction<&MeasureSkinnedItem>();

void SetItemHandlers(TMenuItem& item, bool on)
{
    for (int index = 0; index < item.Count(); ++index) {
        TMenuItem& child = *item.Items(index);
        if (on) {
            if (!child.OnDrawItem)
                child.OnDrawItem = kDrawSkinned;
            if (!child.OnMeasureItem)
                child.OnMeasureItem = kMeasureSkinned;
        } else {
            if (child.OnDrawItem == kDrawSkinned)
                child.OnDrawItem = {};
            if (child.OnMeasureItem == kMeasureSkinned)
                child.OnMeasureItem = {};
        }
        SetItemHandlers(child, on);
    }
}

void SetFormMenus(TComponent& owner, const TSkinData& skin, bool on)
{
    for (int index = 0; index < owner.ComponentCount(); ++index) {
        TComponent* component = owner.Components(index);
        if (auto* popup = dynamic_cast<TPopupMenu*>(component); popup && popup->Tag != skin.DisableTag) {
            popup->SetOwnerDraw(on);
            SetItemHandlers(*popup->Items(), on);
        } else if (auto* owned = dynamic_cast<TCustomForm*>(component)) {
            SetFormMenus(*owned, skin, on);
        }
    }
}

} // namespace

void SetOwnerDrawMenus(TWinControl* form, const TSkinData& skin, bool on)
{
    if (!form || form->ClassName() == "TwwRichEditForm")
        return;
    if (on && !InSet(skin.SkinControls, xcPopupMenu))
        return;
    SetFormMenus(*form, skin, on);
}
