// hivora-cli on dirty hives: the description tells what became of each hive's logs, --no-logs
// leaves the view of the primary file as it was, and recovered-image hands the replayed hive to
// other tools.
#include <regex>

#include "cli/CliTestSupport.h"
#include "hive/CorpusSupport.h"

namespace hivora::test {
namespace {

class LogsCliTest : public CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        corpus_ = CorpusFolder();
        if (!IsSkipped() && corpus_.empty()) {
            GTEST_SKIP() << "HIVORA_CORPUS is not set; dirty-hive command tests skipped";
        }
    }
    std::string Corpus(const char* name) const { return (corpus_ / name).string(); }
    // "33,123 keys, ..." in stats' output, as a number.
    static long KeyCount(const std::string& stats) {
        std::smatch match;
        if (!std::regex_search(stats, match, std::regex(R"(([0-9,]+) keys,)"))) {
            return -1;
        }
        return std::stol(std::regex_replace(match[1].str(), std::regex(","), ""));
    }
    std::filesystem::path corpus_;
};

TEST_F(LogsCliTest, DescribeTellsEachHivesLogStateAndNoLogsKeepsTheOldLines) {
    struct Row {
        const char* name;
        std::string hive;
        const char* stateLine;  // "" for a clean hive: no line is added
    };
    const Row rows[] = {
        {"clean", Write("clean/SYSTEM", HiveBuilder{}), ""},
        {"applied", Corpus("regipy/SYSTEM_B"),
         "    dirty, logs applied: 24 entries, sequence numbers "},
        {"refused", Corpus("yarp/BadLogHive1/BadLogHive"),
         "    dirty, logs not applied: BadLogHive.LOG1: base block checksum is wrong"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const CliRun withLogs = Run({"--system", row.hive, "describe"});
        const CliRun without = Run({"--system", row.hive, "--no-logs", "describe"});
        EXPECT_EQ(withLogs.status, 0) << withLogs.err;
        EXPECT_EQ(without.out.find("dirty"), std::string::npos) << without.out;
        std::string expected = without.out;
        if (*row.stateLine) {
            const size_t at = withLogs.out.find(row.stateLine);
            ASSERT_NE(at, std::string::npos) << withLogs.out;
            // The state is one line after the file's own lines; everything else is unchanged.
            expected.insert(at, withLogs.out.substr(at, withLogs.out.find('\n', at) + 1 - at));
        }
        EXPECT_EQ(withLogs.out, expected);
    }
}

TEST_F(LogsCliTest, RecoveredImageIsANewCleanHiveOtherToolsRead) {
    const std::string hive = Corpus("regipy/SYSTEM_B");
    const std::string output = (temp_ / "recovered").string();
    const CliRun written = Run({"--system", hive, "recovered-image", "system", "-o", output});
    ASSERT_EQ(written.status, 0) << written.err;
    const auto size = std::filesystem::file_size(output);

    // An existing file, the hive itself above all, is never replaced.
    const CliRun again = Run({"--system", hive, "recovered-image", "SYSTEM", "-o", hive});
    EXPECT_EQ(again.status, 2);
    EXPECT_EQ(std::filesystem::file_size(output), size);

    // The written hive is clean and holds the replayed view's keys, read back by us and by
    // hivexml.
    const long replayed = KeyCount(Run({"--system", hive, "stats"}).out);
    const CliRun reread = Run({"--system", output, "stats"});
    EXPECT_EQ(reread.out.find("dirty"), std::string::npos) << reread.out;
    EXPECT_EQ(KeyCount(reread.out), replayed);
    if (HaveTool("hivexml")) {
        const std::string text = RunTool("hivexml", output).value_or("");
        long nodes = 0;
        for (size_t at = 0; (at = text.find("<node ", at)) != std::string::npos; ++at) {
            ++nodes;
        }
        EXPECT_EQ(nodes, replayed);
    }
}

}  // namespace
}  // namespace hivora::test
