// Resource ids of vexeng.dll: the running-script window, the message and input dialogs, the icon.
#pragma once

#define IDI_VEXENG 128

// The "Running Script" window.
#define IDD_RUNNING_SCRIPT 102
#define IDC_RUNNING_ICON -1
#define IDC_STATUS_TEXT 1000
#define IDC_CONTINUE 1001

// The message dialog of MessageBox.
#define IDD_MESSAGE 1000
#define IDC_MESSAGE_TEXT 1000
#define IDC_MESSAGE_EDIT 1001
#define IDC_MESSAGE_ICON 1002

// The input dialog of InputString.
#define IDD_INPUT_STRING 130
#define IDC_INPUT_PROMPT 1002
#define IDC_INPUT_EDIT 1003
#define IDC_INPUT_ICON 1004

// The "FTP Open" dialog of FtpGetOpenFileName.
#define IDD_FTP_OPEN 140
#define IDC_FTP_URL 1010
#define IDC_FTP_LIST 1011
#define IDC_FTP_FILE_NAME 1012
#define IDC_FTP_STATUS 1013
