#include "SkinTestFiles.h"

#include <fstream>
#include <iterator>

std::vector<std::uint8_t> TextBytes(const std::string& text)
{
    return {text.begin(), text.end()};
}

std::vector<std::uint8_t> FlatBmp(int width, int height, std::uint32_t colour)
{
    const int stride = (width * 3 + 3) / 4 * 4;
    const int size = 54 + stride * height;
    std::vector<std::uint8_t> bmp(static_cast<std::size_t>(size), 0);
    auto put = [&](int at, std::uint32_t value, int count) {
        for (int i = 0; i < count; ++i)
            bmp[static_cast<std::size_t>(at + i)] = static_cast<std::uint8_t>(value >> (8 * i));
    };
    bmp[0] = 'B';
    bmp[1] = 'M';
    put(2, static_cast<std::uint32_t>(size), 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, static_cast<std::uint32_t>(width), 4);
    put(22, static_cast<std::uint32_t>(height), 4);
    put(26, 1, 2);
    put(28, 24, 2);
    // BMP pixels are blue, green, red.
    const std::uint32_t bgr = ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            put(54 + y * stride + x * 3, bgr, 3);
    return bmp;
}

std::vector<std::uint8_t> SkinFileOf(const std::string& ini, std::vector<TSkinArchiveEntry> entries,
                                     std::uint32_t format)
{
    entries.push_back({"skin.ini", TextBytes(ini)});
    return PackSkinFile(BuildSkinArchive(format, entries));
}

std::vector<std::uint8_t> ReadWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
