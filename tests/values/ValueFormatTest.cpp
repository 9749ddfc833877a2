#include "values/ValueFormat.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hive/RegistryTypes.h"
#include "support/TestBytes.h"

namespace hivora {
namespace {

using test::Bytes;

struct FormatCase {
    const char* name;
    uint32_t type;
    std::vector<uint8_t> bytes;
    std::string list;
    std::string multiLine;
};

void PrintTo(const FormatCase& c, std::ostream* os) {
    *os << c.name;
}

class FormatValueDataTest : public testing::TestWithParam<FormatCase> {};

TEST_P(FormatValueDataTest, ListAndMultiLineForms) {
    const FormatCase& c = GetParam();
    ValueItem item;
    item.type = c.type;
    item.data.AppendBytes(c.bytes.data(), static_cast<uint32_t>(c.bytes.size()));
    EXPECT_EQ(FormatValueData(item), c.list);
    EXPECT_EQ(FormatValueData(item, true), c.multiLine);
}

INSTANTIATE_TEST_SUITE_P(
    Types, FormatValueDataTest,
    testing::Values(
        FormatCase{"sz_empty", REG_SZ, {}, "(value not set)", "(value not set)"},
        FormatCase{"binary_empty", REG_BINARY, {}, "(value not set)", "(value not set)"},
        FormatCase{"sz_only_nul", REG_SZ, test::Utf16Bytes("|"), "", ""},
        FormatCase{"sz_stops_at_nul", REG_SZ, test::Utf16Bytes("ab|cd|"), "ab", "ab"},
        FormatCase{"sz_unterminated", REG_SZ, test::Utf16Bytes("abc"), "abc", "abc"},
        FormatCase{"sz_odd_length", REG_SZ, Bytes({'a', 0, 'b', 0, 'x'}), "ab", "ab"},
        FormatCase{"expand_sz_not_expanded", REG_EXPAND_SZ, test::Utf16Bytes("%SystemRoot%|"), "%SystemRoot%",
                   "%SystemRoot%"},
        FormatCase{"sz_non_ascii", REG_SZ, Bytes({0xE9, 0, 0xAC, 0x20, 0, 0}),
                   "\xC3\xA9\xE2\x82\xAC", "\xC3\xA9\xE2\x82\xAC"},
        FormatCase{"dword_minus_one", REG_DWORD, Bytes({0xFF, 0xFF, 0xFF, 0xFF}), "0xffffffff (-1)",
                   "0xffffffff (-1)"},
        FormatCase{"dword_42", REG_DWORD, Bytes({0x2A, 0, 0, 0}), "0x0000002a (42)",
                   "0x0000002a (42)"},
        FormatCase{"dword_short", REG_DWORD, Bytes({1, 2}), "", ""},
        FormatCase{"dword_long_reads_four", REG_DWORD, Bytes({1, 0, 0, 0, 9, 9, 9, 9}),
                   "0x00000001 (1)", "0x00000001 (1)"},
        FormatCase{"dword_big_endian_read_little", REG_DWORD_BIG_ENDIAN, Bytes({0, 0, 0, 1}),
                   "0x01000000 (16777216)", "0x01000000 (16777216)"},
        FormatCase{"qword_upper_case", REG_QWORD, Bytes({1, 0, 0, 0, 0, 0, 0, 0x80}),
                   "0x8000000000000001 (-9223372036854775807)",
                   "0x8000000000000001 (-9223372036854775807)"},
        FormatCase{"qword_hex_letters", REG_QWORD, Bytes({0xAB, 0, 0, 0, 0, 0, 0, 0}),
                   "0x00000000000000AB (171)", "0x00000000000000AB (171)"},
        FormatCase{"qword_short", REG_QWORD, Bytes({1, 2, 3, 4, 5, 6, 7}), "", ""},
        FormatCase{"binary_bytes", REG_BINARY, Bytes({0x01, 0xAB}), "01 AB ", "01 AB "},
        FormatCase{"multi_two", REG_MULTI_SZ, test::Utf16Bytes("a|b||"), "a | b", "a\r\nb"},
        FormatCase{"multi_empty_in_middle", REG_MULTI_SZ, test::Utf16Bytes("a||b||"), "a", "a"},
        FormatCase{"multi_first_empty", REG_MULTI_SZ, test::Utf16Bytes("||"), "", ""},
        FormatCase{"multi_unterminated", REG_MULTI_SZ, test::Utf16Bytes("ab|cd"), "ab | cd", "ab\r\ncd"},
        FormatCase{"link_as_bytes", REG_LINK, Bytes({0x10}), "10 ", "10 "},
        FormatCase{"none_as_bytes", REG_NONE, Bytes({0, 0xFF}), "00 FF ", "00 FF "},
        FormatCase{"type_12_as_bytes", 12, Bytes({0x7F}), "7F ", "7F "}),
    [](const testing::TestParamInfo<FormatCase>& row) { return row.param.name; });

TEST(FormatValueData, ByteFormHasNoLengthLimit) {
    const std::vector<uint8_t> bytes(100'000, 0x5A);
    const std::string text = FormatValueData(REG_BINARY, bytes);
    ASSERT_EQ(text.size(), 300'000u);
    EXPECT_EQ(text.substr(text.size() - 6), "5A 5A ");
}

TEST(ValueTypes, NamesPicturesAndTheDataWindow) {
    struct Row {
        uint32_t type;
        const char* name;
        int image;
        bool dataWindow;
    };
    // Type 5 shares type 4's name; types without a text or number form show no picture.
    const Row rows[] = {
        {1, "REG_SZ", 0, true},          {2, "REG_EXPAND_SZ", 0, true}, {3, "REG_BINARY", 1, false},
        {4, "REG_DWORD", 1, true},       {5, "REG_DWORD", 1, false},    {6, "REG_LINK", -1, false},
        {7, "REG_MULTI_SZ", 0, true},    {11, "REG_QWORD", 1, false},   {12, "UNDEFINED", -1, false},
        {0xFFFFFFFF, "UNDEFINED", -1, false},
    };
    for (const Row& row : rows) {
        EXPECT_STREQ(GetValueTypeName(row.type), row.name) << row.type;
        EXPECT_EQ(GetValueTypeImage(row.type), row.image) << row.type;
        EXPECT_EQ(ValueTypeOf(row.type).opensDataWindow, row.dataWindow) << row.type;
    }
}

}  // namespace
}  // namespace hivora
