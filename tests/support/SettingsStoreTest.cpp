// The settings file both programs share: every entry reads back through a new store over the
// file, any section name round-trips and stays apart, and two open stores keep each other's
// writes.
#include "support/IniSettingsStore.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <string>

#include "support/TempPath.h"

namespace hivora {
namespace {

class IniSettingsStoreTest : public ::testing::Test {
protected:
    void TearDown() override { std::filesystem::remove_all(folder_); }

    const std::filesystem::path folder_ = test::UniqueTempPath("hivora_ini");
    const std::string path_ = (folder_ / "HivoraRegEdit.ini").string();
};

TEST_F(IniSettingsStoreTest, WrittenEntriesReadBackAndMissingOnesAsTheDefault) {
    IniSettingsStore writer(path_);
    writer.WriteProfileString("SVCOMBOS", "System000", "/a b/SYSTEM");
    writer.WriteProfileString("SVCOMBOS", "System001", "");
    writer.WriteProfileString("SVCOMBOS", "Text", "caf\xC3\xA9 = \"x\"; [y]");
    writer.WriteProfileInt("Fav", "000K", INT_MIN);
    writer.WriteProfileInt("Fav", "001K", INT_MAX);
    writer.WriteProfileInt("Fav", "002K", 0x80000002u);
    writer.WriteProfileString("SVCOMBOS", "System000", "/c/SYSTEM");  // overwrite
    const IniSettingsStore store(path_);
    EXPECT_EQ(store.GetProfileString("SVCOMBOS", "System000", "d"), "/c/SYSTEM");
    EXPECT_EQ(store.GetProfileString("SVCOMBOS", "System001", "d"), "");  // empty, not missing
    EXPECT_EQ(store.GetProfileString("SVCOMBOS", "Text"), "caf\xC3\xA9 = \"x\"; [y]");
    EXPECT_EQ(store.GetProfileInt("Fav", "000K", 1), INT_MIN);
    EXPECT_EQ(store.GetProfileInt("Fav", "001K", 1), INT_MAX);
    EXPECT_EQ(static_cast<unsigned>(store.GetProfileInt("Fav", "002K", 1)), 0x80000002u);
    // Missing entries, also of an existing section.
    EXPECT_EQ(store.GetProfileString("LastFileSet", "System"), "");
    EXPECT_EQ(store.GetProfileString("SVCOMBOS", "Software", "none"), "none");
    EXPECT_EQ(store.GetProfileInt("Fav", "003K", -7), -7);
}

TEST_F(IniSettingsStoreTest, AnySectionNameRoundTripsAndStaysApart) {
    const std::string sections[] = {"",
                                    "a/b",
                                    "a\\b",
                                    "a",
                                    "a b",
                                    "[x]",
                                    "\xC3\xA9t\xC3\xA9",
                                    "a=b",
                                    "line\r\nbreak"};
    IniSettingsStore writer(path_);
    for (int i = 0; i < static_cast<int>(std::size(sections)); ++i) {
        writer.WriteProfileString(sections[i], "b", "value" + std::to_string(i));
        writer.WriteProfileInt(sections[i], "n", i);
    }
    const IniSettingsStore store(path_);
    for (int i = 0; i < static_cast<int>(std::size(sections)); ++i) {
        EXPECT_EQ(store.GetProfileString(sections[i], "b"), "value" + std::to_string(i))
            << "[" << sections[i] << "]";
        EXPECT_EQ(store.GetProfileInt(sections[i], "n", -1), i) << "[" << sections[i] << "]";
    }
    EXPECT_EQ(store.GetProfileString("a", "b/b", "d"), "d");
}

// Two programs hold the file open at once: each write keeps what the other wrote meanwhile.
TEST_F(IniSettingsStoreTest, StoresOfTwoProgramsShareOneFile) {
    IniSettingsStore desktop(path_);
    IniSettingsStore tool(path_);
    desktop.WriteProfileString("/c/config/SYSTEM/u/NTUSER.DAT", "000N", "Run");
    tool.WriteProfileString("C:\\h\\SYSTEM", "000N", "Services");
    desktop.WriteProfileInt("LastFileSet", "n", 3);
    EXPECT_EQ(IniSettingsStore(path_).GetProfileString("C:\\h\\SYSTEM", "000N"), "Services");
    EXPECT_EQ(IniSettingsStore(path_).GetProfileString("/c/config/SYSTEM/u/NTUSER.DAT", "000N"),
              "Run");
}

}  // namespace
}  // namespace hivora
