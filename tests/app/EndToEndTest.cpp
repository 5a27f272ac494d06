// The main window with the real tools of the build: a generated clip is
// added, an output folder chosen and the clip converted into a valid .mp4.
// The tools' test helpers bring winsock2.h, which must come before windows.h.
#include "tests/tools/ToolRunner.h"

#include "MainTestFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

namespace tt = vidkiln::tools::test;

using TEndToEnd = MainWindowTest;

TEST_F(TEndToEnd, ConvertsAClipWithTheRealTools)
{
    const std::wstring source = Root + L"\\源 文件\\测试 片段.avi";
    CreateDirectoryW((Root + L"\\源 文件").c_str(), nullptr);
    tt::MakeClip(source, 4, L"320x240");
    RecreateFormIn(BuildBinFolder() + L"\\");

    AddFile(source);
    ASSERT_EQ(Form->FileCount(), 1);
    EXPECT_EQ(Form->FileInfoAt(0)->Duration, 4);

    const std::wstring out = Root + L"\\输出 目录";
    SetFolderDialog([&](HWND, const std::wstring&, const std::wstring&) { return std::optional<std::wstring>(out); });
    Form->imgOutPathClick(Form->imgOutPath);
    ASSERT_EQ(Form->OutPath, out + L"\\");

    const auto positions = RecordProgress();
    Convert();

    EXPECT_EQ(Form->FileInfoAt(0)->Status, L"完成") << Narrow(Form->lblInfo->Caption());
    EXPECT_EQ(Form->lblInfo->Caption(), L"转换完成");
    ASSERT_FALSE(positions->empty());
    EXPECT_GE(*std::max_element(positions->begin(), positions->end()), 3);
    const std::wstring output = out + L"\\测试 片段.mp4";
    ASSERT_TRUE(IsFile(output));
    auto described = tt::Describe(output);
    EXPECT_EQ(described["video.codec_name"], "mpeg4");
    EXPECT_EQ(described["video.width"], "176");
    EXPECT_EQ(described["video.height"], "220");
    EXPECT_EQ(described["audio.codec_name"], "aac");
    EXPECT_NEAR(std::atof(described["format.duration"].c_str()), 4.0, 0.5);
}

} // namespace
