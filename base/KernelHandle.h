// Owner of one kernel handle (process, thread, pipe end, event): closed
// exactly once, on every path.
#pragma once

#include <windows.h>

#include <utility>

class TKernelHandle {
public:
    TKernelHandle() noexcept = default;
    // Some calls report failure with INVALID_HANDLE_VALUE: it is held as no
    // handle, so a test of the owner finds the failure.
    explicit TKernelHandle(HANDLE Handle) noexcept : FHandle(Handle == INVALID_HANDLE_VALUE ? nullptr : Handle) {}
    ~TKernelHandle() { Reset(); }

    TKernelHandle(TKernelHandle&& Other) noexcept : FHandle(std::exchange(Other.FHandle, nullptr)) {}
    TKernelHandle& operator=(TKernelHandle&& Other) noexcept
    {
        if (this != &Other)
            Reset(std::exchange(Other.FHandle, nullptr));
        return *this;
    }
    TKernelHandle(const TKernelHandle&) = delete;
    TKernelHandle& operator=(const TKernelHandle&) = delete;

    HANDLE Get() const noexcept { return FHandle; }
    explicit operator bool() const noexcept { return FHandle != nullptr; }

    void Reset(HANDLE Handle = nullptr) noexcept
    {
        if (FHandle)
            CloseHandle(FHandle);
        FHandle = Handle == INVALID_HANDLE_VALUE ? nullptr : Handle;
    }

private:
    HANDLE FHandle = nullptr;
};
