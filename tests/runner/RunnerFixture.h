// Shared by the runner's Windows tests and its benchmark: the scripted child
// and command lines for it. Their waits keep the UI thread's messages moving
// (the counting timer ticks there).
#pragma once

#include "support/Wait.h"

#include <windows.h>

#include <initializer_list>
#include <string>
#include <string_view>

namespace runner_test {

inline std::wstring OwnFolder()
{
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

inline std::wstring ChildPath()
{
    return OwnFolder() + L"ScriptedChild.exe";
}

// The child's steps are plain ASCII words, so joining them with blanks is safe.
inline std::wstring ChildCommand(std::initializer_list<std::string_view> steps,
                                 const std::wstring& program = ChildPath())
{
    std::wstring command = L"\"" + program + L"\"";
    for (std::string_view step : steps)
        command += L" " + std::wstring(step.begin(), step.end());
    return command;
}

inline std::string Hex(std::string_view bytes)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char byte : bytes) {
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 15];
    }
    return hex;
}

using testsupport::WaitUntil;

} // namespace runner_test
