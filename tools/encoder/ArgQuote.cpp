#include "tools/encoder/ArgQuote.h"

namespace vidkiln::tools {

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

bool NeedsQuotes(std::wstring_view argument)
{
    if (argument.empty())
        return true;
    for (wchar_t c : argument)
        if (IsBlank(c) || c == L'"' || c == L'\n' || c == L'\v')
            return true;
    return false;
}

// The program name: quotes group, nothing escapes.
size_t TakeProgramName(std::wstring_view line, std::wstring& name)
{
    size_t i = 0;
    bool quoted = false;
    for (; i < line.size(); ++i) {
        const wchar_t c = line[i];
        if (c == L'"')
            quoted = !quoted;
        else if (IsBlank(c) && !quoted)
            break;
        else
            name += c;
    }
    return i;
}

}  // namespace

std::wstring QuoteArgument(std::wstring_view argument)
{
    if (!NeedsQuotes(argument))
        return std::wstring(argument);
    std::wstring quoted = L"\"";
    size_t backslashes = 0;
    for (wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        // Backslashes count double only where a quote follows them.
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, L'\\');
    quoted += L'"';
    return quoted;
}

std::wstring JoinCommandLine(const std::vector<std::wstring>& arguments)
{
    std::wstring line;
    for (const std::wstring& argument : arguments) {
        if (!line.empty())
            line += L' ';
        line += QuoteArgument(argument);
    }
    return line;
}

std::vector<std::wstring> SplitCommandLine(std::wstring_view line)
{
    std::vector<std::wstring> arguments(1);
    size_t i = TakeProgramName(line, arguments[0]);
    while (true) {
        while (i < line.size() && IsBlank(line[i]))
            ++i;
        if (i >= line.size())
            break;
        std::wstring argument;
        bool quoted = false;
        while (i < line.size() && (quoted || !IsBlank(line[i]))) {
            size_t backslashes = 0;
            while (i < line.size() && line[i] == L'\\') {
                ++backslashes;
                ++i;
            }
            if (i < line.size() && line[i] == L'"') {
                argument.append(backslashes / 2, L'\\');
                if (backslashes % 2 == 1) {
                    argument += L'"';
                } else if (quoted && i + 1 < line.size() && line[i + 1] == L'"') {
                    argument += L'"';
                    ++i;
                } else {
                    quoted = !quoted;
                }
                ++i;
            } else {
                argument.append(backslashes, L'\\');
                if (i < line.size() && (quoted || !IsBlank(line[i])))
                    argument += line[i++];
            }
        }
        arguments.push_back(std::move(argument));
    }
    return arguments;
}

}  // namespace vidkiln::tools
