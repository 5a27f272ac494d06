#include "FramePainter.h"

#include "framework/Graphics.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/WinSkinData.h"
#include "skin/forms/MenuBar.h"
#include "skin/forms/WinSkinForm.h"

#include <algorithm>
#include <array>
#include <optional>

namespace {

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

TFramePainter::TFramePainter(TWinSkinForm& frame) : FFrame(frame), FIconBitmap(std::make_unique<TBitmap>()) {}

TSkinData& TFramePainter::Skin() const noexcept
{
    return *FFrame.SkinData();
}

const framegeo::TFrameMetrics& TFramePainter::Metrics() const noexcept
{
    return FFrame.Metrics();
}

int TFramePainter::StateFrame(int frameCount) const noexcept
{
    return (FFrame.Active() || frameCount <= 1) ? 1 : 2;
}

void TFramePainter::DropPieces() noexcept
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

const TBitmap& TFramePainter::Piece(framegeo::TBorderPiece kind, int width, int height)
{
    TPieceSet& set = FPieces[FFrame.Active() ? 1 : 0];
    if (set.Width != width || set.Height != height) {
        for (auto& piece : set.Pieces)
            piece.reset();
        set.Width = width;
        set.Height = height;
    }
    std::unique_ptr<TBitmap>& piece = set.Pieces[kind - 1];
    if (!piece) {
        const framegeo::TRectI rect = framegeo::BorderPieceRect(kind, Metrics(), width, height);
        const TDataSkinBorder* border = BorderOf(Skin(), kind);
        piece = RenderBorder(Skin(), kind, std::max(0, rect.Width()), std::max(0, rect.Height()),
                             StateFrame(border ? border->FrameCount : 1));
    }
    return *piece;
}

void TFramePainter::Paint(HDC dc)
{
    std::optional<gdi::WindowDC> own;
    if (!dc) {
        own.emplace(FFrame.Handle());
        dc = own->Get();
    }
    if (!dc)
        return;
    RECT window{};
    GetWindowRect(FFrame.Handle(), &window);
    FFrameWidth = window.right - window.left;
    FFrameHeight = window.bottom - window.top;
    // Painting never fails loudly: a frame that cannot be drawn stays as it was.
    try {
        if (FFrame.WindowState() != wsMinimized) {
            for (framegeo::TBorderPiece kind : {framegeo::bpLeft, framegeo::bpRight, framegeo::bpBottom})
                DrawBorderPiece(kind, dc);
        }
        PaintCaptionStrip(dc);
        if (FFrame.WindowState() != wsMinimized && Metrics().MenuHeight > 0) {
            const RECT band = MenuBand();
            if (FFrame.SkinMenuBar())
                FFrame.SkinMenuBar()->Paint(dc, band);
            else
                FillRect(dc, &band, Skin().FaceBrush());
        }
    } catch (...) {
    }
}

RECT TFramePainter::MenuBand() const
{
    return {Metrics().LeftWidth, Metrics().TopHeight, FFrameWidth - Metrics().RightWidth,
            Metrics().TopHeight + Metrics().MenuHeight};
}

void TFramePainter::DrawBorderPiece(framegeo::TBorderPiece kind, HDC dc)
{
    const RECT rect = ToRect(framegeo::BorderPieceRect(kind, Metrics(), FFrameWidth, FFrameHeight));
    if (rect.right < rect.left || rect.bottom < rect.top)
        return;
    const TBitmap& piece = Piece(kind, FFrameWidth, FFrameHeight);
    Blit(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, piece, 0, 0);
}

std::wstring TFramePainter::CaptionText() const
{
    // Read without a message: painting must not call back into the window.
    wchar_t buffer[512];
    const int length = InternalGetWindowText(FFrame.Handle(), buffer, 512);
    const std::wstring text(buffer, static_cast<size_t>(std::max(0, length)));
    return L" " + text + L"  ";
}

int TFramePainter::CaptionTextWidth() const
{
    gdi::MemoryDC dc;
    const gdi::Selection font(dc.Get(), Skin().CaptionFont().Handle());
    RECT measure{0, 0, 0, 0};
    DrawTextWide(dc.Get(), CaptionText(), measure, DT_CALCRECT | DT_NOPREFIX | DT_NOCLIP | DT_SINGLELINE);
    return measure.right - measure.left;
}

void TFramePainter::PaintCaptionStrip(HDC dc)
{
    const bool minimised = FFrame.WindowState() == wsMinimized;
    const int width = FFrameWidth;
    const int height = minimised ? FFrameHeight : Metrics().TopHeight;
    if (width <= 0 || height <= 0)
        return;
    TCaptionKey key{width, height, FFrame.Active(), minimised, CaptionText(), FIconSerial, FFrame.Caption().StateKey()};
    if (!FCaptionBitmap || !(key == FCaptionKey)) {
        if (!FCaptionBitmap || FCaptionBitmap->Width() != width || FCaptionBitmap->Height() != height)
            FCaptionBitmap = std::make_unique<TBitmap>(width, height, pf24bit);
        ComposeCaption(FCaptionBitmap->Canvas().Handle(), width, minimised);
        FCaptionKey = std::move(key);
    }
    Blit(dc, 0, 0, width, height, *FCaptionBitmap, 0, 0);
}

void TFramePainter::ComposeCaption(HDC strip, int width, bool minimised)
{
    const int captionHeight = Metrics().TopHeight;
    if (minimised) {
        const RECT all{0, 0, width, FFrameHeight};
        FillRect(strip, &all, Skin().FaceBrush());
        const TDataSkinBorder* top = Skin().Top();
        const std::unique_ptr<TBitmap> piece =
            RenderBorder(Skin(), framegeo::bpTop, width, captionHeight, StateFrame(top ? top->FrameCount : 1));
        Blit(strip, 0, 0, width, captionHeight, *piece, 0, 0);
    } else {
        // The corners above the side borders are the side pieces' top rows.
        const TBitmap& left = Piece(framegeo::bpLeft, FFrameWidth, FFrameHeight);
        const TBitmap& right = Piece(framegeo::bpRight, FFrameWidth, FFrameHeight);
        const TBitmap& top = Piece(framegeo::bpTop, FFrameWidth, FFrameHeight);
        Blit(strip, 0, 0, Metrics().LeftWidth, captionHeight, left, 0, 0);
        Blit(strip, width - Metrics().RightWidth, 0, Metrics().RightWidth, captionHeight, right, 0, 0);
        Blit(strip, Metrics().LeftWidth, 0, top.Width(), captionHeight, top, 0, 0);
    }
    DrawCaptionText(strip, width);
    DrawIcon(strip);
    FFrame.Caption().Layout(FFrameWidth, FTextBackRect, FIconSize);
    for (const auto& button : FFrame.Caption().Buttons)
        if (button->Visible)
            button->Paint(strip);
}

void TFramePainter::DrawCaptionText(HDC strip, int width)
{
    const TDataSkinTitle* title = Skin().Title();
    const std::wstring text = CaptionText();
    const gdi::Selection font(strip, Skin().CaptionFont().Handle());
    RECT measure{0, 0, 0, 0};
    DrawTextWide(strip, text, measure, DT_CALCRECT | DT_NOPREFIX | DT_NOCLIP | DT_SINGLELINE);

    framegeo::TCaptionLayout layout;
    layout.AreaWidth = width;
    layout.CaptionHeight = Metrics().TopHeight;
    layout.TextWidth = measure.right - measure.left;
    layout.TextHeight = measure.bottom - measure.top;
    layout.TextShift = title->LeftWidth;
    layout.TextShiftVert = title->TopHeight;
    layout.TextRightClip = title->RightWidth;
    layout.TextAlignment = title->TextAlignment;
    layout.BackLeft = title->TXTBackleft;
    layout.BackRight = title->TXTBackRight;
    layout.RightButtonsExtent = FFrame.Caption().RightButtonsExtent;
    layout.RightToLeft = FFrame.WindowStyle().RightToLeft;
    layout.Popup = (GetWindowLongPtrW(FFrame.Handle(), GWL_STYLE) & WS_POPUP) != 0;
    layout.DialogFrame = FFrame.BorderKind() == bkDialog;
    layout.PixelsPerInch = Skin().PixelsPerInch();
    const framegeo::TCaptionPlacement placement = framegeo::PlaceCaptionText(layout);
    FTextBackRect = ToRect(placement.Block);
    FTextRect = ToRect(placement.Text);

    if (!title->Bitmap->Empty() && !IsEmptyRect(FTextBackRect)) {
        TCanvas canvas(strip);
        DrawTiledStrip(canvas, FTextBackRect, *title->Bitmap, true, true, 2, StateFrame(2),
                       {title->TXTBackleft, 0, title->TXTBackRight, 0});
    }
    SetBkMode(strip, TRANSPARENT);
    SetTextColor(strip, ColorToRGB(Skin().SkinColor(FFrame.Active() ? scTitleTextActive : scTitleTextNoActive)));
    RECT textRect = FTextRect;
    const UINT direction = FFrame.WindowStyle().RightToLeft ? DT_RIGHT | DT_RTLREADING : 0;
    DrawTextWide(strip, text, textRect, DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS | direction);
}

void TFramePainter::DrawIcon(HDC strip)
{
    // The window icon sits where the skin's icon button is; dialogs and
    // windows without a system menu show none.
    if (FFrame.BorderKind() == bkDialog || !(FFrame.WindowStyle().Style & WS_SYSMENU))
        return;
    const auto& buttons = Skin().CaptionButtons();
    const bool skinHasIcon = std::any_of(buttons.begin(), buttons.end(), [](const auto& button) {
        return button->Action == 3 || button->Action == 11;
    });
    if (!skinHasIcon)
        return;
    const int y = (FTextRect.top + FTextRect.bottom) / 2 - FIconSize / 2;
    const int iconLeft = Skin().Scaled(8);
    if (FIcon)
        DrawIconEx(strip, iconLeft, y, FIcon, FIconSize, FIconSize, 0, nullptr, DI_NORMAL);
    else
        DrawTransparent(strip, {iconLeft, y, iconLeft + FIconSize, y + FIconSize}, *FIconBitmap, clSkinKey);
}

void TFramePainter::RebuildIconBitmap()
{
    FIconSize = GetSystemMetrics(SM_CXSMICON);
    FIcon = reinterpret_cast<HICON>(SendMessageW(FFrame.Handle(), WM_GETICON, ICON_SMALL, 0));
    if (!FIcon)
        FIcon = reinterpret_cast<HICON>(SendMessageW(FFrame.Handle(), WM_GETICON, ICON_BIG, 0));
    if (!FIcon)
        FIcon = reinterpret_cast<HICON>(GetClassLongPtrW(FFrame.Handle(), GCLP_HICONSM));
    if (!FIcon)
        FIcon = reinterpret_cast<HICON>(GetClassLongPtrW(FFrame.Handle(), GCLP_HICON));
    auto bitmap = std::make_unique<TBitmap>(FIconSize, GetSystemMetrics(SM_CYSMICON), pf16bit);
    const RECT all{0, 0, bitmap->Width(), bitmap->Height()};
    const gdi::Brush key(CreateSolidBrush(ColorToRGB(clSkinKey)));
    FillRect(bitmap->Canvas().Handle(), &all, key.Get());
    if (FIcon)
        DrawIconEx(bitmap->Canvas().Handle(), 0, 0, FIcon, bitmap->Width(), bitmap->Height(), 0, nullptr, DI_NORMAL);
    FIconBitmap = std::move(bitmap);
    ++FIconSerial;
}
