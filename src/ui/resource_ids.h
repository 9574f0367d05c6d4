#pragma once

// Identifiers shared by the resource script and the code; plain macros, as the resource compiler reads them.

#define IDI_QUILLMERE 1
#define IDR_MENUS 100
#define IDD_ABOUT 200
#define IDC_ABOUT_VERSION 201
#define IDC_ABOUT_WEBSITE 202
#define IDC_ABOUT_HEADING 203

// Menu commands, in the order of the menus.
#define IDM_RELOAD_CONFIG 1001
#define IDM_EXIT 1002
#define IDM_SHOW 1010
#define IDM_CLEAR 1011
#define IDM_VIEW_TODAY_LOG 1012
#define IDM_FILE_LOGGING 1013
#define IDM_RUN_ON_STARTUP 1014
#define IDM_TURN_OFF_AUTOCOMPLETE 1015
#define IDM_ENABLE_MONITOR 1016
#define IDM_SCHEDULE_INTERVAL 1017
#define IDM_SCHEDULE_DAILY 1018
#define IDM_PREFERENCE 1020
#define IDM_ADD_PLUGINS 1021
#define IDM_ADD_CUSTOM 1022
#define IDM_CONTENTS 1030
#define IDM_FAQ 1031
#define IDM_ABOUT 1032
#define IDM_ST_SHOW_HIDE 1040
#define IDM_ST_CLEAR_NOW 1041
#define IDM_ST_FILE_LOGGING 1042
#define IDM_ST_MONITOR 1043
#define IDM_ST_SCHEDULE_INTERVAL 1044
#define IDM_ST_SCHEDULE_DAILY 1045
#define IDM_ST_PREFERENCES 1046
#define IDM_ST_ABOUT 1047
#define IDM_ST_EXIT 1048

// Controls of the main window.
#define IDC_TREE 2001
#define IDC_LIST 2002
#define IDC_STATUS 2003
#define IDC_SHOW 2004
#define IDC_CLEAR 2005
