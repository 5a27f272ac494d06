#include "GuiTestUtil.h"
#include "framework/Menus.h"
#include "framework/StdCtrls.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

std::wstring MenuText(HMENU Menu, UINT Position)
{
    wchar_t Buffer[128] = {};
    GetMenuStringW(Menu, Position, Buffer, 128, MF_BYPOSITION);
    return Buffer;
}

UINT MenuState(HMENU Menu, UINT Position)
{
    MENUITEMINFOW Info{};
    Info.cbSize = sizeof Info;
    Info.fMask = MIIM_STATE | MIIM_FTYPE;
    GetMenuItemInfoW(Menu, Position, TRUE, &Info);
    return Info.fState | Info.fType;
}

// File (Open Ctrl+O, -, Recent (a.avi), Exit) and View (Toolbar checked,
// Status bar disabled).
struct TMenuForm : TForm {
    TMenuForm() : TForm(nullptr)
    {
        Menu = new TMainMenu(this);
        File = Item(Menu->Items(), L"&File");
        Open = Item(File, L"&Open...");
        Open->SetShortCut(scCtrl | 'O');
        Item(File, L"-");
        Recent = Item(File, L"&Recent");
        Avi = Item(Recent, L"a.avi");
        Exit = Item(File, L"E&xit");
        Exit->SetShortCut(VK_F5);
        View = Item(Menu->Items(), L"&View");
        Toolbar = Item(View, L"&Toolbar");
        Toolbar->SetChecked(true);
        Status = Item(View, L"&Status bar");
        Status->SetEnabled(false);
        SetMenu(Menu);
        Edit = new TComboBox(this);
        Edit->SetParent(this);
    }
    TMenuItem* Item(TMenuItem* Parent, const wchar_t* Caption)
    {
        auto* Made = new TMenuItem(this);
        Made->SetCaption(Caption);
        Made->OnClick = TNotifyEvent::Bind<&TMenuForm::Clicked>(this);
        Parent->Add(Made);
        return Made;
    }
    void Clicked(TObject* Sender) { Clicks.push_back(static_cast<TMenuItem*>(Sender)); }

    TMainMenu* Menu;
    TMenuItem *File, *Open, *Recent, *Avi, *Exit, *View, *Toolbar, *Status;
    TComboBox* Edit;
    std::vector<TMenuItem*> Clicks;
};

TEST(Menus, TheTreeBecomesThePlatformMenuOfTheForm)
{
    TMenuForm Form;
    const HMENU Bar = GetMenu(Form.Handle());
    ASSERT_EQ(Bar, Form.Menu->Handle());
    ASSERT_EQ(GetMenuItemCount(Bar), 2);
    EXPECT_EQ(MenuText(Bar, 0), L"&File");
    EXPECT_EQ(GetSubMenu(Bar, 0), Form.File->Handle());
    const HMENU File = Form.File->Handle();
    ASSERT_EQ(GetMenuItemCount(File), 4);
    EXPECT_EQ(MenuText(File, 0), L"&Open...\tCtrl+O");
    EXPECT_TRUE(MenuState(File, 1) & MFT_SEPARATOR);
    EXPECT_EQ(GetSubMenu(File, 2), Form.Recent->Handle());
    EXPECT_EQ(GetMenuItemID(File, 3), Form.Exit->Command());
    EXPECT_EQ(MenuText(File, 3), L"E&xit\tF5");
    EXPECT_TRUE(MenuState(Form.View->Handle(), 0) & MFS_CHECKED);
    EXPECT_TRUE(MenuState(Form.View->Handle(), 1) & MFS_DISABLED);
    EXPECT_EQ(Form.Open->Handle(), nullptr) << "no sub-items, no sub-menu";
}

TEST(Menus, ItemsAreFoundByCommandAndBySubMenuHandleOnlyInTheirMenu)
{
    TMenuForm Form;
    TPopupMenu Other(nullptr);
    EXPECT_EQ(Form.Menu->FindItem(Form.Avi->Command(), TFindItemKind::fkCommand), Form.Avi);
    EXPECT_EQ(Form.Menu->FindItem(reinterpret_cast<UINT_PTR>(Form.Recent->Handle()), TFindItemKind::fkHandle),
              Form.Recent);
    EXPECT_EQ(Form.Menu->FindItem(scCtrl | 'O', TFindItemKind::fkShortCut), Form.Open);
    EXPECT_EQ(Other.FindItem(Form.Avi->Command(), TFindItemKind::fkCommand), nullptr);
    EXPECT_EQ(Form.Menu->FindItem(0xE000, TFindItemKind::fkCommand), nullptr);
    EXPECT_NE(Form.Open->Command(), Form.Exit->Command());
    EXPECT_EQ(Form.Avi->GetParentMenu(), Form.Menu);
}

TEST(Menus, CommandsAndShortcutsRunTheItemsClick)
{
    TMenuForm Form;
    Form.Show();
    SendMessageW(Form.Handle(), WM_COMMAND, MAKEWPARAM(Form.Avi->Command(), 0), 0);
    PostMessageW(Form.Edit->Handle(), WM_KEYDOWN, VK_F5, 0);
    ASSERT_TRUE(WaitUntil([&] { return Form.Clicks.size() == 2; }, "both items' clicks"));
    EXPECT_EQ(Form.Clicks[0], Form.Avi);
    EXPECT_EQ(Form.Clicks[1], Form.Exit);
    SendMessageW(Form.Handle(), WM_COMMAND, MAKEWPARAM(Form.Status->Command(), 0), 0);
    EXPECT_EQ(Form.Clicks.size(), 2u) << "a disabled item does not click";
}

struct THookLog {
    std::vector<UINT> Seen;
    std::vector<WPARAM> Chars;
    TWindowProcHook Hook;
    void Handler(TMessage& M)
    {
        Seen.push_back(M.Msg);
        Hook.CallPrevious(M);
        // Taken, as a skinned menu bar takes it; otherwise the platform's
        // menu loop would open and wait for the user.
        if (M.Msg == CM_DIALOGCHAR) {
            Chars.push_back(M.WParam);
            M.Result = 1;
        }
    }
};

TEST(Menus, ChangesAndAltLettersReachTheFormsHook)
{
    TMenuForm Form;
    Form.Show();
    THookLog Log;
    Log.Hook.Install(&Form, TWndMethod::Bind<&THookLog::Handler>(&Log));
    Form.Toolbar->SetCaption(L"&Tool bar");
    Form.Avi->SetVisible(false);
    EXPECT_EQ(std::count(Log.Seen.begin(), Log.Seen.end(), CM_MENUCHANGED), 2);
    EXPECT_EQ(GetMenuItemCount(Form.Recent->Handle()), 0) << "hidden items leave the platform menu";

    PostMessageW(Form.Edit->Handle(), WM_SYSCHAR, L'v', 1 << 29);
    ASSERT_TRUE(WaitUntil([&] { return !Log.Chars.empty(); }, "the Alt letter at the form's hook"));
    EXPECT_EQ(Log.Chars[0], static_cast<WPARAM>(L'v'));
    EXPECT_EQ(GetHotkey(Form.View->Caption()), L'V');
    EXPECT_EQ(GetHotkey(L"Save && &Quit"), L'Q');
    EXPECT_EQ(GetHotkey(L"Fish && Chips"), 0);
    EXPECT_EQ(StripHotkey(L"Save && &Quit"), L"Save & Quit");
}

TEST(Menus, ShortCutTextNamesTheModifiersAndTheKey)
{
    struct TCase {
        TShortCut Key;
        const wchar_t* Text;
    };
    const TCase Cases[] = {{scCtrl | 'O', L"Ctrl+O"},
                           {scCtrl | scShift | VK_F4, L"Ctrl+Shift+F4"},
                           {scAlt | VK_DELETE, L"Alt+Del"},
                           {VK_F12, L"F12"},
                           {scNone, L""}};
    for (const TCase& Case : Cases)
        EXPECT_EQ(ShortCutToText(Case.Key), Case.Text) << Case.Key;
}

struct TDrawLog {
    std::vector<TObject*> Measured;
    std::vector<TObject*> Drawn;
    void Measure(TObject* Sender, TCanvas&, int& W, int& H)
    {
        Measured.push_back(Sender);
        W = 123;
        H = 21;
    }
    void Draw(TObject* Sender, TCanvas&, const RECT&, bool) { Drawn.push_back(Sender); }
};

TEST(Menus, OwnerDrawingCallsTheHandlersOfTheRightItem)
{
    TMenuForm Form;
    TDrawLog Log;
    Form.Open->OnMeasureItem = TMenuMeasureItemEvent::Bind<&TDrawLog::Measure>(&Log);
    Form.Open->OnDrawItem = TMenuDrawItemEvent::Bind<&TDrawLog::Draw>(&Log);
    Form.Menu->SetOwnerDraw(true);
    EXPECT_TRUE(MenuState(Form.File->Handle(), 0) & MFT_OWNERDRAW);
    EXPECT_TRUE(MenuState(Form.Recent->Handle(), 0) & MFT_OWNERDRAW) << "every level";

    MEASUREITEMSTRUCT Measure{ODT_MENU, 0, Form.Open->Command(), 0, 0, 0};
    SendMessageW(Form.Handle(), WM_MEASUREITEM, 0, AsLParam(&Measure));
    EXPECT_EQ(Measure.itemWidth, 123u);
    EXPECT_EQ(Measure.itemHeight, 21u);
    // An item without a handler is measured by the framework's rule: wider
    // with a shortcut than without.
    MEASUREITEMSTRUCT Exit{ODT_MENU, 0, Form.Exit->Command(), 0, 0, 0};
    SendMessageW(Form.Handle(), WM_MEASUREITEM, 0, AsLParam(&Exit));
    Form.Exit->SetShortCut(scNone);
    MEASUREITEMSTRUCT Plain{ODT_MENU, 0, Form.Exit->Command(), 0, 0, 0};
    SendMessageW(Form.Handle(), WM_MEASUREITEM, 0, AsLParam(&Plain));
    EXPECT_GT(Exit.itemWidth, Plain.itemWidth);
    EXPECT_GT(Plain.itemWidth, 16u + 3u);
    EXPECT_GT(Exit.itemHeight, 0u);

    const HDC DC = GetDC(Form.Handle());
    DRAWITEMSTRUCT Draw{ODT_MENU, 0, Form.Open->Command(), ODA_DRAWENTIRE, ODS_SELECTED,
                        reinterpret_cast<HWND>(Form.File->Handle()), DC, {0, 0, 100, 20}, 0};
    SendMessageW(Form.Handle(), WM_DRAWITEM, 0, AsLParam(&Draw));
    Draw.itemID = Form.Exit->Command();
    SendMessageW(Form.Handle(), WM_DRAWITEM, 0, AsLParam(&Draw));
    ReleaseDC(Form.Handle(), DC);
    ASSERT_EQ(Log.Measured.size(), 1u);
    EXPECT_EQ(Log.Measured[0], Form.Open);
    ASSERT_EQ(Log.Drawn.size(), 1u);
    EXPECT_EQ(Log.Drawn[0], Form.Open);

    Form.Menu->SetOwnerDraw(false);
    EXPECT_FALSE(MenuState(Form.File->Handle(), 0) & MFT_OWNERDRAW);
}

TEST(Menus, MovingAndFreeingItemsKeepsThePlatformMenuWhole)
{
    TMenuForm Form;
    Form.View->Add(Form.Recent); // with its sub-menu
    EXPECT_EQ(GetMenuItemCount(Form.File->Handle()), 3);
    EXPECT_EQ(GetSubMenu(Form.View->Handle(), 2), Form.Recent->Handle());
    delete Form.Avi;
    EXPECT_EQ(Form.Recent->Handle(), nullptr) << "its last sub-item gone, the sub-menu goes";
    EXPECT_EQ(GetSubMenu(Form.View->Handle(), 2), nullptr);
    delete Form.View;
    EXPECT_EQ(GetMenuItemCount(Form.Menu->Handle()), 1);
    EXPECT_THROW(Form.File->Add(Form.File), Exception);
}

TEST(Menus, RightToLeftMenusAndRadioItems)
{
    TMenuForm Form;
    Form.Menu->SetBiDiMode(bdRightToLeft);
    EXPECT_TRUE(MenuState(Form.File->Handle(), 0) & MFT_RIGHTORDER);
    Form.Toolbar->SetRadioItem(true);
    Form.Status->SetRadioItem(true);
    Form.Status->SetEnabled(true);
    Form.Status->Click();
    EXPECT_TRUE(Form.Status->Checked());
    EXPECT_FALSE(Form.Toolbar->Checked()) << "one checked radio item per group";
    EXPECT_TRUE(MenuState(Form.View->Handle(), 0) & MFT_RADIOCHECK);
}

} // namespace
