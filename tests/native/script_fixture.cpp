#include "script_fixture.h"

#include <stdlib.h>

#include <fstream>

void ScriptTest::SetUp() {
    startDirectory_ = std::filesystem::current_path();
    std::string pattern = (std::filesystem::temp_directory_path() / "vexa_script_XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
}

void ScriptTest::TearDown() {
    // Every driver call must have put the directory back.
    EXPECT_EQ(std::filesystem::current_path(), startDirectory_);
    std::filesystem::current_path(startDirectory_);
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

std::string ScriptTest::PathOf(const std::string& relative) const {
    return (folder_ / relative).string();
}

std::string ScriptTest::Write(const std::string& relative, const std::string& text) {
    const std::filesystem::path path = folder_ / relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
}

int ScriptTest::Run(const std::string& relative, const char* entryCall, int strict) {
    platform_.ClearObservations();
    const std::string path = PathOf(relative);
    return RunScriptFile(platform_, nullptr, path.c_str(), entryCall, strict, record_);
}

int ScriptTest::Compile(const std::string& relative, int strict) {
    platform_.ClearObservations();
    const std::string path = PathOf(relative);
    return TestCompileScriptFile(platform_, nullptr, path.c_str(), strict, record_);
}

int ScriptTest::RunText(const std::string& text, const char* entryCall, int strict) {
    Write("main.vxs", text);
    return Run("main.vxs", entryCall, strict);
}

std::string ScriptTest::Box() const {
    EXPECT_LE(platform_.errorBoxes.size(), 1u);
    return platform_.errorBoxes.empty() ? std::string() : platform_.errorBoxes.back();
}
