// Reading a property by name, the way skinned controls read "Caption" or
// "Tag" at every paint, against calling the getter directly; the ratio is
// what looking a property up by name costs over a compiled call.
#include "framework/Component.h"

#include <chrono>
#include <cstdio>
#include <string>

namespace {

// A chain shaped like TComponent -> TControl -> TWinControl -> TForm:
// about forty properties, the one asked for near the root.
template <int Level>
class TLevel : public TLevel<Level - 1> {
public:
    using TLevel<Level - 1>::TLevel;
    static const TClassInfo& StaticClass()
    {
        static const TClassInfo& Info = *new TClassInfo([] {
            TClassBuilder<TLevel> Builder("TLevel" + std::to_string(Level), TLevel<Level - 1>::StaticClass());
            for (int I = 0; I < 10; ++I)
                Builder.Integer("Prop" + std::to_string(Level) + "_" + std::to_string(I),
                                [](const TLevel& L) { return L.Tag; });
            return Builder.Build();
        }());
        return Info;
    }
    const TClassInfo& ClassType() const override { return StaticClass(); }
};

template <>
class TLevel<0> : public TComponent {
public:
    using TComponent::TComponent;
    virtual int TagValue() const { return Tag; }
};

template <class F>
double NanosecondsPerCall(F Call, int Count)
{
    const auto Start = std::chrono::steady_clock::now();
    long long Sum = 0;
    for (int I = 0; I < Count; ++I)
        Sum += Call(I);
    const auto Elapsed = std::chrono::steady_clock::now() - Start;
    if (Sum == 42)
        std::puts("");
    return std::chrono::duration<double, std::nano>(Elapsed).count() / Count;
}

} // namespace

int main()
{
    TLevel<4> Object(nullptr);
    Object.Tag = 99;
    const TLevel<0>* Base = &Object;
    constexpr int Count = 2000000;
    const double ByName = NanosecondsPerCall([&](int) { return *GetOrdProp(&Object, "tag"); }, Count);
    const double Direct = NanosecondsPerCall([&](int I) { return Base->TagValue() + (I & 1); }, Count);
    const double Missing = NanosecondsPerCall([&](int) { return GetOrdProp(&Object, "Glyph") ? 1 : 0; }, Count);
    std::printf("%-40s %8.1f ns  x%.1f\n", "framework.prop_by_name", ByName, ByName / Direct);
    std::printf("%-40s %8.1f ns  x%.1f\n", "framework.prop_missing", Missing, Missing / Direct);
    std::printf("%-40s %8.1f ns  x%.1f\n", "framework.getter_direct", Direct, 1.0);
}
