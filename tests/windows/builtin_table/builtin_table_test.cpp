// Every one of the 130 built-in names has a handler of its own, so no built-in answers
// "Function not found". Built from the engine's own sources so it can walk the table.
#include <gtest/gtest.h>

#include <string>

#include "builtin_table.h"

namespace {

TEST(BuiltinTable, EveryNameHasAHandler) {
    std::string missing;
    int count = 0;
    for (const BuiltinEntry& entry : kBuiltins) {
        if (entry.handler == nullptr || entry.handler == &BuiltinUnavailable) {
            missing += std::string(missing.empty() ? "" : ", ") + entry.name;
            ++count;
        }
    }
    EXPECT_EQ(count, 0) << "built-ins without a handler: " << missing;
}

TEST(BuiltinTable, HoldsTheHundredAndThirtyNamesOnce) {
    ASSERT_EQ(kBuiltinCount, 130);
    for (int i = 0; i < kBuiltinCount; ++i) {
        ASSERT_NE(kBuiltins[i].name, nullptr);
        EXPECT_EQ(FindBuiltin(kBuiltins[i].name, true), &kBuiltins[i]) << kBuiltins[i].name;
    }
}

}  // namespace
