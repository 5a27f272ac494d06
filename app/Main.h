// TFrmMain, the program's main window: the picture buttons of the top strip,
// the job list, the four settings lists, the guide panel, the status label
// and the progress bar; and the job queue that converts one file after
// another by running the encoder, after probing each added file's length.
//
// Everything here runs on the UI thread except DosCommand1NewLine,
// DosCommand2NewLine and DosCommand2Terminated, which the runners raise on
// their reader threads: they only set an atomic flag or post a message to the
// window.
//
// Nothing waits: Add and Convert start a run and return, and the end of each
// run reaches the window as a message that starts the next one. So a click
// handler never holds the mouse, and a dialog open on top (the about box, a
// message box) never holds up the queue behind it.
#pragma once

#include "PublicUnit.h"
#include "SkinChoice.h"
#include "ToolCommands.h"
#include "WebPanel.h"

#include "framework/ComCtrls.h"
#include "framework/Dialogs.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "runner/DosCommand.h"
#include "skin/data/WinSkinData.h"

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

class TFrmMain : public TForm {
    VK_CLASS_INFO
public:
    explicit TFrmMain(TComponent* AOwner);
    ~TFrmMain() override;

    TImage* imgBg;
    TImage* imgAdd;
    TImage* imgDelete;
    TImage* imgClear;
    TImage* imgConvert;
    TImage* imgOutPath;
    TImage* imgAbout;
    TListView* lvwFiles;
    TLabel* Label7;
    TComboBox* cmbVideoKbps;
    TLabel* Label8;
    TComboBox* cmbVideoFrame;
    TLabel* Label9;
    TComboBox* cmbVideoSize;
    TLabel* Label11;
    TComboBox* cmbAspect;
    TWebBrowser* WebBrowser1;
    TLabel* Label1;
    TLabel* lblInfo;
    TLabel* Label2;
    TPanel* Panel1;
    TProgressBar* ProgressBar1;
    TStatusBar* StatusBar1;
    TOpenDialog* OpenDialog1;
    TSkinData* SkinData1;
    TDosCommand* DosCommand1 = nullptr;
    TDosCommand* DosCommand2 = nullptr;

    // The program's folder with a trailing backslash; the tools and the
    // pictures are looked for there.
    std::wstring AppPath;
    // The output folder, always with a trailing backslash once chosen.
    std::wstring OutPath;
    // True exactly while the queue converts.
    bool Converting = false;
    // Raised by a runner at the end of its run; read by the probe.
    std::atomic<bool> RunEnded{false};

    // The files Add asks for, none when cancelled; the open-file dialog
    // unless a test supplies its own.
    std::function<std::vector<std::wstring>()> ChooseSourceFiles;

    int FileCount() const noexcept { return static_cast<int>(FFileList.size()); }
    TFileInfo* FileInfoAt(int Index) const;
    void ClearFileList();
    // True while added files are being probed.
    bool Probing() const noexcept { return FProbing; }
    // Probes each file in turn and appends it as a job; what Add and a drop
    // of files do. Ignored while converting or probing.
    void AddFiles(const std::vector<std::wstring>& Paths);
    // The skins of the window menu's "皮肤" sub-menu, the stored one first.
    const std::vector<TSkinChoice>& SkinChoices() const noexcept { return FSkinChoices; }
    // Switches every window to skin Index of SkinChoices(); a file that is
    // not a skin is named in a message and the current skin stays. False
    // when the skin was not changed.
    bool ChooseSkin(size_t Index);
    // The window-menu command of skin Index.
    static UINT SkinCommand(size_t Index) noexcept;

    void FormCreate(TObject* Sender);
    void FormCloseQuery(TObject* Sender, bool& CanClose);
    void imgAddClick(TObject* Sender);
    void imgDeleteClick(TObject* Sender);
    void imgClearClick(TObject* Sender);
    void imgConvertClick(TObject* Sender);
    void imgOutPathClick(TObject* Sender);
    void imgAboutClick(TObject* Sender);
    void imgBgMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void imgBgMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
    void imgAddMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
    void lvwFilesData(TObject* Sender, TListItem* Item);
    void DosCommand1NewLine(TObject* Sender, const std::string& NewLine, TOutputType OutputType);
    void DosCommand2NewLine(TObject* Sender, const std::string& NewLine, TOutputType OutputType);
    void DosCommand2Terminated(TObject* Sender);

protected:
    void CreateParams(TCreateParams& Params) override;
    void WndProc(TMessage& Message) override;

private:
    void CreateControls();
    void ReadSkinData();
    void CreatePictureButtons();
    void CreateSettings();
    void CreateStatusArea();
    TComboBox* CreateSettingList(int Top, const std::vector<std::wstring>& Entries, int Selected);
    TLabel* CreateLabel(const std::wstring& Caption, int Left, int Top);
    void LoadPicture(TImage* Image, const std::wstring& FileName);
    void LoadIcons();
    // Puts the "皮肤" sub-menu in the window menu, the chosen skin checked.
    void AddSkinMenu();
    void CheckChosenSkin();
    // The program's icon in a window's caption and task bar button.
    void ShowIcons(HWND Window) const;
    void KeepButtonLooks();
    // Takes the hover outline off the picture buttons.
    void HideOutline();
    void UpdateButtons();
    vidkiln::TEncoderSettings EncoderSettings() const;
    // Why the job may not write Output, or nothing when it may.
    std::optional<std::wstring> RefusalOf(const TFileInfo& Info, const std::wstring& Output) const;
    // Where the job writes: its output path, or a numbered one when this run
    // has written that path already.
    std::wstring OutputFor(const TFileInfo& Info);
    void SetConverting(bool Value);
    void RefreshList();

    std::vector<std::wstring> AskForSourceFiles();
    // The queue: ConvertNext starts the next job that can run, or ends the
    // conversion; EncoderEnded takes a run's result and goes on.
    void ConvertNext();
    // Starts the encoder for one job; false, with the reason, when the job
    // cannot run.
    bool ConvertFile(TFileInfo& Info, std::wstring& Reason);
    void EncoderEnded();
    void JobFailed(TFileInfo& Info, const std::wstring& Reason);
    void EndConversion();

    // The probe of the first file waiting: StartProbe starts it,
    // LookForLength checks the lines so far, ProbeEnded adds the job and
    // starts the next probe.
    void StartProbe();
    void LookForLength();
    void ProbeEnded();
    // Stops the probe in hand and drops the files still waiting.
    void StopProbing();

    std::vector<std::unique_ptr<TFileInfo>> FFileList;
    std::vector<TSkinChoice> FSkinChoices;
    size_t FChosenSkin = 0;
    HMENU FSkinMenu = nullptr; // owned by the window menu
    // The stored skin as read at the start, to go back to.
    std::vector<std::uint8_t> FStoredSkin;
    bool FProbing = false;
    bool FCloseAsked = false;
    bool FOutlineShown = false;
    // Files of the current Add still to be probed, the one in hand first.
    std::vector<std::wstring> FProbeQueue;
    // What the current Add found unreadable, shown in the status bar at its end.
    std::wstring FUnreadableNote;
    // The current conversion: the number of jobs taken at its start, the
    // index of the job in hand, and its failures.
    int FQueueCount = 0;
    int FQueueIndex = 0;
    int FFailures = 0;
    std::wstring FLastFailure;
    // The output of the job in hand, and the outputs this run has written.
    std::wstring FOutput;
    std::vector<std::wstring> FWrittenOutputs;
    // Messages from a runner carry the serial number of its run, so a
    // message of an earlier run that arrives late is dropped.
    std::atomic<unsigned> FRunSerial{0};
    std::atomic<unsigned> FProbeSerial{0};
    // The last progress position the encoder's run has posted.
    std::atomic<int> FLastPosition{-1};
    // One probe-line message at a time is enough to make the window look.
    std::atomic<bool> FProbeLinePosted{false};
    HWND FWindow = nullptr;

    struct TIconFree {
        void operator()(HICON Icon) const noexcept { DestroyIcon(Icon); }
    };
    using TIcon = std::unique_ptr<std::remove_pointer_t<HICON>, TIconFree>;
    // Destroyed with the window object, after every window showing them.
    TIcon FBigIcon;
    TIcon FSmallIcon;
    struct TButtonLook {
        TImage* Button = nullptr;
        TBitmap Normal;
        TBitmap Disabled;
    };
    std::vector<std::unique_ptr<TButtonLook>> FButtonLooks;
};
