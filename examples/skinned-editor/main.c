/*
 * A small text editor in plain C: a menu bar and accelerators from its
 * resources, an edit control filling the window, the system's find,
 * replace and font dialogs and a message box. The three lines marked
 * "skin" dress all of it in a Vidkiln skin.
 */
#include <windows.h>
#include <commdlg.h>
#include <shlwapi.h>

#include "resource.h"
#include <vidkiln/skin.h> /* skin 1 of 3 */

#define SEARCH_LENGTH 128

static HWND editor;   /* the main window */
static HWND text;     /* its edit control */
static HWND finder;   /* the open find or replace dialog, if any */
static HFONT font;    /* the font chosen in the font dialog, if any */
static UINT findMessage;
static FINDREPLACEW search;
static wchar_t searchText[SEARCH_LENGTH];
static wchar_t replaceText[SEARCH_LENGTH];

static const wchar_t kSample[] =
    L"A plain Win32 editor wearing a Vidkiln skin.\r\n"
    L"Find, replace and font dialogs are the system's own;\r\n"
    L"the skin engine dresses them like every other window.\r\n";

/* The skin named on the command line, else skins\light.skn beside the program. */
static void SkinPath(wchar_t* path)
{
    int count = 0;
    wchar_t** words = CommandLineToArgvW(GetCommandLineW(), &count);
    if (words && count > 1) {
        lstrcpynW(path, words[1], MAX_PATH);
    } else {
        GetModuleFileNameW(NULL, path, MAX_PATH);
        PathRemoveFileSpecW(path);
        PathAppendW(path, L"skins\\light.skn");
    }
    LocalFree(words);
}

/* The next match of the search text after the selection (or before it, going up). */
static BOOL FindNext(void)
{
    int length = GetWindowTextLengthW(text);
    int found = -1, from, to, at;
    int wanted = lstrlenW(search.lpstrFindWhat);
    BOOL down = (search.Flags & FR_DOWN) != 0;
    wchar_t* all;
    if (wanted == 0 || wanted > length)
        return FALSE;
    all = (wchar_t*)HeapAlloc(GetProcessHeap(), 0, (length + 1) * sizeof(wchar_t));
    if (!all)
        return FALSE;
    GetWindowTextW(text, all, length + 1);
    SendMessageW(text, EM_GETSEL, (WPARAM)&from, (LPARAM)&to);
    for (at = down ? to : from - 1; at >= 0 && at + wanted <= length; at += down ? 1 : -1) {
        int same = (search.Flags & FR_MATCHCASE)
                       ? CompareStringW(LOCALE_USER_DEFAULT, 0, all + at, wanted, search.lpstrFindWhat, wanted)
                       : CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, all + at, wanted,
                                        search.lpstrFindWhat, wanted);
        if (same == CSTR_EQUAL) {
            found = at;
            break;
        }
    }
    HeapFree(GetProcessHeap(), 0, all);
    if (found < 0)
        return FALSE;
    SendMessageW(text, EM_SETSEL, found, found + wanted);
    SendMessageW(text, EM_SCROLLCARET, 0, 0);
    return TRUE;
}

/* Replaces the selection when it is the search text, then finds the next. */
static void ReplaceSelection(void)
{
    int from, to;
    SendMessageW(text, EM_GETSEL, (WPARAM)&from, (LPARAM)&to);
    if (to - from == lstrlenW(search.lpstrFindWhat))
        SendMessageW(text, EM_REPLACESEL, TRUE, (LPARAM)search.lpstrReplaceWith);
    FindNext();
}

static void ReplaceAll(void)
{
    SendMessageW(text, EM_SETSEL, 0, 0);
    search.Flags |= FR_DOWN;
    while (FindNext())
        SendMessageW(text, EM_REPLACESEL, TRUE, (LPARAM)search.lpstrReplaceWith);
}

static void OnSearch(const FINDREPLACEW* request)
{
    if (request->Flags & FR_DIALOGTERM) {
        finder = NULL;
    } else if (request->Flags & FR_REPLACEALL) {
        ReplaceAll();
    } else if (request->Flags & FR_REPLACE) {
        ReplaceSelection();
    } else if ((request->Flags & FR_FINDNEXT) && !FindNext()) {
        MessageBoxW(finder ? finder : editor, L"The text was not found.", L"Find", MB_OK | MB_ICONINFORMATION);
    }
}

static void OpenSearch(BOOL replace)
{
    if (finder) {
        SetFocus(finder);
        return;
    }
    search.lStructSize = sizeof(search);
    search.hwndOwner = editor;
    search.lpstrFindWhat = searchText;
    search.wFindWhatLen = SEARCH_LENGTH;
    search.lpstrReplaceWith = replaceText;
    search.wReplaceWithLen = SEARCH_LENGTH;
    search.Flags = FR_DOWN;
    finder = replace ? ReplaceTextW(&search) : FindTextW(&search);
}

static void ChooseEditorFont(void)
{
    LOGFONTW chosen = {0};
    CHOOSEFONTW dialog = {0};
    GetObjectW(font ? font : GetStockObject(DEFAULT_GUI_FONT), sizeof(chosen), &chosen);
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = editor;
    dialog.lpLogFont = &chosen;
    dialog.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT;
    if (ChooseFontW(&dialog)) {
        HFONT made = CreateFontIndirectW(&chosen);
        if (made) {
            SendMessageW(text, WM_SETFONT, (WPARAM)made, TRUE);
            if (font)
                DeleteObject(font);
            font = made;
        }
    }
}

static void OnCommand(WORD command)
{
    switch (command) {
    case IDM_FILE_NEW:
        SetWindowTextW(text, L"");
        break;
    case IDM_FILE_EXIT:
        DestroyWindow(editor);
        break;
    case IDM_EDIT_FIND:
        OpenSearch(FALSE);
        break;
    case IDM_EDIT_FIND_NEXT:
        if (searchText[0])
            FindNext();
        else
            OpenSearch(FALSE);
        break;
    case IDM_EDIT_REPLACE:
        OpenSearch(TRUE);
        break;
    case IDM_EDIT_SELECT_ALL:
        SendMessageW(text, EM_SETSEL, 0, -1);
        break;
    case IDM_FORMAT_FONT:
        ChooseEditorFont();
        break;
    case IDM_HELP_ABOUT:
        MessageBoxW(editor, L"A plain Win32 editor wearing a Vidkiln skin.", L"About", MB_OK);
        break;
    }
}

static LRESULT CALLBACK EditorProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == findMessage && findMessage != 0) {
        OnSearch((const FINDREPLACEW*)lParam);
        return 0;
    }
    switch (msg) {
    case WM_CREATE:
        text = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", kSample,
                               WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL |
                                   ES_AUTOHSCROLL | ES_NOHIDESEL,
                               0, 0, 0, 0, window, NULL, ((CREATESTRUCTW*)lParam)->hInstance, NULL);
        SendMessageW(text, WM_SETFONT, (WPARAM)GetStockObject(DEFAULT_GUI_FONT), FALSE);
        return 0;
    case WM_SIZE:
        MoveWindow(text, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    case WM_SETFOCUS:
        SetFocus(text);
        return 0;
    case WM_COMMAND:
        if (lParam == 0) {
            OnCommand(LOWORD(wParam));
            return 0;
        }
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, msg, wParam, lParam);
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int show)
{
    WNDCLASSW windowClass = {0};
    wchar_t skin[MAX_PATH];
    HACCEL keys = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDA_EDITOR));
    MSG message;
    (void)previous;
    (void)commandLine;

    findMessage = RegisterWindowMessageW(FINDMSGSTRINGW);
    windowClass.lpfnWndProc = EditorProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(NULL, IDC_ARROW);
    windowClass.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"SkinnedEditorExample";
    RegisterClassW(&windowClass);

    SkinPath(skin);
    VkSkinStartFile(skin); /* skin 2 of 3 */
    editor = CreateWindowExW(0, windowClass.lpszClassName, L"Skinned editor", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                             CW_USEDEFAULT, 480, 320, NULL, LoadMenuW(instance, MAKEINTRESOURCEW(IDM_EDITOR)),
                             instance, NULL);
    ShowWindow(editor, show);
    while (GetMessageW(&message, NULL, 0, 0) > 0) {
        if (finder && IsDialogMessageW(finder, &message))
            continue;
        if (!TranslateAcceleratorW(editor, keys, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    VkSkinStop(); /* skin 3 of 3 */
    if (font)
        DeleteObject(font);
    return (int)message.wParam;
}
