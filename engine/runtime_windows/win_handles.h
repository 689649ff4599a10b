// RAII owners for the Windows handles the engine opens, so that every path closes what it opened.
#pragma once
#include <windows.h>

#include <utility>

// A move-only owner of one handle value with its close function.
template <typename Handle, typename Traits>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle_(handle) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Handle get() const { return handle_; }
    Handle* put() {
        reset();
        return &handle_;
    }  // for out-parameters of the API
    explicit operator bool() const { return Traits::IsValid(handle_); }
    Handle release() { return std::exchange(handle_, Traits::Invalid()); }
    void reset(Handle handle = Traits::Invalid()) {
        if (Traits::IsValid(handle_)) Traits::Close(handle_);
        handle_ = handle;
    }
    // Closes now and reports whether the system accepted the close (a write-behind can fail
    // there); the owner is empty afterwards either way. False when nothing was open.
    bool close() {
        const Handle handle = release();
        return Traits::IsValid(handle) && Traits::Close(handle);
    }

private:
    Handle handle_ = Traits::Invalid();
};

struct KernelHandleTraits {  // CreateProcess, CreateEvent, OpenProcess...: null means none
    static HANDLE Invalid() { return nullptr; }
    static bool IsValid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static bool Close(HANDLE h) { return CloseHandle(h) != FALSE; }
};
struct FileHandleTraits {  // CreateFile: INVALID_HANDLE_VALUE means none
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static bool IsValid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static bool Close(HANDLE h) { return CloseHandle(h) != FALSE; }
};
struct FindHandleTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static bool IsValid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static bool Close(HANDLE h) { return FindClose(h) != FALSE; }
};
struct RegKeyTraits {
    static HKEY Invalid() { return nullptr; }
    static bool IsValid(HKEY k) { return k != nullptr; }
    static bool Close(HKEY k) { return RegCloseKey(k) == ERROR_SUCCESS; }
};
struct LibraryTraits {
    static HMODULE Invalid() { return nullptr; }
    static bool IsValid(HMODULE m) { return m != nullptr; }
    static bool Close(HMODULE m) { return FreeLibrary(m) != FALSE; }
};
struct GlobalMemoryTraits {
    static HGLOBAL Invalid() { return nullptr; }
    static bool IsValid(HGLOBAL g) { return g != nullptr; }
    static bool Close(HGLOBAL g) { return GlobalFree(g) == nullptr; }
};

using UniqueKernelHandle = UniqueHandle<HANDLE, KernelHandleTraits>;
using UniqueFileHandle = UniqueHandle<HANDLE, FileHandleTraits>;
using UniqueFindHandle = UniqueHandle<HANDLE, FindHandleTraits>;
using UniqueRegKey = UniqueHandle<HKEY, RegKeyTraits>;
using UniqueLibrary = UniqueHandle<HMODULE, LibraryTraits>;
using UniqueGlobal = UniqueHandle<HGLOBAL, GlobalMemoryTraits>;

// A screen or window device context released with ReleaseDC.
class WindowDC {
public:
    explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDC() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// Locks a movable memory block for one access and unlocks it on every path, a failed copy
// out of it included.
class GlobalLockGuard {
public:
    explicit GlobalLockGuard(HGLOBAL block)
        : block_(block), bytes_(block ? GlobalLock(block) : nullptr) {}
    ~GlobalLockGuard() {
        if (bytes_) GlobalUnlock(block_);
    }
    GlobalLockGuard(const GlobalLockGuard&) = delete;
    GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;
    void* get() const { return bytes_; }

private:
    HGLOBAL block_;
    void* bytes_;
};

// Holds the clipboard open for one operation.
class ClipboardSession {
public:
    explicit ClipboardSession(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
    ~ClipboardSession() {
        if (open_) CloseClipboard();
    }
    ClipboardSession(const ClipboardSession&) = delete;
    ClipboardSession& operator=(const ClipboardSession&) = delete;
    bool isOpen() const { return open_; }

private:
    bool open_;
};

// Binds a function of a library loaded by name for the duration of one call.
template <typename Function>
Function BindFunction(const UniqueLibrary& library, const char* name) {
    if (!library) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library.get(), name)));
}
