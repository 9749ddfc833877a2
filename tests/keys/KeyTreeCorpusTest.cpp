// The key tree and the values list over real hives: every key the tree would show opens again
// from the sub-path built from shown names, the probe agrees with the fill, and every key's
// value rows come out sorted with one default row.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "fileset/FileSet.h"
#include "hive/HiveSet.h"
#include "hive/RegistryBackend.h"
#include "hive/RegistryReader.h"
#include "keys/KeyTree.h"
#include "support/CaseFold.h"
#include "values/ValuesList.h"

namespace hivora {
namespace {

struct WalkCounts {
    size_t keys = 0;
    size_t values = 0;
};

// Depth-first over the tree as a user expanding every item would see it. The depth bound
// keeps a looping hive finite; sub-paths grow at every level, so nothing else repeats.
WalkCounts WalkTree(RootKey root) {
    WalkCounts counts;
    struct Pending {
        KeyItemData record;
        int depth;
    };
    KeyItemData top;
    top.root = root;
    std::vector<Pending> stack = {{top, 0}};
    while (!stack.empty()) {
        const Pending pending = std::move(stack.back());
        stack.pop_back();
        ++counts.keys;

        const std::vector<ValueRow> rows = BuildValueRows(&pending.record, FileSet{});
        EXPECT_TRUE(std::is_sorted(rows.begin(), rows.end(), [](const auto& a, const auto& b) {
            return CompareForDisplay(a.name, b.name) < 0;
        })) << pending.record.subPath;
        EXPECT_TRUE(FindValueRow(rows, "(Default)").has_value()) << pending.record.subPath;
        counts.values += rows.size();

        const std::vector<ChildKey> children = FillChildKeys(pending.record);
        for (const ChildKey& child : children) {
            if (child.name.find('\\') != std::string::npos) {
                continue;  // a damaged name that no path can address
            }
            EXPECT_TRUE(OpenRegKey(root, child.data.subPath)) << child.data.subPath;
            if (pending.depth + 1 < 64) {
                stack.push_back({child.data, pending.depth + 1});
            }
        }
        if (!pending.record.subPath.empty()) {
            EXPECT_EQ(KeyHasSubkeys(root, pending.record.subPath), !children.empty())
                << pending.record.subPath;
        }
    }
    return counts;
}

TEST(KeyTreeCorpus, EveryShownKeyReopensAndListsItsValues) {
    const char* corpus = std::getenv("HIVORA_CORPUS");
    if (corpus == nullptr || !std::filesystem::is_directory(corpus)) {
        GTEST_SKIP() << "HIVORA_CORPUS is not set to the unpacked corpus";
    }
    const std::string files[] = {"python-registry/UNICODE_TESTS", "plaso/regf/100_sub_keys.hiv",
                                 "plaso/regf/corrupt_sub_key_list.hiv", "dfwinreg/NTUSER.DAT"};
    UseHiveEngine();
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        const std::filesystem::path path = std::filesystem::path(corpus) / file;
        if (!std::filesystem::exists(path)) {
            ADD_FAILURE() << "missing from the corpus";
            continue;
        }
        FileSet set;
        set[HiveSlot::NtUser] = path.string();
        ASSERT_EQ(LoadFileSet(set), 1);
        const WalkCounts counts = WalkTree(kUsers);
        EXPECT_GT(counts.keys, 2u);
        EXPECT_GE(counts.values, counts.keys);
    }
    FreeHiveSet();
}

}  // namespace
}  // namespace hivora
