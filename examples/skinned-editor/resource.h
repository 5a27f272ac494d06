/* Identifiers shared by skinned-editor.rc and main.c. */
#define IDM_EDITOR 100
#define IDA_EDITOR 101
#define IDM_FILE_NEW 1001
#define IDM_FILE_EXIT 1002
#define IDM_EDIT_FIND 1101
#define IDM_EDIT_FIND_NEXT 1102
#define IDM_EDIT_REPLACE 1103
#define IDM_EDIT_SELECT_ALL 1104
#define IDM_FORMAT_FONT 1201
#define IDM_HELP_ABOUT 1301
