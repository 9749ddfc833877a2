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
    const char* multiLine = nullptr;  // when it differs from the list form
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
    EXPECT_EQ(FormatValueData(item, true), c.multiLine ? c.multiLine : c.list);
}

using test::Utf16Bytes;

INSTANTIATE_TEST_SUITE_P(
    Types, FormatValueDataTest,
    testing::Values(
        FormatCase{"sz_empty", REG_SZ, {}, "(value not set)"},
        FormatCase{"sz_stops_at_nul", REG_SZ, Utf16Bytes("ab|cd|"), "ab"},
        FormatCase{"sz_unterminated", REG_SZ, Utf16Bytes("abc"), "abc"},
        FormatCase{"sz_odd_length", REG_SZ, Bytes({'a', 0, 'b', 0, 'x'}), "ab"},
        FormatCase{"expand_sz_not_expanded", REG_EXPAND_SZ, Utf16Bytes("%SystemRoot%|"),
                   "%SystemRoot%"},
        FormatCase{"sz_non_ascii", REG_SZ, Bytes({0xE9, 0, 0xAC, 0x20, 0, 0}),
                   "\xC3\xA9\xE2\x82\xAC"},
        FormatCase{"dword_minus_one", REG_DWORD, Bytes({0xFF, 0xFF, 0xFF, 0xFF}),
                   "0xffffffff (-1)"},
        FormatCase{"dword_short", REG_DWORD, Bytes({1, 2}), ""},
        FormatCase{"dword_long_reads_four", REG_DWORD, Bytes({1, 0, 0, 0, 9, 9, 9, 9}),
                   "0x00000001 (1)"},
        FormatCase{"dword_big_endian_read_little", REG_DWORD_BIG_ENDIAN, Bytes({0, 0, 0, 1}),
                   "0x01000000 (16777216)"},
        FormatCase{"qword_signed_upper_case", REG_QWORD, Bytes({0xAB, 0, 0, 0, 0, 0, 0, 0x80}),
                   "0x80000000000000AB (-9223372036854775637)"},
        FormatCase{"qword_short", REG_QWORD, Bytes({1, 2, 3, 4, 5, 6, 7}), ""},
        FormatCase{"binary_bytes", REG_BINARY, Bytes({0x01, 0xAB}), "01 AB "},
        FormatCase{"multi_two", REG_MULTI_SZ, Utf16Bytes("a|b||"), "a | b", "a\r\nb"},
        FormatCase{"multi_empty_in_middle", REG_MULTI_SZ, Utf16Bytes("a||b||"), "a"},
        FormatCase{"multi_unterminated", REG_MULTI_SZ, Utf16Bytes("ab|cd"), "ab | cd", "ab\r\ncd"},
        FormatCase{"type_12_as_bytes", 12, Bytes({0x7F}), "7F "}),
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
        {1, "REG_SZ", 0, true},       {2, "REG_EXPAND_SZ", 0, true},
        {3, "REG_BINARY", 1, false},  {4, "REG_DWORD", 1, true},
        {5, "REG_DWORD", 1, false},   {6, "REG_LINK", -1, false},
        {7, "REG_MULTI_SZ", 0, true}, {11, "REG_QWORD", 1, false},
        {12, "UNDEFINED", -1, false}, {0xFFFFFFFF, "UNDEFINED", -1, false},
    };
    for (const Row& row : rows) {
        EXPECT_STREQ(GetValueTypeName(row.type), row.name) << row.type;
        EXPECT_EQ(GetValueTypeImage(row.type), row.image) << row.type;
        EXPECT_EQ(ValueTypeOf(row.type).opensDataWindow, row.dataWindow) << row.type;
    }
}

}  // namespace
}  // namespace hivora
