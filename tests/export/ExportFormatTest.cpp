#include "export/ExportFormat.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hive/RegistryTypes.h"

namespace hivora {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Utf16(std::u16string_view text, bool terminated = true) {
    Bytes bytes;
    for (char16_t c : text) {
        bytes.push_back(static_cast<uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<uint8_t>(c >> 8));
    }
    if (terminated) {
        bytes.insert(bytes.end(), {0, 0});
    }
    return bytes;
}

Bytes Sequence(size_t count, uint8_t first = 0) {
    Bytes bytes(count);
    for (size_t i = 0; i < count; ++i) {
        bytes[i] = static_cast<uint8_t>(first + i);
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
        DataCase{"EmptyDataOfAnyType", REG_DWORD, {}, ExportStyle::Reg, ""},
        DataCase{"StringEscapesQuoteAndBackslash", REG_SZ, Utf16(u"a\"b\\c"), ExportStyle::Reg,
                 R"("a\"b\\c")"},
        DataCase{"StringEndsAtFirstNul", REG_SZ, Utf16(u"ab\0cd"), ExportStyle::Reg, "\"ab\""},
        DataCase{"UnterminatedStringEndsAtDataEnd", REG_SZ, Utf16(u"xyz", false), ExportStyle::Reg,
                 "\"xyz\""},
        DataCase{"OddTrailingByteIsIgnored", REG_SZ, Bytes{'h', 0, 'i'}, ExportStyle::Reg, "\"h\""},
        DataCase{"NonLatinTextIsUtf8", REG_SZ, Utf16(u"\u00e9\u4e2d\U0001F600"), ExportStyle::Reg,
                 "\"\u00e9\u4e2d\U0001F600\""},
        DataCase{"StringWithLineFeedIsHex1", REG_SZ, Utf16(u"a\nb"), ExportStyle::Reg,
                 "hex(1):61,00,0A,00,62,00,00,00"},
        DataCase{"StringWithCarriageReturnIsHex1", REG_SZ, Utf16(u"\r", false), ExportStyle::Reg,
                 "hex(1):0D,00"},
        DataCase{"Dword255", REG_DWORD, Bytes{0xFF, 0, 0, 0}, ExportStyle::Reg, "dword:000000FF"},
        DataCase{"DwordUsesFirstFourBytes", REG_DWORD, Bytes{0x78, 0x56, 0x34, 0x12, 9},
                 ExportStyle::Reg, "dword:12345678"},
        DataCase{"ShortDwordIsHex4", REG_DWORD, Bytes{1, 2}, ExportStyle::Reg, "hex(4):01,02"},
        DataCase{"QwordIsHexB", REG_QWORD, Sequence(8, 1), ExportStyle::Reg,
                 "hex(b):01,02,03,04,05,06,07,08"},
        DataCase{"ExpandStringIsHex2", REG_EXPAND_SZ, Utf16(u"%a%"), ExportStyle::Reg,
                 "hex(2):25,00,61,00,25,00,00,00"},
        DataCase{"MultiStringIsHex7", REG_MULTI_SZ, Bytes{'a', 0, 0, 0}, ExportStyle::Reg,
                 "hex(7):61,00,00,00"},
        DataCase{"BinarySixteenBytesOneLine", REG_BINARY, Sequence(16), ExportStyle::Reg,
                 "hex:00,01,02,03,04,05,06,07,08,09,0A,0B,0C,0D,0E,0F"},
        DataCase{"BinarySeventeenBytesWrap", REG_BINARY, Sequence(17), ExportStyle::Reg,
                 "hex:00,01,02,03,04,05,06,07,08,09,0A,0B,0C,0D,0E,0F,\\\r\n10"},
        DataCase{"BigEndianDwordIsHex5", REG_DWORD_BIG_ENDIAN, Bytes{0xAB}, ExportStyle::Reg,
                 "hex(5):AB"},
        DataCase{"Type0x10", 0x10, Bytes{1}, ExportStyle::Reg, "hex(10):01"},
        DataCase{"TypeNone", REG_NONE, Bytes{0xFE}, ExportStyle::Reg, "hex(0):FE"},
        DataCase{"LargeTypeNumber", 0xFFFF0001u, Bytes{0}, ExportStyle::Reg, "hex(ffff0001):00"}),
    [](const auto& row) { return std::string(row.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Text, FormatExportDataTest,
    testing::Values(
        DataCase{"EmptyData", REG_SZ, {}, ExportStyle::Text, ""},
        DataCase{"StringPlain", REG_SZ, Utf16(u"a\"b\\c"), ExportStyle::Text, "a\"b\\c"},
        DataCase{"ExpandStringPlain", REG_EXPAND_SZ, Utf16(u"%SystemRoot%"), ExportStyle::Text,
                 "%SystemRoot%"},
        DataCase{"StringLineFeedBecomesCrLf", REG_SZ, Utf16(u"a\nb"), ExportStyle::Text, "a\r\nb"},
        DataCase{"Dword255", REG_DWORD, Bytes{0xFF, 0, 0, 0}, ExportStyle::Text, "0x000000FF"},
        DataCase{"Qword1", REG_QWORD, Bytes{1, 0, 0, 0, 0, 0, 0, 0}, ExportStyle::Text,
                 "0x0000000000000001"},
        DataCase{"ShortDwordIsDumped", REG_DWORD, Bytes{0x41}, ExportStyle::Text,
                 "41 " + std::string(45, ' ') + "  A"},
        DataCase{"MultiStringTwoStrings", REG_MULTI_SZ, Utf16(std::u16string(u"a\0b\0", 4)),
                 ExportStyle::Text, "a\r\n         b\r\n         "},
        DataCase{"MultiStringUnterminated", REG_MULTI_SZ, Utf16(u"ab", false), ExportStyle::Text,
                 "ab\r\n         "},
        DataCase{"MultiStringStopsAtEmptyString", REG_MULTI_SZ,
                 Utf16(std::u16string(u"a\0\0b\0", 5)), ExportStyle::Text, "a\r\n         "},
        DataCase{"FourBytesWithPaddedColumn", REG_BINARY, Bytes{0x41, 0x42, 0x43, 0x0A},
                 ExportStyle::Text, "41 42 43 0A " + kPad36 + "  ABC."},
        DataCase{"SeventeenBytesTwoLines", REG_BINARY, Sequence(17), ExportStyle::Text,
                 "00 01 02 03 04 05 06 07 08-09 0A 0B 0C 0D 0E 0F   ................\r\n"
                 "         10 " +
                     std::string(45, ' ') + "  ."},
        DataCase{"SixteenBytesNoFill", REG_NONE, Sequence(16, 0x30), ExportStyle::Text,
                 "30 31 32 33 34 35 36 37 38-39 3A 3B 3C 3D 3E 3F   0123456789:;<=>?"},
        DataCase{"BigEndianDwordIsDumped", REG_DWORD_BIG_ENDIAN, Bytes{0, 0, 0, 1},
                 ExportStyle::Text, "00 00 00 01 " + kPad36 + "  ...."}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(FormatHexBytes, RegLinesHoldSixteenBytesAndEndInContinuation) {
    const Bytes data = Sequence(40);
    const std::string text = FormatHexBytes(data.data(), data.size(), ExportStyle::Reg);
    size_t start = 0;
    std::vector<std::string> lines;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    lines.push_back(text.substr(start));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].size(), 16 * 3 + 1u);  // "XX," sixteen times and the backslash
    EXPECT_EQ(lines[0].back(), '\\');
    EXPECT_EQ(lines[2], "20,21,22,23,24,25,26,27");
}

TEST(FormatHexBytes, TextColumnStartsFiftyCharactersAfterThePairsOnEveryLine) {
    for (size_t count : {1u, 7u, 15u, 16u, 31u, 33u}) {
        const Bytes data = Sequence(count, 0x41);
        const std::string text = FormatHexBytes(data.data(), data.size(), ExportStyle::Text);
        const size_t lastLine = text.rfind('\n');
        const std::string line =
            lastLine == std::string::npos ? text : text.substr(lastLine + 1 + kDataIndent.size());
        const size_t shown = count % 16 == 0 ? 16 : count % 16;
        EXPECT_EQ(line.size(), 50 + shown) << count;
    }
}

TEST(HexPairs, EveryEntryIsTwoUpperCaseDigits) {
    const HexPairTable& pairs = HexPairs();
    EXPECT_EQ(std::string(pairs[0].data(), 2), "00");
    EXPECT_EQ(std::string(pairs[0xA5].data(), 2), "A5");
    EXPECT_EQ(std::string(pairs[0xFF].data(), 2), "FF");
}

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
