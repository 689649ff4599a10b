// The SendKeys text: the special-key table, the brace codes and the walk that turns a keys text
// into single key events. Portable: the platform's keyboard comes in through KeyboardSink.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

struct SpecialKey {
    const char* name;
    uint8_t virtualKey;
    bool extended;
};

// The 71 named keys in lookup order: the first entry whose name begins the code wins, so the
// two-digit function keys stand before f1 to f9.
inline constexpr int kSpecialKeyCount = 71;
extern const SpecialKey kSpecialKeys[kSpecialKeyCount];

// Key event flags, as the platform's keyboard input takes them.
inline constexpr uint32_t kKeyExtended = 0x1;
inline constexpr uint32_t kKeyUp = 0x2;

// Modifiers are pressed as the left-hand keys.
inline constexpr uint8_t kVkLeftShift = 0xA0;
inline constexpr uint8_t kVkLeftCtrl = 0xA2;
inline constexpr uint8_t kVkLeftAlt = 0xA4;

// The entry a brace code names, with its repeat count ("left 3": 3; missing or below 1: 1);
// nullptr when no entry fits.
const SpecialKey* FindSpecialKey(std::string_view code, int32_t& repeat);

// What a character needs from the keyboard layout.
struct LayoutKey {
    uint8_t virtualKey = 0;
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
};

// The platform side of typing.
class KeyboardSink {
public:
    virtual ~KeyboardSink() = default;
    // Drains the message queue; true when the run must stop.
    virtual bool Pump() = 0;
    virtual void KeyEvent(uint8_t virtualKey, uint32_t flags) = 0;
    // The key and modifiers that produce `byte` in the current layout; false when none does.
    virtual bool Translate(unsigned char byte, LayoutKey& key) = 0;
    virtual bool CapsLockOn() = 0;
};

// Types `keys`: returns 0, kErrCancelled, or kErrBadSendKeysCode with the code in `badCode`.
int TypeKeys(std::string_view keys, KeyboardSink& sink, std::string& badCode);
