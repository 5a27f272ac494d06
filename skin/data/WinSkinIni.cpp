#include "WinSkinIni.h"

#include "SkinRead.h"

#include <algorithm>
#include <limits>

namespace {

bool IsBlank(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool IsHeader(std::string_view line)
{
    return !line.empty() && line.front() == '[' && line.back() == ']';
}

char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameText(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

// FNV-1a of the lower-cased text.
std::uint64_t HashText(std::string_view text)
{
    std::uint64_t hash = 0xCBF29CE484222325u;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(LowerAscii(c));
        hash *= 0x100000001B3u;
    }
    return hash;
}

// The key of an entry line: the text before the first "=", trimmed.
std::string_view KeyOf(std::string_view line)
{
    return Trim(line.substr(0, line.find('=')));
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::optional<std::uint32_t> ParseHex(std::string_view digits)
{
    if (digits.empty())
        return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : digits) {
        const int digit = HexDigit(c);
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + static_cast<unsigned>(digit);
        if (value > std::numeric_limits<std::uint32_t>::max())
            return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

std::optional<std::uint64_t> ParseDecimal(std::string_view digits, std::uint64_t limit)
{
    if (digits.empty())
        return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + static_cast<unsigned>(c - '0');
        if (value > limit)
            return std::nullopt;
    }
    return value;
}

} // namespace

void TQuickIni::LoadFromStream(std::span<const std::uint8_t> bytes)
{
    const std::string_view all(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    FText.assign(all.substr(0, std::min(all.find('\0'), all.size())));
    FLines.clear();
    FSections.clear();
    const std::string_view text = FText;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = std::min(text.find_first_of("\r\n", at), text.size());
        const std::string_view line = Trim(text.substr(at, end - at));
        if (!line.empty() && line.front() != ';') {
            if (IsHeader(line))
                FSections.push_back(static_cast<int>(FLines.size()));
            FLines.push_back({static_cast<std::size_t>(line.data() - text.data()), line.size()});
        }
        at = end;
        if (at < text.size() && text[at] == '\r')
            ++at;
        if (at < text.size() && text[at] == '\n')
            ++at;
    }
    BuildIndex();
}

std::string_view TQuickIni::Line(int index) const
{
    const TLine& line = FLines[static_cast<std::size_t>(index)];
    return std::string_view(FText).substr(line.start, line.length);
}

void TQuickIni::BuildIndex()
{
    FHeaderIndex.clear();
    FKeyIndex.clear();
    int header = -1;
    for (int i = 0; i < LineCount(); ++i) {
        const std::string_view line = Line(i);
        if (IsHeader(line)) {
            header = i;
            FHeaderIndex.push_back({-1, HashText(line), i});
        } else if (header >= 0 && line.find('=') != std::string_view::npos) {
            FKeyIndex.push_back({header, HashText(KeyOf(line)), i});
        }
    }
    std::sort(FHeaderIndex.begin(), FHeaderIndex.end());
    std::sort(FKeyIndex.begin(), FKeyIndex.end());
}

// The first line of the header's entries (or of the headers, for -1) whose
// name equals name in any case.
int TQuickIni::FindFirst(int header, std::string_view name,
                         std::string_view (*keyOf)(std::string_view)) const
{
    const std::vector<TIndexEntry>& index = header < 0 ? FHeaderIndex : FKeyIndex;
    const std::uint64_t hash = HashText(name);
    auto entry = std::lower_bound(index.begin(), index.end(), TIndexEntry{header, hash, -1});
    for (; entry != index.end() && entry->header == header && entry->hash == hash; ++entry) {
        if (SameText(keyOf(Line(entry->line)), name))
            return entry->line;
    }
    return -1;
}

void TQuickIni::ReadSections(std::vector<std::string>& strings) const
{
    strings.clear();
    for (const int section : FSections) {
        const std::string_view header = Line(section);
        strings.emplace_back(Trim(header.substr(1, header.size() - 2)));
    }
}

int TQuickIni::SectionLine(std::string_view name) const
{
    const std::string header = "[" + std::string(name) + "]";
    return FindFirst(-1, header, [](std::string_view line) { return line; });
}

std::string TQuickIni::ReadString(std::string_view section, std::string_view key,
                                  std::string_view defaultValue) const
{
    const int header = SectionLine(section);
    if (header < 0)
        return std::string(defaultValue);
    const int line = FindFirst(header, key, KeyOf);
    if (line < 0)
        return std::string(defaultValue);
    const std::string_view text = Line(line);
    const std::string_view value = Trim(text.substr(text.find('=') + 1));
    return std::string(value.empty() ? defaultValue : value);
}

std::int32_t TQuickIni::ReadInteger(std::string_view section, std::string_view key,
                                    std::int32_t defaultValue) const
{
    std::string text = ReadString(section, key, "");
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        text.replace(0, 2, "$");
    return ParseSkinInteger(text).value_or(defaultValue);
}

std::optional<std::int32_t> ParseSkinInteger(std::string_view text)
{
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (!text.empty() && text.front() == '$') {
        const auto bits = ParseHex(text.substr(1));
        if (!bits)
            return std::nullopt;
        const std::uint32_t value = negative ? 0u - *bits : *bits;
        return static_cast<std::int32_t>(value);
    }
    const std::uint64_t limit = negative ? 0x80000000u : 0x7FFFFFFFu;
    const auto value = ParseDecimal(text, limit);
    if (!value)
        return std::nullopt;
    return static_cast<std::int32_t>(negative ? -static_cast<std::int64_t>(*value)
                                              : static_cast<std::int64_t>(*value));
}

std::uint32_t ParseSkinColour(std::string_view text, std::uint32_t defaultColour)
{
    text = Trim(text);
    if (text.empty())
        return defaultColour;
    std::uint32_t components[3] = {0, 0, 0};
    int filled = 0;
    std::uint32_t number = 0;
    bool pending = false;
    for (const char c : text) {
        if (c >= '0' && c <= '9') {
            // Only the low 8 bits survive, so wrapping is harmless.
            number = number * 10 + static_cast<std::uint32_t>(c - '0');
            pending = true;
            continue;
        }
        if (pending && filled < 3)
            components[filled++] = number & 0xFF;
        number = 0;
        pending = false;
    }
    if (pending && filled == 2)
        components[2] = number & 0xFF;
    return components[0] | (components[1] << 8) | (components[2] << 16);
}

std::optional<std::uint32_t> ReadRGBKeys(const TQuickIni& ini, std::string_view section,
                                         std::string_view stem)
{
    std::uint32_t colour = 0;
    int shift = 0;
    for (const char* suffix : {"R", "G", "B"}) {
        const std::int32_t value = ini.ReadInteger(section, std::string(stem) + suffix, -1);
        if (value < 0)
            return std::nullopt;
        colour |= (static_cast<std::uint32_t>(value) & 0xFF) << shift;
        shift += 8;
    }
    return colour;
}

std::string SkinImageName(std::string_view value)
{
    const std::size_t cut = value.find_last_of("\\:");
    const std::string_view name = cut == std::string_view::npos ? value : value.substr(cut + 1);
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || name.substr(dot) != ".bmp")
        return {};
    return std::string(name);
}

void ExtractSkinImage(const TSkinReader& reader, std::string_view value,
                      std::vector<std::uint8_t>& target)
{
    target.clear();
    const std::string name = SkinImageName(value);
    if (!name.empty())
        reader.ExtractEntry(name, target);
}
