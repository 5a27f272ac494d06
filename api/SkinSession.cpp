#include "api/SkinSession.h"

#include "base/KernelHandle.h"
#include "base/SystemError.h"
#include "framework/Forms.h"
#include "skin/data/WinSkinData.h"
#include "skin/forms/SkinManager.h"
#include "vidkiln/skin.h"

namespace {

// The engine's loader says only "not loaded"; opening the file first tells a
// missing or locked file, with the system's reason, from a damaged skin.
void RequireReadable(const std::wstring& skinFile)
{
    if (skinFile.empty())
        throw ESkinApiError(VK_SKIN_INVALID_ARGUMENT, L"no skin file named");
    const TKernelHandle file(CreateFileW(skinFile.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        throw ESkinApiError(VK_SKIN_FILE_UNREADABLE,
                            L"cannot open skin file \"" + skinFile + L"\": " + SystemErrorMessage(GetLastError()));
}

// The engine reports a skin it cannot read in a message box, which a host
// program never asked for; while a skin loads, the report is kept instead and
// becomes the error's text.
class TLoadReports {
public:
    TLoadReports()
        : FPrevious(Application->SetMessageBoxFunc([this](HWND, const std::wstring& text, const std::wstring&, UINT) {
              FText = text;
              return IDOK;
          }))
    {
    }
    ~TLoadReports() { Application->SetMessageBoxFunc(std::move(FPrevious)); }
    TLoadReports(const TLoadReports&) = delete;
    TLoadReports& operator=(const TLoadReports&) = delete;

    ESkinApiError BadSkin(const std::wstring& skinFile) const
    {
        std::wstring text = L"\"" + skinFile + L"\" is not a skin file or is damaged";
        if (!FText.empty())
            text += L": " + FText;
        return ESkinApiError(VK_SKIN_BAD_SKIN, text);
    }

private:
    TMessageBoxFunc FPrevious;
    std::wstring FText;
};

void LoadSkin(TSkinData& skin, const std::wstring& skinFile)
{
    const TLoadReports reports;
    if (!skin.LoadSkinFile(skinFile))
        throw reports.BadSkin(skinFile);
}

// Windows that exist before the start are never activated again by
// themselves, so the hook would not see them.
void AttachVisibleThreadWindows()
{
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM) -> BOOL {
            if (IsWindowVisible(window))
                SkinManager->AttachForm(window);
            return TRUE;
        },
        0);
}

} // namespace

ESkinApiError::ESkinApiError(int code, const std::wstring& text)
    : std::runtime_error("skin API error"), FCode(code), FText(text)
{
}

TSkinSession::TSkinSession(const std::wstring& skinFile)
{
    RequireReadable(skinFile);
    UseSkinManager();
    FSkin = std::make_unique<TSkinData>(nullptr);
    try {
        Start(skinFile);
    } catch (...) {
        ShutdownSkinManager();
        FSkin.reset();
        throw;
    }
}

void TSkinSession::Start(const std::wstring& skinFile)
{
    // Read as a form's saved data would be, so nothing reaches the manager
    // until the skin is known to load.
    FSkin->BeginReading();
    FSkin->SetActive(true);
    LoadSkin(*FSkin, skinFile);
    FSkin->Loaded();
    if (!SkinManager)
        throw ESkinApiError(VK_SKIN_INTERNAL, L"the skin manager could not be made");
    // Running from here on: a later switch is carried out at the next tick
    // instead of waiting for a window to be activated first.
    SkinManager->SetRunState(1);
    AttachVisibleThreadWindows();
}

TSkinSession::~TSkinSession()
{
    ShutdownSkinManager();
    FSkin.reset();
}

void TSkinSession::GiveWindowsBack()
{
    if (!SkinManager)
        return;
    // The manager's own "unskin all", carried out now rather than at its next
    // tick: the program may destroy its windows or unload the DLL right after.
    SkinManager->SetPendingSkinData(FSkin.get());
    SkinManager->RequestAction(2, 1);
    SkinManager->ExecuteRequest();
}

void TSkinSession::SwitchFile(const std::wstring& skinFile)
{
    RequireReadable(skinFile);
    LoadSkin(*FSkin, skinFile);
}

bool TSkinSession::IsSkinned(HWND window) const
{
    return SkinManager && SkinManager->FindSkinForm(window) != nullptr;
}
