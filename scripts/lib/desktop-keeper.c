/* Keeps the Wine desktop of a test prefix alive between test processes.
 *
 * Wine closes the desktop (and its explorer.exe) a second after its last
 * user process exits, and the next GUI process starts a new explorer.exe
 * that inherits that process's stdout and stderr, so ctest waits for it.
 * This process is a desktop user that never exits; the wineserver takes it
 * down when the prefix is shut. Once its window exists (so the desktop and
 * its explorer.exe are up) it creates the file named by its argument. */
#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, PWSTR readyFile, int show)
{
    (void)instance; (void)previous; (void)show;
    HWND window = CreateWindowExW(0, L"STATIC", L"desktop-keeper", WS_POPUP, 0, 0, 1, 1,
                                  NULL, NULL, NULL, NULL);
    if (readyFile[0] != L'\0') {
        HANDLE ready = CreateFileW(readyFile, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, NULL);
        if (ready != INVALID_HANDLE_VALUE)
            CloseHandle(ready);
    }
    MSG message;
    while (GetMessageW(&message, NULL, 0, 0) > 0)
        DispatchMessageW(&message);
    DestroyWindow(window);
    return 0;
}
