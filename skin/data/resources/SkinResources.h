// Resources that the skin engine carries inside the program: the default
// skin file (the main window's stored skin) and the bitmaps that skins may
// leave out. They are linked in through the vk_skin_resources object library.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>

// RCDATA: a format-70000 skin file, drawn by skingen and packed by vkskin.
inline constexpr wchar_t kDefaultSkinResource[] = L"DEFAULTSKIN";
// BITMAP: four 16 x 16 window-menu glyphs (restore, maximise, minimise, close), one bit per pixel.
inline constexpr wchar_t kMenuGlyphsResource[] = L"LACQUERMENU";
// BITMAP: track bar channels for skins without [Track] / [TRACKVERT].
inline constexpr wchar_t kTrackResource[] = L"TRACK";
inline constexpr wchar_t kTrackVertResource[] = L"TRACKVERT";

// The bytes of the default skin file inside the given module (the program
// when none is given); empty when the module carries none. Resource memory
// lives as long as the module, so the span needs no owner.
std::span<const std::uint8_t> DefaultSkinFile(HMODULE module = nullptr);
