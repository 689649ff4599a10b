#include "command_line.h"

#include <cstdio>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// A token that may hold double-quoted stretches ends at the first blank outside quotes.
size_t TokenEnd(std::string_view text, size_t at) {
    bool quoted = false;
    for (; at < text.size(); ++at) {
        if (text[at] == '"')
            quoted = !quoted;
        else if (IsBlank(text[at]) && !quoted)
            break;
    }
    return at;
}

}  // namespace

size_t SwitchAreaEnd(std::string_view line) {
    size_t at = 0;
    while (at < line.size()) {
        if (IsBlank(line[at])) {
            ++at;
        } else if (line[at] == '/') {
            // A switch runs to the next slash or blank.
            ++at;
            while (at < line.size() && line[at] != '/' && !IsBlank(line[at])) ++at;
        } else {
            break;
        }
    }
    return at;
}

bool HasSwitch(std::string_view line, char letter) {
    size_t end = SwitchAreaEnd(line);
    for (size_t at = 0; at + 1 < end; ++at)
        if (line[at] == '/' && line[at + 1] == letter) return true;
    return false;
}

std::string ScriptPathArgument(std::string_view line) {
    size_t start = SwitchAreaEnd(line);
    std::string path;
    for (char c : line.substr(start, TokenEnd(line, start) - start))
        if (c != '"') path += c;
    return path;
}

std::vector<std::string> ArgumentsAfterPath(std::string_view line) {
    std::vector<std::string> words;
    size_t at = TokenEnd(line, SwitchAreaEnd(line));
    for (;;) {
        while (at < line.size() && IsBlank(line[at])) ++at;
        if (at >= line.size()) return words;
        const size_t end = TokenEnd(line, at);
        std::string& word = words.emplace_back();
        for (char c : line.substr(at, end - at))
            if (c != '"') word += c;
        at = end;
    }
}

std::string BuildEntryCall(std::string_view line, bool keepEscapes) {
    size_t at = TokenEnd(line, SwitchAreaEnd(line));
    if (at < line.size()) ++at;  // the blank after the path
    std::string call = "main(";
    bool first = true;
    for (;;) {
        while (at < line.size() && IsBlank(line[at])) ++at;
        if (at >= line.size()) break;
        if (!first) call += "\",";
        call += '"';
        first = false;
        char end = ' ';
        if (line[at] == '"') {
            end = '"';
            ++at;
        }
        while (at < line.size() && line[at] != end && !(end == ' ' && IsBlank(line[at]))) {
            char c = line[at++];
            if (c != '\\') {
                call += c;
            } else if (!keepEscapes) {
                call += "\\\\";
            } else if (at < line.size() && line[at] == '"') {
                call += "\\\"";
                ++at;
            } else {
                call += c;
            }
        }
        if (at < line.size()) ++at;  // the closing quote or blank
    }
    if (!first) call += '"';
    return call + ")";
}

std::string_view AfterProgramName(std::string_view line) {
    size_t end = TokenEnd(line, 0);
    while (end < line.size() && IsBlank(line[end])) ++end;
    return line.substr(end);
}

std::string VersionText(int major, int minor, int third) {
    char text[64];
    if (third >= 1 && third <= 99)
        std::snprintf(text, sizeof(text), "%d.%02d Beta %d", major, minor, third);
    else
        std::snprintf(text, sizeof(text), "%d.%02d", major, minor);
    return text;
}
