// Damaged and hostile hives: every walk must end, read nothing outside the image (the
// sanitizer build checks the reads), and show what is still readable.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>

#include "hive/HiveTestSupport.h"
#include "hive/TreeWalk.h"
#include "support/LittleEndian.h"

namespace hivora::test {
namespace {

constexpr uint32_t kFarOutside = 0x7FFFFFF0;

// root (r1) -> a (a1, a2 in big data), b -> c (c1), d
struct SmallTree {
    BuiltHive hive;
    KeyCells root, a, b, c, d;
};

SmallTree BuildSmallTree() {
    HiveBuilder builder;
    builder.AddDword(HiveBuilder::kRoot, u"r1", 1);
    const auto a = builder.AddKey(HiveBuilder::kRoot, u"a");
    builder.AddString(a, u"a1", u"x");
    builder.AddValue(a, u"a2", REG_BINARY, Pattern(40000));
    const auto b = builder.AddKey(HiveBuilder::kRoot, u"b");
    const auto c = builder.AddKey(b, u"c");
    builder.AddDword(c, u"c1", 3);
    const auto d = builder.AddKey(HiveBuilder::kRoot, u"d");
    BuiltHive hive = builder.Build();
    const std::vector<KeyCells> k = hive.keys;
    return {std::move(hive), k[HiveBuilder::kRoot], k[a], k[b], k[c], k[d]};
}

// Points `key` at a new subkey list.
void ReplaceSubkeyList(SmallTree& tree, const KeyCells& key, uint32_t list, uint32_t count) {
    tree.hive.PutU32(key.key, field::kKeySubkeyList, list);
    tree.hive.PutU32(key.key, field::kKeySubkeyCount, count);
}

struct DamageRow {
    const char* name;
    uint64_t keys, values, dataBytes;  // what the walk still reads
    std::function<void(SmallTree&)> damage;
};

using T = SmallTree&;
// The intact tree: 5 keys, 4 values, 4 + 4 + 40000 + 4 data bytes.
const DamageRow kDamageRows[] = {
    {"intact", 5, 4, 40012, [](T) {}},
    {"subkey_element_outside_image", 4, 2, 8,
     [](T t) { t.hive.PutU32(t.root.subkeyList, field::kListElements, kFarOutside); }},
    {"subkey_element_names_a_value_record", 4, 2, 8,
     [](T t) { t.hive.PutU32(t.root.subkeyList, field::kListElements, t.a.values[0]); }},
    {"subkey_list_outside_image", 1, 1, 4,
     [](T t) { t.hive.PutU32(t.root.key, field::kKeySubkeyList, 0xFFFFFFF0); }},
    {"subkey_count_absurd", 5, 4, 40012,
     [](T t) { t.hive.PutU32(t.root.key, field::kKeySubkeyCount, 0x7FFFFFFF); }},
    {"subkey_count_negative", 1, 1, 4,
     [](T t) { t.hive.PutU32(t.root.key, field::kKeySubkeyCount, 0x80000000); }},
    {"list_count_negative", 1, 1, 4,
     [](T t) { t.hive.PutU16(t.root.subkeyList, field::kListCount, 0x8001); }},
    {"value_list_outside_image", 5, 2, 8,
     [](T t) { t.hive.PutU32(t.a.key, field::kKeyValueList, kFarOutside); }},
    {"value_element_names_a_key_record", 5, 3, 40008,
     [](T t) { t.hive.PutU32(t.a.valueList, 0, t.a.key); }},
    {"value_count_absurd", 5, 4, 40012,
     [](T t) { t.hive.PutU32(t.c.key, field::kKeyValueCount, 0xFFFFFFFF); }},
    {"data_offset_outside_image", 5, 4, 12,
     [](T t) { t.hive.PutU32(t.a.values[1], field::kValueDataOffset, kFarOutside); }},
    {"big_data_segment_outside_image", 5, 4, 12,
     [](T t) {
         t.hive.PutU32(t.hive.GetU32(t.a.data[1], field::kBigDataSegmentList), 4, kFarOutside);
     }},
    {"big_data_too_few_segments", 5, 4, 12,
     [](T t) { t.hive.PutU16(t.a.data[1], field::kBigDataSegmentCount, 1); }},
    {"big_data_segment_list_outside_image", 5, 4, 12,
     [](T t) { t.hive.PutU32(t.a.data[1], field::kBigDataSegmentList, kFarOutside); }},
    {"resident_size_above_four", 5, 4, 40008,
     [](T t) { t.hive.PutU32(t.c.values[0], field::kValueDataLength, 0x80000010); }},
    {"data_length_beyond_image", 5, 4, 12,
     [](T t) { t.hive.PutU32(t.a.values[1], field::kValueDataLength, 0x7FFFFFFF); }},
    {"key_name_length_negative", 4, 2, 8,
     [](T t) { t.hive.PutU16(t.a.key, field::kKeyNameLength, 0x8000); }},
    {"value_name_length_negative", 5, 3, 40008,
     [](T t) { t.hive.PutU16(t.a.values[0], field::kValueNameLength, 0xFFFF); }},
    {"key_name_runs_past_image", 4, 4, 40012,
     [](T t) { t.hive.PutU16(t.d.key, field::kKeyNameLength, 0x7FFF); }},
    {"list_names_the_key_itself", 5, 4, 40012,
     [](T t) {
         const uint32_t list[] = {t.c.key, t.b.key};
         ReplaceSubkeyList(t, t.b, t.hive.AppendList("li", list), 2);
     }},
    {"list_names_the_root", 5, 4, 40012,
     [](T t) { ReplaceSubkeyList(t, t.c, t.hive.AppendList("lh", std::array{t.root.key}), 1); }},
    // Walked below both keys, as the tree shows it.
    {"two_keys_share_one_list", 6, 5, 40016,
     [](T t) { ReplaceSubkeyList(t, t.d, t.b.subkeyList, 1); }},
    {"root_index_nested", 5, 4, 40012,
     [](T t) {
         const uint32_t outer[] = {t.hive.AppendList("ri", std::array{t.root.subkeyList}),
                                   t.root.subkeyList};
         ReplaceSubkeyList(t, t.root, t.hive.AppendList("ri", outer), 3);
     }},
    {"root_index_names_itself", 5, 4, 40012,
     [](T t) {
         // The root index's own cell is known only once appended: patch it in after.
         const uint32_t ri = t.hive.AppendList("ri", std::array{0u, t.root.subkeyList});
         t.hive.PutU32(ri, field::kListElements, ri);
         ReplaceSubkeyList(t, t.root, ri, 3);
     }},
    {"root_index_repeats_one_leaf_10000_times", 5, 4, 40012,
     [](T t) {
         const std::vector<uint32_t> leaves(10000, t.root.subkeyList);
         ReplaceSubkeyList(t, t.root, t.hive.AppendList("ri", leaves), 30000);
     }},
    {"root_index_leaf_outside_image", 5, 4, 40012,
     [](T t) {
         const uint32_t ri = t.hive.AppendList("ri", std::array{kFarOutside, t.root.subkeyList});
         ReplaceSubkeyList(t, t.root, ri, 3);
     }},
    {"root_index_count_runs_past_image", 5, 4, 40012,
     [](T t) {
         const uint32_t ri = t.hive.AppendList("ri", std::array{t.root.subkeyList}, 0x7FFF);
         ReplaceSubkeyList(t, t.root, ri, 3);
     }},
    {"leaf_count_runs_past_image", 5, 4, 40012,
     [](T t) {
         const uint32_t lf = t.hive.AppendList("lf", std::array{t.a.key, t.b.key, t.d.key}, 0x7FFF);
         ReplaceSubkeyList(t, t.root, lf, 0x7FFF);
     }},
    {"truncated_before_the_lists", 1, 1, 4,
     [](T t) { t.hive.Truncate(BuiltHive::RecordAt(t.d.key) + 0x10); }},
    {"only_the_signature", 0, 0, 0, [](T t) { t.hive.Truncate(4); }},
    {"root_record_and_base_block_root_broken", 0, 0, 0,
     [](T t) {
         t.hive.PutU16(t.root.key, 0, 0x7878);
         WriteLittleEndian<uint32_t>(t.hive.bytes, field::kRootCellOffset, 0x7F0000F0);
     }},
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

TEST_F(HostileHiveTest, ClassNameOutsideTheImageIsNoClassName) {
    HiveBuilder builder;
    builder.SetClass(builder.AddKey(HiveBuilder::kRoot, u"k"), u"classy");
    BuiltHive hive = builder.Build();
    hive.PutU32(hive.keys[1].key, field::kKeyClass, kFarOutside);
    Load(HiveSlot::System, hive);
    RegKey root = OpenRegKey(HKEY_LOCAL_MACHINE, u"system");
    char16_t className[4] = {u'#', 0};
    uint32_t classLength = 4;
    EXPECT_EQ(HiveEnumKeyEx(root.get(), 0, nullptr, nullptr, nullptr, className, &classLength,
                            nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(classLength, 0u);
    EXPECT_EQ(className[0], u'#');
}

TEST_F(HostileHiveTest, DeepChainsOpenByPathBelowTheWalkDepth) {
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

    // Walks stop at the depth bound (every client is checked on a deep chain with the walk
    // tests); opening by path has no bound: it walks iteratively.
    RegKey bottom = OpenRegKey(HKEY_LOCAL_MACHINE, path);
    ASSERT_TRUE(bottom);
    EXPECT_EQ(ValueNames(bottom.get()), std::vector<std::u16string>{u"bottom"});
}

}  // namespace
}  // namespace hivora::test
