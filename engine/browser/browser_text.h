// Text between the engine's ANSI code page and the browsers' wide (COM) and UTF-8 (DevTools)
// strings.
#pragma once
#include <string>

std::wstring AnsiToWide(const std::string& text);
std::string WideToAnsi(const wchar_t* text, int length = -1);
std::string AnsiToUtf8(const std::string& text);
std::string Utf8ToAnsi(const std::string& text);
