#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/TestBytes.h"
#include "viewers/BinaryDump.h"
#include "viewers/ViewerSupport.h"

namespace hivora {
namespace {

using Bytes = std::vector<uint8_t>;

using test::Sequence;

struct DumpCase {
    const char* name;
    Bytes data;
    DumpMode mode;
    std::vector<std::string> lines;
};

class FillDumpTest : public testing::TestWithParam<DumpCase> {};

TEST_P(FillDumpTest, BuildsTheLinesAndTheText) {
    const DumpCase& c = GetParam();
    const DumpText dump = FillDump(c.data.data(), c.data.size(), c.mode);
    EXPECT_EQ(dump.lines, c.lines);
    std::string text;
    for (const std::string& line : c.lines) {
        text += line + "\r\n";
    }
    EXPECT_EQ(dump.text, text);
}

const std::string kFullByteLine =
    "0000: 41 42 43 44 45 46 47 48  49 4A 4B 4C 4D 4E 4F 50   ABCDEFGH IJKLMNOP ";

INSTANTIATE_TEST_SUITE_P(
    Modes, FillDumpTest,
    testing::Values(
        DumpCase{"NoDataNoLines", {}, DumpMode::Bytes, {}},
        DumpCase{"BytesShortLine",
                 Bytes{0x41, 0x00, 0x7F},
                 DumpMode::Bytes,
                 {"0000: 41 00 7F" + std::string(57 - 14, ' ') + "A.\x7F"}},
        DumpCase{"BytesSecondLineOffset",
                 Sequence(17, 0x41),
                 DumpMode::Bytes,
                 {kFullByteLine, "0010: 51" + std::string(57 - 8, ' ') + "Q"}},
        DumpCase{"BytesHighByteIsItsLatin1Character",
                 Bytes{0xE9},
                 DumpMode::Bytes,
                 {"0000: E9" + std::string(57 - 8, ' ') + "\u00e9"}},
        DumpCase{"WordsOddLength", Bytes{0x41, 0x00, 0x7F}, DumpMode::Words, {"0000: 0041 7F "}},
        DumpCase{"WordsEightPerLine",
                 Sequence(18),
                 DumpMode::Words,
                 {"0000: 0100 0302 0504 0706 0908 0B0A 0D0C 0F0E ", "0010: 1110 "}},
        DumpCase{"DoubleWordsThreeBytes",
                 Bytes{0x41, 0x00, 0x7F},
                 DumpMode::DoubleWords,
                 {"0000:  0041 7F"}},
        DumpCase{"DoubleWordsFourPerLine",
                 Sequence(18),
                 DumpMode::DoubleWords,
                 {"0000:  03020100 07060504 0B0A0908 0F0E0D0C ", "0010:  1110 "}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(FillDump, DataOf64KiBWidensEveryOffsetAndKeepsTheColumnsAligned) {
    const Bytes data(0x10008, 'A');
    for (DumpMode mode : {DumpMode::Bytes, DumpMode::Words, DumpMode::DoubleWords}) {
        const DumpText dump = FillDump(data.data(), data.size(), mode);
        EXPECT_EQ(dump.lines.front().substr(0, 7), "00000: ");
        EXPECT_EQ(dump.lines.back().substr(0, 7), "10000: ");
    }
    const DumpText bytes = FillDump(data.data(), data.size(), DumpMode::Bytes);
    ASSERT_EQ(bytes.lines.size(), 0x1001u);
    EXPECT_EQ(bytes.lines.front().find('A'), 58u);
    EXPECT_EQ(bytes.lines.back().find('A'), 58u);  // a short last line too
}

}  // namespace
}  // namespace hivora
