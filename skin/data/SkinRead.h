// TSkinReader: unpacks a skin file into its archive and hands out the
// archive's entries (bitmaps and the skin description) by name.
//
// Skin file: 4-byte little-endian unpacked size U, then the LZH stream.
// Archive (the U unpacked bytes): format version, name-list length L,
// 8 reserved bytes, a version block whose size depends on the format, the
// name list (text lines), one 32-bit size per name, then the entries' bytes
// in list order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Shown when the archive's format version is not one this reader knows; the
// carriage return is the line break of the message box.
inline constexpr char kOldSkinMessage[] = "This is Older Skin File\rPlease update to new version !";

// A skin file claiming more unpacked bytes than this is refused rather than
// allocated: real skins unpack to a few hundred kilobytes.
inline constexpr std::int32_t kMaxUnpackedSkinSize = 64 * 1024 * 1024;

inline constexpr std::size_t kSkinHeaderSize = 16;

// Bytes of the version block after the header, or -1 for a format this
// reader does not know.
int SkinVersionBlockSize(std::uint32_t version);

// Skin texts compare without regard to case, ASCII letters only.
std::string LowerCaseAscii(std::string_view text);

// Lines of a text list: a line ends at CR, LF or CR LF; a break at the very
// end adds no empty line, an empty line in the middle is kept.
std::vector<std::string> SplitTextLines(std::string_view text);

using TSkinMessageEvent = std::function<void(const std::string& text)>;

class TSkinReader {
public:
    // Texts the user has to see: the old-skin message, or why a damaged skin
    // file was refused. The portable reader shows nothing itself; the
    // Windows side puts them in a message box.
    TSkinMessageEvent OnMessage;

    // Decompresses and indexes a skin file. False, with the reason in
    // ErrorText() and passed to OnMessage, when the format is unknown or the
    // file is damaged; the reader is then empty.
    bool UnpackSkin(std::span<const std::uint8_t> skinFile);

    // Copies the first entry named fileName (any case) into target; target
    // stays empty when there is none or its size does not fit the archive.
    void ExtractEntry(std::string_view fileName, std::vector<std::uint8_t>& target) const;

    // Copies the first entry whose lower-cased name contains text (compared
    // as is) and sets name to it. False, target empty and name unchanged when
    // none matches or that entry does not fit the archive.
    bool FindEntryContaining(std::string_view text, std::vector<std::uint8_t>& target,
                             std::string& name) const;

    // The bytes of entry index, or nothing when its size is negative or runs
    // past the end of the archive.
    std::optional<std::span<const std::uint8_t>> Entry(int index) const;

    const std::vector<std::string>& Names() const { return FNames; }
    int Count() const { return static_cast<int>(FNames.size()); }
    const std::vector<std::int32_t>& Sizes() const { return FSizes; }
    std::uint32_t Version() const { return FVersion; }
    std::int32_t NameListLength() const { return FNameListLength; }
    std::int32_t UnpackedSize() const { return FUnpackedSize; }
    std::size_t EntryDataSize() const { return FEntryData.size(); }
    const std::string& ErrorText() const { return FErrorText; }

private:
    bool Unpack(std::span<const std::uint8_t> skinFile);
    bool Index(std::vector<std::uint8_t>& archive);
    void Clear();
    bool Fail(std::string text);
    void CopyEntry(int index, std::vector<std::uint8_t>& target) const;

    std::vector<std::string> FNames;
    std::vector<std::int32_t> FSizes;
    std::vector<std::int64_t> FOffsets;  // start of each entry in FEntryData
    std::vector<std::uint8_t> FEntryData;
    std::uint32_t FVersion = 0;
    std::int32_t FNameListLength = 0;
    std::int32_t FUnpackedSize = 0;
    std::string FErrorText;
};
