// Script scanner: the preprocessor and the word, expression-text and argument-list readers.
// Every routine stops at the NUL that ends the text.
#include "scanner.h"

#include <new>

#include "builtin_table.h"
#include "error_codes.h"

namespace {

// Line counting wraps instead of overflowing.
void CountLine(ScanCursor& cursor) {
    cursor.line = static_cast<int32_t>(static_cast<uint32_t>(cursor.line) + 1u);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int Append(std::string& text, char c) {
    if (text.size() >= kMaxTextLength) return kErrStringTooLong;
    text.push_back(c);
    return kOk;
}

// The rest of a string literal whose opening quote is already in `text`: continuations are
// dropped, other escapes copied raw, a line feed or the end before the closing quote is -17.
int ReadStringLiteral(ScanCursor& cursor, std::string& text) {
    for (;;) {
        char c = *cursor.at;
        if (c == '\0' || c == '\n') return kErrNewlineInConstant;
        if (c == '\\' && cursor.at[1] == '\n') {
            cursor.at += 2;
            CountLine(cursor);
            continue;
        }
        if (int rc = Append(text, c); rc < 0) return rc;
        ++cursor.at;
        if (c == '"') return kOk;
        if (c == '\\' && *cursor.at != '\0') {
            if (int rc = Append(text, *cursor.at); rc < 0) return rc;
            ++cursor.at;
        }
    }
}

constexpr const char* kStatementWords[] = {"break", "else", "if", "repeat", "return", "while"};

// Resolves the escapes of a string literal's content (between the quotes).
std::string ResolveEscapes(std::string_view content) {
    std::string text;
    text.reserve(content.size());
    for (std::size_t i = 0; i < content.size(); ++i) {
        char c = content[i];
        if (c != '\\' || i + 1 >= content.size()) {
            text.push_back(c);
            continue;
        }
        char next = content[++i];
        switch (next) {
        case 'n': text.push_back('\n'); break;
        case 'r': text.push_back('\r'); break;
        case 't': text.push_back('\t'); break;
        default: text.push_back(next); break;  // \" \\ and any other: the character itself
        }
    }
    return text;
}

// The item that an expression text of the given kind stands for.
ScriptValue MakeItem(std::string& text, bool strict) {
    std::string word = text;
    switch (ClassifyLiteral(word, true, strict)) {
    case kLiteralString: return MakeString(std::move(word));
    case kLiteralName: {
        ScriptValue item;
        item.type = kTypeVarRef;
        item.text = std::move(word);
        return item;
    }
    case kLiteralInteger: return MakeInt(StringToInt(word));
    case kLiteralNull: return MakeVoid();
    case kLiteralRootKey: return MakeHandle(kTypeHkey, static_cast<uint32_t>(StringToInt(word)));
    default: {
        ScriptValue item;
        item.type = kTypeExpression;
        item.text = std::move(text);
        return item;
    }
    }
}

}  // namespace

std::string Preprocess(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 1);
    bool inString = false;
    bool inComment = false;
    bool blankAllowed = false;  // the text begins at a line start
    const std::size_t size = text.size();
    for (std::size_t i = 0; i < size && text[i] != '\0'; ++i) {
        char c = text[i];
        if (inComment) {
            if (c == '\n') {
                out.push_back(c);
                inComment = false;
                blankAllowed = false;
            }
            continue;
        }
        if (inString || (c != ' ' && c != '\t')) {
            if (!inString && c == '/' && i + 1 < size && text[i + 1] == '/') {
                inComment = true;
                continue;
            }
            if (c == '\r') continue;
            out.push_back(c);
            if (c == '"') {
                inString = !inString;
            } else if (c == '\\' && inString) {
                // The escaped character goes with its backslash, so \" does not end the string;
                // a carriage return before it is dropped, keeping a continuation's line feed.
                std::size_t next = i + 1;
                if (next < size && text[next] == '\r') ++next;
                if (next >= size || text[next] == '\0') break;
                i = next;
                c = text[i];
                out.push_back(c);
            }
            blankAllowed = true;
        } else if (blankAllowed) {
            out.push_back(' ');
            blankAllowed = false;
        }
        if (c == '\n') blankAllowed = false;  // leading blanks of a line vanish
    }
    return out;
}

bool IsNameChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || IsDigit(c) || c == '_' || c == '$';
}

bool SkipSpace(ScanCursor& cursor) {
    while (*cursor.at == ' ' || *cursor.at == '\n') {
        if (*cursor.at == '\n') CountLine(cursor);
        ++cursor.at;
    }
    return *cursor.at == '\0';
}

bool SkipBlanks(ScanCursor& cursor) {
    while (*cursor.at == ' ') ++cursor.at;
    return *cursor.at == '\0';
}

int ReadWord(ScanCursor& cursor, std::string& word) {
    try {
        word.clear();
        while (IsNameChar(*cursor.at) || *cursor.at == '\\' || *cursor.at == '"') {
            char c = *cursor.at;
            if (int rc = Append(word, c); rc < 0) return rc;
            ++cursor.at;
            if (c == '"') {
                if (int rc = ReadStringLiteral(cursor, word); rc < 0) return rc;
            }
        }
        return static_cast<int>(word.size());
    } catch (const std::bad_alloc&) {
        return kErrOutOfMemory;
    }
}

int ReadExpressionText(ScanCursor& cursor, VariableTable& items, bool strict) {
    if (SkipSpace(cursor)) return kErrSyntax;
    try {
        std::string text;
        int depth = 0;
        for (;;) {
            char c = *cursor.at;
            if (c == '\0' || c == ';' || (c == ',' && depth == 0) || (c == ')' && depth == 0))
                break;
            if (c == '"') {
                if (int rc = Append(text, c); rc < 0) return rc;
                ++cursor.at;
                if (int rc = ReadStringLiteral(cursor, text); rc < 0) return rc;
                continue;
            }
            if (c == '(')
                ++depth;
            else if (c == ')')
                --depth;
            if (c == '\n') {
                c = ' ';
                CountLine(cursor);
            }
            if (int rc = Append(text, c); rc < 0) return rc;
            ++cursor.at;
        }
        if (!text.empty()) items.push_back(MakeItem(text, strict));
        return kOk;
    } catch (const std::bad_alloc&) {
        return kErrOutOfMemory;
    }
}

int ReadArgumentList(ScanCursor& cursor, VariableTable& items, bool strict) {
    for (;;) {
        if (int rc = ReadExpressionText(cursor, items, strict); rc < 0) return rc;
        if (*cursor.at == ',') {
            ++cursor.at;
            if (SkipSpace(cursor)) return kErrMissingParen;
            continue;
        }
        if (*cursor.at == ')') {
            ++cursor.at;
            return kOk;
        }
        return kErrMissingParen;  // a ';' or the end of the text before the ')'
    }
}

int ClassifyLiteral(std::string& word, bool resolveEscapes, bool strict) {
    if (word.empty()) return kLiteralNone;
    bool digitsOnly = true;
    int dots = 0;
    bool digitsAndDots = true;
    for (char c : word) {
        if (!IsDigit(c)) {
            digitsOnly = false;
            if (c == '.')
                ++dots;
            else
                digitsAndDots = false;
        }
    }
    if (digitsOnly) return kLiteralInteger;
    if (digitsAndDots && dots > 1) return kLiteralNone;
    if (word[0] == '"') {
        std::size_t close = std::string::npos;
        for (std::size_t i = 1; i < word.size(); ++i) {
            if (resolveEscapes && word[i] == '\\') {
                ++i;
                continue;
            }
            if (word[i] == '"') {
                close = i;
                break;
            }
        }
        if (close != word.size() - 1) return kLiteralOther;
        std::string_view content(word.data() + 1, word.size() - 2);
        word = resolveEscapes ? ResolveEscapes(content) : std::string(content);
        return kLiteralString;
    }
    if (IsNullWord(word, strict)) {
        word.assign(1, '0');
        return kLiteralNull;
    }
    if (int32_t value; FindIntegerConstant(word, strict, value)) {
        word = IntToString(value);
        return kLiteralInteger;
    }
    if (uint32_t handle; FindRootKey(word, strict, handle)) {
        word = IntToString(static_cast<int32_t>(handle));
        return kLiteralRootKey;
    }
    return IsValidName(word, strict) ? kLiteralName : kLiteralOther;
}

bool IsStatementWord(std::string_view word, bool strict) {
    for (const char* statementWord : kStatementWords) {
        if (NamesEqual(word, statementWord, strict)) return true;
    }
    return false;
}

bool IsValidName(std::string_view name, bool strict) {
    if (name.empty() || IsDigit(name[0])) return false;
    for (char c : name) {
        if (!IsNameChar(c)) return false;
    }
    int32_t value;
    uint32_t handle;
    return TypeFromWord(name, strict) == 0 && !IsStatementWord(name, strict) &&
           !IsBuiltinName(name, strict) && !IsNullWord(name, strict) &&
           !NamesEqual(name, "main", strict) && !FindIntegerConstant(name, strict, value) &&
           !FindRootKey(name, strict, handle);
}
