#include "ColourMath.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <utility>

namespace imgcore {

TRgb MixColour(TRgb c1, TRgb c2, int weight) noexcept
{
    const int scale = weight < 100 ? 100 : 1000;
    auto mix = [&](int channel1, int channel2) {
        return (channel2 * (scale - weight) + channel1 * weight + scale / 2) / scale;
    };
    return MakeRgb(mix(RedOf(c1), RedOf(c2)), mix(GreenOf(c1), GreenOf(c2)),
                   mix(BlueOf(c1), BlueOf(c2)));
}

int Saturation(TRgb colour) noexcept
{
    const int red = RedOf(colour);
    const int green = GreenOf(colour);
    const int blue = BlueOf(colour);
    const int high = std::max({red, green, blue});
    const int low = std::min({red, green, blue});
    if (high < 160)
        return 200;
    const double saturation = static_cast<double>(high - low) / high;
    // The default rounding mode rounds ties to even.
    return static_cast<int>(std::nearbyint(saturation * 255.0));
}

namespace {

// Rounds i·delta/steps half away from zero, so falling channels end exactly
// on the end colour as rising ones do.
int Step(int index, int delta, int steps) noexcept
{
    const int half = steps / 2;
    const int scaled = index * delta;
    return scaled >= 0 ? (scaled + half) / steps : (scaled - half) / steps;
}

} // namespace

std::vector<TRgb> GradientColours(int count, TRgb c1, TRgb c2)
{
    if (count < 1)
        throw std::invalid_argument("Assertion failure (imgutil): gradient of fewer than one colour");
    const int deltaRed = RedOf(c2) - RedOf(c1);
    const int deltaGreen = GreenOf(c2) - GreenOf(c1);
    const int deltaBlue = BlueOf(c2) - BlueOf(c1);
    if (count == 1)
        return {MakeRgb(RedOf(c1) + deltaRed / 2, GreenOf(c1) + deltaGreen / 2, BlueOf(c1) + deltaBlue / 2)};
    std::vector<TRgb> colours(static_cast<std::size_t>(count));
    const int steps = count - 1;
    for (int i = 0; i < count; ++i) {
        colours[static_cast<std::size_t>(i)] = MakeRgb(RedOf(c1) + Step(i, deltaRed, steps),
                                                       GreenOf(c1) + Step(i, deltaGreen, steps),
                                                       BlueOf(c1) + Step(i, deltaBlue, steps));
    }
    return colours;
}

int TGradientCache::Table(int count, TRgb c1, TRgb c2)
{
    // Keyed on what was asked for, not on the first and last entries: those
    // differ from c1 and c2 for a one-colour table, which would then be
    // rebuilt into a fresh slot on every call and push the others out.
    for (int slot = SlotCount - 1; slot >= 0; --slot) {
        const TSlot& candidate = FSlots[static_cast<std::size_t>(slot)];
        if (!candidate.Colours.empty() && candidate.Count == count && candidate.First == c1
            && candidate.Last == c2)
            return slot;
    }
    std::vector<TRgb> colours = GradientColours(count, c1, c2);
    const int slot = FNext;
    FSlots[static_cast<std::size_t>(slot)] = TSlot{count, c1, c2, std::move(colours)};
    FNext = (FNext + 1) % SlotCount;
    return slot;
}

} // namespace imgcore
