// The runner tests' child program. Each argument is one step, done in order:
//   out:<hex>           write these bytes to standard output in one write
//   err:<hex>           the same to standard error
//   sleep:<ms>          pause
//   pid                 write "pid <process id>" and LF
//   random:<seed>:<n>   write n random bytes in random-sized writes (RandomOutput.h)
//   bulk:<n>            write n bytes of 100-byte lines in 64 KiB writes, as fast as possible
//   stamps:<n>:<ms>     write n lines "<QueryPerformanceCounter>" LF, one write each, ms apart
//   poke:<handle>       write one byte to the handle with this number; writes
//                       "poke held" or "poke not held" and LF: whether this
//                       process holds a handle there it can write through
//   exit:<code>         end now with this exit code
//   hang                never end
// Without exit or hang the child ends with 0 after its last step.
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "RandomOutput.h"

namespace {

void Write(HANDLE stream, std::string_view bytes)
{
    while (!bytes.empty()) {
        DWORD written = 0;
        if (!WriteFile(stream, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
            ExitProcess(90);
        bytes.remove_prefix(written);
    }
}

std::string FromHex(std::string_view hex)
{
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += static_cast<char>(std::stoul(std::string(hex.substr(i, 2)), nullptr, 16));
    return bytes;
}

unsigned long long Number(std::string_view text)
{
    return std::stoull(std::string(text));
}

// "a:b:c" after the step's name: the field at Index.
std::string_view Field(std::string_view step, int index)
{
    for (int i = 0; i <= index; ++i) {
        const std::size_t colon = step.find(':');
        if (colon == std::string_view::npos)
            return {};
        step.remove_prefix(colon + 1);
    }
    return step.substr(0, step.find(':'));
}

void Bulk(HANDLE out, unsigned long long total)
{
    std::string line(99, 'x');
    line += '\n';
    std::string block;
    while (block.size() + line.size() <= 65536)
        block += line;
    for (unsigned long long sent = 0; sent < total; sent += block.size())
        Write(out, std::string_view(block).substr(0, std::min<unsigned long long>(block.size(), total - sent)));
}

void Stamps(HANDLE out, unsigned long long count, DWORD pause)
{
    for (unsigned long long i = 0; i < count; ++i) {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        Write(out, std::to_string(now.QuadPart) + "\n");
        Sleep(pause);
    }
}

void Step(std::string_view step, HANDLE out, HANDLE err)
{
    const std::string_view name = step.substr(0, step.find(':'));
    if (name == "out")
        Write(out, FromHex(Field(step, 0)));
    else if (name == "err")
        Write(err, FromHex(Field(step, 0)));
    else if (name == "sleep")
        Sleep(static_cast<DWORD>(Number(Field(step, 0))));
    else if (name == "pid")
        Write(out, "pid " + std::to_string(GetCurrentProcessId()) + "\n");
    else if (name == "random") {
        TRandomOutput output(Number(Field(step, 0)), Number(Field(step, 1)));
        for (std::string chunk = output.Next(); !chunk.empty(); chunk = output.Next())
            Write(out, chunk);
    } else if (name == "bulk")
        Bulk(out, Number(Field(step, 0)));
    else if (name == "stamps")
        Stamps(out, Number(Field(step, 0)), static_cast<DWORD>(Number(Field(step, 1))));
    else if (name == "poke") {
        const auto handle = reinterpret_cast<HANDLE>(static_cast<uintptr_t>(Number(Field(step, 0))));
        DWORD written = 0;
        const bool held = handle != out && handle != err && WriteFile(handle, "!", 1, &written, nullptr);
        Write(out, held ? "poke held\n" : "poke not held\n");
    } else if (name == "exit")
        ExitProcess(static_cast<UINT>(Number(Field(step, 0))));
    else if (name == "hang")
        Sleep(INFINITE);
    else
        ExitProcess(91);
}

} // namespace

int main(int argc, char** argv)
{
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    const HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
    for (int i = 1; i < argc; ++i)
        Step(argv[i], out, err);
    return 0;
}
