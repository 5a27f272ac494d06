// Cost of a form of 50 skinned push buttons: a full repaint of the form and
// all its buttons (invalidated, erased, updated at once) against the same
// form with the same buttons unskinned, in the same run, under the default
// skin; one button's hover repaint against the plain button's; and a
// progress bar's position update, painted, against the plain bar's.
#include "framework/ComCtrls.h"
#include "skin/controls/ControlFixture.h"
#include "skin/data/BenchTiming.h"

#include <cstdio>

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
    Pump(100);
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
    Pump(50);
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
    return 0;
}
