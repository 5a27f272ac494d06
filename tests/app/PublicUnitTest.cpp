// Output folder creation and the folder dialog's result.
#include "app/PublicUnit.h"

#include "framework/Forms.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

struct TRecordedBox {
    std::wstring Text;
    UINT Flags = 0;
    int Count = 0;
};

// Answers every message box and remembers the last one.
class PublicUnit : public ::testing::Test {
protected:
    void SetUp() override
    {
        Root = fs::temp_directory_path() / L"vidkiln-publicunit" /
               ::testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::remove_all(Root);
        fs::create_directories(Root);
        Previous = Application->SetMessageBoxFunc([this](HWND, const std::wstring& Text,
                                                         const std::wstring&, UINT Flags) {
            Box.Text = Text;
            Box.Flags = Flags;
            ++Box.Count;
            return IDOK;
        });
    }

    void TearDown() override
    {
        Application->SetMessageBoxFunc(std::move(Previous));
        SetFolderDialog({});
        fs::remove_all(Root);
    }

    fs::path Root;
    TRecordedBox Box;
    TMessageBoxFunc Previous;
};

TEST_F(PublicUnit, EnsureFolderCreatesEveryMissingLevel)
{
    const fs::path target = Root / L"输出 视频" / L"第二层" / L"三";
    std::wstring error;
    EXPECT_TRUE(EnsureFolder(target.wstring() + L"\\", &error));
    EXPECT_TRUE(fs::is_directory(target));
    EXPECT_EQ(Box.Count, 0);
    EXPECT_TRUE(EnsureFolder(target.wstring()));
    EXPECT_EQ(Box.Count, 0);
}

TEST_F(PublicUnit, EnsureFolderReportsAFileInTheWay)
{
    std::ofstream(Root / L"文件") << "x";
    const std::wstring target = (Root / L"文件" / L"sub").wstring() + L"\\";
    std::wstring error;
    EXPECT_FALSE(EnsureFolder(target, &error));
    EXPECT_EQ(Box.Count, 1);
    EXPECT_EQ(Box.Text, L"建立目录：" + target + L"出错！\r\n\r\n请检查目录名是否正确。");
    EXPECT_EQ(Box.Flags, static_cast<UINT>(MB_OK | MB_ICONERROR));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(fs::exists(Root / L"文件" / L"sub"));
}

TEST_F(PublicUnit, EnsureFolderFailsOnAMissingNetworkFolder)
{
    // The first prefix of \\server\share\... is empty and cannot be made.
    EXPECT_FALSE(EnsureFolder(L"\\\\vidkiln-no-such-server\\share\\new\\"));
    EXPECT_EQ(Box.Count, 1);
}

TEST_F(PublicUnit, BrowseFolderAppliesTheBackslashRule)
{
    const struct {
        std::optional<std::wstring> chosen;
        std::wstring expected;
    } cases[] = {
        {L"C:\\", L"C:\\"},
        {L"D:\\Videos", L"D:\\Videos\\"},
        {L"D:\\视频 文件", L"D:\\视频 文件\\"},
        {std::nullopt, L""},
        {L"", L""},
    };
    for (const auto& c : cases) {
        std::wstring prompt;
        SetFolderDialog([&](HWND, const std::wstring& Prompt, const std::wstring&) {
            prompt = Prompt;
            return c.chosen;
        });
        EXPECT_EQ(BrowseFolder(nullptr, L"请选择文件"), c.expected);
        EXPECT_EQ(prompt, L"请选择文件");
    }
}

} // namespace
