// appimages <folder>: writes bg.bmp, the six button pictures and the
// program's icon vidkiln.ico into folder.
#include "AppImages.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace {

void WriteFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!file.flush())
        throw std::runtime_error("cannot write " + path.string());
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: appimages <output folder>\n");
        return 2;
    }
    try {
        const std::filesystem::path folder = argv[1];
        std::filesystem::create_directories(folder);
        for (const auto& picture : appimages::BuildAppImages())
            WriteFile(folder / picture.FileName, picture.Canvas.BitmapFile());
        WriteFile(folder / "vidkiln.ico", appimages::IconFile(appimages::BuildAppIcon()));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "appimages: %s\n", error.what());
        return 1;
    }
    return 0;
}
