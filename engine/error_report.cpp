// The message of every error code and the text of the error box built from the result record.
#include <cstring>
#include <string>
#include <string_view>

#include "error_codes.h"
#include "script_result.h"

namespace {

// Which record field fills a message's placeholder.
enum class Fill { None, Name, Call, Param, MaxFileSize };

struct ErrorMessage {
    int code;
    const char* text;
    Fill fill;
};

constexpr ErrorMessage kMessages[] = {
    {kErrLoad, "Error loading script file", Fill::None},
    {kErrTooBig, "Script file too big; the maximum file size is %d bytes", Fill::MaxFileSize},
    {kErrFunctionNotFound, "%s - Function not found", Fill::Call},
    {kErrSyntax, "Syntax error", Fill::None},
    {kErrOutOfMemory, "Out of memory", Fill::None},
    {kErrStringTooLong, "String too long", Fill::None},
    {kErrMissingSemicolon, "Missing ';'", Fill::None},
    {kErrMissingParen, "Missing '('", Fill::None},
    {kErrInvalidVariableType, "%s - Invalid variable type", Fill::Name},
    {kErrInvalidVariableName, "%s - Invalid variable name", Fill::Name},
    {kErrInvalidFunctionName, "%s - Invalid function name", Fill::Name},
    {kErrVariableAlreadyDefined, "%s - Variable already defined", Fill::Name},
    {kErrFunctionAlreadyDefined, "%s - Function already defined", Fill::Name},
    {kErrMissingBrace, "Missing '{'", Fill::None},
    {kErrMissingCloseBrace, "Missing '}'", Fill::None},
    {kErrNewlineInConstant, "Newline in constant, missing \"", Fill::None},
    {kErrBadFunctionCall, "%s - Bad function call", Fill::Call},
    {kErrCancelled, "", Fill::None},  // a cancelled script ends silently
    {kErrParametersDontMatch, "Parameters don't match", Fill::None},
    {kErrBadParameterValue, "Parameter %d - Bad parameter value", Fill::Param},
    {kErrWrongType, "%s - Variable is the wrong type", Fill::Name},
    {kErrNotDefined, "%s - Variable not defined", Fill::Name},
    {kErrInvalidReturnType, "Invalid function return type", Fill::None},
    {kErrBadParameterType, "Parameter %d - Bad parameter type", Fill::Param},
    {kErrBadSendKeysCode, "{%s} - Bad SendKeys special code", Fill::Name},
    {kErrIncludeFileName, "#include expected a file name", Fill::None},
    {kErrExpectedNewline, "Unexpected text - Expected a newline", Fill::None},
    {kErrAlreadyIncluded, "Script file already included", Fill::None},
    {kErrDivisionByZero, "Division by zero", Fill::None},
    {kErrInvalidStringOperator, "Invalid string operator '%s'", Fill::Name},
    {kErrExtraElse, "Extra else statement", Fill::None},
    {kErrIllegalBreak, "Illegal break statement", Fill::None},
    {kErrStackOverflow, "Stack overflow", Fill::None},
    {kErrMissingParameter, "Parameter %d - Missing parameter value", Fill::Param},
    {kErrMissingValue, "Missing value", Fill::None},
    {kErrInvalidOperator, "Invalid operator '%s'", Fill::Name},
    {kErrInvalidValueType, "Invalid value type", Fill::None},
    {kErrNameAlreadyDefined, "%s - Name is already defined", Fill::Name},
    {kErrInvalidOption, "Invalid option", Fill::None},
    {kErrConstantByReference,
     "Parameter %d - Invalid constant value; must use a variable for a call by reference",
     Fill::Param},
};

// The record crosses the library boundary, so a field is read only up to its own size.
std::string_view Field(const char* field, std::size_t size) {
    const void* end = std::memchr(field, '\0', size);
    return {field, end ? static_cast<std::size_t>(static_cast<const char*>(end) - field) : size};
}

// Replaces the single placeholder (%s or %d) of `pattern` with `value`; no printf on record text.
std::string FillPlaceholder(std::string_view pattern, std::string_view value) {
    std::size_t at = pattern.find('%');
    if (at == std::string_view::npos) return std::string(pattern);
    std::string text(pattern.substr(0, at));
    text += value;
    text += pattern.substr(at + 2);
    return text;
}

}  // namespace

std::string FormatErrorMessage(int code, const ScriptResult& record) {
    for (const ErrorMessage& message : kMessages) {
        if (message.code != code) continue;
        switch (message.fill) {
        case Fill::None: return message.text;
        case Fill::Name:
            return FillPlaceholder(message.text, Field(record.name, sizeof record.name));
        case Fill::Call:
            return FillPlaceholder(message.text, Field(record.call, sizeof record.call));
        case Fill::Param: return FillPlaceholder(message.text, std::to_string(record.param));
        case Fill::MaxFileSize:
            return FillPlaceholder(message.text, std::to_string(kMaxScriptFileSize));
        }
    }
    return "Unknown error";
}

std::string FormatErrorReport(int code, const ScriptResult& record) {
    std::string text(Field(record.file, sizeof record.file));
    text += "\nline ";
    text += std::to_string(record.line);
    text += ": ";
    text += FormatErrorMessage(code, record);
    return text;
}
