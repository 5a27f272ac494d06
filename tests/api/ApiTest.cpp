// The skin engine through its C API, built once against the DLL and once
// against the static library: what each failure returns and leaves behind,
// the calling thread rule, a plain CreateWindowEx window wearing the skin
// (read back from its caption band against the skin's own top border bitmap)
// and stop giving the window back exactly.
#include "api/ApiTestSupport.h"

#include <gtest/gtest.h>

#include "vidkiln/skin.h"

#include <fstream>
#include <memory>
#include <string>
#include <thread>

using namespace apitest;

namespace {

const std::wstring kSteelSkin = Widen(VIDKILN_STEEL_SKIN_FILE);
const std::wstring kSteelDir = Widen(VIDKILN_STEEL_SKIN_DIR);
const std::wstring kLightSkin = Widen(VIDKILN_LIGHT_SKIN_FILE);
const std::wstring kLightDir = Widen(VIDKILN_LIGHT_SKIN_DIR);

// A file that exists but holds no skin.
std::wstring NotASkinFile()
{
    wchar_t folder[MAX_PATH]{};
    GetTempPathW(MAX_PATH, folder);
    const std::wstring path = std::wstring(folder) + L"vidkiln-api-not-a-skin.skn";
    std::ofstream(std::string(path.begin(), path.end()), std::ios::binary) << "this is not a skin archive";
    return path;
}

class SkinApiFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite() { RegisterTestClass(); }

    void SetUp() override
    {
        Band = ReadCaptionBand(kSteelDir);
        ASSERT_GT(Band.Height, 6) << "the skin's top border bitmap and skin.ini";
        Window = MakeShownWindow();
        ASSERT_NE(Window, nullptr);
        ASSERT_TRUE(PumpUntil([&] { return SystemDrawn(Window, Band); })) << "the system's caption before any start";
    }

    void TearDown() override
    {
        VkSkinStop();
        DestroyWindow(Window);
    }

    void StartSteel()
    {
        ASSERT_EQ(VkSkinStartFile(kSteelSkin.c_str()), VK_SKIN_OK) << VkSkinLastError();
        ASSERT_TRUE(PumpUntil([&] { return WearsSkin(Window, Band); })) << "the skin's caption band";
    }

    TCaptionBand Band;
    HWND Window = nullptr;
};

// One suite name per packaging (SkinApiDll, SkinApiStatic), so the two
// programs' cases are told apart.
using VIDKILN_API_SUITE = SkinApiFixture;

TEST_F(VIDKILN_API_SUITE, RefusedStartReportsWhyAndKeepsNothing)
{
    const std::wstring missing = kSteelDir + L"/no-such-skin.skn";
    const std::wstring notASkin = NotASkinFile();
    struct TCase {
        const wchar_t* Path;
        int Code;
        std::wstring InText;
    };
    const TCase cases[] = {
        {nullptr, VK_SKIN_INVALID_ARGUMENT, L"no skin file"},
        {L"", VK_SKIN_INVALID_ARGUMENT, L"no skin file"},
        {missing.c_str(), VK_SKIN_FILE_UNREADABLE, missing},
        {notASkin.c_str(), VK_SKIN_BAD_SKIN, notASkin},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "case with code " << c.Code);
        EXPECT_EQ(VkSkinStartFile(c.Path), c.Code);
        EXPECT_EQ(VkSkinLastErrorCode(), c.Code);
        EXPECT_NE(std::wstring(VkSkinLastError()).find(c.InText), std::wstring::npos) << VkSkinLastError();
        EXPECT_EQ(VkSkinIsSkinned(Window), 0);
        // Nothing was kept: a stop finds nothing to stop.
        VkSkinStop();
        EXPECT_EQ(VkSkinLastErrorCode(), VK_SKIN_NOT_STARTED);
    }
    DeleteFileW(notASkin.c_str());
    StartSteel();
    EXPECT_EQ(VkSkinIsSkinned(Window), 1);
}

TEST_F(VIDKILN_API_SUITE, CallsOutOfOrderGetClearCodes)
{
    EXPECT_EQ(VkSkinSwitchFile(kLightSkin.c_str()), VK_SKIN_NOT_STARTED);
    VkSkinStop();
    EXPECT_EQ(VkSkinLastErrorCode(), VK_SKIN_NOT_STARTED);
    EXPECT_STREQ(VkSkinLastError(), L"skinning has not been started");

    StartSteel();
    EXPECT_EQ(VkSkinStartFile(kSteelSkin.c_str()), VK_SKIN_ALREADY_STARTED);
    EXPECT_EQ(VkSkinIsSkinned(Window), 1) << "a refused second start keeps the first";
    EXPECT_EQ(VkSkinLastErrorCode(), VK_SKIN_OK) << "a query that worked clears the last error";

    VkSkinStop();
    EXPECT_EQ(VkSkinLastErrorCode(), VK_SKIN_OK);
    EXPECT_STREQ(VkSkinLastError(), L"");
    VkSkinStop();
    EXPECT_EQ(VkSkinLastErrorCode(), VK_SKIN_NOT_STARTED);
    EXPECT_STREQ(VkSkinErrorText(VK_SKIN_WRONG_THREAD), L"skinning runs on another thread");
    EXPECT_STREQ(VkSkinErrorText(-5), L"unknown error");
}

TEST_F(VIDKILN_API_SUITE, AnotherThreadIsRefusedAndTheSkinStays)
{
    StartSteel();
    struct TSeen {
        int Switch = -1, Start = -1, StopCode = -1, Skinned = -1;
        std::wstring StopText;
    } seen;
    std::thread other([&] {
        seen.Switch = VkSkinSwitchFile(kLightSkin.c_str());
        seen.Start = VkSkinStartFile(kSteelSkin.c_str());
        VkSkinStop();
        seen.StopCode = VkSkinLastErrorCode();
        seen.StopText = VkSkinLastError();
        seen.Skinned = VkSkinIsSkinned(Window);
    });
    other.join();
    EXPECT_EQ(seen.Switch, VK_SKIN_WRONG_THREAD);
    EXPECT_EQ(seen.Start, VK_SKIN_WRONG_THREAD);
    EXPECT_EQ(seen.StopCode, VK_SKIN_WRONG_THREAD);
    EXPECT_NE(seen.StopText.find(std::to_wstring(GetCurrentThreadId())), std::wstring::npos) << seen.StopText;
    EXPECT_EQ(seen.Skinned, 0);
    // The other thread's failures are its own.
    EXPECT_EQ(VkSkinLastErrorCode(), VK_SKIN_OK);
    EXPECT_EQ(VkSkinIsSkinned(Window), 1);
    EXPECT_TRUE(WearsSkin(Window, Band));
}

TEST_F(VIDKILN_API_SUITE, WindowsMadeAfterTheStartAreSkinnedToo)
{
    StartSteel();
    HWND later = MakeShownWindow();
    EXPECT_TRUE(PumpUntil([&] { return WearsSkin(later, Band); })) << "the later window's caption band";
    EXPECT_EQ(VkSkinIsSkinned(later), 1);
    DestroyWindow(later);
}

TEST_F(VIDKILN_API_SUITE, StopGivesTheWindowBackExactly)
{
    const TWindowState before = TWindowState::Of(Window);
    StartSteel();
    const TWindowState skinned = TWindowState::Of(Window);
    EXPECT_NE(skinned.Procedure, before.Procedure) << "the frame subclasses the window";

    VkSkinStop();
    ASSERT_EQ(VkSkinLastErrorCode(), VK_SKIN_OK) << VkSkinLastError();
    const TWindowState after = TWindowState::Of(Window);
    EXPECT_EQ(after.Style, before.Style);
    EXPECT_EQ(after.ExStyle, before.ExStyle);
    EXPECT_EQ(after.Procedure, before.Procedure);
    EXPECT_EQ(after.Menu, before.Menu);
    EXPECT_EQ(after.RegionKind, before.RegionKind);
    EXPECT_EQ(after.Client.cx, before.Client.cx);
    EXPECT_EQ(after.Client.cy, before.Client.cy);
    EXPECT_EQ(VkSkinIsSkinned(Window), 0);
    RedrawWindow(Window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_TRUE(PumpUntil([&] { return SystemDrawn(Window, Band); })) << "the system's caption after the stop";
}

TEST_F(VIDKILN_API_SUITE, FailedSwitchKeepsTheSkinAndGoodSwitchReplacesIt)
{
    StartSteel();
    const std::wstring notASkin = NotASkinFile();
    EXPECT_EQ(VkSkinSwitchFile(notASkin.c_str()), VK_SKIN_BAD_SKIN);
    DeleteFileW(notASkin.c_str());
    EXPECT_EQ(VkSkinSwitchFile(L""), VK_SKIN_INVALID_ARGUMENT);
    EXPECT_TRUE(PumpUntil([&] { return WearsSkin(Window, Band); }));

    const TCaptionBand light = ReadCaptionBand(kLightDir);
    ASSERT_FALSE(WearsSkin(Window, light)) << "the two skins' caption bands must differ for this test";
    ASSERT_EQ(VkSkinSwitchFile(kLightSkin.c_str()), VK_SKIN_OK) << VkSkinLastError();
    EXPECT_TRUE(PumpUntil([&] { return WearsSkin(Window, light); })) << "the light skin's caption band";
    EXPECT_EQ(VkSkinIsSkinned(Window), 1);
}

} // namespace
