#include <fmt/format.h>

#include <cstring>

#include "cli/CliTestSupport.h"

namespace hivora::test {
namespace {

constexpr FileTime kNoon2020 = 132223536000000000ull;

void FreeCell(BuiltHive& hive, uint32_t cell) {
    int32_t size = 0;
    std::memcpy(&size, &hive.bytes[0x1000 + cell], 4);
    size = -size;
    std::memcpy(&hive.bytes[0x1000 + cell], &size, 4);
}

TEST_F(CliTest, DeletedListsRecoveredRecordsInOffsetOrder) {
    HiveBuilder builder;
    const auto software = builder.AddKey(HiveBuilder::kRoot, u"Software");
    builder.AddDword(software, u"keep", 1);
    builder.AddString(software, u"old", u"alpha");
    builder.SetLastWrite(builder.AddKey(software, u"Gone"), kNoon2020);
    const std::string intact = Write("intact", builder);

    BuiltHive hive = builder.Build();
    const KeyCells& cells = hive.keys[software];
    hive.PutU32(cells.key, field::kKeySubkeyCount, 0);
    hive.PutU32(cells.key, field::kKeyValueCount, 1);
    FreeCell(hive, hive.keys[software + 1].key);
    FreeCell(hive, cells.values[1]);
    FreeCell(hive, cells.data[1]);
    const std::string file = WriteBytes("deleted", std::string(hive.bytes.begin(), hive.bytes.end()));

    const std::string lines = fmt::format(
        "DeletedValue\t0x{:08X}\t{{root}}\\Software\told\t\tREG_SZ\talpha\n"
        "DeletedKey\t0x{:08X}\t{{root}}\\Software\\Gone\tGone\t2020-01-01T12:00:00.0000000Z\t\t\n",
        cells.values[1], hive.keys[software + 1].key);
    auto expected = [&](const std::string& root) {
        std::string text = lines;
        for (size_t at; (at = text.find("{root}")) != std::string::npos;) {
            text.replace(at, 6, root);
        }
        return text;
    };

    struct Row {
        const char* name;
        std::vector<std::string> args;
        int status;
        std::string out;
    };
    const Row rows[] = {
        {"system_slot", {"--system", file, "deleted"}, 0, expected("HKEY_LOCAL_MACHINE\\system")},
        {"user_slot", {"--ntuser", file, "deleted"}, 0, expected("HKEY_USERS\\NTUSER")},
        {"nothing_deleted", {"--system", intact, "deleted"}, 1, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const CliRun run = Run(row.args);
        EXPECT_EQ(run.status, row.status);
        EXPECT_EQ(run.out, row.out);
        EXPECT_EQ(run.err, "");
    }
}

}  // namespace
}  // namespace hivora::test
