#include "FrameRegion.h"

#include "skin/data/ImgUtil.h"
#include "skin/data/WinSkinData.h"
#include "skin/forms/FramePainter.h"
#include "skin/forms/WinSkinForm.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::array<framegeo::TBorderPiece, 4> kAllPieces{framegeo::bpLeft, framegeo::bpRight, framegeo::bpTop,
                                                           framegeo::bpBottom};

} // namespace

void TFrameRegion::RememberOriginal()
{
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    FHadOriginal = GetWindowRgn(FFrame.Handle(), region) != ERROR;
    if (FHadOriginal)
        FOriginal.Reset(region);
    else
        DeleteObject(region);
}

void TFrameRegion::Build(TFramePainter& painter)
{
    if (FFrame.State() == fsDetached || !FFrame.FrameSkinned())
        return;
    if (FFrame.FormKind() == fkMdiChild && FFrame.WindowState() != wsNormal)
        return;
    RECT window{};
    GetWindowRect(FFrame.Handle(), &window);
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    if (width <= 0 || height <= 0)
        return;
    const bool refreshing = FFrame.State() == fsRefreshing;
    if (FMade && width == FWidth && height == FHeight && FFrame.FormKind() != fkMdiChild && !refreshing)
        return;
    gdi::Region region(Shape(painter, width, height));
    FWidth = width;
    FHeight = height;
    // A new skin that shapes the window as the old one did keeps the region
    // the window has: setting it again would cost a round of the window
    // system's work for nothing (the refresh repaints the frame).
    if (refreshing && FMade && HasWindowRegion(region.Get()))
        return;
    HRGN handed = region.Release();
    FMade = SetWindowRgn(FFrame.Handle(), handed, TRUE) != 0;
    if (!FMade)
        DeleteObject(handed);
}

HRGN TFrameRegion::Shape(TFramePainter& painter, int width, int height) const
{
    const TSkinData& skin = *FFrame.SkinData();
    const bool anyTransparent = std::any_of(kAllPieces.begin(), kAllPieces.end(), [&](framegeo::TBorderPiece kind) {
        const TDataSkinBorder* border = BorderOf(skin, kind);
        return border && border->Trans != 0;
    });
    if (!anyTransparent)
        return CreateRectRgn(0, 0, width, height);
    const framegeo::TFrameMetrics& metrics = FFrame.Metrics();
    gdi::Region region(CreateRectRgn(metrics.LeftWidth, metrics.TopHeight, width - metrics.RightWidth,
                                     height - metrics.BottomHeight));
    if (FFrame.BorderKind() == bkNoCaption)
        return region.Release();
    for (framegeo::TBorderPiece kind : kAllPieces) {
        const framegeo::TRectI rect = framegeo::BorderPieceRect(kind, metrics, width, height);
        if (rect.Width() <= 0 || rect.Height() <= 0)
            continue;
        const TDataSkinBorder* border = BorderOf(skin, kind);
        const bool shaped = border && border->Trans == 1 && !border->Bitmap->Empty()
                            && (kind == framegeo::bpBottom ? rect.Height() >= 2 : rect.Height() > 1);
        gdi::Region part(shaped ? RegionFromBitmap(painter.Piece(kind, width, height), rect.Left, rect.Top, 1, 1, 1,
                                                   clSkinKey)
                                      .Release()
                                : CreateRectRgn(rect.Left, rect.Top, rect.Right, rect.Bottom));
        CombineRgn(region.Get(), region.Get(), part.Get(), RGN_OR);
    }
    return region.Release();
}

bool TFrameRegion::HasWindowRegion(HRGN region) const
{
    const gdi::Region current(CreateRectRgn(0, 0, 0, 0));
    return GetWindowRgn(FFrame.Handle(), current.Get()) != ERROR && EqualRgn(current.Get(), region);
}

void TFrameRegion::GiveBack()
{
    if (!FMade && !FHadOriginal)
        return;
    HRGN original = FHadOriginal ? FOriginal.Release() : nullptr;
    SetWindowRgn(FFrame.Handle(), original, TRUE);
    FMade = false;
    FHadOriginal = false;
}
