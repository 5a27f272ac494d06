// Control faces on a screen denser than 96 pixels per inch, built once per
// density and run in a Wine prefix of that density: a push button's corners
// and a check box's and radio button's marks read back from their windows
// and compared with the skin's own 96-dpi images scaled by the screen's
// factor (exactly at whole factors, within the colours around the source
// pixel at fractional ones), sizes and places worked out from those files.
#include "ControlFixture.h"
#include "../forms/DpiSamples.h"

#include "framework/Buttons.h"

using namespace controltest;
using namespace dpitest;

namespace {

class DpiControls : public SkinnedForm {
protected:
    // Misses of window's pixels against a part of a skin image scaled for the screen.
    static int Compare(HWND window, int x, int y, int width, int height, const TSource& source, int fx, int fy,
                       int& compared)
    {
        return ScaledMisses(ReadBack(window), x, y, width, height, source, fx, fy, compared);
    }
};

using VIDKILN_DPI_SUITE = DpiControls;

TEST_F(VIDKILN_DPI_SUITE, CheckAndRadioMarksAreTheSkinsImagesScaled)
{
    auto* box = Place<TCheckBox>(Form.get(), Form.get(), L"Checked", 10, 10, Scale(150), Scale(17));
    box->SetChecked(true);
    auto* radio = Place<TRadioButton>(Form.get(), Form.get(), L"Off", 10, 10 + Scale(30), Scale(150), Scale(17));
    SkinForm();
    struct TCase {
        const char* What;
        HWND Window;
        const wchar_t* File;
        const wchar_t* FramesKey;
        int Frame;
    };
    const TCase cases[] = {
        {"checked box", box->Handle(), L"checkbox.bmp", L"CheckButtonFrame", 2},
        {"radio off", radio->Handle(), L"radio.bmp", L"RadioButtonFrame", 1},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        const std::unique_ptr<TBitmap> strip = SkinImage(c.File);
        const int frames = IniNumber(L"Buttons", c.FramesKey);
        const int width = strip->Width() / frames;
        const TSource mark{*strip, {(c.Frame - 1) * width, 0, c.Frame * width, strip->Height()}};
        // The mark sits at the control's left edge, its middle at the control's.
        const int top = (frametest::ClientSize(c.Window).cy - Scale(strip->Height())) / 2;
        int compared = 0;
        EXPECT_EQ(Compare(c.Window, 0, top, Scale(width), Scale(strip->Height()), mark, 0, 0, compared), 0);
        EXPECT_GT(compared, Scale(width) * Scale(strip->Height()) / 3);
    }
}

TEST_F(VIDKILN_DPI_SUITE, PushButtonCornersAreTheSkinsFaceScaled)
{
    auto* button = Place<TButton>(Form.get(), Form.get(), L"OK", 10, 120, Scale(90), Scale(30));
    SkinForm();
    const std::unique_ptr<TBitmap> image = SkinImage(L"button.bmp");
    constexpr int kFrames = 5;
    const int width = image->Width() / kFrames;
    const TSource normal{*image, {0, 0, width, image->Height()}};
    const SIZE size = frametest::ClientSize(button->Handle());
    const int left = Scale(IniNumber(L"Buttons", L"LeftWidth"));
    const int top = Scale(IniNumber(L"Buttons", L"TopHeight"));
    const int right = Scale(IniNumber(L"Buttons", L"RightWidth"));
    const int bottom = Scale(IniNumber(L"Buttons", L"BottomHeight"));
    const int scaledWidth = Scale(width);
    const int scaledHeight = Scale(image->Height());
    int compared = 0;
    int misses = 0;
    misses += Compare(button->Handle(), 0, 0, left, top, normal, 0, 0, compared);
    misses += Compare(button->Handle(), size.cx - right, 0, right, top, normal, scaledWidth - right, 0, compared);
    misses += Compare(button->Handle(), 0, size.cy - bottom, left, bottom, normal, 0, scaledHeight - bottom, compared);
    misses += Compare(button->Handle(), size.cx - right, size.cy - bottom, right, bottom, normal, scaledWidth - right,
                      scaledHeight - bottom, compared);
    EXPECT_EQ(misses, 0);
    EXPECT_GT(compared, left * top);
}

} // namespace
