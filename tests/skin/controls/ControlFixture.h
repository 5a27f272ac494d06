// Shared by the skinned-control tests: a framework form skinned the way the
// manager skins one (a TWinSkinForm attached, then WM_SKININIT), mouse input
// at a window point, and what the
// skin's Buttons image shows at a point of a button face, worked out from
// the image and the nine-slice margins (fixed corners and edges exactly,
// stretched middles within their source row or column).
#pragma once

#include "../forms/FrameFixture.h"

#include "framework/StdCtrls.h"
#include "skin/controls/SkinButtons.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <vector>

namespace controltest {

using frametest::PixelOf;
using frametest::Flush;
using frametest::ReadBack;
using frametest::TExpected;
using frametest::TPixels;
using testsupport::Key;
using testsupport::Settle;
using testsupport::WaitUntil;

template <class T>
T* Place(TWinControl* parent, TComponent* owner, const wchar_t* caption, int x, int y, int w, int h)
{
    T* control = new T(owner);
    control->SetParent(parent);
    control->SetBounds(x, y, w, h);
    control->SetCaption(caption);
    return control;
}

inline void MouseTo(HWND window, int x, int y, DWORD buttons = 0)
{
    POINT point{x, y};
    RECT rect{};
    GetWindowRect(window, &rect);
    point.x += rect.left;
    point.y += rect.top;
    frametest::SendMouse(point, buttons);
}

// What frame `frame` of a skin object's image (the skin's Buttons unless
// said) shows at (x, y) of a face w by h, see-through pixels showing
// `background`.
class TFaceModel {
public:
    TFaceModel(const TSkinData& skin, TColor background)
        : TFaceModel(*skin.Buttons(), kButtonFrames, background) {}
    // seeThrough: magenta shows the background whatever the object's Trans.
    TFaceModel(const TDataSkinObject& object, int frames, TColor background, bool seeThrough = false)
        : FButtons(object), FFrames(frames), FBackground(background), FSeeThrough(seeThrough || object.Trans == 1) {}

    TExpected At(int w, int h, int x, int y, int frame) const
    {
        const TBitmap& image = *FButtons.Bitmap;
        const int fw = image.Width() / FFrames;
        const int fh = image.Height();
        TExpected expected;
        for (int column : Along(x, w, fw, FButtons.LeftWidth, FButtons.RightWidth))
            for (int row : Along(y, h, fh, FButtons.TopHeight, FButtons.BottomHeight)) {
                TColor colour = PixelOf(image, (frame - 1) * fw + column, row);
                if (colour == frametest::kMagenta && FSeeThrough)
                    colour = FBackground & 0xFFFFFF;
                expected.Colours.insert(colour);
            }
        return expected;
    }

    // Whether the image is see-through at a corner point of the face.
    bool SeeThrough(int x, int y, int frame) const
    {
        const TBitmap& image = *FButtons.Bitmap;
        const int fw = image.Width() / FFrames;
        return FSeeThrough && PixelOf(image, (frame - 1) * fw + x, y) == frametest::kMagenta;
    }

private:
    // Source positions that can show at p of a target of length target.
    static std::vector<int> Along(int p, int target, int source, int start, int end)
    {
        if (p < start)
            return {p};
        if (p >= target - end)
            return {source - (target - p)};
        std::vector<int> middle;
        for (int s = start; s < source - end; ++s)
            middle.push_back(s);
        return middle;
    }

    const TDataSkinObject& FButtons;
    int FFrames;
    TColor FBackground;
    bool FSeeThrough;
};

// The face's border points that text and focus rectangle never reach: the
// outermost rows, the outermost two columns (a focus rectangle around a tall
// caption comes as near as the second row).
inline std::vector<POINT> EdgePoints(int w, int h)
{
    std::vector<POINT> points;
    for (int x = 0; x < w; x += 3)
        for (int y : {0, h - 1})
            points.push_back({x, y});
    for (int y = 0; y < h; y += 2)
        for (int x : {0, 1, w - 2, w - 1})
            points.push_back({x, y});
    return points;
}

// Misses of the face in `area` of a picture against frame; a few are reported.
inline int CheckFaceIn(const TPixels& shot, const RECT& area, const TFaceModel& model, int frame, const char* what)
{
    const int w = area.right - area.left;
    const int h = area.bottom - area.top;
    int misses = 0;
    for (const POINT& p : EdgePoints(w, h)) {
        const TExpected expected = model.At(w, h, p.x, p.y, frame);
        const TColor seen = PixelOf(shot, area.left + p.x, area.top + p.y);
        if (!expected.Admits(seen) && ++misses <= 4)
            ADD_FAILURE() << what << ": (" << p.x << ", " << p.y << ") is " << std::hex << seen << ", frame "
                          << std::dec << frame;
    }
    return misses;
}

// Misses of the face of window against frame.
inline int CheckFace(HWND window, const TFaceModel& model, int frame, const char* what)
{
    const TPixels shot = ReadBack(window);
    return CheckFaceIn(shot, {0, 0, shot.Width(), shot.Height()}, model, frame, what);
}

// A windowless control's rectangle in its parent window's coordinates
// (origin at the window's corner, as ReadBack and MouseTo count).
inline RECT AreaInParentWindow(const TControl& control)
{
    HWND parent = control.Parent()->Handle();
    RECT window{};
    GetWindowRect(parent, &window);
    RECT area = control.BoundsRect();
    MapWindowPoints(parent, nullptr, reinterpret_cast<POINT*>(&area), 2);
    OffsetRect(&area, -window.left, -window.top);
    return area;
}

// A framework form with an edit to hold the focus, skinned by SkinForm the
// way the manager skins it (a frame attached, then WM_SKININIT).
class SkinnedForm : public ::testing::Test {
protected:
    void SetUp() override
    {
        Skin = frametest::DefaultSkin();
        ASSERT_FALSE(Skin->SkinLoading());
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(40, 40, 480, 300);
        Edit = Place<TEdit>(Form.get(), Form.get(), L"", 330, 10, 100, 22);
    }

    void TearDown() override
    {
        Frame.reset();
        Form.reset();
    }

    void SkinForm()
    {
        HWND window = Form->Handle();
        Frame = std::make_unique<TWinSkinForm>(window, L"TForm", Skin.get());
        Frame->AttachToForm(Form.get());
        PostMessageW(window, WM_SKININIT, 0, 1000);
        Form->Show();
        frametest::BringToFront(window);
        Edit->SetFocus();
        ParkMouse();
    }

    void ParkMouse() { MouseTo(Form->Handle(), 460, 280); }

    // Unskins the form and skins it again with a new frame, as a skin
    // cycle of the soak tests.
    void SkinCycle()
    {
        Frame->Unskin();
        Frame = std::make_unique<TWinSkinForm>(Form->Handle(), L"TForm", Skin.get());
        Frame->AttachToForm(Form.get());
        SendMessageW(Form->Handle(), WM_SKININIT, 0, 1000);
    }

    std::unique_ptr<TSkinData> Skin;
    std::unique_ptr<TForm> Form;
    std::unique_ptr<TWinSkinForm> Frame;
    TEdit* Edit = nullptr;
};

} // namespace controltest
