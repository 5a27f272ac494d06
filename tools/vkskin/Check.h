// vkskin check: loads a skin file the way Vidkiln does and lists what would
// make a skin object empty or draw wrongly.
#pragma once

#include <cstdint>
#include <ostream>
#include <span>
#include <string>
#include <vector>

struct TSkinProblem {
    bool Warning = false; // harmless, e.g. a section Vidkiln does not read
    std::string Text;
};

// Problems of one skin file: an archive that does not unpack, a missing skin
// description, image values that are not ".bmp" names, images that are
// missing, empty or not loadable BMPs, and frame counts that do not divide
// the image. Unknown sections are warnings.
std::vector<TSkinProblem> CheckSkinFile(std::span<const std::uint8_t> skinFile);

// The command: prints every problem of the file, then the count; exit code 0
// when there is no problem (warnings allowed), else 1.
int CheckCommand(std::span<const std::uint8_t> skinFile, const std::string& fileName, std::ostream& out);
