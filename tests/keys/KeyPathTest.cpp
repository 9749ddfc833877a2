#include "keys/KeyPath.h"

#include <gtest/gtest.h>

#include "support/FileTimeFormat.h"

namespace hivora {
namespace {

// 2004-03-05 10:00:00 UTC; the tests run with TZ=UTC.
const FileTime kMarch2004 = ClockReadingToFileTime({2004, 3, 5, 10, 0, 0});

TEST(KeyPath, ThreeFormsOfTheSelectedItem) {
    const KeyItemData classes{false, kMarch2004, "SOFTWARE\\Classes", kLocalMachine};
    const KeyItemData users{false, 0, "", kUsers};
    const KeyItemData trailing{false, kMarch2004, "SOFTWARE\\", kLocalMachine};
    struct Row {
        const char* name;
        const KeyItemData* record;
        const char* plain;
        const char* labelled;
        const char* dated;
    };
    const Row rows[] = {
        {"top item", nullptr, "Hivora Registry", "Hivora Registry", "Hivora Registry"},
        {"key", &classes, "HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes",
         "Hivora Registry\\HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes",
         "Hivora Registry\\HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes (05-03-2004)"},
        {"root key", &users, "HKEY_USERS", "Hivora Registry\\HKEY_USERS",
         "Hivora Registry\\HKEY_USERS"},
        {"trailing backslash", &trailing, "HKEY_LOCAL_MACHINE\\SOFTWARE",
         "Hivora Registry\\HKEY_LOCAL_MACHINE\\SOFTWARE",
         "Hivora Registry\\HKEY_LOCAL_MACHINE\\SOFTWARE (05-03-2004)"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(FormatKeyPath(row.record, false, false), row.plain);
        EXPECT_EQ(FormatKeyPath(row.record, false, true), row.labelled);
        EXPECT_EQ(FormatKeyPath(row.record, true, true), row.dated);
    }
    // The top item ignores both flags.
    EXPECT_EQ(FormatKeyPath(nullptr, true, false), "Hivora Registry");
    EXPECT_EQ(FormatKeyPath(&classes, true, false),
              "HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes (05-03-2004)");
    EXPECT_EQ(FormatKeyDate(0), "01-01-1601");
}

}  // namespace
}  // namespace hivora
