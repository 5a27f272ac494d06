// Owner of one kernel handle (process, thread, pipe end, event): closed
// exactly once, on every path.
#pragma once

#include <windows.h>

#include <utility>

class TKernelHandle {
public:
    TKernelHandle() noexcept = default;
    explicit TKernelHandle(HANDLE Handle) noexcept : FHandle(Handle) {}
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
        // Some calls report failure with INVALID_HANDLE_VALUE; it is never ours to close.
        if (FHandle && FHandle != INVALID_HANDLE_VALUE)
            CloseHandle(FHandle);
        FHandle = Handle;
    }

private:
    HANDLE FHandle = nullptr;
};
