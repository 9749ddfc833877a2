#include "export/ExportFormat.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hive/RegistryTypes.h"

namespace hivora {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Utf16(std::u16string_view text) {  // with its terminating NUL
    Bytes bytes;
    for (const char16_t c : text) {
        bytes.insert(bytes.end(), {static_cast<uint8_t>(c), static_cast<uint8_t>(c >> 8)});
    }
    bytes.insert(bytes.end(), {0, 0});
    return bytes;
}

Bytes Sequence(size_t count) {
    Bytes bytes(count);
    for (size_t i = 0; i < count; ++i) {
        bytes[i] = static_cast<uint8_t>(i);
    }
    return bytes;
}

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
        DataCase{"StringEndsAtFirstNul", REG_SZ, Utf16(u"ab\0cd"), ExportStyle::Reg, "\"ab\""},
        DataCase{"NonLatinTextIsUtf8", REG_SZ, Utf16(u"\u00e9\u4e2d\U0001F600"), ExportStyle::Reg,
                 "\"\u00e9\u4e2d\U0001F600\""},
        DataCase{"StringWithLineFeedIsHex1", REG_SZ, Utf16(u"a\nb"), ExportStyle::Reg,
                 "hex(1):61,00,0A,00,62,00,00,00"},
        DataCase{"ShortDwordIsHex4", REG_DWORD, Bytes{1, 2}, ExportStyle::Reg, "hex(4):01,02"},
        DataCase{"BinarySixteenBytesOneLine", REG_BINARY, Sequence(16), ExportStyle::Reg,
                 "hex:00,01,02,03,04,05,06,07,08,09,0A,0B,0C,0D,0E,0F"},
        DataCase{"LargeTypeNumber", 0xFFFF0001u, Bytes{0}, ExportStyle::Reg, "hex(ffff0001):00"}),
    [](const auto& row) { return std::string(row.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Text, FormatExportDataTest,
    testing::Values(
        DataCase{"StringLineFeedBecomesCrLf", REG_SZ, Utf16(u"a\nb"), ExportStyle::Text, "a\r\nb"},
        DataCase{"ShortDwordIsDumped", REG_DWORD, Bytes{0x41}, ExportStyle::Text,
                 "41 " + std::string(45, ' ') + "  A"},
        DataCase{"MultiStringTwoStrings", REG_MULTI_SZ, Utf16(std::u16string(u"a\0b\0", 4)),
                 ExportStyle::Text, "a\r\n         b\r\n         "},
        DataCase{"MultiStringStopsAtEmptyString", REG_MULTI_SZ,
                 Utf16(std::u16string(u"a\0\0b\0", 5)), ExportStyle::Text, "a\r\n         "},
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
