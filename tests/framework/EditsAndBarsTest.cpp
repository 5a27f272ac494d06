// Edit-type, list, bar and tab controls: state that lives in the platform
// control and in the object stays one, and the user's actions come back.
#include "GuiTestUtil.h"
#include "framework/ComCtrls.h"
#include "framework/StdCtrls.h"

#include <gtest/gtest.h>

namespace {

struct TChanges {
    int Count = 0;
    void Changed(TObject*) { ++Count; }
};

TEST(Edits, MemoLinesAndTypedTextAreOne)
{
    TForm Form(nullptr);
    auto* Memo = new TMemo(&Form);
    Memo->SetParent(&Form);
    Memo->Lines().Assign({L"first", L"second"});
    EXPECT_EQ(Memo->Text(), L"first\r\nsecond\r\n") << "each line ends with its line break";
    Form.HandleNeeded();
    SendMessageW(Memo->Handle(), EM_SETSEL, 0, -1);
    SendMessageW(Memo->Handle(), EM_REPLACESEL, TRUE, AsLParam(L"typed\r\nby user\r\nthree"));
    ASSERT_EQ(Memo->Lines().Count(), 3);
    EXPECT_EQ(Memo->Lines()[1], L"by user");
    Memo->SetWordWrap(false); // makes the window again
    EXPECT_EQ(Memo->Lines().Text(), L"typed\r\nby user\r\nthree\r\n");
    EXPECT_TRUE(GetWindowLongW(Memo->Handle(), GWL_STYLE) & ES_AUTOHSCROLL);
}

TEST(Edits, EditPropertiesReachTheWindowAndChangesAreReported)
{
    TForm Form(nullptr);
    auto* Edit = new TEdit(&Form);
    Edit->SetParent(&Form);
    TChanges Log;
    Edit->OnChange = TNotifyEvent::Bind<&TChanges::Changed>(&Log);
    Edit->SetMaxLength(3);
    Edit->SetReadOnly(true);
    Form.HandleNeeded();
    EXPECT_TRUE(GetWindowLongW(Edit->Handle(), GWL_STYLE) & ES_READONLY);
    EXPECT_EQ(SendMessageW(Edit->Handle(), EM_GETLIMITTEXT, 0, 0), 3);
    EXPECT_TRUE(GetWindowLongW(Edit->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    Edit->SetText(L"abc");
    EXPECT_EQ(Log.Count, 1);
    Edit->SetBorderStyle(bsNone);
    EXPECT_FALSE(GetWindowLongW(Edit->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(Edit->Text(), L"abc") << "the text survives the new window";
}

TEST(Lists, ListBoxItemsAndSelectionSurviveTheWindow)
{
    TForm Form(nullptr);
    auto* List = new TListBox(&Form);
    List->SetParent(&Form);
    List->Items().Assign({L"b", L"a", L"c"});
    List->SetItemIndex(1);
    Form.HandleNeeded();
    EXPECT_EQ(SendMessageW(List->Handle(), LB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(SendMessageW(List->Handle(), LB_GETCURSEL, 0, 0), 1);
    SendMessageW(List->Handle(), LB_SETCURSEL, 2, 0);
    List->SetMultiSelect(true);
    EXPECT_EQ(List->ItemIndex(), 2);
    EXPECT_TRUE(List->Selected(2));
    EXPECT_FALSE(List->Selected(0));
    List->SetItemIndex(7);
    EXPECT_FALSE(List->Selected(2)) << "out of range selects nothing";
}

TEST(Bars, ScrollBarFollowsItsScrollMessagesWithinTheRange)
{
    TForm Form(nullptr);
    auto* Bar = new TScrollBar(&Form);
    Bar->SetParent(&Form);
    Bar->SetParams(0, 0, 100);
    Bar->SetPageSize(10);
    Bar->LargeChange = 30;
    TChanges Log;
    Bar->OnChange = TNotifyEvent::Bind<&TChanges::Changed>(&Log);
    Form.HandleNeeded();
    const HWND Window = Bar->Handle();
    auto Scroll = [&](WORD Code) {
        SendMessageW(Form.Handle(), WM_HSCROLL, MAKEWPARAM(Code, 0), reinterpret_cast<LPARAM>(Window));
        return Bar->Position();
    };
    EXPECT_EQ(Scroll(SB_LINEDOWN), 1);
    EXPECT_EQ(Scroll(SB_PAGEDOWN), 31);
    EXPECT_EQ(Scroll(SB_BOTTOM), 91) << "the last page starts at Max - PageSize + 1";
    EXPECT_EQ(Scroll(SB_PAGEDOWN), 91);
    EXPECT_EQ(GetScrollPos(Window, SB_CTL), 91);
    EXPECT_EQ(Log.Count, 3);
    EXPECT_THROW(Bar->SetParams(0, 10, 5), Exception);
    EXPECT_EQ(Bar->Min(), 0);
}

TEST(Bars, TrackBarAndUpDownReportTheUsersPosition)
{
    TForm Form(nullptr);
    auto* Track = new TTrackBar(&Form);
    Track->SetParent(&Form);
    Track->SetRange(0, 20);
    auto* Edit = new TEdit(&Form);
    Edit->SetParent(&Form);
    auto* Spin = new TUpDown(&Form);
    Spin->SetParent(&Form);
    Spin->SetAssociate(Edit);
    Spin->SetMax(50);
    Spin->SetPosition(7);
    TChanges Log;
    Track->OnChange = TNotifyEvent::Bind<&TChanges::Changed>(&Log);
    Form.Show();
    SendMessageW(Track->Handle(), TBM_SETPOS, TRUE, 12);
    SendMessageW(Form.Handle(), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 12), reinterpret_cast<LPARAM>(Track->Handle()));
    EXPECT_EQ(Track->Position(), 12);
    EXPECT_EQ(Log.Count, 1);
    EXPECT_EQ(Spin->Associate(), Edit);
    EXPECT_EQ(Edit->Text(), L"7") << "the up-down shows its position in its associate";
    SendMessageW(Spin->Handle(), WM_KEYDOWN, VK_UP, 0);
    SendMessageW(Spin->Handle(), WM_KEYUP, VK_UP, 0);
    EXPECT_EQ(Spin->Position(), 8);
    EXPECT_EQ(Edit->Text(), L"8");
}

TEST(Tabs, PageControlShowsTheActivePageOnly)
{
    TForm Form(nullptr);
    Form.SetBounds(0, 0, 400, 300);
    auto* Pages = new TPageControl(&Form);
    Pages->SetParent(&Form);
    Pages->SetBounds(0, 0, 300, 200);
    TTabSheet* Sheets[3];
    for (int I = 0; I < 3; ++I) {
        Sheets[I] = new TTabSheet(&Form);
        Sheets[I]->SetCaption(L"Page " + std::to_wstring(I));
        Sheets[I]->SetPageControl(Pages);
    }
    Form.Show();
    EXPECT_EQ(Pages->ActivePage(), Sheets[0]);
    EXPECT_TRUE(IsWindowVisible(Sheets[0]->Handle()));
    EXPECT_EQ(SendMessageW(Pages->Handle(), TCM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_TRUE(SetObjectProp(Pages, "ActivePage", Sheets[2]));
    EXPECT_FALSE(IsWindowVisible(Sheets[0]->Handle()));
    EXPECT_TRUE(IsWindowVisible(Sheets[2]->Handle()));
    EXPECT_EQ(SendMessageW(Pages->Handle(), TCM_GETCURSEL, 0, 0), 2);
    // The user picks a tab.
    SendMessageW(Pages->Handle(), TCM_SETCURSEL, 1, 0);
    NMHDR Notify{Pages->Handle(), 0, static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageW(Form.Handle(), WM_NOTIFY, 0, AsLParam(&Notify));
    EXPECT_EQ(Pages->ActivePage(), Sheets[1]);
    Sheets[1]->SetTabVisible(false);
    EXPECT_EQ(SendMessageW(Pages->Handle(), TCM_GETITEMCOUNT, 0, 0), 2);
    delete Sheets[1];
    EXPECT_EQ(Pages->PageCount(), 2);
    EXPECT_NE(Pages->ActivePage(), nullptr) << "another page takes over";
    RECT Display = Pages->DisplayRect();
    EXPECT_EQ(Pages->ActivePage()->Left(), Display.left);
}

TEST(Tabs, TabsOnEverySideMakeTheMatchingStyle)
{
    TForm Form(nullptr);
    struct TCase {
        TTabPosition Side;
        DWORD Style;
    };
    const TCase Cases[] = {{tpTop, 0}, {tpBottom, TCS_BOTTOM}, {tpLeft, TCS_VERTICAL}, {tpRight, TCS_VERTICAL | TCS_RIGHT}};
    for (const TCase& Case : Cases) {
        auto* Tabs = new TTabControl(&Form);
        Tabs->SetParent(&Form);
        Tabs->Tabs().Assign({L"a", L"b"});
        Tabs->SetTabPosition(Case.Side);
        Tabs->SetTabIndex(1);
        const DWORD Style = static_cast<DWORD>(GetWindowLongW(Tabs->Handle(), GWL_STYLE));
        EXPECT_EQ(Style & (TCS_BOTTOM | TCS_VERTICAL | TCS_RIGHT), Case.Style) << Case.Side;
        EXPECT_EQ(Tabs->TabIndex(), 1);
    }
}

} // namespace
