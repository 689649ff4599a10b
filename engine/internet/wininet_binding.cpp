#include "wininet_binding.h"

#include <algorithm>

#include "script_value.h"

namespace {

// Resolved by name in this order; the order is the entry enumeration's.
constexpr const char* kEntryNames[InternetLibrary::kEntryCount] = {
    "InternetGetConnectedState",
    "InternetQueryOptionA",
    "InternetOpenA",
    "InternetConnectA",
    "InternetCloseHandle",
    "InternetCrackUrlA",
    "InternetWriteFile",
    "InternetReadFile",
    "InternetOpenUrlA",
    "InternetFindNextFileA",
    "HttpOpenRequestA",
    "HttpSendRequestA",
    "HttpQueryInfoA",
    "FtpOpenFileA",
    "FtpRenameFileA",
    "FtpDeleteFileA",
    "FtpSetCurrentDirectoryA",
    "FtpGetCurrentDirectoryA",
    "FtpGetFileSize",
    "FtpFindFirstFileA",
    "InternetGetLastResponseInfoA",
};

constexpr DWORD kPassiveFlag = 0x08000000;  // INTERNET_FLAG_PASSIVE
constexpr DWORD_PTR kFtpContext = 1;

}  // namespace

InternetLibrary::InternetLibrary() : module_(LoadLibraryA("wininet.dll")) {
    if (!module_) return;
    for (int i = 0; i < kEntryCount; ++i)
        entries_[i] = reinterpret_cast<void*>(GetProcAddress(module_, kEntryNames[i]));
}

InternetLibrary::~InternetLibrary() {
    if (module_) FreeLibrary(module_);
}

BOOL InternetLibrary::GetConnectedState(DWORD* flags) const {
    auto f = Get<decltype(&::InternetGetConnectedState)>(kGetConnectedState);
    return f ? f(flags, 0) : FALSE;
}

BOOL InternetLibrary::QueryOption(HINTERNET handle, DWORD option, void* buffer,
                                  DWORD* length) const {
    auto f = Get<decltype(&::InternetQueryOptionA)>(kQueryOption);
    return f ? f(handle, option, buffer, length) : FALSE;
}

HINTERNET InternetLibrary::Open(const char* agent, DWORD access, const char* proxy,
                                const char* bypass, DWORD flags) const {
    auto f = Get<decltype(&::InternetOpenA)>(kOpen);
    return f ? f(agent, access, proxy, bypass, flags) : nullptr;
}

HINTERNET InternetLibrary::Connect(HINTERNET session, const char* host, INTERNET_PORT port,
                                   const char* user, const char* password, DWORD service,
                                   DWORD flags, DWORD_PTR context) const {
    auto f = Get<decltype(&::InternetConnectA)>(kConnect);
    return f ? f(session, host, port, user, password, service, flags, context) : nullptr;
}

BOOL InternetLibrary::CloseHandle(HINTERNET handle) const {
    auto f = Get<decltype(&::InternetCloseHandle)>(kCloseHandle);
    return f ? f(handle) : FALSE;
}

BOOL InternetLibrary::CrackUrl(const char* url, DWORD length, DWORD flags,
                               URL_COMPONENTSA* parts) const {
    auto f = Get<decltype(&::InternetCrackUrlA)>(kCrackUrl);
    return f ? f(url, length, flags, parts) : FALSE;
}

BOOL InternetLibrary::WriteFile(HINTERNET file, const void* data, DWORD size,
                                DWORD* written) const {
    auto f = Get<decltype(&::InternetWriteFile)>(kWriteFile);
    return f ? f(file, data, size, written) : FALSE;
}

BOOL InternetLibrary::ReadFile(HINTERNET file, void* buffer, DWORD size, DWORD* read) const {
    auto f = Get<decltype(&::InternetReadFile)>(kReadFile);
    return f ? f(file, buffer, size, read) : FALSE;
}

HINTERNET InternetLibrary::OpenUrl(HINTERNET session, const char* url, const char* headers,
                                   DWORD headersLength, DWORD flags, DWORD_PTR context) const {
    auto f = Get<decltype(&::InternetOpenUrlA)>(kOpenUrl);
    return f ? f(session, url, headers, headersLength, flags, context) : nullptr;
}

BOOL InternetLibrary::FindNextFile(HINTERNET find, WIN32_FIND_DATAA* entry) const {
    auto f = Get<decltype(&::InternetFindNextFileA)>(kFindNextFile);
    return f ? f(find, entry) : FALSE;
}

HINTERNET InternetLibrary::HttpOpenRequest(HINTERNET connection, const char* verb,
                                           const char* object, const char* version,
                                           const char* referrer, const char** accept, DWORD flags,
                                           DWORD_PTR context) const {
    auto f = Get<decltype(&::HttpOpenRequestA)>(kHttpOpenRequest);
    return f ? f(connection, verb, object, version, referrer, accept, flags, context) : nullptr;
}

BOOL InternetLibrary::HttpSendRequest(HINTERNET request, const char* headers, DWORD headersLength,
                                      void* optional, DWORD optionalLength) const {
    auto f = Get<decltype(&::HttpSendRequestA)>(kHttpSendRequest);
    return f ? f(request, headers, headersLength, optional, optionalLength) : FALSE;
}

BOOL InternetLibrary::HttpQueryInfo(HINTERNET request, DWORD level, void* buffer, DWORD* length,
                                    DWORD* index) const {
    auto f = Get<decltype(&::HttpQueryInfoA)>(kHttpQueryInfo);
    return f ? f(request, level, buffer, length, index) : FALSE;
}

HINTERNET InternetLibrary::FtpOpenFile(HINTERNET connection, const char* name, DWORD access,
                                       DWORD flags, DWORD_PTR context) const {
    auto f = Get<decltype(&::FtpOpenFileA)>(kFtpOpenFile);
    return f ? f(connection, name, access, flags, context) : nullptr;
}

BOOL InternetLibrary::FtpRenameFile(HINTERNET connection, const char* from, const char* to) const {
    auto f = Get<decltype(&::FtpRenameFileA)>(kFtpRenameFile);
    return f ? f(connection, from, to) : FALSE;
}

BOOL InternetLibrary::FtpDeleteFile(HINTERNET connection, const char* name) const {
    auto f = Get<decltype(&::FtpDeleteFileA)>(kFtpDeleteFile);
    return f ? f(connection, name) : FALSE;
}

BOOL InternetLibrary::FtpSetCurrentDirectory(HINTERNET connection, const char* folder) const {
    auto f = Get<decltype(&::FtpSetCurrentDirectoryA)>(kFtpSetCurrentDirectory);
    return f ? f(connection, folder) : FALSE;
}

BOOL InternetLibrary::FtpGetCurrentDirectory(HINTERNET connection, char* folder,
                                             DWORD* length) const {
    auto f = Get<decltype(&::FtpGetCurrentDirectoryA)>(kFtpGetCurrentDirectory);
    return f ? f(connection, folder, length) : FALSE;
}

DWORD InternetLibrary::FtpGetFileSize(HINTERNET file, DWORD* high) const {
    auto f = Get<decltype(&::FtpGetFileSize)>(kFtpGetFileSize);
    if (f) return f(file, high);
    if (high) *high = 0;
    return 0;
}

HINTERNET InternetLibrary::FtpFindFirstFile(HINTERNET connection, const char* pattern,
                                            WIN32_FIND_DATAA* entry, DWORD flags,
                                            DWORD_PTR context) const {
    auto f = Get<decltype(&::FtpFindFirstFileA)>(kFtpFindFirstFile);
    return f ? f(connection, pattern, entry, flags, context) : nullptr;
}

BOOL InternetLibrary::GetLastResponseInfo(DWORD* error, char* buffer, DWORD* length) const {
    auto f = Get<decltype(&::InternetGetLastResponseInfoA)>(kGetLastResponseInfo);
    return f ? f(error, buffer, length) : FALSE;
}

bool ServerReportedFailure(const InternetLibrary& library) {
    char reply[1024] = "";
    DWORD error = 0, length = sizeof reply;
    if (!library.GetLastResponseInfo(&error, reply, &length)) return false;
    // A multi-line reply ends with the line that carries the code.
    std::string text(reply, std::min<DWORD>(length, sizeof reply - 1));
    std::size_t line = 0, at = 0;
    while (at < text.size()) {
        if (text[at] >= '0' && text[at] <= '9') line = at;
        std::size_t next = text.find('\n', at);
        if (next == std::string::npos) break;
        at = next + 1;
    }
    return !text.empty() && (text[line] == '4' || text[line] == '5');
}

ServerAddress ParseServerText(const std::string& server, int defaultPort) {
    ServerAddress address{server, defaultPort};
    std::size_t colon = server.rfind(':');
    if (colon == std::string::npos) return address;
    // "host:" means the host with the default port; taken whole it could never connect.
    if (colon + 1 == server.size()) {
        address.host.pop_back();
        return address;
    }
    char first = server[colon + 1];
    if (first < '0' || first > '9') return address;
    address.host = server.substr(0, colon);
    address.port = StringToInt(std::string_view(server).substr(colon + 1));
    return address;
}

InternetHandle OpenSession(const InternetLibrary& library) {
    return InternetHandle(
        library, library.Open("vexeng", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
}

InternetHandle ConnectFtp(const InternetLibrary& library, const InternetHandle& session,
                          const ServerAddress& server, const std::string& user,
                          const std::string& password, bool passive) {
    // A port beyond 16 bits would silently name another port: no connection instead.
    if (!session || server.port < 0 || server.port > 65535) return InternetHandle();
    return InternetHandle(
        library,
        library.Connect(session.get(), server.host.c_str(), static_cast<INTERNET_PORT>(server.port),
                        user.c_str(), password.c_str(), INTERNET_SERVICE_FTP,
                        passive ? kPassiveFlag : 0, kFtpContext));
}
