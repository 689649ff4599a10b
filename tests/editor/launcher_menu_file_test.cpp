// The launcher menu file on disk: round trip, byte layout, the archive's string forms, and
// damaged files that fail without harm.
#include <gtest/gtest.h>

#include "launcher_menu_file.h"
#include "support/test_support.h"

namespace {

std::string Bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) out += char(v);
    return out;
}

TEST(LauncherMenuFile, RoundTripAndByteLayout) {
    ScratchDir dir;
    std::string path = dir.File(kMenuFileName);
    LauncherConfig saved;
    SetEditorHeader(saved, "C:\\Vexa\\vexedit.exe", "VexaScript", "C:\\Work");
    saved.entries = {{"Backup", "C:\\backup.vxs", 1}, {"Mail", "D:\\m.vxs", 0}};
    ASSERT_TRUE(SaveMenuFile(path, saved));
    LauncherConfig loaded;
    ASSERT_TRUE(LoadMenuFile(path, loaded));
    EXPECT_EQ(loaded.launcherName, "Vexa Script Launcher");
    EXPECT_EQ(loaded.editorProgram, saved.editorProgram);
    EXPECT_EQ(loaded.startDirectory, "C:\\Work");
    ASSERT_EQ(loaded.entries.size(), 2u);
    EXPECT_EQ(loaded.entries[1].name, "Mail");
    EXPECT_EQ(loaded.entries[1].scriptPath, "D:\\m.vxs");
    EXPECT_EQ(loaded.entries[0].flag, 1);

    // Every byte of a small menu; a 300-character name takes the prefix FF 2C 01.
    LauncherConfig small;
    SetEditorHeader(small, "e", "", "d");
    small.entries = {{"N", "p", 0x0102}, {std::string(300, 'z'), "", 0}};
    ASSERT_TRUE(SaveMenuFile(path, small));
    std::string expected = "VEXL" + Bytes({4, 0, 20}) + "Vexa Script Launcher" +
                           Bytes({1, 0, 0, 0, 1}) + "e" + Bytes({0, 1}) + "d" +
                           Bytes({0, 1, 2, 0, 0, 0, 1}) + "N" + Bytes({1}) + "p" + Bytes({2, 1}) +
                           Bytes({0xFF, 0x2C, 0x01}) + std::string(300, 'z') + Bytes({0, 0, 0});
    EXPECT_EQ(ReadTextFile(path), expected);

    // 255 characters take FF + 16 bits, 70,000 take FF FFFF + 32 bits; both read back.
    small.entries = {{std::string(255, 'q'), "", 0}, {std::string(70000, 'b'), "", 0}};
    ASSERT_TRUE(SaveMenuFile(path, small));
    std::string bytes = ReadTextFile(path);
    EXPECT_EQ(bytes.substr(bytes.find('q') - 3, 3), Bytes({0xFF, 0xFF, 0x00}));
    EXPECT_EQ(bytes.substr(bytes.find('b') - 7, 7), Bytes({0xFF, 0xFF, 0xFF, 0x70, 0x11, 1, 0}));
    ASSERT_TRUE(LoadMenuFile(path, loaded));
    EXPECT_EQ(loaded.entries[1].name, std::string(70000, 'b'));
}

TEST(LauncherMenuFile, ReadsSixteenBitCharacterStrings) {
    ScratchDir dir;
    std::string path = dir.File("wide.mnu");
    // FF FEFF marks 16-bit characters; the length follows in the same forms (here FF 2C01).
    std::string wide = Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0x2C, 0x01});
    for (int i = 0; i < 300; ++i) wide += Bytes({'w', 0});
    std::string file = "VEXL" + Bytes({4, 0, 0xFF, 0xFE, 0xFF, 2, 'M', 0, 'a', 0, 1, 0, 0, 0}) +
                       Bytes({1}) + "e" + Bytes({0, 0, 0, 1, 1, 0, 0, 0}) + wide + Bytes({1}) +
                       "p" + Bytes({1, 0});
    ASSERT_TRUE(WriteTextFile(path, file));
    LauncherConfig loaded;
    ASSERT_TRUE(LoadMenuFile(path, loaded));
    EXPECT_EQ(loaded.launcherName, "Ma");
    ASSERT_EQ(loaded.entries.size(), 1u);
    EXPECT_EQ(loaded.entries[0].name, std::string(300, 'w'));
    EXPECT_EQ(loaded.entries[0].scriptPath, "p");
}

TEST(LauncherMenuFile, DamagedFilesFailAndKeepWhatWasRead) {
    ScratchDir dir;
    std::string path = dir.File("bad.mnu");
    LauncherConfig loaded;
    EXPECT_FALSE(LoadMenuFile(dir.File("missing.mnu"), loaded));
    for (std::string bad : {"VEXM" + Bytes({4, 0, 1}) + "x", "VEXL" + Bytes({3, 0, 1}) + "x"}) {
        ASSERT_TRUE(WriteTextFile(path, bad));
        EXPECT_FALSE(LoadMenuFile(path, loaded));
    }
    EXPECT_EQ(loaded.launcherName, "");  // nothing after a wrong magic or version is read

    // Truncated inside the second entry: the header and the first entry arrive.
    LauncherConfig saved;
    SetEditorHeader(saved, "e", "VexaScript", "d");
    saved.entries = {{"Backup", "C:\\b.vxs", 1}, {"Mail", "D:\\m.vxs", 0}};
    ASSERT_TRUE(SaveMenuFile(path, saved));
    std::string bytes = ReadTextFile(path);
    ASSERT_TRUE(WriteTextFile(path, bytes.substr(0, bytes.size() - 5)));
    EXPECT_FALSE(LoadMenuFile(path, loaded));
    EXPECT_EQ(loaded.editorWindowClass, "VexaScript");
    EXPECT_EQ(loaded.entries[0].name, "Backup");

    // Counts and lengths far beyond the file are damage, not a reason to allocate gigabytes.
    std::string header = "VEXL" + Bytes({4, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 1});
    ASSERT_TRUE(WriteTextFile(path, header + Bytes({0xFF, 0xFF, 0xFF, 0x7F})));
    EXPECT_FALSE(LoadMenuFile(path, loaded));
    ASSERT_TRUE(
        WriteTextFile(path, "VEXL" + Bytes({4, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F})));
    EXPECT_FALSE(LoadMenuFile(path, loaded));
    EXPECT_FALSE(SaveMenuFile(dir.path(), saved));  // a folder cannot be written as a file
}

}  // namespace
