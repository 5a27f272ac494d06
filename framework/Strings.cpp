#include "Strings.h"

#include "SysUtils.h"

const TClassInfo& TStrings::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo(TClassBuilder<TStrings>("TStrings", TPersistent::StaticClass())
        .Integer("Count", &TStrings::Count)
        .WideText("Text", &TStrings::Text, &TStrings::SetText)
        .Build());
    return Info;
}

void TStrings::CheckIndex(int Index, int Limit) const
{
    if (Index < 0 || Index >= Limit)
        throw EListError(L"List index out of bounds (" + std::to_wstring(Index) + L")");
}

const std::wstring& TStrings::Strings(int Index) const
{
    CheckIndex(Index, Count());
    return FItems[static_cast<size_t>(Index)];
}

void TStrings::Put(int Index, const std::wstring& Value)
{
    CheckIndex(Index, Count());
    FItems[static_cast<size_t>(Index)] = Value;
    Changed();
}

int TStrings::Add(const std::wstring& Value)
{
    FItems.push_back(Value);
    Changed();
    return Count() - 1;
}

void TStrings::Insert(int Index, const std::wstring& Value)
{
    CheckIndex(Index, Count() + 1);
    FItems.insert(FItems.begin() + Index, Value);
    Changed();
}

void TStrings::Delete(int Index)
{
    CheckIndex(Index, Count());
    FItems.erase(FItems.begin() + Index);
    Changed();
}

void TStrings::Clear()
{
    if (FItems.empty())
        return;
    FItems.clear();
    Changed();
}

int TStrings::IndexOf(std::wstring_view Value) const noexcept
{
    for (size_t I = 0; I < FItems.size(); ++I)
        if (FItems[I] == Value)
            return static_cast<int>(I);
    return -1;
}

void TStrings::Assign(const std::vector<std::wstring>& Lines)
{
    FItems = Lines;
    Changed();
}

std::wstring TStrings::Text() const
{
    std::wstring Out;
    for (const std::wstring& Line : FItems)
        Out += Line + L"\r\n";
    return Out;
}

void TStrings::SetText(const std::wstring& Value)
{
    std::vector<std::wstring> Lines;
    size_t Start = 0;
    while (Start < Value.size()) {
        const size_t End = Value.find_first_of(L"\r\n", Start);
        if (End == std::wstring::npos) {
            Lines.push_back(Value.substr(Start));
            break;
        }
        Lines.push_back(Value.substr(Start, End - Start));
        Start = End + ((Value[End] == L'\r' && End + 1 < Value.size() && Value[End + 1] == L'\n') ? 2 : 1);
    }
    Assign(Lines);
}

void TStrings::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0 && std::exchange(FChangedInUpdate, false))
        Changed();
}

void TStrings::Changed()
{
    if (FUpdateCount > 0) {
        FChangedInUpdate = true;
        return;
    }
    if (OnChange)
        OnChange(this);
}
