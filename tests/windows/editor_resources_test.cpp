// vexedit.exe's resources and imports read from the file itself (Wine cannot read another
// process's menus): the two menus, the accelerators, the prompts, the About box and the
// ordinal-only binding of the engine.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <tuple>
#include <vector>

#include "support/test_support.h"

namespace {

std::string EditorPath() { return BinaryDir() + "\\vexedit.exe"; }

class EditorResources : public ::testing::Test {
protected:
    void SetUp() override {
        module_ = LoadLibraryExA(EditorPath().c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(module_, nullptr);
    }
    void TearDown() override { FreeLibrary(module_); }

    std::vector<std::string> TopLevelItems(int menuId) {
        std::vector<std::string> items;
        HMENU menu = LoadMenuA(module_, MAKEINTRESOURCEA(menuId));
        if (!menu) return items;
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            char text[64] = {};
            GetMenuStringA(menu, i, text, sizeof(text), MF_BYPOSITION);
            items.push_back(text);
        }
        DestroyMenu(menu);
        return items;
    }

    // Every command identifier anywhere in the menu.
    static void CollectCommands(HMENU menu, std::set<UINT>& commands) {
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            if (HMENU sub = GetSubMenu(menu, i))
                CollectCommands(sub, commands);
            else
                commands.insert(GetMenuItemID(menu, i));
        }
    }

    std::string String(UINT id) {
        char text[512] = {};
        int length = LoadStringA(module_, id, text, sizeof(text));
        return std::string(text, length > 0 ? length : 0);
    }

    HMODULE module_ = nullptr;
};

TEST_F(EditorResources, MenusForNoScriptAndForAnOpenScript) {
    EXPECT_EQ(TopLevelItems(128), (std::vector<std::string>{"&File", "&View", "&Tools", "&Help"}));
    EXPECT_EQ(TopLevelItems(129), (std::vector<std::string>{"&File", "&Edit", "&View", "&Build",
                                                            "&Tools", "&Window", "&Help"}));
    HMENU script = LoadMenuA(module_, MAKEINTRESOURCEA(129));
    std::set<UINT> commands;
    CollectCommands(script, commands);
    DestroyMenu(script);
    // Compile, Run, Strict, Font, the two references by their help numbers, About, Open, Save All.
    for (UINT id : {32774u, 32775u, 32776u, 32777u, 32773u, 32784u, 0xE140u, 0xE101u, 32786u})
        EXPECT_EQ(commands.count(id), 1u) << id;
}

TEST_F(EditorResources, AcceleratorsOfTheEditor) {
    HACCEL table = LoadAcceleratorsA(module_, MAKEINTRESOURCEA(128));
    ASSERT_NE(table, nullptr);
    ACCEL entries[64];
    int count = CopyAcceleratorTableA(table, entries, 64);
    std::set<std::tuple<int, int, int>> keys;  // flags without FNOINVERT/FVIRTKEY, key, command
    for (int i = 0; i < count; ++i)
        keys.insert(
            {entries[i].fVirt & (FSHIFT | FCONTROL | FALT), entries[i].key, entries[i].cmd});
    const std::tuple<int, int, int> expected[] = {
        {FCONTROL, 'N', 0xE100}, {FCONTROL, 'O', 0xE101},
        {FCONTROL, 'S', 0xE103}, {FCONTROL, 'P', 0xE107},
        {FCONTROL, 'Z', 0xE12B}, {FALT, VK_BACK, 0xE12B},
        {FCONTROL, 'X', 0xE123}, {FSHIFT, VK_DELETE, 0xE123},
        {FCONTROL, 'C', 0xE122}, {FCONTROL, VK_INSERT, 0xE122},
        {FCONTROL, 'V', 0xE125}, {FSHIFT, VK_INSERT, 0xE125},
        {FCONTROL, 'F', 0xE124}, {0, VK_F3, 0xE128},
        {FCONTROL, 'H', 0xE129}, {FCONTROL, 'I', 32778},
        {0, VK_F1, 0xE146},      {FSHIFT, VK_F1, 0xE145},
        {0, VK_F6, 0xE150},      {FCONTROL, VK_F7, 32774},
        {0, VK_F5, 32775},
    };
    for (const auto& key : expected)
        EXPECT_EQ(keys.count(key), 1u) << std::get<1>(key) << " -> " << std::get<2>(key);
}

TEST_F(EditorResources, PromptsStringsAndAboutBox) {
    for (UINT id = 0xE110; id <= 0xE11F; ++id) EXPECT_EQ(String(id), "Open this script file") << id;
    EXPECT_EQ(String(100),
              "OLE initialization failed.  Make sure that the OLE libraries are the correct "
              "version.");
    EXPECT_NE(FindResourceA(module_, MAKEINTRESOURCEA(100), RT_DIALOG), nullptr);
    EXPECT_NE(FindResourceA(module_, MAKEINTRESOURCEA(128), RT_GROUP_ICON), nullptr);
}

// Reads the import directory of vexedit.exe: vexeng.dll is bound by ordinal only.
TEST(EditorImports, EngineBoundByOrdinalOnly) {
    std::ifstream in(EditorPath(), std::ios::binary);
    std::vector<char> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(file.size(), 4096u);
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(file.data());
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS64*>(file.data() + dos->e_lfanew);
    auto* sections = IMAGE_FIRST_SECTION(nt);
    auto offset = [&](DWORD rva) -> size_t {
        for (int i = 0; i < nt->FileHeader.NumberOfSections; ++i)
            if (rva >= sections[i].VirtualAddress &&
                rva < sections[i].VirtualAddress + sections[i].Misc.VirtualSize)
                return rva - sections[i].VirtualAddress + sections[i].PointerToRawData;
        return 0;
    };
    DWORD importRva = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    auto* descriptor = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(file.data() + offset(importRva));
    std::set<int> ordinals;
    bool anyByName = false, foundEngine = false;
    for (; descriptor->Name; ++descriptor) {
        if (lstrcmpiA(file.data() + offset(descriptor->Name), "vexeng.dll") != 0) continue;
        foundEngine = true;
        DWORD thunks = descriptor->OriginalFirstThunk ? descriptor->OriginalFirstThunk
                                                      : descriptor->FirstThunk;
        for (auto* thunk = reinterpret_cast<IMAGE_THUNK_DATA64*>(file.data() + offset(thunks));
             thunk->u1.AddressOfData; ++thunk) {
            if (IMAGE_SNAP_BY_ORDINAL64(thunk->u1.Ordinal))
                ordinals.insert(static_cast<int>(IMAGE_ORDINAL64(thunk->u1.Ordinal)));
            else
                anyByName = true;
        }
    }
    ASSERT_TRUE(foundEngine) << "vexeng.dll is bound at load time";
    EXPECT_FALSE(anyByName);
    EXPECT_EQ(ordinals.count(6), 1u) << "run mode calls VexEngRunScriptFile2";
    for (int ordinal : ordinals)
        EXPECT_TRUE(ordinal == 1 || ordinal == 3 || ordinal == 4 || ordinal == 6) << ordinal;
}

}  // namespace
