// Run-time class information and published properties read and written by
// name. The skin engine works on controls it knows only by their class name
// and by the properties they publish ("Caption", "Font", "Checked" ...), so
// every framework class describes itself here. Portable.
#pragma once

#include <cstdint>
#include <limits>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

class TObject;

enum class TTypeKind {
    tkInteger,
    tkEnumeration, // booleans too, with the value names "False" and "True"
    tkSet,         // bit i of the value is element i of ValueNames
    tkString,      // narrow text, UTF-8
    tkWString,     // UTF-16 text
    tkClass        // an object reference
};

struct TPropInfo {
    std::string Name;
    TTypeKind Kind = TTypeKind::tkInteger;
    std::vector<std::string> ValueNames;    // tkEnumeration, tkSet
    // tkInteger: what the property's type can hold.
    int64_t MinValue = INT64_MIN;
    int64_t MaxValue = INT64_MAX;
    const class TClassInfo* ObjectClass = nullptr; // tkClass: the declared class
    std::function<int64_t(const TObject&)> GetOrd;
    std::function<void(TObject&, int64_t)> SetOrd;
    std::function<std::string(const TObject&)> GetStr;
    std::function<void(TObject&, const std::string&)> SetStr;
    std::function<std::wstring(const TObject&)> GetWStr;
    std::function<void(TObject&, const std::wstring&)> SetWStr;
    std::function<TObject*(const TObject&)> GetObj;
    std::function<void(TObject&, TObject*)> SetObj;

    bool IsOrdinal() const noexcept;
    bool IsText() const noexcept;
    bool Writable() const noexcept;
};

class TClassInfo {
public:
    TClassInfo(std::string Name, const TClassInfo* Parent, std::vector<TPropInfo> Props);
    TClassInfo(const TClassInfo&) = delete;
    TClassInfo& operator=(const TClassInfo&) = delete;

    const std::string& Name() const noexcept { return FName; }
    const TClassInfo* Parent() const noexcept { return FParent; }
    bool InheritsFrom(const TClassInfo& Other) const noexcept;
    // Case-insensitive; the class's own properties hide its ancestors'.
    const TPropInfo* FindProp(std::string_view PropName) const noexcept;
    const std::vector<TPropInfo>& OwnProps() const noexcept { return FProps; }

private:
    std::string FName;
    const TClassInfo* FParent;
    std::vector<TPropInfo> FProps;
};

// Root of the framework's classes: class identity and no copying, because
// objects are referred to by address (owners, parents, window properties).
class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;

    static const TClassInfo& StaticClass();
    virtual const TClassInfo& ClassType() const { return StaticClass(); }

    const std::string& ClassName() const { return ClassType().Name(); }
    bool InheritsFrom(const TClassInfo& Class) const { return ClassType().InheritsFrom(Class); }
    // By name, case-insensitive: "this class or a descendant" for classes the
    // caller cannot name at compile time.
    bool InheritsFrom(std::string_view ClassName) const;
    template <class T>
    bool Is() const { return InheritsFrom(T::StaticClass()); }
};

// Put at the top of every class body that derives from TObject; define
// StaticClass() in the .cpp with a TClassBuilder. A class without it reports
// its ancestor's name. Class information is made once and never freed
//     static const TClassInfo& Info = *new TClassInfo(TClassBuilder<T>(...)...Build());
// because objects freed during the program's exit (forms owned by the
// application object) still ask for their class after function-local
// statics are gone.
#define VK_CLASS_INFO                                                         \
public:                                                                       \
    static const TClassInfo& StaticClass();                                   \
    const TClassInfo& ClassType() const override { return StaticClass(); }

// Builds the class information of T. Getters are callables on const T&
// (const member functions, data members, lambdas); setters are callables on
// (T&, value), or nullptr for a read-only property.
template <class T>
class TClassBuilder {
public:
    TClassBuilder(std::string Name, const TClassInfo& Parent) : FName(std::move(Name)), FParent(&Parent) {}

    template <class G, class S = std::nullptr_t>
    TClassBuilder& Integer(std::string Name, G Getter, S Setter = nullptr)
    {
        return Ordinal(std::move(Name), TTypeKind::tkInteger, {}, Getter, Setter);
    }

    template <class G, class S = std::nullptr_t>
    TClassBuilder& Bool(std::string Name, G Getter, S Setter = nullptr)
    {
        return Ordinal(std::move(Name), TTypeKind::tkEnumeration, {"False", "True"}, Getter, Setter);
    }

    // ValueNames in the order of the enumeration's values 0, 1, 2 ...
    template <class G, class S = std::nullptr_t>
    TClassBuilder& Enum(std::string Name, std::vector<std::string> ValueNames, G Getter, S Setter = nullptr)
    {
        return Ordinal(std::move(Name), TTypeKind::tkEnumeration, std::move(ValueNames), Getter, Setter);
    }

    // Element i of ElementNames is bit i of the value.
    template <class G, class S = std::nullptr_t>
    TClassBuilder& Set(std::string Name, std::vector<std::string> ElementNames, G Getter, S Setter = nullptr)
    {
        return Ordinal(std::move(Name), TTypeKind::tkSet, std::move(ElementNames), Getter, Setter);
    }

    template <class G, class S = std::nullptr_t>
    TClassBuilder& Text(std::string Name, G Getter, S Setter = nullptr)
    {
        TPropInfo& P = Add(std::move(Name), TTypeKind::tkString);
        P.GetStr = [Getter](const TObject& O) { return std::string(std::invoke(Getter, Self(O))); };
        if constexpr (!std::is_null_pointer_v<S>)
            P.SetStr = [Setter](TObject& O, const std::string& V) { std::invoke(Setter, Self(O), V); };
        return *this;
    }

    template <class G, class S = std::nullptr_t>
    TClassBuilder& WideText(std::string Name, G Getter, S Setter = nullptr)
    {
        TPropInfo& P = Add(std::move(Name), TTypeKind::tkWString);
        P.GetWStr = [Getter](const TObject& O) { return std::wstring(std::invoke(Getter, Self(O))); };
        if constexpr (!std::is_null_pointer_v<S>)
            P.SetWStr = [Setter](TObject& O, const std::wstring& V) { std::invoke(Setter, Self(O), V); };
        return *this;
    }

    // A setter, when given, is called with nullptr or an object of Class
    // (or a descendant); SetObjectProp refuses anything else.
    template <class G, class S = std::nullptr_t>
    TClassBuilder& Object(std::string Name, const TClassInfo& Class, G Getter, S Setter = nullptr)
    {
        TPropInfo& P = Add(std::move(Name), TTypeKind::tkClass);
        P.ObjectClass = &Class;
        P.GetObj = [Getter](const TObject& O) -> TObject* { return std::invoke(Getter, Self(O)); };
        if constexpr (!std::is_null_pointer_v<S>)
            P.SetObj = [Setter](TObject& O, TObject* V) { std::invoke(Setter, Self(O), V); };
        return *this;
    }

    // A public data member, read and written directly.
    template <class V>
    TClassBuilder& Field(std::string Name, V T::*Member)
    {
        auto Setter = [Member](T& O, const V& Value) { O.*Member = Value; };
        if constexpr (std::is_same_v<V, bool>)
            return Bool(std::move(Name), Member, Setter);
        else if constexpr (std::is_integral_v<V>)
            return Integer(std::move(Name), Member, Setter);
        else if constexpr (std::is_same_v<V, std::wstring>)
            return WideText(std::move(Name), Member, Setter);
        else
            return Text(std::move(Name), Member, Setter);
    }

    TClassInfo Build() { return TClassInfo(std::move(FName), FParent, std::move(FProps)); }

private:
    static const T& Self(const TObject& O) { return static_cast<const T&>(O); }
    static T& Self(TObject& O) { return static_cast<T&>(O); }

    TPropInfo& Add(std::string Name, TTypeKind Kind)
    {
        TPropInfo& P = FProps.emplace_back();
        P.Name = std::move(Name);
        P.Kind = Kind;
        return P;
    }

    template <class G, class S>
    TClassBuilder& Ordinal(std::string Name, TTypeKind Kind, std::vector<std::string> ValueNames, G Getter, S Setter)
    {
        using TArg = std::remove_cvref_t<std::invoke_result_t<G, const T&>>;
        TPropInfo& P = Add(std::move(Name), Kind);
        P.ValueNames = std::move(ValueNames);
        if constexpr (std::is_integral_v<TArg>) {
            using TLimits = std::numeric_limits<TArg>;
            P.MinValue = static_cast<int64_t>(TLimits::min());
            if constexpr (std::is_unsigned_v<TArg> && sizeof(TArg) >= sizeof(int64_t))
                P.MaxValue = INT64_MAX;
            else
                P.MaxValue = static_cast<int64_t>(TLimits::max());
        }
        P.GetOrd = [Getter](const TObject& O) { return static_cast<int64_t>(std::invoke(Getter, Self(O))); };
        if constexpr (!std::is_null_pointer_v<S>) {
            P.SetOrd = [Setter](TObject& O, int64_t V) { std::invoke(Setter, Self(O), static_cast<TArg>(V)); };
        }
        return *this;
    }

    std::string FName;
    const TClassInfo* FParent;
    std::vector<TPropInfo> FProps;
};

// Access by name. A missing property, a nil object or a property of another
// kind reads as "absent" (nullopt / nullptr) and never throws.
const TPropInfo* GetPropInfo(const TObject* Object, std::string_view Name) noexcept;
// Integer, enumeration and set properties.
std::optional<int64_t> GetOrdProp(const TObject* Object, std::string_view Name);
// Enumeration properties only: the value's name ("True", "bsNone").
std::optional<std::string> GetEnumProp(const TObject* Object, std::string_view Name);
// Wide text as it is, narrow text converted from UTF-8.
std::optional<std::wstring> GetStrProp(const TObject* Object, std::string_view Name);
// An object property whose value is of Class or a descendant (any class when
// Class is nullptr).
TObject* GetObjectProp(const TObject* Object, std::string_view Name, const TClassInfo* Class = nullptr);

// Writes from text: integers parsed as decimal (a leading '$' or "0x" for
// hexadecimal), enumerations by value name, sets as "[a,b]", text as is.
// Object properties and read-only ones are left alone. Returns false, and
// leaves the property unchanged, when nothing was written. A number the
// property's type cannot hold (beyond an integer's width, an enumeration
// ordinal or set bit it does not have) throws ERangeError naming the
// property, and leaves it unchanged.
bool SetPropValue(TObject* Object, std::string_view Name, std::wstring_view Text);
bool SetOrdProp(TObject* Object, std::string_view Name, int64_t Value);
// Object properties with a setter: Value must be nullptr or of the
// property's declared class. Returns false, and changes nothing, otherwise.
bool SetObjectProp(TObject* Object, std::string_view Name, TObject* Value);

std::string SetToString(const TPropInfo& Prop, int64_t Value);
std::optional<int64_t> StringToSet(const TPropInfo& Prop, std::string_view Text);
