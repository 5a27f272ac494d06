// Helpers shared by the common-control files; not part of the framework's interface.
#pragma once

#include "ImgList.h"

// The image list a saved form names, as its property writer receives it.
inline TCustomImageList* AsImageList(TObject* Value)
{
    return static_cast<TCustomImageList*>(Value);
}
