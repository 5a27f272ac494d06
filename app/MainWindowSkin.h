// The main window's skin data component (SkinData1) as the window's saved
// form data describes it.
#pragma once

class TSkinData;

// Reads the stored values into skin: Active, DisableTag 99, every control
// kind of the default except progress bars, sfMainform, the options
// xoCaptionButtonHint, xoPreview and xoToolbarBK, MenuUpdate on, MenuMerge
// off, and the default skin through the SkinStream form (so it is built at
// once). The caller calls skin.Loaded() when the rest of the form's data has
// been read.
void ReadMainWindowSkinData(TSkinData& skin);
