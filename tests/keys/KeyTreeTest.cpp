#include "keys/KeyTree.h"

#include <gtest/gtest.h>

#include "hive/HiveTestSupport.h"
#include "support/FileTimeFormat.h"

namespace hivora {
namespace {

using test::HiveBuilder;

KeyItemData Record(RootKey root, std::string subPath) {
    return KeyItemData{.subPath = std::move(subPath), .root = root};
}

// Sorting, reopening and the probe are checked over real hives; these are the names no real
// hive holds.
class KeyTreeTest : public test::HiveSetTest {};

TEST_F(KeyTreeTest, OddNamesAndRootsFillAsShown) {
    HiveBuilder builder;
    const FileTime lastWrite = ClockReadingToFileTime({2004, 3, 5, 10, 0, 0});
    builder.SetLastWrite(builder.AddKey(HiveBuilder::kRoot, u"Alpha"), lastWrite);
    builder.AddKey(HiveBuilder::kRoot, std::u16string(300, u'L'));
    // A damaged name that no path can address, with a subkey of its own.
    builder.AddKey(builder.AddKey(HiveBuilder::kRoot, u"odd\\name"), u"child");
    Load(HiveSlot::Software, builder);

    const std::vector<ChildKey> children = FillChildKeys(Record(kLocalMachine, "software"));
    ASSERT_EQ(children.size(), 3u);
    EXPECT_EQ(children[0].data, (KeyItemData{true, lastWrite, "software\\Alpha", kLocalMachine}));
    EXPECT_EQ(children[1].name, std::string(300, 'L'));  // whole, not cut at 255
    EXPECT_EQ(children[2].name, "odd\\name");
    // Its fill could never find it again: no expand button.
    EXPECT_FALSE(children[2].hasSubkeys);
    EXPECT_TRUE(children[2].data.populated);

    const auto top = FillChildKeys(Record(kLocalMachine, ""));
    ASSERT_EQ(top.size(), 1u);
    EXPECT_EQ(top[0].name, "software");
    for (const KeyItemData& record :
         {Record(kUsers, ""), Record(kLocalMachine, "software\\missing"),
          Record(kCurrentUser, "software"), Record(0x12345678, "")}) {
        EXPECT_TRUE(FillChildKeys(record).empty()) << record.subPath;
        EXPECT_FALSE(KeyHasSubkeys(record.root, record.subPath)) << record.subPath;
    }
}

}  // namespace
}  // namespace hivora
