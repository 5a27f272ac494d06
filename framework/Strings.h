// TStrings: a list of text lines with a change notification, the Items of
// combo boxes and list boxes. Portable.
#pragma once

#include "Component.h"
#include "SysUtils.h"

#include <string>
#include <string_view>
#include <vector>

// An index outside a list.
class EListError : public Exception {
public:
    using Exception::Exception;
};

class TStrings : public TPersistent {
    VK_CLASS_INFO
public:
    int Count() const noexcept { return static_cast<int>(FItems.size()); }
    // Throws EListError for an index outside 0 .. Count-1.
    const std::wstring& Strings(int Index) const;
    const std::wstring& operator[](int Index) const { return Strings(Index); }
    void Put(int Index, const std::wstring& Value);
    int Add(const std::wstring& Value);
    void Insert(int Index, const std::wstring& Value);
    void Delete(int Index);
    void Clear();
    // Exact match; -1 when absent.
    int IndexOf(std::wstring_view Value) const noexcept;
    void Assign(const std::vector<std::wstring>& Lines);
    const std::vector<std::wstring>& Lines() const noexcept { return FItems; }
    // The lines joined by CR LF; setting splits at CR LF, LF or CR.
    std::wstring Text() const;
    void SetText(const std::wstring& Value);

    // Changes between BeginUpdate and the matching EndUpdate raise one
    // OnChange at the end.
    void BeginUpdate() noexcept { ++FUpdateCount; }
    void EndUpdate();

    TNotifyEvent OnChange;

private:
    void CheckIndex(int Index, int Limit) const;
    void Changed();

    std::vector<std::wstring> FItems;
    int FUpdateCount = 0;
    bool FChangedInUpdate = false;
};

