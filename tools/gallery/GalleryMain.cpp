// gallery.exe [--skin path.skn] [--screenshot picture.bmp]: the control
// gallery, with the stored skin or the one named. --screenshot saves the
// window as a 24-bit BMP once it is shown, and ends the program.
#include "Gallery.h"

#include "framework/GdiObjects.h"
#include "skin/forms/SkinManager.h"

#include <shellapi.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

// The window as it is on the screen, frame and menu bar included.
void SaveWindowPicture(HWND Window, const std::wstring& Path)
{
    RECT Bounds;
    GetWindowRect(Window, &Bounds);
    const int W = Bounds.right - Bounds.left;
    const int H = Bounds.bottom - Bounds.top;
    BITMAPINFOHEADER Header{sizeof Header, W, H, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    const int Row = (W * 3 + 3) & ~3;
    std::vector<char> Pixels(static_cast<size_t>(Row) * static_cast<size_t>(H));
    {
        const gdi::ClientDC Screen(nullptr);
        const gdi::MemoryDC Memory(Screen.Get());
        const gdi::Bitmap Picture(CreateCompatibleBitmap(Screen.Get(), W, H));
        {
            const gdi::Selection Selected(Memory.Get(), Picture.Get());
            BitBlt(Memory.Get(), 0, 0, W, H, Screen.Get(), Bounds.left, Bounds.top, SRCCOPY);
        }
        GetDIBits(Memory.Get(), Picture.Get(), 0, static_cast<UINT>(H), Pixels.data(),
                  reinterpret_cast<BITMAPINFO*>(&Header), DIB_RGB_COLORS);
    }
    BITMAPFILEHEADER File{0x4D42, 0, 0, 0, sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
    File.bfSize = File.bfOffBits + static_cast<DWORD>(Pixels.size());
    std::ofstream Out(std::filesystem::path(Path), std::ios::binary);
    Out.write(reinterpret_cast<const char*>(&File), sizeof File);
    Out.write(reinterpret_cast<const char*>(&Header), sizeof Header);
    Out.write(Pixels.data(), static_cast<std::streamsize>(Pixels.size()));
    if (!Out)
        throw Exception(L"Cannot write " + Path);
}

// The gallery's form with the skin named (or the stored one); with a
// screenshot path, the window's picture is saved instead of running.
int RunGallery(const std::wstring& SkinFile, const std::wstring& Screenshot)
{
    try {
        TFrmGallery* Form = Application->CreateForm<TFrmGallery>(SkinFile);
        if (!Screenshot.empty()) {
            Form->Show();
            for (int I = 0; I < 50; ++I) {
                Application->ProcessMessages();
                Sleep(20);
            }
            SaveWindowPicture(Form->Handle(), Screenshot);
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
            MessageBoxW(nullptr, L"Usage: gallery.exe [--skin path.skn] [--screenshot picture.bmp]", L"Gallery",
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
