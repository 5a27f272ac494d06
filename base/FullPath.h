// The full path of a file name, as the system resolves it against the
// current folder.
#pragma once

#include <string>

// The name as given when the system cannot resolve it.
std::wstring FullPath(const std::wstring& Path);
