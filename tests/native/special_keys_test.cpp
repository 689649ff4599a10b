// The SendKeys walk against a recording keyboard with a US layout: which key events a keys text
// produces, in which order, and how bad codes and Cancel end it.
#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <string>

#include "builtins/special_keys.h"
#include "error_codes.h"

namespace {

// Writes each event as "name+" (down) or "name-" (up), "*" marking the extended flag.
class RecordingKeyboard : public KeyboardSink {
public:
    std::string events;
    bool capsLock = false;
    int pumpsBeforeCancel = -1;  // -1: never cancel

    bool Pump() override {
        if (pumpsBeforeCancel < 0) return false;
        if (pumpsBeforeCancel == 0) return true;
        --pumpsBeforeCancel;
        return false;
    }
    void KeyEvent(uint8_t key, uint32_t flags) override {
        if (!events.empty()) events += ' ';
        events += Name(key);
        if (flags & kKeyExtended) events += '*';
        events += flags & kKeyUp ? '-' : '+';
    }
    // A US layout: letters, digits and a few shifted symbols; bytes above 0x7E do not exist.
    bool Translate(unsigned char byte, LayoutKey& key) override {
        const char* shiftedDigits = ")!@#$%^&*(";
        if (std::isalpha(byte)) {
            key.virtualKey = static_cast<uint8_t>(std::toupper(byte));
            key.shift = std::isupper(byte);
        } else if (std::isdigit(byte)) {
            key.virtualKey = byte;
        } else if (byte && std::strchr(shiftedDigits, byte)) {
            key.virtualKey =
                static_cast<uint8_t>('0' + (std::strchr(shiftedDigits, byte) - shiftedDigits));
            key.shift = true;
        } else if (byte == '{' || byte == '[') {
            key.virtualKey = 0xDB;
            key.shift = byte == '{';
        } else if (byte == '\t') {
            key.virtualKey = 0x09;
        } else {
            return false;
        }
        return true;
    }
    bool CapsLockOn() override { return capsLock; }

private:
    static std::string Name(uint8_t key) {
        switch (key) {
        case kVkLeftCtrl: return "LCtrl";
        case kVkLeftAlt: return "LAlt";
        case kVkLeftShift: return "LShift";
        case 0x0D: return "Enter";
        case 0x20: return "Space";
        case 0x09: return "Tab";
        case 0x24: return "Home";
        case 0x25: return "Left";
        case 0x2E: return "Delete";
        case 0xDB: return "[";
        }
        if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return std::string(1, key);
        if (key >= 0x70 && key <= 0x87) return "F" + std::to_string(key - 0x6F);
        char hex[8];
        std::snprintf(hex, sizeof hex, "0x%02X", key);
        return hex;
    }
};

std::string Type(const std::string& keys, bool capsLock = false) {
    RecordingKeyboard keyboard;
    keyboard.capsLock = capsLock;
    std::string badCode;
    EXPECT_EQ(TypeKeys(keys, keyboard, badCode), kOk) << keys;
    return keyboard.events;
}

TEST(SendKeysTable, EveryNameFindsItsOwnEntryInOrder) {
    // The order is the lookup order: a name shadowed by an earlier prefix could never be typed.
    for (const SpecialKey& key : kSpecialKeys) {
        int32_t repeat = 0;
        EXPECT_EQ(FindSpecialKey(key.name, repeat), &key) << key.name;
        EXPECT_EQ(repeat, 1);
    }
    EXPECT_STREQ(kSpecialKeys[0].name, "tab");
    EXPECT_STREQ(kSpecialKeys[kSpecialKeyCount - 1].name, "f9");
    int32_t repeat = 0;
    EXPECT_EQ(FindSpecialKey("F10", repeat)->virtualKey, 0x79);
    EXPECT_EQ(FindSpecialKey("tabs", repeat)->virtualKey, 0x09);
    EXPECT_EQ(FindSpecialKey("xyz", repeat), nullptr);
    EXPECT_EQ(FindSpecialKey("", repeat), nullptr);
    EXPECT_EQ(FindSpecialKey("en", repeat), nullptr);  // shorter than every name it begins
}

TEST(SendKeys, ModifierWordsWrapTheNextKeyOnly) {
    // Released in the order they were pressed, Ctrl first.
    EXPECT_EQ(Type("{ctrl}c"), "LCtrl+ C+ C- LCtrl-");
    EXPECT_EQ(Type("{CTRL}{ALT}{delete}"), "LCtrl+ LAlt+ Delete*+ Delete*- LCtrl- LAlt-");
    EXPECT_EQ(Type("{shift}{alt}{ctrl}x1"),
              "LCtrl+ LAlt+ LShift+ X+ X- LCtrl- LAlt- LShift- 1+ 1-");
    EXPECT_EQ(Type("{shift}a"), "LShift+ A+ A- LShift-");
    // Shift before a character that itself needs Shift cancels out.
    EXPECT_EQ(Type("{shift}A"), "A+ A-");
    EXPECT_EQ(Type("x{ctrl}"), "X+ X-");          // a trailing modifier word does nothing
    EXPECT_EQ(Type("{ctrlkey}"), "0x11+ 0x11-");  // the table's key itself
}

TEST(SendKeys, RepeatCountsAndPrefixes) {
    EXPECT_EQ(Type("{left 3}"), "Left*+ Left*- Left*+ Left*- Left*+ Left*-");
    EXPECT_EQ(Type("{left 0}"), "Left*+ Left*-");
    EXPECT_EQ(Type("{left -2}"), "Left*+ Left*-");
    EXPECT_EQ(Type("{left x}"), "Left*+ Left*-");
    EXPECT_EQ(Type("{left}"), "Left*+ Left*-");
    EXPECT_EQ(Type("{Tab 2}"), "Tab+ Tab- Tab+ Tab-");
    EXPECT_EQ(Type("{tabs}"), "Tab+ Tab-");
    EXPECT_EQ(Type("{f12}{f1}{F10}{f2}"), "F12+ F12- F1+ F1- F10+ F10- F2+ F2-");
    EXPECT_EQ(Type("{ctrl}{home}"), "LCtrl+ Home*+ Home*- LCtrl-");
}

TEST(SendKeys, OrdinaryBytes) {
    EXPECT_EQ(Type("a B"), "A+ A- Space+ Space- LShift+ B+ B- LShift-");
    EXPECT_EQ(Type("1\n!"), "1+ 1- Enter+ Enter- LShift+ 1+ 1- LShift-");
    // An unclosed brace is typed, and so is everything after it.
    EXPECT_EQ(Type("a{b"), "A+ A- LShift+ [+ [- LShift- B+ B-");
    EXPECT_EQ(Type("\x80"
                   "a"),
              "A+ A-");  // the layout cannot type 0x80: skipped
    EXPECT_EQ(Type(""), "");
}

TEST(SendKeys, CapsLockIsUndoneForLowerCaseAndUsedForCapitals) {
    EXPECT_EQ(Type("aA", true), "LShift+ A+ A- LShift- A+ A-");
    EXPECT_EQ(Type("1!", true), "1+ 1- LShift+ 1+ 1- LShift-");  // not letters: as without
    EXPECT_EQ(Type("{shift}a", true), "A+ A-");
}

TEST(SendKeys, BadCodeStopsThereWithTheCodeQuoted) {
    RecordingKeyboard keyboard;
    std::string badCode;
    EXPECT_EQ(TypeKeys("x{foo}y", keyboard, badCode), kErrBadSendKeysCode);
    EXPECT_EQ(badCode, "foo");
    EXPECT_EQ(keyboard.events, "X+ X-");

    RecordingKeyboard empty;
    EXPECT_EQ(TypeKeys("{}", empty, badCode), kErrBadSendKeysCode);
    EXPECT_EQ(badCode, "");

    // A key name with 250 characters of noise is too long to be a code; 255 are quoted.
    std::string code = "tab" + std::string(300, 'x');
    RecordingKeyboard longCode;
    EXPECT_EQ(TypeKeys("{" + code + "}", longCode, badCode), kErrBadSendKeysCode);
    EXPECT_EQ(badCode, code.substr(0, 255));
    EXPECT_EQ(longCode.events, "");
    std::string longest = "tab" + std::string(252, 'x');  // 255 characters: still a Tab
    RecordingKeyboard fits;
    EXPECT_EQ(TypeKeys("{" + longest + "}", fits, badCode), kOk);
    EXPECT_EQ(fits.events, "Tab+ Tab-");
}

TEST(SendKeys, CancelLeavesNoModifierDown) {
    RecordingKeyboard keyboard;
    keyboard.pumpsBeforeCancel = 0;
    std::string badCode;
    EXPECT_EQ(TypeKeys("abc", keyboard, badCode), kErrCancelled);
    EXPECT_EQ(keyboard.events, "");

    // Cancel during a press: the press ends with its releases, and a huge count stops early.
    RecordingKeyboard counting;
    counting.pumpsBeforeCancel = 7;
    EXPECT_EQ(TypeKeys("{ctrl}{alt}{left 2000000000}b", counting, badCode), kErrCancelled);
    EXPECT_EQ(counting.events, "LCtrl+ LAlt+ Left*+ Left*- Left*+ Left*- LCtrl- LAlt-");

    // A press of one key is never cut; the cancel is seen before the next byte.
    RecordingKeyboard single;
    single.pumpsBeforeCancel = 2;
    EXPECT_EQ(TypeKeys("{shift}ab", single, badCode), kErrCancelled);
    EXPECT_EQ(single.events, "LShift+ A+ A- LShift-");
}

}  // namespace
