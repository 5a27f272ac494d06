// Colour arithmetic of the skin painter on plain 0x00BBGGRR colours (system
// colour references are resolved by the caller). Portable.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace imgcore {

using TRgb = std::uint32_t;

constexpr int RedOf(TRgb colour) noexcept { return static_cast<int>(colour & 0xFF); }
constexpr int GreenOf(TRgb colour) noexcept { return static_cast<int>((colour >> 8) & 0xFF); }
constexpr int BlueOf(TRgb colour) noexcept { return static_cast<int>((colour >> 16) & 0xFF); }
constexpr TRgb MakeRgb(int red, int green, int blue) noexcept
{
    return static_cast<TRgb>(red & 0xFF) | static_cast<TRgb>(green & 0xFF) << 8
        | static_cast<TRgb>(blue & 0xFF) << 16;
}

// Weight is c1's share: a percentage below 100, per mille from 100 up, so
// MixColour(x, white, 150) is 15 % x and 85 % white.
TRgb MixColour(TRgb c1, TRgb c2, int weight) noexcept;

// 0..255 for colours with a channel of 160 or more; 200 for all darker ones,
// whose saturation the skin treats as unknown.
int Saturation(TRgb colour) noexcept;

// Count colours from c1 to c2, both ends included (the middle for count 1).
// Throws std::invalid_argument for a count below 1.
std::vector<TRgb> GradientColours(int count, TRgb c1, TRgb c2);

// The 16 most recent gradient tables. Painting asks for the same few
// gradients over and over; a slot is reused only after 15 newer tables.
class TGradientCache {
public:
    static constexpr int SlotCount = 16;

    // The slot holding the table for (count, c1, c2), built if needed.
    int Table(int count, TRgb c1, TRgb c2);
    const std::vector<TRgb>& Entries(int slot) const { return FSlots.at(static_cast<std::size_t>(slot)).Colours; }

private:
    struct TSlot {
        int Count = 0;
        TRgb First = 0;
        TRgb Last = 0;
        std::vector<TRgb> Colours;
    };
    std::array<TSlot, SlotCount> FSlots;
    int FNext = 0;
};

} // namespace imgcore
