#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "search/ResultWriter.h"

namespace hivora {
namespace {

using Row = std::vector<std::string>;

std::string Write(ResultFormat format, const std::vector<Row>& rows) {
    std::ostringstream out;
    auto writer = MakeResultWriter(format, out, {"kind", "path", "data"});
    for (const Row& row : rows) {
        writer->WriteRow(row);
    }
    return out.str();
}

const std::vector<Row> kRows = {
    {"Key", "HKEY_USERS\\a,b", "say \"hi\""},
    {"Data", "line\r\nbreak", ""},
    {"Key"},  // short rows are padded
};

TEST(ResultWriter, CsvQuotesOnlyWhatNeedsIt) {
    EXPECT_EQ(Write(ResultFormat::Csv, kRows),
              "kind,path,data\r\n"
              "Key,\"HKEY_USERS\\a,b\",\"say \"\"hi\"\"\"\r\n"
              "Data,\"line\r\nbreak\",\r\n"
              "Key,,\r\n");
}

TEST(ResultWriter, JsonLinesKeepColumnOrderAndSurviveMalformedText) {
    EXPECT_EQ(Write(ResultFormat::JsonLines, kRows),
              "{\"kind\":\"Key\",\"path\":\"HKEY_USERS\\\\a,b\",\"data\":\"say \\\"hi\\\"\"}\n"
              "{\"kind\":\"Data\",\"path\":\"line\\r\\nbreak\",\"data\":\"\"}\n"
              "{\"kind\":\"Key\",\"path\":\"\",\"data\":\"\"}\n");
    // A lone surrogate kept from a damaged name is not valid UTF-8.
    EXPECT_EQ(Write(ResultFormat::JsonLines, {{"Key", "a\xED\xA0\x80", "\xC3\xA9"}}),
              "{\"kind\":\"Key\",\"path\":\"a\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\",\"data\":"
              "\"\xC3\xA9\"}\n");
}

}  // namespace
}  // namespace hivora
