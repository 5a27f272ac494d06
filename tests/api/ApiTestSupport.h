// Shared by the C API's tests. They see the engine only through
// vidkiln/skin.h, as a program would, so everything here is plain Win32 and
// the shared test support (which includes no engine or framework header):
// windows of a recording class of our own, read back from the display, and
// the colours the skin's own top border bitmap allows in the caption band,
// read from the skin's unpacked files.
#pragma once

#include "support/ReadBack.h"
#include "support/RecordingWindow.h"
#include "support/Wait.h"

#include <windows.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace apitest {

inline constexpr wchar_t kClassName[] = L"VidkilnApiTest";

// One owner per GDI handle the helpers take.
class TGdiObject {
public:
    explicit TGdiObject(HGDIOBJ object) noexcept : FObject(object) {}
    ~TGdiObject()
    {
        if (FObject)
            DeleteObject(FObject);
    }
    TGdiObject(const TGdiObject&) = delete;
    TGdiObject& operator=(const TGdiObject&) = delete;
    HGDIOBJ Get() const noexcept { return FObject; }

private:
    HGDIOBJ FObject;
};

// A memory DC with one object selected, put back before the DC goes.
class TMemoryDC {
public:
    explicit TMemoryDC(HGDIOBJ object) noexcept
        : FDC(CreateCompatibleDC(nullptr)), FPrevious(SelectObject(FDC, object))
    {
    }
    ~TMemoryDC()
    {
        SelectObject(FDC, FPrevious);
        DeleteDC(FDC);
    }
    TMemoryDC(const TMemoryDC&) = delete;
    TMemoryDC& operator=(const TMemoryDC&) = delete;
    HDC Get() const noexcept { return FDC; }

private:
    HDC FDC;
    HGDIOBJ FPrevious;
};

inline void RegisterTestClass()
{
    testsupport::RegisterRecordingClass(kClassName);
}

// A shown, active top-level window with a client of 400 x 240 and no
// caption text, so the middle of the caption band shows only the border.
inline HWND MakeShownWindow(HMENU menu = nullptr)
{
    constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW;
    RECT rect{0, 0, 400, 240};
    AdjustWindowRectEx(&rect, kStyle, menu != nullptr, 0);
    HWND window = CreateWindowExW(0, kClassName, L"", kStyle, 40, 40, rect.right - rect.left,
                                  rect.bottom - rect.top, nullptr, menu, GetModuleHandleW(nullptr), nullptr);
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    UpdateWindow(window);
    return window;
}

// The shared wait: handles messages until the condition holds.
using testsupport::PumpUntil;

inline std::wstring Widen(const char* text)
{
    const std::string narrow = text;
    return std::wstring(narrow.begin(), narrow.end());
}

// The colours each row of the skin's top border may show in the stretched
// middle of the caption band: that row's pixels between the fixed ends, in
// either frame (active or inactive).
struct TCaptionBand {
    int Height = 0;
    std::vector<std::set<COLORREF>> Rows;
};

inline TCaptionBand ReadCaptionBand(const std::wstring& skinDir)
{
    const std::wstring ini = skinDir + L"/skin.ini";
    const int frames = static_cast<int>(GetPrivateProfileIntW(L"Personality", L"TopFrame", 1, ini.c_str()));
    const int leftEnd = static_cast<int>(GetPrivateProfileIntW(L"Personality", L"TopTopHeight", 0, ini.c_str()));
    const int rightEnd = static_cast<int>(GetPrivateProfileIntW(L"Personality", L"TopBotHeight", 0, ini.c_str()));
    const TGdiObject image(LoadImageW(nullptr, (skinDir + L"/top.bmp").c_str(), IMAGE_BITMAP, 0, 0,
                                      LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    TCaptionBand band;
    if (!image.Get() || frames < 1)
        return band;
    BITMAP info{};
    GetObjectW(image.Get(), sizeof(info), &info);
    band.Height = info.bmHeight / frames;
    band.Rows.resize(static_cast<std::size_t>(band.Height));
    const TMemoryDC dc(image.Get());
    for (int frame = 0; frame < frames; ++frame)
        for (int y = 0; y < band.Height; ++y)
            for (int x = leftEnd; x < info.bmWidth - rightEnd; ++x)
                band.Rows[static_cast<std::size_t>(y)].insert(GetPixel(dc.Get(), x, frame * band.Height + y) &
                                                              0xFFFFFF);
    return band;
}

// The rows of the caption band sampled in the middle of the window.
inline std::vector<int> SampleRows(const TCaptionBand& band)
{
    std::vector<int> rows;
    for (int y = 2; y + 2 < band.Height; y += 3)
        rows.push_back(y);
    return rows;
}

// How many sample points in the middle of the window's caption band show a
// colour the skin's top border allows there.
inline int SkinPixelsInCaption(HWND window, const TCaptionBand& band)
{
    RECT outer{};
    GetWindowRect(window, &outer);
    const int x = (outer.right - outer.left) / 2;
    const testsupport::TPixels shot = testsupport::ReadBack(window);
    int matches = 0;
    for (int y : SampleRows(band))
        matches += band.Rows[static_cast<std::size_t>(y)].count(shot.At(x, y)) ? 1 : 0;
    return matches;
}

inline bool WearsSkin(HWND window, const TCaptionBand& band)
{
    return SkinPixelsInCaption(window, band) == static_cast<int>(SampleRows(band).size());
}

// No sample point shows the skin: the system drew the caption.
inline bool SystemDrawn(HWND window, const TCaptionBand& band)
{
    return SkinPixelsInCaption(window, band) == 0;
}

// What stop must give back, read from the window itself.
struct TWindowState {
    LONG_PTR Style = 0;
    LONG_PTR ExStyle = 0;
    LONG_PTR Procedure = 0;
    HMENU Menu = nullptr;
    int RegionKind = 0;
    SIZE Client{};

    static TWindowState Of(HWND window)
    {
        TWindowState state;
        state.Style = GetWindowLongPtrW(window, GWL_STYLE);
        state.ExStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
        state.Procedure = GetWindowLongPtrW(window, GWLP_WNDPROC);
        state.Menu = GetMenu(window);
        const TGdiObject region(CreateRectRgn(0, 0, 0, 0));
        state.RegionKind = GetWindowRgn(window, static_cast<HRGN>(region.Get()));
        RECT client{};
        GetClientRect(window, &client);
        state.Client = {client.right, client.bottom};
        return state;
    }
};

} // namespace apitest
