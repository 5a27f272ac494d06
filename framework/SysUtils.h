// Exceptions and text helpers shared by every part of the program. Portable:
// the skin data and the runner use them in native builds too.
#pragma once

#include <exception>
#include <string>
#include <string_view>

// Base of the program's exceptions. The message is UTF-16 because it ends up
// in a message box; what() gives the same text as UTF-8 for logs and tests.
class Exception : public std::exception {
public:
    explicit Exception(std::wstring Message);
    const std::wstring& Message() const noexcept { return FMessage; }
    const char* what() const noexcept override { return FUtf8.c_str(); }

private:
    std::wstring FMessage;
    std::string FUtf8;
};

// Misuse of a component: duplicate names, a thread started twice.
class EComponentError : public Exception {
public:
    using Exception::Exception;
};

// A value outside what its destination can hold: a published property
// written with a number its type cannot represent.
class ERangeError : public Exception {
public:
    using Exception::Exception;
};

// Malformed UTF-8 becomes U+FFFD, never a truncated string.
std::wstring Utf8ToWide(std::string_view Text);
std::string WideToUtf8(std::wstring_view Text);

// Property, component and class names compare without regard to ASCII case.
bool SameText(std::string_view A, std::string_view B) noexcept;
bool SameText(std::wstring_view A, std::wstring_view B) noexcept;
std::wstring LowerCase(std::wstring Text);

// The message of whatever is in flight, for reporting at a callback boundary;
// empty when no exception is being handled.
std::wstring CurrentExceptionMessage();
