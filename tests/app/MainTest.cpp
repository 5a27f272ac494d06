// The main window in process: the job list, the queue, the locks, the
// statuses, the command lines the tools receive, the layout, the hover
// outline and the window's own dialogs. The tools are played by
// app_fake_tool, copied into a program folder of the test's own under the
// names mplayer.exe and ffmpeg.exe and scripted through the environment.
#include "MainTestFixture.h"
#include "tests/skin/forms/FrameSamples.h"
#include "skin/controls/SkinScrollbar.h"
#include "skin/forms/SkinManager.h"
#include "skin/forms/SkinMessages.h"
#include "framework/GdiObjects.h"
#include "app/About.h"
#include "support/Input.h"
#include "support/ReadBack.h"

#include <shlwapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <ostream>
#include <set>

bool operator==(const RECT& A, const RECT& B)
{
    return EqualRect(&A, &B) != FALSE;
}

void PrintTo(const RECT& R, std::ostream* Out)
{
    *Out << "{" << R.left << ", " << R.top << ", " << R.right << ", " << R.bottom << "}";
}

namespace {

using TMainWindow = MainWindowTest;

COLORREF WindowPixel(HWND window, int x, int y)
{
    const gdi::WindowDC windowDc(window);
    const gdi::MemoryDC memoryDc(windowDc.Get());
    const gdi::Bitmap bitmap(CreateCompatibleBitmap(windowDc.Get(), 1, 1));
    const gdi::Selection selection(memoryDc.Get(), bitmap.Get());
    BitBlt(memoryDc.Get(), 0, 0, 1, 1, windowDc.Get(), x, y, SRCCOPY);
    return GetPixel(memoryDc.Get(), 0, 0);
}

TEST_F(TMainWindow, LayoutMatchesTheDesign)
{
    EXPECT_EQ(Form->ClientWidth(), 558);
    EXPECT_EQ(Form->ClientHeight(), 314);
    EXPECT_EQ(Form->Caption(), L"Vidkiln v3.0 (输出视频为mp4格式)");
    EXPECT_EQ(Application->Title(), L"Vidkiln v3.0 (输出视频为mp4格式)");
    EXPECT_EQ(Form->Color(), 7039593);
    EXPECT_EQ(Form->Font()->Name(), L"宋体");
    EXPECT_EQ(Form->Font()->Charset(), GB2312_CHARSET);
    EXPECT_EQ(Form->Font()->Height(), -12);
    EXPECT_TRUE(Form->DoubleBuffered());

    const struct {
        TControl* control;
        RECT bounds;
    } fixed[] = {
        {Form->imgBg, {0, 0, 558, 50}},
        {Form->imgAdd, {8, 1, 45, 46}},
        {Form->imgDelete, {63, 1, 100, 46}},
        {Form->imgClear, {118, 1, 155, 46}},
        {Form->imgConvert, {173, 1, 231, 46}},
        {Form->imgOutPath, {244, 0, 302, 45}},
        {Form->imgAbout, {496, 1, 533, 46}},
        {Form->lvwFiles, {8, 61, 313, 225}},
        {Form->WebBrowser1, {328, 157, 545, 289}},
        {Form->Panel1, {96, 268, 313, 288}},
        {Form->ProgressBar1, {96, 268, 313, 288}},
        {Form->StatusBar1, {0, 295, 558, 314}},
    };
    for (const auto& c : fixed)
        EXPECT_EQ(BoundsOnForm(c.control), c.bounds) << Narrow(c.control->Name());

    const struct {
        TControl* control;
        int left, top, width;
        const wchar_t* caption;
    } placed[] = {
        {Form->Label7, 336, 64, 0, L"质量(KBps)"},
        {Form->Label8, 336, 86, 0, L"视频帧频"},
        {Form->Label9, 336, 108, 0, L"视频大小"},
        {Form->Label11, 336, 132, 0, L"屏幕纵模比"},
        {Form->Label1, 8, 240, 0, L"当前操作描述"},
        {Form->Label2, 8, 270, 0, L"当前文件进度"},
        {Form->cmbVideoKbps, 408, 56, 120, nullptr},
        {Form->cmbVideoFrame, 408, 80, 120, nullptr},
        {Form->cmbVideoSize, 408, 104, 120, nullptr},
        {Form->cmbAspect, 408, 128, 120, nullptr},
    };
    for (const auto& c : placed) {
        const RECT bounds = BoundsOnForm(c.control);
        EXPECT_EQ(bounds.left, c.left) << Narrow(c.control->Name());
        EXPECT_EQ(bounds.top, c.top) << Narrow(c.control->Name());
        if (c.width) {
            EXPECT_EQ(bounds.right - bounds.left, c.width) << Narrow(c.control->Name());
        }
        if (c.caption) {
            EXPECT_EQ(c.control->Caption(), c.caption) << Narrow(c.control->Name());
        }
    }
    EXPECT_EQ(Form->lblInfo->Caption(), L"准备就绪");
    const RECT info = BoundsOnForm(Form->lblInfo);
    EXPECT_EQ(info.left, 96);
    EXPECT_EQ(info.top, 240);
    EXPECT_EQ(info.right - info.left, 225);
    EXPECT_GE(info.bottom - info.top, 12);
    EXPECT_EQ(Form->ProgressBar1->Min(), 0);
    EXPECT_EQ(Form->ProgressBar1->Max(), 100);
    EXPECT_EQ(Form->ProgressBar1->Position(), 0);
}

// Every label is at least as high as a line of its font, so no glyph loses
// its top or its tail ("tmp" must not read "tmo").
TEST_F(TMainWindow, LabelsAreHighEnoughForTheirFont)
{
    const HDC screen = GetDC(nullptr);
    for (TLabel* label : {Form->Label7, Form->Label8, Form->Label9, Form->Label11, Form->Label1,
                          Form->lblInfo, Form->Label2}) {
        const HGDIOBJ previous = SelectObject(screen, label->Font()->Handle());
        TEXTMETRICW metrics{};
        GetTextMetricsW(screen, &metrics);
        SelectObject(screen, previous);
        EXPECT_GE(label->Height(), metrics.tmHeight) << Narrow(label->Name());
    }
    ReleaseDC(nullptr, screen);
}

TEST_F(TMainWindow, SettingListsHoldTheirEntriesAndStartSelections)
{
    const struct {
        TComboBox* list;
        std::vector<std::wstring> entries;
        int selected;
    } lists[] = {
        {Form->cmbVideoKbps, {L"360", L"512", L"1200", L"1500", L"2500"}, 2},
        {Form->cmbVideoFrame,
         {L"Auto", L"5.0", L"10.0", L"14.985", L"15.0", L"20.0", L"23.976", L"25.0", L"29.97"},
         1},
        {Form->cmbVideoSize,
         {L"Auto", L"176x132", L"176x220", L"220x176", L"320x240", L"400x240", L"432x240",
          L"480x272", L"480x320"},
         2},
        {Form->cmbAspect, {L"Auto", L"4:3", L"16:9", L"16:10"}, 1},
    };
    for (const auto& l : lists) {
        EXPECT_EQ(ComboEntries(l.list), l.entries) << Narrow(l.list->Name());
        EXPECT_EQ(l.list->ItemIndex(), l.selected) << Narrow(l.list->Name());
    }
}

TEST_F(TMainWindow, PicturesAreLoadedAndButtonsTakeTheirSize)
{
    EXPECT_EQ(BoxTexts(), std::vector<std::wstring>{});
    EXPECT_EQ(Form->imgConvert->Width(), 58);
    EXPECT_EQ(Form->imgConvert->Height(), 45);
    EXPECT_FALSE(Form->imgAbout->Picture()->Empty());
    EXPECT_FALSE(Form->imgBg->Picture()->Empty());
}

TEST_F(TMainWindow, MissingPictureIsReportedAndStartUpGoesOn)
{
    RecreateFormWithout(L"Images\\Delete1.bmp");
    ASSERT_EQ(BoxTexts().size(), 1u);
    EXPECT_NE(BoxTexts()[0].find(L"Delete1.bmp"), std::wstring::npos) << Narrow(BoxTexts()[0]);
    EXPECT_TRUE(Form->imgDelete->Picture()->Empty());
    EXPECT_FALSE(Form->imgClear->Picture()->Empty());
    EXPECT_FALSE(Form->imgAbout->Picture()->Empty());
    ASSERT_NE(Form->DosCommand1, nullptr);
    ASSERT_NE(Form->DosCommand2, nullptr);
    EXPECT_FALSE(Form->Converting);
}

TEST_F(TMainWindow, AddProbesTheLengthAndAppendsAJob)
{
    SetScript(L"MPLAYER", L"print:ID_VIDEO_ID=0|print:ID_LENGTH=12.99|sleep:20000");
    Form->ProgressBar1->SetPosition(30);
    Form->lblInfo->SetCaption(L"x");
    const std::wstring source = MakeSource(L"视频 一\\片子.avi");
    // The probe still runs when its length line is in; Add stops it.
    AddFile(source);
    ASSERT_EQ(Form->FileCount(), 1);
    EXPECT_EQ(Form->FileInfoAt(0)->Duration, 12);
    EXPECT_EQ(Form->FileInfoAt(0)->Status, L"准备就绪");
    EXPECT_EQ(Form->FileInfoAt(0)->Path, source);
    EXPECT_EQ(ListItemCount(), 1);
    EXPECT_EQ(ListText(0, 0), source);
    EXPECT_EQ(ListText(0, 1), L"准备就绪");
    EXPECT_EQ(Form->ProgressBar1->Position(), 0);
    EXPECT_EQ(Form->lblInfo->Caption(), L"准备就绪");
    EXPECT_EQ(Runs(), std::vector<std::wstring>{vidkiln::ProbeCommandLine(Form->AppPath, source)});
    EXPECT_FALSE(Form->DosCommand2->IsRunning());
}

TEST_F(TMainWindow, ProbeOutputsGiveTheirLengths)
{
    const struct {
        const wchar_t* script;
        int expected;
    } cases[] = {
        {L"print:id_length=7", 7},
        {L"print:ID_LENGTH=1 234", 1234},
        {L"print:ID_LENGTH=|print:5", 0},
        {L"write:ID_LENGTH=33.5", 33},
        {L"print:no length here|exit:1", 0},
        {L"print:ID_LENGTH=1.2.3", 0},
        {L"exit:0", 0},
    };
    for (const auto& c : cases) {
        SetScript(L"MPLAYER", c.script);
        AddFile(MakeSource(L"a.avi"));
        EXPECT_EQ(Form->FileInfoAt(Form->FileCount() - 1)->Duration, c.expected) << Narrow(c.script);
    }
}

TEST_F(TMainWindow, ProbeThatEndsWithoutLengthReturnsAtItsEnd)
{
    SetScript(L"MPLAYER", L"sleep:200|print:nothing|exit:3");
    AddFile(MakeSource(L"a.avi"));
    EXPECT_TRUE(Form->RunEnded);
    EXPECT_EQ(Form->FileInfoAt(0)->Duration, 0);
}

TEST_F(TMainWindow, MissingProbeToolAddsTheJobWithoutLength)
{
    DeleteFileW((AppDir + L"\\mplayer.exe").c_str());
    AddFile(MakeSource(L"a.avi"));
    ASSERT_EQ(Form->FileCount(), 1);
    EXPECT_EQ(Form->FileInfoAt(0)->Duration, 0);
}

TEST_F(TMainWindow, CancelledAddChangesNothing)
{
    Form->ChooseSourceFiles = [] { return std::vector<std::wstring>(); };
    Form->imgAddClick(nullptr);
    EXPECT_EQ(Form->FileCount(), 0);
    EXPECT_TRUE(Runs().empty());
}

TEST_F(TMainWindow, OneProbeAtATimeAndNoConversionDuringIt)
{
    SetScript(L"MPLAYER", L"sleep:400|print:ID_LENGTH=4");
    Form->OutPath = OutDir + L"\\";
    During([this] {
        EXPECT_TRUE(Form->Probing());
        AddFile(MakeSource(L"second.avi"));
        Form->imgConvertClick(nullptr);
    });
    AddFile(MakeSource(L"first.avi"));
    ASSERT_EQ(Form->FileCount(), 1);
    EXPECT_EQ(Form->FileInfoAt(0)->Duration, 4);
    EXPECT_EQ(Runs().size(), 1u);
    EXPECT_FALSE(Form->Probing());
}

TEST_F(TMainWindow, DeleteRemovesTheSelectedJobOnly)
{
    for (const wchar_t* name : {L"a.avi", L"b.avi", L"c.avi"})
        AddFile(MakeSource(name));
    Form->imgDeleteClick(nullptr);
    EXPECT_EQ(Form->FileCount(), 3) << "nothing selected";
    SelectListItem(1);
    Form->imgDeleteClick(nullptr);
    ASSERT_EQ(Form->FileCount(), 2);
    EXPECT_EQ(ListItemCount(), 2);
    EXPECT_EQ(FileName(Form->FileInfoAt(0)->Path), L"a.avi");
    EXPECT_EQ(FileName(Form->FileInfoAt(1)->Path), L"c.avi");
}

TEST_F(TMainWindow, ClearEmptiesTheList)
{
    AddFile(MakeSource(L"a.avi"));
    AddFile(MakeSource(L"a.avi"));
    EXPECT_EQ(Form->FileCount(), 2) << "the same file may be added twice";
    Form->imgClearClick(nullptr);
    EXPECT_EQ(Form->FileCount(), 0);
    EXPECT_EQ(ListItemCount(), 0);
}

TEST_F(TMainWindow, ListDataOutsideTheJobsIsIgnored)
{
    AddFile(MakeSource(L"a.avi"));
    TListItem item(5);
    Form->lvwFilesData(Form->lvwFiles, &item);
    EXPECT_EQ(item.Caption, L"");
    EXPECT_EQ(item.SubItems.Count(), 0);
}

TEST_F(TMainWindow, ConvertWithoutOutputFolderOnlyAsks)
{
    AddFile(MakeSource(L"a.avi"));
    Convert();
    EXPECT_EQ(BoxTexts(), std::vector<std::wstring>{L"请选择输出目录"});
    EXPECT_EQ(Runs().size(), 1u);
    EXPECT_EQ(Form->FileInfoAt(0)->Status, L"准备就绪");
    EXPECT_TRUE(Form->lvwFiles->Enabled());
}

TEST_F(TMainWindow, ConvertWithoutJobsMakesTheFolderAndEnds)
{
    Form->OutPath = OutDir + L"\\新 目录\\二\\";
    Convert();
    EXPECT_TRUE(IsFolder(OutDir + L"\\新 目录\\二"));
    EXPECT_EQ(Form->lblInfo->Caption(), L"转换完成");
    EXPECT_EQ(Form->ProgressBar1->Position(), 0);
    EXPECT_TRUE(Form->lvwFiles->Enabled());
    EXPECT_TRUE(Form->imgConvert->Enabled());
    EXPECT_FALSE(Form->Converting);
    EXPECT_TRUE(Runs().empty());
}

TEST_F(TMainWindow, UncreatableFolderStopsBeforeAnything)
{
    AddFile(MakeSource(L"a.avi"));
    WriteFile(OutDir + L"\\file", "x");
    Form->OutPath = OutDir + L"\\file\\sub\\";
    Convert();
    const auto boxes = BoxTexts();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0], L"建立目录：" + Form->OutPath + L"出错！\r\n\r\n请检查目录名是否正确。");
    EXPECT_FALSE(boxes[1].empty());
    EXPECT_EQ(Runs().size(), 1u);
    EXPECT_EQ(Form->lblInfo->Caption(), L"准备就绪");
}

TEST_F(TMainWindow, ConvertRunsEveryJobAndMovesTheProgressBar)
{
    SetScript(L"MPLAYER", L"print:ID_LENGTH=20.0");
    SetScript(L"FFMPEG",
              L"print:frame= 10 ffmpeg_release_time=12.5=ffmpeg_release_time|"
              L"write:ffmpeg_release_time=13.5|sleep:50|print:=ffmpeg_release_time|"
              L"print:ffmpeg_release_time=abc=ffmpeg_release_time|touch");
    const std::wstring first = MakeSource(L"一\\clip.avi");
    const std::wstring second = MakeSource(L"二\\a.b.rmvb");
    AddFile(first);
    AddFile(second);
    Form->OutPath = OutDir + L"\\";
    Form->cmbVideoFrame->SetItemIndex(0);
    Form->cmbAspect->SetItemIndex(2);
    const auto positions = RecordProgress();
    Convert();
    EXPECT_EQ(Form->FileInfoAt(0)->Status, L"完成");
    EXPECT_EQ(Form->FileInfoAt(1)->Status, L"完成");
    EXPECT_EQ(ListText(1, 1), L"完成");
    EXPECT_EQ(Form->lblInfo->Caption(), L"转换完成");
    EXPECT_EQ(Form->ProgressBar1->Position(), 0);
    EXPECT_EQ(Form->ProgressBar1->Max(), 20);
    // Range changes hand the bar its position again; count each change once.
    positions->erase(std::unique(positions->begin(), positions->end()), positions->end());
    EXPECT_EQ(*positions, (std::vector<int>{0, 12, 14, 12, 14, 0}));
    const vidkiln::TEncoderSettings settings{{2, L"1200"}, {0, L"Auto"}, {2, L"176x220"}, {2, L"16:9"}};
    const auto runs = Runs();
    ASSERT_EQ(runs.size(), 4u);
    EXPECT_EQ(runs[2], vidkiln::EncoderCommandLine(Form->AppPath, first, Form->OutPath, settings));
    EXPECT_EQ(runs[3], vidkiln::EncoderCommandLine(Form->AppPath, second, Form->OutPath, settings));
    EXPECT_TRUE(IsFile(OutDir + L"\\clip.mp4"));
    EXPECT_TRUE(IsFile(OutDir + L"\\a.b.mp4"));
    EXPECT_TRUE(Form->lvwFiles->Enabled());
    EXPECT_TRUE(Form->imgConvert->Enabled());
}

TEST_F(TMainWindow, ConvertingTwiceRunsEveryJobAgain)
{
    AddFile(MakeSource(L"a.avi"));
    Form->OutPath = OutDir + L"\\";
    Convert();
    Convert();
    EXPECT_EQ(Runs().size(), 3u);
    EXPECT_EQ(Form->FileInfoAt(0)->Status, L"完成");
}

TEST_F(TMainWindow, SameNamedSourcesOfOneRunGetDistinctOutputs)
{
    WriteFile(OutDir + L"\\clip.mp4", "from before");
    WriteFile(OutDir + L"\\clip (2).mp4", "the user's");
    AddFile(MakeSource(L"v\\clip.avi"));
    AddFile(MakeSource(L"w\\clip.avi"));
    AddFile(MakeSource(L"x\\CLIP.avi"));
    Form->OutPath = OutDir + L"\\";
    Convert();
    const auto runs = Runs();
    ASSERT_EQ(runs.size(), 6u);
    EXPECT_TRUE(runs[3].ends_with(L"\\clip.mp4\"")) << "an output from before the run is replaced";
    EXPECT_TRUE(runs[4].ends_with(L"\\clip (3).mp4\"")) << Narrow(runs[4]);
    EXPECT_TRUE(runs[5].ends_with(L"\\CLIP (4).mp4\"")) << Narrow(runs[5]);
    EXPECT_NE(ReadFile(OutDir + L"\\clip.mp4"), "from before");
    EXPECT_EQ(ReadFile(OutDir + L"\\clip (2).mp4"), "the user's");
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Form->FileInfoAt(i)->Status, L"完成");
    const std::wstring status = Form->StatusBar1->SimpleText();
    EXPECT_NE(status.find(L"CLIP (4).mp4"), std::wstring::npos) << Narrow(status);

    // A new run starts afresh: the first job writes the plain name again.
    Convert();
    EXPECT_TRUE(Runs()[6].ends_with(L"\\clip.mp4\""));
}

TEST_F(TMainWindow, JobWithoutLengthHasAnEmptyRange)
{
    SetScript(L"MPLAYER", L"print:nothing");
    AddFile(MakeSource(L"a.avi"));
    Form->OutPath = OutDir + L"\\";
    Convert();
    EXPECT_EQ(Form->FileInfoAt(0)->Duration, 0);
    EXPECT_EQ(Form->ProgressBar1->Max(), 0);
    EXPECT_EQ(Form->FileInfoAt(0)->Status, L"完成");
}

TEST_F(TMainWindow, FailedRunIsMarkedAndTheOthersStillRun)
{
    AddFile(MakeSource(L"bad.avi"));
    AddFile(MakeSource(L"good.avi"));
    Form->OutPath = OutDir + L"\\";
    SetScript(L"FFMPEG", L"failif:bad.avi|touch");
    Convert();
    EXPECT_EQ(Form->FileInfoAt(0)->Status, L"失败");
    EXPECT_EQ(Form->FileInfoAt(1)->Status, L"完成");
    EXPECT_EQ(Runs().size(), 4u);
    const std::wstring info = Form->lblInfo->Caption();
    EXPECT_TRUE(info.starts_with(L"转换完成")) << Narrow(info);
    EXPECT_NE(info.find(Form->FileInfoAt(0)->Path), std::wstring::npos) << Narrow(info);
    EXPECT_NE(info.find(L"退出码 1"), std::wstring::npos) << Narrow(info);
    EXPECT_EQ(Form->StatusBar1->SimpleText(), L"第 1 个文件失败（bad.avi）：编码程序出错，退出码 1");
}

TEST_F(TMainWindow, EncoderThatCannotStartFailsTheJob)
{
    AddFile(MakeSource(L"a.avi"));
    DeleteFileW((AppDir + L"\\ffmpeg.exe").c_str());
    Form->OutPath = OutDir + L"\\";
    Convert();
    EXPECT_EQ(Form->FileInfoAt(0)->Status, L"失败");
    EXPECT_NE(Form->lblInfo->Caption().find(L"无法启动"), std::wstring::npos);
    EXPECT_FALSE(Form->Converting);
}

TEST_F(TMainWindow, OutputThatIsASourceIsNeverRun)
{
    const std::wstring own = OutDir + L"\\clip.MP4";
    WriteFile(own, "original");
    const std::wstring other = MakeSource(L"x\\clip.avi");
    AddFile(own);
    AddFile(other);
    Form->OutPath = OutDir + L"\\";
    Convert();
    EXPECT_EQ(Form->FileInfoAt(0)->Status, L"失败");
    EXPECT_EQ(Form->FileInfoAt(1)->Status, L"失败");
    EXPECT_EQ(Runs().size(), 2u) << "only the probes ran";
    EXPECT_EQ(ReadFile(own), "original");
}

TEST_F(TMainWindow, ActionsAreLockedWhileConverting)
{
    AddFile(MakeSource(L"a.avi"));
    AddFile(MakeSource(L"b.avi"));
    Form->OutPath = OutDir + L"\\";
    SetScript(L"FFMPEG", L"sleep:300");
    SetFolderDialog([](HWND, const std::wstring&, const std::wstring&) { return std::optional<std::wstring>(L"D:\\其他"); });
    During([this] {
        EXPECT_TRUE(Form->Converting);
        EXPECT_FALSE(Form->lvwFiles->Enabled());
        EXPECT_FALSE(Form->imgConvert->Enabled());
        SelectListItem(0);
        AddFile(MakeSource(L"c.avi"));
        Form->imgDeleteClick(nullptr);
        Form->imgClearClick(nullptr);
        Form->imgConvertClick(nullptr);
        Form->imgOutPathClick(nullptr);
    });
    Convert();
    EXPECT_EQ(Form->FileCount(), 2);
    EXPECT_EQ(Runs().size(), 4u);
    EXPECT_EQ(Form->OutPath, OutDir + L"\\");
    EXPECT_FALSE(Form->Converting);
}

TEST_F(TMainWindow, ClosingWhileConvertingAsksFirst)
{
    AddFile(MakeSource(L"a.avi"));
    AddFile(MakeSource(L"b.avi"));
    Form->OutPath = OutDir + L"\\";
    SetScript(L"FFMPEG", L"hang");
    AnswerBoxes(IDNO);
    During([this] {
        Form->Close();
        EXPECT_TRUE(Form->Converting) << "No goes on";
        AnswerBoxes(IDYES);
        Form->Close();
    }, [this] { return Runs().size() == 3; });
    Convert();
    testsupport::Flush(testsupport::DispatchThroughApplication);
    EXPECT_EQ(BoxTexts(), (std::vector<std::wstring>{L"正在转换，确定要退出吗？", L"正在转换，确定要退出吗？"}));
    EXPECT_EQ(Runs().size(), 3u) << "the second job never started";
    EXPECT_FALSE(Form->DosCommand1->IsRunning());
    EXPECT_FALSE(Form->Visible());
}

TEST_F(TMainWindow, ClosingWhileProbingStopsTheProbeAndAddsNothing)
{
    SetScript(L"MPLAYER", L"hang");
    AnswerBoxes(IDYES);
    During([this] { Form->Close(); }, [this] { return Runs().size() == 1; });
    AddFile(MakeSource(L"a.avi"));
    testsupport::Flush(testsupport::DispatchThroughApplication);
    EXPECT_EQ(BoxTexts(), std::vector<std::wstring>{L"正在转换，确定要退出吗？"});
    EXPECT_EQ(Form->FileCount(), 0);
    EXPECT_FALSE(Form->DosCommand2->IsRunning());
    EXPECT_FALSE(Form->Visible());
}

TEST_F(TMainWindow, OutputFolderButtonKeepsTheFolderOnCancel)
{
    std::optional<std::wstring> answer = L"D:\\Videos";
    std::wstring start = L"unset";
    SetFolderDialog([&](HWND, const std::wstring& Prompt, const std::wstring& Start) {
        EXPECT_EQ(Prompt, L"请选择文件");
        start = Start;
        return answer;
    });
    Form->imgOutPathClick(nullptr);
    EXPECT_EQ(start, L"") << "no folder chosen yet";
    EXPECT_EQ(Form->OutPath, L"D:\\Videos\\");
    EXPECT_EQ(Form->StatusBar1->SimpleText(), L"输出目录：D:\\Videos\\");
    answer = std::nullopt;
    Form->imgOutPathClick(nullptr);
    EXPECT_EQ(Form->OutPath, L"D:\\Videos\\");
    EXPECT_EQ(start, L"") << "a folder that does not exist is no place to start";
    // The dialog opens at the current output folder.
    Form->OutPath = OutDir + L"\\";
    Form->imgOutPathClick(nullptr);
    EXPECT_EQ(start, OutDir + L"\\");
    EXPECT_EQ(Form->OutPath, OutDir + L"\\");
    answer = L"C:\\";
    Form->imgOutPathClick(nullptr);
    EXPECT_EQ(Form->OutPath, L"C:\\");
}

TEST_F(TMainWindow, HoverOutlineStaysUntilTheBackgroundIsEntered)
{
    testsupport::Flush(testsupport::DispatchThroughApplication);
    const COLORREF outline = RGB(37, 157, 217);
    EXPECT_NE(ClientPixel(8, 20), outline);
    Form->imgAddMouseMove(Form->imgAdd, 0, 5, 5);
    Form->imgAddMouseMove(Form->imgDelete, 0, 5, 5);
    EXPECT_EQ(ClientPixel(8, 20), outline);
    EXPECT_EQ(ClientPixel(45, 46), outline);
    EXPECT_EQ(ClientPixel(63, 20), outline) << "both outlines stay";
    Form->imgBgMouseMove(Form->imgBg, 0, 50, 40);
    testsupport::Flush(testsupport::DispatchThroughApplication);
    EXPECT_NE(ClientPixel(8, 20), outline);
    EXPECT_NE(ClientPixel(63, 20), outline);
}

TEST_F(TMainWindow, TopRowsOfTheStripMoveTheWindow)
{
    const auto commands = RecordSystemCommands();
    Form->imgBgMouseDown(Form->imgBg, mbLeft, 0, 300, 27);
    EXPECT_TRUE(commands->empty());
    Form->imgBgMouseDown(Form->imgBg, mbRight, 0, 300, 26);
    EXPECT_EQ(*commands, std::vector<WPARAM>{0xF012});
}

TEST_F(TMainWindow, MainWindowWearsTheSkinAndKeepsItsClientSize)
{
    HWND window = Form->Handle();
    TWinSkinForm* frame = nullptr;
    ASSERT_TRUE(testsupport::WaitUntil([&] {
        frame = SkinManager ? SkinManager->FindSkinForm(window) : nullptr;
        return frame && frame->State() == fsReady;
    }, "the main window wears the skin", testsupport::kDeadlineMs, testsupport::DispatchThroughApplication));
    EXPECT_EQ(frame->State(), fsReady);
    EXPECT_EQ(SendMessageW(window, WM_SKINQUERY, 0, 0), 1);
    EXPECT_EQ(Form->ClientWidth(), 558);
    EXPECT_EQ(Form->ClientHeight(), 314);
    // The skin's caption is one frame of its Top image high.
    const TDataSkinBorder& top = *Form->SkinData1->Top();
    RECT outer{};
    GetWindowRect(window, &outer);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    EXPECT_EQ(origin.y - outer.top, top.Bitmap->Height() / top.FrameCount);
}

// The texts of a menu's items, and the sub-menu of the item with text.
std::vector<std::wstring> MenuTexts(HMENU Menu)
{
    std::vector<std::wstring> texts;
    for (int index = 0; index < GetMenuItemCount(Menu); ++index) {
        wchar_t text[64]{};
        GetMenuStringW(Menu, static_cast<UINT>(index), text, 64, MF_BYPOSITION);
        texts.push_back(text);
    }
    return texts;
}

// The window menu's "皮肤" sub-menu lists the stored skin and the skin files
// beside the program. Choosing one restyles the window at once; a damaged
// file is named and changes nothing; the stored skin comes back.
TEST_F(TMainWindow, TheWindowMenuSwitchesSkins)
{
    CreateDirectoryW((AppDir + L"\\skins").c_str(), nullptr);
    ASSERT_TRUE(CopyFileW((BuildBinFolder() + L"\\skins\\light.skn").c_str(), (AppDir + L"\\skins\\light.skn").c_str(),
                          FALSE));
    WriteFile(AppDir + L"\\skins\\broken.skn", "not a skin at all");
    RecreateFormIn(AppDir + L"\\");
    HWND window = Form->Handle();
    ASSERT_TRUE(PumpUntil([&] {
        TWinSkinForm* frame = SkinManager ? SkinManager->FindSkinForm(window) : nullptr;
        return frame && frame->State() == fsReady;
    }));

    HMENU windowMenu = GetSystemMenu(window, FALSE);
    const std::vector<std::wstring> items = MenuTexts(windowMenu);
    const auto at = std::find(items.begin(), items.end(), L"皮肤");
    ASSERT_NE(at, items.end()) << "no skin menu in the window menu";
    HMENU skins = GetSubMenu(windowMenu, static_cast<int>(at - items.begin()));
    ASSERT_NE(skins, nullptr);
    EXPECT_EQ(MenuTexts(skins), (std::vector<std::wstring>{L"默认", L"broken", L"light"}));
    const auto checked = [&](size_t index) {
        return (GetMenuState(skins, TFrmMain::SkinCommand(index), MF_BYCOMMAND) & MF_CHECKED) != 0;
    };
    EXPECT_TRUE(checked(0));
    const std::string stored = Form->SkinData1->SkinName();

    // A choice takes effect through the manager's request timer: wait until
    // the menu shows it and the frame wears the skin then in use.
    const auto choose = [&](size_t index, const std::function<bool()>& taken) {
        PostMessageW(window, WM_SYSCOMMAND, TFrmMain::SkinCommand(index), 0);
        EXPECT_TRUE(PumpUntil([&] {
            return checked(index) == (index != 1) && taken() &&
                   frametest::BorderMisses(*Form->SkinData1, window, 1, false) == 0;
        })) << "skin choice " << index << " taken and drawn";
    };
    choose(2, [&] { return Form->SkinData1->SkinName() == "Vidkiln Light"; });
    EXPECT_EQ(Form->SkinData1->SkinName(), "Vidkiln Light");
    EXPECT_EQ(frametest::BorderMisses(*Form->SkinData1, window, 1), 0) << "the light skin's frame";
    EXPECT_TRUE(checked(2));

    choose(1, [&] { return BoxTexts().size() == 1; });
    ASSERT_EQ(BoxTexts().size(), 1u);
    EXPECT_NE(BoxTexts()[0].find(L"broken"), std::wstring::npos) << Narrow(BoxTexts()[0]);
    EXPECT_EQ(Form->SkinData1->SkinName(), "Vidkiln Light") << "a damaged file changes nothing";
    EXPECT_EQ(frametest::BorderMisses(*Form->SkinData1, window, 1), 0);
    EXPECT_TRUE(checked(2));

    choose(0, [&] { return Form->SkinData1->SkinName() == stored; });
    EXPECT_EQ(Form->SkinData1->SkinName(), stored);
    EXPECT_EQ(frametest::BorderMisses(*Form->SkinData1, window, 1), 0) << "the stored skin's frame";
    EXPECT_TRUE(checked(0));
}

TEST_F(TMainWindow, AboutBoxOpensModally)
{
    SIZE client{};
    std::wstring caption;
    bool skinned = false;
    During([&] {
        TCustomForm* about = Screen->ActiveForm();
        ASSERT_NE(about, nullptr);
        ASSERT_NE(about, Form.get());
        skinned = SkinManager && SkinManager->FindSkinForm(about->Handle());
        caption = about->Caption();
        client = {about->ClientWidth(), about->ClientHeight()};
        about->Close();
    });
    Form->imgAboutClick(nullptr);
    EXPECT_EQ(caption, L"关于");
    EXPECT_TRUE(skinned) << "the about box passes the hook and wears the skin";
    EXPECT_EQ(client.cx, 309);
    EXPECT_EQ(client.cy, 60);
}

// The centre of the skin's caption button with this action on a window (a
// right-aligned button, as the skin places them), in screen coordinates.
POINT CaptionButtonCentre(const TSkinData& Skin, HWND Window, int Action)
{
    RECT outer{};
    GetWindowRect(Window, &outer);
    for (const auto& button : Skin.CaptionButtons()) {
        if (button->Action != Action || button->Align != 1 || button->Bitmap->Empty())
            continue;
        const int width = button->Bitmap->Width() / std::max(1, button->FrameCount);
        return {outer.right - button->XCoord + width / 2, outer.top + button->YCoord + button->Bitmap->Height() / 2};
    }
    ADD_FAILURE() << "the skin has no right-aligned button with action " << Action;
    return {};
}

// The job list wears the skin's bar as soon as the jobs outgrow it, laid
// exactly over the list's own bar, and loses it when the list is cleared.
TEST_F(TMainWindow, TheJobListShowsTheSkinsScrollBar)
{
    HWND window = Form->Handle();
    TWinSkinForm* frame = nullptr;
    ASSERT_TRUE(PumpUntil([&] {
        frame = SkinManager ? SkinManager->FindSkinForm(window) : nullptr;
        return frame && frame->State() == fsReady;
    }));
    HWND list = Form->lvwFiles->Handle();
    auto* skin = dynamic_cast<TSkinListView*>(frame->Dispatch().Controls().FindByWindow(list));
    ASSERT_NE(skin, nullptr) << "the job list is not skinned";
    std::vector<std::wstring> chosen;
    for (int i = 0; i < 24; ++i)
        chosen.push_back(MakeSource(L"job" + std::to_wstring(i) + L".avi"));
    AddFiles(chosen);
    ASSERT_TRUE(testsupport::WaitUntil([&] { return IsWindowVisible(skin->Vertical()->Handle()) != FALSE; },
                                       "the skin's bar over the list's", testsupport::kDeadlineMs,
                                       testsupport::DispatchThroughApplication));
    testsupport::Flush(testsupport::DispatchThroughApplication);
    SCROLLBARINFO info{};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(GetScrollBarInfo(list, OBJID_VSCROLL, &info));
    ASSERT_FALSE(info.rgstate[0] & STATE_SYSTEM_INVISIBLE) << "24 jobs fit without a bar";
    RECT overlay{};
    ASSERT_TRUE(IsWindowVisible(skin->Vertical()->Handle()));
    GetWindowRect(skin->Vertical()->Handle(), &overlay);
    EXPECT_TRUE(EqualRect(&overlay, &info.rcScrollBar));
    Form->imgClearClick(nullptr);
    EXPECT_TRUE(testsupport::WaitUntil([&] { return !IsWindowVisible(skin->Vertical()->Handle()); },
                                       "the skin's bar gone with the jobs", testsupport::kDeadlineMs,
                                       testsupport::DispatchThroughApplication));
}

TEST_F(TMainWindow, SkinnedCaptionButtonsMinimiseTheWindowAndCloseTheAboutBox)
{
    HWND window = Form->Handle();
    ASSERT_TRUE(PumpUntil([&] {
        TWinSkinForm* frame = SkinManager ? SkinManager->FindSkinForm(window) : nullptr;
        return frame && frame->State() == fsReady;
    }));
    SetForegroundWindow(window);
    ASSERT_TRUE(testsupport::WaitUntil([&] { return GetForegroundWindow() == window; }, "the window in front",
                                       testsupport::kDeadlineMs, testsupport::DispatchThroughApplication));
    ClickAt(CaptionButtonCentre(*Form->SkinData1, window, 2));
    EXPECT_TRUE(PumpUntil([&] { return IsIconic(window) != FALSE; }));
    ShowWindow(window, SW_RESTORE);
    SetForegroundWindow(window);
    ASSERT_TRUE(testsupport::WaitUntil([&] { return GetForegroundWindow() == window; }, "the window in front",
                                       testsupport::kDeadlineMs, testsupport::DispatchThroughApplication));

    bool closedByItsButton = false;
    During([&] {
        TCustomForm* about = Screen->ActiveForm();
        ClickAt(CaptionButtonCentre(*Form->SkinData1, about->Handle(), 0));
        // The box closes once this returns to its loop; the click has asked it to.
        testsupport::PumpUntil([&] { return about->ModalResult != mrNone; }, testsupport::kDeadlineMs,
                               testsupport::DispatchThroughApplication);
        closedByItsButton = about->ModalResult != mrNone;
        if (!closedByItsButton)
            about->Close();
    }, [&] {
        TCustomForm* about = Screen->ActiveForm();
        TWinSkinForm* frame = about && about != Form.get() && SkinManager
                                  ? SkinManager->FindSkinForm(about->Handle()) : nullptr;
        return frame && frame->State() == fsReady;
    });
    Form->imgAboutClick(nullptr);
    EXPECT_TRUE(closedByItsButton);
}

// Where no window manager keeps the windows (the bare display of the README's
// example), a minimised window is a bar of the skin's caption on the screen,
// and a double-click on it brings the window back, painted whole.
TEST_F(TMainWindow, MinimisedWindowIsASkinnedBarThatADoubleClickRestores)
{
    HWND window = Form->Handle();
    ASSERT_TRUE(testsupport::WaitUntil([&] {
        TWinSkinForm* frame = SkinManager ? SkinManager->FindSkinForm(window) : nullptr;
        return frame && frame->State() == fsReady;
    }, "the main window wears the skin"));
    SetForegroundWindow(window);
    ASSERT_TRUE(testsupport::WaitUntil([&] { return GetForegroundWindow() == window; }, "the window in front"));
    // The strip's picture as its file holds it, sampled where no button lies.
    const std::wstring stripFile = AppDir + L"\\Images\\bg.bmp";
    const gdi::Bitmap strip(static_cast<HBITMAP>(
        LoadImageW(nullptr, stripFile.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
    ASSERT_NE(strip.Get(), nullptr);
    const gdi::MemoryDC stripDc(nullptr);
    const gdi::Selection stripPicture(stripDc.Get(), strip.Get());
    const POINT samples[] = {{320, 5}, {380, 25}, {440, 45}, {490, 10}};
    const auto stripWhole = [&] {
        const testsupport::TPixels client = testsupport::ReadBack(window, testsupport::TArea::Client);
        return std::all_of(std::begin(samples), std::end(samples), [&](POINT at) {
            return client.At(at.x, at.y) == GetPixel(stripDc.Get(), at.x, at.y);
        });
    };
    ASSERT_TRUE(testsupport::WaitUntil(stripWhole, "the strip painted"));

    testsupport::Click(CaptionButtonCentre(*Form->SkinData1, window, 2), testsupport::DispatchThroughApplication);
    ASSERT_TRUE(testsupport::WaitUntil([&] { return IsIconic(window) != FALSE; }, "the window minimised"));
    RECT bar{};
    GetWindowRect(window, &bar);
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    RECT seen{};
    ASSERT_TRUE(IntersectRect(&seen, &bar, &screen) && EqualRect(&seen, &bar))
        << "the minimised bar lies on the screen, where a click reaches it";
    // The bar is the skin's Top image from its left end, whose fixed left
    // part lies under the bar's first pixels.
    const COLORREF captionPixel = Form->SkinData1->Top()->Bitmap->Canvas().Pixels(2, 2) & 0xFFFFFF;
    EXPECT_TRUE(testsupport::WaitUntil([&] { return testsupport::ReadScreen(bar).At(2, 2) == captionPixel; },
                                       "the bar drawn with the skin's caption"));

    // Both clicks queued at once: a loaded machine must not stretch them
    // beyond the double-click time.
    const POINT onText{bar.left + (bar.right - bar.left) / 3, (bar.top + bar.bottom) / 2};
    INPUT clicks[] = {testsupport::MouseInput(onText, 0),
                      testsupport::MouseInput(onText, MOUSEEVENTF_LEFTDOWN),
                      testsupport::MouseInput(onText, MOUSEEVENTF_LEFTUP),
                      testsupport::MouseInput(onText, MOUSEEVENTF_LEFTDOWN),
                      testsupport::MouseInput(onText, MOUSEEVENTF_LEFTUP)};
    SendInput(static_cast<UINT>(std::size(clicks)), clicks, sizeof(INPUT));
    ASSERT_TRUE(testsupport::WaitUntil([&] { return !IsIconic(window); }, "a double-click restored the window",
                                       testsupport::kDeadlineMs, testsupport::DispatchThroughApplication));
    EXPECT_EQ(Form->ClientWidth(), 558);
    EXPECT_EQ(Form->ClientHeight(), 314);
    EXPECT_TRUE(testsupport::WaitUntil(stripWhole, "the restored window painted whole"));
}

// The queue runs from messages: the click on Convert returns at once and the
// very next click reaches the about box, the conversion going on behind it.
TEST_F(TMainWindow, ClickRightAfterConvertOpensTheAboutBox)
{
    AddFile(MakeSource(L"a.avi"));
    AddFile(MakeSource(L"b.avi"));
    Form->OutPath = OutDir + L"\\";
    SetScript(L"FFMPEG", L"sleep:1500|touch");
    SetForegroundWindow(Form->Handle());
    ASSERT_TRUE(testsupport::WaitUntil([&] { return GetForegroundWindow() == Form->Handle(); },
                                       "the window in front", testsupport::kDeadlineMs,
                                       testsupport::DispatchThroughApplication));
    bool convertingWhenOpen = false;
    During([&] {
        convertingWhenOpen = Form->Converting;
        Screen->ActiveForm()->Close();
    }, [this] { return Screen->ActiveForm() != nullptr && Screen->ActiveForm() != Form.get(); });
    ClickOn(Form->imgConvert);
    ClickOn(Form->imgAbout);
    ASSERT_TRUE(PumpUntil([this] { return !Form->Converting && Runs().size() == 4; }));
    EXPECT_TRUE(convertingWhenOpen) << "the about box opened while the queue ran";
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(Form->FileInfoAt(1)->Status, L"完成");
}

TEST_F(TMainWindow, QueueGoesOnBehindTheAboutBox)
{
    AddFile(MakeSource(L"a.avi"));
    AddFile(MakeSource(L"b.avi"));
    Form->OutPath = OutDir + L"\\";
    SetScript(L"FFMPEG", L"sleep:300|touch");
    const ULONGLONG opened = GetTickCount64();
    std::size_t runsWhileOpen = 0;
    bool endedWhileOpen = false;
    During([&] { Form->imgAboutClick(Form->imgAbout); });
    // Inside the about box's own loop: wait for the whole queue, or give up
    // after a while so a stalled queue fails instead of hanging.
    During([&] {
        runsWhileOpen = Runs().size();
        endedWhileOpen = !Form->Converting;
        Screen->ActiveForm()->Close();
    }, [&] { return !Form->Converting || GetTickCount64() - opened > 10000; });
    Form->imgConvertClick(Form->imgConvert);
    ASSERT_TRUE(PumpUntil([this] { return !Form->Converting; }));
    EXPECT_EQ(runsWhileOpen, 4u) << "both jobs ran while the box was open";
    EXPECT_TRUE(endedWhileOpen);
    EXPECT_EQ(Form->lblInfo->Caption(), L"转换完成");
}

TEST_F(TMainWindow, AboutBoxShowsTheSkinnedCaption)
{
    // A point of the caption strip inside the Top image's fixed left part.
    const TDataSkinBorder& top = *Form->SkinData1->Top();
    const TDataSkinBorder& left = *Form->SkinData1->Left();
    const int x = left.Bitmap->Width() / left.FrameCount + 2;
    const COLORREF expected = top.Bitmap->Canvas().Pixels(2, 2) & 0xFFFFFF;
    COLORREF seen = CLR_INVALID;
    During([&] {
        TCustomForm* about = Screen->ActiveForm();
        ASSERT_NE(about, nullptr);
        HWND window = about->Handle();
        seen = WindowPixel(window, x, 2);
        about->Close();
    }, [&] {
        TCustomForm* about = Screen->ActiveForm();
        TWinSkinForm* frame = about && SkinManager ? SkinManager->FindSkinForm(about->Handle()) : nullptr;
        return frame && frame->State() == fsReady;
    });
    Form->imgAboutClick(nullptr);
    EXPECT_EQ(seen, expected);
}

// Out of use, a picture button is grey and shows no outline; back in use it
// has its colours again.
TEST_F(TMainWindow, ButtonsOutOfUseLookDisabled)
{
    AddFile(MakeSource(L"a.avi"));
    Form->OutPath = OutDir + L"\\";
    SetScript(L"FFMPEG", L"sleep:600|touch");
    testsupport::Flush(testsupport::DispatchThroughApplication);
    const auto colourful = [](const std::vector<COLORREF>& Pixels) {
        return std::count_if(Pixels.begin(), Pixels.end(), [](COLORREF c) {
            return std::abs(GetRValue(c) - GetGValue(c)) + std::abs(GetGValue(c) - GetBValue(c)) > 24;
        });
    };
    const RECT convert = BoundsOnForm(Form->imgConvert);
    const RECT about = BoundsOnForm(Form->imgAbout);
    ASSERT_GT(colourful(ClientPixels(convert)), 50) << "the picture has colours of its own";
    Form->imgAddMouseMove(Form->imgConvert, 0, 5, 5);
    std::vector<COLORREF> whileConverting;
    std::vector<COLORREF> aboutWhileConverting;
    During([&] {
        testsupport::Flush(testsupport::DispatchThroughApplication);
        whileConverting = ClientPixels({convert.left, convert.top, convert.right + 1, convert.bottom + 1});
        aboutWhileConverting = ClientPixels(about);
        EXPECT_FALSE(Form->imgAdd->Enabled());
        EXPECT_FALSE(Form->imgDelete->Enabled());
        EXPECT_FALSE(Form->imgClear->Enabled());
        EXPECT_FALSE(Form->imgOutPath->Enabled());
        EXPECT_TRUE(Form->imgAbout->Enabled());
    }, [this] { return Form->Converting; });
    Convert();
    ASSERT_FALSE(whileConverting.empty());
    EXPECT_EQ(colourful(whileConverting), 0) << "grey, and the outline gone with the colours";
    EXPECT_GT(colourful(aboutWhileConverting), 50) << "the about button stays in use";
    testsupport::Flush(testsupport::DispatchThroughApplication);
    EXPECT_GT(colourful(ClientPixels(convert)), 50);
    EXPECT_TRUE(Form->imgAdd->Enabled());
}

// Files dropped on the window from the desktop are probed and added in
// turn, folders left out; one whose probe fails is added all the same.
TEST_F(TMainWindow, DroppedFilesAreProbedAndAdded)
{
    EXPECT_TRUE(GetWindowLongPtrW(Form->Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    SetScript(L"MPLAYER", L"failif:b.mkv|print:ID_LENGTH=5");
    const std::vector<std::wstring> dropped = {MakeSource(L"a.avi"), MakeSource(L"拖 放\\b.mkv"),
                                               Root + L"\\源", MakeSource(L"c.mov")};
    SendMessageW(Form->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(DropOf(dropped)), 0);
    ASSERT_TRUE(PumpUntil([this] { return !Form->Probing(); }));
    ASSERT_EQ(Form->FileCount(), 3);
    EXPECT_EQ(Form->FileInfoAt(0)->Path, dropped[0]);
    EXPECT_EQ(Form->FileInfoAt(1)->Path, dropped[1]);
    EXPECT_EQ(Form->FileInfoAt(2)->Path, dropped[3]);
    EXPECT_EQ(Form->FileInfoAt(0)->Duration, 5);
    EXPECT_EQ(Form->FileInfoAt(1)->Duration, 0);
    EXPECT_EQ(Form->FileInfoAt(2)->Duration, 5);
    EXPECT_EQ(ListItemCount(), 3);
    EXPECT_EQ(Runs().size(), 3u);

    // While converting a drop adds nothing.
    Form->OutPath = OutDir + L"\\";
    SetScript(L"FFMPEG", L"sleep:300|touch");
    During([&] {
        SendMessageW(Form->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(DropOf({dropped[0]})), 0);
    }, [this] { return Form->Converting; });
    Convert();
    EXPECT_EQ(Form->FileCount(), 3);
}

TEST_F(TMainWindow, SeveralFilesChosenAtOnceAreAddedInOrder)
{
    const std::vector<std::wstring> chosen = {MakeSource(L"一.avi"), MakeSource(L"二.avi")};
    AddFiles(chosen);
    ASSERT_EQ(Form->FileCount(), 2);
    EXPECT_EQ(Form->FileInfoAt(0)->Path, chosen[0]);
    EXPECT_EQ(Form->FileInfoAt(1)->Path, chosen[1]);
    EXPECT_EQ(Runs().size(), 2u);
    EXPECT_TRUE(Form->imgAdd->Enabled());
}

TEST_F(TMainWindow, WindowsShowTheProgramsIcon)
{
    EXPECT_NE(SendMessageW(Form->Handle(), WM_GETICON, ICON_BIG, 0), 0);
    EXPECT_NE(SendMessageW(Form->Handle(), WM_GETICON, ICON_SMALL, 0), 0);
    LRESULT aboutIcon = 0;
    During([&] {
        TCustomForm* about = Screen->ActiveForm();
        ASSERT_NE(about, Form.get());
        aboutIcon = SendMessageW(about->Handle(), WM_GETICON, ICON_SMALL, 0);
        about->Close();
    });
    Form->imgAboutClick(nullptr);
    EXPECT_NE(aboutIcon, 0);
}

TEST_F(TMainWindow, GuidePanelShowsTheGuideAsTextWithoutABrowserEngine)
{
    ASSERT_FALSE(Form->WebBrowser1->ShowsBrowser()) << "this test runs where no browser engine is";
    const std::wstring text = Form->WebBrowser1->PlainText();
    EXPECT_NE(text.find(L"视频帧频"), std::wstring::npos);
    EXPECT_NE(text.find(L"输出目录"), std::wstring::npos);
    EXPECT_EQ(text.find(L"<"), std::wstring::npos);
}

// The guide's text keeps off the panel's left border: no ink in the first
// columns of its left half (the scroll bar is on the right).
TEST_F(TMainWindow, GuideTextKeepsAMarginFromTheBorder)
{
    const RECT panel = BoundsOnForm(Form->WebBrowser1);
    const RECT left{panel.left, panel.top, (panel.left + panel.right) / 2, panel.bottom};
    const int width = left.right - left.left;
    std::optional<int> firstInk;
    ASSERT_TRUE(PumpUntil([&] {
        const std::vector<COLORREF> pixels = ClientPixels(left);
        std::map<COLORREF, int> counts;
        for (const COLORREF pixel : pixels)
            ++counts[pixel];
        const COLORREF paper =
            std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) { return a.second < b.second; })->first;
        for (std::size_t at = 0; at < pixels.size(); ++at)
            if (pixels[at] != paper && (!firstInk || static_cast<int>(at) % width < *firstInk))
                firstInk = static_cast<int>(at) % width;
        return firstInk.has_value();
    })) << "no text in the guide panel";
    EXPECT_GE(*firstInk, 3) << "the text touches the border";
}

TEST_F(TMainWindow, StoredSkinIsBuiltWithTheWindow)
{
    const TSkinData& skin = *Form->SkinData1;
    EXPECT_EQ(skin.Owner(), Form.get());
    EXPECT_FALSE(skin.SkinLoading());
    EXPECT_EQ(skin.SkinName(), "Vidkiln Steel");
    EXPECT_TRUE(skin.Active());
    EXPECT_EQ(skin.DisableTag, 99);
    EXPECT_EQ(skin.SkinFormtype, sfMainform);
    EXPECT_FALSE(InSet(skin.SkinControls, xcProgress));
    EXPECT_TRUE(InSet(skin.SkinControls, xcMainMenu));
    EXPECT_TRUE(InSet(skin.Options, xoCaptionButtonHint));
    EXPECT_TRUE(InSet(skin.Options, xoPreview));
    EXPECT_TRUE(InSet(skin.Options, xoToolbarBK));
    EXPECT_TRUE(skin.MenuUpdate);
    EXPECT_FALSE(skin.MenuMerge);
}

// The patterns of one entry of a dialog filter ("Name|*.A;*.B|Name|...").
std::vector<std::wstring> FilterEntries(const std::wstring& Filter)
{
    std::vector<std::wstring> parts;
    size_t start = 0;
    for (size_t bar; (bar = Filter.find(L'|', start)) != std::wstring::npos; start = bar + 1)
        parts.push_back(Filter.substr(start, bar - start));
    parts.push_back(Filter.substr(start));
    return parts;
}

TEST_F(TMainWindow, FirstFilterShowsEveryKindTheEncoderConverts)
{
    const std::vector<std::wstring> parts = FilterEntries(Form->OpenDialog1->Filter);
    ASSERT_GE(parts.size(), 2u);
    const std::wstring first = parts[1];
    for (const wchar_t* name : {L"a.rm", L"a.RMVB", L"a.avi", L"a.mpg", L"a.mpeg", L"a.wmv", L"a.asf",
                                L"手机.3gp", L"a.3GP", L"a.avs", L"VTS_01_1.VOB", L"a.dat", L"a.mov",
                                L"a.qt", L"a.mkv", L"a.mp4", L"a.m4v", L"a.flv", L"a.webm"})
        EXPECT_TRUE(PathMatchSpecExW(name, first.c_str(), PMSF_MULTIPLE) == S_OK)
            << Narrow(name) << " is hidden by " << Narrow(first);
    EXPECT_EQ(parts.size() % 2, 0u) << "every entry has a name and patterns";
    EXPECT_EQ(parts.back(), L"*.*") << "the last entry shows every file";
}

// A file the probe cannot read is told apart when it is added, says why,
// and is left out of the run; the others show their lengths.
TEST_F(TMainWindow, UnreadableFileIsMarkedAtAddAndLeftOutOfTheRun)
{
    const std::wstring video = MakeSource(L"clip.avi");
    const std::wstring notes = MakeSource(L"notes.avi");
    SetScript(L"MPLAYER", L"failif:notes.avi|print:ID_LENGTH=754.4");
    AddFiles({video, notes});
    ASSERT_EQ(Form->FileCount(), 2);
    EXPECT_EQ(ListText(0, 1), L"准备就绪");
    EXPECT_EQ(ListText(0, 2), L"12:34");
    EXPECT_EQ(ListText(1, 1), L"无法读取");
    EXPECT_EQ(ListText(1, 2), L"");
    EXPECT_FALSE(Form->FileInfoAt(1)->Problem.empty());
    EXPECT_NE(Form->StatusBar1->SimpleText().find(L"notes.avi"), std::wstring::npos)
        << Narrow(Form->StatusBar1->SimpleText());

    Form->OutPath = OutDir + L"\\";
    Convert();
    EXPECT_EQ(Runs().size(), 3u) << "two probes and one encoder run";
    EXPECT_EQ(Form->FileInfoAt(0)->Status, L"完成");
    EXPECT_EQ(Form->FileInfoAt(1)->Status, L"无法读取");
}

TEST_F(TMainWindow, EncoderFailureNamesWhatTheEncoderSaidLast)
{
    AddFile(MakeSource(L"a.avi"));
    Form->OutPath = OutDir + L"\\";
    SetScript(L"FFMPEG", L"print:ffmpeg.exe: moov atom not found|"
                         L"print:ffmpeg.exe: the encoder failed with exit code 1|exit:1");
    Convert();
    EXPECT_EQ(Form->StatusBar1->SimpleText(),
              L"第 1 个文件失败（a.avi）：编码程序出错，退出码 1：ffmpeg.exe: moov atom not found");
}

// Clear while files are still being probed ends the add: the files that
// were waiting do not come back, and no text of an earlier run stays.
TEST_F(TMainWindow, ClearDuringTheAddStopsItAndForgetsOldTexts)
{
    AddFile(MakeSource(L"bad.avi"));
    Form->OutPath = OutDir + L"\\";
    SetScript(L"FFMPEG", L"exit:1");
    Convert();
    ASSERT_NE(Form->lblInfo->Caption(), L"准备就绪");
    SetScript(L"MPLAYER", L"sleep:300|print:ID_LENGTH=4");
    During([this] { Form->imgClearClick(nullptr); }, [this] { return Runs().size() == 3; });
    AddFiles({MakeSource(L"a.avi"), MakeSource(L"b.avi"), MakeSource(L"c.avi")});
    // No probe may start after the clear: nothing to wait for but time.
    testsupport::Settle(500, testsupport::DispatchThroughApplication);
    EXPECT_EQ(Form->FileCount(), 0);
    EXPECT_EQ(ListItemCount(), 0);
    EXPECT_EQ(Runs().size(), 3u) << "no probe after the clear";
    EXPECT_FALSE(Form->DosCommand2->IsRunning());
    EXPECT_TRUE(Form->imgAdd->Enabled());
    EXPECT_EQ(Form->lblInfo->Caption(), L"准备就绪");
    EXPECT_EQ(Form->StatusBar1->SimpleText(), L"");
}

// The settings apply to every job of a run: they cannot be changed while
// it converts, and a click on a list opens nothing.
TEST_F(TMainWindow, SettingsAreLockedWhileConverting)
{
    AddFile(MakeSource(L"a.avi"));
    AddFile(MakeSource(L"b.avi"));
    Form->OutPath = OutDir + L"\\";
    SetScript(L"FFMPEG", L"sleep:600|touch");
    TComboBox* const settings[] = {Form->cmbVideoKbps, Form->cmbVideoFrame, Form->cmbVideoSize,
                                   Form->cmbAspect};
    bool clicked = false;
    During([&] {
        for (TComboBox* list : settings)
            EXPECT_FALSE(IsWindowEnabled(list->Handle()));
        EXPECT_FALSE(Form->imgOutPath->Enabled());
        ClickOn(Form->cmbVideoSize);
        testsupport::Flush(testsupport::DispatchThroughApplication);
        EXPECT_FALSE(SendMessageW(Form->cmbVideoSize->Handle(), CB_GETDROPPEDSTATE, 0, 0));
        clicked = true;
    }, [this] { return Form->Converting; });
    Convert();
    EXPECT_TRUE(clicked);
    for (TComboBox* list : settings)
        EXPECT_TRUE(IsWindowEnabled(list->Handle()));
    const std::vector<std::wstring> runs = Runs();
    ASSERT_EQ(runs.size(), 4u);
    EXPECT_NE(runs[2].find(L"176x220"), std::wstring::npos) << Narrow(runs[2]);
    EXPECT_NE(runs[3].find(L"176x220"), std::wstring::npos) << Narrow(runs[3]);
}

// Every colour of the skin's vertical track picture, and the face colour
// that shows where the picture leaves the track open.
std::set<COLORREF> SkinTrackColours(const TSkinData& Skin)
{
    std::set<COLORREF> colours{static_cast<COLORREF>(Skin.SkinColor(scButtonFace)) & 0xFFFFFF};
    const TBitmap& track = *Skin.VertScroll()->Bitmap;
    for (int y = 0; y < track.Height(); ++y)
        for (int x = 0; x < track.Width(); ++x)
            colours.insert(static_cast<COLORREF>(track.Canvas().Pixels(x, y)) & 0xFFFFFF);
    return colours;
}

// Whether the track of a window's vertical bar (the rows beside the thumb,
// down its middle) is drawn only in the colours of the skin's track.
bool TrackWearsTheSkin(HWND Window, const std::set<COLORREF>& Colours)
{
    SCROLLBARINFO bar{};
    bar.cbSize = sizeof(bar);
    RECT window{};
    if (!GetScrollBarInfo(Window, OBJID_VSCROLL, &bar) || !GetWindowRect(Window, &window))
        return false;
    const testsupport::TPixels shot = testsupport::ReadBack(Window);
    const int x = (bar.rcScrollBar.left + bar.rcScrollBar.right) / 2 - window.left;
    const int length = bar.rcScrollBar.bottom - bar.rcScrollBar.top;
    // The arrows are square; Wine gives the thumb's size as dxyLineButton.
    const int arrow = bar.rcScrollBar.right - bar.rcScrollBar.left;
    int sampled = 0;
    for (int along = arrow + 1; along < length - arrow - 1; ++along) {
        if (along > bar.xyThumbTop - 2 && along < bar.xyThumbBottom + 1)
            continue;
        ++sampled;
        if (!Colours.count(shot.At(x, bar.rcScrollBar.top - window.top + along)))
            return false;
    }
    return sampled > 0;
}

// A press on the arrow of a settings list's drop-down runs the system's own
// loop, which draws the native bar; the skin's bar comes back after it.
TEST_F(TMainWindow, SettingsDropDownKeepsTheSkinsBarAfterAPressOnItsArrow)
{
    HWND window = Form->Handle();
    ASSERT_TRUE(testsupport::WaitUntil([&] {
        TWinSkinForm* frame = SkinManager ? SkinManager->FindSkinForm(window) : nullptr;
        return frame && frame->State() == fsReady;
    }, "the main window wears the skin", testsupport::kDeadlineMs, testsupport::DispatchThroughApplication));
    SetForegroundWindow(window);
    ASSERT_TRUE(testsupport::WaitUntil([&] { return GetForegroundWindow() == window; }, "the window in front",
                                       testsupport::kDeadlineMs, testsupport::DispatchThroughApplication));
    const std::set<COLORREF> colours = SkinTrackColours(*Form->SkinData1);
    COMBOBOXINFO combo{};
    combo.cbSize = sizeof(combo);
    ASSERT_TRUE(GetComboBoxInfo(Form->cmbVideoFrame->Handle(), &combo));
    const RECT box = BoundsOnForm(Form->cmbVideoFrame);
    POINT onBox{(box.left + box.right) / 2, (box.top + box.bottom) / 2};
    ClientToScreen(window, &onBox);
    testsupport::Click(onBox, testsupport::DispatchThroughApplication);
    ASSERT_TRUE(testsupport::WaitUntil([&] { return IsWindowVisible(combo.hwndList) != FALSE; }, "the list dropped down",
                                       testsupport::kDeadlineMs, testsupport::DispatchThroughApplication));
    ASSERT_TRUE(testsupport::WaitUntil([&] { return TrackWearsTheSkin(combo.hwndList, colours); },
                                       "the drop-down's bar in the skin", testsupport::kDeadlineMs,
                                       testsupport::DispatchThroughApplication));

    SCROLLBARINFO bar{};
    bar.cbSize = sizeof(bar);
    ASSERT_TRUE(GetScrollBarInfo(combo.hwndList, OBJID_VSCROLL, &bar));
    const POINT downArrow{(bar.rcScrollBar.left + bar.rcScrollBar.right) / 2,
                          bar.rcScrollBar.bottom - (bar.rcScrollBar.right - bar.rcScrollBar.left) / 2};
    testsupport::Click(downArrow, testsupport::DispatchThroughApplication);
    testsupport::Flush(testsupport::DispatchThroughApplication);
    EXPECT_TRUE(IsWindowVisible(combo.hwndList)) << "a press on the bar keeps the list open";
    EXPECT_TRUE(testsupport::WaitUntil([&] { return TrackWearsTheSkin(combo.hwndList, colours); },
                                       "the drop-down's bar in the skin after a press on its arrow",
                                       testsupport::kDeadlineMs, testsupport::DispatchThroughApplication));
    SendMessageW(Form->cmbVideoFrame->Handle(), CB_SHOWDROPDOWN, FALSE, 0);
}

TEST_F(TMainWindow, HoverOutlineGoesWithTheDialogItsButtonOpened)
{
    testsupport::Flush(testsupport::DispatchThroughApplication);
    const COLORREF outline = RGB(37, 157, 217);
    During([] { Screen->ActiveForm()->Close(); });
    Form->imgAddMouseMove(Form->imgAbout, 0, 5, 5);
    ASSERT_EQ(ClientPixel(496, 20), outline);
    Form->imgAboutClick(nullptr);
    testsupport::Flush(testsupport::DispatchThroughApplication);
    EXPECT_NE(ClientPixel(496, 20), outline);
}

TEST_F(TMainWindow, AboutBoxShowsTheVersion)
{
    std::wstring version;
    During([&] {
        auto* about = dynamic_cast<TFrmAbout*>(Screen->ActiveForm());
        ASSERT_NE(about, nullptr);
        version = about->Label2->Caption();
        about->Close();
    });
    Form->imgAboutClick(nullptr);
    EXPECT_EQ(version, L"版本 3.0");
}

} // namespace
