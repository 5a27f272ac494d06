// Where the real FFmpeg programs are looked for, in order: the folder named
// by VIDKILN_ENGINE_DIR (alone, when set: a wrong setting must show, not be
// passed over); the "engine" folder beside the tools; the folders of PATH;
// under Wine, the Linux programs. The tools' own folder is skipped wherever
// it comes up: its ffmpeg.exe is this tool. Portable: the file system is asked through a callback.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vidkiln::tools {

inline constexpr wchar_t kEngineDirVariable[] = L"VIDKILN_ENGINE_DIR";

struct TEngineSearch {
    std::optional<std::wstring> EngineDir;   // the variable's value, when set
    std::wstring ToolsDir;                   // folder of the running tool
    std::wstring PathVariable;               // PATH, folders separated by ';'
    bool UnderWine = false;
    // Windows names of the folders of Linux programs (/usr/bin), under Wine only.
    std::vector<std::wstring> LinuxDirs;
};

struct TEngineProgram {
    std::wstring Path;   // as Windows sees it
    bool Linux = false;  // a Linux program, started through Wine
};

struct TEngineFound {
    std::optional<TEngineProgram> Program;
    std::vector<std::wstring> Looked;  // every path tried, in order
};

// Finds `name` ("ffmpeg" or "ffprobe"). Under Wine a file without ".exe" is
// taken as a Linux program in the variable's folder, the engine folder and
// the Linux folders; PATH is searched for ".exe" only.
TEngineFound FindEngineProgram(const TEngineSearch& search, const std::wstring& name,
                               const std::function<bool(const std::wstring&)>& isFile);

// "Looked for ffprobe in: A; B; C" for the message of a missing engine.
std::wstring DescribeSearch(const std::wstring& name, const TEngineFound& found);

}  // namespace vidkiln::tools
