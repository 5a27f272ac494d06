#include "SysUtils.h"

#include <cstdint>
#include <cwctype>

namespace {

constexpr char32_t ReplacementChar = 0xFFFD;

template <class Char>
Char AsciiLower(Char C) noexcept
{
    return (C >= 'A' && C <= 'Z') ? static_cast<Char>(C - 'A' + 'a') : C;
}

template <class View>
bool SameAscii(View A, View B) noexcept
{
    if (A.size() != B.size())
        return false;
    for (size_t I = 0; I < A.size(); ++I)
        if (AsciiLower(A[I]) != AsciiLower(B[I]))
            return false;
    return true;
}

// wchar_t holds UTF-16 on Windows and whole code points elsewhere.
constexpr bool WideIsUtf16 = sizeof(wchar_t) == 2;

void AppendUtf16(std::wstring& Out, char32_t Code)
{
    if (!WideIsUtf16 || Code < 0x10000) {
        Out.push_back(static_cast<wchar_t>(Code));
        return;
    }
    Code -= 0x10000;
    Out.push_back(static_cast<wchar_t>(0xD800 + (Code >> 10)));
    Out.push_back(static_cast<wchar_t>(0xDC00 + (Code & 0x3FF)));
}

// Decodes one sequence at Pos and advances past it; overlong forms,
// surrogates and out-of-range values count as malformed.
char32_t DecodeUtf8(std::string_view Text, size_t& Pos)
{
    const auto Lead = static_cast<unsigned char>(Text[Pos++]);
    if (Lead < 0x80)
        return Lead;
    int Extra = 0;
    char32_t Code = 0;
    char32_t Min = 0;
    if ((Lead & 0xE0) == 0xC0) {
        Extra = 1; Code = Lead & 0x1F; Min = 0x80;
    } else if ((Lead & 0xF0) == 0xE0) {
        Extra = 2; Code = Lead & 0x0F; Min = 0x800;
    } else if ((Lead & 0xF8) == 0xF0) {
        Extra = 3; Code = Lead & 0x07; Min = 0x10000;
    } else {
        return ReplacementChar;
    }
    for (int I = 0; I < Extra; ++I) {
        if (Pos >= Text.size() || (static_cast<unsigned char>(Text[Pos]) & 0xC0) != 0x80)
            return ReplacementChar;
        Code = (Code << 6) | (static_cast<unsigned char>(Text[Pos++]) & 0x3F);
    }
    if (Code < Min || Code > 0x10FFFF || (Code >= 0xD800 && Code <= 0xDFFF))
        return ReplacementChar;
    return Code;
}

char32_t DecodeUtf16(std::wstring_view Text, size_t& Pos)
{
    const auto Unit = static_cast<char32_t>(Text[Pos++]);
    if (!WideIsUtf16)
        return (Unit > 0x10FFFF || (Unit >= 0xD800 && Unit <= 0xDFFF)) ? ReplacementChar : Unit;
    if (Unit < 0xD800 || Unit > 0xDFFF)
        return Unit;
    if (Unit >= 0xDC00 || Pos >= Text.size())
        return ReplacementChar;
    const auto Low = static_cast<char32_t>(Text[Pos]);
    if (Low < 0xDC00 || Low > 0xDFFF)
        return ReplacementChar;
    ++Pos;
    return 0x10000 + ((Unit - 0xD800) << 10) + (Low - 0xDC00);
}

void AppendUtf8(std::string& Out, char32_t Code)
{
    if (Code < 0x80) {
        Out.push_back(static_cast<char>(Code));
    } else if (Code < 0x800) {
        Out.push_back(static_cast<char>(0xC0 | (Code >> 6)));
        Out.push_back(static_cast<char>(0x80 | (Code & 0x3F)));
    } else if (Code < 0x10000) {
        Out.push_back(static_cast<char>(0xE0 | (Code >> 12)));
        Out.push_back(static_cast<char>(0x80 | ((Code >> 6) & 0x3F)));
        Out.push_back(static_cast<char>(0x80 | (Code & 0x3F)));
    } else {
        Out.push_back(static_cast<char>(0xF0 | (Code >> 18)));
        Out.push_back(static_cast<char>(0x80 | ((Code >> 12) & 0x3F)));
        Out.push_back(static_cast<char>(0x80 | ((Code >> 6) & 0x3F)));
        Out.push_back(static_cast<char>(0x80 | (Code & 0x3F)));
    }
}

// One code point at a time, so both directions replace malformed input alike.
template <class Out, class View>
Out Transcode(View Text, char32_t (*Decode)(View, size_t&), void (*Append)(Out&, char32_t))
{
    Out Result;
    Result.reserve(Text.size());
    for (size_t Pos = 0; Pos < Text.size();)
        Append(Result, Decode(Text, Pos));
    return Result;
}

} // namespace

Exception::Exception(std::wstring Message)
    : FMessage(std::move(Message)), FUtf8(WideToUtf8(FMessage))
{
}

std::wstring Utf8ToWide(std::string_view Text)
{
    return Transcode<std::wstring>(Text, DecodeUtf8, AppendUtf16);
}

std::string WideToUtf8(std::wstring_view Text)
{
    return Transcode<std::string>(Text, DecodeUtf16, AppendUtf8);
}

bool SameText(std::string_view A, std::string_view B) noexcept
{
    return SameAscii(A, B);
}

bool SameText(std::wstring_view A, std::wstring_view B) noexcept
{
    return SameAscii(A, B);
}

std::wstring LowerCase(std::wstring Text)
{
    for (wchar_t& C : Text)
        C = static_cast<wchar_t>(std::towlower(C));
    return Text;
}

std::wstring CurrentExceptionMessage()
{
    if (!std::current_exception())
        return std::wstring();
    try {
        throw;
    } catch (const Exception& E) {
        return E.Message();
    } catch (const std::exception& E) {
        return Utf8ToWide(E.what());
    } catch (...) {
        return L"Unknown exception";
    }
}
