// Deleted records in built hives: each row frees (and damages) cells of one small tree the way
// Windows deletes keys and values, then checks what the scan recovers and where it files it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <map>
#include <string>

#include "hive/DeletedRecords.h"
#include "hive/HiveTestSupport.h"
#include "support/LittleEndian.h"
#include "support/TextConvert.h"

namespace hivora::test {
namespace {

// root -> a (keep, gone, big) -> b (vc), and freeing cells of it as Windows deletes.
struct Tree {
    BuiltHive hive;
    KeyCells root, a, b;

    int32_t SizeWord(uint32_t cell) const {
        return static_cast<int32_t>(ReadLe32(hive.bytes, 0x1000 + cell));
    }
    void SetSizeWord(uint32_t cell, int32_t size) {
        WriteLittleEndian(std::span(hive.bytes), 0x1000 + cell, static_cast<uint32_t>(size));
    }
    void Free(uint32_t cell) { SetSizeWord(cell, std::abs(SizeWord(cell))); }
    void FreeValue(const KeyCells& key, size_t index) {  // the record and all its data cells
        Free(key.values[index]);
        if (const uint32_t data = key.data[index]; data != KeyCells::kNone) {
            Free(data);
            if (hive.bytes[BuiltHive::RecordAt(data)] == 'd') {
                const uint32_t list = hive.GetU32(data, field::kBigDataSegmentList);
                Free(list);
                for (uint32_t i = 0; i < 3; ++i) {
                    Free(hive.GetU32(list, 4 * i));
                }
            }
        }
    }
    void Merge(uint32_t first, uint32_t second) {  // coalesces two adjacent free cells
        ASSERT_EQ(first + static_cast<uint32_t>(SizeWord(first)), second);
        SetSizeWord(first, SizeWord(first) + std::abs(SizeWord(second)));
    }
    void SetParent(const KeyCells& key, uint32_t parent) {
        hive.PutU32(key.key, field::kKeyParent, parent);
    }
    void Detach(const KeyCells& key) { hive.PutU32(key.key, field::kKeySubkeyCount, 0); }
};

Tree BuildTree() {
    HiveBuilder builder;
    const auto a = builder.AddKey(HiveBuilder::kRoot, u"a");
    builder.AddDword(a, u"keep", 1);
    builder.AddString(a, u"gone", u"hello");
    builder.AddValue(a, u"big", REG_BINARY, Pattern(40000));
    const auto b = builder.AddKey(a, u"b");
    builder.AddValue(b, u"vc", REG_BINARY, Pattern(40));
    BuiltHive hive = builder.Build();
    const std::vector<KeyCells> k = hive.keys;
    return {std::move(hive), k[HiveBuilder::kRoot], k[a], k[b]};
}

DeletedRecords Scan(const BuiltHive& hive) {
    return ScanDeletedRecords(ImageView(hive.bytes.data(), hive.bytes.size()), 5,
                              0x1000 + hive.keys[HiveBuilder::kRoot].key);
}

// One line per record, keys first: "key b: a\b", "value vc of a\b: 40 bytes"; data that
// differs from what the builder stored is "changed".
std::string Describe(const DeletedRecords& records) {
    const std::map<std::string, std::vector<uint8_t>> stored = {
        {"gone", Utf16Bytes("hello|")}, {"big", Pattern(40000)}, {"vc", Pattern(40)}};
    std::string text;
    for (size_t i = 0; i < records.Keys().size(); ++i) {
        text += "key " + ToUtf8(records.Keys()[i].name) + ": " +
                DeletedPathText(records.KeyPath(i)) + "\n";
    }
    for (size_t i = 0; i < records.Values().size(); ++i) {
        const DeletedValue& value = records.Values()[i];
        const std::string name = ToUtf8(value.name);
        const auto bytes = records.ValueBytes(i);
        const auto owner =
            value.key == DeletedLink::kUnknown ? std::nullopt : records.PathOfKey(value.keyOffset);
        text += "value " + name + " of " + DeletedPathText(owner) + ": " +
                (!bytes                      ? "lost"
                 : *bytes == stored.at(name) ? std::to_string(bytes->size()) + " bytes"
                                             : "changed") +
                "\n";
    }
    return text;
}

struct Row {
    const char* name;
    std::function<void(Tree&)> remove;
    const char* found;
};

const Row kRows[] = {
    {"nothing_deleted", [](Tree&) {}, ""},
    {"key_with_its_values",
     [](Tree& t) { t.Free(t.b.key), t.Free(t.b.valueList), t.FreeValue(t.b, 0), t.Detach(t.a); },
     "key b: a\\b\nvalue vc of a\\b: 40 bytes\n"},
    {"records_in_coalesced_cells",
     [](Tree& t) {
         t.Free(t.b.key), t.Free(t.b.valueList), t.FreeValue(t.b, 0), t.Detach(t.a);
         t.Merge(t.b.key, t.b.values[0]);
     },
     "key b: a\\b\nvalue vc of a\\b: 40 bytes\n"},
    {"parents_loop",
     [](Tree& t) {
         t.Free(t.a.key), t.Free(t.b.key), t.Detach(t.root);
         t.SetParent(t.a, t.b.key), t.SetParent(t.b, t.a.key);
     },
     "key a: ?\\b\\a\nkey b: ?\\b\n"},
    {"name_runs_past_free_cell",
     [](Tree& t) {
         t.Free(t.b.key), t.hive.PutU16(t.b.key, field::kKeyNameLength, 0x200), t.Detach(t.a);
     },
     ""},
    {"name_length_zero",
     [](Tree& t) {
         t.Free(t.b.key), t.hive.PutU16(t.b.key, field::kKeyNameLength, 0), t.Detach(t.a);
     },
     ""},
    {"value_list_slack",
     [](Tree& t) { t.hive.PutU32(t.a.key, field::kKeyValueCount, 1), t.FreeValue(t.a, 1); },
     "value gone of a: 12 bytes\n"},
    {"slack_value_data_cell_in_use",
     [](Tree& t) { t.hive.PutU32(t.a.key, field::kKeyValueCount, 1), t.Free(t.a.values[1]); },
     "value gone of a: lost\n"},
    {"big_data_value",
     [](Tree& t) { t.hive.PutU32(t.a.key, field::kKeyValueCount, 1), t.FreeValue(t.a, 2); },
     "value big of a: 40000 bytes\n"},
    {"big_data_segment_in_use",
     [](Tree& t) {
         t.hive.PutU32(t.a.key, field::kKeyValueCount, 1), t.FreeValue(t.a, 2);
         const uint32_t segment =
             t.hive.GetU32(t.hive.GetU32(t.a.data[2], field::kBigDataSegmentList), 4);
         t.SetSizeWord(segment, -t.SizeWord(segment));
     },
     "value big of a: lost\n"},
};

class DeletedRecordScanTest : public ::testing::TestWithParam<Row> {};

TEST_P(DeletedRecordScanTest, RecoversWhatTheFreeCellsStillHold) {
    Tree tree = BuildTree();
    GetParam().remove(tree);
    EXPECT_EQ(Describe(Scan(tree.hive)), GetParam().found);
}

INSTANTIATE_TEST_SUITE_P(Rows, DeletedRecordScanTest, ::testing::ValuesIn(kRows),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(DeletedRecordScan, DeepChainIsCutAtTheNestingLimit) {
    HiveBuilder builder;
    HiveBuilder::KeyId key = HiveBuilder::kRoot;
    for (int depth = 0; depth < 600; ++depth) {
        key = builder.AddKey(key, u"k");
    }
    BuiltHive hive = builder.Build();
    hive.PutU32(hive.keys[HiveBuilder::kRoot].key, field::kKeySubkeyCount, 0);
    Tree tree{hive, {}, {}, {}};
    for (size_t i = 1; i < hive.keys.size(); ++i) {
        tree.Free(hive.keys[i].key);
    }
    const DeletedRecords records = Scan(tree.hive);
    ASSERT_EQ(records.Keys().size(), 600u);
    EXPECT_TRUE(records.KeyPath(0).complete);
    const DeletedKeyPath deepest = records.KeyPath(599);
    EXPECT_FALSE(deepest.complete);
    EXPECT_EQ(deepest.components.size(), 512u);
    EXPECT_EQ(records.KeysUnder(hive.keys[HiveBuilder::kRoot].key), std::vector<size_t>{0});
}

}  // namespace
}  // namespace hivora::test
