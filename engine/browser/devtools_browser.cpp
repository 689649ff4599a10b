#include "devtools_browser.h"

#include <shellapi.h>

#include <algorithm>

#include "browser_text.h"
#include "devtools_session.h"
#include "internet/wininet_binding.h"
#include "win_handles.h"

namespace {

constexpr uint16_t kWellKnownPort = 9222;  // a browser the user started for remote debugging
constexpr uint64_t kLaunchLimitMs = 60000;

// One GET of the DevTools HTTP endpoint on 127.0.0.1 through WinINet, bound at run time like
// every use of it in the engine: without the library the browser functions fail quietly.
bool HttpGet(uint16_t port, const std::string& path, std::string& body) {
    body.clear();
    InternetLibrary internet;
    InternetHandle session(
        internet, internet.Open("Vexa Script", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
    if (!session) return false;
    std::string url = "http://127.0.0.1:" + std::to_string(port) + path;
    InternetHandle request(
        internet,
        internet.OpenUrl(session.get(), url.c_str(), nullptr, 0,
                         INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_UI,
                         0));
    if (!request) return false;
    DWORD status = 0, size = sizeof status;
    if (!internet.HttpQueryInfo(request.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER,
                                &status, &size, nullptr) ||
        status != 200)
        return false;
    char buffer[8192];
    DWORD got = 0;
    while (internet.ReadFile(request.get(), buffer, sizeof buffer, &got) && got > 0)
        body.append(buffer, got);
    return true;
}

std::vector<DevToolsTarget> ListPages(uint16_t port) {
    std::vector<DevToolsTarget> pages;
    std::string body;
    if (!HttpGet(port, "/json/list", body)) return pages;
    Json list = ParseJson(body);
    if (!list.is_array()) return pages;
    for (const Json& item : list) {
        if (JsonString(item, "type") != "page") continue;
        DevToolsTarget page;
        page.port = port;
        page.id = JsonString(item, "id");
        page.title = JsonString(item, "title");
        page.url = JsonString(item, "url");
        // ws://127.0.0.1:PORT/devtools/page/ID: the path after the authority.
        std::string socketUrl = JsonString(item, "webSocketDebuggerUrl");
        size_t slash = socketUrl.find('/', socketUrl.find("//") + 2);
        if (page.id.empty() || slash == std::string::npos) continue;
        page.socketPath = socketUrl.substr(slash);
        pages.push_back(std::move(page));
    }
    return pages;
}

// Every browser the engine starts gets a profile folder here; its name sorts by start time.
std::string ProfilesRoot() {
    char temp[MAX_PATH + 1];
    DWORD length = GetTempPathA(sizeof temp, temp);
    if (length == 0 || length > MAX_PATH) return {};
    return std::string(temp) + "Vexa Script Browsers\\";
}

uint64_t FileTimeNow() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return static_cast<uint64_t>(now.dwHighDateTime) << 32 | now.dwLowDateTime;
}

// The profile folders under the root, oldest first.
std::vector<std::string> ProfileFolders(const std::string& root) {
    std::vector<std::string> profiles;
    WIN32_FIND_DATAA found;
    UniqueFindHandle search(FindFirstFileA((root + "*").c_str(), &found));
    if (search) {
        do {
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && found.cFileName[0] != '.')
                profiles.push_back(root + found.cFileName);
        } while (FindNextFileA(search.get(), &found));
    }
    std::sort(profiles.begin(), profiles.end());
    return profiles;
}

uint16_t ActivePort(const std::string& profile);

// A profile stays as long as its browser answers; one whose browser has ended is removed
// when the next browser starts, unless it is younger than an hour (its browser may still
// be starting, in another run).
void RemoveEndedProfiles(const std::string& root) {
    const uint64_t hour = 36000000000ull;  // in 100 ns units
    for (const std::string& profile : ProfileFolders(root)) {
        const char* name = profile.c_str() + root.size();
        char* end = nullptr;
        uint64_t started = _strtoui64(name, &end, 16);
        if (end != name + 16 || *end != '-' || started + hour > FileTimeNow()) continue;
        uint16_t port = ActivePort(profile);
        if (port && !ListPages(port).empty()) continue;
        std::string from = profile + std::string(1, '\0');  // a list ended by an empty entry
        SHFILEOPSTRUCTA remove{};
        remove.wFunc = FO_DELETE;
        remove.pFrom = from.c_str();
        remove.fFlags = FOF_NO_UI;
        SHFileOperationA(&remove);
    }
}

std::string NewProfileFolder() {
    std::string root = ProfilesRoot();
    if (root.empty()) return {};
    CreateDirectoryA(root.c_str(), nullptr);
    RemoveEndedProfiles(root);
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    char name[64];
    snprintf(name, sizeof name, "%08lx%08lx-%lu", now.dwHighDateTime, now.dwLowDateTime,
             GetCurrentProcessId());
    std::string folder = root + name;
    return CreateDirectoryA(folder.c_str(), nullptr) ? folder : std::string();
}

// The port a browser wrote into its profile once its DevTools endpoint listens; 0 before.
uint16_t ActivePort(const std::string& profile) {
    UniqueFileHandle file(CreateFileA((profile + "\\DevToolsActivePort").c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) return 0;
    char text[32] = {};
    DWORD got = 0;
    if (!ReadFile(file.get(), text, sizeof text - 1, &got, nullptr)) return 0;
    long port = strtol(text, nullptr, 10);
    return port > 0 && port < 65536 && strchr(text, '\n') ? static_cast<uint16_t>(port) : 0;
}

// Wine's own exports: present only when the engine runs under Wine, where the host's Unix
// browser can be started like a Windows program.
using UnixToDos = WCHAR* (*)(const char*);
using DosToUnix = char* (*)(const WCHAR*);

template <typename Function>
Function WineExport(const char* name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), name)));
}

std::string UnixPathToDos(const std::string& path) {
    auto convert = WineExport<UnixToDos>("wine_get_dos_file_name");
    if (!convert) return {};
    WCHAR* dos = convert(path.c_str());
    if (!dos) return {};
    std::string out = WideToAnsi(dos);
    HeapFree(GetProcessHeap(), 0, dos);
    return out;
}

std::string DosPathToUnix(const std::string& path) {
    auto convert = WineExport<DosToUnix>("wine_get_unix_file_name");
    if (!convert) return {};
    std::wstring wide(path.size() + 1, L'\0');
    int length = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(),
                                     static_cast<int>(wide.size()));
    if (length <= 0) return {};
    char* unix = convert(wide.c_str());
    if (!unix) return {};
    std::string out = unix;
    HeapFree(GetProcessHeap(), 0, unix);
    return out;
}

// The Unix user Wine runs as is root: the host browser's sandbox refuses to start then.
bool HostUserIsRoot() {
    std::string status = UnixPathToDos("/proc/self/status");
    UniqueFileHandle file(CreateFileA(status.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, 0, nullptr));
    if (status.empty() || !file) return false;
    char text[4096] = {};
    DWORD got = 0;
    ReadFile(file.get(), text, sizeof text - 1, &got, nullptr);
    const char* uid = strstr(text, "\nUid:");
    return uid && strtol(uid + 5, nullptr, 10) == 0;
}

bool FileExists(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string AppPath(const char* program) {
    std::string key =
        std::string("Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\") + program;
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        char path[MAX_PATH + 1] = {};
        LONG size = sizeof path - 1;
        if (RegQueryValueA(root, key.c_str(), path, &size) == ERROR_SUCCESS && FileExists(path))
            return path;
    }
    return {};
}

// The program of a command line: its first word, quoted or not.
std::string ProgramOf(const std::string& commandLine) {
    size_t start = commandLine.find_first_not_of(' ');
    if (start == std::string::npos) return {};
    if (commandLine[start] == '"') {
        size_t end = commandLine.find('"', start + 1);
        return commandLine.substr(start + 1, end == std::string::npos ? end : end - start - 1);
    }
    return commandLine.substr(start, commandLine.find(' ', start) - start);
}

}  // namespace

std::string FindBrowserCommandLine() {
    for (const char* program : {"msedge.exe", "chrome.exe"}) {
        std::string path = AppPath(program);
        if (!path.empty()) return "\"" + path + "\"";
    }
    const char* folders[] = {"ProgramFiles(x86)", "ProgramFiles", "LocalAppData"};
    const char* programs[] = {"\\Microsoft\\Edge\\Application\\msedge.exe",
                              "\\Google\\Chrome\\Application\\chrome.exe",
                              "\\Chromium\\Application\\chrome.exe"};
    for (const char* program : programs) {
        for (const char* folder : folders) {
            char base[MAX_PATH + 1];
            DWORD length = GetEnvironmentVariableA(folder, base, sizeof base);
            if (length == 0 || length > MAX_PATH) continue;
            std::string path = std::string(base) + program;
            if (FileExists(path)) return "\"" + path + "\"";
        }
    }
    for (const char* host : {"/usr/bin/chromium", "/usr/bin/chromium-browser",
                             "/usr/bin/google-chrome", "/usr/bin/microsoft-edge"}) {
        std::string dos = UnixPathToDos(host);
        if (!dos.empty() && FileExists(dos))
            return std::string(host) + (HostUserIsRoot() ? " --no-sandbox" : "");
    }
    return {};
}

bool LaunchDevToolsBrowser(const std::string& configured, const std::function<bool()>& keepWaiting,
                           DevToolsTarget& page) {
    std::string commandLine = configured.empty() ? FindBrowserCommandLine() : configured;
    std::string program = ProgramOf(commandLine);
    std::string profile = NewProfileFolder();
    if (program.empty() || profile.empty()) return false;
    // A Unix program (under Wine) is started through its DOS name and given a Unix profile path.
    // A Unix program (under Wine) gets a Unix profile path and is started through the shell,
    // which gives it the null device as standard streams: it outlives the script and must
    // not hold the output of whatever started the script open.
    std::string profileArgument = profile, application;
    if (program[0] == '/') {
        application = UnixPathToDos("/bin/sh");
        profileArgument = DosPathToUnix(profile);
        if (application.empty() || profileArgument.empty()) return false;
        commandLine =
            "sh -c \"exec \\\"$0\\\" \\\"$@\\\" </dev/null >/dev/null 2>&1\" " + commandLine;
    }
    commandLine += " --remote-debugging-port=0 \"--user-data-dir=" + profileArgument +
                   "\" --no-first-run --no-default-browser-check about:blank";
    // The browser outlives the script and must not hold the host's output open: a runner
    // reading it would wait for the browser's end. Its standard handles are the null device.
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    UniqueFileHandle null(CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING,
                                      0, nullptr));
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (null) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = startup.hStdOutput = startup.hStdError = null.get();
    }
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(application.empty() ? nullptr : application.c_str(), commandLine.data(),
                        nullptr, nullptr, null ? TRUE : FALSE, DETACHED_PROCESS, nullptr, nullptr,
                        &startup, &process)) {
        RemoveDirectoryA(profile.c_str());  // still empty: nothing was started
        return false;
    }
    UniqueKernelHandle processHandle(process.hProcess), thread(process.hThread);

    const uint64_t end = GetTickCount64() + kLaunchLimitMs;
    while (GetTickCount64() < end && keepWaiting()) {
        if (uint16_t port = ActivePort(profile)) {
            std::vector<DevToolsTarget> pages = ListPages(port);
            if (!pages.empty()) {
                page = pages.front();
                return true;
            }
        }
    }
    return false;
}

std::vector<DevToolsTarget> ListReachablePages() {
    std::vector<uint16_t> ports;
    std::vector<std::string> profiles = ProfileFolders(ProfilesRoot());
    for (const std::string& profile : profiles) {
        uint16_t port = ActivePort(profile);
        if (port && std::find(ports.begin(), ports.end(), port) == ports.end())
            ports.push_back(port);
    }
    if (std::find(ports.begin(), ports.end(), kWellKnownPort) == ports.end())
        ports.push_back(kWellKnownPort);
    std::vector<DevToolsTarget> pages;
    for (uint16_t port : ports) {
        std::vector<DevToolsTarget> more = ListPages(port);
        pages.insert(pages.end(), more.begin(), more.end());
    }
    return pages;
}

bool CloseDevToolsPage(const DevToolsTarget& page) {
    std::string body;
    return HttpGet(page.port, "/json/close/" + page.id, body);
}
