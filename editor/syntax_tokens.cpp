#include "syntax_tokens.h"

#include <algorithm>
#include <string>
#include <unordered_map>

#include "builtin_names.h"
#include "constant_names.h"
#include "script_text_rules.h"

namespace {

// Names compare without letter case, as scripts do while strict is off.
const std::unordered_map<std::string, TokenKind>& WordTable() {
    static const std::unordered_map<std::string, TokenKind> table = [] {
        std::unordered_map<std::string, TokenKind> words;
        for (const char* w :
             {"if", "else", "while", "repeat", "break", "return", "exit", "#include", "#strict"})
            words[w] = TokenKind::Keyword;
        for (const char* w : {"int", "string", "void", "hkey", "hbrowser", "hfile"})
            words[w] = TokenKind::Type;
#define VEX_COLOUR_BUILTIN(name, family) words[AsciiLower(#name)] = TokenKind::Builtin;
        VEX_BUILTIN_LIST(VEX_COLOUR_BUILTIN)
#undef VEX_COLOUR_BUILTIN
#define VEX_COLOUR_CONSTANT(name, value) words[AsciiLower(#name)] = TokenKind::Constant;
        VEX_INTEGER_CONSTANT_LIST(VEX_COLOUR_CONSTANT)
        VEX_ROOT_KEY_LIST(VEX_COLOUR_CONSTANT)
#undef VEX_COLOUR_CONSTANT
        words["null"] = TokenKind::Constant;
        return words;
    }();
    return table;
}

bool IsNameChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '$';
}
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

TokenKind ClassifyWord(std::string_view word) {
    const auto& table = WordTable();
    auto found = table.find(AsciiLower(word));
    return found == table.end() ? TokenKind::Plain : found->second;
}

std::vector<SyntaxToken> ScanSyntaxLine(std::string_view line) {
    std::vector<SyntaxToken> tokens;
    size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        const size_t start = i;
        if (c == '/' && i + 1 < line.size() && line[i + 1] == '/') {
            tokens.push_back({start, line.size() - start, TokenKind::Comment});
            break;
        }
        if (c == '"') {
            // A backslash keeps the next character inside the literal; an open literal runs to
            // the end of the line, as the engine reads it up to there too.
            for (++i; i < line.size() && line[i] != '"'; ++i)
                if (line[i] == '\\' && i + 1 < line.size()) ++i;
            if (i < line.size()) ++i;
            tokens.push_back({start, i - start, TokenKind::String});
        } else if (IsNameChar(c) || c == '#') {
            for (++i; i < line.size() && IsNameChar(line[i]); ++i) {}
            std::string_view word = line.substr(start, i - start);
            TokenKind kind = std::all_of(word.begin(), word.end(), IsDigit) ? TokenKind::Number
                                                                            : ClassifyWord(word);
            if (kind != TokenKind::Plain) tokens.push_back({start, i - start, kind});
        } else {
            ++i;
        }
    }
    return tokens;
}
