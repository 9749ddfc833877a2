// Damaged and hostile hives: every walk must end, read nothing outside the image (the
// sanitizer build checks the reads), and show what is still readable.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "hive/HiveTestSupport.h"
#include "hive/TreeWalk.h"

namespace hivora::test {
namespace {

constexpr uint32_t kFarOutside = 0x7FFFFFF0;

// root (r1) -> a (a1, a2), b -> c (c1), d
struct SmallTree {
    BuiltHive hive;
    KeyCells root, a, b, c, d;
};

SmallTree BuildSmallTree() {
    HiveBuilder builder;
    builder.AddDword(HiveBuilder::kRoot, u"r1", 1);
    const auto a = builder.AddKey(HiveBuilder::kRoot, u"a");
    builder.AddString(a, u"a1", u"x");
    builder.AddValue(a, u"a2", REG_BINARY, Pattern(10));
    const auto b = builder.AddKey(HiveBuilder::kRoot, u"b");
    const auto c = builder.AddKey(b, u"c");
    builder.AddDword(c, u"c1", 3);
    const auto d = builder.AddKey(HiveBuilder::kRoot, u"d");
    SmallTree tree{builder.Build(), {}, {}, {}, {}, {}};
    tree.root = tree.hive.keys[HiveBuilder::kRoot];
    tree.a = tree.hive.keys[a];
    tree.b = tree.hive.keys[b];
    tree.c = tree.hive.keys[c];
    tree.d = tree.hive.keys[d];
    return tree;
}

// Points `key` at a new subkey list.
void ReplaceSubkeyList(SmallTree& tree, const KeyCells& key, uint32_t list, uint32_t count) {
    tree.hive.PutU32(key.key, field::kKeySubkeyList, list);
    tree.hive.PutU32(key.key, field::kKeySubkeyCount, count);
}

struct DamageRow {
    const char* name;
    std::function<void(SmallTree&)> damage;
    uint64_t keys;
    uint64_t values;
    uint64_t dataBytes;
};

// The intact tree: 5 keys, 4 values, 4 + 4 + 10 + 4 data bytes.
const DamageRow kDamageRows[] = {
    {"intact", [](SmallTree&) {}, 5, 4, 22},
    {"subkey_element_outside_image",
     [](SmallTree& t) { t.hive.PutU32(t.root.subkeyList, field::kListElements, kFarOutside); }, 4,
     2, 8},
    {"subkey_element_names_a_value_record",
     [](SmallTree& t) { t.hive.PutU32(t.root.subkeyList, field::kListElements, t.a.values[0]); }, 4,
     2, 8},
    {"subkey_list_outside_image",
     [](SmallTree& t) { t.hive.PutU32(t.root.key, field::kKeySubkeyList, 0xFFFFFFF0); }, 1, 1, 4},
    {"subkey_count_absurd",
     [](SmallTree& t) { t.hive.PutU32(t.root.key, field::kKeySubkeyCount, 0x7FFFFFFF); }, 5, 4, 22},
    {"subkey_count_negative",
     [](SmallTree& t) { t.hive.PutU32(t.root.key, field::kKeySubkeyCount, 0x80000000); }, 1, 1, 4},
    {"list_count_negative",
     [](SmallTree& t) { t.hive.PutU16(t.root.subkeyList, field::kListCount, 0x8001); }, 1, 1, 4},
    {"value_list_outside_image",
     [](SmallTree& t) { t.hive.PutU32(t.a.key, field::kKeyValueList, kFarOutside); }, 5, 2, 8},
    {"value_element_names_a_key_record",
     [](SmallTree& t) { t.hive.PutU32(t.a.valueList, 0, t.a.key); }, 5, 3, 18},
    {"value_count_absurd",
     [](SmallTree& t) { t.hive.PutU32(t.c.key, field::kKeyValueCount, 0xFFFFFFFF); }, 5, 4, 22},
    {"data_offset_outside_image",
     [](SmallTree& t) { t.hive.PutU32(t.a.values[1], field::kValueDataOffset, kFarOutside); }, 5, 4,
     12},
    {"resident_size_above_four",
     [](SmallTree& t) { t.hive.PutU32(t.c.values[0], field::kValueDataLength, 0x80000010); }, 5, 4,
     18},
    {"data_length_beyond_image",
     [](SmallTree& t) { t.hive.PutU32(t.a.values[1], field::kValueDataLength, 0x7FFFFFFF); }, 5, 4,
     12},
    {"key_name_length_negative",
     [](SmallTree& t) { t.hive.PutU16(t.a.key, field::kKeyNameLength, 0x8000); }, 4, 2, 8},
    {"value_name_length_negative",
     [](SmallTree& t) { t.hive.PutU16(t.a.values[0], field::kValueNameLength, 0xFFFF); }, 5, 3, 18},
    {"key_name_runs_past_image",
     [](SmallTree& t) { t.hive.PutU16(t.d.key, field::kKeyNameLength, 0x7FFF); }, 4, 4, 22},
    {"list_names_the_key_itself",
     [](SmallTree& t) {
         const uint32_t list[] = {t.c.key, t.b.key};
         ReplaceSubkeyList(t, t.b, t.hive.AppendList("li", list), 2);
     },
     5, 4, 22},
    {"list_names_the_root",
     [](SmallTree& t) {
         const uint32_t list[] = {t.root.key};
         ReplaceSubkeyList(t, t.c, t.hive.AppendList("lh", list), 1);
     },
     5, 4, 22},
    // Walked below both keys, as the tree shows it.
    {"two_keys_share_one_list", [](SmallTree& t) { ReplaceSubkeyList(t, t.d, t.b.subkeyList, 1); },
     6, 5, 26},
    {"root_index_nested",
     [](SmallTree& t) {
         const uint32_t inner[] = {t.root.subkeyList};
         const uint32_t outer[] = {t.hive.AppendList("ri", inner), t.root.subkeyList};
         ReplaceSubkeyList(t, t.root, t.hive.AppendList("ri", outer), 3);
     },
     5, 4, 22},
    {"root_index_names_itself",
     [](SmallTree& t) {
         // The root index is appended last, so its cell is the next one: patch it in after.
         const uint32_t outer[] = {0, t.root.subkeyList};
         const uint32_t ri = t.hive.AppendList("ri", outer);
         t.hive.PutU32(ri, field::kListElements, ri);
         ReplaceSubkeyList(t, t.root, ri, 3);
     },
     5, 4, 22},
    {"root_index_repeats_one_leaf_10000_times",
     [](SmallTree& t) {
         const std::vector<uint32_t> leaves(10000, t.root.subkeyList);
         ReplaceSubkeyList(t, t.root, t.hive.AppendList("ri", leaves), 30000);
     },
     5, 4, 22},
    {"root_index_leaf_outside_image",
     [](SmallTree& t) {
         const uint32_t leaves[] = {kFarOutside, t.root.subkeyList};
         ReplaceSubkeyList(t, t.root, t.hive.AppendList("ri", leaves), 3);
     },
     5, 4, 22},
    {"root_index_count_runs_past_image",
     [](SmallTree& t) {
         const uint32_t leaves[] = {t.root.subkeyList};
         ReplaceSubkeyList(t, t.root, t.hive.AppendList("ri", leaves, 0x7FFF), 3);
     },
     5, 4, 22},
    {"leaf_count_runs_past_image",
     [](SmallTree& t) {
         const uint32_t keys[] = {t.a.key, t.b.key, t.d.key};
         ReplaceSubkeyList(t, t.root, t.hive.AppendList("lf", keys, 0x7FFF), 0x7FFF);
     },
     5, 4, 22},
    {"truncated_before_the_lists",
     [](SmallTree& t) { t.hive.Truncate(BuiltHive::RecordAt(t.d.key) + 0x10); }, 1, 1, 4},
    {"only_the_signature", [](SmallTree& t) { t.hive.Truncate(4); }, 0, 0, 0},
    {"root_record_and_base_block_root_broken",
     [](SmallTree& t) {
         t.hive.PutU16(t.root.key, 0, 0x7878);
         t.hive.bytes[0x24] = 0xF0;
         t.hive.bytes[0x27] = 0x7F;
     },
     0, 0, 0},
};

class HostileHiveTest : public HiveSetTest {};

TEST_F(HostileHiveTest, WalksEndAndShowWhatIsReadable) {
    for (const DamageRow& row : kDamageRows) {
        SmallTree tree = BuildSmallTree();
        row.damage(tree);
        FreeHiveSet();
        Load(HiveSlot::System, tree.hive);

        RegKey root = OpenRegKey(HKEY_LOCAL_MACHINE, u"system");
        const TreeSummary summary = root ? SummarizeTree(root.get()) : TreeSummary{};
        EXPECT_EQ(summary.keys, row.keys) << row.name;
        EXPECT_EQ(summary.values, row.values) << row.name;
        EXPECT_EQ(summary.dataBytes, row.dataBytes) << row.name;

        // From the top, as the key tree and the exporters walk: the hive is listed even when
        // nothing below it can be read.
        const TreeSummary fromTop = SummarizeTree(HKEY_LOCAL_MACHINE);
        EXPECT_EQ(fromTop.keys, 1 + row.keys) << row.name;
        EXPECT_EQ(SubkeyNames(HKEY_LOCAL_MACHINE), std::vector<std::u16string>{u"system"});
    }
}

TEST_F(HostileHiveTest, UnreadableDataKeepsItsTypeAndReportsSizeZero) {
    SmallTree tree = BuildSmallTree();
    tree.hive.PutU32(tree.a.values[1], field::kValueDataOffset, kFarOutside);
    Load(HiveSlot::System, tree.hive);
    RegKey a = OpenRegKey(HKEY_LOCAL_MACHINE, u"system\\a");
    ValueInfo info;
    ASSERT_EQ(EnumValueInfo(a.get(), 1, info), ERROR_SUCCESS);
    EXPECT_EQ(info.name, u"a2");
    EXPECT_EQ(info.type, REG_BINARY);
    EXPECT_EQ(info.size, 0u);
}

TEST_F(HostileHiveTest, ClassNameOutsideTheImageIsNoClassName) {
    HiveBuilder builder;
    builder.SetClass(builder.AddKey(HiveBuilder::kRoot, u"k"), u"classy");
    BuiltHive hive = builder.Build();
    hive.PutU32(hive.keys[1].key, field::kKeyClass, kFarOutside);
    Load(HiveSlot::System, hive);
    RegKey root = OpenRegKey(HKEY_LOCAL_MACHINE, u"system");
    char16_t className[16] = {u'#', 0};
    uint32_t classLength = 16;
    EXPECT_EQ(HiveEnumKeyEx(root.get(), 0, nullptr, nullptr, nullptr, className, &classLength,
                            nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(classLength, 0u);
    EXPECT_EQ(className[0], u'#');
}

TEST_F(HostileHiveTest, BrokenBigDataIsEmpty) {
    struct Row {
        const char* name;
        std::function<void(BuiltHive&, uint32_t db)> damage;
    };
    const Row rows[] = {
        {"segment_outside_image",
         [](BuiltHive& h, uint32_t db) {
             h.PutU32(h.GetU32(db, field::kBigDataSegmentList), 4, kFarOutside);
         }},
        {"too_few_segments",
         [](BuiltHive& h, uint32_t db) { h.PutU16(db, field::kBigDataSegmentCount, 1); }},
        {"segment_list_outside_image",
         [](BuiltHive& h, uint32_t db) { h.PutU32(db, field::kBigDataSegmentList, kFarOutside); }},
    };
    for (const Row& row : rows) {
        HiveBuilder builder;
        builder.AddValue(HiveBuilder::kRoot, u"big", REG_BINARY, Pattern(40000), DataForm::BigData);
        BuiltHive hive = builder.Build();
        row.damage(hive, hive.keys[0].data[0]);
        FreeHiveSet();
        Load(HiveSlot::System, hive);
        RegKey root = OpenRegKey(HKEY_LOCAL_MACHINE, u"system");
        ValueInfo info;
        ASSERT_EQ(EnumValueInfo(root.get(), 0, info), ERROR_SUCCESS) << row.name;
        EXPECT_EQ(info.type, REG_BINARY) << row.name;
        EXPECT_EQ(info.size, 0u) << row.name;
    }
}

TEST_F(HostileHiveTest, DeepChainsStopAtTheDepthBoundAndOpenByPath) {
    constexpr int kDepth = 2000;
    HiveBuilder builder;
    HiveBuilder::KeyId key = HiveBuilder::kRoot;
    std::u16string path = u"system";
    for (int i = 0; i < kDepth; ++i) {
        key = builder.AddKey(key, u"k");
        path += u"\\k";
    }
    builder.AddDword(key, u"bottom", 1);
    Load(HiveSlot::System, builder.Build());

    RegKey root = OpenRegKey(HKEY_LOCAL_MACHINE, u"system");
    const TreeSummary summary = SummarizeTree(root.get());
    EXPECT_EQ(summary.maxDepth, RegistryWalker::kMaxDepth);
    EXPECT_EQ(summary.keys, static_cast<uint64_t>(RegistryWalker::kMaxDepth) + 1);
    EXPECT_EQ(summary.values, 0u);

    // Opening by path has no depth bound: it walks iteratively.
    RegKey bottom = OpenRegKey(HKEY_LOCAL_MACHINE, path);
    ASSERT_TRUE(bottom);
    EXPECT_EQ(ValueNames(bottom.get()), std::vector<std::u16string>{u"bottom"});
}

}  // namespace
}  // namespace hivora::test
