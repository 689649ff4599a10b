// launcher.exe: the tray launcher. Command line: "<folder>launcher.exe" <menu file path>.
// A hidden window titled "Vexa Launcher " + the menu path owns a tray icon whose menu lists the
// menu file's entries; choosing one runs the script through the editor's run mode. Message 1034
// re-reads the menu file; the close message ends the program.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "launcher_menu_file.h"

namespace {

constexpr UINT kReloadMessage = WM_USER + 10;  // sent by the editor after it rewrote the file
constexpr UINT kTrayMessage = WM_APP + 1;
constexpr UINT kFirstEntryCommand = 1000;  // entry i is command 1000 + i
constexpr UINT kOpenEditorCommand = 100;
constexpr UINT kExitCommand = 101;
constexpr UINT kTrayIconId = 1;
constexpr int kAppIcon = 128;

struct Launcher {
    std::string menuPath;
    std::string folder;  // the launcher's own folder, with a trailing backslash
    LauncherConfig config;
    UINT taskbarCreated = 0;
    bool iconAdded = false;
};
Launcher g_launcher;

// The command line after the program's own (possibly quoted) name, without surrounding quotes.
std::string MenuPathArgument() {
    const char* p = GetCommandLineA();
    if (*p == '"') {
        for (++p; *p && *p != '"'; ++p) {}
        if (*p) ++p;
    } else {
        while (*p && *p != ' ' && *p != '\t') ++p;
    }
    while (*p == ' ' || *p == '\t') ++p;
    std::string path = p;
    while (!path.empty() && (path.back() == ' ' || path.back() == '\t')) path.pop_back();
    if (path.size() >= 2 && path.front() == '"' && path.back() == '"')
        path = path.substr(1, path.size() - 2);
    return path;
}

std::string OwnFolder() {
    char path[MAX_PATH * 2] = {};
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string file(path, n < sizeof path ? n : 0);
    size_t slash = file.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : file.substr(0, slash + 1);
}

// A missing or damaged file gives an empty menu; the editor rewrites it when it starts us.
void ReloadMenu() {
    LauncherConfig config;
    if (!LoadMenuFile(g_launcher.menuPath, config)) config = LauncherConfig();
    g_launcher.config = std::move(config);
}

std::string EditorProgram() {
    const std::string& recorded = g_launcher.config.editorProgram;
    return recorded.empty() ? g_launcher.folder + "vexedit.exe" : recorded;
}

bool StartProgram(const std::string& commandLine, const std::string& directory) {
    std::string writable = commandLine;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    const char* dir = directory.empty() ? nullptr : directory.c_str();
    if (dir && GetFileAttributesA(dir) == INVALID_FILE_ATTRIBUTES) dir = nullptr;
    if (!CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS,
                        nullptr, dir, &startup, &info))
        return false;
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return true;
}

// Runs entry `index` unattended: the editor's run mode shows no editor window.
void RunEntry(HWND window, size_t index) {
    if (index >= g_launcher.config.entries.size()) return;
    const CLauncherCommand& entry = g_launcher.config.entries[index];
    std::string command = "\"" + EditorProgram() + "\" /r \"" + entry.scriptPath + "\"";
    if (!StartProgram(command, g_launcher.config.startDirectory))
        MessageBoxA(window, ("Unable to run " + entry.name + ":\n" + command).c_str(),
                    "Vexa Launcher", MB_OK | MB_ICONEXCLAMATION);
}

void AddTrayIcon(HWND window) {
    NOTIFYICONDATAA data{};
    data.cbSize = sizeof data;
    data.hWnd = window;
    data.uID = kTrayIconId;
    data.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
    data.uCallbackMessage = kTrayMessage;
    data.hIcon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kAppIcon));
    lstrcpynA(data.szTip, kLauncherName, sizeof data.szTip);
    g_launcher.iconAdded = Shell_NotifyIconA(NIM_ADD, &data) != FALSE;
}

void RemoveTrayIcon(HWND window) {
    if (!g_launcher.iconAdded) return;
    NOTIFYICONDATAA data{};
    data.cbSize = sizeof data;
    data.hWnd = window;
    data.uID = kTrayIconId;
    Shell_NotifyIconA(NIM_DELETE, &data);
    g_launcher.iconAdded = false;
}

void ShowTrayMenu(HWND window) {
    HMENU menu = CreatePopupMenu();
    if (!menu) return;
    const auto& entries = g_launcher.config.entries;
    for (size_t i = 0; i < entries.size(); ++i) {
        // A single ampersand in a name would underline the next letter instead of showing.
        std::string text;
        for (char c : entries[i].name) text += c == '&' ? std::string("&&") : std::string(1, c);
        AppendMenuA(menu, MF_STRING, kFirstEntryCommand + i, text.c_str());
    }
    if (entries.empty()) AppendMenuA(menu, MF_STRING | MF_GRAYED, 0, "(no scripts)");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, kOpenEditorCommand, "&Open Vexa Script");
    AppendMenuA(menu, MF_STRING, kExitCommand, "E&xit");
    POINT at;
    GetCursorPos(&at);
    SetForegroundWindow(window);  // so the menu closes when the user clicks elsewhere
    TrackPopupMenu(menu, TPM_RIGHTBUTTON, at.x, at.y, 0, window, nullptr);
    PostMessageA(window, WM_NULL, 0, 0);
    DestroyMenu(menu);
}

LRESULT CALLBACK LauncherProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kReloadMessage: ReloadMenu(); return 0;
    case kTrayMessage:
        if (lParam == WM_LBUTTONUP || lParam == WM_RBUTTONUP) ShowTrayMenu(window);
        return 0;
    case WM_COMMAND: {
        UINT id = LOWORD(wParam);
        if (id == kExitCommand) {
            DestroyWindow(window);
        } else if (id == kOpenEditorCommand) {
            StartProgram("\"" + EditorProgram() + "\"", g_launcher.config.startDirectory);
        } else if (id >= kFirstEntryCommand) {
            RunEntry(window, id - kFirstEntryCommand);
        }
        return 0;
    }
    case WM_DESTROY:
        RemoveTrayIcon(window);
        PostQuitMessage(0);
        return 0;
    default:
        // Explorer restarted: its tray forgot our icon.
        if (message == g_launcher.taskbarCreated && message != 0) AddTrayIcon(window);
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    g_launcher.folder = OwnFolder();
    g_launcher.menuPath = MenuPathArgument();
    if (g_launcher.menuPath.empty()) g_launcher.menuPath = g_launcher.folder + kMenuFileName;
    std::string title = "Vexa Launcher " + g_launcher.menuPath;
    // One launcher per menu file: a second start only asks the first to re-read it.
    if (HWND running = FindWindowA(nullptr, title.c_str())) {
        SendMessageA(running, kReloadMessage, 0, 0);
        return 0;
    }

    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = LauncherProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(kAppIcon));
    windowClass.lpszClassName = "VexaLauncher";
    if (!RegisterClassA(&windowClass)) return 1;
    HWND window = CreateWindowExA(0, windowClass.lpszClassName, title.c_str(), WS_OVERLAPPED, 0, 0,
                                  0, 0, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    ReloadMenu();
    g_launcher.taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    AddTrayIcon(window);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
