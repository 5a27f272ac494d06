// Shared by the framework's window tests: running messages for a while and
// answering message boxes without showing them.
#pragma once

#include "framework/Forms.h"

#include <string>
#include <vector>

// Handles messages until Done() is true or the time is up; true when Done.
template <class F>
bool PumpUntil(F Done, DWORD TimeoutMs = 5000)
{
    const DWORD Start = GetTickCount();
    while (!Done()) {
        if (GetTickCount() - Start > TimeoutMs)
            return false;
        Application->ProcessMessages();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

// Logical height of the font a window was given (WM_SETFONT); 0 for none.
inline int WindowFontHeight(HWND Window)
{
    const auto Font = reinterpret_cast<HFONT>(SendMessageW(Window, WM_GETFONT, 0, 0));
    LOGFONTW Log{};
    if (!Font || !GetObjectW(Font, sizeof Log, &Log))
        return 0;
    return Log.lfHeight;
}

// Replaces the application's message box for the life of the object and
// records every box asked for.
class TMessageBoxRecorder {
public:
    struct TBox {
        std::wstring Text;
        std::wstring Caption;
        UINT Flags;
    };
    explicit TMessageBoxRecorder(int Answer = IDOK)
    {
        FPrevious = Application->SetMessageBoxFunc(
            [this, Answer](HWND, const std::wstring& Text, const std::wstring& Caption, UINT Flags) {
                Boxes.push_back({Text, Caption, Flags});
                return Answer;
            });
    }
    ~TMessageBoxRecorder() { Application->SetMessageBoxFunc(FPrevious); }
    TMessageBoxRecorder(const TMessageBoxRecorder&) = delete;
    TMessageBoxRecorder& operator=(const TMessageBoxRecorder&) = delete;

    std::vector<TBox> Boxes;

private:
    TMessageBoxFunc FPrevious;
};
