#include "values/ValuesList.h"

#include <gtest/gtest.h>

#include "hive/HiveTestSupport.h"

namespace hivora {
namespace {

using test::HiveBuilder;

struct RowText {
    std::string name;
    std::string type;
    std::string data;
    int image;
    bool operator==(const RowText&) const = default;
};

void PrintTo(const RowText& row, std::ostream* os) {
    *os << row.name << " | " << row.type << " | " << row.data << " | " << row.image;
}

std::vector<RowText> Texts(const std::vector<ValueRow>& rows) {
    std::vector<RowText> texts;
    for (const ValueRow& row : rows) {
        texts.push_back({row.name, row.type, row.data, row.image});
    }
    return texts;
}

class ValuesListTest : public test::HiveSetTest {
protected:
    void SetUp() override {
        HiveSetTest::SetUp();
        HiveBuilder builder;
        builder.AddKey(HiveBuilder::kRoot, u"Empty");
        const auto named = builder.AddKey(HiveBuilder::kRoot, u"Named");
        builder.AddString(named, u"b", u"bee");
        builder.AddString(named, u"a", u"ay");
        builder.AddDword(named, u"C", 42);
        builder.AddValue(named, u"B", REG_BINARY, test::Bytes({0x01, 0xAB}));
        const auto withDefault = builder.AddKey(HiveBuilder::kRoot, u"WithDefault");
        builder.AddString(withDefault, u"", u"hello");
        builder.AddValue(withDefault, std::u16string(289, u'v'), REG_NONE, {});
        Load(HiveSlot::System, builder.Build());
    }

    static std::vector<ValueRow> Rows(RootKey root, std::string subPath) {
        const KeyItemData record{.subPath = std::move(subPath), .root = root};
        return BuildValueRows(&record, FileSet{});
    }
};

TEST_F(ValuesListTest, ValueRowsSortedWithTheirTextsAndOneDefaultRow) {
    const RowText unset = {"(Default)", "REG_SZ", "(value not set)", 0};
    const std::vector<ValueRow> rows = Rows(kLocalMachine, "system\\Named");
    EXPECT_EQ(Texts(rows), (std::vector<RowText>{unset,
                                                 {"a", "REG_SZ", "ay", 0},
                                                 {"b", "REG_SZ", "bee", 0},
                                                 {"B", "REG_BINARY", "01 AB ", 1},
                                                 {"C", "REG_DWORD", "0x0000002a (42)", 1}}));
    ASSERT_TRUE(rows[4].item.has_value());
    EXPECT_EQ(rows[4].item->name, "C");
    EXPECT_EQ(rows[4].item->data.GetSize(), 4u);
    EXPECT_EQ(rows[0].item->data.GetSize(), 0u);
    EXPECT_EQ(FindValueRow(rows, "(default)"), 0u);
    EXPECT_EQ(FindValueRow(rows, "B"), 2u);  // the first of b and B
    EXPECT_EQ(FindValueRow(rows, "d"), std::nullopt);

    EXPECT_EQ(Texts(Rows(kLocalMachine, "system\\Empty")), std::vector<RowText>{unset});
    // A missing key is an open that succeeds with no handle: the default row alone.
    EXPECT_EQ(Texts(Rows(kLocalMachine, "system\\Missing")), std::vector<RowText>{unset});
    EXPECT_EQ(Texts(Rows(kLocalMachine, "system\\WithDefault")),
              (std::vector<RowText>{{"(Default)", "REG_SZ", "hello", 0},
                                    {std::string(289, 'v'), "REG_NONE", "(value not set)", -1}}));
}

TEST_F(ValuesListTest, TopItemListsTheFilesOfTheSet) {
    FileSet files;
    files[HiveSlot::System] = "/evidence/SYSTEM";
    files[HiveSlot::Default] = "/evidence/DEFAULT";
    const std::vector<RowText> rows = Texts(BuildValueRows(nullptr, files));
    ASSERT_EQ(rows.size(), kHiveSlotCount);
    EXPECT_EQ(rows[1], (RowText{"System", "<information>", "/evidence/SYSTEM", -1}));
    EXPECT_EQ(rows[2], (RowText{"Software", "<information>", "<EMPTY>", -1}));
    EXPECT_EQ(rows[7], (RowText{".Default", "<information>", "/evidence/DEFAULT", -1}));
}

}  // namespace
}  // namespace hivora
