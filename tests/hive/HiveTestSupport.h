// Shared pieces of the hive engine tests: a fixture that owns the process-wide hive set for
// the duration of one test, and small readers over the raw back-end calls.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "hive/DeletedRecords.h"
#include "hive/HiveEngine.h"
#include "hive/HiveSet.h"
#include "hive/RegistryBackend.h"
#include "hive/RegistryReader.h"
#include "keys/RegistryWalker.h"
#include "support/HiveBuilder.h"
#include "support/TestBytes.h"
#include "support/TextConvert.h"

namespace hivora::test {

class HiveSetTest : public ::testing::Test {
protected:
    void SetUp() override {
        UseHiveEngine();
        FreeHiveSet();
    }
    void TearDown() override { FreeHiveSet(); }

    static void Load(HiveSlot slot, const BuiltHive& hive) {
        ASSERT_EQ(LoadHiveImage(slot, hive.bytes.data(), hive.bytes.size()), 1);
    }
    static void Load(HiveSlot slot, const HiveBuilder& builder) { Load(slot, builder.Build()); }
};

// Subkey and value names of `key`, in enumeration order.
inline std::vector<std::u16string> SubkeyNames(HKEY key) {
    std::vector<std::u16string> names;
    SubkeyInfo info;
    for (uint32_t i = 0; EnumSubkey(key, i, info) == ERROR_SUCCESS; ++i) {
        names.push_back(info.name);
    }
    return names;
}

inline std::vector<std::u16string> ValueNames(HKEY key) {
    std::vector<std::u16string> names;
    ValueInfo info;
    for (uint32_t i = 0; EnumValueInfo(key, i, info) == ERROR_SUCCESS; ++i) {
        names.push_back(info.name);
    }
    return names;
}

// A deleted key's path, "a\\b"; it starts with "?" when the path stops short of the root.
inline std::string DeletedPathText(const std::optional<DeletedKeyPath>& path) {
    std::string text = path && path->complete ? "" : "?";
    for (const std::u16string& name : path ? path->components : std::vector<std::u16string>{}) {
        text += (text.empty() ? "" : "\\") + ToUtf8(name);
    }
    return text;
}

}  // namespace hivora::test
