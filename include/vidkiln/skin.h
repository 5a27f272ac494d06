/*
 * Vidkiln skin engine: skins the windows of a plain Win32 program.
 *
 *     #include <vidkiln/skin.h>
 *     VkSkinStartFile(L"steel.skn");   after the main window is made, or before
 *     ...message loop...
 *     VkSkinStop();                    before the windows are destroyed
 *
 * Link vidkiln-skin.dll through libvidkiln-skin.dll.a, or the static
 * libvidkiln-skin.a with VIDKILN_SKIN_STATIC defined (docs/skin-api.md).
 *
 * Every function is called from one thread: the one that started skinning
 * (any thread before a start). A call from another thread changes nothing and
 * fails with VK_SKIN_WRONG_THREAD. Nothing is ever thrown across these
 * functions; a failure returns its code and leaves a text for VkSkinLastError.
 */
#ifndef VIDKILN_SKIN_H
#define VIDKILN_SKIN_H

#include <windows.h>

#if defined(VIDKILN_SKIN_STATIC)
#define VKSKIN_API
#elif defined(VIDKILN_SKIN_BUILDING_DLL)
#define VKSKIN_API __declspec(dllexport)
#else
#define VKSKIN_API __declspec(dllimport)
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* What a call returned; VkSkinErrorText gives each a fixed English text. */
typedef enum VkSkinError {
    VK_SKIN_OK = 0,
    VK_SKIN_INVALID_ARGUMENT = 1, /* a null or empty path, or no window */
    VK_SKIN_FILE_UNREADABLE = 2,  /* the skin file cannot be opened or read */
    VK_SKIN_BAD_SKIN = 3,         /* the file is no skin, or a damaged one */
    VK_SKIN_ALREADY_STARTED = 4,  /* VkSkinStartFile while skinning runs */
    VK_SKIN_NOT_STARTED = 5,      /* switch or stop without a start */
    VK_SKIN_WRONG_THREAD = 6,     /* skinning runs on another thread */
    VK_SKIN_INTERNAL = 7,         /* an unexpected failure; the text says which */
    VK_SKIN_REENTERED = 8         /* called from a window procedure inside another
                                     of these calls on the same thread */
} VkSkinError;

/* Loads the skin file and skins the calling thread's top-level windows: the
 * visible ones now, every other one as it is activated. 0 on success; on a
 * failure nothing is skinned and nothing is kept. */
VKSKIN_API int __stdcall VkSkinStartFile(const wchar_t* skinFile);

/* Replaces the skin on every skinned window, from the next turn of the
 * thread's message loop. A file that fails to load leaves the skin on
 * screen as it was. */
VKSKIN_API int __stdcall VkSkinSwitchFile(const wchar_t* skinFile);

/* Gives every window back exactly as it was (style, region, menu, window
 * procedure, client size) and removes every hook. Call it while the windows
 * still exist; afterwards the DLL may be unloaded. Without a start it
 * changes nothing and VkSkinLastErrorCode reads VK_SKIN_NOT_STARTED. */
VKSKIN_API void __stdcall VkSkinStop(void);

/* 1 when the window's frame wears the skin, else 0. */
VKSKIN_API int __stdcall VkSkinIsSkinned(HWND window);

/* The outcome of this thread's last call: its code, and a text saying what
 * failed and with which file (empty after a success). The text stays valid
 * until this thread's next call. */
VKSKIN_API int __stdcall VkSkinLastErrorCode(void);
VKSKIN_API const wchar_t* __stdcall VkSkinLastError(void);

/* The fixed text of a code; an unknown code reads "unknown error". */
VKSKIN_API const wchar_t* __stdcall VkSkinErrorText(int code);

#ifdef __cplusplus
}
#endif

#endif
