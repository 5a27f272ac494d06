// Windows command lines as lists of arguments: the one quoting function every
// command line this tool builds goes through, and the splitting rules that
// the C runtime and CommandLineToArgvW apply on the receiving side (Wine
// applies the same ones when it starts a Linux program). Portable.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vidkiln::tools {

// Quotes one argument so that SplitCommandLine gives it back unchanged:
// blanks and tabs are grouped in double quotes, double quotes are escaped,
// and backslashes are doubled only where they precede a double quote.
std::wstring QuoteArgument(std::wstring_view argument);

// Joins arguments with single blanks, each through QuoteArgument.
std::wstring JoinCommandLine(const std::vector<std::wstring>& arguments);

// Splits a whole command line, program name first. The program name ends at
// the first blank outside double quotes and takes no backslash escapes; the
// other arguments follow the runtime's rules (2n backslashes before a quote
// give n and toggle quoting, 2n+1 give n and a literal quote, "" inside
// quotes gives a literal quote).
std::vector<std::wstring> SplitCommandLine(std::wstring_view commandLine);

}  // namespace vidkiln::tools
