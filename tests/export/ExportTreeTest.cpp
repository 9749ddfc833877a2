// The export walk over synthetic hives: the exact REG blocks, the counters, the branch rules.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "export/RegistryExport.h"
#include "fileset/FileSet.h"
#include "hive/HiveSet.h"
#include "hive/RegistryReader.h"
#include "support/HiveBuilder.h"
#include "support/MyException.h"
#include "support/TestBytes.h"

namespace hivora {
namespace {

using test::HiveBuilder;
using test::Sequence;

// system\Test with one value of each form, and two subkeys.
std::vector<uint8_t> ValueFormsHive() {
    HiveBuilder hive;
    const auto test = hive.AddKey(HiveBuilder::kRoot, u"Test");
    hive.AddString(test, u"", u"def");
    hive.AddString(test, u"v", u"a\"b\\c");
    hive.AddDword(test, u"say \"hi\"", 255);
    hive.AddValue(test, u"bin", REG_BINARY, Sequence(20));
    hive.AddValue(test, u"q", REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0});
    hive.AddString(test, u"x", u"%a%", REG_EXPAND_SZ);
    hive.AddValue(test, u"t", 0x10, {1, 2});
    hive.AddValue(test, u"e", REG_BINARY, {});
    const auto child = hive.AddKey(test, u"Child");
    hive.AddDword(child, u"n", 1);
    hive.AddKey(test, u"Empty");
    return hive.Build().bytes;
}

class ExportTreeTest : public testing::Test {
protected:
    void Load(const std::vector<uint8_t>& bytes) {
        FreeHiveSet();
        ASSERT_EQ(LoadHiveImage(HiveSlot::System, bytes.data(), bytes.size()), 1);
    }
    void TearDown() override { FreeHiveSet(); }

    std::string Export(ExportStyle style, std::string_view subPath) {
        const RegKey key = OpenRegKey(kLocalMachine, subPath);
        EXPECT_TRUE(key);
        ExportOutput out;
        counters_.Reset();
        ExportKeyTree(style, out, key.get(), "P", 0, counters_);
        return out.Text();
    }

    RegistryCounters counters_;
};

TEST_F(ExportTreeTest, RegBlocksOfEveryValueForm) {
    Load(ValueFormsHive());
    EXPECT_EQ(Export(ExportStyle::Reg, "system\\Test"),
              "\r\n[P]\r\n"
              "@=\"def\"\r\n"
              "\"v\"=\"a\\\"b\\\\c\"\r\n"
              "\"say \\\"hi\\\"\"=dword:000000FF\r\n"
              "\"bin\"=hex:00,01,02,03,04,05,06,07,08,09,0A,0B,0C,0D,0E,0F,\\\r\n"
              "10,11,12,13\r\n"
              "\"q\"=hex(b):01,00,00,00,00,00,00,00\r\n"
              "\"x\"=hex(2):25,00,61,00,25,00,00,00\r\n"
              "\"t\"=hex(10):01,02\r\n"
              "\"e\"=\r\n"
              "\r\n"
              "\r\n[P\\Child]\r\n"
              "\"n\"=dword:00000001\r\n"
              "\r\n"
              "\r\n[P\\Empty]\r\n"
              "\r\n");
    RegistryCounters expected;
    expected.keys = 2;
    expected.values = 9;
    expected.totalDataBytes = 8 + 12 + 4 + 20 + 8 + 8 + 2 + 0 + 4;
    expected.largestData = 20;
    expected.mostValues = 8;
    expected.mostSubkeys = 2;
    EXPECT_EQ(counters_, expected);
}

TEST_F(ExportTreeTest, WholeExportHeaderAndBranchRules) {
    Load(ValueFormsHive());
    CurrentFileSet() = FileSet{};
    ExportOutput reg;
    RegistryCounters counters;
    WriteRegistryExport(ExportStyle::Reg, "hkey_local_machine\\system\\Test\\Child", reg, counters);
    const std::string& text = reg.Text();
    EXPECT_EQ(text.rfind("REGEDIT4\r\n\r\n; *** Hivora v", 0), 0u);
    EXPECT_NE(text.find(";     <NOT SELECTED>\r\n; \r\n\r\n"
                        "[hkey_local_machine\\system\\Test\\Child]\r\n\"n\"=dword:00000001\r\n"
                        "\r\n"),
              std::string::npos);
    for (size_t lf = text.find('\n'); lf != std::string::npos; lf = text.find('\n', lf + 1)) {
        ASSERT_EQ(text[lf - 1], '\r') << "at byte " << lf;
    }
    EXPECT_EQ(counters.keys, 0u);

    struct Row {
        const char* branch;
        const char* message;
    };
    for (const Row& row : {Row{"HKEY_CURRENT_USER\\Software", "Invalid operation"},
                           Row{"HKEY_LOCAL_MACHINE\\system\\Nope", "Unable to open the key"},
                           Row{"HKEY_USERS\\NTUSER", "Unable to open the key"}}) {
        ExportOutput out;
        try {
            WriteRegistryExport(ExportStyle::Reg, row.branch, out, counters);
            ADD_FAILURE() << row.branch << " raised nothing";
        } catch (const CMyException& error) {
            EXPECT_EQ(error.GetErrorMessage(), row.message) << row.branch;
        }
        EXPECT_EQ(out.Text().rfind("REGEDIT4\r\n", 0), 0u);  // the header stays written
    }
}

}  // namespace
}  // namespace hivora
