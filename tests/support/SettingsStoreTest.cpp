#include <gtest/gtest.h>

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
};

}  // namespace

namespace test {
INSTANTIATE_TYPED_TEST_SUITE_P(Memory, SettingsStoreContract, MemoryStoreTraits);
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
