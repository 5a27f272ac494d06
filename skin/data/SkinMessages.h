// The skin engine's private window messages, sent and answered between the
// manager, the skinned frames, menus and controls, and by any window of the
// process that wants to know about them. The values are fixed: other copies
// of the engine in the same process use them too.
#pragma once

#include <windows.h>

constexpr UINT WM_SKINREPAINTFRAME = 0x3502;  // repaint a skinned frame now
constexpr UINT WM_SKININIT = 0x3503;          // posted after a window got its frame (wParam 0, lParam 1000)
constexpr UINT WM_SKINSWITCH = 0x3506;        // switch one control's skinning on or off
constexpr UINT WM_SKINTABCLOSE = 0x3507;      // asks the form before a tab's page is freed
constexpr UINT WM_SKINBUTTONACTION = 0x3514;  // a custom caption button was clicked (wParam: its action)
constexpr UINT WM_SKINBUTTONVISIBLE = 0x3515; // visibility of a custom caption button (wParam value, lParam action)
constexpr UINT WM_SKINMDICHANGED = 0x3516;    // to the MDI client: child wParam was maximised or restored
constexpr UINT WM_SKINREBUILDSCROLL = 0x3517; // replace the scroll-bar skin of control window wParam
constexpr UINT WM_SKINMENUKEY = 0x3518;       // open the menu bar item at the point in lParam
constexpr UINT WM_SKINQUERY = 0x3523;         // skinned windows, controls and popup menus answer 1
constexpr UINT WM_SKINRECOLOUR = 0x3401;      // a form takes the skin's colours again
constexpr UINT WM_SKINPAINTCLIENT = 0xBC4A;   // paint a control's client into a given DC
constexpr UINT WM_SKINPAINTTO = 0xBC4B;       // lParam kSkinEngineKey: paint into DC wParam, answer the key
constexpr UINT WM_SKINISENGINE = 0xBC4D;      // answers kSkinEngineKey when lParam is the key
constexpr UINT WM_SKINNOTIFY = 0xBC4E;        // wParam 0, lParam kSkinEngineKey: skinning is complete

constexpr LPARAM kSkinEngineKey = 0x41A2;
