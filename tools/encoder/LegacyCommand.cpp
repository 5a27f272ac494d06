#include "tools/encoder/LegacyCommand.h"

#include <functional>
#include <map>

namespace vidkiln::tools {

namespace {

std::string Narrow(const std::wstring& text)
{
    std::string ascii;
    for (wchar_t c : text)
        ascii += (c >= 0x20 && c < 0x7F) ? static_cast<char>(c) : '?';
    return ascii;
}

[[noreturn]] void Refuse(const std::string& why, const std::wstring& word)
{
    throw ECommandLine(why + ": \"" + Narrow(word) + "\"");
}

bool IsDigits(std::wstring_view text)
{
    if (text.empty())
        return false;
    for (wchar_t c : text)
        if (c < L'0' || c > L'9')
            return false;
    return true;
}

// A plain decimal number: digits with at most one point, and one digit at least.
bool IsDecimal(std::wstring_view text)
{
    const size_t point = text.find(L'.');
    if (point == std::wstring_view::npos)
        return IsDigits(text);
    const std::wstring_view whole = text.substr(0, point);
    const std::wstring_view fraction = text.substr(point + 1);
    return (whole.empty() || IsDigits(whole)) && (fraction.empty() || IsDigits(fraction)) &&
           !(whole.empty() && fraction.empty());
}

bool IsPositiveDecimal(std::wstring_view text)
{
    if (!IsDecimal(text))
        return false;
    for (wchar_t c : text)
        if (c >= L'1' && c <= L'9')
            return true;
    return false;
}

// Strips one trailing k or K from a rate.
std::wstring WithoutKilo(const std::wstring& value)
{
    if (!value.empty() && (value.back() == L'k' || value.back() == L'K'))
        return value.substr(0, value.size() - 1);
    return value;
}

bool IsSize(const std::wstring& value)
{
    const size_t x = value.find(L'x');
    if (x == std::wstring::npos)
        return false;
    const std::wstring width = value.substr(0, x);
    const std::wstring height = value.substr(x + 1);
    return IsDigits(width) && IsDigits(height) && width.size() <= 5 && height.size() <= 5 &&
           IsPositiveDecimal(width) && IsPositiveDecimal(height);
}

bool IsAspect(const std::wstring& value)
{
    const size_t colon = value.find(L':');
    if (colon == std::wstring::npos)
        return IsPositiveDecimal(value);
    return IsPositiveDecimal(value.substr(0, colon)) && IsPositiveDecimal(value.substr(colon + 1));
}

void Require(bool condition, const std::string& why, const std::wstring& word)
{
    if (!condition)
        Refuse(why, word);
}

using TOptionHandler = std::function<void(TEncodeRequest&, const std::wstring&)>;

const std::map<std::wstring, TOptionHandler>& EncoderOptions()
{
    static const std::map<std::wstring, TOptionHandler> options = {
        {L"-i", [](TEncodeRequest& r, const std::wstring& v) { r.Input = v; }},
        {L"-f",
         [](TEncodeRequest&, const std::wstring& v) {
             Require(v == L"mp4", "only the mp4 container is produced", v);
         }},
        {L"-b",
         [](TEncodeRequest& r, const std::wstring& v) {
             r.VideoKbps = WithoutKilo(v);
             Require(IsDigits(r.VideoKbps) && IsPositiveDecimal(r.VideoKbps),
                     "video bit rate must be a whole number of kbit/s", v);
         }},
        {L"-r",
         [](TEncodeRequest& r, const std::wstring& v) {
             Require(IsPositiveDecimal(v), "frame rate must be a positive decimal number", v);
             r.FrameRate = v;
         }},
        {L"-s",
         [](TEncodeRequest& r, const std::wstring& v) {
             Require(IsSize(v), "picture size must be WIDTHxHEIGHT", v);
             r.Size = v;
         }},
        {L"-aspect",
         [](TEncodeRequest& r, const std::wstring& v) {
             Require(IsAspect(v), "aspect ratio must be W:H or a decimal number", v);
             r.Aspect = v;
         }},
        {L"-ab",
         [](TEncodeRequest& r, const std::wstring& v) {
             r.AudioKbps = WithoutKilo(v);
             Require(IsPositiveDecimal(r.AudioKbps), "audio bit rate must be a decimal number of kbit/s",
                     v);
         }},
        {L"-vcodec",
         [](TEncodeRequest&, const std::wstring& v) {
             Require(v == L"mpeg4", "only MPEG-4 video is produced", v);
         }},
        {L"-acodec",
         [](TEncodeRequest&, const std::wstring& v) {
             Require(v == L"libfaac" || v == L"aac", "only AAC audio is produced", v);
         }},
    };
    return options;
}

}  // namespace

TEncodeRequest ParseEncoderArguments(const std::vector<std::wstring>& arguments)
{
    TEncodeRequest request;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::wstring& word = arguments[i];
        if (word == L"-y")
            continue;
        const auto option = EncoderOptions().find(word);
        if (option != EncoderOptions().end()) {
            if (i + 1 >= arguments.size())
                Refuse("option without its value", word);
            option->second(request, arguments[++i]);
            continue;
        }
        if (word.size() > 1 && word[0] == L'-')
            Refuse("unknown option", word);
        if (!request.Output.empty())
            Refuse("more than one output file", word);
        Require(!word.empty(), "empty output file name", word);
        request.Output = word;
    }
    if (request.Input.empty())
        throw ECommandLine("no input file (-i)");
    if (request.Output.empty())
        throw ECommandLine("no output file");
    if (request.VideoKbps.empty())
        throw ECommandLine("no video bit rate (-b)");
    if (request.AudioKbps.empty())
        request.AudioKbps = L"12.2";
    return request;
}

std::vector<std::wstring> EncoderEngineArguments(const TEncodeRequest& request,
                                                 const TEngineTarget& target)
{
    // "file:" keeps a path from ever being read as another protocol. No
    // -stats_period: FFmpeg 4 engines refuse it, and its default, two
    // reports a second, is fine for a progress bar.
    std::vector<std::wstring> arguments = {
        L"-nostdin", L"-hide_banner", L"-nostats", L"-loglevel", L"error",
        L"-progress", target.ProgressUrl,
        L"-i", L"file:" + target.Input, L"-y", L"-f", L"mp4",
        L"-b:v", request.VideoKbps + L"k"};
    // The fps filter, not -r: FFmpeg 5.1's -r repeats the last picture past
    // the end of the source (a 3 s clip at 5 fps came out 3.4 s long).
    if (request.FrameRate)
        arguments.insert(arguments.end(), {L"-vf", L"fps=" + *request.FrameRate});
    if (request.Size)
        arguments.insert(arguments.end(), {L"-s", *request.Size});
    if (request.Aspect)
        arguments.insert(arguments.end(), {L"-aspect", *request.Aspect});
    // The fast AAC coder, FFmpeg 4's default: FFmpeg 5 made the two-loop
    // search the default, which spends three times the processor on sound
    // and at the program's low rates overshoots them (a 12.2k request came
    // out at 14.6k; fast gives 12.7k).
    arguments.insert(arguments.end(), {L"-b:a", request.AudioKbps + L"k", L"-c:v", L"mpeg4",
                                       L"-c:a", L"aac", L"-aac_coder", L"fast",
                                       L"file:" + target.Output});
    return arguments;
}

std::wstring ParseProbeArguments(const std::vector<std::wstring>& arguments)
{
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::wstring& word = arguments[i];
        if (word == L"-msglevel" || word == L"-vo" || word == L"-ao") {
            ++i;
            continue;
        }
        if (word.size() > 1 && word[0] == L'-')
            Refuse("unknown option", word);
        Require(!word.empty(), "empty file name", word);
        return word;
    }
    throw ECommandLine("no file to probe");
}

std::vector<std::wstring> ProbeEngineArguments(const std::wstring& file)
{
    return {L"-v", L"error", L"-show_entries", L"format=duration", L"-of", L"default=nw=1",
            L"file:" + file};
}

}  // namespace vidkiln::tools
