// gallery.exe [--skin path.skn]: the control gallery, with the stored skin
// or the one named.
#include "Gallery.h"

#include <shellapi.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    int Count = 0;
    LPWSTR* Args = CommandLineToArgvW(GetCommandLineW(), &Count);
    std::wstring SkinFile;
    for (int I = 1; Args && I < Count; ++I) {
        if (std::wstring(Args[I]) == L"--skin" && I + 1 < Count) {
            SkinFile = Args[++I];
        } else {
            MessageBoxW(nullptr, L"Usage: gallery.exe [--skin path.skn]", L"Gallery", MB_OK | MB_ICONERROR);
            LocalFree(Args);
            return 2;
        }
    }
    LocalFree(Args);
    Application->SetTitle(L"Gallery");
    try {
        Application->CreateForm<TFrmGallery>(SkinFile);
    } catch (...) {
        Application->HandleException(nullptr);
        return 1;
    }
    Application->Run();
    return 0;
}
