#include "browser_text.h"

#include <windows.h>

namespace {

std::wstring ToWide(UINT codePage, const std::string& text) {
    if (text.empty()) return {};
    int size =
        MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(size > 0 ? size : 0), L'\0');
    if (size > 0)
        MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                            size);
    return wide;
}

std::string FromWide(UINT codePage, const wchar_t* text, int length) {
    if (!text) return {};
    if (length < 0) length = static_cast<int>(wcslen(text));
    if (length == 0) return {};
    int size = WideCharToMultiByte(codePage, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        WideCharToMultiByte(codePage, 0, text, length, out.data(), size, nullptr, nullptr);
    return out;
}

}  // namespace

std::wstring AnsiToWide(const std::string& text) { return ToWide(CP_ACP, text); }

std::string WideToAnsi(const wchar_t* text, int length) { return FromWide(CP_ACP, text, length); }

std::string AnsiToUtf8(const std::string& text) {
    std::wstring wide = ToWide(CP_ACP, text);
    return FromWide(CP_UTF8, wide.c_str(), static_cast<int>(wide.size()));
}

std::string Utf8ToAnsi(const std::string& text) {
    std::wstring wide = ToWide(CP_UTF8, text);
    return FromWide(CP_ACP, wide.c_str(), static_cast<int>(wide.size()));
}
