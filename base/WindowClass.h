// The window class name of any window, ours or the system's.
#pragma once

#include <windows.h>

#include <string>

// Empty for a window that is gone.
std::wstring WindowClassName(HWND window);
