#include "TypInfo.h"

#include "SysUtils.h"

#include <charconv>

TClassInfo::TClassInfo(std::string Name, const TClassInfo* Parent, std::vector<TPropInfo> Props)
    : FName(std::move(Name)), FParent(Parent), FProps(std::move(Props))
{
}

bool TClassInfo::InheritsFrom(const TClassInfo& Other) const noexcept
{
    for (const TClassInfo* C = this; C; C = C->FParent)
        if (C == &Other)
            return true;
    return false;
}

const TPropInfo* TClassInfo::FindProp(std::string_view PropName) const noexcept
{
    for (const TClassInfo* C = this; C; C = C->FParent)
        for (const TPropInfo& P : C->FProps)
            if (SameText(P.Name, PropName))
                return &P;
    return nullptr;
}

bool TPropInfo::IsOrdinal() const noexcept
{
    return Kind == TTypeKind::tkInteger || Kind == TTypeKind::tkEnumeration || Kind == TTypeKind::tkSet;
}

bool TPropInfo::IsText() const noexcept
{
    return Kind == TTypeKind::tkString || Kind == TTypeKind::tkWString;
}

bool TPropInfo::Writable() const noexcept
{
    return SetOrd || SetStr || SetWStr;
}

const TClassInfo& TObject::StaticClass()
{
    static const TClassInfo& Info = *new TClassInfo("TObject", nullptr, {});
    return Info;
}

bool TObject::InheritsFrom(std::string_view ClassName) const
{
    for (const TClassInfo* C = &ClassType(); C; C = C->Parent())
        if (SameText(C->Name(), ClassName))
            return true;
    return false;
}

const TPropInfo* GetPropInfo(const TObject* Object, std::string_view Name) noexcept
{
    return Object ? Object->ClassType().FindProp(Name) : nullptr;
}

std::optional<int64_t> GetOrdProp(const TObject* Object, std::string_view Name)
{
    const TPropInfo* P = GetPropInfo(Object, Name);
    if (!P || !P->IsOrdinal())
        return std::nullopt;
    return P->GetOrd(*Object);
}

std::optional<std::string> GetEnumProp(const TObject* Object, std::string_view Name)
{
    const TPropInfo* P = GetPropInfo(Object, Name);
    if (!P || P->Kind != TTypeKind::tkEnumeration)
        return std::nullopt;
    const int64_t Value = P->GetOrd(*Object);
    if (Value < 0 || Value >= static_cast<int64_t>(P->ValueNames.size()))
        return std::string();
    return P->ValueNames[static_cast<size_t>(Value)];
}

std::optional<std::wstring> GetStrProp(const TObject* Object, std::string_view Name)
{
    const TPropInfo* P = GetPropInfo(Object, Name);
    if (!P || !P->IsText())
        return std::nullopt;
    if (P->Kind == TTypeKind::tkWString)
        return P->GetWStr(*Object);
    return Utf8ToWide(P->GetStr(*Object));
}

TObject* GetObjectProp(const TObject* Object, std::string_view Name, const TClassInfo* Class)
{
    const TPropInfo* P = GetPropInfo(Object, Name);
    if (!P || P->Kind != TTypeKind::tkClass)
        return nullptr;
    TObject* Value = P->GetObj(*Object);
    if (Value && Class && !Value->InheritsFrom(*Class))
        return nullptr;
    return Value;
}

bool SetObjectProp(TObject* Object, std::string_view Name, TObject* Value)
{
    const TPropInfo* P = GetPropInfo(Object, Name);
    if (!P || P->Kind != TTypeKind::tkClass || !P->SetObj)
        return false;
    if (Value && P->ObjectClass && !Value->InheritsFrom(*P->ObjectClass))
        return false;
    P->SetObj(*Object, Value);
    return true;
}

namespace {

std::string_view Trim(std::string_view S)
{
    while (!S.empty() && (S.front() == ' ' || S.front() == '\t'))
        S.remove_prefix(1);
    while (!S.empty() && (S.back() == ' ' || S.back() == '\t'))
        S.remove_suffix(1);
    return S;
}

std::optional<int64_t> ParseInteger(std::string_view S)
{
    S = Trim(S);
    bool Negative = false;
    if (!S.empty() && (S.front() == '-' || S.front() == '+')) {
        Negative = S.front() == '-';
        S.remove_prefix(1);
    }
    int Base = 10;
    if (!S.empty() && S.front() == '$') {
        Base = 16;
        S.remove_prefix(1);
    } else if (S.size() > 2 && S[0] == '0' && (S[1] == 'x' || S[1] == 'X')) {
        Base = 16;
        S.remove_prefix(2);
    }
    uint64_t Magnitude = 0;
    const auto [End, Error] = std::from_chars(S.data(), S.data() + S.size(), Magnitude, Base);
    if (S.empty() || Error != std::errc() || End != S.data() + S.size())
        return std::nullopt;
    constexpr uint64_t Limit = static_cast<uint64_t>(INT64_MAX);
    if (Magnitude > Limit + (Negative ? 1 : 0))
        return std::nullopt;
    return Negative ? static_cast<int64_t>(0 - Magnitude) : static_cast<int64_t>(Magnitude);
}

std::optional<int64_t> IndexOfName(const TPropInfo& Prop, std::string_view Name)
{
    Name = Trim(Name);
    for (size_t I = 0; I < Prop.ValueNames.size(); ++I)
        if (SameText(Prop.ValueNames[I], Name))
            return static_cast<int64_t>(I);
    return std::nullopt;
}

std::optional<int64_t> OrdinalFromText(const TPropInfo& Prop, std::string_view Text)
{
    switch (Prop.Kind) {
    case TTypeKind::tkInteger:
        return ParseInteger(Text);
    case TTypeKind::tkEnumeration:
        return IndexOfName(Prop, Text);
    case TTypeKind::tkSet:
        return StringToSet(Prop, Text);
    default:
        return std::nullopt;
    }
}

bool ValidOrdinal(const TPropInfo& Prop, int64_t Value)
{
    const auto Count = static_cast<int64_t>(Prop.ValueNames.size());
    if (Prop.Kind == TTypeKind::tkEnumeration)
        return Value >= 0 && Value < Count;
    if (Prop.Kind == TTypeKind::tkSet)
        return Value >= 0 && (Count >= 63 || Value < (int64_t{1} << Count));
    return Value >= Prop.MinValue && Value <= Prop.MaxValue;
}

// A setter would cast the value into its type and keep whatever bits fit.
void WriteOrdinal(TObject& Object, const TPropInfo& Prop, int64_t Value)
{
    if (!ValidOrdinal(Prop, Value))
        throw ERangeError(L"Property " + Utf8ToWide(Prop.Name) + L" cannot hold the value " +
                          std::to_wstring(Value));
    Prop.SetOrd(Object, Value);
}

} // namespace

std::string SetToString(const TPropInfo& Prop, int64_t Value)
{
    std::string Out = "[";
    for (size_t I = 0; I < Prop.ValueNames.size() && I < 63; ++I) {
        if (!(Value & (int64_t{1} << I)))
            continue;
        if (Out.size() > 1)
            Out += ',';
        Out += Prop.ValueNames[I];
    }
    return Out + "]";
}

std::optional<int64_t> StringToSet(const TPropInfo& Prop, std::string_view Text)
{
    Text = Trim(Text);
    if (Text.size() < 2 || Text.front() != '[' || Text.back() != ']')
        return std::nullopt;
    Text = Trim(Text.substr(1, Text.size() - 2));
    int64_t Value = 0;
    while (!Text.empty()) {
        const size_t Comma = Text.find(',');
        const auto Index = IndexOfName(Prop, Text.substr(0, Comma));
        if (!Index || *Index >= 63)
            return std::nullopt;
        Value |= int64_t{1} << *Index;
        if (Comma == std::string_view::npos)
            break;
        Text.remove_prefix(Comma + 1);
    }
    return Value;
}

bool SetOrdProp(TObject* Object, std::string_view Name, int64_t Value)
{
    const TPropInfo* P = GetPropInfo(Object, Name);
    if (!P || !P->IsOrdinal() || !P->SetOrd)
        return false;
    WriteOrdinal(*Object, *P, Value);
    return true;
}

bool SetPropValue(TObject* Object, std::string_view Name, std::wstring_view Text)
{
    const TPropInfo* P = GetPropInfo(Object, Name);
    if (!P)
        return false;
    if (P->Kind == TTypeKind::tkWString && P->SetWStr) {
        P->SetWStr(*Object, std::wstring(Text));
        return true;
    }
    if (P->Kind == TTypeKind::tkString && P->SetStr) {
        P->SetStr(*Object, WideToUtf8(Text));
        return true;
    }
    if (!P->IsOrdinal() || !P->SetOrd)
        return false;
    const auto Value = OrdinalFromText(*P, WideToUtf8(Text));
    if (!Value)
        return false;
    WriteOrdinal(*Object, *P, *Value);
    return true;
}
