// The key tree and the values list over real hives: every key the tree would show opens again
// from the sub-path built from shown names, the probe agrees with the fill, and every key's
// value rows come out sorted with one default row.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fileset/FileSet.h"
#include "hive/CorpusSupport.h"
#include "hive/HiveSet.h"
#include "hive/RegistryBackend.h"
#include "hive/RegistryReader.h"
#include "keys/KeyTree.h"
#include "support/CaseFold.h"
#include "values/ValuesList.h"

namespace hivora {
namespace {

TEST(KeyTreeCorpus, EveryShownKeyReopensAndListsItsValues) {
    const auto corpus = test::CorpusFolder();
    if (corpus.empty()) {
        GTEST_SKIP() << "HIVORA_CORPUS is not set to the unpacked corpus";
    }
    UseHiveEngine();
    for (const char* file : {"python-registry/UNICODE_TESTS", "plaso/regf/100_sub_keys.hiv",
                             "plaso/regf/corrupt_sub_key_list.hiv", "dfwinreg/NTUSER.DAT"}) {
        SCOPED_TRACE(file);
        FileSet set;
        set[HiveSlot::NtUser] = (corpus / file).string();
        ASSERT_EQ(LoadFileSet(set), 1);
        // Depth-first over the tree as a user expanding every item would see it. The depth bound
        // keeps a looping hive finite; sub-paths grow at every level, so nothing else repeats.
        KeyItemData top;
        top.root = kUsers;
        std::vector<std::pair<KeyItemData, int>> stack = {{top, 0}};
        size_t keys = 0;
        while (!stack.empty()) {
            const auto [record, depth] = std::move(stack.back());
            stack.pop_back();
            ++keys;
            const std::vector<ValueRow> rows = BuildValueRows(&record, FileSet{});
            EXPECT_TRUE(std::is_sorted(rows.begin(), rows.end(), [](const auto& a, const auto& b) {
                return CompareForDisplay(a.name, b.name) < 0;
            })) << record.subPath;
            EXPECT_TRUE(FindValueRow(rows, "(Default)").has_value()) << record.subPath;
            const std::vector<ChildKey> children = FillChildKeys(record);
            for (const ChildKey& child : children) {
                if (child.name.find('\\') == std::string::npos) {  // else no path can address it
                    EXPECT_TRUE(OpenRegKey(kUsers, child.data.subPath)) << child.data.subPath;
                    if (depth + 1 < 64) {
                        stack.push_back({child.data, depth + 1});
                    }
                }
            }
            EXPECT_TRUE(record.subPath.empty() ||
                        KeyHasSubkeys(kUsers, record.subPath) == !children.empty())
                << record.subPath;
        }
        EXPECT_GT(keys, 2u);
    }
    FreeHiveSet();
}

}  // namespace
}  // namespace hivora
