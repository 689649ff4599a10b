// The system code page on Windows: lead bytes and case conversion come from the system,
// which knows the double-byte code pages (a trail byte is never case-converted alone).
#include <windows.h>

#include "text_codepage.h"

bool IsLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }

// CharUpperBuffA works on a counted buffer, so embedded zero bytes cannot cut it short;
// the length fits a DWORD because script strings stay below 16 MB.
void ToUpperText(std::string& text) {
    if (!text.empty()) CharUpperBuffA(text.data(), static_cast<DWORD>(text.size()));
}

void ToLowerText(std::string& text) {
    if (!text.empty()) CharLowerBuffA(text.data(), static_cast<DWORD>(text.size()));
}
