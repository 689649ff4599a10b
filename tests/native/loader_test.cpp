// The script loader against real files: sizes, empty and missing files, NUL bytes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "error_codes.h"
#include "loader.h"

namespace {

namespace fs = std::filesystem;

class LoaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("vexa_loader_" + std::to_string(::getpid()) + "_" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string Write(const std::string& name, const std::string& bytes) {
        fs::path path = folder_ / name;
        std::ofstream(path, std::ios::binary)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return path.string();
    }

    fs::path folder_;
};

TEST_F(LoaderTest, LoadsWholeFileAsBytes) {
    std::string bytes = "int main()\r\n{\r\n  return 0;\r\n}\r\n\xE4\xF6";
    std::string text = "stale";
    ASSERT_EQ(LoadScriptFile(Write("a.vxs", bytes), text), kOk);
    EXPECT_EQ(text, bytes);
}

TEST_F(LoaderTest, MissingAndEmptyFilesFail) {
    std::string text;
    EXPECT_EQ(LoadScriptFile((folder_ / "missing.vxs").string(), text), kErrLoad);
    EXPECT_EQ(LoadScriptFile(Write("empty.vxs", ""), text), kErrLoad);
    EXPECT_EQ(LoadScriptFile(folder_.string(), text), kErrLoad);
}

TEST_F(LoaderTest, MaximumSizeLoadsOneMoreByteIsTooBig) {
    std::string text;
    std::string exact(kMaxScriptFileSize, 'x');
    ASSERT_EQ(LoadScriptFile(Write("exact.vxs", exact), text), kOk);
    EXPECT_EQ(text.size(), static_cast<std::size_t>(kMaxScriptFileSize));
    EXPECT_EQ(LoadScriptFile(Write("over.vxs", exact + "y"), text), kErrTooBig);
    EXPECT_EQ(LoadScriptFile(Write("far.vxs", std::string(3 * kMaxScriptFileSize, 'z')), text),
              kErrTooBig);
}

TEST_F(LoaderTest, NulByteEndsTheText) {
    std::string text;
    ASSERT_EQ(LoadScriptFile(Write("nul.vxs", std::string("int x;\0garbage", 14)), text), kOk);
    EXPECT_EQ(text, "int x;");
    // A leading NUL leaves an empty text, but the file itself was not empty.
    ASSERT_EQ(LoadScriptFile(Write("lead.vxs", std::string("\0abc", 4)), text), kOk);
    EXPECT_EQ(text, "");
}

}  // namespace
