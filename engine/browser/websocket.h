// A small WebSocket client over Winsock for the DevTools connection: text messages only,
// client frames masked, pings answered, no extensions.
#pragma once
#include <winsock2.h>

#include <cstdint>
#include <string>

class WebSocket {
public:
    WebSocket() = default;
    ~WebSocket();
    WebSocket(const WebSocket&) = delete;
    WebSocket& operator=(const WebSocket&) = delete;

    // Connects to ws://host:port/path and completes the opening handshake.
    bool Connect(const std::string& host, uint16_t port, const std::string& path);
    bool IsOpen() const { return socket_ != INVALID_SOCKET; }
    void Close();
    bool SendText(const std::string& text);

    enum class Received { kMessage, kNothing, kClosed };
    // Waits at most `timeoutMs` for the next whole text message (0: only what has arrived).
    Received Receive(std::string& message, uint32_t timeoutMs);

private:
    bool SendFrame(int opcode, const std::string& payload);
    // Reads exactly `size` bytes, waiting until `deadline` (a GetTickCount64 value).
    bool ReadExact(char* buffer, size_t size, uint64_t deadline);
    bool WaitReadable(uint64_t deadline);

    SOCKET socket_ = INVALID_SOCKET;
    std::string pending_;  // bytes read past the handshake response
};
