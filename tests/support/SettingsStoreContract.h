// The behaviour every SettingsStore must show, as one typed test suite. An implementation
// joins it with a traits type:
//
//   struct MyStoreTraits {
//       static std::unique_ptr<SettingsStore> Create();             // an empty store
//       static std::unique_ptr<SettingsStore> Reopen(std::unique_ptr<SettingsStore> store);
//       static void Dispose(std::unique_ptr<SettingsStore> store);  // optional: removes files
//   };
//   INSTANTIATE_TYPED_TEST_SUITE_P(MyStore, SettingsStoreContract, MyStoreTraits);
//
// Reopen hands back a store that reads what `store` wrote (the same object for a memory store,
// a new one over the same file for a persistent one).
#pragma once

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>

#include "support/Settings.h"

namespace hivora::test {

template <typename Traits>
class SettingsStoreContract : public ::testing::Test {
protected:
    void SetUp() override { store_ = Traits::Create(); }
    void TearDown() override {
        if constexpr (requires { Traits::Dispose(std::move(store_)); }) {
            Traits::Dispose(std::move(store_));
        }
    }
    SettingsStore& Store() { return *store_; }
    void Reopen() { store_ = Traits::Reopen(std::move(store_)); }

    std::unique_ptr<SettingsStore> store_;
};

TYPED_TEST_SUITE_P(SettingsStoreContract);

TYPED_TEST_P(SettingsStoreContract, WrittenEntriesReadBackAndMissingOnesAsTheDefault) {
    this->Store().WriteProfileString("SVCOMBOS", "System000", "/a b/SYSTEM");
    this->Store().WriteProfileString("SVCOMBOS", "System001", "");
    this->Store().WriteProfileString("SVCOMBOS", "Text", "caf\xC3\xA9 = \"x\"; [y]");
    this->Store().WriteProfileInt("Fav", "000K", INT_MIN);
    this->Store().WriteProfileInt("Fav", "001K", INT_MAX);
    this->Store().WriteProfileInt("Fav", "002K", 0x80000002u);
    this->Store().WriteProfileString("SVCOMBOS", "System000", "/c/SYSTEM");  // overwrite
    this->Reopen();
    SettingsStore& store = this->Store();
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

TYPED_TEST_P(SettingsStoreContract, AnySectionNameRoundTripsAndStaysApart) {
    const std::string sections[] = {"",
                                    "a/b",
                                    "a\\b",
                                    "C:\\Win\\SYSTEM,x",
                                    "a",
                                    "a b",
                                    "\xC3\xA9t\xC3\xA9",
                                    "[x]",
                                    "a=b",
                                    "line\r\nbreak",
                                    "/work/NTUSER.DAT-/work/SYSTEM"};
    int i = 0;
    for (const std::string& section : sections) {
        this->Store().WriteProfileString(section, "b", "value" + std::to_string(i));
        this->Store().WriteProfileInt(section, "n", i);
        ++i;
    }
    this->Reopen();
    i = 0;
    for (const std::string& section : sections) {
        EXPECT_EQ(this->Store().GetProfileString(section, "b"), "value" + std::to_string(i))
            << "[" << section << "]";
        EXPECT_EQ(this->Store().GetProfileInt(section, "n", -1), i) << "[" << section << "]";
        ++i;
    }
    EXPECT_EQ(this->Store().GetProfileString("a", "b/b", "d"), "d");
}

REGISTER_TYPED_TEST_SUITE_P(SettingsStoreContract, WrittenEntriesReadBackAndMissingOnesAsTheDefault,
                            AnySectionNameRoundTripsAndStaysApart);

}  // namespace hivora::test
