// The system's own text for a Win32 error code.
#pragma once

#include <windows.h>

#include <string>

// Without the trailing line break; "System error N" when the system has no
// text for the code.
std::wstring SystemErrorMessage(DWORD Error);
