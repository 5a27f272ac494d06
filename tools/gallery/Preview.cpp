#include "Preview.h"

#include "framework/Forms.h"
#include "framework/GdiObjects.h"
#include "framework/SysUtils.h"

#include <objidl.h>
#include <gdiplus.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace {

constexpr int kGap = 12;
constexpr int kRowWidth = 1600;
constexpr COLORREF kGround = RGB(0x50, 0x50, 0x50);
// Off every screen.
constexpr POINT kAway{-30000, -30000};

struct TPlaced {
    HWND Window;
    RECT Bounds; // on the screen
    POINT At;    // in the picture
};

void Pump(int milliseconds)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < static_cast<DWORD>(milliseconds)) {
        Application->ProcessMessages();
        Sleep(10);
    }
}

void MoveTo(HWND window, POINT at)
{
    SetWindowPos(window, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Rows of windows, left to right, a new row once kRowWidth is passed.
std::vector<TPlaced> Lay(const std::vector<HWND>& windows, SIZE& size)
{
    std::vector<TPlaced> placed;
    int x = kGap;
    int y = kGap;
    int rowHeight = 0;
    size = {0, 0};
    for (HWND window : windows) {
        RECT bounds{};
        if (!IsWindowVisible(window) || !GetWindowRect(window, &bounds))
            continue;
        const int w = bounds.right - bounds.left;
        const int h = bounds.bottom - bounds.top;
        if (x > kGap && x + w > kRowWidth) {
            x = kGap;
            y += rowHeight + kGap;
            rowHeight = 0;
        }
        placed.push_back({window, bounds, {x, y}});
        x += w + kGap;
        rowHeight = std::max(rowHeight, h);
        size.cx = std::max<LONG>(size.cx, x);
        size.cy = std::max<LONG>(size.cy, y + rowHeight + kGap);
    }
    return placed;
}

void WriteBmp(HDC dc, HBITMAP picture, SIZE size, const std::wstring& path)
{
    BITMAPINFOHEADER header{sizeof header, size.cx, size.cy, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    const int row = (size.cx * 3 + 3) & ~3;
    std::vector<char> pixels(static_cast<size_t>(row) * static_cast<size_t>(size.cy));
    GetDIBits(dc, picture, 0, static_cast<UINT>(size.cy), pixels.data(), reinterpret_cast<BITMAPINFO*>(&header),
              DIB_RGB_COLORS);
    BITMAPFILEHEADER file{0x4D42, 0, 0, 0, sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    std::ofstream out(std::filesystem::path(path), std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&header), sizeof header);
    out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
    if (!out)
        throw Exception(L"Cannot write " + path);
}

// GDI+ for the one picture format Windows encodes for us.
class TGdiPlus {
public:
    TGdiPlus()
    {
        Gdiplus::GdiplusStartupInput input;
        FStarted = Gdiplus::GdiplusStartup(&FToken, &input, nullptr) == Gdiplus::Ok;
    }
    ~TGdiPlus()
    {
        if (FStarted)
            Gdiplus::GdiplusShutdown(FToken);
    }
    TGdiPlus(const TGdiPlus&) = delete;
    TGdiPlus& operator=(const TGdiPlus&) = delete;
    bool Started() const noexcept { return FStarted; }

private:
    ULONG_PTR FToken = 0;
    bool FStarted = false;
};

void WritePng(HBITMAP picture, const std::wstring& path)
{
    // The PNG encoder's class identifier, fixed by GDI+.
    static const CLSID kPngEncoder = {0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
    const TGdiPlus gdiPlus;
    bool written = false;
    if (gdiPlus.Started()) {
        Gdiplus::Bitmap image(picture, nullptr);
        written = image.Save(path.c_str(), &kPngEncoder, nullptr) == Gdiplus::Ok;
    }
    if (!written)
        throw Exception(L"Cannot write " + path);
}

} // namespace

void SavePreview(const std::vector<HWND>& windows, const std::wstring& path)
{
    SIZE size{};
    const std::vector<TPlaced> placed = Lay(windows, size);
    if (placed.empty())
        throw Exception(L"No window to picture for " + path);
    const gdi::ClientDC screen(nullptr);
    const gdi::MemoryDC memory(screen.Get());
    const gdi::Bitmap picture(CreateCompatibleBitmap(screen.Get(), size.cx, size.cy));
    {
        const gdi::Selection selected(memory.Get(), picture.Get());
        const gdi::Brush ground(CreateSolidBrush(kGround));
        const RECT all{0, 0, size.cx, size.cy};
        FillRect(memory.Get(), &all, ground.Get());
        // One window on the screen at a time, at the top left, active: an
        // owned dialog would stay above its owner wherever they overlap.
        for (const TPlaced& window : placed)
            MoveTo(window.Window, kAway);
        for (const TPlaced& window : placed) {
            MoveTo(window.Window, {0, 0});
            SetForegroundWindow(window.Window);
            RedrawWindow(window.Window, nullptr, nullptr,
                         RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
            Pump(150);
            BitBlt(memory.Get(), window.At.x, window.At.y, window.Bounds.right - window.Bounds.left,
                   window.Bounds.bottom - window.Bounds.top, screen.Get(), 0, 0, SRCCOPY);
            MoveTo(window.Window, kAway);
        }
        for (const TPlaced& window : placed)
            MoveTo(window.Window, {window.Bounds.left, window.Bounds.top});
    }
    if (SameText(std::filesystem::path(path).extension().wstring(), L".png"))
        WritePng(picture.Get(), path);
    else
        WriteBmp(memory.Get(), picture.Get(), size, path);
}
