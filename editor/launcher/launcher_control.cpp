// Starting, notifying and closing the tray launcher, which lives beside the editor.
#include "launcher_control.h"

#include "launcher_menu_file.h"
#include "program_launch.h"
#include "win_handles.h"

std::string ProgramFilePath() {
    char path[MAX_PATH * 2] = {};
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    return std::string(path, n < sizeof path ? n : 0);
}

std::string ProgramFolder() {
    std::string path = ProgramFilePath();
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

LauncherHost CurrentLauncherHost(const std::string& startDirectory) {
    return {ProgramFolder(), ProgramFilePath(), startDirectory};
}

std::string MenuFilePath(const LauncherHost& host) { return host.folder + kMenuFileName; }

std::string LauncherCommandLine(const LauncherHost& host) {
    return "\"" + host.folder + "launcher.exe\" " + MenuFilePath(host);
}

std::string LauncherWindowTitle(const LauncherHost& host) {
    return "Vexa Launcher " + MenuFilePath(host);
}

HWND FindLauncherWindow(const LauncherHost& host) {
    return FindWindowA(nullptr, LauncherWindowTitle(host).c_str());
}

namespace {

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

void StartLauncher(const LauncherHost& host) {
    if (!FileExists(host.folder + "launcher.exe")) return;
    std::string menuPath = MenuFilePath(host);
    LauncherConfig config;
    if (FileExists(menuPath) && LoadMenuFile(menuPath, config)) {
        config.editorProgram = host.editorProgram;
        config.startDirectory = host.startDirectory;
        config.editorWindowClass.clear();
    } else {
        // A damaged file keeps the entries read before the damage under a sound header.
        SetEditorHeader(config, host.editorProgram, "", host.startDirectory);
    }
    SaveMenuFile(menuPath, config);
    if (HWND launcher = FindLauncherWindow(host))
        SendMessageA(launcher, kLauncherReloadMessage, 0, 0);
    else
        LaunchProgram(LauncherCommandLine(host));
}

void NotifyLauncher(const LauncherHost& host) {
    if (HWND launcher = FindLauncherWindow(host))
        SendMessageA(launcher, kLauncherReloadMessage, 0, 0);
}

bool LauncherStartsWithWindows() {
    char value[MAX_PATH * 2] = {};
    DWORD size = sizeof value;
    LSTATUS status = RegGetValueA(HKEY_CURRENT_USER, kRunKey, kLauncherName, RRF_RT_REG_SZ, nullptr,
                                  value, &size);
    if (status == ERROR_MORE_DATA) return true;  // longer than the buffer, so not empty
    return status == ERROR_SUCCESS && value[0] != '\0';
}

void SetLauncherStartsWithWindows(bool on, const LauncherHost& host) {
    UniqueRegKey key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        key.put(), nullptr) != ERROR_SUCCESS)
        return;
    if (!on) {
        RegDeleteValueA(key.get(), kLauncherName);
        return;
    }
    std::string command = LauncherCommandLine(host);
    RegSetValueExA(key.get(), kLauncherName, 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(command.c_str()), DWORD(command.size() + 1));
}

void CloseLauncherIfLastEditor(const LauncherHost& host) {
    if (LauncherStartsWithWindows()) return;
    if (FindWindowA(kEditorWindowClass, nullptr)) return;  // another editor, or a cancelled close
    if (HWND launcher = FindLauncherWindow(host)) SendMessageA(launcher, WM_CLOSE, 0, 0);
}
