// Writing skin files: the archive layout that TSkinReader reads, and the
// compressed file around it.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

struct TSkinArchiveEntry {
    std::string name;
    std::vector<std::uint8_t> bytes;
};

// The archive of format version with the entries in the order given: header
// (reserved bytes zero), a version block of zeros, the names each ended by
// CR LF, the sizes, the data. Throws std::invalid_argument for an unknown
// format, a name holding a line break, or an archive above the size a reader
// accepts.
std::vector<std::uint8_t> BuildSkinArchive(std::uint32_t version,
                                           const std::vector<TSkinArchiveEntry>& entries);

// The skin file of an archive: its 4-byte size, then the LZH stream.
std::vector<std::uint8_t> PackSkinFile(std::span<const std::uint8_t> archive);
