// The system code page as the string built-ins see it: which bytes start a double-byte
// character, and case conversion that never changes half a character. The Windows host
// asks the system; the portable build treats text as single-byte ASCII.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

// True when `byte` is the first byte of a double-byte character in the system code page.
bool IsLeadByte(unsigned char byte);
// Case conversion in place, character by character under the system code page.
void ToUpperText(std::string& text);
void ToLowerText(std::string& text);

// Length in bytes of the character that starts at `position` (1 or 2; 1 for a lead byte
// at the very end, which has no trail byte to pair with).
inline std::size_t CharLengthAt(std::string_view text, std::size_t position) {
    return IsLeadByte(static_cast<unsigned char>(text[position])) && position + 1 < text.size() ? 2
                                                                                                : 1;
}

// First occurrence of `find` in `text` at or after `start` that begins and ends on a
// character boundary, counting characters from `start`; an empty `find` matches at `start`.
inline std::size_t FindText(std::string_view text, std::string_view find, std::size_t start) {
    std::size_t boundary = start;
    for (;;) {
        std::size_t candidate = text.find(find, boundary);
        if (candidate == std::string_view::npos) return std::string_view::npos;
        while (boundary < candidate) boundary += CharLengthAt(text, boundary);
        if (boundary == candidate) {
            std::size_t end = candidate;
            while (end < candidate + find.size()) end += CharLengthAt(text, end);
            if (end == candidate + find.size()) return candidate;
            boundary += CharLengthAt(text, boundary);  // the match would split a character
        }
        if (boundary >= text.size()) return std::string_view::npos;
    }
}
