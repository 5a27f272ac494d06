#include "base/FullPath.h"
#include "base/SystemError.h"

#include <gtest/gtest.h>

#include <string>

TEST(FullPath, ResolvesNamesAndKeepsLongOnes)
{
    wchar_t current[MAX_PATH];
    const DWORD length = GetCurrentDirectoryW(MAX_PATH, current);
    std::wstring folder(current, length);
    if (folder.back() != L'\\')
        folder += L'\\';
    EXPECT_EQ(FullPath(L"a\\b.txt"), folder + L"a\\b.txt");
    EXPECT_EQ(FullPath(L"C:\\a\\..\\b"), L"C:\\b");
    // Longer than MAX_PATH: the answer is the whole name, not a cut one.
    const std::wstring longName = L"C:\\" + std::wstring(300, L'x') + L"\\y.mp4";
    EXPECT_EQ(FullPath(longName), longName);
}

TEST(SystemError, GivesTheSystemsTextWithoutALineBreak)
{
    const std::wstring text = SystemErrorMessage(ERROR_FILE_NOT_FOUND);
    ASSERT_FALSE(text.empty());
    EXPECT_NE(text.back(), L'\n');
    EXPECT_NE(text.back(), L'\r');
    EXPECT_EQ(SystemErrorMessage(0xDEADBEEF), L"System error 3735928559");
}
