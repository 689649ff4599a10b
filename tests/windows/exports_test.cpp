// The library boundary: the seven exports by name and ordinal, the load errors with their one
// error box, the Strict setting, and the record the caller gets back.
#include <gtest/gtest.h>

#include "dialog_catcher.h"
#include "support/engine_library.h"

namespace {

constexpr int kMaxSize = 1048576;

const char* const kExportNames[] = {
    "VexEngVersion",         "VexEngRunScriptFile",          "VexEngTestCompileScriptFile",
    "VexEngRunScriptFileEx", "VexEngTestCompileScriptFile2", "VexEngRunScriptFile2",
    "VexEngRunScriptFileEx2"};

// Answers the engine's error boxes with OK and keeps them for inspection.
DialogAnswer AnswerErrorBoxes() {
    return [](const CaughtDialog& d) { return d.messageBox ? IDOK : 0; };
}

// Sets HKCU\Software\Vexa\Vexa Script\Settings\Strict for one test and puts the old state back.
class StrictSetting {
public:
    StrictSetting() {
        RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_,
                        nullptr);
        DWORD size = sizeof(old_);
        hadValue_ =
            RegQueryValueExA(key_, "Strict", nullptr, &oldType_, old_, &size) == ERROR_SUCCESS;
        oldSize_ = size;
    }
    ~StrictSetting() {
        if (hadValue_)
            RegSetValueExA(key_, "Strict", 0, oldType_, old_, oldSize_);
        else
            RegDeleteValueA(key_, "Strict");
        RegCloseKey(key_);
    }
    void Set(DWORD value) {
        RegSetValueExA(key_, "Strict", 0, REG_DWORD, reinterpret_cast<BYTE*>(&value),
                       sizeof(value));
    }
    void SetText(const char* text) {
        RegSetValueExA(key_, "Strict", 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                       static_cast<DWORD>(strlen(text) + 1));
    }
    void Remove() { RegDeleteValueA(key_, "Strict"); }

private:
    static constexpr const char* kKey = "Software\\Vexa\\Vexa Script\\Settings";
    HKEY key_ = nullptr;
    bool hadValue_ = false;
    DWORD oldType_ = 0, oldSize_ = 0;
    BYTE old_[256] = {};
};

class ExportsTest : public EngineTest {};

TEST_F(ExportsTest, SevenExportsByNameAndOrdinalAndVersionOne) {
    const EngineLibrary& engine = EngineLibrary::Get();
    for (int ordinal = 1; ordinal <= 7; ++ordinal) {
        FARPROC byOrdinal = GetProcAddress(engine.module, MAKEINTRESOURCEA(ordinal));
        FARPROC byName = GetProcAddress(engine.module, kExportNames[ordinal - 1]);
        ASSERT_NE(byOrdinal, nullptr) << ordinal;
        EXPECT_EQ(byOrdinal, byName) << kExportNames[ordinal - 1];
    }
    EXPECT_EQ(GetProcAddress(engine.module, MAKEINTRESOURCEA(8)), nullptr);
    EXPECT_EQ(engine.Version(), 1);
}

TEST_F(ExportsTest, MissingScriptShowsOneBoxWithThePathAndLineMinusOne) {
    DialogCatcher catcher(AnswerErrorBoxes());
    const std::string path = scratch_.File("no such script.vxs");
    ScriptResult record{};
    strcpy(record.name, "kept");
    EXPECT_EQ(EngineLibrary::Get().RunScriptFileEx(nullptr, path.c_str(), "main()", &record), -2);
    EXPECT_EQ(std::string(record.file), path);
    EXPECT_EQ(record.line, -1);
    EXPECT_EQ(record.param, 0);
    EXPECT_EQ(std::string(record.name), "kept") << "the entry points leave name as it was";
    Sleep(200);  // a second box would show up by now
    std::vector<CaughtDialog> boxes = catcher.caught();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Vexa Script");
    EXPECT_EQ(boxes[0].text, path + "\nline -1: Error loading script file");
    EXPECT_EQ(boxes[0].icon, MB_ICONEXCLAMATION);
    EXPECT_EQ(boxes[0].buttonIds, (std::vector<int>{IDOK}));
}

TEST_F(ExportsTest, FileSizeLimitAndEmptyFile) {
    DialogCatcher catcher(AnswerErrorBoxes());
    const std::string script = "int main() { return 7; }\n";
    std::string atLimit = script + "//" + std::string(kMaxSize - script.size() - 3, 'x') + "\n";
    ASSERT_EQ(atLimit.size(), static_cast<size_t>(kMaxSize));
    EXPECT_EQ(Run(atLimit).result, 7) << "a file of exactly 1,048,576 bytes loads";

    ScriptRun tooBig = Run(atLimit + "\n");
    EXPECT_EQ(tooBig.result, -3);
    EXPECT_EQ(tooBig.record.line, -1);
    EXPECT_EQ(std::string(tooBig.record.file), ScriptPath());

    ScriptRun empty = Run("");
    EXPECT_EQ(empty.result, -2);
    EXPECT_EQ(empty.record.line, -1);

    Sleep(200);
    std::vector<CaughtDialog> boxes = catcher.caught();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(
        boxes[0].text,
        ScriptPath() + "\nline -1: Script file too big; the maximum file size is 1048576 bytes");
    EXPECT_EQ(boxes[1].text, ScriptPath() + "\nline -1: Error loading script file");
}

TEST_F(ExportsTest, RunsThroughEveryOrdinalWithAndWithoutRecord) {
    const EngineLibrary& engine = EngineLibrary::Get();
    ASSERT_TRUE(WriteTextFile(
        ScriptPath(),
        "int main(string a) { return strlen(a); }\nint twice(int n) { return n * 2; }\n"));
    const std::string scriptPath = ScriptPath();
    const char* path = scriptPath.c_str();
    ScriptResult record{};
    EXPECT_EQ(engine.RunScriptFile(nullptr, path, "main(\"abc\")"), 3);
    EXPECT_EQ(engine.RunScriptFileEx(nullptr, path, "twice(21)", &record), 42);
    EXPECT_EQ(engine.RunScriptFile2(nullptr, path, "main(\"abcd\")", 1), 4);
    EXPECT_EQ(engine.RunScriptFileEx2(nullptr, path, "twice(5)", 0, &record), 10);
    EXPECT_EQ(engine.TestCompileScriptFile(nullptr, path, &record), 0);
    EXPECT_EQ(engine.TestCompileScriptFile2(nullptr, path, 1, &record), 0);
    // A caller that passes no record (or null texts) gets errors, not a crash.
    DialogCatcher catcher(AnswerErrorBoxes());
    EXPECT_EQ(engine.RunScriptFileEx(nullptr, path, "twice(6)", nullptr), 12);
    EXPECT_EQ(engine.TestCompileScriptFile2(nullptr, path, 0, nullptr), 0);
    EXPECT_EQ(engine.RunScriptFileEx2(nullptr, nullptr, "main()", 0, &record), -2);
    EXPECT_EQ(engine.RunScriptFileEx2(nullptr, path, nullptr, 0, &record), -18);
}

TEST_F(ExportsTest, StrictSettingIsReadByTheRunsWithoutStrictArgumentOnly) {
    StrictSetting setting;
    DialogCatcher catcher(AnswerErrorBoxes());
    const EngineLibrary& engine = EngineLibrary::Get();
    // STRLEN is the built-in strlen only when names ignore case; x = 5 at file level is an implicit
    // global, which strict compiling refuses.
    ASSERT_TRUE(WriteTextFile(ScriptPath(), "x = 5;\nint main() { return STRLEN(\"ab\") + x; }\n"));
    const std::string scriptPath = ScriptPath();
    const char* path = scriptPath.c_str();
    ScriptResult record{};

    setting.Set(1);
    EXPECT_EQ(engine.RunScriptFileEx(nullptr, path, "main()", &record), -5);
    EXPECT_EQ(engine.RunScriptFile(nullptr, path, "main()"), -5);
    EXPECT_EQ(engine.TestCompileScriptFile(nullptr, path, &record), 0)
        << "ordinal 3 always compiles lax";
    EXPECT_EQ(engine.RunScriptFile2(nullptr, path, "main()", 0), 7) << "an explicit flag wins";
    EXPECT_EQ(engine.TestCompileScriptFile2(nullptr, path, 1, &record), -5);

    setting.Set(0);
    EXPECT_EQ(engine.RunScriptFileEx(nullptr, path, "main()", &record), 7);
    setting.Remove();
    EXPECT_EQ(engine.RunScriptFileEx(nullptr, path, "main()", &record), 7)
        << "missing value: not strict";
    setting.SetText("1");
    EXPECT_EQ(engine.RunScriptFileEx(nullptr, path, "main()", &record), 7)
        << "unreadable value: not strict";
    EXPECT_EQ(catcher.count(), 3u);
}

TEST_F(ExportsTest, ErrorInTheRunNamesFileLineAndQuotedName) {
    DialogCatcher catcher(AnswerErrorBoxes());
    ScriptRun run = Run("int main()\n{\n    int a;\n    a = missing + 1;\n    return a;\n}\n");
    EXPECT_EQ(run.result, -26);
    EXPECT_EQ(std::string(run.record.file), ScriptPath());
    EXPECT_EQ(run.record.line, 4);
    EXPECT_EQ(std::string(run.record.name), "missing");
    ASSERT_TRUE(catcher.WaitFor(1, 1000));
    EXPECT_EQ(catcher.caught()[0].text, ScriptPath() + "\nline 4: missing - Variable not defined");
}

}  // namespace
