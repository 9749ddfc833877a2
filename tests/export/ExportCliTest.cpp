// hivora-cli's export, statistics, dump and favourites commands, run as a user runs them.
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/HiveBuilder.h"
#include "support/TempPath.h"

namespace hivora {
namespace {

namespace fs = std::filesystem;
using test::HiveBuilder;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

std::string Quote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

class ExportCliTest : public testing::Test {
protected:
    void SetUp() override {
        folder_ = hivora::test::UniqueTempPath("hivora_export_cli");
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        HiveBuilder hive;
        const auto test = hive.AddKey(HiveBuilder::kRoot, u"Test");
        hive.AddValue(test, u"blob", REG_BINARY, {0x41, 0x00, 0x7F});
        const auto child = hive.AddKey(test, u"Child");
        hive.AddDword(child, u"n", 1);
        const auto bytes = hive.Build().bytes;
        std::ofstream(folder_ / "SYSTEM", std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
    void TearDown() override { fs::remove_all(folder_); }

    // Runs hivora-cli on the test hive; keeps stdout and stderr; returns the exit status.
    int Run(const std::string& arguments) {
        const std::string command = "HIVORA_SETTINGS=" + Quote((folder_ / "s.ini").string()) +
                                    " " HIVORA_BINARY_DIR "/bin/hivora-cli --system " +
                                    Quote((folder_ / "SYSTEM").string()) + " " + arguments + " >" +
                                    Quote((folder_ / "out").string()) + " 2>" +
                                    Quote((folder_ / "err").string());
        const int status = std::system(command.c_str());
        out_ = ReadFile(folder_ / "out");
        err_ = ReadFile(folder_ / "err");
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    fs::path folder_;
    std::string out_;
    std::string err_;
};

TEST_F(ExportCliTest, BranchExportToFileAndToStandardOutput) {
    const std::string file = (folder_ / "branch.reg").string();
    ASSERT_EQ(Run("export-reg --branch 'HKEY_LOCAL_MACHINE\\system\\Test' -o " + Quote(file)), 0)
        << err_;
    const std::string blocks =
        "[HKEY_LOCAL_MACHINE\\system\\Test]\r\n\"blob\"=hex:41,00,7F\r\n\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\system\\Test\\Child]\r\n\"n\"=dword:00000001\r\n\r\n";
    const std::string written = ReadFile(file);
    EXPECT_EQ(written.rfind("REGEDIT4\r\n", 0), 0u);
    EXPECT_EQ(written.substr(written.size() - blocks.size()), blocks);
    EXPECT_EQ(err_.rfind("Export completed, ", 0), 0u);
    EXPECT_NE(err_.find("milliseconds taken.\n1 keys, 2 values\n"), std::string::npos);

    ASSERT_EQ(Run("export-reg --branch 'HKEY_LOCAL_MACHINE\\system\\Test'"), 0) << err_;
    EXPECT_EQ(out_.substr(out_.size() - blocks.size()), blocks);

    ASSERT_EQ(Run("export-text --branch 'HKEY_LOCAL_MACHINE\\system\\Test\\Child'"), 0);
    EXPECT_NE(out_.find("\r\nKey Name:        HKEY_LOCAL_MACHINE\\system\\Test\\Child\r\nValue 0"
                        "\r\n  Name:  n\r\n  Type:  REG_DWORD\r\n  Data:  0x00000001\r\n"),
              std::string::npos);
}

TEST_F(ExportCliTest, FailuresNameTheirCause) {
    struct Row {
        const char* arguments;
        int status;
        const char* message;
    };
    for (const Row& row :
         {Row{"export-reg --branch 'HKEY_LOCAL_MACHINE\\system\\Nope'", 2,
              "hivora-cli: Unable to open the key\n"},
          Row{"export-text --branch 'HKEY_CURRENT_USER\\Software'", 2,
              "hivora-cli: Invalid operation\n"},
          Row{"export-reg -o /no/such/folder/x.reg", 2,
              "hivora-cli: Unable to create output file\n"},
          Row{"dump 'HKEY_LOCAL_MACHINE\\system\\Test' missing", 1,
              "hivora-cli: HKEY_LOCAL_MACHINE\\system\\Test: no value named \"missing\"\n"}}) {
        EXPECT_EQ(Run(row.arguments), row.status) << row.arguments;
        EXPECT_EQ(err_, row.message) << row.arguments;
    }
}

TEST_F(ExportCliTest, StatisticsDescriptionAndDump) {
    ASSERT_EQ(Run("stats"), 0) << err_;
    EXPECT_EQ(out_.rfind("SYSTEM:\n    " + (folder_ / "SYSTEM").string() + "\n    (", 0), 0u);
    EXPECT_NE(out_.find("\n---------------------------\n3 keys, 2 values\n1 maximum subkeys per "
                        "key, 1 maximum values per key\n4 maximum value data size, 7 total "
                        "data bytes\n"),
              std::string::npos);
    ASSERT_EQ(Run("describe"), 0);
    EXPECT_NE(out_.find("USER:\n    <NOT SELECTED>\n"), std::string::npos);
    ASSERT_EQ(Run("dump 'HKEY_LOCAL_MACHINE\\system\\Test' BLOB --mode words"), 0);
    EXPECT_EQ(out_, "0000: 0041 7F \n");
}

TEST_F(ExportCliTest, FavoritesGoThroughTheSettingsFile) {
    const std::string in = (folder_ / "in.txt").string();
    std::ofstream(in, std::ios::binary)
        << "; saved "
           "favourites\r\nWork,HKEY_LOCAL_MACHINE\\system\\Test\r\nCu,80000001,Software\r\n";
    ASSERT_EQ(Run("favorites-import " + Quote(in)), 0) << err_;
    EXPECT_EQ(out_, "2 favorites added\n");
    const std::string saved = (folder_ / "saved.txt").string();
    ASSERT_EQ(Run("favorites-export " + Quote(saved)), 0) << err_;
    EXPECT_EQ(ReadFile(saved), "Work,HKEY_LOCAL_MACHINE\\system\\Test\r\nCu,80000001,Software\r\n");
}

}  // namespace
}  // namespace hivora
