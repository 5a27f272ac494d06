// MDI: a frame with its client, children inside it, maximised and restored
// through the client, the window list merged into the frame's menu.
#include "GuiTestUtil.h"
#include "framework/Menus.h"

#include <gtest/gtest.h>

namespace {

struct TFrame : TForm {
    TFrame() : TForm(nullptr)
    {
        SetFormStyle(fsMDIForm);
        SetBounds(0, 0, 500, 400);
        auto* Menu = new TMainMenu(this);
        Window = new TMenuItem(this);
        Window->SetCaption(L"&Window");
        auto* Tile = new TMenuItem(this);
        Tile->SetCaption(L"&Tile");
        Window->Add(Tile);
        Menu->Items()->Add(Window);
        SetMenu(Menu);
        SetWindowMenu(Window);
        Show();
    }
    TForm* NewChild()
    {
        auto* Child = new TForm(this);
        Child->SetFormStyle(fsMDIChild);
        Child->SetCaption(L"Child");
        Child->SetBounds(10, 10, 200, 150);
        Child->Show();
        return Child;
    }
    TMenuItem* Window;
};

TEST(Mdi, ChildrenOpenInsideTheFramesClient)
{
    TFrame Frame;
    ASSERT_NE(Frame.ClientHandle(), nullptr);
    wchar_t Class[32];
    GetClassNameW(Frame.ClientHandle(), Class, 32);
    EXPECT_STREQ(Class, L"MDIClient");
    TForm* First = Frame.NewChild();
    TForm* Second = Frame.NewChild();
    EXPECT_EQ(GetParent(First->Handle()), Frame.ClientHandle());
    EXPECT_EQ(Frame.MDIChildCount(), 2);
    EXPECT_EQ(Frame.MDIChildren(0), First);
    EXPECT_EQ(Frame.ActiveMDIChild(), Second);
    // The platform lists the children below the window menu's own items.
    EXPECT_GT(GetMenuItemCount(Frame.Window->Handle()), 1);
    delete Second;
    EXPECT_EQ(Frame.MDIChildCount(), 1);
    EXPECT_EQ(Frame.ActiveMDIChild(), First);
}

TEST(Mdi, ChildrenMaximiseRestoreTileAndCascade)
{
    TFrame Frame;
    TForm* First = Frame.NewChild();
    TForm* Second = Frame.NewChild();
    Second->SetWindowState(wsMaximized);
    EXPECT_EQ(Second->WindowState(), wsMaximized);
    RECT Client;
    GetClientRect(Frame.ClientHandle(), &Client);
    RECT Inner;
    GetClientRect(Second->Handle(), &Inner);
    EXPECT_EQ(Inner.right, Client.right) << "a maximised child fills the client";
    Second->SetWindowState(wsNormal);
    EXPECT_EQ(Second->WindowState(), wsNormal);
    Frame.Tile(tbVertical);
    RECT A, B;
    GetWindowRect(First->Handle(), &A);
    GetWindowRect(Second->Handle(), &B);
    EXPECT_TRUE(A.right <= B.left || B.right <= A.left) << "tiled side by side";
    Frame.Cascade();
    GetWindowRect(First->Handle(), &A);
    GetWindowRect(Second->Handle(), &B);
    EXPECT_NE(A.left, B.left);
    EXPECT_NE(A.top, B.top);
}

TEST(Mdi, ClosingTheFrameClosesItsChildren)
{
    auto* Frame = new TFrame;
    HWND Child = Frame->NewChild()->Handle();
    HWND Client = Frame->ClientHandle();
    delete Frame;
    EXPECT_FALSE(IsWindow(Child));
    EXPECT_FALSE(IsWindow(Client));
}

TEST(Mdi, AChildWithoutAFrameIsRefused)
{
    TForm Child(nullptr);
    Child.SetFormStyle(fsMDIChild);
    EXPECT_THROW(Child.HandleNeeded(), EInvalidOperation);
}

} // namespace
