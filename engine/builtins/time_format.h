// Local-time text for GetFileTimeString and CurrentTimeString: strftime rules, 128-byte buffer.
#pragma once
#include <windows.h>

#include <string>

// False (text empty) when the time has no local form, the format holds a conversion the
// runtime does not know (it would abort the process), or the text does not fit.
bool FormatLocalTime(const std::string& format, const FILETIME& utc, std::string& text);
