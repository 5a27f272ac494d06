// Skinned status bars, headers, group boxes, panels and the boxes of system
// dialogs under Wine, read back from their windows against the skin's images
// at points the test works out from the controls' own geometry: each status
// panel's face up to the next panel and the last one to the bar's edge; the
// header's items, the filled rest and the item under the real mouse, also
// after the user drags a divider; a group box's caption from its Caption
// property; a panel in the skin's colour and back; the open-file dialog's
// inner dialog and toolbar on the skin's face. Texts set a thousand times
// show each new text, and soak loops leave no GDI or USER objects behind.
#include "ControlFixture.h"

#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "skin/controls/SkinBars.h"
#include "skin/data/GdiCount.h"
#include "skin/data/WinSkinData.h"
#include "skin/controls/ControlDispatch.h"

#include <commctrl.h>
#include <commdlg.h>

#include <map>
#include <optional>
#include <tuple>

using namespace controltest;

namespace {

constexpr int kStatusFrames = 3;
constexpr TColor kRed = 0x0000FF;

// The pixels of rect of a picture, row by row.
std::vector<TColor> PixelsIn(const TPixels& shot, const RECT& rect)
{
    std::vector<TColor> pixels;
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            pixels.push_back(PixelOf(shot, x, y));
    return pixels;
}

// Pixels of a face at rect that the face model does not admit (the text
// drawn on it), within the part of the face `part` says (face coordinates).
int InkIn(const TPixels& shot, const RECT& face, const TFaceModel& model, int frame, std::optional<RECT> part = {})
{
    const int w = face.right - face.left;
    const int h = face.bottom - face.top;
    const RECT area = part.value_or(RECT{0, 0, w, h});
    int ink = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            ink += !model.At(w, h, x, y, frame).Admits(PixelOf(shot, face.left + x, face.top + y));
    return ink;
}

class SkinnedBars : public SkinnedForm {
protected:
    TStatusBar* ThreePanelBar()
    {
        auto* bar = Place<TStatusBar>(Form.get(), Form.get(), L"", 0, 200, 400, 22);
        bar->SetSizeGrip(false);
        bar->SetPanels({{L"一", 60}, {L"第二格", 90}, {L"", 70}});
        return bar;
    }

    // Where the faces of a status bar's panels lie: each reaches the next
    // panel, the last the bar's right edge.
    static std::vector<RECT> PanelFaces(HWND bar)
    {
        const int count = static_cast<int>(SendMessageW(bar, SB_GETPARTS, 0, 0));
        std::vector<RECT> faces(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i)
            SendMessageW(bar, SB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&faces[i]));
        RECT client{};
        GetClientRect(bar, &client);
        for (int i = 0; i < count; ++i)
            faces[i].right = i + 1 < count ? faces[i + 1].left : client.right;
        return faces;
    }

    TFaceModel StatusModel() const
    {
        return TFaceModel(*Skin->StatusBarEdges(), kStatusFrames, Skin->SkinColor(scButtonFace));
    }

    TFaceModel HeaderModel() const
    {
        return TFaceModel(*Skin->Headerbar(), Skin->Headerbar()->FrameCount, Skin->SkinColor(scButtonFace));
    }

    // Misses of a header's items (the hot one with frame 2) and of the rest
    // right of the last item (frame 1).
    int HeaderMisses(HWND header, int hot, const char* what) const
    {
        const auto shot = ReadBack(header);
        const TFaceModel model = HeaderModel();
        const int count = static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
        int misses = 0;
        LONG end = 0;
        for (int i = 0; i < count; ++i) {
            RECT item{};
            SendMessageW(header, HDM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
            misses += CheckFaceIn(shot, item, model, i == hot ? 2 : 1, what);
            end = std::max(end, item.right);
        }
        if (end < shot.Width())
            misses += CheckFaceIn(shot, {end, 0, shot.Width(), shot.Height()}, model, 1, what);
        return misses;
    }
};

TEST_F(SkinnedBars, StatusPanelsShowTheirFacesAndTheLastReachesTheEdge)
{
    ASSERT_TRUE(Skin->StatusBarEdges() && !Skin->StatusBarEdges()->Bitmap->Empty());
    TStatusBar* bar = ThreePanelBar();
    SkinForm();
    ASSERT_NE(Frame->Dispatch().Controls().FindByControl(bar), nullptr);
    const std::vector<RECT> faces = PanelFaces(bar->Handle());
    ASSERT_EQ(faces.size(), 3u);
    const auto shot = ReadBack(bar->Handle());
    ASSERT_GT(shot.Width(), faces[2].left + 100) << "the last panel's face is far wider than the panel";
    for (const RECT& face : faces)
        EXPECT_EQ(CheckFaceIn(shot, face, StatusModel(), 1, "lowered panel"), 0);
    EXPECT_GT(InkIn(shot, faces[1], StatusModel(), 1), 10) << "the second panel's text";
    EXPECT_EQ(InkIn(shot, faces[2], StatusModel(), 1), 0) << "an empty panel shows its face alone";
}

TEST_F(SkinnedBars, StatusBevelsChooseTheFaceFrame)
{
    TStatusBar* bar = ThreePanelBar();
    SkinForm();
    HWND window = bar->Handle();
    SendMessageW(window, SB_SETTEXTW, 0 | SBT_POPOUT, reinterpret_cast<LPARAM>(L"raised"));
    SendMessageW(window, SB_SETTEXTW, 1 | SBT_NOBORDERS, reinterpret_cast<LPARAM>(L"flat"));
    UpdateWindow(window);
    const std::vector<RECT> faces = PanelFaces(window);
    const auto shot = ReadBack(window);
    EXPECT_EQ(CheckFaceIn(shot, faces[0], StatusModel(), 2, "raised"), 0);
    EXPECT_EQ(CheckFaceIn(shot, faces[1], StatusModel(), 3, "no bevel"), 0);
    EXPECT_EQ(CheckFaceIn(shot, faces[2], StatusModel(), 1, "lowered"), 0);
}

TEST_F(SkinnedBars, SimpleStatusBarIsOneFaceWithItsTextAtTheReadingStart)
{
    auto* bar = Place<TStatusBar>(Form.get(), Form.get(), L"", 0, 200, 400, 22);
    auto* mirrored = Place<TStatusBar>(Form.get(), Form.get(), L"", 0, 230, 400, 22);
    for (TStatusBar* each : {bar, mirrored}) {
        each->SetSizeGrip(false);
        each->SetSimplePanel(true);
        each->SetSimpleText(L"输出目录：D:\\Videos\\");
    }
    mirrored->SetBiDiMode(bdRightToLeft);
    SkinForm();
    const auto shot = ReadBack(bar->Handle());
    const RECT whole{0, 0, shot.Width(), shot.Height()};
    EXPECT_EQ(CheckFaceIn(shot, whole, StatusModel(), 1, "simple bar"), 0);
    const RECT left{0, 0, shot.Width() / 2, shot.Height()};
    const RECT right{shot.Width() / 2, 0, shot.Width(), shot.Height()};
    EXPECT_GT(InkIn(shot, whole, StatusModel(), 1, left), 10) << "the text starts at the left";
    EXPECT_EQ(InkIn(shot, whole, StatusModel(), 1, right), 0);
    const auto rightToLeft = ReadBack(mirrored->Handle());
    EXPECT_GT(InkIn(rightToLeft, whole, StatusModel(), 1, right), 10) << "a right-to-left bar ends its text at the right";
    EXPECT_EQ(InkIn(rightToLeft, whole, StatusModel(), 1, left), 0);
}

TEST_F(SkinnedBars, StatusTextSetAThousandTimesShowsEachNewTextAndLeavesNothingBehind)
{
    TStatusBar* bar = ThreePanelBar();
    SkinForm();
    HWND window = bar->Handle();
    const RECT face = PanelFaces(window)[1];
    const std::wstring texts[] = {L"1 完成", L"22 转换中", L"333", L"第 4 个", L"五", L"66666", L"7 失败"};
    std::map<int, std::vector<TColor>> firstShots;
    const TFaceModel model = StatusModel();
    int wrong = 0;
    for (int i = 0; i < 1000; ++i) {
        const int which = i % 7;
        bar->SetPanelText(1, texts[which]);
        UpdateWindow(window);
        // Every step keeps the face; a cheap sample of steps compares the text.
        const auto shot = ReadBack(window);
        wrong += CheckFaceIn(shot, face, model, 1, "panel under changing text") != 0;
        if (i % 10 != 0 && i >= 7)
            continue;
        std::vector<TColor> pixels = PixelsIn(shot, face);
        const auto [first, added] = firstShots.emplace(which, pixels);
        if (!added && first->second != pixels && ++wrong <= 3)
            ADD_FAILURE() << "step " << i << " shows another text than the first time";
        if (wrong > 3)
            break;
    }
    EXPECT_EQ(wrong, 0);
    ASSERT_EQ(firstShots.size(), 7u);
    for (const auto& [which, pixels] : firstShots) {
        for (const auto& [other, otherPixels] : firstShots) {
            if (which < other) {
                EXPECT_NE(pixels, otherPixels) << "texts " << which << " and " << other << " look alike";
            }
        }
    }

    const gditest::TCounter counter = gditest::ChooseCounter();
    const auto objects = [&] {
        return std::tuple{counter.Count(), GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS),
                          frametest::ThreadWindowCount()};
    };
    const auto before = objects();
    for (int i = 0; i < 1000; ++i) {
        bar->SetPanelText(1, texts[i % 7]);
        UpdateWindow(window);
    }
    EXPECT_EQ(objects(), before) << "after 1000 status texts, GDI counted by " << counter.Source;
    // One cycle first: the frame keeps what it painted in either activity.
    SkinCycle();
    UpdateWindow(window);
    Flush();
    const auto beforeCycles = objects();
    for (int i = 0; i < 100; ++i) {
        SkinCycle();
        UpdateWindow(window);
    }
    Flush();
    EXPECT_EQ(objects(), beforeCycles) << "after 100 skin cycles";
    EXPECT_NE(Frame->Dispatch().Controls().FindByControl(bar), nullptr) << "skinned after the cycles";
}

class SkinnedHeaders : public SkinnedBars {
protected:
    void SetUp() override
    {
        SkinnedBars::SetUp();
        // Clear of the fixture's edit: a read-back shows what covers the window.
        List = Place<TListView>(Form.get(), Form.get(), L"", 10, 40, 400, 150);
        List->SetViewStyle(vsReport);
        for (const auto& [caption, width] : {std::pair{L"文件", 120}, std::pair{L"时长", 90}}) {
            TListColumn& column = List->Columns().Add();
            column.SetCaption(caption);
            column.SetWidth(width);
        }
    }

    HWND Header() const { return reinterpret_cast<HWND>(SendMessageW(List->Handle(), LVM_GETHEADER, 0, 0)); }

    RECT ItemRect(int index) const
    {
        RECT item{};
        SendMessageW(Header(), HDM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        return item;
    }

    TListView* List = nullptr;
};

TEST_F(SkinnedHeaders, ListViewHeaderShowsItemsTheFilledRestAndTheHotItem)
{
    ASSERT_TRUE(Skin->Headerbar() && !Skin->Headerbar()->Bitmap->Empty());
    ASSERT_GE(Skin->Headerbar()->FrameCount, 2);
    SkinForm();
    ASSERT_NE(Header(), nullptr);
    ASSERT_EQ(SendMessageW(Header(), WM_SKINQUERY, 0, 0), 1);
    EXPECT_EQ(HeaderMisses(Header(), -1, "at rest"), 0);
    const auto shot = ReadBack(Header());
    EXPECT_GT(InkIn(shot, ItemRect(0), HeaderModel(), 1), 10) << "the first column's caption";

    const RECT second = ItemRect(1);
    MouseTo(Header(), (second.left + second.right) / 2, second.bottom / 2);
    Flush();
    EXPECT_EQ(HeaderMisses(Header(), 1, "second item under the mouse"), 0);
    ParkMouse();
    Flush();
    EXPECT_EQ(HeaderMisses(Header(), -1, "mouse gone"), 0);
}

TEST_F(SkinnedHeaders, HeaderFollowsADividerDraggedByTheUser)
{
    SkinForm();
    const RECT first = ItemRect(0);
    const int y = first.bottom / 2;
    MouseTo(Header(), first.right - 1, y);
    MouseTo(Header(), first.right - 1, y, MOUSEEVENTF_LEFTDOWN);
    MouseTo(Header(), first.right + 40, y);
    MouseTo(Header(), first.right + 40, y, MOUSEEVENTF_LEFTUP);
    ParkMouse();
    Flush();
    EXPECT_EQ(ItemRect(0).right, first.right + 41) << "the drag widened the first column";
    EXPECT_EQ(HeaderMisses(Header(), -1, "after the drag"), 0);
    SendMessageW(List->Handle(), LVM_SETCOLUMNWIDTH, 1, 200);
    UpdateWindow(Header());
    EXPECT_EQ(HeaderMisses(Header(), -1, "after a new width"), 0);
}

TEST_F(SkinnedHeaders, UnskinningGivesTheHeaderBack)
{
    SkinForm();
    ASSERT_EQ(SendMessageW(Header(), WM_SKINQUERY, 0, 0), 1);
    Frame->Unskin();
    EXPECT_NE(SendMessageW(Header(), WM_SKINQUERY, 0, 0), 1);
}

// A group box of a foreign library: it keeps its caption in a property and
// leaves the window text empty.
class TLabelledBox : public TGroupBox {
public:
    using TGroupBox::TGroupBox;
    static const TClassInfo& StaticClass()
    {
        static const TClassInfo& info = *new TClassInfo(
            TClassBuilder<TLabelledBox>("TLabelledBox", TGroupBox::StaticClass()).Field("Caption", &TLabelledBox::Label).Build());
        return info;
    }
    const TClassInfo& ClassType() const override { return StaticClass(); }
    std::wstring Label;
};

TEST_F(SkinnedBars, GroupBoxDrawsItsCaptionPropertyWhenTheWindowTextIsEmpty)
{
    auto* labelled = Place<TLabelledBox>(Form.get(), Form.get(), L"", 10, 10, 200, 100);
    labelled->Label = L"分组标题 Group";
    auto* bare = Place<TLabelledBox>(Form.get(), Form.get(), L"", 220, 10, 200, 100);
    SkinForm();
    ASSERT_NE(Frame->Dispatch().Controls().FindByControl(labelled), nullptr);
    const TColor face = Skin->SkinColor(scButtonFace) & 0xFFFFFF;
    const TColor border = Skin->SkinColor(scButtonShadow) & 0xFFFFFF;
    ASSERT_NE(face, border);
    const auto shot = ReadBack(labelled->Handle());
    const auto plain = ReadBack(bare->Handle());
    // The frame's top line runs where the caption's middle is.
    int top = -1;
    for (int y = 0; y < 20 && top < 0; ++y)
        if (PixelOf(plain, 100, y) == border)
            top = y;
    ASSERT_GE(top, 0) << "the frame's top line";
    EXPECT_EQ(PixelOf(plain, 1, 50), border) << "left side of the frame";
    EXPECT_EQ(PixelOf(plain, 198, 50), border) << "right side of the frame";
    EXPECT_EQ(PixelOf(plain, 100, 50), face) << "the inside on the skin's face";
    EXPECT_NE(PixelOf(shot, 30, top), border) << "the caption covers the top line";
    int ink = 0;
    for (int y = 0; y < 2 * top + 4; ++y)
        for (int x = 8; x < 60; ++x)
            ink += PixelOf(shot, x, y) != face && PixelOf(shot, x, y) != border;
    EXPECT_GT(ink, 10) << "the caption's text";
}

TEST_F(SkinnedBars, PanelTakesTheSkinColourAndGetsItsOwnBack)
{
    auto* panel = Place<TPanel>(Form.get(), Form.get(), L"", 10, 10, 120, 60);
    panel->SetColor(kRed);
    SkinForm();
    EXPECT_EQ(PixelOf(ReadBack(panel->Handle()), 60, 30), Skin->SkinColor(scButtonFace) & 0xFFFFFF);
    Frame->Unskin();
    Flush();
    EXPECT_EQ(panel->Color(), kRed);
    EXPECT_EQ(PixelOf(ReadBack(panel->Handle()), 60, 30), static_cast<TColor>(ColorToRGB(kRed)));
}

// The open-file dialog with an inner dialog of our own (as programs add
// their options under the file list): once the dialog's children are
// dispatched, its inner dialog and its toolbar stand on the skin's face.
struct TFileDialogShots {
    TSkinData* Skin = nullptr;
    HWND Dialog = nullptr;
    TColor Inner = clNone;
    TColor Toolbar = clNone;
    TColor PlainToolbar = clNone;
    bool Done = false;
};
TFileDialogShots GFileDialog;

HWND ToolbarOf(HWND dialog)
{
    return FindWindowExW(dialog, nullptr, TOOLBARCLASSNAMEW, nullptr);
}

// A pixel right of the toolbar's last button, where its background shows.
TColor ToolbarBackground(HWND toolbar)
{
    const auto shot = ReadBack(toolbar);
    const int buttons = static_cast<int>(SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0));
    RECT last{};
    SendMessageW(toolbar, TB_GETITEMRECT, static_cast<WPARAM>(std::max(0, buttons - 1)),
                 reinterpret_cast<LPARAM>(&last));
    return PixelOf(shot, std::min(shot.Width() - 1, static_cast<int>(last.right) + 4), shot.Height() / 2);
}

void CALLBACK ShootFileDialog(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = GFileDialog.Dialog;
    if (!dialog || !IsWindowVisible(dialog))
        return;
    KillTimer(nullptr, timer);
    HWND inner = FindWindowExW(dialog, nullptr, L"#32770", nullptr);
    HWND toolbar = ToolbarOf(dialog);
    if (toolbar)
        GFileDialog.PlainToolbar = ToolbarBackground(toolbar);
    {
        TControlDispatch dispatch(GFileDialog.Skin);
        dispatch.AttachChildWindows(dialog);
        RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        if (inner) {
            RECT client{};
            GetClientRect(inner, &client);
            GFileDialog.Inner = PixelOf(ReadBack(inner), client.right - 3, client.bottom - 3);
        }
        if (toolbar)
            GFileDialog.Toolbar = ToolbarBackground(toolbar);
    }
    GFileDialog.Done = true;
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
}

UINT_PTR CALLBACK FileDialogHook(HWND inner, UINT message, WPARAM, LPARAM)
{
    if (message == WM_INITDIALOG)
        GFileDialog.Dialog = GetParent(inner);
    return 0;
}

// An empty child dialog template, 200 by 30 dialog units.
std::vector<WORD> InnerTemplate()
{
    std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD) + 3, 0);
    auto* dialog = reinterpret_cast<DLGTEMPLATE*>(words.data());
    dialog->style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | DS_3DLOOK | DS_CONTROL;
    dialog->cx = 200;
    dialog->cy = 30;
    return words;
}

TEST(FileDialogBoxes, InnerDialogAndToolbarStandOnTheSkinFace)
{
    const std::unique_ptr<TSkinData> skin = frametest::DefaultSkin();
    const TColor face = skin->SkinColor(scButtonFace) & 0xFFFFFF;
    ASSERT_NE(face, static_cast<TColor>(GetSysColor(COLOR_BTNFACE))) << "the skin's face must differ from the system's";
    GFileDialog = {};
    GFileDialog.Skin = skin.get();
    std::vector<WORD> inner = InnerTemplate();
    wchar_t file[MAX_PATH] = L"";
    OPENFILENAMEW open{};
    open.lStructSize = sizeof(open);
    open.lpstrFile = file;
    open.nMaxFile = MAX_PATH;
    open.lpstrFilter = L"视频文件\0*.avi;*.mp4\0";
    open.Flags = OFN_EXPLORER | OFN_ENABLEHOOK | OFN_ENABLETEMPLATEHANDLE | OFN_FILEMUSTEXIST;
    open.hInstance = reinterpret_cast<HINSTANCE>(inner.data());
    open.lpfnHook = FileDialogHook;
    const UINT_PTR timer = SetTimer(nullptr, 0, 200, ShootFileDialog);
    GetOpenFileNameW(&open);
    KillTimer(nullptr, timer);
    ASSERT_TRUE(GFileDialog.Done) << "the dialog showed and was read back";
    EXPECT_EQ(GFileDialog.Inner, face) << "the inner dialog";
    ASSERT_NE(GFileDialog.Toolbar, static_cast<TColor>(clNone)) << "Wine's dialog has a toolbar";
    EXPECT_NE(GFileDialog.PlainToolbar, face);
    EXPECT_EQ(GFileDialog.Toolbar, face) << "the toolbar";
}

} // namespace
