#include "script_text_rules.h"

namespace {
bool IsBlankOrTab(char c) { return c == ' ' || c == '\t'; }
}  // namespace

std::string_view LeadingIndent(std::string_view line) {
    size_t n = 0;
    while (n < line.size() && IsBlankOrTab(line[n])) ++n;
    return line.substr(0, n);
}

size_t OutdentLength(std::string_view line) {
    if (line.empty()) return 0;
    if (line[0] == '\t') return 1;
    if (line[0] != ' ') return 0;
    size_t blanks = 0;
    while (blanks < static_cast<size_t>(kTabColumns) && blanks < line.size() && line[blanks] == ' ')
        ++blanks;
    // Fewer than a tab's worth of blanks before a tab: they and the tab make one indent step.
    if (blanks < static_cast<size_t>(kTabColumns) && blanks < line.size() && line[blanks] == '\t')
        ++blanks;
    return blanks;
}

int CaretColumn(std::string_view line, size_t caret) {
    int column = 0;
    for (size_t i = 0; i < caret && i < line.size(); ++i)
        column = line[i] == '\t' ? column - column % kTabColumns + kTabColumns : column + 1;
    return column;
}

bool IsHelpWordChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '#' ||
           c == '_';
}

std::string HelpWordAt(std::string_view line, size_t start, size_t end) {
    std::string_view word;
    if (start < end) {
        if (start < line.size()) word = line.substr(start, end - start);
    } else if (!line.empty()) {
        size_t at = start < line.size() ? start : line.size() - 1;
        if (!IsBlankOrTab(line[at])) {
            size_t first = at;
            while (first > 0 && IsHelpWordChar(line[first - 1])) --first;
            size_t last = first;
            while (last < line.size() && IsHelpWordChar(line[last])) ++last;
            word = line.substr(first, last - first);
        }
    }
    while (!word.empty() && word.front() == ' ') word.remove_prefix(1);
    while (!word.empty() && word.back() == ' ') word.remove_suffix(1);
    return std::string(word);
}

std::string AsciiLower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}
