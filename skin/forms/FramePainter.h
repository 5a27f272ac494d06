// Painting of the skinned frame. The four border pieces are rendered once
// per window size and activity and kept; the caption strip is composed off
// screen from them with the caption text, icon and caption buttons, and kept
// until the text, size, activity, icon or buttons change. A repaint is then
// a few block transfers.
#pragma once

#include "framework/Bitmap.h"
#include "skin/forms/FrameGeometry.h"

#include <windows.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

class TDataSkinBorder;
class TSkinData;
class TWinSkinForm;

// The skin's image of one border piece, or null.
TDataSkinBorder* BorderOf(const TSkinData& skin, framegeo::TBorderPiece kind);

class TFramePainter {
public:
    explicit TFramePainter(TWinSkinForm& frame);
    TFramePainter(const TFramePainter&) = delete;
    TFramePainter& operator=(const TFramePainter&) = delete;

    // Paints the borders, the caption strip and the menu band into the
    // window's DC (dc null) or into dc; a failure leaves the frame as it was.
    void Paint(HDC dc);
    // The window's icon changed (or is read for the first time).
    void RebuildIconBitmap();
    // The skin changed: every kept piece and the caption are drawn anew.
    void DropPieces() noexcept;
    // The border piece for the window size and the frame's activity, kept
    // until either changes.
    const TBitmap& Piece(framegeo::TBorderPiece kind, int width, int height);
    // The width the caption text takes in the caption font.
    int CaptionTextWidth() const;

    // The window width of the last paint.
    int FrameWidth() const noexcept { return FFrameWidth; }
    const RECT& TextRect() const noexcept { return FTextRect; }
    const RECT& TextBackRect() const noexcept { return FTextBackRect; }

private:
    TSkinData& Skin() const noexcept;
    const framegeo::TFrameMetrics& Metrics() const noexcept;
    // The menu band in window coordinates.
    RECT MenuBand() const;
    // One border piece in its place for the window size.
    void DrawBorderPiece(framegeo::TBorderPiece kind, HDC dc);
    void PaintCaptionStrip(HDC dc);
    void ComposeCaption(HDC strip, int width, bool minimised);
    void DrawCaptionText(HDC strip, int width);
    void DrawIcon(HDC strip);
    int StateFrame(int frameCount) const noexcept;
    std::wstring CaptionText() const;

    TWinSkinForm& FFrame;
    int FFrameWidth = 0;
    int FFrameHeight = 0;
    RECT FTextRect{};
    RECT FTextBackRect{};
    std::unique_ptr<TBitmap> FIconBitmap;
    HICON FIcon = nullptr; // the window's, not ours
    int FIconSize = 16;
    int FIconSerial = 0;

    // Rendered border pieces for one window size and activity.
    struct TPieceSet {
        int Width = -1;
        int Height = -1;
        std::array<std::unique_ptr<TBitmap>, 4> Pieces;
    };
    std::array<TPieceSet, 2> FPieces; // [inactive, active]
    // The composed caption strip and what it was composed from.
    struct TCaptionKey {
        int Width = -1;
        int Height = -1;
        bool Active = false;
        bool Minimised = false;
        std::wstring Text;
        int IconSerial = 0;
        std::vector<int> Buttons; // the window state, each button's visibility, use and state
        bool operator==(const TCaptionKey&) const = default;
    };
    std::unique_ptr<TBitmap> FCaptionBitmap;
    TCaptionKey FCaptionKey;
};
