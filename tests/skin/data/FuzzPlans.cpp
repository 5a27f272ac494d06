#include "FuzzPlans.h"

#include "base/BmpImage.h"
#include "skin/data/ImageGeometry.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

using imgcore::TMargins;
using imgcore::TPiece;
using imgcore::TRectI;

// The keys of the four margins, as the loader reads them for plain
// objects, the frame borders, the menu bar and the caption background.
struct TMarginKeys {
    const char* Left;
    const char* Top;
    const char* Right;
    const char* Bottom;
};
constexpr TMarginKeys kMarginKeys[] = {
    {"LeftWidth", "TopHeight", "RightWidth", "BottomHeight"},
    {"TopTopHeight", nullptr, "TopBotHeight", nullptr},
    {nullptr, "LeftTopHeight", nullptr, "LeftBotHeight"},
    {"TileLeftMenu", nullptr, "TileRightMenu", nullptr},
    {"TXTBackleft", nullptr, "TXTBackRight", nullptr},
};

// Several frames of a strip are enough to show the frame arithmetic.
constexpr int kFramesPlanned = 3;

int Key(const TQuickIni& ini, const std::string& section, const char* key)
{
    return key ? ini.ReadInteger(section, key, 0) : 0;
}

bool Inside(const TRectI& piece, const TRectI& bounds)
{
    return piece.Width() <= 0 || piece.Height() <= 0
        || (piece.Left >= bounds.Left && piece.Top >= bounds.Top && piece.Right <= bounds.Right
            && piece.Bottom <= bounds.Bottom);
}

void CheckSources(const std::vector<TPiece>& pieces, const TRectI& frame)
{
    for (const TPiece& piece : pieces)
        if (!Inside(piece.Source, frame))
            std::abort();
}

void PlanFrame(const TRectI& frame, const TMargins& margins)
{
    for (const int width : {0, 3, 97}) {
        for (const int height : {0, 5, 48}) {
            const TRectI target{0, 0, width, height};
            const std::vector<TPiece> nine = imgcore::NineSlicePieces(width, height, frame, margins, true);
            CheckSources(nine, frame);
            for (const TPiece& piece : nine)
                if (!Inside(piece.Target, target))
                    std::abort();
            CheckSources(imgcore::TiledStripPieces(width, height, frame, margins), frame);
            CheckSources(imgcore::ThreePartPieces(target, frame, margins), frame);
        }
    }
}

} // namespace

void PlanSectionDrawing(const TQuickIni& ini, const std::string& section, int imageWidth, int imageHeight)
{
    imageWidth = std::clamp(imageWidth, 0, imgcore::MaxBmpSide);
    imageHeight = std::clamp(imageHeight, 0, imgcore::MaxBmpSide);
    const int count = ini.ReadInteger(section, "Frame", 1);
    for (const TMarginKeys& keys : kMarginKeys) {
        const TMargins margins{Key(ini, section, keys.Left), Key(ini, section, keys.Top),
                               Key(ini, section, keys.Right), Key(ini, section, keys.Bottom)};
        for (const bool stacked : {false, true}) {
            for (int frame = 1; frame <= std::min(std::max(count, 1), kFramesPlanned); ++frame) {
                PlanFrame(imgcore::FrameOf(imageWidth, imageHeight, stacked, count, frame), margins);
            }
        }
    }
}

std::uint32_t DeclaredSkinSize(const std::uint8_t* data, std::size_t size)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4 && i < size; ++i)
        value |= static_cast<std::uint32_t>(data[i]) << (8 * i);
    return value;
}
