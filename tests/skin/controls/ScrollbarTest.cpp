// Skinned scroll bars under Wine: overlays over the native bars of list
// boxes, memos, scroll boxes and list views, followed through scrolling,
// resizing, filling and emptying; presses handed back to the native bar.
#include "ControlFixture.h"

#include "framework/ComCtrls.h"
#include "skin/controls/SkinScrollbar.h"

#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>

using namespace controltest;

namespace {

// One step of a gesture: the cursor to a screen point, with button flags,
// then a pause.
struct TStep {
    POINT Screen;
    DWORD Buttons;
    DWORD PauseMs;
};

// Mouse input sent from another thread while this one keeps dispatching:
// a press handed to the system's scroll-bar tracking runs a loop of its own
// inside the dispatch, which only the button's release ends.
inline void Gesture(const std::vector<TStep>& steps)
{
    std::atomic<bool> done{false};
    std::thread sender([&] {
        for (const TStep& step : steps) {
            INPUT input{};
            input.type = INPUT_MOUSE;
            input.mi.dx = static_cast<LONG>((step.Screen.x * 65535 + GetSystemMetrics(SM_CXSCREEN) / 2)
                                            / (GetSystemMetrics(SM_CXSCREEN) - 1));
            input.mi.dy = static_cast<LONG>((step.Screen.y * 65535 + GetSystemMetrics(SM_CYSCREEN) / 2)
                                            / (GetSystemMetrics(SM_CYSCREEN) - 1));
            input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | step.Buttons;
            SendInput(1, &input, sizeof(INPUT));
            Sleep(step.PauseMs);
        }
        done = true;
    });
    while (!done)
        Pump(10);
    sender.join();
    Pump(40);
}

class SkinnedScrollbars : public SkinnedForm {
protected:
    TSkinScrollbar* SkinOf(TWinControl* control)
    {
        return dynamic_cast<TSkinScrollbar*>(Frame->Dispatch().Controls().FindByWindow(control->Handle()));
    }
};

TEST_F(SkinnedScrollbars, Probe)
{
    auto* list = Place<TListBox>(Form.get(), Form.get(), L"", 10, 10, 150, 120);
    for (int i = 0; i < 50; ++i)
        list->Items().Add(L"Item " + std::to_wstring(i));
    SkinForm();
    TSkinScrollbar* skin = SkinOf(list);
    ASSERT_NE(skin, nullptr);
    TWScrollbar* v = skin->Vertical();
    SCROLLBARINFO info{};
    info.cbSize = sizeof info;
    GetScrollBarInfo(list->Handle(), OBJID_VSCROLL, &info);
    RECT overlay{};
    GetWindowRect(v->Handle(), &overlay);
    std::printf("native %ld %ld %ld %ld thumb %d %d btn %d state %lx\n", info.rcScrollBar.left, info.rcScrollBar.top,
                info.rcScrollBar.right, info.rcScrollBar.bottom, info.xyThumbTop, info.xyThumbBottom,
                info.dxyLineButton, info.rgstate[0]);
    std::printf("overlay %ld %ld %ld %ld shown %d visible %d\n", overlay.left, overlay.top, overlay.right,
                overlay.bottom, v->Shown(), IsWindowVisible(v->Handle()));
    // Click the down arrow through the overlay.
    RECT w{};
    GetWindowRect(list->Handle(), &w);
    const int x = (info.rcScrollBar.left + info.rcScrollBar.right) / 2 - w.left;
    const int y = info.rcScrollBar.bottom - 3 - w.top;
    const POINT at{x + w.left, y + w.top};
    Gesture({{at, 0, 30}, {at, MOUSEEVENTF_LEFTDOWN, 30}, {at, MOUSEEVENTF_LEFTUP, 30}});
    std::printf("top index after click %d\n", static_cast<int>(SendMessageW(list->Handle(), LB_GETTOPINDEX, 0, 0)));
    GetScrollBarInfo(list->Handle(), OBJID_VSCROLL, &info);
    std::printf("native thumb %d %d\n", info.xyThumbTop, info.xyThumbBottom);
    const auto* skinData = Skin.get();
    std::printf("Scrollbar %dx%d HS %p VS %p VT fc %d\n", skinData->Scrollbar()->Bitmap->Width(),
                skinData->Scrollbar()->Bitmap->Height(), (void*)skinData->HorzScroll(), (void*)skinData->VertScroll(),
                skinData->VertScrollThumb() ? skinData->VertScrollThumb()->FrameCount : -1);
}

} // namespace
