// Runs the tools the way Vidkiln's console runner does (one command line, a
// new hidden console, stdout and stderr through one pipe, TerminateProcess to
// stop), and Linux programs through the engine machinery, for making clips
// and checking results with the real FFmpeg.
#pragma once

#include "tools/encoder/EngineRun.h"
#include "tools/encoder/Win32Support.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace vidkiln::tools::test {

struct TToolResult {
    DWORD ExitCode = 0;
    std::vector<std::string> Lines;
};

// Runs the command line to its end. `onLine` may ask to stop the tool
// (TerminateProcess) by returning false.
TToolResult RunTool(const std::wstring& commandLine,
                    const std::function<bool(const std::string&)>& onLine = {});

// Runs a Linux program to its end; its output and exit code.
struct TLinuxResult {
    int ExitCode = -1;
    std::string Output;
};
TLinuxResult RunLinux(const char* program, const std::vector<std::wstring>& arguments);

// The Linux path of a Windows path.
std::wstring LinuxPath(const std::wstring& windowsPath);

// What ffprobe says of a file: "video.codec_name", "video.width", ...,
// "video.duration", "audio.codec_name", "format.duration".
std::map<std::string, std::string> Describe(const std::wstring& file);

// Makes a clip with the real encoder's test sources unless it is there:
// 25 frames a second and a 44.1 kHz tone, encoded with `encoding` (FFmpeg's
// output options: format, codecs, rates) or the container's defaults.
void MakeClip(const std::wstring& file, double seconds, const std::wstring& size,
              const std::vector<std::wstring>& encoding = {});

std::wstring TestsFolder();   // where the test executables lie
std::wstring ToolsFolder();   // <build>\bin, where ffmpeg.exe and mplayer.exe lie
std::wstring ClipsFolder();   // <build>\tests\tools-clips, made on first use

std::string ReadFileBytes(const std::wstring& file);
void WriteFileBytes(const std::wstring& file, const std::string& bytes);

}  // namespace vidkiln::tools::test
