#include "MainWindowSkin.h"

#include "SkinResources.h"
#include "skin/data/WinSkinData.h"

#include <vector>

void ReadMainWindowSkinData(TSkinData& skin)
{
    skin.BeginReading();
    skin.SetActive(true);
    skin.DisableTag = 99;
    skin.SkinControls = kDefaultSkinControls & ~SetBit<TSkinControlTypes>(xcProgress);
    skin.SkinFormtype = sfMainform;
    skin.Options = SetBit<TSkinOptions>(xoCaptionButtonHint) | SetBit<TSkinOptions>(xoPreview) |
                   SetBit<TSkinOptions>(xoToolbarBK);
    skin.MenuUpdate = true;
    skin.MenuMerge = false;

    const std::span<const std::uint8_t> file = DefaultSkinFile();
    const auto size = static_cast<std::uint32_t>(file.size());
    std::vector<std::uint8_t> stored;
    stored.reserve(4 + file.size());
    for (int i = 0; i < 4; ++i)
        stored.push_back(static_cast<std::uint8_t>(size >> (8 * i)));
    stored.insert(stored.end(), file.begin(), file.end());
    skin.ReadSkinStream(stored);
}
