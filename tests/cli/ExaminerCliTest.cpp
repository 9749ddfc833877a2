// The examiner's commands: pattern and case-sensitive search, the timeline, and JSON rows.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli/CliTestSupport.h"

namespace hivora::test {
namespace {

constexpr FileTime kDay = 864000000000ull;
const std::string kSw = "HKEY_LOCAL_MACHINE\\software";

class ExaminerCli : public CliTest {
protected:
    CliRun On(std::vector<std::string> args) {
        if (hive_.empty()) {
            HiveBuilder b;
            b.SetLastWrite(HiveBuilder::kRoot, kNoon2020 - 2 * kDay);
            b.SetLastWrite(b.AddKey(HiveBuilder::kRoot, u"Software"), kNoon2020 - 2 * kDay);
            const auto run = b.AddPath(HiveBuilder::kRoot, u"Software\\Run");
            b.SetLastWrite(run, kNoon2020);
            b.AddString(run, u"Updater", u"C:\\Tools\\update.exe /quiet");
            b.AddString(run, u"Lines", std::u16string_view(u"first\0Second Line\0", 18),
                        REG_MULTI_SZ);
            const auto tools = b.AddKey(HiveBuilder::kRoot, u"TOOLS");
            b.SetLastWrite(tools, kNoon2020 + kDay);
            b.SetLastWrite(b.AddKey(tools, u"tools"), kNoon2020);
            b.SetLastWrite(b.AddKey(HiveBuilder::kRoot, u"Old"), kNoon2020 - kDay);
            hive_ = Write("SOFTWARE", b);
        }
        args.insert(args.begin(), {"--software", hive_});
        return Run(args);
    }
    std::string hive_;
};

TEST_F(ExaminerCli, SearchesWithPatternsAndCaseAndListsTheTimeline) {
    const std::string run = "\t" + kSw + "\\Software\\Run\t";
    const std::string noon = "2020-01-01T12:00:00.0000000Z\t";
    const std::pair<std::vector<std::string>, std::string> rows[] = {
        {{"search", "tools", "--case", "--all"}, "KeyName\t" + kSw + "\\TOOLS\\tools\t\n"},
        {{"search", "^T.*S$", "--regex", "--case", "--all"}, "KeyName\t" + kSw + "\\TOOLS\t\n"},
        {{"search", "second.*", "--regex", "--whole", "--data"}, "ValueData" + run + "Lines\n"},
        {{"search", "e", "--regex", "--values", "--from", kSw + "\\Software\\Run", "--from-value",
          "updater"},
         "ValueName" + run + "Lines\n"},
        {{"timeline", "--after", "2020-01-01"},
         "2020-01-02T12:00:00.0000000Z\t" + kSw + "\\TOOLS\n" + noon + kSw + "\\Software\\Run\n" +
             noon + kSw + "\\TOOLS\\tools\n"},
    };
    for (const auto& [args, out] : rows) {
        const CliRun result = On(args);
        EXPECT_EQ(result.out, out) << args[1];
        EXPECT_EQ(result.status, out.empty() ? 1 : 0) << args[1] << result.err;
    }
}

// Every JSON row holds the text row's cells, in its columns' order.
TEST_F(ExaminerCli, JsonRowsHoldTheTextRows) {
    const std::vector<std::vector<std::string>> commands = {
        {"values", kSw + "\\Software\\Run"}, {"search", "e", "--all"}, {"timeline"}};
    for (std::vector<std::string> command : commands) {
        const CliRun text = On(command);
        command.insert(command.begin(), "--json");
        const CliRun json = On(command);
        EXPECT_EQ(json.status, text.status) << command[1];
        std::string rebuilt;
        std::istringstream lines(json.out);
        for (std::string line; std::getline(lines, line); rebuilt += "\n") {
            const nlohmann::ordered_json row = nlohmann::ordered_json::parse(line);
            for (const auto& cell : row) {
                rebuilt += (&cell == &row.front() ? "" : "\t") + cell.get<std::string>();
            }
        }
        EXPECT_EQ(rebuilt, text.out) << command[1];
    }
    EXPECT_TRUE(nlohmann::json::parse(On({"--json", "stats"}).out).contains("keys"));
}

}  // namespace
}  // namespace hivora::test
