// Shared by the runner's Windows tests and its benchmark: the scripted child,
// command lines for it, and waits that keep the UI thread's messages moving
// (the counting timer ticks there).
#pragma once

#include <windows.h>

#include <chrono>
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

inline void PumpMessages()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// Processes messages until Done() answers true; false after the timeout.
template <class Predicate>
bool PumpUntil(Predicate done, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        PumpMessages();
    }
    return true;
}

} // namespace runner_test
