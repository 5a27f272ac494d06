// Skinned tab and page controls under Wine, read back from their windows
// against the skin's Tabs image at points the test works out from the tabs'
// own rectangles: the strip on every side (turned for left and right tabs,
// texts reading the right way), hot and selected tabs, the close boxes of a
// Tag 7777 page control asking the form, tab sheets on the skin's face, the
// tab scroll arrows skinned, keys switching pages as on a plain twin, and
// GDI and USER objects around soak loops.
#include "ControlFixture.h"

#include "framework/ComCtrls.h"
#include "framework/StdCtrls.h"
#include "skin/controls/SkinTabs.h"
#include "skin/data/GdiCount.h"
#include "skin/data/SkinMessages.h"
#include "skin/data/WinSkinData.h"
#include "skin/controls/ControlDispatch.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <functional>

using namespace controltest;

namespace {

constexpr int kTabFrames = 5;
constexpr int kNormal = 1;
constexpr int kSelected = 2;
constexpr int kHot = 3;
constexpr int kDisabled = 4;

RECT ItemRect(HWND tabs, int index)
{
    RECT rect{};
    SendMessageW(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(index), AsLParam(&rect));
    return rect;
}

// Where a point of a tab's face (fx along the tab, fy from its outer edge
// inwards, as the skin draws a tab standing on its foot) shows in the
// control: each tab stands one pixel into the pane's edge; left tabs are
// turned counter-clockwise (they read bottom to top), right tabs clockwise.
POINT FacePoint(const RECT& tab, TTabPosition side, int fx, int fy)
{
    switch (side) {
    case tpBottom: return {tab.left + fx, tab.bottom - 2 - fy};
    case tpLeft: return {tab.left + 1 + fy, tab.bottom - 1 - fx};
    case tpRight: return {tab.right - 2 - fy, tab.top + fx};
    default: return {tab.left + fx, tab.top + 1 + fy};
    }
}

// The tab's length along the strip and its depth across it.
SIZE FaceSize(const RECT& tab, TTabPosition side)
{
    const int w = tab.right - tab.left;
    const int h = tab.bottom - tab.top;
    return side == tpLeft || side == tpRight ? SIZE{h, w} : SIZE{w, h};
}

// A key with modifiers held, as the keyboard sends it.
void Chord(std::initializer_list<WORD> modifiers, WORD key)
{
    std::vector<INPUT> inputs;
    const auto add = [&](WORD vk, DWORD flags) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.dwFlags = flags;
        inputs.push_back(input);
    };
    for (WORD modifier : modifiers)
        add(modifier, 0);
    add(key, 0);
    add(key, KEYEVENTF_KEYUP);
    for (auto m = std::rbegin(modifiers); m != std::rend(modifiers); ++m)
        add(*m, KEYEVENTF_KEYUP);
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    Flush();
}

void Drain()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// The form's answer to WM_SKINTABCLOSE, and what it was asked.
class TCloseAnswer {
public:
    TCloseAnswer(HWND form, TPageControl* pages) : FPages(pages)
    {
        FSubclass.Install(form, [this](UINT msg, WPARAM wParam, LPARAM lParam) {
            if (msg != WM_SKINTABCLOSE)
                return FSubclass.CallPrevious(msg, wParam, lParam);
            ++Asked;
            TabWindow = reinterpret_cast<HWND>(wParam);
            Tab = static_cast<int>(lParam);
            PagesWhenAsked = FPages->PageCount();
            return Answer;
        });
    }

    LRESULT Answer = 0;
    int Asked = 0;
    HWND TabWindow = nullptr;
    int Tab = -1;
    int PagesWhenAsked = -1;

private:
    TPageControl* FPages;
    TWindowSubclass FSubclass;
};

std::vector<std::wstring> Captions(const TPageControl& pages)
{
    std::vector<std::wstring> captions;
    for (int i = 0; i < pages.PageCount(); ++i)
        captions.push_back(pages.Pages(i)->Caption());
    return captions;
}

// The text pixels of a tab, as positions along its face.
struct TInk {
    int Count = 0;
    int First = 1 << 30;
    int Last = -1;
    double Centroid = 0;
};

class SkinnedTabs : public SkinnedForm {
protected:
    void SetUp() override
    {
        SkinnedForm::SetUp();
        ASSERT_TRUE(Skin->Tabs() && Skin->Tabs()->Bitmap && !Skin->Tabs()->Bitmap->Empty());
    }

    TTabControl* AddTabs(TTabPosition side, int x, int y, int w, int h, std::initializer_list<std::wstring> tabs)
    {
        auto* control = Place<TTabControl>(Form.get(), Form.get(), L"", x, y, w, h);
        control->SetTabPosition(side);
        control->Tabs().Assign(tabs);
        return control;
    }

    TPageControl* AddPages(int x, int y, int w, int h, std::initializer_list<const wchar_t*> captions)
    {
        auto* pages = Place<TPageControl>(Form.get(), Form.get(), L"", x, y, w, h);
        for (const wchar_t* caption : captions) {
            auto* sheet = new TTabSheet(Form.get());
            sheet->SetCaption(caption);
            sheet->SetPageControl(pages);
        }
        return pages;
    }

    TFaceModel Model() const
    {
        return TFaceModel(*Skin->Tabs(), kTabFrames, Skin->SkinColor(scButtonFace), true);
    }

    // Misses of a tab's face against frame, at its outer three rows along
    // its stretched middle, where neither text nor close box ever goes.
    int FaceMisses(HWND tabs, int index, TTabPosition side, int frame, const char* what) const
    {
        const auto shot = ReadBack(tabs);
        const RECT tab = ItemRect(tabs, index);
        const SIZE face = FaceSize(tab, side);
        const TDataSkinBorder& image = *Skin->Tabs();
        const TFaceModel model = Model();
        int misses = 0;
        for (int fx = image.LeftWidth; fx < face.cx - image.RightWidth; fx += 2)
            for (int fy = 0; fy < 3; ++fy) {
                const POINT at = FacePoint(tab, side, fx, fy);
                const TColor seen = PixelOf(shot, at.x, at.y);
                if (!model.At(face.cx, face.cy, fx, fy, frame).Admits(seen) && ++misses <= 3)
                    ADD_FAILURE() << what << ": face (" << fx << ", " << fy << ") at (" << at.x << ", " << at.y
                                  << ") is " << std::hex << seen << ", frame " << std::dec << frame;
            }
        return misses;
    }

    TInk InkAlong(HWND tabs, int index, TTabPosition side) const
    {
        const auto shot = ReadBack(tabs);
        const RECT tab = ItemRect(tabs, index);
        const SIZE face = FaceSize(tab, side);
        const TColor text = ColorToRGB(Skin->Tabs()->NormalColour2) & 0xFFFFFF;
        TInk ink;
        long sum = 0;
        for (int fx = 0; fx < face.cx; ++fx)
            for (int fy = 0; fy < face.cy - 1; ++fy) {
                const POINT at = FacePoint(tab, side, fx, fy);
                if (PixelOf(shot, at.x, at.y) != text)
                    continue;
                ++ink.Count;
                sum += fx;
                ink.First = std::min(ink.First, fx);
                ink.Last = std::max(ink.Last, fx);
            }
        ink.Centroid = ink.Count ? static_cast<double>(sum) / ink.Count : 0;
        return ink;
    }
};

TEST_F(SkinnedTabs, TabsOnEverySideShowTheSelectedAndNormalFacesTurnedToTheirSide)
{
    const TTabPosition sides[] = {tpTop, tpBottom, tpLeft, tpRight};
    const char* names[] = {"top", "bottom", "left", "right"};
    std::vector<TTabControl*> controls;
    for (int i = 0; i < 4; ++i) {
        controls.push_back(AddTabs(sides[i], 10 + (i % 2) * 160, 10 + (i / 2) * 120, 150, 110,
                                   {L"M....", L"Two", L"Three"}));
        controls.back()->SetTabIndex(1);
    }
    SkinForm();
    for (int i = 0; i < 4; ++i) {
        HWND tabs = controls[i]->Handle();
        EXPECT_EQ(FaceMisses(tabs, 1, sides[i], kSelected, names[i]), 0) << names[i] << " selected";
        EXPECT_EQ(FaceMisses(tabs, 0, sides[i], kNormal, names[i]), 0) << names[i] << " normal";
        // "M...." reads the right way when its heavy end comes first along the face.
        const TInk ink = InkAlong(tabs, 0, sides[i]);
        ASSERT_GT(ink.Count, 10) << names[i];
        EXPECT_LT(ink.Centroid, (ink.First + ink.Last) / 2.0) << names[i] << ": the text reads backwards";
    }
}

TEST_F(SkinnedTabs, TheTabUnderTheMouseIsHotAndAClickSelectsIt)
{
    TTabControl* tabs = AddTabs(tpTop, 10, 10, 300, 120, {L"One", L"Two", L"Three"});
    tabs->SetTabIndex(0);
    TTabControl* disabled = AddTabs(tpTop, 10, 140, 300, 100, {L"One", L"Two"});
    disabled->SetTabIndex(0);
    disabled->SetEnabled(false);
    SkinForm();
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(FaceMisses(disabled->Handle(), i, tpTop, kDisabled, "disabled"), 0) << "tab " << i;
    HWND window = tabs->Handle();
    const POINT two = frametest::Centre(ItemRect(window, 1));
    MouseTo(window, two.x, two.y);
    EXPECT_EQ(FaceMisses(window, 1, tpTop, kHot, "hot"), 0);
    EXPECT_EQ(FaceMisses(window, 0, tpTop, kSelected, "selected"), 0);
    MouseTo(window, two.x, two.y, MOUSEEVENTF_LEFTDOWN);
    MouseTo(window, two.x, two.y, MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(tabs->TabIndex(), 1);
    EXPECT_EQ(FaceMisses(window, 1, tpTop, kSelected, "clicked"), 0);
    EXPECT_EQ(FaceMisses(window, 0, tpTop, kNormal, "no longer selected"), 0);
    const POINT three = frametest::Centre(ItemRect(window, 2));
    MouseTo(window, three.x, three.y);
    EXPECT_EQ(FaceMisses(window, 2, tpTop, kHot, "hot again"), 0);
    ParkMouse();
    Flush();
    EXPECT_EQ(FaceMisses(window, 2, tpTop, kNormal, "the mouse gone"), 0);
}

TEST_F(SkinnedTabs, ACloseBoxAsksTheFormAndFreesThePageOnceTheClickIsOver)
{
    TPageControl* pages = AddPages(10, 10, 300, 120, {L"First", L"Second", L"Third"});
    pages->Tag = 7777;
    TPageControl* plain = AddPages(10, 140, 300, 120, {L"First", L"Second", L"Third"});
    SkinForm();
    TCloseAnswer answer(Form->Handle(), pages);
    HWND window = pages->Handle();
    // The box sits in the tab's top-right corner, 2 pixels in, 6 square.
    const auto boxCentre = [](HWND tabs, int index) {
        const RECT tab = ItemRect(tabs, index);
        return POINT{tab.right - 5, tab.top + 1 + 5};
    };
    const TColor ink = ColorToRGB(Skin->Tabs()->NormalColour2) & 0xFFFFFF;
    const RECT second = ItemRect(window, 1);
    EXPECT_EQ(PixelOf(ReadBack(window), second.right - 8, second.top + 1 + 2), ink) << "the box's corner";

    // Sent straight to the control: the page must outlive the click.
    POINT at = boxCentre(window, 1);
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    EXPECT_EQ(answer.Asked, 1);
    EXPECT_EQ(answer.TabWindow, window);
    EXPECT_EQ(answer.Tab, 1);
    EXPECT_EQ(pages->PageCount(), 3) << "freed inside the click's own message";
    Flush();
    EXPECT_EQ(Captions(*pages), (std::vector<std::wstring>{L"First", L"Third"}));
    EXPECT_EQ(pages->ActivePageIndex(), 0) << "the click on the box selects no tab";

    // A real click; the form says no.
    answer.Answer = 1;
    at = boxCentre(window, 1);
    MouseTo(window, at.x, at.y, MOUSEEVENTF_LEFTDOWN);
    MouseTo(window, at.x, at.y, MOUSEEVENTF_LEFTUP);
    Flush();
    EXPECT_EQ(answer.Asked, 2);
    EXPECT_EQ(answer.PagesWhenAsked, 2);
    EXPECT_EQ(Captions(*pages), (std::vector<std::wstring>{L"First", L"Third"}));

    answer.Answer = 0;
    at = boxCentre(window, 0);
    MouseTo(window, at.x, at.y, MOUSEEVENTF_LEFTDOWN);
    MouseTo(window, at.x, at.y, MOUSEEVENTF_LEFTUP);
    Flush();
    EXPECT_EQ(Captions(*pages), (std::vector<std::wstring>{L"Third"}));
    EXPECT_EQ(pages->ActivePageIndex(), 0);

    // Without Tag 7777 the same spot is just a tab.
    at = boxCentre(plain->Handle(), 1);
    MouseTo(plain->Handle(), at.x, at.y, MOUSEEVENTF_LEFTDOWN);
    MouseTo(plain->Handle(), at.x, at.y, MOUSEEVENTF_LEFTUP);
    Flush();
    EXPECT_EQ(answer.Asked, 3);
    EXPECT_EQ(plain->PageCount(), 3);
    EXPECT_EQ(plain->ActivePageIndex(), 1);
    ParkMouse();
}

TEST_F(SkinnedTabs, ButtonStyleTabsAreButtonFacesWithTheSelectedOnePressed)
{
    TTabControl* tabs = AddTabs(tpTop, 10, 10, 300, 100, {L"One", L"Two", L"Three"});
    tabs->SetStyle(tsButtons);
    tabs->SetTabIndex(1);
    SkinForm();
    HWND window = tabs->Handle();
    const auto shot = ReadBack(window);
    const TFaceModel model(*Skin, Skin->SkinColor(scButtonFace));
    const struct {
        int Index;
        int Frame;
    } cases[] = {{1, bfPressed}, {0, bfNormal}, {2, bfNormal}};
    for (const auto& c : cases) {
        // Each button stands one pixel lower than the control reports it.
        RECT face = ItemRect(window, c.Index);
        OffsetRect(&face, 0, 1);
        const int w = face.right - face.left;
        const int h = face.bottom - face.top;
        std::vector<POINT> points;
        for (int x = 0; x < w; x += 3)
            points.push_back({x, 0});
        for (int y = 0; y < h - 2; y += 2)
            for (int x : {0, w - 1})
                points.push_back({x, y});
        int misses = 0;
        for (const POINT& p : points) {
            const TColor seen = PixelOf(shot, face.left + p.x, face.top + p.y);
            if (!model.At(w, h, p.x, p.y, c.Frame).Admits(seen) && ++misses <= 3)
                ADD_FAILURE() << "tab " << c.Index << ": (" << p.x << ", " << p.y << ") is " << std::hex << seen;
        }
        EXPECT_EQ(misses, 0) << "tab " << c.Index;
    }
    const TColor face = ColorToRGB(Skin->SkinColor(scButtonFace)) & 0xFFFFFF;
    EXPECT_EQ(PixelOf(shot, shot.Width() / 2, shot.Height() - 10), face) << "below the buttons";
}

TEST_F(SkinnedTabs, BareTabWindowsOfDialogsAreSkinnedByClassAndStyle)
{
    Form->Show();
    Flush();
    HWND dialog = CreateWindowExW(WS_EX_CONTROLPARENT, L"#32770", L"", WS_CHILD | WS_VISIBLE, 10, 10, 420, 130,
                                  Form->Handle(), nullptr, nullptr, nullptr);
    const auto tabs = [&](DWORD style, int x) {
        HWND window = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | style, x, 10, 190, 100, dialog,
                                      nullptr, nullptr, nullptr);
        for (const wchar_t* text : {L"One", L"Two"}) {
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = const_cast<wchar_t*>(text);
            SendMessageW(window, TCM_INSERTITEMW, 9, AsLParam(&item));
        }
        SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
        return window;
    };
    HWND bottom = tabs(TCS_BOTTOM, 10);
    HWND buttons = tabs(TCS_BUTTONS, 210);
    auto dispatch = std::make_unique<TControlDispatch>(Skin.get());
    dispatch->AttachChildWindows(dialog);
    ASSERT_NE(dispatch->Controls().FindByWindow(bottom), nullptr);
    ASSERT_NE(dispatch->Controls().FindByWindow(buttons), nullptr);
    EXPECT_TRUE(dispatch->Controls().FindByWindow(bottom)->Is<TSkinTab>());
    EXPECT_TRUE(dispatch->Controls().FindByWindow(buttons)->Is<TSkinTabBtn>());
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Flush();
    EXPECT_EQ(FaceMisses(bottom, 0, tpBottom, kSelected, "bare bottom"), 0);
    EXPECT_EQ(FaceMisses(bottom, 1, tpBottom, kNormal, "bare bottom"), 0);
    dispatch.reset();
    EXPECT_EQ(SendMessageW(bottom, WM_SKINQUERY, 0, 0), 0) << "the list frees the objects of bare windows";
    DestroyWindow(dialog);
}

TEST_F(SkinnedTabs, TabSheetsShowTheSkinsFaceBehindTheirControls)
{
    TPageControl* pages = AddPages(10, 10, 300, 150, {L"Sheet"});
    auto* label = Place<TLabel>(pages->Pages(0), Form.get(), L"Label on a sheet", 10, 10, 150, 16);
    TTabControl* tabs = AddTabs(tpTop, 10, 170, 300, 100, {L"One"});
    auto* onTabs = Place<TLabel>(tabs, Form.get(), L"Label on a tab control", 20, 40, 150, 16);
    SkinForm();
    // The tab control's own paint never runs: its windowless controls are painted with the skin's.
    const auto tabsShot = ReadBack(tabs->Handle());
    const TColor labelInk = ColorToRGB(onTabs->Font()->Color()) & 0xFFFFFF;
    int tabsInk = 0;
    for (int x = 20; x < 170; ++x)
        for (int y = 40; y < 56; ++y)
            tabsInk += PixelOf(tabsShot, x, y) == labelInk;
    EXPECT_GT(tabsInk, 10) << "the label on the tab control";
    HWND sheet = pages->Pages(0)->Handle();
    const auto shot = ReadBack(sheet);
    const TColor face = ColorToRGB(Skin->SkinColor(scButtonFace)) & 0xFFFFFF;
    const RECT text = label->BoundsRect();
    int misses = 0;
    int ink = 0;
    for (int x = 0; x < shot.Width(); x += 5)
        for (int y = 0; y < shot.Height(); y += 5) {
            const POINT p{x, y};
            const TColor seen = PixelOf(shot, x, y);
            if (PtInRect(&text, p))
                ink += seen != face;
            else if (seen != face && ++misses <= 3)
                ADD_FAILURE() << "(" << x << ", " << y << ") is " << std::hex << seen;
        }
    EXPECT_EQ(misses, 0);
    EXPECT_GT(ink, 0) << "the label is painted on the sheet";
    EXPECT_EQ(PixelOf(shot, text.right - 3, text.top + 1), face) << "the label stands on the sheet's face colour";
}

TEST_F(SkinnedTabs, TheScrollArrowsOfAStripWithMoreTabsThanFitAreSkinned)
{
    TTabControl* tabs = AddTabs(tpTop, 10, 10, 170, 80, {L"One"});
    SkinForm();
    HWND window = tabs->Handle();
    // Tabs added under the skin: the arrows come later than the skin object.
    tabs->Tabs().Assign({L"First", L"Second", L"Third", L"Fourth", L"Fifth"});
    Flush();
    HWND arrows = FindWindowExW(window, nullptr, UPDOWN_CLASSW, nullptr);
    ASSERT_TRUE(arrows && IsWindowVisible(arrows));
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Flush();
    EXPECT_NE(Frame->Dispatch().Controls().FindByWindow(arrows), nullptr);
    // Each half's corners show its frame's corners (frame 1 left, 5 right),
    // in the tab control's own readback: the strip leaves them be.
    const auto shot = ReadBack(window);
    RECT at{};
    GetWindowRect(arrows, &at);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&at), 2);
    const TDataSkinBorder& face = *Skin->UpDownHorz();
    const int fw = face.Bitmap->Width() / 8;
    const int fh = face.Bitmap->Height();
    const int half = (at.right - at.left) / 2;
    int misses = 0;
    for (int i = 0; i < 2; ++i) {
        const int frame = i == 0 ? 1 : 5;
        const RECT part{at.left + i * half, at.top, i == 0 ? at.left + half : at.right, at.bottom};
        const POINT corners[2][2] = {{{part.left, part.top}, {(frame - 1) * fw, 0}},
                                     {{part.right - 1, part.bottom - 1}, {frame * fw - 1, fh - 1}}};
        for (const auto& corner : corners) {
            const TColor expected = PixelOf(*face.Bitmap, corner[1].x, corner[1].y);
            if (expected == frametest::kMagenta)
                continue;
            const TColor seen = PixelOf(shot, corner[0].x, corner[0].y);
            if (seen != expected && ++misses <= 3)
                ADD_FAILURE() << "(" << corner[0].x << ", " << corner[0].y << ") is " << std::hex << seen
                              << " not " << expected;
        }
    }
    EXPECT_EQ(misses, 0);
}

TEST_F(SkinnedTabs, KeysSwitchPagesExactlyAsOnAPlainTwin)
{
    const auto four = {L"One", L"Two", L"Three", L"Four"};
    TPageControl* skinned = AddPages(10, 10, 200, 100, four);
    TPageControl* plain = AddPages(10, 120, 200, 100, four);
    plain->Tag = Skin->DisableTag;
    SkinForm();
    ASSERT_NE(Frame->Dispatch().Controls().FindByControl(skinned), nullptr);
    ASSERT_EQ(Frame->Dispatch().Controls().FindByControl(plain), nullptr);
    const std::vector<std::function<void()>> keys{
        [] { Chord({VK_CONTROL}, VK_TAB); },
        [] { Chord({VK_CONTROL}, VK_TAB); },
        [] { Chord({VK_CONTROL, VK_SHIFT}, VK_TAB); },
        [] { Chord({}, VK_RIGHT); },
        [] { Chord({}, VK_RIGHT); },
        [] { Chord({}, VK_LEFT); },
        [] { Chord({VK_CONTROL, VK_SHIFT}, VK_TAB); },
        [] { Chord({VK_CONTROL, VK_SHIFT}, VK_TAB); },
    };
    const auto run = [&](TPageControl* pages) {
        pages->SetActivePageIndex(0);
        pages->SetFocus();
        Flush();
        std::vector<int> seen;
        for (const auto& key : keys) {
            key();
            seen.push_back(pages->ActivePageIndex());
        }
        return seen;
    };
    const std::vector<int> expected = run(plain);
    EXPECT_NE(std::count(expected.begin(), expected.end(), 0), static_cast<long>(expected.size()))
        << "the keys switch no page at all";
    EXPECT_EQ(run(skinned), expected);
}

// --- Soak ---

TEST_F(SkinnedTabs, NoGdiOrUserGrowthAfterPageSwitchesAndSkinCycles)
{
    const gditest::TCounter counter = gditest::ChooseCounter();
    std::printf("counting GDI objects with: %s\n", counter.Source);
    TPageControl* pages = AddPages(10, 10, 200, 100, {L"One", L"Two", L"Three", L"Four"});
    pages->Tag = 7777;
    TTabControl* side = AddTabs(tpLeft, 220, 10, 100, 100, {L"One", L"Two"});
    TTabControl* crowded = AddTabs(tpBottom, 10, 120, 120, 80, {L"First", L"Second", L"Third", L"Fourth"});
    SkinForm();
    const auto round = [&](int i) {
        pages->SetActivePageIndex(i % 4);
        side->SetTabIndex(i % 2);
        PostMessageW(crowded->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(10 + i % 60, 70));
        UpdateWindow(pages->Handle());
        UpdateWindow(side->Handle());
        Drain();
    };
    const auto cycle = [&] {
        SkinCycle();
        Drain();
    };
    round(1);
    cycle();
    round(2);
    const long before = counter.Count();
    const DWORD userBefore = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    const int windowsBefore = frametest::ThreadWindowCount();
    for (int i = 0; i < 1000; ++i)
        round(i);
    EXPECT_EQ(counter.Count(), before) << "after 1000 page switches";
    for (int i = 0; i < 100; ++i)
        cycle();
    round(2);
    EXPECT_NE(Frame->Dispatch().Controls().FindByControl(pages), nullptr);
    EXPECT_EQ(counter.Count(), before) << "after 100 skin cycles";
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), userBefore);
    EXPECT_EQ(frametest::ThreadWindowCount(), windowsBefore);
}

} // namespace
