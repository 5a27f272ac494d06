// Skinned progress bars, up-downs, track bars, combo boxes and edits under Wine, read back from
// their windows against the skin's images at points the test works out:
// the progress frames for empty, part-filled, full and zero-range bars,
// lying and standing; the combo face per state with the hover limited to
// the drop button, and mirrored for a left-hand layout; the edit's frame
// with its client untouched; typing into skinned and plain twins alike.
#include "ControlFixture.h"

#include "framework/ComCtrls.h"
#include "skin/controls/SkinDateTime.h"
#include "skin/controls/SkinEdits.h"
#include "skin/data/GdiCount.h"
#include "skin/data/WinSkinData.h"

#include <commctrl.h>

using namespace controltest;

namespace {

const std::wstring kLightSkin = L"" VIDKILN_LIGHT_SKIN_FILE;
// A colour no skin image has: marks see-through pixels of a frame.
constexpr TColor kUncovered = 0x0A0B0C;

TEST(ProgressFill, EmptyPartFullAndZeroRanges)
{
    struct TCase {
        int Position, Lower, Upper, Filled;
    };
    const TCase cases[] = {{0, 0, 100, 0}, {50, 0, 100, 100}, {100, 0, 100, 200}, {30, 0, 0, 0},
                           {150, 0, 100, 200}, {60, 20, 100, 100}, {-5, -10, 10, 0}};
    for (const TCase& c : cases)
        EXPECT_EQ(ProgressFill(200, c.Position, c.Lower, c.Upper), c.Filled)
            << c.Position << " in " << c.Lower << ".." << c.Upper;
}

class SkinnedEdits : public SkinnedForm {
protected:
    // Misses of a lying bar's points: frame 2 up to filled, frame 1 after.
    int ProgressMisses(HWND bar, int filled, bool standing, const char* what) const
    {
        const auto shot = ReadBack(bar);
        const int w = standing ? shot.Height() : shot.Width();
        const int h = standing ? shot.Width() : shot.Height();
        const TDataSkinBorder& image = *Skin->Progress();
        const TFaceModel model(image, 2, Skin->SkinColor(scButtonFace), true);
        int misses = 0;
        // Where frame 2 is see-through, frame 1 under it shows.
        const TFaceModel over(image, 2, kUncovered, true);
        for (int x = 0; x < w; x += 7)
            for (int y : {0, 1, h / 2, h - 2, h - 1}) {
                TExpected expected = model.At(w, h, x, y, 1);
                if (x < filled && !over.At(filled, h, x, y, 2).Admits(kUncovered))
                    expected = model.At(filled, h, x, y, 2);
                else if (x < filled)
                    expected.Colours.merge(model.At(filled, h, x, y, 2).Colours);
                // A standing bar is the lying one turned left: lying x runs up from the bottom.
                const TColor seen = standing ? PixelOf(shot, y, w - 1 - x) : PixelOf(shot, x, y);
                if (!expected.Admits(seen) && ++misses <= 3)
                    ADD_FAILURE() << what << ": lying (" << x << ", " << y << ") is " << std::hex << seen;
            }
        return misses;
    }
};

TEST_F(SkinnedEdits, ProgressBarsShowTheirFillLyingAndStanding)
{
    ASSERT_NE(Skin->Progress()->Style, 1) << "the test reads the framed bar";
    auto* lying = Place<TProgressBar>(Form.get(), Form.get(), L"", 10, 10, 200, 18);
    auto* standing = Place<TProgressBar>(Form.get(), Form.get(), L"", 230, 10, 18, 150);
    standing->SetOrientation(pbVertical);
    SkinForm();
    struct TCase {
        const char* What;
        int Lower, Upper, Position;
    };
    const TCase cases[] = {{"empty", 0, 100, 0}, {"a quarter", 0, 100, 25}, {"full", 0, 100, 100},
                           {"upper limit 0", 0, 0, 0}};
    for (const TCase& c : cases) {
        for (TProgressBar* bar : {lying, standing}) {
            SendMessageW(bar->Handle(), PBM_SETRANGE32, static_cast<WPARAM>(c.Lower), c.Upper);
            SendMessageW(bar->Handle(), PBM_SETPOS, static_cast<WPARAM>(c.Position), 0);
            UpdateWindow(bar->Handle());
        }
        Flush();
        const int lyingFill = ProgressFill(200, c.Position, c.Lower, c.Upper);
        const int standingFill = ProgressFill(150, c.Position, c.Lower, c.Upper);
        EXPECT_EQ(ProgressMisses(lying->Handle(), lyingFill, false, c.What), 0) << c.What;
        EXPECT_EQ(ProgressMisses(standing->Handle(), standingFill, true, c.What), 0) << c.What << ", standing";
    }
}

TEST_F(SkinnedEdits, ProgressUpdatesNeverShowTheSystemBarAndLeaveNoObjectsBehind)
{
    auto* bar = Place<TProgressBar>(Form.get(), Form.get(), L"", 10, 10, 200, 18);
    SkinForm();
    const gditest::TCounter counter = gditest::ChooseCounter();
    // Every painted step shows the skin's bar, never a system-drawn one.
    int badSteps = 0;
    for (int step = 1; step <= 1000; ++step) {
        const int position = step % 101;
        bar->SetPosition(position);
        UpdateWindow(bar->Handle());
        // A fill narrower than the image's two caps squeezes them: no fixed
        // points to compare there.
        if (position == 1 || position == 2)
            continue;
        if (ProgressMisses(bar->Handle(), ProgressFill(200, position, 0, 100), false, "update") != 0 && ++badSteps > 3)
            break;
    }
    EXPECT_EQ(badSteps, 0);
    const long before = counter.Count();
    for (int step = 0; step < 10000; ++step) {
        bar->SetPosition(step % 101);
        UpdateWindow(bar->Handle());
    }
    EXPECT_EQ(counter.Count(), before) << "after 10 000 updates, counted by " << counter.Source;
    const auto cycle = [&] {
        Frame->Unskin();
        Frame = std::make_unique<TWinSkinForm>(Form->Handle(), L"TForm", Skin.get());
        Frame->AttachToForm(Form.get());
        SendMessageW(Form->Handle(), WM_SKININIT, 0, 1000);
        Flush();
    };
    // One cycle first: the frame keeps what it painted in either activity.
    cycle();
    const long beforeCycles = counter.Count();
    for (int i = 0; i < 100; ++i)
        cycle();
    EXPECT_EQ(counter.Count(), beforeCycles) << "after 100 skin cycles";
}

TEST_F(SkinnedEdits, UpDownHalvesShowTheirArrowsFacesAndThePressedOne)
{
    auto* vertical = Place<TUpDown>(Form.get(), Form.get(), L"", 10, 10, 17, 40);
    auto* horizontal = Place<TUpDown>(Form.get(), Form.get(), L"", 40, 10, 40, 17);
    horizontal->SetOrientation(udHorizontal);
    SkinForm();
    // The corners of each half show the corners of its frame of the face
    // (stretched: corners map to corners).
    const auto misses = [&](TUpDown* updown, const TDataSkinBorder& face, int firstFrame, int secondFrame,
                            const char* what) {
        const auto shot = ReadBack(updown->Handle());
        const int w = shot.Width();
        const int h = shot.Height();
        const bool across = updown == horizontal;
        const RECT halves[2] = {across ? RECT{0, 0, w / 2, h} : RECT{0, 0, w, h / 2},
                                across ? RECT{w / 2, 0, w, h} : RECT{0, h / 2, w, h}};
        const int fw = face.Bitmap->Width() / 8;
        const int fh = face.Bitmap->Height();
        int count = 0;
        for (int i = 0; i < 2; ++i) {
            const int frame = i == 0 ? firstFrame : secondFrame;
            const POINT corners[2][2] = {{{halves[i].left, halves[i].top}, {(frame - 1) * fw, 0}},
                                         {{halves[i].right - 1, halves[i].bottom - 1}, {frame * fw - 1, fh - 1}}};
            for (const auto& corner : corners) {
                const TColor expected = PixelOf(*face.Bitmap, corner[1].x, corner[1].y);
                if (expected == frametest::kMagenta)
                    continue;
                const TColor seen = PixelOf(shot, corner[0].x, corner[0].y);
                if (seen != expected && ++count <= 3)
                    ADD_FAILURE() << what << ": (" << corner[0].x << ", " << corner[0].y << ") is " << std::hex
                                  << seen << " not " << expected;
            }
        }
        return count;
    };
    ASSERT_TRUE(Skin->UpDownVert() && !Skin->UpDownVert()->Bitmap->Empty());
    ASSERT_TRUE(Skin->UpDownHorz() && !Skin->UpDownHorz()->Bitmap->Empty());
    EXPECT_EQ(misses(vertical, *Skin->UpDownVert(), 1, 5, "vertical"), 0);
    EXPECT_EQ(misses(horizontal, *Skin->UpDownHorz(), 1, 5, "horizontal"), 0);
    MouseTo(vertical->Handle(), 8, 5, MOUSEEVENTF_LEFTDOWN);
    EXPECT_EQ(misses(vertical, *Skin->UpDownVert(), 2, 5, "upper half pressed"), 0);
    MouseTo(vertical->Handle(), 8, 5, MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(misses(vertical, *Skin->UpDownVert(), 1, 5, "released"), 0);
    vertical->SetEnabled(false);
    Flush();
    EXPECT_EQ(misses(vertical, *Skin->UpDownVert(), 3, 7, "disabled"), 0);
}

TEST_F(SkinnedEdits, TrackBarsDrawTheSkinsChannelAndThumb)
{
    auto* lying = Place<TTrackBar>(Form.get(), Form.get(), L"", 10, 10, 200, 40);
    auto* standing = Place<TTrackBar>(Form.get(), Form.get(), L"", 230, 10, 40, 200);
    standing->SetOrientation(trVertical);
    for (TTrackBar* bar : {lying, standing}) {
        bar->SetMax(10);
        bar->SetPosition(3);
    }
    SkinForm();
    ASSERT_TRUE(Skin->TrackbarThumbHorz() && !Skin->TrackbarThumbHorz()->Bitmap->Empty());
    const auto thumbMisses = [&](TTrackBar* bar, const TDataSkinObject& image, const char* what) {
        RECT thumb{};
        SendMessageW(bar->Handle(), TBM_GETTHUMBRECT, 0, AsLParam(&thumb));
        const auto shot = ReadBack(bar->Handle());
        const int fw = image.Bitmap->Width() / 5;
        const int fh = image.Bitmap->Height();
        // Stretched over the thumb: its corners are the corners of frame 2.
        const POINT pairs[2][2] = {{{thumb.left, thumb.top}, {fw, 0}},
                                   {{thumb.right - 1, thumb.bottom - 1}, {2 * fw - 1, fh - 1}}};
        int misses = 0;
        for (const auto& pair : pairs) {
            const TColor expected = PixelOf(*image.Bitmap, pair[1].x, pair[1].y);
            if (expected == frametest::kMagenta)
                continue;
            const TColor seen = PixelOf(shot, pair[0].x, pair[0].y);
            if (seen != expected && ++misses <= 2)
                ADD_FAILURE() << what << ": (" << pair[0].x << ", " << pair[0].y << ") is " << std::hex << seen
                              << " not " << expected;
        }
        return misses;
    };
    EXPECT_EQ(thumbMisses(lying, *Skin->TrackbarThumbHorz(), "lying"), 0);
    const TDataSkinObject* vertical = Skin->TrackbarThumbVert();
    EXPECT_EQ(thumbMisses(standing, vertical && !vertical->Bitmap->Empty() ? *vertical : *Skin->TrackbarThumbHorz(),
                          "standing"),
              0);

    // The channel's left end shows the Track image's left cap, centred on the channel.
    const TDataSkinObject& track = *Skin->Track();
    RECT channel{};
    SendMessageW(lying->Handle(), TBM_GETCHANNELRECT, 0, AsLParam(&channel));
    const int top = channel.top + std::max(0L, (channel.bottom - channel.top - track.Bitmap->Height()) / 2);
    const auto shot = ReadBack(lying->Handle());
    EXPECT_EQ(PixelOf(shot, channel.left, top), PixelOf(*track.Bitmap, 0, 0));

    // The thumb follows the position.
    lying->SetPosition(8);
    Flush();
    EXPECT_EQ(thumbMisses(lying, *Skin->TrackbarThumbHorz(), "moved"), 0);
}

// What a frame of an image stretched over a w by h window shows at (x, y):
// the source pixels around the point the stretch maps it to, see-through
// pixels showing the background.
TExpected StretchedAt(const TBitmap& image, int frames, int frame, int w, int h, int x, int y, TColor background)
{
    const int fw = image.Width() / frames;
    const int fh = image.Height();
    TExpected expected;
    const int cx = x * fw / w;
    const int cy = y * fh / h;
    for (int sx = std::max(0, cx - 1); sx <= std::min(fw - 1, cx + 1); ++sx)
        for (int sy = std::max(0, cy - 1); sy <= std::min(fh - 1, cy + 1); ++sy) {
            const TColor colour = PixelOf(image, (frame - 1) * fw + sx, sy);
            expected.Colours.insert(colour == frametest::kMagenta ? ColorToRGB(background) & 0xFFFFFF : colour);
        }
    return expected;
}

TEST_F(SkinnedEdits, DateTimePickersWearTheArrowButtonAndStillDropTheirCalendar)
{
    auto* picker = Place<TDateTimePicker>(Form.get(), Form.get(), L"", 10, 10, 150, 24);
    auto* spinning = Place<TDateTimePicker>(Form.get(), Form.get(), L"", 10, 50, 150, 24);
    spinning->SetKind(dtkTime);
    SkinForm();
    const auto* object = dynamic_cast<const TSkinDateTime*>(Frame->Dispatch().Controls().FindByControl(picker));
    ASSERT_NE(object, nullptr);
    ASSERT_NE(object->ArrowButton(), nullptr);
    HWND arrow = object->ArrowButton()->Handle();

    // Over the picker's own button: the right end of its client, as wide as a scroll arrow.
    RECT button{};
    RECT outer{};
    GetWindowRect(arrow, &button);
    GetWindowRect(picker->Handle(), &outer);
    const int width = GetSystemMetrics(SM_CXHSCROLL);
    EXPECT_EQ(button.right - button.left, width);
    EXPECT_EQ(button.bottom - button.top, 24 - 4);
    EXPECT_EQ(button.left - outer.left, 150 - width - 2);
    EXPECT_EQ(button.top - outer.top, 2);

    const TDataSkinObject& cells = *Skin->ComboxArrow();
    ASSERT_FALSE(cells.Bitmap->Empty());
    const int frames = std::max(1, cells.FrameCount);
    const auto misses = [&](int frame, const char* what) {
        const auto shot = ReadBack(arrow);
        int count = 0;
        for (int x = 1; x < shot.Width() - 1; x += 3)
            for (int y = 1; y < shot.Height() - 1; y += 3) {
                const TExpected expected = StretchedAt(*cells.Bitmap, frames, frame, shot.Width(), shot.Height(),
                                                       x, y, Skin->SkinColor(scButtonFace));
                if (!expected.Admits(PixelOf(shot, x, y)) && ++count <= 3)
                    ADD_FAILURE() << what << ": (" << x << ", " << y << ") is " << std::hex << PixelOf(shot, x, y);
            }
        return count;
    };
    EXPECT_EQ(misses(1, "at rest"), 0);
    MouseTo(picker->Handle(), 150 - 2 - width / 2, 12);
    EXPECT_EQ(misses(std::min(4, frames), "under the mouse"), 0);

    // The picker's frame is the edits' one, with a single white line.
    const auto shot = ReadBack(picker->Handle());
    EXPECT_EQ(PixelOf(shot, 0, 0), ColorToRGB(Skin->SkinColor(scButtonShadow)) & 0xFFFFFF);
    EXPECT_EQ(PixelOf(shot, 40, 1), 0xFFFFFFu);

    // A press on our button is the picker's own: its calendar drops.
    MouseTo(picker->Handle(), 150 - 2 - width / 2, 12, MOUSEEVENTF_LEFTDOWN);
    MouseTo(picker->Handle(), 150 - 2 - width / 2, 12, MOUSEEVENTF_LEFTUP);
    Flush();
    HWND calendar = reinterpret_cast<HWND>(SendMessageW(picker->Handle(), DTM_GETMONTHCAL, 0, 0));
    EXPECT_TRUE(calendar && IsWindowVisible(calendar)) << "the calendar did not drop";
    Key(VK_ESCAPE);

    // A spinning picker keeps its up-down, skinned; no drop button is laid over it.
    const auto* spinner = dynamic_cast<const TSkinDateTime*>(Frame->Dispatch().Controls().FindByControl(spinning));
    ASSERT_NE(spinner, nullptr);
    EXPECT_EQ(spinner->ArrowButton(), nullptr);
    HWND upDown = FindWindowExW(spinning->Handle(), nullptr, UPDOWN_CLASSW, nullptr);
    ASSERT_NE(upDown, nullptr);
    EXPECT_NE(Frame->Dispatch().Controls().FindByWindow(upDown), nullptr);

    // Unskinned, the drop button goes with the skin.
    Frame->Unskin();
    Flush();
    EXPECT_EQ(FindWindowExW(picker->Handle(), nullptr, L"VidkilnArrowButton", nullptr), nullptr);
}

class SkinnedCombos : public SkinnedForm {
protected:
    void SetUp() override
    {
        SkinnedForm::SetUp();
        // The light skin's combo face is the composed one.
        Skin->SetSkinFile(kLightSkin);
        ASSERT_FALSE(Skin->SkinLoading());
        ASSERT_EQ(Skin->ComboButton()->Style, 2);
    }

    TComboBox* AddCombo(int x, int y)
    {
        auto* combo = Place<TComboBox>(Form.get(), Form.get(), L"", x, y, 150, 24);
        combo->SetStyle(csDropDownList);
        combo->Items().Add(L"第一");
        combo->Items().Add(L"Second");
        combo->SetItemIndex(0);
        return combo;
    }

    int FaceMisses(HWND combo, const TDataSkinObject& face, int frame, const char* what) const
    {
        const TFaceModel model(face, face.FrameCount, Skin->SkinColor(scButtonFace));
        return CheckFace(combo, model, frame, what);
    }
};

TEST_F(SkinnedCombos, FacesFollowTheStateAndHoverIsTheButtonsAlone)
{
    TComboBox* combo = AddCombo(10, 10);
    TComboBox* disabled = AddCombo(10, 50);
    disabled->SetEnabled(false);
    TComboBox* leftHanded = AddCombo(10, 90);
    SetWindowLongPtrW(leftHanded->Handle(), GWL_EXSTYLE,
                      GetWindowLongPtrW(leftHanded->Handle(), GWL_EXSTYLE) | WS_EX_LEFTSCROLLBAR);
    SkinForm();
    const TDataSkinObject& face = *Skin->ComboButton();
    EXPECT_EQ(FaceMisses(combo->Handle(), face, 1, "normal"), 0);
    EXPECT_EQ(FaceMisses(disabled->Handle(), face, 3, "disabled"), 0);
    EXPECT_EQ(FaceMisses(leftHanded->Handle(), *Skin->SunkEdge(), 1, "left-handed"), 0);

    // Over the chosen item the face stays; over the button it turns hot.
    MouseTo(combo->Handle(), 20, 12);
    EXPECT_EQ(FaceMisses(combo->Handle(), face, 1, "over the item"), 0);
    MouseTo(combo->Handle(), 150 - 6, 12);
    EXPECT_EQ(FaceMisses(combo->Handle(), face, 4, "over the button"), 0);
    MouseTo(combo->Handle(), 20, 12);
    EXPECT_EQ(FaceMisses(combo->Handle(), face, 1, "back over the item"), 0);
    // Held down on the button: pressed, whatever the list does meanwhile.
    MouseTo(combo->Handle(), 150 - 6, 12, MOUSEEVENTF_LEFTDOWN);
    EXPECT_EQ(FaceMisses(combo->Handle(), face, 2, "pressed"), 0);
    MouseTo(combo->Handle(), 150 - 6, 12, MOUSEEVENTF_LEFTUP);
    Key(VK_ESCAPE);
    ParkMouse();

    combo->SetFocus();
    Flush();
    EXPECT_EQ(FaceMisses(combo->Handle(), face, 4, "focused"), 0);
    // The chosen item is still the control's to draw.
    wchar_t text[16]{};
    GetWindowTextW(combo->Handle(), text, 16);
    EXPECT_STREQ(text, L"第一");
}

// A class the skin's kind list names an extended combo box keeps its items'
// painting and wears the skin's arrow cell on its button, hot under the mouse.
TEST_F(SkinnedCombos, ExtendedCombosWearTheArrowCellOnTheirButton)
{
    // The first line naming a class wins.
    std::vector<std::wstring> kinds{L"TComboBox=comboboxex"};
    for (const std::wstring& line : Skin->Skin3rd())
        kinds.push_back(line);
    Skin->SetSkin3rd(kinds);
    TComboBox* combo = AddCombo(10, 10);
    SkinForm();
    const auto* object = dynamic_cast<const TSkinComBox*>(Frame->Dispatch().Controls().FindByControl(combo));
    ASSERT_NE(object, nullptr);
    EXPECT_TRUE(object->Extended());
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(combo->Handle(), &info));
    const RECT button = info.rcButton;
    const TDataSkinObject& cells = *Skin->ComboxArrow();
    ASSERT_FALSE(cells.Bitmap->Empty());
    const int frames = std::max(1, cells.FrameCount);
    const auto misses = [&](int frame, const char* what) {
        const auto shot = ReadBack(combo->Handle());
        const int w = button.right - button.left;
        const int h = button.bottom - button.top;
        int count = 0;
        for (int x = 1; x < w - 1; x += 3)
            for (int y = 1; y < h - 1; y += 3) {
                const TColor seen = PixelOf(shot, button.left + x, button.top + y);
                if (!StretchedAt(*cells.Bitmap, frames, frame, w, h, x, y, Skin->SkinColor(scButtonFace)).Admits(seen)
                    && ++count <= 3)
                    ADD_FAILURE() << what << ": button (" << x << ", " << y << ") is " << std::hex << seen;
            }
        return count;
    };
    EXPECT_EQ(misses(1, "at rest"), 0);
    MouseTo(combo->Handle(), (button.left + button.right) / 2, (button.top + button.bottom) / 2);
    EXPECT_EQ(misses(std::min(4, frames), "under the mouse"), 0);
    ParkMouse();
    wchar_t text[16]{};
    GetWindowTextW(combo->Handle(), text, 16);
    EXPECT_STREQ(text, L"第一");
}

// An owner-drawn combo box whose owner draws nothing shows its items in
// the skin's colours: the chosen one on the skin's highlight, in the box
// and in the dropped list.
TEST_F(SkinnedCombos, OwnerDrawnItemsTakeTheSkinsColours)
{
    auto* combo = Place<TComboBox>(Form.get(), Form.get(), L"", 10, 10, 150, 24);
    combo->SetStyle(csOwnerDrawFixed);
    for (int i = 0; i < 5; ++i)
        combo->Items().Add(L"项目 " + std::to_wstring(i));
    combo->SetItemIndex(1);
    SkinForm();
    const TColor highlight = ColorToRGB(Skin->SkinColor(scHilight)) & 0xFFFFFF;
    ASSERT_NE(highlight, ColorToRGB(clHighlight) & 0xFFFFFF) << "the skin's highlight must tell from the system's";
    SendMessageW(combo->Handle(), CB_SHOWDROPDOWN, TRUE, 0);
    Flush();
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(combo->Handle(), &info));
    ASSERT_TRUE(IsWindowVisible(info.hwndList));
    RECT chosen{};
    RECT other{};
    SendMessageW(info.hwndList, LB_GETITEMRECT, 1, AsLParam(&chosen));
    SendMessageW(info.hwndList, LB_GETITEMRECT, 3, AsLParam(&other));
    const auto shot = ReadBack(info.hwndList);
    POINT origin{0, 0};
    ClientToScreen(info.hwndList, &origin);
    RECT window{};
    GetWindowRect(info.hwndList, &window);
    const int dx = origin.x - window.left;
    const int dy = origin.y - window.top;
    // The far right of a row has no text on it.
    EXPECT_EQ(PixelOf(shot, dx + chosen.right - 3, dy + (chosen.top + chosen.bottom) / 2), highlight);
    EXPECT_EQ(PixelOf(shot, dx + other.right - 3, dy + (other.top + other.bottom) / 2),
              ColorToRGB(clWindow) & 0xFFFFFF);
    // Text is drawn on the rows: some pixels of the chosen row are not the highlight.
    int ink = 0;
    for (int x = chosen.left; x < chosen.left + 60; ++x)
        ink += PixelOf(shot, dx + x, dy + (chosen.top + chosen.bottom) / 2) != highlight;
    EXPECT_GT(ink, 0) << "the chosen item shows no text";
    SendMessageW(combo->Handle(), CB_SHOWDROPDOWN, FALSE, 0);
    Flush();
}

TEST_F(SkinnedEdits, BorderedEditsGetTheFrameAndBorderlessOnesNone)
{
    auto* bordered = Place<TEdit>(Form.get(), Form.get(), L"", 10, 40, 150, 24);
    auto* borderless = Place<TEdit>(Form.get(), Form.get(), L"", 10, 80, 150, 24);
    borderless->SetBorderStyle(bsNone);
    SkinForm();
    EXPECT_NE(Frame->Dispatch().Controls().FindByControl(bordered), nullptr);
    // Without a border there is no room for the frame: the edit's own white shows.
    EXPECT_EQ(PixelOf(ReadBack(borderless->Handle()), 0, 0), 0xFFFFFFu) << "no border, no skin frame";

    const auto shot = ReadBack(bordered->Handle());
    const TColor border = ColorToRGB(Skin->SkinColor(scButtonShadow)) & 0xFFFFFF;
    for (const POINT& p : {POINT{0, 0}, POINT{75, 0}, POINT{0, 12}, POINT{149, 23}})
        EXPECT_EQ(PixelOf(shot, p.x, p.y), border) << "(" << p.x << ", " << p.y << ")";
    for (const POINT& p : {POINT{1, 1}, POINT{75, 1}, POINT{148, 12}})
        EXPECT_EQ(PixelOf(shot, p.x, p.y), 0xFFFFFFu) << "(" << p.x << ", " << p.y << ")";
}

// Where typed text goes: the edit itself, or a combo box's edit part.
HWND TextWindow(TWinControl* control)
{
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    if (dynamic_cast<TComboBox*>(control) && GetComboBoxInfo(control->Handle(), &info))
        return info.hwndItem;
    return control->Handle();
}

// The same input, the IME's way and the keyboard's, with selection,
// clipboard and undo, leaves a skinned control and a plain twin with the
// same text and the same selection.
TEST_F(SkinnedEdits, TextEntryIsTheSameAsOnAPlainTwin)
{
    const auto make = [](TForm* form, int kind) -> TWinControl* {
        switch (kind) {
        case 0:
            return Place<TEdit>(form, form, L"", 10, 40, 150, 24);
        case 1:
            return Place<TMemo>(form, form, L"", 10, 70, 150, 60);
        default: {
            auto* combo = Place<TComboBox>(form, form, L"", 10, 140, 150, 24);
            combo->Items().Assign({L"第一", L"Second"});
            return combo;
        }
        }
    };
    auto plain = std::make_unique<TForm>(nullptr);
    plain->SetBounds(540, 40, 200, 200);
    TWinControl* skinned[3]{};
    TWinControl* twins[3]{};
    for (int kind = 0; kind < 3; ++kind) {
        skinned[kind] = make(Form.get(), kind);
        twins[kind] = make(plain.get(), kind);
    }
    SkinForm();
    plain->Show();
    const char* names[3] = {"edit", "memo", "combo box"};
    for (int kind = 0; kind < 3; ++kind) {
        ASSERT_NE(Frame->Dispatch().Controls().FindByControl(skinned[kind]), nullptr) << names[kind];
        std::wstring texts[2];
        DWORD starts[2]{}, ends[2]{};
        for (int side = 0; side < 2; ++side) {
            HWND window = TextWindow(side == 0 ? skinned[kind] : twins[kind]);
            for (wchar_t c : std::wstring(L"转换ok"))
                SendMessageW(window, WM_IME_CHAR, c, 1);
            // The IME's characters come back as posted WM_CHARs.
            Flush();
            SendMessageW(window, WM_CHAR, L'!', 1);
            SendMessageW(window, EM_SETSEL, 1, 3);
            SendMessageW(window, WM_COPY, 0, 0);
            SendMessageW(window, WM_CHAR, L'码', 1);
            SendMessageW(window, EM_UNDO, 0, 0);
            SendMessageW(window, EM_SETSEL, 5, 5);
            SendMessageW(window, WM_PASTE, 0, 0);
            SendMessageW(window, EM_SETSEL, 0, 1);
            SendMessageW(window, WM_CUT, 0, 0);
            SendMessageW(window, EM_SETSEL, 2, 4);
            Flush();
            texts[side] = GetWindowTextWide(window);
            SendMessageW(window, EM_GETSEL, AsWParam(&starts[side]), AsLParam(&ends[side]));
        }
        EXPECT_EQ(texts[0], texts[1]) << names[kind];
        EXPECT_EQ(texts[0], L"换ok!换o") << names[kind] << ": the input itself went wrong";
        EXPECT_EQ(starts[0], starts[1]) << names[kind];
        EXPECT_EQ(ends[0], ends[1]) << names[kind];
    }
}

} // namespace
