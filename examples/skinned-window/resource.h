/* Identifiers shared by skinned-window.rc and main.c. */
#define IDM_MAIN 100
#define IDD_OPTIONS 101
#define IDM_FILE_OPTIONS 1001
#define IDM_FILE_EXIT 1002
#define IDM_HELP_ABOUT 1003
#define IDC_NAME 2001
#define IDC_KIND 2002
#define IDC_ITEMS 2003
#define IDC_ENABLED 2004
#define IDC_APPLY 2005
#define IDC_OPTION_LOUD 2101
#define IDC_OPTION_QUIET 2102
