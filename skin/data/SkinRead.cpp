#include "SkinRead.h"

#include "LZH.h"

#include <algorithm>
#include <new>

namespace {

// Little-endian 32-bit value at offset; bytes past the end read as zero, the
// way a short read leaves a zeroed field.
std::uint32_t ReadU32(std::span<const std::uint8_t> bytes, std::size_t offset)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        if (offset + i < bytes.size())
            value |= static_cast<std::uint32_t>(bytes[offset + i]) << (8 * i);
    }
    return value;
}

std::string Damaged(std::string_view what)
{
    return "Damaged skin file: " + std::string(what);
}

// Calls line(text of the line) for every line of a text list.
template <class TLine>
void ForEachTextLine(std::string_view text, TLine&& line)
{
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        line(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        line(text.substr(start));
}

} // namespace

int SkinVersionBlockSize(std::uint32_t version)
{
    switch (version) {
    case 20000:
        return 0;
    case 30000:
        return 256;
    case 40000:
        return 80;
    case 50000:
        return 48;
    case 60000:
        return 117;
    case 70000:
        return 69;
    default:
        return -1;
    }
}

std::string LowerCaseAscii(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

std::vector<std::string> SplitTextLines(std::string_view text)
{
    std::vector<std::string> lines;
    ForEachTextLine(text, [&lines](std::string_view line) { lines.emplace_back(line); });
    return lines;
}

bool TSkinReader::UnpackSkin(std::span<const std::uint8_t> skinFile)
{
    Clear();
    try {
        return Unpack(skinFile);
    } catch (const ElzhException& error) {
        return Fail(error.what());
    } catch (const std::bad_alloc&) {
        return Fail("Not enough memory to unpack the skin file");
    }
}

bool TSkinReader::Unpack(std::span<const std::uint8_t> skinFile)
{
    const auto unpackedSize = static_cast<std::int32_t>(ReadU32(skinFile, 0));
    if (unpackedSize < 0)
        return Fail(Damaged("negative unpacked size"));
    if (unpackedSize > kMaxUnpackedSkinSize)
        return Fail(Damaged("unpacked size " + std::to_string(unpackedSize) +
                            " is above the limit of " + std::to_string(kMaxUnpackedSkinSize) +
                            " bytes"));
    FUnpackedSize = unpackedSize;

    std::vector<std::uint8_t> archive;
    TLZH lzh;
    lzh.LZHUnpack(unpackedSize, skinFile.subspan(std::min<std::size_t>(4, skinFile.size())),
                  archive);
    if (lzh.InputExhausted())
        return Fail(Damaged("the compressed data ends early"));
    // A match may run past the end; those bytes belong to no archive.
    archive.resize(static_cast<std::size_t>(unpackedSize));
    return Index(archive);
}

bool TSkinReader::Index(std::vector<std::uint8_t>& archive)
{
    FVersion = ReadU32(archive, 0);
    const int blockSize = SkinVersionBlockSize(FVersion);
    if (blockSize < 0)
        return Fail(kOldSkinMessage);
    FNameListLength = static_cast<std::int32_t>(ReadU32(archive, 4));
    const std::size_t listStart = kSkinHeaderSize + static_cast<std::size_t>(blockSize);
    if (archive.size() < listStart)
        return Fail(Damaged("the archive header is incomplete"));
    if (FNameListLength < 0 || archive.size() - listStart < static_cast<std::size_t>(FNameListLength))
        return Fail(Damaged("the name list runs past the end of the archive"));

    const std::string nameList = LowerCaseAscii(std::string_view(
        reinterpret_cast<const char*>(archive.data() + listStart),
        static_cast<std::size_t>(FNameListLength)));
    // Counted before anything is built, so a hostile list cannot make a huge
    // table that the archive has no sizes for.
    std::size_t count = 0;
    ForEachTextLine(nameList, [&count](std::string_view) { ++count; });
    const std::size_t sizesStart = listStart + nameList.size();
    if ((archive.size() - sizesStart) / 4 < count)
        return Fail(Damaged("the entry size table runs past the end of the archive"));

    FNames = SplitTextLines(nameList);
    FSizes.resize(count);
    FOffsets.resize(count);
    std::int64_t offset = 0;
    for (std::size_t i = 0; i < count; ++i) {
        FSizes[i] = static_cast<std::int32_t>(ReadU32(archive, sizesStart + 4 * i));
        FOffsets[i] = offset;
        offset += FSizes[i];
    }
    archive.erase(archive.begin(), archive.begin() + static_cast<std::ptrdiff_t>(sizesStart + 4 * count));
    FEntryData = std::move(archive);
    return true;
}

void TSkinReader::Clear()
{
    FNames.clear();
    FSizes.clear();
    FOffsets.clear();
    FEntryData.clear();
    FVersion = 0;
    FNameListLength = 0;
    FUnpackedSize = 0;
    FErrorText.clear();
}

bool TSkinReader::Fail(std::string text)
{
    Clear();
    FErrorText = std::move(text);
    if (OnMessage)
        OnMessage(FErrorText);
    return false;
}

std::optional<std::span<const std::uint8_t>> TSkinReader::Entry(int index) const
{
    if (index < 0 || index >= Count())
        return std::nullopt;
    const std::int64_t offset = FOffsets[index];
    const std::int64_t size = FSizes[index];
    const auto available = static_cast<std::int64_t>(FEntryData.size());
    if (size < 0 || offset < 0 || offset > available || size > available - offset)
        return std::nullopt;
    return std::span<const std::uint8_t>(FEntryData).subspan(static_cast<std::size_t>(offset),
                                                             static_cast<std::size_t>(size));
}

void TSkinReader::CopyEntry(int index, std::vector<std::uint8_t>& target) const
{
    if (const auto bytes = Entry(index))
        target.assign(bytes->begin(), bytes->end());
}

void TSkinReader::ExtractEntry(std::string_view fileName, std::vector<std::uint8_t>& target) const
{
    target.clear();
    const std::string wanted = LowerCaseAscii(fileName);
    const auto found = std::find(FNames.begin(), FNames.end(), wanted);
    if (found != FNames.end())
        CopyEntry(static_cast<int>(found - FNames.begin()), target);
}

bool TSkinReader::FindEntryContaining(std::string_view text, std::vector<std::uint8_t>& target,
                                      std::string& name) const
{
    target.clear();
    const auto found = std::find_if(FNames.begin(), FNames.end(), [text](const std::string& entry) {
        return entry.find(text) != std::string::npos;
    });
    if (found == FNames.end())
        return false;
    const int index = static_cast<int>(found - FNames.begin());
    if (!Entry(index))
        return false;
    CopyEntry(index, target);
    name = *found;
    return true;
}
