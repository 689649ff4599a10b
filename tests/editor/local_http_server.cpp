#include "local_http_server.h"

#include <ws2tcpip.h>

LocalHttpServer::LocalHttpServer() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    listen(listener_, 8);
    int size = sizeof address;
    getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Run(); });
}

LocalHttpServer::~LocalHttpServer() {
    stop_ = true;
    closesocket(listener_);  // ends the blocking accept
    if (thread_.joinable()) thread_.join();
    WSACleanup();
}

void LocalHttpServer::Serve(const std::string& path, const std::string& body) {
    std::lock_guard<std::mutex> lock(mutex_);
    documents_[path] = body;
}

std::string LocalHttpServer::Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<std::string> LocalHttpServer::Requests() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
}

void LocalHttpServer::Run() {
    while (!stop_) {
        SOCKET client = accept(listener_, nullptr, nullptr);
        if (client == INVALID_SOCKET) break;
        DWORD timeout = 5000;
        setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout),
                   sizeof timeout);
        std::string request;
        char buffer[2048];
        while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536) {
            int n = recv(client, buffer, sizeof buffer, 0);
            if (n <= 0) break;
            request.append(buffer, n);
        }
        // "GET /path HTTP/1.1"
        size_t start = request.find(' ') + 1, end = request.find(' ', start);
        std::string path = start > 0 && end != std::string::npos
                               ? request.substr(start, end - start)
                               : std::string();
        std::string status = "404 Not Found", body = "not here";
        {
            std::lock_guard<std::mutex> lock(mutex_);
            requests_.push_back(path);
            auto found = documents_.find(path);
            if (found != documents_.end()) {
                status = "200 OK";
                body = found->second;
            }
        }
        std::string reply = "HTTP/1.0 " + status +
                            "\r\nContent-Type: text/plain\r\nConnection: close\r\n"
                            "Content-Length: " +
                            std::to_string(body.size()) + "\r\n\r\n" + body;
        send(client, reply.data(), int(reply.size()), 0);
        shutdown(client, SD_SEND);
        closesocket(client);
    }
}
