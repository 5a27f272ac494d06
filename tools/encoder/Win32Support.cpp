#include "tools/encoder/Win32Support.h"

#include <vector>

namespace vidkiln::tools {

std::string Utf8(std::wstring_view text)
{
    if (text.empty())
        return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), size,
                        nullptr, nullptr);
    return result;
}

std::wstring Wide(std::string_view utf8)
{
    if (utf8.empty())
        return {};
    const int size =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring result(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), result.data(), size);
    return result;
}

void WriteLine(std::string_view line)
{
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if (!out || out == INVALID_HANDLE_VALUE)
        return;
    DWORD mode = 0;
    DWORD written = 0;
    if (GetConsoleMode(out, &mode)) {
        const std::wstring text = Wide(line) + L"\r\n";
        WriteConsoleW(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        return;
    }
    const std::string text = std::string(line) + "\r\n";
    WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

namespace {

template <typename F>
F WineExport(const wchar_t* module, const char* name)
{
    const HMODULE handle = GetModuleHandleW(module);
    return handle ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(handle, name)))
                  : nullptr;
}

// Wine allocates both answers on the process heap.
struct THeapText {
    explicit THeapText(void* text) : FText(text) {}
    THeapText(const THeapText&) = delete;
    THeapText& operator=(const THeapText&) = delete;
    ~THeapText()
    {
        if (FText)
            HeapFree(GetProcessHeap(), 0, FText);
    }
    void* FText;
};

}  // namespace

bool UnderWine()
{
    using TGetVersion = const char*(__cdecl*)();
    static const bool wine = WineExport<TGetVersion>(L"ntdll.dll", "wine_get_version") != nullptr;
    return wine;
}

std::optional<std::wstring> LinuxPathOf(const std::wstring& windowsPath)
{
    using TUnixName = char*(__cdecl*)(const wchar_t*);
    const auto unixName = WineExport<TUnixName>(L"kernel32.dll", "wine_get_unix_file_name");
    if (!unixName)
        return std::nullopt;
    const THeapText text(unixName(windowsPath.c_str()));
    if (!text.FText)
        return std::nullopt;
    return Wide(static_cast<const char*>(text.FText));
}

std::optional<std::wstring> WindowsPathOf(const char* linuxPath)
{
    using TDosName = wchar_t*(__cdecl*)(const char*);
    const auto dosName = WineExport<TDosName>(L"kernel32.dll", "wine_get_dos_file_name");
    if (!dosName)
        return std::nullopt;
    const THeapText text(dosName(linuxPath));
    if (!text.FText)
        return std::nullopt;
    return std::wstring(static_cast<const wchar_t*>(text.FText));
}

std::wstring FolderOf(const std::wstring& path)
{
    const size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos)
        return L".";
    // "C:\" keeps its separator: "C:" alone would mean the drive's current folder.
    if (slash == 2 && path.size() > 1 && path[1] == L':')
        return path.substr(0, 3);
    return path.substr(0, slash);
}

std::wstring ModulePath()
{
    std::wstring path(MAX_PATH, L'\0');
    while (true) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::wstring ModuleFolder() { return FolderOf(ModulePath()); }

std::optional<std::wstring> EnvironmentValue(const wchar_t* name)
{
    const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0)
        return std::nullopt;
    std::wstring value(size, L'\0');
    value.resize(GetEnvironmentVariableW(name, value.data(), size));
    return value;
}

bool IsFile(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFolder(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

namespace {

std::optional<BY_HANDLE_FILE_INFORMATION> FileIdentity(const std::wstring& path)
{
    const TKernelHandle file(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file || !GetFileInformationByHandle(file.Get(), &info))
        return std::nullopt;
    return info;
}

}  // namespace

bool SameFile(const std::wstring& first, const std::wstring& second)
{
    const auto a = FileIdentity(first);
    const auto b = FileIdentity(second);
    return a && b && a->dwVolumeSerialNumber == b->dwVolumeSerialNumber &&
           a->nFileIndexHigh == b->nFileIndexHigh && a->nFileIndexLow == b->nFileIndexLow;
}

}  // namespace vidkiln::tools
