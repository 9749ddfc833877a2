// Replay against real logs: the yarp evidence (including what Windows itself recovered) and
// every corpus hive that has logs beside it.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>

#include "hive/CorpusSupport.h"
#include "hive/HiveSet.h"
#include "hive/HiveTestSupport.h"
#include "hive/LogReplay.h"
#include "hive/TreeWalk.h"

namespace hivora::test {
namespace {

using State = LogReplayReport::State;

std::vector<uint8_t> ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Every key path, value name, type and data of an image, in walk order.
std::vector<std::u16string> Dump(const std::vector<uint8_t>& image) {
    std::vector<std::u16string> lines;
    if (LoadHiveImage(HiveSlot::System, image.data(), image.size()) != 1) {
        return lines;
    }
    RegKey root = OpenRegKey(HKEY_LOCAL_MACHINE, u"system");
    TreeVisitor visitor;
    visitor.onKey = [&](const std::u16string& path, int) { lines.push_back(path); };
    visitor.onValue = [&](const std::u16string& path, const WalkedValue& value) {
        std::u16string line = path + u"|" + value.name + u"|" + static_cast<char16_t>(value.type);
        line.append(value.data.begin(), value.data.end());
        lines.push_back(std::move(line));
    };
    if (root) {
        WalkTree(root.get(), visitor);
    }
    return lines;
}

struct YarpCase {
    const char* folder;
    const char* hive;
    State state;
    const char* windowsResult;  // what Windows made of the hive and its logs, or ""
    const char* reasonPart;
};

const YarpCase kYarp[] = {
    {"NewDirtyHive1", "NewDirtyHive", State::Applied, "RecoveredHive_Windows10", ""},
    {"NewDirtyHive2", "NewDirtyHive", State::Applied, "", ""},
    {"OldDirtyHive", "OldDirtyHive", State::Applied, "RecoveredHive_Windows7", ""},
    {"BadBaseBlockHive", "BadBaseBlockHive", State::Applied, "", ""},
    {"BadLogHive1", "BadLogHive", State::NotApplied, "", "base block checksum is wrong"},
    {"BadLogHive2", "BadLogHive", State::NotApplied, "", "no dirty page bitmap"},
    {"BadLogHive3", "BadLogHive", State::NotApplied, "", "base block checksum is wrong"},
};

TEST(LogReplayCorpusTest, YarpHivesReplayLikeWindows) {
    const auto corpus = CorpusFolder();
    if (corpus.empty()) {
        GTEST_SKIP() << "HIVORA_CORPUS is not set or names no folder; corpus tests skipped";
    }
    UseHiveEngine();
    for (const auto& row : kYarp) {
        SCOPED_TRACE(row.folder);
        const auto folder = corpus / "yarp" / row.folder;
        std::vector<uint8_t> image = ReadBytes(folder / row.hive);
        const std::vector<uint8_t> original = image;
        const auto report = ReplayTransactionLogs(image, ReadTransactionLogs(folder / row.hive));
        EXPECT_EQ(report.state, row.state) << report.reason;
        EXPECT_NE(report.reason.find(row.reasonPart), std::string::npos) << report.reason;
        EXPECT_EQ(report.baseBlockRecovered, std::string_view(row.folder) == "BadBaseBlockHive");
        if (report.state != State::Applied) {
            EXPECT_EQ(image, original);
            continue;
        }
        EXPECT_FALSE(IsHiveDirty(image));
        EXPECT_NE(Dump(image), Dump(original));
        if (*row.windowsResult != '\0') {
            EXPECT_EQ(Dump(image), Dump(ReadBytes(folder / row.windowsResult)));
        }
    }
    FreeHiveSet();
}

// Hives whose logs are rightly not applied, and why.
const std::map<std::string, std::string> kRefused = {
    {"yarp/BadLogHive1/BadLogHive", "checksum"},
    {"yarp/BadLogHive2/BadLogHive", "DIRT"},
    {"yarp/BadLogHive3/BadLogHive", "checksum"},
};

TEST(LogReplayCorpusTest, EveryHiveWithLogsReplays) {
    const auto corpus = CorpusFolder();
    if (corpus.empty()) {
        GTEST_SKIP() << "HIVORA_CORPUS is not set or names no folder; corpus tests skipped";
    }
    UseHiveEngine();
    size_t withLogs = 0;
    for (const auto& file : CorpusHives(corpus)) {
        const auto logs = ReadTransactionLogs(file);
        if (logs.empty()) {
            continue;
        }
        ++withLogs;
        const std::string name = CorpusName(corpus, file);
        std::vector<uint8_t> image = ReadBytes(file);
        const auto report = ReplayTransactionLogs(image, logs);
        auto refused = kRefused.find(name);
        if (refused != kRefused.end()) {
            EXPECT_EQ(report.state, State::NotApplied) << name;
            EXPECT_NE(report.reason.find(refused->second), std::string::npos) << name;
            continue;
        }
        // Real logs replay to their last entry: a stop there means a rule is too strict.
        EXPECT_NE(report.state, State::NotApplied) << name << ": " << report.reason;
        EXPECT_EQ(report.reason, "") << name;
        EXPECT_FALSE(IsHiveDirty(image)) << name;
        EXPECT_FALSE(Dump(image).empty()) << name;
    }
    EXPECT_GE(withLogs, 30u);
    FreeHiveSet();
}

}  // namespace
}  // namespace hivora::test
