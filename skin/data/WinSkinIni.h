// TQuickIni: reader of the skin description, the INI-style text entry of a
// skin archive, and the value forms its keys use (colour texts, RGB keys,
// image names).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class TSkinReader;

class TQuickIni {
public:
    // Replaces the contents with the text of bytes (the rest of a stream). A
    // line ends at CR, LF or NUL, and a NUL also ends the text.
    void LoadFromStream(std::span<const std::uint8_t> bytes);

    // Section names in file order, without brackets and trimmed; replaces
    // the contents of strings.
    void ReadSections(std::vector<std::string>& strings) const;

    // Index in Lines() of the first header "[name]" (any case), or -1.
    int SectionLine(std::string_view name) const;

    // Value of the first line of the section whose key matches (any case).
    // A later duplicate is never seen; an empty first value gives the default.
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;

    // As ReadString, converted: decimal with optional sign, or hexadecimal
    // after "$" or "0x". Anything else, and values that do not fit, give the
    // default.
    std::int32_t ReadInteger(std::string_view section, std::string_view key,
                             std::int32_t defaultValue) const;

    // Kept lines: trimmed, neither empty nor comments.
    const std::vector<std::string>& Lines() const { return FLines; }
    // Header lines (brackets included) with their index in Lines().
    const std::vector<std::pair<std::string, int>>& Sections() const { return FSections; }

private:
    std::vector<std::string> FLines;
    std::vector<std::pair<std::string, int>> FSections;
};

// Delphi-style integer text: optional sign, then decimal digits or "$" and
// hexadecimal digits. Hexadecimal takes any 32-bit pattern (so $FFFFFFFF is
// -1, the way colour values are written); decimal must fit a signed 32 bits.
std::optional<std::int32_t> ParseSkinInteger(std::string_view text);

// Colour text "r,g,b" (any non-digits separate): red + green*256 + blue*65536,
// each component cut to its low 8 bits. Empty text gives defaultColour.
std::uint32_t ParseSkinColour(std::string_view text, std::uint32_t defaultColour);

// The colour of keys stem+"R", stem+"G", stem+"B", when all three are present
// and not negative.
std::optional<std::uint32_t> ReadRGBKeys(const TQuickIni& ini, std::string_view section,
                                         std::string_view stem);

// The archive name an image value points at: the part after the last "\" or
// ":", and only when its extension is exactly ".bmp"; otherwise empty.
std::string SkinImageName(std::string_view value);

// The entry bytes of an image value (empty for no image, a wrong extension or
// a missing entry).
void ExtractSkinImage(const TSkinReader& reader, std::string_view value,
                      std::vector<std::uint8_t>& target);
