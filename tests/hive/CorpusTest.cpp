// Walks every hive of the corpus with the enumeration calls and pins what the walk sees.
#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>
#include <map>

#include "hive/CorpusSupport.h"
#include "hive/HiveTestSupport.h"
#include "hive/TreeWalk.h"

namespace hivora::test {
namespace {

// Keys (the root included), values, and a digest of the key paths (0: not pinned).
const std::map<std::string, std::tuple<uint64_t, uint64_t, uint64_t>> kExpected = {
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
    size_t pinned = 0;
    for (const auto& file : CorpusHives(folder)) {
        const std::string name = CorpusName(folder, file);
        ASSERT_TRUE(LoadIntoSystemSlot(file)) << name;
        RegKey root = OpenRegKey(HKEY_LOCAL_MACHINE, u"system");
        const TreeSummary summary = root ? SummarizeTree(root.get()) : TreeSummary{};
        if (std::getenv("HIVORA_PRINT_CORPUS") != nullptr) {
            std::printf("    {\"%s\", {%" PRIu64 ", %" PRIu64 ", 0x%016" PRIx64 "}},\n",
                        name.c_str(), summary.keys, summary.values, summary.pathDigest);
        }
        if (const auto it = kExpected.find(name); it != kExpected.end()) {
            ++pinned;
            const auto [keys, values, digest] = it->second;
            EXPECT_EQ(std::tie(summary.keys, summary.values), std::tie(keys, values)) << name;
            EXPECT_TRUE(digest == 0 || summary.pathDigest == digest) << name;
        }
    }
    FreeHiveSet();
    EXPECT_EQ(pinned, kExpected.size()) << "a pinned corpus file is missing";
}

}  // namespace
}  // namespace hivora::test
