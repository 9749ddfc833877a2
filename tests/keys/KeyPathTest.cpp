#include "keys/KeyPath.h"

#include <gtest/gtest.h>

#include "support/FileTimeFormat.h"

namespace hivora {
namespace {

// The plain and labelled forms are checked through the key tree's copy commands; these are the
// dated form and the edge cases.
TEST(KeyPath, DatedFormAndEdgeCases) {
    // 2004-03-05 10:00:00 UTC; the tests run with TZ=UTC.
    const FileTime march2004 = ClockReadingToFileTime({2004, 3, 5, 10, 0, 0});
    const KeyItemData classes{false, march2004, "SOFTWARE\\Classes", kLocalMachine};
    const KeyItemData trailing{false, march2004, "SOFTWARE\\", kLocalMachine};
    const KeyItemData users{false, 0, "", kUsers};
    EXPECT_EQ(FormatKeyPath(&classes, true, true),
              "Hivora Registry\\HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes (05-03-2004)");
    EXPECT_EQ(FormatKeyPath(&classes, true, false),
              "HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes (05-03-2004)");
    EXPECT_EQ(FormatKeyPath(&trailing, false, false), "HKEY_LOCAL_MACHINE\\SOFTWARE");
    // Root keys carry no date; the top item ignores both flags.
    EXPECT_EQ(FormatKeyPath(&users, true, true), "Hivora Registry\\HKEY_USERS");
    EXPECT_EQ(FormatKeyPath(nullptr, true, false), "Hivora Registry");
    EXPECT_EQ(FormatKeyDate(0), "01-01-1601");
}

}  // namespace
}  // namespace hivora
