// gallery.exe [--skin path.skn] [--screenshot picture.png|.bmp]: the control
// gallery, with the stored skin or the one named. --screenshot opens every
// window the gallery can open without waiting for an answer, saves them all
// in one picture (PNG or 24-bit BMP by the extension), and ends the program:
// a skin author's preview.
#include "Gallery.h"
#include "Preview.h"

#include "skin/forms/SkinManager.h"

#include <shellapi.h>

#include <string>
#include <vector>

namespace {

// The gallery's form with the skin named (or the stored one); with a
// screenshot path, the window's picture is saved instead of running.
int RunGallery(const std::wstring& SkinFile, const std::wstring& Screenshot)
{
    try {
        TFrmGallery* Form = Application->CreateForm<TFrmGallery>(SkinFile);
        if (!Screenshot.empty()) {
            Form->Show();
            const std::vector<HWND> Windows = Form->OpenPreviewWindows();
            for (int I = 0; I < 50; ++I) {
                Application->ProcessMessages();
                Sleep(20);
            }
            SavePreview(Windows, Screenshot);
            Form->CloseEverything();
            return 0;
        }
    } catch (...) {
        Application->HandleException(nullptr);
        return 1;
    }
    Application->Run();
    return 0;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    int Count = 0;
    LPWSTR* Args = CommandLineToArgvW(GetCommandLineW(), &Count);
    std::wstring SkinFile;
    std::wstring Screenshot;
    for (int I = 1; Args && I < Count; ++I) {
        const std::wstring Arg = Args[I];
        if (Arg == L"--skin" && I + 1 < Count) {
            SkinFile = Args[++I];
        } else if (Arg == L"--screenshot" && I + 1 < Count) {
            Screenshot = Args[++I];
        } else {
            MessageBoxW(nullptr, L"Usage: gallery.exe [--skin path.skn] [--screenshot picture.png|picture.bmp]", L"Gallery",
                        MB_OK | MB_ICONERROR);
            LocalFree(Args);
            return 2;
        }
    }
    LocalFree(Args);
    Application->SetTitle(L"Gallery");
    // Every window of the gallery wears the skin, as Vidkiln's do.
    UseSkinManager();
    const int Result = RunGallery(SkinFile, Screenshot);
    // The frames give their windows back while the windows still exist.
    ShutdownSkinManager();
    Application->Shutdown();
    return Result;
}
