// The main window under test: a program folder of the test's own with the
// fake tools, the pictures and the guide; message boxes and dialogs
// answered by the test; helpers to act while the window is busy.
#pragma once

#include "app/Main.h"
#include "support/FormsDispatch.h"
#include "support/Wait.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

std::string Narrow(const std::wstring& Text);
std::wstring FileName(const std::wstring& Path);
bool IsFile(const std::wstring& Path);
bool IsFolder(const std::wstring& Path);
void WriteFile(const std::wstring& Path, const std::string& Bytes);
std::string ReadFile(const std::wstring& Path);
// The folder of the test executables and the program folder of the build.
std::wstring TestsFolder();
std::wstring BuildBinFolder();

class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest();
    ~MainWindowTest() override;
    void SetUp() override;
    void TearDown() override;

    // Makes a fresh window over the same program folder, with one file of it
    // removed first.
    void RecreateFormWithout(const std::wstring& RelativePath);
    // Makes a fresh window whose program folder is Folder (with a trailing
    // backslash), such as the build's own with the real tools.
    void RecreateFormIn(const std::wstring& Folder);

    // The script of the fake tool (MPLAYER or FFMPEG) for the runs to come.
    void SetScript(const std::wstring& Tool, const std::wstring& Script);
    // A source file under the test's folder; the path may hold folders.
    std::wstring MakeSource(const std::wstring& RelativePath);
    // Add with this file chosen in the open-file dialog; returns once the
    // probe has ended and the job is in the list.
    void AddFile(const std::wstring& Path);
    // Add with several files chosen; returns once all are probed.
    void AddFiles(const std::vector<std::wstring>& Paths);
    // Presses Convert and returns once the queue has ended.
    void Convert();
    // Handles window messages until Done() holds; false after a minute.
    bool PumpUntil(const std::function<bool()>& Done);
    // The command line of every tool run so far, in order.
    std::vector<std::wstring> Runs() const;

    // Runs Action once, from the message loop, once Condition holds (checked
    // every 20 ms), or after 50 ms without a condition. Every action given
    // must have run by the end of the test.
    void During(std::function<void()> Action, std::function<bool()> Condition = {});

    // Message boxes are recorded and answered with Answer.
    std::vector<std::wstring> BoxTexts() const { return FBoxes; }
    void AnswerBoxes(int Answer) { FAnswer = Answer; }

    // A real left click (SendInput) at the centre of a control of the form.
    void ClickOn(TControl* Control);
    // A real left click at a screen point.
    static void ClickAt(POINT At);
    RECT BoundsOnForm(TControl* Control);
    std::vector<std::wstring> ComboEntries(TComboBox* List) const;
    int ListItemCount();
    std::wstring ListText(int Item, int SubItem);
    void SelectListItem(int Item);
    COLORREF ClientPixel(int X, int Y);
    // The client pixels of a rectangle, row by row.
    std::vector<COLORREF> ClientPixels(const RECT& Area);
    // A drop of these files as the shell hands it to a window (WM_DROPFILES);
    // the window that takes it frees it.
    static HDROP DropOf(const std::vector<std::wstring>& Paths);
    // Every position the progress bar is given from now on.
    std::shared_ptr<std::vector<int>> RecordProgress();
    // Every system command the window is sent from now on; they are not
    // carried out.
    std::shared_ptr<std::vector<WPARAM>> RecordSystemCommands();

    std::unique_ptr<TFrmMain> Form;
    std::wstring Root;
    std::wstring AppDir;
    std::wstring OutDir;

private:
    void CreateForm(const std::wstring& ProgramFolder);
    struct TPending;
    struct THook;
    static void CALLBACK TimerTick(HWND, UINT, UINT_PTR, DWORD);
    THook& Hook(TControl* Control, std::function<void(TMessage&, TWindowProcHook&)> Handler);

    std::wstring FLog;
    std::vector<std::wstring> FBoxes;
    int FAnswer = IDOK;
    TMessageBoxFunc FPreviousBox;
    std::vector<std::unique_ptr<TPending>> FPending;
    std::vector<std::unique_ptr<THook>> FHooks;
};
