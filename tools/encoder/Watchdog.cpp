#include "tools/encoder/Watchdog.h"

namespace vidkiln::tools {

namespace {

// $1 port, $2 token, $3 file to remove if the tool goes away, then the
// engine and its arguments. The guard removes the file before it kills the
// engine, as the engine's end lets the script go on and end the guard. The guard is ended before the trailer is
// written, so a tool that reads the trailer and closes never triggers it.
constexpr wchar_t kScript[] =
    L"exec 3<>/dev/tcp/127.0.0.1/$1 || exit 111; exec >/dev/null 2>&1; t=$2; c=$3; shift 3; "
    L"\"$@\" </dev/null >&3 2>&3 & p=$!; "
    L"{ cat <&3 >/dev/null; if [ -n \"$c\" ]; then rm -f -- \"$c\"; fi; kill -9 $p; } "
    L"2>/dev/null & w=$!; "
    L"wait $p; r=$?; kill $w 2>/dev/null; "
    L"printf '\\nvidkiln-exit-%s=%d\\n' \"$t\" $r >&3";

}  // namespace

std::vector<std::wstring> WatchdogArguments(unsigned port, const std::wstring& token,
                                            const std::wstring& cleanup,
                                            const std::wstring& program,
                                            const std::vector<std::wstring>& arguments)
{
    std::vector<std::wstring> all = {L"-c", kScript, L"vidkiln-watchdog", std::to_wstring(port),
                                     token, cleanup, program};
    all.insert(all.end(), arguments.begin(), arguments.end());
    return all;
}

}  // namespace vidkiln::tools
