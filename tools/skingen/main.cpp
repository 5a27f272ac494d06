// skingen: draws the bitmaps of Vidkiln's shipped skins and writes their
// skin descriptions, ready for `vkskin pack`; also draws the program's own
// bitmap resources.
//
//   skingen skin <steel|light> <folder>
//   skingen resources <folder>
#include "SkinBuilder.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

int Usage()
{
    std::fputs("usage: skingen skin <steel|light> <folder>\n"
               "       skingen resources <folder>\n",
               stderr);
    return 2;
}

// Each file is written beside its final name and renamed into place, so an
// interrupted run never leaves a half-written bitmap behind.
void WriteFiles(const fs::path& folder, const std::vector<skingen::TSkinFile>& files)
{
    fs::create_directories(folder);
    for (const skingen::TSkinFile& file : files) {
        const fs::path target = folder / file.Name;
        const fs::path temporary = folder / (file.Name + ".tmp");
        {
            std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
            out.write(file.Bytes.data(), static_cast<std::streamsize>(file.Bytes.size()));
            if (!out)
                throw std::runtime_error("cannot write " + temporary.string());
        }
        fs::rename(temporary, target);
    }
}

} // namespace

int main(int argc, char** argv)
{
    try {
        const std::vector<std::string> args(argv + 1, argv + argc);
        if (args.size() == 3 && args[0] == "skin") {
            if (args[1] == "steel")
                WriteFiles(args[2], skingen::BuildSkin(skingen::SteelTheme()));
            else if (args[1] == "light")
                WriteFiles(args[2], skingen::BuildSkin(skingen::LightTheme()));
            else
                return Usage();
            return 0;
        }
        if (args.size() == 2 && args[0] == "resources") {
            WriteFiles(args[1], skingen::BuildResources());
            return 0;
        }
        return Usage();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "skingen: %s\n", error.what());
        return 1;
    }
}
