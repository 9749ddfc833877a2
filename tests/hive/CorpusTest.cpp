// Walks every hive of the corpus with the enumeration calls and pins what the walk sees.
#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>
#include <map>

#include "hive/CorpusSupport.h"
#include "hive/HiveSet.h"
#include "hive/HiveTestSupport.h"
#include "hive/TreeWalk.h"

namespace hivora::test {
namespace {

struct Expected {
    uint64_t keys;  // the root key included
    uint64_t values;
    uint64_t pathDigest;  // 0: not pinned
};

const std::map<std::string, Expected> kExpected = {
    {"regipy/SYSTEM", {30756, 73456, 0x81f9e895606d4894}},
    {"regipy/SYSTEM_WIN_10_1709", {43211, 90307, 0}},  // the widest key, big data
    {"regipy/amcache.hve", {2105, 17539, 0}},          // a root index over "lh" leaves
    {"regipy/corrupted_system_hive", {1687, 5625, 0x57c8d0f860bd9fae}},
    {"regipy/transactions_NTUSER.DAT", {2590, 4119, 0x5a4d1b4f424ad22e}},  // surrogate pairs
    {"dfwinreg/UsrClass.dat", {7505, 19987, 0xe5128b203423352e}},          // a root index over "li"
    {"notatin/win7_ntuser.dat", {4841, 16545, 0}},
    {"plaso/regf/corrupt_sub_key_list.hiv", {100, 99, 0x8eb3552b405a3cc5}},
    {"python-registry/UNICODE_TESTS", {3, 22, 0xed9c9621bbf2fb8f}},
    {"dfir-artifact-museum/Registry/Win7/SAM_RootValue", {65, 71, 0}},
};

TEST(CorpusTest, EveryHiveWalksToItsPinnedCounts) {
    const auto folder = CorpusFolder();
    if (folder.empty()) {
        GTEST_SKIP() << "HIVORA_CORPUS is not set or names no folder; corpus tests skipped";
    }
    UseHiveEngine();
    const auto hives = CorpusHives(folder);
    ASSERT_FALSE(hives.empty());
    size_t pinned = 0;
    for (const auto& file : hives) {
        const std::string name = CorpusName(folder, file);
        SCOPED_TRACE(name);
        ASSERT_TRUE(LoadIntoSystemSlot(file));
        RegKey root = OpenRegKey(HKEY_LOCAL_MACHINE, u"system");
        const TreeSummary summary = root ? SummarizeTree(root.get()) : TreeSummary{};
        root.Reset();
        if (std::getenv("HIVORA_PRINT_CORPUS") != nullptr) {
            std::printf("    {\"%s\", {%" PRIu64 ", %" PRIu64 ", 0x%016" PRIx64 "}},\n",
                        name.c_str(), summary.keys, summary.values, summary.pathDigest);
        }
        const auto it = kExpected.find(name);
        if (it == kExpected.end()) {
            continue;
        }
        ++pinned;
        EXPECT_EQ(summary.keys, it->second.keys);
        EXPECT_EQ(summary.values, it->second.values);
        if (it->second.pathDigest != 0) {
            EXPECT_EQ(summary.pathDigest, it->second.pathDigest);
        }
    }
    FreeHiveSet();
    EXPECT_EQ(pinned, kExpected.size()) << "a pinned corpus file is missing";
}

}  // namespace
}  // namespace hivora::test
