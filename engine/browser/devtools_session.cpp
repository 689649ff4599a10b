#include "devtools_session.h"

#include <windows.h>

Json ParseJson(const std::string& text) { return Json::parse(text, nullptr, false); }

const Json& JsonMember(const Json& object, const char* name) {
    static const Json none;
    if (!object.is_object()) return none;
    auto found = object.find(name);
    return found != object.end() ? *found : none;
}

std::string JsonString(const Json& object, const char* name) {
    if (!object.is_object()) return {};
    auto found = object.find(name);
    return found != object.end() && found->is_string() ? found->get<std::string>() : std::string();
}

bool DevToolsSession::Open(uint16_t port, const std::string& path) {
    return socket_.Connect("127.0.0.1", port, path);
}

void DevToolsSession::Dispatch(const Json& message) {
    if (listener_ && message.contains("method"))
        listener_(JsonString(message, "method"), JsonMember(message, "params"));
}

bool DevToolsSession::Post(const std::string& method, const Json& params) {
    Json request = {{"id", nextId_++}, {"method", method}, {"params", params}};
    // Invalid bytes from a script's text are replaced rather than thrown over.
    return socket_.SendText(request.dump(-1, ' ', false, Json::error_handler_t::replace));
}

bool DevToolsSession::Command(const std::string& method, const Json& params, Json& result,
                              uint32_t timeoutMs) {
    result = Json();
    const int64_t id = nextId_;
    if (!Post(method, params)) return false;
    const uint64_t deadline = GetTickCount64() + timeoutMs;
    std::string text;
    for (;;) {
        uint64_t now = GetTickCount64();
        if (now >= deadline) return false;
        auto received = socket_.Receive(text, static_cast<uint32_t>(deadline - now));
        if (received != WebSocket::Received::kMessage) return false;
        Json message = ParseJson(text);
        if (!message.is_object()) continue;
        auto answer = message.find("id");
        if (answer == message.end()) {
            Dispatch(message);
            continue;
        }
        if (!answer->is_number_integer() || answer->get<int64_t>() != id) continue;
        if (message.contains("error")) return false;
        result = JsonMember(message, "result");
        return true;
    }
}

bool DevToolsSession::Pump() {
    std::string text;
    for (;;) {
        auto received = socket_.Receive(text, 0);
        if (received == WebSocket::Received::kClosed) return false;
        if (received == WebSocket::Received::kNothing) return true;
        Json message = ParseJson(text);
        if (message.is_object() && !message.contains("id")) Dispatch(message);
    }
}
