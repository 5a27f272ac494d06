// Rendered faces of skin objects for the controls of one window: a face is
// a nine-slice frame of a skin object's image over the skin's face colour,
// at one size. Controls of one size share it, and a repaint that only
// changes state (hover, press) copies a face instead of rendering one.
#pragma once

#include "framework/Bitmap.h"

#include <memory>
#include <vector>

class TDataSkinObject;
class TSkinData;

class TFaceCache {
public:
    // At most this many faces are kept; the one used longest ago goes first.
    static constexpr size_t kLimit = 24;

    // Frame `frame` of `frameCount` of the object's image, `width` by
    // `height`, over the skin's face colour; rendered on first use.
    // seeThrough: magenta shows the face colour whatever the object's Trans.
    const TBitmap& Face(const TSkinData& skin, const TDataSkinObject& object, int frameCount, int frame, int width,
                        int height, bool seeThrough = false);
    // The skin changed: every face is stale.
    void Clear() noexcept { FFaces.clear(); }
    size_t Count() const noexcept { return FFaces.size(); }

private:
    struct TKey {
        const TDataSkinObject* Object;
        int FrameCount;
        int Frame;
        int Width;
        int Height;
        bool SeeThrough;
        bool operator==(const TKey&) const = default;
    };
    struct TEntry {
        TKey Key;
        std::unique_ptr<TBitmap> Bitmap;
    };
    // Most recently used last.
    std::vector<TEntry> FFaces;
};
