#include "SkinArchive.h"

#include "skin/data/LZHPack.h"
#include "skin/data/SkinRead.h"

#include <stdexcept>

namespace {

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

std::string NameList(const std::vector<TSkinArchiveEntry>& entries)
{
    std::string list;
    for (const TSkinArchiveEntry& entry : entries) {
        if (entry.name.find_first_of("\r\n") != std::string::npos)
            throw std::invalid_argument("entry name holds a line break: " + entry.name);
        list += entry.name;
        list += "\r\n";
    }
    return list;
}

} // namespace

std::vector<std::uint8_t> BuildSkinArchive(std::uint32_t version,
                                           const std::vector<TSkinArchiveEntry>& entries)
{
    const int blockSize = SkinVersionBlockSize(version);
    if (blockSize < 0)
        throw std::invalid_argument("unknown skin format " + std::to_string(version));
    const std::string names = NameList(entries);
    std::size_t total = kSkinHeaderSize + static_cast<std::size_t>(blockSize) + names.size() +
                        4 * entries.size();
    for (const TSkinArchiveEntry& entry : entries)
        total += entry.bytes.size();
    if (total > static_cast<std::size_t>(kMaxUnpackedSkinSize))
        throw std::invalid_argument("archive of " + std::to_string(total) +
                                    " bytes is above the limit of " +
                                    std::to_string(kMaxUnpackedSkinSize));

    std::vector<std::uint8_t> archive;
    archive.reserve(total);
    PutU32(archive, version);
    PutU32(archive, static_cast<std::uint32_t>(names.size()));
    archive.resize(kSkinHeaderSize + static_cast<std::size_t>(blockSize), 0);
    archive.insert(archive.end(), names.begin(), names.end());
    for (const TSkinArchiveEntry& entry : entries)
        PutU32(archive, static_cast<std::uint32_t>(entry.bytes.size()));
    for (const TSkinArchiveEntry& entry : entries)
        archive.insert(archive.end(), entry.bytes.begin(), entry.bytes.end());
    return archive;
}

std::vector<std::uint8_t> PackSkinFile(std::span<const std::uint8_t> archive)
{
    std::vector<std::uint8_t> file;
    PutU32(file, static_cast<std::uint32_t>(archive.size()));
    const std::vector<std::uint8_t> stream = LZHPack(archive);
    file.insert(file.end(), stream.begin(), stream.end());
    return file;
}
