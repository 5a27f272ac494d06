// The gallery's windows in one picture, for skin authors: each window as it
// is on the screen, frame and menu bar included, laid side by side in rows
// on a grey ground. A .png path gets a PNG, any other a 24-bit BMP.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Shows each window alone at the screen's top left in turn, pictures it,
// and puts every window back; throws Exception naming the path when the
// picture cannot be written.
void SavePreview(const std::vector<HWND>& windows, const std::wstring& path);
