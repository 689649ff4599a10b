// Built-ins whose effect shows only from outside the script: files still open when a run
// ends are closed, environment values past the 511-character limit, and the registry's
// refusal to delete a whole hive through an empty path.
#include <gtest/gtest.h>

#include "support/engine_library.h"
#include "support/script_literal.h"

namespace {

using BuiltinStateTest = EngineTest;

TEST_F(BuiltinStateTest, FilesLeftOpenAreClosedWhenTheRunEnds) {
    std::string a = scratch_.File("a.txt"), b = scratch_.File("b.txt");
    ScriptRun run =
        Run("int main()\n{\n"
            "    HFILE f = OpenFile(" +
            ScriptLiteral(a) +
            ", FILE_CREATE | FILE_WRITE);\n"
            "    HFILE g = OpenFile(" +
            ScriptLiteral(b) +
            ", FILE_CREATE | FILE_WRITE);\n"
            "    WriteFileString(g, \"kept\");\n"
            "    if (!f || !g) return 1;\n"
            "    return 0;\n}\n");
    ASSERT_EQ(run.result, 0);
    // Exclusive opens succeed only when the engine holds no handle any more.
    for (const std::string& path : {a, b}) {
        HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        EXPECT_NE(file, INVALID_HANDLE_VALUE) << path << " is still open";
        if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    }
    EXPECT_EQ(ReadTextFile(b), "kept");
}

TEST_F(BuiltinStateTest, EnvironmentValuesOfOneTo511CharactersOnly) {
    std::string fits(511, 'x'), tooLong(512, 'y');
    SetEnvironmentVariableA("VEXA_H4_FITS", fits.c_str());
    SetEnvironmentVariableA("VEXA_H4_LONG", tooLong.c_str());
    SetEnvironmentVariableA("VEXA_H4_EMPTY", "");
    ScriptRun run =
        Run("int main()\n{\n"
            "    if (strlen(GetEnvironmentVariable(\"VEXA_H4_FITS\")) != 511) return 1;\n"
            "    if (GetEnvironmentVariable(\"VEXA_H4_LONG\") != \"\") return 2;\n"
            "    if (GetEnvironmentVariable(\"VEXA_H4_EMPTY\") != \"\") return 3;\n"
            "    return 0;\n}\n");
    SetEnvironmentVariableA("VEXA_H4_FITS", nullptr);
    SetEnvironmentVariableA("VEXA_H4_LONG", nullptr);
    SetEnvironmentVariableA("VEXA_H4_EMPTY", nullptr);
    EXPECT_EQ(run.result, 0);
}

// HKEY_CURRENT_USER is redirected to a scratch key for this process, so even a faulty
// engine could only empty the scratch key.
class RedirectedCurrentUser : public EngineTest {
protected:
    static constexpr const char* kScratch = "Software\\VexaTests\\H4Redirected";
    void SetUp() override {
        EngineTest::SetUp();
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kScratch, 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, &scratch_, nullptr),
                  ERROR_SUCCESS);
        HKEY child = nullptr;
        ASSERT_EQ(RegCreateKeyExA(scratch_, "survivor\\inner", 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, &child, nullptr),
                  ERROR_SUCCESS);
        RegCloseKey(child);
        if (RegOverridePredefKey(HKEY_CURRENT_USER, scratch_) != ERROR_SUCCESS)
            GTEST_SKIP() << "this system cannot redirect HKEY_CURRENT_USER";
        overridden_ = true;
    }
    void TearDown() override {
        EngineTest::TearDown();
        if (overridden_) RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        if (scratch_) RegCloseKey(scratch_);
        RegDeleteTreeA(HKEY_CURRENT_USER, kScratch);
    }
    HKEY scratch_ = nullptr;
    bool overridden_ = false;
};

TEST_F(RedirectedCurrentUser, EmptyPathNeverDeletesTheHive) {
    // First prove that the engine sees the redirection: its probe lands in the scratch key.
    ASSERT_EQ(
        Run("int main()\n{\n    return RegCreateKey(HKEY_CURRENT_USER, \"probe\");\n}\n").result,
        1);
    HKEY probe = nullptr;
    ASSERT_EQ(RegOpenKeyExA(scratch_, "probe", 0, KEY_READ, &probe), ERROR_SUCCESS);
    RegCloseKey(probe);

    ScriptRun run =
        Run("int main()\n{\n"
            "    if (RegDeleteKey(HKEY_CURRENT_USER, \"\") != 0) return 1;\n"
            "    if (RegDeleteKey(HKEY_CURRENT_USER, \"\\\\\") != 0) return 2;\n"
            "    return 0;\n}\n");
    EXPECT_EQ(run.result, 0);
    HKEY survivor = nullptr;
    EXPECT_EQ(RegOpenKeyExA(scratch_, "survivor\\inner", 0, KEY_READ, &survivor), ERROR_SUCCESS);
    if (survivor) RegCloseKey(survivor);
}

// Makes `path` a sparse file as long as the file system allows, so nothing more can be written
// at its end: the write fails the way it does on a full disk. False when sizes are not settable.
bool FillToTheLargestSize(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    auto settable = [file](LONGLONG size) {
        LARGE_INTEGER at;
        at.QuadPart = size;
        return SetFilePointerEx(file, at, nullptr, FILE_BEGIN) && SetEndOfFile(file);
    };
    // Bit by bit from the top: the largest length the file system accepts.
    LONGLONG largest = 0;
    for (int bit = 62; bit >= 0; --bit) {
        if (settable(largest | (1ll << bit))) largest |= 1ll << bit;
    }
    bool ok = largest > 0 && settable(largest);
    CloseHandle(file);
    return ok;
}

// A failed append answers 0 and leaves the file unlocked: the exclusive handle is closed on the
// failing path too, not only when the run or the host ends.
TEST_F(BuiltinStateTest, FailedAppendLeavesTheFileUnlocked) {
    const std::string full = scratch_.File("full.bin");
    ASSERT_TRUE(FillToTheLargestSize(full));
    ScriptRun run =
        Run("int main()\n{\n"
            "    if (AppendFileString(" +
            ScriptLiteral(full) +
            ", \"line\") != 0) return 1;\n"
            "    if (AppendFileString(\"ok.txt\", \"line\") != 1) return 2;\n"
            "    return 0;\n}\n");
    EXPECT_EQ(run.result, 0);
    HANDLE file = CreateFileA(full.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              0, nullptr);
    EXPECT_NE(file, INVALID_HANDLE_VALUE) << "the engine still holds the file";
    if (file != INVALID_HANDLE_VALUE) {
        SetEndOfFile(file);  // back to length 0 before the scratch folder goes
        CloseHandle(file);
    }
}

// A text read from a file may hold NUL bytes; the system would stop at the first one and name
// another file or key. Every built-in that hands such a text to the system refuses it.
TEST_F(BuiltinStateTest, TextsWithANulNameNothingOfTheSystem) {
    static constexpr const char* kKey = "Software\\VexaTests\\NulNames";
    const std::string victim = scratch_.File("victim");
    ASSERT_TRUE(WriteTextFile(victim, "IMPORTANT DATA"));
    ASSERT_TRUE(CreateDirectoryA(scratch_.File("folder").c_str(), nullptr));
    // "victim\0.bak", "folder\0.bak" and "Run\0 me" each on a line of their own.
    const std::string names("victim\0.bak\nfolder\0.bak\nRun\0 me\n", 31);
    ASSERT_TRUE(WriteTextFile(scratch_.File("names.txt"), names));
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(key, "victim", 0, REG_SZ, reinterpret_cast<const BYTE*>("kept"), 5),
              ERROR_SUCCESS);
    const std::string scriptKey = ScriptLiteral(kKey);
    // A window titled with the text before the NUL, which a shortened title would find.
    HWND shorter = CreateWindowExA(0, "STATIC", "victim", WS_POPUP | WS_VISIBLE, 0, 0, 20, 20,
                                   nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(shorter, nullptr);
    ScriptRun run =
        Run("int main()\n{\n"
            "    HFILE f = OpenFile(\"names.txt\");\n"
            "    string file = ReadFileString(f);\n"
            "    string folder = ReadFileString(f);\n"
            "    string command = ReadFileString(f);\n"
            "    CloseFile(f);\n"
            "    if (file == \"victim\" || strlen(file) != 11) return 1;\n"
            "    if (DeleteFile(file) != 0) return 2;\n"
            "    if (FileExists(file) != 0 || GetFileSize(file) != -1) return 3;\n"
            "    if (GetFileAttributes(file) != -1 || SetFileAttributes(file, 1) != 0) return 4;\n"
            "    if (AppendFileString(file, \"x\") != 0) return 5;\n"
            "    if (OpenFile(file, FILE_CREATE | FILE_WRITE) != NULL) return 6;\n"
            "    if (CopyFile(\"names.txt\", file) != 0 || MoveFile(\"names.txt\", file) != 0) "
            "return 7;\n"
            "    if (CreateFile(file) != 0 || GetFileTimeString(file) != \"\") return 8;\n"
            "    if (DeleteFolder(folder) != 0 || FolderExists(folder) != 0) return 9;\n"
            "    if (CreateFolder(folder + \"\\\\sub\", 1) != 0) return 10;\n"
            "    if (GetFolderListing(folder) != \"\") return 11;\n"
            "    if (RegDeleteKeyValue(HKEY_CURRENT_USER, " +
            scriptKey +
            ", file) != 0) return 12;\n"
            "    if (RegSetKeyValueString(HKEY_CURRENT_USER, " +
            scriptKey +
            ", file, \"lost\") != 0) return 13;\n"
            "    if (RegGetKeyValueString(HKEY_CURRENT_USER, " +
            scriptKey +
            ", file, \"fallback\") != \"fallback\") return 14;\n"
            "    if (RegCreateKey(HKEY_CURRENT_USER, " +
            scriptKey +
            " + \"\\\\\" + file) != 0) return 15;\n"
            "    if (RegDeleteKey(HKEY_CURRENT_USER, " +
            scriptKey +
            " + \"\\\\\" + folder) != 0) return 16;\n"
            "    if (Run(command) != 0 || RunWait(command) != 0) return 17;\n"
            "    if (GetEnvironmentVariable(\"TEMP\" + command) != \"\") return 18;\n"
            "    if (FindWindow(\"\", \"victim\") != 1) return 19;\n"
            "    if (FindWindow(\"\", file) != 0 || SetForegroundWindow(\"\", file) != 0) return 20;\n"
            "    if (WaitWindowTitleVisible(file, 300) != 0) return 21;\n"
            // Bad-parameter code, before any connection (a closed port would give another).
            "    if (FtpDownload(\"127.0.0.1:1\", \"\", \"x\", file, \"\", \"\", 2) != -1)"
            " return 22;\n"
            "    if (DownloadUrl(\"http://127.0.0.1:1/x\", file) != -1) return 23;\n"
            "    return 100;\n}\n");
    DestroyWindow(shorter);
    EXPECT_EQ(run.result, 100);
    EXPECT_EQ(ReadTextFile(victim), "IMPORTANT DATA");
    EXPECT_NE(GetFileAttributesA(scratch_.File("folder").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesA(scratch_.File("folder\\sub").c_str()), INVALID_FILE_ATTRIBUTES);
    char value[16] = {};
    DWORD size = sizeof value;
    EXPECT_EQ(
        RegQueryValueExA(key, "victim", nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size),
        ERROR_SUCCESS);
    EXPECT_STREQ(value, "kept");
    HKEY child = nullptr;
    EXPECT_NE(RegOpenKeyExA(key, "victim", 0, KEY_READ, &child), ERROR_SUCCESS);
    if (child) RegCloseKey(child);
    RegCloseKey(key);
    RegDeleteTreeA(HKEY_CURRENT_USER, kKey);
}

}  // namespace
