// The SendKeys text walk: brace codes, modifier words, the layout's shift against Caps Lock, and
// each press as single key events wrapped in the left-hand modifier keys.
#include "special_keys.h"

#include "error_codes.h"
#include "script_value.h"

const SpecialKey kSpecialKeys[kSpecialKeyCount] = {
    {"tab", 0x09, false},       {"enter", 0x0D, false},      {"escape", 0x1B, false},
    {"space", 0x20, false},     {"end", 0x23, true},         {"home", 0x24, true},
    {"backspace", 0x08, false}, {"pageup", 0x21, true},      {"pagedown", 0x22, true},
    {"left", 0x25, true},       {"right", 0x27, true},       {"up", 0x26, true},
    {"down", 0x28, true},       {"insert", 0x2D, true},      {"delete", 0x2E, true},
    {"altkey", 0x12, false},    {"laltkey", 0xA4, false},    {"raltkey", 0xA5, false},
    {"ctrlkey", 0x11, false},   {"lctrlkey", 0xA2, false},   {"rctrlkey", 0xA3, false},
    {"shiftkey", 0x10, false},  {"lshiftkey", 0xA0, false},  {"rshiftkey", 0xA1, false},
    {"pausekey", 0x13, false},  {"capslock", 0x14, false},   {"printscreen", 0x2C, false},
    {"help", 0x2F, false},      {"appskey", 0x5D, false},    {"lwinkey", 0x5B, false},
    {"rwinkey", 0x5C, false},   {"numpad0", 0x60, false},    {"numpad1", 0x61, false},
    {"numpad2", 0x62, false},   {"numpad3", 0x63, false},    {"numpad4", 0x64, false},
    {"numpad5", 0x65, false},   {"numpad6", 0x66, false},    {"numpad7", 0x67, false},
    {"numpad8", 0x68, false},   {"numpad9", 0x69, false},    {"add", 0x6B, false},
    {"subtract", 0x6D, false},  {"multiply", 0x6A, false},   {"divide", 0x6F, false},
    {"numlock", 0x90, false},   {"scrolllock", 0x91, false}, {"f10", 0x79, false},
    {"f11", 0x7A, false},       {"f12", 0x7B, false},        {"f13", 0x7C, false},
    {"f14", 0x7D, false},       {"f15", 0x7E, false},        {"f16", 0x7F, false},
    {"f17", 0x80, false},       {"f18", 0x81, false},        {"f19", 0x82, false},
    {"f20", 0x83, false},       {"f21", 0x84, false},        {"f22", 0x85, false},
    {"f23", 0x86, false},       {"f24", 0x87, false},        {"f1", 0x70, false},
    {"f2", 0x71, false},        {"f3", 0x72, false},         {"f4", 0x73, false},
    {"f5", 0x74, false},        {"f6", 0x75, false},         {"f7", 0x76, false},
    {"f8", 0x77, false},        {"f9", 0x78, false},
};

const SpecialKey* FindSpecialKey(std::string_view code, int32_t& repeat) {
    for (const SpecialKey& key : kSpecialKeys) {
        std::string_view name(key.name);
        if (code.size() < name.size() || !NamesEqual(code.substr(0, name.size()), name, false))
            continue;
        // Only a space starts a count: "tabs" is Tab once, "f10" never reaches f1.
        repeat = 1;
        if (code.size() > name.size() && code[name.size()] == ' ')
            repeat = StringToInt(code.substr(name.size() + 1));
        if (repeat < 1) repeat = 1;
        return &key;
    }
    return nullptr;
}

namespace {

constexpr int kCtrl = 1, kAlt = 2, kShift = 4;
// A code this long cannot be a key name; the message quotes at most 255 of its characters.
constexpr std::size_t kLongestCode = 255;

bool IsUpper(unsigned char c) { return c >= 'A' && c <= 'Z'; }
bool IsLower(unsigned char c) { return c >= 'a' && c <= 'z'; }

class KeyTyper {
public:
    explicit KeyTyper(KeyboardSink& sink) : sink_(sink) {}

    // One press: modifiers down, the key `count` times, modifiers up; the state is then empty.
    int Press(uint8_t virtualKey, int32_t count, uint32_t flags) {
        static constexpr struct {
            int bit;
            uint8_t key;
        } kModifiers[] = {{kCtrl, kVkLeftCtrl}, {kAlt, kVkLeftAlt}, {kShift, kVkLeftShift}};
        bool stop = false, cut = false;
        for (const auto& m : kModifiers)
            if (modifiers_ & m.bit) Event(m.key, 0);
        for (int32_t n = 0; n < count; ++n) {
            // A huge count must not outlast Cancel: stop between repetitions, never inside one.
            if (stop) {
                cut = true;
                break;
            }
            Event(virtualKey, flags);
            stop = Event(virtualKey, flags | kKeyUp);
        }
        for (const auto& m : kModifiers)
            if (modifiers_ & m.bit) Event(m.key, kKeyUp);
        modifiers_ = 0;
        return cut ? kErrCancelled : kOk;
    }

    // An ordinary byte: space and line feed as their keys, the rest through the layout.
    int TypeByte(unsigned char byte) {
        if (byte == ' ') return Press(0x20, 1, 0);
        if (byte == '\n') return Press(0x0D, 1, 0);
        LayoutKey key;
        if (!sink_.Translate(byte, key)) return kOk;  // the layout cannot type it
        if (key.ctrl) modifiers_ |= kCtrl;
        if (key.alt) modifiers_ |= kAlt;
        const bool capsLock = sink_.CapsLockOn();
        // Caps Lock already gives the capital; a lower-case letter must undo it. Toggling
        // means {shift} before a character that needs Shift types the unshifted one.
        if (key.shift ? !(capsLock && IsUpper(byte)) : (capsLock && IsLower(byte)))
            modifiers_ ^= kShift;
        return Press(key.virtualKey, 1, 0);
    }

    // A brace code: a modifier word, or a table key with its count.
    int TypeCode(std::string_view code, std::string& badCode) {
        if (NamesEqual(code, "ctrl", false)) {
            modifiers_ |= kCtrl;
        } else if (NamesEqual(code, "alt", false)) {
            modifiers_ |= kAlt;
        } else if (NamesEqual(code, "shift", false)) {
            modifiers_ |= kShift;
        } else {
            int32_t repeat = 1;
            const SpecialKey* key =
                code.size() > kLongestCode ? nullptr : FindSpecialKey(code, repeat);
            if (!key) {
                badCode.assign(code.substr(0, kLongestCode));
                return kErrBadSendKeysCode;
            }
            return Press(key->virtualKey, repeat, key->extended ? kKeyExtended : 0);
        }
        return kOk;
    }

private:
    // Every single event is followed by a pump; the answer counts only where the caller says.
    bool Event(uint8_t virtualKey, uint32_t flags) {
        sink_.KeyEvent(virtualKey, flags);
        return sink_.Pump();
    }

    KeyboardSink& sink_;
    int modifiers_ = 0;
};

}  // namespace

int TypeKeys(std::string_view keys, KeyboardSink& sink, std::string& badCode) {
    KeyTyper typer(sink);
    std::size_t at = 0;
    while (at < keys.size()) {
        if (sink.Pump()) return kErrCancelled;
        int error = kOk;
        std::size_t close = keys[at] == '{' ? keys.find('}', at + 1) : std::string_view::npos;
        if (close != std::string_view::npos) {
            error = typer.TypeCode(keys.substr(at + 1, close - at - 1), badCode);
            at = close + 1;
        } else {
            // Also a "{" with no "}" after it: the rest of the text is typed literally.
            error = typer.TypeByte(static_cast<unsigned char>(keys[at]));
            ++at;
        }
        if (error) return error;
    }
    return kOk;
}
