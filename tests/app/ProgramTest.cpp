// The program's end: everything goes in the written order, inside
// RunProgram, while COM is still there: the skin manager while the windows
// exist, then the forms.
#include "MainTestFixture.h"
#include "app/Program.h"
#include "app/WebPanel.h"
#include "base/ThreadHook.h"
#include "framework/Forms.h"
#include "runner/DosCommand.h"
#include "skin/data/SkinManagerLink.h"
#include "skin/data/WinSkinData.h"

#include <gtest/gtest.h>

#include <objbase.h>

#include <memory>
#include <string>
#include <vector>

namespace {

bool ComAlive()
{
    APTTYPE type{};
    APTTYPEQUALIFIER qualifier{};
    return SUCCEEDED(CoGetApartmentType(&type, &qualifier));
}

// The windows of this thread that a framework control stands behind.
int FrameworkWindows()
{
    int count = 0;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND Window, LPARAM Count) -> BOOL {
            if (FindControl(Window))
                ++*reinterpret_cast<int*>(Count);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

struct TShutdownLog {
    std::vector<std::string> Steps;
    int DestroyedWithoutCom = 0;
    int WindowsDestroyed = 0;
};
TShutdownLog* gLog = nullptr;

class TManager : public ISkinManagerLink {
public:
    void RegisterSkinData(TSkinData*) override {}
    void UnregisterSkinData(TSkinData*) override { gLog->Steps.push_back("skin data freed"); }
    void InstallHook() override {}
    void RequestAction(int, int) override {}
    void SetPendingSkinData(TSkinData*) override {}
    void ReleaseCaptionButtons(TSkinData*) override {}
    void SetActive(bool) override {}
    int RunState() const override { return 0; }
    void SetRunState(int) override {}
    bool AttachForm(HWND) override { return false; }
    void Shutdown() noexcept override
    {
        gLog->Steps.push_back(std::string("manager shut down") + (ComAlive() ? "" : " after COM") +
                              (Screen->FormCount() > 0 ? "" : " after the forms"));
    }
};
std::unique_ptr<ISkinManagerLink> MakeManager()
{
    return std::make_unique<TManager>();
}

// The main form of the test program: a runner with a child that waits to be
// ended, the skin data and the guide panel, each owned by the form.
class TProgramForm : public TForm {
public:
    explicit TProgramForm(TComponent* AOwner) : TForm(AOwner)
    {
        auto* runner = new TDosCommand(this);
        runner->CommandLine = L"\"" + TestsFolder() + L"\\app_fake_tool.exe\"";
        runner->Start();
        auto* skin = new TSkinData(this);
        skin->Loaded();
        auto* guide = new TWebBrowser(this);
        guide->SetParent(this);
        guide->SetBounds(0, 0, 200, 100);
    }
    ~TProgramForm() override { gLog->Steps.push_back("main form freed"); }
};

void CALLBACK CloseMainForm(HWND, UINT, UINT_PTR Timer, DWORD)
{
    KillTimer(nullptr, Timer);
    PostMessageW(Application->MainForm()->Handle(), WM_CLOSE, 0, 0);
}

} // namespace

TEST(Program, EndsTheSkinManagerThenEveryWindowBeforeCom)
{
    SetEnvironmentVariableW(L"VIDKILN_FAKE_APP_FAKE_TOOL", L"hang");
    TShutdownLog log;
    gLog = &log;
    SetSkinManagerFactory(&MakeManager);
    const TThreadHook watch(WH_CBT, [&](int Code, WPARAM, LPARAM) -> LRESULT {
        if (Code == HCBT_DESTROYWND) {
            ++log.WindowsDestroyed;
            log.DestroyedWithoutCom += ComAlive() ? 0 : 1;
        }
        return 0;
    });
    const int result = RunProgram([] {
        Application->CreateForm<TProgramForm>();
        SetTimer(nullptr, 0, 300, &CloseMainForm);
    });
    EXPECT_EQ(result, 0);
    EXPECT_GT(log.WindowsDestroyed, 0);
    EXPECT_EQ(log.DestroyedWithoutCom, 0);
    // The skin data outlives the manager, so it has nobody to unregister from.
    const std::vector<std::string> order{"manager shut down", "main form freed"};
    EXPECT_EQ(log.Steps, order);
    EXPECT_EQ(FrameworkWindows(), 0);
    EXPECT_EQ(Screen->FormCount(), 0);
    EXPECT_EQ(Application->ComponentCount(), 0);
    EXPECT_EQ(CurrentSkinManager(), nullptr);
    EXPECT_FALSE(ComAlive());
    SetSkinManagerFactory(nullptr);
    gLog = nullptr;
}
