// IsConnectedToInternet and BrowseURL, on the script's thread: the work-offline state, the
// connected state, and a probe of one well-known web server; then opening a URL through the
// program registered for its scheme or through the shell.
#include <windows.h>

#include <string>
#include <vector>

#include "builtin_api.h"
#include "builtins/program_starter.h"
#include "engine_settings.h"
#include "win_handles.h"
#include "wininet_binding.h"

namespace {

constexpr DWORD kConnectedStateOption = 50;       // INTERNET_OPTION_CONNECTED_STATE
constexpr DWORD kDisconnectedByUser = 0x10;       // INTERNET_STATE_DISCONNECTED_BY_USER
constexpr DWORD kConnectionConfigured = 0x40;     // INTERNET_CONNECTION_CONFIGURED
constexpr DWORD kProbeRequestFlags = 0x84000000;  // reload, no cache write
constexpr DWORD_PTR kProbeContext = 2;

// Four well-known public web servers; the setting "InternetProbeHosts" (host or host:port,
// separated by ';') replaces them, for networks that reach only their own servers.
constexpr const char* kDefaultProbeHosts[] = {"www.microsoft.com", "www.google.com",
                                              "www.wikipedia.org", "www.debian.org"};

std::vector<std::string> ProbeHosts() {
    std::vector<std::string> hosts;
    UniqueRegKey key;
    char text[1024];
    DWORD type = 0, size = sizeof text - 1;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_QUERY_VALUE, key.put()) ==
            ERROR_SUCCESS &&
        RegQueryValueExA(key.get(), "InternetProbeHosts", nullptr, &type,
                         reinterpret_cast<BYTE*>(text), &size) == ERROR_SUCCESS &&
        type == REG_SZ) {
        text[size] = '\0';
        std::string list = text;
        for (std::size_t from = 0; from <= list.size();) {
            std::size_t end = list.find(';', from);
            if (end == std::string::npos) end = list.size();
            if (end > from) hosts.push_back(list.substr(from, end - from));
            from = end + 1;
        }
    }
    if (hosts.empty()) hosts.assign(std::begin(kDefaultProbeHosts), std::end(kDefaultProbeHosts));
    return hosts;
}

// The user chose to work offline.
bool IsWorkingOffline(const InternetLibrary& library) {
    DWORD state = 0, length = sizeof state;
    return library.QueryOption(nullptr, kConnectedStateOption, &state, &length) &&
           (state & kDisconnectedByUser);
}

// GET "/" from one of the probe servers, chosen by the random number's two lowest bits.
bool ProbeWebServer(const InternetLibrary& library, BuiltinCall& call) {
    std::vector<std::string> hosts = ProbeHosts();
    std::string chosen =
        hosts[static_cast<std::size_t>(NextScriptRandom(call) & 3) % hosts.size()];
    ServerAddress server = ParseServerText(chosen, 0);  // port 0: the HTTP default
    InternetHandle session = OpenSession(library);
    if (!session || server.port < 0 || server.port > 65535) return false;
    InternetHandle connection(
        library,
        library.Connect(session.get(), server.host.c_str(), static_cast<INTERNET_PORT>(server.port),
                        nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, kProbeContext));
    if (!connection) return false;
    InternetHandle request(
        library, library.HttpOpenRequest(connection.get(), "GET", "/", "HTTP/1.0", nullptr, nullptr,
                                         kProbeRequestFlags, kProbeContext));
    if (!request || !library.HttpSendRequest(request.get(), nullptr, 0, nullptr, 0)) return false;
    char status[80] = "";
    DWORD length = sizeof status;
    return library.HttpQueryInfo(request.get(), HTTP_QUERY_STATUS_CODE, status, &length, nullptr) &&
           std::string(status, length) == "200";
}

// Step 2 of the check: the connected state, else the probe.
bool VerifyConnection(const InternetLibrary& library, BuiltinCall& call) {
    call.window.SetStatusText("Verifying connection to the Internet...");
    DWORD flags = 0;
    if (library.Has(InternetLibrary::kGetConnectedState)) {
        if (!library.GetConnectedState(&flags)) return false;
        if (flags & kConnectionConfigured) return true;
    }
    return ProbeWebServer(library, call);
}

// The scheme of a URL: the text before "://" when that occurs after the first character.
std::string SchemeOf(const std::string& url) {
    std::size_t at = url.find("://");
    return at != std::string::npos && at > 0 ? url.substr(0, at) : "http";
}

// The command registered to open the URL's scheme, with the URL in it; empty when none.
std::string SchemeCommand(const std::string& url) {
    std::string key = SchemeOf(url) + "\\shell\\open\\command";
    char command[MAX_PATH + 1] = "";
    LONG size = MAX_PATH;
    if (RegQueryValueA(HKEY_CLASSES_ROOT, key.c_str(), command, &size) != ERROR_SUCCESS) return "";
    std::string line = command;
    std::size_t at = line.find("%1");
    if (at != std::string::npos) return line.replace(at, 2, url);
    return line + " \"" + url + "\"";
}

}  // namespace

int Builtin_IsConnectedToInternet(BuiltinCall& call) {
    SetIntResult(call, 0);
    InternetLibrary library;
    if (IsWorkingOffline(library)) return kOk;
    SetIntResult(call, VerifyConnection(library, call) ? 1 : 0);
    call.window.SetStatusText("");
    return kOk;
}

int Builtin_BrowseURL(BuiltinCall& call) {
    SetIntResult(call, 0);
    std::string url;
    int32_t newWindow = 0;
    if (int error = GetStringParam(call, 0, url)) return error;
    if (int error = GetOptionalIntParam(call, 1, newWindow)) return error;
    // The shell would stop at a NUL and open a shorter address or command.
    if (!IsSystemText(url)) return kOk;
    InternetLibrary library;
    StatusLine clear(call.window, "");
    if (!IsWorkingOffline(library) && !VerifyConnection(library, call)) return kOk;
    call.window.SetStatusText("Opening URL...");
    std::string commandLine = newWindow ? SchemeCommand(url) : url;
    if (commandLine.empty()) return kOk;
    int started = StartProgramOrDocument(call.window, commandLine, SW_SHOWNORMAL);
    if (started < 0) return started;
    SetIntResult(call, started);
    return kOk;
}
