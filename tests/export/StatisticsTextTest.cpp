#include <gtest/gtest.h>
#include <utime.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "export/RegistryCounters.h"
#include "fileset/FileSetDescription.h"
#include "support/TempPath.h"

namespace hivora {
namespace {

TEST(FormatCounterReport, ShowsInaccessibleKeysOnlyWhenThereAreSome) {
    RegistryCounters counters;
    counters.keys = 12345;
    counters.values = 67890;
    counters.mostSubkeys = 3195;
    counters.mostValues = 12;
    counters.largestData = 1000000;
    counters.totalDataBytes = 5000000000ULL;  // past 2^32: never negative, never wrapped
    EXPECT_EQ(FormatCounterReport(counters),
              "12,345 keys, 67,890 values\r\n"
              "3,195 maximum subkeys per key, 12 maximum values per key\r\n"
              "1,000,000 maximum value data size, 5,000,000,000 total data bytes");
    counters.inaccessibleKeys = 3;
    EXPECT_EQ(FormatCounterReport(counters).substr(0, 43),
              "12,345 keys (3 inaccessible), 67,890 values");
}

TEST(DescribeFileSet, ListsTheSlotsInDescriptionOrder) {
    const auto folder = hivora::test::UniqueTempPath("hivora_describe");
    std::filesystem::create_directories(folder);
    const auto file = folder / "SYSTEM";
    std::ofstream(file, std::ios::binary) << std::string(1234, 'x');
    const struct utimbuf times { 1614834000, 1614834000 };  // 2021-03-04 05:00:00 UTC
    ASSERT_EQ(::utime(file.c_str(), &times), 0);
    FileSet set;
    set[HiveSlot::System] = file.string();
    set[HiveSlot::NtUser] = "/no/such/NTUSER.DAT";
    const std::string n = "    <NOT SELECTED>\r\n";
    EXPECT_EQ(DescribeFileSet(set), "SYSTEM:\r\n    " + file.string() +
                                        "\r\n    (1,234 bytes, last modified on 03/04/21 "
                                        "05:00:00)\r\nSOFTWARE:\r\n" +
                                        n + "SECURITY:\r\n" + n + "SAM:\r\n" + n + "BCD:\r\n" + n +
                                        "COMPONENTS:\r\n" + n + "DEFAULT:\r\n" + n +
                                        "USER:\r\n    /no/such/NTUSER.DAT\r\n");
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace hivora
