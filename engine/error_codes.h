// Engine error codes. 0 is success, negative codes are errors; the message table and
// the report that turns a code and a ScriptResult into one message box live in error_report.cpp.
#pragma once
#include <string>

struct ScriptResult;

enum ErrorCode : int {
    kOk = 0,
    kErrLoad = -2,
    kErrTooBig = -3,
    kErrFunctionNotFound = -4,
    kErrSyntax = -5,
    kErrOutOfMemory = -6,
    kErrStringTooLong = -7,
    kErrMissingSemicolon = -8,
    kErrMissingParen = -9,
    kErrInvalidVariableType = -10,
    kErrInvalidVariableName = -11,
    kErrInvalidFunctionName = -12,
    kErrVariableAlreadyDefined = -13,
    kErrFunctionAlreadyDefined = -14,
    kErrMissingBrace = -15,
    kErrMissingCloseBrace = -16,
    kErrNewlineInConstant = -17,
    kErrBadFunctionCall = -18,
    kErrCancelled = -19,
    kErrParametersDontMatch = -20,
    kErrBadParameterValue = -22,
    kErrWrongType = -25,
    kErrNotDefined = -26,
    kErrInvalidReturnType = -27,
    kErrBadParameterType = -28,
    kErrBadSendKeysCode = -29,
    kErrIncludeFileName = -30,
    kErrExpectedNewline = -31,
    kErrAlreadyIncluded = -32,
    kErrDivisionByZero = -33,
    kErrInvalidStringOperator = -34,
    kErrExtraElse = -35,
    kErrIllegalBreak = -36,
    kErrStackOverflow = -37,
    kErrMissingParameter = -38,
    kErrMissingValue = -40,
    kErrInvalidOperator = -41,
    kErrInvalidValueType = -42,
    kErrNameAlreadyDefined = -43,
    kErrInvalidOption = -44,
    kErrConstantByReference = -45,
};

// What one statement tells the walker that runs it (ExecSignal): positive values are the
// interpreter's own control signals and never leave it; a negative result is an error code.
enum ExecSignal : int {
    kSignalNext = 0,
    kSignalReturn = 1,
    kSignalIfFalse = 2,
    kSignalRepeat = 5,
    kSignalIfTrue = 6,
    kSignalBreak = 7,
    kSignalExit = 9,
    kSignalWhileTrue = 10,
    kSignalWhileFalse = 11,
};

// The largest script or include file the loader accepts, in bytes.
constexpr int kMaxScriptFileSize = 1048576;

// The message of `code` with its placeholder filled from the record ("Unknown error" outside the
// table).
std::string FormatErrorMessage(int code, const ScriptResult& record);
// The full text of the error box: "<file>\nline <line>: <message>".
std::string FormatErrorReport(int code, const ScriptResult& record);
