// One DevTools protocol connection to a page: numbered commands answered in turn, events
// handed to a listener while the session waits for an answer or is pumped.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include <nlohmann/json.hpp>

#include "websocket.h"

using Json = nlohmann::json;

class DevToolsSession {
public:
    using EventListener = std::function<void(const std::string& method, const Json& params)>;

    // Opens ws://127.0.0.1:port/devtools/page/ID (the path as the target list gives it).
    bool Open(uint16_t port, const std::string& path);
    bool IsOpen() const { return socket_.IsOpen(); }
    void SetListener(EventListener listener) { listener_ = std::move(listener); }

    // Sends one command and waits for its answer; false when the page answered with an error,
    // the connection closed or no answer came within the time.
    bool Command(const std::string& method, const Json& params, Json& result,
                 uint32_t timeoutMs = 30000);
    // Sends a command whose answer nobody waits for (it is skipped when it arrives).
    bool Post(const std::string& method, const Json& params);
    // Hands every event that has already arrived to the listener; false once closed.
    bool Pump();

private:
    void Dispatch(const Json& message);

    WebSocket socket_;
    int64_t nextId_ = 1;
    EventListener listener_;
};

// The parsed JSON of a text, or a discarded value when it is not JSON.
Json ParseJson(const std::string& text);
// A member of an object; a null value when it is absent or `object` is no object, so that an
// answer of an unexpected shape reads as empty instead of throwing.
const Json& JsonMember(const Json& object, const char* name);
// Reads a string member; the empty string when it is absent or not a string.
std::string JsonString(const Json& object, const char* name);
