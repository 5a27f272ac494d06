// TQuickIni: reader of the skin description, the INI-style text entry of a
// skin archive, and the value forms its keys use (colour texts, RGB keys,
// image names).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
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

    // Index of the first header line "[name]" (any case), or -1.
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
    int LineCount() const { return static_cast<int>(FLines.size()); }
    std::string_view Line(int index) const;
    // Indexes of the header lines, in file order.
    const std::vector<int>& SectionLines() const { return FSections; }

private:
    struct TLine {
        std::size_t start;
        std::size_t length;
    };
    // Lookups go through sorted hashes of lower-cased names, so a huge
    // hostile description costs one sort, not a scan per key read.
    struct TIndexEntry {
        int header;  // section header line; -1 in the header index itself
        std::uint64_t hash;
        int line;
        auto operator<=>(const TIndexEntry&) const = default;
    };

    void BuildIndex();
    int FindFirst(int header, std::string_view name, std::string_view (*keyOf)(std::string_view)) const;

    std::string FText;
    std::vector<TLine> FLines;
    std::vector<int> FSections;
    std::vector<TIndexEntry> FHeaderIndex;
    std::vector<TIndexEntry> FKeyIndex;
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
