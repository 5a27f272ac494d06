// vkskin's entry point: arguments reach RunVkSkin as UTF-8 on every system.
#include "VkSkin.h"

#include <filesystem>
#include <iostream>

namespace {

std::string Utf8Of(const std::filesystem::path& argument)
{
    const std::u8string text = argument.u8string();
    return std::string(text.begin(), text.end());
}

} // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv)
#else
int main(int argc, char** argv)
#endif
{
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(Utf8Of(std::filesystem::path(argv[i])));
    return RunVkSkin(args, std::cout, std::cerr);
}
