#include "support/Dpi.h"

#include "framework/GdiObjects.h"

#include <windows.h>

namespace testsupport {

int ScreenDpi()
{
    const gdi::ClientDC screen(nullptr);
    return GetDeviceCaps(screen.Get(), LOGPIXELSY);
}

int ScaleToScreen(int value)
{
    return MulDiv(value, ScreenDpi(), 96);
}

} // namespace testsupport
