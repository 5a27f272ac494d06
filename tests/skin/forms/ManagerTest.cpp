// TSkinManage under Wine: which windows AttachForm accepts and why it
// refuses the others, which skin data a window gets, that of two requests
// within the delay only the last is carried out, that the hook skins a form
// as it is activated, and that skin/unskin cycles and skin changes leave no
// GDI objects or windows behind.
#include "FrameSamples.h"

#include <gtest/gtest.h>

#include "framework/Forms.h"
#include "skin/data/GdiCount.h"
#include "skin/forms/SkinManager.h"

#include <cstdio>
#include <functional>

using namespace frametest;

namespace {

const std::wstring kLightSkin = L"" VIDKILN_LIGHT_SKIN_FILE;
const std::wstring kDefaultSkin = L"" VIDKILN_DEFAULT_SKIN_FILE;

LRESULT CALLBACK ForeignEngineProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_SKINQUERY)
        return 1;
    return DefWindowProcW(window, msg, wParam, lParam);
}

HWND MakeOfClass(const wchar_t* className, WNDPROC procedure, DWORD style = WS_OVERLAPPEDWINDOW)
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = className;
    RegisterClassW(&windowClass);
    return CreateWindowExW(0, className, L"", style, 10, 10, 200, 150, nullptr, nullptr, GetModuleHandleW(nullptr),
                           nullptr);
}

struct TChangeCounter {
    int Count = 0;
    void Changed(TObject*) { ++Count; }
};

class SkinManagerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterTestClass();
        UseSkinManager();
        Skin = DefaultSkin();
        Skin->Loaded();
        ASSERT_NE(SkinManager, nullptr);
        ASSERT_EQ(SkinManager->MainSkinData(), Skin.get());
        SkinManager->SetActive(true);
    }

    void TearDown() override
    {
        for (auto it = Forms.rbegin(); it != Forms.rend(); ++it)
            delete *it;
        for (HWND window : Windows)
            DestroyWindow(window);
        Skin.reset();
        ShutdownSkinManager();
    }

    HWND Keep(HWND window)
    {
        Windows.push_back(window);
        return window;
    }

    TForm* NewForm()
    {
        auto* form = new TForm(nullptr);
        form->SetBounds(40, 40, 240, 160);
        Forms.push_back(form);
        return form;
    }


    std::unique_ptr<TSkinData> Skin;
    std::vector<HWND> Windows;
    std::vector<TForm*> Forms;
};

TEST_F(SkinManagerTest, AttachFormRefusesByTheFirstFailingCondition)
{
    struct TCase {
        const char* Name;
        std::function<HWND()> Make;
        TAttachRefusal Expected;
    };
    const TCase cases[] = {
        {"our own window", [&] { return Keep(MakeWindow(WS_OVERLAPPEDWINDOW, 200, 100)); }, arAccepted},
        {"skinning off",
         [&] {
             SkinManager->SetActive(false);
             return Keep(MakeWindow(WS_OVERLAPPEDWINDOW, 200, 100));
         },
         arInactive},
        {"a window of another engine", [&] { return Keep(MakeOfClass(L"ForeignSkinned", ForeignEngineProc)); },
         arAlreadySkinned},
        {"a plain child of an MDI client",
         [&] {
             HWND frame = Keep(MakeWindow(WS_OVERLAPPEDWINDOW, 300, 200));
             CLIENTCREATESTRUCT client{};
             HWND mdi = CreateWindowExW(0, L"MDICLIENT", nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 300, 200, frame,
                                        nullptr, GetModuleHandleW(nullptr), &client);
             return CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_CAPTION, 0, 0, 100, 80, mdi, nullptr,
                                    GetModuleHandleW(nullptr), nullptr);
         },
         arMdiClientChild},
        {"another module's window",
         [&] {
             return Keep(CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, 100, 80, nullptr, nullptr,
                                         GetModuleHandleW(L"kernel32.dll"), nullptr));
         },
         arForeign},
        {"zero size",
         [&] {
             // A popup: the system gives overlapped windows a minimum size.
             return Keep(CreateWindowExW(0, kClassName, L"", WS_POPUP | WS_CAPTION, 0, 0, 0, 0, nullptr, nullptr,
                                         GetModuleHandleW(nullptr), nullptr));
         },
         arZeroSize},
        {"a form tagged 99",
         [&] {
             TForm* form = NewForm();
             form->Tag = 99;
             return form->Handle();
         },
         arDisabledTag},
        {"an excluded class", [&] { return Keep(MakeOfClass(L"xTTERenderWindowx", DefWindowProcW)); },
         arExcludedClass},
        {"a dialog that sets itself to the foreground",
         [&] {
             return Keep(CreateWindowExW(0, L"#32770", L"", WS_POPUP | WS_CAPTION | DS_SETFOREGROUND, 0, 0, 100,
                                         80, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
         },
         arVetoed},
        {"a preview window with previews switched off",
         [&] {
             Skin->Options = static_cast<TSkinOptions>(Skin->Options & ~SetBit<TSkinOptions>(xoPreview));
             return Keep(MakeOfClass(L"PrintPreviewWindow", DefWindowProcW));
         },
         arVetoed},
        {"a preview window with previews on", [&] { return Keep(MakeOfClass(L"PreviewPane", DefWindowProcW)); },
         arAccepted},
    };
    for (const TCase& c : cases) {
        SkinManager->SetActive(true);
        Skin->Options = kDefaultSkinOptions;
        HWND window = c.Make();
        ASSERT_NE(window, nullptr) << c.Name;
        EXPECT_EQ(SkinManager->AttachRefusal(window), c.Expected) << c.Name;
    }
}

TEST_F(SkinManagerTest, FindSkinDataPrefersOwnFormThenDialogThenMainThenFirst)
{
    TForm* owner = NewForm();
    TSkinData dll(nullptr);
    dll.SkinFormtype = sfDLL;
    TSkinData dialog(nullptr);
    dialog.SkinFormtype = sfDialog;
    TSkinData main(nullptr);
    main.SkinFormtype = sfMainform;
    auto* own = new TSkinData(owner);
    own->SkinFormtype = sfOnlyThisForm;
    {
        TSkinManage manager;
        EXPECT_EQ(manager.FindSkinData(nullptr, L"Anything"), nullptr);
        manager.RegisterSkinData(&dll);
        EXPECT_EQ(manager.FindSkinData(nullptr, L"Anything"), &dll);
        for (TSkinData* skin : {&dialog, &main, own})
            manager.RegisterSkinData(skin);
        HWND plain = Keep(MakeWindow(WS_OVERLAPPEDWINDOW, 100, 80));
        EXPECT_EQ(manager.FindSkinData(plain, L"Anything"), &main);
        EXPECT_EQ(manager.FindSkinData(plain, L"#32770"), &dialog);
        EXPECT_EQ(manager.FindSkinData(plain, L"TMessageForm"), &dialog);
        EXPECT_EQ(manager.FindSkinData(owner->Handle(), L"TForm"), own);
        EXPECT_EQ(manager.MainSkinData(), &main);
    }
}

TEST_F(SkinManagerTest, TheHookSkinsAFormWhenItIsActivated)
{
    TForm* form = NewForm();
    const SIZE client = ClientSize(form->Handle());
    form->Show();
    Flush();
    TWinSkinForm* frame = SkinManager->FindSkinForm(form->Handle());
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->State(), fsReady);
    EXPECT_EQ(SendMessageW(form->Handle(), WM_SKINQUERY, 0, 0), 1);
    EXPECT_EQ(ClientSize(form->Handle()).cx, client.cx);
    EXPECT_EQ(ClientSize(form->Handle()).cy, client.cy);
    EXPECT_EQ(SkinManager->RunState(), 1);
}

TEST_F(SkinManagerTest, ASizeGripMadeInASkinnedWindowIsSkinnedAtOnce)
{
    TForm* form = NewForm();
    form->Show();
    Flush();
    ASSERT_NE(SkinManager->FindSkinForm(form->Handle()), nullptr);
    RECT client{};
    GetClientRect(form->Handle(), &client);
    HWND grip = Keep(CreateWindowExW(0, L"ScrollBar", L"", WS_CHILD | WS_VISIBLE | SBS_SIZEGRIP | SBS_SIZEBOXBOTTOMRIGHTALIGN,
                                     0, 0, client.right, client.bottom, form->Handle(), nullptr,
                                     GetModuleHandleW(nullptr), nullptr));
    Flush();
    EXPECT_EQ(SendMessageW(grip, WM_SKINQUERY, 0, 0), 1);
    // The system draws a grip of lines; the skin's is the face colour alone.
    const auto shot = ReadBack(grip);
    const TColor face = ColorToRGB(Skin->SkinColor(scButtonFace)) & 0xFFFFFF;
    int others = 0;
    for (int y = 0; y < shot.Height(); ++y)
        for (int x = 0; x < shot.Width(); ++x)
            others += PixelOf(shot, x, y) != face;
    EXPECT_EQ(others, 0);
}

TEST_F(SkinManagerTest, OfTwoRequestsWithinTheDelayOnlyTheLastIsCarriedOut)
{
    TChangeCounter changes;
    Skin->OnSkinChanged = TNotifyEvent::Bind<&TChangeCounter::Changed>(&changes);
    TForm* form = NewForm();
    form->Show();
    Flush();
    TWinSkinForm* frame = SkinManager->FindSkinForm(form->Handle());
    ASSERT_NE(frame, nullptr);

    // Unskin then skin: the form keeps the frame it had; nothing was unskinned.
    SkinManager->SetPendingSkinData(Skin.get());
    SkinManager->RequestAction(2, 250);
    SkinManager->RequestAction(1, 250);
    WaitForSkinRequest();
    EXPECT_EQ(changes.Count, 1);
    EXPECT_EQ(SkinManager->FindSkinForm(form->Handle()), frame);

    // Skin then unskin: only the unskinning happens.
    SkinManager->SetPendingSkinData(Skin.get());
    SkinManager->RequestAction(1, 250);
    SkinManager->RequestAction(2, 250);
    WaitForSkinRequest();
    EXPECT_EQ(changes.Count, 2);
    EXPECT_EQ(SkinManager->FindSkinForm(form->Handle()), nullptr);
    EXPECT_NE(SendMessageW(form->Handle(), WM_SKINQUERY, 0, 0), 1);
}

TEST_F(SkinManagerTest, SkinCyclesAndSkinChangesLeaveNoObjectsBehind)
{
    const gditest::TCounter counter = gditest::ChooseCounter();
    std::printf("counting GDI objects with: %s\n", counter.Source);
    TForm* form = NewForm();
    form->Show();
    Flush();
    ASSERT_NE(SkinManager->FindSkinForm(form->Handle()), nullptr);
    const auto cycle = [&](int action) {
        SkinManager->SetPendingSkinData(Skin.get());
        SkinManager->RequestAction(action, 1);
        WaitForSkinRequest();
    };
    cycle(2);
    cycle(1);
    const long gdiBefore = counter.Count();
    const int windowsBefore = ThreadWindowCount();
    for (int i = 0; i < 100; ++i) {
        cycle(2);
        cycle(1);
    }
    EXPECT_NE(SkinManager->FindSkinForm(form->Handle()), nullptr);
    EXPECT_EQ(counter.Count(), gdiBefore);
    EXPECT_EQ(ThreadWindowCount(), windowsBefore);

    // Skin changes: the light skin and the default one in turns.
    Skin->SetSkinFile(kLightSkin);
    WaitForSkinRequest();
    Skin->SetSkinFile(kDefaultSkin);
    WaitForSkinRequest();
    const long gdiBeforeChanges = counter.Count();
    for (int i = 0; i < 100; ++i) {
        Skin->SetSkinFile(i % 2 ? kDefaultSkin : kLightSkin);
        WaitForSkinRequest();
    }
    TWinSkinForm* frame = SkinManager->FindSkinForm(form->Handle());
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->State(), fsReady);
    EXPECT_EQ(counter.Count(), gdiBeforeChanges);
    EXPECT_EQ(ThreadWindowCount(), windowsBefore);
}

} // namespace

namespace {

// What the running open-file dialog showed, looked at from a timer inside
// the dialog's own modal loop.
struct TDialogLook {
    const TSkinData* Skin = nullptr;
    HWND Dialog = nullptr;
    bool Skinned = false;
    int Misses = -1;
};
TDialogLook* Look = nullptr;

void CALLBACK LookAtOpenDialog(HWND, UINT, UINT_PTR timer, DWORD)
{
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM) -> BOOL {
            wchar_t name[16]{};
            GetClassNameW(window, name, 16);
            if (!IsWindowVisible(window) || std::wstring(name) != L"#32770")
                return TRUE;
            Look->Dialog = window;
            return FALSE;
        },
        0);
    if (!Look->Dialog)
        return;
    KillTimer(nullptr, timer);
    Flush();
    Look->Skinned = SkinManager->FindSkinForm(Look->Dialog) != nullptr;
    Look->Misses = BorderMisses(*Look->Skin, Look->Dialog, 1);
    PostMessageW(Look->Dialog, WM_COMMAND, IDCANCEL, 0);
}

} // namespace

TEST_F(SkinManagerTest, TheOpenFileDialogWearsTheSkin)
{
    TDialogLook look;
    look.Skin = Skin.get();
    Look = &look;
    std::vector<wchar_t> file(1024, L'\0');
    OPENFILENAMEW info{};
    info.lStructSize = sizeof info;
    info.lpstrFile = file.data();
    info.nMaxFile = static_cast<DWORD>(file.size());
    info.Flags = OFN_EXPLORER | OFN_ALLOWMULTISELECT | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_FILEMUSTEXIST;
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, LookAtOpenDialog);
    GetOpenFileNameW(&info);
    KillTimer(nullptr, timer);
    Look = nullptr;
    ASSERT_NE(look.Dialog, nullptr);
    EXPECT_TRUE(look.Skinned);
    EXPECT_EQ(look.Misses, 0);
}
