// A stand-in for a Windows FFmpeg, so the tools' Windows engine path (output
// pipe, process handle, job object) runs under Wine too. It reads the
// input file to learn what to do:
//   "ok"    three progress reports, then the output file, exit 0
//   "fail"  an error line on stderr, exit 1
//   "hang"  part of the output, one progress report, its process id in
//           <input>.pid, then waits 30 s
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::wstring Value(const std::vector<std::wstring>& args, const wchar_t* option)
{
    for (size_t i = 0; i + 1 < args.size(); ++i)
        if (args[i] == option)
            return args[i + 1];
    return L"";
}

std::wstring WithoutFilePrefix(const std::wstring& path)
{
    return path.rfind(L"file:", 0) == 0 ? path.substr(5) : path;
}

std::string ReadAll(const std::wstring& path)
{
    std::string text;
    if (FILE* file = _wfopen(path.c_str(), L"rb")) {
        char buffer[256];
        const size_t count = fread(buffer, 1, sizeof buffer, file);
        text.assign(buffer, count);
        fclose(file);
    }
    return text;
}

void WriteAll(const std::wstring& path, const std::string& text)
{
    if (FILE* file = _wfopen(path.c_str(), L"wb")) {
        fwrite(text.data(), 1, text.size(), file);
        fclose(file);
    }
}

SOCKET Connect(const std::wstring& url)
{
    const unsigned short port = static_cast<unsigned short>(std::stoi(url.substr(url.rfind(L':') + 1)));
    SOCKET progress = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    connect(progress, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    return progress;
}

void Report(SOCKET progress, int seconds, const char* state)
{
    const std::string text = "out_time_us=" + std::to_string(seconds * 1000000) + "\nprogress=" + state + "\n";
    send(progress, text.data(), static_cast<int>(text.size()), 0);
}

}  // namespace

int wmain()
{
    int count = 0;
    wchar_t** words = CommandLineToArgvW(GetCommandLineW(), &count);
    const std::vector<std::wstring> args(words, words + count);
    LocalFree(words);
    const std::wstring input = WithoutFilePrefix(Value(args, L"-i"));
    const std::string mode = ReadAll(input);
    WSADATA data{};
    WSAStartup(MAKEWORD(2, 2), &data);
    const SOCKET progress = Connect(Value(args, L"-progress"));
    if (mode.rfind("fail", 0) == 0) {
        fprintf(stderr, "%ls: Invalid data found when processing input\n", input.c_str());
        return 1;
    }
    if (mode.rfind("hang", 0) == 0) {
        WriteAll(WithoutFilePrefix(args.back()), "partial");
        Report(progress, 1, "continue");
        WriteAll(input + L".pid", std::to_string(GetCurrentProcessId()));
        Sleep(30000);  // bounded, so a fault in the tools cannot hang the tests
    }
    for (int second = 1; second <= 3; ++second)
        Report(progress, second, second == 3 ? "end" : "continue");
    WriteAll(WithoutFilePrefix(args.back()), "fake mp4");
    closesocket(progress);
    return 0;
}
