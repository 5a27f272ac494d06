#include "SkinScrollbar.h"

#include "framework/Messages.h"
#include "skin/controls/SkinBars.h"
#include "skin/data/SkinMessages.h"
#include "skin/data/WinSkinData.h"

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
