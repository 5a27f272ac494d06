// What the main window's units share: the texts more than one of them
// shows, the messages the runners' reader threads post to the window, and
// where the picture buttons sit.
#pragma once

#include "Main.h"

namespace mainwindow {

inline constexpr wchar_t kReady[] = L"准备就绪";
inline constexpr TColor kWindowColour = 7039593;

// Window-menu commands of the skins: below the system's own (0xF000).
inline constexpr UINT kSkinCommandBase = 0x7000;
inline constexpr size_t kSkinCommandLimit = 64;

// Messages from the runners' reader threads; LParam is always the serial
// number of the run that sent it.
// A progress position of the encoder, in WParam.
inline constexpr UINT WM_VIDKILN_PROGRESS = WM_APP + 1;
// A run has ended: WParam kEncoderRun or kProbeRun.
inline constexpr UINT WM_VIDKILN_RUNENDED = WM_APP + 2;
// The probe has reported a line; the window looks for the length.
inline constexpr UINT WM_VIDKILN_PROBELINE = WM_APP + 3;
inline constexpr WPARAM kEncoderRun = 1;
inline constexpr WPARAM kProbeRun = 2;
inline constexpr UINT_PTR kProbeTimer = 1;

struct TButtonPlace {
    TImage* TFrmMain::*Field;
    const wchar_t* Name;
    const wchar_t* Picture;
    int Left;
    int Top;
    int Width;
    void (TFrmMain::*Click)(TObject*);
};

inline const TButtonPlace kButtons[] = {
    {&TFrmMain::imgAdd, L"imgAdd", L"Images\\Add1.bmp", 8, 1, 37, &TFrmMain::imgAddClick},
    {&TFrmMain::imgDelete, L"imgDelete", L"Images\\Delete1.bmp", 63, 1, 37,
     &TFrmMain::imgDeleteClick},
    {&TFrmMain::imgClear, L"imgClear", L"Images\\Clear1.bmp", 118, 1, 37, &TFrmMain::imgClearClick},
    {&TFrmMain::imgConvert, L"imgConvert", L"Images\\Convert1.bmp", 173, 1, 58,
     &TFrmMain::imgConvertClick},
    {&TFrmMain::imgOutPath, L"imgOutPath", L"Images\\OutPath1.bmp", 244, 0, 58,
     &TFrmMain::imgOutPathClick},
    {&TFrmMain::imgAbout, L"imgAbout", L"Images\\About1.bmp", 496, 1, 37, &TFrmMain::imgAboutClick},
};

// The height a line of text needs in this font, ascent to descent: a label
// lower than this cuts the tops and tails of its glyphs.
int FontLineHeight(const TFont& Font);

} // namespace mainwindow
