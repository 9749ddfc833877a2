#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <string>

#include "support/IniSettingsStore.h"
#include "support/Settings.h"
#include "support/SettingsStoreContract.h"

namespace hivora {
namespace {

struct MemoryStoreTraits {
    static std::unique_ptr<SettingsStore> Create() {
        return std::make_unique<MemorySettingsStore>();
    }
    static std::unique_ptr<SettingsStore> Reopen(std::unique_ptr<SettingsStore> store) {
        return store;
    }
    static void Dispose(std::unique_ptr<SettingsStore>) {}
};

// A fresh file per test; reopening reads the same file into a new store.
struct IniStoreTraits {
    static std::string NewPath() {
        static int counter = 0;
        const auto path = std::filesystem::temp_directory_path() /
                          ("hivora_settings_" + std::to_string(::getpid()) + "_" +
                           std::to_string(counter++) + ".ini");
        std::filesystem::remove(path);
        return path.string();
    }
    static std::unique_ptr<SettingsStore> Create() {
        path() = NewPath();
        return std::make_unique<IniSettingsStore>(path());
    }
    static std::unique_ptr<SettingsStore> Reopen(std::unique_ptr<SettingsStore> store) {
        store.reset();
        return std::make_unique<IniSettingsStore>(path());
    }
    static void Dispose(std::unique_ptr<SettingsStore> store) {
        store.reset();
        std::filesystem::remove(path());
    }
    static std::string& path() {
        static std::string current;
        return current;
    }
};

}  // namespace

namespace test {
INSTANTIATE_TYPED_TEST_SUITE_P(Memory, SettingsStoreContract, MemoryStoreTraits);
INSTANTIATE_TYPED_TEST_SUITE_P(IniFile, SettingsStoreContract, IniStoreTraits);
}  // namespace test

TEST(AppSettings, InstalledStoreReplacesTheBuiltInOne) {
    MemorySettingsStore mine;
    SetAppSettings(&mine);
    AppSettings().WriteProfileInt("s", "e", 5);
    EXPECT_EQ(mine.GetProfileInt("s", "e", 0), 5);
    SetAppSettings(nullptr);
    EXPECT_EQ(AppSettings().GetProfileInt("s", "e", 0), 0);
}

}  // namespace hivora
