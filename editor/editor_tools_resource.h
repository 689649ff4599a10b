// Resource and control identifiers of the editor's tool dialogs.
#pragma once

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

#define IDD_WINDOW_FINDER 130
#define IDC_FINDER_CURSOR 131
#define IDB_FINDER 132
#define IDD_CONFIGURE_LAUNCHER 134
#define IDD_ADD_LAUNCHER 135
#define IDD_TIP_OF_THE_DAY 801
#define IDB_TIP_BULB 802

// Window finder
#define IDC_FOUND_CAPTION 1001
#define IDC_FOUND_CLASS 1002
#define IDC_FOUND_ID 1003
#define IDC_FINDER_PLACE 1004
#define IDC_HIDE_EDITOR 1005

// Tip of the day
#define IDC_TIP_AREA 1001
#define IDC_SHOW_TIPS 1002
#define IDC_NEXT_TIP 1003

// System Tray Launcher and its Add/Edit dialog
#define IDC_RUN_WITH_EDITOR 1010
#define IDC_RUN_WITH_WINDOWS 1011
#define IDC_SHORTCUT_LIST 1012
#define IDC_ADD_SHORTCUT 1013
#define IDC_EDIT_SHORTCUT 1014
#define IDC_DELETE_SHORTCUT 1015
#define IDC_MOVE_UP 1016
#define IDC_MOVE_DOWN 1017
#define IDC_SHORTCUT_NAME 1020
#define IDC_SHORTCUT_SCRIPT 1021
#define IDC_BROWSE_SCRIPT 1022
