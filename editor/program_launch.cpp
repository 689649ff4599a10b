// The launch routine: CreateProcess first, then ShellExecute for documents and addresses.
#include "program_launch.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdio>

#include "editor_message.h"
#include "win_handles.h"

std::string ShellErrorReason(int code) {
    switch (code) {
    case 0: return "The operating system is out of memory or resources.";
    case ERROR_FILE_NOT_FOUND: return "The specified file was not found.";
    case ERROR_PATH_NOT_FOUND: return "The specified path was not found.";
    case SE_ERR_ACCESSDENIED: return "The operating system denied access to the specified file.";
    case SE_ERR_OOM: return "There was not enough memory to complete the operation.";
    case ERROR_BAD_FORMAT:
        return "The .EXE file is invalid (non-Win32 .EXE or error in .EXE image).";
    case SE_ERR_SHARE: return "A sharing violation occurred.";
    case SE_ERR_ASSOCINCOMPLETE: return "The filename association is incomplete or invalid.";
    case SE_ERR_NOASSOC:
        return "There is no application associated with the given filename extension.";
    default: {
        char text[64];
        std::snprintf(text, sizeof text, "ShellExecute error number %d.", code);
        return text;
    }
    }
}

namespace {

bool EndsWithLnk(const std::string& text) {
    return text.size() >= 4 && _stricmp(text.c_str() + text.size() - 4, ".lnk") == 0;
}

bool StartProcess(const std::string& commandLine) {
    std::string writable = commandLine;  // CreateProcess may write into its command line
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS,
                        nullptr, nullptr, &startup, &info))
        return false;
    UniqueKernelHandle process(info.hProcess), thread(info.hThread);
    return true;
}

}  // namespace

bool LaunchProgram(const std::string& commandLine) {
    if (StartProcess(commandLine)) return true;
    // A shortcut is opened with its own default verb.
    const char* verb = EndsWithLnk(commandLine) ? nullptr : "open";
    auto result = reinterpret_cast<INT_PTR>(ShellExecuteA(
        GetDesktopWindow(), verb, commandLine.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (result > 32) return true;
    if (verb || result != SE_ERR_ACCESSDENIED)
        EditorMessageBox(nullptr,
                         "Unable to execute " + commandLine + "\n" + ShellErrorReason(int(result)),
                         MB_OK | MB_ICONEXCLAMATION);
    return false;
}
