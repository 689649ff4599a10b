// The portable code page: single-byte text, case folding of the ASCII letters only.
// The Windows host links its own version from runtime_windows/ instead.
#ifndef VEX_WINDOWS_HOST
#include "script_value.h"
#include "text_codepage.h"

bool IsLeadByte(unsigned char) { return false; }

void ToUpperText(std::string& text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
}

void ToLowerText(std::string& text) { text = FoldAsciiCase(text); }
#endif
