/* Keeps the Wine desktop of a test prefix alive between test processes.
 *
 * Wine closes the desktop (and its explorer.exe) a second after its last
 * user process exits, and the next GUI process starts a new explorer.exe
 * that inherits that process's stdout and stderr, so ctest waits for it.
 * This process is a desktop user that never exits; the wineserver takes it
 * down when the prefix is shut. */
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command, int show)
{
    (void)instance; (void)previous; (void)command; (void)show;
    GetDesktopWindow();
    HWND window = CreateWindowExW(0, L"STATIC", L"desktop-keeper", WS_POPUP, 0, 0, 1, 1,
                                  NULL, NULL, NULL, NULL);
    MSG message;
    while (GetMessageW(&message, NULL, 0, 0) > 0)
        DispatchMessageW(&message);
    DestroyWindow(window);
    return 0;
}
