// Small Win32 pieces both tools share: text conversion, printing to the
// front-end's pipe, files, and Wine's path mapping, which is looked up at run
// time so the same binary runs on Windows. The kernel-handle owner, the
// system's error text and full paths come from base/.
#pragma once

#include <windows.h>

#include "base/FullPath.h"
#include "base/KernelHandle.h"
#include "base/SystemError.h"

#include <optional>
#include <string>
#include <string_view>

namespace vidkiln::tools {

std::string Utf8(std::wstring_view text);
std::wstring Wide(std::string_view utf8);

// One line to standard output, flushed at once: the front-end reads lines
// as they come. UTF-8 on a pipe, UTF-16 on a console.
void WriteLine(std::string_view line);

bool UnderWine();
// The Linux path of a Windows path (Wine only).
std::optional<std::wstring> LinuxPathOf(const std::wstring& windowsPath);
// The Windows name of a Linux path (Wine only).
std::optional<std::wstring> WindowsPathOf(const char* linuxPath);

std::wstring FolderOf(const std::wstring& path);
std::wstring ModulePath();    // this program's file
std::wstring ModuleFolder();
std::optional<std::wstring> EnvironmentValue(const wchar_t* name);
bool IsFile(const std::wstring& path);
bool IsFolder(const std::wstring& path);

// True when both names lead to one file (same volume and file index), so
// links, 8.3 names and other spellings are caught, not just equal text.
bool SameFile(const std::wstring& first, const std::wstring& second);

}  // namespace vidkiln::tools
