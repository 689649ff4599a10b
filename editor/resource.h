// Resource and command identifiers of vexedit.exe. Commands keep the numbers users' help
// contexts are built from (65536 + command identifier).
#pragma once

// Icons, menus, accelerators, templates
#define IDR_MAINFRAME 128       // icon, menu with no script open, accelerators, toolbar
#define IDR_VEXASCRIPTTYPE 129  // menu with a script open, document icon
#define IDR_CONTEXT_MENU 143    // right-click Cut/Copy/Paste
#define IDD_ABOUTBOX 100
#define IDS_OLE_INIT_FAILED 100
#define IDC_ABOUT_PRODUCT 1000
#define IDC_ABOUT_VERSION 1001
#define IDC_ABOUT_ICON 1002
#define IDC_ABOUT_COPYRIGHT 1003

// Standard commands
#define ID_FILE_NEW 0xE100
#define ID_FILE_OPEN 0xE101
#define ID_FILE_CLOSE 0xE102
#define ID_FILE_SAVE 0xE103
#define ID_FILE_SAVE_AS 0xE104
#define ID_FILE_PRINT_SETUP 0xE106
#define ID_FILE_PRINT 0xE107
#define ID_FILE_PRINT_PREVIEW 0xE109
#define ID_FILE_MRU_FILE1 0xE110  // to ID_FILE_MRU_FILE1 + 15
#define ID_FILE_MRU_FILE16 0xE11F
#define ID_EDIT_COPY 0xE122
#define ID_EDIT_CUT 0xE123
#define ID_EDIT_FIND 0xE124
#define ID_EDIT_PASTE 0xE125
#define ID_EDIT_REPEAT 0xE128  // Find Next
#define ID_EDIT_REPLACE 0xE129
#define ID_EDIT_SELECT_ALL 0xE12A
#define ID_EDIT_UNDO 0xE12B
#define ID_WINDOW_ARRANGE 0xE131
#define ID_WINDOW_CASCADE 0xE132
#define ID_WINDOW_TILE_HORZ 0xE133
#define ID_WINDOW_TILE_VERT 0xE134
#define ID_APP_ABOUT 0xE140
#define ID_APP_EXIT 0xE141
#define ID_HELP_FINDER 0xE143
#define ID_CONTEXT_HELP 0xE145
#define ID_HELP 0xE146
#define ID_NEXT_PANE 0xE150
#define ID_VIEW_TOOLBAR 0xE800
#define ID_VIEW_STATUS_BAR 0xE801

// Status bar panes: messages, line and column, Caps Lock, Num Lock
#define IDS_IDLE_MESSAGE 0xE001  // the message pane when nothing else is shown
#define ID_INDICATOR_LINE_COLUMN 0xE700
#define ID_INDICATOR_CAPS 0xE701
#define ID_INDICATOR_NUM 0xE702

// The editor's own commands
#define ID_HELP_LANGUAGE_REFERENCE 32773
#define ID_BUILD_COMPILE 32774
#define ID_BUILD_RUN 32775
#define ID_BUILD_STRICT 32776
#define ID_VIEW_FONT 32777
#define ID_TOOLS_WINDOW_INFO 32778
#define ID_TOOLS_DESKTOP_SHORTCUT 32779
#define ID_TOOLS_LAUNCHER 32780
#define ID_HELP_ONLINE_SUPPORT 32781
#define ID_HELP_TIP_OF_THE_DAY 32782
#define ID_EDIT_GOTO_LINE 32783
#define ID_HELP_FUNCTION_REFERENCE 32784
#define ID_VIEW_SYNTAX_COLOURING 32785
#define ID_FILE_SAVE_ALL 32786

// Child windows of the main frame
#define IDW_MDI_CLIENT 0xE900
#define IDW_TOOLBAR 0xE801
#define IDW_STATUS_BAR 0xE802
#define IDW_FIRST_MDI_CHILD 0xFF00
