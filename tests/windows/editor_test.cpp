// vexedit.exe as a separate process under Wine: run mode and its exit code, the switch rules, the
// entry call of run mode, the settings store (registry or vexedit.ini with /n), and the frame's
// commands driven through its real window.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <mutex>

#include "dialog_catcher.h"
#include "support/engine_library.h"

void QuietEditorStartup();  // support/editor_session.cpp

namespace {

const char kAppKey[] = "Software\\Vexa\\Vexa Script";
const char kSettingsKey[] = "Software\\Vexa\\Vexa Script\\Settings";
const char kClassesKey[] = "Software\\Classes\\.vxs";

// Command identifiers of the editor's menus.
const int kFileNew = 0xE100, kFileOpen = 0xE101, kAppAbout = 0xE140, kFirstRecentFile = 0xE110;
const int kBuildStrict = 32776, kViewFont = 32777;

// A control's text read through WM_GETTEXT, which crosses processes (a combo box keeps its text
// in its edit, not in its caption).
std::string TextOf(HWND control) {
    char text[256] = {};
    SendMessageA(control, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
    return text;
}

// Wine has no Courier New of its own; a replacement family makes the editor's default font exist,
// as it does on Windows.
void ProvideCourierNew() {
    const char family[] = "DejaVu Sans Mono";
    RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Wine\\Fonts\\Replacements", "Courier New", REG_SZ,
                    family, sizeof(family));
}

void RemoveEditorKeys() {
    RegDeleteTreeA(HKEY_CURRENT_USER, kAppKey);
    RegDeleteTreeA(HKEY_CURRENT_USER, kClassesKey);
}

bool KeyExists(const char* path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

// -1 when the value is absent.
long ReadSettingInt(const char* name) {
    DWORD value = 0, size = sizeof(value);
    if (RegGetValueA(HKEY_CURRENT_USER, kSettingsKey, name, RRF_RT_REG_DWORD, nullptr, &value,
                     &size) != ERROR_SUCCESS)
        return -1;
    return static_cast<long>(value);
}

std::string ReadRegistryString(const char* key, const char* name) {
    char text[1024] = {};
    DWORD size = sizeof(text);
    if (RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, text, &size) !=
        ERROR_SUCCESS)
        return "<absent>";
    return text;
}

void WriteSetting(const char* name, DWORD value) {
    RegSetKeyValueA(HKEY_CURRENT_USER, kSettingsKey, name, REG_DWORD, &value, sizeof(value));
}

// Answers the editor's questions with No (so "Save changes" never blocks a close) and any other
// box with its default.
int AnswerNo(const CaughtDialog& dialog) {
    for (size_t i = 0; i < dialog.buttons.size(); ++i)
        if (dialog.buttons[i] == "&No") return dialog.buttonIds[i];
    return AnswerDefault(dialog);
}

// The editor's main window of `processId`, by its class name; null when none.
HWND EditorFrame(DWORD processId) {
    char name[64];
    return FindTopWindow(processId, [&](HWND window) {
        return GetClassNameA(window, name, sizeof(name)) > 0 && std::string(name) == "VexaScript";
    });
}

// A copy of the editor and the engine in a scratch folder, so vexedit.ini of /n lands there.
class EditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        RemoveEditorKeys();
        QuietEditorStartup();
        ASSERT_TRUE(CopyInto(BinaryDir() + "\\vexedit.exe", dir_.path()));
        ASSERT_TRUE(CopyInto(BinaryDir() + "\\vexeng.dll", dir_.path()));
    }
    void TearDown() override { RemoveEditorKeys(); }

    std::string Program() const { return "\"" + dir_.File("vexedit.exe") + "\""; }

    // Runs the editor with `arguments` until it ends; the engine's boxes get their default answer.
    // `runningOwner` receives the class of the running-script window's owner ("" for none), as
    // seen from the engine's error box.
    long RunEditor(const std::string& arguments, std::vector<CaughtDialog>* boxes = nullptr,
                   bool* frameShown = nullptr, std::string* runningOwner = nullptr) {
        StartedProcess process;
        if (!StartProcess(Program() + " " + arguments, dir_.path(), process)) return -2000;
        DialogCatcher catcher(
            [&](const CaughtDialog& dialog) {
                // While the engine's box is up, the editor's own frame stays hidden.
                if (frameShown)
                    *frameShown = *frameShown || IsWindowVisible(EditorFrame(process.id));
                if (!dialog.messageBox) return 0;  // the running window is never answered
                // The engine's box belongs to the running window, which belongs to the parent.
                if (runningOwner) {
                    char name[64] = {};
                    HWND running = GetWindow(dialog.hwnd, GW_OWNER);
                    if (HWND owner = running ? GetWindow(running, GW_OWNER) : nullptr)
                        GetClassNameA(owner, name, sizeof(name));
                    *runningOwner = name;
                }
                return AnswerDefault(dialog);
            },
            process.id);
        long code = WaitExit(process, 30000);
        // An editor that did not end would hold the runner's output open.
        if (code == -1000) TerminateProcess(process.process, 1);
        if (boxes) {
            boxes->clear();
            for (const CaughtDialog& dialog : catcher.caught())
                if (dialog.messageBox) boxes->push_back(dialog);
        }
        return code;
    }

    ScratchDir dir_;
};

// An editor session with a visible frame: started in the constructor, closed in the destructor.
class EditorSession {
public:
    EditorSession(const std::string& commandLine, const std::string& folder,
                  DialogAnswer answer = nullptr) {
        if (answer) answer_ = std::move(answer);
        started_ = StartProcess(commandLine, folder, process_);
        if (started_) catcher_ = std::make_unique<DialogCatcher>(answer_, process_.id);
        WaitUntil(
            [&] {
                frame_ = Frame();
                return frame_ && IsWindowVisible(frame_);
            },
            20000);
    }
    ~EditorSession() {
        if (!started_) return;
        if (frame_ && IsWindow(frame_)) PostMessageA(frame_, WM_CLOSE, 0, 0);
        if (WaitExit(process_, 15000) == -1000) TerminateProcess(process_.process, 1);
    }

    HWND frame() const { return frame_; }
    long WaitForExit() { return WaitExit(process_, 15000); }
    void Command(int id) { PostMessageA(frame_, WM_COMMAND, id, 0); }
    bool WaitCaption(const std::string& caption) {
        return WaitUntil([&] { return WindowText(frame_) == caption; }, 10000);
    }
    std::string Caption() const { return WindowText(frame_); }
    // Captions of the script windows inside the frame.
    std::vector<std::string> ChildCaptions() const {
        std::vector<std::string> captions;
        HWND client = FindWindowExA(frame_, nullptr, "MDIClient", nullptr);
        for (HWND child = GetWindow(client, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            captions.push_back(WindowText(child));
        return captions;
    }
    // The view of the active script.
    HWND View() const {
        HWND client = FindWindowExA(frame_, nullptr, "MDIClient", nullptr);
        HWND child = reinterpret_cast<HWND>(SendMessageA(client, WM_MDIGETACTIVE, 0, 0));
        return child ? GetWindow(child, GW_CHILD) : nullptr;
    }
    // Waits for a dialog of the editor with `caption`, left open by the catcher.
    HWND WaitDialog(const std::string& caption) {
        HWND found = nullptr;
        WaitUntil(
            [&] {
                for (const CaughtDialog& d : catcher_->caught())
                    if (d.caption == caption && IsWindow(d.hwnd)) found = d.hwnd;
                return found != nullptr;
            },
            10000);
        return found;
    }
    static std::string WindowText(HWND window) {
        char text[512] = {};
        GetWindowTextA(window, text, sizeof(text));
        return text;
    }

private:
    HWND Frame() const { return EditorFrame(process_.id); }

    StartedProcess process_;
    bool started_ = false;
    HWND frame_ = nullptr;
    // Dialogs named here stay open for the test; every other one gets No or its default.
    DialogAnswer answer_ = [](const CaughtDialog& dialog) {
        if (dialog.caption == "Open" || dialog.caption == "Font" ||
            dialog.caption == "About Vexa Script")
            return 0;
        return AnswerNo(dialog);
    };
    std::unique_ptr<DialogCatcher> catcher_;
};

TEST_F(EditorTest, RunModeExitCodeIsTheScriptResultAndStrictFollowsTheSwitches) {
    ASSERT_TRUE(WriteTextFile(dir_.File("seven.vxs"), "int main()\n{\n    return 7;\n}\n"));
    // Fine while lax; strict refuses the undeclared variable.
    ASSERT_TRUE(WriteTextFile(dir_.File("lax.vxs"), "x = 5;\nint main() { return x; }\n"));

    std::vector<CaughtDialog> boxes;
    bool frameShown = false;
    EXPECT_EQ(RunEditor("/r seven.vxs", &boxes, &frameShown), 7);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(RunEditor("/r /h seven.vxs"), 7) << "no parent window changes nothing else";
    EXPECT_EQ(RunEditor("/r lax.vxs"), 5);
    EXPECT_EQ(RunEditor("/r/l lax.vxs"), 5);

    std::string owner = "?";
    EXPECT_EQ(RunEditor("/r /s lax.vxs", &boxes, &frameShown, &owner), -5);
    EXPECT_EQ(owner, "VexaScript") << "the hidden main frame is the engine's parent";
    ASSERT_EQ(boxes.size(), 1u) << "the engine shows its error, the editor adds nothing";
    EXPECT_NE(boxes[0].text.find("Syntax error"), std::string::npos) << boxes[0].text;
    EXPECT_FALSE(frameShown) << "run mode never shows the editor";
    EXPECT_EQ(RunEditor("/r /l /s lax.vxs", &boxes), -5) << "/s wins over /l";
    owner = "?";
    EXPECT_EQ(RunEditor("/r /h /s lax.vxs", &boxes, nullptr, &owner), -5);
    EXPECT_EQ(owner, "") << "/h: no parent window";

    // The Strict setting counts unless a switch overrides it.
    WriteSetting("Strict", 1);
    EXPECT_EQ(RunEditor("/r lax.vxs", &boxes), -5);
    EXPECT_EQ(RunEditor("/r /l lax.vxs"), 5);
    EXPECT_EQ(RunEditor("/r /h /c missing.vxs", &boxes), -2) << "a missing script: load error";
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_FALSE(KeyExists(kClassesKey)) << "run mode registers no file type";
}

TEST_F(EditorTest, WithoutTheEngineTheEditorDoesNotStart) {
    ScratchDir alone;
    ASSERT_TRUE(CopyInto(BinaryDir() + "\\vexedit.exe", alone.path()));
    ASSERT_TRUE(WriteTextFile(alone.File("seven.vxs"), "int main() { return 7; }\n"));
    StartedProcess process;
    ASSERT_TRUE(
        StartProcess("\"" + alone.File("vexedit.exe") + "\" /r seven.vxs", alone.path(), process));
    long code = WaitExit(process, 30000);
    EXPECT_NE(code, 7);
    EXPECT_NE(code, -1000) << "it must not hang";
    EXPECT_EQ(EditorFrame(process.id), nullptr);
}

TEST_F(EditorTest, RunModeBuildsTheEntryCallFromTheArguments) {
    const std::string folder = dir_.File("My Scripts");
    CreateDirectoryA(folder.c_str(), nullptr);
    // Each script appends what it received to out.txt beside itself and returns a count.
    ASSERT_TRUE(WriteTextFile(folder + "\\a.vxs",
                              "int main(string a, string b, string c)\n{\n"
                              "    AppendFileString(\"out.txt\", a + \"|\" + b + \"|\" + c);\n"
                              "    return 3;\n}\n"));
    ASSERT_TRUE(WriteTextFile(dir_.File("say.vxs"),
                              "int main(string a)\n{\n"
                              "    AppendFileString(\"out.txt\", a);\n    return 1;\n}\n"));
    ASSERT_TRUE(WriteTextFile(dir_.File("script.vxs"), "int main() { return 12; }\n"));

    EXPECT_EQ(RunEditor("/r script.vxs"), 12);
    EXPECT_EQ(RunEditor("/r \"" + folder + "\\a.vxs\" one \"two words\" C:\\x"), 3);
    EXPECT_EQ(ReadTextFile(folder + "\\out.txt"), "one|two words|C:\\x");
    EXPECT_EQ(RunEditor("/r /c say.vxs \"say \\\"hi\\\"\""), 1);
    EXPECT_EQ(ReadTextFile(dir_.File("out.txt")), "say \"hi\"");
    // Without /c the backslashes arrive as typed.
    DeleteFileA(dir_.File("out.txt").c_str());
    EXPECT_EQ(RunEditor("/r say.vxs \\\\server\\share\\"), 1);
    EXPECT_EQ(ReadTextFile(dir_.File("out.txt")), "\\\\server\\share\\");
}

TEST_F(EditorTest, SwitchesAfterThePathOrInCapitalsOpenTheEditor) {
    ASSERT_TRUE(WriteTextFile(dir_.File("a.vxs"),
                              "int main()\n{\n    AppendFileString(\"ran.txt\", \"x\");\n"
                              "    return 4;\n}\n"));
    for (const std::string arguments : {"a.vxs /r", "/R a.vxs"}) {
        EditorSession editor(Program() + " " + arguments, dir_.path());
        ASSERT_NE(editor.frame(), nullptr) << arguments;
        EXPECT_TRUE(editor.WaitCaption("a.vxs - Vexa Script")) << editor.Caption();
        EXPECT_EQ(editor.ChildCaptions(), std::vector<std::string>{"a.vxs"});
        PostMessageA(editor.frame(), WM_CLOSE, 0, 0);
        EXPECT_EQ(editor.WaitForExit(), 0) << arguments;
    }
    EXPECT_EQ(GetFileAttributesA(dir_.File("ran.txt").c_str()), INVALID_FILE_ATTRIBUTES)
        << "the script must not have run";
    // The file type is registered for the shell (per user).
    EXPECT_EQ(ReadRegistryString(kClassesKey, nullptr), "VexaScript.Document");
    EXPECT_EQ(ReadRegistryString("Software\\Classes\\VexaScript.Document", nullptr),
              "Vexa Script File");
    EXPECT_EQ(ReadRegistryString("Software\\Vexa\\Vexa Script\\Recent File List", "File1"),
              dir_.File("a.vxs"));
}

TEST_F(EditorTest, ShellPrintVerbsPrintWithoutShowingTheEditorAndEnd) {
    ASSERT_TRUE(WriteTextFile(dir_.File("a b.vxs"),
                              "int main()\n{\n    AppendFileString(\"ran.txt\", \"x\");\n"
                              "    return 4;\n}\n"));
    // No printer is installed under Wine: each verb prints nothing, asks nothing and ends.
    std::vector<CaughtDialog> boxes;
    bool frameShown = false;
    EXPECT_EQ(RunEditor("/p \"a b.vxs\"", &boxes, &frameShown), 0);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(RunEditor("/pt \"a b.vxs\" \"No Such Printer\" \"winspool\" \"LPT1:\"", &boxes,
                        &frameShown),
              0);
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(frameShown);
    EXPECT_EQ(GetFileAttributesA(dir_.File("ran.txt").c_str()), INVALID_FILE_ATTRIBUTES)
        << "printing must not run the script";
}

TEST_F(EditorTest, UntitledScriptsAreNumberedAndRunWithoutAFileStartsTheEditor) {
    EditorSession editor(Program() + " /r", dir_.path());
    ASSERT_NE(editor.frame(), nullptr);
    EXPECT_TRUE(editor.WaitCaption("VexEng1 - Vexa Script")) << editor.Caption();
    editor.Command(kFileNew);
    EXPECT_TRUE(editor.WaitCaption("VexEng2 - Vexa Script")) << editor.Caption();
    editor.Command(kFileNew);
    EXPECT_TRUE(editor.WaitCaption("VexEng3 - Vexa Script")) << editor.Caption();
    EXPECT_EQ(editor.ChildCaptions().size(), 3u);
}

TEST_F(EditorTest, StrictTogglesInTheRegistryAndNothingLeavesTheIniFileWithN) {
    // Registry: an absent value toggles to 1, a second toggle restores 0.
    {
        EditorSession editor(Program(), dir_.path());
        ASSERT_NE(editor.frame(), nullptr);
        EXPECT_EQ(ReadSettingInt("Strict"), -1);
        editor.Command(kBuildStrict);
        EXPECT_TRUE(WaitUntil([] { return ReadSettingInt("Strict") == 1; }, 10000));
        editor.Command(kBuildStrict);
        EXPECT_TRUE(WaitUntil([] { return ReadSettingInt("Strict") == 0; }, 10000));
    }
    EXPECT_EQ(GetFileAttributesA(dir_.File("vexedit.ini").c_str()), INVALID_FILE_ATTRIBUTES);

    // /n: the same commands and an opened script land in vexedit.ini beside the program.
    RemoveEditorKeys();
    ASSERT_TRUE(WriteTextFile(dir_.File("b.vxs"), "int main() { return 0; }\n"));
    {
        EditorSession editor(Program() + " /n b.vxs", dir_.path());
        ASSERT_NE(editor.frame(), nullptr);
        editor.Command(kBuildStrict);
        EXPECT_TRUE(WaitUntil(
            [&] {
                return ReadTextFile(dir_.File("vexedit.ini")).find("Strict=1") != std::string::npos;
            },
            10000));
    }
    std::string ini = ReadTextFile(dir_.File("vexedit.ini"));
    EXPECT_NE(ini.find("[Settings]"), std::string::npos) << ini;
    EXPECT_NE(ini.find("[Recent File List]"), std::string::npos) << ini;
    EXPECT_NE(ini.find("File1=" + dir_.File("b.vxs")), std::string::npos) << ini;
    EXPECT_FALSE(KeyExists(kAppKey)) << "with /n nothing may reach the registry";
    EXPECT_FALSE(KeyExists(kClassesKey)) << "/n skips the file type registration";
}

TEST_F(EditorTest, OpenDialogOpensSeveralScriptsAndAnOpenOneOnlyOnce) {
    for (const char* name : {"one.vxs", "two.vxs"})
        ASSERT_TRUE(WriteTextFile(dir_.File(name), "int main() { return 0; }\n"));
    EditorSession editor(Program() + " one.vxs", dir_.path());
    ASSERT_NE(editor.frame(), nullptr);
    editor.Command(kFileOpen);
    HWND dialog = editor.WaitDialog("Open");
    ASSERT_NE(dialog, nullptr);
    // The file name box of the explorer-style dialog.
    HWND name = GetDlgItem(dialog, 0x47C);
    if (!name) name = GetDlgItem(dialog, 0x480);
    ASSERT_NE(name, nullptr);
    SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("\"one.vxs\" \"two.vxs\""));
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(editor.WaitCaption("two.vxs - Vexa Script")) << editor.Caption();
    std::vector<std::string> captions = editor.ChildCaptions();
    std::sort(captions.begin(), captions.end());
    EXPECT_EQ(captions, (std::vector<std::string>{"one.vxs", "two.vxs"}))
        << "one.vxs was open already and is only activated";
}

TEST_F(EditorTest, ClosingAsksToSaveAChangedScriptAndCancelKeepsItOpen) {
    const std::string path = dir_.File("a.vxs");
    ASSERT_TRUE(WriteTextFile(path, "int main() { return 0; }\r\n"));
    // Answers: Cancel the first question, Yes the second.
    std::mutex mutex;
    std::vector<std::string> questions;
    auto asked = [&] {
        std::lock_guard<std::mutex> lock(mutex);
        return questions;
    };
    EditorSession editor(Program() + " a.vxs", dir_.path(), [&](const CaughtDialog& dialog) {
        if (!dialog.messageBox) return 0;
        std::lock_guard<std::mutex> lock(mutex);
        questions.push_back(dialog.text);
        return questions.size() == 1 ? IDCANCEL : IDYES;
    });
    ASSERT_NE(editor.frame(), nullptr);
    HWND view = editor.View();
    ASSERT_NE(view, nullptr);
    PostMessageA(view, WM_CHAR, 'x', 1);
    PostMessageA(editor.frame(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return asked().size() == 1; }, 10000));
    EXPECT_EQ(asked()[0], "Save changes to " + path + "?");
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(editor.frame()); }, 5000));
    EXPECT_EQ(ReadTextFile(path), "int main() { return 0; }\r\n") << "Cancel writes nothing";

    PostMessageA(editor.frame(), WM_CLOSE, 0, 0);
    EXPECT_EQ(editor.WaitForExit(), 0);
    EXPECT_EQ(asked().size(), 2u);
    std::string saved = ReadTextFile(path);
    EXPECT_EQ(saved.size(), 27u) << saved;
    EXPECT_NE(saved.find('x'), std::string::npos) << saved;
}

TEST_F(EditorTest, RecentFileCommandOpensTheScriptAndForgetsAMissingOne) {
    ASSERT_TRUE(WriteTextFile(dir_.File("r.vxs"), "int main() { return 0; }\n"));
    const std::string list = std::string(kAppKey) + "\\Recent File List";
    const std::string existing = dir_.File("r.vxs"), missing = dir_.File("gone.vxs");
    RegSetKeyValueA(HKEY_CURRENT_USER, list.c_str(), "File1", REG_SZ, missing.c_str(),
                    static_cast<DWORD>(missing.size() + 1));
    RegSetKeyValueA(HKEY_CURRENT_USER, list.c_str(), "File2", REG_SZ, existing.c_str(),
                    static_cast<DWORD>(existing.size() + 1));
    EditorSession editor(Program(), dir_.path());
    ASSERT_NE(editor.frame(), nullptr);
    editor.Command(kFirstRecentFile + 1);
    EXPECT_TRUE(editor.WaitCaption("r.vxs - Vexa Script")) << editor.Caption();
    // Opening moved r.vxs to the top.
    EXPECT_EQ(ReadRegistryString(list.c_str(), "File1"), existing);
    EXPECT_EQ(ReadRegistryString(list.c_str(), "File2"), missing);
    editor.Command(kFirstRecentFile + 1);  // gone.vxs: the open fails and the entry goes
    EXPECT_TRUE(
        WaitUntil([&] { return ReadRegistryString(list.c_str(), "File2") == "<absent>"; }, 10000));
    EXPECT_EQ(ReadRegistryString(list.c_str(), "File1"), existing);
}

TEST_F(EditorTest, AboutBoxShowsTheVersionAndFontDialogWritesTheSettings) {
    // A stored face name longer than 30 characters gives way to the default in the dialog.
    ProvideCourierNew();
    RegSetKeyValueA(HKEY_CURRENT_USER, kSettingsKey, "FontName", REG_SZ,
                    "ABCDEFGHIJKLMNOPQRSTUVWXYZABCDE", 32);
    EditorSession editor(Program(), dir_.path());
    ASSERT_NE(editor.frame(), nullptr);

    editor.Command(kAppAbout);
    HWND about = editor.WaitDialog("About Vexa Script");
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(EditorSession::WindowText(GetDlgItem(about, 1001)), "Version 1.00");
    EXPECT_EQ(EditorSession::WindowText(GetDlgItem(about, 1000)), "Vexa Script");
    PostMessageA(about, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(about); }, 10000));

    editor.Command(kViewFont);
    HWND font = editor.WaitDialog("Font");
    ASSERT_NE(font, nullptr);
    HWND face = GetDlgItem(font, 0x470);  // the face name combo box
    ASSERT_TRUE(WaitUntil([&] { return !TextOf(face).empty(); }, 5000));
    EXPECT_EQ(TextOf(face), "Courier New");
    PostMessageA(font, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitUntil([] { return ReadSettingInt("FontHeight") > 0; }, 10000));
    EXPECT_EQ(ReadRegistryString(kSettingsKey, "FontName"), "Courier New");
    EXPECT_EQ(ReadSettingInt("FontHeight"), 100);
}

}  // namespace
