// The old encoder and probe command lines that Vidkiln passes to ffmpeg.exe
// and mplayer.exe, and their translation into the arguments of a current
// FFmpeg. Portable.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace vidkiln::tools {

// A command line the tool cannot take; the message says which word and why.
class ECommandLine : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct TEncodeRequest {
    std::wstring Input;
    std::wstring Output;
    std::wstring VideoKbps;   // digits only: the k is added back on translation
    std::wstring AudioKbps;   // decimal, for example 12.2
    std::optional<std::wstring> FrameRate;
    std::optional<std::wstring> Size;
    std::optional<std::wstring> Aspect;
};

// Parses the encoder's arguments (without the program name):
//   -i IN -y -f mp4 -b <k>k [-r R] [-s WxH] [-aspect A] -ab <k>K
//   -vcodec mpeg4 -acodec libfaac OUT
// in any order, blanks already removed by the splitting. Only what the real
// encoder is asked to produce is accepted: mp4, MPEG-4 video, AAC audio
// (libfaac and aac both mean the built-in AAC encoder). Throws ECommandLine.
TEncodeRequest ParseEncoderArguments(const std::vector<std::wstring>& arguments);

// The paths as the engine sees them (Linux paths under Wine) and where its
// progress goes.
struct TEngineTarget {
    std::wstring Input;
    std::wstring Output;
    std::wstring ProgressUrl;
};

// Arguments of FFmpeg (late-2018 builds on) for the request, without the program name.
// Reports go to ProgressUrl twice a second; only errors reach stderr.
std::vector<std::wstring> EncoderEngineArguments(const TEncodeRequest& request,
                                                 const TEngineTarget& target);

// The probe's arguments (without the program name): the first word after the
// options -msglevel, -vo and -ao (each with its value) is the file; the words
// after it ("2>&1", "|grep", "ID_LENGTH") are ignored. Throws ECommandLine.
std::wstring ParseProbeArguments(const std::vector<std::wstring>& arguments);

// ffprobe's arguments that print "duration=<seconds>" for the file.
std::vector<std::wstring> ProbeEngineArguments(const std::wstring& file);

}  // namespace vidkiln::tools
