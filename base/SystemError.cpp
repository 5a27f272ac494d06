#include "SystemError.h"

std::wstring SystemErrorMessage(DWORD Error)
{
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, Error,
        0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    if (length == 0)
        return L"System error " + std::to_wstring(Error);
    std::wstring message(text, length);
    LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' '))
        message.pop_back();
    return message;
}
