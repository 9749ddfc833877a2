#include "export/ExportFormat.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hive/RegistryTypes.h"
#include "support/TestBytes.h"

namespace hivora {
namespace {

using Bytes = std::vector<uint8_t>;

using test::Sequence;
using test::Utf16Bytes;

struct DataCase {
    const char* name;
    uint32_t type;
    Bytes data;
    ExportStyle style;
    std::string expected;
};

class FormatExportDataTest : public testing::TestWithParam<DataCase> {};

TEST_P(FormatExportDataTest, WritesTheExactText) {
    const DataCase& c = GetParam();
    EXPECT_EQ(FormatExportData(c.type, c.data.data(), c.data.size(), c.style), c.expected);
}

const std::string kPad36(36, ' ');

INSTANTIATE_TEST_SUITE_P(
    Reg, FormatExportDataTest,
    testing::Values(
        DataCase{"StringEndsAtFirstNul", REG_SZ, Utf16Bytes("ab|cd|"), ExportStyle::Reg, "\"ab\""},
        DataCase{"NonLatinTextIsUtf8", REG_SZ, Utf16Bytes(u"\u00e9\u4e2d\U0001F600"),
                 ExportStyle::Reg, "\"\u00e9\u4e2d\U0001F600\""},
        DataCase{"StringWithLineFeedIsHex1", REG_SZ, Utf16Bytes("a\nb|"), ExportStyle::Reg,
                 "hex(1):61,00,0A,00,62,00,00,00"},
        DataCase{"ShortDwordIsHex4", REG_DWORD, Bytes{1, 2}, ExportStyle::Reg, "hex(4):01,02"},
        DataCase{"BinarySixteenBytesOneLine", REG_BINARY, Sequence(16), ExportStyle::Reg,
                 "hex:00,01,02,03,04,05,06,07,08,09,0A,0B,0C,0D,0E,0F"},
        DataCase{"LargeTypeNumber", 0xFFFF0001u, Bytes{0}, ExportStyle::Reg, "hex(ffff0001):00"}),
    [](const auto& row) { return std::string(row.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Text, FormatExportDataTest,
    testing::Values(DataCase{"StringLineFeedBecomesCrLf", REG_SZ, Utf16Bytes("a\nb|"),
                             ExportStyle::Text, "a\r\nb"},
                    DataCase{"ShortDwordIsDumped", REG_DWORD, Bytes{0x41}, ExportStyle::Text,
                             "41 " + std::string(45, ' ') + "  A"},
                    DataCase{"MultiStringTwoStrings", REG_MULTI_SZ, Utf16Bytes("a|b||"),
                             ExportStyle::Text, "a\r\n         b\r\n         "},
                    DataCase{"MultiStringStopsAtEmptyString", REG_MULTI_SZ, Utf16Bytes("a||b||"),
                             ExportStyle::Text, "a\r\n         "},
                    DataCase{"BigEndianDwordIsDumped", REG_DWORD_BIG_ENDIAN, Bytes{0, 0, 0, 1},
                             ExportStyle::Text, "00 00 00 01 " + kPad36 + "  ...."}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(ExportText, RegNameEscapesAndKeepsEveryCharacter) {
    std::string out;
    AppendRegEscaped(u"a\"\\\u0100\u4e2d", out);
    EXPECT_EQ(out, "a\\\"\\\\\u0100\u4e2d");
    out.clear();
    AppendExportText(u"x\ny", out);
    EXPECT_EQ(out, "x\r\ny");
    out.clear();
    AppendExportText(std::u16string(1, char16_t(0xD800)) + u"z", out);
    EXPECT_EQ(out, "\xED\xA0\x80z");  // a lone surrogate is kept, not dropped
}

}  // namespace
}  // namespace hivora
