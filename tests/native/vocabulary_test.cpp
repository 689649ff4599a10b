// Built-in names and predefined constants: table order, lookups under the name rule,
// the handler each family gets natively.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "builtin_table.h"
#include "core_test_support.h"
#include "error_codes.h"

namespace {

TEST(BuiltinTable, OrderAndSpelling) {
    EXPECT_STREQ(kBuiltins[0].name, "AppendFileString");
    EXPECT_STREQ(kBuiltins[1].name, "ASCII");
    EXPECT_STREQ(kBuiltins[33].name, "BrowseURL");
    EXPECT_STREQ(kBuiltins[89].name, "MessageBox");
    EXPECT_STREQ(kBuiltins[124].name, "VerifyActiveMDIWindowTitle");
    EXPECT_STREQ(kBuiltins[kBuiltinCount - 1].name, "WriteFileString");
    for (int i = 0; i < kBuiltinCount; ++i) {
        ASSERT_NE(kBuiltins[i].handler, nullptr) << kBuiltins[i].name;
        for (int j = i + 1; j < kBuiltinCount; ++j)
            EXPECT_FALSE(NamesEqual(kBuiltins[i].name, kBuiltins[j].name, false))
                << kBuiltins[i].name;
    }
}

TEST(BuiltinTable, FindUnderTheNameRule) {
    const BuiltinEntry* entry = FindBuiltin("strlen", true);
    ASSERT_NE(entry, nullptr);
    EXPECT_STREQ(entry->name, "strlen");
    entry = FindBuiltin("STRLEN", false);
    ASSERT_NE(entry, nullptr);
    EXPECT_STREQ(entry->name, "strlen");
    EXPECT_EQ(FindBuiltin("STRLEN", true), nullptr);
    EXPECT_EQ(FindBuiltin("exit", false), nullptr);
    EXPECT_EQ(FindBuiltin("", false), nullptr);
    EXPECT_TRUE(IsBuiltinName("ftpupload", false));
    EXPECT_FALSE(IsBuiltinName("ftpupload", true));
}

TEST(BuiltinTable, NativeHandlersOnlyForStrings) {
    const char* strings[] = {
        "ASCII",     "atoi", "Chr",           "FindString",  "IsEmpty", "itoa",   "LeftString",
        "MidString", "rand", "ReplaceString", "RightString", "strlen",  "strlwr", "strupr"};
    int available = 0;
    for (const BuiltinEntry& entry : kBuiltins) {
        bool isString = false;
        for (const char* name : strings) isString = isString || std::strcmp(name, entry.name) == 0;
        EXPECT_EQ(entry.handler != &BuiltinUnavailable, isString) << entry.name;
        available += entry.handler != &BuiltinUnavailable;
    }
    EXPECT_EQ(available, 14);
}

TEST(BuiltinTable, UnavailableCallNamesItself) {
    core_test::Evaluator evaluator;
    ScriptValue value;
    EXPECT_EQ(evaluator.Evaluate("1 + messagebox(\"hi\")", value), kErrFunctionNotFound);
    EXPECT_STREQ(evaluator.record.call, "MessageBox");
    EXPECT_EQ(FormatErrorMessage(kErrFunctionNotFound, evaluator.record),
              "MessageBox - Function not found");
}

TEST(Constants, IntegerValues) {
    const std::pair<const char*, int32_t> samples[] = {
        {"TRUE", 1},
        {"RAND_MAX", 32767},
        {"MB_ICONEXCLAMATION", 48},
        {"IDYES", 6},
        {"RSW_MOVE_UPPER_RIGHT", 96},
        {"INTERNET_SETTINGS_SUBMIT_NONENCRYPTED_FORM_DATA", 2},
    };
    for (auto [name, expected] : samples) {
        int32_t value = -99;
        EXPECT_TRUE(FindIntegerConstant(name, true, value)) << name;
        EXPECT_EQ(value, expected) << name;
    }
    int32_t value = 0;
    EXPECT_TRUE(FindIntegerConstant("true", false, value));
    EXPECT_FALSE(FindIntegerConstant("true", true, value));
    EXPECT_FALSE(FindIntegerConstant("NULL", false, value));
    EXPECT_FALSE(FindIntegerConstant("HKEY_USERS", false, value));
}

TEST(Constants, RootKeys) {
    const std::pair<const char*, uint32_t> keys[] = {
        {"HKEY_CLASSES_ROOT", 0x80000000u},     {"HKEY_CURRENT_USER", 0x80000001u},
        {"HKEY_LOCAL_MACHINE", 0x80000002u},    {"HKEY_USERS", 0x80000003u},
        {"HKEY_PERFORMANCE_DATA", 0x80000004u}, {"HKEY_CURRENT_CONFIG", 0x80000005u},
        {"HKEY_DYN_DATA", 0x80000006u},
    };
    for (auto [name, expected] : keys) {
        uint32_t handle = 0;
        EXPECT_TRUE(FindRootKey(name, true, handle)) << name;
        EXPECT_EQ(handle, expected) << name;
    }
    uint32_t handle = 0;
    EXPECT_TRUE(FindRootKey("hkey_current_user", false, handle));
    EXPECT_FALSE(FindRootKey("hkey_current_user", true, handle));
    EXPECT_FALSE(FindRootKey("HKEY", false, handle));
}

TEST(Constants, AreReservedNames) {
    for (const char* name : {"TRUE", "RAND_MAX", "MB_OK", "HKEY_USERS", "NULL", "strlen",
                             "MessageBox", "FtpUpload", "SW_SHOWNORMAL"})
        EXPECT_FALSE(IsValidName(name, false)) << name;
}

}  // namespace
