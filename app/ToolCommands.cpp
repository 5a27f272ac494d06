#include "ToolCommands.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace vidkiln {

namespace {

constexpr std::string_view kLengthMarker = "id_length=";
constexpr std::size_t kLengthWindow = 20;
constexpr std::string_view kProgressOpen = "ffmpeg_release_time=";
constexpr std::string_view kProgressClose = "=ffmpeg_release_time";

// A decimal number split at its point: [sign] digits [. digits], at least
// one digit in all.
struct TDecimal {
    bool Negative = false;
    std::string_view Whole;
    std::string_view Fraction;
};

bool AllDigits(std::string_view text)
{
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

std::optional<TDecimal> ParseDecimal(std::string_view text)
{
    TDecimal number;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        number.Negative = text.front() == '-';
        text.remove_prefix(1);
    }
    const auto point = text.find('.');
    number.Whole = text.substr(0, point);
    if (point != std::string_view::npos)
        number.Fraction = text.substr(point + 1);
    if (!AllDigits(number.Whole) || !AllDigits(number.Fraction))
        return std::nullopt;
    if (number.Whole.empty() && number.Fraction.empty())
        return std::nullopt;
    return number;
}

// The whole part as an int, or empty when it does not fit.
std::optional<long long> WholeValue(std::string_view digits)
{
    long long value = 0;
    for (const char c : digits) {
        value = value * 10 + (c - '0');
        if (value > std::numeric_limits<int>::max())
            return std::nullopt;
    }
    return value;
}

// Decides rounding on the decimal digits themselves, so a half is a half and
// not a binary neighbour of it.
bool RoundsAway(long long whole, std::string_view fraction)
{
    if (fraction.empty() || fraction.front() < '5')
        return false;
    if (fraction.front() > '5')
        return true;
    if (fraction.substr(1).find_first_not_of('0') != std::string_view::npos)
        return true;
    return whole % 2 != 0;
}

std::optional<int> SignedInt(bool negative, long long magnitude)
{
    if (magnitude > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(negative ? -magnitude : magnitude);
}

std::string_view TrimBlanks(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::size_t FindLengthMarker(std::string_view captured)
{
    std::string lowered(captured);
    for (char& c : lowered)
        c = LowerAscii(c);
    return lowered.find(kLengthMarker);
}

std::wstring SettingPiece(std::wstring_view option, const TSetting& setting)
{
    if (setting.Index <= 0)
        return {};
    return std::wstring(option) + setting.Text + L" ";
}

} // namespace

std::wstring FormatCommandLine(std::wstring_view format,
                               std::initializer_list<std::wstring_view> pieces)
{
    std::wstring result;
    auto piece = pieces.begin();
    std::size_t at = 0;
    for (auto hole = format.find(L"%s"); hole != std::wstring_view::npos;
         hole = format.find(L"%s", at)) {
        if (piece == pieces.end())
            throw std::invalid_argument("command line format has more placeholders than pieces");
        result.append(format.substr(at, hole - at));
        result.append(*piece++);
        at = hole + 2;
    }
    if (piece != pieces.end())
        throw std::invalid_argument("command line format has fewer placeholders than pieces");
    result.append(format.substr(at));
    return result;
}

std::wstring ProbeCommandLine(const std::wstring& appPath, const std::wstring& source)
{
    return FormatCommandLine(kProbeFormat, {appPath + std::wstring(kProbeTool), source});
}

std::wstring EncoderCommandLine(const std::wstring& appPath, const std::wstring& source,
                                const std::wstring& outPath, const TEncoderSettings& settings)
{
    return EncoderCommandLineTo(appPath, source, settings, OutputPathFor(outPath, source));
}

std::wstring EncoderCommandLineTo(const std::wstring& appPath, const std::wstring& source,
                                  const TEncoderSettings& settings, const std::wstring& output)
{
    return FormatCommandLine(kEncoderFormat,
                             {appPath + std::wstring(kEncoderTool), source,
                              settings.VideoKbps.Text, SettingPiece(L" -r ", settings.VideoFrame),
                              SettingPiece(L" -s ", settings.VideoSize),
                              SettingPiece(L" -aspect ", settings.Aspect), output});
}

std::wstring NumberedOutputPath(const std::wstring& output, int number)
{
    const auto nameStart = output.find_last_of(L"\\/:");
    const auto point = output.rfind(L'.');
    const bool hasExtension =
        point != std::wstring::npos && (nameStart == std::wstring::npos || point > nameStart);
    const auto at = hasExtension ? point : output.size();
    return output.substr(0, at) + L" (" + std::to_wstring(number) + L")" + output.substr(at);
}

std::wstring OutputPathFor(const std::wstring& outPath, const std::wstring& source)
{
    const auto folderEnd = source.find_last_of(L"\\/:");
    std::wstring name = folderEnd == std::wstring::npos ? source : source.substr(folderEnd + 1);
    const auto point = name.rfind(L'.');
    if (point != std::wstring::npos)
        name.erase(point);
    return outPath + name + L".mp4";
}

std::string JoinCapturedLines(const std::vector<std::string>& lines)
{
    std::string joined;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            joined += "\r\n";
        joined += lines[i];
    }
    return joined;
}

bool HasLengthMarker(std::string_view captured)
{
    return FindLengthMarker(captured) != std::string_view::npos;
}

int DurationFromProbeText(std::string_view captured)
{
    const auto marker = FindLengthMarker(captured);
    if (marker == std::string_view::npos)
        return 0;
    std::string collected;
    for (const char c : captured.substr(marker + kLengthMarker.size(), kLengthWindow)) {
        if (c == '\r' || c == '\n')
            break;
        if ((c >= '0' && c <= '9') || c == '.')
            collected += c;
    }
    const auto number = ParseDecimal(collected);
    if (!number)
        return 0;
    return static_cast<int>(WholeValue(number->Whole).value_or(0));
}

std::optional<int> ProgressFromLine(std::string_view line)
{
    const auto open = line.find(kProgressOpen);
    if (open == std::string_view::npos)
        return std::nullopt;
    const std::string_view rest = line.substr(open + kProgressOpen.size());
    const auto close = rest.find(kProgressClose);
    if (close == std::string_view::npos)
        return std::nullopt;
    const auto number = ParseDecimal(TrimBlanks(rest.substr(0, close)));
    if (!number)
        return std::nullopt;
    const auto whole = WholeValue(number->Whole);
    if (!whole)
        return std::nullopt;
    return SignedInt(number->Negative, *whole + (RoundsAway(*whole, number->Fraction) ? 1 : 0));
}

std::wstring FolderWithBackslash(const std::wstring& folder)
{
    return folder.size() > 3 ? folder + L"\\" : folder;
}

std::vector<std::wstring> FolderPrefixes(const std::wstring& path)
{
    std::vector<std::wstring> prefixes;
    for (auto slash = path.find(L'\\'); slash != std::wstring::npos;
         slash = path.find(L'\\', slash + 1))
        prefixes.push_back(path.substr(0, slash));
    prefixes.push_back(path);
    return prefixes;
}

std::vector<std::wstring> SelectedFiles(std::wstring_view selection)
{
    std::vector<std::wstring> parts;
    while (!selection.empty() && selection.front() != L'\0') {
        const auto end = std::min(selection.find(L'\0'), selection.size());
        parts.emplace_back(selection.substr(0, end));
        selection.remove_prefix(std::min(end + 1, selection.size()));
    }
    if (parts.size() <= 1)
        return parts;
    std::wstring folder = parts.front();
    if (folder.back() != L'\\')
        folder += L'\\';
    std::vector<std::wstring> files;
    for (auto name = parts.begin() + 1; name != parts.end(); ++name)
        files.push_back(folder + *name);
    return files;
}

std::wstring LengthText(int seconds)
{
    seconds = std::max(seconds, 0);
    const auto twoDigits = [](int value) {
        return (value < 10 ? L"0" : L"") + std::to_wstring(value);
    };
    return twoDigits(seconds / 60) + L":" + twoDigits(seconds % 60);
}

std::string LastMessageLine(const std::vector<std::string>& lines)
{
    for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
        const auto first = line->find_first_not_of(" \t\r\n");
        if (first == std::string::npos || ProgressFromLine(*line) ||
            line->find("exit code") != std::string::npos)
            continue;
        const auto last = line->find_last_not_of(" \t\r\n");
        return line->substr(first, last - first + 1);
    }
    return {};
}

} // namespace vidkiln
