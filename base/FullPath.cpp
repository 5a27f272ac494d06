#include "FullPath.h"

#include <windows.h>

#include <algorithm>

std::wstring FullPath(const std::wstring& Path)
{
    const DWORD size = GetFullPathNameW(Path.c_str(), 0, nullptr, nullptr);
    if (size == 0)
        return Path;
    std::wstring full(size, L'\0');
    const DWORD length = GetFullPathNameW(Path.c_str(), size, full.data(), nullptr);
    // The current folder may change between the two calls; a longer answer
    // than the buffer is a size, not a length.
    if (length == 0 || length >= size)
        return Path;
    full.resize(length);
    return full;
}
