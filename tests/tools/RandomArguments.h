// Argument lists drawn from a small alphabet of the characters quoting has to
// get right, for round trips through the command-line splitters.
#pragma once

#include <cstddef>
#include <random>
#include <string>
#include <vector>

namespace vidkiln::tools {

// One to four arguments of up to seven characters each; empty ones too.
inline std::vector<std::wstring> RandomArguments(std::mt19937& random, const std::wstring& alphabet)
{
    std::vector<std::wstring> arguments(1 + random() % 4);
    for (std::wstring& argument : arguments)
        for (std::size_t n = random() % 8; n > 0; --n)
            argument += alphabet[random() % alphabet.size()];
    return arguments;
}

}  // namespace vidkiln::tools
