// Skinned scroll bars under Wine: overlays over the native bars of list
// boxes, memos, scroll boxes and list views, read back from the screen and
// compared with the native bar (GetScrollBarInfo) and the skin's images
// after every step of a scripted sequence of real input, resizing, filling
// and emptying; presses handed back to the native bar scroll exactly as on
// an unskinned twin; hot parts; switching off; GDI and USER objects.
#include "ControlFixture.h"

#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "skin/controls/SkinScrollbar.h"
#include "skin/data/GdiCount.h"
#include "skin/data/SkinMessages.h"

#include <algorithm>
#include <atomic>
#include <functional>
#include <set>
#include <string>
#include <thread>
#include <vector>

using namespace controltest;

namespace {

// --- Input ---

struct TStep {
    POINT Screen;
    DWORD Flags;
    DWORD PauseMs;
    int Wheel = 0;
    // A drag's moves go to whoever holds the mouse when they are queued:
    // they wait until the press has been taken and the mouse captured,
    // however late the busy GUI thread gets to it.
    bool AfterCapture = false;
    // A press held until this holds (a repeating arrow reached its end),
    // however slowly a loaded machine repeats; then the pause.
    std::function<bool()> HeldUntil = nullptr;
};

// Waits until a window of the thread holds the mouse; from the sending
// thread, which has no messages to handle.
void WaitForCapture(DWORD thread)
{
    const DWORD start = GetTickCount();
    while (!testsupport::ThreadHasCapture(thread) && GetTickCount() - start < testsupport::kDeadlineMs)
        Sleep(5);
}

// Mouse input sent from another thread while this one keeps dispatching:
// a press handed to the system's scroll-bar tracking runs a loop of its own
// inside the dispatch, which only the button's release ends. The pauses
// are part of the gesture (a press held until the arrow repeats).
void Gesture(const std::vector<TStep>& steps)
{
    std::atomic<bool> done{false};
    const DWORD gui = GetCurrentThreadId();
    std::thread sender([&] {
        for (const TStep& step : steps) {
            if (step.AfterCapture)
                WaitForCapture(gui);
            INPUT input = testsupport::MouseInput(step.Screen, step.Flags, step.Wheel);
            SendInput(1, &input, sizeof(INPUT));
            const DWORD held = GetTickCount();
            while (step.HeldUntil && !step.HeldUntil() && GetTickCount() - held < 20000)
                Sleep(5);
            Sleep(step.PauseMs);
        }
        done = true;
    });
    EXPECT_TRUE(WaitUntil([&] { return done.load(); }, "the gesture's input to be sent", 20000));
    sender.join();
    Flush();
}

void Click(POINT at)
{
    Gesture({{at, 0, 10}, {at, MOUSEEVENTF_LEFTDOWN, 25}, {at, MOUSEEVENTF_LEFTUP, 10}});
}

void Drag(POINT from, POINT to)
{
    std::vector<TStep> steps{{from, 0, 10}, {from, MOUSEEVENTF_LEFTDOWN, 25}};
    for (int i = 1; i <= 4; ++i)
        steps.push_back({{from.x + (to.x - from.x) * i / 4, from.y + (to.y - from.y) * i / 4}, 0, 15, 0, true});
    steps.push_back({to, MOUSEEVENTF_LEFTUP, 15});
    Gesture(steps);
}

void Wheel(POINT at, int notches)
{
    Gesture({{at, 0, 5}, {at, MOUSEEVENTF_WHEEL, 20, notches * WHEEL_DELTA}});
}

// --- The native bar ---

struct TNative {
    bool Visible = false;
    RECT Rect{};
    int ThumbTop = 0;
    int ThumbBottom = 0;
    int Button = 0;
};

TNative NativeBar(HWND window, LONG object)
{
    SCROLLBARINFO info{};
    info.cbSize = sizeof(info);
    TNative bar;
    if (!GetScrollBarInfo(window, object, &info))
        return bar;
    bar.Visible = !(info.rgstate[0] & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN))
                  && !IsRectEmpty(&info.rcScrollBar) && IsWindowVisible(window);
    bar.Rect = info.rcScrollBar;
    bar.ThumbTop = info.xyThumbTop;
    bar.ThumbBottom = info.xyThumbBottom;
    // The arrows: Wine reports the thumb's length in dxyLineButton.
    const bool vertical = object == OBJID_VSCROLL;
    const int length = vertical ? bar.Rect.bottom - bar.Rect.top : bar.Rect.right - bar.Rect.left;
    bar.Button = std::min(GetSystemMetrics(vertical ? SM_CYVSCROLL : SM_CXHSCROLL), length / 2);
    return bar;
}

POINT Along(const TNative& bar, bool vertical, int along)
{
    const int middle = vertical ? (bar.Rect.left + bar.Rect.right) / 2 : (bar.Rect.top + bar.Rect.bottom) / 2;
    return vertical ? POINT{middle, bar.Rect.top + along} : POINT{bar.Rect.left + along, middle};
}

// --- What the skin's images can show ---

std::set<TColor> ColoursOf(const TDataSkinObject& object, int frameCount, int frame, int alongFrom, int alongTo,
                           bool vertical)
{
    std::set<TColor> colours;
    const TBitmap& image = *object.Bitmap;
    const int width = image.Width() / frameCount;
    for (int x = 0; x < width; ++x)
        for (int y = 0; y < image.Height(); ++y) {
            const int along = vertical ? y : x;
            if (along >= alongFrom && along < alongTo)
                colours.insert(PixelOf(image, (frame - 1) * width + x, y));
        }
    return colours;
}

// Checks the overlay over one native bar, read back from the screen: it
// covers the bar exactly, and along its middle line the track shows where
// the native bar has track and the thumb where it has its thumb (one pixel
// either way allowed).
class TBarCheck {
public:
    TBarCheck(const TSkinData& skin, bool vertical) : FVertical(vertical)
    {
        const TDataSkinObject& track = vertical ? *skin.VertScroll() : *skin.HorzScroll();
        const TDataSkinObject& thumb = vertical ? *skin.VertScrollThumb() : *skin.HorzScrollThumb();
        const int count = thumb.FrameCount > 0 ? thumb.FrameCount : 3;
        const int size = vertical ? thumb.Bitmap->Height() : thumb.Bitmap->Width() / count;
        FTrack = ColoursOf(track, 4, 1, 0, 10000, vertical);
        FTrack.insert(skin.SkinColor(scButtonFace) & 0xFFFFFF);
        // The thumb in every state (the cursor may rest on it) and its grip.
        for (int frame = 1; frame <= count; ++frame)
            for (TColor colour : ColoursOf(thumb, count, frame, 0, size, vertical))
                FThumb.insert(colour);
        for (int frame = 17; frame <= 22; ++frame)
            for (TColor colour : ColoursOf(*skin.Scrollbar(), 23, frame, 0, 10000, vertical))
                FThumb.insert(colour);
        if (FThumb.count(kMagentaKey)) {
            FThumb.erase(kMagentaKey);
            FThumb.insert(FTrack.begin(), FTrack.end());
        }
        FTrack.erase(kMagentaKey);
    }

    // Failures are reported with what; the count of misses is returned.
    int Check(HWND overlay, const TNative& native, const std::string& what) const
    {
        if (!native.Visible) {
            if (overlay && IsWindowVisible(overlay)) {
                ADD_FAILURE() << what << ": overlay shown over a hidden bar";
                return 1;
            }
            return 0;
        }
        RECT rect{};
        if (!overlay || !IsWindowVisible(overlay) || !GetWindowRect(overlay, &rect)) {
            ADD_FAILURE() << what << ": no overlay over a shown bar";
            return 1;
        }
        if (!EqualRect(&rect, &native.Rect)) {
            ADD_FAILURE() << what << ": overlay " << rect.left << "," << rect.top << "," << rect.right << ","
                          << rect.bottom << " over bar " << native.Rect.left << "," << native.Rect.top << ","
                          << native.Rect.right << "," << native.Rect.bottom;
            return 1;
        }
        return CheckFace(ReadBack(overlay), {0, 0}, native, what);
    }

    // The bar drawn in shot with its top-left at origin.
    int CheckFace(const TPixels& shot, POINT origin, const TNative& native, const std::string& what) const
    {
        if (native.ThumbBottom <= native.ThumbTop)
            return 0;
        const int length = FVertical ? native.Rect.bottom - native.Rect.top : native.Rect.right - native.Rect.left;
        const int middle = (FVertical ? native.Rect.right - native.Rect.left : native.Rect.bottom - native.Rect.top) / 2;
        int misses = 0;
        for (int along = native.Button + 1; along < length - native.Button - 1; ++along) {
            const bool inThumb = along >= native.ThumbTop + 1 && along <= native.ThumbBottom - 2;
            const bool inTrack = along <= native.ThumbTop - 2 || along >= native.ThumbBottom + 1;
            if (!inThumb && !inTrack)
                continue;
            const TColor seen = FVertical ? PixelOf(shot, origin.x + middle, origin.y + along)
                                          : PixelOf(shot, origin.x + along, origin.y + middle);
            const std::set<TColor>& expected = inThumb ? FThumb : FTrack;
            if (!expected.count(seen) && ++misses == 1)
                ADD_FAILURE() << what << ": at " << along << " of " << length << " " << std::hex << seen << std::dec
                              << " where the native bar has its " << (inThumb ? "thumb" : "track") << " (thumb "
                              << native.ThumbTop << ".." << native.ThumbBottom << ", arrows " << native.Button << ")";
        }
        return misses;
    }

    // The thumb and the track can be told apart by colour.
    bool Distinct() const
    {
        for (TColor colour : FThumb)
            if (!FTrack.count(colour))
                return true;
        return false;
    }

private:
    static constexpr TColor kMagentaKey = 0xFF00FF;
    bool FVertical;
    std::set<TColor> FTrack;
    std::set<TColor> FThumb;
};

// --- The controls ---

struct TScrolled {
    const char* What;
    std::function<TWinControl*(TForm*)> Make;
};

TListBox* MakeList(TForm* form)
{
    auto* list = Place<TListBox>(form, form, L"", 10, 10, 150, 120);
    for (int i = 0; i < 60; ++i)
        list->Items().Add(L"Item " + std::to_wstring(i));
    return list;
}

TMemo* MakeMemo(TForm* form)
{
    auto* memo = Place<TMemo>(form, form, L"", 10, 10, 180, 130);
    memo->SetScrollBars(ssBoth);
    memo->SetWordWrap(false);
    for (int i = 0; i < 60; ++i)
        memo->Lines().Add(L"Memo line " + std::to_wstring(i) + L" with some more text to scroll sideways");
    return memo;
}

TScrollBox* MakeBox(TForm* form)
{
    auto* box = Place<TScrollBox>(form, form, L"", 10, 10, 200, 140);
    auto* inner = Place<TPanel>(box, form, L"Inside", 0, 0, 600, 700);
    (void)inner;
    box->UpdateScrollRange();
    return box;
}

TListView* MakeListView(TForm* form)
{
    auto* view = Place<TListView>(form, form, L"", 10, 10, 220, 150);
    view->SetViewStyle(vsReport);
    for (const wchar_t* title : {L"Name", L"Length", L"Status"}) {
        TListColumn& column = view->Columns().Add();
        column.SetCaption(title);
        column.SetWidth(120);
    }
    for (int i = 0; i < 80; ++i) {
        view->Items().Add()->Caption = L"File " + std::to_wstring(i);
    }
    return view;
}

const TScrolled kScrolled[] = {
    {"list box", [](TForm* form) -> TWinControl* { return MakeList(form); }},
    {"memo", [](TForm* form) -> TWinControl* { return MakeMemo(form); }},
    {"scroll box", [](TForm* form) -> TWinControl* { return MakeBox(form); }},
    {"list view", [](TForm* form) -> TWinControl* { return MakeListView(form); }},
};

class SkinnedScrollbars : public SkinnedForm {
protected:
    TSkinScrollbar* SkinOf(TWinControl* control) const
    {
        return dynamic_cast<TSkinScrollbar*>(Frame->Dispatch().Controls().FindByWindow(control->Handle()));
    }

    int CheckBars(TWinControl* control, const std::string& what) const
    {
        const TSkinScrollbar* skin = SkinOf(control);
        if (!skin) {
            ADD_FAILURE() << what << ": not skinned";
            return 1;
        }
        const TBarCheck vertical(*Skin, true);
        const TBarCheck horizontal(*Skin, false);
        return vertical.Check(skin->Vertical()->Handle(), NativeBar(control->Handle(), OBJID_VSCROLL), what + " vertical")
               + horizontal.Check(skin->Horizontal()->Handle(), NativeBar(control->Handle(), OBJID_HSCROLL),
                                  what + " horizontal");
    }
};

TEST_F(SkinnedScrollbars, TheSkinTellsThumbFromTrack)
{
    EXPECT_TRUE(TBarCheck(*Skin, true).Distinct());
    EXPECT_TRUE(TBarCheck(*Skin, false).Distinct());
}

// Every kind of step that can move, grow, shrink, show or hide a bar, on
// each scrolled control of the gallery's kinds, and the overlays checked
// against the native bars after each.
TEST_F(SkinnedScrollbars, OverlaysFollowTheNativeBarsThroughEveryKindOfChange)
{
    std::vector<TWinControl*> controls;
    for (const TScrolled& kind : kScrolled)
        controls.push_back(kind.Make(Form.get()));
    // Below the fixture's edit, which must cover none of them.
    Form->SetBounds(40, 40, 560, 460);
    for (size_t i = 0; i < controls.size(); ++i)
        controls[i]->SetBounds(10 + static_cast<int>(i % 2) * 270, 40 + static_cast<int>(i / 2) * 190, 250, 170);
    SkinForm();
    const int rounds = 250;
    int misses = 0;
    for (int round = 0; round < rounds && misses < 8; ++round) {
        for (size_t i = 0; i < controls.size() && misses < 8; ++i) {
            TWinControl* control = controls[i];
            HWND window = control->Handle();
            const TNative vertical = NativeBar(window, OBJID_VSCROLL);
            const TNative horizontal = NativeBar(window, OBJID_HSCROLL);
            const std::string what = std::string(kScrolled[i].What) + " round "
                                     + std::to_string(round);
            switch (round % 10) {
            case 0:
                control->SetFocus();
                Flush();
                Wheel(Along(vertical.Visible ? vertical : horizontal, vertical.Visible, 30), round % 20 ? -2 : 3);
                break;
            case 1:
                control->SetFocus();
                Key(round % 20 ? VK_NEXT : VK_HOME);
                break;
            case 2:
                if (vertical.Visible && vertical.ThumbBottom > vertical.ThumbTop) {
                    const POINT thumb = Along(vertical, true, (vertical.ThumbTop + vertical.ThumbBottom) / 2);
                    Drag(thumb, {thumb.x, thumb.y + (round % 20 ? 25 : -40)});
                }
                break;
            case 3:
                if (horizontal.Visible && horizontal.ThumbBottom > horizontal.ThumbTop) {
                    const POINT thumb = Along(horizontal, false, (horizontal.ThumbTop + horizontal.ThumbBottom) / 2);
                    Drag(thumb, {thumb.x + (round % 20 ? 30 : -50), thumb.y});
                }
                break;
            case 4:
                control->SetBounds(control->Left(), control->Top(), 250 - (round % 7) * 15, 170 - (round % 5) * 20);
                Flush();
                break;
            case 5:
                if (vertical.Visible)
                    Click(Along(vertical, true, vertical.Rect.bottom - vertical.Rect.top - 3));
                break;
            case 6:
                if (auto* list = dynamic_cast<TListBox*>(control)) {
                    for (int k = 0; k < 5; ++k)
                        list->Items().Add(L"Added " + std::to_wstring(round));
                } else if (auto* memo = dynamic_cast<TMemo*>(control)) {
                    memo->Lines().Add(L"Added line " + std::to_wstring(round));
                } else if (auto* view = dynamic_cast<TListView*>(control)) {
                    view->Items().Add()->Caption = L"Added " + std::to_wstring(round);
                }
                Flush();
                break;
            case 7:
                // Emptied until the bar goes, then filled again.
                if (auto* list = dynamic_cast<TListBox*>(control)) {
                    list->Items().Clear();
                    Flush();
                    misses += CheckBars(control, what + " emptied");
                    for (int k = 0; k < 25; ++k)
                        list->Items().Add(L"Again " + std::to_wstring(k));
                } else if (auto* view = dynamic_cast<TListView*>(control)) {
                    view->Items().Clear();
                    for (int k = 0; k < 3; ++k)
                        view->Items().Add()->Caption = L"Kept " + std::to_wstring(k);
                    Flush();
                    misses += CheckBars(control, what + " emptied");
                    for (int k = 0; k < 30; ++k)
                        view->Items().Add()->Caption = L"Again " + std::to_wstring(k);
                }
                Flush();
                break;
            case 8:
                // A bar hidden and shown again by the program.
                ShowScrollBar(window, SB_VERT, FALSE);
                Flush();
                misses += CheckBars(control, what + " bar hidden");
                ShowScrollBar(window, SB_VERT, TRUE);
                SendMessageW(window, WM_SIZE, 0, 0);
                Flush();
                break;
            default:
                control->SetFocus();
                Key(VK_DOWN);
                Key(VK_RIGHT);
                break;
            }
            misses += CheckBars(control, what);
        }
    }
    EXPECT_EQ(misses, 0);
}

// The same input on the skinned control (through the overlays) and on a
// plain twin in an unskinned form (on the native bars) scrolls both alike.
TEST_F(SkinnedScrollbars, InputThroughTheOverlaysScrollsAsOnThePlainBars)
{
    TForm twinForm(nullptr);
    twinForm.SetBounds(560, 40, 480, 300);
    std::vector<TWinControl*> skinned;
    std::vector<TWinControl*> plain;
    for (const TScrolled& kind : kScrolled) {
        skinned.push_back(kind.Make(Form.get()));
        plain.push_back(kind.Make(&twinForm));
    }
    for (TWinControl* control : skinned)
        control->SetVisible(false);
    for (TWinControl* control : plain)
        control->SetVisible(false);
    SkinForm();
    twinForm.Show();
    Flush();

    using TAction = std::function<void(TWinControl*)>;
    const auto vertical = [](TWinControl* control) { return NativeBar(control->Handle(), OBJID_VSCROLL); };
    const auto horizontal = [](TWinControl* control) { return NativeBar(control->Handle(), OBJID_HSCROLL); };
    const auto focus = [](TWinControl* control) {
        frametest::BringToFront(GetAncestor(control->Handle(), GA_ROOT));
        control->SetFocus();
        Flush();
    };
    const std::pair<const char*, TAction> steps[] = {
        {"four clicks on the down arrow", [&](TWinControl* c) {
             const TNative bar = vertical(c);
             for (int i = 0; i < 4; ++i)
                 Click(Along(bar, true, bar.Rect.bottom - bar.Rect.top - 3));
         }},
        {"the up arrow held until it repeats to the top", [&](TWinControl* c) {
             const TNative bar = vertical(c);
             const POINT at = Along(bar, true, 3);
             HWND window = c->Handle();
             const auto atTop = [window] {
                 SCROLLINFO info{};
                 info.cbSize = sizeof(info);
                 info.fMask = SIF_POS | SIF_RANGE;
                 return GetScrollInfo(window, SB_VERT, &info) && info.nPos == info.nMin;
             };
             Gesture({{at, 0, 10}, {at, MOUSEEVENTF_LEFTDOWN, 100, 0, false, atTop}, {at, MOUSEEVENTF_LEFTUP, 10}});
         }},
        {"a click on the page below the thumb", [&](TWinControl* c) {
             const TNative bar = vertical(c);
             Click(Along(bar, true, (bar.ThumbBottom + bar.Rect.bottom - bar.Rect.top - bar.Button) / 2));
         }},
        {"the thumb dragged down", [&](TWinControl* c) {
             const TNative bar = vertical(c);
             const POINT thumb = Along(bar, true, (bar.ThumbTop + bar.ThumbBottom) / 2);
             Drag(thumb, {thumb.x, thumb.y + 30});
         }},
        {"the horizontal bar's right arrow and page", [&](TWinControl* c) {
             const TNative bar = horizontal(c);
             if (!bar.Visible)
                 return;
             Click(Along(bar, false, bar.Rect.right - bar.Rect.left - 3));
             Click(Along(bar, false, (bar.ThumbBottom + bar.Rect.right - bar.Rect.left - bar.Button) / 2));
         }},
        {"the wheel", [&](TWinControl* c) {
             focus(c);
             RECT rect{};
             GetWindowRect(c->Handle(), &rect);
             Wheel({(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}, -2);
         }},
        {"page down and arrow keys", [&](TWinControl* c) {
             focus(c);
             Key(VK_NEXT);
             Key(VK_DOWN);
             Key(VK_UP);
         }},
    };
    for (size_t i = 0; i < skinned.size(); ++i) {
        skinned[i]->SetVisible(true);
        plain[i]->SetVisible(true);
        Flush();
        int moves = 0;
        int last = 0;
        for (const auto& [what, action] : steps) {
            action(skinned[i]);
            action(plain[i]);
            for (int bar : {SB_VERT, SB_HORZ})
                EXPECT_EQ(GetScrollPos(skinned[i]->Handle(), bar), GetScrollPos(plain[i]->Handle(), bar))
                    << kScrolled[i].What << ", " << what << (bar == SB_VERT ? ", vertical" : ", horizontal");
            const int position = GetScrollPos(skinned[i]->Handle(), SB_VERT);
            moves += position != last ? 1 : 0;
            last = position;
        }
        EXPECT_GE(moves, 4) << kScrolled[i].What << ": the steps hardly scrolled it";
        skinned[i]->SetVisible(false);
        plain[i]->SetVisible(false);
    }
}

// A combo box's drop-down list shows the skin's bar, not the system's, and
// its thumb dragged scrolls the list and is drawn where the list's bar has it.
TEST_F(SkinnedScrollbars, DropDownListsDrawTheSkinsBarAndTrackTheirThumb)
{
    auto* combo = Place<TComboBox>(Form.get(), Form.get(), L"", 10, 40, 150, 200);
    combo->SetStyle(csDropDownList);
    for (int i = 0; i < 40; ++i)
        combo->Items().Add(L"Choice " + std::to_wstring(i));
    SkinForm();
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(GetComboBoxInfo(combo->Handle(), &info));
    HWND list = info.hwndList;
    ASSERT_NE(Frame->Dispatch().Controls().FindByWindow(list), nullptr) << "the list has no skin object";
    const TBarCheck check(*Skin, true);
    const auto checkList = [&](const std::string& what) {
        const TNative bar = NativeBar(list, OBJID_VSCROLL);
        EXPECT_TRUE(bar.Visible) << what;
        RECT window{};
        GetWindowRect(list, &window);
        return check.CheckFace(ReadBack(list), {bar.Rect.left - window.left, bar.Rect.top - window.top}, bar, what);
    };

    SendMessageW(combo->Handle(), CB_SHOWDROPDOWN, TRUE, 0);
    Flush();
    ASSERT_TRUE(IsWindowVisible(list));
    EXPECT_EQ(checkList("dropped down"), 0);

    const TNative before = NativeBar(list, OBJID_VSCROLL);
    const POINT thumb = Along(before, true, (before.ThumbTop + before.ThumbBottom) / 2);
    Drag(thumb, {thumb.x, thumb.y + 40});
    EXPECT_GT(SendMessageW(list, LB_GETTOPINDEX, 0, 0), 0) << "the dragged thumb did not scroll the list";
    EXPECT_EQ(checkList("after the drag"), 0);

    Key(VK_END);
    Flush();
    if (IsWindowVisible(list)) {
        EXPECT_EQ(checkList("after End"), 0);
    }
    SendMessageW(combo->Handle(), CB_SHOWDROPDOWN, FALSE, 0);
    Flush();
}

// A simple combo box shows its list inside itself: the list's bar is
// overlaid as any list's, and follows the list when it scrolls.
TEST_F(SkinnedScrollbars, SimpleCombosListsWearTheSkinsBar)
{
    auto* combo = Place<TComboBox>(Form.get(), Form.get(), L"", 10, 40, 150, 160);
    combo->SetStyle(csSimple);
    for (int i = 0; i < 40; ++i)
        combo->Items().Add(L"Choice " + std::to_wstring(i));
    SkinForm();
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(GetComboBoxInfo(combo->Handle(), &info));
    const auto* skin = dynamic_cast<const TSkinScrollbar*>(Frame->Dispatch().Controls().FindByWindow(info.hwndList));
    ASSERT_NE(skin, nullptr) << "the list has no skin object";
    ASSERT_NE(skin->Vertical(), nullptr);
    EXPECT_FALSE(skin->Bordered()) << "the combo box's edge is its own";
    const TBarCheck check(*Skin, true);
    EXPECT_EQ(check.Check(skin->Vertical()->Handle(), NativeBar(info.hwndList, OBJID_VSCROLL), "at the top"), 0);
    SendMessageW(info.hwndList, LB_SETTOPINDEX, 20, 0);
    Flush();
    EXPECT_EQ(check.Check(skin->Vertical()->Handle(), NativeBar(info.hwndList, OBJID_VSCROLL), "scrolled"), 0);
}

// The framework's scroll-bar control wears one overlay over the whole
// control: its thumb where the geometry of the control's range puts it (the
// minimum thumb for a tiny page, the start for an empty range), and a press
// on its arrow scrolls the control.
TEST_F(SkinnedScrollbars, ScrollBarControlsShowTheirThumbAndTakePresses)
{
    auto* bar = Place<TScrollBar>(Form.get(), Form.get(), L"", 20, 40, 17, 200);
    bar->SetKind(sbVertical);
    bar->SetBounds(20, 40, 17, 200);
    bar->SetParams(500, 0, 1000);
    bar->SetPageSize(2);
    auto* empty = Place<TScrollBar>(Form.get(), Form.get(), L"", 60, 40, 17, 200);
    empty->SetKind(sbVertical);
    empty->SetBounds(60, 40, 17, 200);
    empty->SetParams(5, 5, 5);
    SkinForm();
    const TBarCheck check(*Skin, true);
    const int arrow = GetSystemMetrics(SM_CXHSCROLL);
    for (TScrollBar* control : {bar, empty}) {
        auto* skin = dynamic_cast<TSkinScrollBarControl*>(Frame->Dispatch().Controls().FindByWindow(control->Handle()));
        ASSERT_NE(skin, nullptr);
        HWND overlay = skin->Overlay()->Handle();
        RECT rect{};
        GetWindowRect(control->Handle(), &rect);
        TNative expected;
        expected.Visible = true;
        expected.Rect = rect;
        expected.Button = arrow;
        const TThumbExtent thumb = ControlThumb(rect.bottom - rect.top, arrow,
                                                {control->Min(), control->Max(), control->PageSize(),
                                                 control->Position()});
        expected.ThumbTop = thumb.Start;
        expected.ThumbBottom = thumb.End;
        EXPECT_EQ(check.Check(overlay, expected, control == bar ? "tiny page" : "empty range"), 0);
    }
    EXPECT_EQ(ControlThumb(200, arrow, {0, 1000, 2, 500}).End - ControlThumb(200, arrow, {0, 1000, 2, 500}).Start,
              kMinThumb);

    RECT rect{};
    GetWindowRect(bar->Handle(), &rect);
    const int before = bar->Position();
    Click({(rect.left + rect.right) / 2, rect.bottom - arrow / 2});
    EXPECT_GT(bar->Position(), before) << "the press on the down arrow did not reach the control";
}

int ChildWindowCount(HWND window)
{
    int count = 0;
    EnumChildWindows(
        window,
        [](HWND, LPARAM counter) -> BOOL {
            ++*reinterpret_cast<int*>(counter);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

// What the centre of an arrow shows: the middle of its glyph frame of the
// Scrollbar strip, see-through pixels showing the face colour.
std::set<TColor> ArrowCentre(const TSkinData& skin, int frame)
{
    const TBitmap& strip = *skin.Scrollbar()->Bitmap;
    const int width = strip.Width() / 23;
    std::set<TColor> colours;
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy) {
            TColor colour = PixelOf(strip, (frame - 1) * width + width / 2 + dx, strip.Height() / 2 + dy);
            colours.insert(colour == 0xFF00FF ? skin.SkinColor(scButtonFace) & 0xFFFFFF : colour);
        }
    return colours;
}

// The down arrow's frame, read at its centre: 13 at rest, 16 (mouse over)
// under the mouse and after a scroll notification naming it.
TEST_F(SkinnedScrollbars, HotPartsShowByMouseAndByScrollNotification)
{
    auto* list = MakeList(Form.get());
    list->SetBounds(10, 40, 150, 160);
    SkinForm();
    const std::set<TColor> normal = ArrowCentre(*Skin, 13);
    const std::set<TColor> hot = ArrowCentre(*Skin, 16);
    ASSERT_NE(normal, hot) << "the skin draws the down arrow alike at rest and hot";
    const TSkinScrollbar* skin = SkinOf(list);
    ASSERT_NE(skin, nullptr);
    HWND overlay = skin->Vertical()->Handle();
    const auto downArrow = [&] {
        const TPixels shot = ReadBack(overlay);
        const int arrow = std::min(GetSystemMetrics(SM_CYVSCROLL), shot.Height() / 2);
        return PixelOf(shot, shot.Width() / 2, shot.Height() - arrow / 2 - 1);
    };
    EXPECT_TRUE(normal.count(downArrow())) << std::hex << downArrow();

    const TNative bar = NativeBar(list->Handle(), OBJID_VSCROLL);
    const POINT arrow = Along(bar, true, bar.Rect.bottom - bar.Rect.top - bar.Button / 2 - 1);
    Gesture({{arrow, 0, 30}});
    EXPECT_TRUE(hot.count(downArrow())) << "under the mouse: " << std::hex << downArrow();
    const POINT thumb = Along(bar, true, (bar.ThumbTop + bar.ThumbBottom) / 2);
    Gesture({{thumb, 0, 30}});
    EXPECT_TRUE(normal.count(downArrow())) << "the mouse on the thumb: " << std::hex << downArrow();
    ParkMouse();

    SendMessageW(list->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
    Flush();
    EXPECT_TRUE(hot.count(downArrow())) << "after a line-down notification: " << std::hex << downArrow();
    SendMessageW(list->Handle(), WM_VSCROLL, SB_ENDSCROLL, 0);
    Flush();
    EXPECT_TRUE(normal.count(downArrow())) << "after the end of scrolling: " << std::hex << downArrow();
}

// Switched off, the overlays go and the native bars show; on again, they
// cover the bars as before; unskinned, the control is plain and its overlays gone.
TEST_F(SkinnedScrollbars, SwitchingOffAndUnskinningGiveTheNativeBarsBack)
{
    auto* list = MakeList(Form.get());
    list->SetBounds(10, 40, 150, 160);
    SkinForm();
    const TSkinScrollbar* skin = SkinOf(list);
    ASSERT_NE(skin, nullptr);
    HWND overlay = skin->Vertical()->Handle();
    ASSERT_TRUE(IsWindowVisible(overlay));
    SendMessageW(list->Handle(), WM_SKINSWITCH, 0, 0);
    Flush();
    EXPECT_FALSE(IsWindowVisible(overlay));
    SendMessageW(list->Handle(), WM_SKINSWITCH, 1, 0);
    Flush();
    EXPECT_EQ(CheckBars(list, "switched on again"), 0);
    const int windows = ChildWindowCount(Form->Handle());
    Frame->Unskin();
    Flush();
    EXPECT_FALSE(IsWindow(overlay));
    EXPECT_EQ(ChildWindowCount(Form->Handle()), windows - 2) << "both overlays destroyed";
    EXPECT_EQ(SendMessageW(list->Handle(), WM_SKINQUERY, 0, 0), 0);
    EXPECT_EQ(GetWindowLongPtrW(list->Handle(), GWL_STYLE) & WS_CLIPSIBLINGS, WS_CLIPSIBLINGS)
        << "the framework's own clip-siblings style stays";
}

// WM_SKINREBUILDSCROLL to the form makes the control's scroll-bar object
// again: a list view keeps getting a list view's object, and the old
// overlays go.
TEST_F(SkinnedScrollbars, RebuildScrollReplacesTheObject)
{
    auto* view = MakeListView(Form.get());
    view->SetBounds(10, 40, 220, 150);
    SkinForm();
    const TSkinScrollbar* old = SkinOf(view);
    ASSERT_NE(old, nullptr);
    HWND oldOverlay = old->Vertical()->Handle();
    const int windows = ChildWindowCount(Form->Handle());
    SendMessageW(Form->Handle(), WM_SKINREBUILDSCROLL, reinterpret_cast<WPARAM>(view->Handle()), 0);
    Flush();
    const TSkinScrollbar* now = SkinOf(view);
    ASSERT_NE(now, nullptr);
    EXPECT_NE(dynamic_cast<const TSkinListView*>(now), nullptr);
    EXPECT_FALSE(IsWindow(oldOverlay));
    EXPECT_EQ(ChildWindowCount(Form->Handle()), windows);
    EXPECT_EQ(CheckBars(view, "rebuilt"), 0);
}

// A control destroyed while skinned takes its overlays with it.
TEST_F(SkinnedScrollbars, AControlDestroyedTakesItsOverlaysAlong)
{
    auto* list = MakeList(Form.get());
    SkinForm();
    const TSkinScrollbar* skin = SkinOf(list);
    ASSERT_NE(skin, nullptr);
    HWND vertical = skin->Vertical()->Handle();
    HWND horizontal = skin->Horizontal()->Handle();
    delete list;
    Flush();
    EXPECT_FALSE(IsWindow(vertical));
    EXPECT_FALSE(IsWindow(horizontal));
    Frame->Dispatch().Controls().Purge();
}

TEST_F(SkinnedScrollbars, NoGdiOrUserGrowthAfterScrollingAndSkinCycles)
{
    const gditest::TCounter counter = gditest::ChooseCounter();
    auto* list = MakeList(Form.get());
    auto* memo = MakeMemo(Form.get());
    memo->SetBounds(200, 40, 200, 150);
    list->SetBounds(10, 40, 150, 150);
    SkinForm();
    const auto drain = [] { Flush(); };
    const auto scroll = [&](int i) {
        for (TWinControl* control : {static_cast<TWinControl*>(list), static_cast<TWinControl*>(memo)}) {
            SendMessageW(control->Handle(), WM_VSCROLL, i % 40 < 20 ? SB_LINEDOWN : SB_LINEUP, 0);
            SendMessageW(control->Handle(), WM_HSCROLL, i % 40 < 20 ? SB_LINEDOWN : SB_LINEUP, 0);
        }
        drain();
    };
    const auto cycle = [&] {
        SkinCycle();
        drain();
    };
    scroll(0);
    cycle();
    scroll(1);
    const long before = counter.Count();
    const int windows = ChildWindowCount(Form->Handle());
    for (int i = 0; i < 1000; ++i)
        scroll(i);
    EXPECT_EQ(counter.Count(), before) << "after 1000 scroll steps";
    for (int i = 0; i < 100; ++i)
        cycle();
    scroll(0);
    EXPECT_EQ(counter.Count(), before) << "after 100 skin cycles";
    EXPECT_EQ(ChildWindowCount(Form->Handle()), windows) << "overlay windows left behind";
    EXPECT_NE(SkinOf(list), nullptr);
}

} // namespace
