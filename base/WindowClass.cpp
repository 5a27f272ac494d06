#include "WindowClass.h"

#include <algorithm>

std::wstring WindowClassName(HWND window)
{
    // Class names are at most 256 characters long.
    wchar_t name[257]{};
    const int length = GetClassNameW(window, name, 257);
    return std::wstring(name, static_cast<size_t>(std::max(0, length)));
}
