// Stands in for mplayer.exe and ffmpeg.exe in the main window's tests. Under
// the name <tool>.exe it follows the script in the environment variable
// VIDKILN_FAKE_<TOOL> (upper case), steps separated by "|":
//   print:<text>   writes text and a line break to standard output
//   write:<text>   writes text without a line break
//   sleep:<ms>     waits
//   touch          creates the command line's last argument as a small file
//   exit:<code>    ends with that exit code (the default is 0)
//   failif:<text>  ends with exit code 1 when the command line holds text
//   hang           waits until it is terminated
// Every run first appends its command line to the file named by
// VIDKILN_FAKE_LOG, one UTF-8 line per run.
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::wstring Environment(const std::wstring& name)
{
    wchar_t buffer[8192];
    const DWORD length = GetEnvironmentVariableW(name.c_str(), buffer, 8192);
    return length > 0 && length < 8192 ? std::wstring(buffer, length) : std::wstring();
}

std::string Utf8(const std::wstring& text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), size,
                        nullptr, nullptr);
    return result;
}

std::wstring ToolName()
{
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring name = path;
    name = name.substr(name.find_last_of(L"\\/") + 1);
    name = name.substr(0, name.rfind(L'.'));
    for (wchar_t& c : name)
        c = static_cast<wchar_t>(towupper(c));
    return name;
}

void AppendToLog()
{
    const std::wstring log = Environment(L"VIDKILN_FAKE_LOG");
    if (log.empty())
        return;
    HANDLE file = CreateFileW(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    const std::string line = Utf8(GetCommandLineW()) + "\n";
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
}

void Write(const std::string& text)
{
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()),
              &written, nullptr);
}

void TouchLastArgument()
{
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (count > 1) {
        HANDLE file = CreateFileW(arguments[count - 1], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            WriteFile(file, "mp4", 3, &written, nullptr);
            CloseHandle(file);
        }
    }
    LocalFree(arguments);
}

std::vector<std::wstring> Steps(const std::wstring& script)
{
    std::vector<std::wstring> steps;
    std::size_t at = 0;
    while (at <= script.size()) {
        const auto bar = script.find(L'|', at);
        steps.push_back(script.substr(at, bar == std::wstring::npos ? std::wstring::npos : bar - at));
        if (bar == std::wstring::npos)
            break;
        at = bar + 1;
    }
    return steps;
}

} // namespace

int wmain()
{
    AppendToLog();
    for (const std::wstring& step : Steps(Environment(L"VIDKILN_FAKE_" + ToolName()))) {
        const auto colon = step.find(L':');
        const std::wstring verb = step.substr(0, colon);
        const std::wstring value = colon == std::wstring::npos ? L"" : step.substr(colon + 1);
        if (verb == L"print")
            Write(Utf8(value) + "\r\n");
        else if (verb == L"write")
            Write(Utf8(value));
        else if (verb == L"sleep")
            Sleep(static_cast<DWORD>(std::stoul(value)));
        else if (verb == L"touch")
            TouchLastArgument();
        else if (verb == L"exit")
            return std::stoi(value);
        else if (verb == L"failif" && std::wstring(GetCommandLineW()).find(value) != std::wstring::npos)
            return 1;
        else if (verb == L"hang")
            Sleep(INFINITE);
    }
    return 0;
}
