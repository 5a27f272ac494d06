// The tools over a Windows engine (the fake of FakeEngine.cpp, found through
// VIDKILN_ENGINE_DIR): output pipe, exit code and job object.
#include "ConversionChecks.h"

#include <gtest/gtest.h>

namespace vidkiln::tools::test {
namespace {

class WindowsEngine : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetEnvironmentVariableW(L"VIDKILN_ENGINE_DIR", (TestsFolder() + L"\\fake-engine").c_str());
        FFolder = ClipsFolder() + L"\\windows engine";
        CreateDirectoryW(FFolder.c_str(), nullptr);
    }
    void TearDown() override { SetEnvironmentVariableW(L"VIDKILN_ENGINE_DIR", nullptr); }

    // Converts an input whose text tells the fake what to do.
    TToolResult Convert(const std::string& mode, const std::function<bool(const std::string&)>& onLine = {})
    {
        FInput = FFolder + L"\\" + Wide(mode) + L".avi";
        FOutput = FFolder + L"\\" + Wide(mode) + L".mp4";
        WriteFileBytes(FInput, mode);
        WriteFileBytes(FOutput, "older good result");
        return RunTool(EncoderCommandLine(ToolsFolder() + L"\\", FInput, FFolder + L"\\", kStartSettings),
                       onLine);
    }

    std::wstring FFolder;
    std::wstring FInput;
    std::wstring FOutput;
};

TEST_F(WindowsEngine, ConvertsThroughItsPipeAndHandle)
{
    const TToolResult run = Convert("ok");
    EXPECT_EQ(run.ExitCode, 0u);
    const std::vector<std::string> expected = {"ffmpeg_release_time=1.00=ffmpeg_release_time",
                                               "ffmpeg_release_time=2.00=ffmpeg_release_time",
                                               "ffmpeg_release_time=3.00=ffmpeg_release_time"};
    EXPECT_EQ(run.Lines, expected);
    EXPECT_EQ(ReadFileBytes(FOutput), "fake mp4");
    EXPECT_FALSE(IsFile(FOutput + L".vidkiln-part"));
}

TEST_F(WindowsEngine, PassesItsErrorsOn)
{
    const TToolResult run = Convert("fail");
    EXPECT_EQ(run.ExitCode, 1u);
    ASSERT_GE(run.Lines.size(), 2u);
    EXPECT_NE(run.Lines[0].find("Invalid data found"), std::string::npos) << run.Lines[0];
    EXPECT_EQ(ReadFileBytes(FOutput), "older good result");
    EXPECT_FALSE(IsFile(FOutput + L".vidkiln-part"));
}

TEST_F(WindowsEngine, DiesWithTheStoppedToolAndLeavesNoPart)
{
    const TToolResult run = Convert("hang", [](const std::string& line) { return line.find("release") == std::string::npos; });
    ASSERT_FALSE(run.Lines.empty());
    DWORD pid = 0;
    for (int i = 0; i < 3000 && !pid; ++i, Sleep(20)) {
        const std::string text = ReadFileBytes(FInput + L".pid");
        pid = text.empty() ? 0 : static_cast<DWORD>(std::stoul(text));
    }
    ASSERT_NE(pid, 0u);
    // The waits end as soon as what they wait for happens; their limits only
    // keep a fault from hanging the test on a loaded machine.
    const TKernelHandle engine(OpenProcess(SYNCHRONIZE, FALSE, pid));
    EXPECT_TRUE(!engine || WaitForSingleObject(engine.Get(), 60000) == WAIT_OBJECT_0);
    // The guard removes the unfinished file once the engine has let go of it.
    for (int i = 0; i < 3000 && IsFile(FOutput + L".vidkiln-part"); ++i)
        Sleep(20);
    EXPECT_FALSE(IsFile(FOutput + L".vidkiln-part"));
    EXPECT_EQ(ReadFileBytes(FOutput), "older good result");
}

TEST_F(WindowsEngine, NamesWhereItLookedWhenMissing)
{
    SetEnvironmentVariableW(L"VIDKILN_ENGINE_DIR", (FFolder + L"\\nowhere").c_str());
    const TToolResult run = Convert("ok");
    EXPECT_EQ(run.ExitCode, 4u);
    ASSERT_EQ(run.Lines.size(), 1u);
    EXPECT_NE(run.Lines[0].find("nowhere\\ffmpeg.exe"), std::string::npos) << run.Lines[0];
    EXPECT_EQ(ReadFileBytes(FOutput), "older good result");
}

}  // namespace
}  // namespace vidkiln::tools::test
