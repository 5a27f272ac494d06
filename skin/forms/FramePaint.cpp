// Painting of the skinned frame and its window region. The four border
// pieces are rendered once per window size and activity and kept; the
// caption strip is composed off screen from them with the caption text and
// icon, and kept until the text, size, activity or icon changes. A repaint
// is then a few block transfers.
#include "WinSkinForm.h"

#include "framework/Graphics.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/WinSkinData.h"
#include "skin/forms/MenuBar.h"

#include <algorithm>
#include <array>
#include <optional>

namespace {

constexpr std::array<framegeo::TBorderPiece, 4> kAllPieces{framegeo::bpLeft, framegeo::bpRight, framegeo::bpTop,
                                                           framegeo::bpBottom};

TDataSkinBorder* BorderOf(const TSkinData& skin, framegeo::TBorderPiece kind)
{
    switch (kind) {
    case framegeo::bpLeft: return skin.Left();
    case framegeo::bpRight: return skin.Right();
    case framegeo::bpTop: return skin.Top();
    case framegeo::bpBottom: return skin.Bottom();
    }
    return nullptr;
}

RECT ToRect(const framegeo::TRectI& rect) noexcept
{
    return {rect.Left, rect.Top, rect.Right, rect.Bottom};
}

bool IsEmptyRect(const RECT& rect) noexcept
{
    return rect.right <= rect.left || rect.bottom <= rect.top;
}

void Blit(HDC target, int x, int y, int width, int height, const TBitmap& source, int sx, int sy)
{
    if (width > 0 && height > 0)
        BitBlt(target, x, y, width, height, source.Canvas().Handle(), sx, sy, SRCCOPY);
}

// The border's frame for the given activity rendered at width x height.
std::unique_ptr<TBitmap> RenderBorder(const TSkinData& skin, framegeo::TBorderPiece kind, int width, int height,
                                      int frame)
{
    const TDataSkinBorder* border = BorderOf(skin, kind);
    if (!border || border->Bitmap->Empty()) {
        auto blank = std::make_unique<TBitmap>(width, height, pf24bit);
        const RECT all{0, 0, width, height};
        if (!blank->Empty())
            FillRect(blank->Canvas().Handle(), &all, skin.FaceBrush());
        return blank;
    }
    const bool stacked = kind == framegeo::bpTop || kind == framegeo::bpBottom;
    // For the borders, Tile holds the Stretch key: 1 stretches the middle.
    const bool tile = border->Tile != 1;
    return RenderNineSlice({0, 0, width, height}, *border->Bitmap, border->Margins(), stacked, tile,
                           border->FrameCount, frame);
}

} // namespace

int TWinSkinForm::StateFrame(int frameCount) const noexcept
{
    return (FActive || frameCount <= 1) ? 1 : 2;
}

void TWinSkinForm::DropPieces() noexcept
{
    for (TPieceSet& set : FPieces) {
        set.Width = -1;
        set.Height = -1;
        for (auto& piece : set.Pieces)
            piece.reset();
    }
    FCaptionBitmap.reset();
    FCaptionKey = {};
}

const TBitmap& TWinSkinForm::Piece(framegeo::TBorderPiece kind, int width, int height)
{
    TPieceSet& set = FPieces[FActive ? 1 : 0];
    if (set.Width != width || set.Height != height) {
        for (auto& piece : set.Pieces)
            piece.reset();
        set.Width = width;
        set.Height = height;
    }
    std::unique_ptr<TBitmap>& piece = set.Pieces[kind - 1];
    if (!piece) {
        const framegeo::TRectI rect = framegeo::BorderPieceRect(kind, FMetrics, width, height);
        const TDataSkinBorder* border = BorderOf(*FSkinData, kind);
        piece = RenderBorder(*FSkinData, kind, std::max(0, rect.Width()), std::max(0, rect.Height()),
                             StateFrame(border ? border->FrameCount : 1));
    }
    return *piece;
}

void TWinSkinForm::PaintFrame(HDC dc)
{
    if ((FState != fsReady && FState != fsRefreshing) || FBorderKind == 2)
        return;
    if (FFormKind == 2 && FWindowState == wsMaximized)
        return;
    std::optional<gdi::WindowDC> own;
    if (!dc) {
        own.emplace(FHandle);
        dc = own->Get();
    }
    if (!dc)
        return;
    GetWindowRect(FHandle, &FWindowRect);
    FFrameWidth = FWindowRect.right - FWindowRect.left;
    FFrameHeight = FWindowRect.bottom - FWindowRect.top;
    // Painting never fails loudly: a frame that cannot be drawn stays as it was.
    try {
        if (FWindowState != wsMinimized) {
            for (framegeo::TBorderPiece kind : {framegeo::bpLeft, framegeo::bpRight, framegeo::bpBottom})
                DrawBorderPiece(kind, ToRect(framegeo::BorderPieceRect(kind, FMetrics, FFrameWidth, FFrameHeight)),
                                dc);
        }
        PaintCaptionStrip(dc);
        if (FWindowState != wsMinimized && FMetrics.MenuHeight > 0) {
            const RECT band = MenuBand();
            if (FSkinMenuBar)
                FSkinMenuBar->Paint(dc, band);
            else
                FillRect(dc, &band, FSkinData->FaceBrush());
        }
    } catch (...) {
    }
}

void TWinSkinForm::DrawBorderPiece(framegeo::TBorderPiece kind, const RECT& rect, HDC dc)
{
    if (rect.right < rect.left || rect.bottom < rect.top)
        return;
    const TBitmap& piece = Piece(kind, FFrameWidth, FFrameHeight);
    Blit(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, piece, 0, 0);
}

std::wstring TWinSkinForm::CaptionText() const
{
    // Read without a message: painting must not call back into the window.
    wchar_t buffer[512];
    const int length = InternalGetWindowText(FHandle, buffer, 512);
    const std::wstring text(buffer, static_cast<size_t>(std::max(0, length)));
    return L" " + text + L"  ";
}

int TWinSkinForm::CaptionTextWidth() const
{
    gdi::MemoryDC dc;
    const gdi::Selection font(dc.Get(), FSkinData->CaptionFont().Handle());
    RECT measure{0, 0, 0, 0};
    DrawTextWide(dc.Get(), CaptionText(), measure, DT_CALCRECT | DT_NOPREFIX | DT_NOCLIP | DT_SINGLELINE);
    return measure.right - measure.left;
}

void TWinSkinForm::PaintCaptionStrip(HDC dc)
{
    const bool minimised = FWindowState == wsMinimized;
    const int width = FFrameWidth;
    const int height = minimised ? FFrameHeight : FMetrics.TopHeight;
    if (width <= 0 || height <= 0)
        return;
    TCaptionKey key{width, height, FActive, minimised, CaptionText(), FIconSerial, CaptionButtonsKey()};
    if (!FCaptionBitmap || !(key == FCaptionKey)) {
        if (!FCaptionBitmap || FCaptionBitmap->Width() != width || FCaptionBitmap->Height() != height)
            FCaptionBitmap = std::make_unique<TBitmap>(width, height, pf24bit);
        ComposeCaption(FCaptionBitmap->Canvas().Handle(), width, minimised);
        FCaptionKey = std::move(key);
    }
    Blit(dc, 0, 0, width, height, *FCaptionBitmap, 0, 0);
}

void TWinSkinForm::ComposeCaption(HDC strip, int width, bool minimised)
{
    const int captionHeight = FMetrics.TopHeight;
    if (minimised) {
        const RECT all{0, 0, width, FFrameHeight};
        FillRect(strip, &all, FSkinData->FaceBrush());
        const TDataSkinBorder* top = FSkinData->Top();
        const std::unique_ptr<TBitmap> piece =
            RenderBorder(*FSkinData, framegeo::bpTop, width, captionHeight, StateFrame(top ? top->FrameCount : 1));
        Blit(strip, 0, 0, width, captionHeight, *piece, 0, 0);
    } else {
        // The corners above the side borders are the side pieces' top rows.
        const TBitmap& left = Piece(framegeo::bpLeft, FFrameWidth, FFrameHeight);
        const TBitmap& right = Piece(framegeo::bpRight, FFrameWidth, FFrameHeight);
        const TBitmap& top = Piece(framegeo::bpTop, FFrameWidth, FFrameHeight);
        Blit(strip, 0, 0, FMetrics.LeftWidth, captionHeight, left, 0, 0);
        Blit(strip, width - FMetrics.RightWidth, 0, FMetrics.RightWidth, captionHeight, right, 0, 0);
        Blit(strip, FMetrics.LeftWidth, 0, top.Width(), captionHeight, top, 0, 0);
    }
    DrawCaptionText(strip, width);
    DrawIcon(strip);
    LayoutCaptionButtons();
    for (const auto& button : CaptionButtons)
        if (button->Visible)
            button->Paint(strip);
}

std::vector<int> TWinSkinForm::CaptionButtonsKey()
{
    // The text is placed clear of the right-aligned buttons that show.
    RightButtonsExtent = 0;
    std::vector<int> key;
    key.reserve(CaptionButtons.size() + 1);
    key.push_back(FWindowState);
    for (size_t index = 0; index < CaptionButtons.size(); ++index) {
        const TWinSysButton& button = *CaptionButtons[index];
        const bool visible = EvaluateVisibility(index);
        if (visible && button.SkinButton->Align == 1 && !button.SkinButton->Bitmap->Empty())
            RightButtonsExtent = std::max(RightButtonsExtent, button.SkinButton->XCoord);
        key.push_back((visible ? 1 : 0) | (button.Enabled ? 2 : 0) | (button.ButtonState << 2));
    }
    return key;
}

void TWinSkinForm::DrawCaptionText(HDC strip, int width)
{
    const TDataSkinTitle* title = FSkinData->Title();
    const std::wstring text = CaptionText();
    const gdi::Selection font(strip, FSkinData->CaptionFont().Handle());
    RECT measure{0, 0, 0, 0};
    DrawTextWide(strip, text, measure, DT_CALCRECT | DT_NOPREFIX | DT_NOCLIP | DT_SINGLELINE);

    framegeo::TCaptionLayout layout;
    layout.AreaWidth = width;
    layout.CaptionHeight = FMetrics.TopHeight;
    layout.TextWidth = measure.right - measure.left;
    layout.TextHeight = measure.bottom - measure.top;
    layout.TextShift = title->LeftWidth;
    layout.TextShiftVert = title->TopHeight;
    layout.TextRightClip = title->RightWidth;
    layout.TextAlignment = title->TextAlignment;
    layout.BackLeft = title->TXTBackleft;
    layout.BackRight = title->TXTBackRight;
    layout.RightButtonsExtent = RightButtonsExtent;
    layout.RightToLeft = FRightToLeft;
    layout.Popup = (GetWindowLongPtrW(FHandle, GWL_STYLE) & WS_POPUP) != 0;
    layout.DialogFrame = FBorderKind == 3;
    layout.PixelsPerInch = FSkinData->PixelsPerInch();
    const framegeo::TCaptionPlacement placement = framegeo::PlaceCaptionText(layout);
    FTextBackRect = ToRect(placement.Block);
    FTextRect = ToRect(placement.Text);

    if (!title->Bitmap->Empty() && !IsEmptyRect(FTextBackRect)) {
        TCanvas canvas(strip);
        DrawTiledStrip(canvas, FTextBackRect, *title->Bitmap, true, true, 2, StateFrame(2),
                       {title->TXTBackleft, 0, title->TXTBackRight, 0});
    }
    SetBkMode(strip, TRANSPARENT);
    SetTextColor(strip, ColorToRGB(FSkinData->SkinColor(FActive ? scTitleTextActive : scTitleTextNoActive)));
    RECT textRect = FTextRect;
    DrawTextWide(strip, text, textRect,
                 DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS | (FRightToLeft ? DT_RIGHT | DT_RTLREADING : 0));
}

void TWinSkinForm::DrawIcon(HDC strip)
{
    // The window icon sits where the skin's icon button is; dialogs and
    // windows without a system menu show none.
    if (FBorderKind == 3 || !(FOriginalStyle & WS_SYSMENU))
        return;
    const auto& buttons = FSkinData->CaptionButtons();
    const bool skinHasIcon = std::any_of(buttons.begin(), buttons.end(), [](const auto& button) {
        return button->Action == 3 || button->Action == 11;
    });
    if (!skinHasIcon)
        return;
    const int y = (FTextRect.top + FTextRect.bottom) / 2 - FIconSize / 2;
    const int iconLeft = FSkinData->Scaled(8);
    if (FIcon)
        DrawIconEx(strip, iconLeft, y, FIcon, FIconSize, FIconSize, 0, nullptr, DI_NORMAL);
    else
        DrawTransparent(strip, {iconLeft, y, iconLeft + FIconSize, y + FIconSize}, *FIconBitmap, clSkinKey);
}

void TWinSkinForm::RebuildIconBitmap()
{
    FIconSize = GetSystemMetrics(SM_CXSMICON);
    FIcon = reinterpret_cast<HICON>(SendMessageW(FHandle, WM_GETICON, ICON_SMALL, 0));
    if (!FIcon)
        FIcon = reinterpret_cast<HICON>(SendMessageW(FHandle, WM_GETICON, ICON_BIG, 0));
    if (!FIcon)
        FIcon = reinterpret_cast<HICON>(GetClassLongPtrW(FHandle, GCLP_HICONSM));
    if (!FIcon)
        FIcon = reinterpret_cast<HICON>(GetClassLongPtrW(FHandle, GCLP_HICON));
    auto bitmap = std::make_unique<TBitmap>(FIconSize, GetSystemMetrics(SM_CYSMICON), pf16bit);
    const RECT all{0, 0, bitmap->Width(), bitmap->Height()};
    const gdi::Brush key(CreateSolidBrush(ColorToRGB(clSkinKey)));
    FillRect(bitmap->Canvas().Handle(), &all, key.Get());
    if (FIcon)
        DrawIconEx(bitmap->Canvas().Handle(), 0, 0, FIcon, bitmap->Width(), bitmap->Height(), 0, nullptr, DI_NORMAL);
    FIconBitmap = std::move(bitmap);
    ++FIconSerial;
}

// --- Region ---

void TWinSkinForm::BuildRegion()
{
    if (FState == fsDetached || !FFrameSkinned)
        return;
    if (FFormKind == 2 && FWindowState != wsNormal)
        return;
    RECT window{};
    GetWindowRect(FHandle, &window);
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    if (width <= 0 || height <= 0)
        return;
    if (FRegionMade && width == FRegionWidth && height == FRegionHeight && FFormKind != 2
        && FState != fsRefreshing)
        return;

    const bool anyTransparent = std::any_of(kAllPieces.begin(), kAllPieces.end(), [&](framegeo::TBorderPiece kind) {
        const TDataSkinBorder* border = BorderOf(*FSkinData, kind);
        return border && border->Trans != 0;
    });
    gdi::Region region;
    if (!anyTransparent) {
        region.Reset(CreateRectRgn(0, 0, width, height));
    } else {
        region.Reset(CreateRectRgn(FMetrics.LeftWidth, FMetrics.TopHeight, width - FMetrics.RightWidth,
                                   height - FMetrics.BottomHeight));
        if (FBorderKind != 2) {
            for (framegeo::TBorderPiece kind : kAllPieces) {
                const framegeo::TRectI rect = framegeo::BorderPieceRect(kind, FMetrics, width, height);
                if (rect.Width() <= 0 || rect.Height() <= 0)
                    continue;
                const TDataSkinBorder* border = BorderOf(*FSkinData, kind);
                const bool shaped = border && border->Trans == 1 && !border->Bitmap->Empty()
                                    && (kind == framegeo::bpBottom ? rect.Height() >= 2 : rect.Height() > 1);
                gdi::Region part(shaped ? RegionFromBitmap(Piece(kind, width, height), rect.Left, rect.Top, 1, 1, 1,
                                                           clSkinKey)
                                              .Release()
                                        : CreateRectRgn(rect.Left, rect.Top, rect.Right, rect.Bottom));
                CombineRgn(region.Get(), region.Get(), part.Get(), RGN_OR);
            }
        }
    }
    FRegionWidth = width;
    FRegionHeight = height;
    // A new skin that shapes the window as the old one did keeps the region
    // the window has: setting it again would cost a round of the window
    // system's work for nothing (the refresh repaints the frame).
    if (FState == fsRefreshing && FRegionMade && HasWindowRegion(region.Get()))
        return;
    HRGN handed = region.Release();
    FRegionMade = SetWindowRgn(FHandle, handed, TRUE) != 0;
    if (!FRegionMade)
        DeleteObject(handed);
}

bool TWinSkinForm::HasWindowRegion(HRGN region) const
{
    const gdi::Region current(CreateRectRgn(0, 0, 0, 0));
    return GetWindowRgn(FHandle, current.Get()) != ERROR && EqualRgn(current.Get(), region);
}

void TWinSkinForm::DropRegion()
{
    if (!FRegionMade)
        return;
    SetWindowRgn(FHandle, nullptr, FFormKind == 2);
    FRegionMade = false;
    FRegionWidth = 0;
    FRegionHeight = 0;
}
