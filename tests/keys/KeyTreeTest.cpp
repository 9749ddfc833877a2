#include "keys/KeyTree.h"

#include <gtest/gtest.h>

#include "hive/HiveTestSupport.h"
#include "support/FileTimeFormat.h"

namespace hivora {
namespace {

using test::HiveBuilder;

class KeyTreeTest : public test::HiveSetTest {
protected:
    void SetUp() override {
        HiveSetTest::SetUp();
        HiveBuilder builder;
        // Added out of order: the tree sorts, whatever the enumeration order.
        builder.AddPath(HiveBuilder::kRoot, u"zeta\\inner\\deeper");
        const auto alpha = builder.AddKey(HiveBuilder::kRoot, u"Alpha");
        builder.SetLastWrite(alpha, kLastWrite);
        builder.AddKey(HiveBuilder::kRoot, u"beta");
        builder.AddKey(HiveBuilder::kRoot, std::u16string(300, u'L'));
        // A damaged name that no path can address, with a subkey of its own.
        const auto odd = builder.AddKey(HiveBuilder::kRoot, u"odd\\name");
        builder.AddKey(odd, u"child");
        Load(HiveSlot::Software, builder.Build());
    }

    static KeyItemData Record(RootKey root, std::string subPath) {
        KeyItemData record;
        record.root = root;
        record.subPath = std::move(subPath);
        return record;
    }

    const FileTime kLastWrite = ClockReadingToFileTime({2004, 3, 5, 10, 0, 0});
};

TEST_F(KeyTreeTest, FillsSortedChildrenWithProbesAndAddresses) {
    const std::vector<ChildKey> children = FillChildKeys(Record(kLocalMachine, "software"));
    ASSERT_EQ(children.size(), 5u);
    EXPECT_EQ(children[0].name, "Alpha");
    EXPECT_EQ(children[1].name, "beta");
    EXPECT_EQ(children[2].name, std::string(300, 'L'));  // whole, not cut at 255
    EXPECT_EQ(children[3].name, "odd\\name");
    EXPECT_EQ(children[4].name, "zeta");
    // Its fill could never find it again: no expand button.
    EXPECT_FALSE(children[3].hasSubkeys);
    EXPECT_TRUE(children[3].data.populated);

    EXPECT_EQ(children[0].data, (KeyItemData{true, kLastWrite, "software\\Alpha", kLocalMachine}));
    EXPECT_FALSE(children[0].hasSubkeys);
    EXPECT_TRUE(children[4].hasSubkeys);
    EXPECT_FALSE(children[4].data.populated);
    EXPECT_EQ(children[4].data.subPath, "software\\zeta");

    // The long name reopens from its sub-path, so its own fill works.
    EXPECT_TRUE(KeyHasSubkeys(kLocalMachine, "software\\zeta\\inner"));
    EXPECT_FALSE(KeyHasSubkeys(kLocalMachine, children[2].data.subPath));
    const auto deeper = FillChildKeys(Record(kLocalMachine, "software\\zeta\\inner"));
    ASSERT_EQ(deeper.size(), 1u);
    EXPECT_EQ(deeper[0].data.subPath, "software\\zeta\\inner\\deeper");
}

TEST_F(KeyTreeTest, RootListsTheLoadedHives) {
    const auto children = FillChildKeys(Record(kLocalMachine, ""));
    ASSERT_EQ(children.size(), 1u);
    EXPECT_EQ(children[0].name, "software");
    EXPECT_TRUE(children[0].hasSubkeys);
    EXPECT_TRUE(FillChildKeys(Record(kUsers, "")).empty());
}

TEST_F(KeyTreeTest, KeysThatDoNotOpenHaveNoChildren) {
    for (const KeyItemData& record :
         {Record(kLocalMachine, "software\\missing"), Record(kLocalMachine, "software\\beta"),
          Record(kCurrentUser, "software"), Record(0x12345678, "")}) {
        EXPECT_TRUE(FillChildKeys(record).empty()) << record.subPath;
        EXPECT_FALSE(KeyHasSubkeys(record.root, record.subPath)) << record.subPath;
    }
}

}  // namespace
}  // namespace hivora
