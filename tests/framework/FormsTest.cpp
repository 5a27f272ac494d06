#include "GuiTestUtil.h"
#include "framework/Forms.h"
#include "framework/Timer.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

struct TFormEvents {
    int Created = 0;
    int Closes = 0;
    TCloseAction Action = caHide;
    bool CanClose = true;
    void Create(TObject*) { ++Created; }
    void Close(TObject*, TCloseAction& A)
    {
        ++Closes;
        A = Action;
    }
    void Query(TObject*, bool& Can) { Can = CanClose; }
    void Fail(TObject*) { throw std::runtime_error("Images\\bg.bmp not found"); }
};

// Closes the form it watches from a timer tick, as a user would while the
// modal loop runs, and records what it saw.
struct TModalCloser {
    TCustomForm* Form = nullptr;
    TForm* Other = nullptr;
    bool OtherWasDisabled = false;
    bool WasModal = false;
    void Tick(TObject* Sender)
    {
        static_cast<TTimer*>(Sender)->SetEnabled(false);
        WasModal = Form->Modal() && IsWindowVisible(Form->Handle());
        OtherWasDisabled = Other && !IsWindowEnabled(Other->Handle());
        PostMessageW(Form->Handle(), WM_CLOSE, 0, 0);
    }
};

class TSelfFreeing : public TForm {
public:
    TSelfFreeing(TComponent* AOwner, bool& Freed) : TForm(AOwner), FFreed(Freed) {}
    ~TSelfFreeing() override { FFreed = true; }

private:
    bool& FFreed;
};

} // namespace

TEST(Forms, ListedInScreenWhileTheyExist)
{
    const int Before = Screen->FormCount();
    auto* Form = new TForm(nullptr);
    ASSERT_EQ(Screen->FormCount(), Before + 1);
    EXPECT_EQ(Screen->Forms(Before), Form);
    delete Form;
    EXPECT_EQ(Screen->FormCount(), Before);
    EXPECT_GT(Screen->Width(), 0);
    EXPECT_FALSE(Screen->MenuFont()->Name().empty());
    EXPECT_EQ(Application->HintPause, 500);
    EXPECT_EQ(Application->HintHidePause, 2500);
}

TEST(Forms, FormOfAWindowIsFoundFromItsHandle)
{
    TForm Form(nullptr);
    auto* Child = new TCustomControl(&Form);
    Child->SetParent(&Form);
    EXPECT_EQ(FindFormOfWindow(Form.Handle()), &Form);
    EXPECT_EQ(FindFormOfWindow(Child->Handle()), Child);
    EXPECT_EQ(GetParentForm(Child), &Form);
    EXPECT_EQ(FindFormOfWindow(GetDesktopWindow()), nullptr);
    EXPECT_EQ(FindFormOfWindow(nullptr), nullptr);
}

TEST(Forms, ClientSizeHoldsWithAndWithoutAWindow)
{
    for (TFormBorderStyle Style : {bsSingle, bsDialog, bsSizeable, bsNone}) {
        TForm Form(nullptr);
        Form.SetBorderStyle(Style);
        Form.SetBorderIcons(biSystemMenu | biMinimize);
        Form.SetClientSize(558, 314);
        EXPECT_EQ(Form.ClientWidth(), 558);
        EXPECT_EQ(Form.ClientHeight(), 314);
        Form.HandleNeeded();
        RECT Client;
        GetClientRect(Form.Handle(), &Client);
        EXPECT_EQ(Client.right, 558) << Style;
        EXPECT_EQ(Client.bottom, 314) << Style;
    }
}

TEST(Forms, StyleFollowsBorderStyleAndIcons)
{
    TForm Form(nullptr);
    Form.SetBorderStyle(bsSingle);
    Form.SetBorderIcons(biSystemMenu | biMinimize);
    const auto Style = GetWindowLongPtrW(Form.Handle(), GWL_STYLE);
    EXPECT_TRUE(Style & WS_SYSMENU);
    EXPECT_TRUE(Style & WS_MINIMIZEBOX);
    EXPECT_FALSE(Style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(Style & WS_THICKFRAME);
    Form.SetBorderStyle(bsDialog);
    EXPECT_TRUE(GetWindowLongPtrW(Form.Handle(), GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
    EXPECT_FALSE(GetWindowLongPtrW(Form.Handle(), GWL_STYLE) & WS_MINIMIZEBOX);
}

TEST(Forms, ShowCentresAndCloseHides)
{
    TForm Form(nullptr);
    TFormEvents Events;
    Form.OnCreate = TNotifyEvent::Bind<&TFormEvents::Create>(&Events);
    Form.OnClose = TCloseEvent::Bind<&TFormEvents::Close>(&Events);
    Form.SetPosition(poScreenCenter);
    Form.SetBounds(0, 0, 200, 100);
    Form.Show();
    EXPECT_EQ(Events.Created, 1);
    EXPECT_TRUE(IsWindowVisible(Form.Handle()));
    EXPECT_EQ(Form.Left(), (Screen->Width() - 200) / 2);
    EXPECT_EQ(Form.Top(), (Screen->Height() - 100) / 2);
    SendMessageW(Form.Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(Events.Closes, 1);
    EXPECT_FALSE(Form.Visible());
    EXPECT_FALSE(IsWindowVisible(Form.Handle()));
    Form.Show();
    EXPECT_EQ(Events.Created, 1);
    Events.Action = caNone;
    Form.Close();
    EXPECT_TRUE(Form.Visible());
    Events.Action = caHide;
    Events.CanClose = false;
    Form.OnCloseQuery = TCloseQueryEvent::Bind<&TFormEvents::Query>(&Events);
    Form.Close();
    EXPECT_TRUE(Form.Visible());
}

TEST(Forms, ShowModalRunsUntilClosedWithOtherWindowsDisabled)
{
    TForm Other(nullptr);
    Other.Show();
    TForm Dialog(nullptr);
    TModalCloser Closer{&Dialog, &Other};
    TTimer Timer(nullptr);
    Timer.SetInterval(50);
    Timer.OnTimer = TNotifyEvent::Bind<&TModalCloser::Tick>(&Closer);
    EXPECT_EQ(Dialog.ShowModal(), mrCancel);
    EXPECT_TRUE(Closer.WasModal);
    EXPECT_TRUE(Closer.OtherWasDisabled);
    EXPECT_FALSE(Dialog.Visible());
    EXPECT_FALSE(Dialog.Modal());
    EXPECT_TRUE(IsWindowEnabled(Other.Handle()));
    Dialog.Show();
    EXPECT_THROW(Dialog.ShowModal(), EInvalidOperation);
}

TEST(Forms, ReleaseFreesTheFormAfterItsQueuedMessages)
{
    bool Freed = false;
    auto* Form = new TSelfFreeing(nullptr, Freed);
    Form->Show();
    Form->Release();
    EXPECT_FALSE(Freed);
    ASSERT_TRUE(WaitUntil([&] { return Freed; }, "the form to be freed"));
}

namespace {
// A hook that goes on working with the form after the form has handled a
// message, as the skin engine's frame hook does.
struct TAfterHook {
    TCustomForm* Form = nullptr;
    const bool* Freed = nullptr;
    bool SawReleaseWhole = false;
    TWindowProcHook Hook;
    void Handle(TMessage& Message)
    {
        Hook.CallPrevious(Message);
        if (Message.Msg == CM_RELEASE)
            SawReleaseWhole = !*Freed && Form->Name() == L"Released";
    }
};
} // namespace

TEST(Forms, ReleaseWaitsForTheHooksHandlingItToUnwind)
{
    bool Freed = false;
    auto* Form = new TSelfFreeing(nullptr, Freed);
    Form->SetName(L"Released");
    TAfterHook After;
    After.Form = Form;
    After.Freed = &Freed;
    After.Hook.Install(Form, TWndMethod::Bind<&TAfterHook::Handle>(&After));
    Form->Show();
    Form->Release();
    ASSERT_TRUE(WaitUntil([&] { return Freed; }, "the form to be freed"));
    EXPECT_TRUE(After.SawReleaseWhole);
    EXPECT_FALSE(After.Hook.Installed());
}

TEST(Forms, CloseWithCaFreeReleases)
{
    bool Freed = false;
    auto* Form = new TSelfFreeing(nullptr, Freed);
    TFormEvents Events;
    Events.Action = caFree;
    Form->OnClose = TCloseEvent::Bind<&TFormEvents::Close>(&Events);
    Form->Show();
    Form->Close();
    ASSERT_TRUE(WaitUntil([&] { return Freed; }, "the form to be freed"));
}

TEST(Application, FailingOnCreateIsReportedAndTheFormGoesOn)
{
    TMessageBoxRecorder Boxes;
    Application->SetTitle(L"Vidkiln v3.0");
    TForm Form(nullptr);
    TFormEvents Events;
    Form.OnCreate = TNotifyEvent::Bind<&TFormEvents::Fail>(&Events);
    Form.Show();
    ASSERT_EQ(Boxes.Boxes.size(), 1u);
    EXPECT_EQ(Boxes.Boxes[0].Text, L"Images\\bg.bmp not found.");
    EXPECT_EQ(Boxes.Boxes[0].Caption, L"Vidkiln v3.0");
    EXPECT_TRUE(Boxes.Boxes[0].Flags & MB_ICONSTOP);
    EXPECT_TRUE(IsWindowVisible(Form.Handle()));
    Application->HandleException(nullptr);
    EXPECT_EQ(Boxes.Boxes.size(), 1u);
    try {
        throw 42;
    } catch (...) {
        Application->HandleException(nullptr);
    }
    ASSERT_EQ(Boxes.Boxes.size(), 2u);
    EXPECT_EQ(Boxes.Boxes[1].Text, L"Unknown exception.");
}

TEST(Application, RunEndsWhenTheMainFormCloses)
{
    TFormEvents Events;
    auto* Main = Application->CreateForm<TForm>();
    Main->OnCreate = TNotifyEvent::Bind<&TFormEvents::Create>(&Events);
    EXPECT_EQ(Application->MainForm(), Main);
    auto* Second = Application->CreateForm<TForm>();
    EXPECT_EQ(Application->MainForm(), Main);
    EXPECT_EQ(Second->Owner(), Application);
    PostMessageW(Main->Handle(), WM_CLOSE, 0, 0);
    Application->Run();
    EXPECT_TRUE(Application->Terminated());
    delete Second;
    delete Main;
    EXPECT_EQ(Application->MainForm(), nullptr);
}

namespace {
// Takes Alt+letter for itself, as a skinned menu bar does.
class TMenuKeyForm : public TForm {
public:
    using TForm::TForm;
    std::vector<WPARAM> DialogChars;

protected:
    void WndProc(TMessage& Message) override
    {
        if (Message.Msg == CM_DIALOGCHAR) {
            DialogChars.push_back(Message.WParam);
            Message.Result = Message.WParam == L'f';
            return;
        }
        TForm::WndProc(Message);
    }
};
} // namespace

TEST(Application, DialogKeysReachTheFormBeforeTheControl)
{
    TMenuKeyForm Form(nullptr);
    auto* First = new TCustomControl(&Form);
    First->SetParent(&Form);
    First->SetTabStop(true);
    auto* Second = new TCustomControl(&Form);
    Second->SetParent(&Form);
    Second->SetTabStop(true);
    Form.Show();
    First->SetFocus();
    PostMessageW(First->Handle(), WM_KEYDOWN, VK_TAB, 0);
    Application->ProcessMessages();
    EXPECT_TRUE(Second->Focused());
    PostMessageW(Second->Handle(), WM_KEYDOWN, VK_TAB, 0);
    Application->ProcessMessages();
    EXPECT_TRUE(First->Focused());
    PostMessageW(First->Handle(), WM_SYSCHAR, L'f', 0);
    PostMessageW(First->Handle(), WM_SYSCHAR, L'x', 0);
    Application->ProcessMessages();
    EXPECT_EQ(Form.DialogChars, (std::vector<WPARAM>{L'f', L'x'}));
}
