// Script scanner: small routines over a NUL-terminated 8-bit text and a cursor into it.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "script_value.h"

// Where a scanner routine reads: the position in a NUL-terminated text and the line it is on.
// Routines that cross a line end add one to `line` (wrapping, never overflowing).
struct ScanCursor {
    const char* at;
    int32_t line = 1;
};

// Literal kinds returned by ClassifyLiteral, numbered like the value types.
enum LiteralKind : int {
    kLiteralNone = 0,
    kLiteralString = 1,
    kLiteralInteger = 2,
    kLiteralNull = 3,
    kLiteralName = 4,
    kLiteralOther = 5,
    kLiteralRootKey = 6,
};

// Removes comments, carriage returns and surplus blanks; never longer than the input.
std::string Preprocess(std::string_view text);

bool IsNameChar(char c);
// Blanks and line ends (counted); true at the end of the text.
bool SkipSpace(ScanCursor& cursor);
// Blanks only; true at the end of the text.
bool SkipBlanks(ScanCursor& cursor);
// Length of the word read (0 when none), or -17 / -7.
int ReadWord(ScanCursor& cursor, std::string& word);
// Appends at most one item; 0, -5, -6, -7 or -17.
int ReadExpressionText(ScanCursor& cursor, VariableTable& items, bool strict);
// Starts after '('; consumes the closing ')'. 0 or the first error (-9 when not closed).
int ReadArgumentList(ScanCursor& cursor, VariableTable& items, bool strict);
// May rewrite `word` (string content, constant value in decimal, "0" for NULL).
int ClassifyLiteral(std::string& word, bool resolveEscapes, bool strict);
bool IsValidName(std::string_view name, bool strict);
// True for break, else, if, repeat, return, while.
bool IsStatementWord(std::string_view word, bool strict);
