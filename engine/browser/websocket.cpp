#include "websocket.h"

#include <ws2tcpip.h>

#include <cstring>
#include <random>

namespace {

// A frame that has begun to arrive is read to its end within this time.
constexpr uint32_t kFrameCompletionMs = 15000;
constexpr uint64_t kMaxMessage = 256u * 1024u * 1024u;

std::string Base64(const unsigned char* data, size_t size) {
    static const char kDigits[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (size_t i = 0; i < size; i += 3) {
        uint32_t chunk = data[i] << 16;
        if (i + 1 < size) chunk |= data[i + 1] << 8;
        if (i + 2 < size) chunk |= data[i + 2];
        out += kDigits[(chunk >> 18) & 63];
        out += kDigits[(chunk >> 12) & 63];
        out += i + 1 < size ? kDigits[(chunk >> 6) & 63] : '=';
        out += i + 2 < size ? kDigits[chunk & 63] : '=';
    }
    return out;
}

bool SendAll(SOCKET s, const char* data, size_t size) {
    while (size > 0) {
        int sent = send(s, data, static_cast<int>(size), 0);
        if (sent <= 0) return false;
        data += sent;
        size -= static_cast<size_t>(sent);
    }
    return true;
}

// Winsock is started once per process and stays up, like the library that holds it.
bool StartWinsock() {
    static const bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    return started;
}

}  // namespace

WebSocket::~WebSocket() { Close(); }

void WebSocket::Close() {
    if (socket_ != INVALID_SOCKET) closesocket(socket_);
    socket_ = INVALID_SOCKET;
    pending_.clear();
}

bool WebSocket::Connect(const std::string& host, uint16_t port, const std::string& path) {
    Close();
    if (!StartWinsock()) return false;
    socket_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (socket_ == INVALID_SOCKET) return false;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    if (inet_pton(AF_INET, host.c_str(), &address.sin_addr) != 1 ||
        connect(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        Close();
        return false;
    }
    BOOL noDelay = TRUE;  // one small command, one answer: no Nagle delay between them
    setsockopt(socket_, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay),
               sizeof noDelay);

    unsigned char nonce[16];
    std::random_device random;
    for (unsigned char& byte : nonce) byte = static_cast<unsigned char>(random());
    std::string request = "GET " + path + " HTTP/1.1\r\nHost: " + host + ":" +
                          std::to_string(port) +
                          "\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
                          "Sec-WebSocket-Key: " +
                          Base64(nonce, sizeof nonce) + "\r\nSec-WebSocket-Version: 13\r\n\r\n";
    if (!SendAll(socket_, request.data(), request.size())) {
        Close();
        return false;
    }
    // The response ends with an empty line; anything after it is the first frame's start.
    std::string response;
    uint64_t deadline = GetTickCount64() + kFrameCompletionMs;
    size_t end;
    while ((end = response.find("\r\n\r\n")) == std::string::npos) {
        char buffer[1024];
        if (!WaitReadable(deadline) || response.size() > 65536) {
            Close();
            return false;
        }
        int got = recv(socket_, buffer, sizeof buffer, 0);
        if (got <= 0) {
            Close();
            return false;
        }
        response.append(buffer, static_cast<size_t>(got));
    }
    if (response.compare(0, 12, "HTTP/1.1 101") != 0) {
        Close();
        return false;
    }
    pending_ = response.substr(end + 4);
    return true;
}

bool WebSocket::SendText(const std::string& text) { return SendFrame(1, text); }

bool WebSocket::SendFrame(int opcode, const std::string& payload) {
    if (socket_ == INVALID_SOCKET) return false;
    std::string frame;
    frame += static_cast<char>(0x80 | opcode);
    const uint64_t size = payload.size();
    if (size < 126) {
        frame += static_cast<char>(0x80 | size);
    } else if (size < 65536) {
        frame += static_cast<char>(0x80 | 126);
        frame += static_cast<char>(size >> 8);
        frame += static_cast<char>(size & 0xff);
    } else {
        frame += static_cast<char>(0x80 | 127);
        for (int shift = 56; shift >= 0; shift -= 8) frame += static_cast<char>(size >> shift);
    }
    std::random_device random;
    char mask[4];
    for (char& byte : mask) byte = static_cast<char>(random());
    frame.append(mask, 4);
    const size_t start = frame.size();
    frame += payload;
    for (size_t i = start; i < frame.size(); ++i) frame[i] ^= mask[(i - start) & 3];
    if (SendAll(socket_, frame.data(), frame.size())) return true;
    Close();
    return false;
}

bool WebSocket::WaitReadable(uint64_t deadline) {
    for (;;) {
        uint64_t now = GetTickCount64();
        uint64_t left = deadline > now ? deadline - now : 0;
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(socket_, &readable);
        timeval wait{static_cast<long>(left / 1000), static_cast<long>((left % 1000) * 1000)};
        int ready = select(0, &readable, nullptr, nullptr, &wait);
        if (ready > 0) return true;
        if (ready < 0 || left == 0) return false;
    }
}

bool WebSocket::ReadExact(char* buffer, size_t size, uint64_t deadline) {
    size_t fromPending = size < pending_.size() ? size : pending_.size();
    memcpy(buffer, pending_.data(), fromPending);
    pending_.erase(0, fromPending);
    size_t done = fromPending;
    while (done < size) {
        if (!WaitReadable(deadline)) return false;
        int got = recv(socket_, buffer + done, static_cast<int>(size - done), 0);
        if (got <= 0) return false;
        done += static_cast<size_t>(got);
    }
    return true;
}

WebSocket::Received WebSocket::Receive(std::string& message, uint32_t timeoutMs) {
    message.clear();
    if (socket_ == INVALID_SOCKET) return Received::kClosed;
    if (pending_.empty() && !WaitReadable(GetTickCount64() + timeoutMs)) return Received::kNothing;
    for (;;) {
        const uint64_t deadline = GetTickCount64() + kFrameCompletionMs;
        unsigned char head[2];
        if (!ReadExact(reinterpret_cast<char*>(head), 2, deadline)) break;
        const int opcode = head[0] & 0x0f;
        uint64_t size = head[1] & 0x7f;
        if (size >= 126) {
            unsigned char extended[8];
            const size_t bytes = size == 126 ? 2 : 8;
            if (!ReadExact(reinterpret_cast<char*>(extended), bytes, deadline)) break;
            size = 0;
            for (size_t i = 0; i < bytes; ++i) size = size << 8 | extended[i];
        }
        if (head[1] & 0x80 || size > kMaxMessage) break;  // servers never mask
        std::string payload(static_cast<size_t>(size), '\0');
        if (size && !ReadExact(payload.data(), payload.size(), deadline)) break;
        if (opcode == 8) break;             // close
        if (opcode == 9 || opcode == 10) {  // ping (answered) or pong between messages
            if (opcode == 9 && !SendFrame(10, payload)) break;
            if (message.empty() && pending_.empty() && !WaitReadable(GetTickCount64() + timeoutMs))
                return Received::kNothing;
            continue;
        }
        message += payload;  // text, binary or a continuation
        if (message.size() > kMaxMessage) break;
        if (head[0] & 0x80) return Received::kMessage;
    }
    Close();
    return Received::kClosed;
}
