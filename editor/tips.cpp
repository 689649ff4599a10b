// The tip table: one hint per showing, welcome first, then the editor and the language in
// the order a new user meets them, and a closing tip last.
#include "tips.h"

const char* const kTips[kTipCount] = {
    "Welcome to Vexa Script, the small language that drives Windows for you.\n"
    "\n"
    "Each time the editor starts, this window shows one hint about the editor or the script "
    "language. Press Next Tip to read another one now.",
    "Every script needs a main function; running a script calls it first:\n"
    "\n"
    "    int main()\n"
    "    {\n"
    "        MessageBox(\"Hello\");\n"
    "        return 0;\n"
    "    }\n"
    "\n"
    "The value main returns becomes the script's result.",
    "Use Run (F5) on the Build menu to save and run the active script, and Compile (Ctrl+F7) to "
    "check it for errors without running it.",
    "Run() starts another program from a script, for example Run(\"notepad.exe\"); an optional "
    "second argument chooses how its window is shown.",
    "WaitWindowTitleVisible() waits until a window with the given title appears, or until the "
    "time-out in milliseconds passes. Use it after Run() so your keystrokes reach the new program.",
    "Put the caret on a function name in the editor and press F1 to open the help page of that "
    "function.",
    "The product's web site has a page of sample scripts. Copy one into the editor and change it "
    "to fit your task.",
    "SendKeys() types text into the window that has the keyboard focus, as if you pressed the "
    "keys. Special keys such as {ENTER} or {TAB} are written in braces.",
    "Before sending keys, make sure the right window is in front: VerifyActiveWindowTitle(), "
    "VerifyActiveWindowTitleSub(), VerifyActiveMDIWindowTitle() and VerifyActiveWindowText() "
    "return 0 when another window is active, so the script can stop instead of typing into the "
    "wrong program.",
    "Pause() waits the given number of milliseconds and counts down in the Running Script window. "
    "The Continue button ends a pause early.",
    "You can read these tips again at any time with Tip of the Day on the Help menu.",
    "Tools > System Tray Launcher puts your favourite scripts on a menu of a tray icon, so you can "
    "start them without opening the editor.",
    "Variables are either global, declared outside any function, or local, declared inside one. "
    "Both come in two types: int for whole numbers and string for text.",
    "Declare a global variable at the top of the script, outside any function; every function can "
    "then use it:\n"
    "\n"
    "    string g_Title = \"Untitled - Notepad\";\n"
    "\n"
    "    int main()\n"
    "    {\n"
    "        return WaitWindowTitleVisible(g_Title, 5000);\n"
    "    }",
    "A local variable lives only inside the braces where it is declared. Two functions may use the "
    "same local name without disturbing each other.",
    "Everything after // up to the end of the line is a comment and is ignored when the script "
    "runs.",
    "The Strict option on the Build menu makes the compiler check names and types exactly. Switch "
    "it off when you want int and string values to convert into each other freely.",
    "WaitWindowClosed() waits until a window, named by class and title, has gone away, for example "
    "after you told a program to exit.",
    "MessageBox() can close itself: give a time-out in milliseconds and the answer to use when "
    "nobody responds, and an unattended script never hangs on a question.",
    "BrowseURL() opens a web address in the default browser.",
    "Join the announcement mailing list on the product's web site to hear about new versions of "
    "Vexa Script.",
    "InputString() asks the user for a line of text:\n"
    "\n"
    "    string name = InputString(\"Your name:\", \"\", \"Greeting\");\n"
    "    if (!IsEmpty(name))\n"
    "        MessageBox(\"Hello \" + name);",
    "A loop that counts from 1 to 10:\n"
    "\n"
    "    int i = 1;\n"
    "    while (i <= 10)\n"
    "    {\n"
    "        MessageBox(itoa(i));\n"
    "        i = i + 1;\n"
    "    }",
    "SetForegroundWindow() brings a window named by class and title to the front; "
    "SetForegroundWindowTitleSub() does the same for the first window whose title contains the "
    "given text.",
    "GetForegroundWindowTitle() returns the title of the window that is active right now.",
    "While a message box or input box of a script is open, you can still stop the script: press "
    "Cancel in the Running Script window.",
    "IsConnectedToInternet() returns 1 when the computer has a connection to the Internet, so a "
    "script can skip its downloads when it has none.",
    "GetIPAddress() returns the IP address of this computer as text.",
    "FindWindow() tells whether a window with the given class name and title exists, without "
    "waiting.",
    "A script can fill in other programs' dialogs: CheckDlgButton() sets a check box, "
    "ComboBox_SelectString() and ListBox_SelectString() choose an item, and SetDlgItemText() "
    "writes into an edit field.",
    "ClickButton() presses a button of the active dialog, named by its caption or its control "
    "identifier.",
    "GetDlgItemText() reads the text of an edit field or another control of the active dialog.",
    "IsDlgButtonChecked() returns the state of a check box or option button: 0 unchecked, 1 "
    "checked, 2 indeterminate, -1 when it cannot be found.",
    "ListBox_GetCount and ComboBox_GetCount return how many items a list box or combo box holds.",
    "ListBox_GetText and ComboBox_GetText return the text of an item, or of the selected item when "
    "you give no index.",
    "When a control's caption underlines a letter, write that caption with the ampersand in front "
    "of the letter, as in ClickButton(\"&Save\"). To match a real ampersand, double it: \"Fish && "
    "Chips\".",
    "GetMenuState() tells whether a menu item of the active window is checked, greyed or disabled. "
    "Name the item by its path of menu texts.",
    "GetMenuCommandStrings() lists the menu commands of the active window, a handy way to find the "
    "exact texts for GetMenuState().",
    "SetDefaultPrinter() makes the named printer the default for all programs.",
    "Use if and else to choose between two ways:\n"
    "\n"
    "    if (FileExists(\"C:\\\\report.txt\"))\n"
    "        MessageBox(\"The report is ready.\");\n"
    "    else\n"
    "        MessageBox(\"No report yet.\");",
    "exit() ends the script at once, wherever it is. The Cancel button of the Running Script "
    "window stops a script from the outside.",
    "Questions? The online support discussion group on the product's web site is the place to ask "
    "them; Help > Online Support takes you there.",
    "Join strings with +:\n"
    "\n"
    "    string path = folder + \"\\\\\" + name;",
    "Compare strings with == and !=. The comparison is exact: upper and lower case letters differ.",
    "Tools > Create Desktop Shortcut puts an icon on your desktop that runs the active script "
    "without opening the editor.",
    "CopyToClipboard() puts text on the clipboard, ready to be pasted into any program.",
    "EmptyClipboard() clears the clipboard.",
    "GetClipboardText() returns the text on the clipboard.",
    "Tools > Window Information Finder (Ctrl+I) shows the caption, class name and control "
    "identifier of any window: drag the finder icon over it. These are exactly the names scripts "
    "use to find windows and controls.",
    "A backslash starts an escape in a string constant, so write the backslashes of a path twice, "
    "\"C:\\\\Temp\\\\a.txt\", or use forward slashes, \"C:/Temp/a.txt\".",
    "A user function returns int, string or void; a void function returns no value:\n"
    "\n"
    "    void Greet(string name)\n"
    "    {\n"
    "        MessageBox(\"Hello \" + name);\n"
    "    }",
    "\\n in a string constant starts a new line, for example in the text of a message box.",
    "\\\" puts a double quote inside a string constant: \"She said \\\"hi\\\".\"",
    "The repeat statement runs its body a fixed number of times:\n"
    "\n"
    "    repeat (3)\n"
    "    {\n"
    "        SendKeys(\"{DOWN}\");\n"
    "    }",
    "The while statement runs its body as long as its condition holds:\n"
    "\n"
    "    while (!FileExists(\"C:\\\\done.flag\"))\n"
    "    {\n"
    "        Pause(1000);\n"
    "    }",
    "break leaves the innermost while or repeat loop at once.",
    "#include \"common.vxs\" brings the functions and globals of another script file into this "
    "one, so several scripts can share them.",
    "FtpUpload() sends a file to an FTP server.",
    "FtpDownload() fetches a file from an FTP server; FtpDownloadUrl() does the same from an "
    "ftp:// address.",
    "FtpRename() renames a file on an FTP server.",
    "FtpDelete() deletes a file on an FTP server.",
    "FtpGetFolderListing() returns the names of the files and folders in a folder of an FTP "
    "server.",
    "FtpGetOpenFileName() opens a dialog in which the user browses an FTP server and chooses a "
    "file.",
    "When a new version of Vexa Script is out, the editor tells you at start-up, at most once a "
    "day. Choose Cancel in that notice to stop hearing about that version.",
    "DownloadUrl() saves the document at a web or FTP address into a local file.",
    "Scripts can remote-control Internet Explorer windows: open pages, follow links, fill in and "
    "submit forms. The Browser functions do this.",
    "BrowserLaunchIE() opens a new Internet Explorer window and returns a handle that the other "
    "Browser functions take.",
    "BrowserAttachIE() takes control of an Internet Explorer window that is already open, found by "
    "its title.",
    "BrowserGetOpenWindowTitles() lists the titles of all open Internet Explorer windows, one per "
    "line.",
    "BrowserNavigate() loads a web address into a browser window.",
    "BrowserWaitDocumentComplete() waits until the page has loaded completely, or until the "
    "time-out passes.",
    "BrowserWaitDocumentInteractive() waits until the page can be used, which is often sooner than "
    "complete.",
    "BrowserFollowTextLink() clicks the link with the given text on the page.",
    "BrowserGetTextLinks() lists the texts of all links on the page, one per line.",
    "BrowserGetTextLinkUrl() returns the address a link with the given text points to.",
    "BrowserGoBack() returns to the previous page, like the browser's Back button.",
    "BrowserSetFormField() fills in a field of the active form: a text box, a check box, an option "
    "button or a list.",
    "BrowserGetFormFields() lists the fields of the active form with their names and values.",
    "BrowserSetActiveForm() chooses which form of the page the form functions act on.",
    "BrowserGetFormNames() lists the names of the forms on the page.",
    "BrowserSubmitForm() sends the active form, as if the user pressed its submit button.",
    "BrowserResetForm() puts the fields of the active form back to their first values.",
    "BrowserClickFormButton() clicks a button of the active form, named by its name.",
    "BrowserIsDocumentComplete() returns 1 when the page has finished loading, without waiting.",
    "BrowserIsDocumentInteractive() returns 1 when the page can already be used, without waiting.",
    "BrowserGetBodyText() returns the text of the page as it is shown, without the HTML tags.",
    "BrowserGetHtml() returns the HTML source of the page.",
    "BrowserGetTitle() returns the title of the page.",
    "BrowserGetLocationURL() returns the address of the page shown.",
    "BrowserGetStatusText() returns the text of the browser's status bar.",
    "BrowserShowWindow() shows, hides, minimises or maximises the browser window.",
    "BrowserSetForegroundWindow() brings the browser window to the front.",
    "BrowserRefresh() loads the page again.",
    "BrowserClose() closes the browser window.",
    "The sample scripts page of the product's web site has a library script of ready-made browser "
    "functions: include it in your scripts and save yourself the typing.",
    "BrowserSetInternetSettings() switches off Internet Explorer's security warnings that would "
    "stop an unattended script, such as the warning before a form is sent unencrypted.",
    "SendMailMapi() sends an e-mail through the mail program of this computer, with optional "
    "copies and attachments.",
    "AppendFileString() adds text to the end of a file, creating the file when it is missing: an "
    "easy way to write a log.",
    "CopyFile() copies a file.",
    "MoveFile() moves or renames a file.",
    "CreateFile() creates an empty file.",
    "CreateFolder() creates a folder; with a second argument of 1 it also creates the folders "
    "above it that are missing.",
    "DeleteFile() deletes a file.",
    "DeleteFolder() deletes a folder.",
    "FileExists() returns 1 when a file exists.",
    "FolderExists() returns 1 when a folder exists.",
    "OpenFile() opens a file for reading or writing and returns an HFILE handle for the other file "
    "functions.",
    "ReadFileString() reads the next line of a file opened with OpenFile().",
    "FileEOF() returns 1 when everything in the file has been read.",
    "WriteFileString() writes text into a file opened with OpenFile().",
    "CloseFile() closes a file opened with OpenFile(). Files still open when the script ends are "
    "closed for you.",
    "GetOpenFileName() shows the standard Open dialog and returns the file the user chose.",
    "BrowseForFolder() lets the user choose a folder and returns its path.",
    "GetFileAttributes() returns the attributes of a file, such as FILE_ATTRIBUTE_READONLY or "
    "FILE_ATTRIBUTE_HIDDEN.",
    "SetFileAttributes() changes the attributes of a file, for example to clear its read-only "
    "mark.",
    "GetFileSize() returns the size of a file in bytes.",
    "GetFileTimeString() returns the time a file was last changed, formatted as you ask.",
    "CurrentTimeString() returns the current date and time as text, formatted as you ask.",
    "SetSystemTime() sets the computer's clock; the parts you leave out keep their current value.",
    "RegCreateKey() creates a registry key, for example under HKEY_CURRENT_USER.",
    "RegSetKeyValueInt() and RegSetKeyValueString() write a number or a text value into the "
    "registry.",
    "RegGetKeyValueInt() and RegGetKeyValueString() read a value from the registry, with a default "
    "for a value that is missing.",
    "RegDeleteKey() deletes a registry key.",
    "RegDeleteKeyValue() deletes one value of a registry key.",
    "rand() returns a random number between 0 and RAND_MAX (32767); a different sequence comes "
    "each time a script runs.",
    "The constants TRUE (1), FALSE (0), NULL and RAND_MAX are ready to use in every script.",
    "IsEmpty() returns 1 when a string holds no text.",
    "strlen() returns the length of a string.",
    "strupr() returns a string in upper case.",
    "strlwr() returns a string in lower case.",
    "FindString() returns the position of one string inside another, or -1 when it is not there.",
    "ReplaceString() replaces text inside a string, once or everywhere.",
    "itoa() turns a number into text: itoa(42) is \"42\".",
    "atoi() turns text into a number: atoi(\"42\") is 42.",
    "ASCII() returns the character code of the first character of a string.",
    "Chr() returns a one-character string for a character code: Chr(65) is \"A\".",
    "GetFolderListing() returns the names of the files and folders that match a pattern such as "
    "\"C:\\\\Temp\\\\*.txt\".",
    "GetEnvironmentVariable() returns the value of an environment variable such as PATH or TEMP.",
    "GetUserName() returns the name of the user who is logged on.",
    "NetUserChangePassword() changes a user's password on a domain or on this computer.",
    "ExitWindows() logs the user off, shuts the computer down or restarts it.",
    "SetRunningScriptWindow moves, hides or retitles the Running Script window, or keeps it on top "
    "of other windows.",
    "EnableScreenSaver() switches the screen saver on or off.",
    "StopScreenSaver() ends a screen saver that is running.",
    "IsScreenSaverRunning() returns 1 while the screen saver is running.",
    "GetPixelColor() returns the colour of a pixel on the screen: a script can wait until a "
    "program has drawn something.",
    "IsServiceActive() returns 1 when a Windows service is running.",
    "Choose View > Font to set the font and size the editor shows scripts in.",
    "That was the last tip; the next one starts again from the beginning.\n"
    "\n"
    "To stop the tips at start-up, clear the Show tips at startup box below. Help > Tip of the Day "
    "still shows them whenever you like.",
};
