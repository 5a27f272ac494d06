// Test data for the skin file tests and the benchmark: generated, so every
// run sees the same bytes without binary files in the tree.
#pragma once

#include "SkinArchive.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

std::vector<std::uint8_t> RandomBytes(std::size_t size, std::uint32_t seed);
std::vector<std::uint8_t> TextBytes(std::size_t size);
std::vector<std::uint8_t> Bytes(std::string_view text);

// 24-bit BMP file with flat areas, gradients and a magenta see-through key,
// the way skin bitmaps look.
std::vector<std::uint8_t> SkinLikeBitmap(int width, int height, std::uint32_t seed);

// 34 bitmaps and one description, about 213 KB unpacked, in archive order.
std::vector<TSkinArchiveEntry> SkinLikeEntries();

// Text, bitmaps, long runs and noise in turns, size bytes in all.
std::vector<std::uint8_t> MixedBytes(std::size_t size);

// An archive laid out field by field, for damaged and unusual archives that
// BuildSkinArchive refuses to write.
struct TRawArchive {
    std::uint32_t version = 70000;
    std::optional<std::int32_t> nameListLength;  // default: the real length of names
    std::uint8_t blockFill = 0xCC;     // version block and reserved bytes
    int blockSize = -1;                // -1: the size the version calls for
    std::string names;
    std::vector<std::int32_t> sizes;
    std::vector<std::uint8_t> data;

    std::vector<std::uint8_t> Build() const;
};

// An archive of this name list, entry sizes and entry data, every other field
// as a current skin has it.
TRawArchive RawArchive(std::string names, std::vector<std::int32_t> sizes, std::vector<std::uint8_t> data);

// A skin file: 4-byte size (declaredSize, or the real one when -1) and the
// compressed archive.
std::vector<std::uint8_t> SkinFileOf(const std::vector<std::uint8_t>& archive,
                                     std::int64_t declaredSize = -1);
