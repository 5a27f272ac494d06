// A small pixel buffer for the portable image code's tests.
#pragma once

#include "skin/data/PixelOps.h"

#include <cstdint>
#include <vector>

namespace imgcore::testing {

// A small BGR image whose pixels are told apart by their blue byte.
struct TImage {
    int Width, Height, Bytes;
    std::vector<std::uint8_t> Bits;

    TImage(int width, int height, int bytes = 3)
        : Width(width), Height(height), Bytes(bytes),
          Bits(static_cast<std::size_t>(width * height * bytes), 0) {}
    TPixelView View() { return {Bits.data(), Width, Height, Width * Bytes, Bytes}; }
    void Set(int x, int y, TRgb colour)
    {
        std::uint8_t* p = View().Pixel(x, y);
        p[0] = static_cast<std::uint8_t>(BlueOf(colour));
        p[1] = static_cast<std::uint8_t>(GreenOf(colour));
        p[2] = static_cast<std::uint8_t>(RedOf(colour));
    }
    TRgb Get(int x, int y)
    {
        const std::uint8_t* p = View().Pixel(x, y);
        return MakeRgb(p[2], p[1], p[0]);
    }
    // Pixels numbered 1, 2, 3 ... row by row.
    static TImage Numbered(int width, int height, int bytes = 3)
    {
        TImage image(width, height, bytes);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                image.Set(x, y, static_cast<TRgb>(y * width + x + 1));
        return image;
    }
};

} // namespace imgcore::testing
