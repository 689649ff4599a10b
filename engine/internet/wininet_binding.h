// The Windows Internet library bound by name for one operation, so the engine loads and runs on
// machines without it: a missing library or entry point behaves like a failing call. Every
// handle it opens is owned by an InternetHandle and closed on every path.
#pragma once
#include <windows.h>
#include <wininet.h>

#include <string>
#include <utility>

class InternetLibrary {
public:
    InternetLibrary();
    ~InternetLibrary();
    InternetLibrary(const InternetLibrary&) = delete;
    InternetLibrary& operator=(const InternetLibrary&) = delete;

    // One wrapper per entry point, in the binding table's order. A missing entry returns a null
    // handle, FALSE, or (FtpGetFileSize) 0 with a high part of 0.
    BOOL GetConnectedState(DWORD* flags) const;
    BOOL QueryOption(HINTERNET handle, DWORD option, void* buffer, DWORD* length) const;
    HINTERNET Open(const char* agent, DWORD access, const char* proxy, const char* bypass,
                   DWORD flags) const;
    HINTERNET Connect(HINTERNET session, const char* host, INTERNET_PORT port, const char* user,
                      const char* password, DWORD service, DWORD flags, DWORD_PTR context) const;
    BOOL CloseHandle(HINTERNET handle) const;
    BOOL CrackUrl(const char* url, DWORD length, DWORD flags, URL_COMPONENTSA* parts) const;
    BOOL WriteFile(HINTERNET file, const void* data, DWORD size, DWORD* written) const;
    BOOL ReadFile(HINTERNET file, void* buffer, DWORD size, DWORD* read) const;
    HINTERNET OpenUrl(HINTERNET session, const char* url, const char* headers, DWORD headersLength,
                      DWORD flags, DWORD_PTR context) const;
    BOOL FindNextFile(HINTERNET find, WIN32_FIND_DATAA* entry) const;
    HINTERNET HttpOpenRequest(HINTERNET connection, const char* verb, const char* object,
                              const char* version, const char* referrer, const char** accept,
                              DWORD flags, DWORD_PTR context) const;
    BOOL HttpSendRequest(HINTERNET request, const char* headers, DWORD headersLength,
                         void* optional, DWORD optionalLength) const;
    BOOL HttpQueryInfo(HINTERNET request, DWORD level, void* buffer, DWORD* length,
                       DWORD* index) const;
    HINTERNET FtpOpenFile(HINTERNET connection, const char* name, DWORD access, DWORD flags,
                          DWORD_PTR context) const;
    BOOL FtpRenameFile(HINTERNET connection, const char* from, const char* to) const;
    BOOL FtpDeleteFile(HINTERNET connection, const char* name) const;
    BOOL FtpSetCurrentDirectory(HINTERNET connection, const char* folder) const;
    BOOL FtpGetCurrentDirectory(HINTERNET connection, char* folder, DWORD* length) const;
    DWORD FtpGetFileSize(HINTERNET file, DWORD* high) const;
    HINTERNET FtpFindFirstFile(HINTERNET connection, const char* pattern, WIN32_FIND_DATAA* entry,
                               DWORD flags, DWORD_PTR context) const;
    BOOL GetLastResponseInfo(DWORD* error, char* buffer, DWORD* length) const;

    enum Entry {
        kGetConnectedState,
        kQueryOption,
        kOpen,
        kConnect,
        kCloseHandle,
        kCrackUrl,
        kWriteFile,
        kReadFile,
        kOpenUrl,
        kFindNextFile,
        kHttpOpenRequest,
        kHttpSendRequest,
        kHttpQueryInfo,
        kFtpOpenFile,
        kFtpRenameFile,
        kFtpDeleteFile,
        kFtpSetCurrentDirectory,
        kFtpGetCurrentDirectory,
        kFtpGetFileSize,
        kFtpFindFirstFile,
        // After the twenty original entries: the server's last reply, which tells whether
        // an FTP transfer that ended without a read or write error was really complete.
        kGetLastResponseInfo,
        kEntryCount
    };
    bool Has(Entry entry) const { return entries_[entry] != nullptr; }

private:
    template <typename Function>
    Function Get(Entry entry) const {
        return reinterpret_cast<Function>(entries_[entry]);
    }

    HMODULE module_ = nullptr;
    void* entries_[kEntryCount] = {};
};

// One open Internet handle, closed through the library that opened it. Declared in the order
// of opening (session, connection, file or find), locals close in reverse on every path.
class InternetHandle {
public:
    InternetHandle() = default;
    InternetHandle(const InternetLibrary& library, HINTERNET handle)
        : library_(&library), handle_(handle) {}
    ~InternetHandle() { reset(); }
    InternetHandle(InternetHandle&& other) noexcept
        : library_(other.library_), handle_(std::exchange(other.handle_, nullptr)) {}
    InternetHandle& operator=(InternetHandle&& other) noexcept {
        if (this != &other) {
            reset();
            library_ = other.library_;
            handle_ = std::exchange(other.handle_, nullptr);
        }
        return *this;
    }
    InternetHandle(const InternetHandle&) = delete;
    InternetHandle& operator=(const InternetHandle&) = delete;

    HINTERNET get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    void reset() {
        if (handle_) library_->CloseHandle(std::exchange(handle_, nullptr));
    }

private:
    const InternetLibrary* library_ = nullptr;
    HINTERNET handle_ = nullptr;
};

// True when the server's last FTP reply on this thread is a failure (4xx or 5xx): after the
// file handle of a transfer closes, that reply is the transfer's outcome. A data connection
// cut with a reset reads as a normal end of data under Wine; only this reply tells.
bool ServerReportedFailure(const InternetLibrary& library);

// A server text split into host and port: "host:2121" is port 2121; "host" and "host:" are
// the host with the default port; "host:ab" is the whole text with the default port.
struct ServerAddress {
    std::string host;
    int port = INTERNET_DEFAULT_FTP_PORT;
};
ServerAddress ParseServerText(const std::string& server,
                              int defaultPort = INTERNET_DEFAULT_FTP_PORT);

// The session every Internet built-in opens: agent "vexeng", preconfigured access.
InternetHandle OpenSession(const InternetLibrary& library);
// An FTP connection, passive when asked; user and password are passed as given.
InternetHandle ConnectFtp(const InternetLibrary& library, const InternetHandle& session,
                          const ServerAddress& server, const std::string& user,
                          const std::string& password, bool passive);
