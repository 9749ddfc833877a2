#include <fmt/format.h>

#include <cstring>
#include <tuple>

#include "cli/CliTestSupport.h"

namespace hivora::test {
namespace {

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
    const std::string file =
        WriteBytes("deleted", std::string(hive.bytes.begin(), hive.bytes.end()));

    // The records themselves are the scan's (tests/hive); here the lines, the root and exit codes.
    const std::string lines = fmt::format(
        "DeletedValue\t0x{:08X}\t{{0}}\\Software\told\t\tREG_SZ\talpha\n"
        "DeletedKey\t0x{:08X}\t{{0}}\\Software\\Gone\tGone\t2020-01-01T12:00:00.0000000Z\t\t\n",
        cells.values[1], hive.keys[software + 1].key);
    const std::tuple<std::vector<std::string>, int, std::string> rows[] = {
        {{"--system", file, "deleted"},
         0,
         fmt::format(fmt::runtime(lines), "HKEY_LOCAL_MACHINE\\system")},
        {{"--ntuser", file, "deleted"}, 0, fmt::format(fmt::runtime(lines), "HKEY_USERS\\NTUSER")},
        {{"--system", intact, "deleted"}, 1, ""},  // nothing deleted
    };
    for (const auto& [args, status, out] : rows) {
        const CliRun run = Run(args);
        EXPECT_EQ(std::tie(run.status, run.out, run.err), std::tie(status, out, "")) << args[0];
    }
}

}  // namespace
}  // namespace hivora::test
