// Fuzzes building a skin from a whole skin file: unpack, find the
// description, decode every image it names and build the skin objects. The
// built skin must keep the promises the painters rely on whatever the file
// says: every frame count at least 1, every margin inside the first frame of
// its image, and every cut-out image holding the pixels its size says.
#include "FuzzPlans.h"
#include "skin/data/ImageGeometry.h"
#include "skin/data/SkinBuilder.h"

#include <cstdlib>

namespace {

// Declared sizes above this only spend the run decoding noise (the shipped
// skins unpack to about 213 KB); the size cap is covered by the unit tests.
constexpr std::uint32_t kLargestFuzzedSize = 1 << 19;

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

void CheckImage(const TSkinImage& image)
{
    Check(image.Width >= 0 && image.Height >= 0);
    Check(image.Pixels.size() >= image.Stride() * static_cast<std::size_t>(image.Height));
}

void CheckStrip(const TSkinObjectValues& object, const TSkinImage& image, bool stacked)
{
    CheckImage(image);
    Check(object.FrameCount >= 1);
    const imgcore::TRectI frame = imgcore::FrameOf(image.Width, image.Height, stacked, object.FrameCount, 1);
    for (int margin : {object.LeftWidth, object.RightWidth})
        Check(margin >= 0 && margin <= std::max(frame.Width(), 0));
    for (int margin : {object.TopHeight, object.BottomHeight})
        Check(margin >= 0 && margin <= std::max(frame.Height(), 0));
}

void CheckModel(TSkinModel& model)
{
    for (const TSkinStripObject& strip : SkinStripObjects(model))
        CheckStrip(*strip.Values, *strip.Image, strip.Stacked);
    for (const TSkinSysButtonPart& button : model.CaptionButtons) {
        CheckImage(button.Image);
        Check(button.FrameCount >= 1);
    }
    const TSkinTitlePart& title = model.Title;
    CheckImage(title.Image);
    Check(title.FrameCount == 2);
    for (int offset : {title.LeftWidth, title.TopHeight, title.RightWidth})
        Check(offset >= -kLargestTextOffset && offset <= kLargestTextOffset);
    Check(title.TXTBackleft >= 0 && title.TXTBackRight >= 0);
    Check(model.Buttons.CheckButtonFrame >= 1 && model.Buttons.RadioButtonFrame >= 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::uint32_t declared = DeclaredSkinSize(data, size);
    if (declared > kLargestFuzzedSize && declared <= static_cast<std::uint32_t>(kMaxUnpackedSkinSize))
        return 0;
    std::optional<TSkinModel> model =
        BuildSkinFromFile(std::span<const std::uint8_t>(data, size), [](const std::string&) {}, TSkinBuiltIns{});
    if (model)
        CheckModel(*model);
    return 0;
}
