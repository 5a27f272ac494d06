#include "base/ThreadHook.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

constexpr wchar_t kTitle[] = L"hook probe";

HWND MakeWindow()
{
    return CreateWindowExW(0, L"STATIC", kTitle, WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

// The system may make windows of its own (an input method window) on the
// way; only the test's own window counts.
bool IsProbeCreation(int Code, LPARAM LParam)
{
    if (Code != HCBT_CREATEWND)
        return false;
    const CREATESTRUCTW* Create = reinterpret_cast<const CBT_CREATEWNDW*>(LParam)->lpcs;
    return Create->lpszName && !IS_INTRESOURCE(Create->lpszName) && std::wstring(Create->lpszName) == kTitle;
}

} // namespace

TEST(ThreadHook, OwnersSeeWindowCreationNewestFirstAndOneCanStopIt)
{
    std::string Order;
    bool Refuse = false;
    auto Older = std::make_unique<TThreadHook>(WH_CBT, [&](int Code, WPARAM, LPARAM LParam) -> LRESULT {
        if (IsProbeCreation(Code, LParam))
            Order += "older ";
        return 0;
    });
    TThreadHook Newer(WH_CBT, [&](int Code, WPARAM, LPARAM LParam) -> LRESULT {
        if (!IsProbeCreation(Code, LParam))
            return 0;
        Order += "newer ";
        return Refuse ? 1 : 0;
    });
    HWND Window = MakeWindow();
    ASSERT_NE(Window, nullptr);
    DestroyWindow(Window);
    EXPECT_EQ(Order, "newer older ");

    Order.clear();
    Refuse = true;
    EXPECT_EQ(MakeWindow(), nullptr);
    EXPECT_EQ(Order, "newer ");

    Order.clear();
    Refuse = false;
    Older.reset();
    Window = MakeWindow();
    DestroyWindow(Window);
    EXPECT_EQ(Order, "newer ");
}

TEST(ThreadHook, AnOwnerMayLeaveFromInsideAHandler)
{
    int Calls = 0;
    std::unique_ptr<TThreadHook> Hook;
    Hook = std::make_unique<TThreadHook>(WH_CBT, [&](int Code, WPARAM, LPARAM LParam) -> LRESULT {
        if (IsProbeCreation(Code, LParam)) {
            ++Calls;
            Hook.reset();
        }
        return 0;
    });
    DestroyWindow(MakeWindow());
    DestroyWindow(MakeWindow());
    EXPECT_EQ(Calls, 1);
}

TEST(ThreadHook, MessageFilterOwnersAnswerFilteredMessages)
{
    MSG Seen{};
    TThreadHook Hook(WH_MSGFILTER, [&](int Code, WPARAM, LPARAM LParam) -> LRESULT {
        if (Code != 77)
            return 0;
        Seen = *reinterpret_cast<const MSG*>(LParam);
        return 1;
    });
    MSG Message{};
    Message.message = WM_APP + 9;
    EXPECT_TRUE(CallMsgFilterW(&Message, 77));
    EXPECT_EQ(Seen.message, static_cast<UINT>(WM_APP + 9));
    EXPECT_FALSE(CallMsgFilterW(&Message, 78));
}

TEST(ThreadHook, RefusesOtherKinds)
{
    EXPECT_THROW(TThreadHook(WH_KEYBOARD, [](int, WPARAM, LPARAM) -> LRESULT { return 0; }), std::invalid_argument);
}
