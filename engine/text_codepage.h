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
