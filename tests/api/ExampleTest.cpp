// The plain C example as a user starts it: its main window comes up wearing
// the light skin beside it (the caption band read back against the skin's
// own top border bitmap), or, given a skin file that is not there, comes up
// drawn by the system and works all the same; either way it closes cleanly
// with status 0.
#include "api/ApiTestSupport.h"
#include "support/Input.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace apitest;

namespace {

const std::wstring kExample = Widen(VIDKILN_EXAMPLE_EXE);
const std::wstring kEditor = Widen(VIDKILN_EDITOR_EXE);
const std::wstring kLightDir = Widen(VIDKILN_LIGHT_SKIN_DIR);

class TProcess {
public:
    TProcess(const std::wstring& program, const std::wstring& argument)
    {
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        std::wstring commandLine = L"\"" + program + L"\" " + argument;
        if (CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                           &startup, &FInfo)) {
            CloseHandle(FInfo.hThread);
            FInfo.hThread = nullptr;
        }
    }
    ~TProcess()
    {
        if (FInfo.hProcess) {
            if (WaitForSingleObject(FInfo.hProcess, 0) == WAIT_TIMEOUT)
                TerminateProcess(FInfo.hProcess, 1);
            CloseHandle(FInfo.hProcess);
        }
    }
    TProcess(const TProcess&) = delete;
    TProcess& operator=(const TProcess&) = delete;
    HANDLE Handle() const noexcept { return FInfo.hProcess; }

private:
    PROCESS_INFORMATION FInfo{};
};

// The example's top-level window of a class, once shown.
HWND ShownWindow(const wchar_t* className, const wchar_t* title = nullptr)
{
    HWND window = nullptr;
    PumpUntil([&] {
        window = FindWindowW(className, title);
        return window && IsWindowVisible(window);
    });
    return window && IsWindowVisible(window) ? window : nullptr;
}

// Closes the example's main window and expects a clean exit.
void CloseAndExpectCleanExit(const TProcess& example, HWND window)
{
    PostMessageW(window, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForSingleObject(example.Handle(), 10000), WAIT_OBJECT_0) << "the example's exit";
    DWORD status = 99;
    GetExitCodeProcess(example.Handle(), &status);
    EXPECT_EQ(status, 0u);
}

// Starts the example, waits for its main window and for the caption the
// case expects, then closes it.
void RunExample(const std::wstring& argument, const std::function<bool(HWND)>& caption, const char* awaited)
{
    const TProcess example(kExample, argument);
    ASSERT_NE(example.Handle(), nullptr) << "CreateProcess failed with " << GetLastError();
    HWND window = ShownWindow(L"SkinnedWindowExample");
    ASSERT_NE(window, nullptr) << "the example's main window";
    EXPECT_TRUE(PumpUntil([&] { return caption(window); })) << awaited;
    CloseAndExpectCleanExit(example, window);
}

// Keys held together, pressed in order and released in reverse.
void Chord(std::initializer_list<WORD> keys)
{
    std::vector<INPUT> inputs;
    for (WORD key : keys)
        inputs.push_back(INPUT{INPUT_KEYBOARD, {.ki = {key, 0, 0, 0, 0}}});
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key)
        inputs.push_back(INPUT{INPUT_KEYBOARD, {.ki = {*key, 0, KEYEVENTF_KEYUP, 0, 0}}});
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// Text typed as the keyboard would type it.
void Type(const std::wstring& text)
{
    std::vector<INPUT> inputs;
    for (wchar_t c : text) {
        inputs.push_back(INPUT{INPUT_KEYBOARD, {.ki = {0, static_cast<WORD>(c), KEYEVENTF_UNICODE, 0, 0}}});
        inputs.push_back(
            INPUT{INPUT_KEYBOARD, {.ki = {0, static_cast<WORD>(c), KEYEVENTF_UNICODE | KEYEVENTF_KEYUP, 0, 0}}});
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// The editor's dialog of a title (the system's find, replace or font
// dialog), once shown.
HWND EditorDialog(HWND editor, const wchar_t* title)
{
    HWND dialog = ShownWindow(L"#32770", title);
    return dialog && GetWindow(dialog, GW_OWNER) == editor ? dialog : nullptr;
}

TEST(SkinnedWindowExample, ComesUpSkinnedAndClosesCleanly)
{
    const TCaptionBand band = ReadCaptionBand(kLightDir);
    ASSERT_GT(band.Height, 6);
    RunExample(L"", [&](HWND window) { return WearsSkin(window, band); }, "the light skin's caption band");
}

TEST(SkinnedWindowExample, WithoutItsSkinComesUpUnskinnedAndClosesCleanly)
{
    const TCaptionBand band = ReadCaptionBand(kLightDir);
    ASSERT_GT(band.Height, 6);
    RunExample(L"no-such-skin.skn", [&](HWND window) { return SystemDrawn(window, band); },
               "the system's caption band");
}

// The editor example as a user works it, all by the keyboard: its window,
// the system's find dialog (Ctrl+F, a word typed, Enter finds it in the
// text) and font dialog (through the menu bar's letters) wear the skin, and
// Esc closes each.
TEST(SkinnedEditorExample, ItsWindowAndTheSystemsDialogsWearTheSkin)
{
    const TCaptionBand band = ReadCaptionBand(kLightDir);
    ASSERT_GT(band.Height, 6);
    const TProcess example(kEditor, L"");
    ASSERT_NE(example.Handle(), nullptr) << "CreateProcess failed with " << GetLastError();
    HWND editor = ShownWindow(L"SkinnedEditorExample");
    ASSERT_NE(editor, nullptr) << "the editor's window";
    EXPECT_TRUE(PumpUntil([&] { return WearsSkin(editor, band); })) << "the editor in the light skin";
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == editor; })) << "the editor in front";

    Chord({VK_CONTROL, 'F'});
    HWND find = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (find = EditorDialog(editor, L"Find")) != nullptr; })) << "the find dialog";
    EXPECT_TRUE(PumpUntil([&] { return WearsSkin(find, band); })) << "the find dialog in the light skin";
    Type(L"skin");
    testsupport::Key(VK_RETURN);
    HWND text = FindWindowExW(editor, nullptr, L"Edit", nullptr);
    const auto selection = [&] {
        const DWORD range = static_cast<DWORD>(SendMessageW(text, EM_GETSEL, 0, 0));
        return std::make_pair(LOWORD(range), HIWORD(range));
    };
    // The sample's first "skin" is in its first line, after "...wearing a Vidkiln ".
    EXPECT_TRUE(PumpUntil([&] { return selection() == std::make_pair<WORD, WORD>(39, 43); }))
        << "the word found: " << selection().first << ".." << selection().second;
    testsupport::Key(VK_ESCAPE);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(find); })) << "the find dialog closed by Esc";

    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == editor; })) << "the editor in front again";
    Chord({VK_MENU, 'O'});
    testsupport::Key('F');
    HWND font = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (font = EditorDialog(editor, L"Font")) != nullptr; })) << "the font dialog";
    EXPECT_TRUE(PumpUntil([&] { return WearsSkin(font, band); })) << "the font dialog in the light skin";
    testsupport::Key(VK_ESCAPE);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(font); })) << "the font dialog closed by Esc";

    CloseAndExpectCleanExit(example, editor);
}

} // namespace
