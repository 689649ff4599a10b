// The predefined constants in table order: X(name, value). The engine resolves them; the
// editor colours and documents them from the same lists.
#pragma once

#define VEX_INTEGER_CONSTANT_LIST(X)                      \
    X(BST_CHECKED, 1)                                     \
    X(BST_INDETERMINATE, 2)                               \
    X(BST_UNCHECKED, 0)                                   \
    X(DOWNLOAD_CONNECT_PASSIVE, 1)                        \
    X(DOWNLOAD_NO_TEMP_FILE, 2)                           \
    X(EWX_LOGOFF, 0)                                      \
    X(EWX_REBOOT, 2)                                      \
    X(EWX_SHUTDOWN, 1)                                    \
    X(FALSE, 0)                                           \
    X(TRUE, 1)                                            \
    X(RAND_MAX, 32767)                                    \
    X(FILE_ATTRIBUTE_ARCHIVE, 32)                         \
    X(FILE_ATTRIBUTE_DIRECTORY, 16)                       \
    X(FILE_ATTRIBUTE_HIDDEN, 2)                           \
    X(FILE_ATTRIBUTE_NORMAL, 128)                         \
    X(FILE_ATTRIBUTE_READONLY, 1)                         \
    X(FILE_ATTRIBUTE_SYSTEM, 4)                           \
    X(FILE_CREATE, 4096)                                  \
    X(FILE_NO_TRUNCATE, 8192)                             \
    X(FILE_READ, 0)                                       \
    X(FILE_WRITE, 1)                                      \
    X(FILE_SHARE_DENY_NONE, 64)                           \
    X(FILE_SHARE_DENY_READ, 48)                           \
    X(FILE_SHARE_DENY_WRITE, 32)                          \
    X(FILE_SHARE_EXCLUSIVE, 16)                           \
    X(FTP_CONNECT_PASSIVE, 1)                             \
    X(FTP_NO_TEMP_FILE, 2)                                \
    X(FTP_TRANSFER_TYPE_ASCII, 1)                         \
    X(FTP_TRANSFER_TYPE_BINARY, 2)                        \
    X(FTP_TRANSFER_TYPE_UNKNOWN, 0)                       \
    X(GFL_FILES, 2)                                       \
    X(GFL_FOLDERS, 1)                                     \
    X(GFL_SORT, 4)                                        \
    X(IDCANCEL, 2)                                        \
    X(IDNO, 7)                                            \
    X(IDOK, 1)                                            \
    X(IDYES, 6)                                           \
    X(INTERNET_SETTINGS_SUBMIT_NONENCRYPTED_FORM_DATA, 2) \
    X(INTERNET_SETTINGS_WARN_ON_ZONE_CROSSING, 0)         \
    X(INTERNET_SETTINGS_WARN_ON_POST_REDIRECT, 1)         \
    X(MB_ICONEXCLAMATION, 48)                             \
    X(MB_ICONINFORMATION, 64)                             \
    X(MB_ICONQUESTION, 32)                                \
    X(MB_OK, 0)                                           \
    X(MB_OKCANCEL, 1)                                     \
    X(MB_YESNO, 4)                                        \
    X(MF_CHECKED, 8)                                      \
    X(MF_GRAYED, 1)                                       \
    X(MF_DISABLED, 2)                                     \
    X(OFN_FILEMUSTEXIST, 4096)                            \
    X(OFN_PATHMUSTEXIST, 2048)                            \
    X(RSW_ALWAYS_ON_TOP, 1)                               \
    X(RSW_NOT_ALWAYS_ON_TOP, 2)                           \
    X(RSW_HIDE, 4)                                        \
    X(RSW_SHOW, 8)                                        \
    X(RSW_MOVE_COORDINATES, 16)                           \
    X(RSW_MOVE_CENTER, 32)                                \
    X(RSW_MOVE_LOWER_LEFT, 48)                            \
    X(RSW_MOVE_LOWER_RIGHT, 64)                           \
    X(RSW_MOVE_UPPER_LEFT, 80)                            \
    X(RSW_MOVE_UPPER_RIGHT, 96)                           \
    X(SDI_SENDCHANGE, 1)                                  \
    X(SENDMAIL_DIALOG, 8)                                 \
    X(SW_SHOWNORMAL, 1)                                   \
    X(SW_SHOWMINIMIZED, 2)                                \
    X(SW_SHOWMAXIMIZED, 3)                                \
    X(SW_SHOWMINNOACTIVE, 7)

// The seven registry root keys: X(name, handle).
#define VEX_ROOT_KEY_LIST(X)              \
    X(HKEY_CLASSES_ROOT, 0x80000000u)     \
    X(HKEY_CURRENT_USER, 0x80000001u)     \
    X(HKEY_LOCAL_MACHINE, 0x80000002u)    \
    X(HKEY_USERS, 0x80000003u)            \
    X(HKEY_PERFORMANCE_DATA, 0x80000004u) \
    X(HKEY_CURRENT_CONFIG, 0x80000005u)   \
    X(HKEY_DYN_DATA, 0x80000006u)
