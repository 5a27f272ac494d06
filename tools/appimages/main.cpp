// appimages <folder>: writes bg.bmp and the six button pictures into folder.
#include "AppImages.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: appimages <output folder>\n");
        return 2;
    }
    try {
        const std::filesystem::path folder = argv[1];
        std::filesystem::create_directories(folder);
        for (const auto& picture : appimages::BuildAppImages()) {
            const auto bytes = picture.Canvas.BitmapFile();
            std::ofstream file(folder / picture.FileName, std::ios::binary | std::ios::trunc);
            file.write(reinterpret_cast<const char*>(bytes.data()),
                       static_cast<std::streamsize>(bytes.size()));
            if (!file.flush())
                throw std::runtime_error("cannot write " + (folder / picture.FileName).string());
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "appimages: %s\n", error.what());
        return 1;
    }
    return 0;
}
