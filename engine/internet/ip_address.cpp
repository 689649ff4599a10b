// GetIPAddress: the machine's IPv4 addresses through Winsock bound by name, joined by ";".
#include <windows.h>
#include <winsock2.h>

#include <string>

#include "builtin_api.h"
#include "progress_dialog.h"
#include "wait_loop.h"
#include "win_handles.h"

namespace {

constexpr uint64_t kNameLimitMs = 1000;
constexpr int kNotInitialised = 10093;  // WSANOTINITIALISED
constexpr int kInProgress = 10036;      // WSAEINPROGRESS
constexpr DWORD kInProgressPauseMs = 100;

struct Winsock {
    UniqueLibrary library{LoadLibraryA("ws2_32.dll")};
    decltype(&::gethostname) getHostName =
        BindFunction<decltype(&::gethostname)>(library, "gethostname");
    decltype(&::gethostbyname) getHostByName =
        BindFunction<decltype(&::gethostbyname)>(library, "gethostbyname");
    decltype(&::WSAStartup) startup = BindFunction<decltype(&::WSAStartup)>(library, "WSAStartup");
    decltype(&::WSACleanup) cleanup = BindFunction<decltype(&::WSACleanup)>(library, "WSACleanup");
    decltype(&::WSAGetLastError) lastError =
        BindFunction<decltype(&::WSAGetLastError)>(library, "WSAGetLastError");
    bool started = false;  // WSAStartup succeeded: WSACleanup is owed

    ~Winsock() {
        if (started && cleanup) cleanup();
    }
};

// "a.b.c.d" for each address of the host entry, in order, separated by ";".
std::string JoinAddresses(const hostent* host) {
    std::string text;
    if (!host || host->h_length != 4) return text;
    for (char** entry = host->h_addr_list; *entry; ++entry) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(*entry);
        if (!text.empty()) text += ';';
        text += std::to_string(bytes[0]) + "." + std::to_string(bytes[1]) + "." +
                std::to_string(bytes[2]) + "." + std::to_string(bytes[3]);
    }
    return text;
}

}  // namespace

int Builtin_GetIPAddress(BuiltinCall& call) {
    SetStringResult(call, "");
    StatusLine status(call.window, "Get IP address...");
    CProgressDlg& window = ProgressWindow(call.window);
    Winsock sockets;
    if (!sockets.getHostName || !sockets.getHostByName || !sockets.startup || !sockets.lastError)
        return kOk;
    char name[128] = "";
    bool named = false;
    const uint64_t start = TickNow();
    while (!named && TickNow() - start < kNameLimitMs) {
        if (window.PumpMessages()) return kErrCancelled;
        if (sockets.getHostName(name, sizeof name) == 0) {
            named = true;
            break;
        }
        if (sockets.lastError() != kNotInitialised) break;
        WSADATA data;
        int code = sockets.startup(MAKEWORD(1, 0), &data);
        if (code == kInProgress) {
            Sleep(kInProgressPauseMs);
            continue;
        }
        if (code != 0) break;
        sockets.started = true;
        Sleep(static_cast<DWORD>(window.waitIncrement()));
    }
    if (!named) return kOk;
    // The look-up needs the library started, even where the name was read without it (Wine).
    WSADATA data;
    if (!sockets.started && sockets.startup(MAKEWORD(1, 0), &data) == 0) sockets.started = true;
    SetStringResult(call, JoinAddresses(sockets.getHostByName(name)));
    return kOk;
}
