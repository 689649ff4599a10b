// Splits one script line into the stretches that syntax colouring paints differently. It reads
// a line on its own, so colouring can start at any visible line of a large script.
#pragma once
#include <cstddef>
#include <string_view>
#include <vector>

enum class TokenKind {
    Plain,
    Keyword,  // statement words and the #include / #strict directives
    Type,     // int, string, void and the handle types
    String,   // a double-quoted literal, escapes included
    Comment,  // from // to the end of the line
    Number,
    Builtin,   // one of the 130 built-in function names
    Constant,  // NULL, the integer constants and the registry roots
};

struct SyntaxToken {
    size_t start;
    size_t length;
    TokenKind kind;
};

// The coloured stretches of `line` in order; plain text between them is not listed.
std::vector<SyntaxToken> ScanSyntaxLine(std::string_view line);
// What a name means to the colouring (without strict, so any letter case).
TokenKind ClassifyWord(std::string_view word);
