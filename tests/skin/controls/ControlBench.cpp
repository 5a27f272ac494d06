// Cost of a form of 50 skinned push buttons: a full repaint of the form and
// all its buttons (invalidated, erased, updated at once) against the same
// form with the same buttons unskinned, in the same run, under the default
// skin; one button's hover repaint against the plain button's; and a
// progress bar's position update, painted, against the plain bar's.
// Scroll bars: a 10 000-row owner-data list view scrolled by 1000 wheel
// steps (each painted at once) skinned against unskinned, and the repaint of
// one overlay. A status bar's text update skinned against the plain one.
#include "framework/ComCtrls.h"
#include "skin/controls/ControlFixture.h"
#include "skin/data/BenchTiming.h"

#include "skin/controls/SkinScrollbar.h"

#include <cstdio>
#include <string>

using namespace controltest;

namespace {

using benchtiming::Measure;

std::unique_ptr<TForm> MakeForm(std::vector<TButton*>& buttons)
{
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(20, 20, 560, 330);
    for (int i = 0; i < 50; ++i)
        buttons.push_back(Place<TButton>(form.get(), form.get(), L"Button", 10 + (i % 5) * 105, 10 + (i / 5) * 30,
                                         95, 25));
    form->Show();
    return form;
}

void FullRepaint(TForm& form)
{
    RedrawWindow(form.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void Hover(HWND button)
{
    SendMessageW(button, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    SendMessageW(button, WM_MOUSELEAVE, 0, 0);
}

struct TRows {
    void Data(TObject*, TListItem* item) { item->Caption = L"Row " + std::to_wstring(item->Index()); }
};

std::unique_ptr<TForm> MakeListForm(TRows& rows, TListView*& view, int left)
{
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(left, 380, 400, 330);
    view = Place<TListView>(form.get(), form.get(), L"", 10, 10, 360, 260);
    view->SetViewStyle(vsReport);
    view->SetOwnerData(true);
    view->OnData = TLVOwnerDataEvent::Bind<&TRows::Data>(&rows);
    TListColumn& column = view->Columns().Add();
    column.SetCaption(L"Name");
    column.SetWidth(500);
    view->Items().SetCount(10000);
    form->Show();
    return form;
}

void Drain()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// Seconds for 1000 wheel steps, down and back up, each painted before the next.
double WheelThousand(TListView& view)
{
    HWND window = view.Handle();
    RECT rect{};
    GetWindowRect(window, &rect);
    const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    const double start = benchtiming::Now();
    for (int i = 0; i < 1000; ++i) {
        SendMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, i < 500 ? -WHEEL_DELTA : WHEEL_DELTA), at);
        UpdateWindow(window);
        Drain();
    }
    GdiFlush();
    return benchtiming::Now() - start;
}

void ScrollBenchmarks(const TSkinData& skin)
{
    TRows rows;
    TListView* plainView = nullptr;
    TListView* skinnedView = nullptr;
    auto plain = MakeListForm(rows, plainView, 20);
    auto skinned = MakeListForm(rows, skinnedView, 440);
    TWinSkinForm frame(skinned->Handle(), L"TForm", const_cast<TSkinData*>(&skin));
    frame.AttachToForm(skinned.get());
    SendMessageW(skinned->Handle(), WM_SKININIT, 0, 1000);
    Flush();
    auto* object = dynamic_cast<TSkinScrollbar*>(frame.Dispatch().Controls().FindByWindow(skinnedView->Handle()));
    std::printf("list view skinned: %s\n", object && object->Vertical()->Shown() ? "yes, overlay shown" : "NO");
    std::vector<double> plainTimes;
    std::vector<double> skinnedTimes;
    for (int round = 0; round < 3; ++round) {
        plainTimes.push_back(WheelThousand(*plainView));
        skinnedTimes.push_back(WheelThousand(*skinnedView));
    }
    std::sort(plainTimes.begin(), plainTimes.end());
    std::sort(skinnedTimes.begin(), skinnedTimes.end());
    std::printf("1000 wheel steps of a 10 000-row owner-data list view: skinned %.0f ms, plain %.0f ms, "
                "ratio %.2f (budget 1.5)\n",
                skinnedTimes[1] * 1e3, plainTimes[1] * 1e3, skinnedTimes[1] / plainTimes[1]);
    if (!object)
        return;
    HWND overlay = object->Vertical()->Handle();
    const double overlayPaint = Measure([&] {
        InvalidateRect(overlay, nullptr, FALSE);
        UpdateWindow(overlay);
    }, 50);
    const double nativeFrame = Measure([&] {
        RedrawWindow(plainView->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    }, 50);
    std::printf("repaint of one overlay: %.0f us; the plain list view's frame with its bar: %.0f us\n", overlayPaint,
                nativeFrame);
}

// A status text as the converter sets it for every file: a new text in a
// panel, painted at once, skinned against the plain bar.
void StatusBenchmark(TForm& plain, TForm& skinned, TWinSkinForm& frame)
{
    TStatusBar* bars[2] = {};
    TForm* forms[2] = {&plain, &skinned};
    for (int i = 0; i < 2; ++i) {
        bars[i] = Place<TStatusBar>(forms[i], forms[i], L"", 0, 0, 400, 20);
        bars[i]->SetPanels({{L"", 200}, {L"", 200}});
    }
    frame.Refresh();
    Flush();
    std::printf("skinned status bars: %d of 1\n", frame.Dispatch().Controls().FindByControl(bars[1]) != nullptr ? 1 : 0);
    int step = 0;
    const auto update = [&step](TStatusBar* bar) {
        bar->SetPanelText(0, L"第 " + std::to_wstring(++step) + L" 个文件");
        UpdateWindow(bar->Handle());
    };
    const double plainUpdate = Measure([&] { update(bars[0]); }, 100);
    const double skinnedUpdate = Measure([&] { update(bars[1]); }, 100);
    std::printf("status text update: skinned %.0f us, plain %.0f us, ratio %.2f (budget 2)\n", skinnedUpdate,
                plainUpdate, skinnedUpdate / plainUpdate);
}

} // namespace

int main()
{
    const std::unique_ptr<TSkinData> skin = frametest::DefaultSkin();
    std::vector<TButton*> plainButtons;
    std::vector<TButton*> skinnedButtons;
    auto plain = MakeForm(plainButtons);
    auto skinned = MakeForm(skinnedButtons);
    TWinSkinForm frame(skinned->Handle(), L"TForm", skin.get());
    frame.AttachToForm(skinned.get());
    SendMessageW(skinned->Handle(), WM_SKININIT, 0, 1000);
    Flush();
    std::printf("skinned buttons: %d of 50\n", frame.Dispatch().Controls().Count());

    const double plainFull = Measure([&] { FullRepaint(*plain); }, 10);
    const double skinnedFull = Measure([&] { FullRepaint(*skinned); }, 10);
    std::printf("full repaint of a form of 50 buttons: skinned %.0f us, plain %.0f us, ratio %.2f (budget 2)\n",
                skinnedFull, plainFull, skinnedFull / plainFull);
    const double plainHover = Measure([&] { Hover(plainButtons[7]->Handle()); }, 50);
    const double skinnedHover = Measure([&] { Hover(skinnedButtons[7]->Handle()); }, 50);
    std::printf("hover in and out of one button: skinned %.0f us, plain %.0f us, ratio %.2f\n", skinnedHover,
                plainHover, skinnedHover / plainHover);

    // A progress update as the converter makes it many times a second: a
    // new position, painted at once.
    auto* plainBar = Place<TProgressBar>(plain.get(), plain.get(), L"", 10, 300, 400, 18);
    auto* skinnedBar = Place<TProgressBar>(skinned.get(), skinned.get(), L"", 10, 300, 400, 18);
    frame.Refresh();
    Flush();
    std::printf("skinned progress bars: %d of 1\n",
                frame.Dispatch().Controls().FindByControl(skinnedBar) != nullptr ? 1 : 0);
    int step = 0;
    const auto update = [&step](TProgressBar* bar) {
        bar->SetPosition(++step % 101);
        UpdateWindow(bar->Handle());
    };
    const double plainUpdate = Measure([&] { update(plainBar); }, 100);
    const double skinnedUpdate = Measure([&] { update(skinnedBar); }, 100);
    std::printf("progress update: skinned %.0f us, plain %.0f us, ratio %.2f (budget 2)\n", skinnedUpdate,
                plainUpdate, skinnedUpdate / plainUpdate);
    StatusBenchmark(*plain, *skinned, frame);
    plain.reset();
    ScrollBenchmarks(*skin);
    return 0;
}
