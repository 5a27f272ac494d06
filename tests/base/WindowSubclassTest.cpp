#include "base/WindowSubclass.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr UINT WM_PROBE = WM_APP + 3;
constexpr LRESULT kAnswer = 4321;

// The window's own procedure answers the probe, so a probe that comes back
// with kAnswer went all the way down the chain.
LRESULT CALLBACK ClassProcW(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    return Msg == WM_PROBE ? kAnswer : DefWindowProcW(Window, Msg, WParam, LParam);
}
LRESULT CALLBACK ClassProcA(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    return Msg == WM_PROBE ? kAnswer : DefWindowProcA(Window, Msg, WParam, LParam);
}

// A top-level window of a plain class, wide or ANSI, destroyed with the
// object unless a test destroyed it first.
class TTestWindow {
public:
    explicit TTestWindow(bool Unicode = true)
    {
        if (Unicode) {
            static const ATOM Class = [] {
                WNDCLASSW C{};
                C.lpfnWndProc = &ClassProcW;
                C.hInstance = GetModuleHandleW(nullptr);
                C.lpszClassName = L"SubclassTestW";
                return RegisterClassW(&C);
            }();
            (void)Class;
            FWindow = CreateWindowExW(0, L"SubclassTestW", L"", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr,
                                      GetModuleHandleW(nullptr), nullptr);
        } else {
            static const ATOM Class = [] {
                WNDCLASSA C{};
                C.lpfnWndProc = &ClassProcA;
                C.hInstance = GetModuleHandleW(nullptr);
                C.lpszClassName = "SubclassTestA";
                return RegisterClassA(&C);
            }();
            (void)Class;
            FWindow = CreateWindowExA(0, "SubclassTestA", "", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr,
                                      GetModuleHandleW(nullptr), nullptr);
        }
    }
    ~TTestWindow()
    {
        if (IsWindow(FWindow))
            DestroyWindow(FWindow);
    }
    TTestWindow(const TTestWindow&) = delete;
    TTestWindow& operator=(const TTestWindow&) = delete;
    HWND Get() const noexcept { return FWindow; }
    LRESULT Probe() const { return SendMessageW(FWindow, WM_PROBE, 0, 0); }
    WNDPROC Proc() const { return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(FWindow, GWLP_WNDPROC)); }

private:
    HWND FWindow = nullptr;
};

// Logs the messages it sees and passes them on.
struct TLoggingSubclass {
    std::vector<UINT> Seen;
    TWindowSubclass Sub;
    UINT RemoveOn = 0;

    void Install(HWND Window, const void* Kind = nullptr)
    {
        Sub.Install(
            Window,
            [this](UINT Msg, WPARAM WParam, LPARAM LParam) {
                Seen.push_back(Msg);
                if (Msg == RemoveOn)
                    Sub.Remove();
                return Sub.CallPrevious(Msg, WParam, LParam);
            },
            Kind, this);
    }
    size_t Probes() const { return static_cast<size_t>(std::count(Seen.begin(), Seen.end(), WM_PROBE)); }
};

// A subclass of someone else's, put in with the raw calls.
struct TForeignSubclass {
    static inline WNDPROC Previous = nullptr;
    static inline int Calls = 0;
    static LRESULT CALLBACK Proc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam)
    {
        if (Msg == WM_PROBE)
            ++Calls;
        return CallWindowProcW(Previous, Window, Msg, WParam, LParam);
    }
    static void Install(HWND Window)
    {
        Calls = 0;
        Previous = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(Window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc)));
    }
    static void Remove(HWND Window)
    {
        SetWindowLongPtrW(Window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Previous));
    }
};

} // namespace

TEST(WindowSubclass, TwoSubclassesComeOffInEitherOrderAndGiveBackTheWindowsProcedure)
{
    for (const bool LowerFirst : {true, false}) {
        SCOPED_TRACE(LowerFirst ? "lower first" : "upper first");
        TTestWindow Window;
        const WNDPROC Original = Window.Proc();
        TLoggingSubclass Lower, Upper;
        Lower.Install(Window.Get());
        Upper.Install(Window.Get());
        EXPECT_EQ(Window.Probe(), kAnswer);
        EXPECT_EQ(Lower.Probes(), 1u);
        EXPECT_EQ(Upper.Probes(), 1u);

        TLoggingSubclass& First = LowerFirst ? Lower : Upper;
        TLoggingSubclass& Second = LowerFirst ? Upper : Lower;
        First.Sub.Remove();
        EXPECT_FALSE(First.Sub.Installed());
        EXPECT_EQ(Window.Probe(), kAnswer);
        EXPECT_EQ(First.Probes(), 1u);
        EXPECT_EQ(Second.Probes(), 2u);

        Second.Sub.Remove();
        EXPECT_EQ(Window.Probe(), kAnswer);
        EXPECT_EQ(Second.Probes(), 2u);
        EXPECT_EQ(Window.Proc(), Original);
    }
}

TEST(WindowSubclass, UnderAForeignSubclassItPassesThroughUntilTheWindowIsDestroyed)
{
    TTestWindow Window;
    auto Ours = std::make_unique<TLoggingSubclass>();
    Ours->Install(Window.Get());
    TForeignSubclass::Install(Window.Get());
    Ours->Sub.Remove();
    EXPECT_EQ(Window.Proc(), &TForeignSubclass::Proc);
    EXPECT_EQ(Window.Probe(), kAnswer);
    EXPECT_EQ(Ours->Probes(), 0u);
    // Its owner may go: the foreign one still calls our procedure.
    Ours.reset();
    EXPECT_EQ(Window.Probe(), kAnswer);
    EXPECT_EQ(TForeignSubclass::Calls, 2);
    // The foreign one leaves properly, putting back our procedure.
    TForeignSubclass::Remove(Window.Get());
    EXPECT_EQ(Window.Probe(), kAnswer);
    EXPECT_EQ(TForeignSubclass::Calls, 2);
    // A new subclass on the same window works beside the passing one.
    TLoggingSubclass Next;
    Next.Install(Window.Get());
    EXPECT_EQ(Window.Probe(), kAnswer);
    EXPECT_EQ(Next.Probes(), 1u);
}

TEST(WindowSubclass, AnAnsiWindowGetsAnsiMessagesAndItsProcedureBack)
{
    TTestWindow Window(false);
    ASSERT_FALSE(IsWindowUnicode(Window.Get()));
    const auto Original = GetWindowLongPtrA(Window.Get(), GWLP_WNDPROC);
    std::string Text;
    TWindowSubclass Sub(Window.Get(), [&](UINT Msg, WPARAM WParam, LPARAM LParam) {
        if (Msg == WM_SETTEXT)
            Text = reinterpret_cast<const char*>(LParam);
        return Sub.CallPrevious(Msg, WParam, LParam);
    });
    EXPECT_FALSE(IsWindowUnicode(Window.Get()));
    SetWindowTextW(Window.Get(), L"abc");
    EXPECT_EQ(Text, "abc");
    char Read[8]{};
    GetWindowTextA(Window.Get(), Read, 8);
    EXPECT_STREQ(Read, "abc");
    EXPECT_EQ(Window.Probe(), kAnswer);
    Sub.Remove();
    EXPECT_EQ(GetWindowLongPtrA(Window.Get(), GWLP_WNDPROC), Original);
}

TEST(WindowSubclass, LetsGoWhenTheWindowIsDestroyed)
{
    TTestWindow Window;
    TLoggingSubclass Lower, Upper;
    Lower.Install(Window.Get());
    Upper.Install(Window.Get());
    TForeignSubclass::Install(Window.Get());
    DestroyWindow(Window.Get());
    EXPECT_FALSE(Lower.Sub.Installed());
    EXPECT_FALSE(Upper.Sub.Installed());
    EXPECT_EQ(Lower.Seen.back(), static_cast<UINT>(WM_NCDESTROY));
    EXPECT_EQ(Upper.Seen.back(), static_cast<UINT>(WM_NCDESTROY));
    Lower.Sub.Remove();
}

TEST(WindowSubclass, AHandlerThatRemovesItsSubclassStillPassesTheMessageOn)
{
    TTestWindow Window;
    const WNDPROC Original = Window.Proc();
    TLoggingSubclass Sub;
    Sub.Install(Window.Get());
    Sub.RemoveOn = WM_PROBE;
    EXPECT_EQ(Window.Probe(), kAnswer);
    EXPECT_FALSE(Sub.Sub.Installed());
    EXPECT_EQ(Window.Proc(), Original);
    EXPECT_EQ(Window.Probe(), kAnswer);
    EXPECT_EQ(Sub.Probes(), 1u);
}

TEST(WindowSubclass, TheObjectIsFoundFromTheWindowWhileInstalled)
{
    static const int KindA = 0, KindB = 0;
    TTestWindow Window;
    TLoggingSubclass A, B;
    EXPECT_EQ(TWindowSubclass::FindObject(Window.Get(), &KindA), nullptr);
    A.Install(Window.Get(), &KindA);
    B.Install(Window.Get(), &KindB);
    EXPECT_EQ(TWindowSubclass::FindObject(Window.Get(), &KindA), &A);
    EXPECT_EQ(TWindowSubclass::FindObject(Window.Get(), &KindB), &B);
    A.Sub.Remove();
    EXPECT_EQ(TWindowSubclass::FindObject(Window.Get(), &KindA), nullptr);
    EXPECT_EQ(TWindowSubclass::FindObject(Window.Get(), &KindB), &B);
    EXPECT_EQ(TWindowSubclass::FindObject(nullptr, &KindB), nullptr);
}

TEST(WindowSubclass, RefusesAWindowOfAnotherThreadOrNone)
{
    TWindowSubclass Sub;
    EXPECT_THROW(Sub.Install(nullptr, [](UINT, WPARAM, LPARAM) -> LRESULT { return 0; }), std::system_error);
    EXPECT_THROW(Sub.Install(GetDesktopWindow(), [](UINT, WPARAM, LPARAM) -> LRESULT { return 0; }),
                 std::system_error);
    EXPECT_FALSE(Sub.Installed());
}
