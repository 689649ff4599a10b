// A COM interface pointer released on every path.
#pragma once
#include <windows.h>

#include <utility>

template <typename T>
class ComRef {
public:
    ComRef() = default;
    ~ComRef() { reset(); }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ComRef(ComRef&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}

    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    void** put() {
        reset();
        return reinterpret_cast<void**>(&p_);
    }
    void reset() {
        if (p_) p_->Release();
        p_ = nullptr;
    }
    // The same object through another of its interfaces.
    template <typename U>
    ComRef<U> As(REFIID iid) const {
        ComRef<U> other;
        if (p_) p_->QueryInterface(iid, other.put());
        return other;
    }

private:
    T* p_ = nullptr;
};
