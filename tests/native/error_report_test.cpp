// The message table and the text of the error box.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "error_codes.h"
#include "script_result.h"

namespace {

ScriptResult Record() {
    ScriptResult record{};
    ResetResult(record);
    SetResultName(record, "");
    return record;
}

TEST(ErrorMessages, FixedTexts) {
    ScriptResult record = Record();
    const std::pair<int, const char*> fixed[] = {
        {-2, "Error loading script file"},
        {-5, "Syntax error"},
        {-6, "Out of memory"},
        {-7, "String too long"},
        {-8, "Missing ';'"},
        {-9, "Missing '('"},
        {-15, "Missing '{'"},
        {-16, "Missing '}'"},
        {-17, "Newline in constant, missing \""},
        {-20, "Parameters don't match"},
        {-27, "Invalid function return type"},
        {-30, "#include expected a file name"},
        {-31, "Unexpected text - Expected a newline"},
        {-32, "Script file already included"},
        {-33, "Division by zero"},
        {-35, "Extra else statement"},
        {-36, "Illegal break statement"},
        {-37, "Stack overflow"},
        {-40, "Missing value"},
        {-42, "Invalid value type"},
        {-44, "Invalid option"},
    };
    for (auto [code, text] : fixed) EXPECT_EQ(FormatErrorMessage(code, record), text) << code;
}

TEST(ErrorMessages, NamePlaceholders) {
    ScriptResult record = Record();
    SetResultName(record, "x");
    SetResultCall(record, "not used");
    const std::pair<int, const char*> named[] = {
        {-10, "x - Invalid variable type"},    {-11, "x - Invalid variable name"},
        {-12, "x - Invalid function name"},    {-13, "x - Variable already defined"},
        {-14, "x - Function already defined"}, {-25, "x - Variable is the wrong type"},
        {-26, "x - Variable not defined"},     {-29, "{x} - Bad SendKeys special code"},
        {-34, "Invalid string operator 'x'"},  {-41, "Invalid operator 'x'"},
        {-43, "x - Name is already defined"},
    };
    for (auto [code, text] : named) EXPECT_EQ(FormatErrorMessage(code, record), text) << code;
    // Operators and codes are quoted as text, never as a format.
    SetResultName(record, "%s%d%n");
    EXPECT_EQ(FormatErrorMessage(-34, record), "Invalid string operator '%s%d%n'");
}

TEST(ErrorMessages, CallPlaceholders) {
    ScriptResult record = Record();
    SetResultCall(record, "main(1, 2)");
    SetResultName(record, "ignored");
    EXPECT_EQ(FormatErrorMessage(-4, record), "main(1, 2) - Function not found");
    EXPECT_EQ(FormatErrorMessage(-18, record), "main(1, 2) - Bad function call");
}

TEST(ErrorMessages, ParameterPlaceholders) {
    ScriptResult record = Record();
    record.param = 3;
    EXPECT_EQ(FormatErrorMessage(-22, record), "Parameter 3 - Bad parameter value");
    EXPECT_EQ(FormatErrorMessage(-28, record), "Parameter 3 - Bad parameter type");
    EXPECT_EQ(FormatErrorMessage(-38, record), "Parameter 3 - Missing parameter value");
    EXPECT_EQ(FormatErrorMessage(-45, record),
              "Parameter 3 - Invalid constant value; must use a variable for a call by reference");
}

TEST(ErrorMessages, TooBigNamesTheMaximum) {
    ScriptResult record = Record();
    record.param = 7;
    EXPECT_EQ(FormatErrorMessage(-3, record),
              "Script file too big; the maximum file size is 1048576 bytes");
}

TEST(ErrorMessages, UnknownCodes) {
    ScriptResult record = Record();
    for (int code : {-1, -21, -23, -24, -39, -46, -1000, 1, 7})
        EXPECT_EQ(FormatErrorMessage(code, record), "Unknown error") << code;
}

TEST(ErrorReport, HeaderWithFileAndLine) {
    ScriptResult record = Record();
    SetResultFile(record, "C:\\scripts\\a.vxs");
    record.line = 7;
    SetResultName(record, "x");
    EXPECT_EQ(FormatErrorReport(-26, record),
              "C:\\scripts\\a.vxs\nline 7: x - Variable not defined");
    // A load error has reached no line.
    record.line = -1;
    EXPECT_EQ(FormatErrorReport(-2, record),
              "C:\\scripts\\a.vxs\nline -1: Error loading script file");
}

TEST(ErrorReport, UnterminatedFieldsAreReadWithinTheirSize) {
    // The record comes from the caller: fields without their NUL must not be read past.
    ScriptResult record;
    std::memset(&record, 'z', sizeof record);
    record.line = 2;
    std::string report = FormatErrorReport(-26, record);
    EXPECT_EQ(report, std::string(260, 'z') + "\nline 2: " + std::string(256, 'z') +
                          " - Variable not defined");
}

TEST(ResultRecord, ResetKeepsName) {
    ScriptResult record;
    std::memset(&record, 'q', sizeof record);
    SetResultName(record, "kept");
    ResetResult(record);
    EXPECT_STREQ(record.file, "");
    EXPECT_STREQ(record.call, "");
    EXPECT_EQ(record.line, -1);
    EXPECT_EQ(record.param, 0);
    EXPECT_STREQ(record.name, "kept");
}

TEST(ResultRecord, CopiesAreBounded) {
    ScriptResult record{};
    ResetResult(record);
    record.line = 5;
    SetResultFile(record, std::string(1000, 'f'));
    SetResultCall(record, std::string(1000, 'c'));
    SetResultName(record, std::string(1000, 'n'));
    EXPECT_EQ(std::strlen(record.file), 259u);
    EXPECT_EQ(std::strlen(record.call), 255u);
    EXPECT_EQ(std::strlen(record.name), 255u);
    EXPECT_EQ(record.line, 5);
    SetResultName(record, "");
    EXPECT_STREQ(record.name, "");
}

}  // namespace
