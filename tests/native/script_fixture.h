// End-to-end script tests: each test writes its scripts into a fresh temporary folder and runs
// them through the real drivers (RunScriptFile / TestCompileScriptFile) with the fake host.
#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "driver.h"
#include "fake_platform.h"
#include "script_result.h"

class ScriptTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes `text` to `relative` under the test folder (folders are created); returns the path.
    std::string Write(const std::string& relative, const std::string& text);
    std::string PathOf(const std::string& relative) const;

    // Runs / test-compiles a script of the test folder with a fresh host and record.
    int Run(const std::string& relative, const char* entryCall = "main()", int strict = 0);
    int Compile(const std::string& relative, int strict = 0);
    // Writes "main.vxs" and runs it.
    int RunText(const std::string& text, const char* entryCall = "main()", int strict = 0);

    // The one error box shown, "" when none (a test fails if more than one was shown).
    std::string Box() const;

    std::filesystem::path folder_;
    std::filesystem::path startDirectory_;
    FakePlatform platform_;
    ScriptResult record_{};
};
