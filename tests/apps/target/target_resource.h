// Identifiers of the target program's dialog, menu and controls; the test scripts use the
// same numbers.
#pragma once

#define IDD_TARGET 100
#define IDR_TARGET_MENU 101
#define IDR_TARGET_ACCEL 102

// Dialog controls.
#define IDC_APPLY 1002
#define IDC_DISABLED 1003
#define IDC_OPTIONS 1010
#define IDC_INSIDE 1011  // created at run time as a child of the group box
#define IDC_TWO_STATE 1020
#define IDC_THREE_STATE 1021
#define IDC_RADIO_A 1030
#define IDC_RADIO_B 1031
#define IDC_NAME_LABEL 1040
#define IDC_NAME 1041
#define IDC_CITY_LABEL 1042
#define IDC_CITY 1043
#define IDC_NOTES_LABEL 1044
#define IDC_NOTES 1045
#define IDC_STATUS_LABEL 1046
#define IDC_STATUS 1047
#define IDC_TWIN_EDIT 1048
#define IDC_TWIN_BUTTON 1050
#define IDC_FRUITS_LABEL 1060
#define IDC_FRUITS 1061
#define IDC_COLORS_LABEL 1062
#define IDC_COLORS 1063
#define IDC_COUNTRY_LABEL 1064
#define IDC_COUNTRY 1065
#define IDC_LAST_LABEL 1070  // a label with no control after it
#define IDC_PATCH 1090       // a patch painted in kPatchColor
#define IDC_CLOSE 1099

// Menu commands.
#define IDM_NEW 2001
#define IDM_OPEN 2002
#define IDM_SAVE_AS 2003
#define IDM_PRINT 2004
#define IDM_EXIT 2009
#define IDM_UNDO 2101
#define IDM_FIND_REPLACE 2102
#define IDM_INSERT_DATE 2111
#define IDM_INSERT_TIME 2112
#define IDM_STATUS_BAR 2201
#define IDM_CASCADE 2301
