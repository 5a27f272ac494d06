// Where the pieces of a skin image go: state frames within a strip and the
// pieces of nine-slice, tiled-strip and three-part drawing. Portable; the
// Win32 side only carries out the copies listed here.
#pragma once

#include <vector>

namespace imgcore {

// Left, top, right, bottom, as GDI rectangles.
struct TRectI {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    constexpr int Width() const noexcept { return Right - Left; }
    constexpr int Height() const noexcept { return Bottom - Top; }
    // Inverted rectangles draw nothing anywhere in the painter.
    constexpr bool Inverted() const noexcept { return Right < Left || Bottom < Top; }
    friend constexpr bool operator==(const TRectI&, const TRectI&) = default;
};

// Fixed border widths within a frame.
struct TMargins {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
};

// Margins as a skin gives them, made safe to compute with: each one between 0
// and the frame's size along its side. No piece planned from them reaches
// outside the frame, and no sum of a margin and a coordinate can overflow.
TMargins ClampMargins(TMargins margins, const TRectI& frame) noexcept;

// Frame k (from 1) of a strip of count equal frames, side by side or stacked.
// A count below 1 is taken as 1 rather than dividing by zero.
TRectI FrameOf(int stripWidth, int stripHeight, bool stacked, int count, int frame) noexcept;

// One copy: Source scaled onto Target, or with Tile repeated unscaled from
// Target's top-left corner.
struct TPiece {
    TRectI Target;
    TRectI Source;
    bool Tile = false;
    friend bool operator==(const TPiece&, const TPiece&) = default;
};

// The pieces of a nine-slice rendering of frame onto a width × height
// bitmap, in drawing order: corners and edges around a stretched or tiled
// centre, the right column and bottom row last so they cover tiles that run
// past the centre. Margins are clamped to the frame first; margins that do
// not fit the target drop to 0 in pairs.
std::vector<TPiece> NineSlicePieces(int width, int height, const TRectI& frame, TMargins margins,
                                    bool tileCentre);

// A horizontal strip over width × height: left cap, the middle piece
// repeated at its own width (stretched to the height), right cap. Caps are
// clamped to the frame.
std::vector<TPiece> TiledStripPieces(int width, int height, const TRectI& frame, TMargins margins);

// Three stretches onto target's full height, or the whole frame stretched
// when it is wider than the target. Margins are clamped to the frame.
std::vector<TPiece> ThreePartPieces(const TRectI& target, const TRectI& frame, TMargins margins);

// Top-left corners of the tiles covering target with tiles of the given
// size; the last row and column may pass the target. Empty for empty tiles.
std::vector<TRectI> TileTargets(const TRectI& target, int tileWidth, int tileHeight);

} // namespace imgcore
