// The launcher menu file on disk: round trip, byte layout, the archive's string forms, and
// damaged files that must fail without harm.
#include <gtest/gtest.h>

#include "launcher_menu_file.h"
#include "support/test_support.h"

namespace {

LauncherConfig TwoEntries() {
    LauncherConfig config;
    SetEditorHeader(config, "C:\\Program Files\\Vexa\\vexedit.exe", "VexaScript", "C:\\Work");
    config.entries = {{"Backup", "C:\\Scripts\\backup.vxs", 1}, {"Mail", "D:\\m.vxs", 0}};
    return config;
}

std::string Bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) out += char(v);
    return out;
}

TEST(LauncherMenuFile, RoundTripKeepsHeaderEntriesFlagsAndOrder) {
    ScratchDir dir;
    std::string path = dir.File(kMenuFileName);
    LauncherConfig saved = TwoEntries();
    ASSERT_TRUE(SaveMenuFile(path, saved));

    LauncherConfig loaded;
    ASSERT_TRUE(LoadMenuFile(path, loaded));
    EXPECT_EQ(loaded.launcherName, "Vexa Script Launcher");
    EXPECT_EQ(loaded.headerValue, 1);
    EXPECT_EQ(loaded.editorProgram, saved.editorProgram);
    EXPECT_EQ(loaded.editorWindowClass, "VexaScript");
    EXPECT_EQ(loaded.startDirectory, "C:\\Work");
    EXPECT_EQ(loaded.flagA, 0);
    EXPECT_EQ(loaded.flagB, 1);
    ASSERT_EQ(loaded.entries.size(), 2u);
    EXPECT_EQ(loaded.entries[0].name, "Backup");
    EXPECT_EQ(loaded.entries[0].scriptPath, "C:\\Scripts\\backup.vxs");
    EXPECT_EQ(loaded.entries[0].flag, 1);
    EXPECT_EQ(loaded.entries[1].name, "Mail");
    EXPECT_EQ(loaded.entries[1].flag, 0);

    // The whole layout, byte for byte, for a small configuration.
    LauncherConfig small;
    SetEditorHeader(small, "e", "", "d");
    small.entries = {{"N", "p", 0x0102}};
    ASSERT_TRUE(SaveMenuFile(path, small));
    std::string expected = "VEXL" + Bytes({4, 0, 20}) + "Vexa Script Launcher" +
                           Bytes({1, 0, 0, 0, 1}) + "e" + Bytes({0, 1}) + "d" +
                           Bytes({0, 1, 1, 0, 0, 0, 1}) + "N" + Bytes({1}) + "p" + Bytes({2, 1});
    EXPECT_EQ(ReadTextFile(path), expected);
}

TEST(LauncherMenuFile, LengthPrefixesFollowTheArchiveForms) {
    ScratchDir dir;
    std::string path = dir.File("lengths.mnu");
    // Names of 254, 255, 300 and 70,000 characters: one byte, then FF + 16 bits, then FF FFFF + 32.
    LauncherConfig config;
    SetEditorHeader(config, "", "", "");
    for (size_t n : {254u, 255u, 300u, 70000u})
        config.entries.push_back({std::string(n, 'z'), "", 0});
    ASSERT_TRUE(SaveMenuFile(path, config));
    std::string bytes = ReadTextFile(path);
    size_t at = bytes.find('z') - 1;  // the first name's prefix
    EXPECT_EQ(bytes.substr(at, 1), Bytes({254}));
    at += 1 + 254 + 1 + 2;
    EXPECT_EQ(bytes.substr(at, 3), Bytes({0xFF, 0xFF, 0x00}));
    at += 3 + 255 + 1 + 2;
    EXPECT_EQ(bytes.substr(at, 3), Bytes({0xFF, 0x2C, 0x01}));
    at += 3 + 300 + 1 + 2;
    EXPECT_EQ(bytes.substr(at, 7), Bytes({0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}));

    LauncherConfig loaded;
    ASSERT_TRUE(LoadMenuFile(path, loaded));
    ASSERT_EQ(loaded.entries.size(), 4u);
    EXPECT_EQ(loaded.entries[2].name.size(), 300u);
    EXPECT_EQ(loaded.entries[3].name.size(), 70000u);
}

TEST(LauncherMenuFile, ReadsSixteenBitCharacterStrings) {
    ScratchDir dir;
    std::string path = dir.File("wide.mnu");
    // Launcher name and entry name in the 16-bit form (FF FEFF then the length), rest 8-bit.
    std::string wideName = Bytes({0xFF, 0xFE, 0xFF, 4, 'M', 0, 'a', 0, 'i', 0, 'l', 0});
    std::string wideLong = Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0x2C, 0x01});
    for (int i = 0; i < 300; ++i) wideLong += Bytes({'w', 0});
    std::string file = "VEXL" + Bytes({4, 0}) + wideName + Bytes({1, 0, 0, 0}) + Bytes({1}) + "e" +
                       Bytes({0, 0, 0, 1, 2, 0, 0, 0}) + wideLong + Bytes({1}) + "p" +
                       Bytes({1, 0}) + Bytes({1}) + "Q" + Bytes({0, 0, 0});
    ASSERT_TRUE(WriteTextFile(path, file));
    LauncherConfig loaded;
    ASSERT_TRUE(LoadMenuFile(path, loaded));
    EXPECT_EQ(loaded.launcherName, "Mail");
    ASSERT_EQ(loaded.entries.size(), 2u);
    EXPECT_EQ(loaded.entries[0].name, std::string(300, 'w'));
    EXPECT_EQ(loaded.entries[0].scriptPath, "p");
    EXPECT_EQ(loaded.entries[1].name, "Q");
}

TEST(LauncherMenuFile, DamagedFilesFailAndKeepWhatWasRead) {
    ScratchDir dir;
    std::string path = dir.File("bad.mnu");
    LauncherConfig loaded;
    EXPECT_FALSE(LoadMenuFile(dir.File("missing.mnu"), loaded));

    // Wrong magic or version: nothing after the magic is read.
    ASSERT_TRUE(WriteTextFile(path, "VEXM" + Bytes({4, 0, 1}) + "x"));
    EXPECT_FALSE(LoadMenuFile(path, loaded));
    ASSERT_TRUE(WriteTextFile(path, "VEXL" + Bytes({3, 0, 1}) + "x"));
    EXPECT_FALSE(LoadMenuFile(path, loaded));
    EXPECT_EQ(loaded.launcherName, "");

    // Truncated inside the second entry: the header and first entry arrive, the load fails.
    ASSERT_TRUE(SaveMenuFile(path, TwoEntries()));
    std::string bytes = ReadTextFile(path);
    ASSERT_TRUE(WriteTextFile(path, bytes.substr(0, bytes.size() - 5)));
    EXPECT_FALSE(LoadMenuFile(path, loaded));
    EXPECT_EQ(loaded.editorWindowClass, "VexaScript");
    ASSERT_EQ(loaded.entries.size(), 2u);
    EXPECT_EQ(loaded.entries[0].name, "Backup");

    // Counts and lengths far beyond the file are damage, not a reason to allocate gigabytes.
    std::string hugeCount =
        "VEXL" + Bytes({4, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 1}) + Bytes({0xFF, 0xFF, 0xFF, 0x7F});
    ASSERT_TRUE(WriteTextFile(path, hugeCount));
    EXPECT_FALSE(LoadMenuFile(path, loaded));
    std::string hugeString = "VEXL" + Bytes({4, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F});
    ASSERT_TRUE(WriteTextFile(path, hugeString));
    EXPECT_FALSE(LoadMenuFile(path, loaded));

    // A folder in place of the file cannot be written.
    EXPECT_FALSE(SaveMenuFile(dir.path(), TwoEntries()));
}

}  // namespace
