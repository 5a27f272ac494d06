// LZH throughput on a skin-like archive and on mixed data: decoding (the
// program's path, against the 40 MB/s it needs and against the step-by-step
// reference decoder) and encoding (the skin tools' path).
#include "LZHReference.h"
#include "SkinFixtures.h"
#include "skin/data/LZH.h"
#include "skin/data/LZHPack.h"

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <functional>
#include <string>

namespace {

constexpr double kDecodeTarget = 40.0;  // MB/s

// Best of several runs, in seconds of processor time: the machine is shared,
// and the coder is single-threaded.
double BestTime(int runs, const std::function<void()>& work)
{
    double best = 1e9;
    for (int i = 0; i < runs; ++i) {
        const std::clock_t start = std::clock();
        work();
        best = std::min(best, static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC);
    }
    return best;
}

void Report(const std::string& name, double value, const std::string& ratio)
{
    std::printf("%-40s %8.1f MB/s  %s\n", name.c_str(), value, ratio.c_str());
}

std::string Ratio(double value, double base, const char* what)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.2fx %s", value / base, what);
    return text;
}

void Measure(const char* label, const std::vector<std::uint8_t>& data, int runs)
{
    const double megabytes = static_cast<double>(data.size()) / 1e6;
    std::vector<std::uint8_t> stream;
    const double encode = megabytes / BestTime(runs, [&] { stream = LZHPack(data); });
    const auto size = static_cast<std::int32_t>(data.size());
    std::vector<std::uint8_t> out;
    const double decode = megabytes / BestTime(runs, [&] {
        out.clear();
        TLZH().LZHUnpack(size, stream, out);
    });
    const double reference = megabytes / BestTime(runs, [&] { out = ReferenceLZHUnpack(size, stream); });
    if (out != data) {
        std::printf("%-40s decoded bytes differ\n", label);
        return;
    }
    Report(std::string("lzh decode ") + label, decode, Ratio(decode, kDecodeTarget, "of 40 MB/s target"));
    Report(std::string("lzh decode reference ") + label, reference, Ratio(decode, reference, "fast/reference"));
    Report(std::string("lzh encode ") + label, encode, Ratio(encode, decode, "encode/decode"));
}

} // namespace

int main()
{
    const std::vector<std::uint8_t> archive = BuildSkinArchive(70000, SkinLikeEntries());
    Measure(("skin " + std::to_string(archive.size() / 1000) + " KB").c_str(), archive, 50);
    Measure("mixed 10 MB", MixedBytes(10 * 1000 * 1000), 3);
    return 0;
}
