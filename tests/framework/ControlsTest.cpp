#include "GuiTestUtil.h"
#include "framework/Controls.h"
#include "framework/Forms.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <type_traits>
#include <vector>

namespace {

// Logs the messages it sees and passes them on through its hook.
struct TLoggingHook {
    std::vector<UINT> Seen;
    TWindowProcHook Hook;
    UINT Swallow = 0;
    // Removes its own hook when it sees this message, then passes it on.
    UINT RemoveOn = 0;

    void Chained(TMessage& Message)
    {
        Seen.push_back(Message.Msg);
        if (Message.Msg == RemoveOn)
            Hook.Remove();
        if (Message.Msg != Swallow)
            Hook.CallPrevious(Message);
    }
    void InstallChained(TControl* Control)
    {
        Hook.Install(Control, TWndMethod::Bind<&TLoggingHook::Chained>(this));
    }
};

constexpr UINT WM_PROBE = WM_APP + 7;

// Answers WM_PROBE with a fixed value, to show the message reached the end.
class TProbeForm : public TForm {
public:
    using TForm::TForm;
    int Probes = 0;

protected:
    void WndProc(TMessage& Message) override
    {
        if (Message.Msg == WM_PROBE) {
            ++Probes;
            Message.Result = 1234;
            return;
        }
        TForm::WndProc(Message);
    }
};

struct TMouseLog {
    std::vector<std::string> Events;
    void Down(TObject*, TMouseButton Button, TShiftState, int X, int Y)
    {
        Events.push_back("down " + std::to_string(Button) + " " + std::to_string(X) + "," + std::to_string(Y));
    }
    void Up(TObject*, TMouseButton, TShiftState, int X, int Y)
    {
        Events.push_back("up " + std::to_string(X) + "," + std::to_string(Y));
    }
    void Click(TObject*) { Events.push_back("click"); }
};

class TPainted : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
    int Paints = 0;

protected:
    void Paint() override
    {
        ++Paints;
        Canvas().Brush().SetColor(0x0000FF);
        RECT R{0, 0, Width(), Height()};
        Canvas().FillRect(R);
    }
};

class TThrowing : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;

protected:
    void MouseDown(TMouseButton, TShiftState, int, int) override { throw std::runtime_error("handler failed"); }
};

} // namespace

// A saved-and-replaced delegate could outlive the hook it bypassed; the
// message entry takes no assignment, so every hook is a TWindowProcHook.
static_assert(!std::is_assignable_v<TWindowProcChain&, TWndMethod>);
static_assert(!std::is_convertible_v<const TWindowProcChain&, TWndMethod>);

TEST(WindowProc, AHookSeesEveryMessageAndPassesItOn)
{
    TProbeForm Form(nullptr);
    TLoggingHook Hook;
    Hook.InstallChained(&Form);
    Form.HandleNeeded();
    EXPECT_EQ(Form.Perform(WM_PROBE), 1234);
    EXPECT_EQ(SendMessageW(Form.Handle(), WM_PROBE, 0, 0), 1234);
    Form.SetCaption(L"标题");
    Form.SetEnabled(false);
    for (UINT Msg : {UINT(WM_NCCREATE), UINT(WM_CREATE), UINT(WM_PROBE), UINT(WM_SETTEXT),
                     CM_TEXTCHANGED, CM_ENABLEDCHANGED})
        EXPECT_NE(std::find(Hook.Seen.begin(), Hook.Seen.end(), Msg), Hook.Seen.end()) << std::hex << Msg;
    EXPECT_EQ(Form.Probes, 2);
    Hook.Swallow = WM_PROBE;
    EXPECT_EQ(Form.Perform(WM_PROBE), 0);
    EXPECT_EQ(Form.Probes, 2);
}

namespace {

// Three hooks on one form, each either removed or freed (its owner dying
// while installed) in a given order; after every step one message must
// reach exactly the hooks still in place, and the form.
struct THookStep {
    int Hook;
    bool Free;
};

void CheckRemovalOrder(const std::vector<THookStep>& Steps)
{
    TProbeForm Form(nullptr);
    std::unique_ptr<TLoggingHook> Hooks[3];
    for (auto& H : Hooks) {
        H = std::make_unique<TLoggingHook>();
        H->InstallChained(&Form);
    }
    std::vector<int> Left{0, 1, 2};
    for (const THookStep& Step : Steps) {
        if (Step.Free)
            Hooks[Step.Hook].reset();
        else
            Hooks[Step.Hook]->Hook.Remove();
        std::erase(Left, Step.Hook);
        for (auto& H : Hooks)
            if (H)
                H->Seen.clear();
        const int Probes = Form.Probes;
        EXPECT_EQ(Form.Perform(WM_PROBE), 1234);
        EXPECT_EQ(Form.Probes, Probes + 1);
        for (int I = 0; I < 3; ++I) {
            const bool Live = std::find(Left.begin(), Left.end(), I) != Left.end();
            if (Hooks[I]) {
                EXPECT_EQ(Hooks[I]->Seen.size(), Live ? 1u : 0u) << "hook " << I << " after hook " << Step.Hook;
            }
        }
    }
    EXPECT_FALSE(Form.WindowProc.Hooked());
}

} // namespace

TEST(WindowProc, HooksCanBeRemovedOrFreedInAnyOrder)
{
    std::vector<int> Order{0, 1, 2};
    do {
        for (int FreeMask = 0; FreeMask < 8; ++FreeMask) {
            std::vector<THookStep> Steps;
            for (int Hook : Order)
                Steps.push_back({Hook, (FreeMask >> Hook & 1) != 0});
            SCOPED_TRACE(testing::Message() << "order " << Order[0] << Order[1] << Order[2] << " freed mask "
                                            << FreeMask);
            CheckRemovalOrder(Steps);
        }
    } while (std::next_permutation(Order.begin(), Order.end()));
}

TEST(WindowProc, AHookRemovedInsideItsHandlerStillPassesThatMessageOn)
{
    TProbeForm Form(nullptr);
    TLoggingHook Lower, Middle, Upper;
    Lower.InstallChained(&Form);
    Middle.InstallChained(&Form);
    Upper.InstallChained(&Form);
    Middle.RemoveOn = WM_PROBE;
    EXPECT_EQ(Form.Perform(WM_PROBE), 1234);
    EXPECT_EQ(Lower.Seen.size(), 1u);
    EXPECT_FALSE(Middle.Hook.Installed());
    Middle.Seen.clear();
    EXPECT_EQ(Form.Perform(WM_PROBE), 1234);
    EXPECT_TRUE(Middle.Seen.empty());
    EXPECT_EQ(Lower.Seen.size(), 2u);
    EXPECT_EQ(Upper.Seen.size(), 2u);
    EXPECT_EQ(Form.Probes, 2);
}

TEST(WindowProc, HookOutlivingItsControlRemovesNothing)
{
    TLoggingHook Hook;
    {
        TForm Form(nullptr);
        Hook.InstallChained(&Form);
    }
    EXPECT_FALSE(Hook.Hook.Installed());
    TMessage Message{WM_PROBE, 0, 0, 0};
    Hook.Hook.CallPrevious(Message);
    Hook.Hook.Remove();
}

TEST(Controls, ControlBehindAWindowIsFoundByItsHandle)
{
    TForm Form(nullptr);
    auto* Panel = new TCustomControl(&Form);
    Panel->SetParent(&Form);
    Panel->SetBounds(5, 5, 50, 50);
    EXPECT_FALSE(Form.HandleAllocated());
    const HWND Window = Form.Handle();
    EXPECT_TRUE(Panel->HandleAllocated());
    EXPECT_EQ(FindControl(Window), &Form);
    EXPECT_EQ(FindControl(Panel->Handle()), Panel);
    EXPECT_EQ(GetPropW(Window, reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(ControlAtom()))), &Form);
    wchar_t Name[64];
    ASSERT_GT(GlobalGetAtomNameW(ControlAtom(), Name, 64), 0u);
    wchar_t Expected[64];
    swprintf(Expected, 64, L"ControlOfs%.8X%.8X",
             static_cast<unsigned>(reinterpret_cast<uintptr_t>(GetModuleHandleW(nullptr))),
             static_cast<unsigned>(GetCurrentThreadId()));
    EXPECT_STREQ(Name, Expected);
    wchar_t ClassName[64];
    GetClassNameW(Panel->Handle(), ClassName, 64);
    EXPECT_STREQ(ClassName, L"TCustomControl");
    delete Panel;
    EXPECT_EQ(FindControl(Window), &Form);
    EXPECT_EQ(Form.ControlCount(), 0);
}

TEST(Controls, ChildAskingFirstForItsWindowGetsOnlyOne)
{
    TForm Form(nullptr);
    auto* Panel = new TCustomControl(&Form);
    Panel->SetParent(&Form);
    const HWND Window = Panel->Handle();
    int Children = 0;
    EnumChildWindows(
        Form.Handle(),
        [](HWND, LPARAM Count) {
            ++*reinterpret_cast<int*>(Count);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&Children));
    EXPECT_EQ(Children, 1);
    EXPECT_EQ(GetParent(Window), Form.Handle());
    EXPECT_EQ(FindControl(Window), Panel);
}

TEST(Controls, TabOrderListIsNestedInTabOrder)
{
    TForm Form(nullptr);
    auto Make = [&](TWinControl* Parent) {
        auto* C = new TCustomControl(&Form);
        C->SetParent(Parent);
        return C;
    };
    auto* A = Make(&Form);
    auto* B = Make(&Form);
    auto* B1 = Make(B);
    auto* B2 = Make(B);
    auto* C = Make(&Form);
    C->SetTabOrder(0);
    B2->SetTabOrder(0);
    EXPECT_EQ(Form.GetTabOrderList(), (std::vector<TWinControl*>{C, A, B, B2, B1}));
    EXPECT_EQ(A->TabOrder(), 1);
}

TEST(Controls, PropertiesOfRealControlsReadByName)
{
    TForm Form(nullptr);
    Form.SetCaption(L"Vidkiln");
    Form.Font()->SetName(L"宋体");
    Form.Font()->SetHeight(-12);
    Form.Tag = 99;
    EXPECT_EQ(GetStrProp(&Form, "caption"), L"Vidkiln");
    EXPECT_EQ(GetOrdProp(&Form, "Tag"), 99);
    EXPECT_EQ(GetEnumProp(&Form, "Visible"), "False");
    EXPECT_EQ(GetEnumProp(&Form, "BorderStyle"), "bsSizeable");
    EXPECT_EQ(GetEnumProp(&Form, "AutoScroll"), "False");
    TObject* Font = GetObjectProp(&Form, "Font", &TFont::StaticClass());
    ASSERT_NE(Font, nullptr);
    EXPECT_EQ(GetStrProp(Font, "Name"), L"宋体");
    EXPECT_TRUE(SetPropValue(&Form, "AutoScroll", L"False"));
    EXPECT_TRUE(SetPropValue(&Form, "Color", L"7039593"));
    EXPECT_EQ(Form.Color(), 7039593);
    EXPECT_EQ(GetObjectProp(&Form, "Glyph"), nullptr);
    EXPECT_TRUE(Form.InheritsFrom("TCustomForm"));
    EXPECT_TRUE(Form.Is<TWinControl>());
    EXPECT_FALSE(Form.Is<TGraphicControl>());
}

TEST(Controls, ChildrenTakeTheParentsFontUntilGivenTheirOwn)
{
    TForm Form(nullptr);
    auto* Child = new TCustomControl(&Form);
    Child->SetParent(&Form);
    Form.Font()->SetName(L"宋体");
    EXPECT_EQ(Child->Font()->Name(), L"宋体");
    EXPECT_TRUE(Child->ParentFont());
    Child->Font()->SetHeight(-20);
    EXPECT_FALSE(Child->ParentFont());
    Form.Font()->SetName(L"Arial");
    EXPECT_EQ(Child->Font()->Name(), L"宋体");
}

TEST(Controls, TextLivesInTheWindowOnceThereIsOne)
{
    TForm Form(nullptr);
    Form.SetText(L"before");
    Form.HandleNeeded();
    wchar_t Buffer[32];
    GetWindowTextW(Form.Handle(), Buffer, 32);
    EXPECT_STREQ(Buffer, L"before");
    SetWindowTextW(Form.Handle(), L"after");
    EXPECT_EQ(Form.Caption(), L"after");
    Form.RecreateWnd();
    EXPECT_EQ(Form.Caption(), L"after");
}

TEST(Controls, MouseGoesToTheWindowlessChildUnderIt)
{
    TForm Form(nullptr);
    Form.SetBounds(0, 0, 300, 200);
    auto* Child = new TPainted(&Form);
    Child->SetParent(&Form);
    Child->SetBounds(20, 30, 40, 40);
    TMouseLog Log, FormLog;
    Child->OnMouseDown = TMouseEvent::Bind<&TMouseLog::Down>(&Log);
    Child->OnMouseUp = TMouseEvent::Bind<&TMouseLog::Up>(&Log);
    Child->OnClick = TNotifyEvent::Bind<&TMouseLog::Click>(&Log);
    Form.OnMouseDown = TMouseEvent::Bind<&TMouseLog::Down>(&FormLog);
    const HWND Window = Form.Handle();
    SendMessageW(Window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(25, 35));
    SendMessageW(Window, WM_LBUTTONUP, 0, MAKELPARAM(26, 36));
    SendMessageW(Window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(25, 35));
    SendMessageW(Window, WM_LBUTTONUP, 0, MAKELPARAM(200, 150));
    SendMessageW(Window, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(Log.Events, (std::vector<std::string>{"down 0 5,5", "up 6,6", "click", "down 0 5,5", "up 180,120"}));
    EXPECT_EQ(FormLog.Events, (std::vector<std::string>{"down 1 5,5"}));
}

// A click handler may run long or open a dialog; the mouse must already be
// free for every other window by then.
struct TCaptureProbe {
    HWND AtDown = nullptr;
    HWND AtClick = reinterpret_cast<HWND>(1);
    void Down(TObject*, TMouseButton, TShiftState, int, int) { AtDown = GetCapture(); }
    void Click(TObject*) { AtClick = GetCapture(); }
};

TEST(Controls, ClickHandlerRunsWithoutTheMouseCaptured)
{
    TCaptureProbe Probe;
    TForm Form(nullptr);
    Form.SetBounds(0, 0, 300, 200);
    auto* Child = new TPainted(&Form);
    Child->SetParent(&Form);
    Child->SetBounds(20, 30, 40, 40);
    Child->OnMouseDown = TMouseEvent::Bind<&TCaptureProbe::Down>(&Probe);
    Child->OnClick = TNotifyEvent::Bind<&TCaptureProbe::Click>(&Probe);
    Form.Show();
    const HWND Window = Form.Handle();
    SendMessageW(Window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(25, 35));
    SendMessageW(Window, WM_LBUTTONUP, 0, MAKELPARAM(26, 36));
    EXPECT_EQ(Probe.AtDown, Window) << "the press captures the mouse for the release";
    EXPECT_EQ(Probe.AtClick, nullptr);
}

namespace {
// A borderless green form, plain or double-buffered, with a red windowless
// child.
struct TGreenForm {
    TGreenForm(bool DoubleBuffered, RECT RedBounds)
    {
        Form.SetBorderStyle(bsNone);
        Form.SetBounds(0, 0, 120, 80);
        Form.SetColor(0x00FF00);
        Form.SetDoubleBuffered(DoubleBuffered);
        Red = new TPainted(&Form);
        Red->SetParent(&Form);
        Red->SetBoundsRect(RedBounds);
    }
    TForm Form{nullptr};
    TPainted* Red;
};
} // namespace

TEST(Controls, WindowlessChildIsPaintedByItsParent)
{
    for (const bool DoubleBuffered : {false, true}) {
        TGreenForm Green(DoubleBuffered, {10, 10, 40, 30});
        TForm& Form = Green.Form;
        TPainted* Child = Green.Red;
        Form.Show();
        ASSERT_TRUE(WaitUntil([&] { return Child->Paints > 0; }, "the child's first paint"));
        Form.Update();
        const testsupport::TPixels Shot = testsupport::ReadBack(Form.Handle(), testsupport::TArea::Client);
        EXPECT_EQ(Shot.At(15, 15), RGB(255, 0, 0)) << DoubleBuffered;
        EXPECT_EQ(Shot.At(5, 5), RGB(0, 255, 0)) << DoubleBuffered;
        EXPECT_EQ(Shot.At(45, 15), RGB(0, 255, 0)) << DoubleBuffered;
    }
}

TEST(Controls, AParentPaintsItsBackgroundIntoADCFromOutside)
{
    // What a see-through child does: it asks its parent to paint what lies
    // under the child into the child's own surface, here a memory bitmap.
    for (const bool DoubleBuffered : {false, true}) {
        SCOPED_TRACE(DoubleBuffered ? "double-buffered parent" : "plain parent");
        TGreenForm Green(DoubleBuffered, {30, 20, 40, 30});
        TForm& Form = Green.Form;
        auto* Child = new TCustomControl(&Form);
        Child->SetParent(&Form);
        Child->SetBounds(20, 10, 60, 40);
        Form.HandleNeeded();

        const gdi::MemoryDC Memory;
        BITMAPINFO Info{};
        Info.bmiHeader = {sizeof(BITMAPINFOHEADER), 60, -40, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* Bits = nullptr;
        const gdi::Bitmap Surface(CreateDIBSection(Memory.Get(), &Info, DIB_RGB_COLORS, &Bits, nullptr, 0));
        ASSERT_TRUE(Surface);
        const gdi::Selection Selected(Memory.Get(), Surface.Get());
        RECT All{0, 0, 60, 40};
        FillRect(Memory.Get(), &All, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        SetViewportOrgEx(Memory.Get(), -20, -10, nullptr);
        const auto DC = reinterpret_cast<WPARAM>(Memory.Get());
        SendMessageW(Form.Handle(), WM_ERASEBKGND, DC, 0);
        SendMessageW(Form.Handle(), WM_PAINT, DC, 0);
        SetViewportOrgEx(Memory.Get(), 0, 0, nullptr);
        GdiFlush();
        EXPECT_EQ(GetPixel(Memory.Get(), 5, 5), RGB(0, 255, 0));
        EXPECT_EQ(GetPixel(Memory.Get(), 55, 35), RGB(0, 255, 0));
        EXPECT_EQ(GetPixel(Memory.Get(), 15, 15), RGB(255, 0, 0));
    }
}

TEST(Controls, ExceptionInAHandlerIsReportedAtTheWindowBoundary)
{
    TMessageBoxRecorder Boxes;
    Application->SetTitle(L"Vidkiln");
    TForm Form(nullptr);
    auto* Child = new TThrowing(&Form);
    Child->SetParent(&Form);
    Child->SetBounds(0, 0, 50, 50);
    SendMessageW(Form.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    ASSERT_EQ(Boxes.Boxes.size(), 1u);
    EXPECT_EQ(Boxes.Boxes[0].Text, L"handler failed.");
    EXPECT_EQ(Boxes.Boxes[0].Caption, L"Vidkiln");
    EXPECT_EQ(SendMessageW(Form.Handle(), WM_PROBE, 0, 0), 0);
}

TEST(Controls, AlignedChildFillsWhatIsLeft)
{
    TForm Form(nullptr);
    Form.SetBorderStyle(bsNone);
    Form.SetBounds(0, 0, 200, 100);
    auto* Top = new TCustomControl(&Form);
    Top->SetParent(&Form);
    Top->SetHeight(20);
    Top->SetAlign(alTop);
    auto* Rest = new TCustomControl(&Form);
    Rest->SetParent(&Form);
    Rest->SetAlign(alClient);
    Form.HandleNeeded();
    Form.SetBounds(0, 0, 300, 150);
    EXPECT_EQ(Top->BoundsRect().right, 300);
    const RECT R = Rest->BoundsRect();
    EXPECT_EQ(R.top, 20);
    EXPECT_EQ(R.bottom, 150);
    EXPECT_EQ(R.right, 300);
}

TEST(Controls, NotificationsForMouseFocusAndMenuTravelThroughWindowProc)
{
    TForm Form(nullptr);
    Form.SetBorderStyle(bsNone);
    Form.SetBounds(0, 0, 200, 100);
    auto* Picture = new TPainted(&Form);
    Picture->SetParent(&Form);
    Picture->SetBounds(10, 10, 20, 20);
    auto* Box = new TCustomControl(&Form);
    Box->SetParent(&Form);
    Box->SetBounds(100, 10, 20, 20);
    TLoggingHook FormHook, PictureHook;
    FormHook.InstallChained(&Form);
    PictureHook.InstallChained(Picture);
    Form.Show();
    const HWND Window = Form.Handle();
    SendMessageW(Window, WM_MOUSEMOVE, 0, MAKELPARAM(50, 50));
    SendMessageW(Window, WM_MOUSEMOVE, 0, MAKELPARAM(15, 15));
    SendMessageW(Window, WM_MOUSEMOVE, 0, MAKELPARAM(50, 50));
    auto Count = [](const std::vector<UINT>& Seen, UINT Msg) { return std::count(Seen.begin(), Seen.end(), Msg); };
    EXPECT_EQ(Count(PictureHook.Seen, CM_MOUSEENTER), 1);
    EXPECT_EQ(Count(PictureHook.Seen, CM_MOUSELEAVE), 1);
    EXPECT_EQ(Count(FormHook.Seen, CM_MOUSEENTER), 1);
    FormHook.Seen.clear();
    Box->SetFocus();
    EXPECT_EQ(Count(FormHook.Seen, CM_FOCUSCHANGED), 1);
    TMainMenu* Menu = new TMainMenu(&Form);
    Form.SetMenu(Menu);
    EXPECT_EQ(GetMenu(Window), Menu->Handle());
    EXPECT_EQ(Count(FormHook.Seen, CM_MENUCHANGED), 1);
    delete Menu;
    EXPECT_EQ(Form.Menu(), nullptr);
    EXPECT_EQ(GetMenu(Window), nullptr);
}

namespace {
// An object owned by the control it hooks, as skinned control objects are.
class TOwnedHook : public TComponent {
public:
    explicit TOwnedHook(TControl* AControl)
        : TComponent(AControl), FControl(AControl), FHook(AControl, TWndMethod::Bind<&TOwnedHook::Hook>(this))
    {
    }
    ~TOwnedHook() override
    {
        WasStillHooked = FHook.Installed();
        ControlWasDestroying = FControl->Destroying();
    }
    static inline bool WasStillHooked = false;
    static inline bool ControlWasDestroying = false;

private:
    void Hook(TMessage& Message) { FHook.CallPrevious(Message); }
    TControl* FControl;
    TWindowProcHook FHook;
};
} // namespace

TEST(Controls, OwnedHookUnhooksWhileItsControlIsWhole)
{
    TForm Form(nullptr);
    auto* Panel = new TCustomControl(&Form);
    Panel->SetParent(&Form);
    new TOwnedHook(Panel);
    Form.HandleNeeded();
    delete Panel;
    EXPECT_TRUE(TOwnedHook::WasStillHooked);
    EXPECT_TRUE(TOwnedHook::ControlWasDestroying);
}

namespace {
// Makes a framework window from inside the creation hook of another one,
// the way a window-creation hook may create windows of its own.
struct TNestedCreator {
    static inline TForm* Nested = nullptr;
    static inline bool Done = false;
    static LRESULT CALLBACK Hook(int Code, WPARAM WParam, LPARAM LParam)
    {
        if (Code == HCBT_CREATEWND && Nested && !Done) {
            Done = true;
            Nested->HandleNeeded();
        }
        return CallNextHookEx(nullptr, Code, WParam, LParam);
    }
};
} // namespace

TEST(Controls, WindowsCreatedInsideACreationHookFindTheirOwnControls)
{
    TForm Outer(nullptr);
    TForm Nested(nullptr);
    TNestedCreator::Nested = &Nested;
    const HHOOK Hook = SetWindowsHookExW(WH_CBT, &TNestedCreator::Hook, nullptr, GetCurrentThreadId());
    ASSERT_NE(Hook, nullptr);
    Outer.HandleNeeded();
    UnhookWindowsHookEx(Hook);
    EXPECT_TRUE(TNestedCreator::Done);
    EXPECT_EQ(FindControl(Outer.Handle()), &Outer);
    EXPECT_EQ(FindControl(Nested.Handle()), &Nested);
    EXPECT_NE(Outer.Handle(), Nested.Handle());
}
