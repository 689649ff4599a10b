// The test target program: a dialog with every kind of control the window built-ins operate,
// and an MDI frame with a menu bar and one document window. Built as vextarget.exe (started by
// the corpus scripts) and as vextarget.dll (loaded by a test host, because Wine cannot read the
// menu of a window that lives in another process).
//
// Every notification it receives is appended to a log file at once, one line per event, the
// fields separated by one space (the last field may itself hold spaces):
//   ready <dialog|frame>                   the window is up and in front
//   patch <x> <y>                          screen point inside the colour patch (0x00563412)
//   click <id> <own|other> <check>         BN_CLICKED; check is the button's check state
//   change <id> <own|other> <text>         EN_CHANGE; the edit's text, line breaks as \n
//   select <id> <own|other> <indexes>      LBN_SELCHANGE / CBN_SELCHANGE; selected indexes
//                                          joined by commas, "none" when nothing is selected
//   menu <id>                              a menu command or accelerator
//   closed <dialog|frame>
// "other" marks a command message sent from another thread while no control of the dialog
// was at work (a script's own notification); "own" one a control sent itself. In-process (the
// DLL) every line is "own".
#pragma once
#include <windows.h>

#include <string>

struct TargetOptions {
    std::string logPath;
    bool dialog = true;
    bool frame = false;
    bool quitWhenClosed = true;  // closing the dialog closes the frame and posts WM_QUIT
};

// Creates the windows on the calling thread; false when one could not be created.
bool OpenTarget(HINSTANCE instance, const TargetOptions& options);
// Destroys what is still open.
void CloseTarget();
// Dialog navigation, MDI keys and accelerators; true when the message was handled.
bool TranslateTargetMessage(MSG& message);
// The dialog and the frame (null once closed).
HWND TargetDialog();
HWND TargetFrame();
