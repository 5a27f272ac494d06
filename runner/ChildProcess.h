// One console child with its standard handles on two anonymous pipes: the
// platform half of a run, used only by the reader thread.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

#include "base/KernelHandle.h"
#include "base/SystemError.h"

class TChildProcess {
public:
    // Makes the pipes and starts CommandLine hidden, in a console of its own.
    // Throws Exception with the system's message when a pipe cannot be made,
    // TCreateProcessError when the process cannot be created.
    TChildProcess(const std::wstring& CommandLine, DWORD PriorityClass);
    TChildProcess(const TChildProcess&) = delete;
    TChildProcess& operator=(const TChildProcess&) = delete;

    // STILL_ACTIVE (259) while the child runs; false when it cannot be read.
    bool ReadExitCode(DWORD& ExitCode) const noexcept;
    // Bytes waiting in the output pipe, without taking them out.
    DWORD Waiting() const noexcept;
    // Takes up to Size waiting bytes out of the pipe; returns how many.
    DWORD Read(char* Buffer, DWORD Size) const noexcept;
    bool Terminate(UINT ExitCode) const noexcept;
    // The process object is signalled: nothing will change its exit code any more.
    bool Ended() const noexcept;

private:
    // Input pipe: the child reads, nobody writes, so the child's input stays
    // open and empty. Output pipe: standard output and standard error. The
    // child's ends stay open here too, so the output pipe never reports its
    // end: a run ends by the exit code.
    TKernelHandle FInputRead;
    TKernelHandle FInputWrite;
    TKernelHandle FOutputRead;
    TKernelHandle FOutputWrite;
    TKernelHandle FProcess;
    TKernelHandle FThread;
};
