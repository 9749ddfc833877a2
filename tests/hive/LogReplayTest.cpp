// Replay of synthetic new-layout logs: what is applied, what is refused, and that a refusal
// leaves the image untouched.
#include <gtest/gtest.h>

#include <functional>

#include "hive/LogReplay.h"
#include "support/HiveBuilder.h"
#include "support/LittleEndian.h"
#include "support/LogBuilder.h"

namespace hivora::test {
namespace {

using State = LogReplayReport::State;
constexpr size_t kBase = 4096;

// More than one page of bins, the same layout whatever the key's name.
std::vector<uint8_t> BuildHive(std::u16string_view key, uint8_t fill) {
    HiveBuilder builder;
    builder.AddValue(builder.AddKey(HiveBuilder::kRoot, key), u"Blob", REG_BINARY,
                     std::vector<uint8_t>(6000, fill));
    return builder.Build().bytes;
}

std::vector<uint8_t> DirtyHive() {
    auto hive = BuildHive(u"Before", 1);
    SetSequences(hive, 2, 1);
    return hive;
}

std::vector<uint8_t> NewBins() {
    const auto hive = BuildHive(u"Latter", 2);
    return {hive.begin() + kBase, hive.end()};
}

// A dirty hive (sequences 2 / 1), the bins its logs should give it, and LOG1 holding entry 1
// with the first page; LOG2 is offered when a row adds entries to it.
struct Scenario {
    std::vector<uint8_t> hive = DirtyHive();
    std::vector<uint8_t> bins = NewBins();
    uint32_t binsSize = static_cast<uint32_t>(bins.size());
    LogBuilder log1{hive}, log2{hive};
    size_t entry = log1.AddEntry(1, binsSize, {Page(0, 4096)});

    PageWrite Page(uint32_t offset, uint32_t size) const {
        return {offset, std::vector<uint8_t>(bins.begin() + offset, bins.begin() + offset + size)};
    }
    PageWrite Rest() const { return Page(4096, binsSize - 4096); }
    void Patch(size_t offset, uint32_t value) {
        WriteLittleEndian(std::span(log1.bytes), entry + offset, value);
        log1.RehashEntry(entry);
    }
};

struct Case {
    const char* name;
    std::function<void(Scenario&)> tweak;
    State state;
    uint32_t entries;
    const char* reasonPart;  // "" when no reason is expected
};

const Case kCases[] = {
    {"entries_chain_across_both_logs",
     [](Scenario& s) { s.log2.AddEntry(2, s.binsSize, {s.Rest()}); }, State::Applied, 2, ""},
    {"clean_hive_ignores_its_logs", [](Scenario& s) { SetSequences(s.hive, 1, 1); }, State::Clean,
     0, ""},
    {"data_hash_mismatch", [](Scenario& s) { s.log1.bytes[s.entry + 100] ^= 1; }, State::NotApplied,
     0, "data hash mismatch"},
    {"stops_before_damaged_entry",
     [](Scenario& s) { s.log1.bytes[s.log1.AddEntry(2, s.binsSize, {s.Rest()}) + 12] = 9; },
     State::Applied, 1, "header hash mismatch"},
    {"sequence_gap", [](Scenario& s) { s.log1.AddEntry(3, s.binsSize, {s.Rest()}); },
     State::Applied, 1, "sequence gap"},
    {"page_outside_hive_bins", [](Scenario& s) { s.Patch(40, s.binsSize); }, State::NotApplied, 0,
     "outside the hive bins"},
    {"absurd_page_count", [](Scenario& s) { s.Patch(20, 0x7FFFFFFF); }, State::NotApplied, 0,
     "more than it can hold"},
    {"absurd_hive_bins_size", [](Scenario& s) { s.Patch(16, 0xFFFFF000); }, State::NotApplied, 0,
     "impossible hive bins size"},
    {"hive_bins_larger_than_the_logs_fill", [](Scenario& s) { s.Patch(16, 0x7FFFF000); },
     State::NotApplied, 0, "more than the hive and its logs hold"},
    {"truncated_log", [](Scenario& s) { s.log1.bytes.resize(s.log1.bytes.size() - 512); },
     State::NotApplied, 0, "past the end"},
    {"logs_older_than_hive", [](Scenario& s) { SetSequences(s.hive, 8, 7); }, State::NotApplied, 0,
     "older than the hive"},
    {"log_of_another_hive",  // another last-written time
     [](Scenario& s) { s.log1.bytes[12] ^= 0x40, ResealBaseBlock(s.log1.bytes); },
     State::NotApplied, 0, "another hive"},
    {"entry_extends_the_hive_bins",
     [](Scenario& s) {
         s.log2.AddEntry(2, s.binsSize + 4096,
                         {s.Rest(), PageWrite{s.binsSize, s.Page(0, 4096).bytes}});
     },
     State::Applied, 2, ""},
    {"same_page_written_many_times",
     [](Scenario& s) {
         std::vector<PageWrite> pages(200, PageWrite{0, std::vector<uint8_t>(512, 0xAB)});
         pages.push_back(s.Page(0, s.binsSize));
         s.log2.AddEntry(2, s.binsSize, pages);
     },
     State::Applied, 2, ""},
};

class LogReplayCase : public ::testing::TestWithParam<Case> {};

TEST_P(LogReplayCase, AppliesOrLeavesTheImageAlone) {
    const Case& row = GetParam();
    Scenario s;
    row.tweak(s);
    std::vector<TransactionLogFile> logs = {{"h.LOG1", s.log1.bytes}};
    if (s.log2.bytes.size() > 512) {
        logs.push_back({"h.LOG2", s.log2.bytes});
    }
    std::vector<uint8_t> image = s.hive;
    const auto report = ReplayTransactionLogs(image, logs);

    EXPECT_EQ(report.state, row.state) << report.reason;
    EXPECT_EQ(report.entries, row.entries);
    EXPECT_FALSE(report.baseBlockRecovered);
    EXPECT_TRUE(*row.reasonPart ? report.reason.find(row.reasonPart) != std::string::npos
                                : report.reason.empty())
        << report.reason;
    if (report.state != State::Applied) {
        EXPECT_EQ(image, s.hive);
        return;
    }
    EXPECT_FALSE(IsHiveDirty(image));
    EXPECT_EQ(image[4], row.entries + 1);  // sealed one past the last entry
    // The base block names the bins the image holds, grown when the logs extended them.
    EXPECT_EQ(image.size(), kBase + (image[40] | image[41] << 8 | image[42] << 16));
    const size_t compared = row.entries == 2 ? s.binsSize : 4096;
    EXPECT_TRUE(std::equal(s.bins.begin(), s.bins.begin() + compared, image.begin() + kBase));
}

INSTANTIATE_TEST_SUITE_P(Logs, LogReplayCase, ::testing::ValuesIn(kCases),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace hivora::test
