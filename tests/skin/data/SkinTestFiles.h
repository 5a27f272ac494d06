// Small skin files made in memory for the skin data and skin check tests.
#pragma once

#include "SkinArchive.h"

#include <cstdint>
#include <string>
#include <vector>

std::vector<std::uint8_t> TextBytes(const std::string& text);

// A 24-bit BMP file filled with one colour (0x00BBGGRR, magenta by default).
std::vector<std::uint8_t> FlatBmp(int width, int height, std::uint32_t colour = 0xFF00FF);

// A format-70000 skin file of the entries plus the description "skin.ini".
std::vector<std::uint8_t> SkinFileOf(const std::string& ini, std::vector<TSkinArchiveEntry> entries,
                                     std::uint32_t format = 70000);

// The whole file at path; empty when it cannot be read.
std::vector<std::uint8_t> ReadWholeFile(const std::string& path);
