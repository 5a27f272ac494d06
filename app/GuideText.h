// The web guide read as plain text, for a web panel that has no browser
// engine to show the page itself. Portable.
#pragma once

#include <string>
#include <string_view>

namespace vidkiln {

// The readable text of an HTML page (UTF-8 in, UTF-8 out): head, style and
// script dropped, tags removed, block elements on lines of their own, list
// items led by "· ", runs of blanks folded, the common entities decoded.
// Lines end with LF; there are no blank lines at the start or end and never
// more than one in a row.
std::string PlainTextFromHtml(std::string_view html);

} // namespace vidkiln
