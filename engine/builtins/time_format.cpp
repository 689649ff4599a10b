// strftime over a FILETIME: the system's local-time conversion, then the C formatting rules.
#include "time_format.h"

#include <cstring>
#include <ctime>

namespace {

constexpr std::size_t kTimeTextBuffer = 128;
// 100-ns intervals between 1601-01-01 and 1970-01-01.
constexpr unsigned long long kUnixEpochAsFileTime = 116444736000000000ULL;

// The conversions every C runtime accepts; anything else makes strftime call the invalid
// parameter handler, which ends the whole process.
bool IsKnownFormat(const std::string& format) {
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') continue;
        if (++i < format.size() && format[i] == '#') ++i;
        if (i >= format.size() || format[i] == '\0' ||
            !std::strchr("aAbBcdHIjmMpSUwWxXyYzZ%", format[i]))
            return false;
    }
    return true;
}

}  // namespace

bool FormatLocalTime(const std::string& format, const FILETIME& utc, std::string& text) {
    text.clear();
    if (format.empty() || !IsKnownFormat(format)) return false;
    ULARGE_INTEGER ticks;
    ticks.LowPart = utc.dwLowDateTime;
    ticks.HighPart = utc.dwHighDateTime;
    if (ticks.QuadPart < kUnixEpochAsFileTime) return false;
    __time64_t seconds =
        static_cast<__time64_t>((ticks.QuadPart - kUnixEpochAsFileTime) / 10000000ULL);
    struct tm local {};
    if (_localtime64_s(&local, &seconds) != 0) return false;
    char buffer[kTimeTextBuffer];
    std::size_t length = std::strftime(buffer, sizeof buffer, format.c_str(), &local);
    if (length == 0) return false;
    text.assign(buffer, length);
    return true;
}
