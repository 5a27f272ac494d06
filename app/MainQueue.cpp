// The main window's two queues: the probe of each added file, and the
// conversion of one job after another. Each step starts a tool and returns;
// the tool's end reaches the window as a message that takes the next step.
#include "MainConstants.h"

#include "base/FullPath.h"
#include "framework/SysUtils.h"

#include <algorithm>
#include <utility>

using namespace mainwindow;

namespace {

constexpr wchar_t kDone[] = L"完成";
constexpr wchar_t kFailed[] = L"失败";
constexpr wchar_t kUnreadable[] = L"无法读取";
constexpr wchar_t kConverting[] = L"正在转换 ";
constexpr wchar_t kAllConverted[] = L"转换完成";
constexpr wchar_t kChooseOutput[] = L"请选择输出目录";
// The probe was once given this many looks, a second apart; it still gets
// as long before it is stopped.
constexpr int kProbeLooks = 50;
constexpr DWORD kProbeLookMs = 1000;

// Windows file names compare without regard to case, in every script.
bool SameFile(const std::wstring& A, const std::wstring& B)
{
    const std::wstring a = FullPath(A);
    const std::wstring b = FullPath(B);
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

// The probe ran to its end and said the file holds no media it can read:
// the tool's exit codes for "no length" and "cannot read". A probe that
// could not start or was stopped says nothing about the file.
bool ProbeFoundNoMedia(int64_t ExitCode, const std::string& Said)
{
    return (ExitCode == 1 || ExitCode == 3) && !vidkiln::HasLengthMarker(Said);
}

std::wstring NameOf(const std::wstring& Path)
{
    return Path.substr(Path.find_last_of(L'\\') + 1);
}

} // namespace

void TFrmMain::AddFiles(const std::vector<std::wstring>& Paths)
{
    if (Converting || FProbing || Paths.empty())
        return;
    ProgressBar1->SetPosition(0);
    lblInfo->SetCaption(kReady);
    FProbeQueue = Paths;
    FUnreadableNote.clear();
    FProbing = true;
    UpdateButtons();
    StartProbe();
}

void TFrmMain::StartProbe()
{
    StatusBar1->SetSimpleText(L"正在读取长度：" + FProbeQueue.front());
    DosCommand2->CommandLine = vidkiln::ProbeCommandLine(AppPath, FProbeQueue.front());
    RunEnded = false;
    ++FProbeSerial;
    FProbeLinePosted = false;
    try {
        DosCommand2->Start();
    } catch (...) {
        // No thread for the probe: the file is still added, without a length.
        Application->HandleException(this);
        PostMessageW(FWindow, WM_VIDKILN_RUNENDED, kProbeRun, static_cast<LPARAM>(FProbeSerial.load()));
        return;
    }
    // The probe gets as long as its looks would take; a tool that prints no
    // length and never ends is stopped then.
    SetTimer(FWindow, kProbeTimer, kProbeLooks * kProbeLookMs, nullptr);
}

void TFrmMain::LookForLength()
{
    FProbeLinePosted = false;
    if (vidkiln::HasLengthMarker(vidkiln::JoinCapturedLines(DosCommand2->CapturedLines().Lines())))
        ProbeEnded();
}

void TFrmMain::ProbeEnded()
{
    KillTimer(FWindow, kProbeTimer);
    // Whatever this probe still has on its way is of no use now.
    ++FProbeSerial;
    const int64_t exitCode = DosCommand2->ExitCode();
    DosCommand2->Stop();
    auto job = std::make_unique<TFileInfo>();
    const std::vector<std::string>& lines = DosCommand2->CapturedLines().Lines();
    const std::string text = vidkiln::JoinCapturedLines(lines);
    job->Duration = vidkiln::DurationFromProbeText(text);
    job->Path = FProbeQueue.front();
    job->Status = kReady;
    if (ProbeFoundNoMedia(exitCode, text)) {
        const std::string said = vidkiln::LastMessageLine(lines);
        job->Problem = said.empty() ? std::wstring(L"不是能读取的视频文件") : Utf8ToWide(said);
        job->Status = kUnreadable;
        FUnreadableNote = L"无法读取（" + NameOf(job->Path) + L"），不会转换：" + job->Problem;
    }
    FProbeQueue.erase(FProbeQueue.begin());
    FFileList.push_back(std::move(job));
    lvwFiles->Items().SetCount(FileCount());
    if (FProbeQueue.empty()) {
        FProbing = false;
        StatusBar1->SetSimpleText(FUnreadableNote);
        UpdateButtons();
        return;
    }
    StartProbe();
}

void TFrmMain::StopProbing()
{
    KillTimer(FWindow, kProbeTimer);
    // Whatever the probe still has on its way is of no use now.
    ++FProbeSerial;
    DosCommand2->Stop();
    FProbeQueue.clear();
    FProbing = false;
    UpdateButtons();
}

void TFrmMain::imgConvertClick(TObject*)
{
    if (Converting || FProbing)
        return;
    if (OutPath.empty()) {
        Application->MessageBox(kChooseOutput, kMessageTitle, MB_OK | MB_ICONWARNING);
        return;
    }
    std::wstring systemError;
    if (!EnsureFolder(OutPath, &systemError)) {
        Application->MessageBox(systemError, kMessageTitle, MB_OK | MB_ICONERROR);
        return;
    }
    SetConverting(true);
    FQueueCount = FileCount();
    FQueueIndex = 0;
    FFailures = 0;
    FLastFailure.clear();
    FWrittenOutputs.clear();
    ConvertNext();
}

void TFrmMain::SetConverting(bool Value)
{
    lvwFiles->SetEnabled(!Value);
    // The queue reads the settings as each job starts: a change during the
    // run would give one batch two sizes.
    for (TComboBox* setting : {cmbVideoKbps, cmbVideoFrame, cmbVideoSize, cmbAspect})
        setting->SetEnabled(!Value);
    Converting = Value;
    UpdateButtons();
    // Positions still queued from the last run must not move the bar.
    ++FRunSerial;
}

void TFrmMain::ConvertNext()
{
    for (; FQueueIndex < FQueueCount; ++FQueueIndex) {
        TFileInfo& job = *FileInfoAt(FQueueIndex);
        // Marked when it was added; the probe said why.
        if (!job.Problem.empty())
            continue;
        lblInfo->SetCaption(kConverting + job.Path);
        std::wstring reason;
        if (ConvertFile(job, reason))
            return;
        JobFailed(job, reason);
    }
    EndConversion();
}

void TFrmMain::EndConversion()
{
    ProgressBar1->SetPosition(0);
    SetConverting(false);
    lblInfo->SetCaption(FFailures == 0 ? std::wstring(kAllConverted)
                                       : std::wstring(kAllConverted) + L"，" +
                                             std::to_wstring(FFailures) + L" 个失败。" +
                                             FLastFailure);
}

void TFrmMain::JobFailed(TFileInfo& Info, const std::wstring& Reason)
{
    Info.Status = kFailed;
    ++FFailures;
    FLastFailure = L"转换失败：" + Info.Path + L"（" + Reason + L"）";
    lblInfo->SetCaption(FLastFailure);
    // The label is narrow; the status bar has the reason in full, with the
    // job's row number as the list shows it.
    StatusBar1->SetSimpleText(L"第 " + std::to_wstring(FQueueIndex + 1) + L" 个文件失败（" +
                              NameOf(Info.Path) + L"）：" + Reason);
    lvwFiles->Invalidate();
}

std::optional<std::wstring> TFrmMain::RefusalOf(const TFileInfo& Info,
                                                const std::wstring& Output) const
{
    for (const auto& job : FFileList) {
        if (SameFile(Output, job->Path))
            return job.get() == &Info ? L"输出文件就是源文件" : L"输出文件会覆盖另一个源文件";
    }
    return std::nullopt;
}

// An output that this run has written already is not written over: two
// sources of the same name from different folders would otherwise leave one
// result where both jobs say they are done. An output that was there before
// the run is replaced, as the user expects of a new conversion.
std::wstring TFrmMain::OutputFor(const TFileInfo& Info)
{
    const std::wstring plain = vidkiln::OutputPathFor(OutPath, Info.Path);
    const auto written = [this](const std::wstring& Output) {
        return std::any_of(FWrittenOutputs.begin(), FWrittenOutputs.end(),
                           [&](const std::wstring& Done) { return SameFile(Done, Output); });
    };
    if (!written(plain))
        return plain;
    // A new name is one that nothing owns: not this run's, no source of the
    // list, no file already there.
    for (int number = 2;; ++number) {
        const std::wstring renamed = vidkiln::NumberedOutputPath(plain, number);
        if (written(renamed) || RefusalOf(Info, renamed) ||
            GetFileAttributesW(renamed.c_str()) != INVALID_FILE_ATTRIBUTES)
            continue;
        StatusBar1->SetSimpleText(L"同名输出已在本次转换中写过，" + Info.Path + L" 改存为 " + renamed);
        return renamed;
    }
}

vidkiln::TEncoderSettings TFrmMain::EncoderSettings() const
{
    const auto setting = [](TComboBox* List) {
        const int index = List->ItemIndex();
        return vidkiln::TSetting{index, index >= 0 ? List->Items()[index] : std::wstring()};
    };
    return {setting(cmbVideoKbps), setting(cmbVideoFrame), setting(cmbVideoSize),
            setting(cmbAspect)};
}

bool TFrmMain::ConvertFile(TFileInfo& Info, std::wstring& Reason)
{
    ProgressBar1->SetMax(Info.Duration);
    ProgressBar1->SetMin(0);
    const std::wstring output = OutputFor(Info);
    if (const auto refusal = RefusalOf(Info, output)) {
        Reason = *refusal;
        return false;
    }
    DosCommand1->CommandLine =
        vidkiln::EncoderCommandLineTo(AppPath, Info.Path, EncoderSettings(), output);
    FOutput = output;
    ++FRunSerial;
    FLastPosition = -1;
    try {
        DosCommand1->Start();
    } catch (...) {
        Reason = L"无法启动编码程序：" + CurrentExceptionMessage();
        return false;
    }
    return true;
}

void TFrmMain::EncoderEnded()
{
    DosCommand1->Stop();
    TFileInfo& job = *FileInfoAt(FQueueIndex);
    const int64_t exitCode = DosCommand1->ExitCode();
    if (exitCode == 0) {
        job.Status = kDone;
        FWrittenOutputs.push_back(FOutput);
        lvwFiles->Invalidate();
    } else if (exitCode == TDosCommand::ExitCodeNotStarted) {
        JobFailed(job, L"无法启动编码程序 " + AppPath + std::wstring(vidkiln::kEncoderTool));
    } else if (exitCode == TDosCommand::ExitCodeStopped) {
        JobFailed(job, L"已中止");
    } else {
        const std::string said = vidkiln::LastMessageLine(DosCommand1->CapturedLines().Lines());
        JobFailed(job, L"编码程序出错，退出码 " + std::to_wstring(exitCode) +
                           (said.empty() ? std::wstring() : L"：" + Utf8ToWide(said)));
    }
    ++FQueueIndex;
    ConvertNext();
}

void TFrmMain::DosCommand1NewLine(TObject*, const std::string& NewLine, TOutputType)
{
    // The encoder reports a few times a second; the bar moves by whole
    // seconds, so only a new position is worth a repaint.
    const auto position = vidkiln::ProgressFromLine(NewLine);
    if (position && FLastPosition.exchange(*position) != *position)
        PostMessageW(FWindow, WM_VIDKILN_PROGRESS, static_cast<WPARAM>(*position),
                     static_cast<LPARAM>(FRunSerial.load()));
}

void TFrmMain::DosCommand2NewLine(TObject*, const std::string&, TOutputType)
{
    if (!FProbeLinePosted.exchange(true))
        PostMessageW(FWindow, WM_VIDKILN_PROBELINE, 0, static_cast<LPARAM>(FProbeSerial.load()));
}

void TFrmMain::DosCommand2Terminated(TObject* Sender)
{
    RunEnded = true;
    const bool encoder = Sender == DosCommand1;
    PostMessageW(FWindow, WM_VIDKILN_RUNENDED, encoder ? kEncoderRun : kProbeRun,
                 static_cast<LPARAM>(encoder ? FRunSerial.load() : FProbeSerial.load()));
}
