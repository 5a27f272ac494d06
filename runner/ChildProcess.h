// One console child with its standard handles on two pipes: the platform
// half of a run, used only by the reader thread.
//
// The output is read with one overlapped read always pending, so the reader
// can sleep in a wait on the read, the child's process and its own wake-up
// event, and costs nothing while the child is silent.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "base/KernelHandle.h"
#include "base/SystemError.h"

class TChildProcess {
public:
    // Makes the pipes and starts CommandLine hidden, in a console of its own.
    // Throws Exception with the system's message when a pipe cannot be made,
    // TCreateProcessError when the process cannot be created.
    TChildProcess(const std::wstring& CommandLine, DWORD PriorityClass);
    // Cancels a read still pending and waits until the system has let go of
    // the buffer.
    ~TChildProcess();
    TChildProcess(const TChildProcess&) = delete;
    TChildProcess& operator=(const TChildProcess&) = delete;

    // STILL_ACTIVE (259) while the child runs; false when it cannot be read.
    bool ReadExitCode(DWORD& ExitCode) const noexcept;
    bool Terminate(UINT ExitCode) const noexcept;
    // The process object is signalled: nothing will change its exit code any more.
    bool Ended() const noexcept;
    HANDLE Process() const noexcept { return FProcess.Get(); }

    // Signalled once the pending read has completed.
    HANDLE OutputArrived() const noexcept { return FReadDone.Get(); }
    // True when a read has completed: Bytes are its output (possibly none),
    // valid until the next call, which starts the next read. False while
    // the read is still waiting for output.
    bool TakeOutput(std::string_view& Bytes);
    // Once the child has ended: every byte still on its way, the pending
    // read's and then what is left in the pipe, in order, piece by piece
    // through Take.
    template <class F>
    void TakeRemainingOutput(F&& Take)
    {
        std::string_view bytes;
        if (FinishPendingRead(true, bytes))
            Take(bytes);
        while (ReadWaitingOutput(bytes))
            Take(bytes);
    }

private:
    void StartRead() noexcept;
    // Starts one overlapped read into the buffer; false when it could not start.
    bool IssueRead() noexcept;
    // Cancels the pending read; with Keep, bytes it had already taken come
    // back in Bytes (true).
    bool FinishPendingRead(bool Keep, std::string_view& Bytes) noexcept;
    // One read of bytes that are in the pipe now; false when there are none.
    bool ReadWaitingOutput(std::string_view& Bytes) noexcept;

    // Input pipe: the child reads, nobody writes, so the child's input stays
    // open and empty. Output pipe: standard output and standard error, read
    // here through an overlapped end. The child's ends stay open here too,
    // so the output pipe never reports its end: a run ends by the exit code.
    TKernelHandle FInputRead;
    TKernelHandle FInputWrite;
    TKernelHandle FOutputRead;
    TKernelHandle FOutputWrite;
    TKernelHandle FProcess;
    TKernelHandle FThread;
    TKernelHandle FReadDone;
    OVERLAPPED FRead{};
    bool FReadPending = false;
    std::vector<char> FBuffer;
};
