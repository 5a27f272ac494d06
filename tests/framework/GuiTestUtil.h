// Shared by the framework's window tests: waits that hand messages on
// through the application, and answering message boxes without showing them.
#pragma once

#include "framework/Forms.h"
#include "support/FormsDispatch.h"
#include "support/ReadBack.h"
#include "support/Wait.h"

#include <functional>
#include <string>
#include <vector>

// Waits as the program's own loop runs, through the application.
inline ::testing::AssertionResult WaitUntil(const std::function<bool()>& Done, const char* What)
{
    return testsupport::WaitUntil(Done, What, testsupport::kDeadlineMs, testsupport::DispatchThroughApplication);
}

// The same as a plain true or false, for callers that report their own failure.
inline bool PumpUntil(const std::function<bool()>& Done, DWORD TimeoutMs = testsupport::kDeadlineMs)
{
    return testsupport::PumpUntil(Done, TimeoutMs, testsupport::DispatchThroughApplication);
}

// A pixel of a control's client area as it is on the display.
inline COLORREF ClientPixel(TWinControl& Control, int X, int Y)
{
    return testsupport::ReadBack(Control.Handle(), testsupport::TArea::Client).At(X, Y);
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
