// Fuzzes the command-line rules: any text splits without fault, the split
// arguments survive quoting and splitting again, and the parsers either take
// them or refuse them with ECommandLine.
#include "tools/encoder/ArgQuote.h"
#include "tools/encoder/LegacyCommand.h"

#include <cstdint>
#include <cstdlib>

using namespace vidkiln::tools;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Bytes as UTF-16 code units of a Windows command line; ASCII seeds read as they are.
    std::wstring line;
    for (size_t i = 0; i < size; ++i)
        line += data[i] < 0x80 ? static_cast<wchar_t>(data[i]) : static_cast<wchar_t>(0x4e00 + data[i]);
    std::vector<std::wstring> arguments = SplitCommandLine(line);
    arguments.erase(arguments.begin());
    std::vector<std::wstring> again = SplitCommandLine(L"p " + JoinCommandLine(arguments));
    again.erase(again.begin());
    if (again != arguments)
        std::abort();
    try {
        const TEncodeRequest request = ParseEncoderArguments(arguments);
        EncoderEngineArguments(request, {L"in", L"out", L"tcp://127.0.0.1:1"});
    } catch (const ECommandLine&) {
    }
    try {
        ProbeEngineArguments(ParseProbeArguments(arguments));
    } catch (const ECommandLine&) {
    }
    return 0;
}
