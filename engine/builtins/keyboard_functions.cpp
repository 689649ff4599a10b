// SendKeys: types a keys text into whatever window has the keyboard focus, through the
// system's input stream as single key events.
#include <windows.h>

#include <string>

#include "builtin_api.h"
#include "error_codes.h"
#include "progress_dialog.h"
#include "special_keys.h"
#include "wait_loop.h"

namespace {

// The real keyboard: SendInput with virtual-key codes only, the current layout, Caps Lock.
class SystemKeyboard : public KeyboardSink {
public:
    // The key state of this thread follows only the key messages it has read itself, which a
    // Caps Lock typed into another window never is: the state is read once, then followed.
    explicit SystemKeyboard(RunWindow& window)
        : window_(window), capsLock_(GetKeyState(VK_CAPITAL) & 1) {}

    // Every event is followed by a real look into the queue (PumpMessages looks at most once
    // per tick), so a window of this thread has read each key before the script goes on.
    bool Pump() override { return ProgressWindow(window_).PumpDialogMessages(nullptr); }

    void KeyEvent(uint8_t virtualKey, uint32_t flags) override {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = virtualKey;
        input.ki.dwFlags = (flags & kKeyExtended ? KEYEVENTF_EXTENDEDKEY : 0) |
                           (flags & kKeyUp ? KEYEVENTF_KEYUP : 0);
        SendInput(1, &input, sizeof input);
        if (virtualKey == VK_CAPITAL && !(flags & kKeyUp)) capsLock_ = !capsLock_;
    }

    bool Translate(unsigned char byte, LayoutKey& key) override {
        SHORT scan = VkKeyScanA(static_cast<CHAR>(byte));
        if (scan == -1) return false;
        key.virtualKey = LOBYTE(scan);
        key.shift = HIBYTE(scan) & 1;
        key.ctrl = HIBYTE(scan) & 2;
        key.alt = HIBYTE(scan) & 4;
        return true;
    }

    bool CapsLockOn() override { return capsLock_; }

private:
    RunWindow& window_;
    bool capsLock_;
};

// The pause before typing, so the window brought to the front has settled.
constexpr uint64_t kSettleMs = 100;

}  // namespace

int Builtin_SendKeys(BuiltinCall& call) {
    SetVoidResult(call);
    std::string keys;
    if (int error = GetStringParam(call, 0, keys)) return error;
    StatusLine status(call.window, "Sending keystrokes...");
    const uint64_t end = TickNow() + kSettleMs;
    while (TickNow() < end) {
        if (call.window.PumpMessages()) return kErrCancelled;
        Sleep(static_cast<DWORD>(ProgressWindow(call.window).waitIncrement()));
    }
    SystemKeyboard keyboard(call.window);
    std::string badCode;
    int error = TypeKeys(keys, keyboard, badCode);
    if (error == kErrBadSendKeysCode) SetResultName(call.record, badCode);
    return error;
}
