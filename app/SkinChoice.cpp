#include "SkinChoice.h"

#include "framework/SysUtils.h"
#include "skin/data/SkinRead.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

constexpr wchar_t kStoredSkinLabel[] = L"默认";
constexpr wchar_t kSkinFolder[] = L"skins";

} // namespace

std::vector<TSkinChoice> FindSkinChoices(const std::wstring& appPath)
{
    std::vector<TSkinChoice> files;
    std::error_code error;
    for (fs::directory_iterator entry(fs::path(appPath) / kSkinFolder, error), end; !error && entry != end;
         entry.increment(error)) {
        const fs::path& path = entry->path();
        if (entry->is_regular_file(error) && SameText(path.extension().wstring(), L".skn"))
            files.push_back({path.stem().wstring(), path.wstring()});
    }
    std::sort(files.begin(), files.end(), [](const TSkinChoice& a, const TSkinChoice& b) {
        return LowerCase(a.Label) < LowerCase(b.Label);
    });
    files.insert(files.begin(), {kStoredSkinLabel, L""});
    return files;
}

std::optional<std::wstring> SkinFileFault(const std::vector<std::uint8_t>& bytes)
{
    TSkinReader reader;
    if (!reader.UnpackSkin(bytes))
        return Utf8ToWide(reader.ErrorText());
    std::vector<std::uint8_t> description;
    std::string name;
    if (!reader.FindEntryContaining(".ini", description, name))
        return L"no skin description (.ini) in the file";
    return std::nullopt;
}

std::optional<std::vector<std::uint8_t>> ReadSkinFileBytes(const std::wstring& path)
{
    std::ifstream in(fs::path(path), std::ios::binary);
    if (!in)
        return std::nullopt;
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        return std::nullopt;
    return bytes;
}
