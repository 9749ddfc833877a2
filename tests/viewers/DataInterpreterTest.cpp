#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "viewers/DataInterpreter.h"

namespace hivora {
namespace {

using Bytes = std::vector<uint8_t>;

std::string Row(const Bytes& data, size_t offset, const std::string& label) {
    for (const InterpretedRow& row : InterpretBytes(data, offset)) {
        if (row.label == label) {
            return row.text;
        }
    }
    ADD_FAILURE() << "no row " << label;
    return {};
}

struct RowCase {
    const char* name;
    Bytes data;
    size_t offset;
    const char* label;
    std::string expected;
};

class InterpretBytesTest : public testing::TestWithParam<RowCase> {};

TEST_P(InterpretBytesTest, ReadsTheRow) {
    const RowCase& c = GetParam();
    EXPECT_EQ(Row(c.data, c.offset, c.label), c.expected);
}

const Bytes kSid = {1, 5, 0, 0, 0, 0, 0, 5, 21, 0, 0,    0, 0x39, 0x30,
                    0, 0, 1, 0, 0, 0, 2, 0, 0,  0, 0xF4, 1, 0,    0};
const Bytes kGuid = {0x33, 0x22, 0x11, 0x00, 0x55, 0x44, 0x77, 0x66,
                     0x88, 0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF};
const Bytes kSystemTime = {0xE4, 0x07, 5, 0, 0, 0, 17, 0, 13, 0, 45, 0, 1, 0, 0x7B, 0};

INSTANTIATE_TEST_SUITE_P(
    Rows, InterpretBytesTest,
    testing::Values(
        RowCase{"UInt32AtOffset", {0, 0xFF, 0xFF, 0xFF, 0xFF}, 1, "UInt32", "4294967295"},
        RowCase{"Int64Min", {0, 0, 0, 0, 0, 0, 0, 0x80}, 0, "Int64", "-9223372036854775808"},
        RowCase{"OffsetPastEnd", {1, 2}, 2, "Latin-1 text", "\u2014"},
        RowCase{"Float", {0, 0, 0xC0, 0x3F}, 0, "Float", "1.5"},
        RowCase{"FileTimeFullPrecision",
                {0x01, 0x80, 0x3E, 0xD5, 0xDE, 0xB1, 0x9D, 0x01},
                0,
                "FILETIME",
                "1970-01-01T00:00:00.0000001Z"},
        RowCase{"UnixTime", {0x00, 0xCA, 0x9A, 0x3B}, 0, "Unix time", "2001-09-09T01:46:40Z"},
        RowCase{"SystemTime", kSystemTime, 0, "SYSTEMTIME", "2020-05-17T13:45:01.123"},
        RowCase{"Guid", kGuid, 0, "GUID", "{00112233-4455-6677-8899-AABBCCDDEEFF}"},
        RowCase{"Sid", kSid, 0, "SID", "S-1-5-21-12345-1-2-500"},
        RowCase{"SidBadRevision", {2, 0, 0, 0, 0, 0, 0, 5}, 0, "SID", "(not a valid SID)"},
        RowCase{
            "Utf16StopsAtNul", {'H', 0, 0xE9, 0, 0, 0, 'x', 0}, 0, "UTF-16 text", "\"H\u00E9\""},
        RowCase{"Utf16SurrogatePair", {0x3D, 0xD8, 0x00, 0xDE}, 0, "UTF-16 text", "\"\U0001F600\""},
        RowCase{"Utf16LoneSurrogateAndControl",
                {0x00, 0xDC, '\n', 0, 'a'},
                0,
                "UTF-16 text",
                "\"\uFFFD.\""},
        RowCase{"Latin1", {'a', 0xE9, 0x01, 0}, 0, "Latin-1 text", "\"a\u00E9.\""},
        RowCase{"Latin1Cut", Bytes(300, 'z'), 0, "Latin-1 text",
                "\"" + std::string(256, 'z') + "\u2026\""}),
    [](const testing::TestParamInfo<RowCase>& row) { return row.param.name; });

TEST(ParseOffsetText, ReadsDecimalAndHexadecimal) {
    const std::pair<const char*, std::optional<size_t>> rows[] = {
        {"32", 32}, {" 0x1F ", 31}, {"20h", 32}, {"1F", {}}, {"-1", {}}, {"0x", {}}, {"", {}}};
    for (const auto& [text, offset] : rows) {
        EXPECT_EQ(ParseOffsetText(text), offset) << text;
    }
}

}  // namespace
}  // namespace hivora
