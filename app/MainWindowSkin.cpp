#include "MainWindowSkin.h"

#include "skin/data/resources/SkinResources.h"
#include "skin/data/SkinStream.h"
#include "skin/data/WinSkinData.h"

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

    skin.ReadSkinStream(FrameSkinStream(DefaultSkinFile()));
}
