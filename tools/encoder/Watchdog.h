// Under Wine a Linux engine runs outside the tool's reach: Wine gives no
// process handle, no exit code and no output pipe for it. It is therefore
// started through a small bash watchdog that connects back to the tool over
// loopback TCP, sends the engine's stdout and stderr on that connection,
// then a trailer with the engine's exit code. When the tool dies (the
// front-end ends it with TerminateProcess) the connection closes; the
// watchdog then kills the engine at once and removes the unfinished file.
// A closed progress socket alone does not stop FFmpeg: it ignores failed
// progress writes. Portable: only the arguments are built here.
#pragma once

#include <string>
#include <vector>

namespace vidkiln::tools {

inline constexpr wchar_t kWatchdogShell[] = L"/bin/bash";

// Arguments of kWatchdogShell (without its name). `cleanup` is the Linux
// path removed when the tool dies before the engine ends; empty for none.
std::vector<std::wstring> WatchdogArguments(unsigned port, const std::wstring& token,
                                            const std::wstring& cleanup,
                                            const std::wstring& program,
                                            const std::vector<std::wstring>& arguments);

}  // namespace vidkiln::tools
