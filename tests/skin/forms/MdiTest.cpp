// A skinned MDI frame under Wine, skinned through the manager's hook as the
// program's windows are: its children wear the skin's border and keep the
// client size they had under the system frame; the maximised-child state
// the caption buttons go by follows clicks on a child's maximise button,
// tiling and closing children; the client shows no system scroll bars; and
// unskinning gives the client its procedure back.
#include "FrameSamples.h"

#include <gtest/gtest.h>

#include "skin/forms/MenuBar.h"
#include "skin/forms/SkinManager.h"

using namespace frametest;

namespace {

class SkinnedMdi : public ::testing::Test {
protected:
    void SetUp() override
    {
        UseSkinManager();
        Skin = DefaultSkin();
        Skin->Loaded();
        ASSERT_FALSE(Skin->SkinLoading());
        SkinManager->SetActive(true);
        // Park the cursor away from every test window.
        SendMouse({GetSystemMetrics(SM_CXSCREEN) - 2, GetSystemMetrics(SM_CYSCREEN) - 2}, 0);
        Frame = new TForm(nullptr);
        Frame->SetFormStyle(fsMDIForm);
        Frame->SetBounds(40, 40, 560, 420);
        Frame->Show();
        Flush();
    }

    void TearDown() override
    {
        delete Frame;
        Skin.reset();
        ShutdownSkinManager();
    }

    TForm* NewChild(int x, int y)
    {
        auto* child = new TForm(Frame);
        child->SetFormStyle(fsMDIChild);
        child->SetCaption(L"Child");
        child->SetBounds(x, y, 220, 150);
        SystemClient = ClientSize(child->Handle());
        child->Show();
        Flush();
        return child;
    }

    TWinSkinForm* FrameOf(TForm* form) const { return SkinManager->FindSkinForm(form->Handle()); }

    void ClickMaximise(TForm* child)
    {
        Click(Centre(ButtonOnScreen(child->Handle(), SkinButtonOf(*Skin, 1, 2))));
    }

    std::unique_ptr<TSkinData> Skin;
    TForm* Frame = nullptr;
    SIZE SystemClient{};
};

TEST_F(SkinnedMdi, ChildrenWearTheSkinAndKeepTheirClientSize)
{
    TWinSkinForm* frame = FrameOf(Frame);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->FormKind(), fkMdiFrame);
    EXPECT_EQ(SkinManager->MDIClient(), Frame->ClientHandle());
    EXPECT_EQ(SkinManager->MDIFrameForm(), Frame);

    TForm* child = NewChild(10, 10);
    TWinSkinForm* childFrame = FrameOf(child);
    ASSERT_NE(childFrame, nullptr);
    EXPECT_EQ(childFrame->FormKind(), fkMdiChild);
    EXPECT_TRUE(childFrame->FrameSkinned());
    EXPECT_EQ(ClientSize(child->Handle()).cx, SystemClient.cx);
    EXPECT_EQ(ClientSize(child->Handle()).cy, SystemClient.cy);
    EXPECT_EQ(BorderMisses(*Skin, child->Handle(), childFrame->Active() ? 1 : 2), 0);
    EXPECT_TRUE(childFrame->HasRegion());
}

TEST_F(SkinnedMdi, MaximisedChildStateFollowsClicksTilingAndClosing)
{
    TForm* first = NewChild(10, 10);
    TForm* second = NewChild(40, 40);
    ASSERT_NE(FrameOf(second), nullptr);

    ClickMaximise(second);
    EXPECT_TRUE(IsZoomed(second->Handle()));
    EXPECT_TRUE(SkinManager->MDIChildMaximized());

    Frame->Tile();
    Flush();
    EXPECT_FALSE(IsZoomed(second->Handle()));
    EXPECT_FALSE(SkinManager->MDIChildMaximized());

    // Closing a child: the state becomes the one of the child left active.
    ClickMaximise(second);
    ASSERT_TRUE(SkinManager->MDIChildMaximized());
    ShowWindow(second->Handle(), SW_RESTORE);
    delete second;
    Flush();
    ASSERT_EQ(Frame->ActiveMDIChild(), first);
    ASSERT_FALSE(IsZoomed(first->Handle()));
    EXPECT_FALSE(SkinManager->MDIChildMaximized());
}

TEST_F(SkinnedMdi, TheClientHasNoSystemScrollBarsAndGetsItsProcedureBack)
{
    HWND client = Frame->ClientHandle();
    const WNDPROC own = reinterpret_cast<WNDPROC>(GetClassLongPtrW(client, GCLP_WNDPROC));
    // An MDI client shows system scroll bars when its children reach past
    // it and its style allows them.
    NewChild(900, 700);
    SetWindowLongPtrW(client, GWL_STYLE, GetWindowLongPtrW(client, GWL_STYLE) | WS_HSCROLL | WS_VSCROLL);
    SetWindowPos(client, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    Flush();
    EXPECT_EQ(GetWindowLongPtrW(client, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL), 0);

    SkinManager->SetPendingSkinData(Skin.get());
    SkinManager->RequestAction(2, 1);
    WaitForSkinRequest();
    EXPECT_EQ(SkinManager->FindSkinForm(Frame->Handle()), nullptr);
    EXPECT_EQ(SkinManager->MDIClient(), nullptr);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(client, GWLP_WNDPROC)), own);
}

TEST_F(SkinnedMdi, ANewFrameMenuShowsInTheSkinnedBar)
{
    // A frame with a menu of its own, as a bare MDI frame has.
    auto* framed = new TForm(nullptr);
    framed->SetFormStyle(fsMDIForm);
    framed->SetBounds(80, 80, 400, 300);
    const auto menuOf = [](std::initializer_list<const wchar_t*> captions) {
        HMENU menu = CreateMenu();
        for (const wchar_t* caption : captions)
            AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(CreatePopupMenu()), caption);
        return menu;
    };
    SetMenu(framed->Handle(), menuOf({L"&File"}));
    framed->Show();
    Flush();
    TWinSkinForm* frame = SkinManager->FindSkinForm(framed->Handle());
    ASSERT_NE(frame, nullptr);
    ASSERT_NE(frame->SkinMenuBar(), nullptr);
    HMENU next = menuOf({L"&File", L"&Window"});
    // The client answers with the menu it replaced, now the caller's.
    if (auto old = reinterpret_cast<HMENU>(
            SendMessageW(framed->ClientHandle(), WM_MDISETMENU, reinterpret_cast<WPARAM>(next), 0)))
        DestroyMenu(old);
    Flush();
    EXPECT_EQ(GetMenu(framed->Handle()), nullptr) << "the skinned bar shows the menu";
    EXPECT_EQ(frame->SkinMenuBar()->MenuHandle(), next);
    EXPECT_EQ(frame->SkinMenuBar()->Items.size(), 2u);
    delete framed;
}

} // namespace
