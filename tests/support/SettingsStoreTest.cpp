#include <gtest/gtest.h>

#include <filesystem>

#include "support/IniSettingsStore.h"
#include "support/Settings.h"
#include "support/SettingsStoreContract.h"
#include "support/TempPath.h"

namespace hivora {
namespace {

struct MemoryStoreTraits {
    static std::unique_ptr<SettingsStore> Create() {
        return std::make_unique<MemorySettingsStore>();
    }
    static std::unique_ptr<SettingsStore> Reopen(std::unique_ptr<SettingsStore> store) {
        return store;
    }
};

// The settings file both programs share.
struct IniStoreTraits {
    static std::string Path() {
        static const std::string path = (test::UniqueTempPath("hivora_ini") / "s.ini").string();
        return path;
    }
    static std::unique_ptr<SettingsStore> Create() {
        std::filesystem::remove(Path());
        return std::make_unique<IniSettingsStore>(Path());
    }
    static std::unique_ptr<SettingsStore> Reopen(std::unique_ptr<SettingsStore> store) {
        store.reset();
        return std::make_unique<IniSettingsStore>(Path());
    }
    static void Dispose(std::unique_ptr<SettingsStore> store) {
        store.reset();
        std::filesystem::remove_all(std::filesystem::path(Path()).parent_path());
    }
};

}  // namespace

namespace test {
INSTANTIATE_TYPED_TEST_SUITE_P(Memory, SettingsStoreContract, MemoryStoreTraits);
INSTANTIATE_TYPED_TEST_SUITE_P(IniFile, SettingsStoreContract, IniStoreTraits);
}  // namespace test

// Two programs hold the file open at once: each write keeps what the other wrote meanwhile.
TEST(IniSettingsStore, StoresOfTwoProgramsShareOneFile) {
    const auto folder = test::UniqueTempPath("hivora_shared");
    const std::string path = (folder / "HivoraRegEdit.ini").string();
    IniSettingsStore desktop(path);
    IniSettingsStore tool(path);
    desktop.WriteProfileString("/c/config/SYSTEM/u/NTUSER.DAT", "000N", "Run");
    tool.WriteProfileString("C:\\h\\SYSTEM", "000N", "Services");
    desktop.WriteProfileInt("LastFileSet", "n", 3);
    EXPECT_EQ(IniSettingsStore(path).GetProfileString("C:\\h\\SYSTEM", "000N"), "Services");
    EXPECT_EQ(IniSettingsStore(path).GetProfileString("/c/config/SYSTEM/u/NTUSER.DAT", "000N"),
              "Run");
    std::filesystem::remove_all(folder);
}

}  // namespace hivora
