// One owner per GDI handle. Every GDI object, device context and selection
// the program makes goes through these types, so nothing leaks on an early
// return or an exception, and a selection is always undone in the DC it was
// made in.
#pragma once

#include <windows.h>

#include <atomic>
#include <type_traits>
#include <utility>

namespace gdi {

// Live objects and DCs held by the owners below. Wine reports no per-process
// GDI figure, so the leak tests compare this count before and after.
inline std::atomic<long> gLiveHandles{0};
inline long LiveHandles() noexcept { return gLiveHandles.load(); }

namespace detail {
inline void Track(const void* handle, long delta) noexcept
{
    if (handle)
        gLiveHandles += delta;
}
} // namespace detail

// Owns a pen, brush, font, bitmap, region or palette; frees it with DeleteObject.
template <class H>
class Object {
    static_assert(std::is_pointer_v<H>, "a GDI handle type");

public:
    Object() noexcept = default;
    explicit Object(H handle) noexcept : FHandle(handle) { detail::Track(FHandle, +1); }
    ~Object() { Reset(); }

    Object(Object&& other) noexcept : FHandle(std::exchange(other.FHandle, nullptr)) {}
    Object& operator=(Object&& other) noexcept
    {
        if (this != &other) {
            Reset();
            FHandle = std::exchange(other.FHandle, nullptr);
        }
        return *this;
    }
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    H Get() const noexcept { return FHandle; }
    explicit operator bool() const noexcept { return FHandle != nullptr; }

    void Reset(H handle = nullptr) noexcept
    {
        if (FHandle) {
            DeleteObject(FHandle);
            detail::Track(FHandle, -1);
        }
        FHandle = handle;
        detail::Track(FHandle, +1);
    }

    // Hands the handle to a new owner (SetWindowRgn takes the region).
    [[nodiscard]] H Release() noexcept
    {
        detail::Track(FHandle, -1);
        return std::exchange(FHandle, nullptr);
    }

private:
    H FHandle = nullptr;
};

using Pen = Object<HPEN>;
using Brush = Object<HBRUSH>;
using Font = Object<HFONT>;
using Bitmap = Object<HBITMAP>;
using Region = Object<HRGN>;
using Palette = Object<HPALETTE>;

// A memory DC, compatible with the given DC or with the screen.
class MemoryDC {
public:
    explicit MemoryDC(HDC compatible = nullptr) noexcept : FDC(CreateCompatibleDC(compatible))
    {
        detail::Track(FDC, +1);
    }
    ~MemoryDC()
    {
        if (FDC) {
            DeleteDC(FDC);
            detail::Track(FDC, -1);
        }
    }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;

    HDC Get() const noexcept { return FDC; }
    explicit operator bool() const noexcept { return FDC != nullptr; }

private:
    HDC FDC;
};

// A DC borrowed from a window; given back to the same window.
template <HDC (*Acquire)(HWND)>
class BorrowedDC {
public:
    explicit BorrowedDC(HWND window) noexcept : FWindow(window), FDC(Acquire(window))
    {
        detail::Track(FDC, +1);
    }
    ~BorrowedDC()
    {
        if (FDC) {
            ReleaseDC(FWindow, FDC);
            detail::Track(FDC, -1);
        }
    }
    BorrowedDC(const BorrowedDC&) = delete;
    BorrowedDC& operator=(const BorrowedDC&) = delete;

    HDC Get() const noexcept { return FDC; }
    explicit operator bool() const noexcept { return FDC != nullptr; }

private:
    HWND FWindow;
    HDC FDC;
};

// The whole window, frame included (GetWindowDC).
using WindowDC = BorrowedDC<GetWindowDC>;
// The client area, or the screen for a null window (GetDC).
using ClientDC = BorrowedDC<GetDC>;

// Selects an object into a DC and puts the DC's previous object back on scope
// exit. It remembers the DC it selected into, and restores nothing when the
// selection failed, so it can never restore into the wrong DC or into none.
class Selection {
public:
    template <class H>
    Selection(HDC dc, H object) noexcept : FDC(dc)
    {
        // SelectObject with a region sets the clip region and returns no
        // handle to restore; clipping has its own calls.
        static_assert(!std::is_same_v<H, HRGN>, "use SelectClipRgn for regions");
        if (dc && object) {
            HGDIOBJ previous = SelectObject(dc, object);
            if (previous && previous != HGDI_ERROR)
                FPrevious = previous;
        }
    }
    ~Selection()
    {
        if (FPrevious)
            SelectObject(FDC, FPrevious);
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

    // Selects another object of the same kind; scope exit still restores the
    // object that was there before the first selection.
    void Reselect(HGDIOBJ object) noexcept
    {
        if (FPrevious && object)
            SelectObject(FDC, object);
    }

    bool Selected() const noexcept { return FPrevious != nullptr; }

private:
    HDC FDC;
    HGDIOBJ FPrevious = nullptr;
};

// SaveDC on entry, RestoreDC on exit: viewport, clipping, colours and
// selections all come back as they were.
class SavedState {
public:
    explicit SavedState(HDC dc) noexcept : FDC(dc), FLevel(dc ? SaveDC(dc) : 0) {}
    ~SavedState()
    {
        if (FLevel > 0)
            RestoreDC(FDC, FLevel);
    }
    SavedState(const SavedState&) = delete;
    SavedState& operator=(const SavedState&) = delete;

    bool Saved() const noexcept { return FLevel > 0; }

private:
    HDC FDC;
    int FLevel;
};

} // namespace gdi
