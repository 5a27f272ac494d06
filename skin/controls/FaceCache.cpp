#include "FaceCache.h"

#include "skin/controls/SkinButtons.h"
#include "skin/controls/SkinControl.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/WinSkinData.h"

#include <algorithm>

const TBitmap& TFaceCache::Face(const TSkinData& skin, const TDataSkinObject& object, int frameCount, int frame,
                                int width, int height, bool seeThrough)
{
    const TKey key{&object, frameCount, frame, width, height, seeThrough};
    const auto found = std::find_if(FFaces.begin(), FFaces.end(), [&key](const TEntry& entry) { return entry.Key == key; });
    if (found != FFaces.end()) {
        std::rotate(found, found + 1, FFaces.end());
        return *FFaces.back().Bitmap;
    }
    if (FFaces.size() >= kLimit)
        FFaces.erase(FFaces.begin());
    auto bitmap = std::make_unique<TBitmap>(width, height, pf24bit);
    HDC dc = bitmap->Canvas().Handle();
    const RECT rect{0, 0, width, height};
    TSkinControl::FillColor(dc, rect, skin.SkinColor(scButtonFace));
    if (seeThrough)
        DrawNineSliceFrame(dc, rect, *object.Bitmap, false, object.Tile == 1, true, frameCount, frame,
                           object.Margins());
    else
        DrawSkinObjectFrame(dc, rect, frameCount, frame, object);
    FFaces.push_back({key, std::move(bitmap)});
    return *FFaces.back().Bitmap;
}
