// TFrmMain, the program's main window: the picture buttons of the top strip,
// the job list, the four settings lists, the guide panel, the status label
// and the progress bar; and the job queue that converts one file after
// another by running the encoder, after probing each added file's length.
//
// Everything here runs on the UI thread except DosCommand1NewLine,
// DosCommand2NewLine and DosCommand2Terminated, which the runners raise on
// their reader threads: they only signal an event, set an atomic flag or post
// a progress position to the window.
#pragma once

#include "PublicUnit.h"
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
    // True exactly while the conversion loop runs.
    bool Converting = false;
    // Raised by a runner at the end of its run; read by the probe.
    std::atomic<bool> RunEnded{false};

    // The file Add asks for; OpenDialog1 unless a test supplies its own.
    std::function<std::optional<std::wstring>()> ChooseSourceFile;

    int FileCount() const noexcept { return static_cast<int>(FFileList.size()); }
    TFileInfo* FileInfoAt(int Index) const;
    void ClearFileList();
    // True while Add waits for the probe.
    bool Probing() const noexcept { return FProbing; }

    // Runs the encoder for one job and returns when the run has ended;
    // false when the run failed, with the reason in Reason.
    bool ConvertFile(TFileInfo& Info, std::wstring& Reason);
    // The source's length in whole seconds, 0 when none was found.
    int ProbeDuration(const std::wstring& Path);

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
    vidkiln::TEncoderSettings EncoderSettings() const;
    // Why the job cannot run, or nothing when it may.
    std::optional<std::wstring> RefusalOf(const TFileInfo& Info) const;
    void ConvertAll();
    void SetConverting(bool Value);
    void RefreshList();
    // Waits for one of the events or the deadline, handling window messages
    // meanwhile without spinning. True when an event was signalled.
    bool WaitHandlingMessages(std::initializer_list<HANDLE> Events, DWORD Milliseconds);
    bool LookForLength(bool& Found);
    // A close asked for while busy, done once the busy work has unwound.
    void CloseIfAsked();

    std::vector<std::unique_ptr<TFileInfo>> FFileList;
    bool FProbing = false;
    bool FCloseAsked = false;
    bool FOutlineShown = false;
    // Set at every run's end; reset before each start.
    TKernelHandle FRunEndEvent;
    // Set at every line of the probe.
    TKernelHandle FProbeLineEvent;
    // Progress posted by a run carries its serial number, so a position of
    // an earlier run that arrives late is dropped.
    std::atomic<unsigned> FRunSerial{0};
    HWND FProgressWindow = nullptr;
};
