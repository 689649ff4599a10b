// Script text built by tests: a string literal of the script language holding any text.
#pragma once
#include <string>

// Backslashes and double quotes are escaped; everything else is taken as it is.
inline std::string ScriptLiteral(const std::string& text) {
    std::string literal = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"') literal += '\\';
        literal += c;
    }
    return literal + "\"";
}
