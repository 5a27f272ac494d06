// The process's GDI object count for leak tests. Windows reports it through
// GetGuiResources; Wine answers 0 there, but keeps its GDI handle table where
// Windows does (PEB::GdiSharedHandleTable), one entry per live object, so the
// used entries are counted instead. When neither works the owners' own count
// (gdi::LiveHandles) is the measure.
#pragma once

#include "framework/GdiObjects.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace gditest {

// Layout of one handle-table entry on x64 (Windows and Wine agree).
struct THandleEntry {
    std::uint64_t Object;
    std::uint32_t Owner;
    std::uint16_t Unique;
    std::uint8_t Type;
    std::uint8_t Flags;
    std::uint64_t UserPointer;
};
static_assert(sizeof(THandleEntry) == 24);
constexpr std::size_t HandleTableSize = 0x10000;
constexpr std::size_t PebOffsetOfGdiTable = 0xF8;

inline const THandleEntry* HandleTable()
{
    struct TBasicInformation {
        LONG_PTR ExitStatus;
        const std::uint8_t* PebBaseAddress;
        ULONG_PTR Rest[4];
    } information{};
    using TQuery = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    const auto query = reinterpret_cast<TQuery>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    if (!query || query(GetCurrentProcess(), 0, &information, sizeof(information), nullptr) != 0
        || !information.PebBaseAddress)
        return nullptr;
    const THandleEntry* table = nullptr;
    std::memcpy(&table, information.PebBaseAddress + PebOffsetOfGdiTable, sizeof(table));
    return table;
}

inline long HandleTableCount()
{
    const THandleEntry* table = HandleTable();
    if (!table)
        return -1;
    long used = 0;
    for (std::size_t i = 0; i < HandleTableSize; ++i)
        used += table[i].Type != 0 ? 1 : 0;
    return used;
}

struct TCounter {
    const char* Source;
    long (*Count)();
};

// The first source that sees ten new brushes as ten more objects.
inline TCounter ChooseCounter()
{
    const TCounter candidates[] = {
        {"GetGuiResources", [] { return static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)); }},
        {"GDI handle table", HandleTableCount},
        {"GDI owners", gdi::LiveHandles},
    };
    for (const TCounter& counter : candidates) {
        const long before = counter.Count();
        {
            gdi::Brush brushes[10];
            for (int i = 0; i < 10; ++i)
                brushes[i].Reset(CreateSolidBrush(RGB(i, 1, 2)));
            if (before < 0 || counter.Count() - before != 10)
                continue;
        }
        if (counter.Count() == before)
            return counter;
    }
    return candidates[2];
}

// Every window of this thread, children included.
inline int ThreadWindowsWithChildren()
{
    int count = 0;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM data) -> BOOL {
            ++*reinterpret_cast<int*>(data);
            EnumChildWindows(
                window, [](HWND, LPARAM inner) -> BOOL { return ++*reinterpret_cast<int*>(inner), TRUE; }, data);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

// USER objects for soak loops: what the system counts (Wine answers 0) and
// the thread's windows, which are the USER objects a skin engine makes.
inline long UserObjectCount()
{
    return static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)) + ThreadWindowsWithChildren();
}

// A soak's GDI and USER objects, counted at the end of its first round
// (which makes what the system makes once on first use) and expected again
// at the end of its last.
class TFlatAfterFirstRound {
public:
    explicit TFlatAfterFirstRound(TCounter counter) : FCounter(counter) {}
    void EndOfRound(int round)
    {
        if (round == 0) {
            FGdi = FCounter.Count();
            FUser = UserObjectCount();
        }
    }
    // Counts that grew after the first round, as a failure message; empty
    // when both stayed flat.
    std::string Growth() const
    {
        const long gdi = FCounter.Count() - FGdi;
        const long user = UserObjectCount() - FUser;
        if (gdi == 0 && user == 0)
            return {};
        return "GDI objects (" + std::string(FCounter.Source) + ") " + std::to_string(gdi) + ", USER objects " +
               std::to_string(user);
    }

private:
    TCounter FCounter;
    long FGdi = 0;
    long FUser = 0;
};

} // namespace gditest
