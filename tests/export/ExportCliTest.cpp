// hivora-cli's export, statistics, dump and favourites commands, run as a user runs them.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "cli/CliTestSupport.h"
#include "support/ReplacingFile.h"

namespace hivora::test {
namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

class ExportCliTest : public CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        if (IsSkipped()) {
            return;
        }
        HiveBuilder hive;
        const auto test = hive.AddKey(HiveBuilder::kRoot, u"Test");
        hive.AddValue(test, u"blob", REG_BINARY, {0x41, 0x00, 0x7F});
        hive.AddDword(hive.AddKey(test, u"Child"), u"n", 1);
        system_ = Write("SYSTEM", hive);
        environment_ = "HIVORA_SETTINGS=" + Quote((temp_ / "s.ini").string()) + " ";
    }

    // Runs hivora-cli on the test hive with the given arguments, split at spaces; keeps
    // stdout and stderr; returns the exit status.
    int Run(const std::string& arguments) {
        std::vector<std::string> args = {"--system", system_};
        std::istringstream words(arguments);
        for (std::string word; words >> word;) {
            args.push_back(word);
        }
        const CliRun run = CliTest::Run(args);
        out_ = run.out;
        err_ = run.err;
        return run.status;
    }

    std::string system_;
    std::string out_;
    std::string err_;
};

// The blocks themselves are checked on the export walk; here only that both commands reach it and
// that a file and standard output get the same text.
TEST_F(ExportCliTest, BranchExportToFileAndToStandardOutput) {
    const std::string file = (temp_ / "branch.reg").string();
    ASSERT_EQ(Run("export-reg --branch HKEY_LOCAL_MACHINE\\system\\Test -o " + file), 0) << err_;
    const std::string written = ReadFile(file);
    EXPECT_EQ(written.rfind("REGEDIT4\r\n", 0), 0u);
    EXPECT_NE(written.find("\r\n[HKEY_LOCAL_MACHINE\\system\\Test\\Child]\r\n"), std::string::npos);
    EXPECT_NE(err_.find("milliseconds taken.\n1 keys, 2 values\n"), std::string::npos);
    ASSERT_EQ(Run("export-reg --branch HKEY_LOCAL_MACHINE\\system\\Test"), 0) << err_;
    const size_t firstKey = written.find("\r\n[");
    EXPECT_EQ(out_.substr(out_.find("\r\n[")), written.substr(firstKey));
    ASSERT_EQ(Run("export-text --branch HKEY_LOCAL_MACHINE\\system\\Test\\Child"), 0);
    EXPECT_NE(out_.find("Key Name:        HKEY_LOCAL_MACHINE\\system\\Test\\Child\r\n"),
              std::string::npos);
}

TEST_F(ExportCliTest, FailuresNameTheirCause) {
    struct Row {
        const char* arguments;
        int status;
        const char* message;
    };
    for (const Row& row :
         {Row{"export-reg --branch HKEY_LOCAL_MACHINE\\system\\Nope", 2,
              "hivora-cli: Unable to open the key\n"},
          Row{"export-text --branch HKEY_CURRENT_USER\\Software", 2,
              "hivora-cli: Invalid operation\n"},
          Row{"export-reg -o /no/such/folder/x.reg", 2,
              "hivora-cli: Unable to create output file\n"},
          Row{"export-text -o /dev/full", 2,
              "hivora-cli: Unable to write /dev/full: No space left on device\n"},
          Row{"dump HKEY_LOCAL_MACHINE\\system\\Test missing", 1,
              "hivora-cli: HKEY_LOCAL_MACHINE\\system\\Test: no value named \"missing\"\n"}}) {
        EXPECT_EQ(Run(row.arguments), row.status) << row.arguments;
        EXPECT_EQ(err_, row.message) << row.arguments;
    }
}

TEST_F(ExportCliTest, AnUnfinishedFileNeverTakesTheFinalName) {
    const std::string file = (temp_ / "kept.reg").string();
    std::ofstream(file) << "before";
    {
        ReplacingFile unfinished(file);
        ASSERT_EQ(::write(unfinished.Descriptor(), "half", 4), 4);
    }
    EXPECT_EQ(ReadFile(file), "before");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp_), {}), 2);  // + SYSTEM
    ASSERT_EQ(Run("export-reg -o " + file), 0) << err_;
    EXPECT_EQ(ReadFile(file).rfind("REGEDIT4\r\n", 0), 0u);
}

TEST_F(ExportCliTest, StatisticsDescriptionAndDump) {
    ASSERT_EQ(Run("stats"), 0) << err_;
    EXPECT_EQ(out_.rfind("SYSTEM:\n    " + system_ + "\n    (", 0), 0u);
    EXPECT_NE(out_.find("\n3 keys, 2 values\n"), std::string::npos);
    ASSERT_EQ(Run("describe"), 0);
    EXPECT_NE(out_.find("USER:\n    <NOT SELECTED>\n"), std::string::npos);
    ASSERT_EQ(Run("dump HKEY_LOCAL_MACHINE\\system\\Test BLOB --mode words"), 0);
    EXPECT_EQ(out_, "0000: 0041 7F \n");
}

TEST_F(ExportCliTest, FavoritesGoThroughTheSettingsFile) {
    const std::string in = (temp_ / "in.txt").string();
    std::ofstream(in, std::ios::binary)
        << "; saved "
           "favourites\r\nWork,HKEY_LOCAL_MACHINE\\system\\Test\r\nCu,80000001,Software\r\n";
    ASSERT_EQ(Run("favorites-import " + in), 0) << err_;
    EXPECT_EQ(out_, "2 favorites added\n");
    const std::string saved = (temp_ / "saved.txt").string();
    ASSERT_EQ(Run("favorites-export " + saved), 0) << err_;
    EXPECT_EQ(ReadFile(saved), "Work,HKEY_LOCAL_MACHINE\\system\\Test\r\nCu,80000001,Software\r\n");
}

}  // namespace
}  // namespace hivora::test
