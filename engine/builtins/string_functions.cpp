// The string and conversion built-ins: length, case, sub-strings, search and replace,
// numbers <-> text, single characters and the random generator. Portable: the code page
// comes through text_codepage.h, so the same file serves the native tests and Windows.
#include <cstdint>
#include <string>
#include <string_view>

#include "builtin_api.h"
#include "error_codes.h"
#include "text_codepage.h"

namespace {

constexpr std::size_t kNotFound = std::string_view::npos;

// Clamps a count to 0..size.
std::size_t ClampCount(int32_t count, std::size_t size) {
    if (count < 0) return 0;
    return static_cast<std::size_t>(count) < size ? static_cast<std::size_t>(count) : size;
}

// Fetches the one string parameter of the functions that take only a text.
int TextArgument(BuiltinCall& call, std::string& text) { return GetStringParam(call, 0, text); }

}  // namespace

int Builtin_strlen(BuiltinCall& call) {
    SetIntResult(call, 0);
    SharedText text;
    if (int error = GetSharedStringParam(call, 0, text)) return error;
    SetIntResult(call, static_cast<int32_t>(text.size()));
    return kOk;
}

// strupr and strlwr: the text with its letters converted by `convert`.
static int ConvertedText(BuiltinCall& call, void (*convert)(std::string&)) {
    SetStringResult(call, "");
    std::string text;
    if (int error = TextArgument(call, text)) return error;
    convert(text);
    SetStringResult(call, std::move(text));
    return kOk;
}

int Builtin_strupr(BuiltinCall& call) { return ConvertedText(call, ToUpperText); }

int Builtin_strlwr(BuiltinCall& call) { return ConvertedText(call, ToLowerText); }

int Builtin_LeftString(BuiltinCall& call) {
    SetStringResult(call, "");
    std::string text;
    int32_t count = 0;
    if (int error = GetStringParam(call, 0, text)) return error;
    if (int error = GetIntParam(call, 1, count)) return error;
    text.resize(ClampCount(count, text.size()));
    SetStringResult(call, std::move(text));
    return kOk;
}

int Builtin_RightString(BuiltinCall& call) {
    SetStringResult(call, "");
    SharedText shared;
    int32_t count = 0;
    if (int error = GetSharedStringParam(call, 0, shared)) return error;
    if (int error = GetIntParam(call, 1, count)) return error;
    const std::string& text = shared;
    std::size_t keep = ClampCount(count, text.size());
    SetStringResult(call, text.substr(text.size() - keep));
    return kOk;
}

int Builtin_MidString(BuiltinCall& call) {
    SetStringResult(call, "");
    SharedText shared;
    int32_t start = 0;
    int32_t count = -1;
    if (int error = GetSharedStringParam(call, 0, shared)) return error;
    if (int error = GetIntParam(call, 1, start)) return error;
    if (int error = GetOptionalIntParam(call, 2, count)) return error;
    const std::string& text = shared;
    std::size_t from = start < 0 ? 0 : static_cast<std::size_t>(start);
    if (from >= text.size()) return kOk;
    if (count == -1) {
        SetStringResult(call, text.substr(from));
    } else if (count >= 0) {
        SetStringResult(call, text.substr(from, static_cast<std::size_t>(count)));
    }
    return kOk;
}

int Builtin_FindString(BuiltinCall& call) {
    SetIntResult(call, -1);
    SharedText text, find;
    int32_t start = 0;
    if (int error = GetSharedStringParam(call, 0, text)) return error;
    if (int error = GetSharedStringParam(call, 1, find)) return error;
    if (int error = GetOptionalIntParam(call, 2, start)) return error;
    if (start < 0 || static_cast<std::size_t>(start) > text.size()) return kOk;
    std::size_t position = FindText(text, find, static_cast<std::size_t>(start));
    if (position != kNotFound) SetIntResult(call, static_cast<int32_t>(position));
    return kOk;
}

// Builds the result in one pass over the original text: searching on after each inserted
// replacement is the same as searching the original text after the matched bytes. An empty
// `find` is replaced once even with `all`, since it would match again at every position.
int Builtin_ReplaceString(BuiltinCall& call) {
    SetStringResult(call, "");
    std::string text, find, replacement;
    int32_t all = 0, start = 0;
    if (int error = GetStringParam(call, 0, text)) return error;
    if (int error = GetStringParam(call, 1, find)) return error;
    if (int error = GetStringParam(call, 2, replacement)) return error;
    if (int error = GetOptionalIntParam(call, 3, all)) return error;
    if (int error = GetOptionalIntParam(call, 4, start)) return error;
    if (start < 0 || static_cast<std::size_t>(start) > text.size()) {
        SetStringResult(call, std::move(text));
        return kOk;
    }
    std::string out;
    bool replaced = false;
    std::size_t copied = 0;
    std::size_t from = static_cast<std::size_t>(start);
    for (;;) {
        std::size_t match = FindText(text, find, from);
        if (match == kNotFound) break;
        // Growth is bounded like concatenation, so `all` over a huge text cannot exhaust memory.
        if (out.size() + (match - copied) + replacement.size() +
                (text.size() - match - find.size()) >
            kMaxTextLength)
            return kErrStringTooLong;
        out.append(text, copied, match - copied);
        out += replacement;
        replaced = true;
        copied = match + find.size();
        from = copied;
        if (all == 0 || find.empty()) break;
    }
    if (!replaced) {
        SetStringResult(call, std::move(text));
        return kOk;
    }
    out.append(text, copied, std::string::npos);
    SetStringResult(call, std::move(out));
    return kOk;
}

int Builtin_IsEmpty(BuiltinCall& call) {
    SetIntResult(call, 0);
    std::string text;
    if (int error = TextArgument(call, text)) return error;
    SetIntResult(call, text.empty() ? 1 : 0);
    return kOk;
}

int Builtin_atoi(BuiltinCall& call) {
    SetIntResult(call, 0);
    std::string text;
    if (int error = TextArgument(call, text)) return error;
    SetIntResult(call, StringToInt(text));
    return kOk;
}

int Builtin_itoa(BuiltinCall& call) {
    SetStringResult(call, "");
    int32_t value = 0;
    if (int error = GetIntParam(call, 0, value)) return error;
    SetStringResult(call, IntToString(value));
    return kOk;
}

int Builtin_Chr(BuiltinCall& call) {
    SetStringResult(call, "");
    int32_t code = 0;
    if (int error = GetIntParam(call, 0, code)) return error;
    if (code >= 1 && code <= 255) SetStringResult(call, std::string(1, static_cast<char>(code)));
    return kOk;
}

int Builtin_ASCII(BuiltinCall& call) {
    SetIntResult(call, 0);
    std::string text;
    if (int error = TextArgument(call, text)) return error;
    if (!text.empty()) SetIntResult(call, static_cast<unsigned char>(text[0]));
    return kOk;
}

int Builtin_rand(BuiltinCall& call) {
    SetIntResult(call, NextScriptRandom(call));
    return kOk;
}
