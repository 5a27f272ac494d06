// The skins the user can switch to while Vidkiln runs: the skin stored with
// the main window, then every .skn file in skins\ beside the program. The
// choice lives as long as the run: the program keeps no settings.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct TSkinChoice {
    std::wstring Label; // shown in the window menu
    std::wstring Path;  // empty: the stored skin
};

// The stored skin first, then the skin files of appPath\skins\ by file name
// (without the extension), in name order; a missing folder lists none.
std::vector<TSkinChoice> FindSkinChoices(const std::wstring& appPath);

// Why bytes are not a skin file the engine can load; nothing when they are.
std::optional<std::wstring> SkinFileFault(const std::vector<std::uint8_t>& bytes);

// The whole file, or nothing when it cannot be read.
std::optional<std::vector<std::uint8_t>> ReadSkinFileBytes(const std::wstring& path);
