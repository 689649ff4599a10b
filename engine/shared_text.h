// The text of a string value, shared between the variables, arguments and operands holding it:
// a copy is a count increment and the first change to a shared text makes its own copy. So a
// 1 MiB string passed down 900 calls is held once, not 900 times; by-value semantics stay.
// A text belongs to the thread of the run that made it (the count is not atomic).
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

class SharedText {
public:
    SharedText() noexcept = default;
    SharedText(std::string text) : node_(text.empty() ? nullptr : new Node{1, std::move(text)}) {}
    SharedText(std::string_view text) : SharedText(std::string(text)) {}
    SharedText(const char* text) : SharedText(std::string(text)) {}
    SharedText(const SharedText& other) noexcept : node_(other.node_) {
        if (node_) ++node_->refs;
    }
    SharedText(SharedText&& other) noexcept : node_(std::exchange(other.node_, nullptr)) {}
    SharedText& operator=(const SharedText& other) noexcept {
        if (other.node_) ++other.node_->refs;
        Release();
        node_ = other.node_;
        return *this;
    }
    SharedText& operator=(SharedText&& other) noexcept {
        if (this != &other) {
            Release();
            node_ = std::exchange(other.node_, nullptr);
        }
        return *this;
    }
    SharedText& operator=(std::string text) { return *this = SharedText(std::move(text)); }
    SharedText& operator=(std::string_view text) { return *this = SharedText(text); }
    SharedText& operator=(const char* text) { return *this = SharedText(text); }
    ~SharedText() { Release(); }

    const std::string& str() const noexcept { return node_ ? node_->text : Empty(); }
    operator const std::string&() const noexcept { return str(); }
    operator std::string_view() const noexcept { return str(); }
    std::size_t size() const noexcept { return node_ ? node_->text.size() : 0; }
    bool empty() const noexcept { return size() == 0; }
    const char* data() const noexcept { return str().data(); }
    const char* c_str() const noexcept { return str().c_str(); }
    char operator[](std::size_t i) const noexcept { return str()[i]; }
    void clear() noexcept { Release(); }

    // The text for a change in place, copied first while another holder shares it; `room`
    // reserves for what is about to be appended, so the copy is made once at its final size.
    std::string& Edit(std::size_t room = 0) {
        if (!node_) {
            node_ = new Node{1, std::string()};
        } else if (node_->refs > 1) {
            std::string copy;
            copy.reserve(node_->text.size() + room);
            copy = node_->text;
            Node* own = new Node{1, std::move(copy)};
            --node_->refs;
            node_ = own;
            return node_->text;
        }
        std::string& text = node_->text;
        const std::size_t needed = text.size() + room;
        // A large text that must move reserves as much again: one built by appends, a doubling
        // `s = s + s` above all, then grows in place every other time instead of at each one.
        if (needed > text.capacity())
            text.reserve(needed > kGrowsAhead ? needed + needed : needed);
        return text;
    }
    SharedText& operator+=(std::string_view more) {
        Edit(more.size()).append(more);
        return *this;
    }
    // Appends `more`, which the caller gives up. When it holds this very text (`s + s`) it lets
    // go first, so the text doubles in place if nobody else holds it; the room is reserved
    // before the second half is copied from storage that then stays where it is.
    SharedText& Append(SharedText&& more) {
        if (!SameStorage(more)) return *this += more.str();
        more.clear();
        const std::size_t size = this->size();
        std::string& text = Edit(size);
        text.append(text.data(), size);
        return *this;
    }
    // The text itself: moved out when nobody else holds it, copied otherwise.
    std::string Take() && {
        if (!node_) return std::string();
        std::string out = node_->refs == 1 ? std::move(node_->text) : node_->text;
        Release();
        return out;
    }
    // True when both hold the very same text storage.
    bool SameStorage(const SharedText& other) const noexcept {
        return node_ && node_ == other.node_;
    }
    // How many values hold this storage (0 for the empty text).
    std::size_t holders() const noexcept { return node_ ? node_->refs : 0; }
    // Bytes held in storage (for memory budgets).
    std::size_t capacity() const noexcept { return node_ ? node_->text.capacity() : 0; }

    friend bool operator==(const SharedText& a, const SharedText& b) noexcept {
        return a.node_ == b.node_ || a.str() == b.str();
    }
    friend bool operator==(const SharedText& a, std::string_view b) noexcept {
        return std::string_view(a.str()) == b;
    }
    friend bool operator==(const SharedText& a, const std::string& b) noexcept {
        return a.str() == b;
    }
    friend bool operator==(const SharedText& a, const char* b) noexcept {
        return std::string_view(a.str()) == b;
    }

private:
    static constexpr std::size_t kGrowsAhead = std::size_t{64} << 10;
    struct Node {
        std::size_t refs;
        std::string text;
    };
    static const std::string& Empty() noexcept { return kEmpty; }
    static inline const std::string kEmpty;  // constant-initialised: no guard on the hot path
    void Release() noexcept {
        Node* node = std::exchange(node_, nullptr);
        if (node && --node->refs == 0) delete node;
    }

    Node* node_ = nullptr;
};
