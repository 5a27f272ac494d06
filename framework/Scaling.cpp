#include "Scaling.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

int ScaleValue(int Value, int M, int D) noexcept
{
    const long long Product = static_cast<long long>(Value) * M;
    const long long Half = std::llabs(static_cast<long long>(D)) / 2;
    const bool Negative = (Product < 0) != (D < 0);
    const long long Magnitude = (std::llabs(Product) + Half) / std::llabs(static_cast<long long>(D));
    return static_cast<int>(Negative ? -Magnitude : Magnitude);
}

TScaledBounds ScaleBounds(const TScaledBounds& Bounds, int M, int D) noexcept
{
    const int Left = ScaleValue(Bounds.Left, M, D);
    const int Top = ScaleValue(Bounds.Top, M, D);
    return {Left, Top, ScaleValue(Bounds.Left + Bounds.Width, M, D) - Left,
            ScaleValue(Bounds.Top + Bounds.Height, M, D) - Top};
}

namespace {

constexpr int kBytesPerPixel = 3;

// How much of source pixel Index covers one target pixel, in units where a
// target pixel is SourceSize long and a source pixel TargetSize long: the
// weights of one target pixel add up to SourceSize.
struct TCover {
    int Index;
    long long Weight;
};

std::vector<std::vector<TCover>> Coverage(int SourceSize, int TargetSize)
{
    std::vector<std::vector<TCover>> Table(static_cast<std::size_t>(TargetSize));
    for (int t = 0; t < TargetSize; ++t) {
        const long long Begin = static_cast<long long>(t) * SourceSize;
        const long long End = Begin + SourceSize;
        for (long long s = Begin / TargetSize; s * TargetSize < End && s < SourceSize; ++s) {
            const long long From = std::max(Begin, s * TargetSize);
            const long long To = std::min(End, (s + 1) * TargetSize);
            if (To > From)
                Table[static_cast<std::size_t>(t)].push_back({static_cast<int>(s), To - From});
        }
    }
    return Table;
}

void AreaAverage(const TPixelRows& Source, const TPixelRows& Target)
{
    const auto Columns = Coverage(Source.Width, Target.Width);
    const auto Rows = Coverage(Source.Height, Target.Height);
    const long long Total = static_cast<long long>(Source.Width) * Source.Height;
    for (int y = 0; y < Target.Height; ++y) {
        std::uint8_t* Out = Target.Bits + static_cast<std::size_t>(y) * Target.Stride;
        for (int x = 0; x < Target.Width; ++x) {
            long long Sum[kBytesPerPixel] = {};
            for (const TCover& Row : Rows[static_cast<std::size_t>(y)]) {
                const std::uint8_t* In = Source.Bits + static_cast<std::size_t>(Row.Index) * Source.Stride;
                for (const TCover& Column : Columns[static_cast<std::size_t>(x)]) {
                    const std::uint8_t* Pixel = In + static_cast<std::size_t>(Column.Index) * kBytesPerPixel;
                    for (int c = 0; c < kBytesPerPixel; ++c)
                        Sum[c] += Pixel[c] * Row.Weight * Column.Weight;
                }
            }
            for (int c = 0; c < kBytesPerPixel; ++c)
                Out[x * kBytesPerPixel + c] = static_cast<std::uint8_t>((Sum[c] + Total / 2) / Total);
        }
    }
}

// The source pixel under the centre of target pixel Index.
int NearestSource(int Index, int SourceSize, int TargetSize)
{
    return static_cast<int>((2LL * Index + 1) * SourceSize / (2LL * TargetSize));
}

void Nearest(const TPixelRows& Source, const TPixelRows& Target)
{
    for (int y = 0; y < Target.Height; ++y) {
        const std::uint8_t* In =
            Source.Bits + static_cast<std::size_t>(NearestSource(y, Source.Height, Target.Height)) * Source.Stride;
        std::uint8_t* Out = Target.Bits + static_cast<std::size_t>(y) * Target.Stride;
        for (int x = 0; x < Target.Width; ++x) {
            const std::uint8_t* Pixel =
                In + static_cast<std::size_t>(NearestSource(x, Source.Width, Target.Width)) * kBytesPerPixel;
            for (int c = 0; c < kBytesPerPixel; ++c)
                Out[x * kBytesPerPixel + c] = Pixel[c];
        }
    }
}

} // namespace

void Resample(const TPixelRows& Source, const TPixelRows& Target, TResampling Mode)
{
    if (Mode == TResampling::Nearest)
        Nearest(Source, Target);
    else
        AreaAverage(Source, Target);
}
