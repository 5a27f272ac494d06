// Windows whose own procedure writes down every message it gets, for tests
// that check what reached a window through the skin engine in front of it.
#pragma once

#include <windows.h>

#include <map>
#include <vector>

namespace testsupport {

struct TRecordedMessage {
    HWND Window;
    UINT Message;
    WPARAM WParam;
    LPARAM LParam;
};

// While one lives, the windows of recording classes write into it; a test
// holds one for its duration. Outside a recording they only answer.
class TMessageRecording {
public:
    TMessageRecording();
    ~TMessageRecording();
    TMessageRecording(const TMessageRecording&) = delete;
    TMessageRecording& operator=(const TMessageRecording&) = delete;

    // The WParams of every `message` seen, in order; of one window's when given.
    std::vector<WPARAM> WParams(UINT message, HWND window = nullptr) const;
    int Count(UINT message, HWND window = nullptr) const;
    void Clear() { Messages.clear(); }

    std::vector<TRecordedMessage> Messages;
    // Messages the recording windows answer themselves, with these results,
    // so a test can tell the answer came back from the window's own procedure.
    std::map<UINT, LRESULT> Answers;

private:
    TMessageRecording* FPrevious;
};

// Registers a window class (arrow cursor, white background unless said)
// whose procedure records and then answers the message from the recording's
// Answers or leaves it to DefWindowProc.
void RegisterRecordingClass(const wchar_t* className,
                            HBRUSH background = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));

} // namespace testsupport
