// The examiner's commands: pattern and case-sensitive search, the timeline, and JSON rows.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli/CliTestSupport.h"

namespace hivora::test {
namespace {

constexpr FileTime kNoon2020 = 132223536000000000ull;  // 2020-01-01 12:00:00
constexpr FileTime kDay = 864000000000ull;

HiveBuilder ExaminedHive() {
    HiveBuilder b;
    b.SetLastWrite(HiveBuilder::kRoot, kNoon2020 - 2 * kDay);
    b.SetLastWrite(b.AddKey(HiveBuilder::kRoot, u"Software"), kNoon2020 - 2 * kDay);
    const auto run = b.AddPath(HiveBuilder::kRoot, u"Software\\Run");
    b.SetLastWrite(run, kNoon2020);
    b.AddString(run, u"Updater", u"C:\\Tools\\update.exe /quiet");
    b.AddString(run, u"Lines", std::u16string_view(u"first\0Second Line\0", 18), REG_MULTI_SZ);
    const auto tools = b.AddKey(HiveBuilder::kRoot, u"TOOLS");
    b.SetLastWrite(tools, kNoon2020 + kDay);
    b.SetLastWrite(b.AddKey(tools, u"tools"), kNoon2020);
    b.SetLastWrite(b.AddKey(HiveBuilder::kRoot, u"Old"), kNoon2020 - kDay);
    return b;
}

class ExaminerCli : public CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        if (!temp_.empty()) {
            hive_ = Write("SOFTWARE", ExaminedHive());
        }
    }
    CliRun On(std::vector<std::string> args) {
        args.insert(args.begin(), {"--software", hive_});
        return Run(args);
    }
    std::string hive_;
};

const std::string kSw = "HKEY_LOCAL_MACHINE\\software";

TEST_F(ExaminerCli, SearchesWithPatternsAndCase) {
    struct Row {
        std::vector<std::string> args;
        std::string out;
    };
    const Row rows[] = {
        {{"tools"}, "ValueData\t" + kSw + "\\Software\\Run\tUpdater\n"},
        {{"tools", "--case", "--all"}, "KeyName\t" + kSw + "\\TOOLS\\tools\t\n"},
        {{"^t.*S$", "--regex", "--keys", "--all"},
         "KeyName\t" + kSw + "\\TOOLS\t\nKeyName\t" + kSw + "\\TOOLS\\tools\t\n"},
        {{"^T.*S$", "--regex", "--case", "--all"}, "KeyName\t" + kSw + "\\TOOLS\t\n"},
        {{"\\.exe\\b", "--regex", "--data"}, "ValueData\t" + kSw + "\\Software\\Run\tUpdater\n"},
        {{"second l", "--data"}, "ValueData\t" + kSw + "\\Software\\Run\tLines\n"},
        {{"line", "--regex", "--whole", "--data"}, ""},
        {{"second.*", "--regex", "--whole", "--data"},
         "ValueData\t" + kSw + "\\Software\\Run\tLines\n"},
        {{"e", "--regex", "--values", "--from", kSw + "\\Software\\Run", "--from-value", "updater"},
         "ValueName\t" + kSw + "\\Software\\Run\tLines\n"},
    };
    for (const Row& row : rows) {
        std::vector<std::string> args{"search"};
        args.insert(args.end(), row.args.begin(), row.args.end());
        const CliRun run = On(args);
        EXPECT_EQ(run.out, row.out) << row.args.front();
        EXPECT_EQ(run.status, row.out.empty() ? 1 : 0) << row.args.front() << run.err;
    }
    const CliRun invalid = On({"search", "a(b", "--regex"});
    EXPECT_EQ(invalid.status, 2);
    EXPECT_NE(invalid.err.find("Invalid regular expression at offset 3"), std::string::npos)
        << invalid.err;
}

TEST_F(ExaminerCli, TimelineListsNewestFirstWithinTheLimits) {
    const std::string noon = "2020-01-01T12:00:00.0000000Z\t";
    struct Row {
        std::vector<std::string> limits;
        int status;
        std::string out;
    };
    const Row rows[] = {
        {{"--after", "2020-01-01"},
         0,
         "2020-01-02T12:00:00.0000000Z\t" + kSw + "\\TOOLS\n" + noon + kSw + "\\Software\\Run\n" +
             noon + kSw + "\\TOOLS\\tools\n"},
        {{"--after", "2020-01-01T12:00:00", "--before", "2020-01-01T12:00:00"},
         0,
         noon + kSw + "\\Software\\Run\n" + noon + kSw + "\\TOOLS\\tools\n"},
        {{"--before", "2019-12-31"},
         0,
         "2019-12-31T12:00:00.0000000Z\t" + kSw + "\\Old\n2019-12-30T12:00:00.0000000Z\t" + kSw +
             "\n2019-12-30T12:00:00.0000000Z\t" + kSw + "\\Software\n"},
        {{"--after", "2030-01-01"}, 1, ""},
    };
    for (const Row& row : rows) {
        std::vector<std::string> args{"timeline"};
        args.insert(args.end(), row.limits.begin(), row.limits.end());
        const CliRun run = On(args);
        EXPECT_EQ(run.status, row.status) << row.limits.front() << run.err;
        EXPECT_EQ(run.out, row.out) << row.limits.front();
    }
}

// Every JSON row holds the text row's cells, in its columns' order.
TEST_F(ExaminerCli, JsonRowsHoldTheTextRows) {
    const std::vector<std::vector<std::string>> commands = {
        {"ls", kSw},
        {"values", kSw + "\\Software\\Run"},
        {"search", "e", "--all"},
        {"timeline"},
        {"resolve", "nothing"},
        {"deleted"},
    };
    for (const std::vector<std::string>& command : commands) {
        const CliRun text = On(command);
        std::vector<std::string> jsonArgs = command;
        jsonArgs.insert(jsonArgs.begin(), "--json");
        const CliRun json = On(jsonArgs);
        EXPECT_EQ(json.status, text.status) << command.front();
        std::string rebuilt;
        std::istringstream lines(json.out);
        for (std::string line; std::getline(lines, line);) {
            std::string cells;
            const nlohmann::ordered_json row = nlohmann::ordered_json::parse(line);
            for (const auto& cell : row) {
                cells += (cells.empty() ? "" : "\t") + cell.get<std::string>();
            }
            rebuilt += cells + "\n";
        }
        EXPECT_EQ(rebuilt, text.out) << command.front();
    }
    const CliRun stats = On({"--json", "stats"});
    EXPECT_TRUE(nlohmann::json::parse(stats.out).contains("keys")) << stats.out;
}

}  // namespace
}  // namespace hivora::test
