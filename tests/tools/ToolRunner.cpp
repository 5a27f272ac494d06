#include "ToolRunner.h"

#include "base/ProcessStart.h"
#include "tools/encoder/Loopback.h"

#include <gtest/gtest.h>


namespace vidkiln::tools::test {

namespace {

// Splits the runner's way: CR, LF or CR LF end a line.
class TLineCutter {
public:
    void Feed(std::string_view bytes, std::vector<std::string>& lines)
    {
        for (char c : bytes) {
            if (c == '\n' && FAfterCr) {
                FAfterCr = false;
                continue;
            }
            FAfterCr = c == '\r';
            if (c == '\r' || c == '\n')
                lines.push_back(std::exchange(FText, {}));
            else
                FText += c;
        }
    }
    void Finish(std::vector<std::string>& lines)
    {
        if (!FText.empty())
            lines.push_back(std::exchange(FText, {}));
    }

private:
    std::string FText;
    bool FAfterCr = false;
};

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(separator, start);
        if (end == std::string::npos)
            end = text.size();
        parts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

const TWinsock& Winsock()
{
    static const TWinsock winsock;
    return winsock;
}

}  // namespace

TToolResult RunTool(const std::wstring& commandLine,
                    const std::function<bool(const std::string&)>& onLine)
{
    const TPipe outputPipe = MakePipe(TChildEnd::Write);
    const TPipe inputPipe = MakePipe(TChildEnd::Read);
    const TKernelHandle& output = outputPipe.Read;
    TProcessStart start;
    start.CommandLine = commandLine;
    start.Flags = CREATE_NEW_CONSOLE;
    start.StdInput = inputPipe.Read.Get();
    start.StdOutput = outputPipe.Write.Get();
    start.StdError = outputPipe.Write.Get();
    start.Show = SW_HIDE;
    TToolResult result;
    TStartedProcess started;
    try {
        started = StartProcess(start);
    } catch (const std::system_error&) {
        ADD_FAILURE() << "cannot start " << Utf8(commandLine);
        result.ExitCode = 0xDEAD;
        return result;
    }
    const TKernelHandle& process = started.Process;
    // Like the front-end, the end of a run is the tool's exit, not the
    // pipe's end; one more read after the exit collects the last bytes.
    TLineCutter cutter;
    bool stopping = false;
    size_t reported = 0;
    while (true) {
        const bool exited = WaitForSingleObject(process.Get(), 0) == WAIT_OBJECT_0;
        DWORD waiting = 0;
        char buffer[4096];
        while (PeekNamedPipe(output.Get(), nullptr, 0, nullptr, &waiting, nullptr) && waiting > 0) {
            DWORD count = 0;
            if (!ReadFile(output.Get(), buffer, sizeof buffer, &count, nullptr) || count == 0)
                break;
            cutter.Feed(std::string_view(buffer, count), result.Lines);
        }
        for (; reported < result.Lines.size() && !stopping; ++reported)
            if (onLine && !onLine(result.Lines[reported])) {
                TerminateProcess(process.Get(), 0);
                stopping = true;
            }
        if (exited)
            break;
        Sleep(5);
    }
    cutter.Finish(result.Lines);
    GetExitCodeProcess(process.Get(), &result.ExitCode);
    return result;
}

TLinuxResult RunLinux(const char* program, const std::vector<std::wstring>& arguments)
{
    Winsock();
    const auto path = WindowsPathOf(program);
    TLinuxResult result;
    if (!path) {
        ADD_FAILURE() << "no Windows name for " << program;
        return result;
    }
    TEngineRun run(TEngineProgram{*path, true}, arguments, L"");
    RunToEnd(run);
    result.ExitCode = run.ExitCode().value_or(-1);
    result.Output = run.Output();
    return result;
}

std::wstring LinuxPath(const std::wstring& windowsPath)
{
    return LinuxPathOf(windowsPath).value_or(L"?");
}

std::map<std::string, std::string> Describe(const std::wstring& file)
{
    const TLinuxResult probe = RunLinux(
        "/usr/bin/ffprobe",
        {L"-v", L"error", L"-show_entries",
         L"stream=codec_type,codec_name,width,height,r_frame_rate,display_aspect_ratio,duration,bit_rate:format=duration",
         L"-of", L"compact", L"file:" + LinuxPath(file)});
    std::map<std::string, std::string> facts;
    for (const std::string& line : Split(probe.Output, '\n')) {
        const std::vector<std::string> fields = Split(line, '|');
        if (fields.empty())
            continue;
        std::string section = fields[0];
        for (const std::string& field : fields)
            if (field == "codec_type=video" || field == "codec_type=audio")
                section = field.substr(11);
        for (size_t i = 1; i < fields.size(); ++i) {
            const size_t equals = fields[i].find('=');
            if (equals != std::string::npos)
                facts.emplace(section + "." + fields[i].substr(0, equals), fields[i].substr(equals + 1));
        }
    }
    return facts;
}

void MakeClip(const std::wstring& file, double seconds, const std::wstring& size,
              const std::vector<std::wstring>& encoding)
{
    if (IsFile(file))
        return;
    const std::wstring extension = file.substr(file.find_last_of(L'.'));
    const std::wstring part = file + L".making" + extension;
    const std::wstring length = std::to_wstring(seconds);
    std::vector<std::wstring> arguments = {
        L"-v", L"error", L"-nostdin", L"-f", L"lavfi", L"-i",
        L"testsrc=size=" + size + L":rate=25:duration=" + length, L"-f", L"lavfi", L"-i",
        L"sine=frequency=440:sample_rate=44100:duration=" + length, L"-y"};
    // 3GP's default sound, AMR, has no encoder in Debian's FFmpeg; 3GP takes AAC too.
    if (extension == L".3gp" && encoding.empty())
        arguments.insert(arguments.end(), {L"-c:a", L"aac"});
    arguments.insert(arguments.end(), encoding.begin(), encoding.end());
    arguments.push_back(LinuxPath(part));
    const TLinuxResult made = RunLinux("/usr/bin/ffmpeg", arguments);
    ASSERT_EQ(made.ExitCode, 0) << made.Output;
    ASSERT_TRUE(MoveFileExW(part.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING));
}

std::wstring TestsFolder() { return ModuleFolder(); }

std::wstring ToolsFolder() { return FullPath(TestsFolder() + L"\\..\\bin"); }

std::wstring ClipsFolder()
{
    const std::wstring folder = TestsFolder() + L"\\tools-clips";
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

std::string ReadFileBytes(const std::wstring& file)
{
    const TKernelHandle handle(CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                           OPEN_EXISTING, 0, nullptr));
    std::string bytes;
    char buffer[64 * 1024];
    DWORD count = 0;
    while (handle && ReadFile(handle.Get(), buffer, sizeof buffer, &count, nullptr) && count > 0)
        bytes.append(buffer, count);
    return bytes;
}

void WriteFileBytes(const std::wstring& file, const std::string& bytes)
{
    const TKernelHandle handle(
        CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    ASSERT_TRUE(handle && WriteFile(handle.Get(), bytes.data(), static_cast<DWORD>(bytes.size()),
                                    &written, nullptr));
}

}  // namespace vidkiln::tools::test
