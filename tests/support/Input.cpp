#include "support/Input.h"

namespace testsupport {

namespace {

LONG Absolute(LONG value, int metric)
{
    const int extent = GetSystemMetrics(metric);
    return static_cast<LONG>((value * 65535 + extent / 2) / (extent - 1));
}

void Send(INPUT* inputs, UINT count, TDispatch dispatch)
{
    SendInput(count, inputs, sizeof(INPUT));
    EXPECT_TRUE(WaitInputTaken(dispatch));
}

} // namespace

INPUT MouseInput(POINT screen, DWORD flags, int wheel)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = Absolute(screen.x, SM_CXSCREEN);
    input.mi.dy = Absolute(screen.y, SM_CYSCREEN);
    input.mi.mouseData = static_cast<DWORD>(wheel);
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return input;
}

::testing::AssertionResult WaitInputTaken(TDispatch dispatch)
{
    // Idle, the queue holds neither the input nor what it set off (posted
    // messages, paints, the frame's replies).
    return WaitUntil(QueueIdle, "the input sent to be taken and handled", kDeadlineMs, dispatch);
}

void SendMouse(POINT screen, DWORD flags, TDispatch dispatch)
{
    INPUT input = MouseInput(screen, flags);
    Send(&input, 1, dispatch);
}

void Click(POINT screen, TDispatch dispatch)
{
    SendMouse(screen, 0, dispatch);
    INPUT inputs[2] = {MouseInput(screen, MOUSEEVENTF_LEFTDOWN), MouseInput(screen, MOUSEEVENTF_LEFTUP)};
    Send(inputs, 2, dispatch);
}

void Key(WORD key, TDispatch dispatch)
{
    INPUT inputs[2]{};
    for (INPUT& input : inputs) {
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
    }
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    Send(inputs, 2, dispatch);
}

void PostNonClient(HWND window, UINT message, WPARAM hit, POINT screen, TDispatch dispatch)
{
    PostMessageW(window, message, hit, MAKELPARAM(screen.x, screen.y));
    EXPECT_TRUE(WaitUntil([] { return (HIWORD(GetQueueStatus(QS_POSTMESSAGE)) & QS_POSTMESSAGE) == 0; },
                          "the posted non-client message to be handled", kDeadlineMs, dispatch));
}

bool ThreadHasCapture(DWORD thread)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    return GetGUIThreadInfo(thread, &info) && info.hwndCapture;
}

} // namespace testsupport
