#include "SkinResources.h"

std::span<const std::uint8_t> DefaultSkinFile(HMODULE module)
{
    if (!module)
        module = GetModuleHandleW(nullptr);
    HRSRC info = FindResourceW(module, kDefaultSkinResource, MAKEINTRESOURCEW(10)); // RT_RCDATA
    if (!info)
        return {};
    HGLOBAL data = LoadResource(module, info);
    const void* bytes = data ? LockResource(data) : nullptr;
    if (!bytes)
        return {};
    return {static_cast<const std::uint8_t*>(bytes), static_cast<std::size_t>(SizeofResource(module, info))};
}
