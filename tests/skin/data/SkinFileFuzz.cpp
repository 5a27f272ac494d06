// Fuzzes a whole skin load: unpack any bytes as a skin file, take out every
// entry by index and by name, read the description found in it, and check
// the fast decoder against the step-by-step one on the same stream. Each
// section's image is decoded and its margins planned for drawing on it.
#include "FuzzPlans.h"
#include "LZHReference.h"
#include "base/BmpImage.h"
#include "skin/data/LZH.h"
#include "skin/data/SkinRead.h"
#include "skin/data/WinSkinIni.h"

#include <algorithm>
#include <cstdlib>

namespace {

// Declared sizes above this (real skins unpack to about 213 KB) only spend
// the run decoding noise; the 64 MiB cap is covered by the unit tests.
constexpr std::uint32_t kLargestFuzzedSize = 1 << 18;
constexpr std::uint32_t kLargestComparedSize = 1 << 16;

void CompareDecoders(std::uint32_t declared, std::span<const std::uint8_t> stream)
{
    const auto size = static_cast<std::int32_t>(declared);
    std::vector<std::uint8_t> fast;
    TLZH().LZHUnpack(size, stream, fast);
    if (fast != ReferenceLZHUnpack(size, stream))
        std::abort();
}

void ReadEverything(const TSkinReader& reader)
{
    std::vector<std::uint8_t> target;
    const std::vector<std::string>& names = reader.Names();
    for (int i = 0; i < reader.Count(); ++i) {
        const std::string& name = names[static_cast<std::size_t>(i)];
        reader.ExtractEntry(name, target);
        // By name the first entry of that name comes out.
        if (std::find(names.begin(), names.end(), name) - names.begin() != i)
            continue;
        const auto entry = reader.Entry(i);
        if (entry ? !std::equal(target.begin(), target.end(), entry->begin(), entry->end()) : !target.empty())
            std::abort();
    }
    std::string name;
    if (!reader.FindEntryContaining(".ini", target, name))
        return;
    TQuickIni ini;
    ini.LoadFromStream(target);
    std::vector<std::string> sections;
    ini.ReadSections(sections);
    for (const std::string& section : sections) {
        ExtractSkinImage(reader, ini.ReadString(section, "Image", ""), target);
        imgcore::TBmpImage image;
        try {
            image = imgcore::DecodeBmp(target);
        } catch (const imgcore::EBmpFormat&) {
            // A damaged image loads as no image, drawn with no margins.
        }
        PlanSectionDrawing(ini, section, image.Width, image.Height);
        ParseSkinColour(ini.ReadString(section, "color", ""), 0);
        ini.ReadInteger(section, "Frame", 0);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::uint32_t declared = DeclaredSkinSize(data, size);
    if (declared > kLargestFuzzedSize && declared <= static_cast<std::uint32_t>(kMaxUnpackedSkinSize))
        return 0;
    if (declared <= kLargestComparedSize && size >= 4)
        CompareDecoders(declared, std::span<const std::uint8_t>(data + 4, size - 4));
    TSkinReader reader;
    if (reader.UnpackSkin(std::span<const std::uint8_t>(data, size)))
        ReadEverything(reader);
    return 0;
}
