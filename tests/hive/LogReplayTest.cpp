// Replay of synthetic new-layout logs: what is applied, what is refused, and that a refusal
// leaves the image untouched.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>

#include "hive/LogReplay.h"
#include "support/HiveBuilder.h"
#include "support/LogBuilder.h"
#include "support/TempPath.h"

namespace hivora::test {
namespace {

constexpr size_t kBase = 4096;

// A dirty hive (sequences 2 / 1) and the hive bins its logs should turn it into.
struct Scenario {
    std::vector<uint8_t> hive;
    std::vector<uint8_t> newBins;
    uint32_t binsSize = 0;

    Scenario() {
        // Same shapes, so both trees take the same space (more than one page).
        HiveBuilder before;
        before.AddValue(before.AddKey(HiveBuilder::kRoot, u"Before"), u"Blob", REG_BINARY,
                        std::vector<uint8_t>(6000, 1));
        HiveBuilder after;
        after.AddValue(after.AddKey(HiveBuilder::kRoot, u"Latter"), u"Blob", REG_BINARY,
                       std::vector<uint8_t>(6000, 2));
        hive = before.Build().bytes;
        const auto target = after.Build().bytes;
        newBins.assign(target.begin() + kBase, target.end());
        binsSize = static_cast<uint32_t>(newBins.size());
        SetSequences(hive, 2, 1);
    }
    PageWrite Page(uint32_t offset, uint32_t size) const {
        return {offset, std::vector<uint8_t>(newBins.begin() + offset, newBins.begin() + offset + size)};
    }
    PageWrite All() const { return Page(0, binsSize); }
};

using MakeLogs = std::function<std::vector<TransactionLogFile>(Scenario&)>;

TransactionLogFile Log(const char* name, LogBuilder& builder) { return {name, builder.bytes}; }

struct Case {
    const char* name;
    MakeLogs make;
    LogReplayReport::State state;
    uint32_t entries;
    const char* reasonPart;  // "" when no reason is expected
};

const Case kCases[] = {
    {"entries_chain_across_both_logs",
     [](Scenario& s) {
         LogBuilder log1(s.hive), log2(s.hive);
         log1.AddEntry(1, s.binsSize, {s.Page(0, 4096)});
         log2.AddEntry(2, s.binsSize, {s.Page(4096, s.binsSize - 4096)});
         return std::vector{Log("h.LOG1", log1), Log("h.LOG2", log2)};
     },
     LogReplayReport::State::Applied, 2, ""},
    {"clean_hive_ignores_its_logs",
     [](Scenario& s) {
         SetSequences(s.hive, 1, 1);
         LogBuilder log(s.hive);
         log.AddEntry(1, s.binsSize, {s.All()});
         return std::vector{Log("h.LOG1", log)};
     },
     LogReplayReport::State::Clean, 0, ""},
    {"data_hash_mismatch_refused",
     [](Scenario& s) {
         LogBuilder log(s.hive);
         log.AddEntry(1, s.binsSize, {s.All()});
         log.bytes[512 + 48 + 100] ^= 1;
         return std::vector{Log("h.LOG1", log)};
     },
     LogReplayReport::State::NotApplied, 0, "data hash mismatch"},
    {"replay_stops_before_a_damaged_entry",
     [](Scenario& s) {
         LogBuilder log(s.hive);
         log.AddEntry(1, s.binsSize, {s.Page(0, 4096)});
         const size_t second = log.AddEntry(2, s.binsSize, {s.Page(4096, 4096)});
         log.bytes[second + 12] = 9;  // the header hash no longer matches
         return std::vector{Log("h.LOG1", log)};
     },
     LogReplayReport::State::Applied, 1, "header hash mismatch"},
    {"sequence_gap_stops_replay",
     [](Scenario& s) {
         LogBuilder log(s.hive);
         log.AddEntry(1, s.binsSize, {s.Page(0, 4096)});
         log.AddEntry(3, s.binsSize, {s.Page(4096, 4096)});
         return std::vector{Log("h.LOG1", log)};
     },
     LogReplayReport::State::Applied, 1, "sequence gap"},
    {"page_outside_hive_bins_refused",
     [](Scenario& s) {
         LogBuilder log(s.hive);
         log.AddEntry(1, s.binsSize, {PageWrite{s.binsSize, std::vector<uint8_t>(4096)}});
         return std::vector{Log("h.LOG1", log)};
     },
     LogReplayReport::State::NotApplied, 0, "outside the hive bins"},
    {"absurd_page_count_refused",
     [](Scenario& s) {
         LogBuilder log(s.hive);
         const size_t entry = log.AddEntry(1, s.binsSize, {s.All()});
         PutLe32(log.bytes, entry + 20, 0x7FFFFFFF);
         log.RehashEntry(entry);
         return std::vector{Log("h.LOG1", log)};
     },
     LogReplayReport::State::NotApplied, 0, "more than it can hold"},
    {"absurd_hive_bins_size_refused",
     [](Scenario& s) {
         LogBuilder log(s.hive);
         const size_t entry = log.AddEntry(1, s.binsSize, {s.All()});
         PutLe32(log.bytes, entry + 16, 0xFFFFF000);
         log.RehashEntry(entry);
         return std::vector{Log("h.LOG1", log)};
     },
     LogReplayReport::State::NotApplied, 0, "impossible hive bins size"},
    {"truncated_log_refused",
     [](Scenario& s) {
         LogBuilder log(s.hive);
         log.AddEntry(1, s.binsSize, {s.All()});
         log.bytes.resize(log.bytes.size() - 512);
         return std::vector{Log("h.LOG1", log)};
     },
     LogReplayReport::State::NotApplied, 0, "past the end of the log"},
    {"logs_older_than_hive_refused",
     [](Scenario& s) {
         LogBuilder log(s.hive);
         log.AddEntry(1, s.binsSize, {s.All()});
         SetSequences(s.hive, 8, 7);
         return std::vector{Log("h.LOG1", log)};
     },
     LogReplayReport::State::NotApplied, 0, "older than the hive"},
    {"log_of_another_hive_refused",
     [](Scenario& s) {
         LogBuilder log(s.hive);
         log.bytes[12] ^= 0x40;  // another last-written time
         ResealBaseBlock(log.bytes);
         log.AddEntry(1, s.binsSize, {s.All()});
         return std::vector{Log("h.LOG1", log)};
     },
     LogReplayReport::State::NotApplied, 0, "another hive"},
    {"damaged_base_block_recovered_from_log",
     [](Scenario& s) {
         LogBuilder log(s.hive);
         log.AddEntry(1, s.binsSize, {s.All()});
         s.hive[0x100] ^= 0xFF;  // checksum now wrong
         return std::vector{Log("h.LOG1", log)};
     },
     LogReplayReport::State::Applied, 1, ""},
    {"same_page_written_many_times_last_wins",
     [](Scenario& s) {
         std::vector<PageWrite> pages(200, PageWrite{0, std::vector<uint8_t>(512, 0xAB)});
         pages.push_back(s.Page(0, 512));
         pages.push_back(s.Page(512, s.binsSize - 512));
         LogBuilder log(s.hive);
         log.AddEntry(1, s.binsSize, pages);
         return std::vector{Log("h.LOG1", log)};
     },
     LogReplayReport::State::Applied, 1, ""},
};

class LogReplayCase : public ::testing::TestWithParam<Case> {};

TEST_P(LogReplayCase, AppliesOrLeavesTheImageAlone) {
    const Case& row = GetParam();
    Scenario scenario;
    const auto logs = row.make(scenario);
    std::vector<uint8_t> image = scenario.hive;
    const auto report = ReplayTransactionLogs(image, logs);

    EXPECT_EQ(report.state, row.state) << report.reason;
    EXPECT_EQ(report.entries, row.entries);
    EXPECT_EQ(report.baseBlockRecovered, std::string_view(row.name).starts_with("damaged_base"));
    EXPECT_NE(report.reason.find(row.reasonPart), std::string::npos) << report.reason;
    if (*row.reasonPart == '\0') {
        EXPECT_EQ(report.reason, "");
    }
    if (report.state != LogReplayReport::State::Applied) {
        EXPECT_EQ(image, scenario.hive);
        return;
    }
    EXPECT_FALSE(IsHiveDirty(image));
    // The first page always comes from the logs; the whole bins when every entry applied.
    const size_t compared = row.entries == 1 && *row.reasonPart != '\0' ? 4096 : scenario.binsSize;
    EXPECT_TRUE(std::equal(scenario.newBins.begin(), scenario.newBins.begin() + compared,
                           image.begin() + kBase));
}

INSTANTIATE_TEST_SUITE_P(Logs, LogReplayCase, ::testing::ValuesIn(kCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(LogReplayTest, EntryWithLargerHiveBinsGrowsTheImage) {
    Scenario s;
    std::vector<uint8_t> bin(4096);
    std::copy_n("hbin", 4, bin.begin());
    PutLe32(bin, 4, s.binsSize);
    PutLe32(bin, 8, 4096);
    LogBuilder log(s.hive);
    log.AddEntry(1, s.binsSize + 4096, {s.All(), PageWrite{s.binsSize, bin}});
    std::vector<uint8_t> image = s.hive;
    const auto report = ReplayTransactionLogs(image, {{"h.LOG1", log.bytes}});
    ASSERT_EQ(report.state, LogReplayReport::State::Applied) << report.reason;
    ASSERT_EQ(image.size(), kBase + s.binsSize + 4096);
    EXPECT_TRUE(std::equal(bin.begin(), bin.end(), image.begin() + kBase + s.binsSize));
    EXPECT_EQ(image[40] | image[41] << 8 | image[42] << 16, static_cast<int>(s.binsSize + 4096));
    EXPECT_EQ(report.fromSequence, 1u);
    EXPECT_EQ(image[4], 2);  // sealed one past the last entry
}

TEST(LogReplayTest, LogsAreFoundBesideTheHiveIgnoringCase) {
    const auto folder = UniqueTempPath("logs_beside");
    std::filesystem::create_directories(folder);
    for (const char* name : {"transactions_NTUSER.DAT", "transactions_ntuser.dat.log2",
                             "transactions_ntuser.dat.LOG", "transactions_ntuser.dat.log1",
                             "transactions_ntuser.dat.log3", "other.dat.LOG1"}) {
        std::ofstream(folder / name) << "x";
    }
    std::vector<std::string> found;
    for (const auto& log : ReadTransactionLogs(folder / "transactions_NTUSER.DAT")) {
        found.push_back(log.name);
        EXPECT_EQ(log.bytes, std::vector<uint8_t>{'x'});
    }
    EXPECT_EQ(found, (std::vector<std::string>{"transactions_ntuser.dat.log1",
                                               "transactions_ntuser.dat.log2",
                                               "transactions_ntuser.dat.LOG"}));
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace hivora::test
