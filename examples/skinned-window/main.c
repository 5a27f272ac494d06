/*
 * A plain Win32 program in C: a window with a menu bar from its resources,
 * a few standard and common controls, and a dialog from a template. The
 * three lines marked "skin" are all it takes to wear a Vidkiln skin.
 */
#include <windows.h>
#include <commctrl.h>

#include "resource.h"
#include <vidkiln/skin.h> /* skin 1 of 3 */

static HINSTANCE instance;

/* The skin file beside the program: skins\light.skn, or the first argument. */
static const wchar_t* SkinFile(void)
{
    static wchar_t path[MAX_PATH];
    int count = 0;
    wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
    if (args && count > 1) {
        lstrcpynW(path, args[1], MAX_PATH);
    } else {
        DWORD length = GetModuleFileNameW(NULL, path, MAX_PATH);
        while (length > 0 && path[length - 1] != L'\\' && path[length - 1] != L'/')
            --length;
        path[length] = L'\0';
        lstrcatW(path, L"skins\\light.skn");
    }
    LocalFree(args);
    return path;
}

static INT_PTR CALLBACK OptionsProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    (void)lParam;
    switch (msg) {
    case WM_INITDIALOG:
        CheckRadioButton(dialog, IDC_OPTION_LOUD, IDC_OPTION_QUIET, IDC_OPTION_LOUD);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        break;
    }
    return FALSE;
}

static void AddControl(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style, int x, int y,
                       int width, int height, int id)
{
    HWND control = CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, x, y, width,
                                   height, parent, (HMENU)(INT_PTR)id, instance, NULL);
    SendMessageW(control, WM_SETFONT, (WPARAM)GetStockObject(DEFAULT_GUI_FONT), TRUE);
}

static void MakeControls(HWND window)
{
    HWND items;
    LVCOLUMNW column = {0};
    LVITEMW item = {0};
    const wchar_t* names[] = {L"First", L"Second", L"Third"};
    int i;

    AddControl(window, L"EDIT", L"Some text", WS_BORDER | ES_AUTOHSCROLL, 12, 12, 180, 22, IDC_NAME);
    AddControl(window, L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_VSCROLL, 204, 12, 150, 120, IDC_KIND);
    AddControl(window, WC_LISTVIEWW, L"", LVS_REPORT | WS_BORDER, 12, 46, 342, 110, IDC_ITEMS);
    AddControl(window, L"BUTTON", L"&Enabled", BS_AUTOCHECKBOX, 12, 168, 120, 20, IDC_ENABLED);
    AddControl(window, L"BUTTON", L"&Apply", BS_PUSHBUTTON, 274, 166, 80, 26, IDC_APPLY);

    items = GetDlgItem(window, IDC_ITEMS);
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = 200;
    column.pszText = (wchar_t*)L"Name";
    SendMessageW(items, LVM_INSERTCOLUMNW, 0, (LPARAM)&column);
    item.mask = LVIF_TEXT;
    for (i = 0; i < 3; ++i) {
        item.iItem = i;
        item.pszText = (wchar_t*)names[i];
        SendMessageW(items, LVM_INSERTITEMW, 0, (LPARAM)&item);
        SendDlgItemMessageW(window, IDC_KIND, CB_ADDSTRING, 0, (LPARAM)names[i]);
    }
    SendDlgItemMessageW(window, IDC_KIND, CB_SETCURSEL, 0, 0);
}

static LRESULT CALLBACK MainProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE:
        MakeControls(window);
        return 0;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDM_FILE_OPTIONS:
            DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_OPTIONS), window, OptionsProc, 0);
            return 0;
        case IDM_HELP_ABOUT:
            MessageBoxW(window, L"A plain Win32 program wearing a Vidkiln skin.", L"About", MB_OK);
            return 0;
        case IDM_FILE_EXIT:
            DestroyWindow(window);
            return 0;
        }
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, msg, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE previous, LPSTR commandLine, int show)
{
    WNDCLASSW windowClass = {0};
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES};
    HWND window;
    MSG message;
    (void)previous;
    (void)commandLine;

    instance = hInstance;
    InitCommonControlsEx(&controls);
    windowClass.lpfnWndProc = MainProc;
    windowClass.hInstance = hInstance;
    windowClass.hCursor = LoadCursorW(NULL, IDC_ARROW);
    windowClass.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"SkinnedWindowExample";
    RegisterClassW(&windowClass);

    VkSkinStartFile(SkinFile()); /* skin 2 of 3 */
    window = CreateWindowExW(0, windowClass.lpszClassName, L"Skinned window", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                             CW_USEDEFAULT, 380, 260, NULL, LoadMenuW(hInstance, MAKEINTRESOURCEW(IDM_MAIN)),
                             hInstance, NULL);
    ShowWindow(window, show);
    while (GetMessageW(&message, NULL, 0, 0) > 0) {
        if (!IsDialogMessageW(window, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    VkSkinStop(); /* skin 3 of 3 */
    return (int)message.wParam;
}
