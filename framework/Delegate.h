// A method pointer: an object and one of its member functions, the shape of
// every event and of the WindowProc message hook. Unlike std::function it
// compares equal to another delegate bound to the same object and member, so
// a hook can check whether it is still the one installed and put back the
// hook it replaced. Portable.
#pragma once

#include <functional>
#include <utility>

template <class Signature>
class TDelegate;

template <class R, class... Args>
class TDelegate<R(Args...)> {
public:
    TDelegate() = default;

    template <auto Method, class C>
    static TDelegate Bind(C* Object)
    {
        return TDelegate(static_cast<void*>(Object), &CallMethod<Method, C>);
    }

    // A free function or a static member, for code that has no object.
    template <auto Function>
    static TDelegate BindFunction()
    {
        return TDelegate(nullptr, &CallFunction<Function>);
    }

    explicit operator bool() const noexcept { return FThunk != nullptr; }
    void* Data() const noexcept { return FData; }

    R operator()(Args... A) const { return FThunk(FData, std::forward<Args>(A)...); }

    bool operator==(const TDelegate&) const = default;

private:
    using TThunk = R (*)(void*, Args...);

    TDelegate(void* Data, TThunk Thunk) : FData(Data), FThunk(Thunk) {}

    template <auto Method, class C>
    static R CallMethod(void* Data, Args... A)
    {
        return std::invoke(Method, static_cast<C*>(Data), std::forward<Args>(A)...);
    }

    template <auto Function>
    static R CallFunction(void*, Args... A)
    {
        return Function(std::forward<Args>(A)...);
    }

    void* FData = nullptr;
    TThunk FThunk = nullptr;
};

namespace delegate_detail {
template <class M>
struct TMethodSignature;
template <class C, class R, class... A>
struct TMethodSignature<R (C::*)(A...)> {
    using Type = R(A...);
};
template <class C, class R, class... A>
struct TMethodSignature<R (C::*)(A...) noexcept> {
    using Type = R(A...);
};
} // namespace delegate_detail

// MakeDelegate<&TFrmMain::imgAddClick>(this): the delegate type follows from
// the member's signature.
template <auto Method, class C>
auto MakeDelegate(C* Object)
{
    using Signature = typename delegate_detail::TMethodSignature<decltype(Method)>::Type;
    return TDelegate<Signature>::template Bind<Method>(Object);
}
