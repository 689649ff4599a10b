// A small HTTP/1.0 server on 127.0.0.1 for the update check tests: serves fixed documents by
// path, answers 404 otherwise, and counts the requests it received.
#pragma once
#include <winsock2.h>

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class LocalHttpServer {
public:
    LocalHttpServer();  // listens on an ephemeral port at once
    ~LocalHttpServer();
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    void Serve(const std::string& path, const std::string& body);
    std::string Url(const std::string& path) const;  // "http://127.0.0.1:PORT" + path
    std::vector<std::string> Requests() const;       // paths, in arrival order

private:
    void Run();

    SOCKET listener_ = INVALID_SOCKET;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::map<std::string, std::string> documents_;
    std::vector<std::string> requests_;
    std::thread thread_;
};
