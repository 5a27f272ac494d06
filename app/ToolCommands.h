// The two tools' command lines and the two text protocols read back from
// them: the probe's length line and the encoder's progress line. Portable, so
// the rules build and run under the sanitizers without Windows.
#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vidkiln {

// The probe and encoder command lines as the tools expect them. The double
// quotes inside them are the only quoting any path gets: a Windows path never
// holds a double quote, so every path reaches the tool as one argument.
inline constexpr std::wstring_view kProbeFormat =
    LR"("%s" -msglevel identify=6 -vo none -ao none "%s" 2>&1 |grep ID_LENGTH)";
inline constexpr std::wstring_view kEncoderFormat =
    LR"("%s" -i "%s" -y -f mp4  -b %sk %s %s %s -ab 12.2K -vcodec mpeg4 -acodec libfaac "%s")";

inline constexpr std::wstring_view kProbeTool = L"mplayer.exe";
inline constexpr std::wstring_view kEncoderTool = L"ffmpeg.exe";

// Replaces each "%s" of the format, left to right, with the next piece.
// Pieces are pasted, never scanned, so a piece holding "%s" stays as it is.
// Throws std::invalid_argument when placeholders and pieces differ in number.
std::wstring FormatCommandLine(std::wstring_view format,
                               std::initializer_list<std::wstring_view> pieces);

std::wstring ProbeCommandLine(const std::wstring& appPath, const std::wstring& source);

// One settings list as the command line sees it: the selected index (0 is
// "Auto" for the last three lists) and the selected text.
struct TSetting {
    int Index = 0;
    std::wstring Text;
};

struct TEncoderSettings {
    TSetting VideoKbps;
    TSetting VideoFrame;
    TSetting VideoSize;
    TSetting Aspect;
};

std::wstring EncoderCommandLine(const std::wstring& appPath, const std::wstring& source,
                                const std::wstring& outPath, const TEncoderSettings& settings);
// The same with the output file named outright, for an output that had to
// be renamed (see NumberedOutputPath).
std::wstring EncoderCommandLineTo(const std::wstring& appPath, const std::wstring& source,
                                  const TEncoderSettings& settings, const std::wstring& output);

// OutPath plus the source's file name with its extension (from the last
// point of the name on) replaced by ".mp4"; a name without a point gets
// ".mp4" appended.
std::wstring OutputPathFor(const std::wstring& outPath, const std::wstring& source);

// Another name for an output path: " (number)" before its extension, so
// E:\out\clip.mp4 with 2 gives E:\out\clip (2).mp4.
std::wstring NumberedOutputPath(const std::wstring& output, int number);

// The probe's captured complete lines joined as one text, CR LF between them.
std::string JoinCapturedLines(const std::vector<std::string>& lines);

// True when the joined text holds "id_length=" in any letter case.
bool HasLengthMarker(std::string_view captured);

// Whole seconds from the first "id_length=" (any case) of the joined text:
// of the 20 characters after it, digits and points are collected, CR or LF
// ends the scan and anything else is skipped; the collected text read as a
// decimal number, truncated. 0 when there is no marker, nothing collected,
// or the collected text is not one number that fits.
int DurationFromProbeText(std::string_view captured);

// The position carried by an encoder progress line
// "...ffmpeg_release_time=<seconds>=ffmpeg_release_time...", rounded to the
// nearest whole second with halves going to the even neighbour. Empty when
// the line has no complete marker pair or the text between is not a decimal
// number that fits.
std::optional<int> ProgressFromLine(std::string_view line);

// A length in whole seconds as the job list shows it: minutes and seconds,
// two digits each at least ("00:07", "125:00"); negative lengths as 0.
std::wstring LengthText(int seconds);

// What a tool said last about a failure: its last line that is neither
// blank, nor a progress line, nor the tool's closing note of the exit code
// (which the program reports on its own). Empty when there is none.
std::string LastMessageLine(const std::vector<std::string>& lines);

// A folder from the folder dialog as the output folder: a backslash
// appended when the path is longer than 3 characters (a drive root such as
// C:\ keeps its own).
std::wstring FolderWithBackslash(const std::wstring& folder);

// The files of a multiple selection as the open-file dialog returns it:
// either one full path, or the folder followed by the names in it, each
// ended by a NUL and the list by a second NUL. Empty when nothing is in it.
std::vector<std::wstring> SelectedFiles(std::wstring_view selection);

// The folders EnsureFolder creates in turn: for every backslash from left to
// right the text before it, then the whole path.
std::vector<std::wstring> FolderPrefixes(const std::wstring& path);

} // namespace vidkiln
